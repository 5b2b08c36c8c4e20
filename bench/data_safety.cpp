// The program's own save and start-up code, driven by kill_harness.py:
//
//   bench_data_safety prepare DIR       a data folder as a user has it: the
//                                       settings for sensor 0x3325 and five
//                                       profiles with their own DPI steps
//   bench_data_safety save-loop DIR     saves all six files over and over,
//                                       each round with other contents, in
//                                       the window's order, until killed
//   bench_data_safety check DIR         after a kill: counts files that do
//                                       not read (torn) and temporary files
//                                       (stray), then starts up as the
//                                       program does and counts again
//   bench_data_safety check-sensor DIR  after a kill during a sensor change:
//                                       starts up (no mouse) and says whether
//                                       settings and profiles agree
//
// check prints "torn-before N stray-before N torn-after N stray-after N";
// check-sensor prints "state old|new|mixed" and the pre-start state. Exit
// code 0 when nothing is wrong after the start.
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <string>

#include "persist/data_folders.h"
#include "persist/language_file.h"
#include "persist/profile_file.h"
#include "persist/settings_file.h"
#include "persist/stdio_file_ex.h"
#include "base/text_codec.h"
#include "platform/fs/file_system.h"
#include "profile/profile_record.h"

namespace {

constexpr uint16_t kOldSensor = 0x3325;
constexpr uint16_t kNewSensor = 0x3360;

std::string Config(const std::string& name) { return UserDataPath("config/" + name); }

std::string SlotName(int i) { return "default" + std::to_string(i) + ".psf"; }

// The DPI steps a prepared profile holds: its own for the old sensor.
std::array<uint16_t, 8> OwnSteps(int i)
{
    return {uint16_t(10 + i), 20, 30, 40, 50, 60, 70, 80};
}

std::array<uint16_t, 8> NewSensorSteps()
{
    ProfileRecord r;
    const uint16_t saved = g_sensorId;
    g_sensorId = kNewSensor;
    ApplySensorDpiDefaults(r);
    g_sensorId = saved;
    return r.XYSettingValue;
}

int Prepare()
{
    g_sensorId = kOldSensor;
    SetSettingsDefaults(g_userDataFolder);
    for (int i = 0; i < kProfileCount; ++i) {
        ResetProfileToDefaults(g_profiles[size_t(i)], i);
        g_profiles[size_t(i)].XYSettingValue = OwnSteps(i);
    }
    return SaveAllProfileFiles() && WriteSettingsFile() ? 0 : 1;
}

int SaveLoop()
{
    if (!LoadSettingsAndProfiles()) return 1;
    for (unsigned round = 0;; ++round) {
        for (int i = 0; i < kProfileCount; ++i) {
            ProfileRecord& r = g_profiles[size_t(i)];
            r.settings[0].value = u"Round " + DecimalText(round) + u" profile " + DecimalText(i);
            r.buttons[0].macro.actions[round % kMacroActionSlots] = MacroAction{uint8_t(round), 1, 2, 3};
        }
        g_workingProfile = int(round % kProfileCount);
        SaveAllProfileFiles();
        SaveCurrentProfileSetting();
    }
}

bool SettingsRead()
{
    CStdioFileEx file;
    auto table = g_settings;
    return file.Open(Config("config.ini"), CStdioFileEx::modeRead) && ParseSettingsFile(file, table);
}

int Torn()
{
    int torn = SettingsRead() ? 0 : 1;
    for (int i = 0; i < kProfileCount; ++i) {
        ProfileRecord r;
        if (!ReadProfileRecord(r, Config(SlotName(i)))) ++torn;
    }
    return torn;
}

int Stray()
{
    int stray = 0;
    if (DIR* dir = opendir(UserDataPath("config").c_str())) {
        while (const dirent* e = readdir(dir))
            if (platform::IsTemporaryFileName(e->d_name)) ++stray;
        closedir(dir);
    }
    return stray;
}

int Check()
{
    const int tornBefore = Torn(), strayBefore = Stray();
    LoadSettingsAndProfiles();
    const int tornAfter = Torn(), strayAfter = Stray();
    std::printf("torn-before %d stray-before %d torn-after %d stray-after %d\n", tornBefore, strayBefore, tornAfter,
                strayAfter);
    // A torn file before the start would be hidden by the start's recovery:
    // it counts as a fault too.
    return tornBefore + tornAfter + strayAfter == 0 ? 0 : 1;
}

// What the files say: "old" (nothing of the change), "new" (all of it),
// "partial" (a change under way that a start must finish) or "mixed".
std::string State()
{
    SetSettingsDefaults(g_userDataFolder);
    {
        CStdioFileEx file;
        if (!file.Open(Config("config.ini"), CStdioFileEx::modeRead) || !ParseSettingsFile(file, g_settings))
            return "mixed";
    }
    const StoredSensor s = ReadStoredSensor(g_settings);
    int own = 0, changed = 0;
    for (int i = 0; i < kProfileCount; ++i) {
        ProfileRecord r;
        if (!ReadProfileRecord(r, Config(SlotName(i)))) return "mixed";
        own += r.XYSettingValue == OwnSteps(i);
        changed += r.XYSettingValue == NewSensorSteps();
    }
    if (s.sensor == kOldSensor && s.preparedFor == kOldSensor && own == kProfileCount) return "old";
    if (s.sensor == kNewSensor && s.preparedFor == kNewSensor && changed == kProfileCount) return "new";
    if (s.sensor == kNewSensor && s.preparedFor == kOldSensor) return "partial";
    return "mixed";
}

int CheckSensor()
{
    const std::string before = State();
    LoadSettingsAndProfiles();
    const std::string after = State();
    std::printf("before %s after %s\n", before.c_str(), after.c_str());
    return after == "old" || after == "new" ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_data_safety prepare|save-loop|check|check-sensor DIR\n");
        return 2;
    }
    const std::string mode = argv[1];
    SetDataFolders(TEVLAN_BINARY_DIR, argv[2]);
    LoadLanguage(1.0);
    if (mode == "prepare") return Prepare();
    if (mode == "save-loop") return SaveLoop();
    if (mode == "check") return Check();
    if (mode == "check-sensor") return CheckSensor();
    return 2;
}
