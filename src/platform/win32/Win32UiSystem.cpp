#include "platform/win32/Win32UiSystem.h"

#include <commctrl.h>

#include "platform/win32/SystemDlls.h"

namespace uisys {
namespace {

UINT SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

}  // namespace

UINT DpiForWindow(HWND window) {
    // Before Windows 10 1607 the process sees the system DPI.
    if (window) {
        const UINT dpi = sysdll::User32GetDpiForWindow(window);
        if (dpi) return dpi;
    }
    return SystemDpi();
}

void AdjustForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
    if (sysdll::User32AdjustWindowRectExForDpi(&rect, style, FALSE, exStyle, dpi)) return;
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

bool InitProgressBarClass() {
    // The library is not imported at load time: it comes from the system folder
    // (or the side-by-side version 6 the manifest asks for), never from the
    // installer's own folder.
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    return sysdll::Comctl32InitCommonControlsEx(&classes) != FALSE;
}

}  // namespace uisys
