#include "ctl/ctl_data.h"

#include <filesystem>
#include <system_error>

#include "ctl/ctl_options.h"
#include "macros/macro_library_file.h"
#include "persist/profile_file.h"
#include "persist/settings_file.h"
#include "persist/stdio_file_ex.h"
#include "base/text_codec.h"
#include "platform/fs/file_system.h"
#include "settings/dpi_step_table.h"

namespace {

std::string SensorText(uint16_t id)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string s = "0x";
    for (int shift = 12; shift >= 0; shift -= 4)
        s.push_back(hex[(id >> shift) & 0xF]);
    return s;
}

// Anything at the path counts: a FIFO or a folder where a file belongs is
// read and refused with its name, never taken for a missing file.
bool Exists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(path, ec) ||
           (ec && ec != std::errc::no_such_file_or_directory && ec != std::errc::not_a_directory);
}

}  // namespace

std::string DescribeBadTextFile(const std::string& path, const std::u16string& header, const ParseError& where)
{
    std::error_code ec;
    const std::filesystem::file_status st = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(st))
        return path + " does not exist";
    if (std::filesystem::is_directory(st))
        return path + " is a folder, not a file";
    if (!std::filesystem::is_regular_file(st))
        return path + " is not a regular file";
    platform::FileRead read = platform::ReadRegularFile(path);
    if (read.status != platform::ReadStatus::Ok)
        return platform::DescribeFailedRead(path, read);
    const std::string* bytes = &read.bytes;
    if (bytes->empty())
        return path + " is empty";
    if (bytes->size() < 2 || uint8_t((*bytes)[0]) != 0xFF || uint8_t((*bytes)[1]) != 0xFE)
        return path + " is not a UTF-16LE text file with a byte-order mark";
    if (bytes->find(std::string("\r\0\n\0", 4)) != std::string::npos)
        return path + " has CR LF line ends; the program's files end their lines with LF alone";
    CStdioFileEx file;
    file.OpenBytes(*bytes);
    std::u16string first;
    file.ReadString(first);
    if (first != header)
        return path + " does not start with the line " + U16ToUtf8(header);
    if (where.line > 0)
        return path + " is not valid at line " + std::to_string(where.line) + ": " + where.reason;
    return path + " is not valid: a line is missing, out of place or malformed";
}

int ReadCtlSettings(const CtlFolders& folders, CtlSettings* settings, std::string* message)
{
    // Start from the defaults, as the program does, so that entries a short
    // file does not reach keep their usual values.
    const auto saved = g_settings;
    SetSettingsDefaults(folders.dataFolder);
    settings->table = g_settings;
    g_settings = saved;
    settings->present = false;

    const std::string path = folders.dataFolder + "config/config.ini";
    if (!Exists(path))
        return kExitOk;
    CStdioFileEx file;
    ParseError where;
    if (!file.Open(path, CStdioFileEx::modeRead) || !ParseSettingsFile(file, settings->table, &where)) {
        *message = "the settings file " + DescribeBadTextFile(path, u"[Setting]", where) +
                   " (tevlanctl does not repair it; the program replaces it with its defaults)";
        return kExitBadFile;
    }
    settings->present = true;
    const long long current = ParseDecimal(settings->table[kSettingCurrentProfile].value);
    settings->currentProfile = current >= 0 && current < kProfileCount ? int(current) : 0;
    // Read as the program's start-up reads them: a damaged value is no sensor change.
    const StoredSensor stored = ReadStoredSensor(settings->table);
    settings->sensor = stored.sensor;
    settings->preparedFor = stored.preparedFor;
    return kExitOk;
}

int ChooseCtlSensor(const CtlFolders& folders, std::optional<uint16_t> option, uint16_t* sensor, std::string* message)
{
    uint16_t id = kDefaultSensorId;
    if (option) {
        id = *option;
        if (!IsKnownDpiSensor(id)) {
            *message = "--sensor " + SensorText(id) +
                       " is not a sensor tevlanctl knows; known: 0x3104 0x3212 0x3325 0x3327 0x3335 0x3360 0x3370 "
                       "0x3389 0x3395 0x3399";
            return kExitUsage;
        }
    } else {
        CtlSettings settings;
        if (int rc = ReadCtlSettings(folders, &settings, message); rc != kExitOk)
            return rc;
        if (settings.present) {
            id = settings.sensor;
            if (!IsKnownDpiSensor(id)) {
                *message = "the Sensor setting " + SensorText(id) + " of " + folders.dataFolder +
                           "config/config.ini is not a sensor tevlanctl knows; give --sensor 0xNNNN";
                return kExitBadFile;
            }
        }
    }
    g_sensorId = id;
    BuildDpiStepTable(id);
    *sensor = id;
    return kExitOk;
}

int ReadCtlProfile(const std::string& path, ProfileRecord* record, std::string* message)
{
    ParseError where;
    if (!ReadProfileRecord(*record, path, &where)) {
        *message = "the profile file " + DescribeBadTextFile(path, u"[Setting]", where);
        return kExitBadFile;
    }
    return kExitOk;
}

int ReadCtlActiveProfile(const CtlFolders& folders, bool sensorFromOption, ProfileRecord* record, int* index,
                         std::string* source, std::string* message, std::string* note)
{
    CtlSettings settings;
    if (int rc = ReadCtlSettings(folders, &settings, message); rc != kExitOk)
        return rc;
    *index = settings.currentProfile;
    std::string path = TextToPath(settings.table[size_t(kSettingProfileSlot0URL + *index)].value);
    if (std::string own = OwnSlotFileFor(path); !own.empty()) path = std::move(own);
    *source = path;
    if (path.empty() || !Exists(path)) {
        ResetProfileToDefaults(*record, *index);
        *note = "note: the profile file " + (path.empty() ? std::string("of profile ") + std::to_string(*index) : path) +
                " does not exist; applying the reset values of profile " + std::to_string(*index);
        *source = "reset values";
        return kExitOk;
    }
    if (int rc = ReadCtlProfile(path, record, message); rc != kExitOk) {
        *message += " (tevlanctl does not repair it; the program resets it to its defaults)";
        return rc;
    }
    if (settings.present && !sensorFromOption && settings.preparedFor != settings.sensor) {
        ApplySensorDpiDefaults(*record);
        *note = "note: the profiles were prepared for another sensor than " + SensorText(settings.sensor) +
                "; applying that sensor's DPI defaults, as the program will on its next start";
    }
    return kExitOk;
}

int ReadCtlMacroLibrary(const CtlFolders& folders, MacroLibrary* library, std::string* message)
{
    const std::string path = folders.dataFolder + kMacroLibraryRelativePath;
    if (!Exists(path)) {
        library->ClearLibrary();
        library->AppendSet(kDefaultMacroSetName);
        return kExitOk;
    }
    if (int rc = ReadCtlMacroFile(path, library, message); rc != kExitOk) {
        *message += " (tevlanctl does not repair it; the program replaces it with an empty set)";
        return rc;
    }
    return kExitOk;
}

int ReadCtlMacroFile(const std::string& path, MacroLibrary* library, std::string* message)
{
    ParseError where;
    if (!ReadMacroLibraryFile(*library, path, &where)) {
        *message = "the macro library file " + DescribeBadTextFile(path, u"[MacroLibrary]", where);
        return kExitBadFile;
    }
    return kExitOk;
}
