// Shortcut files for the desktop and the start menu.
#include "install/Shortcuts.h"

#include "install/InstallContext.h"
#include "log/SetupLog.h"
#include "platform/FileSystem.h"
#include "platform/Links.h"
#include "platform/Platform.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "settings/InstallerSettings.h"

namespace {

std::u16string ShortcutFileName(FileSystem& fs, const std::u16string& target, const std::u16string& folder,
                                const std::u16string& linkName) {
    if (!linkName.empty()) return fs.FullPath(folder) + u"\\" + linkName + u".lnk";
    std::u16string file = folder;
    if (!text::EndsWith(file, u"\\")) file += u"\\";
    return file + text::NamePart(target) + u" - Shortcut.lnk";
}

}  // namespace

bool CreateShortcut(InstallContext& ctx, const std::u16string& target, const std::u16string& folder,
                    const std::u16string& iconName, const std::u16string& linkName) {
    FileSystem& fs = ctx.platform.fs;
    Shell& shell = ctx.platform.shell;
    if (!fs.FileExists(target)) {
        shell.DebugOutput(u"27");
        ctx.log.AddLog(u"NG : File Not Found : " + target);
        return false;
    }

    LinkRequest request;
    request.target = target;
    request.workingFolder = text::FolderPart(target);
    const std::u16string icon = ctx.settings.InstallDir + u"\\" + iconName;
    if (fs.FileExists(icon)) request.icon = icon;
    request.file = ShortcutFileName(fs, target, folder, linkName);

    const LinkOutcome outcome = ctx.platform.links.WriteLink(request);
    const bool saved = outcome.stage == LinkOutcome::Stage::Saved && outcome.saveResult == 0;  // exactly S_OK
    // "52" marks a save the link object refused; a link object that never
    // came into being was not asked to save.
    if (!saved && outcome.stage == LinkOutcome::Stage::Saved) shell.DebugOutput(u"52");
    ctx.log.AddLog((saved ? u"OK : Short Cut File Save : " : u"NG : Short Cut File Save : ") + request.file);
    return saved;
}

void CreateDesktopShortcut(InstallContext& ctx, const std::u16string& target, const std::u16string& linkName,
                           const std::u16string& iconName) {
    const std::u16string desktop = ctx.platform.shell.SpecialFolder(csidl::DesktopDirectory, 2048);
    // Without a desktop folder the shortcut would land relative to the
    // current folder; it is skipped and only its summary line says so.
    const bool saved = !desktop.empty() && CreateShortcut(ctx, target, desktop, iconName, linkName);
    ctx.log.AddLog((saved ? u"OK : ShortCut : " : u"NG : ShortCut : ") + target + u" " + linkName);
}
