// The checker's plan against the real installer: for three sample folders the
// setup-log lines the plan predicts equal, line for line, the Setuplog.txt the
// installer writes when it is run there and driven to the end.
#include <shlobj.h>

#include <gtest/gtest.h>

#include "Checker.h"
#include "Driver.h"
#include "platform/win32/Win32Codec.h"
#include "platform/win32/Win32FileSystem.h"
#include "wizard/ControlIds.h"

using namespace e2e;

namespace {

std::u16string U16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }

// The plan of the checker, run in-process on the installer's own Win32 layer,
// as the bytes of the setup log it predicts.
std::string PredictedLog(const Dist& dist, check::Report* out = nullptr) {
    Win32FileSystem fs;
    Win32Codec codec;
    check::Options options;
    options.exeDir = U16(dist.ExeDir());
    options.workingFolder = U16(dist.work);
    options.desktopFolder = U16(SpecialFolder(CSIDL_DESKTOPDIRECTORY));
    options.programsFolder = U16(SpecialFolder(CSIDL_PROGRAMS));
    options.symbolicFolders = false;
    check::Report report = check::CheckDistribution(fs, codec, options);
    std::wstring text;
    for (const std::u16string& line : report.LogLines()) text += Wide(line) + L"\r\n";
    if (out) *out = std::move(report);
    return Sjis(text);
}

}  // namespace

TEST(CheckerE2e, WizardInstallationWithFurtherSetupsPictureAndShortcuts) {
    Dist dist(L"checker-install");
    const std::wstring installed = dist.root + L"\\installed";
    dist.Information("[Caption]\r\nImage01=side.png\r\nSetupOtherName01=Runtime\r\nSetupOtherName02=Missing\r\n"
                     "[Application]\r\nFolderName=" + Ascii(installed) +
                     "\r\nStertMenuName=KelvoraCheckE2e\r\nShortCutName=CheckE2e\r\n"
                     "SetupOtherApp01=further_setup.exe\r\nSetupOtherApp02=missing.exe\r\n");
    dist.Write(L"license.txt", "\xEF\xBB\xBF" "Licence\r\n");
    dist.Write(L"side.png", ReadBytes(SourceDir() + L"\\tests\\fixtures\\side.png"));
    dist.AddFixture(L"further_setup", L"further_setup.exe");
    dist.Write(L"further_setup.exe.wait", "100");
    dist.AddFixture(L"product_app", L"VORN6\\VORN6.exe");
    dist.Write(L"VORN6\\Kelvora.ico", ReadBytes(SourceDir() + L"\\tests\\fixtures\\side.png"));
    dist.AddFixture(L"companion_app", L"VORN6\\Kelvora_Auth.exe");
    dist.Write(L"VORN6\\data\\readme.txt", "data");
    const std::wstring desktopLink = SpecialFolder(CSIDL_DESKTOPDIRECTORY) + L"\\CheckE2e.lnk";
    const std::wstring menu = SpecialFolder(CSIDL_PROGRAMS) + L"\\KelvoraCheckE2e";
    DeleteFileW(desktopLink.c_str());
    RemoveTree(menu);

    check::Report report;
    const std::string predicted = PredictedLog(dist, &report);
    EXPECT_EQ(report.ExitCode(), 1) << "only the missing further setup is a warning";
    // licence, picture, data folder, copy, two further setups and the missing one, two shortcuts of two lines
    EXPECT_EQ(report.LogLines().size(), 11u);

    Installer app(dist);
    app.Expect(L"セットアップ確認");
    ASSERT_TRUE(app.WaitVisible());
    app.AgreeToLicence();
    for (int page = 0; page < 3; ++page) app.Click(ids::Button_Next);  // start menu, tasks, ready
    ASSERT_TRUE(app.Visible(ids::TabSheet06));
    app.ClickAsync(ids::Button_Next);  // インストール
    app.Expect(L"Runtime のセットアップ", IDOK, 20000);
    app.Expect(L"Missing のセットアップ", IDOK, 20000);
    for (int i = 0; i < 300 && !app.Visible(ids::TabSheet08); ++i) Sleep(100);
    ASSERT_TRUE(app.Visible(ids::TabSheet08));
    if (app.Checked(ids::CheckBox_08_01)) app.Click(ids::CheckBox_08_01);  // do not start the companion
    app.ClickAsync(ids::Button_Next);  // 完了
    EXPECT_EQ(app.WaitExit(), 0u);

    EXPECT_EQ(ReadBytes(dist.work + L"\\Setuplog.txt"), predicted);
    DeleteFileW(desktopLink.c_str());
    RemoveTree(menu);
}

TEST(CheckerE2e, UpdateWithDesktopShortcut) {
    Dist dist(L"checker-update");
    const std::wstring installed = dist.root + L"\\installed";
    MakeFolders(installed);
    WriteBytes(installed + L"\\old.txt", "old");
    dist.Information("[Application]\r\nUpDate=Yes\r\nUpDateShortCut=Yes\r\nShortCutName=CheckE2eUpdate\r\nFolderName=" +
                     Ascii(installed) + "\r\n");
    dist.Write(L"VORN6\\VORN6.exe", "MZ new program");
    dist.Write(L"VORN6\\Kelvora.ico", "icon");
    dist.Write(L"Kelvora_Auth.exe", "MZ companion");
    const std::wstring desktopLink = SpecialFolder(CSIDL_DESKTOPDIRECTORY) + L"\\CheckE2eUpdate.lnk";
    DeleteFileW(desktopLink.c_str());

    check::Report report;
    const std::string predicted = PredictedLog(dist, &report);
    EXPECT_EQ(report.ExitCode(), 1) << "no licence";
    EXPECT_EQ(report.LogLines().size(), 4u);
    Installer app(dist);
    app.Expect(L"アップデート", IDOK);
    app.Expect(L"報告", IDOK);
    EXPECT_EQ(app.WaitExit(), 0u);
    EXPECT_EQ(ReadBytes(dist.work + L"\\Setuplog.txt"), predicted);
    DeleteFileW(desktopLink.c_str());
}

TEST(CheckerE2e, UpdateWithoutProductFolderFailsAsPredicted) {
    Dist dist(L"checker-update-missing");
    const std::wstring installed = dist.root + L"\\installed";
    MakeFolders(installed);
    dist.Information("[Application]\r\nUpDate=Yes\r\nUpDateShortCut=Yes\r\nShortCutName=CheckE2eMissing\r\nFolderName=" +
                     Ascii(installed) + "\r\n");
    dist.Write(L"license.txt", "Licence\r\n");

    check::Report report;
    const std::string predicted = PredictedLog(dist, &report);
    EXPECT_EQ(report.ExitCode(), 2);
    EXPECT_EQ(report.LogLines().size(), 4u);  // licence, NG copy, the shortcut's two NG lines
    Installer app(dist);
    app.Expect(L"アップデート", IDOK);
    app.Expect(L"警告", IDOK);
    EXPECT_EQ(app.WaitExit(), 0u);
    EXPECT_EQ(ReadBytes(dist.work + L"\\Setuplog.txt"), predicted);
}
