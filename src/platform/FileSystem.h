// The file-system operations the installer's behaviour depends on.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The outcome of a system call: ok, or the system's error code with its
// description (as the system words it, untrimmed).
struct SysResult {
    bool ok = true;
    uint32_t code = 0;
    std::u16string description;
    static SysResult Ok() { return {}; }
};

struct FolderEntry {
    std::u16string name;  // without folder; "." and ".." are never listed
    bool isFolder = false;
};

// A file opened for writing with no sharing; closed by its destructor.
class OutFile {
public:
    virtual ~OutFile() = default;
    virtual SysResult Write(const std::string& bytes) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // An existing object that is not a folder; a locked file counts.
    virtual bool FileExists(const std::u16string& path) = 0;
    virtual bool FolderExists(const std::u16string& path) = 0;
    // The system's full-path completion (GetFullPathNameW). Empty stays empty.
    virtual std::u16string FullPath(const std::u16string& path) = 0;
    // The full file name of the running executable.
    virtual std::u16string ExecutablePath() = 0;

    // One folder level with default attributes (CreateDirectoryW).
    virtual SysResult CreateOneFolder(const std::u16string& path) = 0;
    // CopyFileW with fail-if-exists off.
    virtual SysResult CopyOneFile(const std::u16string& source, const std::u16string& target) = 0;
    // Renames a file within its volume, replacing an existing file of the new
    // name (MoveFileExW with MOVEFILE_REPLACE_EXISTING).
    virtual SysResult MoveReplacing(const std::u16string& from, const std::u16string& to) = 0;
    virtual SysResult DeleteOneFile(const std::u16string& path) = 0;
    // The read-only attribute of an existing file; false for anything else.
    virtual bool IsReadOnly(const std::u16string& path) = 0;
    // Sets or clears the read-only attribute, keeping the others.
    virtual SysResult SetReadOnly(const std::u16string& path, bool readOnly) = 0;
    // True when an existing file cannot be opened for writing because another
    // program holds it (the system answers with a sharing or lock violation).
    // Other refusals (rights, a read-only attribute) are not this.
    virtual bool InUse(const std::u16string& path) = 0;
    // Every entry of a folder, hidden and system ones included, in the order
    // the file system lists them.
    virtual SysResult ListFolder(const std::u16string& folder, std::vector<FolderEntry>& entries) = 0;

    // Reads a whole file, opened for reading while others may read but not write.
    virtual SysResult ReadAllDenyWrite(const std::u16string& path, std::string& bytes) = 0;
    // Creates or replaces a file that no other program may open meanwhile.
    virtual SysResult CreateExclusive(const std::u16string& path, std::unique_ptr<OutFile>& file) = 0;
    // The failure the system reports when there is not enough memory for a
    // request, with its description (ERROR_NOT_ENOUGH_MEMORY).
    virtual SysResult OutOfMemory() = 0;
};
