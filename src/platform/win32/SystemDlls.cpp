#include "platform/win32/SystemDlls.h"

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

}  // namespace sysdll
