// Functions of system libraries that are not among the ones Windows always
// takes from its system folder. They are not imported at load time, where the
// installer's own folder (a download folder, a disc) would be searched first;
// each library is loaded on first use from the system folder only.
#pragma once
#include <windows.h>

namespace sysdll {

// The system folder's copy of `name` (loaded once and kept); null when it is
// missing there.
HMODULE SystemLibrary(const wchar_t* name);

// winspool.drv. Without the library both fail with ERROR_PROC_NOT_FOUND.
BOOL WinspoolEnumPrinters(DWORD flags, LPWSTR name, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                         LPDWORD returned);
BOOL WinspoolGetDefaultPrinter(LPWSTR buffer, LPDWORD size);

}  // namespace sysdll
