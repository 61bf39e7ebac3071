// The overwrite warning at the first showing, when the product's program is
// already in the configured folder.
#include <gtest/gtest.h>

#include "Driver.h"
#include "wizard/ControlIds.h"

using namespace e2e;

namespace {
// A configured folder, written with a trailing separator, that already holds the program.
struct Installed {
    explicit Installed(const std::wstring& name) : dist(name) {
        folder = dist.root + L"\\installed\\";
        WriteBytes(folder + L"VORN6.exe", "MZ installed program");
        dist.Information("[Application]\r\nFolderName=" + std::string(folder.begin(), folder.end()) + "\r\n");
    }
    Dist dist;
    std::wstring folder;
};
}  // namespace

TEST(Overwrite, WarningShowsThePathAsFormedAndCancelEndsWithoutAQuestion) {
    Installed setup(L"overwrite-cancel");
    Installer app(setup.dist);
    app.Expect(L"セットアップ確認", IDOK);
    const HWND main = app.MainWindow();
    const Box warning = app.Expect(L"セットアップ確認", IDCANCEL);
    EXPECT_EQ(warning.text, L"すでにこのシステムにインストールされています。\n\n" + setup.folder +
                                L"\\VORN6.exe\n\nすべてのフォルダが上書きされます。継続しますか？\n\n");
    EXPECT_EQ(warning.buttons, (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_EQ(warning.owner, main);
    EXPECT_EQ(app.WaitExit(), 0u);
    EXPECT_EQ(setup.dist.SetupLog(),
              Sjis(L"NG : File Not Found : " + setup.dist.ExeDir() + L"\\license.txt\r\n"));
    EXPECT_EQ(ReadBytes(setup.folder + L"VORN6.exe"), "MZ installed program");
}

TEST(Overwrite, OkContinuesOnTheWelcomePage) {
    Installed setup(L"overwrite-ok");
    Installer app(setup.dist);
    app.Expect(L"セットアップ確認", IDOK);
    app.Expect(L"セットアップ確認", IDOK);
    ASSERT_TRUE(app.WaitVisible());
    EXPECT_TRUE(app.Visible(ids::TabSheet01));
    app.PostClose();
    app.Expect(L"セットアップ中止確認", IDOK);
    EXPECT_EQ(app.WaitExit(), 0u);
}
