#include "settings/ui/lighting_section.h"

#include <algorithm>
#include <string>

#include "persist/text_codec.h"
#include "profile/profile_record.h"
#include "settings/ui/settings_ids.h"
#include "ui/color_select_check_button.h"
#include "ui/combo_button.h"
#include "ui/dlg_base.h"
#include "ui/passive_controls.h"
#include "ui/radio_state.h"
#include "ui/slider_control.h"

using namespace settings_ids;

namespace {

void Repaint(const CDlgBase& dlg, const CControlBase* c)
{
    if (c && dlg.GetSafeHwnd() && platform::g_windowHost)
        platform::g_windowHost->InvalidateRect(dlg.GetSafeHwnd(), c->GetRect());
}

bool In(int m, std::initializer_list<int> modes) { return std::find(modes.begin(), modes.end(), m) != modes.end(); }

// Every control whose visibility depends on the mode (the rules below name
// them by number: the table reads as the rule it is).
constexpr unsigned kModeControls[] = {3161, 3180, 3181, 3182, 3183, 3184, 3185, 3186, 3187, 3163,
                                      3190, 3200, 3210, 3162, 3191, 3220, 3230, 3164, 3240, 3250};

}  // namespace

int LightingModeOf(const ProfileRecord& profile)
{
    const int m = profile.lighting.Lighting1ModeValue[0];
    return m < kLightingModeCount ? m : 0;
}

std::u16string LightingBrightnessText(int position)
{
    position = std::clamp(position, 0, 3);
    return Ascii(std::to_string(25 * (position + 1))) + u"%";
}

bool LightingControlShown(unsigned id, int m)
{
    switch (id) {
    case 3161:
    case 3180: return In(m, {2, 3, 6, 7});
    case 3181: return In(m, {2, 6, 7});
    case 3182:
    case 3183:
    case 3184:
    case 3185:
    case 3186: return In(m, {2, 6});
    case 3187: return m == 6;
    case 3163:
    case 3190:
    case 3200:
    case 3210: return !In(m, {0, 3, 6});
    case 3162:
    case 3191:
    case 3220:
    case 3230: return m == 3;
    case 3164:
    case 3240:
    case 3250: return m == 1;
    default: return true;
    }
}

void RefreshLighting(const CDlgBase& dlg, const ProfileRecord& profile, bool sectionOpen)
{
    const LightingSettings& l = profile.lighting;
    const int m = LightingModeOf(profile);
    if (auto* combo = dlg.Find<CComboButton>(kLightingMode)) {
        combo->SetLabel(l.Lighting1Name);
        combo->SetVisible(sectionOpen);
        Repaint(dlg, combo);
    }
    for (int i = 0; i < 8; ++i)
        if (auto* slot = dlg.Find<CColorSelectCheckButton>(kFirstColourSlot + UINT(i))) {
            slot->SetColour(l.Lighting1FixedColor[size_t(m)][size_t(i)]);
            slot->SetChecked(l.Lighting1ColorSelected[size_t(m)][size_t(i)] != 0);
            Repaint(dlg, slot);
        }
    if (auto* speed = dlg.Find<CSliderControl>(kLightingSpeed)) {
        speed->SetPosition(l.Lighting1Speed[size_t(m)]);
        if (auto* c = dlg.Find<CStaticText>(kLightingSpeedText))
            c->SetLabelText(Ascii(std::to_string(speed->Position() + 1)));
    }
    if (auto* brightness = dlg.Find<CSliderControl>(kLightingBrightness)) {
        brightness->SetPosition(l.Lighting1Brightness[size_t(m)]);
        if (auto* c = dlg.Find<CStaticText>(kLightingBrightnessText))
            c->SetLabelText(LightingBrightnessText(brightness->Position()));
    }
    SelectRadio(l.Lighting1Direction[size_t(m)] != 0 ? kDirectionUp : kDirectionDown);

    if (!sectionOpen) return;
    for (unsigned id : kModeControls)
        if (CControlBase* c = dlg.FindControl(id)) {
            c->SetVisible(LightingControlShown(id, m));
            Repaint(dlg, c);
        }
}

void StoreLighting(const CDlgBase& dlg, ProfileRecord& profile)
{
    LightingSettings& l = profile.lighting;
    // The controls showed mode 0's values for a damaged mode byte; they are
    // not that mode's to overwrite.
    if (l.Lighting1ModeValue[0] >= kLightingModeCount) return;
    const int m = LightingModeOf(profile);
    if (auto* s = dlg.Find<CSliderControl>(kLightingSpeed))
        l.Lighting1Speed[size_t(m)] = static_cast<uint8_t>(s->Position());
    if (auto* s = dlg.Find<CSliderControl>(kLightingBrightness))
        l.Lighting1Brightness[size_t(m)] = static_cast<uint8_t>(s->Position());
    l.Lighting1Direction[size_t(m)] = IsRadioSelected(kDirectionUp) ? 1 : 0;
}

void CLightingSection::Refresh(const ProfileRecord* profile)
{
    if (profile) RefreshLighting(host_.Dialog(), *profile, isOpen_ && isOpen_());
}

void CLightingSection::Store(ProfileRecord& profile) { StoreLighting(host_.Dialog(), profile); }
