#pragma once
// What an edit of a profile setting did, for whoever made it: the window marks
// the group for its next apply (20 ms later) or explains a refusal with the
// language text given; tevlanctl prints that text instead. The edits never
// show anything themselves.
#include <cstdint>

// The command group an apply must send after the edit. Windows marks the
// pointer preferences, which are stored with the profile and never sent.
enum class SettingGroup : uint8_t { None, DpiAndMore, Power, Wake, Windows };

// Text numbers the edits refuse with.
constexpr int kTextKeepOneDpiLevel = 330;   // the last enabled DPI level cannot be disabled
constexpr int kTextValueOutOfRange = 331;   // a value the setting does not take
constexpr int kTextKeepOneColour = 153;     // the lighting effect needs a colour selected
constexpr int kTextKeepTwoColours = 154;    // the effect needs at least two colours

struct SettingChange {
    SettingGroup group = SettingGroup::None;  // None: the profile is as it was
    bool refused = false;
    int refusalText = 0;  // why it was refused; 0 when nothing needs saying

    bool Changed() const { return group != SettingGroup::None; }

    static SettingChange Unchanged() { return {}; }
    static SettingChange In(SettingGroup g) { return {g, false, 0}; }
    static SettingChange Refused(int text) { return {SettingGroup::None, true, text}; }
    // Changed in group g when `changed`, else nothing.
    static SettingChange If(bool changed, SettingGroup g) { return changed ? In(g) : Unchanged(); }
};
