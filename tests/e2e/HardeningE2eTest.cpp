// DLL planting as an attacker tries it: libraries named like every library the
// installer loads are put beside it and into its working folder, and the
// installer is run through start-up, the side picture, the licence print and
// the close. Nothing planted may be mapped: every module must be the same
// image (name and size) a clean run maps, and a planted marker DLL must leave
// no marker. Wine names a built-in library after the file it found first, so
// paths alone prove nothing there; sizes do. The planted file is the
// marker-writing DLL that scripts/checks/wine/planted-dlls builds
// (KELVORA_PLANTED_DLL, a Windows path) or, without it, a copy of a sample
// program, whose size gives it away just as well if it is ever mapped.
#include <windows.h>
#include <tlhelp32.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Driver.h"
#include "wizard/ControlIds.h"

using namespace e2e;

namespace {
const wchar_t* kNotice = L"セットアップ確認";
const wchar_t* kAbandon = L"セットアップ中止確認";
const wchar_t* kPrintDialog = L"印刷";

std::wstring Lower(std::wstring s) {
    for (wchar_t& c : s) c = static_cast<wchar_t>(towlower(c));
    return s;
}

std::wstring NameOf(const std::wstring& path) { return path.substr(path.rfind(L'\\') + 1); }

bool Under(const std::wstring& path, const std::wstring& folder) {
    const std::wstring p = Lower(path), f = Lower(folder) + L"\\";
    return p.compare(0, f.size(), f) == 0;
}

std::wstring WindowsFolder() {
    wchar_t path[MAX_PATH] = L"";
    GetWindowsDirectoryW(path, MAX_PATH);
    return path;
}

struct Module {
    std::wstring path;
    DWORD size;
};

// The modules mapped into a process: full path and image size.
std::vector<Module> Modules(DWORD pid) {
    std::vector<Module> paths;
    HANDLE snap = INVALID_HANDLE_VALUE;
    for (int i = 0; i < 50 && snap == INVALID_HANDLE_VALUE; ++i) {
        snap = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
        if (snap == INVALID_HANDLE_VALUE) Sleep(20);  // may fail while the process loads a module
    }
    if (snap == INVALID_HANDLE_VALUE) return paths;
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Module32FirstW(snap, &entry); ok; ok = Module32NextW(snap, &entry)) {
        paths.push_back({entry.szExePath, entry.modBaseSize});
    }
    CloseHandle(snap);
    return paths;
}

std::wstring DefaultPrinter() {
    wchar_t name[256] = L"";
    DWORD size = 256;
    return GetDefaultPrinterW(name, &size) ? name : L"";
}

// A distribution folder with a side picture and a licence, for a run that
// loads what start-up, the picture decoder and the printer need.
void Prepare(const Dist& dist) {
    dist.Information("[Caption]\r\nImage01=side.png\r\n");
    dist.Write(L"side.png", ReadBytes(SourceDir() + L"\\tests\\fixtures\\side.png"));
    dist.Write(L"license.txt", "\xEF\xBB\xBF" "第1条 使用許諾\r\nline two\r\n");
}

struct RunResult {
    std::set<std::wstring> modules;                     // full paths seen at any step
    std::set<std::pair<std::wstring, DWORD>> images;    // lower-case name and size
    DWORD exitCode = STILL_ACTIVE;
    std::string log;
};

// Start-up with its notice, the licence page, one print through the print
// dialog, then the close confirmed. The modules are read at every step.
RunResult RunThroughPrint(const Dist& dist) {
    RunResult result;
    Installer app(dist);
    auto snapshot = [&] {
        for (const Module& m : Modules(app.Pid())) {
            result.modules.insert(m.path);
            result.images.insert({Lower(NameOf(m.path)), m.size});
        }
    };
    const auto notice = app.WaitBox();
    if (!notice) return result;
    snapshot();
    EXPECT_EQ(notice->caption, kNotice);
    app.Answer(*notice, IDOK);
    EXPECT_TRUE(app.WaitVisible());
    app.Click(ids::Button_Next);
    EXPECT_TRUE(app.Visible(ids::Button_Print));
    app.ClickAsync(ids::Button_Print);
    const auto dialog = app.WaitBox();
    EXPECT_TRUE(dialog.has_value());
    if (dialog) {
        snapshot();
        EXPECT_EQ(dialog->caption, kPrintDialog);
        app.Answer(*dialog, IDOK);
    }
    // The print runs inside the click's handler; a message that is answered
    // only by the message loop tells when it returned.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(app.MainWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored);
    snapshot();
    app.PostClose();
    const auto abandon = app.WaitBox();
    EXPECT_TRUE(abandon.has_value());
    if (abandon) {
        snapshot();
        EXPECT_EQ(abandon->caption, kAbandon);
        app.Answer(*abandon, IDOK);
    }
    result.exitCode = app.WaitExit();
    result.log = dist.SetupLog();
    return result;
}

std::string ExpectedLog(const Dist& dist, const std::wstring& printer) {
    return Sjis(L"OK : File Found : " + dist.ExeDir() + L"\\license.txt\r\n" + L"OK : Load Image File : " +
                dist.ExeDir() + L"side.png\r\n" + L"OK : Print : " + printer + L" license.txt\r\n");
}

// Libraries a process like this one may look for beyond those it shows
// loaded: the ones the system loads for pictures, themes, printing and
// dialogs, and the run-time libraries of a build that is not fully static.
const wchar_t* const kUsualTargets[] = {
    L"winspool.drv",  L"windowscodecs.dll", L"uxtheme.dll",   L"comctl32.dll",  L"version.dll",
    L"dwmapi.dll",    L"cryptbase.dll",     L"propsys.dll",   L"profapi.dll",   L"msimg32.dll",
    L"oleacc.dll",    L"wtsapi32.dll",      L"userenv.dll",   L"sspicli.dll",   L"winmm.dll",
    L"mpr.dll",       L"netapi32.dll",      L"dbghelp.dll",   L"compstui.dll",  L"wineps.drv",
    L"libgcc_s_dw2-1.dll", L"libstdc++-6.dll", L"libwinpthread-1.dll", L"mscms.dll", L"shcore.dll",
};

class Hardening : public ::testing::Test {
protected:
    void SetUp() override {
        printer_ = DefaultPrinter();
        if (printer_.empty()) GTEST_FAIL() << "no default printer: run scripts/setup-printer";
    }
    std::wstring printer_;
};

}  // namespace

TEST_F(Hardening, EveryModuleComesFromTheWindowsFolder) {
    Dist dist(L"harden-clean");
    Prepare(dist);
    const RunResult run = RunThroughPrint(dist);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.log, ExpectedLog(dist, printer_));
    const std::wstring exe = Lower(dist.dir + L"\\KelvoraInstall.exe");
    // The picture decoder and the printer's library were really loaded, so the
    // run covers the libraries that are not imported.
    std::set<std::wstring> names;
    for (const std::wstring& m : run.modules) names.insert(Lower(NameOf(m)));
    EXPECT_TRUE(names.count(L"windowscodecs.dll"));
    EXPECT_TRUE(names.count(L"winspool.drv"));
    for (const std::wstring& m : run.modules) {
        if (Lower(m) == exe) continue;
        EXPECT_TRUE(Under(m, WindowsFolder())) << "module from outside the Windows folder: " << testing::PrintToString(m);
    }
}

TEST_F(Hardening, PlantedLibrariesBesideTheInstallerAndInItsWorkingFolderAreNeverLoaded) {
    // The names to plant: whatever a clean run loads, and the usual targets.
    Dist clean(L"harden-names");
    Prepare(clean);
    const RunResult cleanRun = RunThroughPrint(clean);
    ASSERT_EQ(cleanRun.exitCode, 0u);
    std::set<std::wstring> names;
    for (const auto& image : cleanRun.images) names.insert(image.first);
    for (const wchar_t* n : kUsualTargets) names.insert(n);
    names.erase(L"kelvorainstall.exe");
    ASSERT_GT(names.size(), std::size(kUsualTargets));

    const std::wstring planted = Environment(L"KELVORA_PLANTED_DLL");
    const std::wstring source = !planted.empty() ? planted : FixtureDir() + L"\\product_app.exe";
    ASSERT_TRUE(FileExists(source)) << testing::PrintToString(source);

    Dist dist(L"harden-planted");
    Prepare(dist);
    for (const std::wstring& name : names) {
        for (const std::wstring& folder : {dist.dir, dist.work}) {
            ASSERT_TRUE(CopyFileW(source.c_str(), (folder + L"\\" + name).c_str(), FALSE)) << testing::PrintToString(name);
        }
    }
    const RunResult run = RunThroughPrint(dist);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.log, ExpectedLog(dist, printer_));
    // Each image of a planted name is one the clean run mapped too: a planted
    // file has a size of its own.
    for (const auto& image : run.images) {
        if (!names.count(image.first)) continue;
        EXPECT_TRUE(cleanRun.images.count(image)) << "not in the clean run: " << testing::PrintToString(image.first)
                                                  << " of " << image.second << " bytes";
    }
    // Every planted library that was loaded would have left a marker beside itself.
    for (const std::wstring& name : names) {
        for (const std::wstring& folder : {dist.dir, dist.work}) {
            EXPECT_FALSE(FileExists(folder + L"\\" + name + L".loaded")) << "loaded: " << testing::PrintToString(folder + L"\\" + name);
        }
    }
}
