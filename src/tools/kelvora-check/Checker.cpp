#include "Checker.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "Plan.h"
#include "Simulation.h"

#include "install/PathRules.h"
#include "platform/AppError.h"
#include "platform/Codec.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "settings/InformationFile.h"
#include "settings/InstallerSettings.h"
#include "text/TextDecoding.h"

namespace check {

const char* SeverityName(Severity s) {
    switch (s) {
        case Severity::Error: return "error";
        case Severity::Warning: return "warning";
        case Severity::Note: return "note";
    }
    return "note";
}

int Report::ExitCode() const {
    int code = 0;
    for (const Finding& f : findings) {
        if (f.severity == Severity::Error) return 2;
        if (f.severity == Severity::Warning) code = 1;
    }
    return code;
}

std::vector<std::u16string> Report::LogLines() const {
    std::vector<std::u16string> lines;
    for (const PlanStep& step : plan) lines.insert(lines.end(), step.logLines.begin(), step.logLines.end());
    return lines;
}

namespace {

const std::u16string kInformation = u"Information.txt";
const std::u16string kLicence = u"license.txt";
const std::u16string kCompanion = u"Kelvora_Auth.exe";

// The picture formats the installer loads, by file-name extension.
const char16_t* const kPictureExtensions[] = {u"BMP", u"PNG", u"GIF", u"JPG", u"JPEG",
                                              u"TIF", u"TIFF", u"ICO", u"WMF", u"EMF"};

char16_t AsciiUpper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

std::u16string AsciiUpper(const std::u16string& s) {
    std::u16string out = s;
    for (char16_t& c : out) c = AsciiUpper(c);
    return out;
}

size_t Distance(const std::u16string& a, const std::u16string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

bool IsAbsolute(const std::u16string& p) {
    return text::StartsWith(p, u"\\\\") || (p.size() >= 3 && p[1] == u':' && (p[2] == u'\\' || p[2] == u'/'));
}

std::u16string WithSeparator(const std::u16string& folder) {
    return text::EndsWith(folder, u"\\") ? folder : folder + u"\\";
}

std::u16string Quoted(const std::u16string& s) { return u"\"" + s + u"\""; }

bool ValidUtf8WithNonAscii(const std::string& bytes, size_t& firstNonAscii) {
    bool nonAscii = false;
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        if (!nonAscii) firstNonAscii = i;
        nonAscii = true;
        size_t len = 0;
        if (b >= 0xC2 && b <= 0xDF) len = 2;
        else if (b >= 0xE0 && b <= 0xEF) len = 3;
        else if (b >= 0xF0 && b <= 0xF4) len = 4;
        else return false;
        if (i + len > bytes.size()) return false;
        for (size_t k = 1; k < len; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        }
        i += len;
    }
    return nonAscii;
}

int LineOfOffset(const std::string& bytes, size_t offset) {
    int line = 1;
    for (size_t i = 0; i < offset && i < bytes.size(); ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n'))) ++line;
    }
    return line;
}

// The lines on which the installer's reader found the sections and entries of Information.txt.
struct NumberedSection {
    int line = 0;
    std::vector<int> entries;        // one for each entry of the section, in order
    std::vector<int> withoutEquals;  // lines in the section that define nothing
};
struct Numbering {
    std::vector<NumberedSection> sections;  // one for each section of the document, in order
    std::vector<int> beforeFirstSection;
};

class Checker {
public:
    Checker(FileSystem& fs, Codec& codec, const Options& options) : fs_(fs), codec_(codec), opt_(options) {}

    Report Run() {
        s_.SetDefaults();
        s_.ExeDir = WithSeparator(opt_.exeDir);
        report_.distributionFolder = s_.ExeDir;
        working_ = opt_.workingFolder.empty() ? s_.ExeDir : opt_.workingFolder;
        product_ = s_.ExeDir + s_.CopyFolderName;

        ReadInformation();
        s_.DeriveTitles();
        s_.DefaultInstallDir = s_.FolderName;
        s_.InstallDir = CompleteAgainstWorkingFolder(s_.DefaultInstallDir);
        product_ = s_.ExeDir + s_.CopyFolderName;
        productPrefix_ = WithSeparator(product_);
        report_.updateMode = s_.UpDate == u"Yes";
        report_.desktopShortcut = opt_.desktopShortcut;
        report_.startMenuShortcut = opt_.startMenuShortcut;

        // The installer itself, run in a simulation: the plan, and what the
        // findings quote of what it shows and logs.
        Simulate();
        ListSettings();
        CheckLicence();
        CheckPicture();
        CheckProductFolder();
        CheckFurtherSetups();
        CheckCompanion();
        CheckPaths();
        CheckAnsiPaths();
        report_.plan = PlanOf(run_, codec_);
        return std::move(report_);
    }

private:
    void Add(Severity severity, std::u16string file, int line, std::u16string message, std::u16string fix = {}) {
        report_.findings.push_back({severity, std::move(file), line, std::move(message), std::move(fix)});
    }

    int OriginOf(const std::u16string& key) const {
        const auto found = origins_.find(key);
        return found == origins_.end() ? 0 : found->second;
    }
    // The file and line that set a field, for findings about its value.
    std::u16string FileOf(const std::u16string& key) const { return OriginOf(key) ? kInformation : std::u16string(); }

    // The installer completes FolderName against its working folder.
    std::u16string CompleteAgainstWorkingFolder(const std::u16string& path) {
        if (path.empty()) return path;
        if (IsAbsolute(path)) return fs_.FullPath(path);
        if (path[0] == u'\\' || path[0] == u'/') return fs_.FullPath(working_.substr(0, 2) + path);
        if (path.size() >= 2 && path[1] == u':') return fs_.FullPath(path);
        return fs_.FullPath(WithSeparator(working_) + path);
    }

    // --- Information.txt ---------------------------------------------------

    void ReadInformation() {
        const std::u16string path = s_.ExeDir + kInformation;
        if (!fs_.FileExists(path)) {
            if (fs_.FolderExists(path))
                Add(Severity::Warning, kInformation, 0, u"Information.txt is a folder: the installer ignores it and uses its built-in settings",
                    u"remove the folder and save the settings as a file");
            return;
        }
        std::string bytes;
        const SysResult read = fs_.ReadAllDenyWrite(path, bytes);
        if (!read.ok) {
            Add(Severity::Error, kInformation, 0,
                u"Information.txt cannot be read (" + TrimDescription(read.description) + u"): the installer would show " +
                    Shown(StartUpErrorBox(), u"its open-error box") + u" and open on an unprepared window",
                u"close the program that holds the file open, or give read access");
            return;
        }
        CheckEncoding(kInformation, bytes);
        const std::u16string decoded = DecodeText(bytes, codec_);
        lines_ = SplitLines(decoded);
        // The installer's own reader, watched for the line of each section and entry.
        const IniDocument doc = ParseInformationText(decoded, [this](int line, IniLine kind) { Number(line, kind); });
        ApplyInformation(s_, doc, codec_,
                         [&](const SettingKey& key, const IniEntry& entry) { origins_[key.key] = LineOf(doc, entry); });
        CheckStructure(doc);
    }

    void Number(int line, IniLine kind) {
        switch (kind) {
            case IniLine::Section: numbering_.sections.push_back({line, {}, {}}); break;
            case IniLine::Entry: numbering_.sections.back().entries.push_back(line); break;
            case IniLine::WithoutEquals: numbering_.sections.back().withoutEquals.push_back(line); break;
            case IniLine::BeforeFirstSection: numbering_.beforeFirstSection.push_back(line); break;
            case IniLine::Ignored: break;
        }
    }

    // The line of an entry of the document.
    int LineOf(const IniDocument& doc, const IniEntry& entry) const {
        for (size_t i = 0; i < doc.sections.size(); ++i) {
            const std::vector<IniEntry>& entries = doc.sections[i].entries;
            if (!entries.empty() && &entry >= entries.data() && &entry < entries.data() + entries.size())
                return numbering_.sections[i].entries[static_cast<size_t>(&entry - entries.data())];
        }
        return 0;
    }

    void CheckEncoding(const std::u16string& file, const std::string& bytes) {
        const TextEncoding encoding = DetectEncoding(bytes);
        size_t first = 0;
        if (encoding == TextEncoding::Ansi && ValidUtf8WithNonAscii(bytes, first)) {
            const std::u16string garbled = codec_.AnsiToUtf16(bytes.substr(first, std::min<size_t>(12, bytes.size() - first)));
            Add(Severity::Warning, file, LineOfOffset(bytes, first),
                file + u" is UTF-8 without a byte-order mark: the installer reads it as Shift-JIS and its non-ASCII text is garbled (it reads \"" +
                    garbled + u"…\")",
                u"save it as UTF-8 with a byte-order mark (or in Shift-JIS)");
            return;
        }
        const std::u16string decoded = DecodeText(bytes, codec_);
        const size_t bad = decoded.find(u'\xFFFD');
        if (bad != std::u16string::npos) {
            int line = 1;
            for (size_t i = 0; i < bad; ++i) {
                if (decoded[i] == u'\n' || (decoded[i] == u'\r' && (i + 1 >= decoded.size() || decoded[i + 1] != u'\n'))) ++line;
            }
            Add(Severity::Warning, file, line,
                file + u" holds bytes that are not valid in its encoding (" +
                    (encoding == TextEncoding::Ansi ? std::u16string(u"Shift-JIS, no byte-order mark") : std::u16string(u"by its byte-order mark")) +
                    u"): they are read as replacement characters",
                u"save it again as UTF-8 with a byte-order mark");
        }
    }

    struct KnownKey {
        std::u16string name;
        std::u16string section;
    };

    std::vector<std::u16string> KeysOf(const std::u16string& section) const {
        std::vector<std::u16string> keys;
        for (const SettingKey& k : SettingKeys()) {
            if (section.empty() || k.section == section) keys.push_back(k.key);
        }
        return keys;
    }

    const SettingKey* KeyNamed(const std::u16string& name) {
        const std::u16string upper = codec_.UpperCase(name);
        for (const SettingKey& k : SettingKeys()) {
            if (codec_.UpperCase(k.key) == upper) return &k;
        }
        return nullptr;
    }

    std::u16string SectionNamed(const std::u16string& name) {
        const std::u16string upper = codec_.UpperCase(name);
        for (const char16_t* known : {u"Caption", u"Application"}) {
            if (codec_.UpperCase(known) == upper) return known;
        }
        return {};
    }

    std::u16string LineText(int line) const {
        return line >= 1 && static_cast<size_t>(line) <= lines_.size() ? text::TrimControls(lines_[line - 1]) : std::u16string();
    }

    // A further-setup key with its number written wrongly: the message, or empty.
    std::u16string NumberingProblem(const std::u16string& key, std::u16string& fix) {
        for (const char16_t* stem : {u"SetupOtherName", u"SetupOtherApp"}) {
            const std::u16string s = stem;
            if (key.size() <= s.size() || AsciiUpper(key.substr(0, s.size())) != AsciiUpper(s)) continue;
            const std::u16string digits = key.substr(s.size());
            if (!std::all_of(digits.begin(), digits.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; })) continue;
            int number = 0;
            for (char16_t c : digits) number = std::min(number * 10 + (c - u'0'), 1000);
            if (digits.size() == 1 && number >= 1 && number <= 5) {
                fix = u"write " + s + u"0" + digits;
                return key + u": the installer reads only two-digit numbers; this entry is never read";
            }
            fix = u"use one of " + s + u"01 to " + s + u"05";
            return key + u": the installer reads only the entries 01 to 05; this entry is never read";
        }
        return {};
    }

    void CheckStructure(const IniDocument& doc) {
        for (int line : numbering_.beforeFirstSection) {
            const std::u16string textOfLine = LineText(line);
            std::u16string fix = u"move it into its section";
            const size_t eq = textOfLine.find(u'=');
            if (eq != std::u16string::npos) {
                if (const SettingKey* k = KeyNamed(text::TrimControls(std::u16string_view(textOfLine).substr(0, eq))))
                    fix = u"move it below [" + std::u16string(k->section) + u"]";
            }
            Add(Severity::Warning, kInformation, line,
                Quoted(textOfLine) + u" stands before the first section: the installer never reads it", fix);
        }

        std::map<std::u16string, int> firstLineOf;  // upper-cased section name -> line
        for (size_t i = 0; i < doc.sections.size(); ++i) {
            const IniSection& section = doc.sections[i];
            const NumberedSection& numbers = numbering_.sections[i];
            const std::u16string upper = codec_.UpperCase(section.name);
            const std::u16string known = SectionNamed(section.name);
            const auto [first, isFirst] = firstLineOf.emplace(upper, numbers.line);
            if (known.empty()) {
                if (!isFirst) continue;
                const std::u16string nearest = NearestName(section.name, {u"Caption", u"Application"});
                Add(Severity::Warning, kInformation, numbers.line,
                    u"[" + section.name + u"]: not a section the installer reads; its keys are ignored" +
                        (nearest.empty() ? std::u16string() : u"; did you mean [" + nearest + u"]?"),
                    nearest.empty() ? u"use [Caption] or [Application]" : u"rename it [" + nearest + u"]");
                continue;
            }
            if (!isFirst) {
                Add(Severity::Warning, kInformation, numbers.line,
                    u"a second [" + section.name + u"] section: the installer reads only the first one (line " +
                        text::FromInt(first->second) + u"); the keys of this one are never read",
                    u"move its keys into the first [" + known + u"] section");
                continue;
            }
            CheckEntries(section, numbers, known);
        }
    }

    void CheckEntries(const IniSection& section, const NumberedSection& numbers, const std::u16string& sectionName) {
        std::map<std::u16string, size_t> seen;  // upper-cased key -> its first entry
        for (size_t k = 0; k < section.entries.size(); ++k) {
            const IniEntry& entry = section.entries[k];
            const int line = numbers.entries[k];
            const std::u16string upper = codec_.UpperCase(entry.key);
            const auto [earlier, isFirst] = seen.emplace(upper, k);
            const SettingKey* key = KeyNamed(entry.key);
            if (key && key->section == sectionName) {
                if (!isFirst) {
                    Add(Severity::Warning, kInformation, line,
                        entry.key + u" repeats line " + text::FromInt(numbers.entries[earlier->second]) +
                            u": the installer takes the first value " + Quoted(section.entries[earlier->second].value) +
                            u" and ignores " +
                            Quoted(entry.value),
                        u"keep one " + key->key + u" line");
                    continue;
                }
                CheckValue(*key, entry, line);
                continue;
            }
            if (!isFirst) continue;  // an ignored key reported once
            if (key) {
                Add(Severity::Warning, kInformation, line,
                    entry.key + u": read from [" + key->section + u"], not from [" + sectionName + u"]; this line is ignored",
                    u"move it into the [" + std::u16string(key->section) + u"] section");
                continue;
            }
            std::u16string fix;
            std::u16string message = NumberingProblem(entry.key, fix);
            if (message.empty()) {
                const std::u16string nearest = NearestName(entry.key, KeysOf({}));
                message = entry.key + u": not a key the installer reads" +
                          (nearest.empty() ? std::u16string() : u"; did you mean " + nearest + u"?");
                if (!nearest.empty()) fix = u"write " + nearest;
            }
            Add(Severity::Warning, kInformation, line, message, fix);
        }
        for (int line : numbers.withoutEquals)
            Add(Severity::Note, kInformation, line, Quoted(LineText(line)) + u" has no \"=\": it defines nothing");
    }

    void CheckValue(const SettingKey& key, const IniEntry& entry, int line) {
        if (key.key != u"UpDate" && key.key != u"UpDateShortCut") return;
        const std::u16string upper = AsciiUpper(entry.value);
        static const char16_t* const kYesLike[] = {u"YES", u"Y", u"TRUE", u"ON", u"1", u"はい"};
        if (entry.value == u"Yes") return;
        for (const char16_t* yes : kYesLike) {
            if (upper == yes) {
                Add(Severity::Warning, kInformation, line,
                    key.key + u"=" + entry.value + u" looks like yes, but only exactly \"Yes\" counts: " +
                        (key.key == u"UpDate" ? u"the wizard runs instead of the update mode"
                                              : u"the update mode creates no desktop shortcut"),
                    u"write " + key.key + u"=Yes");
                return;
            }
        }
    }

    void ListSettings() {
        for (const SettingKey& k : SettingKeys()) report_.settings.push_back({k.key, k.field(s_), OriginOf(k.key)});
        report_.derived = {
            {u"ExeDir", s_.ExeDir},
            {u"DisplayName", s_.DisplayName},
            {u"SetupTitle", s_.SetupTitle},
            {u"WindowCaption", run_.windowCaption},
            {u"DefaultInstallDir", s_.DefaultInstallDir},
            {u"InstallDir", s_.InstallDir},
            {u"WorkingFolder", working_},
            {u"UpdateMode", report_.updateMode ? u"on" : u"off"},
        };
        if (!report_.updateMode && s_.UpDateShortCut == u"Yes")
            Add(Severity::Note, FileOf(u"UpDateShortCut"), OriginOf(u"UpDateShortCut"),
                u"UpDateShortCut=Yes has no effect: it is read only in the update mode (UpDate=Yes)");
    }

    // --- Files the run needs ---------------------------------------------------

    void CheckLicence() {
        const std::u16string path = s_.ExeDir + u"\\" + kLicence;
        if (!fs_.FileExists(path)) {
            Add(Severity::Warning, kLicence, 0,
                u"license.txt not found: the licence page stays empty and the log records " + Logged(path, u"it missing"),
                u"put license.txt beside the installer");
            return;
        }
        std::string bytes;
        const SysResult read = fs_.ReadAllDenyWrite(path, bytes);
        if (!read.ok) {
            Add(Severity::Error, kLicence, 0,
                u"license.txt cannot be read (" + TrimDescription(read.description) + u"): the installer shows its open-error box at start",
                u"give read access to the file");
            return;
        }
        CheckEncoding(kLicence, bytes);
    }

    void CheckPicture() {
        if (s_.Image01.empty()) return;
        const std::u16string path = s_.ExeDir + s_.Image01;
        if (!fs_.FileExists(path)) {
            Add(Severity::Warning, FileOf(u"Image01"), OriginOf(u"Image01"),
                u"picture " + Quoted(s_.Image01) + u" not found beside the installer: the built-in side pictures are shown",
                u"put the picture beside the installer or correct Image01");
            return;
        }
        const std::u16string name = text::NamePart(path);
        const size_t dot = name.rfind(u'.');
        const std::u16string extension = dot == std::u16string::npos ? std::u16string() : name.substr(dot + 1);
        const std::u16string upper = codec_.UpperCase(extension);
        const bool known = std::any_of(std::begin(kPictureExtensions), std::end(kPictureExtensions),
                                       [&](const char16_t* e) { return upper == e; });
        if (!known)
            Add(Severity::Error, FileOf(u"Image01"), OriginOf(u"Image01"),
                u"picture " + Quoted(s_.Image01) + u": the installer does not load this extension and shows " +
                    Shown(StartUpErrorBox(), u"an error box") + u" at start",
                u"save the picture as .bmp, .png, .gif, .jpg, .tif, .ico, .wmf or .emf");
    }

    void Walk(const std::u16string& folder, const std::u16string& relative) {
        std::vector<FolderEntry> entries;
        if (!fs_.ListFolder(folder, entries).ok) return;
        for (const FolderEntry& e : entries) {
            const std::u16string path = WithSeparator(folder) + e.name;
            const std::u16string rel = relative.empty() ? e.name : relative + u"\\" + e.name;
            if (e.isFolder) {
                ++report_.copyFolders;
                Walk(path, rel);
                continue;
            }
            ++report_.copyFiles;
            if (opt_.fileSize) {
                if (const std::optional<uint64_t> size = SizeOf(path)) report_.copyBytes += *size;
            }
            const size_t targetLength = WithSeparator(s_.InstallDir).size() + rel.size();
            if (targetLength >= 260) {
                ++longTargets_;
                if (longExample_.empty()) longExample_ = rel;
            }
        }
    }

    // The size of a file, asked of the system once: the simulated copy and the
    // copy figures ask for the same files.
    std::optional<uint64_t> SizeOf(const std::u16string& path) {
        const auto [slot, inserted] = sizes_.try_emplace(path);
        if (inserted) slot->second = opt_.fileSize(path);
        return slot->second;
    }

    void CheckProductFolder() {
        const std::u16string line = FileOf(u"CopyFolderName");
        const int at = OriginOf(u"CopyFolderName");
        productUsable_ = AcceptPath(fs_, product_, PathKind::Folder, false) == PathVerdict::Accepted && fs_.FolderExists(product_);
        if (!productUsable_) {
            Add(Severity::Error, line, at,
                u"product folder " + Quoted(product_) + u" (ExeDir + CopyFolderName) not found: " +
                    (report_.updateMode ? u"the update would fail with " : u"the installation would stop with ") +
                    Shown(LastBox(), u"its copy-failure box", u""),
                u"put the product folder beside the installer or correct CopyFolderName");
            return;
        }
        Walk(product_, {});
        // A refused target folder is reported on its own; its files are not counted again.
        if (longTargets_ && AcceptPath(fs_, s_.InstallDir, PathKind::Folder, false) == PathVerdict::Accepted)
            Add(Severity::Warning, std::u16string(), 0,
                text::FromInt(static_cast<long long>(longTargets_)) +
                    u" target paths would be 260 characters or longer (e.g. " + WithSeparator(s_.InstallDir) + longExample_ +
                    u"): those files cannot be copied",
                u"choose a shorter FolderName or flatten the product folder");

        const bool shortcutsPlanned = !report_.updateMode || s_.UpDateShortCut == u"Yes";
        if (shortcutsPlanned && !fs_.FileExists(productPrefix_ + s_.ShortCutApp))
            Add(Severity::Warning, FileOf(u"ShortCutApp"), OriginOf(u"ShortCutApp"),
                u"ShortCutApp " + Quoted(s_.ShortCutApp) + u" is not in the product folder: the shortcuts would be logged " +
                    Logged((report_.updateMode ? s_.FolderName : s_.InstallDir) + u"\\" + s_.ShortCutApp, u"as not found"),
                u"put the program into " + product_ + u" or correct ShortCutApp");
        if (shortcutsPlanned && !fs_.FileExists(productPrefix_ + s_.ShortCutIco))
            Add(Severity::Warning, FileOf(u"ShortCutIco"), OriginOf(u"ShortCutIco"),
                u"ShortCutIco " + Quoted(s_.ShortCutIco) + u" is not in the product folder: the shortcuts would have no icon",
                u"put the icon into " + product_ + u" or correct ShortCutIco");
    }

    void CheckFurtherSetups() {
        if (report_.updateMode) return;  // the update mode runs no further setups
        for (size_t n = 0; n < s_.SetupOtherApp.size(); ++n) {
            const std::u16string number = u"0" + text::FromInt(static_cast<long long>(n + 1));
            const std::u16string appKey = u"SetupOtherApp" + number;
            const std::u16string nameKey = u"SetupOtherName" + number;
            const std::u16string& app = s_.SetupOtherApp[n];
            if (app.empty()) {
                if (!s_.SetupOtherName[n].empty())
                    Add(Severity::Note, FileOf(nameKey), OriginOf(nameKey),
                        nameKey + u" is set but " + appKey + u" is empty: the slot is skipped");
                continue;
            }
            if (!fs_.FileExists(s_.ExeDir + u"\\" + app))
                Add(Severity::Warning, FileOf(appKey), OriginOf(appKey),
                    appKey + u" " + Quoted(app) + u" not found beside the installer: the run logs " +
                        Logged(s_.ExeDir + u"\\" + app, u"it as not found") + u" and goes on",
                    u"put the program beside the installer or correct " + appKey);
            if (s_.SetupOtherName[n].empty())
                Add(Severity::Note, FileOf(appKey), OriginOf(appKey),
                    appKey + u" has no " + nameKey + u": " +
                        Shown(BoxAfterLineEndingWith(app), u"its notice and its caption begin with a blank", u"its notice reads "));
        }
    }

    void CheckCompanion() {
        if (report_.updateMode) {
            if (!fs_.FileExists(s_.ExeDir + u"\\" + kCompanion))
                Add(Severity::Warning, std::u16string(), 0,
                    u"Kelvora_Auth.exe not found beside the installer: the update cannot add it where it is missing",
                    u"put Kelvora_Auth.exe beside the installer");
        } else if (productUsable_ && !fs_.FileExists(productPrefix_ + kCompanion)) {
            Add(Severity::Warning, std::u16string(), 0,
                u"Kelvora_Auth.exe not in the product folder: the finish page's start of it would fail",
                u"put Kelvora_Auth.exe into " + product_);
        }
    }

    void CheckPaths() {
        const std::u16string file = FileOf(u"FolderName");
        const int line = OriginOf(u"FolderName");
        if (!s_.FolderName.empty() && !IsAbsolute(s_.FolderName))
            Add(Severity::Warning, file, line,
                u"FolderName " + Quoted(s_.FolderName) + u" is relative: the installer completes it against its working folder (here " +
                    s_.InstallDir + u")",
                u"write a full path such as C:\\Drosvik\\VORN6");
        const PathVerdict verdict = AcceptPath(fs_, s_.InstallDir, PathKind::Folder, true);
        switch (verdict) {
            case PathVerdict::Accepted: break;
            case PathVerdict::MissingDrive:
                Add(Severity::Warning, file, line,
                    u"FolderName " + Quoted(s_.FolderName) + u": its drive does not exist here; the copy is refused where it is missing",
                    u"install onto C:");
                break;
            default: {
                static const std::map<PathVerdict, const char16_t*> kWhy = {
                    {PathVerdict::Empty, u"is empty"},
                    {PathVerdict::BadCharacter, u"holds a character Windows paths cannot hold (control characters, \" < > |)"},
                    {PathVerdict::MisplacedColon, u"holds a \":\" elsewhere than after the drive letter"},
                    {PathVerdict::TooLong, u"is 248 characters or longer"},
                };
                Add(Severity::Error, file, line,
                    u"FolderName " + Quoted(s_.FolderName) + u" " + kWhy.at(verdict) + u": the installer refuses the copy into it",
                    u"write a full folder path such as C:\\Drosvik\\VORN6");
            }
        }
        if (!report_.updateMode && s_.StertMenuName.find_first_of(u"\\/") != std::u16string::npos)
            Add(Severity::Warning, FileOf(u"StertMenuName"), OriginOf(u"StertMenuName"),
                u"StertMenuName " + Quoted(s_.StertMenuName) +
                    u" holds a separator: the installer creates one folder level only, so its parent must already exist in the start menu",
                u"use a single folder name");
    }

    void CheckAnsiPaths() {
        std::vector<std::pair<std::u16string, std::u16string>> paths = {
            {u"ExeDir", s_.ExeDir},           {u"CopyFolderName", s_.CopyFolderName}, {u"FolderName", s_.InstallDir},
            {u"ShortCutApp", s_.ShortCutApp}, {u"ShortCutName", s_.ShortCutName},     {u"StertMenuName", s_.StertMenuName},
            {u"Image01", s_.Image01}};
        for (size_t n = 0; n < s_.SetupOtherApp.size(); ++n)
            paths.push_back({u"SetupOtherApp0" + text::FromInt(static_cast<long long>(n + 1)), s_.SetupOtherApp[n]});
        for (const auto& [name, value] : paths) {
            if (value.empty() || codec_.AnsiToUtf16(codec_.Utf16ToAnsi(value)) == value) continue;
            Add(Severity::Warning, FileOf(name), OriginOf(name),
                name + u" " + Quoted(value) + u" holds characters Shift-JIS cannot hold: the setup log shows them as " +
                    Quoted(codec_.AnsiToUtf16(codec_.Utf16ToAnsi(value))),
                u"use characters of the Japanese code page");
        }
    }

    // --- What the simulated installer showed and logged -----------------------

    void Simulate() {
        SimulationOptions o;
        o.exeDir = s_.ExeDir;
        o.workingFolder = working_;
        o.desktopFolder = opt_.desktopFolder;
        o.programsFolder = opt_.programsFolder;
        o.symbolicFolders = opt_.symbolicFolders;
        o.desktopShortcut = opt_.desktopShortcut;
        o.startMenuShortcut = opt_.startMenuShortcut;
        o.startOnFinish = opt_.startOnFinish;
        o.confirm = opt_.confirm;
        if (opt_.fileSize) o.fileSize = [this](const std::u16string& path) { return SizeOf(path); };
        run_ = SimulateInstaller(fs_, codec_, o);
    }

    // `what` in quotes, after `lead`; `otherwise` when there is nothing to quote.
    static std::u16string Shown(const std::u16string& what, const std::u16string& otherwise,
                                const std::u16string& lead = u"the error box ") {
        return what.empty() ? otherwise : lead + Quoted(what);
    }

    // The first setup-log line of the run that names `path` last, quoted.
    std::u16string Logged(const std::u16string& path, const std::u16string& otherwise) const {
        for (const std::u16string& line : run_.log) {
            if (text::EndsWith(line, path)) return Quoted(line);
        }
        return otherwise;
    }

    // The error box shown while the window was being built.
    std::u16string StartUpErrorBox() const {
        for (const SimEvent& e : run_.events) {
            if (e.kind == SimEvent::Kind::ErrorBox && e.logLines == static_cast<size_t>(-1)) return e.text;
        }
        return {};
    }

    // The text of the last message box of the run.
    std::u16string LastBox() const {
        for (auto e = run_.events.rbegin(); e != run_.events.rend(); ++e) {
            if (e->kind == SimEvent::Kind::MessageBox) return e->text;
        }
        return {};
    }

    // The text of the first message box shown right after a log line that ends with `tail`.
    std::u16string BoxAfterLineEndingWith(const std::u16string& tail) const {
        for (const SimEvent& e : run_.events) {
            if (e.kind != SimEvent::Kind::MessageBox || e.logLines == 0 || e.logLines > run_.log.size()) continue;
            if (text::EndsWith(run_.log[e.logLines - 1], tail)) return e.text;
        }
        return {};
    }

    FileSystem& fs_;
    Codec& codec_;
    const Options& opt_;
    InstallerSettings s_;
    std::map<std::u16string, int> origins_;  // key -> the line that set it
    Numbering numbering_;
    std::vector<std::u16string> lines_;
    std::u16string working_;
    std::u16string product_;
    std::u16string productPrefix_;
    bool productUsable_ = false;
    uint64_t longTargets_ = 0;
    std::u16string longExample_;
    std::unordered_map<std::u16string, std::optional<uint64_t>> sizes_;
    SimulatedRun run_;
    Report report_;
};

}  // namespace

std::u16string NearestName(const std::u16string& name, const std::vector<std::u16string>& known) {
    const std::u16string upper = AsciiUpper(name);
    std::u16string best;
    size_t bestDistance = SIZE_MAX;
    for (const std::u16string& k : known) {
        const size_t d = Distance(upper, AsciiUpper(k));
        if (d < bestDistance) {
            bestDistance = d;
            best = k;
        }
    }
    const size_t allowed = std::max<size_t>(2, best.size() / 3);
    return bestDistance <= allowed ? best : std::u16string();
}

Report CheckDistribution(FileSystem& fs, Codec& codec, const Options& options) {
    return Checker(fs, codec, options).Run();
}

}  // namespace check
