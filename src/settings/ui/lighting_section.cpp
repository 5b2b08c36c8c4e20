#include "settings/ui/lighting_section.h"

#include <algorithm>
#include <string>

#include "base/text_codec.h"
#include "profile/profile_record.h"
#include "settings/colour_palette.h"
#include "settings/lighting_settings.h"
#include "settings/ui/color_palette_dlg.h"
#include "settings/ui/combo_lighting_popup.h"
#include "settings/ui/setting_slider.h"
#include "settings/pointer_preferences.h"
#include "base/ui_text.h"
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

// Every control whose visibility depends on the mode.
constexpr unsigned kModeControls[] = {kColoursCaption,     kFirstColourSlot,     kFirstColourSlot + 1,
                                      kFirstColourSlot + 2, kFirstColourSlot + 3, kFirstColourSlot + 4,
                                      kFirstColourSlot + 5, kFirstColourSlot + 6, kFirstColourSlot + 7,
                                      kSpeedCaption,        kSpeedBar,            kLightingSpeed,
                                      kLightingSpeedText,   kBrightnessCaption,   kBrightnessBar,
                                      kLightingBrightness,  kLightingBrightnessText, kDirectionCaption,
                                      kDirectionUp,         kDirectionDown};

}  // namespace

bool LightingControlShown(unsigned id, int m)
{
    const LightingModeUse use = LightingModeUses(m);
    switch (id) {
    case kColoursCaption: return use.colourSlots > 0;
    case kSpeedCaption:
    case kSpeedBar:
    case kLightingSpeed:
    case kLightingSpeedText: return use.speed;
    case kBrightnessCaption:
    case kBrightnessBar:
    case kLightingBrightness:
    case kLightingBrightnessText: return use.brightness;
    case kDirectionCaption:
    case kDirectionUp:
    case kDirectionDown: return use.direction;
    default: break;
    }
    if (id >= kFirstColourSlot && id < kFirstColourSlot + UINT(kLightingEditedSlots))
        return int(id - kFirstColourSlot) < use.colourSlots;
    return true;
}

void RefreshLighting(const CDlgBase& dlg, const ProfileRecord& profile, bool sectionOpen)
{
    const LightingSettings& l = profile.lighting;
    const int m = CurrentLightingMode(profile);
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
    ScaleSettingSlider(dlg, kLightingSpeed, PositionCaption);
    ScaleSettingSlider(dlg, kLightingBrightness, BrightnessPercentCaption);
    ShowSettingSlider(dlg, kLightingSpeed, kLightingSpeedText, l.Lighting1Speed[size_t(m)], PositionCaption);
    ShowSettingSlider(dlg, kLightingBrightness, kLightingBrightnessText, l.Lighting1Brightness[size_t(m)],
                      BrightnessPercentCaption);
    SelectRadio(l.Lighting1Direction[size_t(m)] != 0 ? kDirectionUp : kDirectionDown);
    // Both: the one that lost its selection shows it too.
    Repaint(dlg, dlg.FindControl(kDirectionUp));
    Repaint(dlg, dlg.FindControl(kDirectionDown));

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
    const int m = CurrentLightingMode(profile);
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

// ---- handlers ------------------------------------------------------------------------

namespace {

// The window's popup slot for the menus its combos open.
constexpr int kComboMenuSlot = 0;
// Between a click on a colour and its toggle: long enough for the second
// click of a double click, which opens the palette instead.
constexpr int kColourClickMs = 150;

}  // namespace

void CLightingSection::MapMessages(CDlgBase& dlg)
{
    dlg.MapMessage(kLightingComboMessage, [this](WPARAM w, LPARAM l) -> LRESULT {
        if (l == CE_CLICK && w == kLightingMode) OpenModeMenu();
        return 0;
    });
    dlg.MapMessage(kLightingComboMessage + 2, [this](WPARAM, LPARAM l) -> LRESULT {
        if (l == CComboLightingPopup::kKind) CloseModeMenu();
        return 0;
    });
    for (int k = 0; k < kLightingEditedSlots; ++k)
        dlg.MapMessage(kFirstColourSlot + UINT(k), [this, k](WPARAM, LPARAM l) -> LRESULT {
            OnColourSlot(k, l);
            return 0;
        });
    MapSettingSlider(host_, dlg, kLightingSpeed, kLightingSpeedText, PositionCaption, EditLightingSpeed);
    MapSettingSlider(host_, dlg, kLightingBrightness, kLightingBrightnessText, BrightnessPercentCaption,
                     EditLightingBrightness);
    dlg.MapClick(kDirectionUp, [this] { Edit([](ProfileRecord& p) { return EditLightingDirection(p, true); }); });
    dlg.MapClick(kDirectionDown, [this] { Edit([](ProfileRecord& p) { return EditLightingDirection(p, false); }); });
}

void CLightingSection::Edit(const std::function<SettingChange(ProfileRecord&)>& edit)
{
    ProfileRecord* p = host_.WorkingProfile();
    if (!p) return;  // the window is closing
    const SettingChange c = edit(*p);
    if (c.refused && c.refusalText) host_.MessageBox(UiText(c.refusalText));
    Refresh(p);
    if (c.Changed()) host_.ScheduleApply(c.group);
}

void CLightingSection::OpenModeMenu()
{
    CDlgBase& dlg = host_.Dialog();
    auto* combo = dlg.Find<CComboButton>(kLightingMode);
    if (!combo || !dlg.GetSafeHwnd() || !host_.WorkingProfile()) return;
    host_.ClosePopup(kComboMenuSlot);
    combo->SetOpen(true);
    host_.RepaintControl(combo);
    const Rect r = combo->GetRect();
    const Point below = platform::g_windowHost->ClientToScreen(dlg.GetSafeHwnd(), Point{r.left, r.bottom});
    auto* popup = new CComboLightingPopup();
    popup->OnChoice([this](const PopupResult& chosen) { OnModeChosen(chosen); });
    if (!popup->Create(dlg.GetSafeHwnd(), Rect::FromSize(below.x, below.y, r.Width(), r.Height()), 0,
                       int(kLightingMode), kLightingComboMessage + 2)) {
        delete popup;
        combo->SetOpen(false);
        host_.RepaintControl(combo);
        return;
    }
    host_.OpenPopup(kComboMenuSlot, popup);
}

void CLightingSection::CloseModeMenu()
{
    if (auto* combo = host_.Dialog().Find<CComboButton>(kLightingMode)) {
        combo->SetOpen(false);
        host_.RepaintControl(combo);
    }
    host_.ClosePopup(kComboMenuSlot);
}

void CLightingSection::OnModeChosen(const PopupResult& result)
{
    CloseModeMenu();
    const size_t item = result.bytes[0];
    if (item >= kLightingMenu.size()) return;
    const int mode = kLightingMenu[item].mode;
    Edit([mode](ProfileRecord& p) { return EditLightingMode(p, mode); });
    // Another mode shows other controls: the whole panel changes.
    host_.RepaintWindow();
}

void CLightingSection::OnColourSlot(int k, LPARAM event)
{
    switch (event) {
    case CE_DOWN: afterDoubleClick_[size_t(k)] = false; return;
    case CE_CLICK:
        // The release that ends a double click is no click of its own.
        if (afterDoubleClick_[size_t(k)]) {
            afterDoubleClick_[size_t(k)] = false;
            return;
        }
        host_.StartTimer(k + 1, kColourClickMs);
        return;
    case CE_DBLCLK: {
        host_.StopTimer(k + 1);
        afterDoubleClick_[size_t(k)] = true;
        ProfileRecord* p = host_.WorkingProfile();
        if (!p || !LightingModeStored(*p)) return;
        CDlgBase& dlg = host_.Dialog();
        CColorPaletteDlg palette(*p, PaletteTarget{PaletteMode::Lighting, CurrentLightingMode(*p), k},
                                 dlg.GetSafeHwnd());
        if (host_.RunModal(palette) != IDOK || !host_.WorkingProfile()) return;
        Refresh(p);
        if (palette.Change().Changed()) host_.ScheduleApply(palette.Change().group);
        return;
    }
    default: return;
    }
}

bool CLightingSection::OnTimer(UINT id)
{
    if (id < 1 || id > UINT(kLightingEditedSlots)) return false;
    host_.StopTimer(int(id));
    const int k = int(id) - 1;
    Edit([k](ProfileRecord& p) { return ToggleLightingColour(p, k); });
    return true;
}
