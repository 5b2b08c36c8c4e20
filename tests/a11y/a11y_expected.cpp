// Prints what a screen reader must find in the main window: the window is
// built on the headless host over the given data folder, with the simulated
// mouse `tevlan --device sim` starts with, and every control the window
// describes is printed as "operable<TAB>role<TAB>name<TAB>checked" (UTF-8,
// one a line; operable is 1 for a control a user can focus and use, the last
// column says "checked" or is empty). The AT-SPI test
// checks the running program against this list, so the list comes from the
// window's own table of controls and language, not from a copy.
//
// Exits 1, saying which, when a control Tab can reach has no description or
// no name: such a control could never be found by its name on the bus.
//
//   a11y_expected --data-dir DIR [--screen WIDTHxHEIGHT]
#include <cstdio>
#include <memory>
#include <set>
#include <string>

#include "app/tevlan_dlg.h"
#include "base/text_codec.h"
#include "platform/clock/clock.h"
#include "platform/headless/headless_host.h"
#include "platform/shell/scripted_shell.h"
#include "platform/sim/sim_mouse.h"

int main(int argc, char** argv)
{
    std::string dataDir;
    int width = 1600, height = 1000;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--data-dir")
            dataDir = argv[i + 1];
        else if (a == "--screen" && std::sscanf(argv[i + 1], "%dx%d", &width, &height) == 2)
            continue;
        else {
            std::fprintf(stderr, "a11y_expected: unknown option %s\n", a.c_str());
            return 2;
        }
    }
    if (dataDir.empty()) {
        std::fprintf(stderr, "usage: a11y_expected --data-dir DIR [--screen WxH]\n");
        return 2;
    }

    const Rect screen{0, 0, width, height};
    platform::HeadlessHost host(screen, screen);
    platform::ScriptedShell shell;
    shell.screen = {screen, screen, 96};
    platform::g_windowHost = &host;
    platform::g_shellServices = &shell;

    platform::VirtualClock clock;
    platform::SimMouse sim(clock, true, false);
    sim.SetStatus({0x25, 80, 0});
    MainWindowStartup startup;
    startup.folders.executablePath = std::string(TEVLAN_BINARY_DIR) + "/tevlan";
    startup.dataDir = dataDir;
    auto dlg = std::make_unique<CTevlanDlg>(startup, MainWindowDevices{&sim, &clock, &sim, true});
    if (!dlg->Create(0)) {
        std::fprintf(stderr, "a11y_expected: the main window was not made\n");
        return 1;
    }
    // The start-up apply and the answers it brings, as the running program
    // has them before anyone reads its window.
    for (int round = 0; round < 6; ++round) {
        host.Advance(10);
        if (dlg->Link()) dlg->Link()->WaitForDeviceIo();
        host.ProcessPending();
    }

    const auto nodes = host.AccessibleTree(dlg->GetSafeHwnd());
    std::set<int> described;
    for (const auto& n : nodes) {
        const bool operable = (n.states & platform::accessible_state::kFocusable) &&
                              !(n.states & platform::accessible_state::kDisabled);
        std::printf("%d\t%s\t%s\t%s\n", operable ? 1 : 0, platform::AccessibleRoleWord(n.role),
                    U16ToUtf8(n.name).c_str(), (n.states & platform::accessible_state::kChecked) ? "checked" : "");
        if (operable && !n.name.empty()) described.insert(n.id);
    }
    int faults = 0;
    for (CControlBase* c : dlg->CreationOrder())
        if (c->TakesFocus() && !described.count(static_cast<int>(c->Id()))) {
            std::fprintf(stderr, "a11y_expected: control %u takes the focus but is not described with a name\n",
                         c->Id());
            ++faults;
        }
    dlg.reset();
    platform::g_shellServices = nullptr;
    platform::g_windowHost = nullptr;
    return faults ? 1 : 0;
}
