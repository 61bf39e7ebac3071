// Installing from discs: every file of a disc is read-only, and the copies
// carry that attribute. An installation from the first disc must take the
// update from a second, newer disc, and a reinstallation from the first disc
// must succeed again.
//
// Wine lets root write read-only files, so this runs only where the system
// refuses the write: scripts/checks/wine/disc-media runs it as an unprivileged
// user with a prefix of its own, with each disc on a drive letter of its own
// (KELVORA_DISC_DRIVES="R:,S:", drives of type cdrom linked to the two
// distribution folders).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "Driver.h"
#include "wizard/ControlIds.h"

using namespace e2e;

namespace {

// Every file below `folder` made read-only, as files on a disc are.
void MakeReadOnly(const std::wstring& folder) {
    for (const Found& f : Walk(folder)) {
        if (!f.folder()) SetFileAttributesW((folder + f.path).c_str(), f.attributes | FILE_ATTRIBUTE_READONLY);
    }
}

// Every file below `root`: relative path, bytes and read-only attribute, sorted.
struct FileState {
    std::wstring path;
    std::string bytes;
    bool readOnly;
    bool operator==(const FileState&) const = default;
    bool operator<(const FileState& o) const { return path < o.path; }
};
std::vector<FileState> Files(const std::wstring& root) {
    std::vector<FileState> out;
    for (const Found& f : Walk(root)) {
        if (!f.folder()) out.push_back({f.path, f.bytes, (f.attributes & FILE_ATTRIBUTE_READONLY) != 0});
    }
    return out;
}
void PrintTo(const FileState& f, std::ostream* os) {
    *os << Ascii(f.path) << (f.readOnly ? " (read-only) " : " ") << f.bytes;
}

// The drive letters the check script linked to the two discs, if any.
std::vector<std::wstring> DiscDrives() {
    std::vector<std::wstring> drives;
    const std::wstring all = Environment(L"KELVORA_DISC_DRIVES");
    for (size_t start = 0; start < all.size();) {
        size_t comma = all.find(L',', start);
        if (comma == std::wstring::npos) comma = all.size();
        drives.push_back(all.substr(start, comma - start));
        start = comma + 1;
    }
    return drives;
}

// From the start-up notice through the wizard with no shortcuts, to the finished page and out.
void InstallThroughTheWizard(Installer& app, const std::wstring& installDir, bool alreadyInstalled) {
    app.Expect(L"セットアップ確認", IDOK);
    if (alreadyInstalled) app.Expect(L"セットアップ確認", IDOK);  // the overwrite warning
    ASSERT_TRUE(app.WaitVisible());
    app.AgreeToLicence();
    EXPECT_EQ(app.Text(ids::Edit_03_Folder), installDir);
    app.Click(ids::Button_Next);
    app.Click(ids::Button_Next);
    app.Click(ids::CheckBox_05_DesktopIcon);
    app.Click(ids::CheckBox_05_QuickIcon);
    app.Click(ids::Button_Next);
    app.Click(ids::Button_Next);
    ASSERT_TRUE(WaitFor([&] { return app.Visible(ids::TabSheet08); }, 30000))
        << "the finished page (no 注意 box: the copy succeeded)";
    app.ClickAsync(ids::Button_Next);
    EXPECT_EQ(app.WaitExit(), 0u);
}

}  // namespace

TEST(Disc, InstalledFromADiscTakesTheUpdateAndTheReinstallation) {
    Dist first(L"disc-first");
    Dist second(L"disc-second");
    if (!SystemRefusesWritingReadOnlyFiles(first.root)) GTEST_SKIP() << "this user may write read-only files";
    const std::wstring installDir = first.root + L"\\Installed\\VORN6";
    RemoveTree(first.root + L"\\Installed");

    first.Information("[Application]\r\nFolderName=" + Ascii(installDir) + "\r\nStertMenuName=KelvoraDisc\r\n");
    first.Write(L"license.txt", "\xEF\xBB\xBF" "第1条 使用許諾\r\n");
    first.Write(L"VORN6\\VORN6.exe", "MZ program 1.0");
    first.Write(L"VORN6\\Kelvora.ico", "icon 1.0");
    first.Write(L"VORN6\\data\\table.dat", "table 1.0");
    second.UpdateInformation(installDir, "No");
    second.Write(L"VORN6\\VORN6.exe", "MZ program 1.1");
    second.Write(L"VORN6\\Kelvora.ico", "icon 1.1");
    second.Write(L"VORN6\\data\\table.dat", "table 1.1");
    second.Write(L"VORN6\\data\\added.dat", "added in 1.1");
    second.Write(L"Kelvora_Auth.exe", "MZ companion");
    MakeReadOnly(first.dir);
    MakeReadOnly(second.dir);
    const std::vector<FileState> firstFiles = Files(first.dir + L"\\VORN6");
    const std::vector<FileState> secondFiles = Files(second.dir + L"\\VORN6");
    ASSERT_EQ(firstFiles.size(), 3u);
    ASSERT_TRUE(std::all_of(firstFiles.begin(), firstFiles.end(), [](const FileState& f) { return f.readOnly; }));

    // Run each disc from its own drive when the check script gave them one.
    const std::vector<std::wstring> drives = DiscDrives();
    if (drives.size() == 2) {
        for (const std::wstring& drive : drives) {
            EXPECT_EQ(GetDriveTypeW((drive + L"\\").c_str()), static_cast<UINT>(DRIVE_CDROM)) << Ascii(drive);
        }
        first.dir = drives[0];
        second.dir = drives[1];
        ASSERT_TRUE(FileExists(first.dir + L"\\KelvoraInstall.exe")) << "drive " << Ascii(first.dir) << " not linked";
        ASSERT_TRUE(FileExists(second.dir + L"\\VORN6\\data\\added.dat")) << "drive " << Ascii(second.dir);
    }

    {
        Installer app(first);
        InstallThroughTheWizard(app, installDir, false);
    }
    EXPECT_EQ(Files(installDir), firstFiles) << "the copies carry the disc's attribute";

    {
        Installer app(second);
        app.Expect(L"アップデート", IDOK);
        const Box report = app.Expect(L"報告", IDOK, 30000);
        EXPECT_EQ(report.text, L"上書きアップデートを行いました。");
        EXPECT_EQ(app.WaitExit(), 0u);
    }
    std::vector<FileState> updated = secondFiles;
    updated.push_back({L"\\Kelvora_Auth.exe", "MZ companion", true});
    std::sort(updated.begin(), updated.end());
    EXPECT_EQ(Files(installDir), updated) << "every file at the new version";
    EXPECT_EQ(second.SetupLog(),
              Sjis(L"NG : File Not Found : " + second.dir + L"\\\\license.txt\r\n" + L"OK : Folder Copy : " +
                   second.dir + L"\\VORN6\\ " + installDir + L"\r\n"));

    {
        Installer app(first);
        InstallThroughTheWizard(app, installDir, true);
    }
    std::vector<FileState> reinstalled = firstFiles;
    reinstalled.push_back({L"\\Kelvora_Auth.exe", "MZ companion", true});
    reinstalled.push_back({L"\\data\\added.dat", "added in 1.1", true});  // nothing is deleted
    std::sort(reinstalled.begin(), reinstalled.end());
    EXPECT_EQ(Files(installDir), reinstalled);
    const std::string log = first.SetupLog();
    EXPECT_NE(log.find(Sjis(L"OK : Folder Copy : " + first.dir + L"\\VORN6\\ " + installDir + L"\r\n")),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("NG : "), std::string::npos) << log;

    for (const FileState& f : Files(first.root + L"\\Installed")) {
        SetFileAttributesW((first.root + L"\\Installed" + f.path).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}
