// A person's walk through the wizard: welcome to the ready page and back, the
// licence gate, the summary, Reset, and the abandon confirmation answered both ways.
#include <gtest/gtest.h>

#include "Driver.h"
#include "wizard/ControlIds.h"

using namespace e2e;

TEST(Wizard, WalkToTheReadyPageAndBackThenAbandon) {
    Dist dist(L"wizard-walk");
    dist.Information("[Caption]\r\nVersion=2.1\r\nSetupOtherName02=追加ツール\r\n[Application]\r\nFolderName=C:\\kelvora-e2e\\wizard-walk\\app\\..\\target\r\n");
    Installer app(dist);
    app.Expect(L"セットアップ確認");
    ASSERT_TRUE(app.WaitVisible());
    EXPECT_EQ(app.Caption(), L" VORN6 x86版 2.1 セットアップ");
    EXPECT_FALSE(app.Visible(ids::Button_Prev));

    // The licence page: Next waits for "同意する".
    app.Click(ids::Button_Next);
    ASSERT_TRUE(app.Visible(ids::TabSheet02));
    EXPECT_TRUE(app.Visible(ids::Button_Print));
    EXPECT_FALSE(app.Enabled(ids::Button_Next));
    app.Click(ids::Button_Next);
    EXPECT_TRUE(app.Visible(ids::TabSheet02)) << "a disabled Next does nothing";
    app.Click(ids::RadioButton_02_Yes);
    EXPECT_TRUE(app.Enabled(ids::Button_Next));
    app.Click(ids::RadioButton_02_No);
    EXPECT_FALSE(app.Enabled(ids::Button_Next));
    app.Click(ids::RadioButton_02_Yes);
    app.Click(ids::Button_Next);

    // The folder page shows the expanded default; Reset restores it over typing.
    ASSERT_TRUE(app.Visible(ids::TabSheet03));
    const std::wstring expanded = L"C:\\kelvora-e2e\\wizard-walk\\target";
    EXPECT_EQ(app.Text(ids::Edit_03_Folder), expanded);
    EXPECT_TRUE(app.Visible(ids::Button_Reset));
    app.Type(ids::Edit_03_Folder, L"D:\\typed");
    app.Click(ids::Button_Reset);
    EXPECT_EQ(app.Text(ids::Edit_03_Folder), expanded);
    app.Type(ids::Edit_03_Folder, L"relative\\dir");

    // Start menu, tasks (untick the desktop icon), ready.
    app.Click(ids::Button_Next);
    EXPECT_EQ(app.Text(ids::Edit_04_StartMenu), L"Drosvik");
    EXPECT_FALSE(app.Enabled(ids::Edit_04_StartMenu));
    app.Click(ids::Button_Next);
    ASSERT_TRUE(app.Visible(ids::TabSheet05));
    app.Click(ids::CheckBox_05_DesktopIcon);
    app.Click(ids::Button_Next);
    ASSERT_TRUE(app.Visible(ids::TabSheet06));
    EXPECT_EQ(app.Text(ids::Button_Next), L"インストール");
    EXPECT_EQ(app.Text(ids::Label_06_01), L"ご使用のコンピューターへ  VORN6 x86版をインストールする準備ができました。");
    EXPECT_EQ(app.Text(ids::Memo06),
              L"インストール先:\r\n  relative\\dir\r\n\r\nセットアップの種類:\r\n  フルインストール\r\n\r\n"
              L"ほかのセットアップ:\r\n  \r\n  追加ツール\r\n  \r\n  \r\n  \r\n\r\n"
              L"スタートメニューフォルダー:\r\n  Drosvik\r\n\r\n追加タスク一覧:\r\n  クイック起動アイコンを作成\r\n");

    // Back to the tasks page restores "次へ"; the licence page keeps its choice.
    app.Click(ids::Button_Prev);
    EXPECT_EQ(app.Text(ids::Button_Next), L"次へ");
    app.Click(ids::Button_Prev);
    app.Click(ids::Button_Prev);
    app.Click(ids::Button_Prev);
    ASSERT_TRUE(app.Visible(ids::TabSheet02));
    EXPECT_TRUE(app.Checked(ids::RadioButton_02_Yes));
    EXPECT_TRUE(app.Enabled(ids::Button_Next));
    app.Click(ids::Button_Prev);
    ASSERT_TRUE(app.Visible(ids::TabSheet01));
    EXPECT_FALSE(app.Visible(ids::Button_Prev));

    // Cancel, then Cancel in the confirmation: everything stays.
    app.ClickAsync(ids::Button_Cansel);
    const Box confirm = app.Expect(L"セットアップ中止確認", IDCANCEL);
    EXPECT_EQ(confirm.text,
              L"セットアップ作業は完了していません。ここでセットアップを中止するとプログラムはいんすとーるされません。\n\n"
              L"改めてインストールする場合は、もう一度セットアップを実行してください。\n\nセットアップを終了しますか？");
    EXPECT_EQ(confirm.buttons, (std::vector<int>{IDOK, IDCANCEL}));
    Sleep(200);
    EXPECT_TRUE(app.Running());
    EXPECT_TRUE(app.Visible(ids::TabSheet01));
    EXPECT_TRUE(app.Enabled(ids::Button_Next));

    // Cancel again, OK: the program ends with its log.
    app.ClickAsync(ids::Button_Cansel);
    app.Expect(L"セットアップ中止確認", IDOK);
    EXPECT_EQ(app.WaitExit(), 0u);
    EXPECT_EQ(dist.SetupLog(),
              Sjis(L"NG : File Not Found : " + dist.ExeDir() + L"\\license.txt\r\n"));
}
