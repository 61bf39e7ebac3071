// The ANSI code page on Linux: code page 932 through iconv, the code page the
// installer's systems use.
#pragma once
#include "platform/Codec.h"

class NativeCodec : public Codec {
public:
    unsigned AnsiCodePage() override { return 932; }
    std::u16string AnsiToUtf16(const std::string& bytes) override;
    std::string Utf16ToAnsi(const std::u16string& text) override;
    std::u16string UpperCase(const std::u16string& text) override;
    std::u16string LowerCase(const std::u16string& text) override;
};
