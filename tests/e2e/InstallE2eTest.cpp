// A whole installation as a person does it, from the welcome page to "完了",
// and a run whose product folder is missing. Each test gets its own desktop
// and start-menu folders (through the user shell folders) and a clean C:\Vorn.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "Driver.h"
#include "wizard/ControlIds.h"

using namespace e2e;

namespace {

const wchar_t* kNotice = L"セットアップ確認";
const wchar_t* kShellFolders = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const wchar_t* kShellFoldersCache = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Points the user's Desktop and Programs folders elsewhere for the scope and
// puts the previous values back afterwards.
class ShellFolderRedirect {
public:
    ShellFolderRedirect(const std::wstring& desktop, const std::wstring& programs) {
        MakeFolders(desktop);
        MakeFolders(programs);
        for (const wchar_t* key : {kShellFolders, kShellFoldersCache}) {
            for (const auto& [name, value] : {std::pair{L"Desktop", desktop}, std::pair{L"Programs", programs}}) {
                saved_.push_back(Read(key, name));
                Write(key, name, value, key == kShellFolders ? REG_EXPAND_SZ : REG_SZ);
            }
        }
    }
    ~ShellFolderRedirect() {
        for (const Saved& s : saved_) {
            if (s.present) Write(s.key, s.name, s.value, s.type);
            else RegDeleteKeyValueW(HKEY_CURRENT_USER, s.key, s.name);
        }
    }

private:
    struct Saved {
        const wchar_t* key;
        const wchar_t* name;
        bool present;
        DWORD type;
        std::wstring value;
    };
    static Saved Read(const wchar_t* key, const wchar_t* name) {
        Saved s{key, name, false, REG_SZ, {}};
        wchar_t buf[1024] = {};
        DWORD size = sizeof buf;
        if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &s.type,
                         buf, &size) == ERROR_SUCCESS) {
            s.present = true;
            s.value = buf;
        }
        return s;
    }
    static void Write(const wchar_t* key, const wchar_t* name, const std::wstring& value, DWORD type) {
        RegSetKeyValueW(HKEY_CURRENT_USER, key, name, type, value.c_str(),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    std::vector<Saved> saved_;
};

// Every file and folder below `root` as relative path and bytes, sorted.
std::vector<std::pair<std::wstring, std::string>> Files(const std::wstring& root) {
    std::vector<std::pair<std::wstring, std::string>> out;
    for (const Found& f : Walk(root)) out.emplace_back(f.path, f.bytes);
    return out;
}

// A distribution folder with a product folder (program, companion, icon,
// a hidden file, an empty folder and a nested file), a licence and two
// further setups: one a program that runs for two seconds, one missing.
struct InstallSetup {
    explicit InstallSetup(const std::wstring& name)
        : dist(name), desktop(dist.root + L"\\Desktop"), programs(dist.root + L"\\Programs"),
          redirect(desktop, programs) {
        installDir = dist.root + L"\\Installed\\VORN6";
        RemoveTree(L"C:\\Vorn");
        dist.Write(L"license.txt", "\xEF\xBB\xBF" "第1条 使用許諾\r\n");
        dist.AddFixture(L"product_app", L"VORN6\\VORN6.exe");
        dist.AddFixture(L"companion_app", L"VORN6\\Kelvora_Auth.exe");
        dist.Write(L"VORN6\\Kelvora.ico", "icon bytes");
        dist.Write(L"VORN6\\data\\deep\\table.dat", "table");
        dist.Write(L"VORN6\\.settings", "hidden");
        SetFileAttributesW((dist.dir + L"\\VORN6\\.settings").c_str(), FILE_ATTRIBUTE_HIDDEN);
        MakeFolders(dist.dir + L"\\VORN6\\empty");
        dist.AddFixture(L"further_setup", L"further_setup.exe");
        dist.Write(L"further_setup.exe.wait", "2000");
        dist.Information("[Caption]\r\nSetupOtherName01=補助ツール\r\nSetupOtherName02=Missing\r\n"
                         "[Application]\r\nFolderName=" + Ascii(installDir) +
                         "\r\nStertMenuName=KelvoraE2E\r\nSetupOtherApp01=further_setup.exe\r\n"
                         "SetupOtherApp02=missing_setup.exe\r\n");
    }
    // From the welcome page to the installing page with both task boxes as given.
    void WalkToInstall(Installer& app) {
        app.Expect(kNotice);
        ASSERT_TRUE(app.WaitVisible());
        app.AgreeToLicence();
        EXPECT_EQ(app.Text(ids::Edit_03_Folder), installDir);
        app.Click(ids::Button_Next);
        app.Click(ids::Button_Next);
        EXPECT_TRUE(app.Checked(ids::CheckBox_05_DesktopIcon));
        EXPECT_TRUE(app.Checked(ids::CheckBox_05_QuickIcon));
        app.Click(ids::Button_Next);
        EXPECT_TRUE(app.Visible(ids::Memo06));
        app.Click(ids::Button_Next);
        EXPECT_TRUE(app.Visible(ids::ProgressBar_07));
    }
    Dist dist;
    std::wstring desktop, programs, installDir;
    ShellFolderRedirect redirect;
};

// The next box, which must carry `caption`; checked for an icon, then answered.
Box ExpectNoIcon(Installer& app, const std::wstring& caption) {
    const auto box = app.WaitBox(20000);
    if (!box) throw std::runtime_error("no message box appeared");
    EXPECT_EQ(box->caption, caption);
    EXPECT_FALSE(box->hasIcon) << "flags 0: no icon";
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    return *box;
}


}  // namespace

TEST(Install, WholeRunWithBothShortcutsAndTheCompanionStarted) {
    InstallSetup setup(L"install-full");
    const std::wstring exeDir = setup.dist.ExeDir();
    const std::wstring setupRecord = setup.dist.dir + L"\\further_setup.exe.ran.txt";
    Installer app(setup.dist);
    setup.WalkToInstall(app);

    const Box first = ExpectNoIcon(app, L"補助ツール のセットアップ");
    EXPECT_EQ(first.text, L"補助ツール のセットアップを行います。指示に従い、セットアップを完了してください。");
    EXPECT_FALSE(FileExists(setupRecord)) << "the program starts when the box is closed";
    app.Answer(first, IDOK);
    const Box second = ExpectNoIcon(app, L"Missing のセットアップ");
    // The first program had ended before the second box came.
    EXPECT_NE(ReadBytes(setupRecord).find("state=ended"), std::string::npos);
    app.Answer(second, IDOK);

    ASSERT_TRUE(WaitFor([&] { return app.Visible(ids::TabSheet08); }, 15000)) << "the finished page";
    EXPECT_EQ(ReadBytes(setupRecord).find("setup\r\nargs=\r\ncwd=" + Ascii(setup.dist.dir) + "\r\n"), 0u)
        << ReadBytes(setupRecord);

    // The product tree, copied exactly.
    EXPECT_EQ(Files(setup.installDir), Files(setup.dist.dir + L"\\VORN6"));
    EXPECT_TRUE(FolderExists(L"C:\\Vorn\\Data"));

    const std::wstring target = setup.installDir + L"\\VORN6.exe";
    const std::wstring menu = setup.programs + L"\\KelvoraE2E";
    for (const std::wstring& file : {setup.desktop + L"\\VORN6.lnk", menu + L"\\VORN6.lnk"}) {
        const Link link = ReadLink(file);
        ASSERT_TRUE(link.loaded) << Ascii(file);
        EXPECT_EQ(link.target, target);
        EXPECT_EQ(link.workingFolder, setup.installDir + L"\\");
        EXPECT_EQ(link.icon, setup.installDir + L"\\Kelvora.ico");
    }

    // "完了" with the run box ticked: the companion starts in the install folder,
    // and the window closes without a question.
    app.Click(ids::CheckBox_08_01);
    EXPECT_TRUE(app.Checked(ids::CheckBox_08_01));
    app.ClickAsync(ids::Button_Next);
    EXPECT_EQ(app.WaitExit(), 0u);
    EXPECT_FALSE(app.WaitBox(200).has_value());
    const std::wstring companionRecord = setup.installDir + L"\\Kelvora_Auth.exe.ran.txt";
    ASSERT_TRUE(WaitFor([&] { return FileExists(companionRecord); }, 10000));
    EXPECT_EQ(ReadBytes(companionRecord), "companion\r\nargs=\r\ncwd=" + Ascii(setup.installDir) + "\r\n");

    EXPECT_EQ(setup.dist.SetupLog(),
              Sjis(L"OK : File Found : " + exeDir + L"\\license.txt\r\n"
                   L"OK : Folder Crate : C:\\Vorn\\Data\r\n"
                   L"OK : Folder Copy : " + exeDir + L"VORN6\\ " + setup.installDir + L"\r\n"
                   L"Other App : further_setup.exe\r\n"
                   L"Other App : missing_setup.exe\r\n"
                   L"NG : File Not Found : " + exeDir + L"\\missing_setup.exe\r\n"
                   L"OK : Short Cut File Save : " + setup.desktop + L"\\VORN6.lnk\r\n"
                   L"OK : ShortCut : " + target + L" VORN6\r\n"
                   L"OK : Short Cut File Save : " + menu + L"\\VORN6.lnk\r\n"
                   L"OK : ShortCut : " + menu + L" " + target + L"\r\n"));
}

TEST(Install, MissingProductFolderStopsOnTheInstallingPage) {
    InstallSetup setup(L"install-nocopy");
    RemoveTree(setup.dist.dir + L"\\VORN6");
    Installer app(setup.dist);
    setup.WalkToInstall(app);

    const Box warning = ExpectNoIcon(app, L"注意");
    EXPECT_EQ(warning.text, L"フォルダーコピーに失敗しました : " + setup.installDir);
    app.Answer(warning, IDOK);
    // No further setup box, no finished page: only Cancel is left.
    EXPECT_FALSE(app.WaitBox(2500).has_value());
    EXPECT_TRUE(app.Visible(ids::TabSheet07));
    EXPECT_FALSE(app.Visible(ids::TabSheet08));
    EXPECT_TRUE(app.Visible(ids::Button_Cansel));
    EXPECT_FALSE(app.Visible(ids::Button_Next));
    EXPECT_FALSE(app.Visible(ids::Button_Prev));
    EXPECT_FALSE(FileExists(setup.desktop + L"\\VORN6.lnk"));
    EXPECT_FALSE(FolderExists(setup.programs + L"\\KelvoraE2E"));

    app.ClickAsync(ids::Button_Cansel);
    const auto abandon = app.WaitBox();
    ASSERT_TRUE(abandon.has_value());
    EXPECT_EQ(abandon->caption, L"セットアップ中止確認");
    EXPECT_TRUE(abandon->hasIcon) << "the question icon is seen where there is one";
    app.Answer(*abandon, IDOK);
    EXPECT_EQ(app.WaitExit(), 0u);
    const std::wstring exeDir = setup.dist.ExeDir();
    EXPECT_EQ(setup.dist.SetupLog(),
              Sjis(L"OK : File Found : " + exeDir + L"\\license.txt\r\n"
                   L"OK : Folder Crate : C:\\Vorn\\Data\r\n"
                   L"NG : Folder Copy : " + exeDir + L"VORN6\\ " + setup.installDir + L"\r\n"));
}

TEST(Install, ACloseConfirmedDuringAFurtherSetupTakesEffectOnlyAfterTheRun) {
    // Two further setups of two seconds each; Cancel and OK in the abandon
    // question while the first one runs. The window stays on the installing
    // page, the second notice waits for its answer, both setups run, and then
    // the program ends with every line of the run in its log.
    InstallSetup setup(L"install-close-in-wait");
    const std::wstring exeDir = setup.dist.ExeDir();
    setup.dist.AddFixture(L"further_setup", L"second_setup.exe");
    setup.dist.Write(L"second_setup.exe.wait", "2000");
    setup.dist.Information("[Caption]\r\nSetupOtherName01=One\r\nSetupOtherName02=Two\r\n"
                           "[Application]\r\nFolderName=" + Ascii(setup.installDir) +
                           "\r\nStertMenuName=KelvoraE2E\r\nSetupOtherApp01=further_setup.exe\r\n"
                           "SetupOtherApp02=second_setup.exe\r\n");
    const std::wstring firstRecord = setup.dist.dir + L"\\further_setup.exe.ran.txt";
    const std::wstring secondRecord = setup.dist.dir + L"\\second_setup.exe.ran.txt";
    Installer app(setup.dist);
    setup.WalkToInstall(app);

    app.Answer(ExpectNoIcon(app, L"One のセットアップ"), IDOK);
    ASSERT_TRUE(WaitFor([&] { return ReadBytes(firstRecord).find("state=running") != std::string::npos; }, 10000));
    app.ClickAsync(ids::Button_Cansel);
    app.Expect(L"セットアップ中止確認", IDOK);
    EXPECT_EQ(ReadBytes(firstRecord).find("state=ended"), std::string::npos) << "the close came during the wait";
    EXPECT_TRUE(IsWindowVisible(app.MainWindow())) << "the window stays while the run goes on";
    EXPECT_TRUE(app.Visible(ids::ProgressBar_07));

    // The second notice comes after the first setup ended, and stays until answered.
    const auto second = app.WaitBox(20000);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->caption, L"Two のセットアップ");
    EXPECT_NE(ReadBytes(firstRecord).find("state=ended"), std::string::npos);
    Sleep(1000);
    EXPECT_TRUE(IsWindow(second->hwnd) && IsWindowVisible(second->hwnd)) << "the notice closed by itself";
    EXPECT_FALSE(FileExists(secondRecord)) << "the second setup starts only when its notice is answered";
    EXPECT_TRUE(app.Running());
    app.Answer(*second, IDOK);

    EXPECT_EQ(app.WaitExit(20000), 0u);
    EXPECT_NE(ReadBytes(secondRecord).find("state=ended"), std::string::npos) << "the second setup ran to its end";
    const std::wstring target = setup.installDir + L"\\VORN6.exe";
    const std::wstring menu = setup.programs + L"\\KelvoraE2E";
    EXPECT_EQ(setup.dist.SetupLog(),
              Sjis(L"OK : File Found : " + exeDir + L"\\license.txt\r\n"
                   L"OK : Folder Crate : C:\\Vorn\\Data\r\n"
                   L"OK : Folder Copy : " + exeDir + L"VORN6\\ " + setup.installDir + L"\r\n"
                   L"Other App : further_setup.exe\r\n"
                   L"Other App : second_setup.exe\r\n"
                   L"OK : Short Cut File Save : " + setup.desktop + L"\\VORN6.lnk\r\n"
                   L"OK : ShortCut : " + target + L" VORN6\r\n"
                   L"OK : Short Cut File Save : " + menu + L"\\VORN6.lnk\r\n"
                   L"OK : ShortCut : " + menu + L" " + target + L"\r\n"));
}

namespace {
int CountFiles(const std::wstring& folder) {
    const std::vector<Entry> entries = Entries(folder);
    return static_cast<int>(std::count_if(entries.begin(), entries.end(), [](const Entry& e) {
        return !(e.attributes & FILE_ATTRIBUTE_DIRECTORY);
    }));
}
}  // namespace

TEST(Install, TheWindowAnswersDuringALongCopyAndACloseWaitsForTheRun) {
    // Enough files for a copy of some seconds. While it runs, the window must
    // answer the system's probe within 1 s every time, and a close sent by
    // another program must not run until the run has returned.
    InstallSetup setup(L"install-long-copy");
    constexpr int kFiles = 6000;
    for (int i = 0; i < kFiles; ++i) setup.dist.Write(L"VORN6\\bulk\\f" + std::to_wstring(i) + L".dat", "bulk");
    setup.dist.Information("[Application]\r\nFolderName=" + Ascii(setup.installDir) + "\r\nStertMenuName=KelvoraE2E\r\n");
    Installer app(setup.dist);
    setup.WalkToInstall(app);
    const HWND main = app.MainWindow();
    const std::wstring bulk = setup.installDir + L"\\bulk";
    ASSERT_TRUE(WaitFor([&] { return CountFiles(bulk) > 0; }, 20000)) << "the copy did not start";

    int probes = 0;
    while (CountFiles(bulk) < kFiles / 2) {
        DWORD_PTR result = 0;
        EXPECT_NE(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result), 0u) << "probe " << probes;
        EXPECT_FALSE(IsHungAppWindow(main));
        ++probes;
        Sleep(100);
    }
    EXPECT_GE(probes, 2) << "the copy was too short to probe";
    // A close sent by another program in the middle of the copy returns at once
    // and is handled once the run is over: its question comes after the last file.
    DWORD_PTR result = 0;
    EXPECT_NE(SendMessageTimeoutW(main, WM_CLOSE, 0, 0, SMTO_NORMAL, 1000, &result), 0u);
    EXPECT_LT(CountFiles(bulk), kFiles) << "the close came during the copy";
    app.Expect(L"セットアップ中止確認", IDCANCEL, 60000);
    EXPECT_EQ(CountFiles(bulk), kFiles) << "the close ran before the copy had ended";

    ASSERT_TRUE(WaitFor([&] { return app.Visible(ids::TabSheet08); }, 15000)) << "the finished page";
    app.ClickAsync(ids::Button_Next);
    EXPECT_EQ(app.WaitExit(), 0u);
    const std::wstring exeDir = setup.dist.ExeDir();
    const std::wstring target = setup.installDir + L"\\VORN6.exe";
    const std::wstring menu = setup.programs + L"\\KelvoraE2E";
    EXPECT_EQ(setup.dist.SetupLog(),
              Sjis(L"OK : File Found : " + exeDir + L"\\license.txt\r\n"
                   L"OK : Folder Crate : C:\\Vorn\\Data\r\n"
                   L"OK : Folder Copy : " + exeDir + L"VORN6\\ " + setup.installDir + L"\r\n"
                   L"OK : Short Cut File Save : " + setup.desktop + L"\\VORN6.lnk\r\n"
                   L"OK : ShortCut : " + target + L" VORN6\r\n"
                   L"OK : Short Cut File Save : " + menu + L"\\VORN6.lnk\r\n"
                   L"OK : ShortCut : " + menu + L" " + target + L"\r\n"));
}
