// The update mode as a person sees it: one question, the copy over the
// installed folder, the report, the companion program and the desktop shortcut.
#include <shlobj.h>

#include <gtest/gtest.h>

#include "Driver.h"

using namespace e2e;

namespace {
std::wstring DesktopFolder() {
    wchar_t path[MAX_PATH] = L"";
    SHGetSpecialFolderPathW(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE);
    return path;
}

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
        std::string folder;
        for (wchar_t c : installed) folder.push_back(static_cast<char>(c));  // the path is ASCII
        dist.Information("[Application]\r\nUpDate=Yes\r\nFolderName=" + folder + "\r\nUpDateShortCut=" + shortcutValue +
                         "\r\n");
        DeleteFileW((DesktopFolder() + L"\\VORN6.lnk").c_str());
    }
    Dist dist;
    std::wstring installed;
};
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
    const std::wstring link = DesktopFolder() + L"\\VORN6.lnk";
    EXPECT_TRUE(FileExists(link));

    const std::wstring exeDir = setup.dist.ExeDir();
    EXPECT_EQ(ReadBytes(setup.dist.work + L"\\Setuplog.txt"),
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
    EXPECT_FALSE(FileExists(DesktopFolder() + L"\\VORN6.lnk"));
}

TEST(Update, CancelAtTheQuestionChangesNothing) {
    UpdateSetup setup(L"update-cancel");
    Installer app(setup.dist);
    app.Expect(L"アップデート", IDCANCEL);
    EXPECT_EQ(app.WaitExit(), 0u);
    EXPECT_EQ(ReadBytes(setup.installed + L"\\common.txt"), "old");
    EXPECT_FALSE(FileExists(setup.installed + L"\\sub\\added.txt"));
    EXPECT_FALSE(FileExists(setup.installed + L"\\Kelvora_Auth.exe"));
    EXPECT_FALSE(FileExists(DesktopFolder() + L"\\VORN6.lnk"));
    EXPECT_EQ(ReadBytes(setup.dist.work + L"\\Setuplog.txt"),
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
