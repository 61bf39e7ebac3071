#include "platform/win32/Win32UiSystem.h"

#include <commctrl.h>

#include "platform/win32/SystemDlls.h"

namespace uisys {
namespace {

template <class Fn>
Fn Lookup(const wchar_t* module, const char* name) {
    HMODULE handle = GetModuleHandleW(module);
    if (!handle) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(handle, name)));
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

UINT SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

}  // namespace

UINT DpiForWindow(HWND window) {
    // Windows 10 1607 and later; before that the process sees the system DPI.
    static const auto getDpiForWindow = Lookup<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow && window) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi) return dpi;
    }
    return SystemDpi();
}

void AdjustForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
    static const auto adjustForDpi = Lookup<AdjustWindowRectExForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi");
    if (adjustForDpi && adjustForDpi(&rect, style, FALSE, exStyle, dpi)) return;
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

bool InitProgressBarClass() {
    using InitCommonControlsExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    // The library is not imported at load time: it comes from the system folder
    // (or the side-by-side version 6 the manifest asks for), never from the
    // installer's own folder.
    HMODULE comctl = sysdll::SystemLibrary(L"comctl32.dll");
    if (!comctl) return false;
    auto init = reinterpret_cast<InitCommonControlsExFn>(reinterpret_cast<void*>(GetProcAddress(comctl, "InitCommonControlsEx")));
    if (!init) return false;
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    return init(&classes) != FALSE;
}

}  // namespace uisys
