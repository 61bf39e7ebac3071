// Folder creation and copying on the in-memory file system: the acceptance
// rules, the walk, the results and their setup-log lines.
#include <gtest/gtest.h>

#include <algorithm>

#include "InstallFixture.h"
#include "install/FileOperations.h"
#include "install/PathRules.h"
#include "platform/Text.h"

namespace {

// The name under which each file is copied before it is moved into place.
const std::u16string kTemporary = u"~KelvoraInstall.$$$";

struct AcceptRow {
    std::u16string path;
    PathKind kind;
    bool forCreation;
    PathVerdict verdict;
};

TEST(PathRules, AcceptanceTable) {
    FakeFileSystem fs;  // current folder C:\Work (7 characters); drive C: only
    const std::u16string name240(240, u'n');
    const std::u16string rows239(239, u'f');
    const std::vector<AcceptRow> rows = {
        {u"", PathKind::Folder, false, PathVerdict::Empty},
        {u"   ", PathKind::Folder, false, PathVerdict::Empty},
        {u"   ", PathKind::File, false, PathVerdict::Empty},
        {u"C:\\a\tb", PathKind::Folder, false, PathVerdict::BadCharacter},
        {u"C:\\a\x1F", PathKind::File, false, PathVerdict::BadCharacter},
        {u"C:\\a\"b", PathKind::Folder, false, PathVerdict::BadCharacter},
        {u"C:\\a<b", PathKind::Folder, false, PathVerdict::BadCharacter},
        {u"C:\\a>b", PathKind::File, false, PathVerdict::BadCharacter},
        {u"C:\\a|b", PathKind::Folder, true, PathVerdict::BadCharacter},
        {u"C:\\a?b*", PathKind::Folder, false, PathVerdict::Accepted},  // not among the refused characters
        {u"C:\\a:b", PathKind::Folder, false, PathVerdict::MisplacedColon},
        {u"1:\\a", PathKind::Folder, false, PathVerdict::MisplacedColon},
        {u"ab:c", PathKind::File, false, PathVerdict::MisplacedColon},  // relative: C:\Work\ab:c
        {u"C:relative", PathKind::Folder, true, PathVerdict::Accepted},
        {u"\\\\?\\C:\\x", PathKind::Folder, true, PathVerdict::Accepted},
        {u"\\\\?\\C:\\x:y", PathKind::Folder, false, PathVerdict::MisplacedColon},
        // Lengths count the completed path: C:\Work\ + name.
        {name240, PathKind::Folder, false, PathVerdict::TooLong},                       // 248
        {name240.substr(1), PathKind::Folder, false, PathVerdict::Accepted},            // 247
        {u"C:\\" + std::u16string(244, u'n'), PathKind::Folder, false, PathVerdict::Accepted},  // 247
        {u"C:\\" + std::u16string(245, u'n'), PathKind::Folder, false, PathVerdict::TooLong},   // 248
        {u"C:\\" + std::u16string(256, u'f'), PathKind::File, false, PathVerdict::Accepted},    // 259
        {u"C:\\" + std::u16string(257, u'f'), PathKind::File, false, PathVerdict::TooLong},     // 260
        {u"\\\\?\\C:\\" + std::u16string(400, u'n'), PathKind::Folder, false, PathVerdict::Accepted},
        {u"Q:\\x", PathKind::Folder, true, PathVerdict::MissingDrive},
        {u"Q:\\x", PathKind::Folder, false, PathVerdict::Accepted},
        {u"Q:\\x", PathKind::File, true, PathVerdict::Accepted},
        {u"\\\\server\\share\\x", PathKind::Folder, true, PathVerdict::Accepted},
        {u"C:\\ok\\", PathKind::Folder, true, PathVerdict::Accepted},
        {u"sub\\..\\x", PathKind::Folder, true, PathVerdict::Accepted},
    };
    for (const AcceptRow& row : rows) {
        EXPECT_EQ(AcceptPath(fs, row.path, row.kind, row.forCreation), row.verdict)
            << text::ToUtf8(row.path) << (row.kind == PathKind::File ? " (file)" : " (folder)");
    }
    EXPECT_TRUE(fs.Calls.empty()) << "judging a path changes nothing";
}

TEST(CreateFolder, ResultsAndLines) {
    struct Row {
        std::u16string path;
        bool failed;
        bool existsAfter;
    };
    InstallFixture f;
    f.fake.fs.AddFolder(u"C:\\Exists");
    f.fake.fs.AddFile(u"C:\\Taken");
    f.fake.fs.AddFolder(u"C:\\Locked");
    f.fake.fs.readOnlyFolders.insert(u"C:\\Locked");
    const std::vector<Row> rows = {
        {u"C:\\Exists", false, true},
        {u"C:\\Vorn\\Data", false, true},          // every missing level
        {u"C:\\Deep\\a\\b\\c\\", false, true},     // trailing separator, logged as passed
        {u"rel\\x", false, true},                  // below the current folder
        {u"Q:\\Nowhere", true, false},             // no such drive
        {u"", true, false},
        {u"C:\\bad|name", true, false},
        {u"C:\\Taken\\sub", true, false},          // a file holds the name of a level
        {u"C:\\Locked\\sub", true, false},         // the system refuses the level
    };
    Lines expected;
    for (const Row& row : rows) {
        EXPECT_EQ(CreateFolder(f.ctx, row.path), row.failed) << text::ToUtf8(row.path);
        EXPECT_EQ(f.fake.fs.HasFolder(row.path), row.existsAfter) << text::ToUtf8(row.path);
        expected.push_back((row.failed ? u"NG : Folder Crate : " : u"OK : Folder Crate : ") + row.path);
    }
    EXPECT_EQ(f.Lines(), expected);
    EXPECT_TRUE(f.fake.fs.HasFolder(u"C:\\Work\\rel\\x"));
    EXPECT_TRUE(f.fake.fs.HasFile(u"C:\\Taken"));
}

struct CopyFolderTest : ::testing::Test {
    InstallFixture f;
    FakeFileSystem& fs = f.fake.fs;
    static void AddSource(FakeFileSystem& to) {
        to.AddFile(u"C:\\Src\\a.txt", "a");
        to.AddFile(u"C:\\Src\\.hidden", "h");
        to.AddFile(u"C:\\Src\\sub\\b.txt", "b");
        to.AddFile(u"C:\\Src\\sub\\deeper\\c.txt", "c");
        to.AddFolder(u"C:\\Src\\empty");
        to.AddFolder(u"C:\\Src\\sub\\deeper\\empty2");
    }
    void SetUp() override { AddSource(fs); }
    void ExpectFullCopy(const std::u16string& t) {
        EXPECT_EQ(fs.Bytes(t + u"\\a.txt"), "a");
        EXPECT_EQ(fs.Bytes(t + u"\\.hidden"), "h");
        EXPECT_EQ(fs.Bytes(t + u"\\sub\\b.txt"), "b");
        EXPECT_EQ(fs.Bytes(t + u"\\sub\\deeper\\c.txt"), "c");
        EXPECT_TRUE(fs.HasFolder(t + u"\\empty"));
        EXPECT_TRUE(fs.HasFolder(t + u"\\sub\\deeper\\empty2"));
    }
};

TEST_F(CopyFolderTest, CopiesTheTreeOverExistingFilesAndDeletesNothing) {
    fs.AddFile(u"C:\\Dst\\a.txt", "old");
    fs.AddFile(u"C:\\Dst\\only-here.txt", "mine");
    EXPECT_FALSE(CopyFolder(f.ctx, u"C:\\Src\\", u"C:\\Dst"));
    ExpectFullCopy(u"C:\\Dst");
    EXPECT_EQ(fs.Bytes(u"C:\\Dst\\only-here.txt"), "mine");
    EXPECT_EQ(f.Lines(), Lines{u"OK : Folder Copy : C:\\Src\\ C:\\Dst"});
    EXPECT_EQ(f.CallsOf(u"CopyOneFile"), 4);
}

TEST_F(CopyFolderTest, EachFolderIsCreatedBeforeItsContents) {
    EXPECT_FALSE(CopyFolder(f.ctx, u"C:\\Src", u"C:\\New\\Dst"));
    const auto index = [&](const std::u16string& call) {
        for (size_t i = 0; i < fs.Calls.size(); ++i) {
            if (fs.Calls[i] == call) return static_cast<int>(i);
        }
        ADD_FAILURE() << "missing call " << text::ToUtf8(call);
        return -1;
    };
    const int sub = index(u"CreateOneFolder C:\\New\\Dst\\sub");
    const int deeper = index(u"CreateOneFolder C:\\New\\Dst\\sub\\deeper");
    EXPECT_LT(index(u"CreateOneFolder C:\\New\\Dst"), sub);
    EXPECT_LT(sub, index(u"CopyOneFile C:\\Src\\sub\\b.txt C:\\New\\Dst\\sub\\" + kTemporary));
    EXPECT_LT(deeper, index(u"CopyOneFile C:\\Src\\sub\\deeper\\c.txt C:\\New\\Dst\\sub\\deeper\\" + kTemporary));
    ExpectFullCopy(u"C:\\New\\Dst");
}

// The copy runs inside a handler: between any two files the window is kept
// alive (the window layer decides how often it really looks at the queue).
TEST_F(CopyFolderTest, TheWindowIsKeptAliveBetweenFiles) {
    f.fake.ui.onKeepAlive = [&] { fs.Calls.push_back(u"KeepAlive"); };
    EXPECT_FALSE(CopyFolder(f.ctx, u"C:\\Src", u"C:\\Dst"));
    int copiesSinceKeepAlive = 0;
    for (const std::u16string& call : fs.Calls) {
        if (call == u"KeepAlive") copiesSinceKeepAlive = 0;
        if (text::StartsWith(call, u"CopyOneFile ")) EXPECT_LE(++copiesSinceKeepAlive, 1);
    }
    EXPECT_GE(f.fake.ui.keepAlives, 4);
    EXPECT_EQ(f.Lines(), Lines{u"OK : Folder Copy : C:\\Src C:\\Dst"});
}

TEST_F(CopyFolderTest, RefusedPairs) {
    struct Row {
        std::u16string source, target;
        bool targetExists;
    };
    const std::vector<Row> rows = {
        {u"C:\\Missing", u"C:\\T1", true},        // the target is made before the source is looked at
        {u"C:\\Src", u"c:\\sRC", true},           // the same folder in other letter case
        {u"C:\\Src", u"Q:\\T2", false},           // no such drive
        {u"C:\\Src", u"", false},
        {u"   ", u"C:\\T3", true},
        {u"C:\\Sr|c", u"C:\\T4", true},
        {u"C:\\Src", u"C:\\T5:x", false},
        {u"C:\\" + std::u16string(245, u's'), u"C:\\T6", true},
    };
    Lines expected;
    for (const Row& row : rows) {
        const int copiesBefore = f.CallsOf(u"CopyOneFile");
        EXPECT_TRUE(CopyFolder(f.ctx, row.source, row.target)) << text::ToUtf8(row.target);
        EXPECT_EQ(f.CallsOf(u"CopyOneFile"), copiesBefore) << text::ToUtf8(row.target);
        if (!row.target.empty()) EXPECT_EQ(fs.HasFolder(row.target), row.targetExists) << text::ToUtf8(row.target);
        expected.push_back(u"NG : Folder Copy : " + row.source + u" " + row.target);
    }
    EXPECT_EQ(f.Lines(), expected);
}

TEST_F(CopyFolderTest, AFileLeftBehindIsAFailureAfterEverythingElseIsCopied) {
    fs.AddFile(u"C:\\Dst\\sub\\b.txt", "old");
    fs.lockedFiles.insert(u"C:\\Dst\\sub\\b.txt");
    EXPECT_TRUE(CopyFolder(f.ctx, u"C:\\Src", u"C:\\Dst"));
    EXPECT_EQ(fs.Bytes(u"C:\\Dst\\sub\\b.txt"), "old");
    EXPECT_EQ(fs.Bytes(u"C:\\Dst\\a.txt"), "a");
    EXPECT_EQ(fs.Bytes(u"C:\\Dst\\sub\\deeper\\c.txt"), "c");
    EXPECT_EQ(f.Lines(), (Lines{u"NG : File Copy : C:\\Src\\sub\\b.txt C:\\Dst\\sub\\b.txt",
                                u"NG : Folder Copy : C:\\Src C:\\Dst"}));
}

// A product installed from a disc carries the disc's read-only attribute; the
// next update and a reinstallation must still replace every file.
TEST_F(CopyFolderTest, ReadOnlyTargetsAreReplacedAndCopiesCarryTheSourceAttribute) {
    fs.readOnlyFiles.insert(u"C:\\Src\\a.txt");  // from the disc
    fs.AddFile(u"C:\\Dst\\a.txt", "old a");
    fs.AddFile(u"C:\\Dst\\sub\\b.txt", "old b");
    fs.readOnlyFiles.insert(u"C:\\Dst\\a.txt");
    fs.readOnlyFiles.insert(u"C:\\Dst\\sub\\b.txt");
    EXPECT_FALSE(CopyFolder(f.ctx, u"C:\\Src", u"C:\\Dst"));
    EXPECT_EQ(f.Lines(), Lines{u"OK : Folder Copy : C:\\Src C:\\Dst"});
    ExpectFullCopy(u"C:\\Dst");
    EXPECT_TRUE(fs.IsReadOnly(u"C:\\Dst\\a.txt")) << "the copy carries the source's attribute";
    EXPECT_FALSE(fs.IsReadOnly(u"C:\\Dst\\sub\\b.txt")) << "a writable source makes a writable copy";
    EXPECT_FALSE(fs.IsReadOnly(u"C:\\Dst\\sub\\deeper\\c.txt"));
    EXPECT_TRUE(fs.IsReadOnly(u"C:\\Src\\a.txt")) << "the source is not touched";

    // Reinstalling the same read-only files over themselves works too.
    EXPECT_FALSE(CopyFolder(f.ctx, u"C:\\Src", u"C:\\Dst"));
    EXPECT_EQ(f.Lines().back(), u"OK : Folder Copy : C:\\Src C:\\Dst");
    EXPECT_TRUE(fs.IsReadOnly(u"C:\\Dst\\a.txt"));
}

TEST_F(CopyFolderTest, AReadOnlyTargetThatCannotBeReplacedKeepsItsAttribute) {
    fs.AddFile(u"C:\\Dst\\sub\\b.txt", "old b");
    fs.readOnlyFiles.insert(u"C:\\Dst\\sub\\b.txt");
    fs.lockedFiles.insert(u"C:\\Dst\\sub\\b.txt");
    EXPECT_TRUE(CopyFolder(f.ctx, u"C:\\Src", u"C:\\Dst"));
    EXPECT_EQ(f.Lines(), (Lines{u"NG : File Copy : C:\\Src\\sub\\b.txt C:\\Dst\\sub\\b.txt",
                                u"NG : Folder Copy : C:\\Src C:\\Dst"}));
    EXPECT_EQ(fs.Bytes(u"C:\\Dst\\sub\\b.txt"), "old b");
    EXPECT_TRUE(fs.IsReadOnly(u"C:\\Dst\\sub\\b.txt"));
    EXPECT_EQ(fs.Bytes(u"C:\\Dst\\a.txt"), "a");
    EXPECT_FALSE(fs.HasFile(u"C:\\Dst\\sub\\" + kTemporary)) << "the copy that could not be moved is removed";
}

// Each file is written under a temporary name and moved into place when it is
// complete: a full disk leaves no truncated file under a product file's name,
// and the previous file stays as it was.
TEST_F(CopyFolderTest, AFullDiskLeavesNoHalfWrittenFileUnderARealName) {
    fs.AddFile(u"C:\\Src\\big.bin", std::string(1 << 20, 'n'));
    fs.AddFile(u"C:\\Src\\sub\\VORN6.exe", std::string(4096, 'p'));
    fs.AddFile(u"C:\\Dst\\big.bin", "previous");
    fs.copyLimit = 4095;  // the small files fit, these two break off
    EXPECT_TRUE(CopyFolder(f.ctx, u"C:\\Src", u"C:\\Dst"));
    EXPECT_EQ(fs.Bytes(u"C:\\Dst\\big.bin"), "previous");
    EXPECT_FALSE(fs.HasFile(u"C:\\Dst\\sub\\VORN6.exe")) << "no program of 0 bytes or less than its size";
    EXPECT_FALSE(fs.HasFile(u"C:\\Dst\\" + kTemporary));
    EXPECT_FALSE(fs.HasFile(u"C:\\Dst\\sub\\" + kTemporary));
    EXPECT_EQ(fs.Bytes(u"C:\\Dst\\sub\\b.txt"), "b");
    const Lines lines = f.Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), u"NG : File Copy : C:\\Src\\big.bin C:\\Dst\\big.bin"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), u"NG : File Copy : C:\\Src\\sub\\VORN6.exe C:\\Dst\\sub\\VORN6.exe"),
              lines.end());
    EXPECT_EQ(lines.back(), u"NG : Folder Copy : C:\\Src C:\\Dst");
    // Nothing was ever written under a real name: every copy went to the temporary one.
    for (const std::u16string& call : fs.Calls) {
        if (text::StartsWith(call, u"CopyOneFile ")) EXPECT_TRUE(text::EndsWith(call, kTemporary)) << text::ToUtf8(call);
    }
}

// With a trailing separator on one side the pair passes as two folders; no
// file is copied onto itself (the system refuses that), so each one fails.
TEST_F(CopyFolderTest, NoFileIsCopiedOntoItself) {
    EXPECT_TRUE(CopyFolder(f.ctx, u"C:\\Src", u"C:\\Src\\"));
    EXPECT_EQ(f.CallsOf(u"CopyOneFile"), 0);
    EXPECT_EQ(f.CallsOf(u"MoveReplacing"), 0);
    EXPECT_EQ(f.Lines().size(), 5u) << "four files and the folder copy";
    EXPECT_EQ(f.Lines().back(), u"NG : Folder Copy : C:\\Src C:\\Src\\");
    ExpectFullCopy(u"C:\\Src");
}

TEST_F(CopyFolderTest, TemporariesAnInterruptedRunLeftAreRemoved) {
    // Left, read-only as their disc source was, in the target, in a folder with
    // files and in a folder with nothing to copy.
    for (const std::u16string folder : {u"C:\\Dst", u"C:\\Dst\\sub", u"C:\\Dst\\sub\\deeper\\empty2"}) {
        fs.AddFile(folder + u"\\" + kTemporary, "half");
        fs.readOnlyFiles.insert(folder + u"\\" + kTemporary);
    }
    fs.AddFile(u"C:\\Dst\\keep.tmp", "not ours");
    EXPECT_FALSE(CopyFolder(f.ctx, u"C:\\Src", u"C:\\Dst"));
    EXPECT_EQ(f.Lines(), Lines{u"OK : Folder Copy : C:\\Src C:\\Dst"});
    ExpectFullCopy(u"C:\\Dst");
    for (const std::u16string folder : {u"C:\\Dst", u"C:\\Dst\\sub", u"C:\\Dst\\sub\\deeper\\empty2"}) {
        EXPECT_FALSE(fs.HasFile(folder + u"\\" + kTemporary)) << text::ToUtf8(folder);
    }
    EXPECT_EQ(fs.Bytes(u"C:\\Dst\\keep.tmp"), "not ours");
}

TEST_F(CopyFolderTest, AFolderThatCannotBeCreatedIsAFailureAndItsSubtreeIsPassedBy) {
    fs.AddFile(u"C:\\Dst\\sub", "a file where the folder belongs");
    EXPECT_TRUE(CopyFolder(f.ctx, u"C:\\Src", u"C:\\Dst"));
    EXPECT_EQ(fs.Bytes(u"C:\\Dst\\a.txt"), "a");
    EXPECT_TRUE(fs.HasFolder(u"C:\\Dst\\empty"));
    EXPECT_EQ(f.CallsOf(u"CopyOneFile"), 2);
    // The folder's line, then one line for each file of its subtree, in the
    // order the walk would have met them, and the folder copy's line last.
    EXPECT_EQ(f.Lines(), (Lines{u"NG : File Copy : C:\\Src\\sub C:\\Dst\\sub",
                                u"NG : File Copy : C:\\Src\\sub\\deeper\\c.txt C:\\Dst\\sub\\deeper\\c.txt",
                                u"NG : File Copy : C:\\Src\\sub\\b.txt C:\\Dst\\sub\\b.txt",
                                u"NG : Folder Copy : C:\\Src C:\\Dst"}));
}

TEST_F(CopyFolderTest, EveryFileBelowAFolderThatCannotBeCreatedIsNamed) {
    // The blocked folder at each depth, empty or not: the lines name exactly
    // the files below it (the fake lists sub-folders before files).
    struct Row {
        std::u16string blocked;  // a file where this target folder belongs
        Lines lines;
    };
    const std::vector<Row> rows = {
        {u"C:\\Dst\\sub\\deeper",
         {u"NG : File Copy : C:\\Src\\sub\\deeper C:\\Dst\\sub\\deeper",
          u"NG : File Copy : C:\\Src\\sub\\deeper\\more\\d.txt C:\\Dst\\sub\\deeper\\more\\d.txt",
          u"NG : File Copy : C:\\Src\\sub\\deeper\\c.txt C:\\Dst\\sub\\deeper\\c.txt",
          u"NG : Folder Copy : C:\\Src C:\\Dst"}},
        {u"C:\\Dst\\empty",
         {u"NG : File Copy : C:\\Src\\empty C:\\Dst\\empty", u"NG : Folder Copy : C:\\Src C:\\Dst"}},
    };
    for (const Row& row : rows) {
        InstallFixture g;
        AddSource(g.fake.fs);
        g.fake.fs.AddFile(u"C:\\Src\\sub\\deeper\\more\\d.txt", "d");
        g.fake.fs.AddFile(row.blocked, "in the way");
        EXPECT_TRUE(CopyFolder(g.ctx, u"C:\\Src", u"C:\\Dst")) << text::ToUtf8(row.blocked);
        EXPECT_EQ(g.Lines(), row.lines) << text::ToUtf8(row.blocked);
        EXPECT_EQ(g.fake.fs.Bytes(row.blocked), "in the way");
        EXPECT_EQ(g.fake.fs.Bytes(u"C:\\Dst\\a.txt"), "a") << "the rest is copied";
    }
}

TEST_F(CopyFolderTest, ATargetThatCannotBeCreatedIsAFailure) {
    fs.AddFile(u"C:\\Blocked", "x");
    EXPECT_TRUE(CopyFolder(f.ctx, u"C:\\Src", u"C:\\Blocked\\Dst"));
    EXPECT_EQ(f.CallsOf(u"CopyOneFile"), 0);
    // The target's own line, then every file of the source, none of which was copied.
    EXPECT_EQ(f.Lines(), (Lines{u"NG : File Copy : C:\\Src C:\\Blocked\\Dst",
                                u"NG : File Copy : C:\\Src\\sub\\deeper\\c.txt C:\\Blocked\\Dst\\sub\\deeper\\c.txt",
                                u"NG : File Copy : C:\\Src\\sub\\b.txt C:\\Blocked\\Dst\\sub\\b.txt",
                                u"NG : File Copy : C:\\Src\\.hidden C:\\Blocked\\Dst\\.hidden",
                                u"NG : File Copy : C:\\Src\\a.txt C:\\Blocked\\Dst\\a.txt",
                                u"NG : Folder Copy : C:\\Src C:\\Blocked\\Dst"}));
}

TEST_F(CopyFolderTest, ATargetInsideTheSourceEndsAndCopiesEachFileOnce) {
    for (const std::u16string target : {u"C:\\Src\\sub\\deeper\\copy", u"C:\\Src\\Copy"}) {
        InstallFixture g;
        g.fake.fs = fs;
        g.fake.fs.Calls.clear();
        EXPECT_FALSE(CopyFolder(g.ctx, u"C:\\Src", target));
        EXPECT_EQ(g.CallsOf(u"CopyOneFile"), 4) << text::ToUtf8(target);
        EXPECT_EQ(g.fake.fs.Bytes(target + u"\\sub\\deeper\\c.txt"), "c");
        EXPECT_FALSE(g.fake.fs.HasFolder(target + u"\\sub\\deeper\\copy")) << "no copy of the copy";
        EXPECT_FALSE(g.fake.fs.HasFolder(target + u"\\Copy"));
    }
}

TEST_F(CopyFolderTest, AnEmptySourceMakesTheTarget) {
    fs.AddFolder(u"C:\\Hollow");
    EXPECT_FALSE(CopyFolder(f.ctx, u"C:\\Hollow", u"C:\\A\\B"));
    EXPECT_TRUE(fs.HasFolder(u"C:\\A\\B"));
    EXPECT_EQ(f.Lines(), Lines{u"OK : Folder Copy : C:\\Hollow C:\\A\\B"});
}

TEST(CopySingleFile, CopiesOnlyWhenItCan) {
    struct Row {
        const char* what;
        std::u16string source, target;
        bool result;
        std::string targetAfter;  // "" = no such file
    };
    InstallFixture f;
    FakeFileSystem& fs = f.fake.fs;
    fs.AddFile(u"C:\\Dist\\Kelvora_Auth.exe", "new");
    fs.AddFile(u"C:\\App\\writable.exe", "old");
    fs.AddFile(u"C:\\App\\readonly.exe", "old");
    fs.readOnlyFiles.insert(u"C:\\App\\readonly.exe");
    fs.AddFile(u"C:\\App\\held.exe", "old");
    fs.lockedFiles.insert(u"C:\\App\\held.exe");
    fs.readOnlyFiles.insert(u"C:\\App\\held.exe");
    fs.AddFolder(u"C:\\App\\folder.exe");
    const std::vector<Row> rows = {
        {"copied", u"C:\\Dist\\Kelvora_Auth.exe", u"C:\\App\\new.exe", false, "new"},
        {"overwritten", u"C:\\Dist\\Kelvora_Auth.exe", u"C:\\App\\writable.exe", false, "new"},
        {"missing source", u"C:\\Dist\\nothing.exe", u"C:\\App\\writable2.exe", true, ""},
        {"a folder is no source", u"C:\\App\\folder.exe", u"C:\\App\\x.exe", true, ""},
        {"missing target folder", u"C:\\Dist\\Kelvora_Auth.exe", u"C:\\NoSuch\\k.exe", true, ""},
        {"read-only target replaced", u"C:\\Dist\\Kelvora_Auth.exe", u"C:\\App\\readonly.exe", false, "new"},
        {"held target", u"C:\\Dist\\Kelvora_Auth.exe", u"C:\\App\\held.exe", true, "old"},
        {"refused target", u"C:\\Dist\\Kelvora_Auth.exe", u"C:\\App\\k<.exe", true, ""},
        {"too long target", u"C:\\Dist\\Kelvora_Auth.exe", u"C:\\App\\" + std::u16string(253, u'k'), true, ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CopySingleFile(f.ctx, row.source, row.target), row.result) << row.what;
        EXPECT_EQ(fs.HasFile(row.target), !row.targetAfter.empty()) << row.what;
        EXPECT_EQ(fs.Bytes(row.target), row.targetAfter) << row.what;
    }
    EXPECT_FALSE(fs.HasFolder(u"C:\\NoSuch"));
    EXPECT_FALSE(fs.IsReadOnly(u"C:\\App\\readonly.exe")) << "the copy carries the writable source's attribute";
    EXPECT_TRUE(fs.IsReadOnly(u"C:\\App\\held.exe")) << "a refused copy keeps the attribute";
    EXPECT_TRUE(f.Lines().empty());
    EXPECT_FALSE(fs.HasFile(u"C:\\App\\" + kTemporary));
}

TEST(CopySingleFile, AFailedCopyLeavesThePreviousFileAndNoTemporary) {
    InstallFixture f;
    FakeFileSystem& fs = f.fake.fs;
    fs.AddFile(u"C:\\Dist\\Kelvora_Auth.exe", std::string(100, 'n'));
    fs.AddFile(u"C:\\App\\Kelvora_Auth.exe", "previous");
    fs.AddFile(u"C:\\App\\" + kTemporary, "left by an interrupted run");
    fs.copyLimit = 10;
    EXPECT_TRUE(CopySingleFile(f.ctx, u"C:\\Dist\\Kelvora_Auth.exe", u"C:\\App\\Kelvora_Auth.exe"));
    EXPECT_EQ(fs.Bytes(u"C:\\App\\Kelvora_Auth.exe"), "previous");
    EXPECT_FALSE(fs.HasFile(u"C:\\App\\" + kTemporary));
    EXPECT_TRUE(CopySingleFile(f.ctx, u"C:\\Dist\\Kelvora_Auth.exe", u"C:\\App\\New.exe"));
    EXPECT_FALSE(fs.HasFile(u"C:\\App\\New.exe"));
}

}  // namespace
