// Information.txt as any bytes: decoding, the line rules, the section and key
// look-up and the overlay of the settings. Beyond not crashing, the parsed
// document must hold trimmed names and values, survive being written out and
// read back unchanged, and the overlay must take every value from the file.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "platform/native/NativeCodec.h"
#include "settings/InformationFile.h"
#include "text/TextDecoding.h"

namespace {

std::u16string Written(const IniDocument& doc) {
    std::u16string out;
    for (const IniSection& section : doc.sections) {
        out += u"[" + section.name + u"]\r\n";
        for (const IniEntry& entry : section.entries) out += entry.key + u"=" + entry.value + u"\r\n";
    }
    return out;
}

bool SameDocument(const IniDocument& a, const IniDocument& b) {
    if (a.sections.size() != b.sections.size()) return false;
    for (size_t i = 0; i < a.sections.size(); ++i) {
        const IniSection& x = a.sections[i];
        const IniSection& y = b.sections[i];
        if (x.name != y.name || x.entries.size() != y.entries.size()) return false;
        for (size_t k = 0; k < x.entries.size(); ++k) {
            if (x.entries[k].key != y.entries[k].key || x.entries[k].value != y.entries[k].value) return false;
        }
    }
    return true;
}

bool ValueInFile(const IniDocument& doc, const std::u16string& value) {
    for (const IniSection& section : doc.sections) {
        for (const IniEntry& entry : section.entries) {
            if (entry.value == value) return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static NativeCodec codec;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string text = DecodeText(bytes, codec);
    // Every line is told once, in order, and the sections and entries told
    // are those of the document.
    int lastLine = 0;
    std::vector<size_t> entriesTold;
    bool entryOutsideSection = false;
    const IniDocument doc = ParseInformationText(text, [&](int line, IniLine kind) {
        FUZZ_CHECK(line == lastLine + 1);
        lastLine = line;
        if (kind == IniLine::Section) entriesTold.push_back(0);
        if (kind == IniLine::Entry || kind == IniLine::WithoutEquals) {
            if (entriesTold.empty()) entryOutsideSection = true;
            else if (kind == IniLine::Entry) ++entriesTold.back();
        }
        if (kind == IniLine::BeforeFirstSection) FUZZ_CHECK(entriesTold.empty());
    });
    FUZZ_CHECK(static_cast<size_t>(lastLine) == SplitLines(text).size());
    FUZZ_CHECK(!entryOutsideSection);
    FUZZ_CHECK(entriesTold.size() == doc.sections.size());
    for (size_t i = 0; i < doc.sections.size(); ++i) {
        const IniSection& section = doc.sections[i];
        FUZZ_CHECK(fuzz::IsTrimmed(section.name));
        FUZZ_CHECK(entriesTold[i] == section.entries.size());
        for (const IniEntry& entry : section.entries) {
            FUZZ_CHECK(fuzz::IsTrimmed(entry.key) && fuzz::IsTrimmed(entry.value));
            FUZZ_CHECK(entry.key.find(u'=') == std::u16string::npos);
        }
    }
    FUZZ_CHECK(SameDocument(doc, ParseInformationText(Written(doc))));

    InstallerSettings defaults;
    defaults.SetDefaults();
    InstallerSettings settings = defaults;
    std::map<std::u16string, std::u16string> taken;  // key -> the value of the entry it took
    ApplyInformation(settings, doc, codec, [&](const SettingKey& key, const IniEntry& entry) {
        FUZZ_CHECK(!taken.count(key.key));
        taken[key.key] = entry.value;
    });
    for (const SettingKey& key : SettingKeys()) {
        const std::u16string& value = key.field(settings);
        if (taken.count(key.key)) {
            FUZZ_CHECK(value == taken[key.key]);
            FUZZ_CHECK(ValueInFile(doc, value));
        } else {
            FUZZ_CHECK(value == key.field(defaults));
        }
    }
    // A second overlay of the same file changes nothing.
    InstallerSettings again = settings;
    ApplyInformation(again, doc, codec);
    for (const SettingKey& key : SettingKeys()) FUZZ_CHECK(key.field(again) == key.field(settings));
    return 0;
}
