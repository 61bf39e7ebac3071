// The window layer under the wizard's control model: one peer per control that
// mirrors the model's state into a real control, timers, and the main window's
// close and message dispatch. Without peers the model runs headless.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

class Picture;

enum class ControlKind : uint8_t { Page, Panel, Label, Button, Edit, Memo, CheckBox, RadioButton, ProgressBar, Image };

// Flags of the window description.
namespace cf {
constexpr uint32_t Hidden = 1u << 0;         // not shown at start
constexpr uint32_t Disabled = 1u << 1;       // not enabled at start
constexpr uint32_t Checked = 1u << 2;        // ticked / selected at start
constexpr uint32_t ReadOnly = 1u << 3;
constexpr uint32_t NoBorder = 1u << 4;
constexpr uint32_t VScroll = 1u << 5;
constexpr uint32_t WordWrap = 1u << 6;
constexpr uint32_t BoldTitle = 1u << 7;      // bold Tahoma, 19 px
constexpr uint32_t BoldHeader = 1u << 8;     // bold header-band title
constexpr uint32_t White = 1u << 9;          // white background
constexpr uint32_t Face = 1u << 10;          // dialog face background
constexpr uint32_t DefaultButton = 1u << 11; // Enter
constexpr uint32_t CancelButton = 1u << 12;  // Esc
constexpr uint32_t GroupStart = 1u << 13;    // first of a radio group / tab group
constexpr uint32_t TabStop = 1u << 14;
}  // namespace cf

// Built-in artwork an Image shows.
enum class Art : uint8_t { None, SidePicture, HeaderIcon, FolderIcon, StartMenuIcon };

// One row of the window description. Positions are at 96 dpi, relative to the parent.
struct ControlSpec {
    ControlKind kind;
    int id;      // stable control ID
    int parent;  // ID of the containing page or panel; 0 for the window's client area
    int left, top, width, height;
    const char16_t* caption;
    uint32_t flags;
    Art art;
    const char* name;  // the control's name, for diagnostics
};

class ControlPeer {
public:
    virtual ~ControlPeer() = default;
    virtual void SyncVisible(bool visible) = 0;
    virtual void SyncEnabled(bool enabled) = 0;
    // Caption of a label, button, check box or page; text of an edit or memo
    // (memo lines joined with CR LF).
    virtual void SyncText(const std::u16string& text) = 0;
    // What the user typed into an edit box.
    virtual std::u16string ReadText() = 0;
    virtual void SyncChecked(bool checked) = 0;
    // The user's tick or selection.
    virtual bool ReadChecked() = 0;
    virtual void SyncRange(int minimum, int maximum) = 0;
    virtual void SyncPosition(int position) = 0;
    // Paints the control at once, without waiting for the message loop.
    virtual void Repaint() = 0;
    // Caret to the start of the text, scrolled to the top.
    virtual void CaretToTop() = 0;
    // A loaded picture replacing the built-in one, stretched to `width` at full height.
    virtual void SyncPicture(const std::shared_ptr<Picture>& picture, int width) = 0;
};

class TimerPeer {
public:
    virtual ~TimerPeer() = default;
    virtual void Start(unsigned milliseconds) = 0;
    virtual void Stop() = 0;
};

// What the window layer reports back to the form.
class FormEvents {
public:
    virtual ~FormEvents() = default;
    virtual void ControlClicked(int id) = 0;  // button, check box or radio button
    virtual void TimerFired(int id) = 0;
    virtual void CloseRequested() = 0;        // close box, Alt+F4, system menu
    virtual bool EndSessionQueried() = 0;     // shutdown or log-off asks whether we may end
};

class Ui {
public:
    virtual ~Ui() = default;
    virtual void Bind(FormEvents& events) = 0;
    // The form is going away: no event reaches it any more.
    virtual void Unbind() = 0;
    // Called for every row of the window description in order (parents first).
    // May return null for a control the layer does not draw.
    virtual std::unique_ptr<ControlPeer> CreatePeer(const ControlSpec& row) = 0;
    virtual std::unique_ptr<TimerPeer> CreateTimer(int id) = 0;
    virtual void SetCaption(const std::u16string& caption) = 0;
    // The size of the main window's client area at 96 dpi; the window keeps its
    // place and is scaled to the DPI it is shown at.
    virtual void SetClientSize(int width, int height) = 0;
    // Makes the main window visible (centred the first time).
    virtual void ShowMainWindow() = 0;
    // The main window's close, recorded for the main loop: the window stays and
    // every nested loop (message boxes, the wait for a program, the print, the
    // folder browser) goes on as before; once the running handler has returned
    // to the main loop, the loop ends and the window is hidden.
    virtual void CloseMainWindow() = 0;
    // Dispatches every pending message, the wizard's keys included. Every loop
    // that runs inside a handler dispatches through here.
    virtual void DispatchPending() = 0;
    // Called again and again from inside a long operation of a handler (a
    // folder copy): at most every 100 ms, repaints the main window and answers
    // what other programs send it, so the system never takes the window for
    // hung, while running no handler. Input, timers and posted messages stay
    // queued; a close or command sent meanwhile is queued behind them, so it
    // is handled once the running handler has returned, as a click is. Cheap
    // between two looks at the queue, so it may be called once per file.
    virtual void KeepAlive() = 0;
};
