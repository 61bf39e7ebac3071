// The peer of one control of the window description: a real child window that
// mirrors the model's state, and the window classes of the containers and pictures.
// The child window is made when the main window is first shown (Realize): until
// then the peer keeps the state it was given, so the start-up notices, which come
// before the window, do not wait for some fifty controls to be made.
#pragma once
#include <windows.h>

#include <memory>

#include "platform/Ui.h"

class Win32Ui;

class Win32ControlPeer : public ControlPeer {
public:
    Win32ControlPeer(Win32Ui& ui, const ControlSpec& row);
    ~Win32ControlPeer() override;
    Win32ControlPeer(const Win32ControlPeer&) = delete;
    Win32ControlPeer& operator=(const Win32ControlPeer&) = delete;

    void SyncVisible(bool visible) override;
    void SyncEnabled(bool enabled) override;
    void SyncText(const std::u16string& text) override;
    std::u16string ReadText() override;
    void SyncChecked(bool checked) override;
    bool ReadChecked() override;
    void SyncRange(int minimum, int maximum) override;
    void SyncPosition(int position) override;
    void Repaint() override;
    void CaretToTop() override;
    void SyncPicture(const std::shared_ptr<Picture>& picture, int width) override;

    // Makes the child window in `parent` and gives it the state kept so far;
    // false when the system refuses the window.
    bool Realize(HWND parent);
    // Null until realized.
    HWND Handle() const { return window_; }
    const ControlSpec& Row() const { return spec_; }
    // Position, size and font at the main window's current DPI.
    void ApplyDpi();
    // Paints an Image control: the loaded picture or the built-in artwork.
    void PaintPicture(HDC dc);
    // The first radio button of this one's group (itself for the first).
    Win32ControlPeer* groupLeader = nullptr;

    // Registers the container and picture window classes; once per process.
    static void RegisterClasses(HINSTANCE instance);
    static const wchar_t* ContainerClass();
    static const wchar_t* PictureClass();

private:
    Win32Ui& ui_;
    ControlSpec spec_;
    HWND window_ = nullptr;
    // The state mirrored into the window, kept for its making.
    bool visible_ = false, enabled_ = true, checked_ = false, caretToTop_ = false;
    bool rangeSet_ = false, positionSet_ = false;
    std::u16string text_;
    int minimum_ = 0, maximum_ = 100, position_ = 0;
    std::shared_ptr<Picture> picture_;
    int pictureWidth_ = 0;  // at 96 dpi; 0 keeps the described width
    // The built-in artwork rendered once per size; drawing it is not cheap.
    HBITMAP artCache_ = nullptr;
    SIZE artCacheSize_{};
};
