// The update mode as a person sees it: one question, the copy over the
// installed folder, the report, the companion program and the desktop shortcut.
#include <shlobj.h>

#include <gtest/gtest.h>

#include "Driver.h"

using namespace e2e;

namespace {
// A distribution folder in update mode over `installed`, with a product folder
// holding a new program, a changed file and a new file in a sub-folder.
struct UpdateSetup {
    explicit UpdateSetup(const std::wstring& name, const std::string& shortcutValue = "Yes") : dist(name) {
        installed = dist.root + L"\\installed";
        MakeFolders(installed + L"\\sub");
        WriteBytes(installed + L"\\common.txt", "old");
        WriteBytes(installed + L"\\extra.txt", "only in the installed folder");
        WriteBytes(installed + L"\\sub\\kept.txt", "kept");
        dist.Write(L"VORN6\\VORN6.exe", "MZ new program");
        dist.Write(L"VORN6\\common.txt", "new");
        dist.Write(L"VORN6\\sub\\added.txt", "added");
        dist.Write(L"Kelvora_Auth.exe", "MZ companion");
        dist.UpdateInformation(installed, shortcutValue);
        DeleteFileW((SpecialFolder(CSIDL_DESKTOPDIRECTORY) + L"\\VORN6.lnk").c_str());
    }
    Dist dist;
    std::wstring installed;
};

std::wstring InUseText(const std::wstring& path) {
    return path + L" は使用中です。\n\nプログラムを終了してから「OK」をクリックしてください。"
                  L"「キャンセル」をクリックするとアップデートを中止します。";
}
}  // namespace

TEST(Update, ConfirmedUpdateOverwritesAddsCompanionAndShortcut) {
    UpdateSetup setup(L"update-ok");
    Installer app(setup.dist);
    const Box question = app.Expect(L"アップデート", IDOK);
    EXPECT_EQ(question.text, L" VORN6 x86版  のアップデートを行いますか？");
    EXPECT_EQ(question.buttons, (std::vector<int>{IDOK, IDCANCEL}));
    const Box report = app.Expect(L"報告", IDOK);
    EXPECT_EQ(report.text, L"上書きアップデートを行いました。");
    EXPECT_EQ(report.buttons, std::vector<int>{IDOK});
    // No abandon confirmation: the program ends by itself.
    EXPECT_EQ(app.WaitExit(), 0u);
    EXPECT_FALSE(app.WaitBox(200).has_value());

    EXPECT_EQ(ReadBytes(setup.installed + L"\\common.txt"), "new");
    EXPECT_EQ(ReadBytes(setup.installed + L"\\extra.txt"), "only in the installed folder");
    EXPECT_EQ(ReadBytes(setup.installed + L"\\sub\\kept.txt"), "kept");
    EXPECT_EQ(ReadBytes(setup.installed + L"\\sub\\added.txt"), "added");
    EXPECT_EQ(ReadBytes(setup.installed + L"\\Kelvora_Auth.exe"), "MZ companion");
    const std::wstring link = SpecialFolder(CSIDL_DESKTOPDIRECTORY) + L"\\VORN6.lnk";
    EXPECT_TRUE(FileExists(link));

    const std::wstring exeDir = setup.dist.ExeDir();
    EXPECT_EQ(setup.dist.SetupLog(),
              Sjis(L"NG : File Not Found : " + exeDir + L"\\license.txt\r\n" + L"OK : Folder Copy : " + exeDir +
                   L"VORN6\\ " + setup.installed + L"\r\n" + L"OK : Short Cut File Save : " + link + L"\r\n" +
                   L"OK : ShortCut : " + setup.installed + L"\\VORN6.exe VORN6\r\n"));
    DeleteFileW(link.c_str());
}

TEST(Update, ShortcutOnlyForExactlyYesAndCompanionNeverReplaced) {
    UpdateSetup setup(L"update-lower", "yes");
    WriteBytes(setup.installed + L"\\Kelvora_Auth.exe", "MZ installed companion");
    setup.dist.Write(L"VORN6\\..\\Kelvora_Auth.exe", "MZ newer companion");
    Installer app(setup.dist);
    app.Expect(L"アップデート", IDOK);
    app.Expect(L"報告", IDOK);
    EXPECT_EQ(app.WaitExit(), 0u);
    EXPECT_EQ(ReadBytes(setup.installed + L"\\Kelvora_Auth.exe"), "MZ installed companion");
    EXPECT_FALSE(FileExists(SpecialFolder(CSIDL_DESKTOPDIRECTORY) + L"\\VORN6.lnk"));
}

TEST(Update, CancelAtTheQuestionChangesNothing) {
    UpdateSetup setup(L"update-cancel");
    Installer app(setup.dist);
    app.Expect(L"アップデート", IDCANCEL);
    EXPECT_EQ(app.WaitExit(), 0u);
    EXPECT_EQ(ReadBytes(setup.installed + L"\\common.txt"), "old");
    EXPECT_FALSE(FileExists(setup.installed + L"\\sub\\added.txt"));
    EXPECT_FALSE(FileExists(setup.installed + L"\\Kelvora_Auth.exe"));
    EXPECT_FALSE(FileExists(SpecialFolder(CSIDL_DESKTOPDIRECTORY) + L"\\VORN6.lnk"));
    EXPECT_EQ(setup.dist.SetupLog(),
              Sjis(L"NG : File Not Found : " + setup.dist.ExeDir() + L"\\license.txt\r\n"));
}

TEST(Update, FailedCopyWarnsAndStillAddsTheCompanion) {
    UpdateSetup setup(L"update-fail");
    // The product folder is missing: the copy is refused.
    RemoveTree(setup.dist.dir + L"\\VORN6");
    Installer app(setup.dist);
    app.Expect(L"アップデート", IDOK);
    const Box warning = app.Expect(L"警告", IDOK);
    EXPECT_EQ(warning.text, L"上書きアップデートは、失敗しました。");
    EXPECT_TRUE(warning.hasIcon);
    EXPECT_EQ(app.WaitExit(), 0u);
    EXPECT_EQ(ReadBytes(setup.installed + L"\\Kelvora_Auth.exe"), "MZ companion");
}

// The installed program held open by another program: the box names it
// before anything is copied, and Cancel ends the update with nothing changed.
TEST(Update, AProgramInUseIsNamedAndCancelChangesNothing) {
    UpdateSetup setup(L"update-inuse-cancel");
    const std::wstring program = setup.installed + L"\\VORN6.exe";
    WriteBytes(program, "MZ old program");
    HeldFile held(program);
    ASSERT_TRUE(held.Ok());
    Installer app(setup.dist);
    app.Expect(L"アップデート", IDOK);
    const HWND main = app.MainWindow();
    const Box inUse = app.Expect(L"アップデート", IDCANCEL);
    EXPECT_EQ(inUse.text, InUseText(program));
    EXPECT_EQ(inUse.buttons, (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_TRUE(inUse.hasIcon);
    EXPECT_EQ(inUse.owner, main);
    EXPECT_EQ(app.WaitExit(), 0u);
    EXPECT_FALSE(app.WaitBox(200).has_value());
    held.Release();

    EXPECT_EQ(ReadBytes(program), "MZ old program");
    EXPECT_EQ(ReadBytes(setup.installed + L"\\common.txt"), "old");
    EXPECT_FALSE(FileExists(setup.installed + L"\\sub\\added.txt"));
    EXPECT_FALSE(FileExists(setup.installed + L"\\Kelvora_Auth.exe"));
    EXPECT_FALSE(FileExists(SpecialFolder(CSIDL_DESKTOPDIRECTORY) + L"\\VORN6.lnk"));
    EXPECT_EQ(setup.dist.SetupLog(),
              Sjis(L"NG : File Not Found : " + setup.dist.ExeDir() + L"\\license.txt\r\n"
                   L"NG : File In Use : " + program + L"\r\n"));
}

// OK while the program is still held asks again; OK after it was released
// updates everything.
TEST(Update, OkAfterTheProgramWasReleasedUpdatesEverything) {
    UpdateSetup setup(L"update-inuse-ok", "No");
    const std::wstring program = setup.installed + L"\\VORN6.exe";
    WriteBytes(program, "MZ old program");
    HeldFile held(program);
    ASSERT_TRUE(held.Ok());
    Installer app(setup.dist);
    app.Expect(L"アップデート", IDOK);
    EXPECT_EQ(app.Expect(L"アップデート", IDOK).text, InUseText(program));
    const auto again = app.WaitBox();
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again->caption, L"アップデート");
    EXPECT_EQ(again->text, InUseText(program)) << "still held: asked again";
    EXPECT_EQ(ReadBytes(setup.installed + L"\\common.txt"), "old") << "nothing copied while asking";
    held.Release();
    app.Answer(*again, IDOK);
    const Box report = app.Expect(L"報告", IDOK);
    EXPECT_EQ(report.text, L"上書きアップデートを行いました。");
    EXPECT_EQ(app.WaitExit(), 0u);

    EXPECT_EQ(ReadBytes(program), "MZ new program");
    EXPECT_EQ(ReadBytes(setup.installed + L"\\common.txt"), "new");
    EXPECT_EQ(ReadBytes(setup.installed + L"\\sub\\added.txt"), "added");
    EXPECT_EQ(ReadBytes(setup.installed + L"\\Kelvora_Auth.exe"), "MZ companion");
    EXPECT_EQ(setup.dist.SetupLog(),
              Sjis(L"NG : File Not Found : " + setup.dist.ExeDir() + L"\\license.txt\r\n"
                   L"OK : Folder Copy : " + setup.dist.ExeDir() + L"VORN6\\ " + setup.installed + L"\r\n"));
}
