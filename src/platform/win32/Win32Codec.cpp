#include "platform/win32/Win32Codec.h"

#include <windows.h>

#include <algorithm>
#include <climits>

#include "platform/win32/Win32Text.h"

unsigned Win32Codec::AnsiCodePage() { return GetACP(); }

std::u16string Win32Codec::AnsiToUtf16(const std::string& bytes) {
    std::u16string out;
    // Converted in pieces so that very large files stay within the API's int sizes;
    // a piece never ends inside a double-byte character.
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t len = std::min<size_t>(bytes.size() - pos, 1 << 24);
        if (pos + len < bytes.size()) {
            size_t cut = pos;
            while (cut < pos + len) cut += IsDBCSLeadByte(static_cast<BYTE>(bytes[cut])) ? 2 : 1;
            if (cut > pos + len) cut -= 2;
            len = cut - pos;
        }
        const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data() + pos, static_cast<int>(len), nullptr, 0);
        const size_t at = out.size();
        out.resize(at + static_cast<size_t>(n));
        MultiByteToWideChar(CP_ACP, 0, bytes.data() + pos, static_cast<int>(len),
                            reinterpret_cast<wchar_t*>(&out[at]), n);
        pos += len;
    }
    return out;
}

std::string Win32Codec::Utf16ToAnsi(const std::u16string& text) {
    if (text.empty()) return {};
    if (text.size() > INT_MAX / 4) return {};
    const wchar_t* w = W(text);
    const int n = WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::u16string Win32Codec::UpperCase(const std::u16string& text) {
    std::u16string out = text;
    if (!out.empty()) CharUpperBuffW(reinterpret_cast<wchar_t*>(&out[0]), static_cast<DWORD>(out.size()));
    return out;
}

std::u16string Win32Codec::LowerCase(const std::u16string& text) {
    std::u16string out = text;
    if (!out.empty()) CharLowerBuffW(reinterpret_cast<wchar_t*>(&out[0]), static_cast<DWORD>(out.size()));
    return out;
}
