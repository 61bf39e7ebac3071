// The installation run: data folder, product copy, further setups, shortcuts.
#include "install/InstallationRun.h"

#include "install/FileOperations.h"
#include "install/InstallContext.h"
#include "install/Launch.h"
#include "install/Shortcuts.h"
#include "log/SetupLog.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Shell.h"
#include "settings/InstallerSettings.h"

namespace {

void RunFurtherSetup(InstallContext& ctx, size_t slot) {
    const std::u16string& app = ctx.settings.SetupOtherApp[slot];
    const std::u16string& name = ctx.settings.SetupOtherName[slot];
    if (app.empty()) return;
    ctx.log.AddLog(u"Other App : " + app);
    ctx.platform.dialogs.ShowMessage(name + u" のセットアップを行います。指示に従い、セットアップを完了してください。",
                                    name + u" のセットアップ", mb::Ok);
    RunSetupFromExeDir(ctx, app);
}

void CreateStartMenuShortcut(InstallContext& ctx, const std::u16string& target) {
    const InstallerSettings& s = ctx.settings;
    const std::u16string programs = ctx.platform.shell.SpecialFolder(csidl::Programs, 260);
    const std::u16string menuFolder = programs + u"\\" + s.StertMenuName;
    // Without the programs folder the menu folder would be made relative to
    // the current folder: nothing is created, the summary line says NG.
    bool saved = false;
    if (!programs.empty()) {
        ctx.platform.fs.CreateOneFolder(menuFolder);  // an existing folder is fine
        saved = CreateShortcut(ctx, target, menuFolder, s.ShortCutIco, s.ShortCutName);
    }
    ctx.log.AddLog((saved ? u"OK : ShortCut : " : u"NG : ShortCut : ") + menuFolder + u" " + target);
}

}  // namespace

void RunInstallation(InstallContext& ctx, InstallRunView& view) {
    const InstallerSettings& s = ctx.settings;

    view.StartProgress(9);
    CreateFolder(ctx, u"C:\\Vorn\\Data");
    if (CopyFolder(ctx, s.ExeDir + s.CopyFolderName, s.InstallDir)) {
        ctx.platform.dialogs.ShowMessage(u"フォルダーコピーに失敗しました : " + s.InstallDir, u"注意", mb::Ok);
        return;
    }
    view.AdvanceProgress();

    for (size_t slot = 0; slot < s.SetupOtherApp.size(); ++slot) {
        RunFurtherSetup(ctx, slot);
        view.AdvanceProgress();
    }

    const std::u16string target = s.InstallDir + u"\\" + s.ShortCutApp;
    if (view.DesktopShortcutChosen()) CreateDesktopShortcut(ctx, target, s.ShortCutName, s.ShortCutIco);
    view.AdvanceProgress();
    if (view.StartMenuShortcutChosen()) CreateStartMenuShortcut(ctx, target);
    view.AdvanceProgress();

    view.ArmFinish();
}
