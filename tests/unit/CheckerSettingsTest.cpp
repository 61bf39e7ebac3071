// The checker's effective settings agree with what the installer itself reads:
// the edge cases of the settings reader, each read once by the installer's
// start-up steps and once by the checker, compared through its JSON output.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "Checker.h"
#include "fakes/FakeFileSystem.h"
#include "platform/Text.h"
#include "platform/native/NativeCodec.h"
#include "settings/InformationFile.h"
#include "settings/InstallerSettings.h"

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

struct ReaderCase {
    const char* name;
    std::string bytes;  // Information.txt
};

std::vector<ReaderCase> ReaderCases() {
    return {
        {"LowerCaseSectionAndBlanks", "[ caption ]\r\n  appcaption  =  Two Words  \r\n"},
        {"EmptyValue", "[Caption]\r\nAppCaption=\r\n"},
        {"KeyBeforeFirstSection", "AppCaption=Early\r\n[Caption]\r\nVersion=1\r\n"},
        {"SectionNameWithALetterMore", "[Captions]\r\nAppCaption=X\r\n"},
        {"SameKeyTwice", "[Caption]\r\nVersion=1\r\nVersion=2\r\n"},
        {"SecondCaptionSection", "[Caption]\r\nVersion=1\r\n[Caption]\r\nAppCaption=Late\r\n"},
        {"Utf8WithMark", kBom + "[Caption]\r\nAppCaption=製品テスト\r\n"},
        {"Utf8WithoutMark", "[Caption]\r\nAppCaption=製品テスト\r\n"},
        {"Utf16LittleEndian", Utf16Le(u"[Application]\r\nFolderName=C:\\製品\r\n")},
        {"FurtherSetupNumbers",
         "[Application]\r\nSetupOtherApp1=a.exe\r\nSetupOtherApp02=b.exe\r\nSetupOtherApp06=c.exe\r\n"
         "[Caption]\r\nSetupOtherName0=x\r\nSetupOtherName05=Five\r\n"},
        {"RelativeFolderName", "[Application]\r\nFolderName=..\\Apps\\.\\Sample\r\n"},
        {"UpdateInLowerCase", "[Application]\r\nUpDate=yes\r\nUpDateShortCut=Yes\r\n"},
        {"QuotesAndSemicolonsStay", "[Application]\r\nShortCutName=\"VORN6\" ; main\r\n; comment\r\n"},
        {"NulEndsTheText", std::string("[Caption]\r\nVersion=1\r\n\0[Application]\r\nFolderName=C:\\X\r\n", 50)},
        {"LoneCrAndLf", "[Caption]\rVersion=3\n[Application]\r\nCopyFolderName=Product\r\n"},
    };
}

class CheckerAgreesWithTheInstaller : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(CheckerAgreesWithTheInstaller, OnEverySettingAndItsOrigin) {
    FakeFileSystem fs;
    NativeCodec codec;
    fs.AddFile(u"C:\\Dist\\Information.txt", GetParam().bytes);

    // The installer's own start-up steps.
    InstallerSettings installer;
    installer.SetDefaults();
    installer.ExeDir = ExeDirOf(fs.ExecutablePath());
    SettingOrigins origins;
    LoadInformationFile(installer, fs, codec, &origins);
    installer.DeriveTitles();
    installer.DeriveInstallDir(fs);

    check::Options options;
    options.exeDir = u"C:\\Dist\\";
    options.workingFolder = fs.currentFolder;
    const nlohmann::json doc = nlohmann::json::parse(check::FormatJson(check::CheckDistribution(fs, codec, options)));

    std::map<std::string, std::pair<std::string, int>> installerView, checkerView;
    for (const SettingKey& key : SettingKeys()) {
        const auto origin = origins.find(key.key);
        installerView[text::ToUtf8(key.key)] = {text::ToUtf8(key.field(installer)), origin == origins.end() ? 0 : origin->second};
    }
    for (const char16_t* name : {u"DisplayName", u"SetupTitle", u"DefaultInstallDir", u"InstallDir", u"ExeDir"}) {
        const std::u16string n = name;
        const std::u16string& v = n == u"DisplayName"         ? installer.DisplayName
                                  : n == u"SetupTitle"        ? installer.SetupTitle
                                  : n == u"DefaultInstallDir" ? installer.DefaultInstallDir
                                  : n == u"InstallDir"        ? installer.InstallDir
                                                              : installer.ExeDir;
        installerView[text::ToUtf8(n)] = {text::ToUtf8(v), 0};
    }
    installerView["UpdateMode"] = {installer.UpDate == u"Yes" ? "on" : "off", 0};

    for (const auto& row : doc["settings"])
        checkerView[row["name"].get<std::string>()] = {row["value"].get<std::string>(), row.value("line", 0)};
    for (const char* name : {"DisplayName", "SetupTitle", "DefaultInstallDir", "InstallDir", "ExeDir", "UpdateMode"})
        checkerView[name] = {doc["derived"][name].get<std::string>(), 0};

    // What the installer reads, the checker shows ...
    for (const auto& [name, value] : installerView) {
        const auto shown = checkerView.find(name);
        EXPECT_TRUE(shown != checkerView.end() && shown->second == value) << name;
    }
    // ... and the checker shows nothing the installer does not read.
    for (const auto& [name, value] : checkerView) {
        const auto read = installerView.find(name);
        EXPECT_TRUE(read != installerView.end() && read->second == value) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckerAgreesWithTheInstaller, ::testing::ValuesIn(ReaderCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
