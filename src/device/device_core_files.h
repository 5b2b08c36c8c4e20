#pragma once
// The settings-store half of IDeviceHost done with the program's own files
// (config/config.ini and the five slot files), so that a host only forwards
// its five store calls here.
#include <cstdint>

struct DeviceCoreFiles {
    // The CurrentProfile setting.
    static int CurrentProfileIndex();
    // "Sensor" from g_sensorId (which must already hold sensorId) and "PreST".
    static void StoreSensorSettings(uint16_t sensorId, uint16_t preSensorCheck);
    static void SaveCurrentProfileSetting();
    static void SaveAllProfileFiles();
    // The five slot files, then the settings file (with CurrentProfile =
    // g_workingProfile), each written only when its bytes differ from what
    // the file holds: a save after a change that was undone, or after an
    // apply that changed nothing, touches no file. True when every file
    // that differed was written.
    static bool SaveChangedFiles();
    // Profile index to the file its ProfileSlot<index>URL setting names.
    static void WriteProfileSlotFile(int index);
};
