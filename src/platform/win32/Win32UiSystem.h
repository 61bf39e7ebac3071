// Window-layer system calls that not every Windows version has: the newer call
// where the system has it (see SystemDlls.h), the older one otherwise.
#pragma once
#include <windows.h>

namespace uisys {

// The DPI the window is shown at; the system DPI where per-monitor DPI is unknown.
UINT DpiForWindow(HWND window);

// The window rectangle for a client rectangle at `dpi`.
void AdjustForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);

// Registers the common-controls classes the window uses (the progress bar),
// loading the library from the system folder only.
bool InitProgressBarClass();

}  // namespace uisys
