#include "ui/color_select_check_button.h"

#include "ui/ui_scale.h"

CColorSelectCheckButton::CColorSelectCheckButton(HWND owner, UINT id, Rect rect, std::u16string caption, Rect swatch,
                                                 bool visible, bool available, bool disabled)
    : CSkinButton(owner, id, rect, std::move(caption), visible, available, disabled, true), swatch_(swatch)
{
}

void CColorSelectCheckButton::Draw(platform::ICanvas& dc, const Rect&)
{
    DrawLook(dc, checked_ ? 1 : 0, checked_ ? 2 : 1);
    int inset = ScaleUnits(3);
    swatch_ = rect_.Inflate(-inset, -inset);
    if (!swatch_.IsEmpty()) dc.FillRect(swatch_, colour_);
}

int CColorSelectCheckButton::OnLButtonDblClk(WPARAM, int x, int y) { return DoubleClickAt(x, y); }

void CColorSelectCheckButton::Describe(platform::AccessibleNode& node) const
{
    CSkinButton::Describe(node);
    node.role = platform::AccessibleRole::CheckBox;
    node.states |= platform::accessible_state::kCheckable | (checked_ ? platform::accessible_state::kChecked : 0u);
}
