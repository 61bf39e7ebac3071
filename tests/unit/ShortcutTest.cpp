// Shortcut creation on fakes: what is handed to the link object, the file
// name forms, the judging of Save and the setup-log lines.
#include <gtest/gtest.h>

#include "InstallFixture.h"
#include "install/Shortcuts.h"
#include "platform/Text.h"

namespace {

const std::u16string kTarget = u"C:\\Drosvik\\VORN6\\VORN6.exe";

struct ShortcutTest : ::testing::Test {
    InstallFixture f;
    void SetUp() override {
        f.fake.fs.AddFile(kTarget, "exe");
        f.fake.fs.AddFile(u"C:\\Drosvik\\VORN6\\Kelvora.ico", "ico");
        f.fake.fs.AddFolder(u"C:\\Menu");
    }
};

TEST_F(ShortcutTest, FileNameForms) {
    struct Row {
        std::u16string folder, linkName, file;
    };
    const std::vector<Row> rows = {
        {u"C:\\Menu", u"VORN6", u"C:\\Menu\\VORN6.lnk"},
        {u"C:\\Menu\\", u"VORN6", u"C:\\Menu\\\\VORN6.lnk"},         // the separator is always added
        {u"Menu", u"VORN6", u"C:\\Work\\Menu\\VORN6.lnk"},            // the folder made absolute
        {u"C:\\Menu", u"", u"C:\\Menu\\VORN6.exe - Shortcut.lnk"},
        {u"C:\\Menu\\", u"", u"C:\\Menu\\VORN6.exe - Shortcut.lnk"},  // no separator doubled
        {u"Menu", u"", u"Menu\\VORN6.exe - Shortcut.lnk"},            // the folder as passed
    };
    Lines expected;
    for (const Row& row : rows) {
        EXPECT_TRUE(CreateShortcut(f.ctx, kTarget, row.folder, u"Kelvora.ico", row.linkName));
        ASSERT_FALSE(f.fake.links.written.empty());
        EXPECT_EQ(f.fake.links.written.back().file, row.file) << text::ToUtf8(row.folder);
        expected.push_back(u"OK : Short Cut File Save : " + row.file);
    }
    EXPECT_EQ(f.Lines(), expected);
    EXPECT_TRUE(f.fake.shell.debugOutput.empty());
}

TEST_F(ShortcutTest, PropertiesHandedToTheLinkObject) {
    EXPECT_TRUE(CreateShortcut(f.ctx, kTarget, u"C:\\Menu", u"Kelvora.ico", u"VORN6"));
    EXPECT_TRUE(CreateShortcut(f.ctx, kTarget, u"C:\\Menu", u"NoSuch.ico", u"VORN6"));
    EXPECT_TRUE(CreateShortcut(f.ctx, kTarget, u"C:\\Menu", u"", u"VORN6"));  // the icon path is a folder
    ASSERT_EQ(f.fake.links.written.size(), 3u);
    for (const LinkRequest& r : f.fake.links.written) {
        EXPECT_EQ(r.target, kTarget);
        EXPECT_EQ(r.workingFolder, u"C:\\Drosvik\\VORN6\\");
    }
    EXPECT_EQ(f.fake.links.written[0].icon, std::optional<std::u16string>(u"C:\\Drosvik\\VORN6\\Kelvora.ico"));
    EXPECT_FALSE(f.fake.links.written[1].icon.has_value());
    EXPECT_FALSE(f.fake.links.written[2].icon.has_value());
}

TEST_F(ShortcutTest, OutcomesAndTheirLines) {
    struct Row {
        const char* what;
        std::u16string target;
        LinkOutcome outcome;
        bool result;
        bool written;
        std::vector<std::u16string> debug;
        std::u16string line;
    };
    const std::u16string file = u"C:\\Menu\\VORN6.lnk";
    const std::vector<Row> rows = {
        {"saved", kTarget, {LinkOutcome::Stage::Saved, 0}, true, true, {}, u"OK : Short Cut File Save : " + file},
        {"S_FALSE", kTarget, {LinkOutcome::Stage::Saved, 1}, false, true, {u"52"}, u"NG : Short Cut File Save : " + file},
        {"path not found", kTarget, {LinkOutcome::Stage::Saved, static_cast<int32_t>(0x80070003)}, false, true, {u"52"},
         u"NG : Short Cut File Save : " + file},
        {"no link object", kTarget, {LinkOutcome::Stage::NoLinkObject, 0}, false, true, {},
         u"NG : Short Cut File Save : " + file},
        {"no IPersistFile", kTarget, {LinkOutcome::Stage::NoPersistFile, 0}, false, true, {},
         u"NG : Short Cut File Save : " + file},
        {"missing target", u"C:\\Drosvik\\VORN6\\gone.exe", {}, false, false, {u"27"},
         u"NG : File Not Found : C:\\Drosvik\\VORN6\\gone.exe"},
        {"a folder as target", u"C:\\Drosvik\\VORN6", {}, false, false, {u"27"},
         u"NG : File Not Found : C:\\Drosvik\\VORN6"},
    };
    for (const Row& row : rows) {
        InstallFixture g;
        g.fake.fs = f.fake.fs;
        g.fake.links.next = row.outcome;
        EXPECT_EQ(CreateShortcut(g.ctx, row.target, u"C:\\Menu", u"Kelvora.ico", u"VORN6"), row.result) << row.what;
        EXPECT_EQ(g.fake.links.written.size(), row.written ? 1u : 0u) << row.what;
        EXPECT_EQ(g.fake.shell.debugOutput, row.debug) << row.what;
        EXPECT_EQ(g.Lines(), Lines{row.line}) << row.what;
    }
}

TEST_F(ShortcutTest, DesktopShortcut) {
    CreateDesktopShortcut(f.ctx, kTarget, u"VORN6", u"Kelvora.ico");
    f.fake.links.next.saveResult = static_cast<int32_t>(0x80070005);
    CreateDesktopShortcut(f.ctx, kTarget, u"VORN6", u"Kelvora.ico");
    CreateDesktopShortcut(f.ctx, u"C:\\gone.exe", u"VORN6", u"Kelvora.ico");
    EXPECT_EQ(f.Lines(), (Lines{
                             u"OK : Short Cut File Save : C:\\Users\\u\\Desktop\\VORN6.lnk",
                             u"OK : ShortCut : C:\\Drosvik\\VORN6\\VORN6.exe VORN6",
                             u"NG : Short Cut File Save : C:\\Users\\u\\Desktop\\VORN6.lnk",
                             u"NG : ShortCut : C:\\Drosvik\\VORN6\\VORN6.exe VORN6",
                             u"NG : File Not Found : C:\\gone.exe",
                             u"NG : ShortCut : C:\\gone.exe VORN6",
                         }));
    EXPECT_EQ(f.fake.shell.specialFolderBuffers, (std::vector<unsigned>{2048, 2048, 2048}));
}

TEST_F(ShortcutTest, NoDesktopFolderWritesNothingElsewhere) {
    f.fake.shell.folders.erase(0x0010);
    CreateDesktopShortcut(f.ctx, kTarget, u"VORN6", u"Kelvora.ico");
    EXPECT_TRUE(f.fake.links.written.empty());
    EXPECT_EQ(f.Lines(), Lines{u"NG : ShortCut : C:\\Drosvik\\VORN6\\VORN6.exe VORN6"});
}

}  // namespace
