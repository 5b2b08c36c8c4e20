#pragma once
// What tevlanctl reads from the data folder and the files it is given,
// always without the program's recoveries: a file that is missing gets the
// value the program would start from, a file that is present but not valid
// is reported (exit code 1) and left exactly as it is.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "profile/macro_model.h"
#include "base/parse_error.h"
#include "profile/profile_record.h"

struct CtlFolders {
    std::string programFolder;  // holds config/ with the installed language files
    std::string dataFolder;     // the user's data folder, ending in '/'
};

// Why a text file of the program could not be read, for the message: the
// file's bytes are looked at for the usual mistakes (no byte-order mark,
// CR LF line ends, a wrong first line); otherwise the parser's line and
// reason say what is wrong.
std::string DescribeBadTextFile(const std::string& path, const std::u16string& header,
                                const ParseError& where = {});

struct CtlSettings {
    bool present = false;  // config/config.ini exists (and was valid)
    std::array<SettingPair, 16> table;
    int currentProfile = 0;
    uint16_t sensor = kDefaultSensorId;  // the Sensor setting
    uint16_t preparedFor = kDefaultSensorId;  // ~PreST: the sensor the profiles were prepared for
};

// Reads config/config.ini. kExitOk (also for a missing file: the defaults)
// or kExitBadFile with the message.
int ReadCtlSettings(const CtlFolders& folders, CtlSettings* settings, std::string* message);

// The sensor whose DPI scale a command uses: --sensor, else the data
// folder's Sensor setting, else 0x3325. Reads the settings only when needed.
// Sets g_sensorId and builds the DPI step table.
int ChooseCtlSensor(const CtlFolders& folders, std::optional<uint16_t> option, uint16_t* sensor, std::string* message);

// A profile file into a record, without recovery.
int ReadCtlProfile(const std::string& path, ProfileRecord* record, std::string* message);

// The active profile of the data folder: the CurrentProfile setting's slot
// file. A missing slot file gives the profile's reset values (what the
// program would start from) and a note in *note. Profiles prepared for
// another sensor than the Sensor setting get that sensor's DPI defaults in
// memory, as the program's start-up would give them (and save them; we don't).
int ReadCtlActiveProfile(const CtlFolders& folders, bool sensorFromOption, ProfileRecord* record, int* index,
                         std::string* source, std::string* message, std::string* note);

// The data folder's macro library (a missing one is the program's single
// empty default set).
int ReadCtlMacroLibrary(const CtlFolders& folders, MacroLibrary* library, std::string* message);
// A macro library file the user names.
int ReadCtlMacroFile(const std::string& path, MacroLibrary* library, std::string* message);
