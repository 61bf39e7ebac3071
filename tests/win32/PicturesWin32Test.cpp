// The side-picture decoder under Wine's real GDI and imaging component:
// metafiles written by GDI itself (the make_metafiles sample program) decode
// into pixels of the right size and colours, and a picture that cannot be
// decoded gives the decoder's message with its code in hexadecimal.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "FileOperationsPlatform.h"
#include "platform/AppError.h"
#include "platform/Text.h"
#include "platform/win32/Win32FileSystem.h"
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

// The metafiles the sample program writes, made once for the whole suite.
class Metafiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = u"C:\\kelvora-win32\\metafiles";
        CreateDirectoryW(L"C:\\kelvora-win32", nullptr);
        CreateDirectoryW(W(folder_), nullptr);
        made_ = wtest::MakeMetafiles(folder_);
    }

    void SetUp() override { ASSERT_TRUE(made_) << "make_metafiles.exe did not write the pictures"; }

    static std::string Bytes(const std::u16string& name) {
        Win32FileSystem fs;
        std::string bytes;
        EXPECT_TRUE(fs.ReadAllDenyWrite(folder_ + u"\\" + name, bytes).ok) << text::ToUtf8(name);
        return bytes;
    }

    static std::u16string folder_;
    static bool made_;
    ComScope com_;
};
std::u16string Metafiles::folder_;
bool Metafiles::made_ = false;

// The colour at (x, y) of a decoded picture, as 0xRRGGBB.
uint32_t Rgb(const Win32Picture& picture, int x, int y) {
    DIBSECTION dib{};
    if (GetObjectW(picture.bitmap(), sizeof dib, &dib) != sizeof dib) return 0xDEADBEEF;
    const auto* row = static_cast<const uint8_t*>(dib.dsBm.bmBits) + static_cast<size_t>(y) * dib.dsBm.bmWidthBytes;
    const uint8_t* px = row + x * 4;
    return (uint32_t{px[2]} << 16) | (uint32_t{px[1]} << 8) | px[0];
}

uint8_t Alpha(const Win32Picture& picture, int x, int y) {
    DIBSECTION dib{};
    if (GetObjectW(picture.bitmap(), sizeof dib, &dib) != sizeof dib) return 0;
    return static_cast<const uint8_t*>(dib.dsBm.bmBits)[static_cast<size_t>(y) * dib.dsBm.bmWidthBytes + x * 4 + 3];
}

struct Spot {
    int x, y;
    uint32_t rgb;
};

struct MetafileCase {
    const char* name;
    const char16_t* file;
    const char16_t* extension;
    int width, height;
    Spot spots[4];
};

class MetafileDecoding : public Metafiles, public ::testing::WithParamInterface<MetafileCase> {};

TEST_P(MetafileDecoding, GivesThePictureAtItsOwnSizeWithItsColoursInPlace) {
    const MetafileCase& c = GetParam();
    Win32Pictures pictures;
    std::shared_ptr<Picture> decoded;
    try {
        decoded = pictures.Decode(Bytes(c.file), c.extension);
    } catch (const AppError& e) {
        FAIL() << "decoder error: " << text::ToUtf8(e.Message());
    }
    auto* picture = dynamic_cast<Win32Picture*>(decoded.get());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Width(), c.width);
    EXPECT_EQ(picture->Height(), c.height);
    BITMAP bm{};
    ASSERT_EQ(GetObjectW(picture->bitmap(), sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, c.width);
    EXPECT_EQ(bm.bmHeight, c.height);
    for (const Spot& s : c.spots) {
        EXPECT_EQ(Rgb(*picture, s.x, s.y), s.rgb) << "at " << s.x << "," << s.y;
        EXPECT_EQ(Alpha(*picture, s.x, s.y), 0xFF) << "opaque at " << s.x << "," << s.y;
    }
}

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00, kYellow = 0xFFFF00;

INSTANTIATE_TEST_SUITE_P(
    Kinds, MetafileDecoding,
    ::testing::Values(
        // Upper half, lower half, the square's centre, and a corner of the lower half.
        MetafileCase{"Enhanced", u"side.emf", u"EMF", 160, 340,
                     {{20, 20, kRed}, {140, 320, kBlue}, {80, 170, kGreen}, {3, 336, kBlue}}},
        MetafileCase{"Placeable", u"side.wmf", u"WMF", 140, 340,
                     {{20, 20, kBlue}, {120, 320, kRed}, {70, 170, kYellow}, {136, 3, kBlue}}},
        // Without the placeable header the picture takes the window extent it was drawn in.
        MetafileCase{"PlainWindows", u"plain.wmf", u"WMF", 140, 340,
                     {{20, 20, kBlue}, {120, 320, kRed}, {70, 170, kYellow}, {3, 336, kRed}}}),
    [](const ::testing::TestParamInfo<MetafileCase>& info) { return info.param.name; });

TEST_F(Metafiles, ACorruptMetafileGivesTheDecoderError) {
    Win32Pictures pictures;
    std::string emf = Bytes(u"side.emf");
    emf.resize(120);  // the header and the start of the records, no end record
    std::string wmf = Bytes(u"side.wmf");
    wmf[6] = wmf[7] = wmf[8] = wmf[9] = wmf[10] = wmf[11] = 0;  // an empty bounding box
    const struct {
        const char* name;
        std::string bytes;
        const char16_t* extension;
    } cases[] = {{"truncated emf", emf, u"EMF"},
                 {"empty placeable box", wmf, u"WMF"},
                 {"plain wmf header alone, no size", Bytes(u"plain.wmf").substr(0, 18), u"WMF"},
                 {"text named .emf", "not a picture at all", u"EMF"},
                 {"text named .wmf", "not a picture at all", u"WMF"}};
    for (const auto& c : cases) {
        try {
            pictures.Decode(c.bytes, c.extension);
            ADD_FAILURE() << c.name << ": decoded";
        } catch (const AppError& e) {
            EXPECT_EQ(e.Message().rfind(u"画像を読み込めません (0x", 0), 0u) << c.name << ": " << text::ToUtf8(e.Message());
        }
    }
}

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
