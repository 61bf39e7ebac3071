// A product folder larger than the drive it goes to. Each file is written
// under a temporary name and moved into place only when complete, so the disk
// running full leaves no file under a product file's name whose size differs
// from its source: a program cut off at 0 bytes would make the next start
// believe the product installed.
//
// Needs a small drive: scripts/checks/wine/full-disk mounts a 2 MiB file
// system, links it as a drive and names it in KELVORA_SMALL_DRIVE (e.g. "T:").
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Driver.h"

using namespace e2e;

TEST(FullDisk, AnUpdateLargerThanItsDriveLeavesNoCutOffFile) {
    const std::wstring drive = Environment(L"KELVORA_SMALL_DRIVE");
    if (drive.empty()) GTEST_SKIP() << "no small drive (KELVORA_SMALL_DRIVE)";
    const std::wstring installed = drive + L"\\VORN6";
    RemoveTree(installed);
    MakeFolders(installed);
    WriteBytes(installed + L"\\VORN6.exe", "MZ previous program");

    Dist dist(L"full-disk");
    // 3.3 MiB of product for a drive of 2 MiB.
    dist.Write(L"VORN6\\a-small.txt", "small");
    dist.Write(L"VORN6\\b-large.bin", std::string(1 << 20, 'b'));
    dist.Write(L"VORN6\\c-large.bin", std::string(1 << 20, 'c'));
    dist.Write(L"VORN6\\VORN6.exe", "MZ" + std::string(1300000, 'p'));
    dist.UpdateInformation(installed, "No");

    Installer app(dist);
    app.Expect(L"アップデート", IDOK);
    const Box warning = app.Expect(L"警告", IDOK, 30000);
    EXPECT_EQ(warning.text, L"上書きアップデートは、失敗しました。");
    EXPECT_EQ(app.WaitExit(), 0u);

    // Every file under a product file's name is either the complete copy or
    // the previous file; nothing else is left.
    int copied = 0;
    for (const Entry& entry : Entries(installed)) {
        const std::wstring& name = entry.name;
        const std::string now = ReadBytes(installed + L"\\" + name);
        const std::wstring source = dist.dir + L"\\VORN6\\" + name;
        ASSERT_TRUE(FileExists(source)) << "a file that is no product file: " << Ascii(name);
        if (name == L"VORN6.exe" && now == "MZ previous program") continue;
        EXPECT_EQ(now.size(), ReadBytes(source).size()) << Ascii(name);
        EXPECT_TRUE(now == ReadBytes(source)) << Ascii(name);
        ++copied;
    }
    EXPECT_GE(copied, 1) << "what fits is copied";
    const std::string log = dist.SetupLog();
    EXPECT_NE(log.find(Sjis(L"NG : Folder Copy : " + dist.ExeDir() + L"VORN6\\ " + installed + L"\r\n")),
              std::string::npos)
        << log;
    RemoveTree(installed);
}
