// A read-only target file under a copy. Wine lets root write read-only files,
// so this runs only where the system refuses the write (an unprivileged user
// with a prefix of its own), e.g.
//   setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME=<home> WINEPREFIX=<prefix owned by nobody>
//       wine win32_tests.exe --gtest_filter=FileOperationsReadOnly.*
#include <gtest/gtest.h>

#include "FileOperationsPlatform.h"
#include "install/FileOperations.h"

namespace {

// Files installed from a disc carry its read-only attribute; a later copy
// replaces them all the same, and the copy carries its source's attribute.
TEST(FileOperationsReadOnly, AReadOnlyTargetFileIsReplaced) {
    const std::u16string root = inst::Scratch(u"readonly");
    if (!wtest::SystemRefusesWritingReadOnlyFiles(root)) GTEST_SKIP() << "this user may write read-only files";
    const std::u16string src = root + u"\\src", dst = root + u"\\dst";
    CreateDirectoryW(W(src), nullptr);
    CreateDirectoryW(W(src + u"\\sub"), nullptr);
    wtest::WriteBytes(src + u"\\a.txt", "new a", FILE_ATTRIBUTE_READONLY);
    wtest::WriteBytes(src + u"\\sub\\b.txt", "new b");
    wtest::WriteBytes(src + u"\\sub\\c.txt", "new c");
    CreateDirectoryW(W(dst), nullptr);
    CreateDirectoryW(W(dst + u"\\sub"), nullptr);
    wtest::WriteBytes(dst + u"\\a.txt", "old a", FILE_ATTRIBUTE_READONLY);
    wtest::WriteBytes(dst + u"\\sub\\b.txt", "old b", FILE_ATTRIBUTE_READONLY);

    inst::RealEngine e;
    EXPECT_FALSE(CopyFolder(e.ctx, src, dst));
    EXPECT_EQ(e.Lines(), (std::vector<std::u16string>{u"OK : Folder Copy : " + src + u" " + dst}));
    EXPECT_EQ(inst::Tree(dst), inst::Tree(src)) << "contents and attributes as in the source";
    EXPECT_EQ(inst::Attributes(dst + u"\\a.txt") & FILE_ATTRIBUTE_READONLY, static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(inst::Attributes(dst + u"\\sub\\b.txt") & FILE_ATTRIBUTE_READONLY, 0u);

    // The same again over the read-only copies: a reinstallation from the same disc.
    EXPECT_FALSE(CopyFolder(e.ctx, src, dst));
    EXPECT_EQ(inst::Tree(dst), inst::Tree(src));

    // A single file over a read-only one.
    EXPECT_FALSE(CopySingleFile(e.ctx, src + u"\\sub\\c.txt", dst + u"\\a.txt"));
    EXPECT_EQ(wtest::ReadBytes(dst + u"\\a.txt"), "new c");
    EXPECT_EQ(inst::Attributes(dst + u"\\a.txt") & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(e.Lines().size(), 2u) << "CopySingleFile writes no line";
    wtest::RemoveTree(root);
}

}  // namespace
