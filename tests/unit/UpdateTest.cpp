// The update mode on fakes: the question, the copy report, the companion
// program and the desktop shortcut, and CloseAllowed at the end.
#include <gtest/gtest.h>

#include "InstallFixture.h"
#include "install/UpdateMode.h"

namespace {

const std::u16string kQuestion = u" VORN6 x86版 1.0 のアップデートを行いますか？";
const AskedBox kAsk{kQuestion, u"アップデート", 0x21};
const AskedBox kDone{u"上書きアップデートを行いました。", u"報告", 0x40};
const AskedBox kFailed{u"上書きアップデートは、失敗しました。", u"警告", 0x10};

// Update mode over C:\Drosvik\VORN6 for version 1.0, from C:\Dist.
InstallerSettings& UpdateOverTheInstalledFolder(InstallFixture& f) {
    InstallerSettings& s = f.settings;
    s.Version = u"1.0";
    s.DeriveTitles();
    s.UpDate = u"Yes";
    s.InstallDir = u"C:\\Drosvik\\VORN6";
    return s;
}

// The message boxes asked, in order, with their texts, captions and flags.
void ExpectBoxes(const std::vector<AskedBox>& asked, const std::vector<AskedBox>& expected, const char* what) {
    ASSERT_EQ(asked.size(), expected.size()) << what;
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(asked[i].text, expected[i].text) << what;
        EXPECT_EQ(asked[i].caption, expected[i].caption) << what;
        EXPECT_EQ(asked[i].flags, expected[i].flags) << what;
    }
}

struct Row {
    const char* what;
    int answer;
    bool productFolder;
    bool companionBeside;
    bool companionInstalled;
    std::u16string upDateShortCut;
    std::vector<AskedBox> boxes;
    Lines lines;
    std::string companionAfter;  // "" = none
};

TEST(Update, EveryPath) {
    const std::u16string copyOk = u"OK : Folder Copy : C:\\Dist\\VORN6\\ C:\\Drosvik\\VORN6";
    const std::u16string copyNg = u"NG : Folder Copy : C:\\Dist\\VORN6\\ C:\\Drosvik\\VORN6";
    const Lines shortcutOk = {u"OK : Short Cut File Save : C:\\Users\\u\\Desktop\\VORN6.lnk",
                              u"OK : ShortCut : C:\\Drosvik\\VORN6\\VORN6.exe VORN6"};
    const Lines shortcutNg = {u"NG : File Not Found : C:\\Drosvik\\VORN6\\VORN6.exe",
                              u"NG : ShortCut : C:\\Drosvik\\VORN6\\VORN6.exe VORN6"};
    const std::vector<Row> rows = {
        {"cancel", mb::IdCancel, true, true, false, u"Yes", {kAsk}, {}, ""},
        {"done, companion added, shortcut", mb::IdOk, true, true, false, u"Yes", {kAsk, kDone},
         {copyOk, shortcutOk[0], shortcutOk[1]}, "new"},
        {"done, companion kept", mb::IdOk, true, true, true, u"", {kAsk, kDone}, {copyOk}, "installed"},
        {"done, no companion beside", mb::IdOk, true, false, false, u"No", {kAsk, kDone}, {copyOk}, ""},
        {"lower-case yes", mb::IdOk, true, true, false, u"yes", {kAsk, kDone}, {copyOk}, "new"},
        {"copy failed, still companion and shortcut", mb::IdOk, false, true, false, u"Yes", {kAsk, kFailed},
         {copyNg, shortcutNg[0], shortcutNg[1]}, "new"},
    };
    for (const Row& row : rows) {
        InstallFixture f;
        InstallerSettings& s = UpdateOverTheInstalledFolder(f);
        s.UpDateShortCut = row.upDateShortCut;
        if (row.productFolder) f.fake.fs.AddFile(u"C:\\Dist\\VORN6\\VORN6.exe", "program");
        if (row.companionBeside) f.fake.fs.AddFile(u"C:\\Dist\\Kelvora_Auth.exe", "new");
        if (row.companionInstalled) f.fake.fs.AddFile(u"C:\\Drosvik\\VORN6\\Kelvora_Auth.exe", "installed");
        f.fake.fs.AddFolder(u"C:\\Drosvik\\VORN6");
        f.fake.dialogs.answers = {row.answer};
        bool closeAllowed = false;

        RunUpdate(f.ctx, closeAllowed);

        EXPECT_TRUE(closeAllowed) << row.what;
        ExpectBoxes(f.fake.dialogs.boxes, row.boxes, row.what);
        EXPECT_EQ(f.Lines(), row.lines) << row.what;
        EXPECT_EQ(f.fake.fs.Bytes(u"C:\\Drosvik\\VORN6\\Kelvora_Auth.exe"), row.companionAfter) << row.what;
        if (row.answer != mb::IdOk) {
            EXPECT_FALSE(f.fake.fs.HasFile(u"C:\\Drosvik\\VORN6\\VORN6.exe")) << row.what;
            EXPECT_TRUE(f.fake.links.written.empty()) << row.what;
        }
    }
}

// A file the update would replace, held by another program: the box before
// any copy, asked again while the file is held; Cancel copies nothing.
TEST(Update, AFileInUseIsAskedAboutBeforeAnythingIsCopied) {
    const std::u16string program = u"C:\\Drosvik\\VORN6\\VORN6.exe";
    const std::u16string table = u"C:\\Drosvik\\VORN6\\data\\table.dat";
    const auto inUse = [](const std::u16string& path) {
        return AskedBox{path + u" は使用中です。\n\nプログラムを終了してから「OK」をクリックしてください。"
                               u"「キャンセル」をクリックするとアップデートを中止します。",
                        u"アップデート", 0x31};
    };
    struct InUseRow {
        const char* what;
        std::vector<std::u16string> held;  // files held by another program
        int releaseAfter;                  // in-use boxes after which they are released (0: never)
        std::vector<int> answers;
        std::vector<AskedBox> boxes;
        Lines lines;
        bool updated;
    };
    const std::u16string copyOk = u"OK : Folder Copy : C:\\Dist\\VORN6\\ C:\\Drosvik\\VORN6";
    const std::vector<InUseRow> rows = {
        {"cancel", {program}, 0, {mb::IdOk, mb::IdCancel}, {kAsk, inUse(program)}, {u"NG : File In Use : " + program},
         false},
        {"ok after the release", {program}, 1, {mb::IdOk, mb::IdOk}, {kAsk, inUse(program), kDone}, {copyOk}, true},
        {"ok while still held asks again", {program}, 0, {mb::IdOk, mb::IdOk, mb::IdCancel},
         {kAsk, inUse(program), inUse(program)}, {u"NG : File In Use : " + program}, false},
        {"a read-only file in a sub-folder", {table}, 0, {mb::IdOk, mb::IdCancel}, {kAsk, inUse(table)},
         {u"NG : File In Use : " + table}, false},
        // The fake lists sub-folders first: the walk meets the table first.
        {"two held, both released", {program, table}, 1, {mb::IdOk, mb::IdOk, mb::IdOk},
         {kAsk, inUse(table), kDone}, {copyOk}, true},
        {"a held file the update does not replace", {u"C:\\Drosvik\\VORN6\\mine.txt"}, 0, {mb::IdOk},
         {kAsk, kDone}, {copyOk}, true},
    };
    for (const InUseRow& row : rows) {
        InstallFixture f;
        UpdateOverTheInstalledFolder(f);
        FakeFileSystem& fs = f.fake.fs;
        fs.AddFile(u"C:\\Dist\\VORN6\\VORN6.exe", "new program");
        fs.AddFile(u"C:\\Dist\\VORN6\\data\\table.dat", "new table");
        fs.AddFile(u"C:\\Dist\\Kelvora_Auth.exe", "companion");
        fs.AddFile(program, "old program");
        fs.AddFile(table, "old table");
        fs.AddFile(u"C:\\Drosvik\\VORN6\\mine.txt", "mine");
        fs.readOnlyFiles.insert(table);
        for (const auto& h : row.held) fs.lockedFiles.insert(h);
        f.fake.dialogs.answers = {row.answers.begin(), row.answers.end()};
        int inUseBoxes = 0;
        f.fake.dialogs.onBox = [&](const AskedBox& box) {
            if (box.flags == 0x31 && ++inUseBoxes == row.releaseAfter) fs.lockedFiles.clear();
        };
        bool closeAllowed = false;

        RunUpdate(f.ctx, closeAllowed);

        EXPECT_TRUE(closeAllowed) << row.what;
        ExpectBoxes(f.fake.dialogs.boxes, row.boxes, row.what);
        EXPECT_EQ(f.Lines(), row.lines) << row.what;
        EXPECT_EQ(fs.Bytes(program), row.updated ? "new program" : "old program") << row.what;
        EXPECT_EQ(fs.Bytes(table), row.updated ? "new table" : "old table") << row.what;
        EXPECT_EQ(fs.HasFile(u"C:\\Drosvik\\VORN6\\Kelvora_Auth.exe"), row.updated) << row.what;
        if (!row.updated) EXPECT_TRUE(fs.IsReadOnly(table)) << row.what << ": the question changed no attribute";
        EXPECT_EQ(f.CallsOf(u"CopyOneFile") > 0, row.updated) << row.what;
    }
}

}  // namespace
