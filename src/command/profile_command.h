#pragma once
// One change to the loaded profiles, settings table or macro library, given
// as the words a person types after `tevlanctl`:
//
//   set NAME [N] VALUE        one setting of a profile (see SettingNames)
//   button N FUNCTION...      button 1..8 of a profile
//   profile select|add|rename|delete|import N ...
//   macros import FILE | add-set NAME | delete-set NAME | add SET NAME
//
// Both owners of the data folder run a change through here: the window when
// a request reaches it over the instance socket, tevlanctl when no window
// runs. Each then sends the groups named in the outcome and saves, so the
// files and the reports come out the same either way. Nothing is shown and
// nothing is written to disk here, except by the profile list operations and
// the macro library edits, whose core functions save themselves.
//
// Window thread (or tevlanctl's only thread): g_profiles, g_settings, g_macroLibrary.
#include <array>
#include <string>
#include <vector>

#include "profile/macro_model.h"
#include "profile/profile_record.h"

struct CommandOutcome {
    enum Kind { Done, Refused, Usage };
    Kind kind = Done;
    std::u16string message;  // Refused: the language text; Usage: what to type

    bool changed = false;        // a profile, the profile list or the library changed
    int profile = -1;            // the profile that changed (-1: none or several)
    bool profilesSaved = false;  // the core function wrote the settings and slot files already
    bool macrosChanged = false;  // the library changed; the edit saved it to macroPath
    // PendingGroup values (Keys, DpiAndMore, Power, Wake) the active profile needs sent.
    std::array<bool, 4> send{};

    bool SendsAnything() const { return send[0] || send[1] || send[2] || send[3]; }
};

// `profile` is the 0-based index the change applies to (-1: the active one).
// `macroPath` is where the library is saved after a macro edit.
CommandOutcome RunProfileCommand(const std::vector<std::string>& words, int profile, MacroLibrary& library,
                                 const std::string& macroPath);

// The setting names `set` and `get` know, in the order `get` lists them.
struct SettingName {
    const char* name;
    int indexCount;  // 0: no index; else the index runs 1..indexCount
    const char* values;  // for the usage text
};
const std::vector<SettingName>& SettingNames();

// The value of one setting as `set` takes it back ("500", "on", "#FF8000", "breathing").
std::string SettingValueText(const ProfileRecord& profile, const std::string& name, int index);
// Whether the value is a number (the DPI values, rates, times, positions) for JSON.
bool SettingValueIsNumber(const std::string& name);

// Names of the lighting modes, stable across languages: "off", "wave", ...
std::string LightingModeName(int mode);
