// The copy that bench/copy_bench.sh times: CopyFolder of the installation
// engine, on the real Win32 platform layer, over a tree the script built.
//   copy_folder.exe <source folder> <target folder>
// Prints copyfolder_ms=<milliseconds>. Exit code 0 when the copy reported
// success with its one log line, 1 otherwise (the log lines are printed), 2
// on wrong arguments.
#include <cstdio>
#include <string>
#include <vector>

#include "FileOperationsPlatform.h"
#include "install/FileOperations.h"
#include "platform/Text.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fwprintf(stderr, L"usage: copy_folder <source folder> <target folder>\n");
        return 2;
    }
    inst::RealEngine e;
    const std::u16string source = U(argv[1]), target = U(argv[2]);
    const ULONGLONG start = GetTickCount64();
    const bool failed = CopyFolder(e.ctx, source, target);
    std::printf("copyfolder_ms=%llu\n", static_cast<unsigned long long>(GetTickCount64() - start));
    const std::vector<std::u16string> expected{u"OK : Folder Copy : " + source + u" " + target};
    if (!failed && e.Lines() == expected) return 0;
    std::printf("CopyFolder reported %s; its log:\n", failed ? "failure" : "success");
    for (const std::u16string& line : e.Lines()) std::printf("%s\n", text::ToUtf8(line).c_str());
    return 1;
}
