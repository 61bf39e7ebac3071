// Every function of a system library that the installer looks up at run time
// rather than importing: functions that older Windows versions lack, and
// functions of libraries it does not import at load time. Load-time imports are resolved before the program's first line runs,
// with the installer's own folder (a download folder, a disc) searched first
// for every library that is not one the system always takes from its own
// folder, and for every library those pull in. So only kernel32, user32,
// gdi32, msvcrt and ole32 are imported; the shell, the common dialogs and the
// spooler (which bring the spooler's and the shell's helpers with them) are
// loaded on first use from the system folder only, with their own imports
// looked up there too.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

namespace sysdll {

// The system folder's copy of `name` (loaded once and kept); null when it is
// missing there.
HMODULE SystemLibrary(const wchar_t* name);

// kernel32.dll, Windows 8 and Windows 7 with KB2533623. Without the function
// each fails with ERROR_PROC_NOT_FOUND.
BOOL Kernel32SetDefaultDllDirectories(DWORD flags);
BOOL Kernel32SetSearchPathMode(DWORD flags);

// user32.dll, Windows 10 1607 and later. Without the function the first gives
// 0 and the second fails.
UINT User32GetDpiForWindow(HWND window);
BOOL User32AdjustWindowRectExForDpi(RECT* rect, DWORD style, BOOL menu, DWORD exStyle, UINT dpi);

// comctl32.dll: the side-by-side version 6 the manifest asks for, or the
// system folder's. Without the library it fails.
BOOL Comctl32InitCommonControlsEx(const INITCOMMONCONTROLSEX* classes);

// winspool.drv. Without the library both fail with ERROR_PROC_NOT_FOUND.
BOOL WinspoolEnumPrinters(DWORD flags, LPWSTR name, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                         LPDWORD returned);
BOOL WinspoolGetDefaultPrinter(LPWSTR buffer, LPDWORD size);

// comdlg32.dll. Without the library the dialog fails with the extended error
// CDERR_INITIALIZATION.
BOOL Comdlg32PrintDlg(PRINTDLGW* dialog);
DWORD Comdlg32ExtendedError();

// shell32.dll. Without the library each fails as the system function does
// (ShellExecute with SE_ERR_DLLNOTFOUND, the others with FALSE or null).
HINSTANCE Shell32ShellExecute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                              INT show);
BOOL Shell32ShellExecuteEx(SHELLEXECUTEINFOW* info);
BOOL Shell32GetSpecialFolderPath(HWND owner, LPWSTR path, int csidl, BOOL create);
PIDLIST_ABSOLUTE Shell32BrowseForFolder(BROWSEINFOW* info);
BOOL Shell32GetPathFromIDList(PCIDLIST_ABSOLUTE list, LPWSTR path);

}  // namespace sysdll
