#pragma once
#include "platform/Codec.h"

class Win32Codec : public Codec {
public:
    unsigned AnsiCodePage() override;
    std::u16string AnsiToUtf16(const std::string& bytes) override;
    std::string Utf16ToAnsi(const std::u16string& text) override;
    std::u16string UpperCase(const std::u16string& text) override;
    std::u16string LowerCase(const std::u16string& text) override;
};
