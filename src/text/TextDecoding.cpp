#include "text/TextDecoding.h"

#include "platform/Codec.h"
#include "platform/Text.h"

TextEncoding DetectEncoding(const std::string& bytes) {
    auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) return TextEncoding::Utf8Bom;
    if (bytes.size() >= 2 && at(0) == 0xFF && at(1) == 0xFE) return TextEncoding::Utf16LE;
    if (bytes.size() >= 2 && at(0) == 0xFE && at(1) == 0xFF) return TextEncoding::Utf16BE;
    return TextEncoding::Ansi;
}

static std::u16string DecodeUtf16(const std::string& bytes, size_t start, bool bigEndian) {
    std::u16string out;
    out.reserve((bytes.size() - start) / 2 + 1);
    size_t i = start;
    for (; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        out.push_back(static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a));
    }
    if (i < bytes.size()) out.push_back(u'\uFFFD');
    return out;
}

std::u16string DecodeText(const std::string& bytes, Codec& codec) {
    switch (DetectEncoding(bytes)) {
    case TextEncoding::Utf8Bom:
        return text::FromUtf8(std::string_view(bytes).substr(3));
    case TextEncoding::Utf16LE:
        return DecodeUtf16(bytes, 2, false);
    case TextEncoding::Utf16BE:
        return DecodeUtf16(bytes, 2, true);
    case TextEncoding::Ansi:
        break;
    }
    return codec.AnsiToUtf16(bytes);
}

std::vector<std::u16string> SplitLines(const std::u16string& fullText) {
    std::vector<std::u16string> lines;
    const size_t nul = fullText.find(u'\0');
    const std::u16string_view t = std::u16string_view(fullText).substr(0, nul);
    size_t start = 0;
    size_t i = 0;
    while (i < t.size()) {
        const char16_t c = t[i];
        if (c == u'\r' || c == u'\n') {
            lines.emplace_back(t.substr(start, i - start));
            i += (c == u'\r' && i + 1 < t.size() && t[i + 1] == u'\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < t.size()) lines.emplace_back(t.substr(start));
    return lines;
}
