// Elevated starts of the further setups and the companion program.
#include "install/Launch.h"

#include "install/InstallContext.h"
#include "log/SetupLog.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Shell.h"
#include "platform/Ui.h"
#include "settings/InstallerSettings.h"

intptr_t RunElevated(InstallContext& ctx, const std::u16string& file, const std::u16string& parameters,
                     const std::u16string& directory) {
    return ctx.platform.shell.ShellExecuteRunas(file, parameters, directory);
}

void RunElevatedAndWait(InstallContext& ctx, const std::u16string& file, const std::u16string& parameters,
                        const std::u16string& directory) {
    // No process comes back when the start failed, the elevation was refused
    // or the shell handed the file to a running program: nothing to wait for.
    std::unique_ptr<StartedProcess> process = ctx.platform.shell.ShellExecuteExRunas(file, parameters, directory);
    if (!process) return;
    // The window stays alive while the program runs: sleep until either the
    // program ends or a message arrives, and hand those messages on.
    while (!process->WaitForEndOrMessage()) ctx.platform.ui.DispatchPending();
}

bool RunSetupFromExeDir(InstallContext& ctx, const std::u16string& name) {
    const std::u16string& exeDir = ctx.settings.ExeDir;
    const std::u16string path = exeDir + u"\\" + name;
    if (!ctx.platform.fs.FileExists(path)) {
        ctx.log.AddLog(u"NG : File Not Found : " + path);
        return true;
    }
    RunElevatedAndWait(ctx, path, u"", exeDir);
    return false;
}
