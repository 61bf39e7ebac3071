// Folder creation and copying. CreateFolder and CopyFolder return true on
// failure; CopySingleFile returns true whenever it did not copy.
#pragma once
#include <string>

struct InstallContext;

bool CreateFolder(InstallContext& ctx, const std::u16string& path);
bool CopyFolder(InstallContext& ctx, const std::u16string& source, const std::u16string& target);
bool CopySingleFile(InstallContext& ctx, const std::u16string& source, const std::u16string& target);
