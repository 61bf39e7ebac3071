#include "platform/native/NativeCodec.h"

#include <iconv.h>

#include <cwctype>

namespace {
// Converts with iconv, replacing each input unit it cannot convert by `replacement`.
std::string Convert(const char* to, const char* from, const char* in, size_t inLeft, size_t unit,
                    const std::string& replacement) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string();
    std::string out;
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        char* inPtr = const_cast<char*>(in);
        const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        in = inPtr;
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            // An invalid or incomplete unit: replace it and go on after it.
            out += replacement;
            const size_t skip = inLeft < unit ? inLeft : unit;
            in += skip;
            inLeft -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}
}  // namespace

std::u16string NativeCodec::AnsiToUtf16(const std::string& bytes) {
    const std::string u16 = Convert("UTF-16LE", "CP932", bytes.data(), bytes.size(), 1, std::string("\xFD\xFF", 2));
    std::u16string out(u16.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(u16[2 * i]) |
                                       (static_cast<unsigned char>(u16[2 * i + 1]) << 8));
    }
    return out;
}

std::string NativeCodec::Utf16ToAnsi(const std::u16string& text) {
    std::string in(text.size() * 2, '\0');
    for (size_t i = 0; i < text.size(); ++i) {
        in[2 * i] = static_cast<char>(text[i] & 0xFF);
        in[2 * i + 1] = static_cast<char>(text[i] >> 8);
    }
    // The system's default character for code page 932 is "?".
    return Convert("CP932", "UTF-16LE", in.data(), in.size(), 2, "?");
}

std::u16string NativeCodec::UpperCase(const std::u16string& text) {
    std::u16string out = text;
    for (char16_t& c : out) c = static_cast<char16_t>(std::towupper(static_cast<wint_t>(c)));
    return out;
}

std::u16string NativeCodec::LowerCase(const std::u16string& text) {
    std::u16string out = text;
    for (char16_t& c : out) c = static_cast<char16_t>(std::towlower(static_cast<wint_t>(c)));
    return out;
}
