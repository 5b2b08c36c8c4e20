#pragma once
// A fake main window and a backend that puts extra interfaces (or a gate that
// holds every feature write) in front of the simulated mouse.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>

#include "device/device_core_files.h"
#include "device/device_link.h"
#include "base/ui_text.h"
#include "platform/sim/sim_mouse.h"
#include "profile/profile_record.h"
#include "settings/dpi_step_table.h"

class FakeHost : public IDeviceHost {
public:
    void PostToWindowThread(std::function<void()> task) override
    {
        std::lock_guard lock(mu_);
        posted_.push_back(std::move(task));
        cv_.notify_all();
    }
    // Runs what was posted, on the test thread, which plays the window thread.
    int Pump()
    {
        int n = 0;
        for (;;) {
            std::function<void()> task;
            {
                std::lock_guard lock(mu_);
                if (posted_.empty())
                    return n;
                task = std::move(posted_.front());
                posted_.pop_front();
            }
            task();
            ++n;
        }
    }
    // Runs at most n of the posted tasks, oldest first (a window thread that
    // falls behind a burst of notices); returns how many ran.
    int PumpSome(int n)
    {
        int ran = 0;
        for (; ran < n; ++ran) {
            std::function<void()> task;
            {
                std::lock_guard lock(mu_);
                if (posted_.empty())
                    break;
                task = std::move(posted_.front());
                posted_.pop_front();
            }
            task();
        }
        return ran;
    }
    // Waits (on a condition variable, with a generous limit) until something was posted.
    bool WaitForPosted()
    {
        std::unique_lock lock(mu_);
        return cv_.wait_for(lock, std::chrono::seconds(10), [this] { return !posted_.empty(); });
    }

    void StartTimer(int id, int periodMs) override { timers[id] = periodMs; }
    void StopTimer(int id) override { timers.erase(id); }
    void RefreshFromProfile() override { ++refreshes; }
    void ShowProgress(int text) override { progress.push_back(text); }
    void ShowOsd(const std::u16string& t, const std::u16string& v, const std::u16string& r) override { osd.push_back({t, v, r}); }
    void UpdateBatteryDisplay(int level, int charge) override { battery = {level, charge}; }
    void OnDpiStepTableChanged() override { ++tableChanges; }
    void EndProgram() override { ++endings; }
    // The store calls are counted, and go to the program's files with realFiles.
    int CurrentProfileIndex() override { return realFiles ? DeviceCoreFiles::CurrentProfileIndex() : currentProfile; }
    void StoreSensorSettings(uint16_t id, uint16_t pre) override
    {
        sensorSettings.push_back({id, pre});
        if (realFiles) DeviceCoreFiles::StoreSensorSettings(id, pre);
    }
    void SaveCurrentProfileSetting() override { if (++settingsSaves && realFiles) DeviceCoreFiles::SaveCurrentProfileSetting(); }
    void SaveAllProfileFiles() override { if (++allProfileSaves && realFiles) DeviceCoreFiles::SaveAllProfileFiles(); }
    void WriteProfileSlotFile(int index) override
    {
        slotWrites.push_back(index);
        if (realFiles) DeviceCoreFiles::WriteProfileSlotFile(index);
    }

    bool realFiles = false;
    std::map<int, int> timers;
    int refreshes = 0, tableChanges = 0, endings = 0, settingsSaves = 0, allProfileSaves = 0;
    int currentProfile = 0;
    std::vector<int> progress, slotWrites;
    std::vector<std::array<std::u16string, 3>> osd;
    std::pair<int, int> battery{-1, -1};
    std::vector<std::pair<uint16_t, uint16_t>> sensorSettings;

private:
    std::mutex mu_;
    std::condition_variable cv_;
    std::deque<std::function<void()>> posted_;
};

// The simulated mouse with extra interfaces before and after its own, and an
// optional gate that holds every feature write until it is opened.
class ScriptedBackend : public platform::IHidBackend {
public:
    explicit ScriptedBackend(platform::SimMouse& sim) : sim_(sim) {}

    std::vector<platform::HidInterfaceInfo> before, after;

    std::vector<platform::HidInterfaceInfo> Enumerate() override
    {
        std::vector<platform::HidInterfaceInfo> all = before;
        for (auto& i : sim_.Enumerate())
            all.push_back(i);
        all.insert(all.end(), after.begin(), after.end());
        return all;
    }
    std::unique_ptr<platform::IHidDevice> Open(const std::string& path, std::string* error) override
    {
        for (const auto* list : {&before, &after})
            for (const auto& i : *list)
                if (i.path == path)
                    return std::make_unique<Extra>();
        auto dev = sim_.Open(path, error);
        if (dev && gated_)
            return std::make_unique<Gated>(std::move(dev), *this);
        return dev;
    }
    void SetChangeCallback(platform::HidChangeCallback cb) override { sim_.SetChangeCallback(std::move(cb)); }

    void CloseGate() { std::lock_guard lock(mu_); gated_ = true; open_ = false; }
    void OpenGate() { std::lock_guard lock(mu_); open_ = true; cv_.notify_all(); }

private:
    // An interface of some other device: accepts writes, reports nothing until cancelled.
    struct Extra : platform::IHidDevice {
        bool SetFeature(const uint8_t*, size_t) override { return true; }
        bool GetFeature(uint8_t*, size_t) override { return false; }
        platform::HidReadResult Read(uint8_t*, size_t, size_t*) override
        {
            std::unique_lock lock(mu);
            cv.wait(lock, [this] { return cancelled; });
            return platform::HidReadResult::Cancelled;
        }
        void CancelRead() override { std::lock_guard lock(mu); cancelled = true; cv.notify_all(); }
        std::string LastError() const override { return {}; }
        std::mutex mu;
        std::condition_variable cv;
        bool cancelled = false;
    };
    struct Gated : platform::IHidDevice {
        Gated(std::unique_ptr<platform::IHidDevice> d, ScriptedBackend& b) : dev(std::move(d)), owner(b) {}
        bool SetFeature(const uint8_t* data, size_t len) override
        {
            { std::unique_lock lock(owner.mu_); owner.cv_.wait(lock, [this] { return owner.open_; }); }
            return dev->SetFeature(data, len);
        }
        bool GetFeature(uint8_t* data, size_t len) override { return dev->GetFeature(data, len); }
        platform::HidReadResult Read(uint8_t* b, size_t l, size_t* g) override { return dev->Read(b, l, g); }
        void CancelRead() override { dev->CancelRead(); }
        std::string LastError() const override { return dev->LastError(); }
        std::unique_ptr<platform::IHidDevice> dev;
        ScriptedBackend& owner;
    };

    platform::SimMouse& sim_;
    std::mutex mu_;
    std::condition_variable cv_;
    bool gated_ = false;
    bool open_ = true;
};

inline platform::HidInterfaceInfo Iface(std::string path, uint16_t product, uint16_t input, uint16_t feature)
{
    platform::HidInterfaceInfo i;
    i.path = std::move(path);
    i.vendorId = kMouseVendorId;
    i.productId = product;
    i.inputReportLength = input;
    i.featureReportLength = feature;
    return i;
}

// Five reset profiles on sensor 0x3325, profile 0 active.
inline void ResetAllProfiles()
{
    g_sensorId = 0x3325;
    BuildDpiStepTable(0x3325);
    for (int i = 0; i < kProfileCount; ++i)
        ResetProfileToDefaults(g_profiles[i], i);
}

// The device link on a simulated mouse with a virtual clock.
class LinkTest : public ::testing::Test {
protected:
    explicit LinkTest(bool a = true, bool b = false) : sim(clock, a, b), backend(sim) { ResetAllProfiles(); }

    DeviceLink& Link()
    {
        if (!link) {
            link = std::make_unique<DeviceLink>(backend, clock, host, library);
            link->ResetLinkState();
        }
        return *link;
    }
    // Scan, prime and let the scan's quiet apply run, as start-up does.
    void StartUp()
    {
        Link().PrimeSentImages();
        link->ScanDevices();
        link->ApplyToDevice();
        Settle();
        sim.ClearTrace();
    }
    // Lets the I/O thread finish and the window thread handle what came back.
    void Settle()
    {
        link->WaitForDeviceIo();
        host.Pump();
    }
    // Every group pending, as the apply button does, and the apply run to its end.
    void ApplyAll()
    {
        for (PendingGroup g : {PendingGroup::Keys, PendingGroup::DpiAndMore, PendingGroup::Power, PendingGroup::Wake})
            link->Schedule(g);
        link->ApplyToDevice();
        Settle();
    }
    std::vector<std::vector<uint8_t>> Writes() const { return sim.AcceptedWrites(); }
    ProfileRecord& Active() { return g_profiles[host.currentProfile]; }

    platform::VirtualClock clock;
    platform::SimMouse sim;
    ScriptedBackend backend;
    FakeHost host;
    MacroLibrary library;
    std::unique_ptr<DeviceLink> link;
};
