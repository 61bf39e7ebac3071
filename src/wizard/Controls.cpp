#include "wizard/Controls.h"

#include "platform/Pictures.h"
#include "platform/Ui.h"

Control::Control(const ControlSpec& row)
    : spec_(row),
      visible_(!(row.flags & cf::Hidden)),
      enabled_(!(row.flags & cf::Disabled)),
      caption_(row.caption ? row.caption : u"") {}

void Control::SetVisible(bool visible) {
    visible_ = visible;
    if (peer_) peer_->SyncVisible(visible);
}

void Control::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (peer_) peer_->SyncEnabled(enabled);
}

void Control::SetCaption(const std::u16string& caption) {
    caption_ = caption;
    if (peer_) peer_->SyncText(caption);
}

void Control::AttachPeer(std::unique_ptr<ControlPeer> peer) {
    peer_ = std::move(peer);
    if (peer_) SyncAll();
}

void Control::SyncAll() {
    peer_->SyncText(caption_);
    peer_->SyncEnabled(enabled_);
    peer_->SyncVisible(visible_);
}

void Button::Click() {
    if (Visible() && Enabled() && OnClick) OnClick();
}

std::u16string Edit::Text() const {
    return Peer() ? Peer()->ReadText() : text_;
}

void Edit::SetText(const std::u16string& text) {
    text_ = text;
    if (Peer()) Peer()->SyncText(text);
}

void Edit::SyncAll() {
    Control::SyncAll();
    Peer()->SyncText(text_);
}

void Memo::Clear() {
    lines_.clear();
    if (Peer()) Peer()->SyncText(Text());
}

void Memo::AddLines(const std::vector<std::u16string>& lines) {
    lines_.insert(lines_.end(), lines.begin(), lines.end());
    if (Peer()) Peer()->SyncText(Text());
}

void Memo::SetLines(std::vector<std::u16string> lines) {
    lines_ = std::move(lines);
    if (Peer()) Peer()->SyncText(Text());
}

std::u16string Memo::Text() const {
    std::u16string all;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (i) all += u"\r\n";
        all += lines_[i];
    }
    return all;
}

void Memo::CaretToTop() {
    if (Peer()) Peer()->CaretToTop();
}

void Memo::SyncAll() {
    Control::SyncAll();
    Peer()->SyncText(Text());
}

CheckBox::CheckBox(const ControlSpec& row) : Control(row), checked_((row.flags & cf::Checked) != 0) {}

bool CheckBox::Checked() const {
    return Peer() ? Peer()->ReadChecked() : checked_;
}

void CheckBox::SetChecked(bool checked) {
    checked_ = checked;
    if (Peer()) Peer()->SyncChecked(checked);
}

void CheckBox::Click() {
    SetChecked(!Checked());
    if (OnClick) OnClick();
}

void CheckBox::SyncAll() {
    Control::SyncAll();
    Peer()->SyncChecked(checked_);
}

void RadioButton::SetChecked(bool checked) {
    CheckBox::SetChecked(checked);
    if (checked) {
        for (RadioButton* other : Group) other->CheckBox::SetChecked(false);
    }
}

void RadioButton::Click() {
    SetChecked(true);
    if (OnClick) OnClick();
}

void ProgressBar::SetMax(int maximum) {
    max_ = maximum;
    if (Peer()) Peer()->SyncRange(min_, max_);
}

void ProgressBar::SetPosition(int position) {
    position_ = position;
    if (Peer()) Peer()->SyncPosition(position_);
}

void ProgressBar::Repaint() {
    ++repaints_;
    if (Peer()) Peer()->Repaint();
}

void ProgressBar::SyncAll() {
    Control::SyncAll();
    Peer()->SyncRange(min_, max_);
    Peer()->SyncPosition(position_);
}

void Image::LoadPicture(std::shared_ptr<Picture> picture) {
    picture_ = std::move(picture);
    width_ = picture_ ? picture_->Width() : 0;
    if (Peer()) Peer()->SyncPicture(picture_, Width());
}

void Image::SyncAll() {
    Control::SyncAll();
    if (picture_) Peer()->SyncPicture(picture_, Width());
}

void TPageControl::SetActivePageIndex(int index) {
    if (index == active_ || index < 0 || index >= PageCount()) return;
    if (active_ >= 0) pages_[active_]->Hide();
    active_ = index;
    pages_[index]->Show();
    if (pages_[index]->OnShow) pages_[index]->OnShow();
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (peer_) {
        if (enabled) peer_->Start(interval_);
        else peer_->Stop();
    }
}

void Timer::Fire() {
    if (enabled_ && OnTimer) OnTimer();
}

void Timer::AttachPeer(std::unique_ptr<TimerPeer> peer) {
    peer_ = std::move(peer);
    if (peer_ && enabled_) peer_->Start(interval_);
}
