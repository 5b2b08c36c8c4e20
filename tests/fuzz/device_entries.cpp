// Fuzz entries for what the mouse sends: status answers and input reports,
// through the device link's own handling, on a link with no device behind it.
#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/device_link.h"
#include "device/input_listener.h"
#include "fuzz_entries.h"
#include "base/text_codec.h"
#include "platform/clock/clock.h"
#include "profile/profile_record.h"
#include "settings/dpi_step_table.h"

namespace {

// The main window as far as the link needs one; posted tasks are run by the
// entry itself, which plays the window thread.
class QuietHost : public IDeviceHost {
public:
    void PostToWindowThread(std::function<void()> task) override
    {
        std::lock_guard lock(mu_);
        posted_.push_back(std::move(task));
    }
    void RunPosted()
    {
        for (;;) {
            std::function<void()> task;
            {
                std::lock_guard lock(mu_);
                if (posted_.empty()) return;
                task = std::move(posted_.front());
                posted_.pop_front();
            }
            task();
        }
    }
    void StartTimer(int, int) override {}
    void StopTimer(int) override {}
    void RefreshFromProfile() override {}
    void ShowProgress(int) override {}
    void ShowOsd(const std::u16string& t, const std::u16string& v, const std::u16string& r) override
    {
        osdTitle = t;
        osdValue = v;
        osdRate = r;
        ++osdCount;
    }
    void UpdateBatteryDisplay(int level, int charge) override
    {
        batteryLevel = level;
        chargeState = charge;
    }
    void OnDpiStepTableChanged() override {}
    void EndProgram() override {}
    int CurrentProfileIndex() override { return 0; }
    void StoreSensorSettings(uint16_t, uint16_t) override {}
    void SaveCurrentProfileSetting() override {}
    void SaveAllProfileFiles() override {}
    void WriteProfileSlotFile(int) override {}

    std::u16string osdTitle, osdValue, osdRate;
    int osdCount = 0;
    int batteryLevel = -1, chargeState = -1;

private:
    std::mutex mu_;
    std::deque<std::function<void()>> posted_;
};

// No mouse at all: the link's scans find nothing and its writes go nowhere.
class NoDevices : public platform::IHidBackend {
public:
    std::vector<platform::HidInterfaceInfo> Enumerate() override { return {}; }
    std::unique_ptr<platform::IHidDevice> Open(const std::string&, std::string* error) override
    {
        if (error) *error = "no device";
        return nullptr;
    }
    void SetChangeCallback(platform::HidChangeCallback) override {}
};

// An input interface that delivers the given reports, one per read, then is gone.
class ScriptedInput : public platform::IHidDevice {
public:
    explicit ScriptedInput(std::vector<std::vector<uint8_t>> reports) : reports_(std::move(reports)) {}
    bool SetFeature(const uint8_t*, size_t) override { return false; }
    bool GetFeature(uint8_t*, size_t) override { return false; }
    platform::HidReadResult Read(uint8_t* buf, size_t len, size_t* got) override
    {
        if (next_ >= reports_.size()) return platform::HidReadResult::Gone;
        const std::vector<uint8_t>& r = reports_[next_++];
        // A read takes at most the buffer; the rest of a longer report is lost, as with hidraw.
        const size_t n = std::min(len, r.size());
        std::copy(r.begin(), r.begin() + n, buf);
        *got = n;
        return platform::HidReadResult::Report;
    }
    void CancelRead() override {}
    std::string LastError() const override { return {}; }

private:
    std::vector<std::vector<uint8_t>> reports_;
    size_t next_ = 0;
};

void ResetProfiles()
{
    g_sensorId = kDefaultSensorId;
    BuildDpiStepTable(kDefaultSensorId);
    for (int i = 0; i < kProfileCount; ++i) ResetProfileToDefaults(g_profiles[size_t(i)], i);
}

struct LinkUnderTest {
    platform::VirtualClock clock;
    NoDevices backend;
    QuietHost host;
    MacroLibrary library;
    DeviceLink link{backend, clock, host, library};
};

}  // namespace

// The input is a run of 33-byte answers as the status query reads them
// (a short last one keeps the 0xFF the read buffer is filled with).
extern "C" int FuzzStatusAnswer(const uint8_t* data, size_t size)
{
    ResetProfiles();
    LinkUnderTest t;
    for (size_t at = 0; at < size; at += kFeatureReportLength) {
        FeatureReport answer;
        answer.fill(0xFF);
        std::copy(data + at, data + std::min(size, at + kFeatureReportLength), answer.begin());
        const uint16_t sensorBefore = g_sensorId;
        // The I/O thread hands on only answers that carry data.
        if (StatusAnswerHasData(answer)) t.link.HandleStatusAnswer(answer);
        t.link.OnStatusTick();
        t.host.RunPosted();

        FUZZ_CHECK(t.host.batteryLevel >= 0 && t.host.batteryLevel <= 100);
        FUZZ_CHECK(t.host.chargeState >= 0 && t.host.chargeState <= 2);
        // The sensor only ever becomes one whose DPI scale the program has,
        // and the scale in use is that sensor's.
        FUZZ_CHECK(g_sensorId == sensorBefore || IsKnownDpiSensor(g_sensorId));
        FUZZ_CHECK(g_dpiStepTable.steps == MakeDpiStepTable(g_sensorId).steps);
        const ProfileRecord& active = g_profiles[0];
        const int level = LevelFromOrdinal(active.DPIOffOnFlagValue, active.CurrentDPILevelValue);
        FUZZ_CHECK(level >= 0 && level < kDpiLevelCount);
        FUZZ_CHECK(DpiStepValue(active.XYSettingValue[size_t(level)]) > 0);
    }
    return 0;
}

// The input: byte 0 is the active profile's DPI enable mask, then reports,
// each one length byte followed by that many bytes (fewer at the end).
extern "C" int FuzzInputReport(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    ResetProfiles();
    g_profiles[0].DPIOffOnFlagValue = data[0];
    std::vector<std::vector<uint8_t>> reports;
    for (size_t at = 1; at < size;) {
        const size_t n = std::min<size_t>(data[at], size - at - 1);
        reports.emplace_back(data + at + 1, data + at + 1 + n);
        at += 1 + n;
    }

    LinkUnderTest t;
    // The listener thread reads them all; what it hands on is collected and
    // then given to the link on this thread, as the window thread would.
    std::vector<std::pair<uint8_t, uint8_t>> changes;
    bool ended = false;
    {
        InputListener listener;
        listener.Start(
            std::make_unique<ScriptedInput>(reports), kFeatureReportLength,
            [&changes](uint8_t interval, uint8_t ordinal) { changes.emplace_back(interval, ordinal); },
            [&ended] { ended = true; });
        listener.Join();
    }
    FUZZ_CHECK(ended);
    // Only whole "settings changed" reports count: 05 06, with bytes 3 and 4 read.
    size_t expected = 0;
    for (const auto& r : reports) {
        const size_t n = std::min<size_t>(r.size(), kFeatureReportLength);
        if (n >= 5 && r[0] == kInputReportId && r[1] == kInputSettingsChanged) {
            FUZZ_CHECK(expected < changes.size());
            if (expected < changes.size()) {
                FUZZ_CHECK(changes[expected].first == r[3] && changes[expected].second == r[4]);
            }
            ++expected;
        }
    }
    FUZZ_CHECK(expected == changes.size());

    for (const auto& [interval, ordinal] : changes) {
        const uint8_t levelBefore = g_profiles[0].CurrentDPILevelValue;
        const int osdBefore = t.host.osdCount;
        t.link.OnDeviceChangeReport(interval, ordinal);
        t.host.RunPosted();
        const ProfileRecord& p = g_profiles[0];
        FUZZ_CHECK(ordinal >= 1 && ordinal <= kDpiLevelCount ? p.CurrentDPILevelValue == ordinal - 1
                                                             : p.CurrentDPILevelValue == levelBefore);
        FUZZ_CHECK(p.PollingRateValue[0] <= 3);
        FUZZ_CHECK(p.PollingRateName == PollingRateReportName(p.PollingRateValue[0]));
        // The on-screen display names a level the mouse has and a real DPI value.
        FUZZ_CHECK(t.host.osdCount == osdBefore + 1);
        const std::u16string& title = t.host.osdTitle;
        FUZZ_CHECK(title.size() == 5 && title.substr(0, 4) == u"DPI-" && title[4] >= u'1' && title[4] <= u'8');
        FUZZ_CHECK(!t.host.osdValue.empty() && t.host.osdValue != u"0");
        FUZZ_CHECK(t.host.osdRate == PollingRateReportName(p.PollingRateValue[0]));
    }
    return 0;
}
