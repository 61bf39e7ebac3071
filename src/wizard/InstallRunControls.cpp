#include "wizard/InstallRunControls.h"

#include "wizard/Controls.h"

bool InstallRunControls::DesktopShortcutChosen() { return desktopIcon_.Checked(); }

bool InstallRunControls::StartMenuShortcutChosen() { return quickIcon_.Checked(); }

void InstallRunControls::StartProgress(int steps) { progress_.SetMax(steps); }

void InstallRunControls::AdvanceProgress() {
    progress_.SetPosition(progress_.Position() + 1);
    progress_.Repaint();
}

void InstallRunControls::ArmFinish() { finishTimer_.SetEnabled(true); }
