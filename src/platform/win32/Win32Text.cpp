#include "platform/win32/Win32Text.h"

std::u16string SystemErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text = n ? U(std::wstring(buffer, n)) : std::u16string();
    if (buffer) LocalFree(buffer);
    return text;
}

SysResult SysFailure(DWORD code) { return {false, code, SystemErrorText(code)}; }
