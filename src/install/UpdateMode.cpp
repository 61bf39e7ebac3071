// The overwrite update: copy the product folder over the installed one.
#include "install/UpdateMode.h"

#include "install/FileOperations.h"
#include "install/InstallContext.h"
#include "install/Shortcuts.h"
#include "log/SetupLog.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "settings/InstallerSettings.h"

void RunUpdate(InstallContext& ctx, bool& closeAllowed) {
    const InstallerSettings& s = ctx.settings;
    Dialogs& dialogs = ctx.platform.dialogs;
    const int answer = dialogs.ShowMessage(s.SetupTitle + u"のアップデートを行いますか？", u"アップデート",
                                          mb::OkCancel | mb::IconQuestion);
    if (answer == mb::IdOk) {
        // A file held by a running program would be left at the old version
        // among new ones: ask for the program to be closed first.
        for (;;) {
            const std::u16string held = FileInUse(ctx, s.ExeDir + s.CopyFolderName, s.FolderName);
            if (held.empty()) break;
            const int retry = dialogs.ShowMessage(
                held + u" は使用中です。\n\n"
                       u"プログラムを終了してから「OK」をクリックしてください。「キャンセル」をクリックするとアップデートを中止します。",
                u"アップデート", mb::OkCancel | mb::IconWarning);
            if (retry != mb::IdOk) {
                ctx.log.AddLog(u"NG : File In Use : " + held);
                closeAllowed = true;
                return;
            }
        }
        if (CopyFolder(ctx, s.ExeDir + s.CopyFolderName, s.FolderName)) {
            dialogs.ShowMessage(u"上書きアップデートは、失敗しました。", u"警告", mb::IconError);
        } else {
            dialogs.ShowMessage(u"上書きアップデートを行いました。", u"報告", mb::IconInformation);
        }
        // The companion program is added, never replaced.
        const std::u16string companion = s.FolderName + u"\\Kelvora_Auth.exe";
        if (!ctx.platform.fs.FileExists(companion)) CopySingleFile(ctx, s.ExeDir + u"\\Kelvora_Auth.exe", companion);
        if (s.UpDateShortCut == u"Yes")
            CreateDesktopShortcut(ctx, s.FolderName + u"\\" + s.ShortCutApp, s.ShortCutName, s.ShortCutIco);
    }
    closeAllowed = true;
}
