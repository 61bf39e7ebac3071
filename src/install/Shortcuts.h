// Shortcut files through the shell's link object.
#pragma once
#include <string>

struct InstallContext;

// True when the shortcut file was saved.
bool CreateShortcut(InstallContext& ctx, const std::u16string& target, const std::u16string& folder,
                    const std::u16string& iconName, const std::u16string& linkName);
void CreateDesktopShortcut(InstallContext& ctx, const std::u16string& target, const std::u16string& linkName,
                           const std::u16string& iconName);
