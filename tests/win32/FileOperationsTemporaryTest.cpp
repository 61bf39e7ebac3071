// Each file is copied under a temporary name beside its target and moved into
// place when complete, on the real file system: a copy that cannot be put in
// place leaves the previous file and no temporary, and temporaries an
// interrupted run left are removed.
#include <gtest/gtest.h>

#include "FileOperationsPlatform.h"
#include "install/FileOperations.h"

namespace {

const std::u16string kTemporary = u"~KelvoraInstall.$$$";

// A file held open with no sharing, as another program might.
class HeldFile {
public:
    explicit HeldFile(const std::u16string& path)
        : h_(CreateFileW(W(path), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~HeldFile() {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    }
    bool held() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

TEST(FileOperationsTemporary, ACopyThatCannotBePutInPlaceLeavesThePreviousFile) {
    const std::u16string root = inst::Scratch(u"temporary-held");
    const std::u16string src = root + u"\\src", dst = root + u"\\dst";
    CreateDirectoryW(W(src), nullptr);
    CreateDirectoryW(W(dst), nullptr);
    wtest::WriteBytes(src + u"\\VORN6.exe", std::string(300000, 'n'));
    wtest::WriteBytes(src + u"\\other.dat", "other");
    wtest::WriteBytes(dst + u"\\VORN6.exe", "previous");
    {
        HeldFile held(dst + u"\\VORN6.exe");
        ASSERT_TRUE(held.held());
        inst::RealEngine e;
        EXPECT_TRUE(CopyFolder(e.ctx, src, dst));
        EXPECT_EQ(e.Lines(), (std::vector<std::u16string>{
                                 u"NG : File Copy : " + src + u"\\VORN6.exe " + dst + u"\\VORN6.exe",
                                 u"NG : Folder Copy : " + src + u" " + dst}));
        EXPECT_TRUE(CopySingleFile(e.ctx, src + u"\\VORN6.exe", dst + u"\\VORN6.exe"));
        EXPECT_FALSE(wtest::FileExists(dst + u"\\" + kTemporary)) << "the copy that could not be moved is removed";
    }
    EXPECT_EQ(wtest::ReadBytes(dst + u"\\VORN6.exe"), "previous");
    EXPECT_EQ(wtest::ReadBytes(dst + u"\\other.dat"), "other");
    wtest::RemoveTree(root);
}

TEST(FileOperationsTemporary, TemporariesAnInterruptedRunLeftAreRemoved) {
    const std::u16string root = inst::Scratch(u"temporary-left");
    const std::u16string src = root + u"\\src", dst = root + u"\\dst";
    CreateDirectoryW(W(src), nullptr);
    CreateDirectoryW(W(src + u"\\sub"), nullptr);
    CreateDirectoryW(W(src + u"\\sub\\empty"), nullptr);
    wtest::WriteBytes(src + u"\\a.txt", "a", FILE_ATTRIBUTE_READONLY);
    wtest::WriteBytes(src + u"\\sub\\b.txt", "b");
    CreateDirectoryW(W(dst), nullptr);
    CreateDirectoryW(W(dst + u"\\sub"), nullptr);
    CreateDirectoryW(W(dst + u"\\sub\\empty"), nullptr);
    for (const std::u16string folder : {dst, dst + u"\\sub", dst + u"\\sub\\empty"}) {
        wtest::WriteBytes(folder + u"\\" + kTemporary, "cut off", FILE_ATTRIBUTE_READONLY);
    }
    inst::RealEngine e;
    EXPECT_FALSE(CopyFolder(e.ctx, src, dst));
    EXPECT_EQ(inst::Tree(dst), inst::Tree(src)) << "the copy and nothing else, attributes included";
    wtest::RemoveTree(root);
}

}  // namespace
