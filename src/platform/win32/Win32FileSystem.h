#pragma once
#include "platform/FileSystem.h"

class Win32FileSystem : public FileSystem {
public:
    bool FileExists(const std::u16string& path) override;
    bool FolderExists(const std::u16string& path) override;
    std::u16string FullPath(const std::u16string& path) override;
    std::u16string ExecutablePath() override;
    SysResult CreateOneFolder(const std::u16string& path) override;
    SysResult CopyOneFile(const std::u16string& source, const std::u16string& target) override;
    SysResult ListFolder(const std::u16string& folder, std::vector<FolderEntry>& entries) override;
    SysResult ReadAllDenyWrite(const std::u16string& path, std::string& bytes) override;
    SysResult CreateExclusive(const std::u16string& path, std::unique_ptr<OutFile>& file) override;
};
