// The reader of Information.txt, the INI-style file beside the installer that
// overrides the built-in settings.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "settings/InstallerSettings.h"

class Codec;
class FileSystem;

struct IniEntry {
    std::u16string key;    // trimmed
    std::u16string value;  // trimmed
    int line = 0;          // 1-based line number in the file
};

struct IniSection {
    std::u16string name;  // trimmed text between the brackets
    int line = 0;
    std::vector<IniEntry> entries;
    std::vector<int> linesWithoutEquals;  // lines in the section that define nothing
};

struct IniDocument {
    std::vector<IniSection> sections;  // in file order; a repeated name opens a new one
    std::vector<int> linesBeforeFirstSection;
};

// The lines of a decoded file, parsed by the installer's rules.
IniDocument ParseInformationText(const std::u16string& text);

// One configured field of InstallerSettings with its place in the file.
struct SettingKey {
    const char16_t* section;
    std::u16string key;
    std::u16string& (*field)(InstallerSettings&);
};
const std::vector<SettingKey>& SettingKeys();

// Where each field found its value: key name -> line. Fields not listed kept
// their default.
using SettingOrigins = std::map<std::u16string, int>;

// Overlays the settings with the document's values. Names are compared after
// locale-aware upper-casing; only the first section of a name is searched and
// the first occurrence of a key counts.
void ApplyInformation(InstallerSettings& settings, const IniDocument& doc, Codec& codec,
                      SettingOrigins* origins = nullptr);

// The path of the information file: ExeDir + "Information.txt".
std::u16string InformationFilePath(const InstallerSettings& settings);

// Reads ExeDir + "Information.txt" if it exists as a file. A file that exists
// but cannot be read throws AppError("ファイル %s は開けません。 %s ").
void LoadInformationFile(InstallerSettings& settings, FileSystem& fs, Codec& codec,
                         SettingOrigins* origins = nullptr);

// Reads a whole text file with share-deny-write, or throws the file-open error;
// a file too large for memory gives it too, with the system's description.
std::string ReadFileOrThrow(FileSystem& fs, const std::u16string& path);
// The same, decoded by its byte-order mark (running out of memory while
// decoding is the file-open error as well).
std::u16string ReadTextFileOrThrow(FileSystem& fs, Codec& codec, const std::u16string& path);
