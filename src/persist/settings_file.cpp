#include "persist/settings_file.h"

#include "persist/data_folders.h"
#include "persist/profile_file.h"
#include "persist/stdio_file_ex.h"
#include "base/text_codec.h"
#include "persist/unreadable_files.h"
#include "platform/fs/file_system.h"

std::array<SettingPair, kSettingsCount> g_settings;

namespace {

const char* const kSettingKeys[kSettingsCount] = {
    "Sensor",           "PreST",            "Mac_ID",           "DataChange",
    "CurrentProfile",   "ProfileShowCount", "ProfileShowList0", "ProfileShowList1",
    "ProfileShowList2", "ProfileShowList3", "ProfileShowList4", "ProfileSlot0URL",
    "ProfileSlot1URL",  "ProfileSlot2URL",  "ProfileSlot3URL",  "ProfileSlot4URL",
};

int ParseInt(const std::u16string& text)
{
    long long v = ParseDecimal(text);
    if (v > 0x7FFFFFFF) return 0x7FFFFFFF;
    if (v < -0x7FFFFFFF) return -0x7FFFFFFF;
    return int(v);
}

void SetValue(int index, std::u16string value)
{
    g_settings[size_t(index)].value = std::move(value);
}

bool IsHexDigit(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

// Reads profile `index` from its slot file. A slot path that names no
// readable profile file (a cut path, a folder, a misspelt name) falls back to
// the default slot file in the data folder, read when it is sound and reset
// only when it is not: the program creates no file outside the data folder
// on its own. A slot file that is there but could not be read (an I/O error)
// keeps its slot: the profile holds its defaults in memory only, and
// *unreadable is set. True when the slot setting was changed to the default.
bool LoadSlotProfile(int index, bool mayWrite, bool* unreadable)
{
    std::string path = ProfileSlotPath(index);
    const std::string fallback = DefaultProfileSlotPath(g_userDataFolder, index);
    bool moved = false;
    if (std::string own = OwnSlotFileFor(path); !own.empty()) {
        SetValue(kSettingProfileSlot0URL + index, PathToText(own));
        path = std::move(own);
        moved = true;
    }
    if (path != fallback && !path.empty()) {
        ParseError error;
        if (ReadProfileRecord(g_profiles[size_t(index)], path, &error)) return moved;
        if (error.unreadable) {
            ResetProfileToDefaults(g_profiles[size_t(index)], index);
            *unreadable = true;
            return moved;
        }
    }
    if (path != fallback) SetValue(kSettingProfileSlot0URL + index, PathToText(fallback));
    ReadProfileFile(index, fallback, mayWrite);
    if (IsUnreadableFile(fallback)) *unreadable = true;
    return moved || path != fallback;
}

}  // namespace

std::string SettingsFilePath()
{
    return UserDataPath("config/config.ini");
}

std::u16string FormatSensorValue(uint16_t value)
{
    static constexpr char16_t digits[] = u"0123456789ABCDEF";
    std::u16string hex;
    do {
        hex.insert(hex.begin(), digits[value & 0xF]);
        value = uint16_t(value >> 4);
    } while (value != 0);
    while (hex.size() < 4) hex.insert(hex.begin(), u' ');
    return u"0x" + hex;
}

std::optional<uint16_t> ParseSensorValue(const std::u16string& text)
{
    size_t i = 0;
    if (text.size() >= 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) i = 2;
    // "0x%4X": exactly four characters, the digits right-aligned after spaces.
    if (text.size() - i != 4) return std::nullopt;
    while (i < text.size() && text[i] == u' ') ++i;
    if (i == text.size()) return std::nullopt;
    for (size_t k = i; k < text.size(); ++k)
        if (!IsHexDigit(text[k])) return std::nullopt;
    return ParseHex16(text);
}

StoredSensor ReadStoredSensor(const std::array<SettingPair, kSettingsCount>& table)
{
    const std::optional<uint16_t> sensor = ParseSensorValue(table[kSettingSensor].value);
    const std::optional<uint16_t> prest = ParseSensorValue(table[kSettingPreST].value);
    if (sensor && prest) return {*sensor, uint16_t(~*prest), false};
    // A damaged value is no news about the sensor: it is taken from the
    // other one, so the profiles are kept as they are.
    if (sensor) return {*sensor, *sensor, true};
    if (prest) return {uint16_t(~*prest), uint16_t(~*prest), true};
    return {kDefaultSensorId, kDefaultSensorId, true};
}

std::string DefaultProfileSlotPath(const std::string& dataFolder, int index)
{
    return dataFolder + "config/default" + std::to_string(index) + ".psf";
}

std::string OwnSlotFileFor(const std::string& path)
{
    const size_t cut = path.find_last_of("/\\");
    if (g_userDataFolder.empty() || cut == std::string::npos || cut + 1 == path.size()) return {};
    const std::string folder = path.substr(0, cut);
    const size_t up = folder.find_last_of("/\\");
    if ((up == std::string::npos ? folder : folder.substr(up + 1)) != "config") return {};
    const std::string own = UserDataPath("config/" + path.substr(cut + 1));
    if (own == path || !platform::FileExists(own)) return {};
    const bool gone = !platform::PathExists(path);
    const bool otherDataFolder = path[cut] == '/' && platform::FileExists(folder + "/config.ini");
    return gone || otherDataFolder ? own : std::string();
}

uint16_t ParseHex16(const std::u16string& text)
{
    size_t i = 0;
    while (i < text.size() && text[i] == u' ') ++i;
    if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        i += 2;
        while (i < text.size() && text[i] == u' ') ++i;
    }
    uint32_t v = 0;
    for (; i < text.size(); ++i) {
        char16_t c = text[i];
        int d = c >= u'0' && c <= u'9' ? c - u'0'
              : c >= u'A' && c <= u'F' ? c - u'A' + 10
              : c >= u'a' && c <= u'f' ? c - u'a' + 10
                                       : -1;
        if (d < 0) break;
        v = ((v << 4) | uint32_t(d)) & 0xFFFFFu;  // keep it small; the result is cut to 16 bits
    }
    return uint16_t(v);
}

void SetSettingsDefaults(const std::string& dataFolder)
{
    const char* const values[kSettingsCount - 5] = {"0x3325", "0xCCDA", "0xFFFFFFFF", "0x1234", "0", "3",
                                                   "0",      "1",      "2",          "3",      "4"};
    for (int i = 0; i < kSettingsCount; ++i) {
        g_settings[size_t(i)].key = Ascii(kSettingKeys[i]);
        if (i < kSettingProfileSlot0URL)
            g_settings[size_t(i)].value = Ascii(values[i]);
        else
            g_settings[size_t(i)].value = PathToText(DefaultProfileSlotPath(dataFolder, i - kSettingProfileSlot0URL));
    }
}

std::u16string FormatSettingsFile(const std::array<SettingPair, kSettingsCount>& table)
{
    std::u16string out = u"[Setting]\n";
    for (const auto& e : table) out += e.key + u"=" + e.value + u"\n";
    return out;
}

bool WriteSettingsFile()
{
    CStdioFileEx file;
    if (!file.Open(SettingsFilePath(), CStdioFileEx::modeWrite)) return false;
    file.WriteString(FormatSettingsFile(g_settings));
    return file.Close();
}

bool ParseSettingsFile(CStdioFileEx& file, std::array<SettingPair, kSettingsCount>& table, ParseError* error)
{
    std::u16string line;
    if (!file.ReadString(line)) return RejectLine(error, 1, "the file is empty");
    if (line != u"[Setting]") return RejectLine(error, 1, "the first line is not [Setting]");
    auto scratch = table;
    int i = 0;
    while (file.ReadString(line)) {
        const int at = i + 2;
        if (i >= kSettingsCount) return RejectLine(error, at, "more than 16 settings");
        size_t p = line.find(u'=');
        if (p == std::u16string::npos) return RejectLine(error, at, "no '=' in the line");
        if (p < 1) return RejectLine(error, at, "no name before the '='");
        if (p + 1 >= line.size()) return RejectLine(error, at, "no value after the '='");
        scratch[size_t(i)].key = line.substr(0, p);
        scratch[size_t(i)].value = line.substr(p + 1);
        ++i;
    }
    table = std::move(scratch);
    return true;
}

bool SaveCurrentProfileSetting()
{
    SetValue(kSettingCurrentProfile, DecimalText(g_workingProfile));
    return WriteSettingsFile();
}

bool LoadSettingsAndProfiles(bool mayWrite)
{
    // Only the window's start-up removes what killed saves left, holding the
    // single-instance lock: no save of the program's can be under way, so a
    // temporary file in config/ is what a killed save left behind. (A
    // tevlanctl writing there at this moment names its file only in its last
    // instant, and a write that loses that name to us is simply done again.)
    // Without a data folder the paths are relative, and nothing is removed.
    if (mayWrite && !g_userDataFolder.empty()) platform::RemoveStaleTemporaryFiles(UserDataPath("config"));

    // The table starts at the defaults, so that entries a short file does not
    // reach keep usable slot paths instead of empty ones (an empty slot path
    // would silently drop every later save of that profile).
    SetSettingsDefaults(g_userDataFolder);

    bool read = false;
    {
        CStdioFileEx file;
        if (file.Open(SettingsFilePath(), CStdioFileEx::modeRead))
            read = ParseSettingsFile(file, g_settings);
        else if (file.ReadFailed())
            mayWrite = false;  // settings that could not be read may name other slot files: write nothing
    }
    // Only the settings are replaced. Each slot file is still read below, and
    // only one that cannot be read is reset and rewritten: a damaged
    // config.ini must not wipe five good profiles.
    if (!read) SetSettingsDefaults(g_userDataFolder);
    bool repaired = !read;

    bool unreadable = false;
    for (int i = 0; i < kProfileCount; ++i) repaired = LoadSlotProfile(i, mayWrite, &unreadable) || repaired;

    // The window shows the stored current profile; setting it here keeps the
    // save below from writing profile 0 over the user's choice.
    g_workingProfile = GetCurrentProfile();

    const StoredSensor stored = ReadStoredSensor(g_settings);
    g_sensorId = stored.sensor;
    if (stored.repaired) {
        SetSensorSetting();
        SetPreviousSensorSetting(uint16_t(~stored.preparedFor));
        repaired = true;
    }
    if (stored.preparedFor != g_sensorId) {
        // With a profile that could not be read the change waits for a
        // start that can read them all; meanwhile memory shows it.
        if (mayWrite && !unreadable) {
            PrepareProfilesForSensor();
        } else {
            for (auto& record : g_profiles) ApplySensorDpiDefaults(record);
        }
    } else if (repaired && mayWrite) {
        WriteSettingsFile();
    }
    return read;
}

void PrepareProfilesForSensor()
{
    // The settings file is the record of what is done. Until all five
    // profiles are saved it names the new sensor with PreST still for the
    // one the profiles were prepared for, so a start after a kill anywhere
    // in between finds the two apart and makes the change again.
    SetSensorSetting();
    SaveCurrentProfileSetting();
    for (auto& record : g_profiles) ApplySensorDpiDefaults(record);
    SaveAllProfileFiles();
    SetPreviousSensorSetting(uint16_t(~g_sensorId));
    SaveCurrentProfileSetting();
}

std::u16string GetSetting(int index, int which)
{
    if (index < 0 || index >= kSettingsCount) return {};
    return which == 0 ? g_settings[size_t(index)].key : g_settings[size_t(index)].value;
}

int GetCurrentProfile()
{
    int v = ParseInt(g_settings[kSettingCurrentProfile].value);
    return v >= 0 && v < kProfileCount ? v : 0;
}

void SetCurrentProfile(int index)
{
    SetValue(kSettingCurrentProfile, DecimalText(index));
}

int GetProfileShowCount()
{
    int v = ParseInt(g_settings[kSettingProfileShowCount].value);
    if (v < 1) return 1;
    return v > kProfileCount ? kProfileCount : v;
}

void SetProfileShowCount(int count)
{
    SetValue(kSettingProfileShowCount, DecimalText(count));
}

int GetProfileShowList(int position)
{
    if (position < 0 || position >= kProfileCount) return 0;
    int v = ParseInt(g_settings[size_t(kSettingProfileShowList0 + position)].value);
    return v >= 0 && v < kProfileCount ? v : position;
}

void SetProfileShowList(int position, int index)
{
    if (position < 0 || position >= kProfileCount) return;
    SetValue(kSettingProfileShowList0 + position, DecimalText(index));
}

void SetSensorSetting()
{
    SetValue(kSettingSensor, FormatSensorValue(g_sensorId));
}

void SetPreviousSensorSetting(uint16_t value)
{
    SetValue(kSettingPreST, FormatSensorValue(value));
}

uint16_t GetSensorSetting()
{
    return ParseHex16(g_settings[kSettingSensor].value);
}

uint16_t GetPreviousSensorSetting()
{
    return ParseHex16(g_settings[kSettingPreST].value);
}
