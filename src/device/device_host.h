#pragma once
// What the device link needs from the main window. The window implements it;
// tests fake it. Every call except PostToWindowThread is made on the window
// thread.
#include <cstdint>
#include <functional>
#include <string>

// Timer ids of the main window that the device link starts and stops.
constexpr int kTimerApply = 30;   // deferred apply, 20 ms
constexpr int kTimerSave = 70;    // the save after a change
constexpr int kTimerStatus = 110; // status tick, 1,000 ms

constexpr int kApplyDelayMs = 20;
// A change is saved once nothing has changed for kSaveQuietMs (so that a
// burst of clicks is one save), but never later than kSaveLatestMs after the
// first change not yet saved, and never before the reports that carry it
// have gone out. Both together keep a change on disk within a second.
constexpr int kSaveQuietMs = 250;
constexpr int kSaveLatestMs = 700;
constexpr int kStatusTickMs = 1000;
constexpr int kProgressTextNumber = 146;  // language text of the progress display
// A transfer shorter than this shows no progress: it is over before a
// display could be read.
constexpr int kProgressAboveMs = 300;

class IDeviceHost {
public:
    virtual ~IDeviceHost() = default;

    // Thread-safe: runs `task` on the window thread soon, in posting order.
    // The listener threads, the I/O thread and the hot-plug callback reach
    // the window only through this. It is called until the DeviceLink is
    // destroyed (its I/O thread finishes then); tasks that run after that do
    // nothing, and a host that is shutting down may drop them. It must not
    // wait for the window thread: the link joins its threads from there.
    virtual void PostToWindowThread(std::function<void()> task) = 0;

    // Starting a running timer restarts it. The save timer (kTimerSave) may
    // be brought forward by its host to keep its latest time.
    virtual void StartTimer(int id, int periodMs) = 0;
    virtual void StopTimer(int id) = 0;

    // Profile -> every control.
    virtual void RefreshFromProfile() = 0;
    // An apply queued a transfer long enough to be worth showing (a macro
    // upload, a full apply). The display must not take input or the focus;
    // it ends when the link's writes have gone out.
    virtual void ShowProgress(int textNumber) = 0;
    // Every write queued so far has gone out (or failed). Saves that wait
    // for the mouse to have a change are due now.
    virtual void OnDeviceWritesDone() {}
    // The on-screen display after a change made on the mouse itself.
    virtual void ShowOsd(const std::u16string& title, const std::u16string& value, const std::u16string& rate) = 0;
    // The battery icon and text (level already limited to 0..100).
    virtual void UpdateBatteryDisplay(int batteryLevel, int chargeState) = 0;
    // The DPI step table was rebuilt for a new sensor: lift-off section
    // header, the eight level bars' step count, and a full repaint.
    virtual void OnDpiStepTableChanged() = 0;
    // The mouse's last interface went away: hide the main window, close the
    // open dialogs and end the program.
    virtual void EndProgram() = 0;

    // The settings store (the settings file and the profile files).
    // The active profile: the CurrentProfile setting, 0..4.
    virtual int CurrentProfileIndex() = 0;
    // The "Sensor" and "PreST" settings.
    virtual void StoreSensorSettings(uint16_t sensorId, uint16_t preSensorCheck) = 0;
    // Writes the settings file.
    virtual void SaveCurrentProfileSetting() = 0;
    virtual void SaveAllProfileFiles() = 0;
    // Writes one profile record to the file its slot setting names.
    virtual void WriteProfileSlotFile(int index) = 0;
};
