#include "ui/radio_button.h"

#include "ui/radio_state.h"

CRadioButton::CRadioButton(HWND owner, UINT id, Rect rect, std::u16string caption, bool visible, bool available,
                           bool disabled)
    : CSkinButton(owner, id, rect, std::move(caption), visible, available, disabled, true)
{
}

int CRadioButton::LookIndex() const { return IsRadioSelected(id_) ? 2 : state_; }

void CRadioButton::Draw(platform::ICanvas& dc, const Rect&)
{
    int look = LookIndex();
    DrawLook(dc, look, look + 1);
}

void CRadioButton::OnClick() { SelectRadio(id_); }

void CRadioButton::Describe(platform::AccessibleNode& node) const
{
    CSkinButton::Describe(node);
    node.role = platform::AccessibleRole::Radio;
    node.states |= platform::accessible_state::kCheckable |
                   (IsRadioSelected(id_) ? platform::accessible_state::kChecked : 0u);
}
