// The copy that bench/copy_bench.sh times: CopyFolder over a tree the script
// built. It runs only when the script names the folders; a normal test run
// skips it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

#include "FileOperationsPlatform.h"
#include "install/FileOperations.h"
#include "platform/Text.h"

TEST(FileOperationsBench, CopyFolderForTheBenchScript) {
    const char* source = std::getenv("KELVORA_BENCH_SOURCE");
    const char* target = std::getenv("KELVORA_BENCH_TARGET");
    if (!source || !target) GTEST_SKIP() << "run by bench/copy_bench.sh";
    inst::RealEngine e;
    const std::u16string s = text::FromUtf8(source), t = text::FromUtf8(target);
    const ULONGLONG start = GetTickCount64();
    const bool failed = CopyFolder(e.ctx, s, t);
    std::cout << "copyfolder_ms=" << (GetTickCount64() - start) << "\n";
    EXPECT_FALSE(failed);
    EXPECT_EQ(e.Lines(), std::vector<std::u16string>{u"OK : Folder Copy : " + s + u" " + t});
}
