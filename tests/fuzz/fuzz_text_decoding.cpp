// The text-file decoder and line splitter that read license.txt (and
// Information.txt) as any bytes. The decoded length follows from the encoding,
// UTF-8 text survives a round trip, and the lines are exactly the text up to
// its first NUL cut at CR LF, lone CR and lone LF.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "platform/Text.h"
#include "platform/native/NativeCodec.h"
#include "text/TextDecoding.h"

namespace {

// The splitting rule written the plain way: breaks unified to LF, one break
// at the very end dropped, then cut at every LF.
std::vector<std::u16string> ExpectedLines(const std::u16string& text) {
    std::u16string t = text.substr(0, text.find(u'\0'));
    std::u16string unified;
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i] == u'\r') {
            unified.push_back(u'\n');
            if (i + 1 < t.size() && t[i + 1] == u'\n') ++i;
        } else {
            unified.push_back(t[i]);
        }
    }
    std::vector<std::u16string> lines;
    if (unified.empty()) return lines;
    if (unified.back() == u'\n') unified.pop_back();
    size_t start = 0;
    for (;;) {
        const size_t lf = unified.find(u'\n', start);
        lines.push_back(unified.substr(start, lf == std::u16string::npos ? std::u16string::npos : lf - start));
        if (lf == std::u16string::npos) break;
        start = lf + 1;
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static NativeCodec codec;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const TextEncoding encoding = DetectEncoding(bytes);
    const std::u16string text = DecodeText(bytes, codec);

    switch (encoding) {
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        FUZZ_CHECK(text.size() == (size - 2 + 1) / 2);
        break;
    case TextEncoding::Utf8Bom:
        FUZZ_CHECK(text.size() <= size - 3);
        // Decoded UTF-8 holds no lone surrogate, so it converts back and forth unchanged.
        FUZZ_CHECK(text::FromUtf8(text::ToUtf8(text)) == text);
        break;
    case TextEncoding::Ansi:
        FUZZ_CHECK(text.size() <= size);
        break;
    }

    const std::vector<std::u16string> lines = SplitLines(text);
    for (const std::u16string& line : lines) {
        FUZZ_CHECK(line.find_first_of(std::u16string(u"\r\n\0", 3)) == std::u16string::npos);
    }
    FUZZ_CHECK(lines == ExpectedLines(text));

    // The same bytes read as raw UTF-16 split by the same rule.
    fuzz::Input in(data, size);
    const std::u16string units = in.RestUtf16();
    FUZZ_CHECK(SplitLines(units) == ExpectedLines(units));
    return 0;
}
