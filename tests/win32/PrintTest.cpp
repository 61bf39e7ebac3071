// The text printer on a real printer device context under Wine: a PostScript
// file printer (scripts/setup-printer) whose output is rendered with
// ghostscript and looked at pixel by pixel: margins, wrapping, page break with
// the title, portrait forced, the abort check, the print dialog, output that
// cannot be written, and no default printer.
#include <windows.h>
#include <commdlg.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#define KELVORA_PRINT_OUT "win32"
#include "PrintPages.h"
#include "platform/AppError.h"
#include "platform/Text.h"
#include "platform/win32/Win32Print.h"
#include "platform/win32/Win32Text.h"
#include "print/Textprintclass.h"

namespace {

using namespace printpages;

// The dispatch the window layer would give the print system: every pending message.
void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// A hidden window whose handler runs when a posted message reaches it.
class Probe {
public:
    Probe() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KelvoraPrintProbe";
        RegisterClassW(&wc);
        hwnd_ = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Probe() { DestroyWindow(hwnd_); }
    void Post(std::function<void()> handler) {
        handler_ = std::move(handler);
        PostMessageW(hwnd_, WM_APP, 0, 0);
    }

private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l) {
        auto* self = reinterpret_cast<Probe*>(GetWindowLongPtrW(h, GWLP_USERDATA));
        if (msg == WM_APP && self && self->handler_) {
            auto handler = std::move(self->handler_);
            self->handler_ = nullptr;
            handler();
            return 0;
        }
        return DefWindowProcW(h, msg, w, l);
    }
    HWND hwnd_ = nullptr;
    std::function<void()> handler_;
};

// Answers the dialogs of this thread as a person would: OK or Cancel, after
// an optional look at or change of the dialog's controls.
class DialogAnswer {
public:
    explicit DialogAnswer(int button, std::function<void(HWND)> before = nullptr) {
        button_ = button;
        before_ = std::move(before);
        hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    }
    ~DialogAnswer() {
        UnhookWindowsHookEx(hook_);
        before_ = nullptr;
    }
    static int seen;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM w, LPARAM l) {
        if (code == HCBT_ACTIVATE) {
            const HWND dialog = reinterpret_cast<HWND>(w);
            if (wtest::IsDialog(dialog)) {
                ++seen;
                if (before_) before_(dialog);
                wtest::PressButton(dialog, button_);
            }
        }
        return CallNextHookEx(nullptr, code, w, l);
    }
    static int button_;
    static std::function<void(HWND)> before_;
    HHOOK hook_ = nullptr;
};
int DialogAnswer::seen = 0;
int DialogAnswer::button_ = IDOK;
std::function<void(HWND)> DialogAnswer::before_;

// The printer combo box of the print dialog.
constexpr int kPrinterCombo = 0x0473;

std::wstring ComboText(HWND dialog) {
    const HWND combo = GetDlgItem(dialog, kPrinterCombo);
    const LRESULT i = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (i == CB_ERR) return {};
    wchar_t text[256] = {};
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    return text;
}

void ChooseInCombo(HWND dialog, const std::wstring& name) {
    const HWND combo = GetDlgItem(dialog, kPrinterCombo);
    const LRESULT i = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kPrinterCombo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

std::u16string Repeat(const std::u16string& s, int n) {
    std::u16string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

class Win32Printing : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t name[256];
        DWORD size = 256;
        if (!GetDefaultPrinterW(name, &size)) GTEST_FAIL() << "no default printer: run scripts/setup-printer";
    }
};

}  // namespace

TEST_F(Win32Printing, LongTextWrapsAtTheRightMarginAndRepeatsTheTitleOnThePageAfterTheFirst) {
    SpoolTarget out("layout");
    Win32PrintSystem print(nullptr, PumpMessages);
    PrintDevice& device = print.CurrentPrinter();
    const Metrics m = DefaultPrinterMetrics();
    ASSERT_GT(m.dpiY, 0);

    T_TextPrintClass tp;
    tp.SetPrinter(&device);
    tp.Title = u"見出し 使用許諾契約書（続き）";
    device.SetFontName(u"ＭＳ ゴシック");
    device.SetFontSize(12);
    const int h = device.TextHeight(u"あ");
    EXPECT_NEAR(h, m.dpiY / 6, m.dpiY / 30) << "12 pt at LOGPIXELSY";
    // Full-width text of five and a half printable widths a line; the lines
    // fill one and a half pages.
    const int perPage = (m.height - tp.MarginTop - tp.MarginBottom) / h;
    const int perPiece = (m.width - 400) / device.TextWidth(u"あ");
    const std::u16string clause = u"第一条　本ソフトウェアの使用許諾について定める。";
    const std::u16string line = Repeat(clause, perPiece * 11 / 2 / int(clause.size()));
    for (int i = 0; i < perPage * 3 / 2 / 6; ++i) tp.Lines.push_back(line);
    // Landscape before the job: the stored width is the landscape one, the job portrait.
    device.SetOrientation(Orientation::Landscape);
    const int landscapeWidth = device.PageWidth();
    ASSERT_GT(landscapeWidth, m.width);
    tp.PrintDocument();
    EXPECT_EQ(tp.PrintWidth, landscapeWidth - 400);
    EXPECT_EQ(device.PageWidth(), m.width);
    EXPECT_FALSE(device.IsPrinting());
    EXPECT_EQ(print.CurrentPrinterName(), u"Kelvora PS Printer");

    const std::string ps = out.Output();
    ASSERT_FALSE(ps.empty()) << "nothing reached " << out.path();
    EXPECT_EQ(Count(ps, "%%Page: "), 2);
    const std::vector<Gray> pages = Render(out.path(), m.dpiX);
    ASSERT_EQ(pages.size(), 2u);
    for (const Gray& page : pages) {
        ASSERT_GE(page.width, m.offsetX + m.width);
        // No ink outside the margins (a few pixels for glyph overhang).
        EXPECT_FALSE(page.AnyInk(0, 0, m.offsetX + 200 - 3, page.height)) << "ink left of the left margin";
        EXPECT_FALSE(page.AnyInk(m.offsetX + m.width - 200 + 3, 0, page.width, page.height)) << "ink in the right margin";
        // Wrapped lines fill the width: ink within two characters of the right margin.
        EXPECT_TRUE(page.AnyInk(m.offsetX + m.width - 200 - 2 * h, 0, m.offsetX + m.width - 200, page.height));
    }
    const int top = m.offsetY + 200;
    // Page 1: the band of one line below the top margin stays empty; text starts under it.
    EXPECT_FALSE(pages[0].AnyInk(0, 0, pages[0].width, top + h - 2));
    EXPECT_TRUE(pages[0].AnyInk(0, top + h, pages[0].width, top + 2 * h));
    // Page 2: the title at the top margin.
    EXPECT_FALSE(pages[1].AnyInk(0, 0, pages[1].width, top - 3));
    EXPECT_TRUE(pages[1].AnyInk(0, top, pages[1].width, top + h));
}

TEST_F(Win32Printing, AbortCheckDispatchesMessagesWhileThePageIsSpooledAndRefusesASecondPrint) {
    SpoolTarget out("abortcheck");
    Win32PrintSystem print(nullptr, PumpMessages);
    PrintDevice& device = print.CurrentPrinter();
    T_TextPrintClass tp;
    tp.SetPrinter(&device);
    tp.Lines = {u"一行目", u"二行目"};
    Probe probe;
    bool ran = false, printingThen = false;
    std::u16string secondPrint;
    probe.Post([&] {
        ran = true;
        printingThen = device.IsPrinting();
        // A second print confirmed in the dialog while the job runs.
        DialogAnswer ok(IDOK);
        try {
            print.ShowPrintDialog();
        } catch (const AppError& e) {
            secondPrint = e.Message();
        }
    });
    const int checksBefore = print.AbortChecks();
    try {
        tp.PrintDocument();
    } catch (const AppError& e) {
        FAIL() << text::ToUtf8(e.Message());
    }
    EXPECT_GT(print.AbortChecks(), checksBefore);
    EXPECT_TRUE(ran) << "the posted message waited for the job's end";
    EXPECT_TRUE(printingThen);
    EXPECT_EQ(secondPrint, u"印刷実行中です");
    EXPECT_FALSE(device.IsPrinting());
    EXPECT_EQ(Count(out.Output(), "%%Page: "), 1) << "the running job finished";
}

// A second printer beside the default one, for the test's duration.
class SecondPrinter {
public:
    SecondPrinter() {
        wchar_t port[] = L"LPT1:", driver[] = L"Kelvora PostScript", processor[] = L"WinPrint", raw[] = L"RAW";
        PRINTER_INFO_2W pi{};
        pi.pPrinterName = name_;
        pi.pPortName = port;
        pi.pDriverName = driver;
        pi.pPrintProcessor = processor;
        pi.pDatatype = raw;
        pi.Attributes = PRINTER_ATTRIBUTE_LOCAL;
        if (HANDLE h = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&pi))) ClosePrinter(h);
    }
    ~SecondPrinter() {
        HANDLE h = nullptr;
        PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (OpenPrinterW(name_, &h, &access)) {
            DeletePrinter(h);
            ClosePrinter(h);
        }
    }
    std::wstring Name() const { return name_; }

private:
    wchar_t name_[32] = L"Kelvora Second Printer";
};

TEST_F(Win32Printing, DialogOpensOnThePreviousChoiceAndCancelChangesNothing) {
    SecondPrinter second;
    Win32PrintSystem print(nullptr, PumpMessages);
    std::wstring shown;
    auto look = [&](HWND d) { shown = ComboText(d); };
    {
        DialogAnswer ok(IDOK, look);
        ASSERT_TRUE(print.ShowPrintDialog());
    }
    EXPECT_EQ(shown, L"Kelvora PS Printer") << "the first dialog opens on the default printer";
    EXPECT_EQ(print.CurrentPrinterName(), u"Kelvora PS Printer");
    {
        DialogAnswer ok(IDOK, [&](HWND d) { ChooseInCombo(d, second.Name()); });
        ASSERT_TRUE(print.ShowPrintDialog());
    }
    EXPECT_EQ(print.CurrentPrinterName(), u"Kelvora Second Printer");
    {
        DialogAnswer cancel(IDCANCEL, look);
        EXPECT_FALSE(print.ShowPrintDialog());
    }
    EXPECT_EQ(shown, second.Name()) << "the next dialog opens on the previous choice";
    EXPECT_EQ(print.CurrentPrinterName(), u"Kelvora Second Printer") << "cancel keeps the printer";
    EXPECT_GT(print.CurrentPrinter().PageWidth(), 0);
}

TEST_F(Win32Printing, DialogFallsBackToTheDefaultWhenThePreviousPrinterIsGone) {
    Win32PrintSystem print(nullptr, PumpMessages);
    std::wstring shown;
    {
        SecondPrinter second;
        DialogAnswer ok(IDOK, [&](HWND d) { ChooseInCombo(d, second.Name()); });
        ASSERT_TRUE(print.ShowPrintDialog());
        ASSERT_EQ(print.CurrentPrinterName(), u"Kelvora Second Printer");
    }
    DialogAnswer::seen = 0;
    {
        DialogAnswer ok(IDOK, [&](HWND d) { shown = ComboText(d); });
        EXPECT_TRUE(print.ShowPrintDialog());
    }
    EXPECT_EQ(DialogAnswer::seen, 1);
    EXPECT_EQ(shown, L"Kelvora PS Printer");
    EXPECT_EQ(print.CurrentPrinterName(), u"Kelvora PS Printer");
}

TEST_F(Win32Printing, OutputThatCannotBeWrittenIsAnErrorNotASuccess) {
    SpoolTarget out("unwritable");
    out.Set(L"/nonexistent-folder/kelvora/out.ps");
    Win32PrintSystem print(nullptr, PumpMessages);
    T_TextPrintClass tp;
    tp.SetPrinter(&print.CurrentPrinter());
    tp.Lines = {u"届かない行"};
    try {
        tp.PrintDocument();
        ADD_FAILURE() << "the job reported success";
    } catch (const AppError& e) {
        EXPECT_FALSE(e.Message().empty());
    }
    EXPECT_FALSE(print.CurrentPrinter().IsPrinting());
}

TEST_F(Win32Printing, NoDefaultPrinterIsReportedBeforeAnyDialog) {
    NoDefaultPrinter none;
    Win32PrintSystem print(nullptr, PumpMessages);
    DialogAnswer::seen = 0;
    DialogAnswer ok(IDOK);
    try {
        print.RequireDefaultPrinter();
        ADD_FAILURE() << "no error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.Message(), u"デフォルトのプリンタが現在選択されていません");
    }
    EXPECT_EQ(DialogAnswer::seen, 0);
}
