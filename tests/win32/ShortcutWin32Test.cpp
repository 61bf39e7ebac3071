// Shortcuts written through the real link object under Wine and read back
// through IPersistFile::Load.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "FileOperationsPlatform.h"
#include "install/Shortcuts.h"

namespace {

struct ReadBack {
    bool loaded = false;
    std::u16string target, workingFolder, icon;
    int iconIndex = -1;
};

// The link read back, in the portable string type.
ReadBack Load(const std::u16string& file) {
    const wtest::Link link = wtest::ReadLink(wtest::Wide(file));
    return {link.loaded, U(link.target), U(link.workingFolder), U(link.icon), link.iconIndex};
}

struct ShortcutWin32 : ::testing::Test {
    std::u16string root, install, target, menu;
    inst::RealEngine e;
    void SetUp() override {
        root = inst::Scratch(u"links");
        install = root + u"\\VORN6";
        target = install + u"\\VORN6.exe";
        menu = root + u"\\Menu";
        CreateDirectoryW(W(install), nullptr);
        CreateDirectoryW(W(menu), nullptr);
        wtest::WriteBytes(target, "program");
        wtest::WriteBytes(install + u"\\Kelvora.ico", "icon");
        e.settings.InstallDir = install;
    }
};

TEST_F(ShortcutWin32, ReadBackTable) {
    struct Row {
        const char* what;
        std::u16string folder, iconName, linkName, file;
        bool icon;
    };
    const std::vector<Row> rows = {
        {"named, with icon", menu, u"Kelvora.ico", u"VORN6", menu + u"\\VORN6.lnk", true},
        {"named, icon missing", menu, u"none.ico", u"NoIcon", menu + u"\\NoIcon.lnk", false},
        {"named, empty icon name", menu, u"", u"Bare", menu + u"\\Bare.lnk", false},
        {"named, folder with separator", menu + u"\\", u"Kelvora.ico", u"Sep", menu + u"\\\\Sep.lnk", true},
        {"unnamed", menu, u"Kelvora.ico", u"", menu + u"\\VORN6.exe - Shortcut.lnk", true},
        {"Japanese name", menu, u"Kelvora.ico", u"ヴォルン", menu + u"\\ヴォルン.lnk", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const size_t before = e.Lines().size();
        EXPECT_TRUE(CreateShortcut(e.ctx, target, row.folder, row.iconName, row.linkName));
        ASSERT_EQ(e.Lines().size(), before + 1);
        EXPECT_EQ(e.Lines().back(), u"OK : Short Cut File Save : " + row.file);
        const ReadBack r = Load(row.file);
        ASSERT_TRUE(r.loaded);
        EXPECT_EQ(r.target, target);
        EXPECT_EQ(r.workingFolder, install + u"\\");
        if (row.icon) {
            EXPECT_EQ(r.icon, install + u"\\Kelvora.ico");
            EXPECT_EQ(r.iconIndex, 0);
        } else {
            EXPECT_EQ(r.icon, u"");
        }
    }
}

TEST_F(ShortcutWin32, OverwriteAndMissingFolder) {
    const std::u16string other = install + u"\\Other.exe";
    wtest::WriteBytes(other, "other");
    ASSERT_TRUE(CreateShortcut(e.ctx, target, menu, u"Kelvora.ico", u"VORN6"));
    ASSERT_TRUE(CreateShortcut(e.ctx, other, menu, u"none.ico", u"VORN6"));
    const ReadBack r = Load(menu + u"\\VORN6.lnk");
    EXPECT_EQ(r.target, other) << "the second save replaced the first";
    EXPECT_EQ(r.icon, u"");

    EXPECT_FALSE(CreateShortcut(e.ctx, target, root + u"\\NoSuch", u"Kelvora.ico", u"VORN6"));
    EXPECT_FALSE(wtest::FolderExists(root + u"\\NoSuch"));
    EXPECT_FALSE(CreateShortcut(e.ctx, root + u"\\gone.exe", menu, u"Kelvora.ico", u"Gone"));
    EXPECT_FALSE(wtest::FileExists(menu + u"\\Gone.lnk"));
    EXPECT_EQ(e.Lines(), (std::vector<std::u16string>{
                             u"OK : Short Cut File Save : " + menu + u"\\VORN6.lnk",
                             u"OK : Short Cut File Save : " + menu + u"\\VORN6.lnk",
                             u"NG : Short Cut File Save : " + root + u"\\NoSuch\\VORN6.lnk",
                             u"NG : File Not Found : " + root + u"\\gone.exe",
                         }));
}

TEST_F(ShortcutWin32, DesktopShortcutLandsOnTheDesktop) {
    wchar_t desktop[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE));
    const std::u16string file = U(desktop) + u"\\KelvoraInstTest.lnk";
    DeleteFileW(W(file));
    CreateDesktopShortcut(e.ctx, target, u"KelvoraInstTest", u"Kelvora.ico");
    EXPECT_EQ(e.Lines(), (std::vector<std::u16string>{u"OK : Short Cut File Save : " + file,
                                                      u"OK : ShortCut : " + target + u" KelvoraInstTest"}));
    EXPECT_EQ(Load(file).target, target);
    DeleteFileW(W(file));
}

}  // namespace
