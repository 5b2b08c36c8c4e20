#pragma once
// Editing a profile's eight DPI levels: which are enabled, the step each one
// uses and its indication colour. The window's DPI section and tevlanctl both
// go through these, so the rules below hold the same for both.
//
// The current level is kept as an ordinal among the enabled levels (the
// mouse counts it that way), so enabling or disabling a level below it must
// move the ordinal for the same level to stay current.
//
// Window thread (or tevlanctl's only thread); they read g_dpiStepTable.
#include <cstdint>
#include <string>

#include "profile/profile_record.h"
#include "settings/setting_change.h"

struct DpiEnableResult {
    bool refused = false;  // it would leave no level enabled
    uint8_t mask = 0;      // the enable mask after the change
    int ordinal = 0;       // the current-level ordinal after the change
};

// Level `level` (0..7) enabled or disabled in `mask` with current ordinal
// `ordinal`. The current level stays current when another level comes or
// goes; when the current level itself is disabled the next lower enabled
// level becomes current (the lowest stays current). An ordinal past the
// enabled levels (a damaged file) counts as the highest enabled level.
DpiEnableResult ChangeDpiLevelEnabled(uint8_t mask, int ordinal, int level, bool enable);

// The same on a profile: writes the mask, the profile's current level and
// `workingOrdinal` (the window's copy of it). Refuses to disable the last
// enabled level (text 330) and a level outside 0..7 (text 331).
SettingChange EditDpiLevelEnabled(ProfileRecord& profile, int& workingOrdinal, int level, bool enable);

// The step of the current sensor's table for a typed DPI value: the first
// step whose DPI is at least `dpi`; past the last step, the last step. 0 for
// an empty table.
int DpiStepAtLeast(long long dpi);
// The same for the text of an edit box; text that is not a number reads as 0.
int DpiStepForText(const std::u16string& text);

// Level's step index, clamped into the current table. Refuses a level outside 0..7.
SettingChange EditDpiLevelStep(ProfileRecord& profile, int level, int step);
// Level's indication colour (0x00BBGGRR). Refuses a level outside 0..7.
SettingChange EditDpiLevelColour(ProfileRecord& profile, int level, COLORREF colour);
