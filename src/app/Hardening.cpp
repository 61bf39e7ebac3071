#include "app/Hardening.h"

#include <windows.h>

#include "platform/win32/SystemDlls.h"

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif
#ifndef BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE
#define BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE 0x00000001
#define BASE_SEARCH_PATH_PERMANENT 0x00008000
#endif

void HardenProcess() {
    // Windows 7 without KB2533623 lacks both; there the libraries loaded later
    // are named by their full system-folder path instead.
    sysdll::Kernel32SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    sysdll::Kernel32SetSearchPathMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
    HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
}
