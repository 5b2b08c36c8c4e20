#pragma once
// The profile file (.psf): one ProfileRecord as 97 UTF-16LE lines, read
// strictly by position. The layout, line by line:
//
//   1      [Setting]
//   2-21   <key>=<value>                      settings 0..19, as stored
//   22     DPIOffOnFlagValue=%.2X
//   23-30  \tXYSetting<1..8>Value=%.4X        step indexes
//   31     \tCurrentDPILevelValue=%.2X
//   32-39  \tDPILevelIndication<0..7>Valuer=RRGGBB   (sic: "Valuer")
//   40     \tAngleSnapValue=%.2X
//   41     \tLiftDetectionValue=%.2X
//   42     PollingRateName=<text>
//   43     \tPollingRateValue=%.2X%.2X%.2X
//   44     Lighting1Name=<text>
//   45     \tLighting1ModeValue=%.2X%.2X%.2X
//   46     \tLighting1OffOn=%.2X
//   47     \tLighting1Speed=v|v|...|v            10 values, 29 characters
//   48     \tLighting1Brightness=...             likewise
//   49     \tLighting1ColorSelected=v|..|v;...;  10 groups of 10, each ended by ';'
//   50     \tLighting1FixedColor=RRGGBB|..;...;  10 groups of 10 colours
//   51     \tLighting1Direction=...              10 values
//   52     Lighting2Name=<text>
//   53     \tLighting2ModeValue=%.2X%.2X%.2X
//   54-56  \tLighting2OffOn / Speed / Brightness=%.2X
//   57     \tLighting2FixedColor=RRGGBB
//   58-97  per button 0..7:
//            Key<n>Name=<label>
//            \tKey<n>Value=%.2X%.2X%.2X
//            \tMacroKey<n>Name=<macro name>
//            \t\tMacroActionNum=%u
//            \t\tAllAction=<336 actions as 8 hex digits each: 2,688 characters>
//
// Every line ends in a single line feed. The reader ignores key names (only
// the header is compared), splits each line at its first '=', and takes
// fixed-width hexadecimal fields at fixed offsets; a field that is not
// hexadecimal converts to the digits before the first bad character.
// The macro loop settings are not in the file and keep their values.
#include <string>

#include "base/parse_error.h"
#include "persist/stdio_file_ex.h"
#include "profile/profile_record.h"

// The whole file text (without the byte-order mark) for a record.
std::u16string FormatProfileFile(const ProfileRecord& record);

// Writes a record to a path atomically; false when the file cannot be written.
bool WriteProfileRecord(const ProfileRecord& record, const std::string& path);
// Writes profile index (0-4) of g_profiles.
bool WriteProfileFile(int index, const std::string& path);

// Parses an opened file into a record. On success the record holds what was
// read; on failure it is left exactly as it was (the parse works on a copy),
// and *error, when given, says at which line and why.
bool ParseProfileFile(CStdioFileEx& file, ProfileRecord& record, ParseError* error = nullptr);
// Reads a file into a record without any recovery: on failure nothing is
// reset and nothing is written (an import tries a file this way first).
bool ReadProfileRecord(ProfileRecord& record, const std::string& path, ParseError* error = nullptr);

// Reads a file into profile index of g_profiles. On failure the profile is
// reset to its defaults and, when mayWrite and the file was not merely
// unreadable (an I/O error leaves it as it is), written to its slot file
// (not to the path read); the result is false.
bool ReadProfileFile(int index, const std::string& path, bool mayWrite = true);

// The slot file of a profile: the ProfileSlot<index>URL setting as a UTF-8 path.
std::string ProfileSlotPath(int index);
// Writes the five profiles to their slot files in index order; true when all were written.
bool SaveAllProfileFiles();
