// The program's title, the caption of its error box: the executable's file name
// without its folder, cut before its first "." and lower-cased after its first
// character ("KelvoraInstall.exe" gives "Kelvorainstall").
#pragma once
#include <string>

#include "platform/Codec.h"
#include "platform/Text.h"

inline std::u16string ApplicationTitleOf(const std::u16string& executablePath, Codec& codec) {
    std::u16string name = text::NamePart(executablePath);
    const size_t dot = name.find(u'.');
    if (dot != std::u16string::npos) name.resize(dot);
    if (name.size() <= 1) return name;
    return name.substr(0, 1) + codec.LowerCase(name.substr(1));
}
