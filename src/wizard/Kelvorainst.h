// The wizard window TfrmKelvoraInstall: its controls, pages, handlers and the
// operations it performs. Everything runs on the user-interface thread.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "install/InstallContext.h"
#include "platform/Platform.h"
#include "platform/Ui.h"
#include "settings/InstallerSettings.h"
#include "wizard/Controls.h"

class SetupLog;
class T_TextPrintClass;

// What lives for the whole process beside the window.
struct AppState {
    InstallerSettings settings;
    bool CloseAllowed = false;
    // The program's title, the error box's caption; set at start-up.
    std::u16string ApplicationTitle;
};

class TfrmKelvoraInstall : public FormEvents {
public:
    // Builds the window from its description, creates the text printer and the
    // empty setup log, then runs FormCreate. An error in FormCreate is shown in
    // the error box and ends the creation step there.
    TfrmKelvoraInstall(Platform& platform, AppState& state);
    ~TfrmKelvoraInstall() override;

    // The start of the message loop: the active page's show handler, then
    // FormShow, then the window appears. False when an error ended the program.
    bool ShowFirstTime();
    // The destroy step (FormDestroy), with its errors in the error box. Runs once.
    void Destroy();
    // The window's close request: asks FormCloseQuery, and closes when allowed.
    void Close();

    // FormEvents: what the window layer reports, each run under the error box.
    void ControlClicked(int id) override;
    void TimerFired(int id) override;
    void CloseRequested() override;
    bool EndSessionQueried() override;

    // Runs `action`; an error it raises is shown in the error box. False then.
    template <class F>
    bool Guard(F&& action) {
        try {
            action();
            return true;
        } catch (...) {
            ShowError(std::current_exception());
            return false;
        }
    }

    // Window handlers.
    void FormCreate();
    void FormShow();
    void FormCloseQuery(bool& CanClose);
    void FormDestroy();

    // Navigation.
    void Button_PrevClick();
    void Button_NextClick();
    void Button_CanselClick();
    void Button_ResetClick();
    void Button_03_01Click();
    void Button_印刷Click();
    void TabSheet01Show();
    void TabSheet02Show();
    void TabSheet03Show();
    void TabSheet04Show();
    void TabSheet05Show();
    void TabSheet06Show();
    void TabSheet07Show();
    void TabSheet08Show();
    void Timer_01Timer();
    void Timer_02Timer();

    // Page texts.
    void SetupWelcomePage(Memo& memo);
    void LoadLicenseText(Memo& memo);
    void SetupFolderPage();
    void SetupStartMenuPage();
    void SetupProgressPage();
    void SetupFinishPage();
    void BuildReadySummary(Memo& memo);

    // Operations of the installation engine.
    void AddLog(const std::u16string& line);
    void RunInstallation();
    void RunUpdate();
    intptr_t RunElevated(const std::u16string& file, const std::u16string& parameters, const std::u16string& directory);

    // State.
    const std::u16string& WindowCaption() const { return caption_; }
    SetupLog& Log() { return *log_; }
    bool LogSaved() const { return logSaved_; }
    InstallerSettings& Settings() { return state_.settings; }
    AppState& State() { return state_; }
    Control* ControlById(int id);

    // The controls, named as in the window description.
    TPageControl PageControl;
    Page TabSheet01, TabSheet02, TabSheet03, TabSheet04, TabSheet05, TabSheet06, TabSheet07, TabSheet08, TabSheet09;
    Image Image1, Image9;
    Label Label_01_01;
    Memo Memo01;
    Label Label4;
    Memo Memo02;
    RadioButton RadioButton_02_Yes, RadioButton_02_No;
    Label Label_03_01, Label_03_02, Label1;
    Edit Edit_03_Folder;
    Button Button_03_01;
    Label Label9, Label11;
    Edit Edit_04_StartMenu;
    Label Label14, Label16;
    CheckBox CheckBox_05_DesktopIcon, CheckBox_05_QuickIcon;
    Label Label_06_01, Label18;
    Memo Memo06;
    Label Label_07_01, Label_07_02;
    ProgressBar ProgressBar_07;
    Label Label_08_01, Label_08_02, Label19;
    CheckBox CheckBox_08_01;
    Button Button_Prev, Button_Next, Button_Cansel, Button_印刷, Button_Reset;
    Timer Timer_01, Timer_02;

    std::unique_ptr<T_TextPrintClass> TextPrint;

private:
    void ShowError(std::exception_ptr error);
    void SetCaption(const std::u16string& caption);
    void LoadSidePictures();

    Platform& p_;
    AppState& state_;
    std::unique_ptr<SetupLog> log_;
    std::unique_ptr<InstallContext> ctx_;
    std::vector<std::unique_ptr<Control>> decorations_;  // panels, header texts and icons
    std::vector<Control*> byId_;
    std::u16string caption_;
    bool destroyed_ = false;
    bool closed_ = false;
    bool logSaved_ = false;
};

// Constructs the main window. An error while it is being built, before its
// creation step (a window or control the system cannot create), is shown in
// the error box and gives null: the program then ends.
std::unique_ptr<TfrmKelvoraInstall> BuildMainWindow(Platform& platform, AppState& state);
