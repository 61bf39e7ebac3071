#include "platform/win32/Win32Dialogs.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "platform/win32/SystemDlls.h"
#include "platform/win32/Win32Text.h"

int Win32Dialogs::ShowMessage(const std::u16string& text, const std::u16string& caption, unsigned flags) {
    return MessageBoxW(static_cast<HWND>(owner_()), W(text), W(caption), flags);
}

void Win32Dialogs::ErrorBox(const std::u16string& text, const std::u16string& title) {
    MessageBoxW(static_cast<HWND>(owner_()), W(text), W(title), MB_OK | MB_ICONERROR);
}

namespace {
struct BrowseState {
    HWND mainWindow;
    const std::u16string* start;
};

// The folder browser opens on the starting folder and centred on the monitor
// nearest to the main window.
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM data) {
    if (message != BFFM_INITIALIZED) return 0;
    const auto* state = reinterpret_cast<const BrowseState*>(data);
    if (!state->start->empty()) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(W(*state->start)));
    HMONITOR monitor = MonitorFromWindow(state->mainWindow ? state->mainWindow : dialog, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    RECT box;
    if (GetMonitorInfoW(monitor, &info) && GetWindowRect(dialog, &box)) {
        const RECT& area = info.rcWork;
        const int w = box.right - box.left, h = box.bottom - box.top;
        SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - w) / 2,
                     area.top + (area.bottom - area.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return 0;
}

// Disables the program's other top-level windows while the browser is open and
// enables them again afterwards.
class DisabledWindows {
public:
    DisabledWindows() {
        EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(this));
        for (HWND w : windows_) EnableWindow(w, FALSE);
    }
    ~DisabledWindows() {
        for (HWND w : windows_) EnableWindow(w, TRUE);
    }

private:
    static BOOL CALLBACK Collect(HWND w, LPARAM self) {
        if (IsWindowVisible(w) && IsWindowEnabled(w)) reinterpret_cast<DisabledWindows*>(self)->windows_.push_back(w);
        return TRUE;
    }
    std::vector<HWND> windows_;
};

class ErrorModeScope {
public:
    ErrorModeScope() : old_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~ErrorModeScope() { SetErrorMode(old_); }

private:
    UINT old_;
};
}  // namespace

bool Win32Dialogs::BrowseForFolder(const std::u16string& prompt, std::u16string& folder) {
    HWND main = static_cast<HWND>(owner_());
    BrowseState state{main, &folder};
    BROWSEINFOW info{};
    // No owner: the dialog belongs to the application, and the program's windows are disabled by hand.
    info.hwndOwner = nullptr;
    info.pidlRoot = nullptr;
    std::vector<wchar_t> display(MAX_PATH, L'\0');
    info.pszDisplayName = display.data();
    info.lpszTitle = W(prompt);
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX;
    info.lpfn = &BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&state);

    PIDLIST_ABSOLUTE chosen = nullptr;
    {
        DisabledWindows disabled;
        ErrorModeScope errorMode;
        chosen = sysdll::Shell32BrowseForFolder(&info);
    }
    if (main) SetActiveWindow(main);
    if (!chosen) return false;
    wchar_t path[MAX_PATH] = L"";
    const BOOL ok = sysdll::Shell32GetPathFromIDList(chosen, path);
    CoTaskMemFree(chosen);
    if (!ok) return false;
    folder = U(path);
    return true;
}
