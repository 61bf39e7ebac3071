// The page texts written at start-up, the licence text and the ready summary.
#include <array>

#include "WizardFixture.h"

namespace {
using namespace wiztest;
using Lines = std::vector<std::u16string>;

class Texts : public Wizard {};

TEST_F(Texts, StartUpTextsWithTheDefaults) {
    Build();
    EXPECT_EQ(form->Label_01_01.Caption(), u" VORN6 x86版セットアップウィザードの開始");
    EXPECT_EQ(form->Memo01.Lines(),
              (Lines{u"このプログラムはご使用のコンピューターへ VORN6 x86版  をインストールします。", u"",
                     u"続行する前に他のアプリケーションをすべて終了してください。", u"",
                     u"続行するのは「次へ」、セットアップを終了するには「キャンセル」をクリックしてください。"}));
    EXPECT_EQ(form->Label_03_01.Caption(), u" VORN6 x86版のインストール先を指定してください。");
    EXPECT_EQ(form->Label_03_02.Caption(),
              u" VORN6 x86版をインストールするフォルダを指定して、「次へ」をクリックしてください。");
    EXPECT_EQ(form->Edit_03_Folder.Text(), u"C:\\Drosvik\\VORN6");
    EXPECT_EQ(form->Edit_04_StartMenu.Text(), u"Drosvik");
    EXPECT_EQ(form->Label_07_01.Caption(),
              u"ご使用のコンピューターへ  VORN6 x86版 をインストールしています。しばらくお待ちください。");
    EXPECT_EQ(form->Label_08_01.Caption(), u" VORN6 x86版 セットアップウィザードの完了");
    EXPECT_EQ(form->Label_08_02.Caption(),
              u"ご使用のコンピューターへ  VORN6 x86版   がセットアップされました。アプリケーションを実行するには"
              u"インストールされたアイコンを選択してください。");
    EXPECT_EQ(form->CheckBox_08_01.Caption(), u" VORN6 x86版 を実行する。");
    // Fixed texts of the description are untouched.
    EXPECT_EQ(form->Label_07_02.Caption(), u"セットアップ中・・・");
    EXPECT_EQ(form->Label4.Caption(),
              u"以下の使用許諾傾契約書をお読みください。インストールを続行するにはこの契約書に同意する必要があります。");
}

TEST_F(Texts, StartUpTextsWithConfiguredValues) {
    Information(
        u"[Caption]\r\nAppCaption=製品X\r\nVersion=2.0\r\n[Application]\r\nFolderName=D:\\製品\\\r\nStertMenuName=会社\\製品\r\n");
    Build();
    EXPECT_EQ(fp.ui.caption, u" 製品X 2.0 セットアップ");
    EXPECT_EQ(form->Label_01_01.Caption(), u" 製品Xセットアップウィザードの開始");
    EXPECT_EQ(form->Memo01.Lines()[0], u"このプログラムはご使用のコンピューターへ 製品X 2.0 をインストールします。");
    EXPECT_EQ(form->Edit_03_Folder.Text(), u"D:\\製品\\");
    EXPECT_EQ(form->Edit_04_StartMenu.Text(), u"会社\\製品");
    EXPECT_EQ(form->Label_08_02.Caption(),
              u"ご使用のコンピューターへ  製品X 2.0  がセットアップされました。アプリケーションを実行するには"
              u"インストールされたアイコンを選択してください。");
}

TEST_F(Texts, EmptyCaptionKeepsTheLiteralParts) {
    Information(u"[Caption]\r\nAppCaption=\r\n");
    Build();
    EXPECT_EQ(form->Label_01_01.Caption(), u" セットアップウィザードの開始");
    EXPECT_EQ(form->CheckBox_08_01.Caption(), u"  を実行する。");
    EXPECT_EQ(fp.ui.caption, u"   セットアップ");
}

struct LicenceCase {
    const char* name;
    std::string bytes;
    Lines lines;
};

class LicenceText : public Wizard, public ::testing::WithParamInterface<LicenceCase> {};

TEST_P(LicenceText, IsDecodedBeforeItIsShown) {
    fp.fs.AddFile(u"C:\\Dist\\license.txt", GetParam().bytes);
    Build();
    EXPECT_EQ(form->Memo02.Lines(), GetParam().lines);
    EXPECT_EQ(LogLines(), Lines{u"OK : File Found : " + kLicencePath});
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, LicenceText,
    ::testing::Values(LicenceCase{"ShiftJis", Sjis(u"第1条\r\n本契約は"), {u"第1条", u"本契約は"}},
                      LicenceCase{"Utf8Mark", "\xEF\xBB\xBF" + text::ToUtf8(u"第1条\n本契約は\n"), {u"第1条", u"本契約は"}},
                      LicenceCase{"Utf16LittleEndian", std::string("\xFF\xFE\x2C\x7B\x0D\x00\x31\x00", 8), {u"第", u"1"}},
                      LicenceCase{"LoneCr", "a\rb\r\rc", {u"a", u"b", u"", u"c"}},
                      LicenceCase{"Empty", "", {}}),
    [](const ::testing::TestParamInfo<LicenceCase>& info) { return info.param.name; });

Lines Summary(const std::u16string& folder, const std::array<std::u16string, 5>& names, const std::u16string& menu,
              bool desktop, bool quick) {
    Lines lines = {u"インストール先:", u"  " + folder, u"", u"セットアップの種類:", u"  フルインストール", u"",
                   u"ほかのセットアップ:"};
    for (const auto& name : names) lines.push_back(u"  " + name);
    lines.insert(lines.end(), {u"", u"スタートメニューフォルダー:", u"  " + menu, u"", u"追加タスク一覧:"});
    if (desktop) lines.push_back(u"  デスクトップ上にアイコンを作成");
    if (quick) lines.push_back(u"  クイック起動アイコンを作成");
    lines.push_back(u"");
    return lines;
}

TEST_F(Texts, ReadySummaryWithTheDefaults) {
    Start();
    GoTo(5);
    EXPECT_EQ(form->Memo06.Lines(), Summary(u"C:\\Drosvik\\VORN6", {}, u"Drosvik", true, true));
    EXPECT_EQ(form->Memo06.Lines().size(), 20u);
    EXPECT_EQ(form->Label_06_01.Caption(), u"ご使用のコンピューターへ  VORN6 x86版をインストールする準備ができました。");
}

TEST_F(Texts, ReadySummaryWithNamesNoTasksAndAnEmptyFolder) {
    Information(u"[Caption]\r\nSetupOtherName01=ドライバ\r\nSetupOtherName03=ランタイム\r\n"
                u"[Application]\r\nStertMenuName=会社\r\n");
    Start();
    GoTo(2);
    form->Edit_03_Folder.SetText(u"");
    GoTo(4);
    form->CheckBox_05_DesktopIcon.SetChecked(false);
    form->CheckBox_05_QuickIcon.SetChecked(false);
    Next();
    EXPECT_EQ(state.settings.InstallDir, u"");
    EXPECT_EQ(form->Memo06.Lines(), Summary(u"", {u"ドライバ", u"", u"ランタイム", u"", u""}, u"会社", false, false));
    EXPECT_EQ(form->Memo06.Lines()[16], u"追加タスク一覧:");
    EXPECT_EQ(form->Memo06.Lines()[17], u"");
}

TEST_F(Texts, TypedFolderIsTakenUnexpandedOnlyOnTheReadyPage) {
    Start();
    GoTo(2);
    form->Edit_03_Folder.SetText(u" sub\\..\\dir ");
    Next();
    EXPECT_EQ(state.settings.InstallDir, u"C:\\Drosvik\\VORN6");  // not yet
    GoTo(5);
    EXPECT_EQ(state.settings.InstallDir, u" sub\\..\\dir ");
    EXPECT_EQ(form->Memo06.Lines()[1], u"   sub\\..\\dir ");
}

TEST_F(Texts, ReenteringTheReadyPageRebuildsTheSummary) {
    Start();
    GoTo(5);
    form->Memo06.AddLines({u"typed by the user"});
    Back();
    form->CheckBox_05_QuickIcon.SetChecked(false);
    form->ProgressBar_07.SetPosition(5);
    Next();
    EXPECT_EQ(form->Memo06.Lines(), Summary(u"C:\\Drosvik\\VORN6", {}, u"Drosvik", true, false));
    EXPECT_EQ(form->ProgressBar_07.Position(), 0);
}

// A peer for the summary box that records what the window layer is told.
class MemoPeer : public ControlPeer {
public:
    explicit MemoPeer(std::vector<std::string>& events) : events_(events) {}
    void SyncVisible(bool) override {}
    void SyncEnabled(bool) override {}
    void SyncText(const std::u16string& text) override { events_.push_back("text " + text::ToUtf8(text)); }
    std::u16string ReadText() override { return {}; }
    void SyncChecked(bool) override {}
    bool ReadChecked() override { return false; }
    void SyncRange(int, int) override {}
    void SyncPosition(int) override {}
    void Repaint() override {}
    void CaretToTop() override { events_.push_back("caret to top"); }
    void SyncPicture(const std::shared_ptr<Picture>&, int) override {}

private:
    std::vector<std::string>& events_;
};

class SummaryUi : public FakeUi {
public:
    std::vector<std::string> events;
    std::unique_ptr<ControlPeer> CreatePeer(const ControlSpec& row) override {
        if (row.id == ids::Memo06) return std::make_unique<MemoPeer>(events);
        return FakeUi::CreatePeer(row);
    }
};

TEST_F(Texts, SummaryIsShownFromItsFirstLine) {
    SummaryUi ui;
    Platform platform{fp.fs, fp.codec, fp.dialogs, fp.shell, fp.links, fp.pictures, fp.print, ui};
    form = std::make_unique<TfrmKelvoraInstall>(platform, state);
    ASSERT_TRUE(form->ShowFirstTime());
    GoTo(5);
    ASSERT_GE(ui.events.size(), 2u);
    EXPECT_EQ(ui.events.back(), "caret to top");
    EXPECT_EQ(ui.events[ui.events.size() - 2], "text " + text::ToUtf8(form->Memo06.Text()));
    EXPECT_EQ(form->Memo06.Text().substr(0, 12), u"インストール先:\r\n  ");
    form.reset();
}

}  // namespace
