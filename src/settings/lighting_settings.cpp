#include "settings/lighting_settings.h"

#include <algorithm>
#include <string>

#include "base/text_codec.h"
#include "base/ui_text.h"

namespace {

// The smallest selection each colour effect works with, and how many of its
// slots count; a mode not listed may lose all its colours.
struct ColourMinimum {
    int mode;
    int slots;
    int minimum;  // 0: never deselect
    int text;
};
constexpr ColourMinimum kColourMinimums[] = {
    {3, 1, 0, kTextKeepOneColour},
    {2, 7, 1, kTextKeepOneColour},
    {6, 8, 2, kTextKeepTwoColours},
    {7, 2, 1, kTextKeepOneColour},
};

bool ValidSlot(int slot) { return slot >= 0 && slot < kLightingEditedSlots; }

}  // namespace

LightingModeUse LightingModeUses(int m)
{
    LightingModeUse u;
    switch (m) {
    case 2: u.colourSlots = 7; break;
    case 3: u.colourSlots = 1; break;
    case 6: u.colourSlots = 8; break;
    case 7: u.colourSlots = 2; break;
    default: break;
    }
    u.speed = m != 0 && m != 3 && m != 6;
    u.brightness = m == 3;
    u.direction = m == 1;
    return u;
}

bool LightingModeStored(const ProfileRecord& profile)
{
    return profile.lighting.Lighting1ModeValue[0] < kLightingModeCount;
}

int CurrentLightingMode(const ProfileRecord& profile)
{
    return LightingModeStored(profile) ? profile.lighting.Lighting1ModeValue[0] : 0;
}

std::u16string BrightnessPercentCaption(int position)
{
    position = std::clamp(position, 0, kLightingBrightnessPositions - 1);
    return Ascii(std::to_string(25 * (position + 1))) + u"%";
}

SettingChange EditLightingMode(ProfileRecord& profile, int mode)
{
    const auto item = std::find_if(kLightingMenu.begin(), kLightingMenu.end(),
                                   [mode](const LightingMenuItem& i) { return i.mode == mode; });
    if (item == kLightingMenu.end()) return SettingChange::Refused(kTextValueOutOfRange);
    LightingSettings& l = profile.lighting;
    const std::array<uint8_t, 3> value{uint8_t(mode), 0, 0};
    const std::u16string name = UiText(item->textNumber);
    const bool changed = l.Lighting1ModeValue != value || l.Lighting1Name != name;
    l.Lighting1ModeValue = value;
    l.Lighting1Name = name;
    return SettingChange::If(changed, PendingGroup::DpiAndMore);
}

namespace {

// One per-mode byte of the current mode. A damaged mode byte has no entry of
// its own, and mode 0's values are not its to overwrite.
SettingChange EditModeByte(ProfileRecord& profile, std::array<uint8_t, kLightingModeCount>& values, int value,
                           int count)
{
    if (value < 0 || value >= count) return SettingChange::Refused(kTextValueOutOfRange);
    if (!LightingModeStored(profile)) return SettingChange::Unchanged();
    uint8_t& stored = values[size_t(CurrentLightingMode(profile))];
    const bool changed = stored != value;
    stored = uint8_t(value);
    return SettingChange::If(changed, PendingGroup::DpiAndMore);
}

}  // namespace

SettingChange EditLightingSpeed(ProfileRecord& profile, int position)
{
    return EditModeByte(profile, profile.lighting.Lighting1Speed, position, kLightingSpeedPositions);
}

SettingChange EditLightingBrightness(ProfileRecord& profile, int position)
{
    return EditModeByte(profile, profile.lighting.Lighting1Brightness, position, kLightingBrightnessPositions);
}

SettingChange EditLightingDirection(ProfileRecord& profile, bool first)
{
    return EditModeByte(profile, profile.lighting.Lighting1Direction, first ? 1 : 0, 2);
}

SettingChange EditLightingColour(ProfileRecord& profile, int mode, int slot, COLORREF colour)
{
    if (mode < 0 || mode >= kLightingModeCount || slot < 0 || slot >= kLightingColorSlots)
        return SettingChange::Refused(kTextValueOutOfRange);
    COLORREF& stored = profile.lighting.Lighting1FixedColor[size_t(mode)][size_t(slot)];
    colour &= 0x00FFFFFF;
    const bool changed = stored != colour;
    stored = colour;
    return SettingChange::If(changed, PendingGroup::DpiAndMore);
}

int LightingDeselectRefusal(const ProfileRecord& profile, int slot)
{
    const int m = CurrentLightingMode(profile);
    const auto& selected = profile.lighting.Lighting1ColorSelected[size_t(m)];
    for (const ColourMinimum& rule : kColourMinimums) {
        if (rule.mode != m) continue;
        // A slot the effect does not use takes nothing away from it.
        if (slot < 0 || slot >= rule.slots) return 0;
        if (rule.minimum == 0) return rule.text;
        const int count = int(std::count_if(selected.begin(), selected.begin() + rule.slots,
                                             [](uint8_t s) { return s != 0; }));
        // At or below the minimum already (a file may hold fewer): deselecting
        // would leave the effect with too few colours.
        return count <= rule.minimum ? rule.text : 0;
    }
    return 0;
}

SettingChange EditLightingColourSelected(ProfileRecord& profile, int slot, bool select)
{
    if (!ValidSlot(slot)) return SettingChange::Refused(kTextValueOutOfRange);
    if (!LightingModeStored(profile)) return SettingChange::Unchanged();
    uint8_t& stored = profile.lighting.Lighting1ColorSelected[size_t(CurrentLightingMode(profile))][size_t(slot)];
    if (!select && stored) {
        if (const int text = LightingDeselectRefusal(profile, slot)) return SettingChange::Refused(text);
    }
    const bool changed = (stored != 0) != select;
    stored = select ? 1 : 0;
    return SettingChange::If(changed, PendingGroup::DpiAndMore);
}

SettingChange ToggleLightingColour(ProfileRecord& profile, int slot)
{
    if (!ValidSlot(slot)) return SettingChange::Refused(kTextValueOutOfRange);
    if (!LightingModeStored(profile)) return SettingChange::Unchanged();
    const bool selected = profile.lighting.Lighting1ColorSelected[size_t(CurrentLightingMode(profile))][size_t(slot)];
    return EditLightingColourSelected(profile, slot, !selected);
}
