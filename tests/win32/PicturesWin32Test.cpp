// The side-picture decoder under Wine's real imaging component: a picture
// that cannot be decoded gives the decoder's message with its code in
// hexadecimal.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/AppError.h"
#include "platform/Text.h"
#include "platform/win32/Win32Pictures.h"
#include "platform/win32/Win32Text.h"

namespace {

// COM for the imaging component, for the length of one test.
class ComScope {
public:
    ComScope() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComScope() {
        if (ok_) CoUninitialize();
    }

private:
    bool ok_;
};

// Wine has no wording for the imaging component's codes, so its message is
// the decoder's own, with the code as Windows writes HRESULTs.
TEST(PictureDecoderMessage, NamesTheCodeInHexadecimal) {
    ComScope com;
    Win32Pictures pictures;
    const struct {
        const char* name;
        std::string bytes;
        const char16_t* message;
    } cases[] = {
        {"empty file", "", u"画像を読み込めません (0x88982F61)"},               // WINCODEC_ERR_BADHEADER
        {"unknown content", "plain text, no picture", u"画像を読み込めません (0x88982F50)"},  // COMPONENTNOTFOUND
    };
    for (const auto& c : cases) {
        try {
            pictures.Decode(c.bytes, u"PNG");
            ADD_FAILURE() << c.name << ": decoded";
        } catch (const AppError& e) {
            EXPECT_EQ(e.Message(), c.message) << c.name << ": " << text::ToUtf8(e.Message());
        }
    }
}

}  // namespace
