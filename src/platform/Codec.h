// Conversion between UTF-16 and the system's ANSI code page, and the system's
// locale-aware letter case.
#pragma once
#include <string>

class Codec {
public:
    virtual ~Codec() = default;
    // The ANSI code page number (932 on the systems the installer addresses).
    virtual unsigned AnsiCodePage() = 0;
    // Bytes in the ANSI code page to UTF-16; invalid bytes become the system's
    // replacement characters.
    virtual std::u16string AnsiToUtf16(const std::string& bytes) = 0;
    // UTF-16 to the ANSI code page; unrepresentable characters are replaced by
    // the system's conversion (best fit or the default character).
    virtual std::string Utf16ToAnsi(const std::u16string& text) = 0;
    virtual std::u16string UpperCase(const std::u16string& text) = 0;
    virtual std::u16string LowerCase(const std::u16string& text) = 0;
};
