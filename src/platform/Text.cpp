#include "platform/Text.h"

namespace text {

std::u16string FromUtf8(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    size_t i = 0;
    const size_t n = bytes.size();
    auto cont = [&](size_t k) { return k < n && (static_cast<unsigned char>(bytes[k]) & 0xC0) == 0x80; };
    while (i < n) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        char32_t cp = 0xFFFD;
        size_t len = 1;
        if (b < 0x80) {
            cp = b;
        } else if (b >= 0xC2 && b <= 0xDF && cont(i + 1)) {
            cp = ((b & 0x1F) << 6) | (bytes[i + 1] & 0x3F);
            len = 2;
        } else if (b >= 0xE0 && b <= 0xEF && cont(i + 1) && cont(i + 2)) {
            char32_t c = ((b & 0x0F) << 12) | ((bytes[i + 1] & 0x3F) << 6) | (bytes[i + 2] & 0x3F);
            if (c >= 0x800 && (c < 0xD800 || c > 0xDFFF)) {
                cp = c;
                len = 3;
            }
        } else if (b >= 0xF0 && b <= 0xF4 && cont(i + 1) && cont(i + 2) && cont(i + 3)) {
            char32_t c = ((b & 0x07) << 18) | ((bytes[i + 1] & 0x3F) << 12) | ((bytes[i + 2] & 0x3F) << 6) |
                         (bytes[i + 3] & 0x3F);
            if (c >= 0x10000 && c <= 0x10FFFF) {
                cp = c;
                len = 4;
            }
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

std::string ToUtf8(std::u16string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t cp = s[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::u16string TrimControls(std::u16string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && s[b] <= 32) ++b;
    while (e > b && s[e - 1] <= 32) --e;
    return std::u16string(s.substr(b, e - b));
}

bool EndsWith(std::u16string_view s, std::u16string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

bool StartsWith(std::u16string_view s, std::u16string_view head) {
    return s.size() >= head.size() && s.substr(0, head.size()) == head;
}

static size_t LastSeparator(std::u16string_view path) {
    return path.find_last_of(u"\\:");
}

std::u16string FolderPart(std::u16string_view path) {
    const size_t p = LastSeparator(path);
    return p == std::u16string_view::npos ? std::u16string() : std::u16string(path.substr(0, p + 1));
}

std::u16string NamePart(std::u16string_view path) {
    const size_t p = LastSeparator(path);
    return std::u16string(p == std::u16string_view::npos ? path : path.substr(p + 1));
}

std::u16string Format(std::u16string_view pattern, const std::vector<std::u16string>& args) {
    std::u16string out;
    size_t next = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] == u's') {
            if (next < args.size()) out += args[next];
            ++next;
            ++i;
        } else {
            out.push_back(pattern[i]);
        }
    }
    return out;
}

std::u16string FromInt(long long value) {
    const std::string s = std::to_string(value);
    return std::u16string(s.begin(), s.end());
}

std::u16string Hex8(uint32_t value) {
    std::u16string out(8, u'0');
    for (int i = 7; i >= 0; --i, value >>= 4) out[i] = u"0123456789ABCDEF"[value & 0xF];
    return out;
}

}  // namespace text
