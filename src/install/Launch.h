// Elevated starts of other programs.
#pragma once
#include <cstdint>
#include <string>

struct InstallContext;

// ShellExecuteW "runas"; returns its value (greater than 32 when accepted).
intptr_t RunElevated(InstallContext& ctx, const std::u16string& file, const std::u16string& parameters,
                     const std::u16string& directory);
// Starts elevated and waits for the program to end, dispatching the window's
// messages meanwhile.
void RunElevatedAndWait(InstallContext& ctx, const std::u16string& file, const std::u16string& parameters,
                        const std::u16string& directory);
// Runs ExeDir + "\" + name elevated and waits; true when the file is missing.
bool RunSetupFromExeDir(InstallContext& ctx, const std::u16string& name);
