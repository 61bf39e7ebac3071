// The checker's effective settings for the edge cases of the settings reader:
// each case's Information.txt with the values and origins the checker must
// report, written out, and the derived values that follow from them.
#include <gtest/gtest.h>

#include <map>

#include <nlohmann/json.hpp>

#include "Checker.h"
#include "Output.h"
#include "fakes/FakeFileSystem.h"
#include "platform/native/NativeCodec.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

std::string Utf16Le(const std::u16string& s) {
    std::string out = "\xFF\xFE";
    for (char16_t c : s) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

using Origin = std::pair<std::string, int>;  // value, line (0: built-in default)

// Every field the installer reads, with its built-in default.
const std::map<std::string, Origin>& Defaults() {
    static const std::map<std::string, Origin> defaults = {
        {"AppCaption", {"VORN6 x86版", 0}},     {"Version", {"", 0}},
        {"SetupOtherName01", {"", 0}},          {"SetupOtherName02", {"", 0}},
        {"SetupOtherName03", {"", 0}},          {"SetupOtherName04", {"", 0}},
        {"SetupOtherName05", {"", 0}},          {"Image01", {"", 0}},
        {"ShortCutApp", {"VORN6.exe", 0}},      {"ShortCutName", {"VORN6", 0}},
        {"ShortCutIco", {"Kelvora.ico", 0}},    {"FolderName", {"C:\\Drosvik\\VORN6", 0}},
        {"StertMenuName", {"Drosvik", 0}},      {"SetupOtherApp01", {"", 0}},
        {"SetupOtherApp02", {"", 0}},           {"SetupOtherApp03", {"", 0}},
        {"SetupOtherApp04", {"", 0}},           {"SetupOtherApp05", {"", 0}},
        {"CopyFolderName", {"VORN6\\", 0}},     {"UpDate", {"", 0}},
        {"UpDateShortCut", {"", 0}},
    };
    return defaults;
}

struct ReaderCase {
    const char* name;
    std::string bytes;                         // Information.txt
    std::map<std::string, Origin> set;         // the fields it sets; the others keep their default
    std::map<std::string, std::string> derived;  // the derived values it gives
};

std::vector<ReaderCase> ReaderCases() {
    const std::map<std::string, std::string> plain = {
        {"DisplayName", " VORN6 x86版"}, {"SetupTitle", " VORN6 x86版  "}, {"InstallDir", "C:\\Drosvik\\VORN6"},
        {"UpdateMode", "off"}};
    const auto with = [&](std::map<std::string, std::string> changed) {
        std::map<std::string, std::string> d = plain;
        for (auto& [k, v] : changed) d[k] = v;
        return d;
    };
    return {
        {"LowerCaseSectionAndBlanks", "[ caption ]\r\n  appcaption  =  Two Words  \r\n", {{"AppCaption", {"Two Words", 2}}},
         with({{"DisplayName", " Two Words"}, {"SetupTitle", " Two Words  "}})},
        {"EmptyValue", "[Caption]\r\nAppCaption=\r\n", {{"AppCaption", {"", 2}}},
         with({{"DisplayName", " "}, {"SetupTitle", "   "}})},
        {"KeyBeforeFirstSection", "AppCaption=Early\r\n[Caption]\r\nVersion=1\r\n", {{"Version", {"1", 3}}},
         with({{"SetupTitle", " VORN6 x86版 1 "}})},
        {"SectionNameWithALetterMore", "[Captions]\r\nAppCaption=X\r\n", {}, plain},
        {"SameKeyTwice", "[Caption]\r\nVersion=1\r\nVersion=2\r\n", {{"Version", {"1", 2}}},
         with({{"SetupTitle", " VORN6 x86版 1 "}})},
        {"SecondCaptionSection", "[Caption]\r\nVersion=1\r\n[Caption]\r\nAppCaption=Late\r\n", {{"Version", {"1", 2}}},
         with({{"SetupTitle", " VORN6 x86版 1 "}})},
        {"Utf8WithMark", kBom + "[Caption]\r\nAppCaption=製品テスト\r\n", {{"AppCaption", {"製品テスト", 2}}},
         with({{"DisplayName", " 製品テスト"}, {"SetupTitle", " 製品テスト  "}})},
        // Without a mark the bytes are Shift-JIS: the UTF-8 of 製品テスト read that way, its
        // last byte a lead byte without its trail (U+FFFD).
        {"Utf8WithoutMark", "[Caption]\r\nAppCaption=製品テスト\r\n", {{"AppCaption", {"陬ｽ蜩√ユ繧ｹ繝\xEF\xBF\xBD", 2}}},
         with({{"DisplayName", " 陬ｽ蜩√ユ繧ｹ繝\xEF\xBF\xBD"}, {"SetupTitle", " 陬ｽ蜩√ユ繧ｹ繝\xEF\xBF\xBD  "}})},
        {"Utf16LittleEndian", Utf16Le(u"[Application]\r\nFolderName=C:\\製品\r\n"), {{"FolderName", {"C:\\製品", 2}}},
         with({{"InstallDir", "C:\\製品"}, {"DefaultInstallDir", "C:\\製品"}})},
        {"FurtherSetupNumbers",
         "[Application]\r\nSetupOtherApp1=a.exe\r\nSetupOtherApp02=b.exe\r\nSetupOtherApp06=c.exe\r\n"
         "[Caption]\r\nSetupOtherName0=x\r\nSetupOtherName05=Five\r\n",
         {{"SetupOtherApp02", {"b.exe", 3}}, {"SetupOtherName05", {"Five", 7}}}, plain},
        {"RelativeFolderName", "[Application]\r\nFolderName=..\\Apps\\.\\Sample\r\n",
         {{"FolderName", {"..\\Apps\\.\\Sample", 2}}},
         with({{"DefaultInstallDir", "..\\Apps\\.\\Sample"}, {"InstallDir", "C:\\Apps\\Sample"}})},
        {"UpdateInLowerCase", "[Application]\r\nUpDate=yes\r\nUpDateShortCut=Yes\r\n",
         {{"UpDate", {"yes", 2}}, {"UpDateShortCut", {"Yes", 3}}}, plain},
        {"UpdateExactly", "[Application]\r\nUpDate=Yes\r\n", {{"UpDate", {"Yes", 2}}}, with({{"UpdateMode", "on"}})},
        {"QuotesAndSemicolonsStay", "[Application]\r\nShortCutName=\"VORN6\" ; main\r\n; comment\r\n",
         {{"ShortCutName", {"\"VORN6\" ; main", 2}}}, plain},
        {"NulEndsTheText", std::string("[Caption]\r\nVersion=1\r\n\0[Application]\r\nFolderName=C:\\X\r\n", 50),
         {{"Version", {"1", 2}}}, with({{"SetupTitle", " VORN6 x86版 1 "}})},
        {"LoneCrAndLf", "[Caption]\rVersion=3\n[Application]\r\nCopyFolderName=Product\r\n",
         {{"Version", {"3", 2}}, {"CopyFolderName", {"Product", 4}}}, with({{"SetupTitle", " VORN6 x86版 3 "}})},
    };
}

class CheckerSettings : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(CheckerSettings, ShowEveryFieldWithItsOriginAndTheDerivedValues) {
    const ReaderCase& c = GetParam();
    FakeFileSystem fs;
    NativeCodec codec;
    fs.AddFile(u"C:\\Dist\\Information.txt", c.bytes);
    check::Options options;
    options.exeDir = u"C:\\Dist\\";
    options.workingFolder = u"C:\\Work";
    const nlohmann::json doc = nlohmann::json::parse(check::FormatJson(check::CheckDistribution(fs, codec, options)));

    std::map<std::string, Origin> expected = Defaults();
    for (const auto& [name, origin] : c.set) {
        ASSERT_TRUE(expected.count(name)) << name;
        expected[name] = origin;
    }
    std::map<std::string, Origin> shown;
    for (const auto& row : doc["settings"]) {
        const int line = row.value("line", 0);
        EXPECT_EQ(row["origin"], line ? "Information.txt" : "default") << row["name"];
        shown[row["name"].get<std::string>()] = {row["value"].get<std::string>(), line};
    }
    EXPECT_EQ(shown, expected);

    std::map<std::string, std::string> derived = c.derived;
    if (!derived.count("DefaultInstallDir")) derived["DefaultInstallDir"] = expected["FolderName"].first;
    derived["ExeDir"] = "C:\\Dist\\";
    for (const auto& [name, value] : derived) EXPECT_EQ(doc["derived"][name], value) << name;
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckerSettings, ::testing::ValuesIn(ReaderCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
