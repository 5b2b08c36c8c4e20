#pragma once
// Every setting `tevlanctl set` and `get` know, one descriptor each: how it
// is typed, which core edit rule changes it, how its value is written back,
// what it takes, its line of help, its JSON member and the report a change
// makes due. The interpreter, get's text and JSON, the help and the manual
// page all read this table, so a new setting is one more entry here.
//
// Window thread (or tevlanctl's only thread): the edits and value texts read
// g_dpiStepTable.
#include <string>
#include <vector>

#include "profile/pending_group.h"
#include "profile/profile_record.h"
#include "settings/setting_change.h"

// How a value is typed; the parse errors follow from it.
enum class SettingKind {
    Number,  // decimal, checked against min..max before the edit rule sees it
    Switch,  // on|off (also 1/0, yes/no, true/false); 1 or 0 to the edit rule
    Colour,  // #RRGGBB; a COLORREF to the edit rule
    Word,    // one of the '|'-separated words of `values`; its position to the edit rule
};

struct SettingDescriptor {
    const char* name;      // as typed: "dpi-colour"
    const char* jsonName;  // the member of get --json: "dpiColour"
    int indexCount;        // 0: no index; else N runs 1..indexCount
    const char* indexNoun;  // what N counts, for the help: "level"
    SettingKind kind;
    long min = 0, max = 0;  // Number: what parses as a value at all
    // What it takes, '|' between choices ("125|250|500|1000") or a range
    // ("0-30 (ms, even)"): the usage text and the refusal's list of values.
    const char* values;
    const char* help;     // one line for the help and the manual page
    PendingGroup group;   // the report a change makes due (Windows: stored, never sent)
    // The core edit rule: `index` 0-based (0 without one), `value` as parsed.
    SettingChange (*edit)(ProfileRecord& profile, int index, long value);
    // The value as set takes it back: "500", "on", "#FF8000", "breathing".
    std::string (*text)(const ProfileRecord& profile, int index);
    // The values for a refusal when they depend on the mouse (DPI's range);
    // null: `values`.
    std::string (*currentValues)() = nullptr;
    // A parse of its own instead of the kind's; false: not a value of it.
    bool (*parse)(const std::string& text, long& value) = nullptr;
};

// In the order `get` lists them.
const std::vector<SettingDescriptor>& SettingTable();
const SettingDescriptor* FindSetting(const std::string& name);

// "dpi N" or "polling": the name as typed, with N where an index goes.
std::string SettingSynopsis(const SettingDescriptor& setting);
// "DPI of level N, ... (N: level 1-8)": the help line with the index's range.
std::string SettingHelpLine(const SettingDescriptor& setting);

// Names of the lighting modes, stable across languages: "off", "wave", ...
std::string LightingModeName(int mode);
