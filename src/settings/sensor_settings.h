#pragma once
// Editing the sensor and power settings of a profile: polling rate, lift-off
// distance, key debounce, the power-saving time and the two wake-up switches,
// with the captions the window shows for them. Shared by the window's
// sections and tevlanctl.
//
// Window thread (or tevlanctl's only thread).
#include <string>

#include "profile/profile_record.h"
#include "settings/setting_change.h"

constexpr int kPollingRateCount = 4;        // codes 0..3: 125, 250, 500, 1000 Hz
constexpr int kDebouncePositions = 16;      // 0..30 ms by 2 ms
constexpr int kPowerDownMinMinutes = 3;
constexpr int kPowerDownMaxMinutes = 10;

// Polling rate code 0..3 -> "125HZ" .. "1000HZ" (the name the profile stores).
std::u16string PollingRateName(int code);
// Which of the four rate captions the window shows: the stored code, with
// anything past 500 Hz showing as 1000 Hz.
int PollingCaptionIndex(const ProfileRecord& profile);
// Name and value bytes (code, 0, 0). Refuses a code outside 0..3.
SettingChange EditPollingRate(ProfileRecord& profile, int code);

// Lift-off choice 1 (low) or 2 (high); refuses anything else.
SettingChange EditLiftOffDistance(ProfileRecord& profile, int choice);

// Slider position of a stored debounce time (2 ms a position, odd times
// rounded down, clamped to the slider), and back.
int DebouncePositionOfMs(int ms);
int DebounceMsOfPosition(int position);
// "%dms" of the position's time.
std::u16string DebounceMsCaption(int position);
// From the slider; a position outside 0..15 is refused.
SettingChange EditDebouncePosition(ProfileRecord& profile, int position);
// From a typed time: even 0..30 ms only.
SettingChange EditDebounceMs(ProfileRecord& profile, int ms);

// "Sleep after " + minutes + " min" in the language's words.
std::u16string PowerSleepCaption(int minutes);
// Minutes 3..10; refuses anything else.
SettingChange EditPowerDownTime(ProfileRecord& profile, int minutes);
// The lighting comes on when the mouse moves (sent with the power time).
SettingChange EditMoveLighting(ProfileRecord& profile, bool on);
// The mouse wakes up when it is moved.
SettingChange EditMotionWakeup(ProfileRecord& profile, bool on);
