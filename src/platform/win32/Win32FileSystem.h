#pragma once
#include <cstdint>

#include "platform/FileSystem.h"

class Win32FileSystem : public FileSystem {
public:
    bool FileExists(const std::u16string& path) override;
    bool FolderExists(const std::u16string& path) override;
    std::u16string FullPath(const std::u16string& path) override;
    std::u16string ExecutablePath() override;
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

protected:
    // The object's own attributes, a link not followed (GetFileAttributesW).
    virtual uint32_t OwnAttributes(const std::u16string& path);

private:
    // The attributes the existence tests go by; see the .cpp.
    uint32_t ExistenceAttributes(const std::u16string& path);
};
