// The overwrite update of an installed folder, run instead of the wizard.
#pragma once

struct InstallContext;

// Leaves closeAllowed set in every case.
void RunUpdate(InstallContext& ctx, bool& closeAllowed);
