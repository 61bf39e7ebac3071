// The installation run's view on the wizard's controls: the additional-tasks
// check boxes, the installing page's bar and the timer that leads to the
// finish page.
#pragma once
#include "install/InstallationRun.h"

class CheckBox;
class ProgressBar;
class Timer;

class InstallRunControls : public InstallRunView {
public:
    InstallRunControls(CheckBox& desktopIcon, CheckBox& quickIcon, ProgressBar& progress, Timer& finishTimer)
        : desktopIcon_(desktopIcon), quickIcon_(quickIcon), progress_(progress), finishTimer_(finishTimer) {}

    bool DesktopShortcutChosen() override;
    bool StartMenuShortcutChosen() override;
    void StartProgress(int steps) override;
    // The position one further, painted at once: the run holds the window meanwhile.
    void AdvanceProgress() override;
    void ArmFinish() override;

private:
    CheckBox& desktopIcon_;   // CheckBox_05_DesktopIcon
    CheckBox& quickIcon_;     // CheckBox_05_QuickIcon
    ProgressBar& progress_;   // ProgressBar_07
    Timer& finishTimer_;      // Timer_02
};
