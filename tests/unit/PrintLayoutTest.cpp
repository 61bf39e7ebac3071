// The text printer's layout on a device of fixed metrics: every character 10
// wide and 50 high, margins of 200, so a 1000-wide page holds 60 characters a
// piece. Each case lists every draw the job makes.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fakes/FakePlatform.h"
#include "platform/AppError.h"
#include "print/Textprintclass.h"

namespace {

struct Drawn {
    int page, x, y;
    std::u16string text;
    bool operator==(const Drawn&) const = default;
};

void PrintTo(const Drawn& d, std::ostream* os) {
    std::u16string t = d.text;
    *os << "{page " << d.page << ", " << d.x << ", " << d.y << ", " << t.size() << " units: \""
        << std::string(t.begin(), t.begin() + std::min<size_t>(t.size(), 12)) << "\"}";
}

std::u16string Chars(char16_t c, int n) { return std::u16string(static_cast<size_t>(n), c); }

struct LayoutCase {
    const char* name;
    std::vector<std::u16string> lines;
    std::u16string title;
    std::function<void(FakePrintDevice&)> setUp;  // device metrics or state before the job
    std::vector<Drawn> draws;
    int pages;
    int yAfter;  // Y when the job has ended
};

const std::u16string k60 = Chars(u'a', 60);

// Page height 550 leaves room for three pieces: at 250, 300 and 350 (the last
// one's top edge exactly at page height - bottom margin).
void ShortPage(FakePrintDevice& d) { d.pageHeight = 550; }

const LayoutCase kCases[] = {
    {"EmptyListPrintsOneBlankPage", {}, u"", nullptr, {}, 1, 200},
    {"EmptyLineDrawsOneSpace", {u""}, u"", nullptr, {{1, 200, 250, u" "}}, 1, 350},
    {"FirstPieceSitsOneLineBelowTheTopMargin",
     {u"一", u"二"},
     u"T",
     nullptr,
     {{1, 200, 250, u"一"}, {1, 200, 300, u"二"}},
     1,
     400},
    {"LineExactlyThePrintableWidthIsOnePiece", {k60}, u"", nullptr, {{1, 200, 250, k60}}, 1, 350},
    {"OneCharacterMoreGoesToTheNextLine",
     {k60 + u"Z"},
     u"",
     nullptr,
     {{1, 200, 250, k60}, {1, 200, 300, u"Z"}},
     1,
     400},
    {"ThreeHundredCharactersWithoutSpaces",
     {Chars(u'x', 300)},
     u"",
     nullptr,
     {{1, 200, 250, Chars(u'x', 60)},
      {1, 200, 300, Chars(u'x', 60)},
      {1, 200, 350, Chars(u'x', 60)},
      {1, 200, 400, Chars(u'x', 60)},
      {1, 200, 450, Chars(u'x', 60)}},
     1,
     550},
    {"SpaceAtTheWrapStartsTheNextLine",
     {k60 + u" next"},
     u"",
     nullptr,
     {{1, 200, 250, k60}, {1, 200, 300, u" next"}},
     1,
     400},
    {"SurrogatePairCanBeSplitAtTheWrap",
     {Chars(u'a', 59) + u"\U0002000B"},
     u"",
     nullptr,
     {{1, 200, 250, Chars(u'a', 59) + u"\xD840"}, {1, 200, 300, u"\xDC0B"}},
     1,
     400},
    {"PageBreakDrawsTheTitleAtTheTopMarginAndThePieceBelowIt",
     {u"a", u"b", u"c", u"d", u"e"},
     u"見出し",
     ShortPage,
     {{1, 200, 250, u"a"},
      {1, 200, 300, u"b"},
      {1, 200, 350, u"c"},
      {2, 200, 200, u"見出し"},
      {2, 200, 250, u"d"},
      {2, 200, 300, u"e"}},
     2,
     400},
    {"EmptyTitleLeavesTheFirstLineBlankOnLaterPagesToo",
     {u"a", u"b", u"c", u"d"},
     u"",
     ShortPage,
     {{1, 200, 250, u"a"}, {1, 200, 300, u"b"}, {1, 200, 350, u"c"}, {2, 200, 200, u""}, {2, 200, 250, u"d"}},
     2,
     350},
    {"WrappedPiecesBreakPagesLikeLines",
     {Chars(u'w', 150), u"z"},
     u"T",
     ShortPage,
     {{1, 200, 250, Chars(u'w', 60)},
      {1, 200, 300, Chars(u'w', 60)},
      {1, 200, 350, Chars(u'w', 30)},
      {2, 200, 200, u"T"},
      {2, 200, 250, u"z"}},
     2,
     350},
    // Landscape would give 100 characters a piece; the job is turned back to portrait.
    {"LandscapeChosenButPortraitPrinted",
     {Chars(u'L', 80)},
     u"",
     [](FakePrintDevice& d) { d.orientation = Orientation::Landscape; },
     {{1, 200, 250, Chars(u'L', 60)}, {1, 200, 300, Chars(u'L', 20)}},
     1,
     400},
    // 5 pixels of printable width, 10 a character: one character a piece, and the line ends.
    {"WidthTooSmallForOneCharacterStillEnds",
     {u"abc"},
     u"",
     [](FakePrintDevice& d) { d.pageWidth = 405; },
     {{1, 200, 250, u"a"}, {1, 200, 300, u"b"}, {1, 200, 350, u"c"}},
     1,
     450},
};

class Layout : public ::testing::TestWithParam<LayoutCase> {};

}  // namespace

TEST_P(Layout, DrawsEveryPieceWhereItBelongs) {
    const LayoutCase& c = GetParam();
    FakePrintDevice device;
    if (c.setUp) c.setUp(device);
    T_TextPrintClass tp;
    tp.SetPrinter(&device);
    tp.Lines = c.lines;
    tp.Title = c.title;
    tp.PrintDocument();

    std::vector<Drawn> drawn;
    for (const auto& d : device.draws) drawn.push_back({d.page, d.x, d.y, d.text});
    EXPECT_EQ(drawn, c.draws);
    EXPECT_EQ(device.pages, c.pages);
    EXPECT_EQ(tp.Y, c.yAfter);
    EXPECT_EQ(tp.X, 200);
    // One job, named after the title, in portrait, in 12-point black gothic with a black pen.
    EXPECT_EQ(device.jobs, 1);
    EXPECT_EQ(device.calls.front(), u"BeginDocument " + c.title + u" portrait");
    EXPECT_EQ(device.calls.back(), u"EndDocument");
    EXPECT_FALSE(device.printing);
    EXPECT_EQ(device.fontName, u"ＭＳ ゴシック");
    EXPECT_EQ(device.fontSize, 12);
    EXPECT_EQ(device.fontColor, 0u);
    EXPECT_EQ(device.penColor, 0u);
    EXPECT_EQ(device.penWidth, 1);
}

INSTANTIATE_TEST_SUITE_P(TextPrinter, Layout, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TextPrinter, FieldsAreStoredBeforeTheJobIsTurnedToPortrait) {
    FakePrintDevice device;
    device.orientation = Orientation::Landscape;
    T_TextPrintClass tp;
    EXPECT_EQ(tp.Printer, nullptr);
    EXPECT_TRUE(tp.Lines.empty());
    EXPECT_TRUE(tp.Title.empty());
    EXPECT_EQ(tp.MarginTop + tp.MarginBottom + tp.MarginLeft + tp.MarginRight, 800);
    tp.SetPrinter(&device);
    tp.PrintDocument();
    EXPECT_EQ(tp.PrintWidth, 1400 - 400) << "the landscape page";
    EXPECT_EQ(tp.PrintHeight, 1000 - 400);
    EXPECT_EQ(device.orientation, Orientation::Portrait);
}

TEST(TextPrinter, RunningJobIsAbortedBeforeTheNewOne) {
    FakePrintDevice device;
    device.printing = true;
    T_TextPrintClass tp;
    tp.SetPrinter(&device);
    tp.Lines = {u"x"};
    tp.PrintDocument();
    EXPECT_EQ(device.calls, (std::vector<std::u16string>{u"AbortDocument", u"BeginDocument  portrait", u"EndDocument"}));
    ASSERT_EQ(device.draws.size(), 1u);
}

TEST(TextPrinter, JobThatCannotStartFailsAtTheFirstDrawOrAtTheEnd) {
    for (const auto& lines : {std::vector<std::u16string>{u"印刷されない"}, std::vector<std::u16string>{}}) {
        FakePrintDevice device;
        device.startFails = true;
        T_TextPrintClass tp;
        tp.SetPrinter(&device);
        tp.Lines = lines;
        try {
            tp.PrintDocument();
            ADD_FAILURE() << "no error for " << lines.size() << " lines";
        } catch (const AppError& e) {
            EXPECT_EQ(e.Message(), u"プリンタは現在印刷を行っていません");
        }
        EXPECT_TRUE(device.draws.empty());
        EXPECT_EQ(device.calls, std::vector<std::u16string>{u"BeginDocument  portrait"}) << "no end of document";
    }
}

TEST(TextPrinter, LinesAddedWhileAPageIsSpooledArePrintedToo) {
    // The line count is read again before every line.
    FakePrintDevice device;
    device.pageHeight = 550;
    T_TextPrintClass tp;
    tp.SetPrinter(&device);
    tp.Lines = {u"a", u"b", u"c", u"d"};
    device.onSpool = [&] {
        if (tp.Lines.size() == 4) tp.Lines.push_back(u"late");
    };
    tp.PrintDocument();
    ASSERT_EQ(device.draws.size(), 6u);
    EXPECT_EQ(device.draws.back().text, u"late");
}

TEST(TextPrinter, FitCountMeasuresPrefixesAgainstTheWidthReadNow) {
    FakePrintDevice device;
    T_TextPrintClass tp;
    tp.SetPrinter(&device);
    EXPECT_EQ(tp.FitCount(u""), 0);
    EXPECT_EQ(tp.FitCount(Chars(u'a', 59)), 59);
    EXPECT_EQ(tp.FitCount(k60), 60) << "a prefix exactly as wide fits";
    EXPECT_EQ(tp.FitCount(k60 + u"b"), 60);
    device.pageWidth = 500;
    EXPECT_EQ(tp.FitCount(k60), 10);
    device.pageWidth = 405;
    EXPECT_EQ(tp.FitCount(u"abc"), 0);
}
