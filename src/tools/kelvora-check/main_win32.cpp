// kelvora-check.exe: the Windows console program, on the installer's own
// Win32 file system, code page and shell folders.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Arguments.h"
#include "Checker.h"
#include "Output.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "platform/win32/Win32Codec.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Shell.h"

namespace {
std::u16string U16(const wchar_t* s) { return std::u16string(reinterpret_cast<const char16_t*>(s)); }
}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> utf8;
    for (int i = 1; i < argc; ++i) utf8.push_back(text::ToUtf8(U16(argv[i])));
    const check::Arguments args = check::ParseArguments(utf8);
    if (!args.error.empty()) {
        if (args.error != "help") std::fprintf(stderr, "kelvora-check: %s\n", args.error.c_str());
        std::fputs(check::Usage(), args.error == "help" ? stdout : stderr);
        return args.error == "help" ? 0 : check::kUsageExitCode;
    }
    Win32FileSystem fs;
    Win32Codec codec;
    Win32Shell shell([]() -> void* { return nullptr; });

    check::Options options;
    options.desktopShortcut = args.desktopShortcut;
    options.startMenuShortcut = args.startMenuShortcut;
    options.startOnFinish = args.startOnFinish;
    options.confirm = args.confirm;
    options.exeDir = fs.FullPath(text::FromUtf8(args.folder));
    if (!fs.FolderExists(options.exeDir)) {
        std::fprintf(stderr, "kelvora-check: %s is not a folder\n", args.folder.c_str());
        return check::kUsageExitCode;
    }
    if (!args.workingFolder.empty()) options.workingFolder = fs.FullPath(text::FromUtf8(args.workingFolder));
    const std::u16string desktop = shell.SpecialFolder(csidl::DesktopDirectory, 2048);
    const std::u16string programs = shell.SpecialFolder(csidl::Programs, 260);
    if (!desktop.empty() && !programs.empty()) {
        options.desktopFolder = desktop;
        options.programsFolder = programs;
        options.symbolicFolders = false;
    }
    options.fileSize = [](const std::u16string& path) -> std::optional<uint64_t> {
        std::error_code ec;
        const auto size = std::filesystem::file_size(std::filesystem::path(reinterpret_cast<const wchar_t*>(path.c_str())), ec);
        if (ec) return std::nullopt;
        return static_cast<uint64_t>(size);
    };

    const check::Report report = check::CheckDistribution(fs, codec, options);
    const std::string out = args.json ? check::FormatJson(report) : check::FormatText(report);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return report.ExitCode();
}
