// How quickly the button menus answer, on the program's real window system
// (run it under Xvfb or on a desktop):
//   - from the click on a button's combo to the function menu's window
//     being exposed on screen (goal: within 16 ms);
//   - from the click on a menu row to the button's key report leaving the
//     device I/O thread (goal: within 25 ms, 20 of them the deliberate
//     batching delay before an apply).
// The simulated mouse runs on the real clock; every feature write is timed
// as it reaches it.
//
//   bench_menu_latency [rounds] [button 0-7]
//   bench_menu_latency --hold-open SECONDS
//       no measuring: opens the fourth combo's menu and its multimedia
//       sub-menu and keeps them open, to look at them where no input can be
//       scripted (a headless Wayland compositor and its screenshooter)
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/tevlan_dlg.h"
#include "bench_support.h"
#include "buttons/ui/button_list_ids.h"
#include "device/device_reports.h"
#include "platform/clock/clock.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/qt_window_host.h"
#include "platform/shell/qt_shell_services.h"
#include "platform/sim/sim_mouse.h"
#include "profile/profile_record.h"
#include "ui/combo_button.h"
#include "ui/item_popup.h"

namespace {

using Clock = std::chrono::steady_clock;

// The simulated mouse, with the time of the last key-assignment report.
class TimedBackend final : public platform::IHidBackend {
public:
    explicit TimedBackend(platform::SimMouse& sim) : sim_(sim) {}
    std::vector<platform::HidInterfaceInfo> Enumerate() override { return sim_.Enumerate(); }
    std::unique_ptr<platform::IHidDevice> Open(const std::string& path, std::string* error) override
    {
        auto dev = sim_.Open(path, error);
        return dev ? std::make_unique<Timed>(std::move(dev), *this) : nullptr;
    }
    void SetChangeCallback(platform::HidChangeCallback cb) override { sim_.SetChangeCallback(std::move(cb)); }

    // The apply's first key report, and the report of the button measured.
    std::atomic<int64_t> firstKeyReportNs{0};
    std::atomic<int64_t> buttonReportNs{0};
    int deviceIndex = 0;

private:
    struct Timed final : platform::IHidDevice {
        Timed(std::unique_ptr<platform::IHidDevice> d, TimedBackend& o) : dev(std::move(d)), owner(o) {}
        bool SetFeature(const uint8_t* data, size_t len) override
        {
            const bool ok = dev->SetFeature(data, len);
            if (len > 7 && data[2] == kCmdKeyAssignment) {
                const int64_t now = Clock::now().time_since_epoch().count();
                if (!owner.firstKeyReportNs) owner.firstKeyReportNs = now;
                if (data[7] == owner.deviceIndex) owner.buttonReportNs = now;
            }
            return ok;
        }
        bool GetFeature(uint8_t* data, size_t len) override { return dev->GetFeature(data, len); }
        platform::HidReadResult Read(uint8_t* b, size_t l, size_t* g) override { return dev->Read(b, l, g); }
        void CancelRead() override { dev->CancelRead(); }
        std::string LastError() const override { return dev->LastError(); }
        std::unique_ptr<platform::IHidDevice> dev;
        TimedBackend& owner;
    };
    platform::SimMouse& sim_;
};

// Notes when any window but the main one is exposed.
class ExposeWatch final : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        // Exposure is told to the native window, not to the widget in it.
        if (e->type() == QEvent::Expose && o != main && o->isWindowType() && waiting) {
            waiting = false;
            exposedAt = Clock::now();
        }
        return false;
    }
    QObject* main = nullptr;
    bool waiting = false;
    Clock::time_point exposedAt;
};

void Pump(const std::function<bool()>& done, int limitMs = 2000)
{
    const auto until = Clock::now() + std::chrono::milliseconds(limitMs);
    while (!done() && Clock::now() < until) QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
}

}  // namespace

int main(int argc, char** argv)
{
    const bool hold = argc > 2 && std::string(argv[1]) == "--hold-open";
    const int holdSeconds = hold ? std::max(1, std::atoi(argv[2])) : 0;
    const int rounds = hold ? 0 : argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const int button = hold ? 3 : argc > 2 ? std::clamp(std::atoi(argv[2]), 0, 7) : 0;
    platform::QtApplication application(argc, argv);
    platform::QtShellServices shell;
    platform::g_shellServices = &shell;
    platform::SteadyClock clock;
    platform::SimMouse sim(clock, true, false);
    TimedBackend backend(sim);
    backend.deviceIndex = button == 3 ? 4 : button == 4 ? 3 : button;

    const std::string data =
        (std::filesystem::temp_directory_path() / ("tevlan-bench-menu-" + std::to_string(::getpid()))).string();
    MainWindowStartup startup;
    startup.folders.executablePath = std::string(TEVLAN_BINARY_DIR) + "/tevlan";
    startup.dataDir = data;
    std::vector<double> mapped, written, ownReport;
    {
        CTevlanDlg dlg(startup, {&backend, &clock, &sim, true});
        if (!dlg.Create(0)) return 1;
        platform::IWindowHost& host = application.Host();
        const HWND main = dlg.GetSafeHwnd();
        Pump([] { return false; }, 500);  // start-up apply and first paint

        // The first button may only leave the left-button function while
        // another button has it.
        g_profiles[size_t(dlg.CurrentProfileIndex())].buttons[button == 1 ? 2 : 1].code = {0x10, 0x01, 0};
        dlg.ScheduleApply(PendingGroup::Keys);
        Pump([] { return false; }, 1000);

        ExposeWatch watch;
        watch.main = application.QtHost().WidgetOf(main)->windowHandle();
        qApp->installEventFilter(&watch);
        auto click = [&](HWND w, Point p) {
            host.SendMessage(w, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
            host.SendMessage(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
            host.SendMessage(w, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        };
        if (hold) {
            const auto* combo = dlg.Find<CComboButton>(UINT(2013 + button));
            if (!combo) return 1;
            const Rect r = combo->GetRect();
            click(main, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
            Pump([] { return false; }, 300);
            auto* menu = dynamic_cast<CItemPopup*>(dlg.Popup(button_list::kSlotFunctionMenu));
            if (!menu) return 3;
            const Rect row = menu->Items()[10].rect;
            host.SendMessage(menu->GetSafeHwnd(), WM_MOUSEMOVE, 0,
                             MAKELPARAM((row.left + row.right) / 2, (row.top + row.bottom) / 2));
            for (int s = 0; s < holdSeconds; ++s) {
                const auto* sub = dlg.Popup(button_list::kSlotSubMenu);
                const Rect m = host.GetWindowRect(menu->GetSafeHwnd());
                const Rect w = host.GetWindowRect(main);
                std::printf("main %d,%d  menu %d,%d %dx%d  sub-menu %s", w.left, w.top, m.left, m.top, m.Width(),
                            m.Height(), sub ? "open" : "closed");
                if (sub) {
                    const Rect sr = host.GetWindowRect(sub->GetSafeHwnd());
                    std::printf(" %d,%d %dx%d", sr.left, sr.top, sr.Width(), sr.Height());
                }
                std::printf("\n");
                std::fflush(stdout);
                Pump([] { return false; }, 1000);
            }
        }
        for (int round = 0; round < rounds; ++round) {
            const auto* combo = dlg.Find<CComboButton>(UINT(2013 + button));
            if (!combo) return 1;
            const Rect r = combo->GetRect();
            watch.waiting = true;
            const auto t0 = Clock::now();
            click(main, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
            Pump([&] { return !watch.waiting; });
            if (watch.waiting) return 2;
            mapped.push_back(std::chrono::duration<double, std::milli>(watch.exposedAt - t0).count());

            auto* menu = dynamic_cast<CItemPopup*>(dlg.Popup(button_list::kSlotFunctionMenu));
            if (!menu) return 3;
            // Middle and back in turn, so every round changes the button.
            const Rect item = menu->Items()[round % 2 ? 2 : 4].rect;
            backend.firstKeyReportNs = 0;
            backend.buttonReportNs = 0;
            const auto t1 = Clock::now();
            click(menu->GetSafeHwnd(), {(item.left + item.right) / 2, (item.top + item.bottom) / 2});
            Pump([&] { return backend.buttonReportNs != 0; });
            if (!backend.buttonReportNs) return 4;
            const int64_t start = t1.time_since_epoch().count();
            written.push_back((backend.firstKeyReportNs - start) / 1e6);
            ownReport.push_back((backend.buttonReportNs - start) / 1e6);
            Pump([] { return false; }, 600);  // let the paced apply finish
        }
        qApp->removeEventFilter(&watch);
        dlg.DestroyWindow();
    }
    std::filesystem::remove_all(data);
    platform::g_shellServices = nullptr;
    if (hold) return 0;
    std::printf("click -> menu exposed: median %.1f ms, worst %.1f ms over %d rounds (goal < 16 ms)\n", bench::Median(mapped),
                *std::max_element(mapped.begin(), mapped.end()), rounds);
    std::printf("choice -> key report written: median %.1f ms, worst %.1f ms (goal < 25 ms, 20 ms of it the batching delay)\n",
                bench::Median(written), *std::max_element(written.begin(), written.end()));
    // The mouse takes one button per report with 60 ms after each index,
    // written or not: button n's report follows n paced ones.
    std::printf("choice -> the button's own report written: median %.1f ms, worst %.1f ms\n", bench::Median(ownReport),
                *std::max_element(ownReport.begin(), ownReport.end()));
    platform::g_shellServices = nullptr;
    return 0;
}
