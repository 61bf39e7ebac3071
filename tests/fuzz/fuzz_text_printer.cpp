// The text printer's layout over a fake device whose page size, character
// widths and line height the fuzzer chooses (zero-width characters and pages
// narrower than the margins included). The job must end; no character may be
// lost, doubled or drawn outside the left margin; every piece must fit the
// printable width unless it is a single character; the title appears only
// right after a page break.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "platform/AppError.h"
#include "platform/PrintDevice.h"
#include "print/Textprintclass.h"

namespace {

class LayoutDevice : public PrintDevice {
public:
    int pageWidth = 0, pageHeight = 0, lineHeight = 0;
    int widths[16] = {};
    bool startFails = false;
    bool printing = false;
    bool ended = false;
    int pages = 0;
    struct Draw {
        int page, x, y;
        std::u16string text;
        bool afterBreak;
    };
    std::vector<Draw> draws;
    bool breakPending = false;
    bool lastWasTitle = false;

    int Width(char16_t c) const { return widths[c % 16]; }
    int PageWidth() override { return pageWidth; }
    int PageHeight() override { return pageHeight; }
    int TextWidth(const std::u16string& text) override {
        int w = 0;
        for (char16_t c : text) w += Width(c);
        return w;
    }
    int TextHeight(const std::u16string&) override { return lineHeight; }
    void DrawTextAt(int x, int y, const std::u16string& text) override {
        if (!printing) throw AppError(u"プリンタは現在印刷を行っていません");
        // After a page break the printer draws the title first; a second break
        // right after it (a page too small for one line) is followed by the piece.
        const bool title = breakPending && !lastWasTitle;
        draws.push_back({pages, x, y, text, title});
        lastWasTitle = title;
        breakPending = false;
    }
    void NewPage() override {
        if (!printing) throw AppError(u"プリンタは現在印刷を行っていません");
        ++pages;
        breakPending = true;
    }
    void BeginDocument() override {
        printing = !startFails;
        if (printing) pages = 1;
    }
    void EndDocument() override {
        if (!printing) throw AppError(u"プリンタは現在印刷を行っていません");
        printing = false;
        ended = true;
    }
    void AbortDocument() override { printing = false; }
    bool IsPrinting() override { return printing; }
    void SetDocumentTitle(const std::u16string&) override {}
    void SetOrientation(Orientation) override {}
    void SetFontName(const std::u16string&) override {}
    void SetFontSize(int) override {}
    void SetFontColor(uint32_t) override {}
    void SetPenWidth(int) override {}
    void SetPenColor(uint32_t) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    LayoutDevice device;
    // Sizes a printer can report: up to a large-format page at 1200 dpi.
    device.pageWidth = in.Range(0, 14000);
    device.pageHeight = in.Range(0, 20000);
    device.lineHeight = in.Range(0, 400);
    for (int& w : device.widths) w = in.Range(0, 300) * (in.Byte() % 4 == 0 ? 0 : 1);
    device.startFails = in.Byte() % 16 == 0;

    T_TextPrintClass printer;
    printer.SetPrinter(&device);
    if (in.Byte() % 4 == 0) {
        printer.MarginLeft = in.Range(0, 3000);
        printer.MarginRight = in.Range(0, 3000);
        printer.MarginTop = in.Range(0, 3000);
        printer.MarginBottom = in.Range(0, 3000);
    }
    // The rest: lines of UTF-16 separated by U+000A; the first is the title.
    // Lines are kept short enough that measuring every prefix stays quick.
    const std::u16string units = in.RestUtf16();
    std::vector<std::u16string> lines(1);
    for (char16_t c : units) {
        if (c == u'\n') lines.emplace_back();
        else if (lines.back().size() < 400) lines.back().push_back(c);
    }
    printer.Title = lines.front();
    printer.Lines.assign(lines.begin() + 1, lines.end());

    try {
        printer.PrintDocument();
    } catch (const AppError&) {
        // Only a job the device refused may fail, and then nothing is drawn.
        FUZZ_CHECK(device.startFails);
        FUZZ_CHECK(device.draws.empty());
        return 0;
    }
    FUZZ_CHECK(!device.startFails && device.ended);

    const int avail = device.pageWidth - printer.MarginLeft - printer.MarginRight;
    size_t d = 0;
    for (const std::u16string& line : printer.Lines) {
        std::u16string joined;
        bool firstPiece = true;
        while (joined.size() < line.size() || firstPiece) {
            FUZZ_CHECK(d < device.draws.size());
            const LayoutDevice::Draw& draw = device.draws[d++];
            FUZZ_CHECK(draw.x == printer.MarginLeft);
            if (draw.afterBreak) {
                // The title opens every continuation page at the top margin.
                FUZZ_CHECK(draw.text == printer.Title && draw.y == printer.MarginTop);
                continue;
            }
            if (line.empty()) {
                FUZZ_CHECK(draw.text == u" ");
                break;
            }
            FUZZ_CHECK(!draw.text.empty());
            FUZZ_CHECK(draw.text.size() == 1 || device.TextWidth(draw.text) <= avail);
            // A piece is as long as it can be: one more character would not fit.
            const size_t next = joined.size() + draw.text.size();
            if (next < line.size()) {
                FUZZ_CHECK(device.TextWidth(line.substr(joined.size(), draw.text.size() + 1)) > avail);
            }
            joined += draw.text;
            firstPiece = false;
        }
        FUZZ_CHECK(joined == line);
    }
    FUZZ_CHECK(d == device.draws.size());
    return 0;
}
