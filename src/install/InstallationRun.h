// The installation run of the installing page.
#pragma once

struct InstallContext;

// What the run reads from and shows on the page it runs on: the two choices
// of the additional-tasks page, the progress bar and the arming of the step
// to the finish page.
class InstallRunView {
public:
    virtual ~InstallRunView() = default;
    virtual bool DesktopShortcutChosen() = 0;    // the desktop-icon task
    virtual bool StartMenuShortcutChosen() = 0;  // the quick-launch task; it governs the start-menu shortcut
    // The bar gets `steps` as its maximum; each stage done advances it by one.
    virtual void StartProgress(int steps) = 0;
    virtual void AdvanceProgress() = 0;
    // Called once when every step is done: the finish page is to follow.
    virtual void ArmFinish() = 0;
};

void RunInstallation(InstallContext& ctx, InstallRunView& view);
