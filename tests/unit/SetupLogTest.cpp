// The setup log's file, its two errors, and the error box's text and title rules.
#include <gtest/gtest.h>

#include <functional>

#include "app/ApplicationTitle.h"
#include "fakes/FakePlatform.h"
#include "log/SetupLog.h"
#include "platform/AppError.h"
#include "platform/Text.h"

namespace {

const std::u16string kLogPath = u"C:\\Work\\Setuplog.txt";

class Utf8CodePage : public NativeCodec {
public:
    unsigned AnsiCodePage() override { return 65001; }
};

SetupLog LogOf(std::initializer_list<std::u16string> lines) {
    SetupLog log;
    for (const auto& line : lines) log.AddLog(line);
    return log;
}

std::u16string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const AppError& e) {
        return e.Message();
    }
    ADD_FAILURE() << "no error raised";
    return {};
}

TEST(SetupLog, BytesAreShiftJisWithCrLfAfterEveryLine) {
    NativeCodec codec;
    EXPECT_EQ(EncodeSetupLog(SetupLog{}, codec), "");
    // Lines are kept in call order, repeats included; "表" has a trail byte of "\".
    const SetupLog log = LogOf({u"OK : File Found : C:\\Dist\\\\license.txt", u"OK : Print : 表 license.txt",
                                u"OK : Print : 表 license.txt", u""});
    EXPECT_EQ(EncodeSetupLog(log, codec),
              "OK : File Found : C:\\Dist\\\\license.txt\r\n"
              "OK : Print : \x95\x5C license.txt\r\n"
              "OK : Print : \x95\x5C license.txt\r\n"
              "\r\n");
}

TEST(SetupLog, UnrepresentableCharactersAreReplacedAndTheRestKept) {
    NativeCodec codec;
    const SetupLog log = LogOf({u"NG : File Not Found : C:\\한\\ä€.exe"});
    EXPECT_EQ(EncodeSetupLog(log, codec), "NG : File Not Found : C:\\?\\??.exe\r\n");
}

TEST(SetupLog, MarkOnlyWhenTheCodePageIsUtf8) {
    Utf8CodePage utf8;
    NativeCodec ansi;
    const SetupLog log = LogOf({u"OK : x"});
    EXPECT_EQ(EncodeSetupLog(log, utf8).substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(EncodeSetupLog(log, ansi), "OK : x\r\n");
}

TEST(SetupLog, SaveReplacesTheFileInTheWorkingFolder) {
    FakeFileSystem fs;
    NativeCodec codec;
    fs.AddFile(kLogPath, "an older, longer log from an earlier run\r\n");
    SaveSetupLog(LogOf({u"NG : File Not Found : C:\\Dist\\\\license.txt"}), fs, codec);
    EXPECT_EQ(fs.Bytes(kLogPath), "NG : File Not Found : C:\\Dist\\\\license.txt\r\n");

    SaveSetupLog(SetupLog{}, fs, codec);
    EXPECT_TRUE(fs.HasFile(kLogPath));
    EXPECT_EQ(fs.Bytes(kLogPath), "");
}

TEST(SetupLog, CreateErrorNamesTheFullPathAndTheCause) {
    NativeCodec codec;
    {
        FakeFileSystem fs;
        fs.readOnlyFolders.insert(u"C:\\Work");
        EXPECT_EQ(MessageOf([&] { SaveSetupLog(LogOf({u"OK : x"}), fs, codec); }),
                  u"ファイル \"C:\\Work\\Setuplog.txt\" を作成できません。アクセスが拒否されました。");
        EXPECT_FALSE(fs.HasFile(kLogPath));
    }
    {
        FakeFileSystem fs;
        fs.currentFolder = u"E:\\Gone";
        EXPECT_EQ(MessageOf([&] { SaveSetupLog(SetupLog{}, fs, codec); }),
                  u"ファイル \"E:\\Gone\\Setuplog.txt\" を作成できません。指定されたパスが見つかりません。");
    }
}

TEST(SetupLog, WriteErrorLeavesWhatWasWritten) {
    FakeFileSystem fs;
    NativeCodec codec;
    fs.writeLimit = 4;
    EXPECT_EQ(MessageOf([&] { SaveSetupLog(LogOf({u"OK : one", u"OK : two"}), fs, codec); }),
              u"ストリームへの書き込みエラー");
    EXPECT_EQ(fs.Bytes(kLogPath), "OK :");
}

TEST(ErrorBox, FullStopAppendedWhenTheLastCodeIsAboveIt) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"", u""},
        {u"abc", u"abc."},
        {u"abc.", u"abc."},
        {u"trailing blank ", u"trailing blank "},
        {u"dash-", u"dash-"},          // U+002D is below "."
        {u"slash/", u"slash/."},       // U+002F is above it
        {u"拒否されました。", u"拒否されました。."},
        {u"画像のファイル拡張子 (.txt) が不明です", u"画像のファイル拡張子 (.txt) が不明です."},
    };
    for (const auto& [message, shown] : cases) EXPECT_EQ(ErrorBoxText(message), shown) << text::ToUtf8(message);
}

TEST(ErrorBox, ApplicationTitleFromTheExecutableName) {
    NativeCodec codec;
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"C:\\Dist\\KelvoraInstall.exe", u"Kelvorainstall"},
        {u"C:\\Dist\\SETUP.EXE", u"Setup"},
        {u"C:\\a.b\\my.setup.exe", u"my"},
        {u"C:\\Dist\\K.exe", u"K"},
        {u"C:\\Dist\\NoDot", u"Nodot"},
    };
    for (const auto& [path, title] : cases) EXPECT_EQ(ApplicationTitleOf(path, codec), title) << text::ToUtf8(path);
}

}  // namespace
