#include "device/device_core_files.h"

#include "persist/profile_file.h"
#include "persist/settings_file.h"
#include "persist/stdio_file_ex.h"
#include "platform/fs/file_system.h"
#include "profile/profile_record.h"

namespace {

bool FileDiffers(const std::string& path, const std::u16string& text)
{
    const std::optional<std::string> held = platform::ReadWholeFile(path);
    return !held || *held != EncodeUtf16LeFile(text);
}

}  // namespace

int DeviceCoreFiles::CurrentProfileIndex() { return GetCurrentProfile(); }

void DeviceCoreFiles::StoreSensorSettings(uint16_t sensorId, uint16_t preSensorCheck)
{
    // The settings table takes the sensor from the global; keep the two in step.
    g_sensorId = sensorId;
    SetSensorSetting();
    SetPreviousSensorSetting(preSensorCheck);
}

void DeviceCoreFiles::SaveCurrentProfileSetting() { ::SaveCurrentProfileSetting(); }

void DeviceCoreFiles::SaveAllProfileFiles() { ::SaveAllProfileFiles(); }

void DeviceCoreFiles::WriteProfileSlotFile(int index) { WriteProfileFile(index, ProfileSlotPath(index)); }

bool DeviceCoreFiles::SaveChangedFiles()
{
    bool all = true;
    for (int i = 0; i < kProfileCount; ++i) {
        const std::string path = ProfileSlotPath(i);
        if (FileDiffers(path, FormatProfileFile(g_profiles[size_t(i)])))
            all = WriteProfileFile(i, path) && all;
    }
    // The settings file last: it is the record the next start trusts.
    SetCurrentProfile(g_workingProfile);
    if (FileDiffers(SettingsFilePath(), FormatSettingsFile(g_settings)))
        all = WriteSettingsFile() && all;
    return all;
}
