#pragma once
// The main window on the headless host, the scripted shell and the
// simulated mouse, with its data folder in a fresh temporary folder.
//
// Program timers run on the host's virtual clock. The mouse's listener and
// I/O threads are real threads, so what they post is waited for (a yield
// loop with a generous real-time limit, never a timed sleep) before a test
// looks at the result.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include <unistd.h>

#include "app/tevlan_dlg.h"
#include "platform/clock/clock.h"
#include "platform/headless/headless_host.h"
#include "platform/shell/scripted_shell.h"
#include "platform/sim/sim_mouse.h"
#include "profile/profile_record.h"
#include "ui/passive_controls.h"
#include "ui/ui_scale.h"

struct Products {
    bool a = true;
    bool b = false;
};

class MainWindowTest : public ::testing::Test {
protected:
    explicit MainWindowTest(Rect screen = {0, 0, 1920, 1080}, Rect work = {0, 0, 1920, 1040})
        : host(screen, work)
    {
        shell.screen = {screen, work, 96};
    }

    void SetUp() override
    {
        platform::g_windowHost = &host;
        platform::g_shellServices = &shell;
        static int counter = 0;
        dataDir = (std::filesystem::temp_directory_path() /
                   ("tevlan-app-test-" + std::to_string(::getpid()) + "-" + std::to_string(++counter)))
                      .string() + "/";
        std::filesystem::remove_all(dataDir);
    }

    void TearDown() override
    {
        dlg.reset();
        sim.reset();
        platform::g_shellServices = nullptr;
        platform::g_windowHost = nullptr;
        g_uiScale = 1.0f;
        std::filesystem::remove_all(dataDir);
    }

    MainWindowStartup Startup() const
    {
        MainWindowStartup s;
        s.folders.executablePath = std::string(TEVLAN_BINARY_DIR) + "/tevlan";
        s.dataDir = dataDir;
        return s;
    }

    // Creates the simulated mouse and the main window (modeless, as the
    // tests drive it), then lets the start-up apply run.
    void Start(Products products = {}, platform::SimStatus status = {0x25, 80, 0})
    {
        sim = std::make_unique<platform::SimMouse>(deviceClock, products.a, products.b);
        sim->SetStatus(status);
        MainWindowDevices devices{sim.get(), &deviceClock, sim.get()};
        dlg = std::make_unique<CTevlanDlg>(Startup(), devices);
        ASSERT_TRUE(dlg->Create(0));
        AddBatteryControls();
        Settle(30);
    }

    // The gauge and its text as the layout places them, for when the layout
    // has not made them (the controller only needs them to exist).
    void AddBatteryControls()
    {
        if (!dlg->FindControl(main_ids::kBattery))
            dlg->AddControl(1, std::make_unique<CBattery>(dlg->GetSafeHwnd(), main_ids::kBattery, Rect{80, 433, 110, 494}));
        if (!dlg->FindControl(3405))
            dlg->AddControl(1, std::make_unique<CStaticText>(dlg->GetSafeHwnd(), 3405, Rect{115, 480, 155, 498},
                                                             RGB(180, 180, 180), DT_LEFT));
    }

    // Advances virtual time, then lets the mouse's threads finish what that
    // started and delivers what they posted back.
    void Settle(int ms = 0)
    {
        if (ms > 0) host.Advance(ms);
        for (int round = 0; round < 3; ++round) {
            if (dlg && dlg->Link()) dlg->Link()->WaitForDeviceIo();
            host.ProcessPending();
        }
    }

    // Delivers posted messages until pred holds; false after 10 s of real time.
    bool WaitFor(const std::function<bool()>& pred)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            host.ProcessPending();
            if (pred()) return true;
            std::this_thread::yield();
        }
        return false;
    }

    // The simulated mouse's DPI button, once its listener really listens.
    void PressDpiButton()
    {
        ASSERT_TRUE(sim->WaitForReaders(platform::SimProduct::A));
        ASSERT_TRUE(sim->PressDpiButton(platform::SimProduct::A));
    }

    std::string ReadFile(const std::string& relative) const
    {
        std::ifstream in(dataDir + relative, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    bool Exists(const std::string& relative) const { return std::filesystem::exists(dataDir + relative); }

    // UTF-16LE bytes of an ASCII text, to look for it in a file.
    static std::string Utf16(const std::string& ascii)
    {
        std::string out;
        for (char c : ascii) {
            out.push_back(c);
            out.push_back('\0');
        }
        return out;
    }

    int ModalRuns(const std::u16string& kind) const
    {
        int n = 0;
        for (const auto& r : host.ModalLog())
            if (r.kind == kind) ++n;
        return n;
    }

    HWND Main() const { return dlg->GetSafeHwnd(); }
    ProfileRecord& Active() { return g_profiles[dlg->CurrentProfileIndex()]; }

    platform::HeadlessHost host;
    platform::ScriptedShell shell;
    platform::VirtualClock deviceClock;
    std::unique_ptr<platform::SimMouse> sim;
    std::unique_ptr<CTevlanDlg> dlg;
    std::string dataDir;
};
