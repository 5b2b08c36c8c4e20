// The lighting panel's controls, at their places in the panel, and the drag
// of its two sliders.
#include "settings/ui/lighting_section.h"

#include "base/ui_text.h"
#include "settings/lighting_settings.h"
#include "settings/pointer_preferences.h"
#include "settings/ui/setting_slider.h"
#include "settings/ui/settings_ids.h"
#include "ui/color_select_check_button.h"
#include "ui/combo_button.h"
#include "ui/dlg_base.h"
#include "ui/radio_button.h"
#include "ui/radio_state.h"
#include "ui/section_controls.h"
#include "ui/ui_scale.h"

using namespace settings_ids;
using namespace section_controls;

void CLightingSection::CreateControls(ISectionPlaces& at, int)
{
    const HWND w = at.Owner();
    // The bits the selection word has always used for the direction.
    RegisterRadioGroup({{kDirectionUp, 0x800}, {kDirectionDown, 0x1000}});

    const Rect comboPlace{40, 11, 229, 36};
    auto combo = std::make_unique<CComboButton>(w, kLightingComboMessage, kLightingMode, at.At(comboPlace), u"");
    combo->LoadNormalAndHover(Skin(u"combo3_nr.png"), Skin(u"combo3_ov.png"));
    combo->SetMargins(ScaleUnits(10), ScaleUnits(24));
    combo->SetAccessibleName(UiText(406));
    at.Add(std::move(combo), comboPlace);

    Text(at, kBrightnessCaption, {42, 42, 132, 60}, UiText(120));
    Text(at, kSpeedCaption, {42, 42, 132, 60}, UiText(121));
    for (UINT id : {kBrightnessBar, kSpeedBar}) Picture(at, id, {42, 72, 187, 75}, u"Slider_bar.png");
    Slider(at, kLightingBrightness, {42, 67, 187, 80}, 4);
    Slider(at, kLightingSpeed, {42, 67, 187, 80}, 3);
    // The value captions reach to the panel's edge: "100%" in the numeric
    // face is wider than the 31 to 40 units the captions were given.
    Text(at, kLightingBrightnessText, {195, 64, 256, 82}, u"", DT_LEFT, true);
    Text(at, kLightingSpeedText, {195, 64, 256, 82}, u"", DT_LEFT, true);
    Text(at, kColoursCaption, {42, 107, 252, 125}, UiText(122));
    Text(at, kDirectionCaption, {42, 107, 132, 125}, UiText(123));
    for (int j = 0; j < 8; ++j) {
        const Rect place{42 + 26 * j, 134, 63 + 26 * j, 154};
        auto c = std::make_unique<CColorSelectCheckButton>(w, kFirstColourSlot + UINT(j), at.At(place), u"");
        c->LoadImage1(Skin(u"color_select_nr.png"));
        c->LoadImage2(Skin(u"color_select_check.png"));
        c->SetAccessibleName(NumberedName(405, j + 1));
        at.Add(std::move(c), place);
    }
    // The arrows are pictures: a screen reader has their words.
    Radio(at, kDirectionUp, {42, 134, 71, 152}, u"up_nr.png", u"up_ov.png", u"up_check.png")
        ->SetAccessibleName(UiText(409));
    Radio(at, kDirectionDown, {81, 134, 110, 152}, u"down_nr.png", u"down_ov.png", u"down_check.png")
        ->SetAccessibleName(UiText(410));
}

bool CLightingSection::OnPointerDrag(int x)
{
    if (!isOpen_ || !isOpen_()) return false;
    return DragSettingSliders(host_.Dialog(), {kLightingSpeed, kLightingBrightness}, x);
}
