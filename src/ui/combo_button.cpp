#include "ui/combo_button.h"

CComboButton::CComboButton(HWND owner, UINT comboMessage, UINT id, Rect rect, std::u16string caption,
                           unsigned align, std::u16string label, bool visible, bool available, bool disabled)
    : CSkinButton(owner, id, rect, std::move(caption), visible, available, disabled, true),
      comboMessage_(comboMessage), label_(std::move(label))
{
    align_ = align;
}

int CComboButton::Frame() const
{
    if (locked_) return state_ == kStateNormal ? 3 : 4;
    return open_ ? 1 : state_;
}

void CComboButton::Draw(platform::ICanvas& dc, const Rect&)
{
    int frame = Frame();
    // Without the strip: image 1 for the resting looks, image 2 for the lit ones.
    bool lit = frame == 1 || frame == 2 || frame == 4;
    DrawLook(dc, frame, lit ? 2 : 1);
    COLORREF c = locked_ || open_ || state_ != kStateNormal ? kCaptionHover : kCaptionNormal;
    DrawCaption(dc, disableFlag_ ? std::u16string(u"Disable") : label_, rect_, align_, c, leftMargin_, rightMargin_);
}

int CComboButton::OnMouseMove(WPARAM, int x, int y)
{
    if (disabled_ || state_ == kStatePressed) return 0;
    int before = state_;
    if (Contains(x, y)) {
        state_ = kStateHover;
        if (!entered_) {
            if (enterCounter_ < 4)
                ++enterCounter_;
            else
                entered_ = true;
            inside_ = true;
            Send(comboMessage_, id_, kEnter);
        }
    } else {
        state_ = kStateNormal;
        if (inside_ && !open_) {
            entered_ = false;
            enterCounter_ = 0;
            inside_ = false;
            Send(comboMessage_, id_, kLeave);
        }
    }
    return state_ != before;
}

int CComboButton::OnLButtonDown(WPARAM, int x, int y)
{
    int before = state_;
    DownStep step = StateAfterDown(disabled_, state_, Contains(x, y));
    state_ = step.state;
    if (step.sendDown && !locked_) Notify(CE_DOWN);
    return state_ != before;
}

int CComboButton::OnLButtonUp(WPARAM, int x, int y)
{
    int before = state_;
    UpStep step = StateAfterUp(disabled_, state_, Contains(x, y));
    state_ = step.state;
    if (step.click && !locked_) Send(comboMessage_, id_, kClick);
    return state_ != before;
}

void CComboButton::Describe(platform::AccessibleNode& node) const
{
    // The box shows the current choice in its label; its name is its own
    // or the window's (the caption beside it).
    CSkinButton::Describe(node);
    node.role = platform::AccessibleRole::Combo;
    node.value = disableFlag_ ? std::u16string(u"Disable") : label_;
    // Readers that show no value of a combo read its description.
    node.description = node.value;
    node.states |= platform::accessible_state::kHasPopup | (open_ ? platform::accessible_state::kExpanded : 0u);
    node.actions = {u"open"};
}
