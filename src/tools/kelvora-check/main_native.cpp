// kelvora-check on Linux: the distribution folder becomes drive D:, so the
// installer's Windows paths and rules apply unchanged.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <limits.h>

#include "Arguments.h"
#include "Checker.h"
#include "Output.h"
#include "platform/Text.h"
#include "platform/native/NativeCodec.h"
#include "platform/native/PosixFileSystem.h"

int main(int argc, char** argv) {
    const check::Arguments args = check::ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!args.error.empty()) {
        if (args.error != "help") std::fprintf(stderr, "kelvora-check: %s\n", args.error.c_str());
        std::fputs(check::Usage(), args.error == "help" ? stdout : stderr);
        return args.error == "help" ? 0 : check::kUsageExitCode;
    }
    char resolved[PATH_MAX];
    if (!realpath(args.folder.c_str(), resolved)) {
        std::fprintf(stderr, "kelvora-check: cannot open the folder %s\n", args.folder.c_str());
        return check::kUsageExitCode;
    }
    const std::string root = resolved;
    PosixFileSystem fs(root);
    NativeCodec codec;
    if (!fs.FolderExists(fs.Root())) {
        std::fprintf(stderr, "kelvora-check: %s is not a folder\n", args.folder.c_str());
        return check::kUsageExitCode;
    }

    check::Options options;
    options.desktopShortcut = args.desktopShortcut;
    options.startMenuShortcut = args.startMenuShortcut;
    options.startOnFinish = args.startOnFinish;
    options.confirm = args.confirm;
    options.exeDir = fs.Root();
    if (!args.workingFolder.empty()) {
        // A Linux folder inside the distribution folder is named by its place on
        // drive D:; anything else is taken as a Windows path of the target machine.
        std::u16string working = text::FromUtf8(args.workingFolder);
        char inside[PATH_MAX];
        if (args.workingFolder[0] == '/' && realpath(args.workingFolder.c_str(), inside)) {
            const std::string host = inside;
            if (host == root || host.rfind(root + "/", 0) == 0) {
                working = fs.Root() + text::FromUtf8(host.substr(root.size() + (host == root ? 0 : 1)));
                for (char16_t& c : working) c = c == u'/' ? u'\\' : c;
            }
        }
        options.workingFolder = fs.FullPath(working);
        fs.currentFolder = options.workingFolder;
    }
    options.fileSize = [&fs](const std::u16string& path) { return fs.FileSize(path); };

    const check::Report report = check::CheckDistribution(fs, codec, options);
    const std::string out = args.json ? check::FormatJson(report) : check::FormatText(report);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return report.ExitCode();
}
