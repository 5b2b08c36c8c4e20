// The Qt shell services on the offscreen platform, with a screen we describe.
#include "platform/shell/qt_shell_services.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <fstream>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTimer>
#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>

#include "platform/shell/screen_scale.h"

// Qt's file dialog lists folders on a thread of its own and syncs with it
// through futex-based mutexes, which ThreadSanitizer cannot see inside an
// uninstrumented Qt: its reports from there are about Qt, not about us.
#if defined(__SANITIZE_THREAD__)
extern "C" const char* __tsan_default_suppressions() {
    return "race:QWaitCondition::~QWaitCondition\nrace:QFileInfoGatherer\n";
}
#endif
// Fontconfig keeps a cache for the life of the process that it never frees.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif

namespace {

using namespace platform;

// One application per process: a 2560 x 1440 screen at 144 dpi, the kind of
// screen the doubled layout is for. The offscreen platform reads it from a
// configuration file. Qt's own high-DPI scaling is off here so that the
// test sees the screen's numbers themselves (with it on, Qt would report
// 1707 x 960 at 96 dpi and scale by 1.5 itself).
QApplication* App() {
    static QApplication* app = [] {
        std::string config = "/tmp/tvl-offscreen-" + std::to_string(getpid()) + ".json";
        std::ofstream(config) << R"({"screens": [{"name": "big", "x": 0, "y": 0, "width": 2560,
                                   "height": 1440, "logicalDpi": 144, "logicalBaseDpi": 96, "dpr": 1}]})";
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + config.c_str());
        static int argc = 1;
        static char name[] = "test";
        static char* argv[] = {name, nullptr};
        auto* a = new QApplication(argc, argv);
        std::remove(config.c_str());
        return a;
    }();
    return app;
}

TEST(QtShell, ReportsTheScreenAndItsWorkArea) {
    ASSERT_NE(App(), nullptr);
    QtShellServices shell;
    ScreenInfo info = shell.QueryScreen();
    EXPECT_EQ(info.screen, (Rect{0, 0, 2560, 1440}));
    EXPECT_FALSE(info.workArea.IsEmpty());
    EXPECT_EQ(info.screen.Intersect(info.workArea), info.workArea);  // inside the screen
    EXPECT_EQ(info.logicalDpi, 144);
    // What the main window takes from it at start-up.
    EXPECT_EQ(UiScaleForWorkArea(info.FullScreenClientWidth(), 1480, 1127, 740), 2.0f);
    EXPECT_EQ(DpiFactorForLogicalDpi(info.logicalDpi), 1.5f);
}

TEST(QtShell, TrayMenuReportsItemsByIdAndActivationByCallback) {
    ASSERT_NE(App(), nullptr);
    std::vector<int> got;  // menu ids, and -1 for an activation
    TrayIconParams params{"/nonexistent/icon.png", u"Tevlan", {{2075, u"Show"}, {0, u""}, {2076, u"Exit"}},
                          [&] { got.push_back(-1); }, [&](int id) { got.push_back(id); }};
    auto tray = QtShellServices().CreateTrayIcon(params);
    auto* qt = static_cast<QtTrayIcon*>(tray.get());
    EXPECT_FALSE(qt->Icon()->icon().isNull());  // a drawn stand-in for the missing file
    EXPECT_EQ(qt->Icon()->toolTip(), QString("Tevlan"));
    QList<QAction*> actions = qt->Menu()->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_TRUE(actions[0]->text() == "Show" && actions[1]->isSeparator() && actions[2]->text() == "Exit");
    actions[2]->trigger();
    emit qt->Icon()->activated(QSystemTrayIcon::DoubleClick);
    emit qt->Icon()->activated(QSystemTrayIcon::Context);  // the menu's own business
    tray->SetMenu({{2077, u"Quit"}});  // replaces the old items
    ASSERT_EQ(qt->Menu()->actions().size(), 1);
    qt->Menu()->actions()[0]->trigger();
    EXPECT_EQ(got, (std::vector<int>{2076, -1, 2077}));
}

TEST(QtShell, StartsTheMouseSettingsFoundOnPathAndNothingElse) {
    ASSERT_NE(App(), nullptr);
    char tmpl[] = "/tmp/tvl-bin-XXXXXX";
    std::string bin = mkdtemp(tmpl), fifo = bin + "/said";
    std::string old = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", bin.c_str(), 1);
    EXPECT_FALSE(QtShellServices().OpenMouseSettings());  // none installed: nothing, no error
    // A stand-in settings program that tells us its arguments.
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    std::string program = bin + "/cinnamon-settings";
    std::ofstream(program) << "#!/bin/sh\necho \"$@\" > " << fifo << "\n";
    chmod(program.c_str(), 0755);
    EXPECT_TRUE(QtShellServices().OpenMouseSettings());
    setenv("PATH", old.c_str(), 1);
    char said[32] = {};
    pollfd p{reader, POLLIN, 0};
    ASSERT_GT(poll(&p, 1, 5000), 0);
    EXPECT_GT(read(reader, said, sizeof said - 1), 0);
    EXPECT_EQ(std::string(said), "mouse\n");
    close(reader);
    std::system(("rm -rf '" + bin + "'").c_str());
}

// Plays the user in the next file dialog: checks what it shows, then acts.
void WhenTheDialogOpens(std::function<void(QFileDialog&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "no file dialog is open";
        act(*dialog);
        // A dialog that refused what the test did would wait for ever.
        QTimer::singleShot(3000, [guard = QPointer<QFileDialog>(dialog)] {
            if (guard) {
                ADD_FAILURE() << "the dialog did not close";
                guard->reject();
            }
        });
    });
}

class QtFileDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(App(), nullptr);
        char tmpl[] = "/tmp/tvl-dlg-XXXXXX";
        dir = mkdtemp(tmpl);
        params.title = u"Export profile";
        params.filter = u"psf file(*.psf)|*.psf||";
        params.defaultExt = u"psf";
        params.initialName = u".psf";
        params.initialFolder = dir;
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }
    std::string dir;
    FileDialogParams params;
    QtShellServices shell;
};

TEST_F(QtFileDialogs, SaveTakesANewNameOpenAnExistingOneCancelNothing) {
    QStringList shown;
    WhenTheDialogOpens([&](QFileDialog& d) {
        shown << d.windowTitle() << d.nameFilters() << QDir(d.directory()).absolutePath();
        EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptSave);
        d.selectFile(QString::fromStdString(dir + "/mine"));  // typed without extension, not there yet
        static_cast<QDialog&>(d).accept();  // QFileDialog hides it, but it is what Save does
    });
    EXPECT_EQ(shell.GetSaveFileName(params), std::optional<std::string>(dir + "/mine.psf"));
    EXPECT_EQ(shown, (QStringList{"Export profile", "psf file(*.psf) (*.psf)",
                                  QDir(QString::fromStdString(dir)).absolutePath()}));

    std::string existing = dir + "/slot.psf";
    std::fclose(std::fopen(existing.c_str(), "w"));
    WhenTheDialogOpens([&](QFileDialog& d) {
        EXPECT_EQ(d.fileMode(), QFileDialog::ExistingFile);
        d.selectFile(QString::fromStdString(existing));
        static_cast<QDialog&>(d).accept();
    });
    EXPECT_EQ(shell.GetOpenFileName(params), std::optional<std::string>(existing));
    WhenTheDialogOpens([](QFileDialog& d) { d.reject(); });
    EXPECT_EQ(shell.GetOpenFileName(params), std::nullopt);
}

}  // namespace
