// Metafile side pictures as a person sees them: an .emf or .wmf named by
// Image01 (written by GDI itself, through the make_metafiles sample program)
// opens without an error box, is logged, and shows in both side strips at its
// own width, with its colours on the screen.
#include <gtest/gtest.h>

#include "Driver.h"
#include "wizard/ControlIds.h"
#include "wizard/Layout.h"

using namespace e2e;

namespace {
const wchar_t* kNotice = L"セットアップ確認";
const wchar_t* kAbandon = L"セットアップ中止確認";

// The colour the screen shows at (x, y) of a control's client area.
COLORREF ScreenPixel(HWND control, int x, int y) {
    POINT p{x, y};
    ClientToScreen(control, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

struct Case {
    const char* name;
    const wchar_t* file;
    int width;                                 // the picture's width, which the side strip takes
    COLORREF upper, lower, middle;             // its upper half, lower half and central square
};

class MetafileSidePicture : public ::testing::TestWithParam<Case> {};

TEST_P(MetafileSidePicture, ShowsWithoutAnErrorBoxAtItsOwnWidth) {
    const Case& c = GetParam();
    Dist dist(std::wstring(L"metafile-") + c.file);
    ASSERT_TRUE(MakeMetafiles(dist.root + L"\\made"));
    dist.Write(c.file, ReadBytes(dist.root + L"\\made\\" + c.file));
    dist.Information("[Caption]\r\nImage01=" + std::string(c.file, c.file + wcslen(c.file)) + "\r\n");
    Installer app(dist);
    // The new-install notice is the first box: no decoder error before it.
    const Box first = app.Expect(kNotice);
    EXPECT_EQ(first.text, L"このセットアップ作業は、新規インストール用です。\n\n");
    ASSERT_TRUE(app.WaitVisible());
    EXPECT_TRUE(app.Visible(ids::TabSheet01));

    for (int id : {ids::Image1, ids::Image9}) {
        RECT r{};
        GetClientRect(app.Control(id), &r);
        EXPECT_EQ(r.right, c.width) << "side picture " << id;
        EXPECT_EQ(r.bottom, layout::PageHeight) << "side picture " << id;
    }
    HWND side = app.Control(ids::Image1);
    ASSERT_TRUE(WaitFor([&] { return ScreenPixel(side, 20, 20) == c.upper; }, 3000))
        << std::hex << ScreenPixel(side, 20, 20);
    EXPECT_EQ(ScreenPixel(side, c.width - 20, layout::PageHeight - 20), c.lower);
    EXPECT_EQ(ScreenPixel(side, c.width / 2, layout::PageHeight / 2), c.middle);

    app.PostClose();
    app.Expect(kAbandon, IDOK);
    EXPECT_EQ(app.WaitExit(), 0u);
    EXPECT_EQ(dist.SetupLog(),
              Sjis(L"NG : File Not Found : " + dist.ExeDir() + L"\\license.txt\r\n" + L"OK : Load Image File : " +
                   dist.ExeDir() + c.file + L"\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Kinds, MetafileSidePicture,
                         ::testing::Values(Case{"Enhanced", L"side.emf", 160, RGB(255, 0, 0), RGB(0, 0, 255),
                                                RGB(0, 255, 0)},
                                           Case{"Placeable", L"side.wmf", 140, RGB(0, 0, 255), RGB(255, 0, 0),
                                                RGB(255, 255, 0)}),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

}  // namespace
