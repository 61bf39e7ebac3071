// The folder browser of the install-folder page, opened and answered as a person does.
#include <windows.h>

#include <gtest/gtest.h>

#include "Driver.h"
#include "wizard/ControlIds.h"

using namespace e2e;

namespace {
// The folder browser is the process's one #32770 window with a tree view.
HWND BrowserTree(HWND dialog) { return FindWindowExW(dialog, nullptr, L"SysTreeView32", nullptr); }

// Walks from the welcome page to the install-folder page.
void ToFolderPage(Installer& app) {
    app.Expect(L"セットアップ確認");
    ASSERT_TRUE(app.WaitVisible());
    app.AgreeToLicence();
    ASSERT_TRUE(app.Visible(ids::TabSheet03));
}
}  // namespace

TEST(Browse, ExistingFolderIsPreselectedAndOkPutsItIntoTheBox) {
    Dist dist(L"browse-existing");
    const std::wstring existing = dist.root + L"\\target";
    MakeFolders(existing);
    dist.Information("[Application]\r\nFolderName=" + Ascii(existing) + "\r\n");
    Installer app(dist);
    ToFolderPage(app);
    // A folder typed into the folder box does not move the browser's start.
    app.Type(ids::Edit_03_Folder, L"C:\\elsewhere");
    app.ClickAsync(ids::Button_03_01);
    const auto browser = app.WaitBox();
    ASSERT_TRUE(browser.has_value());
    EXPECT_NE(BrowserTree(browser->hwnd), nullptr);
    EXPECT_FALSE(IsWindowEnabled(app.MainWindow())) << "the wizard is disabled while the browser is open";
    // OK at once confirms the preselected folder.
    app.Answer(*browser, IDOK);
    for (int i = 0; i < 100 && app.Text(ids::Edit_03_Folder) == L"C:\\elsewhere"; ++i) Sleep(20);
    EXPECT_EQ(app.Text(ids::Edit_03_Folder), existing);
    EXPECT_TRUE(IsWindowEnabled(app.MainWindow()));
    app.PostClose();
    app.Expect(L"セットアップ中止確認", IDOK);
    EXPECT_EQ(app.WaitExit(), 0u);
}

TEST(Browse, CancelKeepsTheBoxAndAMissingStartOpensWithNothingSelected) {
    Dist dist(L"browse-missing");
    const std::wstring missing = dist.root + L"\\not-there";
    dist.Information("[Application]\r\nFolderName=" + Ascii(missing) + "\r\n");
    Installer app(dist);
    ToFolderPage(app);
    for (int round = 0; round < 2; ++round) {
        app.ClickAsync(ids::Button_03_01);
        const auto browser = app.WaitBox();
        ASSERT_TRUE(browser.has_value());
        EXPECT_NE(BrowserTree(browser->hwnd), nullptr);
        app.Answer(*browser, IDCANCEL);
        Sleep(100);
        EXPECT_EQ(app.Text(ids::Edit_03_Folder), missing) << "round " << round;
    }
    // The ready page still shows the folder of the box.
    app.Click(ids::Button_Next);
    app.Click(ids::Button_Next);
    app.Click(ids::Button_Next);
    EXPECT_EQ(app.Text(ids::Memo06).rfind(L"インストール先:\r\n  " + missing + L"\r\n", 0), 0u);
    app.PostClose();
    app.Expect(L"セットアップ中止確認", IDOK);
    EXPECT_EQ(app.WaitExit(), 0u);
}
