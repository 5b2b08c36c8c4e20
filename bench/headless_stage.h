#pragma once
// The main window's surroundings for a benchmark on the headless host: the
// scripted shell, the simulated mouse in real time and a data folder of its
// own.
#include <string>

#include "app/tevlan_dlg.h"
#include "platform/clock/clock.h"
#include "platform/headless/headless_host.h"
#include "platform/shell/scripted_shell.h"
#include "platform/sim/sim_mouse.h"

namespace bench {

// The data folder is named after the tag and the process, and is removed at
// the end.
struct HeadlessStage {
    explicit HeadlessStage(const std::string& tag);
    ~HeadlessStage();
    platform::HeadlessHost host;
    platform::ScriptedShell shell;
    platform::SteadyClock clock;
    platform::SimMouse sim{clock, true, false};
    MainWindowStartup startup;
    std::string dataDir;
};

}  // namespace bench
