#include "platform/win32/Win32Dialogs.h"

#include <windows.h>
#include <shlobj.h>

#include <string>
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

// Reads the listing of every folder on the way to `folder`, the folder itself
// included. The browser finds the starting folder by comparing the item lists
// it parses from the path with those of the tree it fills, and Wine's items
// carry each folder's last-access time: on a disk that updates that time on
// the first read after a change (Linux's relatime), a folder changed shortly
// before the browser opens reads one time while the path is parsed and a
// later one when its parent is listed, and the start is then not found. After
// one read each, the times hold still. On Windows this is a few folder reads.
void SettleAccessTimes(const std::wstring& folder) {
    for (size_t at = folder.find(L'\\'); at != std::wstring::npos; at = folder.find(L'\\', at + 1)) {
        if (at + 1 >= folder.size()) break;
        WIN32_FIND_DATAW found;
        const HANDLE h = FindFirstFileW((folder.substr(0, at + 1) + L"*").c_str(), &found);
        if (h != INVALID_HANDLE_VALUE) FindClose(h);
    }
    WIN32_FIND_DATAW found;
    const HANDLE h = FindFirstFileW((folder + (folder.back() == L'\\' ? L"*" : L"\\*")).c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
}

// The folder browser opens on the starting folder and centred on the monitor
// nearest to the main window.
int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM, LPARAM data) {
    if (message != BFFM_INITIALIZED) return 0;
    const auto* state = reinterpret_cast<const BrowseState*>(data);
    if (!state->start->empty()) {
        SettleAccessTimes(W(*state->start));
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(W(*state->start)));
    }
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
