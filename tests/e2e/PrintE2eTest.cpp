// Printing the licence from the licence page as a person does it: the print
// button, the print dialog answered, the PostScript the file printer writes
// rendered into pages and looked at, and the log line; cancel, no printer and
// two prints in a row.
#include <gtest/gtest.h>

#include "Driver.h"
#include "wizard/ControlIds.h"

#define KELVORA_PRINT_OUT "e2e"
#include "../win32/PrintPages.h"

using namespace e2e;
using namespace printpages;

namespace {
const wchar_t* kNotice = L"セットアップ確認";
const wchar_t* kAbandon = L"セットアップ中止確認";
const wchar_t* kPrintDialog = L"印刷";
const std::wstring kPrinter = L"Kelvora PS Printer";

// A licence of a dozen articles, long enough for two pages.
std::wstring SampleLicence() {
    const wchar_t* articles[][2] = {
        {L"目的", L"本契約は、本ソフトウェアの使用条件を定めることを目的とします。"},
        {L"定義", L"「本ソフトウェア」とは、本契約とともに提供されるプログラム、データ、説明書その他一切の資料をいいます。"},
        {L"使用許諾", L"当社は、お客様に対し、本ソフトウェアを一台のコンピュータにインストールして使用する、譲渡不能かつ非独占的な権利を許諾します。"},
        {L"複製の制限", L"お客様は、バックアップの目的に限り、本ソフトウェアを一部複製することができます。複製物にも本契約が適用されます。"},
        {L"禁止事項", L"お客様は、本ソフトウェアの逆コンパイル、逆アセンブル、改変、賃貸、貸与および再配布を行ってはなりません。Customers may not rent, lease or lend the Software."},
        {L"著作権", L"本ソフトウェアに関する著作権その他の知的財産権は、当社または正当な権利者に帰属します。"},
        {L"保証の否認", L"当社は、本ソフトウェアがお客様の特定の目的に適合すること、および誤りがないことを保証しません。"},
        {L"責任の制限", L"当社は、本ソフトウェアの使用または使用不能から生じたいかなる損害についても、法令に別段の定めがある場合を除き、責任を負いません。"},
        {L"サポート", L"当社は、当社所定の期間および方法により、本ソフトウェアに関する問い合わせに応じます。"},
        {L"契約期間", L"本契約は、お客様が本ソフトウェアをインストールした時に発効し、本契約が解除されるまで有効とします。"},
        {L"解除", L"お客様が本契約のいずれかの条項に違反したときは、当社は通知なく本契約を解除できます。この場合、お客様は本ソフトウェアを直ちに廃棄するものとします。"},
        {L"準拠法", L"本契約は日本法に準拠し、本契約に関する紛争は当社の本店所在地を管轄する地方裁判所を第一審の専属的合意管轄裁判所とします。"},
    };
    std::wstring text = L"ソフトウェア使用許諾契約書\r\n\r\n"
                        L"本契約は、お客様と株式会社ケルヴォラ（以下「当社」）との間で、本ソフトウェアの使用について定めるものです。"
                        L"本ソフトウェアをインストールした時点で、お客様は本契約に同意したものとみなされます。\r\n\r\n";
    int n = 0;
    for (const auto& a : articles) {
        text += L"第" + std::to_wstring(++n) + L"条（" + a[0] + L"）\r\n" + a[1] + L"\r\n";
        text += L"２　前項の定めは、本ソフトウェアの更新版および追加部分にも同様に適用されます。\r\n\r\n";
    }
    text += L"以上";
    return text;
}

// The installer on its licence page, with `licence` beside it in Shift-JIS.
struct OnLicencePage {
    Dist dist;
    Installer app;
    OnLicencePage(const std::wstring& name, const std::wstring& licence)
        : dist(Prepare(name, licence)), app(dist) {
        app.Expect(kNotice);
        EXPECT_TRUE(app.WaitVisible());
        app.Click(ids::Button_Next);
        EXPECT_TRUE(app.Visible(ids::Button_Print));
    }
    static Dist Prepare(const std::wstring& name, const std::wstring& licence) {
        Dist d(name);
        d.Write(L"license.txt", Sjis(licence));
        return d;
    }
    // Prints as a person does: the button, then OK or Cancel in the print dialog.
    Box Print(int answer = IDOK) {
        app.ClickAsync(ids::Button_Print);
        const Box dialog = app.Expect(kPrintDialog, answer);
        EXPECT_EQ(dialog.owner, app.MainWindow());
        return dialog;
    }
    // Abandons the wizard and gives back the log.
    std::string Finish() {
        app.PostClose();
        app.Expect(kAbandon, IDOK);
        EXPECT_EQ(app.WaitExit(), 0u);
        return dist.SetupLog();
    }
    std::string FoundLine() const { return Sjis(L"OK : File Found : " + dist.ExeDir() + L"\\license.txt\r\n"); }
};

const std::string kPrintLine = Sjis(L"OK : Print : " + kPrinter + L" license.txt\r\n");

class LicencePrinting : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t name[256];
        DWORD size = 256;
        if (!GetDefaultPrinterW(name, &size)) GTEST_FAIL() << "no default printer: run scripts/setup-printer";
        ASSERT_EQ(std::wstring(name), kPrinter);
    }
};

}  // namespace

TEST_F(LicencePrinting, LongLicencePrintsOnTwoPagesInsideTheMarginsAndIsLogged) {
    SpoolTarget out("licence");
    OnLicencePage page(L"print-licence", SampleLicence());
    page.Print(IDOK);
    const std::string ps = out.WaitOutput();
    ASSERT_NE(ps.find("%%EOF"), std::string::npos) << "no job reached " << out.path();
    EXPECT_NE(ps.find("%%Title: \n"), std::string::npos) << "the job has an empty name";
    EXPECT_NE(ps.find("%%Orientation: Portrait"), std::string::npos);
    EXPECT_EQ(page.Finish(), page.FoundLine() + kPrintLine);

    // The pages as printed: text inside the 200-pixel margins, wrapped lines
    // reaching the right margin, and the second page starting with the empty
    // title's blank line.
    const Metrics m = DefaultPrinterMetrics();
    const std::vector<Gray> pages = Render(out.path(), m.dpiX);
    ASSERT_EQ(pages.size(), 2u);
    const int h = m.dpiY / 6;  // 12 points
    const int left = m.offsetX + 200, right = m.offsetX + m.width - 200, top = m.offsetY + 200;
    for (const Gray& p : pages) {
        EXPECT_FALSE(p.AnyInk(0, 0, left - 3, p.height));
        EXPECT_FALSE(p.AnyInk(right + 3, 0, p.width, p.height));
        EXPECT_TRUE(p.AnyInk(right - h, 0, right, p.height)) << "no line reaches the right margin";
        EXPECT_FALSE(p.AnyInk(0, 0, p.width, top + h - 3)) << "the first line stays blank on every page";
        EXPECT_TRUE(p.AnyInk(0, top + h, p.width, top + 2 * h));
    }
}

TEST_F(LicencePrinting, CancelInTheDialogPrintsNothingAndLogsNothing) {
    SpoolTarget out("cancel");
    OnLicencePage page(L"print-cancel", SampleLicence());
    page.Print(IDCANCEL);
    EXPECT_EQ(page.Finish(), page.FoundLine());
    EXPECT_TRUE(out.Output().empty());
}

TEST_F(LicencePrinting, WithoutADefaultPrinterTheErrorBoxComesInsteadOfTheDialog) {
    SpoolTarget out("noprinter");
    OnLicencePage page(L"print-noprinter", SampleLicence());
    {
        NoDefaultPrinter none;
        page.app.ClickAsync(ids::Button_Print);
        const Box error = page.app.Expect(L"Kelvorainstall");
        EXPECT_EQ(error.text, L"デフォルトのプリンタが現在選択されていません.");
        EXPECT_TRUE(error.hasIcon);
    }
    EXPECT_TRUE(page.app.Visible(ids::Button_Print)) << "still on the licence page";
    EXPECT_EQ(page.Finish(), page.FoundLine());
    EXPECT_TRUE(out.Output().empty());
}

TEST_F(LicencePrinting, TwoPrintsInARowReadTheFileAfresh) {
    SpoolTarget out("twice");
    OnLicencePage page(L"print-twice", L"短い文書\r\n");
    page.Print(IDOK);
    const std::string first = out.WaitOutput();
    ASSERT_NE(first.find("%%EOF"), std::string::npos);
    EXPECT_NE(first.find("%%Pages: 1"), std::string::npos);
    out.Clear();
    page.dist.Write(L"license.txt", Sjis(SampleLicence()));
    page.Print(IDOK);
    const std::string second = out.WaitOutput();
    ASSERT_NE(second.find("%%EOF"), std::string::npos);
    EXPECT_NE(second.find("%%Pages: 2"), std::string::npos) << "the second print shows the new file";
    EXPECT_EQ(page.Finish(), page.FoundLine() + kPrintLine + kPrintLine);
}
