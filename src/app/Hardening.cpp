#include "app/Hardening.h"

#include <windows.h>

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif
#ifndef BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE
#define BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE 0x00000001
#define BASE_SEARCH_PATH_PERMANENT 0x00008000
#endif

void HardenProcess() {
    // Windows 7 without KB2533623 lacks these; look them up instead of importing them.
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    using SetSearchPathModeFn = BOOL(WINAPI*)(DWORD);
    if (auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")))) {
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    if (auto setMode = reinterpret_cast<SetSearchPathModeFn>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "SetSearchPathMode")))) {
        setMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
    }
    HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
}
