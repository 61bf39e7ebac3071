#include "platform/win32/Win32UiPeers.h"

#include <commctrl.h>

#include <string>

#include "platform/win32/Artwork.h"
#include "platform/win32/Win32Pictures.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32Ui.h"

namespace {

constexpr wchar_t kContainerClass[] = L"KelvoraContainer";
constexpr wchar_t kPictureClass[] = L"KelvoraPicture";

Win32ControlPeer* PeerFromWindow(HWND window) {
    return reinterpret_cast<Win32ControlPeer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Pages and panels paint their own colour and pass what their children report
// on to the main window, which knows the controls.
LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            Win32ControlPeer* peer = PeerFromWindow(window);
            const bool white = !peer || !(peer->Row().flags & cf::Face);
            RECT area;
            GetClientRect(window, &area);
            FillRect(reinterpret_cast<HDC>(wParam), &area,
                     white ? static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)) : GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
            return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK PictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // the picture covers the whole control
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            if (Win32ControlPeer* peer = PeerFromWindow(window)) peer->PaintPicture(dc);
            EndPaint(window, &paint);
            return 0;
        }
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

void Win32ControlPeer::RegisterClasses(HINSTANCE instance) {
    WNDCLASSEXW container{};
    container.cbSize = sizeof container;
    container.lpfnWndProc = ContainerProc;
    container.hInstance = instance;
    container.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    container.lpszClassName = kContainerClass;
    RegisterClassExW(&container);

    WNDCLASSEXW picture = container;
    picture.lpfnWndProc = PictureProc;
    picture.lpszClassName = kPictureClass;
    RegisterClassExW(&picture);
}

const wchar_t* Win32ControlPeer::ContainerClass() { return kContainerClass; }
const wchar_t* Win32ControlPeer::PictureClass() { return kPictureClass; }

Win32ControlPeer::Win32ControlPeer(Win32Ui& ui, const ControlSpec& row) : ui_(ui), spec_(row) {
    enabled_ = !(row.flags & cf::Disabled);
}

bool Win32ControlPeer::Realize(HWND parent) {
    if (window_) return true;
    const ControlSpec& row = spec_;
    const wchar_t* windowClass = L"STATIC";
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    switch (row.kind) {
        case ControlKind::Page:
        case ControlKind::Panel:
            windowClass = kContainerClass;
            style |= WS_CLIPCHILDREN;
            exStyle |= WS_EX_CONTROLPARENT;
            break;
        case ControlKind::Label:
            style |= SS_NOPREFIX | ((row.flags & cf::WordWrap) ? SS_LEFT : SS_LEFTNOWORDWRAP);
            break;
        case ControlKind::Button:
            windowClass = L"BUTTON";
            style |= (row.flags & cf::DefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
            break;
        case ControlKind::Edit:
            windowClass = L"EDIT";
            style |= ES_LEFT | ES_AUTOHSCROLL | ((row.flags & cf::ReadOnly) ? ES_READONLY : 0);
            exStyle |= WS_EX_CLIENTEDGE;
            break;
        case ControlKind::Memo:
            windowClass = L"EDIT";
            style |= ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN |
                     ((row.flags & cf::VScroll) ? WS_VSCROLL : 0) | ((row.flags & cf::ReadOnly) ? ES_READONLY : 0);
            if (!(row.flags & cf::NoBorder)) exStyle |= WS_EX_CLIENTEDGE;
            break;
        case ControlKind::CheckBox:
            windowClass = L"BUTTON";
            style |= BS_AUTOCHECKBOX;
            break;
        case ControlKind::RadioButton:
            windowClass = L"BUTTON";
            style |= BS_AUTORADIOBUTTON;
            break;
        case ControlKind::ProgressBar:
            windowClass = PROGRESS_CLASSW;
            break;
        case ControlKind::Image:
            windowClass = kPictureClass;
            break;
    }
    if (row.flags & cf::TabStop) style |= WS_TABSTOP;
    if (row.flags & cf::GroupStart) style |= WS_GROUP;
    if (!enabled_) style |= WS_DISABLED;
    window_ = CreateWindowExW(exStyle, windowClass, L"", style, 0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), ui_.Instance(), nullptr);
    if (!window_) return false;

    if (row.kind == ControlKind::Page || row.kind == ControlKind::Panel || row.kind == ControlKind::Image) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    if (row.kind == ControlKind::ProgressBar) SendMessageW(window_, PBM_SETSTEP, 1, 0);
    // A licence text can be longer than the 32 K characters an edit box takes by default.
    if (row.kind == ControlKind::Memo) SendMessageW(window_, EM_SETLIMITTEXT, 0, 0);
    ApplyDpi();
    // The state as the model gave it, in the order it gives it.
    if (!text_.empty()) SetWindowTextW(window_, W(text_));
    // A radio button's tab stop follows its check, as the button sets it.
    if (row.kind == ControlKind::CheckBox || row.kind == ControlKind::RadioButton) {
        SendMessageW(window_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    if (rangeSet_) SyncRange(minimum_, maximum_);
    if (positionSet_) SyncPosition(position_);
    if (caretToTop_) CaretToTop();
    if (visible_) ShowWindow(window_, SW_SHOWNA);
    return true;
}

Win32ControlPeer::~Win32ControlPeer() {
    // The window itself goes with the main window; it must not paint through
    // this peer any more.
    if (IsWindow(window_) && (spec_.kind == ControlKind::Page || spec_.kind == ControlKind::Panel ||
                              spec_.kind == ControlKind::Image)) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    }
    if (artCache_) DeleteObject(artCache_);
    ui_.Forget(this);
}

void Win32ControlPeer::SyncVisible(bool visible) {
    visible_ = visible;
    if (!window_) return;
    if (!visible) {
        HWND focus = GetFocus();
        const bool hadFocus = focus && (focus == window_ || IsChild(window_, focus));
        ShowWindow(window_, SW_HIDE);
        // Keyboard input must not go on to a hidden control: the main window takes it.
        if (hadFocus) SetFocus(static_cast<HWND>(ui_.MainWindowHandle()));
    } else {
        ShowWindow(window_, SW_SHOWNA);
    }
}

void Win32ControlPeer::SyncEnabled(bool enabled) {
    enabled_ = enabled;
    if (!window_) return;
    if (!enabled && GetFocus() == window_) SetFocus(static_cast<HWND>(ui_.MainWindowHandle()));
    EnableWindow(window_, enabled ? TRUE : FALSE);
}

void Win32ControlPeer::SyncText(const std::u16string& text) {
    text_ = text;
    if (!window_) return;
    if (ReadText() == text) return;  // keeps a memo's scroll position and avoids flicker
    SetWindowTextW(window_, W(text));
}

std::u16string Win32ControlPeer::ReadText() {
    if (!window_) return text_;
    const int length = GetWindowTextLengthW(window_);
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window_, buffer.data(), length + 1);
    buffer.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return U(buffer);
}

void Win32ControlPeer::SyncChecked(bool checked) {
    checked_ = checked;
    if (!window_) return;
    SendMessageW(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32ControlPeer::ReadChecked() {
    if (!window_) return checked_;
    return SendMessageW(window_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32ControlPeer::SyncRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    rangeSet_ = true;
    if (!window_) return;
    SendMessageW(window_, PBM_SETRANGE32, static_cast<WPARAM>(minimum), static_cast<LPARAM>(maximum));
}

void Win32ControlPeer::SyncPosition(int position) {
    position_ = position;
    positionSet_ = true;
    if (!window_) return;
    SendMessageW(window_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void Win32ControlPeer::Repaint() {
    if (window_) RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void Win32ControlPeer::CaretToTop() {
    caretToTop_ = true;
    if (!window_) return;
    SendMessageW(window_, EM_SETSEL, 0, 0);
    SendMessageW(window_, EM_SCROLLCARET, 0, 0);
    SendMessageW(window_, WM_VSCROLL, SB_TOP, 0);
}

void Win32ControlPeer::SyncPicture(const std::shared_ptr<Picture>& picture, int width) {
    picture_ = picture;
    pictureWidth_ = picture ? width : 0;
    if (!window_) return;
    ApplyDpi();
    InvalidateRect(window_, nullptr, TRUE);
}

void Win32ControlPeer::ApplyDpi() {
    if (!window_) return;
    const int width = pictureWidth_ ? pictureWidth_ : spec_.width;
    SetWindowPos(window_, nullptr, ui_.Scale(spec_.left), ui_.Scale(spec_.top), ui_.Scale(width),
                 ui_.Scale(spec_.height), SWP_NOZORDER | SWP_NOACTIVATE);
    if (spec_.kind != ControlKind::Image && spec_.kind != ControlKind::Page && spec_.kind != ControlKind::Panel) {
        SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(ui_.FontFor(spec_.flags)), TRUE);
    }
}

void Win32ControlPeer::PaintPicture(HDC dc) {
    RECT area;
    GetClientRect(window_, &area);
    auto* loaded = dynamic_cast<Win32Picture*>(picture_.get());
    if (loaded && loaded->bitmap()) {
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, loaded->bitmap());
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, 0, 0, area.right, area.bottom, source, 0, 0, loaded->Width(), loaded->Height(), SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        return;
    }
    if (area.right <= 0 || area.bottom <= 0) return;
    HDC memory = CreateCompatibleDC(dc);
    if (!artCache_ || artCacheSize_.cx != area.right || artCacheSize_.cy != area.bottom) {
        if (artCache_) DeleteObject(artCache_);
        artCache_ = CreateCompatibleBitmap(dc, area.right, area.bottom);
        artCacheSize_ = {area.right, area.bottom};
        HGDIOBJ old = SelectObject(memory, artCache_);
        artwork::Draw(memory, area, spec_.art, ui_.BackgroundOf(spec_));
        SelectObject(memory, old);
    }
    HGDIOBJ old = SelectObject(memory, artCache_);
    BitBlt(dc, 0, 0, area.right, area.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}
