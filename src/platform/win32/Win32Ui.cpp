#include "platform/win32/Win32Ui.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "platform/AppError.h"
#include "platform/win32/Win32Ole.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32UiPeers.h"
#include "platform/win32/Win32UiSystem.h"

namespace {

constexpr wchar_t kMainClass[] = L"TfrmKelvoraInstall";
constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kMainExStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;

constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED, missing from older SDKs

constexpr int kNormalHeight = 11;  // pixels at 96 dpi
constexpr int kTitleHeight = 19;

class TimerOnWindow : public TimerPeer {
public:
    TimerOnWindow(HWND window, int id) : window_(window), id_(static_cast<UINT_PTR>(id)) {}
    ~TimerOnWindow() override { Stop(); }
    void Start(unsigned milliseconds) override { SetTimer(window_, id_, milliseconds, nullptr); }
    void Stop() override { KillTimer(window_, id_); }

private:
    HWND window_;
    UINT_PTR id_;
};

HFONT MakeFont(int pixels, bool bold, UINT dpi) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(pixels, static_cast<int>(dpi), 96);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    // DEFAULT_CHARSET lets the font mapper link in Japanese glyphs; an ANSI
    // Tahoma shows boxes for them.
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    lstrcpynW(font.lfFaceName, L"Tahoma", LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

bool IsMultiLineEdit(const ControlSpec& row) { return row.kind == ControlKind::Memo; }

}  // namespace

Win32Ui::Win32Ui(HINSTANCE instance) : instance_(instance) {
    Win32ControlPeer::RegisterClasses(instance_);

    WNDCLASSEXW mainClass{};
    mainClass.cbSize = sizeof mainClass;
    mainClass.lpfnWndProc = &Win32Ui::WindowProc;
    mainClass.hInstance = instance_;
    mainClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    mainClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    mainClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(1));
    if (!mainClass.hIcon) mainClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    mainClass.lpszClassName = kMainClass;
    RegisterClassExW(&mainClass);

    // Made at its place with no size: the form gives its client size.
    window_ = CreateWindowExW(kMainExStyle, kMainClass, L"", kMainStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr,
                              nullptr, instance_, this);
    // Without its window the program would wait for messages that never come.
    if (!window_) throw std::runtime_error("the main window could not be created");
    // Windows sends no DPI change at creation, even on a 150 % monitor: scale once here.
    dpi_ = uisys::DpiForWindow(window_);
    CreateFonts();
}

Win32Ui::~Win32Ui() {
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void Win32Ui::Bind(FormEvents& events) { events_ = &events; }

void Win32Ui::Unbind() { events_ = nullptr; }

HWND Win32Ui::ControlHandle(int id) const {
    Win32ControlPeer* peer = PeerById(id);
    return peer ? peer->Handle() : nullptr;
}

std::unique_ptr<ControlPeer> Win32Ui::CreatePeer(const ControlSpec& row) {
    // The child window itself is made when the main window is first shown.
    auto peer = std::make_unique<Win32ControlPeer>(*this, row);
    if (row.kind == ControlKind::RadioButton) {
        // A radio button opens a group or joins the one opened last on its parent.
        peer->groupLeader = peer.get();
        if (!(row.flags & cf::GroupStart)) {
            for (auto it = peers_.rbegin(); it != peers_.rend(); ++it) {
                if ((*it)->Row().parent != row.parent) continue;
                if ((*it)->Row().kind == ControlKind::RadioButton) peer->groupLeader = (*it)->groupLeader;
                break;
            }
        }
    }
    peers_.push_back(peer.get());
    return peer;
}

void Win32Ui::Forget(Win32ControlPeer* peer) { peers_.erase(std::remove(peers_.begin(), peers_.end(), peer), peers_.end()); }

std::unique_ptr<TimerPeer> Win32Ui::CreateTimer(int id) { return std::make_unique<TimerOnWindow>(window_, id); }

void Win32Ui::SetCaption(const std::u16string& caption) { SetWindowTextW(window_, W(caption)); }

void Win32Ui::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    RECT where{};
    GetWindowRect(window_, &where);
    ResizeToClient(where.left, where.top);
}

void Win32Ui::RealizeControls() {
    if (realized_) return;
    realized_ = true;
    // What the controls need and the start-up notices before them do not.
    ole::EnsureInitialized();
    uisys::InitProgressBarClass();
    for (Win32ControlPeer* peer : peers_) {
        HWND parent = peer->Row().parent ? ControlHandle(peer->Row().parent) : window_;
        if (!peer->Realize(parent ? parent : window_)) {
            // A missing control would leave a page the user cannot work: start-up ends.
            throw std::runtime_error("a control could not be created");
        }
    }
}

void Win32Ui::ShowMainWindow() {
    RealizeControls();
    if (!shownOnce_) {
        shownOnce_ = true;
        CentreOnScreen();
    }
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    UpdateWindow(window_);
    HWND focus = GetFocus();
    if (!focus || focus == window_ || !IsChild(window_, focus)) FocusFirstControl();
}

void Win32Ui::CloseMainWindow() {
    // Only recorded: a WM_QUIT would end every nested loop it met on its way
    // (a message box would close unanswered, the wait would spin), so the
    // window stays and the main loop acts once the running handler returns.
    closeRecorded_ = true;
    // A close confirmed inside a sent message wakes the main loop's wait.
    if (window_) PostMessageW(window_, WM_NULL, 0, 0);
}

void Win32Ui::DispatchPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Not the wizard's own (its close is recorded state): put back for the main loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!TranslateWizardKeys(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        FollowFocusWithDefaultButton();
    }
    FollowFocusWithDefaultButton();
}

void Win32Ui::KeepAlive() {
    // Half the interval, so a look at the queue is never more than 100 ms away
    // however long a single step of the caller takes below it.
    constexpr DWORD kInterval = 50;
    const DWORD now = GetTickCount();
    if (keepingAlive_ || now - lastKeepAlive_ < kInterval) return;
    lastKeepAlive_ = now;
    keepingAlive_ = true;
    // Sent messages are handled inside PeekMessage itself (HandleMessage
    // defers those that would run a handler); paint is dispatched here.
    // Nothing else is taken from the queue.
    MSG message;
    for (int n = 0; n < 64 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT | PM_QS_SENDMESSAGE); ++n) {
        if (message.message == WM_PAINT) {
            DispatchMessageW(&message);
        } else if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));  // for the main loop
            break;
        } else if (message.hwnd) {
            PostMessageW(message.hwnd, message.message, message.wParam, message.lParam);
        }
    }
    keepingAlive_ = false;
}

int Win32Ui::RunMessageLoop() {
    MSG message;
    int code = 0;
    while (!closeRecorded_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            code = static_cast<int>(message.wParam);
            break;
        }
        if (got == -1) break;
        if (!TranslateWizardKeys(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        FollowFocusWithDefaultButton();
    }
    if (window_) ShowWindow(window_, SW_HIDE);
    return code;
}

LRESULT CALLBACK Win32Ui::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<Win32Ui*>(create->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Ui*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT Win32Ui::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (keepingAlive_) {
        switch (message) {
            case WM_CLOSE:
            case WM_COMMAND:
            case WM_TIMER:
                // Sent by another program during a long operation: queued, to
                // be handled after the running handler, as a posted click is.
                PostMessageW(window_, message, wParam, lParam);
                return 0;
            case WM_QUERYENDSESSION:
                return FALSE;  // not in the middle of a copy
            default:
                break;
        }
    }
    switch (message) {
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_QUERYENDSESSION:
            return OnQueryEndSession();
        case WM_COMMAND:
            OnCommand(wParam, lParam);
            return 0;
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
            return OnControlColour(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case kDpiChanged:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void Win32Ui::OnClose() {
    // Close box, Alt+F4 and the system menu: the form decides; the window is
    // never destroyed here.
    if (events_) events_->CloseRequested();
}

BOOL Win32Ui::OnQueryEndSession() { return events_ ? (events_->EndSessionQueried() ? TRUE : FALSE) : TRUE; }

void Win32Ui::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != BN_CLICKED || !lParam || !events_) return;
    Win32ControlPeer* peer = PeerOf(reinterpret_cast<HWND>(lParam));
    if (!peer) return;
    const ControlKind kind = peer->Row().kind;
    if (kind == ControlKind::Button || kind == ControlKind::CheckBox || kind == ControlKind::RadioButton) {
        events_->ControlClicked(peer->Row().id);
    }
}

void Win32Ui::OnTimer(UINT_PTR id) {
    if (events_) events_->TimerFired(static_cast<int>(id));
}

LRESULT Win32Ui::OnControlColour(UINT message, HDC dc, HWND control) {
    Win32ControlPeer* peer = PeerOf(control);
    if (!peer) return DefWindowProcW(window_, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    const ControlSpec& row = peer->Row();
    const COLORREF background = BackgroundOf(row);
    const HBRUSH brush = background == RGB(255, 255, 255) ? static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))
                                                          : GetSysColorBrush(COLOR_BTNFACE);
    switch (row.kind) {
        case ControlKind::Label:
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
        case ControlKind::Button:
            // Labels and boxes stand on their container's colour.
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, background);
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<LRESULT>(brush);
        case ControlKind::Memo:
        case ControlKind::Edit:
            // A read-only box described as white stays white instead of the face colour.
            if (message == WM_CTLCOLORSTATIC && (row.flags & cf::White) && IsWindowEnabled(control)) {
                SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
                SetBkColor(dc, RGB(255, 255, 255));
                return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(window_, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

void Win32Ui::OnDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi ? dpi : 96;
    CreateFonts();
    ResizeToClient(suggested.left, suggested.top);
    InvalidateRect(window_, nullptr, TRUE);
}

void Win32Ui::CreateFonts() {
    // The controls still hold the old fonts until they get the new ones: keep
    // them alive until then.
    Font oldNormal = std::move(normalFont_), oldTitle = std::move(titleFont_), oldHeader = std::move(headerFont_);
    normalFont_.reset(MakeFont(kNormalHeight, false, dpi_));
    titleFont_.reset(MakeFont(kTitleHeight, true, dpi_));
    headerFont_.reset(MakeFont(kNormalHeight, true, dpi_));
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(normalFont_.get()), FALSE);
    for (Win32ControlPeer* peer : peers_) peer->ApplyDpi();
}

HFONT Win32Ui::FontFor(uint32_t flags) const {
    if (flags & cf::BoldTitle) return titleFont_.get();
    if (flags & cf::BoldHeader) return headerFont_.get();
    return normalFont_.get();
}

COLORREF Win32Ui::BackgroundOf(const ControlSpec& row) const {
    const ControlSpec* at = &row;
    while (at) {
        if (at->flags & cf::White) return RGB(255, 255, 255);
        if (at->flags & cf::Face) return GetSysColor(COLOR_BTNFACE);
        Win32ControlPeer* parent = at->parent ? PeerById(at->parent) : nullptr;
        at = parent ? &parent->Row() : nullptr;
    }
    return RGB(255, 255, 255);  // the main window is white
}

void Win32Ui::ResizeToClient(int left, int top) {
    RECT frame{0, 0, Scale(clientWidth_), Scale(clientHeight_)};
    uisys::AdjustForDpi(frame, kMainStyle, kMainExStyle, dpi_);
    SetWindowPos(window_, nullptr, left, top, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame the system draws can differ from the one it computed for this
    // DPI (a process the system scales, or a menu bar of another height):
    // correct by what the client area came out as.
    RECT client;
    GetClientRect(window_, &client);
    const int dx = Scale(clientWidth_) - client.right, dy = Scale(clientHeight_) - client.bottom;
    if (dx || dy) {
        SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left + dx, frame.bottom - frame.top + dy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Win32Ui::CentreOnScreen() {
    RECT frame;
    GetWindowRect(window_, &frame);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &info);
    const RECT& screen = info.rcMonitor;
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    SetWindowPos(window_, nullptr, screen.left + (screen.right - screen.left - w) / 2,
                 screen.top + (screen.bottom - screen.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A monitor of another DPI at the new place sends WM_DPICHANGED, which keeps the client size.
}

Win32ControlPeer* Win32Ui::PeerOf(HWND window) const {
    if (!window) return nullptr;  // a control not made yet has no window either
    for (Win32ControlPeer* peer : peers_) {
        if (peer->Handle() == window) return peer;
    }
    return nullptr;
}

Win32ControlPeer* Win32Ui::PeerById(int id) const {
    for (Win32ControlPeer* peer : peers_) {
        if (peer->Row().id == id) return peer;
    }
    return nullptr;
}

Win32ControlPeer* Win32Ui::PeerWithFlag(uint32_t flag) const {
    for (Win32ControlPeer* peer : peers_) {
        if (peer->Row().flags & flag) return peer;
    }
    return nullptr;
}

// ---- Keyboard ---------------------------------------------------------------

bool Win32Ui::TranslateWizardKeys(const MSG& message) {
    if (message.message != WM_KEYDOWN) return false;
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
    Win32ControlPeer* focused = PeerOf(GetFocus());
    switch (message.wParam) {
        case VK_TAB:
            // Ctrl+Tab would pick a page: the wizard has no tabs to pick.
            if (GetKeyState(VK_CONTROL) < 0) return true;
            MoveFocus(GetKeyState(VK_SHIFT) < 0);
            return true;
        case VK_RETURN:
            // The memos take Enter as a line break.
            if (focused && IsMultiLineEdit(focused->Row())) return false;
            // A focused push button is the one Enter presses, as in every dialog.
            if (focused && focused->Row().kind == ControlKind::Button) {
                Click(focused->Row().id);
            } else if (Win32ControlPeer* next = PeerWithFlag(cf::DefaultButton)) {
                Click(next->Row().id);
            }
            return true;
        case VK_ESCAPE:
            if (Win32ControlPeer* cancel = PeerWithFlag(cf::CancelButton)) Click(cancel->Row().id);
            return true;
        case VK_UP:
        case VK_LEFT:
        case VK_DOWN:
        case VK_RIGHT:
            if (!focused || focused->Row().kind != ControlKind::RadioButton) return false;
            MoveInRadioGroup(*focused, message.wParam == VK_UP || message.wParam == VK_LEFT);
            return true;
        default:
            return false;
    }
}

void Win32Ui::Click(int id) {
    // Through the form, whose model presses a button only while it is shown and enabled.
    if (events_) events_->ControlClicked(id);
}

bool Win32Ui::CanTakeTab(const Win32ControlPeer& peer) const {
    HWND window = peer.Handle();
    if (!IsWindowVisible(window) || !IsWindowEnabled(window)) return false;
    if (peer.Row().kind != ControlKind::RadioButton) return (GetWindowLongW(window, GWL_STYLE) & WS_TABSTOP) != 0;
    // A radio group is one stop: its selected button, or its first when none is selected.
    if (SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED) return true;
    for (Win32ControlPeer* other : peers_) {
        if (other->groupLeader == peer.groupLeader && SendMessageW(other->Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED &&
            IsWindowVisible(other->Handle()) && IsWindowEnabled(other->Handle())) {
            return false;
        }
    }
    return peer.groupLeader == &peer;
}

void Win32Ui::MoveFocus(bool backward) {
    std::vector<Win32ControlPeer*> stops;
    for (Win32ControlPeer* peer : peers_) {
        if (CanTakeTab(*peer)) stops.push_back(peer);
    }
    if (stops.empty()) return;
    const auto at = std::find(stops.begin(), stops.end(), PeerOf(GetFocus()));
    const int count = static_cast<int>(stops.size());
    int index;
    if (at == stops.end()) {
        index = backward ? count - 1 : 0;
    } else {
        index = (static_cast<int>(at - stops.begin()) + (backward ? count - 1 : 1)) % count;
    }
    Win32ControlPeer* target = stops[static_cast<size_t>(index)];
    SetFocus(target->Handle());
    if (target->Row().kind == ControlKind::Edit) SendMessageW(target->Handle(), EM_SETSEL, 0, -1);
}

void Win32Ui::MoveInRadioGroup(Win32ControlPeer& from, bool backward) {
    std::vector<Win32ControlPeer*> group;
    for (Win32ControlPeer* peer : peers_) {
        if (peer->groupLeader == from.groupLeader && IsWindowVisible(peer->Handle()) && IsWindowEnabled(peer->Handle())) {
            group.push_back(peer);
        }
    }
    const auto at = std::find(group.begin(), group.end(), &from);
    if (group.size() < 2 || at == group.end()) return;
    const int count = static_cast<int>(group.size());
    const int index = (static_cast<int>(at - group.begin()) + (backward ? count - 1 : 1)) % count;
    Win32ControlPeer* target = group[static_cast<size_t>(index)];
    SetFocus(target->Handle());
    // Selecting by arrow is a click: the automatic radio button ticks itself and reports it.
    SendMessageW(target->Handle(), BM_CLICK, 0, 0);
}

void Win32Ui::FollowFocusWithDefaultButton() {
    // As in a dialog: a focused push button is the one Enter presses, so it
    // carries the default border; elsewhere the described default button does.
    HWND focus = GetFocus();
    if (focus == lastFocus_) return;
    lastFocus_ = focus;
    Win32ControlPeer* focused = PeerOf(focus);
    Win32ControlPeer* chosen = focused && focused->Row().kind == ControlKind::Button ? focused : PeerWithFlag(cf::DefaultButton);
    for (Win32ControlPeer* peer : peers_) {
        if (peer->Row().kind != ControlKind::Button) continue;
        const LONG style = GetWindowLongW(peer->Handle(), GWL_STYLE);
        const LONG wanted = peer == chosen ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        if ((style & BS_TYPEMASK) != wanted) SendMessageW(peer->Handle(), BM_SETSTYLE, wanted, TRUE);
    }
}

void Win32Ui::FocusFirstControl() {
    SetFocus(window_);
    MoveFocus(false);
}
