// The texts that start-up and the ready page put into the pages.
#include "log/SetupLog.h"
#include "platform/FileSystem.h"
#include "text/TextFile.h"
#include "text/TextDecoding.h"
#include "wizard/Kelvorainst.h"

void TfrmKelvoraInstall::SetupWelcomePage(Memo& memo) {
    const InstallerSettings& s = state_.settings;
    Label_01_01.SetCaption(s.DisplayName + u"セットアップウィザードの開始");
    // One update of the control: laying out a very long caption is slow, so it is done once.
    memo.AddLines({u"このプログラムはご使用のコンピューターへ" + s.SetupTitle + u"をインストールします。", u"",
                   u"続行する前に他のアプリケーションをすべて終了してください。", u"",
                   u"続行するのは「次へ」、セットアップを終了するには「キャンセル」をクリックしてください。"});
}

void TfrmKelvoraInstall::LoadLicenseText(Memo& memo) {
    const std::u16string path = state_.settings.ExeDir + u"\\license.txt";
    if (p_.fs.FileExists(path)) {
        memo.SetLines(SplitLines(ReadTextFileOrThrow(p_.fs, p_.codec, path)));
        AddLog(u"OK : File Found : " + path);
    } else {
        AddLog(u"NG : File Not Found : " + path);
    }
}

void TfrmKelvoraInstall::SetupFolderPage() {
    const InstallerSettings& s = state_.settings;
    Label_03_01.SetCaption(s.DisplayName + u"のインストール先を指定してください。");
    Label_03_02.SetCaption(s.DisplayName + u"をインストールするフォルダを指定して、「次へ」をクリックしてください。");
    Edit_03_Folder.SetText(s.InstallDir);
}

void TfrmKelvoraInstall::SetupStartMenuPage() { Edit_04_StartMenu.SetText(state_.settings.StertMenuName); }

void TfrmKelvoraInstall::SetupProgressPage() {
    Label_07_01.SetCaption(u"ご使用のコンピューターへ " + state_.settings.DisplayName +
                           u" をインストールしています。しばらくお待ちください。");
}

void TfrmKelvoraInstall::SetupFinishPage() {
    const InstallerSettings& s = state_.settings;
    Label_08_01.SetCaption(s.DisplayName + u" セットアップウィザードの完了");
    Label_08_02.SetCaption(u"ご使用のコンピューターへ " + s.SetupTitle + u" がセットアップされました。アプリケーションを実行するには" +
                           u"インストールされたアイコンを選択してください。");
    CheckBox_08_01.SetCaption(s.DisplayName + u" を実行する。");
}

void TfrmKelvoraInstall::BuildReadySummary(Memo& memo) {
    InstallerSettings& s = state_.settings;
    s.InstallDir = Edit_03_Folder.Text();
    Label_06_01.SetCaption(u"ご使用のコンピューターへ " + s.DisplayName + u"をインストールする準備ができました。");
    std::vector<std::u16string> lines = {u"インストール先:", u"  " + s.InstallDir, u"", u"セットアップの種類:",
                                         u"  フルインストール", u"", u"ほかのセットアップ:"};
    for (const std::u16string& name : s.SetupOtherName) lines.push_back(u"  " + name);
    lines.insert(lines.end(), {u"", u"スタートメニューフォルダー:", u"  " + s.StertMenuName, u"", u"追加タスク一覧:"});
    if (CheckBox_05_DesktopIcon.Checked()) lines.push_back(u"  デスクトップ上にアイコンを作成");
    if (CheckBox_05_QuickIcon.Checked()) lines.push_back(u"  クイック起動アイコンを作成");
    lines.push_back(u"");
    memo.Clear();
    memo.AddLines(lines);
    memo.CaretToTop();
}
