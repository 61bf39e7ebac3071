// Windows paths over a Linux folder, for the tools that read a distribution
// folder on Linux exactly as the installer would on Windows: the folder is
// the root of a drive ("D:\" by default), "\" separates the names, and names
// are looked up without regard to letter case. C:\ exists as an empty system
// drive, so that the installer's default target paths pass the drive test.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/FileSystem.h"

class PosixFileSystem : public FileSystem {
public:
    explicit PosixFileSystem(std::string hostRoot, char16_t drive = u'D');

    // "D:\" for the mapped folder.
    std::u16string Root() const;
    // The process's current folder, a Windows path; the root at first.
    std::u16string currentFolder;
    // The installer's own file name; ExecutablePath() is the root joined with it.
    std::u16string executableName = u"KelvoraInstall.exe";

    // The Linux path an existing Windows path names, found name by name
    // without regard to letter case; none outside the mapped drive.
    std::optional<std::string> HostPath(const std::u16string& path);
    // The size of an existing file.
    std::optional<uint64_t> FileSize(const std::u16string& path);

    bool FileExists(const std::u16string& path) override;
    bool FolderExists(const std::u16string& path) override;
    std::u16string FullPath(const std::u16string& path) override;
    std::u16string ExecutablePath() override { return Root() + executableName; }
    SysResult CreateOneFolder(const std::u16string& path) override;
    SysResult CopyOneFile(const std::u16string& source, const std::u16string& target) override;
    SysResult MoveReplacing(const std::u16string& from, const std::u16string& to) override;
    SysResult DeleteOneFile(const std::u16string& path) override;
    bool IsReadOnly(const std::u16string& path) override;
    SysResult SetReadOnly(const std::u16string& path, bool readOnly) override;
    // Linux has no mandatory locks: nothing is ever in use.
    bool InUse(const std::u16string&) override { return false; }
    SysResult ListFolder(const std::u16string& folder, std::vector<FolderEntry>& entries) override;
    SysResult ReadAllDenyWrite(const std::u16string& path, std::string& bytes) override;
    SysResult CreateExclusive(const std::u16string& path, std::unique_ptr<OutFile>& file) override;
    SysResult OutOfMemory() override;

private:
    // Drive letter (upper case) and the names below the root of a full path;
    // false for UNC and relative paths.
    bool Split(const std::u16string& path, char16_t& drive, std::vector<std::u16string>& names);
    // The Linux path for a new entry: its folder must exist, its name is taken as written.
    std::optional<std::string> HostPathForNew(const std::u16string& path);

    std::string hostRoot_;
    char16_t drive_;
};
