// The printing device the text printer draws on, and the print dialog that
// chooses it. Sizes are device pixels of the printable area.
#pragma once
#include <cstdint>
#include <string>

enum class Orientation { Portrait, Landscape };

class PrintDevice {
public:
    virtual ~PrintDevice() = default;
    virtual int PageWidth() = 0;   // HORZRES for the current settings
    virtual int PageHeight() = 0;  // VERTRES for the current settings
    virtual int TextWidth(const std::u16string& text) = 0;   // in the canvas's current font
    virtual int TextHeight(const std::u16string& text) = 0;
    // Draws with the top-left corner at (x, y); throws AppError
    // ("プリンタは現在印刷を行っていません") when no job runs.
    virtual void DrawTextAt(int x, int y, const std::u16string& text) = 0;
    virtual void NewPage() = 0;        // throws like DrawTextAt
    virtual void BeginDocument() = 0;  // a job that cannot start leaves IsPrinting() false
    virtual void EndDocument() = 0;    // throws like DrawTextAt
    virtual void AbortDocument() = 0;
    virtual bool IsPrinting() = 0;
    virtual void SetDocumentTitle(const std::u16string& title) = 0;
    virtual void SetOrientation(Orientation orientation) = 0;
    virtual void SetFontName(const std::u16string& name) = 0;
    virtual void SetFontSize(int points) = 0;  // at the device's LOGPIXELSY
    virtual void SetFontColor(uint32_t rgb) = 0;
    virtual void SetPenWidth(int width) = 0;
    virtual void SetPenColor(uint32_t rgb) = 0;
};

// The process-wide current printer and the print dialog that sets it up.
class PrintSystem {
public:
    virtual ~PrintSystem() = default;
    // Throws AppError("デフォルトのプリンタが現在選択されていません") when the
    // system has no default printer, before any dialog.
    virtual void RequireDefaultPrinter() = 0;
    // The print dialog, owned by the main window: whole document only, no
    // print-to-file box, starting on the previous choice or the default.
    // On OK the chosen device and settings become the current printer; throws
    // AppError("印刷実行中です") when a job is still running.
    virtual bool ShowPrintDialog() = 0;
    virtual PrintDevice& CurrentPrinter() = 0;
    // The current printer's name as the system lists it (EnumPrintersW level 4).
    virtual std::u16string CurrentPrinterName() = 0;
};
