#include "ui/key_capture_box.h"

CKeyCaptureBox::CKeyCaptureBox(HWND owner, UINT id, Rect rect, COLORREF colour, unsigned format, std::u16string name)
    : CStaticText(owner, id, rect, colour, format, {}, true, true, false)
{
    SetAccessibleName(std::move(name));
}

void CKeyCaptureBox::Describe(platform::AccessibleNode& node) const
{
    node.role = platform::AccessibleRole::Button;
    node.name = AccessibleName();
    node.value = LabelText();
    node.states |= platform::accessible_state::kFocusable;
}
