// The folder operations on Wine's real file system: one table over their
// failure cases, each row checking the result, the log lines and the disk.
#include <gtest/gtest.h>

#include <algorithm>

#include "FileOperationsPlatform.h"
#include "install/FileOperations.h"
#include "platform/Text.h"

namespace {

using wtest::FileExists;
using wtest::FolderExists;
using wtest::HeldFile;
using Lines = std::vector<std::u16string>;

const std::u16string kRoot = u"C:\\kelvora-inst\\ops";

// A product tree with hidden and system files and empty folders at every depth.
void BuildSource(const std::u16string& src) {
    CreateDirectoryW(W(src), nullptr);
    wtest::WriteBytes(src + u"\\VORN6.exe", "program");
    wtest::WriteBytes(src + u"\\hidden.ini", "h0", FILE_ATTRIBUTE_HIDDEN);
    wtest::WriteBytes(src + u"\\system.dat", "s0", FILE_ATTRIBUTE_SYSTEM);
    CreateDirectoryW(W(src + u"\\empty0"), nullptr);
    CreateDirectoryW(W(src + u"\\d1"), nullptr);
    wtest::WriteBytes(src + u"\\d1\\b.txt", "b1");
    wtest::WriteBytes(src + u"\\d1\\hidden1", "h1", FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryW(W(src + u"\\d1\\empty1"), nullptr);
    CreateDirectoryW(W(src + u"\\d1\\d2"), nullptr);
    wtest::WriteBytes(src + u"\\d1\\d2\\c.txt", "c2");
    wtest::WriteBytes(src + u"\\d1\\d2\\hs2", "hs2", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    CreateDirectoryW(W(src + u"\\d1\\d2\\empty2"), nullptr);
    CreateDirectoryW(W(src + u"\\hiddendir"), nullptr);
    wtest::WriteBytes(src + u"\\hiddendir\\x.txt", "x");
    SetFileAttributesW(W(src + u"\\hiddendir"), FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryW(W(src + u"\\日本語フォルダ"), nullptr);
    wtest::WriteBytes(src + u"\\日本語フォルダ\\説明.txt", "jp");
}

struct Row {
    const char* what;
    std::function<void(const std::u16string& root)> prepare;  // before the call
    std::function<bool(inst::RealEngine&, const std::u16string& root)> call;
    bool result;
    std::function<Lines(const std::u16string& root)> lines;
    std::function<void(const std::u16string& root)> check;  // the disk afterwards
};

Lines One(std::u16string line) { return {std::move(line)}; }

TEST(FileOperationsWin32, FailureTable) {
    const std::u16string long248 = kRoot + u"\\" + std::u16string(248 - kRoot.size() - 1, u'L');
    const std::u16string long247 = long248.substr(0, 247);
    const std::u16string src = kRoot + u"\\src";
    const auto copyAll = [](const std::u16string& r) { BuildSource(r + u"\\src"); };
    const auto sameTree = [src](const std::u16string& target) {
        EXPECT_EQ(inst::Tree(target), inst::Tree(src)) << text::ToUtf8(target);
    };
    std::vector<Row> rows = {
        {"CreateFolder empty", nullptr, [](auto& e, auto&) { return CreateFolder(e.ctx, u""); }, true,
         [](auto&) { return One(u"NG : Folder Crate : "); }, nullptr},
        {"CreateFolder blank", nullptr, [](auto& e, auto&) { return CreateFolder(e.ctx, u"   "); }, true,
         [](auto&) { return One(u"NG : Folder Crate :    "); }, nullptr},
        {"CreateFolder bad character", nullptr, [](auto& e, auto& r) { return CreateFolder(e.ctx, r + u"\\a<b"); },
         true, [](auto& r) { return One(u"NG : Folder Crate : " + r + u"\\a<b"); },
         [](auto& r) { EXPECT_EQ(inst::Tree(r).size(), 0u); }},
        {"CreateFolder misplaced colon", nullptr, [](auto& e, auto& r) { return CreateFolder(e.ctx, r + u"\\a:b"); },
         true, [](auto& r) { return One(u"NG : Folder Crate : " + r + u"\\a:b"); },
         [](auto& r) { EXPECT_EQ(inst::Tree(r).size(), 0u); }},
        {"CreateFolder 248 characters", nullptr, [&](auto& e, auto&) { return CreateFolder(e.ctx, long248); }, true,
         [&](auto&) { return One(u"NG : Folder Crate : " + long248); },
         [&](auto&) { EXPECT_FALSE(FolderExists(long248)); }},
        {"CreateFolder 247 characters", nullptr, [&](auto& e, auto&) { return CreateFolder(e.ctx, long247); }, false,
         [&](auto&) { return One(u"OK : Folder Crate : " + long247); },
         [&](auto&) { EXPECT_TRUE(FolderExists(long247)); }},
        {"CreateFolder missing drive", nullptr, [](auto& e, auto&) { return CreateFolder(e.ctx, u"Q:\\Vorn\\Data"); },
         true, [](auto&) { return One(u"NG : Folder Crate : Q:\\Vorn\\Data"); }, nullptr},
        {"CreateFolder existing, trailing separator", nullptr,
         [](auto& e, auto& r) { return CreateFolder(e.ctx, r + u"\\"); }, false,
         [](auto& r) { return One(u"OK : Folder Crate : " + r + u"\\"); }, nullptr},
        {"CreateFolder levels", nullptr, [](auto& e, auto& r) { return CreateFolder(e.ctx, r + u"\\a\\b\\c"); }, false,
         [](auto& r) { return One(u"OK : Folder Crate : " + r + u"\\a\\b\\c"); },
         [](auto& r) { EXPECT_TRUE(FolderExists(r + u"\\a\\b\\c")); }},
        {"CreateFolder a file in the way", [](auto& r) { wtest::WriteBytes(r + u"\\taken", "f"); },
         [](auto& e, auto& r) { return CreateFolder(e.ctx, r + u"\\taken\\sub"); }, true,
         [](auto& r) { return One(u"NG : Folder Crate : " + r + u"\\taken\\sub"); },
         [](auto& r) { EXPECT_EQ(wtest::ReadBytes(r + u"\\taken"), "f"); }},

        {"CopyFolder whole tree", copyAll, [](auto& e, auto& r) { return CopyFolder(e.ctx, r + u"\\src", r + u"\\new\\dst"); },
         false, [](auto& r) { return One(u"OK : Folder Copy : " + r + u"\\src " + r + u"\\new\\dst"); },
         [&](auto& r) { sameTree(r + u"\\new\\dst"); }},
        {"CopyFolder over an existing target", [&](auto& r) {
             copyAll(r);
             CreateDirectoryW(W(r + u"\\dst"), nullptr);
             wtest::WriteBytes(r + u"\\dst\\VORN6.exe", "old program");
             wtest::WriteBytes(r + u"\\dst\\user.cfg", "mine");
         },
         [](auto& e, auto& r) { return CopyFolder(e.ctx, r + u"\\src\\", r + u"\\dst"); }, false,
         [](auto& r) { return One(u"OK : Folder Copy : " + r + u"\\src\\ " + r + u"\\dst"); },
         [](auto& r) {
             EXPECT_EQ(wtest::ReadBytes(r + u"\\dst\\VORN6.exe"), "program");
             EXPECT_EQ(wtest::ReadBytes(r + u"\\dst\\user.cfg"), "mine") << "nothing is deleted";
         }},
        {"CopyFolder empty source", [](auto& r) { CreateDirectoryW(W(r + u"\\hollow"), nullptr); },
         [](auto& e, auto& r) { return CopyFolder(e.ctx, r + u"\\hollow", r + u"\\t"); }, false,
         [](auto& r) { return One(u"OK : Folder Copy : " + r + u"\\hollow " + r + u"\\t"); },
         [](auto& r) { EXPECT_TRUE(FolderExists(r + u"\\t")); }},
        {"CopyFolder missing source", nullptr,
         [](auto& e, auto& r) { return CopyFolder(e.ctx, r + u"\\nothing", r + u"\\t"); }, true,
         [](auto& r) { return One(u"NG : Folder Copy : " + r + u"\\nothing " + r + u"\\t"); },
         [](auto& r) { EXPECT_TRUE(FolderExists(r + u"\\t")) << "the target is made first"; }},
        {"CopyFolder same folder in other case", copyAll,
         [](auto& e, auto& r) { return CopyFolder(e.ctx, r + u"\\src", r + u"\\SRC"); }, true,
         [](auto& r) { return One(u"NG : Folder Copy : " + r + u"\\src " + r + u"\\SRC"); },
         [&](auto& r) { EXPECT_EQ(wtest::ReadBytes(r + u"\\src\\VORN6.exe"), "program"); }},
        {"CopyFolder empty target", copyAll, [](auto& e, auto& r) { return CopyFolder(e.ctx, r + u"\\src", u""); }, true,
         [](auto& r) { return One(u"NG : Folder Copy : " + r + u"\\src "); }, nullptr},
        {"CopyFolder blank source", nullptr, [](auto& e, auto& r) { return CopyFolder(e.ctx, u" ", r + u"\\t"); }, true,
         [](auto& r) { return One(u"NG : Folder Copy :   " + r + u"\\t"); }, nullptr},
        {"CopyFolder bad character", copyAll,
         [](auto& e, auto& r) { return CopyFolder(e.ctx, r + u"\\src", r + u"\\t|x"); }, true,
         [](auto& r) { return One(u"NG : Folder Copy : " + r + u"\\src " + r + u"\\t|x"); },
         [](auto& r) { EXPECT_EQ(inst::Tree(r).size(), inst::Tree(r + u"\\src").size() + 1); }},
        {"CopyFolder misplaced colon", copyAll,
         [](auto& e, auto& r) { return CopyFolder(e.ctx, r + u"\\src", r + u"\\t:x"); }, true,
         [](auto& r) { return One(u"NG : Folder Copy : " + r + u"\\src " + r + u"\\t:x"); }, nullptr},
        {"CopyFolder target too long", copyAll, [&](auto& e, auto& r) { return CopyFolder(e.ctx, r + u"\\src", long248); },
         true, [&](auto& r) { return One(u"NG : Folder Copy : " + r + u"\\src " + long248); },
         [&](auto&) { EXPECT_FALSE(FolderExists(long248)); }},
        {"CopyFolder extended-length target past the limit", copyAll,
         [&](auto& e, auto& r) { return CopyFolder(e.ctx, r + u"\\src", u"\\\\?\\" + long248 + u"\\x"); }, false,
         [&](auto& r) { return One(u"OK : Folder Copy : " + r + u"\\src \\\\?\\" + long248 + u"\\x"); },
         [&](auto&) {
             EXPECT_EQ(wtest::ReadBytes(u"\\\\?\\" + long248 + u"\\x\\d1\\d2\\c.txt"), "c2");
         }},
        {"CopyFolder missing drive", copyAll,
         [](auto& e, auto& r) { return CopyFolder(e.ctx, r + u"\\src", u"Q:\\VORN6"); }, true,
         [](auto& r) { return One(u"NG : Folder Copy : " + r + u"\\src Q:\\VORN6"); }, nullptr},
        {"CopyFolder target inside the source", copyAll,
         [](auto& e, auto& r) { return CopyFolder(e.ctx, r + u"\\src", r + u"\\src\\d1\\copy"); }, false,
         [](auto& r) { return One(u"OK : Folder Copy : " + r + u"\\src " + r + u"\\src\\d1\\copy"); },
         [](auto& r) {
             // The copy holds the source tree as it was, and no copy of itself.
             std::vector<inst::TreeEntry> copy = inst::Tree(r + u"\\src\\d1\\copy");
             std::vector<inst::TreeEntry> source = inst::Tree(r + u"\\src");
             std::erase_if(source, [](const inst::TreeEntry& t) { return text::StartsWith(t.path, u"\\d1\\copy"); });
             EXPECT_EQ(copy, source);
         }},
        {"CopyFolder a held target file", [&](auto& r) {
             copyAll(r);
             CreateDirectoryW(W(r + u"\\dst"), nullptr);
             CreateDirectoryW(W(r + u"\\dst\\d1"), nullptr);
             wtest::WriteBytes(r + u"\\dst\\d1\\b.txt", "held");
         },
         [](auto& e, auto& r) {
             HeldFile held(r + u"\\dst\\d1\\b.txt");
             EXPECT_TRUE(held.Ok());
             return CopyFolder(e.ctx, r + u"\\src", r + u"\\dst");
         },
         true,
         [](auto& r) {
             return Lines{u"NG : File Copy : " + r + u"\\src\\d1\\b.txt " + r + u"\\dst\\d1\\b.txt",
                          u"NG : Folder Copy : " + r + u"\\src " + r + u"\\dst"};
         },
         [&](auto& r) {
             EXPECT_EQ(wtest::ReadBytes(r + u"\\dst\\d1\\b.txt"), "held");
             std::vector<inst::TreeEntry> copy = inst::Tree(r + u"\\dst");
             std::vector<inst::TreeEntry> source = inst::Tree(r + u"\\src");
             for (auto* t : {&copy, &source})
                 std::erase_if(*t, [](const inst::TreeEntry& e) { return e.path == u"\\d1\\b.txt"; });
             EXPECT_EQ(copy, source) << "everything else is copied";
         }},
        {"CopySingleFile copies", [](auto& r) { wtest::WriteBytes(r + u"\\k.exe", "new"); },
         [](auto& e, auto& r) { return CopySingleFile(e.ctx, r + u"\\k.exe", r + u"\\k2.exe"); }, false,
         [](auto&) { return Lines{}; }, [](auto& r) { EXPECT_EQ(wtest::ReadBytes(r + u"\\k2.exe"), "new"); }},
        {"CopySingleFile missing source", [](auto& r) { wtest::WriteBytes(r + u"\\k2.exe", "old"); },
         [](auto& e, auto& r) { return CopySingleFile(e.ctx, r + u"\\none.exe", r + u"\\k2.exe"); }, true,
         [](auto&) { return Lines{}; }, [](auto& r) { EXPECT_EQ(wtest::ReadBytes(r + u"\\k2.exe"), "old"); }},
        {"CopySingleFile missing target folder", [](auto& r) { wtest::WriteBytes(r + u"\\k.exe", "new"); },
         [](auto& e, auto& r) { return CopySingleFile(e.ctx, r + u"\\k.exe", r + u"\\no\\k.exe"); }, true,
         [](auto&) { return Lines{}; }, [](auto& r) { EXPECT_FALSE(FolderExists(r + u"\\no")); }},
        {"CopySingleFile held target", [](auto& r) {
             wtest::WriteBytes(r + u"\\k.exe", "new");
             wtest::WriteBytes(r + u"\\held.exe", "held");
         },
         [](auto& e, auto& r) {
             HeldFile held(r + u"\\held.exe");
             EXPECT_TRUE(held.Ok());
             return CopySingleFile(e.ctx, r + u"\\k.exe", r + u"\\held.exe");
         },
         true, [](auto&) { return Lines{}; }, [](auto& r) { EXPECT_EQ(wtest::ReadBytes(r + u"\\held.exe"), "held"); }},
    };

    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::u16string root = inst::Scratch(u"ops");
        if (row.prepare) row.prepare(root);
        inst::RealEngine engine;
        EXPECT_EQ(row.call(engine, root), row.result);
        EXPECT_EQ(engine.Lines(), row.lines(root));
        if (row.check) row.check(root);
    }
}

// The same folder with a trailing separator on one side is not the same text,
// so the pair is not refused; the system then refuses to copy each file onto
// itself, every file stays whole, and the copy reports its failure.
TEST(FileOperationsWin32, TrailingSeparatorOnOneSide) {
    const std::u16string root = inst::Scratch(u"ops");
    const std::u16string src = root + u"\\src";
    BuildSource(src);
    const std::vector<inst::TreeEntry> before = inst::Tree(src);
    inst::RealEngine engine;
    EXPECT_TRUE(CopyFolder(engine.ctx, src, src + u"\\"));
    EXPECT_EQ(inst::Tree(src), before);
    size_t files = 0;
    for (const auto& e : before) files += !text::EndsWith(e.path, u"\\");
    ASSERT_EQ(engine.Lines().size(), files + 1);
    for (size_t i = 0; i < files; ++i) EXPECT_TRUE(text::StartsWith(engine.Lines()[i], u"NG : File Copy : " + src));
    EXPECT_EQ(engine.Lines().back(), u"NG : Folder Copy : " + src + u" " + src + u"\\");
}

// A sub-folder that cannot be made (a file of its name is in the way): its
// line, then one line for each file below it, then the NG copy line. The
// order of the file lines follows the system's listing, so they are compared
// as a set.
TEST(FileOperationsWin32, AFolderThatCannotBeMadeNamesEveryFileBelowIt) {
    const std::u16string r = inst::Scratch(u"ops");
    BuildSource(r + u"\\src");
    CreateDirectoryW(W(r + u"\\dst"), nullptr);
    wtest::WriteBytes(r + u"\\dst\\d1", "a file where a folder belongs");
    inst::RealEngine engine;
    EXPECT_TRUE(CopyFolder(engine.ctx, r + u"\\src", r + u"\\dst"));
    Lines lines = engine.Lines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines.front(), u"NG : File Copy : " + r + u"\\src\\d1 " + r + u"\\dst\\d1");
    EXPECT_EQ(lines.back(), u"NG : Folder Copy : " + r + u"\\src " + r + u"\\dst");
    Lines files(lines.begin() + 1, lines.end() - 1);
    std::sort(files.begin(), files.end());
    Lines expected;
    for (const std::u16string name : {u"\\d1\\b.txt", u"\\d1\\hidden1", u"\\d1\\d2\\c.txt", u"\\d1\\d2\\hs2"}) {
        expected.push_back(u"NG : File Copy : " + r + u"\\src" + name + u" " + r + u"\\dst" + name);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(files, expected);
    EXPECT_EQ(wtest::ReadBytes(r + u"\\dst\\VORN6.exe"), "program");
    EXPECT_FALSE(FolderExists(r + u"\\dst\\d1"));
    EXPECT_EQ(wtest::ReadBytes(r + u"\\dst\\d1"), "a file where a folder belongs");
    EXPECT_EQ(wtest::ReadBytes(r + u"\\dst\\日本語フォルダ\\説明.txt"), "jp");
}

}  // namespace
