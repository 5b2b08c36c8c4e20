#include "settings/ui/dpi_value_setting_dlg.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "base/ui_text.h"
#include "settings/dpi_levels.h"
#include "settings/dpi_step_table.h"
#include "ui/dpi_value_show_control.h"
#include "ui/passive_controls.h"
#include "ui/slider_control.h"
#include "ui/ui_scale.h"

namespace {

constexpr FramedDlgLook kLook{429,
                              140,
                              u"skins/Frame_common.bmp",
                              u"dpi-value",
                              CDPIValueSettingDlg::kConfirm,
                              CDPIValueSettingDlg::kCancel,
                              DialogKey::PassOn,  // OK takes the typed value
                              DialogKey::PassOn,
                              0,
                              11};

constexpr COLORREF kText = RGB(180, 180, 180);

std::u16string DpiText(int step) { return Ascii(std::to_string(DpiStepValue(step))); }

}  // namespace

CDPIValueSettingDlg::CDPIValueSettingDlg(CDPIValueShowControl& bar, int stepCount, HWND parent)
    : CFramedDlg(kLook, parent), bar_(bar), stepCount_(std::max(1, stepCount)),
      step_(std::clamp(bar.Position(), 0, std::max(1, stepCount) - 1))
{
    MapMessage(kSlider, [this](WPARAM w, LPARAM l) -> LRESULT {
        if (l == CE_VALUE) ShowStep(int(w));
        if (l == CE_CLICK && slider_) ShowStep(slider_->Position());
        return 0;
    });
}

std::u16string CDPIValueSettingDlg::Description() const { return DpiText(step_); }

void CDPIValueSettingDlg::AddControls()
{
    const HWND w = hwnd_;
    AddCloseButton(405);
    AddPushButton(kConfirm, 350, 110, 419, 130, UiText(4));
    // Beside OK: over the slider's right end, where it was first put, a
    // press meant for the slider would cancel the dialog.
    AddPushButton(kCancel, 270, 110, 339, 130, UiText(5));

    auto text = [&](UINT id, int l, int t, int r, int b, COLORREF colour, unsigned align, const std::u16string& s) {
        auto c = std::make_unique<CStaticText>(w, id, ScaleRect(l, t, r, b), colour, align | DT_SINGLELINE | DT_VCENTER);
        c->SetLabelText(s);
        c->SetFont(g_uiFont.height, g_uiFont.face);
        return AddControl(0, std::move(c));
    };
    text(2012, 20, 3, 230, 27, RGB(255, 255, 255), DT_LEFT, UiText(11));
    text(2012, 0, 68, 60, 86, kText, DT_RIGHT, DpiText(0));
    text(2012, 365, 68, 425, 86, kText, DT_LEFT, DpiText(stepCount_ - 1));
    text(kValueText, 0, 45, 429, 63, kText, DT_CENTER, DpiText(step_));

    auto track = std::make_unique<CStaticImage>(w, kTrack, ScaleRect(69, 72, 359, 75));
    track->LoadImage(SkinPath(u"skins/Slider_bar.png"));
    AddControl(0, std::move(track));
    auto slider = std::make_unique<CSliderControl>(w, kSlider, ScaleRect(69, 67, 359, 80), stepCount_, ScaleUnits(6),
                                                   ScaleUnits(7));
    slider->LoadThumb(SkinPath(u"skins/Slider_Circle.png"));
    slider->SetPosition(step_);
    // Read out in DPI, as the value above it shows.
    std::vector<int> values;
    std::vector<std::u16string> texts;
    for (int i = 0; i < stepCount_; ++i) {
        values.push_back(DpiStepValue(i));
        texts.push_back(DpiText(i) + u" DPI");
    }
    slider->SetValueScale(std::move(values), std::move(texts));
    slider->SetAccessibleName(UiText(11));
    slider_ = AddControl(0, std::move(slider));
}

bool CDPIValueSettingDlg::OnInitDialog()
{
    CFramedDlg::OnInitDialog();
    platform::EditParams params;
    // The edit box is a real one: its font is given in points, which the
    // desktop scales by its own DPI, so the program's factor comes out again.
    params.font = {u"Tahoma", std::max(1, int(10 * 96 / 72 * g_uiScale / g_dpiFactor))};
    params.align = DT_CENTER;
    params.textColour = RGB(255, 255, 255);
    params.backColour = RGB(0, 0, 0);
    params.maxLength = 6;
    params.accessibleName = UiText(538);
    edit_ = CreateEditBox(int(kEdit), ScaleRect(20, 110, 120, 130), params);
    if (edit_) {
        Host().SetWindowText(edit_, DpiText(step_));
        Host().SetEditSelection(edit_, -1, -1);
        Host().SetFocus(edit_);
    }
    return true;
}

void CDPIValueSettingDlg::ShowStep(int i, bool updateEdit)
{
    step_ = std::clamp(i, 0, stepCount_ - 1);
    if (slider_) {
        slider_->SetPosition(step_);
        InvalidateControl(slider_);
    }
    if (auto* value = Find<CStaticText>(kValueText)) {
        value->SetLabelText(DpiText(step_));
        InvalidateControl(value);
    }
    if (updateEdit && edit_) {
        Host().SetWindowText(edit_, DpiText(step_));
        Host().SetEditSelection(edit_, -1, -1);
    }
}

void CDPIValueSettingDlg::ApplyTypedValue()
{
    if (!edit_) return;
    ShowStep(std::min(DpiStepForText(Host().GetWindowText(edit_)), stepCount_ - 1));
}

bool CDPIValueSettingDlg::PreTranslateMessage(HWND self, const platform::Msg& msg)
{
    if (msg.message == WM_KEYDOWN) {
        switch (msg.wParam) {
        case VK_LEFT: ShowStep(step_ - 1); return true;
        case VK_RIGHT: ShowStep(step_ + 1); return true;
        default: break;
        }
    }
    return CFramedDlg::PreTranslateMessage(self, msg);
}

void CDPIValueSettingDlg::OnOK()
{
    ApplyTypedValue();
    bar_.SetPosition(step_);
    CFramedDlg::OnOK();
}
