#include "ui/check_button.h"

CCheckButton::CCheckButton(HWND owner, UINT id, Rect rect, std::u16string caption, unsigned align, bool visible,
                           bool available, bool disabled)
    : CSkinButton(owner, id, rect, std::move(caption), visible, available, disabled, true)
{
    align_ = align;
}

int CCheckButton::LookIndex() const
{
    if (state_ == kStatePressed) return 2;
    if (state_ == kStateHover) return checked_ ? 2 : 1;
    return checked_ ? 2 : 0;
}

void CCheckButton::Draw(platform::ICanvas& dc, const Rect&)
{
    int look = LookIndex();
    DrawLook(dc, look, look + 1);
    const std::u16string& replacement = look == 2 ? checkedCaption_ : uncheckedCaption_;
    DrawCaption(dc, replacement.empty() ? caption_ : replacement, rect_, align_, colours_[look], leftMargin_,
                rightMargin_);
}

void CCheckButton::Describe(platform::AccessibleNode& node) const
{
    CSkinButton::Describe(node);
    node.role = platform::AccessibleRole::CheckBox;
    node.states |= platform::accessible_state::kCheckable | (checked_ ? platform::accessible_state::kChecked : 0u);
}
