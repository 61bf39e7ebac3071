// kelvora-check on small distribution folders built in a temporary folder:
// the findings and the exit code each folder gives, and the plan of the run.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "Checker.h"
#include "Output.h"
#include "platform/Text.h"
#include "platform/native/NativeCodec.h"
#include "platform/native/PosixFileSystem.h"

namespace {

using check::Severity;
namespace fs = std::filesystem;

const std::string kBom = "\xEF\xBB\xBF";

// A temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/kelvora-check-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempFolder() { fs::remove_all(path); }
    void Write(const std::string& relative, const std::string& bytes) const {
        const fs::path p = fs::path(path) / relative;
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
    }
    void Folder(const std::string& relative) const { fs::create_directories(fs::path(path) / relative); }
    std::string path;
};

// The folder every case starts from: licence, product folder with program,
// icon and companion program. It gives no finding.
void CleanFolder(const TempFolder& t) {
    t.Write("license.txt", "Licence terms\r\n");
    t.Write("VORN6/VORN6.exe", "MZ program");
    t.Write("VORN6/Kelvora.ico", "icon");
    t.Write("VORN6/Kelvora_Auth.exe", "MZ companion");
}

check::Report Check(const TempFolder& t, const std::u16string& working = {}) {
    PosixFileSystem pfs(t.path);
    NativeCodec codec;
    check::Options options;
    options.exeDir = pfs.Root();
    options.workingFolder = working;
    options.fileSize = [&pfs](const std::u16string& p) { return pfs.FileSize(p); };
    return check::CheckDistribution(pfs, codec, options);
}

struct Expected {
    Severity severity;
    std::string file;
    int line;
    std::string text;  // a part of the message
};

struct FolderCase {
    const char* name;
    std::map<std::string, std::string> files;  // written over the clean folder
    std::vector<std::string> removed;          // taken from the clean folder
    std::vector<Expected> findings;            // exactly these, in this order
    int exitCode;
};

std::string Describe(const check::Report& r) {
    std::string out;
    for (const check::Finding& f : r.findings)
        out += std::string(check::SeverityName(f.severity)) + " " + text::ToUtf8(f.file) + ":" + std::to_string(f.line) +
               " " + text::ToUtf8(f.message) + "\n";
    return out;
}

std::vector<FolderCase> FolderCases() {
    const std::string sjisCaption = "AppCaption=\x83\x65\x83\x58\x83\x67\r\n";  // テスト in Shift-JIS
    return {
        {"Clean", {}, {}, {}, 0},
        {"CleanWithEveryKindOfSetting",
         {{"Information.txt", kBom +
                                  "; distribution of the sample product\r\n"
                                  "[Caption]\r\nAppCaption=テスト製品\r\nVersion=2.0\r\nSetupOtherName01=Runtime\r\n"
                                  "Image01=side.png\r\n"
                                  "[Application]\r\nFolderName=C:\\Programs\\Sample\r\nSetupOtherApp01=runtime\\setup.exe\r\n"},
          {"side.png", "PNG"},
          {"runtime/setup.exe", "MZ"}},
         {},
         {},
         0},
        {"ShiftJisWithoutMarkIsFine", {{"Information.txt", "[Caption]\r\n" + sjisCaption}}, {}, {}, 0},
        {"MisspelledKey",
         {{"Information.txt", "[Application]\r\nFolderName=C:\\X\r\nStartMenuName=Tools\r\n"}},
         {},
         {{Severity::Warning, "Information.txt", 3, "StartMenuName: not a key the installer reads; did you mean StertMenuName?"}},
         1},
        {"FurtherSetupNumbers",
         {{"Information.txt", "[Application]\r\nSetupOtherApp1=a.exe\r\nSetupOtherApp06=b.exe\r\n[Caption]\r\nSetupOtherName00=x\r\n"}},
         {},
         {{Severity::Warning, "Information.txt", 2, "SetupOtherApp1: the installer reads only two-digit numbers"},
          {Severity::Warning, "Information.txt", 3, "SetupOtherApp06: the installer reads only the entries 01 to 05"},
          {Severity::Warning, "Information.txt", 5, "SetupOtherName00: the installer reads only the entries 01 to 05"}},
         1},
        {"KeyBeforeFirstSection",
         {{"Information.txt", "AppCaption=Early\r\n[Caption]\r\nVersion=1\r\n"}},
         {},
         {{Severity::Warning, "Information.txt", 1, "\"AppCaption=Early\" stands before the first section"}},
         1},
        {"SecondCaptionSection",
         {{"Information.txt", "[Caption]\r\nVersion=1\r\n[Application]\r\nFolderName=C:\\X\r\n[caption]\r\nAppCaption=Late\r\n"}},
         {},
         {{Severity::Warning, "Information.txt", 5, "a second [caption] section: the installer reads only the first one (line 1)"}},
         1},
        {"RepeatedKey",
         {{"Information.txt", "[Caption]\r\nVersion=1\r\nversion=2\r\n"}},
         {},
         {{Severity::Warning, "Information.txt", 3, "version repeats line 2: the installer takes the first value \"1\""}},
         1},
        {"UnknownSectionAndKeyInTheWrongSection",
         {{"Information.txt", "[Captoin]\r\nAppCaption=X\r\n[Caption]\r\nShortCutApp=VORN6.exe\r\nno equals sign\r\n"}},
         {},
         {{Severity::Warning, "Information.txt", 1, "[Captoin]: not a section the installer reads; its keys are ignored; did you mean [Caption]?"},
          {Severity::Warning, "Information.txt", 4, "ShortCutApp: read from [Application], not from [Caption]"},
          {Severity::Note, "Information.txt", 5, "has no \"=\""}},
         1},
        {"UpdateWordsThatOnlyLookLikeYes",
         {{"Information.txt", "[Application]\r\nUpDate=yes\r\nUpDateShortCut=YES\r\n"}},
         {},
         {{Severity::Warning, "Information.txt", 2, "UpDate=yes looks like yes, but only exactly \"Yes\" counts"},
          {Severity::Warning, "Information.txt", 3, "UpDateShortCut=YES looks like yes"}},
         1},
        {"Utf8WithoutMark",
         {{"Information.txt", "[Caption]\r\nVersion=1\r\nAppCaption=テスト\r\n"}, {"license.txt", "line one\nライセンス\n"}},
         {},
         {{Severity::Warning, "Information.txt", 3, "Information.txt is UTF-8 without a byte-order mark"},
          {Severity::Warning, "license.txt", 2, "license.txt is UTF-8 without a byte-order mark"}},
         1},
        {"ProductFolderMissing",
         {},
         {"VORN6"},
         {{Severity::Error, "", 0, "product folder \"D:\\VORN6\\\" (ExeDir + CopyFolderName) not found: the installation would stop"}},
         2},
        {"ProductFolderNamedInLowerCase", {{"Information.txt", "[Application]\r\nCopyFolderName=vorn6\r\n"}}, {}, {}, 0},
        {"ProgramIconAndCompanionMissing",
         {},
         {"VORN6/VORN6.exe", "VORN6/Kelvora.ico", "VORN6/Kelvora_Auth.exe"},
         {{Severity::Warning, "", 0, "ShortCutApp \"VORN6.exe\" is not in the product folder"},
          {Severity::Warning, "", 0, "ShortCutIco \"Kelvora.ico\" is not in the product folder"},
          {Severity::Warning, "", 0, "Kelvora_Auth.exe not in the product folder"}},
         1},
        {"FurtherSetupMissingAndUnnamed",
         {{"Information.txt", "[Application]\r\nSetupOtherApp02=extra.exe\r\n"}},
         {},
         {{Severity::Warning, "Information.txt", 2, "SetupOtherApp02 \"extra.exe\" not found beside the installer"},
          {Severity::Note, "Information.txt", 2, "SetupOtherApp02 has no SetupOtherName02"}},
         1},
        {"LicenceMissing", {}, {"license.txt"}, {{Severity::Warning, "license.txt", 0, "license.txt not found"}}, 1},
        {"PictureMissing",
         {{"Information.txt", "[Caption]\r\nImage01=side.bmp\r\n"}},
         {},
         {{Severity::Warning, "Information.txt", 2, "picture \"side.bmp\" not found"}},
         1},
        {"PictureWithAnExtensionTheInstallerDoesNotLoad",
         {{"Information.txt", "[Caption]\r\nImage01=side.txt\r\n"}, {"side.txt", "text"}},
         {},
         {{Severity::Error, "Information.txt", 2, "画像のファイル拡張子 (.txt) が不明です"}},
         2},
        {"RelativeFolderName",
         {{"Information.txt", "[Application]\r\nFolderName=Programs\\Sample\r\n"}},
         {},
         {{Severity::Warning, "Information.txt", 2, "is relative: the installer completes it against its working folder (here D:\\Programs\\Sample)"}},
         1},
        {"FolderNameWithABadCharacter",
         {{"Information.txt", "[Application]\r\nFolderName=C:\\Sample|1\r\n"}},
         {},
         {{Severity::Error, "Information.txt", 2, "holds a character Windows paths cannot hold"}},
         2},
        {"FolderNameWithAMisplacedColon",
         {{"Information.txt", "[Application]\r\nFolderName=C:\\Sample:1\r\n"}},
         {},
         {{Severity::Error, "Information.txt", 2, "holds a \":\" elsewhere than after the drive letter"}},
         2},
        {"FolderNameEmpty",
         {{"Information.txt", "[Application]\r\nFolderName=\r\n"}},
         {},
         {{Severity::Error, "Information.txt", 2, "FolderName \"\" is empty"}},
         2},
        {"FolderNameTooLong",
         {{"Information.txt", "[Application]\r\nFolderName=C:\\" + std::string(250, 'a') + "\r\n"}},
         {},
         {{Severity::Error, "Information.txt", 2, "is 248 characters or longer"}},
         2},
        {"TargetPathsTooLongForTheCopy",
         {{"Information.txt", "[Application]\r\nFolderName=C:\\" + std::string(200, 'a') + "\r\n"},
          {"VORN6/" + std::string(60, 'b') + "/file.txt", "x"}},
         {},
         {{Severity::Warning, "", 0, "1 target paths would be 260 characters or longer"}},
         1},
        {"StartMenuFolderWithASeparator",
         {{"Information.txt", "[Application]\r\nStertMenuName=Drosvik\\VORN6\r\n"}},
         {},
         {{Severity::Warning, "Information.txt", 2, "its parent must already exist in the start menu"}},
         1},
        {"NameShiftJisCannotHold",
         {{"Information.txt", kBom + "[Application]\r\nShortCutName=Café\r\n"}},
         {},
         {{Severity::Warning, "Information.txt", 2, "ShortCutName \"Café\" holds characters Shift-JIS cannot hold"}},
         1},
        {"UpdateModeWithoutCompanionBesideTheInstaller",
         {{"Information.txt", "[Application]\r\nUpDate=Yes\r\n"}},
         {},
         {{Severity::Warning, "", 0, "Kelvora_Auth.exe not found beside the installer"}},
         1},
    };
}

class CheckerFolders : public ::testing::TestWithParam<FolderCase> {};

TEST_P(CheckerFolders, GiveTheirFindingsAndExitCode) {
    const FolderCase& c = GetParam();
    TempFolder t;
    CleanFolder(t);
    for (const std::string& r : c.removed) fs::remove_all(fs::path(t.path) / r);
    for (const auto& [name, bytes] : c.files) t.Write(name, bytes);

    const check::Report report = Check(t);
    ASSERT_EQ(report.findings.size(), c.findings.size()) << Describe(report);
    for (size_t i = 0; i < c.findings.size(); ++i) {
        const check::Finding& got = report.findings[i];
        const Expected& want = c.findings[i];
        EXPECT_EQ(got.severity, want.severity) << Describe(report);
        EXPECT_EQ(text::ToUtf8(got.file), want.file) << Describe(report);
        EXPECT_EQ(got.line, want.line) << Describe(report);
        EXPECT_NE(text::ToUtf8(got.message).find(want.text), std::string::npos) << Describe(report);
    }
    EXPECT_EQ(report.ExitCode(), c.exitCode);
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckerFolders, ::testing::ValuesIn(FolderCases()),
                         [](const auto& info) { return std::string(info.param.name); });

std::vector<std::string> Lines(const check::Report& r) {
    std::vector<std::string> out;
    for (const std::u16string& l : r.LogLines()) out.push_back(text::ToUtf8(l));
    return out;
}

TEST(CheckerPlan, InstallationRunWithFurtherSetupsAndAPicture) {
    TempFolder t;
    CleanFolder(t);
    t.Write("Information.txt",
            "[Caption]\r\nImage01=side.png\r\nSetupOtherName01=Runtime\r\n"
            "[Application]\r\nFolderName=C:\\Sample\r\nStertMenuName=Samples\r\nShortCutName=Sample\r\n"
            "SetupOtherApp01=runtime.exe\r\nSetupOtherApp03=missing.exe\r\n");
    t.Write("side.png", "PNG");
    t.Write("runtime.exe", "MZ");
    t.Write("VORN6/data/readme.txt", "12345");

    const check::Report report = Check(t);
    EXPECT_EQ(Lines(report), (std::vector<std::string>{
                                 "OK : File Found : D:\\\\license.txt",
                                 "OK : Load Image File : D:\\side.png",
                                 "OK : Folder Crate : C:\\Vorn\\Data",
                                 "OK : Folder Copy : D:\\VORN6\\ C:\\Sample",
                                 "Other App : runtime.exe",
                                 "Other App : missing.exe",
                                 "NG : File Not Found : D:\\\\missing.exe",
                                 "OK : Short Cut File Save : <Desktop>\\Sample.lnk",
                                 "OK : ShortCut : C:\\Sample\\VORN6.exe Sample",
                                 "OK : Short Cut File Save : <Programs>\\Samples\\Sample.lnk",
                                 "OK : ShortCut : <Programs>\\Samples C:\\Sample\\VORN6.exe",
                             }));
    EXPECT_EQ(report.copyFiles, 4u);
    EXPECT_EQ(report.copyFolders, 1u);
    EXPECT_EQ(report.copyBytes, std::string("MZ programiconMZ companion12345").size());
}

TEST(CheckerPlan, MissingProgramAndEmptyLinkNameGiveTheInstallersLines) {
    TempFolder t;
    CleanFolder(t);
    fs::remove(fs::path(t.path) / "VORN6/VORN6.exe");
    t.Write("Information.txt", "[Application]\r\nShortCutName=\r\nShortCutApp=Main.exe\r\n");
    const check::Report report = Check(t);
    EXPECT_EQ(Lines(report), (std::vector<std::string>{
                                 "OK : File Found : D:\\\\license.txt",
                                 "OK : Folder Crate : C:\\Vorn\\Data",
                                 "OK : Folder Copy : D:\\VORN6\\ C:\\Drosvik\\VORN6",
                                 "NG : File Not Found : C:\\Drosvik\\VORN6\\Main.exe",
                                 "NG : ShortCut : C:\\Drosvik\\VORN6\\Main.exe ",
                                 "NG : File Not Found : C:\\Drosvik\\VORN6\\Main.exe",
                                 "NG : ShortCut : <Programs>\\Drosvik C:\\Drosvik\\VORN6\\Main.exe",
                             }));
    // With the program present, the empty link name gives the shell's default file name.
    t.Write("VORN6/Main.exe", "MZ");
    EXPECT_EQ(Lines(Check(t))[3], "OK : Short Cut File Save : <Desktop>\\Main.exe - Shortcut.lnk");
}

TEST(CheckerPlan, CopyFailureEndsTheRun) {
    TempFolder t;
    CleanFolder(t);
    fs::remove_all(fs::path(t.path) / "VORN6");
    const check::Report report = Check(t);
    EXPECT_EQ(Lines(report), (std::vector<std::string>{"OK : File Found : D:\\\\license.txt",
                                                       "OK : Folder Crate : C:\\Vorn\\Data",
                                                       "NG : Folder Copy : D:\\VORN6\\ C:\\Drosvik\\VORN6"}));
    // The run's last step is its failure box; the window then closes and saves its log.
    const auto box = std::find_if(report.plan.begin(), report.plan.end(), [](const check::PlanStep& step) {
        return text::ToUtf8(step.action) == "message box \"注意\": フォルダーコピーに失敗しました : C:\\Drosvik\\VORN6 → OK";
    });
    ASSERT_NE(box, report.plan.end());
    ASSERT_EQ(report.plan.end() - box, 3);
    EXPECT_EQ(text::ToUtf8(box[1].action), "exit: the window closes and saves the setup log");
    EXPECT_EQ(text::ToUtf8(box[2].action).rfind("write D:\\Setuplog.txt", 0), 0u);
}

TEST(CheckerPlan, UpdateModeCopiesOverFolderNameAndRecreatesTheDesktopShortcut) {
    TempFolder t;
    CleanFolder(t);
    t.Write("Kelvora_Auth.exe", "MZ");
    t.Write("Information.txt", "[Application]\r\nUpDate=Yes\r\nUpDateShortCut=Yes\r\nFolderName=C:\\Installed\r\n");
    const check::Report report = Check(t);
    EXPECT_TRUE(report.updateMode);
    EXPECT_EQ(report.ExitCode(), 0) << Describe(report);
    EXPECT_EQ(Lines(report), (std::vector<std::string>{
                                 "OK : File Found : D:\\\\license.txt",
                                 "OK : Folder Copy : D:\\VORN6\\ C:\\Installed",
                                 "OK : Short Cut File Save : <Desktop>\\VORN6.lnk",
                                 "OK : ShortCut : C:\\Installed\\VORN6.exe VORN6",
                             }));
    // Without UpDateShortCut=Yes the update writes only its copy line.
    t.Write("Information.txt", "[Application]\r\nUpDate=Yes\r\n");
    EXPECT_EQ(Lines(Check(t)).size(), 2u);
}

TEST(CheckerPlan, WorkingFolderCompletesARelativeFolderName) {
    TempFolder t;
    CleanFolder(t);
    t.Write("Information.txt", "[Application]\r\nFolderName=..\\Sample\r\n");
    const check::Report report = Check(t, u"C:\\Users\\me\\Downloads");
    std::map<std::string, std::string> derived;
    for (const check::DerivedRow& row : report.derived) derived[text::ToUtf8(row.name)] = text::ToUtf8(row.value);
    EXPECT_EQ(derived["InstallDir"], "C:\\Users\\me\\Sample");
    EXPECT_EQ(derived["DefaultInstallDir"], "..\\Sample");
    EXPECT_EQ(Lines(report)[2], "OK : Folder Copy : D:\\VORN6\\ C:\\Users\\me\\Sample");
}

// The plan of the installer's own run, for folders of each kind: its setup
// log and its message boxes, written out.
struct PlanCase {
    const char* name;
    std::map<std::string, std::string> files;  // written over the clean folder
    std::vector<std::string> removed;          // taken from the clean folder
    bool desktopShortcut, startMenuShortcut, confirm;
    std::vector<std::string> log;
    std::vector<std::string> boxes;  // as the plan's message-box steps name them
};

std::vector<PlanCase> PlanCases() {
    const std::string notice = "\"セットアップ確認\": このセットアップ作業は、新規インストール用です。 → OK";
    const std::string update = "\"アップデート\":  VORN6 x86版  のアップデートを行いますか？";
    const std::string updateInfo = "[Application]\r\nUpDate=Yes\r\nUpDateShortCut=Yes\r\nFolderName=C:\\Installed\r\n";
    return {
        {"Installation",
         {{"Information.txt", "[Caption]\r\nSetupOtherName01=Runtime\r\n[Application]\r\nFolderName=C:\\Sample\r\n"
                              "SetupOtherApp01=runtime.exe\r\n"},
          {"runtime.exe", "MZ"}},
         {},
         true, true, true,
         {"OK : File Found : D:\\\\license.txt", "OK : Folder Crate : C:\\Vorn\\Data", "OK : Folder Copy : D:\\VORN6\\ C:\\Sample",
          "Other App : runtime.exe", "OK : Short Cut File Save : <Desktop>\\VORN6.lnk", "OK : ShortCut : C:\\Sample\\VORN6.exe VORN6",
          "OK : Short Cut File Save : <Programs>\\Drosvik\\VORN6.lnk", "OK : ShortCut : <Programs>\\Drosvik C:\\Sample\\VORN6.exe"},
         {notice, "\"Runtime のセットアップ\": Runtime のセットアップを行います。指示に従い、セットアップを完了してください。 → OK"}},
        {"InstallationWithoutTheTasks",
         {},
         {},
         false, false, true,
         {"OK : File Found : D:\\\\license.txt", "OK : Folder Crate : C:\\Vorn\\Data",
          "OK : Folder Copy : D:\\VORN6\\ C:\\Drosvik\\VORN6"},
         {notice}},
        {"StartMenuFolderBelowOneThatIsMissing",
         {{"Information.txt", "[Application]\r\nStertMenuName=Drosvik\\Tools\r\n"}},
         {"license.txt"},
         false, true, true,
         {"NG : File Not Found : D:\\\\license.txt", "OK : Folder Crate : C:\\Vorn\\Data",
          "OK : Folder Copy : D:\\VORN6\\ C:\\Drosvik\\VORN6",
          "NG : Short Cut File Save : <Programs>\\Drosvik\\Tools\\VORN6.lnk",
          "NG : ShortCut : <Programs>\\Drosvik\\Tools C:\\Drosvik\\VORN6\\VORN6.exe"},
         {notice}},
        {"ProductFolderMissing",
         {},
         {"VORN6"},
         true, true, true,
         {"OK : File Found : D:\\\\license.txt", "OK : Folder Crate : C:\\Vorn\\Data",
          "NG : Folder Copy : D:\\VORN6\\ C:\\Drosvik\\VORN6"},
         {notice, "\"注意\": フォルダーコピーに失敗しました : C:\\Drosvik\\VORN6 → OK"}},
        {"PictureTheInstallerCannotLoad",
         {{"Information.txt", "[Caption]\r\nImage01=side.txt\r\n"}, {"side.txt", "text"}},
         {},
         true, false, true,
         {"OK : File Found : D:\\\\license.txt", "OK : Load Image File : D:\\side.txt", "OK : Folder Crate : C:\\Vorn\\Data",
          "OK : Folder Copy : D:\\VORN6\\ C:\\Drosvik\\VORN6", "OK : Short Cut File Save : <Desktop>\\VORN6.lnk",
          "OK : ShortCut : C:\\Drosvik\\VORN6\\VORN6.exe VORN6"},
         {notice}},
        {"InstalledAlreadyAndNotOverwritten",
         {{"Information.txt", "[Application]\r\nFolderName=D:\\Installed\r\n"}, {"Installed/VORN6.exe", "MZ old"}},
         {},
         true, true, false,
         {"OK : File Found : D:\\\\license.txt"},
         {"\"セットアップ確認\": このセットアップ作業は、新規インストール用です。 → OK",
          "\"セットアップ確認\": すでにこのシステムにインストールされています。 / D:\\Installed\\VORN6.exe / "
          "すべてのフォルダが上書きされます。継続しますか？ → Cancel"}},
        {"Update",
         {{"Information.txt", updateInfo}, {"Kelvora_Auth.exe", "MZ"}},
         {},
         true, true, true,
         {"OK : File Found : D:\\\\license.txt", "OK : Folder Copy : D:\\VORN6\\ C:\\Installed",
          "OK : Short Cut File Save : <Desktop>\\VORN6.lnk", "OK : ShortCut : C:\\Installed\\VORN6.exe VORN6"},
         {update + " → OK", "\"報告\": 上書きアップデートを行いました。 → OK"}},
        {"UpdateWithoutProductFolder",
         {{"Information.txt", updateInfo}, {"Kelvora_Auth.exe", "MZ"}},
         {"VORN6"},
         true, true, true,
         {"OK : File Found : D:\\\\license.txt", "NG : Folder Copy : D:\\VORN6\\ C:\\Installed",
          "NG : File Not Found : C:\\Installed\\VORN6.exe", "NG : ShortCut : C:\\Installed\\VORN6.exe VORN6"},
         {update + " → OK", "\"警告\": 上書きアップデートは、失敗しました。 → OK"}},
        {"UpdateCancelled",
         {{"Information.txt", updateInfo}},
         {},
         true, true, false,
         {"OK : File Found : D:\\\\license.txt"},
         {update + " → Cancel"}},
    };
}

class CheckerPlans : public ::testing::TestWithParam<PlanCase> {};

TEST_P(CheckerPlans, AreTheInstallersLogAndBoxes) {
    const PlanCase& c = GetParam();
    TempFolder t;
    CleanFolder(t);
    for (const std::string& r : c.removed) fs::remove_all(fs::path(t.path) / r);
    for (const auto& [name, bytes] : c.files) t.Write(name, bytes);
    PosixFileSystem pfs(t.path);
    NativeCodec codec;
    check::Options options;
    options.exeDir = pfs.Root();
    options.desktopShortcut = c.desktopShortcut;
    options.startMenuShortcut = c.startMenuShortcut;
    options.confirm = c.confirm;
    const check::Report report = check::CheckDistribution(pfs, codec, options);

    EXPECT_EQ(Lines(report), c.log);
    std::vector<std::string> boxes;
    for (const check::PlanStep& step : report.plan) {
        const std::string action = text::ToUtf8(step.action);
        if (action.rfind("message box ", 0) == 0) boxes.push_back(action.substr(12));
    }
    EXPECT_EQ(boxes, c.boxes);
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckerPlans, ::testing::ValuesIn(PlanCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// The simulated run only records: the folder is left exactly as it was, even
// where the run copies into it and writes its log there.
TEST(CheckerPlan, LeavesTheFolderAsItWas) {
    TempFolder t;
    CleanFolder(t);
    t.Write("Information.txt", "[Application]\r\nFolderName=D:\\Installed\r\nUpDate=Yes\r\nUpDateShortCut=Yes\r\n");
    t.Write("Kelvora_Auth.exe", "MZ companion");
    t.Folder("Installed");
    const auto snapshot = [&] {
        std::map<std::string, std::string> entries;  // relative path -> content, "/" for a folder
        for (const auto& e : fs::recursive_directory_iterator(t.path)) {
            std::string content = "/";
            if (e.is_regular_file()) {
                std::ifstream in(e.path(), std::ios::binary);
                content.assign(std::istreambuf_iterator<char>(in), {});
            }
            entries[fs::relative(e.path(), t.path).string()] = content;
        }
        return entries;
    };
    const auto before = snapshot();
    const check::Report report = Check(t);
    EXPECT_EQ(Lines(report), (std::vector<std::string>{"OK : File Found : D:\\\\license.txt",
                                                       "OK : Folder Copy : D:\\VORN6\\ D:\\Installed",
                                                       "OK : Short Cut File Save : <Desktop>\\VORN6.lnk",
                                                       "OK : ShortCut : D:\\Installed\\VORN6.exe VORN6"}));
    EXPECT_EQ(text::ToUtf8(report.plan.back().action).rfind("write D:\\Setuplog.txt", 0), 0u);
    EXPECT_EQ(snapshot(), before);
}

// Every step of an installation's plan as the text shows it: what the
// installer asks of the system, the log lines after it, the copy's figures.
TEST(CheckerPlan, StepsOfAnInstallation) {
    TempFolder t;
    CleanFolder(t);
    t.Write("Information.txt", "[Application]\r\nFolderName=C:\\Sample\r\nStertMenuName=Samples\r\n");
    t.Write("VORN6/data/readme.txt", "12345");
    const std::string out = check::FormatText(Check(t));
    const std::string plan = out.substr(out.find("Plan ("), out.find("\nResult:") - out.find("Plan ("));
    EXPECT_EQ(plan,
              "Plan (installation, both shortcuts ticked)\n"
              "  1. start-up: the window is built and reads its settings, the licence and the side picture; "
              "read D:\\Information.txt; read D:\\license.txt\n"
              "       log: OK : File Found : D:\\\\license.txt\n"
              "  2. first showing of the window: its start-up questions, or the update\n"
              "  3. message box \"セットアップ確認\": このセットアップ作業は、新規インストール用です。 → OK\n"
              "  4. installation run: desktop shortcut ticked, start-menu shortcut ticked\n"
              "  5. create folders C:\\Vorn, C:\\Vorn\\Data\n"
              "       log: OK : Folder Crate : C:\\Vorn\\Data\n"
              "  6. create folder C:\\Sample; copy D:\\VORN6 into C:\\Sample [4 files, 1 folder, 31 bytes]\n"
              "       log: OK : Folder Copy : D:\\VORN6\\ C:\\Sample\n"
              "  7. save the shortcut <Desktop>\\VORN6.lnk to C:\\Sample\\VORN6.exe, icon C:\\Sample\\Kelvora.ico\n"
              "       log: OK : Short Cut File Save : <Desktop>\\VORN6.lnk\n"
              "       log: OK : ShortCut : C:\\Sample\\VORN6.exe VORN6\n"
              "  8. create folder <Programs>\\Samples\n"
              "  9. save the shortcut <Programs>\\Samples\\VORN6.lnk to C:\\Sample\\VORN6.exe, icon C:\\Sample\\Kelvora.ico\n"
              "       log: OK : Short Cut File Save : <Programs>\\Samples\\VORN6.lnk\n"
              "       log: OK : ShortCut : <Programs>\\Samples C:\\Sample\\VORN6.exe\n"
              "  10. finish page, its box to start the product not ticked: the wizard ends\n"
              "  11. exit: the window closes and saves the setup log\n"
              "  12. write D:\\Setuplog.txt (313 bytes)\n");
}

TEST(CheckerOutput, TextAndJsonShowOriginsFindingsAndThePlan) {
    TempFolder t;
    CleanFolder(t);
    t.Write("Information.txt", "[Caption]\r\nVersion=2.0\r\nVersoin=3\r\n");
    const check::Report report = Check(t);
    const std::string out = check::FormatText(report);
    EXPECT_NE(out.find("Version = \"2.0\"  (Information.txt line 2)"), std::string::npos) << out;
    EXPECT_NE(out.find("AppCaption = \"VORN6 x86版\"  (built-in default)"), std::string::npos) << out;
    EXPECT_NE(out.find("SetupTitle = \" VORN6 x86版 2.0 \""), std::string::npos) << out;
    EXPECT_NE(out.find("warning: Information.txt:3: Versoin: not a key the installer reads; did you mean Version?"),
              std::string::npos) << out;
    EXPECT_NE(out.find("    fix: write Version"), std::string::npos) << out;
    EXPECT_NE(out.find("log: OK : Folder Copy : D:\\VORN6\\ C:\\Drosvik\\VORN6"), std::string::npos) << out;
    EXPECT_NE(out.find("(exit code 1)"), std::string::npos) << out;

    const std::string json = check::FormatJson(report);
    EXPECT_NE(json.find("\"exitCode\": 1"), std::string::npos);
    EXPECT_NE(json.find("\"files\": 3"), std::string::npos);
}

TEST(CheckerNames, NearestKnownNameOrNone) {
    const std::vector<std::u16string> known = {u"StertMenuName", u"ShortCutName", u"FolderName"};
    EXPECT_EQ(check::NearestName(u"StartMenuName", known), u"StertMenuName");
    EXPECT_EQ(check::NearestName(u"foldername ", known), u"FolderName");
    EXPECT_EQ(check::NearestName(u"Licence", known), u"");
}

}  // namespace
