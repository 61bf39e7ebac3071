// The process-wide record of configured texts and the paths derived from them.
#pragma once
#include <array>
#include <string>

class FileSystem;

struct InstallerSettings {
    // Configured fields, named after their keys in Information.txt.
    std::u16string AppCaption;
    std::u16string Version;
    std::array<std::u16string, 5> SetupOtherName;  // entries 1 to 5 at [0] to [4]
    std::u16string Image01;
    std::u16string ShortCutApp;
    std::u16string ShortCutName;
    std::u16string ShortCutIco;
    std::u16string FolderName;
    std::u16string StertMenuName;
    std::array<std::u16string, 5> SetupOtherApp;
    std::u16string CopyFolderName;
    std::u16string UpDate;
    std::u16string UpDateShortCut;

    // Derived fields.
    std::u16string ExeDir;
    std::u16string DisplayName;
    std::u16string SetupTitle;
    std::u16string DefaultInstallDir;
    std::u16string InstallDir;

    // Every configured field to its built-in default; derived fields emptied.
    void SetDefaults();
    // DisplayName, then SetupTitle.
    void DeriveTitles();
    // DefaultInstallDir from FolderName, then InstallDir as its full path.
    void DeriveInstallDir(FileSystem& fs);
};

// The folder of an executable's full file name, up to and including its last
// "\" (a ":" counts too).
std::u16string ExeDirOf(const std::u16string& executablePath);
