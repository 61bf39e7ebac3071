// The wizard's controls as objects. Each holds its state and may have a peer
// that mirrors every change into a real control; without one it runs headless.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Ui.h"

class Picture;

class Control {
public:
    explicit Control(const ControlSpec& row);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const ControlSpec& Row() const { return spec_; }
    int Id() const { return spec_.id; }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // The caption of a label, button, check box or radio button.
    const std::u16string& Caption() const { return caption_; }
    void SetCaption(const std::u16string& caption);

    // Gives the control its peer and mirrors the whole state into it.
    void AttachPeer(std::unique_ptr<ControlPeer> peer);
    ControlPeer* Peer() const { return peer_.get(); }

protected:
    virtual void SyncAll();

private:
    const ControlSpec& spec_;
    bool visible_;
    bool enabled_;
    std::u16string caption_;
    std::unique_ptr<ControlPeer> peer_;
};

class Label : public Control {
public:
    using Control::Control;
};

class Button : public Control {
public:
    using Control::Control;
    std::function<void()> OnClick;
    // A click as the user makes it: only a shown, enabled button reacts.
    void Click();
};

class Edit : public Control {
public:
    using Control::Control;
    // What the box holds now, typing included.
    std::u16string Text() const;
    void SetText(const std::u16string& text);

protected:
    void SyncAll() override;

private:
    std::u16string text_;
};

class Memo : public Control {
public:
    using Control::Control;
    const std::vector<std::u16string>& Lines() const { return lines_; }
    void Clear();
    // Appends several lines with one update of the control.
    void AddLines(const std::vector<std::u16string>& lines);
    void SetLines(std::vector<std::u16string> lines);
    // The text as the control shows it: the lines joined with CR LF.
    std::u16string Text() const;
    void CaretToTop();

protected:
    void SyncAll() override;

private:
    std::vector<std::u16string> lines_;
};

class CheckBox : public Control {
public:
    explicit CheckBox(const ControlSpec& row);
    bool Checked() const;
    void SetChecked(bool checked);
    std::function<void()> OnClick;
    // A click as the user makes it: toggles, then runs OnClick.
    virtual void Click();

protected:
    void SyncAll() override;
    bool checked_;
};

class RadioButton : public CheckBox {
public:
    using CheckBox::CheckBox;
    // The other buttons of its group, cleared when this one is selected.
    std::vector<RadioButton*> Group;
    void SetChecked(bool checked);
    // Selects this button, clears the others, then runs OnClick.
    void Click() override;
};

class ProgressBar : public Control {
public:
    using Control::Control;
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    void SetMax(int maximum);
    void SetPosition(int position);
    void Repaint();
    int Repaints() const { return repaints_; }

protected:
    void SyncAll() override;

private:
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int repaints_ = 0;
};

class Image : public Control {
public:
    using Control::Control;
    const std::shared_ptr<Picture>& LoadedPicture() const { return picture_; }
    int Width() const { return width_ ? width_ : Row().width; }
    // Replaces the built-in picture; the control takes the picture's width.
    void LoadPicture(std::shared_ptr<Picture> picture);

protected:
    void SyncAll() override;

private:
    std::shared_ptr<Picture> picture_;
    int width_ = 0;
};

class Page : public Control {
public:
    Page(const ControlSpec& row, int index) : Control(row), index_(index) {}
    int Index() const { return index_; }
    std::function<void()> OnShow;

private:
    int index_;
};

// The page stack: one page shown at a time, tabs never drawn.
class TPageControl {
public:
    void AddPage(Page& page) { pages_.push_back(&page); }
    int PageCount() const { return static_cast<int>(pages_.size()); }
    int ActivePageIndex() const { return active_; }
    // Hides the old page, shows the new one and runs its show handler at once.
    // Making the active page active again runs nothing.
    void SetActivePageIndex(int index);

private:
    std::vector<Page*> pages_;
    int active_ = -1;
};

// A one-shot timer on the user-interface thread; its handler switches it off.
class Timer {
public:
    Timer(int id, unsigned interval) : id_(id), interval_(interval) {}
    int Id() const { return id_; }
    unsigned Interval() const { return interval_; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    std::function<void()> OnTimer;
    // A tick: runs the handler while the timer is on.
    void Fire();
    void AttachPeer(std::unique_ptr<TimerPeer> peer);

private:
    int id_;
    unsigned interval_;
    bool enabled_ = false;
    std::unique_ptr<TimerPeer> peer_;
};
