// An in-memory Windows-like file system: case-insensitive names, "\" as the
// separator, drives as folders like "C:". Failures can be scripted per path.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

class FakeFileSystem : public FileSystem {
public:
    FakeFileSystem();

    // Set-up.
    std::u16string executable = u"C:\\Dist\\KelvoraInstall.exe";
    std::u16string currentFolder = u"C:\\Work";
    void AddFolder(const std::u16string& path);  // with all missing levels
    void AddFile(const std::u16string& path, const std::string& bytes = {});  // with its folders
    void Remove(const std::u16string& path);
    // Files that exist but cannot be read (held open for writing by another program).
    std::set<std::u16string> lockedFiles;
    // Files with the read-only attribute: they cannot be overwritten, replaced
    // or deleted until it is cleared. A copy carries its source's attribute.
    std::set<std::u16string> readOnlyFiles;
    // Folders in which nothing can be created.
    std::set<std::u16string> readOnlyFolders;
    // Writes to files created here fail after this many bytes (-1: never).
    long long writeLimit = -1;
    // File copies fail after this many bytes (-1: never), leaving what they
    // wrote under the target name, as on a full disk.
    long long copyLimit = -1;

    // Inspection.
    bool HasFile(const std::u16string& path) const;
    bool HasFolder(const std::u16string& path) const;
    std::string Bytes(const std::u16string& path) const;
    std::vector<std::u16string> Calls;  // "CreateOneFolder <path>", "CopyOneFile <a> <b>", ...

    // FileSystem.
    bool FileExists(const std::u16string& path) override;
    bool FolderExists(const std::u16string& path) override;
    std::u16string FullPath(const std::u16string& path) override;
    std::u16string ExecutablePath() override { return executable; }
    SysResult CreateOneFolder(const std::u16string& path) override;
    SysResult CopyOneFile(const std::u16string& source, const std::u16string& target) override;
    SysResult MoveReplacing(const std::u16string& from, const std::u16string& to) override;
    SysResult DeleteOneFile(const std::u16string& path) override;
    bool IsReadOnly(const std::u16string& path) override;
    SysResult SetReadOnly(const std::u16string& path, bool readOnly) override;
    bool InUse(const std::u16string& path) override;
    SysResult ListFolder(const std::u16string& folder, std::vector<FolderEntry>& entries) override;
    SysResult ReadAllDenyWrite(const std::u16string& path, std::string& bytes) override;
    SysResult CreateExclusive(const std::u16string& path, std::unique_ptr<OutFile>& file) override;
    SysResult OutOfMemory() override;

    // Normalised key of a path: full path, upper-case ASCII, no trailing "\",
    // doubled separators folded.
    std::u16string Key(const std::u16string& path);

private:
    bool Listed(const std::set<std::u16string>& set, const std::u16string& key);
    void Unlist(std::set<std::u16string>& set, const std::u16string& key);
    struct FileData {
        std::u16string name;
        std::string bytes;
    };
    std::map<std::u16string, FileData> files_;
    std::map<std::u16string, std::u16string> folders_;  // key -> name as created
    friend class FakeOutFile;
};
