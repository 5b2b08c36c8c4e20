#include "device/device_core_files.h"

#include "persist/profile_file.h"
#include "persist/settings_file.h"
#include "profile/profile_record.h"

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
