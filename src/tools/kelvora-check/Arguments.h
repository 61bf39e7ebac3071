// The command line of kelvora-check, shared by the Linux and Windows entries.
#pragma once
#include <string>
#include <vector>

namespace check {

struct Arguments {
    std::string folder;
    std::string workingFolder;
    bool json = false;
    // The simulated user's choices for the plan.
    bool desktopShortcut = true;
    bool startMenuShortcut = true;
    bool startOnFinish = false;
    bool confirm = true;
    std::string error;  // not empty when the command line is wrong
};

constexpr int kUsageExitCode = 3;

inline const char* Usage() {
    return "usage: kelvora-check <distribution folder> [--working-folder DIR] [--json]\n"
           "                     [--no-desktop-shortcut] [--no-start-menu-shortcut] [--start-on-finish] [--cancel]\n"
           "the plan's user ticks both shortcut tasks, leaves the finish page's box unticked and answers\n"
           "every question with OK, unless told otherwise (--cancel: Cancel to every question)\n"
           "exit code: 0 clean, 1 warnings, 2 errors, 3 usage or unreadable folder\n";
}

// Arguments as UTF-8.
inline Arguments ParseArguments(const std::vector<std::string>& args) {
    Arguments a;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--json") {
            a.json = true;
        } else if (args[i] == "--no-desktop-shortcut") {
            a.desktopShortcut = false;
        } else if (args[i] == "--no-start-menu-shortcut") {
            a.startMenuShortcut = false;
        } else if (args[i] == "--start-on-finish") {
            a.startOnFinish = true;
        } else if (args[i] == "--cancel") {
            a.confirm = false;
        } else if (args[i] == "--working-folder") {
            if (i + 1 >= args.size()) {
                a.error = "--working-folder needs a folder";
                return a;
            }
            a.workingFolder = args[++i];
        } else if (args[i] == "-h" || args[i] == "--help") {
            a.error = "help";
            return a;
        } else if (!args[i].empty() && args[i][0] == '-') {
            a.error = "unknown option " + args[i];
            return a;
        } else if (a.folder.empty()) {
            a.folder = args[i];
        } else {
            a.error = "one distribution folder only";
            return a;
        }
    }
    if (a.error.empty() && a.folder.empty()) a.error = "no distribution folder given";
    return a;
}

}  // namespace check
