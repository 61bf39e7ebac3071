// The Win32 file system, code page and error box under Wine's real API.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "log/SetupLog.h"
#include "platform/AppError.h"
#include "platform/Text.h"
#include "platform/win32/Win32Codec.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Text.h"
#include "text/TextFile.h"
#include "WineTestSupport.h"

namespace {
std::u16string Folder(const std::u16string& name) {
    const std::u16string dir = u"C:\\kelvora-win32\\" + name;
    CreateDirectoryW(L"C:\\kelvora-win32", nullptr);
    CreateDirectoryW(W(dir), nullptr);
    return dir;
}
}  // namespace

TEST(Win32FileSystem, ReadingIsRefusedWhileAnotherWriterHoldsTheFile) {
    Win32FileSystem fs;
    const std::u16string path = Folder(u"share") + u"\\held.txt";
    wtest::WriteBytes(path, "abc");
    std::string bytes;
    ASSERT_TRUE(fs.ReadAllDenyWrite(path, bytes).ok);
    EXPECT_EQ(bytes, "abc");

    HANDLE writer = CreateFileW(W(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    const SysResult r = fs.ReadAllDenyWrite(path, bytes);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.code, 32u);
    EXPECT_FALSE(r.description.empty());
    EXPECT_TRUE(fs.FileExists(path)) << "a locked file still exists";
    try {
        ReadFileOrThrow(fs, path);
        ADD_FAILURE() << "no error";
    } catch (const AppError& e) {
        const std::u16string expected = u"ファイル " + path + u" は開けません。 ";
        EXPECT_EQ(e.Message().substr(0, expected.size()), expected);
        EXPECT_EQ(e.Message().back(), u' ');
        EXPECT_NE(e.Message()[e.Message().size() - 2], u'.');
    }
    CloseHandle(writer);

    // A reader that shares reading does not stop us.
    HANDLE reader = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_TRUE(fs.ReadAllDenyWrite(path, bytes).ok);
    CloseHandle(reader);
}

TEST(Win32FileSystem, ExistenceAndFullPathFollowTheSystemRules) {
    Win32FileSystem fs;
    const std::u16string dir = Folder(u"exists");
    wtest::WriteBytes(dir + u"\\f.txt", "");
    EXPECT_TRUE(fs.FileExists(dir + u"\\f.txt"));
    EXPECT_TRUE(fs.FileExists(dir + u"\\\\f.txt")) << "a doubled separator is accepted";
    EXPECT_FALSE(fs.FileExists(dir)) << "a folder is not a file";
    EXPECT_TRUE(fs.FolderExists(dir));
    EXPECT_FALSE(fs.FileExists(u""));

    EXPECT_EQ(fs.FullPath(u"C:\\A\\B\\..\\C\\"), u"C:\\A\\C\\");
    EXPECT_EQ(fs.FullPath(u"C:/x/y"), u"C:\\x\\y");
    EXPECT_EQ(fs.FullPath(u""), u"");
    SetCurrentDirectoryW(W(dir));
    EXPECT_EQ(fs.FullPath(u"sub\\.\\name"), dir + u"\\sub\\name");
    EXPECT_EQ(fs.ExecutablePath().substr(fs.ExecutablePath().size() - 15), u"win32_tests.exe");
}

namespace {
// Reports chosen paths as symbolic links, with the attributes Windows gives a
// link itself (a reparse point; a folder link has the folder flag too), so
// that what the link leads to is looked up through the real system. Wine 8
// shows a dangling Linux link as no entry at all and makes no Windows links.
class LinkingFileSystem : public Win32FileSystem {
public:
    std::map<std::u16string, uint32_t> links;

protected:
    uint32_t OwnAttributes(const std::u16string& path) override {
        const auto link = links.find(path);
        if (link != links.end()) return link->second;
        return Win32FileSystem::OwnAttributes(path);
    }
};
}  // namespace

TEST(Win32FileSystem, ExistenceFollowsALinkToItsTarget) {
    const std::u16string dir = Folder(u"links");
    wtest::WriteBytes(dir + u"\\target.txt", "t");
    CreateDirectoryW(W(dir + u"\\target-dir"), nullptr);
    HANDLE holder = CreateFileW(W(dir + u"\\target.txt"), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    constexpr uint32_t kFileLink = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_ARCHIVE;
    constexpr uint32_t kFolderLink = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY;
    struct Row {
        std::u16string path;  // what the link leads to, as the system opens the link
        uint32_t own;
        bool file, folder;
    };
    const std::vector<Row> rows = {
        {dir + u"\\nowhere.txt", kFileLink, false, false},            // a dangling file link
        {dir + u"\\gone\\nowhere.txt", kFileLink, false, false},     // its folder is gone too
        {dir + u"\\gone-dir", kFolderLink, false, false},             // a dangling folder link
        {dir + u"\\target.txt", kFileLink, true, false},              // a file held open with no sharing
        {dir + u"\\target-dir", kFolderLink, false, true},
        {dir + u"\\target-dir", kFileLink, false, true},              // the target's kind counts
    };
    for (const Row& row : rows) {
        LinkingFileSystem fs;
        fs.links[row.path] = row.own;
        EXPECT_EQ(fs.FileExists(row.path), row.file) << text::ToUtf8(row.path);
        EXPECT_EQ(fs.FolderExists(row.path), row.folder) << text::ToUtf8(row.path);
    }
    CloseHandle(holder);
}

TEST(Win32Codec, ConvertsThroughCodePage932) {
    Win32Codec codec;
    ASSERT_EQ(codec.AnsiCodePage(), 932u) << "the tests run in a Japanese-locale prefix";
    EXPECT_EQ(codec.Utf16ToAnsi(u"セットアップ"), "\x83\x5A\x83\x62\x83\x67\x83\x41\x83\x62\x83\x76");
    EXPECT_EQ(codec.AnsiToUtf16("\x83\x5A\x83\x62\x83\x67"), u"セット");
    // A character the code page lacks is replaced, the rest stays.
    const std::string replaced = codec.Utf16ToAnsi(u"a\u0100b");
    ASSERT_EQ(replaced.size(), 3u);
    EXPECT_EQ(replaced[0], 'a');
    EXPECT_EQ(replaced[2], 'b');
    EXPECT_EQ(codec.UpperCase(u"caption"), u"CAPTION");
    EXPECT_EQ(codec.LowerCase(u"KELVORAINSTALL"), u"kelvorainstall");
}

TEST(Win32SetupLog, SavesShiftJisWithCrLfAndRefusesAFolderInTheWay) {
    Win32FileSystem fs;
    Win32Codec codec;
    const std::u16string dir = Folder(u"log");
    SetCurrentDirectoryW(W(dir));
    SetupLog log;
    log.AddLog(u"OK : Folder Crate : C:\\Vorn\\Data");
    log.AddLog(u"NG : File Not Found : C:\\配布\\\\license.txt");
    SaveSetupLog(log, fs, codec);
    std::string bytes;
    ASSERT_TRUE(fs.ReadAllDenyWrite(dir + u"\\Setuplog.txt", bytes).ok);
    EXPECT_EQ(bytes, "OK : Folder Crate : C:\\Vorn\\Data\r\nNG : File Not Found : C:\\\x94\x7a\x95\x7a\\\\license.txt\r\n");

    SaveSetupLog(SetupLog{}, fs, codec);
    ASSERT_TRUE(fs.ReadAllDenyWrite(dir + u"\\Setuplog.txt", bytes).ok);
    EXPECT_EQ(bytes, "");

    const std::u16string blocked = Folder(u"log-blocked");
    CreateDirectoryW(W(blocked + u"\\Setuplog.txt"), nullptr);
    SetCurrentDirectoryW(W(blocked));
    try {
        SaveSetupLog(log, fs, codec);
        ADD_FAILURE() << "no error";
    } catch (const AppError& e) {
        const std::u16string expected = u"ファイル \"" + blocked + u"\\Setuplog.txt\" を作成できません。";
        EXPECT_EQ(e.Message().substr(0, expected.size()), expected);
        EXPECT_GT(e.Message().size(), expected.size()) << "the system's description follows";
        EXPECT_NE(e.Message().back(), u'.');
    }
}

namespace {
std::wstring g_caption, g_text;
bool g_icon;

// Runs inside the box's own message loop: reads the open box and answers it.
void CALLBACK ReadBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = wtest::VisibleDialogOfThread(GetCurrentThreadId());
    if (!box) return;
    g_caption = wtest::WindowText(box);
    g_text = wtest::BoxText(box);
    g_icon = GetDlgItem(box, 0x0440) != nullptr;
    wtest::PressButton(box, IDOK);
}
}  // namespace

TEST(Win32Dialogs, ErrorBoxShowsTextTitleAndErrorIcon) {
    Win32Dialogs dialogs([] { return static_cast<void*>(nullptr); });
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, &ReadBox);
    dialogs.ErrorBox(ErrorBoxText(u"画像のファイル拡張子 (.txt) が不明です"), u"Kelvorainstall");
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_caption, L"Kelvorainstall");
    EXPECT_EQ(g_text, L"画像のファイル拡張子 (.txt) が不明です.");
    EXPECT_TRUE(g_icon);
}
