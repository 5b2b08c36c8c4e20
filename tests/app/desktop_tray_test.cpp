// The main window as a desktop citizen: the battery in the tray icon and
// the desktop notifications it sends (seen by a stand-in notification
// service on a private session bus), and the tray's autostart and language
// items.
#include "app_test_support.h"

#include <signal.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>

#include "app/main_ids.h"
#include "persist/data_folders.h"
#include "persist/language_file.h"
#include "persist/language_list.h"
#include "base/ui_text.h"
#include "platform/shell/qt_desktop_notifier.h"

namespace {

using namespace main_ids;

// A session bus of our own: dbus-daemon started for the test, its address
// in DBUS_SESSION_BUS_ADDRESS before anything connects.
class PrivateBus {
public:
    PrivateBus()
    {
        int out[2];
        if (::pipe(out) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], 1);
            ::close(out[0]);
            ::execlp("dbus-daemon", "dbus-daemon", "--session", "--nofork", "--print-address=1", nullptr);
            ::_exit(127);
        }
        ::close(out[1]);
        FILE* f = ::fdopen(out[0], "r");
        char line[512] = {};
        if (f && std::fgets(line, sizeof line, f)) address_ = line;
        if (f) std::fclose(f);
        while (!address_.empty() && address_.back() == '\n') address_.pop_back();
        if (!address_.empty()) ::setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), 1);
    }
    ~PrivateBus()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& Address() const { return address_; }

private:
    pid_t pid_ = -1;
    std::string address_;
};

// The desktop's notification service as far as the program uses it: it
// records every Notify call and answers with an id.
class NotificationStandIn final : public QDBusVirtualObject {
public:
    struct Seen {
        QString summary, body;
        uchar urgency = 0;
    };
    std::vector<Seen> seen;

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.member() != QLatin1String("Notify") || message.arguments().size() != 8) return false;
        const QList<QVariant> a = message.arguments();
        const QVariantMap hints = qdbus_cast<QVariantMap>(a[6]);
        seen.push_back({a[3].toString(), a[4].toString(), hints.value(QStringLiteral("urgency")).value<uchar>()});
        connection.send(message.createReply(QVariant::fromValue(uint(seen.size()))));
        return true;
    }
};

// The window's shell, but notifications go to the desktop through the bus.
class BusShell final : public platform::IShellServices {
public:
    explicit BusShell(platform::ScriptedShell& scripted) : s_(scripted) {}
    platform::ScreenInfo QueryScreen() override { return s_.QueryScreen(); }
    bool OpenWebAddress(const std::u16string& url) override { return s_.OpenWebAddress(url); }
    bool OpenMouseSettings() override { return s_.OpenMouseSettings(); }
    std::optional<std::string> GetOpenFileName(const platform::FileDialogParams& p) override
    {
        return s_.GetOpenFileName(p);
    }
    std::optional<std::string> GetSaveFileName(const platform::FileDialogParams& p) override
    {
        return s_.GetSaveFileName(p);
    }
    bool IsTrayAvailable() override { return s_.IsTrayAvailable(); }
    std::unique_ptr<platform::ITrayIcon> CreateTrayIcon(platform::TrayIconParams p) override
    {
        return s_.CreateTrayIcon(std::move(p));
    }
    void Notify(const platform::DesktopNotification& n) override { platform::SendDesktopNotification(n, {}); }

private:
    platform::ScriptedShell& s_;
};

QCoreApplication* App()
{
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    return app;
}

class DesktopTray : public MainWindowTest {
protected:
    platform::ScriptedShell::Tray& Tray()
    {
        EXPECT_EQ(shell.trays.size(), 1u);
        return *shell.trays.front();
    }
    // The battery the mouse reports from now on, once the window has asked.
    void Battery(int level, int charge = 0)
    {
        sim->SetStatus({0x25, uint8_t(level), uint8_t(charge)});
        Settle(1000 * (kStatusQueryEvery + 1));  // asked for
        Settle(1000);                            // and shown at the next tick
    }
};

TEST_F(DesktopTray, AFallingBatteryIsAnnouncedOnceAtEachMarkOnTheSessionBus)
{
    PrivateBus bus;
    ASSERT_FALSE(bus.Address().empty()) << "dbus-daemon did not start";
    ASSERT_NE(App(), nullptr);
    QDBusConnection desktop = QDBusConnection::connectToBus(QString::fromStdString(bus.Address()), "desktop");
    ASSERT_TRUE(desktop.isConnected());
    NotificationStandIn service;
    ASSERT_TRUE(desktop.registerVirtualObject(QStringLiteral("/org/freedesktop/Notifications"), &service));
    ASSERT_TRUE(desktop.registerService(QStringLiteral("org.freedesktop.Notifications")));
    BusShell busShell(shell);
    platform::g_shellServices = &busShell;

    Start({false, true}, {0x25, 25, 0});  // through the receiver
    Settle(1000);
    EXPECT_EQ(Tray().Params().toolTip, u"Tevlan — " + UiText(562) + u" 25 %, " + UiText(563));
    EXPECT_TRUE(Tray().Battery().known);
    EXPECT_FALSE(Tray().Battery().warning);
    for (int level = 24; level >= 4; --level) Battery(level);
    EXPECT_TRUE(Tray().Battery().warning);
    EXPECT_EQ(Tray().Params().toolTip, u"Tevlan — " + UiText(562) + u" 4 %, " + UiText(563));
    // Plugged in to charge and wobbling around a mark: nothing more to say.
    Battery(5, 1);
    Battery(4, 0);
    Battery(5, 0);
    Battery(4, 0);
    EXPECT_FALSE(Tray().Battery().charging);

    // What reached the bus: the calls are asynchronous, so wait for them.
    for (int i = 0; i < 400 && service.seen.size() < 3; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::yield();
    }
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);  // and nothing after
    ASSERT_EQ(service.seen.size(), 3u);
    const int levels[] = {20, 10, 5};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(service.seen[i].summary, QString::fromStdU16String(UiText(565)));
        EXPECT_TRUE(service.seen[i].body.contains(QStringLiteral(" %1 %").arg(levels[i]))) << i;
        EXPECT_EQ(service.seen[i].urgency, i == 2 ? 2 : 1) << i;
    }
    dlg.reset();
    platform::g_shellServices = &shell;
    desktop.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
    QDBusConnection::disconnectFromBus("desktop");
}

TEST_F(DesktopTray, TheMenuWritesTheAutostartEntryAndTheLanguageForTheNextStart)
{
    const std::string config = dataDir + "xdg";
    MainWindowStartup startup = Startup();
    startup.folders.configHome = config;
    sim = std::make_unique<platform::SimMouse>(deviceClock, true, false);
    dlg = std::make_unique<CTevlanDlg>(startup, MainWindowDevices{sim.get(), &deviceClock, sim.get()});
    ASSERT_TRUE(dlg->Create(0));
    Settle(1000);
    auto item = [&](int id) {
        std::function<const platform::TrayMenuItem*(const std::vector<platform::TrayMenuItem>&)> find =
            [&](const std::vector<platform::TrayMenuItem>& items) -> const platform::TrayMenuItem* {
            for (const auto& i : items) {
                if (i.id == id) return &i;
                if (const auto* sub = find(i.submenu)) return sub;
            }
            return nullptr;
        };
        return find(Tray().Params().menu);
    };
    const std::string entry = config + "/autostart/tevlan.desktop";
    for (bool on : {true, false}) {
        ASSERT_NE(item(kTrayAutostart), nullptr);
        EXPECT_EQ(item(kTrayAutostart)->checked, !on);
        Tray().Choose(kTrayAutostart);
        Settle();
        EXPECT_EQ(std::filesystem::exists(entry), on);
        EXPECT_EQ(item(kTrayAutostart)->checked, on);
        if (on) {
            std::ifstream in(entry);
            std::string text((std::istreambuf_iterator<char>(in)), {});
            EXPECT_NE(text.find("Exec=" TEVLAN_BINARY_DIR "/tevlan --hidden\n"), std::string::npos) << text;
        }
    }

    // German for the next start: the setting the start-up reads, and the check mark.
    size_t german = 0;
    while (ShippedLanguages()[german].code != u"DE") ++german;
    Tray().Choose(kTrayFirstLanguage + int(german));
    Settle();
    EXPECT_TRUE(item(kTrayFirstLanguage + int(german))->checked);
    EXPECT_FALSE(item(kTrayFirstLanguage)->checked);
    EXPECT_EQ(ChosenLanguageCode(g_programFolder, dataDir, "en_US.UTF-8"), u"DE");
}

}  // namespace
