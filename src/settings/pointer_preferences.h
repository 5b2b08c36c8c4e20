#pragma once
// Editing the desktop pointer preferences a profile carries: pointer speed,
// pointer precision, wheel lines or page, wheel lines and double-click
// speed. They are stored with the profile only; nothing is sent to the mouse
// and the desktop's own settings are left alone.
//
// Window thread (or tevlanctl's only thread).
#include <string>

#include "profile/profile_record.h"
#include "settings/setting_change.h"

constexpr int kPointerSpeedPositions = 11;
constexpr int kWheelLinesPositions = 10;
constexpr int kDoubleClickPositions = 11;

// The number these sliders show: position + 1.
std::u16string PositionCaption(int position);

// Each refuses a position outside its slider.
SettingChange EditPointerSpeed(ProfileRecord& profile, int position);
SettingChange EditDoubleClickSpeed(ProfileRecord& profile, int position);
// The wheel's lines a notch; the tilt wheel follows it (no control of its own).
SettingChange EditWheelLines(ProfileRecord& profile, int position);
// Page at a time; the lines value is kept for when lines come back.
SettingChange EditWheelPageMode(ProfileRecord& profile, bool page);
SettingChange EditPointerPrecision(ProfileRecord& profile, bool on);
// The lines slider only means something while the wheel scrolls lines.
bool WheelLinesEditable(const ProfileRecord& profile);
