#pragma once
// What one change to the loaded profiles, settings table or macro library
// came to, for whoever runs it (the window over its socket, tevlanctl
// without one): done, refused with the language's text, or mistyped.
#include <array>
#include <string>

#include "profile/pending_group.h"

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
    // Marks the group's report for sending; the pointer preferences are stored, never sent.
    void Send(PendingGroup group)
    {
        if (size_t(group) < send.size()) send[size_t(group)] = true;
    }
};

// A mistyped command: `text` says what to type.
CommandOutcome UsageOutcome(const std::string& text);
// Refused with language text `text`; `path` fills its %1 or follows it.
CommandOutcome RefusedOutcome(int text, const std::string& path = {});

// Words as typed: a whole decimal number of at most nine characters; a
// switch (on/off, 1/0, yes/no, true/false); a colour "#RRGGBB" (the # optional).
bool ParseWholeNumber(const std::string& text, long& value);
bool ParseSwitchWord(const std::string& text, bool& on);
bool ParseColourWord(std::string text, uint32_t& colour);
