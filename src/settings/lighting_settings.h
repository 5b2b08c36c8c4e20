#pragma once
// Editing the lighting effect of a profile. Every parameter is kept per
// effect mode, so switching modes brings back each mode's own speed,
// brightness, direction, colours and selection. Shared by the window's
// lighting section and tevlanctl.
//
// Window thread (or tevlanctl's only thread).
#include <array>
#include <string>

#include "profile/profile_record.h"
#include "settings/setting_change.h"

constexpr int kLightingSpeedPositions = 3;
constexpr int kLightingBrightnessPositions = 4;  // 25 %, 50 %, 75 %, 100 %
constexpr int kLightingEditedSlots = 8;          // colour slots a user edits

// The mode menu, top to bottom: the caption's text number and the mode it selects.
struct LightingMenuItem {
    int textNumber;
    uint8_t mode;
};
inline constexpr std::array<LightingMenuItem, 8> kLightingMenu{{
    {100, 1}, {101, 2}, {102, 3}, {103, 4}, {110, 5}, {105, 6}, {108, 9}, {109, 0},
}};

// What a mode uses, and so what the window shows for it.
struct LightingModeUse {
    int colourSlots = 0;  // slots 0 .. colourSlots - 1
    bool speed = false;
    bool brightness = false;
    bool direction = false;
};
LightingModeUse LightingModeUses(int mode);

// The profile's mode; a mode byte past the ten per-mode entries (a damaged
// file) reads as 0, lighting off.
int CurrentLightingMode(const ProfileRecord& profile);
// True when the mode byte is one of the ten the record keeps values for.
bool LightingModeStored(const ProfileRecord& profile);

// "25%" .. "100%" for brightness positions 0..3.
std::u16string BrightnessPercentCaption(int position);

// The mode with its menu caption as the name. Refuses a mode the menu does
// not offer (7 and 8 come only from files).
SettingChange EditLightingMode(ProfileRecord& profile, int mode);
// Of the current mode. Each refuses a value outside its slider.
SettingChange EditLightingSpeed(ProfileRecord& profile, int position);
SettingChange EditLightingBrightness(ProfileRecord& profile, int position);
// true: the first direction.
SettingChange EditLightingDirection(ProfileRecord& profile, bool first);
// Colour `slot` (0..9) of `mode` (0..9).
SettingChange EditLightingColour(ProfileRecord& profile, int mode, int slot, COLORREF colour);

// 0 when colour `slot` of the current mode may be deselected, else the text
// that says why not: a steady colour always keeps its one colour, and the
// other colour effects keep at least the one or two colours they need.
int LightingDeselectRefusal(const ProfileRecord& profile, int slot);
// Selects or deselects a colour of the current mode, under the rule above.
SettingChange EditLightingColourSelected(ProfileRecord& profile, int slot, bool selected);
// A single click on a colour: a selected colour is deselected when allowed,
// an unselected one is selected. A refusal leaves it selected.
SettingChange ToggleLightingColour(ProfileRecord& profile, int slot);
