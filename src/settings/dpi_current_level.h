#pragma once
// Choosing which DPI level is current. The profile keeps the current level as
// an ordinal among the enabled levels (the mouse counts it that way), so only
// an enabled level can be made current. Shared by the window and tevlanctl.
#include "profile/profile_record.h"
#include "settings/setting_change.h"

// The current level 0..7 of the profile.
int CurrentDpiLevel(const ProfileRecord& profile);

// Makes level 0..7 current. Refused (text 331) for a level outside 0..7 or
// one that is not enabled; the profile is then unchanged.
SettingChange EditCurrentDpiLevel(ProfileRecord& profile, int level);
