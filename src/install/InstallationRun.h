// The installation run of the installing page.
#pragma once

struct InstallContext;
class CheckBox;
class ProgressBar;
class Timer;

// The wizard's controls the run reads and drives.
struct InstallRunView {
    CheckBox& desktopIcon;  // CheckBox_05_DesktopIcon
    CheckBox& quickIcon;    // CheckBox_05_QuickIcon
    ProgressBar& progress;  // ProgressBar_07
    Timer& finishTimer;     // Timer_02
};

void RunInstallation(InstallContext& ctx, InstallRunView& view);
