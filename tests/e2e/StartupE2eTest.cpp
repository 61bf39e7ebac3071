// Start-up and shutdown as a person sees them: the caption, the first log line,
// the side picture and its errors, an unreadable information file, and a
// working folder the log cannot be written to.
#include <gtest/gtest.h>

#include "Driver.h"
#include "wizard/ControlIds.h"

using namespace e2e;

namespace {
const wchar_t* kNotice = L"セットアップ確認";
const wchar_t* kAbandon = L"セットアップ中止確認";

// Cancels the wizard on its welcome page as a person does: close box, then OK
// in the abandon confirmation.
void Abandon(Installer& app) {
    app.PostClose();
    app.Expect(kAbandon, IDOK);
}
}  // namespace

TEST(Startup, WithoutAnyFileShowsDefaultCaptionAndLogsMissingLicence) {
    Dist dist(L"startup-bare");
    Installer app(dist);
    const Box notice = app.Expect(kNotice);
    EXPECT_EQ(notice.text, L"このセットアップ作業は、新規インストール用です。\n\n");
    EXPECT_EQ(notice.owner, app.MainWindow());
    ASSERT_TRUE(app.WaitVisible());
    EXPECT_EQ(app.Caption(), L" VORN6 x86版  セットアップ");
    EXPECT_TRUE(app.Visible(ids::TabSheet01));
    Abandon(app);
    EXPECT_EQ(app.WaitExit(), 0u);
    EXPECT_EQ(dist.SetupLog(),
              Sjis(L"NG : File Not Found : " + dist.ExeDir() + L"\\license.txt\r\n"));
}

TEST(Startup, LicenceFoundReplacesAnEarlierLog) {
    Dist dist(L"startup-licence");
    dist.Write(L"license.txt", "\xEF\xBB\xBF" "第1条 使用許諾\r\nline two\r\n");
    WriteBytes(dist.work + L"\\Setuplog.txt", "old contents that must go\r\n");
    Installer app(dist);
    app.Expect(kNotice);
    ASSERT_TRUE(app.WaitVisible());
    EXPECT_EQ(app.Text(ids::Memo02), L"第1条 使用許諾\r\nline two");
    Abandon(app);
    EXPECT_EQ(app.WaitExit(), 0u);
    EXPECT_EQ(dist.SetupLog(),
              Sjis(L"OK : File Found : " + dist.ExeDir() + L"\\license.txt\r\n"));
}

TEST(Startup, PictureWithUnknownExtensionShowsErrorBeforeTheWindow) {
    Dist dist(L"startup-badpicture");
    dist.Information("[Caption]\r\nImage01=side.txt\r\n");
    dist.Write(L"side.txt", "not a picture");
    Installer app(dist);
    const Box error = app.Expect(L"Kelvorainstall");
    EXPECT_EQ(error.text, L"画像のファイル拡張子 (.txt) が不明です.");
    EXPECT_EQ(error.buttons, std::vector<int>{IDOK});
    EXPECT_TRUE(error.hasIcon);
    EXPECT_FALSE(IsWindowVisible(app.MainWindow()));
    app.Expect(kNotice);
    ASSERT_TRUE(app.WaitVisible());
    EXPECT_TRUE(app.Visible(ids::TabSheet01));
    Abandon(app);
    EXPECT_EQ(app.WaitExit(), 0u);
    EXPECT_EQ(dist.SetupLog(),
              Sjis(L"NG : File Not Found : " + dist.ExeDir() + L"\\license.txt\r\n" +
                   L"OK : Load Image File : " + dist.ExeDir() + L"side.txt\r\n"));
}

TEST(Startup, RealPictureLoadsWithoutErrorAndIsLoggedAfterTheLicence) {
    Dist dist(L"startup-picture");
    dist.Information("[Caption]\r\nImage01=side.png\r\n");
    dist.Write(L"side.png", ReadBytes(SourceDir() + L"\\tests\\fixtures\\side.png"));
    Installer app(dist);
    const Box first = app.Expect(kNotice);
    EXPECT_EQ(first.text, L"このセットアップ作業は、新規インストール用です。\n\n");
    ASSERT_TRUE(app.WaitVisible());
    Abandon(app);
    EXPECT_EQ(app.WaitExit(), 0u);
    EXPECT_EQ(dist.SetupLog(),
              Sjis(L"NG : File Not Found : " + dist.ExeDir() + L"\\license.txt\r\n" +
                   L"OK : Load Image File : " + dist.ExeDir() + L"side.png\r\n"));
}

TEST(Startup, InformationFileHeldOpenForWritingStopsTheCreationStep) {
    Dist dist(L"startup-locked");
    dist.Information("[Caption]\r\nAppCaption=Locked\r\n");
    const std::wstring info = dist.dir + L"\\Information.txt";
    HANDLE held = CreateFileW(info.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Installer app(dist);
    const Box error = app.Expect(L"Kelvorainstall");
    EXPECT_EQ(error.text.rfind(L"ファイル " + info + L" は開けません。 ", 0), 0u) << error.text.c_str();
    EXPECT_EQ(error.text.back(), L' ');
    app.Expect(kNotice);
    ASSERT_TRUE(app.WaitVisible());
    EXPECT_EQ(app.Caption(), L"Kelvoraインストーラー");
    EXPECT_TRUE(app.Visible(ids::TabSheet08));
    // The finished page allows the close without a question.
    app.PostClose();
    EXPECT_EQ(app.WaitExit(), 0u);
    CloseHandle(held);
    EXPECT_EQ(dist.SetupLog(), "");
    EXPECT_TRUE(FileExists(dist.work + L"\\Setuplog.txt"));
}

TEST(Startup, UnwritableWorkingFolderShowsCreateErrorAfterTheWindowClosed) {
    Dist dist(L"startup-nolog");
    // A folder where the log file should be created refuses the file, also for root.
    MakeFolders(dist.work + L"\\Setuplog.txt");
    Installer app(dist);
    app.Expect(kNotice);
    ASSERT_TRUE(app.WaitVisible());
    app.PostClose();
    app.Expect(kAbandon, IDOK);
    const auto error = app.WaitBox();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->caption, L"Kelvorainstall");
    EXPECT_EQ(error->text.rfind(L"ファイル \"" + dist.work + L"\\Setuplog.txt\" を作成できません。", 0), 0u)
        << error->text.c_str();
    EXPECT_EQ(error->text.back(), L'.');
    EXPECT_FALSE(IsWindowVisible(app.MainWindow()));
    app.Answer(*error, IDOK);
    EXPECT_EQ(app.WaitExit(), 0u);
}
