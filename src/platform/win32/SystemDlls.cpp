#include "platform/win32/SystemDlls.h"

#include <cderr.h>

#include <string>

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace sysdll {
namespace {

template <class Fn>
Fn Lookup(const wchar_t* library, const char* function) {
    HMODULE module = SystemLibrary(library);
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, function))) : nullptr;
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
