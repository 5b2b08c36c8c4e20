#pragma once
// Decoding a profile file and a macro library for people (text) and for
// scripts (--json). The JSON keys are the record's own field names.
#include <cstdint>
#include <ostream>
#include <string>

#include "profile/macro_model.h"
#include "profile/profile_record.h"

// Text from a file, made safe for a terminal: control characters (C0, DEL
// and C1) are shown as \xNN instead of being sent, so a crafted name cannot
// drive the terminal. A byte of a name that was not UTF-8 (see Utf8ToU16) is
// shown as \xNN too, and half a surrogate pair from a UTF-16 file as \uDNNN.
std::string PrintableText(const std::u16string& text);

// "RRGGBB" of a colour, in file order.
std::string ColourText(COLORREF colour);
// "0x3325"
std::string SensorIdText(uint16_t id);
// "8-digit upper-case hex" of an action, b0 first.
std::string ActionText(const MacroAction& action);

// DPI values are shown for `sensor`'s step table (already built).
void PrintProfileText(std::ostream& out, const ProfileRecord& record, const std::string& path, uint16_t sensor);
std::string ProfileJson(const ProfileRecord& record);

void PrintMacroLibraryText(std::ostream& out, const MacroLibrary& library, const std::string& path);
std::string MacroLibraryJson(const MacroLibrary& library);

// One macro action in words: "press A", "pause 50 ms", "move right 5".
std::string DescribeMacroAction(const MacroAction& action);
