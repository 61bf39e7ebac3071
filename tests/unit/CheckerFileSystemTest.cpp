// The POSIX file system the checker reads a distribution folder with on
// Linux: Windows paths over the folder, names found whatever their letter case.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/native/PosixFileSystem.h"

namespace {

namespace fs = std::filesystem;

class PosixFileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kelvora-posixfs-XXXXXX";
        root = mkdtemp(pattern);
        fs::create_directories(root + "/VORN6/Sub");
        std::ofstream(root + "/VORN6/Program.EXE") << "12345";
        std::ofstream(root + "/license.txt") << "terms";
    }
    void TearDown() override { fs::remove_all(root); }
    std::string root;
};

TEST_F(PosixFileSystemTest, FindsNamesWhateverTheirLetterCase) {
    PosixFileSystem pfs(root);
    EXPECT_TRUE(pfs.FileExists(u"D:\\vorn6\\program.exe"));
    EXPECT_TRUE(pfs.FileExists(u"d:/VORN6\\\\PROGRAM.exe"));
    EXPECT_TRUE(pfs.FolderExists(u"D:\\Vorn6\\sub\\"));
    EXPECT_FALSE(pfs.FileExists(u"D:\\VORN6"));         // a folder is not a file
    EXPECT_FALSE(pfs.FolderExists(u"D:\\license.txt"));  // nor a file a folder
    EXPECT_FALSE(pfs.FileExists(u"D:\\VORN6\\Missing.exe"));
    EXPECT_EQ(pfs.FileSize(u"D:\\vorn6\\PROGRAM.EXE"), std::optional<uint64_t>(5));
    std::string bytes;
    ASSERT_TRUE(pfs.ReadAllDenyWrite(u"D:\\LICENSE.TXT", bytes).ok);
    EXPECT_EQ(bytes, "terms");
    EXPECT_FALSE(pfs.ReadAllDenyWrite(u"D:\\none.txt", bytes).ok);
}

TEST_F(PosixFileSystemTest, DrivesOutsideTheFolder) {
    PosixFileSystem pfs(root);
    EXPECT_TRUE(pfs.FolderExists(u"C:\\"));  // the system drive, empty here
    EXPECT_FALSE(pfs.FolderExists(u"C:\\Drosvik"));
    EXPECT_FALSE(pfs.FolderExists(u"E:\\"));
    EXPECT_FALSE(pfs.FileExists(u"\\\\server\\share\\x.exe"));
}

TEST_F(PosixFileSystemTest, CompletesPathsLikeTheSystem) {
    PosixFileSystem pfs(root);
    pfs.currentFolder = u"D:\\VORN6";
    EXPECT_EQ(pfs.FullPath(u""), u"");
    EXPECT_EQ(pfs.FullPath(u"Sub\\..\\x.txt"), u"D:\\VORN6\\x.txt");
    EXPECT_EQ(pfs.FullPath(u"..\\..\\..\\x"), u"D:\\x");
    EXPECT_EQ(pfs.FullPath(u"\\Top"), u"D:\\Top");
    EXPECT_EQ(pfs.FullPath(u"C:/A/./B/"), u"C:\\A\\B\\");
    EXPECT_EQ(pfs.FullPath(u"C:\\A\\\\B"), u"C:\\A\\B");
    EXPECT_EQ(pfs.FullPath(u"C:\\"), u"C:\\");
    EXPECT_EQ(pfs.FullPath(u"\\\\srv\\share\\..\\..\\a"), u"\\\\srv\\share\\a");
}

TEST_F(PosixFileSystemTest, ListsAFolder) {
    PosixFileSystem pfs(root);
    std::vector<FolderEntry> entries;
    ASSERT_TRUE(pfs.ListFolder(u"D:\\vorn6", entries).ok);
    ASSERT_EQ(entries.size(), 2u);
    std::map<std::u16string, bool> byName;
    for (const FolderEntry& e : entries) byName[e.name] = e.isFolder;
    EXPECT_EQ(byName, (std::map<std::u16string, bool>{{u"Program.EXE", false}, {u"Sub", true}}));
    EXPECT_FALSE(pfs.ListFolder(u"D:\\none", entries).ok);
}

TEST_F(PosixFileSystemTest, CreatesCopiesAndWrites) {
    PosixFileSystem pfs(root);
    EXPECT_TRUE(pfs.CreateOneFolder(u"D:\\New").ok);
    EXPECT_FALSE(pfs.CreateOneFolder(u"D:\\New").ok);          // exists already
    EXPECT_FALSE(pfs.CreateOneFolder(u"D:\\No\\Parent").ok);   // one level only
    EXPECT_FALSE(pfs.CreateOneFolder(u"C:\\Drosvik").ok);      // nothing is created outside the folder
    EXPECT_TRUE(pfs.CopyOneFile(u"D:\\vorn6\\program.exe", u"D:\\new\\copy.exe").ok);
    EXPECT_EQ(pfs.FileSize(u"D:\\New\\Copy.exe"), std::optional<uint64_t>(5));
    std::unique_ptr<OutFile> out;
    ASSERT_TRUE(pfs.CreateExclusive(u"D:\\New\\log.txt", out).ok);
    EXPECT_TRUE(out->Write("abc").ok);
    out.reset();
    EXPECT_EQ(pfs.FileSize(u"D:\\new\\LOG.txt"), std::optional<uint64_t>(3));
}

}  // namespace
