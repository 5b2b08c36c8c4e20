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
#include <string>

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
// the settings file was read without falling back.
bool LoadSettingsAndProfiles();
bool WriteSettingsFile();
// CurrentProfile = g_workingProfile, then WriteSettingsFile.
bool SaveCurrentProfileSetting();
// The keys and defaults; slot paths under dataFolder (which ends in '/').
void SetSettingsDefaults(const std::string& dataFolder);

// Parses the settings file text; false on a malformed file. Entries after
// the last line keep what they held.
bool ParseSettingsFile(class CStdioFileEx& file, std::array<SettingPair, kSettingsCount>& table);
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

// After g_sensorId changed: PreST = ~g_sensorId, save the settings, give all
// five profiles the sensor's DPI defaults and save them.
void PrepareProfilesForSensor();

// "0x%4X" and its reading: base 16 with or without "0x" (spaces after the
// prefix, which the padding puts there, are skipped).
std::u16string FormatSensorValue(uint16_t value);
uint16_t ParseHex16(const std::u16string& text);
