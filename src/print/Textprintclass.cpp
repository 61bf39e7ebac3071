#include "print/Textprintclass.h"

#include "platform/PrintDevice.h"

void T_TextPrintClass::PrintDocument() {
    X = MarginLeft;
    Y = MarginTop;
    PrintWidth = Printer->PageWidth() - (MarginLeft + MarginRight);
    PrintHeight = Printer->PageHeight() - (MarginTop + MarginBottom);
    if (Printer->IsPrinting()) Printer->AbortDocument();
    Printer->SetFontName(u"ＭＳ ゴシック");
    Printer->SetDocumentTitle(Title);
    if (Printer->IsPrinting()) return;
    Printer->SetOrientation(Orientation::Portrait);
    Printer->BeginDocument();
    PrintLines(Lines);
    Printer->EndDocument();
}

void T_TextPrintClass::PrintLines(const std::vector<std::u16string>& list) {
    Printer->SetFontSize(12);
    Printer->SetFontColor(0x000000);
    Printer->SetPenWidth(1);
    Printer->SetPenColor(0x000000);
    int32_t h = 0;
    bool drewAny = false;
    for (size_t i = 0; i < list.size(); ++i) {
        std::u16string rest = list[i];
        bool first = true;
        while (first || !rest.empty()) {
            first = false;
            std::u16string piece;
            if (!rest.empty()) {
                int32_t c = FitCount(rest);
                // Not even one character fits: take one anyway, so the line ends.
                if (c < 1) c = 1;
                piece = rest.substr(0, static_cast<size_t>(c));
                rest.erase(0, static_cast<size_t>(c));
            } else {
                piece = u" ";
            }
            h = Printer->TextHeight(piece);
            if (NextLine(h)) {
                Printer->DrawTextAt(MarginLeft, Y, Title);
                NextLine(h);
            }
            Printer->DrawTextAt(MarginLeft, Y, piece);
            drewAny = true;
        }
    }
    if (drewAny) Y += 2 * h;
}

int32_t T_TextPrintClass::FitCount(const std::u16string& text) {
    const int32_t avail = Printer->PageWidth() - MarginLeft - MarginRight;
    for (size_t k = 1; k <= text.size(); ++k) {
        if (Printer->TextWidth(text.substr(0, k)) > avail) return static_cast<int32_t>(k - 1);
    }
    return static_cast<int32_t>(text.size());
}

bool T_TextPrintClass::NextLine(int32_t h) {
    if (Printer->PageHeight() >= Y + h + MarginBottom) {
        Y += h;
        return false;
    }
    Printer->NewPage();
    X = MarginLeft;
    Y = MarginTop;
    return true;
}
