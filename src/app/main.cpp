// The tevlan program: picks the window system, the shell and the mouse
// (the real one through hidraw, or the simulated one), then hands over to
// CTevlanApp. Everything else is in tevlan_app. It writes with stdio, not
// iostreams: the streams' start-up alone brought in a few hundred kB of the
// C++ library's locale code that the window never uses.
#include <chrono>
#include <ctime>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/app_options.h"
#include "app/tevlan_app.h"
#include "persist/data_folders.h"
#include "platform/clock/clock.h"
#include "platform/cmdline/hid_backend_stack.h"
#include "app/ctl_requests.h"
#include "platform/instance/instance_notifier_qt.h"
#include "platform/instance/session_end_qt.h"
#include "platform/instance/single_instance.h"
#include "platform/keyboard/qt_key_source.h"
#include "platform/qt/qt_application.h"
#include "platform/shell/qt_shell_services.h"
#include "platform/shell/session_seat.h"

namespace {

int64_t WallClockMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// The window's own icon (the desktop shows it in the task bar and the
// window switcher); the same picture as the tray's, at twice its size.
std::string WindowIconPath()
{
    return ProgramFolderFor(SystemFolderEnvironment().executablePath) + "skins/res/128@2x.png";
}

// Answers a bad command line, --help and --version, which need no window:
// the exit code, or -1 when the window should start.
int AnswerWithoutWindow(const AppParseResult& parsed)
{
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "tevlan: %s\n", parsed.error.c_str());
        return 2;
    }
    if (parsed.options.help) {
        std::fputs(AppHelpText().c_str(), stdout);
        return 0;
    }
    if (parsed.options.version) {
        std::fputs(AppVersionText().c_str(), stdout);
        return 0;
    }
    return -1;
}

// The desktop's services are reachable program-wide while this lives, and
// never after: nothing may reach them once main's own copy is gone.
class InstalledShellServices {
public:
    explicit InstalledShellServices(platform::IShellServices& shell) { platform::g_shellServices = &shell; }
    ~InstalledShellServices() { platform::g_shellServices = nullptr; }
    InstalledShellServices(const InstalledShellServices&) = delete;
    InstalledShellServices& operator=(const InstalledShellServices&) = delete;
};

AppEnvironment MakeEnvironment(const AppOptions& o, const platform::HidBackendStack& backend,
                               platform::SteadyClock& clock)
{
    AppEnvironment env;
    env.startup.folders = SystemFolderEnvironment();
    env.startup.dataDir = o.dataDir;
    env.startup.startHidden = o.hidden;
    env.startup.sessionPlace = [] { return platform::ClassifySession(platform::CurrentSessionFacts()); };
    env.devices = {backend.top, &clock, backend.sim.get(), backend.sim != nullptr};
    return env;
}

// The start-up benchmark's end mark: when the first frame was painted, in
// wall-clock and processor time.
void PrintFirstFrameTimes()
{
    std::printf("first-frame-wall-ms %lld\n", static_cast<long long>(WallClockMs()));
    std::printf("first-frame-cpu-ms %.1f\n", 1000.0 * std::clock() / CLOCKS_PER_SEC);
    std::fflush(stdout);
}

// Runs the main window until it closes, reachable meanwhile by later starts,
// by tevlanctl and by the end of the session.
void RunMainWindow(AppEnvironment env, platform::SingleInstance& instance, platform::IWindowHost& host,
                   bool benchFirstFrame)
{
    CTevlanDlg* mainWindow = nullptr;
    // A later start's activation arrives on this (the window) thread.
    platform::InstanceNotifierQt notifier(instance, [&] {
        if (mainWindow && mainWindow->GetSafeHwnd())
            host.SendMessage(mainWindow->GetSafeHwnd(), kMsgSecondInstance, 0, 0);
    });
    // tevlanctl's requests, answered on this thread too.
    instance.SetRequestHandler([&](std::string_view request) { return HandleCtlRequest(mainWindow, request); });
    // Logout, shutdown or Ctrl+C close the window as its close button does,
    // so that a pending save is written on the way out.
    platform::SessionEndNotifierQt sessionEnd([&](int) {
        if (!mainWindow || !mainWindow->GetSafeHwnd()) return false;
        return host.PostMessage(mainWindow->GetSafeHwnd(), WM_CLOSE, 0, 0);
    });
    env.onMainWindow = [&](CTevlanDlg* w) {
        mainWindow = w;
        if (w && benchFirstFrame) {
            w->onFirstPaint = [&host] {
                PrintFirstFrameTimes();
                host.PostQuitMessage(0);
            };
        }
    };
    CTevlanApp app(std::move(env));
    app.InitInstance();
}

// Everything after the lock: the toolkit's desktop parts, the mouse, then the
// window.
int RunProgram(const AppOptions& o, platform::SingleInstance& instance, platform::QtApplication& application)
{
    application.SetIcon(WindowIconPath());
    // The key dialogs and the macro recorder hear keys system-wide on X11.
    platform::InstallDesktopKeySources();
    platform::QtShellServices shell;
    shell.notificationIcon = WindowIconPath();
    InstalledShellServices installed(shell);

    platform::SteadyClock clock;
    platform::HidBackendStack backend = platform::MakeHidBackend(o, clock, [](const std::string& line) {
        std::fprintf(stderr, "%s\n", line.c_str());
    });
    if (!backend.top) {
        std::fprintf(stderr, "tevlan: %s\n", backend.error.c_str());
        return 1;
    }
    RunMainWindow(MakeEnvironment(o, backend, clock), instance, application.Host(), o.benchFirstFrame);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const AppParseResult parsed = ParseAppArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (const int code = AnswerWithoutWindow(parsed); code >= 0) return code;

    // The lock comes first: a second start must show nothing at all. A
    // window without its lock could run beside another on the same mouse
    // and files, so a folder that cannot hold the lock safely ends the start.
    platform::SingleInstance instance;
    const platform::InstanceRole role = instance.Acquire();
    if (role == platform::InstanceRole::Second) return 0;
    if (role == platform::InstanceRole::Failed) {
        std::fprintf(stderr, "tevlan: not started: %s\n", instance.LastError().c_str());
        return 1;
    }

    platform::QtApplication application(argc, argv);
    return RunProgram(parsed.options, instance, application);
}
