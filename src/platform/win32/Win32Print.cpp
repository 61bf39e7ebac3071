#include "platform/win32/Win32Print.h"

#include <windows.h>
#include <cderr.h>
#include <commdlg.h>
#include <winspool.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/AppError.h"
#include "platform/win32/SystemDlls.h"
#include "platform/win32/Win32Text.h"

namespace {

const char16_t* const kNoJob = u"プリンタは現在印刷を行っていません";
const char16_t* const kNoDefault = u"デフォルトのプリンタが現在選択されていません";
const char16_t* const kJobRunning = u"印刷実行中です";

// A failed page or document call: the system's words for it when it has any.
[[noreturn]] void ThrowSpoolError() {
    std::u16string description = TrimDescription(SystemErrorText(GetLastError()));
    throw AppError(description.empty() ? std::u16string(kNoJob) : description);
}

std::vector<unsigned char> CopyDevMode(HGLOBAL handle) {
    std::vector<unsigned char> bytes;
    if (!handle) return bytes;
    if (const auto* dm = static_cast<const DEVMODEW*>(GlobalLock(handle))) {
        const size_t size = dm->dmSize + dm->dmDriverExtra;
        bytes.assign(reinterpret_cast<const unsigned char*>(dm), reinterpret_cast<const unsigned char*>(dm) + size);
        GlobalUnlock(handle);
    }
    return bytes;
}

std::u16string DeviceNameOf(HGLOBAL handle) {
    std::u16string name;
    if (!handle) return name;
    if (const auto* dn = static_cast<const DEVNAMES*>(GlobalLock(handle))) {
        name = U(reinterpret_cast<const wchar_t*>(dn) + dn->wDeviceOffset);
        GlobalUnlock(handle);
    }
    return name;
}

// The system's list of printer names, local and connected.
std::vector<std::u16string> PrinterList() {
    std::vector<std::u16string> names;
    DWORD needed = 0, count = 0;
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    sysdll::WinspoolEnumPrinters(flags, nullptr, 4, nullptr, 0, &needed, &count);
    if (needed == 0) return names;
    std::vector<BYTE> buffer(needed);
    if (!sysdll::WinspoolEnumPrinters(flags, nullptr, 4, buffer.data(), needed, &needed, &count)) return names;
    const auto* info = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) names.push_back(U(info[i].pPrinterName));
    return names;
}

}  // namespace

// The printer's device context with its canvas (font and pen) and job state.
class Win32PrintDevice : public PrintDevice {
public:
    explicit Win32PrintDevice(std::function<void()> dispatch) : dispatch_(std::move(dispatch)) {}
    ~Win32PrintDevice() override { Release(); }
    Win32PrintDevice(const Win32PrintDevice&) = delete;
    Win32PrintDevice& operator=(const Win32PrintDevice&) = delete;

    int AbortChecks() const { return abortChecks_; }

    // The spooler calls this while it takes a page; the window keeps repainting
    // and taking input meanwhile, through the window layer's one dispatch. The
    // system gives the callback nothing but the device context, so a device
    // is found among those being printed to by its context.
    static BOOL CALLBACK AbortCheck(HDC dc, int) {
        for (Win32PrintDevice* device : Printing()) {
            if (device->dc_ != dc) continue;
            ++device->abortChecks_;
            if (device->dispatch_) device->dispatch_();
            break;
        }
        return TRUE;
    }

    bool HasContext() const { return dc_ != nullptr; }

    // Takes over a printer device context and a copy of its settings.
    void Attach(HDC dc, std::vector<unsigned char> devMode) {
        Release();
        dc_ = dc;
        devMode_ = std::move(devMode);
        oldFont_ = oldPen_ = nullptr;
    }

    int PageWidth() override { return GetDeviceCaps(Dc(), HORZRES); }
    int PageHeight() override { return GetDeviceCaps(Dc(), VERTRES); }
    int TextWidth(const std::u16string& text) override { return Extent(text).cx; }
    int TextHeight(const std::u16string& text) override { return Extent(text).cy; }

    void DrawTextAt(int x, int y, const std::u16string& text) override {
        RequireJob();
        Prepare();
        ExtTextOutW(dc_, x, y, 0, nullptr, W(text), static_cast<UINT>(text.size()), nullptr);
    }

    void NewPage() override {
        RequireJob();
        if (EndPage(dc_) <= 0 || StartPage(dc_) <= 0) FailJob();
    }

    void BeginDocument() override {
        SetAbortProc(Dc(), AbortCheck);
        Register();
        DOCINFOW info{};
        info.cbSize = sizeof info;
        info.lpszDocName = W(title_);
        // The job counts as running from here: the spooler may ask the abort
        // check while the job starts, and a print requested then is refused.
        printing_ = true;
        // A job that cannot start (a cancelled file-name prompt, say) is not
        // an error here: the first draw, page or end reports it.
        if (StartDocW(dc_, &info) <= 0) {
            printing_ = false;
            return;
        }
        if (StartPage(dc_) <= 0) {
            AbortDoc(dc_);
            printing_ = false;
        }
    }

    void EndDocument() override {
        RequireJob();
        const bool pageOk = EndPage(dc_) > 0;
        if (!pageOk || EndDoc(dc_) <= 0) FailJob();
        printing_ = false;
    }

    void AbortDocument() override {
        if (dc_) AbortDoc(dc_);
        printing_ = false;
    }

    bool IsPrinting() override { return printing_; }
    void SetDocumentTitle(const std::u16string& title) override { title_ = title; }

    void SetOrientation(Orientation orientation) override {
        if (printing_) throw AppError(kJobRunning);
        if (devMode_.empty()) return;
        auto* dm = reinterpret_cast<DEVMODEW*>(devMode_.data());
        dm->dmFields |= DM_ORIENTATION;
        dm->dmOrientation = orientation == Orientation::Portrait ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE;
        if (ResetDCW(Dc(), dm)) fontChanged_ = true;
    }

    void SetFontName(const std::u16string& name) override { SetIfChanged(fontName_, name, fontChanged_); }
    void SetFontSize(int points) override { SetIfChanged(fontSize_, points, fontChanged_); }
    void SetFontColor(uint32_t rgb) override { fontColor_ = rgb; }
    void SetPenWidth(int width) override { SetIfChanged(penWidth_, width, penChanged_); }
    void SetPenColor(uint32_t rgb) override { SetIfChanged(penColor_, rgb, penChanged_); }

private:
    std::function<void()> dispatch_;
    int abortChecks_ = 0;

    template <class T>
    static void SetIfChanged(T& field, const T& value, bool& changed) {
        if (field == value) return;
        field = value;
        changed = true;
    }

    HDC Dc() {
        if (!dc_) throw AppError(kNoDefault);
        return dc_;
    }

    void RequireJob() {
        if (!printing_ || !dc_) throw AppError(kNoJob);
    }

    [[noreturn]] void FailJob() {
        const DWORD code = GetLastError();
        AbortDoc(dc_);
        printing_ = false;
        SetLastError(code);
        ThrowSpoolError();
    }

    SIZE Extent(const std::u16string& text) {
        Prepare();
        SIZE size{};
        GetTextExtentPoint32W(dc_, W(text), static_cast<int>(text.size()), &size);
        return size;
    }

    // Puts the canvas's font and pen into the device context. The size is in
    // points at the device's own vertical resolution.
    void Prepare() {
        Dc();
        if (fontChanged_ || !font_) {
            LOGFONTW lf{};
            lf.lfHeight = -MulDiv(fontSize_, GetDeviceCaps(dc_, LOGPIXELSY), 72);
            lf.lfWeight = FW_NORMAL;
            lf.lfCharSet = DEFAULT_CHARSET;
            lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
            lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
            lf.lfQuality = DEFAULT_QUALITY;
            lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
            const std::u16string face = fontName_.substr(0, LF_FACESIZE - 1);
            std::copy(face.begin(), face.end(), lf.lfFaceName);
            HFONT font = CreateFontIndirectW(&lf);
            HGDIOBJ previous = SelectObject(dc_, font);
            if (!oldFont_) oldFont_ = previous;
            if (font_) DeleteObject(font_);
            font_ = font;
            fontChanged_ = false;
        } else {
            SelectObject(dc_, font_);
        }
        if (penChanged_ || !pen_) {
            HPEN pen = CreatePen(PS_SOLID, penWidth_, penColor_);
            HGDIOBJ previous = SelectObject(dc_, pen);
            if (!oldPen_) oldPen_ = previous;
            if (pen_) DeleteObject(pen_);
            pen_ = pen;
            penChanged_ = false;
        } else {
            SelectObject(dc_, pen_);
        }
        SetTextColor(dc_, fontColor_);
    }

    // The devices whose abort check is set, for the check to find them by.
    static std::vector<Win32PrintDevice*>& Printing() {
        static std::vector<Win32PrintDevice*> devices;
        return devices;
    }
    void Register() {
        auto& devices = Printing();
        if (std::find(devices.begin(), devices.end(), this) == devices.end()) devices.push_back(this);
    }
    void Unregister() {
        auto& devices = Printing();
        devices.erase(std::remove(devices.begin(), devices.end(), this), devices.end());
    }

    void Release() {
        if (!dc_) return;
        Unregister();
        if (printing_) AbortDoc(dc_);
        printing_ = false;
        if (oldFont_) SelectObject(dc_, oldFont_);
        if (oldPen_) SelectObject(dc_, oldPen_);
        if (font_) DeleteObject(font_);
        if (pen_) DeleteObject(pen_);
        font_ = nullptr;
        pen_ = nullptr;
        DeleteDC(dc_);
        dc_ = nullptr;
    }

    HDC dc_ = nullptr;
    std::vector<unsigned char> devMode_;
    bool printing_ = false;
    std::u16string title_;
    std::u16string fontName_ = u"Arial";
    int fontSize_ = 10;
    uint32_t fontColor_ = 0;
    int penWidth_ = 1;
    uint32_t penColor_ = 0;
    bool fontChanged_ = true, penChanged_ = true;
    HFONT font_ = nullptr;
    HPEN pen_ = nullptr;
    HGDIOBJ oldFont_ = nullptr, oldPen_ = nullptr;
};

Win32PrintSystem::Win32PrintSystem(std::function<void*()> owner, std::function<void()> dispatch)
    : owner_(std::move(owner)), device_(std::make_unique<Win32PrintDevice>(std::move(dispatch))) {}

Win32PrintSystem::~Win32PrintSystem() {
    device_.reset();
    if (devMode_) GlobalFree(devMode_);
    if (devNames_) GlobalFree(devNames_);
}

void Win32PrintSystem::RequireDefaultPrinter() {
    // Wine shows a box of its own when the dialog finds no printer, so the
    // default printer is checked before the dialog opens.
    DWORD size = 0;
    if (!sysdll::WinspoolGetDefaultPrinter(nullptr, &size) && GetLastError() != ERROR_INSUFFICIENT_BUFFER) throw AppError(kNoDefault);
}

bool Win32PrintSystem::ShowPrintDialog() {
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = static_cast<HWND>(owner_ ? owner_() : nullptr);
    pd.hDevMode = devMode_;
    pd.hDevNames = devNames_;
    pd.Flags = PD_NOSELECTION | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE | PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE;
    pd.nCopies = 1;
    BOOL ok = sysdll::Comdlg32PrintDlg(&pd);
    const DWORD error = ok ? 0 : sysdll::Comdlg32ExtendedError();
    if (!ok && (error == PDERR_PRINTERNOTFOUND || error == PDERR_DNDMMISMATCH)) {
        // The previous printer was removed since: Windows refuses to open on
        // it, so the dialog opens on the default printer instead.
        if (pd.hDevMode) GlobalFree(pd.hDevMode);
        if (pd.hDevNames) GlobalFree(pd.hDevNames);
        pd.hDevMode = pd.hDevNames = nullptr;
        ok = sysdll::Comdlg32PrintDlg(&pd);
    }
    // The dialog may replace the handles it was given; keep what it returns so
    // the next dialog opens on this choice.
    devMode_ = pd.hDevMode;
    devNames_ = pd.hDevNames;
    if (!ok) return false;
    if (device_->IsPrinting()) {
        if (pd.hDC) DeleteDC(pd.hDC);
        throw AppError(kJobRunning);
    }
    if (!TakeDevice(pd.hDC)) throw AppError(kNoDefault);
    return true;
}

bool Win32PrintSystem::TakeDevice(void* dc) {
    if (!dc) return false;
    device_->Attach(static_cast<HDC>(dc), CopyDevMode(static_cast<HGLOBAL>(devMode_)));
    deviceName_ = DeviceNameOf(static_cast<HGLOBAL>(devNames_));
    return true;
}

PrintDevice& Win32PrintSystem::CurrentPrinter() {
    if (device_->HasContext()) return *device_;
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!sysdll::Comdlg32PrintDlg(&pd)) throw AppError(kNoDefault);
    if (devMode_) GlobalFree(devMode_);
    if (devNames_) GlobalFree(devNames_);
    devMode_ = pd.hDevMode;
    devNames_ = pd.hDevNames;
    if (!TakeDevice(pd.hDC)) throw AppError(kNoDefault);
    return *device_;
}

std::u16string Win32PrintSystem::CurrentPrinterName() {
    const std::vector<std::u16string> names = PrinterList();
    for (const auto& name : names) {
        if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, W(name), -1, W(deviceName_), -1) == CSTR_EQUAL) {
            return name;
        }
    }
    return deviceName_;
}

int Win32PrintSystem::AbortChecks() const { return device_->AbortChecks(); }
