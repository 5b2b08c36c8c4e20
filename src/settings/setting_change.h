#pragma once
// What an edit of a profile setting did, for whoever made it: the window marks
// the group for its next apply (20 ms later) or explains a refusal with the
// language text given; tevlanctl prints that text instead. The edits never
// show anything themselves.
#include "profile/pending_group.h"

// Text numbers the edits refuse with.
constexpr int kTextKeepOneDpiLevel = 330;   // the last enabled DPI level cannot be disabled
constexpr int kTextValueOutOfRange = 331;   // a value the setting does not take
constexpr int kTextKeepOneColour = 153;     // the lighting effect needs a colour selected
constexpr int kTextKeepTwoColours = 154;    // the effect needs at least two colours

// The group is the one an apply must send after the change; the pointer
// preferences (Windows) are stored with the profile and never sent.
struct SettingChange {
    bool changed = false;  // false: the profile is as it was
    PendingGroup group = PendingGroup::DpiAndMore;
    bool refused = false;
    int refusalText = 0;  // why it was refused; 0 when nothing needs saying

    bool Changed() const { return changed; }

    static SettingChange Unchanged() { return {}; }
    static SettingChange In(PendingGroup g) { return {true, g, false, 0}; }
    static SettingChange Refused(int text) { return {false, PendingGroup::DpiAndMore, true, text}; }
    // Changed in group g when `changed`, else nothing.
    static SettingChange If(bool changed, PendingGroup g) { return changed ? In(g) : Unchanged(); }
};
