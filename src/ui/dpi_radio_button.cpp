#include "ui/dpi_radio_button.h"

#include "base/text_codec.h"
#include "ui/radio_state.h"
#include "ui/ui_scale.h"

CDPIRadioButton::CDPIRadioButton(HWND owner, UINT id, int level, Rect rect, std::u16string caption, bool visible,
                                 bool available, bool disabled)
    : CSkinButton(owner, id, rect, std::move(caption), visible, available, disabled, true), level_(level)
{
}

int CDPIRadioButton::LookIndex() const { return IsDpiLevelEnabled(Level()) ? 2 : state_; }

void CDPIRadioButton::Draw(platform::ICanvas& dc, const Rect&)
{
    int look = LookIndex();
    DrawLook(dc, look, look + 1);
    Rect band{rect_.left, rect_.top, rect_.right, rect_.top + ScaleUnits(11)};
    dc.DrawText(Ascii(std::to_string(value_ * 50)), band, DT_CENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS, font_,
                colour_);
}

void CDPIRadioButton::OnClick() { SelectDpiLevels(Level()); }

void CDPIRadioButton::Describe(platform::AccessibleNode& node) const
{
    CSkinButton::Describe(node);
    node.role = platform::AccessibleRole::CheckBox;
    node.value = Ascii(std::to_string(value_ * 50));
    node.numericValue = value_ * 50;
    node.states |= platform::accessible_state::kCheckable |
                   (IsDpiLevelEnabled(Level()) ? platform::accessible_state::kChecked : 0u);
}
