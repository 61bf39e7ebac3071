#include "platform/win32/SystemDlls.h"

#include <cderr.h>

#include <string>

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace sysdll {
namespace {

template <class Fn>
Fn Lookup(HMODULE module, const char* function) {
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, function))) : nullptr;
}

// A function of a library the installer does not import, loaded on first use.
template <class Fn>
Fn Lookup(const wchar_t* library, const char* function) {
    return Lookup<Fn>(SystemLibrary(library), function);
}

// A function of a library imported at load time, which may be missing from it.
template <class Fn>
Fn LookupLoaded(const wchar_t* library, const char* function) {
    return Lookup<Fn>(GetModuleHandleW(library), function);
}

BOOL Missing() {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return FALSE;
}

}  // namespace

HMODULE SystemLibrary(const wchar_t* name) {
    HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || GetLastError() != ERROR_INVALID_PARAMETER) return module;
    // Windows 7 without KB2533623 knows no LOAD_LIBRARY_SEARCH_* flags: name the
    // file by its full path, and let its own dependencies be looked up beside it.
    wchar_t folder[MAX_PATH];
    const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, n) + L"\\" + name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

BOOL Kernel32SetDefaultDllDirectories(DWORD flags) {
    using Fn = BOOL(WINAPI*)(DWORD);
    static const Fn fn = LookupLoaded<Fn>(L"kernel32.dll", "SetDefaultDllDirectories");
    return fn ? fn(flags) : Missing();
}

BOOL Kernel32SetSearchPathMode(DWORD flags) {
    using Fn = BOOL(WINAPI*)(DWORD);
    static const Fn fn = LookupLoaded<Fn>(L"kernel32.dll", "SetSearchPathMode");
    return fn ? fn(flags) : Missing();
}

UINT User32GetDpiForWindow(HWND window) {
    using Fn = UINT(WINAPI*)(HWND);
    static const Fn fn = LookupLoaded<Fn>(L"user32.dll", "GetDpiForWindow");
    return fn ? fn(window) : 0;
}

BOOL User32AdjustWindowRectExForDpi(RECT* rect, DWORD style, BOOL menu, DWORD exStyle, UINT dpi) {
    using Fn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const Fn fn = LookupLoaded<Fn>(L"user32.dll", "AdjustWindowRectExForDpi");
    return fn ? fn(rect, style, menu, exStyle, dpi) : Missing();
}

BOOL Comctl32InitCommonControlsEx(const INITCOMMONCONTROLSEX* classes) {
    using Fn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    static const Fn fn = Lookup<Fn>(L"comctl32.dll", "InitCommonControlsEx");
    return fn ? fn(classes) : Missing();
}

BOOL WinspoolEnumPrinters(DWORD flags, LPWSTR name, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                         LPDWORD returned) {
    using Fn = BOOL(WINAPI*)(DWORD, LPWSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD);
    static const Fn fn = Lookup<Fn>(L"winspool.drv", "EnumPrintersW");
    if (fn) return fn(flags, name, level, buffer, size, needed, returned);
    if (needed) *needed = 0;
    if (returned) *returned = 0;
    return Missing();
}

BOOL WinspoolGetDefaultPrinter(LPWSTR buffer, LPDWORD size) {
    using Fn = BOOL(WINAPI*)(LPWSTR, LPDWORD);
    static const Fn fn = Lookup<Fn>(L"winspool.drv", "GetDefaultPrinterW");
    return fn ? fn(buffer, size) : Missing();
}

BOOL Comdlg32PrintDlg(PRINTDLGW* dialog) {
    using Fn = BOOL(WINAPI*)(PRINTDLGW*);
    static const Fn fn = Lookup<Fn>(L"comdlg32.dll", "PrintDlgW");
    return fn ? fn(dialog) : Missing();
}

DWORD Comdlg32ExtendedError() {
    using Fn = DWORD(WINAPI*)();
    static const Fn fn = Lookup<Fn>(L"comdlg32.dll", "CommDlgExtendedError");
    return fn ? fn() : CDERR_INITIALIZATION;
}

HINSTANCE Shell32ShellExecute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                              INT show) {
    using Fn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    static const Fn fn = Lookup<Fn>(L"shell32.dll", "ShellExecuteW");
    if (fn) return fn(owner, verb, file, parameters, directory, show);
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
}

BOOL Shell32ShellExecuteEx(SHELLEXECUTEINFOW* info) {
    using Fn = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
    static const Fn fn = Lookup<Fn>(L"shell32.dll", "ShellExecuteExW");
    return fn ? fn(info) : Missing();
}

BOOL Shell32GetSpecialFolderPath(HWND owner, LPWSTR path, int csidl, BOOL create) {
    using Fn = BOOL(WINAPI*)(HWND, LPWSTR, int, BOOL);
    static const Fn fn = Lookup<Fn>(L"shell32.dll", "SHGetSpecialFolderPathW");
    return fn ? fn(owner, path, csidl, create) : Missing();
}

PIDLIST_ABSOLUTE Shell32BrowseForFolder(BROWSEINFOW* info) {
    using Fn = PIDLIST_ABSOLUTE(WINAPI*)(BROWSEINFOW*);
    static const Fn fn = Lookup<Fn>(L"shell32.dll", "SHBrowseForFolderW");
    if (fn) return fn(info);
    Missing();
    return nullptr;
}

BOOL Shell32GetPathFromIDList(PCIDLIST_ABSOLUTE list, LPWSTR path) {
    using Fn = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, LPWSTR);
    static const Fn fn = Lookup<Fn>(L"shell32.dll", "SHGetPathFromIDListW");
    return fn ? fn(list, path) : Missing();
}

}  // namespace sysdll
