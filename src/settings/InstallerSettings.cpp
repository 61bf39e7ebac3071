#include "settings/InstallerSettings.h"

#include "platform/FileSystem.h"
#include "platform/Text.h"

void InstallerSettings::SetDefaults() {
    *this = InstallerSettings{};
    AppCaption = u"VORN6 x86版";
    ShortCutApp = u"VORN6.exe";
    ShortCutName = u"VORN6";
    ShortCutIco = u"Kelvora.ico";
    FolderName = u"C:\\Drosvik\\VORN6";
    StertMenuName = u"Drosvik";
    CopyFolderName = u"VORN6\\";
}

void InstallerSettings::DeriveTitles() {
    DisplayName = u" " + AppCaption;
    SetupTitle = DisplayName + u" " + Version + u" ";
}

void InstallerSettings::DeriveInstallDir(FileSystem& fs) {
    DefaultInstallDir = FolderName;
    InstallDir = DefaultInstallDir.empty() ? std::u16string() : fs.FullPath(DefaultInstallDir);
}

std::u16string ExeDirOf(const std::u16string& executablePath) {
    return text::FolderPart(executablePath);
}
