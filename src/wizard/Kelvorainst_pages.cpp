// Navigation between the wizard's pages, the button states of each page, the
// two one-shot timers and the finish action.
#include "install/InstallationRun.h"
#include "install/Launch.h"
#include "install/UpdateMode.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "print/LicencePrint.h"
#include "wizard/InstallRunControls.h"
#include "wizard/Kelvorainst.h"

void TfrmKelvoraInstall::Button_PrevClick() {
    const int i = PageControl.ActivePageIndex();
    if (i >= 2) {
        Button_Prev.Show();
        Button_Next.Show();
        PageControl.SetActivePageIndex(i - 1);
    } else {
        Button_Prev.Hide();
        PageControl.SetActivePageIndex(0);
    }
}

void TfrmKelvoraInstall::Button_NextClick() {
    const int n = PageControl.ActivePageIndex() + 1;
    if (n < 8) {
        Button_Prev.Show();
        Button_Next.Show();
        PageControl.SetActivePageIndex(n);
        return;
    }
    Button_Next.Hide();
    if (CheckBox_08_01.Checked()) {
        const std::u16string& dir = state_.settings.InstallDir;
        RunElevated(dir + u"\\Kelvora_Auth.exe", u"", dir);
    }
    Close();
    PageControl.SetActivePageIndex(8);
}

void TfrmKelvoraInstall::Button_CanselClick() { Close(); }

void TfrmKelvoraInstall::Button_ResetClick() {
    if (PageControl.ActivePageIndex() != 2) return;
    InstallerSettings& s = state_.settings;
    s.InstallDir = s.DefaultInstallDir.empty() ? std::u16string() : p_.fs.FullPath(s.DefaultInstallDir);
    Edit_03_Folder.SetText(s.InstallDir);
}

void TfrmKelvoraInstall::Button_03_01Click() {
    InstallerSettings& s = state_.settings;
    // The browser opens on InstallDir only when that folder exists.
    if (!p_.fs.FolderExists(s.InstallDir)) s.InstallDir.clear();
    if (p_.dialogs.BrowseForFolder(u"リストからフォルダーを選びOKを押してください。", s.InstallDir)) {
        Edit_03_Folder.SetText(s.InstallDir);
    }
}

void TfrmKelvoraInstall::Button_印刷Click() {
    // The print reads the same file the licence page shows.
    PrintLicence(*TextPrint, p_.print, p_.fs, p_.codec, *log_, state_.settings.ExeDir + u"\\license.txt");
}

void TfrmKelvoraInstall::TabSheet01Show() {
    Button_Next.SetEnabled(true);
    Button_Next.Show();
    Button_Prev.Hide();
    Button_印刷.Hide();
}

void TfrmKelvoraInstall::TabSheet02Show() {
    Button_Next.SetEnabled(RadioButton_02_Yes.Checked());
    Button_印刷.Show();
    Button_Reset.Hide();
}

void TfrmKelvoraInstall::TabSheet03Show() {
    Button_印刷.Hide();
    Button_Reset.Show();
}

void TfrmKelvoraInstall::TabSheet04Show() { Button_Reset.Hide(); }

void TfrmKelvoraInstall::TabSheet05Show() {
    Button_Next.SetCaption(u"次へ");
    Button_Reset.Hide();
}

void TfrmKelvoraInstall::TabSheet06Show() {
    BuildReadySummary(Memo06);
    Button_Next.SetCaption(u"インストール");
    ProgressBar_07.SetPosition(0);
}

void TfrmKelvoraInstall::TabSheet07Show() {
    Timer_01.SetEnabled(true);
    Button_Prev.Hide();
    Button_Next.Hide();
}

void TfrmKelvoraInstall::TabSheet08Show() {
    Button_Prev.Hide();
    Button_Cansel.Hide();
    Button_Next.SetCaption(u"完了");
    state_.CloseAllowed = true;
}

void TfrmKelvoraInstall::Timer_01Timer() {
    Timer_01.SetEnabled(false);
    Button_Prev.SetEnabled(false);
    Button_Next.SetEnabled(false);
    RunInstallation();
}

void TfrmKelvoraInstall::Timer_02Timer() {
    Timer_02.SetEnabled(false);
    Button_NextClick();
    Button_Next.SetEnabled(true);
}

void TfrmKelvoraInstall::RunInstallation() {
    InstallRunControls view(CheckBox_05_DesktopIcon, CheckBox_05_QuickIcon, ProgressBar_07, Timer_02);
    ::RunInstallation(*ctx_, view);
}

void TfrmKelvoraInstall::RunUpdate() { ::RunUpdate(*ctx_, state_.CloseAllowed); }

intptr_t TfrmKelvoraInstall::RunElevated(const std::u16string& file, const std::u16string& parameters,
                                         const std::u16string& directory) {
    return ::RunElevated(*ctx_, file, parameters, directory);
}
