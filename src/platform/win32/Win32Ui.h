// The real window under the wizard's control model: the main window of class
// "TfrmKelvoraInstall", one standard control per row of the window description,
// timers on the main window, the keyboard of a wizard and the close protocol.
#pragma once
#include <windows.h>

#include <memory>
#include <type_traits>
#include <vector>

#include "platform/Ui.h"

class Win32ControlPeer;

class Win32Ui : public Ui {
public:
    // Creates the main window, hidden, at the DPI of the monitor it starts on.
    // Throws when the system cannot create it; CreatePeer throws likewise.
    explicit Win32Ui(HINSTANCE instance);
    ~Win32Ui() override;
    Win32Ui(const Win32Ui&) = delete;
    Win32Ui& operator=(const Win32Ui&) = delete;

    // Ui
    void Bind(FormEvents& events) override;
    void Unbind() override;
    std::unique_ptr<ControlPeer> CreatePeer(const ControlSpec& row) override;
    std::unique_ptr<TimerPeer> CreateTimer(int id) override;
    void SetCaption(const std::u16string& caption) override;
    void SetClientSize(int width, int height) override;
    void ShowMainWindow() override;
    void CloseMainWindow() override;
    void DispatchPending() override;
    void KeepAlive() override;

    // The main message loop: runs until the close recorded by CloseMainWindow
    // (checked whenever a dispatched message has been handled), then hides the
    // window and returns 0. A WM_QUIT from elsewhere ends it with its code.
    int RunMessageLoop();
    bool CloseRecorded() const { return closeRecorded_; }
    void* MainWindowHandle() const { return window_; }
    HWND ControlHandle(int id) const;
    UINT Dpi() const { return dpi_; }

    // For the control peers.
    int Scale(int value) const { return MulDiv(value, static_cast<int>(dpi_), 96); }
    HFONT FontFor(uint32_t flags) const;
    HINSTANCE Instance() const { return instance_; }
    // The colour a control stands on: its own White / Face flag, else its container's.
    COLORREF BackgroundOf(const ControlSpec& row) const;
    void Forget(Win32ControlPeer* peer);

    // The wizard keys (Tab, Shift+Tab, Enter, Esc, arrows in a radio group, and
    // Ctrl+Tab swallowed) for a message about to be dispatched; true when used.
    bool TranslateWizardKeys(const MSG& message);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnClose();
    BOOL OnQueryEndSession();
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR id);
    LRESULT OnControlColour(UINT message, HDC dc, HWND control);
    void OnDpiChanged(UINT dpi, const RECT& suggested);

    void CreateFonts();
    void ResizeToClient(int left, int top);
    void CentreOnScreen();
    // Makes the controls' windows, once, when the main window is first shown;
    // throws the system's reason when one cannot be made.
    void RealizeControls();
    Win32ControlPeer* PeerOf(HWND window) const;
    Win32ControlPeer* PeerById(int id) const;
    Win32ControlPeer* PeerWithFlag(uint32_t flag) const;
    bool CanTakeTab(const Win32ControlPeer& peer) const;
    void MoveFocus(bool backward);
    void MoveInRadioGroup(Win32ControlPeer& from, bool backward);
    void FocusFirstControl();
    void FollowFocusWithDefaultButton();
    void Click(int id);

    struct FontDeleter {
        void operator()(HFONT font) const {
            if (font) DeleteObject(font);
        }
    };
    using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

    HINSTANCE instance_;
    HWND window_ = nullptr;
    UINT dpi_ = 96;
    int clientWidth_ = 0, clientHeight_ = 0;  // at 96 dpi, as the form describes it
    FormEvents* events_ = nullptr;
    Font normalFont_, titleFont_, headerFont_;
    std::vector<Win32ControlPeer*> peers_;  // in creation order, which is also the tab order
    bool shownOnce_ = false;
    bool closeRecorded_ = false;
    bool realized_ = false;
    bool keepingAlive_ = false;       // inside KeepAlive: no handler may run
    DWORD lastKeepAlive_ = 0;         // GetTickCount of its last look at the queue
    HWND lastFocus_ = nullptr;
};
