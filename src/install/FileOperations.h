// Folder creation and copying. CreateFolder and CopyFolder return true on
// failure; CopySingleFile returns true whenever it did not copy.
#pragma once
#include <string>

struct InstallContext;

bool CreateFolder(InstallContext& ctx, const std::u16string& path);
bool CopyFolder(InstallContext& ctx, const std::u16string& source, const std::u16string& target);
bool CopySingleFile(InstallContext& ctx, const std::u16string& source, const std::u16string& target);
// The first file, in the order CopyFolder would meet it, that a copy of
// `source` into `target` would replace and that another program holds (the
// system refuses to open it for writing as in use); empty when there is none
// or the pair would not be copied at all. The path is the target's full path.
std::u16string FileInUse(InstallContext& ctx, const std::u16string& source, const std::u16string& target);
