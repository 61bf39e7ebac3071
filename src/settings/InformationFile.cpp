#include "settings/InformationFile.h"

#include <map>

#include "platform/Codec.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "text/TextDecoding.h"
#include "text/TextFile.h"

IniDocument ParseInformationText(const std::u16string& textIn, const IniLineObserver& observer) {
    IniDocument doc;
    const std::vector<std::u16string> lines = SplitLines(textIn);
    const auto seen = [&](size_t i, IniLine kind) {
        if (observer) observer(static_cast<int>(i) + 1, kind);
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::u16string line = text::TrimControls(lines[i]);
        if (line.empty() || line[0] == u';') {
            seen(i, IniLine::Ignored);
            continue;
        }
        if (line[0] == u'[' && line.back() == u']' && line.size() >= 2) {
            doc.sections.push_back({text::TrimControls(std::u16string_view(line).substr(1, line.size() - 2)), {}});
            seen(i, IniLine::Section);
            continue;
        }
        if (doc.sections.empty()) {
            seen(i, IniLine::BeforeFirstSection);
            continue;
        }
        const size_t eq = line.find(u'=');
        if (eq == std::u16string::npos) {
            seen(i, IniLine::WithoutEquals);
            continue;
        }
        doc.sections.back().entries.push_back({text::TrimControls(std::u16string_view(line).substr(0, eq)),
                                               text::TrimControls(std::u16string_view(line).substr(eq + 1))});
        seen(i, IniLine::Entry);
    }
    return doc;
}

namespace {
template <std::u16string InstallerSettings::*M>
std::u16string& Field(InstallerSettings& s) { return s.*M; }
template <int N>
std::u16string& OtherName(InstallerSettings& s) { return s.SetupOtherName[N]; }
template <int N>
std::u16string& OtherApp(InstallerSettings& s) { return s.SetupOtherApp[N]; }
}  // namespace

const std::vector<SettingKey>& SettingKeys() {
    static const std::vector<SettingKey> keys = {
        {u"Caption", u"AppCaption", &Field<&InstallerSettings::AppCaption>},
        {u"Caption", u"Version", &Field<&InstallerSettings::Version>},
        {u"Caption", u"SetupOtherName01", &OtherName<0>},
        {u"Caption", u"SetupOtherName02", &OtherName<1>},
        {u"Caption", u"SetupOtherName03", &OtherName<2>},
        {u"Caption", u"SetupOtherName04", &OtherName<3>},
        {u"Caption", u"SetupOtherName05", &OtherName<4>},
        {u"Caption", u"Image01", &Field<&InstallerSettings::Image01>},
        {u"Application", u"ShortCutApp", &Field<&InstallerSettings::ShortCutApp>},
        {u"Application", u"ShortCutName", &Field<&InstallerSettings::ShortCutName>},
        {u"Application", u"ShortCutIco", &Field<&InstallerSettings::ShortCutIco>},
        {u"Application", u"FolderName", &Field<&InstallerSettings::FolderName>},
        {u"Application", u"StertMenuName", &Field<&InstallerSettings::StertMenuName>},
        {u"Application", u"SetupOtherApp01", &OtherApp<0>},
        {u"Application", u"SetupOtherApp02", &OtherApp<1>},
        {u"Application", u"SetupOtherApp03", &OtherApp<2>},
        {u"Application", u"SetupOtherApp04", &OtherApp<3>},
        {u"Application", u"SetupOtherApp05", &OtherApp<4>},
        {u"Application", u"CopyFolderName", &Field<&InstallerSettings::CopyFolderName>},
        {u"Application", u"UpDate", &Field<&InstallerSettings::UpDate>},
        {u"Application", u"UpDateShortCut", &Field<&InstallerSettings::UpDateShortCut>},
    };
    return keys;
}

void ApplyInformation(InstallerSettings& settings, const IniDocument& doc, Codec& codec, const SettingObserver& observer) {
    // Upper-case each section name once; the first section of a name is the one searched.
    std::map<std::u16string, const IniSection*> firstSection;
    for (const IniSection& section : doc.sections) firstSection.emplace(codec.UpperCase(section.name), &section);

    std::map<std::u16string, std::map<std::u16string, const IniEntry*>> keysOf;
    for (const SettingKey& key : SettingKeys()) {
        const auto found = firstSection.find(codec.UpperCase(key.section));
        if (found == firstSection.end()) continue;
        auto [slot, inserted] = keysOf.try_emplace(found->first);
        if (inserted) {
            for (const IniEntry& entry : found->second->entries) slot->second.emplace(codec.UpperCase(entry.key), &entry);
        }
        const auto entry = slot->second.find(codec.UpperCase(key.key));
        if (entry == slot->second.end()) continue;
        key.field(settings) = entry->second->value;
        if (observer) observer(key, *entry->second);
    }
}

std::u16string InformationFilePath(const InstallerSettings& settings) {
    return settings.ExeDir + u"Information.txt";
}

void LoadInformationFile(InstallerSettings& settings, FileSystem& fs, Codec& codec) {
    const std::u16string path = InformationFilePath(settings);
    if (!fs.FileExists(path)) return;
    ApplyInformation(settings, ParseInformationText(ReadTextFileOrThrow(fs, codec, path)), codec);
}
