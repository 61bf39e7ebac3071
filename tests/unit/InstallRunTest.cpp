// The installation run on fakes: the setup log for each path through it, the
// message boxes in order, the progress bar and the finish timer.
#include <gtest/gtest.h>

#include <algorithm>

#include "InstallFixture.h"
#include "install/InstallationRun.h"
#include "wizard/Controls.h"
#include "wizard/InstallRunControls.h"

namespace {

const ControlSpec kDesktopSpec{ControlKind::CheckBox, 1, 0, 0, 0, 10, 10, u"", 0, Art::None, "desktop"};
const ControlSpec kQuickSpec{ControlKind::CheckBox, 2, 0, 0, 0, 10, 10, u"", 0, Art::None, "quick"};
const ControlSpec kBarSpec{ControlKind::ProgressBar, 3, 0, 0, 0, 10, 10, u"", 0, Art::None, "bar"};

const std::u16string kData = u"OK : Folder Crate : C:\\Vorn\\Data";
const std::u16string kCopy = u"OK : Folder Copy : C:\\Dist\\VORN6\\ C:\\Drosvik\\VORN6";
const std::u16string kTarget = u"C:\\Drosvik\\VORN6\\VORN6.exe";
const std::u16string kMenu = u"C:\\Users\\u\\Start Menu\\Programs\\Drosvik";
const Lines kDesktopLines = {u"OK : Short Cut File Save : C:\\Users\\u\\Desktop\\VORN6.lnk",
                             u"OK : ShortCut : " + kTarget + u" VORN6"};
const Lines kMenuLines = {u"OK : Short Cut File Save : " + kMenu + u"\\VORN6.lnk",
                          u"OK : ShortCut : " + kMenu + u" " + kTarget};

// One installing page: the additional-tasks boxes, the bar and the finish timer.
struct RunBench {
    InstallFixture f;
    CheckBox desktop{kDesktopSpec};
    CheckBox quick{kQuickSpec};
    ProgressBar bar{kBarSpec};
    Timer finish{2, 1000};
    InstallRunControls view{desktop, quick, bar, finish};

    RunBench() {
        f.fake.fs.AddFile(u"C:\\Dist\\VORN6\\VORN6.exe", "program");
        f.fake.fs.AddFile(u"C:\\Dist\\VORN6\\Kelvora.ico", "icon");
        f.fake.fs.AddFolder(u"C:\\Users\\u\\Start Menu\\Programs");
        f.fake.fs.AddFolder(u"C:\\Users\\u\\Desktop");
        bar.SetPosition(0);
    }
    void Tick(bool withDesktop, bool withQuick) {
        desktop.SetChecked(withDesktop);
        quick.SetChecked(withQuick);
        RunInstallation(f.ctx, view);
    }
    static Lines Join(std::initializer_list<Lines> parts) {
        Lines out;
        for (const Lines& p : parts) out.insert(out.end(), p.begin(), p.end());
        return out;
    }
};

struct InstallRun : ::testing::Test, RunBench {};

TEST_F(InstallRun, LogForEachChoiceOfShortcuts) {
    struct Row {
        bool desktop, quick;
        Lines lines;
    };
    const std::vector<Row> rows = {
        {true, true, Join({{kData, kCopy}, kDesktopLines, kMenuLines})},
        {false, false, {kData, kCopy}},
        {false, true, Join({{kData, kCopy}, kMenuLines})},
        {true, false, Join({{kData, kCopy}, kDesktopLines})},
    };
    for (const Row& row : rows) {
        RunBench t;
        t.Tick(row.desktop, row.quick);
        EXPECT_EQ(t.f.Lines(), row.lines) << row.desktop << row.quick;
        EXPECT_EQ(t.f.fake.fs.HasFolder(kMenu), row.quick);
        EXPECT_TRUE(t.f.fake.fs.HasFolder(u"C:\\Vorn\\Data"));
        EXPECT_EQ(t.f.fake.fs.Bytes(kTarget), "program");
        EXPECT_EQ(t.bar.Max(), 9);
        EXPECT_EQ(t.bar.Position(), 8);
        EXPECT_EQ(t.bar.Repaints(), 8);
        EXPECT_TRUE(t.finish.Enabled());
        EXPECT_TRUE(t.f.fake.dialogs.boxes.empty());
        for (const LinkRequest& r : t.f.fake.links.written) {
            EXPECT_EQ(r.target, kTarget);
            EXPECT_EQ(r.icon, std::optional<std::u16string>(u"C:\\Drosvik\\VORN6\\Kelvora.ico"));
        }
    }
}

TEST_F(InstallRun, FurtherSetupsInSlotOrder) {
    InstallerSettings& s = f.settings;
    s.SetupOtherApp = {u"first.exe", u"", u"missing.exe", u"", u"fifth.exe"};
    s.SetupOtherName = {u"First", u"Unused", u"", u"", u"Fifth"};
    f.fake.fs.AddFile(u"C:\\Dist\\first.exe");
    f.fake.fs.AddFile(u"C:\\Dist\\fifth.exe");
    f.fake.shell.messagesDuringWait = 2;
    struct Seen {
        int position;
        size_t started;
        size_t lines;
    };
    std::vector<Seen> seen;
    f.fake.dialogs.onBox = [&](const AskedBox&) {
        seen.push_back({bar.Position(), f.fake.shell.started.size(), f.log.Lines().size()});
    };
    Tick(false, false);

    EXPECT_EQ(f.Lines(), (Lines{kData, kCopy, u"Other App : first.exe", u"Other App : missing.exe",
                                u"NG : File Not Found : C:\\Dist\\\\missing.exe", u"Other App : fifth.exe"}));
    const auto& boxes = f.fake.dialogs.boxes;
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].caption, u"First のセットアップ");
    EXPECT_EQ(boxes[0].text, u"First のセットアップを行います。指示に従い、セットアップを完了してください。");
    EXPECT_EQ(boxes[1].caption, u" のセットアップ");
    EXPECT_EQ(boxes[1].text, u" のセットアップを行います。指示に従い、セットアップを完了してください。");
    EXPECT_EQ(boxes[2].caption, u"Fifth のセットアップ");
    for (const AskedBox& b : boxes) EXPECT_EQ(b.flags, 0u);
    // Each box follows its "Other App" line, and the program before it has ended.
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].position, 1);
    EXPECT_EQ(seen[1].position, 3);
    EXPECT_EQ(seen[2].position, 5);
    EXPECT_EQ(seen[0].started, 0u);
    EXPECT_EQ(seen[1].started, 1u);
    EXPECT_EQ(seen[2].started, 1u);
    EXPECT_EQ(seen[0].lines, 3u);
    EXPECT_EQ(seen[2].lines, 6u);
    ASSERT_EQ(f.fake.shell.started.size(), 2u);
    EXPECT_EQ(f.fake.shell.started[1].file, u"C:\\Dist\\\\fifth.exe");
    EXPECT_EQ(f.fake.ui.dispatches, 4) << "both waits hand on their messages";
    EXPECT_EQ(bar.Position(), 8);
    EXPECT_EQ(bar.Repaints(), 8);
    EXPECT_TRUE(finish.Enabled());
}

TEST_F(InstallRun, CopyFailureStopsTheRun) {
    f.fake.fs.Remove(u"C:\\Dist\\VORN6\\VORN6.exe");
    f.fake.fs.Remove(u"C:\\Dist\\VORN6\\Kelvora.ico");
    f.fake.fs.Remove(u"C:\\Dist\\VORN6");
    f.settings.SetupOtherApp[0] = u"first.exe";
    f.fake.fs.AddFile(u"C:\\Dist\\first.exe");
    Tick(true, true);
    EXPECT_EQ(f.Lines(), (Lines{kData, u"NG : Folder Copy : C:\\Dist\\VORN6\\ C:\\Drosvik\\VORN6"}));
    ASSERT_EQ(f.fake.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.fake.dialogs.boxes[0].caption, u"注意");
    EXPECT_EQ(f.fake.dialogs.boxes[0].text, u"フォルダーコピーに失敗しました : C:\\Drosvik\\VORN6");
    EXPECT_EQ(f.fake.dialogs.boxes[0].flags, 0u);
    EXPECT_EQ(bar.Max(), 9);
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_EQ(bar.Repaints(), 0);
    EXPECT_FALSE(finish.Enabled());
    EXPECT_TRUE(f.fake.shell.started.empty());
    EXPECT_TRUE(f.fake.links.written.empty());
    EXPECT_TRUE(f.fake.fs.HasFolder(u"C:\\Vorn\\Data"));
    EXPECT_TRUE(f.fake.fs.HasFolder(u"C:\\Drosvik\\VORN6")) << "what the copy created stays";
}

TEST_F(InstallRun, AFileLeftUncopiedIsACopyFailure) {
    f.fake.fs.AddFile(u"C:\\Drosvik\\VORN6\\Kelvora.ico", "old");
    f.fake.fs.lockedFiles.insert(u"C:\\Drosvik\\VORN6\\Kelvora.ico");  // held by another program
    Tick(true, true);
    EXPECT_EQ(f.Lines(), (Lines{kData, u"NG : File Copy : C:\\Dist\\VORN6\\Kelvora.ico C:\\Drosvik\\VORN6\\Kelvora.ico",
                                u"NG : Folder Copy : C:\\Dist\\VORN6\\ C:\\Drosvik\\VORN6"}));
    ASSERT_EQ(f.fake.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.fake.dialogs.boxes[0].caption, u"注意");
    EXPECT_FALSE(finish.Enabled());
}

TEST_F(InstallRun, MissingProgramAndMissingShellFolders) {
    f.settings.ShortCutApp = u"Other.exe";
    f.fake.shell.folders.clear();
    Tick(true, true);
    const std::u16string target = u"C:\\Drosvik\\VORN6\\Other.exe";
    EXPECT_EQ(f.Lines(), (Lines{kData, kCopy, u"NG : ShortCut : " + target + u" VORN6",
                                u"NG : ShortCut : \\Drosvik " + target}));
    EXPECT_TRUE(f.fake.links.written.empty());
    // Vorn, Vorn\Data, Drosvik and Drosvik\VORN6 only: "\Drosvik" would land on the current drive.
    EXPECT_EQ(f.CallsOf(u"CreateOneFolder"), 4);
    EXPECT_EQ(std::count(f.fake.fs.Calls.begin(), f.fake.fs.Calls.end(), u"CreateOneFolder \\Drosvik"), 0);
    EXPECT_EQ(f.fake.shell.specialFolderBuffers, (std::vector<unsigned>{2048, 260}));
    EXPECT_TRUE(finish.Enabled());

    RunBench t;
    t.f.settings.ShortCutApp = u"Other.exe";
    t.Tick(true, true);
    EXPECT_EQ(t.f.Lines(), (Lines{kData, kCopy, u"NG : File Not Found : " + target,
                                  u"NG : ShortCut : " + target + u" VORN6", u"NG : File Not Found : " + target,
                                  u"NG : ShortCut : " + kMenu + u" " + target}));
    EXPECT_EQ(t.f.fake.shell.debugOutput, (std::vector<std::u16string>{u"27", u"27"}));
    EXPECT_TRUE(t.finish.Enabled());
}

}  // namespace
