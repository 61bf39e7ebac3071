// The installer settings: built-in defaults, the reading rules of
// Information.txt and the values derived from them at start-up.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <set>

#include "fakes/FakePlatform.h"
#include "platform/AppError.h"
#include "platform/Text.h"
#include "settings/InformationFile.h"
#include "settings/InstallerSettings.h"
#include "text/TextDecoding.h"

namespace {

using namespace std::string_literals;

const std::u16string kExeDir = u"C:\\Dist\\";
const std::u16string kInfoPath = u"C:\\Dist\\Information.txt";

std::string Utf8(std::u16string_view s) { return text::ToUtf8(s); }

std::string Sjis(const std::u16string& s) {
    NativeCodec codec;
    return codec.Utf16ToAnsi(s);
}

std::string Utf16(const std::u16string& s, bool bigEndian) {
    std::string out = bigEndian ? std::string("\xFE\xFF") : std::string("\xFF\xFE");
    for (char16_t c : s) {
        const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

const std::string kBom = "\xEF\xBB\xBF";

// Every configured field by its key name, written out here on purpose rather
// than taken from the reader's own table.
using FieldOf = std::function<std::u16string&(InstallerSettings&)>;
const std::map<std::u16string, FieldOf>& Fields() {
    static const std::map<std::u16string, FieldOf> fields = {
        {u"AppCaption", [](InstallerSettings& x) -> std::u16string& { return x.AppCaption; }},
        {u"Version", [](InstallerSettings& x) -> std::u16string& { return x.Version; }},
        {u"SetupOtherName01", [](InstallerSettings& x) -> std::u16string& { return x.SetupOtherName[0]; }},
        {u"SetupOtherName02", [](InstallerSettings& x) -> std::u16string& { return x.SetupOtherName[1]; }},
        {u"SetupOtherName03", [](InstallerSettings& x) -> std::u16string& { return x.SetupOtherName[2]; }},
        {u"SetupOtherName04", [](InstallerSettings& x) -> std::u16string& { return x.SetupOtherName[3]; }},
        {u"SetupOtherName05", [](InstallerSettings& x) -> std::u16string& { return x.SetupOtherName[4]; }},
        {u"Image01", [](InstallerSettings& x) -> std::u16string& { return x.Image01; }},
        {u"ShortCutApp", [](InstallerSettings& x) -> std::u16string& { return x.ShortCutApp; }},
        {u"ShortCutName", [](InstallerSettings& x) -> std::u16string& { return x.ShortCutName; }},
        {u"ShortCutIco", [](InstallerSettings& x) -> std::u16string& { return x.ShortCutIco; }},
        {u"FolderName", [](InstallerSettings& x) -> std::u16string& { return x.FolderName; }},
        {u"StertMenuName", [](InstallerSettings& x) -> std::u16string& { return x.StertMenuName; }},
        {u"SetupOtherApp01", [](InstallerSettings& x) -> std::u16string& { return x.SetupOtherApp[0]; }},
        {u"SetupOtherApp02", [](InstallerSettings& x) -> std::u16string& { return x.SetupOtherApp[1]; }},
        {u"SetupOtherApp03", [](InstallerSettings& x) -> std::u16string& { return x.SetupOtherApp[2]; }},
        {u"SetupOtherApp04", [](InstallerSettings& x) -> std::u16string& { return x.SetupOtherApp[3]; }},
        {u"SetupOtherApp05", [](InstallerSettings& x) -> std::u16string& { return x.SetupOtherApp[4]; }},
        {u"CopyFolderName", [](InstallerSettings& x) -> std::u16string& { return x.CopyFolderName; }},
        {u"UpDate", [](InstallerSettings& x) -> std::u16string& { return x.UpDate; }},
        {u"UpDateShortCut", [](InstallerSettings& x) -> std::u16string& { return x.UpDateShortCut; }},
    };
    return fields;
}
std::u16string& FieldByKey(InstallerSettings& s, const std::u16string& key) { return Fields().at(key)(s); }

InstallerSettings Defaults() {
    InstallerSettings s;
    s.SetDefaults();
    s.ExeDir = kExeDir;
    return s;
}

// Reads `bytes` as the information file beside the installer.
InstallerSettings Read(const std::string& bytes) {
    FakeFileSystem fs;
    NativeCodec codec;
    fs.AddFile(kInfoPath, bytes);
    InstallerSettings s = Defaults();
    LoadInformationFile(s, fs, codec);
    return s;
}

struct Case {
    const char* name;
    std::string bytes;
    // Fields expected to differ from their defaults; every other field must
    // keep its default.
    std::vector<std::pair<std::u16string, std::u16string>> changed;
};

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        {"AnsiCodePageWithoutMark", "[Caption]\r\nAppCaption=" + Sjis(u"製品名") + "\r\n", {{u"AppCaption", u"製品名"}}},
        {"Utf8WithMark", kBom + Utf8(u"[Caption]\r\nAppCaption=製品名\r\n"), {{u"AppCaption", u"製品名"}}},
        // The same UTF-8 bytes without the mark are taken as Shift-JIS and garbled.
        {"Utf8WithoutMarkIsGarbled", Utf8(u"[Caption]\r\nAppCaption=製品\r\n"),
         {{u"AppCaption", u"\u966C\uFF7D\u8729\uFFFD"}}},
        {"Utf16LittleEndian", Utf16(u"[Caption]\r\nAppCaption=製品名\r\n[Application]\r\nShortCutName=名前", false),
         {{u"AppCaption", u"製品名"}, {u"ShortCutName", u"名前"}}},
        {"Utf16BigEndian", Utf16(u"[Caption]\r\nAppCaption=製品名\r\n", true), {{u"AppCaption", u"製品名"}}},
        {"InvalidUtf8BecomesReplacement", kBom + "[Caption]\r\nAppCaption=A\xFF" "B\r\n", {{u"AppCaption", u"A\uFFFDB"}}},
        {"InvalidShiftJisBecomesReplacement", "[Caption]\r\nAppCaption=A\x82\r\nVersion=1\r\n",
         {{u"AppCaption", u"A\uFFFD"}, {u"Version", u"1"}}},
        // A key spelled with an invalid byte is simply not found.
        {"KeyWithInvalidByteNotFound", kBom + "[Caption]\r\nApp\xFF" "Caption=x\r\n", {}},
        {"LoneCrLoneLfAndCrLf", "[Caption]\rAppCaption=a\nVersion=b\r\n[Application]\rShortCutName=c",
         {{u"AppCaption", u"a"}, {u"Version", u"b"}, {u"ShortCutName", u"c"}}},
        {"NulEndsTheText", "[Caption]\r\nAppCaption=ab\0cd\r\nVersion=2\r\n"s, {{u"AppCaption", u"ab"}}},
        {"NulEndsUtf16Text", Utf16(u"[Caption]\r\nAppCaption=a\0\r\nVersion=2"s, false),
         {{u"AppCaption", u"a"}}},
        {"TrimsCodesUpTo32", "\t [Caption] \x01\r\n\x1F AppCaption \t= \x02two words\x0B \r\n", {{u"AppCaption", u"two words"}}},
        {"KeepsDelAndIdeographicSpace", kBom + Utf8(u"[Caption]\r\nAppCaption=\u3000製品\u3000\r\nVersion=v\x7F\r\n"),
         {{u"AppCaption", u"\u3000製品\u3000"}, {u"Version", u"v\x7F"}}},
        {"CommentsSkipped", "[Caption]\r\n;AppCaption=c1\r\n  ;Version=c2\r\nShortCutApp=x\r\n", {}},
        {"SemicolonAndQuotesVerbatim", "[Caption]\r\nAppCaption=\"Name\" ; note\r\nVersion='1'\r\n",
         {{u"AppCaption", u"\"Name\" ; note"}, {u"Version", u"'1'"}}},
        {"ValueKeepsLaterEquals", "[Caption]\r\nAppCaption=a=b\r\n", {{u"AppCaption", u"a=b"}}},
        {"EmptyValueTaken", "[Caption]\r\nAppCaption=\r\nAppCaption=later\r\n", {{u"AppCaption", u""}}},
        {"LineWithoutEqualsDefinesNothing", "[Caption]\r\nAppCaption\r\nVersion = 3\r\n", {{u"Version", u"3"}}},
        {"SectionAndKeyIgnoreCaseAndInnerBlanks", "[  caption ]\r\n  appcaption   =   Two Words  \r\n[APPLICATION]\r\nshortcutname=n\r\n",
         {{u"AppCaption", u"Two Words"}, {u"ShortCutName", u"n"}}},
        {"KeysBeforeFirstSectionIgnored", "AppCaption=early\r\nFolderName=D:\\x\r\n[Caption]\r\nVersion=1\r\n",
         {{u"Version", u"1"}}},
        {"SectionNameMustMatchWhole", "[Captions]\r\nAppCaption=x\r\n[Caption\r\nVersion=2\r\n[Application]x\r\nShortCutName=y\r\n", {}},
        {"KeyInTheOtherSectionIgnored", "[Application]\r\nAppCaption=x\r\n[Caption]\r\nFolderName=D:\\x\r\n", {}},
        {"FirstSectionOfANameWins",
         "[Caption]\r\nVersion=1\r\n[Application]\r\nShortCutName=s\r\n[Caption]\r\nAppCaption=late\r\nVersion=2\r\n",
         {{u"Version", u"1"}, {u"ShortCutName", u"s"}}},
        {"FirstKeyWins", "[Caption]\r\nAppCaption=first\r\nappcaption=second\r\n", {{u"AppCaption", u"first"}}},
        {"FurtherSetupKeysNeedTwoDigits",
         "[Caption]\r\nSetupOtherName1=a\r\nSetupOtherName00=b\r\nSetupOtherName06=c\r\nSetupOtherName01=n1\r\n"
         "SetupOtherName05=n5\r\n[Application]\r\nSetupOtherApp1=x\r\nSetupOtherApp6=y\r\nSetupOtherApp03=a3.exe\r\n",
         {{u"SetupOtherName01", u"n1"}, {u"SetupOtherName05", u"n5"}, {u"SetupOtherApp03", u"a3.exe"}}},
        {"UpDateVerbatim", "[Application]\r\nUpDate=yes\r\nUpDateShortCut=Yes\r\n",
         {{u"UpDate", u"yes"}, {u"UpDateShortCut", u"Yes"}}},
        {"EveryKeyInItsSection",
         "[Caption]\r\nAppCaption=A\r\nVersion=V\r\nSetupOtherName01=N1\r\nSetupOtherName02=N2\r\nSetupOtherName03=N3\r\n"
         "SetupOtherName04=N4\r\nSetupOtherName05=N5\r\nImage01=side.png\r\n[Application]\r\nShortCutApp=P.exe\r\n"
         "ShortCutName=L\r\nShortCutIco=I.ico\r\nFolderName=D:\\F\r\nStertMenuName=M\r\nSetupOtherApp01=A1\r\n"
         "SetupOtherApp02=A2\r\nSetupOtherApp03=A3\r\nSetupOtherApp04=A4\r\nSetupOtherApp05=A5\r\n"
         "CopyFolderName=C\\\r\nUpDate=Yes\r\nUpDateShortCut=Yes\r\n",
         {{u"AppCaption", u"A"}, {u"Version", u"V"}, {u"SetupOtherName01", u"N1"}, {u"SetupOtherName02", u"N2"},
          {u"SetupOtherName03", u"N3"}, {u"SetupOtherName04", u"N4"}, {u"SetupOtherName05", u"N5"},
          {u"Image01", u"side.png"}, {u"ShortCutApp", u"P.exe"}, {u"ShortCutName", u"L"}, {u"ShortCutIco", u"I.ico"},
          {u"FolderName", u"D:\\F"}, {u"StertMenuName", u"M"}, {u"SetupOtherApp01", u"A1"}, {u"SetupOtherApp02", u"A2"},
          {u"SetupOtherApp03", u"A3"}, {u"SetupOtherApp04", u"A4"}, {u"SetupOtherApp05", u"A5"},
          {u"CopyFolderName", u"C\\"}, {u"UpDate", u"Yes"}, {u"UpDateShortCut", u"Yes"}}},
        {"EmptyFile", "", {}},
        {"OnlyAMark", kBom, {}},
        {"Utf16OddByteCount", Utf16(u"[Caption]\r\nVersion=9\r\nAppCaption=x", false) + "A",
         {{u"Version", u"9"}, {u"AppCaption", u"x\uFFFD"}}},
    };
    return cases;
}

class InformationFileRules : public ::testing::TestWithParam<Case> {};

TEST_P(InformationFileRules, ReadsTheFieldsItShould) {
    const Case& c = GetParam();
    InstallerSettings expected = Defaults();
    for (const auto& [key, value] : c.changed) FieldByKey(expected, key) = value;
    InstallerSettings actual = Read(c.bytes);
    for (const SettingKey& key : SettingKeys()) {
        EXPECT_EQ(FieldByKey(actual, key.key), FieldByKey(expected, key.key)) << "field " << text::ToUtf8(key.key);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, InformationFileRules, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

// The reader's table against the fields listed above: each key named once,
// each filling its own field and no other, and no field left without a key.
TEST(InformationFile, EachKeyFillsItsOwnFieldAndEveryFieldHasAKey) {
    std::set<std::u16string> keys;
    for (const SettingKey& key : SettingKeys()) {
        const std::string name = Utf8(key.key);
        EXPECT_TRUE(keys.insert(key.key).second) << "named twice: " << name;
        if (!Fields().count(key.key)) {
            ADD_FAILURE() << "a key of no known field: " << name;
            continue;
        }
        InstallerSettings s;
        key.field(s) = u"marker";
        for (const auto& [other, field] : Fields()) {
            EXPECT_EQ(field(s), other == key.key ? u"marker" : u"") << name << " writes " << Utf8(other);
        }
    }
    for (const auto& [name, field] : Fields()) EXPECT_TRUE(keys.count(name)) << "no key fills " << Utf8(name);
}

TEST(InformationFile, DefaultsWhenMissingOrAFolder) {
    const InstallerSettings defaults = Defaults();
    EXPECT_EQ(defaults.AppCaption, u"VORN6 x86版");
    EXPECT_EQ(defaults.Version, u"");
    EXPECT_EQ(defaults.ShortCutApp, u"VORN6.exe");
    EXPECT_EQ(defaults.ShortCutName, u"VORN6");
    EXPECT_EQ(defaults.ShortCutIco, u"Kelvora.ico");
    EXPECT_EQ(defaults.FolderName, u"C:\\Drosvik\\VORN6");
    EXPECT_EQ(defaults.StertMenuName, u"Drosvik");
    EXPECT_EQ(defaults.CopyFolderName, u"VORN6\\");
    EXPECT_EQ(defaults.Image01, u"");
    EXPECT_EQ(defaults.UpDate, u"");
    EXPECT_EQ(defaults.UpDateShortCut, u"");
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(defaults.SetupOtherName[k], u"");
        EXPECT_EQ(defaults.SetupOtherApp[k], u"");
    }

    NativeCodec codec;
    for (bool asFolder : {false, true}) {
        FakeFileSystem fs;
        if (asFolder) fs.AddFolder(kInfoPath);
        InstallerSettings s = Defaults();
        EXPECT_NO_THROW(LoadInformationFile(s, fs, codec));
        EXPECT_EQ(s.AppCaption, defaults.AppCaption);
        EXPECT_EQ(s.FolderName, defaults.FolderName);
    }
}

TEST(InformationFile, LockedFileRaisesTheOpenErrorAndTakesNothing) {
    FakeFileSystem fs;
    NativeCodec codec;
    fs.AddFile(kInfoPath, "[Caption]\r\nAppCaption=x\r\n");
    fs.lockedFiles.insert(kInfoPath);
    InstallerSettings s = Defaults();
    try {
        LoadInformationFile(s, fs, codec);
        FAIL() << "no error raised";
    } catch (const AppError& e) {
        // The system's description loses its trailing line break; the
        // ideographic full stop is not a "." and stays.
        EXPECT_EQ(e.Message(),
                  u"ファイル C:\\Dist\\Information.txt は開けません。 "
                  u"プロセスはファイルにアクセスできません。別のプロセスが使用中です。 ");
    }
    EXPECT_EQ(s.AppCaption, u"VORN6 x86版");
}

TEST(InformationFile, BadInputNeverThrows) {
    NativeCodec codec;
    std::mt19937 random(20261210);
    for (int round = 0; round < 50; ++round) {
        std::string bytes(1 + random() % 4000, '\0');
        for (char& b : bytes) b = static_cast<char>(random());
        if (round % 4 == 1) bytes = kBom + bytes;
        if (round % 4 == 2) bytes = "\xFF\xFE" + bytes;
        if (round % 4 == 3) bytes = "\xFE\xFF" + bytes;
        EXPECT_NO_THROW(Read(bytes)) << "round " << round;
    }

    // 100 000 sections of the same name: only the first one is searched.
    std::string many = "[Caption]\r\nVersion=first\r\n";
    for (int i = 0; i < 100000; ++i) many += "[Caption]\r\nVersion=" + std::to_string(i) + "\r\n";
    EXPECT_EQ(Read(many).Version, u"first");

    // A 10 MB file with the key at its very end.
    std::string big = "[Caption]\r\n";
    while (big.size() < 10u * 1024 * 1024) big += "Filler=0123456789012345678901234567890123456789\r\n";
    big += "AppCaption=end\r\n";
    EXPECT_EQ(Read(big).AppCaption, u"end");
}

TEST(InformationFile, SplitLinesRules) {
    using V = std::vector<std::u16string>;
    EXPECT_EQ(SplitLines(u""), V{});
    EXPECT_EQ(SplitLines(u"a\r\n"), V{u"a"});
    EXPECT_EQ(SplitLines(u"a\r\r\nb\n\nc"), (V{u"a", u"", u"b", u"", u"c"}));
    EXPECT_EQ(SplitLines(u"a\nb\0c\nd"s), (V{u"a", u"b"}));
}

// What the reader tells of each line, and which entry each field takes.
TEST(InformationFile, TellsWhatEachLineIsAndWhichEntryEachFieldTakes) {
    struct Row {
        const char16_t* text;
        std::vector<std::pair<int, IniLine>> lines;
    };
    const std::vector<Row> rows = {
        {u"", {}},
        {u"Version=0\r\n[Caption]\r\n; note\r\n\r\nVersion=1\r\nno equals\r\n[x]\r\n",
         {{1, IniLine::BeforeFirstSection}, {2, IniLine::Section}, {3, IniLine::Ignored}, {4, IniLine::Ignored},
          {5, IniLine::Entry}, {6, IniLine::WithoutEquals}, {7, IniLine::Section}}},
        {u"  [ a ]  \rk = v\n[]\n[\n=\n", {{1, IniLine::Section}, {2, IniLine::Entry}, {3, IniLine::Section},
                                            {4, IniLine::WithoutEquals}, {5, IniLine::Entry}}},
    };
    for (const Row& row : rows) {
        std::vector<std::pair<int, IniLine>> told;
        ParseInformationText(row.text, [&](int line, IniLine kind) { told.push_back({line, kind}); });
        EXPECT_EQ(told, row.lines) << text::ToUtf8(row.text);
    }

    NativeCodec codec;
    const IniDocument doc = ParseInformationText(u"[Caption]\r\nversion=1\r\nVersion=2\r\n[caption]\r\nAppCaption=X\r\n"
                                                 u"[Application]\r\nUpDate=Yes\r\n");
    InstallerSettings s = Defaults();
    std::map<std::u16string, const IniEntry*> taken;
    ApplyInformation(s, doc, codec, [&](const SettingKey& key, const IniEntry& entry) { taken[key.key] = &entry; });
    const std::map<std::u16string, const IniEntry*> expected = {{u"Version", &doc.sections[0].entries[0]},
                                                                {u"UpDate", &doc.sections[2].entries[0]}};
    EXPECT_EQ(taken, expected);
}

struct DerivationCase {
    const char* name;
    std::u16string appCaption, version, folderName;
    std::u16string displayName, setupTitle, installDir;
};

class Derivations : public ::testing::TestWithParam<DerivationCase> {};

TEST_P(Derivations, FollowTheirOrder) {
    const DerivationCase& c = GetParam();
    FakeFileSystem fs;
    fs.currentFolder = u"C:\\Work";
    InstallerSettings s = Defaults();
    s.AppCaption = c.appCaption;
    s.Version = c.version;
    s.FolderName = c.folderName;
    s.DeriveTitles();
    s.DeriveInstallDir(fs);
    EXPECT_EQ(s.DisplayName, c.displayName);
    EXPECT_EQ(s.SetupTitle, c.setupTitle);
    EXPECT_EQ(s.DefaultInstallDir, c.folderName);  // kept as configured
    EXPECT_EQ(s.FolderName, c.folderName);
    EXPECT_EQ(s.InstallDir, c.installDir);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Derivations,
    ::testing::Values(
        DerivationCase{"Defaults", u"VORN6 x86版", u"", u"C:\\Drosvik\\VORN6", u" VORN6 x86版", u" VORN6 x86版  ",
                       u"C:\\Drosvik\\VORN6"},
        DerivationCase{"EmptyCaption", u"", u"1.0", u"C:\\P\\", u" ", u"  1.0 ", u"C:\\P\\"},
        DerivationCase{"RelativeFolder", u"X", u"", u"Prog\\VORN6", u" X", u" X  ", u"C:\\Work\\Prog\\VORN6"},
        DerivationCase{"DotsAndSlashes", u"X", u"", u"C:/A/./B/../C", u" X", u" X  ", u"C:\\A\\C"},
        DerivationCase{"EmptyFolder", u"X", u"", u"", u" X", u" X  ", u""}),
    [](const ::testing::TestParamInfo<DerivationCase>& info) { return info.param.name; });

TEST(InstallerSettings, ExeDirIsTheFolderWithItsBackslash) {
    EXPECT_EQ(ExeDirOf(u"C:\\Dist\\KelvoraInstall.exe"), u"C:\\Dist\\");
    EXPECT_EQ(ExeDirOf(u"\\\\srv\\share\\setup\\KelvoraInstall.exe"), u"\\\\srv\\share\\setup\\");
    EXPECT_EQ(ExeDirOf(u"D:\\KelvoraInstall.exe"), u"D:\\");
}

}  // namespace
