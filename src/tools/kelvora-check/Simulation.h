// The installer's own start-up, installation run and update, run against a
// distribution folder on a platform that only pretends: the file system
// answers reads from the real folder and records the folders, copies and
// files it is asked to make without making them, answering every later
// question as if it had; the shell records the programs it is asked to start;
// the message boxes answer as the packager chose. What the installer would
// do and log there is what it does and logs here.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class Codec;
class FileSystem;
class SetupLog;

namespace check {

// One thing the installer asked of the system, in the order it asked.
struct SimEvent {
    enum class Kind {
        Phase,           // the checker moved the installer on: text
        Read,            // path read whole (ok: whether it could be)
        FolderCreated,   // path
        FileCopied,      // other (source) to path, bytes
        FileMoved,       // other (from) to path
        FileRemoved,     // path
        FileWritten,     // path created and written, bytes
        LinkSaved,       // path (the .lnk), other (its target), text (its icon, or empty)
        LinkRefused,     // path (the .lnk) whose folder does not exist
        MessageBox,      // other (caption), text, flags, answer
        ErrorBox,        // text
        ProgramStarted,  // path, other (its folder), waited
    };
    Kind kind = Kind::Phase;
    std::u16string path;
    std::u16string other;
    std::u16string text;
    uint64_t bytes = 0;
    unsigned flags = 0;
    int answer = 0;
    bool ok = true;
    bool waited = false;
    // How many setup-log lines had been written before this event; npos while
    // the window is being built (its log is not reachable then).
    size_t logLines = static_cast<size_t>(-1);
};

// What the simulated user and machine are like.
struct SimulationOptions {
    std::u16string exeDir;          // the distribution folder, a full Windows path
    std::u16string workingFolder;   // where the installer is started; relative paths complete against it
    std::u16string installerName = u"KelvoraInstall.exe";
    // The shell's desktop and start-menu programs folders. Symbolic ones
    // ("<Desktop>") exist only in the simulation and are never completed.
    std::u16string desktopFolder;
    std::u16string programsFolder;
    bool symbolicFolders = false;
    // The packager's choices for the user: the two additional tasks, the
    // finish page's box, and the answer to every question (OK, or Cancel).
    bool desktopShortcut = true;
    bool startMenuShortcut = true;
    bool startOnFinish = false;
    bool confirm = true;
    // The size of a file of the real folder; none when unknown.
    std::function<std::optional<uint64_t>(const std::u16string&)> fileSize;
};

struct SimulatedRun {
    std::vector<SimEvent> events;
    std::vector<std::u16string> log;  // the setup log's lines
    std::u16string windowCaption;     // the caption the window was left with
    bool windowBuilt = false;
    bool installationRan = false;     // the wizard reached the installing page
    bool finishReached = false;       // the run armed the step to the finish page
};

// Builds the installer's window on the simulated platform, shows it, and
// either lets its update mode run or takes the wizard to the installing page
// and runs the installation, then the finish page; closes it, which saves the
// setup log (into the simulation).
SimulatedRun SimulateInstaller(FileSystem& folder, Codec& codec, const SimulationOptions& options);

}  // namespace check
