// The licence page's print button on the fakes: which file is printed and how
// it is read, the log line, and every way the print ends without one.
#include <gtest/gtest.h>

#include "WizardFixture.h"
#include "platform/AppError.h"
#include "print/Textprintclass.h"

using namespace wiztest;

namespace {

class LicencePrint : public Wizard {
protected:
    FakePrintDevice& device() { return fp.print.device; }

    // The installer on its licence page with this licence beside it.
    void OnLicencePage(const std::string& licenceBytes) {
        fp.fs.AddFile(kLicencePath, licenceBytes);
        Start();
        GoTo(1);
    }
    void Print() { Click(ids::Button_Print); }

    std::vector<std::u16string> Printed() const {
        std::vector<std::u16string> texts;
        for (const auto& d : fp.print.device.draws) texts.push_back(d.text);
        return texts;
    }
    std::vector<std::u16string> PrintLines() {
        std::vector<std::u16string> lines;
        for (const auto& l : LogLines())
            if (l.starts_with(u"OK : Print : ")) lines.push_back(l);
        return lines;
    }
    std::vector<std::u16string> ErrorTexts() const {
        std::vector<std::u16string> texts;
        for (const auto& e : fp.dialogs.errors) texts.push_back(e.text);
        return texts;
    }
};

const std::u16string kLogLine = u"OK : Print : Fake Printer license.txt";

}  // namespace

TEST_F(LicencePrint, PrintsTheLicenceBesideTheInstallerNotTheOneInTheWorkingFolder) {
    fp.fs.AddFile(u"C:\\Work\\license.txt", Sjis(u"作業フォルダの別の文書"));
    fp.print.chooseLandscape = true;
    OnLicencePage(Sjis(u"第1条　使用許諾\r\n\r\n第2条　禁止事項\r\n"));
    Print();
    EXPECT_EQ(Printed(), (std::vector<std::u16string>{u"第1条　使用許諾", u" ", u"第2条　禁止事項"}));
    EXPECT_EQ(device().calls.front(), u"BeginDocument  portrait") << "empty title, portrait despite the dialog";
    EXPECT_EQ(device().fontName, u"ＭＳ ゴシック");
    EXPECT_EQ(form->TextPrint->Printer, &device());
    EXPECT_EQ(LogLines().back(), kLogLine);
    EXPECT_TRUE(fp.dialogs.errors.empty());
    EXPECT_EQ(Page(), 1);
}

struct ReadCase {
    const char* name;
    std::string bytes;
    std::vector<std::u16string> lines;
};

class LicenceReading : public LicencePrint, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(LicenceReading, FileBecomesTheLinesPrinted) {
    OnLicencePage(GetParam().bytes);
    Print();
    EXPECT_EQ(form->TextPrint->Lines, GetParam().lines);
    EXPECT_EQ(LogLines().back(), kLogLine);
    EXPECT_EQ(device().jobs, 1);
}

INSTANTIATE_TEST_SUITE_P(
    LicencePrint, LicenceReading,
    ::testing::Values(
        ReadCase{"EmptyFilePrintsOneBlankPage", "", {}},
        ReadCase{"AnsiWithEveryLineBreak", "\x91\xe6\x31\x8f\xf0\r\nb\rc\nd", {u"第1条", u"b", u"c", u"d"}},
        ReadCase{"Utf8Mark", "\xEF\xBB\xBF\xE7\xAC\xAC\x31\xE6\x9D\xA1\r\n", {u"第1条"}},
        ReadCase{"Utf16LittleEndianMark", std::string("\xFF\xFE\x2C\x7B\x0A\x00z\x00", 8), {u"第", u"z"}},
        ReadCase{"Utf16BigEndianMark", std::string("\xFE\xFF\x7B\x2C\x00\x0D\x00\x0A", 8), {u"第"}},
        ReadCase{"TextEndsAtTheFirstNul", std::string("one\r\ntwo\0three\r\n", 17), {u"one", u"two"}},
        ReadCase{"BlankLinesInsideAreKept", "a\r\n\r\n\r\nb\r\n\r\n", {u"a", u"", u"", u"b", u""}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LicencePrint, CancelInTheDialogPrintsNothingAndKeepsTheLines) {
    OnLicencePage("first\r\n");
    Print();
    fp.fs.AddFile(kLicencePath, "changed\r\n");
    fp.print.dialogAnswers = {false};
    Print();
    EXPECT_EQ(fp.print.dialogs, 2);
    EXPECT_EQ(device().jobs, 1);
    EXPECT_EQ(form->TextPrint->Lines, std::vector<std::u16string>{u"first"});
    EXPECT_EQ(PrintLines().size(), 1u);
    EXPECT_TRUE(fp.dialogs.errors.empty());
}

TEST_F(LicencePrint, TwoPrintsInARowReadTheFileAfresh) {
    OnLicencePage("version one\r\n");
    Print();
    fp.fs.AddFile(kLicencePath, "version two\r\nsecond line\r\n");
    Print();
    EXPECT_EQ(Printed(), (std::vector<std::u16string>{u"version one", u"version two", u"second line"}));
    EXPECT_EQ(PrintLines(), (std::vector<std::u16string>{kLogLine, kLogLine}));
}

struct Failure {
    const char* name;
    std::function<void(FakePlatform&)> arrange;
    std::u16string error;  // the file error's system description for a file that cannot be read
    int dialogs;
    bool fileError = false;
};

class LicenceFailure : public LicencePrint, public ::testing::WithParamInterface<Failure> {};

TEST_P(LicenceFailure, GoesToTheErrorBoxWithoutALogLine) {
    OnLicencePage("text\r\n");
    const size_t logBefore = LogLines().size();
    GetParam().arrange(fp);
    Print();
    const std::u16string error =
        GetParam().fileError
            ? u"ファイル " + fp.fs.FullPath(kLicencePath) + u" は開けません。 " + TrimDescription(GetParam().error) + u" "
            : GetParam().error;
    EXPECT_EQ(ErrorTexts(), std::vector<std::u16string>{error});
    EXPECT_EQ(fp.print.dialogs, GetParam().dialogs);
    EXPECT_TRUE(device().draws.empty());
    EXPECT_EQ(LogLines().size(), logBefore);
    EXPECT_EQ(Page(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    LicencePrint, LicenceFailure,
    ::testing::Values(
        Failure{"NoDefaultPrinterBeforeAnyDialog", [](FakePlatform& p) { p.print.hasDefaultPrinter = false; },
                u"デフォルトのプリンタが現在選択されていません.", 0},
        Failure{"LicenceRemoved", [](FakePlatform& p) { p.fs.Remove(kLicencePath); },
                u"指定されたファイルが見つかりません。\r\n", 1, true},
        Failure{"LicenceHeldByAWriter", [](FakePlatform& p) { p.fs.lockedFiles.insert(kLicencePath); },
                u"プロセスはファイルにアクセスできません。別のプロセスが使用中です。\r\n", 1, true},
        Failure{"JobCannotStart", [](FakePlatform& p) { p.print.device.startFails = true; },
                u"プリンタは現在印刷を行っていません.", 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LicencePrint, FileErrorKeepsThePrinterReferenceOfThisPrint) {
    OnLicencePage("text\r\n");
    fp.fs.Remove(kLicencePath);
    Print();
    EXPECT_EQ(form->TextPrint->Printer, &device());
    EXPECT_EQ(fp.dialogs.errors.size(), 1u);
}

TEST_F(LicencePrint, SecondPrintConfirmedWhileSpoolingIsRefusedAndTheFirstFinishes) {
    fp.print.device.pageHeight = 550;  // three lines a page
    OnLicencePage("1\r\n2\r\n3\r\n4\r\n5\r\n");
    int nested = 0;
    device().onSpool = [&] {
        if (nested++ == 0) {
            fp.fs.AddFile(kLicencePath, "other\r\n");
            Print();  // the button clicked again while the first page spools
        }
    };
    Print();
    EXPECT_EQ(ErrorTexts(), std::vector<std::u16string>{u"印刷実行中です."});
    EXPECT_EQ(Printed(), (std::vector<std::u16string>{u"1", u"2", u"3", u"", u"4", u"5"}));
    EXPECT_EQ(device().jobs, 1);
    EXPECT_EQ(PrintLines(), std::vector<std::u16string>{kLogLine});
}
