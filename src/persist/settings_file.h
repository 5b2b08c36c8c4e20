#pragma once
// The application settings, config/config.ini in the data folder: a header
// line "[Setting]" then 16 lines key=value in this fixed order, identified by
// position only (keys are written back as read):
//
//   0 Sensor            "0x%4X"  the mouse's sensor identifier
//   1 PreST             "0x%4X"  16-bit complement of the sensor the profiles were prepared for
//   2 Mac_ID, 3 DataChange       kept and written back
//   4 CurrentProfile    "%d"     the active profile 0..4
//   5 ProfileShowCount  "%d"     profile slots shown
//   6-10 ProfileShowList0..4     profile index shown at each slot position
//   11-15 ProfileSlot0URL..4URL  full path of each profile's slot file
//
// Loading this file is also what loads the five profiles.
// Owner: the window thread.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "base/parse_error.h"
#include "profile/profile_record.h"

constexpr int kSettingsCount = 16;

enum SettingsIndex {
    kSettingSensor = 0,
    kSettingPreST = 1,
    kSettingMacId = 2,
    kSettingDataChange = 3,
    kSettingCurrentProfile = 4,
    kSettingProfileShowCount = 5,
    kSettingProfileShowList0 = 6,
    kSettingProfileSlot0URL = 11,
};

extern std::array<SettingPair, kSettingsCount> g_settings;

// The settings file's path in the data folder.
std::string SettingsFilePath();

// Reads the settings (a missing or malformed file is replaced by the
// defaults), then the five slot files, then reconciles the sensor. True when
// the settings file was read without falling back. First it removes what
// killed saves left in config/: only the window's start-up calls it, holding
// the single-instance lock.
//
// Nothing that is damaged costs a good file: a slot path that names no
// readable profile file is set back to the default slot file in the data
// folder (read when sound, reset when not); a Sensor or PreST value that is
// not well formed is taken from the other one and never counts as a sensor
// change. What was repaired is written back to the settings file.
//
// A file that is there but could not be read is no damaged file: it is
// left as it is (its profile holds the defaults in memory) and listed by
// UnreadableFiles(); with an unreadable settings file nothing is written.
// With mayWrite false nothing is written or removed at all: memory holds
// what the window's start-up would give (tevlanctl's read-only commands).
bool LoadSettingsAndProfiles(bool mayWrite = true);
bool WriteSettingsFile();
// CurrentProfile = g_workingProfile, then WriteSettingsFile.
bool SaveCurrentProfileSetting();
// The keys and defaults; slot paths under dataFolder (which ends in '/').
void SetSettingsDefaults(const std::string& dataFolder);

// Parses the settings file text; false on a malformed file, with the line
// and the reason in *error when given. Entries after the last line keep what
// they held.
bool ParseSettingsFile(class CStdioFileEx& file, std::array<SettingPair, kSettingsCount>& table,
                       ParseError* error = nullptr);
std::u16string FormatSettingsFile(const std::array<SettingPair, kSettingsCount>& table);

// Key (which == 0) or value (which == 1); empty for an index above 15.
std::u16string GetSetting(int index, int which);

// The active profile; a value that is not a profile index 0..4 gives 0.
int GetCurrentProfile();
void SetCurrentProfile(int index);
// The shown slot count, limited to 1..5.
int GetProfileShowCount();
void SetProfileShowCount(int count);
// The profile shown at a position 0..4; a stored value that is not a
// profile index gives the position itself (the default order).
int GetProfileShowList(int position);
void SetProfileShowList(int position, int index);

// Sensor = g_sensorId; PreST = value. Both "0x%4X"; the table only.
void SetSensorSetting();
void SetPreviousSensorSetting(uint16_t value);
// The stored Sensor and PreST, read as base-16 16-bit values.
uint16_t GetSensorSetting();
uint16_t GetPreviousSensorSetting();

// After g_sensorId changed: give all five profiles the sensor's DPI defaults.
// The settings file is written first with Sensor = g_sensorId and PreST as it
// was, then the five profiles, then the settings with PreST = ~g_sensorId:
// a change cut short anywhere is made again at the next start.
void PrepareProfilesForSensor();

// "0x%4X" and its reading: base 16 with or without "0x" (spaces after the
// prefix, which the padding puts there, are skipped).
std::u16string FormatSensorValue(uint16_t value);
uint16_t ParseHex16(const std::u16string& text);
// A sensor value as the program writes it: "0x" (or nothing) and exactly four
// characters, hexadecimal digits right-aligned after spaces. A cut or stray
// character gives nothing.
std::optional<uint16_t> ParseSensorValue(const std::u16string& text);

// What Sensor and PreST say, as start-up reads them.
struct StoredSensor {
    uint16_t sensor;       // the sensor to use
    uint16_t preparedFor;  // the sensor the profiles were prepared for (~PreST)
    bool repaired;         // a value was not well formed and was taken from the other
};
// Both well formed: as stored. One damaged: both from the other (the
// profiles count as prepared for it). Both damaged: the default sensor.
StoredSensor ReadStoredSensor(const std::array<SettingPair, kSettingsCount>& table);

// A copied or restored data folder still names the original's slot files. A
// slot file in the config/ folder of another data folder (one with its own
// config.ini), or one that is gone (a backup from another machine, with '\'
// for a separator too), is this data folder's file of the same name when
// this folder holds one: the copy edits its own profiles, never the
// original's. Empty when the slot path stays as it is. The start-up load
// applies it and saves the slot paths it changed.
std::string OwnSlotFileFor(const std::string& slotPath);

// The default slot file of a profile: dataFolder + "config/default<index>.psf".
std::string DefaultProfileSlotPath(const std::string& dataFolder, int index);
