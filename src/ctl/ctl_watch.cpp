#include "ctl/ctl_watch.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <sstream>
#include <thread>

#include "ctl/ctl_device.h"
#include "device/battery_marks.h"
#include "ctl/json_writer.h"
#include "persist/data_folders.h"
#include "persist/settings_file.h"
#include "profile/profile_record.h"
#include "settings/dpi_step_table.h"

namespace {

std::atomic<bool> g_stop{false};
extern "C" void StopWatching(int) { g_stop = true; }

// How often the queued events are looked at: well inside the 50 ms a
// script may expect between the mouse's report and the line.
constexpr auto kPollInterval = std::chrono::milliseconds(5);
// The status (and so the battery level) is asked for as the window does.
constexpr auto kStatusTick = std::chrono::milliseconds(1000);

std::string TimeStamp()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    const int ms = int(std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char s[80];
    std::snprintf(s, sizeof s, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_hour, tm.tm_min, tm.tm_sec, ms);
    return s;
}

const char* ProductName(ProductSlot p) { return p == kProductA ? "cable" : "receiver"; }

struct Event {
    std::string kind;                                // dpi, polling, arrived, removed, battery
    std::vector<std::pair<std::string, long>> numbers;
    std::string product;
};

void Print(std::ostream& out, bool json, const Event& e)
{
    if (json) {
        JsonWriter j;
        j.BeginObject();
        j.MemberInt("version", 1);
        j.MemberUtf8("time", TimeStamp());
        j.MemberUtf8("event", e.kind);
        if (!e.product.empty()) j.MemberUtf8("product", e.product);
        for (const auto& [k, v] : e.numbers) j.MemberInt(k, v);
        j.EndObject();
        out << j.Text() << "\n";
    } else {
        out << TimeStamp() << " " << e.kind;
        if (!e.product.empty()) out << " " << e.product;
        for (const auto& [k, v] : e.numbers) out << " " << k << "=" << v;
        out << "\n";
    }
    out.flush();
}

// --sim-events "dpi@100,unplug@300,plug@500,battery=15@700,stop@900": what
// the simulated mouse does, at milliseconds after the watch began (stop ends
// the watch as an interrupt does).
struct SimStep {
    std::string what;
    int value = 0;
    int atMs = 0;
};
bool ParseSimEvents(const std::string& text, std::vector<SimStep>* steps)
{
    std::istringstream in(text);
    for (std::string item; std::getline(in, item, ',');) {
        const size_t at = item.find('@');
        if (at == std::string::npos) return false;
        SimStep s;
        s.what = item.substr(0, at);
        s.atMs = std::atoi(item.c_str() + at + 1);
        if (const size_t eq = s.what.find('='); eq != std::string::npos) {
            s.value = std::atoi(s.what.c_str() + eq + 1);
            s.what.resize(eq);
        }
        if (s.what != "dpi" && s.what != "unplug" && s.what != "plug" && s.what != "battery" && s.what != "polling" &&
            s.what != "stop")
            return false;
        steps->push_back(s);
    }
    return true;
}

// Plays the --sim-events steps on the simulated mouse, each at its time.
void PlaySimSteps(platform::SimMouse* mouse, const std::vector<SimStep>& steps)
{
    const auto start = std::chrono::steady_clock::now();
    for (const SimStep& s : steps) {
        std::this_thread::sleep_until(start + std::chrono::milliseconds(s.atMs));
        if (g_stop) return;
        const platform::SimProduct p = platform::SimProduct::A;
        if (s.what == "dpi") {
            mouse->WaitForReaders(p, 1, 2000);
            mouse->PressDpiButton(p);
        } else if (s.what == "polling") {
            mouse->WaitForReaders(p, 1, 2000);
            mouse->ChangePolling(p, uint8_t(s.value));
        } else if (s.what == "unplug") {
            mouse->Unplug(p);
        } else if (s.what == "plug") {
            mouse->Plug(p);
        } else if (s.what == "stop") {
            g_stop = true;  // as an interrupt would
        } else if (s.what == "battery") {
            platform::SimStatus st = mouse->Status();
            st.batteryLevel = uint8_t(s.value);
            mouse->SetStatus(st);
        }
    }
}

// Prints the mouse's events until stopped: arrivals and removals, the DPI
// button and polling changes its reports carry, and the battery's marks.
void WatchEvents(CtlDeviceSession& session, const ProfileRecord& profile, std::ostream& out, bool json)
{
    DeviceLink& link = session.Link();
    bool present[2] = {link.Product(kProductA).present, link.Product(kProductB).present};
    int reports = 0;  // on this thread only: Drain runs the link's tasks here
    session.Host().onDeviceReport = [&reports] { ++reports; };
    int polling = profile.PollingRateValue[0];
    CBatteryMarks batteryMarks;
    auto nextTick = std::chrono::steady_clock::now();
    while (!g_stop) {
        session.Host().Drain();
        for (ProductSlot p : {kProductA, kProductB}) {
            const bool now = link.Product(p).present;
            if (now != present[p]) Print(out, json, {now ? "arrived" : "removed", {}, ProductName(p)});
            present[p] = now;
        }
        for (; reports > 0; --reports) {
            // Each report carries the level and the rate: a new rate is a
            // polling change, anything else the DPI button.
            if (profile.PollingRateValue[0] != polling) {
                polling = profile.PollingRateValue[0];
                Print(out, json, {"polling", {{"rateHz", 125 << std::min(polling, 3)}}, {}});
                continue;
            }
            const int level = LevelFromOrdinal(profile.DPIOffOnFlagValue, link.currentDpiOrdinal);
            Print(out, json,
                  {"dpi", {{"level", level + 1}, {"dpi", DpiStepValue(profile.XYSettingValue[size_t(level)])}}, {}});
        }
        // The level counts once the mouse has answered a status request.
        if (link.anyPresent && link.sensorCode != 0) {
            const int level = link.batteryLevel > 100 ? 0 : link.batteryLevel;
            // One line for a fall past several marks at once, naming the lowest.
            if (const int crossed = batteryMarks.Update(level, link.chargeState == 1))
                Print(out, json, {"battery", {{"percent", level}, {"below", crossed}}, {}});
        }
        if (std::chrono::steady_clock::now() >= nextTick) {
            nextTick += kStatusTick;
            if (link.anyPresent) link.QueryDeviceStatus();
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

}  // namespace

int RunCtlWatch(const CtlOptions& o, const CtlFolders& folders, std::ostream& out, std::ostream& err)
{
    std::vector<SimStep> steps;
    if (!o.simEvents.empty() && (o.device != CtlDevice::Sim || !ParseSimEvents(o.simEvents, &steps))) {
        const std::string message =
            "--sim-events takes a list like dpi@100,unplug@300,plug@500,battery=15@700 and needs --device sim";
        err << "tevlanctl: " << message << "\n";
        if (o.json) out << JsonErrorText(message, kExitUsage) << "\n";
        return kExitUsage;
    }
    // The DPI values come from the active profile, as the window shows them.
    std::string message, source, note;
    int index = 0;
    ProfileRecord record;
    if (ReadCtlActiveProfile(folders, false, &record, &index, &source, &message, &note) != kExitOk) {
        ResetProfileToDefaults(record, 0);
        index = 0;
    }
    g_profiles[size_t(index)] = record;
    BuildDpiStepTable(g_sensorId);

    CtlDeviceSession session(o, err);
    session.Host().profileIndex = index;
    // Arrival and removal notifications on, as the window starts its link.
    session.Link().ResetLinkState();
    if (int rc = session.Connect(&message); rc != kExitOk && rc != kExitNoMouse) {
        err << "tevlanctl: " << message << "\n";
        if (o.json) out << JsonErrorText(message, rc) << "\n";
        return rc;
    }

    std::signal(SIGINT, StopWatching);
    std::signal(SIGTERM, StopWatching);

    std::thread sim;
    if (platform::SimMouse* mouse = session.Sim(); mouse && !steps.empty())
        sim = std::thread([mouse, steps] { PlaySimSteps(mouse, steps); });
    WatchEvents(session, g_profiles[size_t(index)], out, o.json);
    if (sim.joinable()) sim.join();
    return kExitOk;
}
