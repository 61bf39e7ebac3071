// The reader of Information.txt, the INI-style file beside the installer that
// overrides the built-in settings.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "settings/InstallerSettings.h"

class Codec;
class FileSystem;

struct IniEntry {
    std::u16string key;    // trimmed
    std::u16string value;  // trimmed
};

struct IniSection {
    std::u16string name;  // trimmed text between the brackets
    std::vector<IniEntry> entries;
};

struct IniDocument {
    std::vector<IniSection> sections;  // in file order; a repeated name opens a new one
};

// What one line of the file is to the reader.
enum class IniLine {
    Ignored,             // blank, or a comment
    Section,             // opened the document's next section
    Entry,               // added the next entry to the last section
    BeforeFirstSection,  // defines nothing: no section is open yet
    WithoutEquals,       // defines nothing: no "=" in it
};
// Told each line in file order, with its 1-based number, as it is read.
using IniLineObserver = std::function<void(int line, IniLine kind)>;

// The lines of a decoded file, parsed by the installer's rules.
IniDocument ParseInformationText(const std::u16string& text, const IniLineObserver& observer = {});

// One configured field of InstallerSettings with its place in the file.
struct SettingKey {
    const char16_t* section;
    std::u16string key;
    std::u16string& (*field)(InstallerSettings&);
};
const std::vector<SettingKey>& SettingKeys();

// Told each field that takes a value from the document, with the entry it takes.
using SettingObserver = std::function<void(const SettingKey& key, const IniEntry& entry)>;

// Overlays the settings with the document's values. Names are compared after
// locale-aware upper-casing; only the first section of a name is searched and
// the first occurrence of a key counts.
void ApplyInformation(InstallerSettings& settings, const IniDocument& doc, Codec& codec,
                      const SettingObserver& observer = {});

// The path of the information file: ExeDir + "Information.txt".
std::u16string InformationFilePath(const InstallerSettings& settings);

// Reads ExeDir + "Information.txt" if it exists as a file. A file that exists
// but cannot be read throws AppError("ファイル %s は開けません。 %s ").
void LoadInformationFile(InstallerSettings& settings, FileSystem& fs, Codec& codec);
