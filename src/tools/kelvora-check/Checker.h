// The distribution checker: reads a distribution folder with the installer's
// own settings reader and path rules and reports the effective settings and
// the findings; the plan is the installer's own run there, made on a
// simulating platform (Simulation.h).
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class Codec;
class FileSystem;

namespace check {

enum class Severity { Error, Warning, Note };
const char* SeverityName(Severity s);

struct Finding {
    Severity severity = Severity::Note;
    std::u16string file;  // a file name of the distribution folder, or empty
    int line = 0;         // 1-based line in that file, 0 for none
    std::u16string message;
    std::u16string fix;  // empty when no fix is clear
};

// One configured field: its name (the key), value and origin.
struct SettingRow {
    std::u16string name;
    std::u16string value;
    int line = 0;  // the line of Information.txt that set it; 0 = built-in default
};

struct DerivedRow {
    std::u16string name;
    std::u16string value;
};

// One step of the run as the installer made it in a simulation: what it
// asked of the system, with the setup-log lines it wrote after that (none
// for some).
struct PlanStep {
    std::u16string action;
    std::vector<std::u16string> logLines;
    std::u16string detail;  // of a copy, e.g. "12 files, 3 folders, 3456 bytes"
};

struct Report {
    std::u16string distributionFolder;  // ExeDir
    std::vector<SettingRow> settings;
    std::vector<DerivedRow> derived;
    bool updateMode = false;
    bool desktopShortcut = true;    // the tasks the plan's run was given
    bool startMenuShortcut = true;
    std::vector<Finding> findings;
    std::vector<PlanStep> plan;
    uint64_t copyFiles = 0;
    uint64_t copyFolders = 0;
    uint64_t copyBytes = 0;

    int ExitCode() const;  // 0 clean or notes only, 1 warnings, 2 an error
    // Every log line of the plan, in order: the setup log of that run.
    std::vector<std::u16string> LogLines() const;
};

struct Options {
    // The distribution folder as a Windows path; the installer's ExeDir.
    std::u16string exeDir;
    // The working folder the installer would be started in (relative
    // FolderName values are completed against it); empty = exeDir.
    std::u16string workingFolder;
    // The shell's desktop and start-menu programs folders. Symbolic ones (on
    // Linux) exist only in the simulation, empty, and are never completed;
    // real ones are the machine's.
    std::u16string desktopFolder = u"<Desktop>";
    std::u16string programsFolder = u"<Programs>";
    bool symbolicFolders = true;
    // The simulated user's choices: the two additional tasks, the finish
    // page's box, and OK (or Cancel) to every question.
    bool desktopShortcut = true;
    bool startMenuShortcut = true;
    bool startOnFinish = false;
    bool confirm = true;
    // The size of a file, for the copy figures; none when unknown.
    std::function<std::optional<uint64_t>(const std::u16string&)> fileSize;
};

Report CheckDistribution(FileSystem& fs, Codec& codec, const Options& options);

// The known name nearest to `name` (letter case ignored), or empty when none is close.
std::u16string NearestName(const std::u16string& name, const std::vector<std::u16string>& known);

}  // namespace check
