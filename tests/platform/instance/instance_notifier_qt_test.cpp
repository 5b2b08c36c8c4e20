// The first instance hears a later start through its Qt event loop.
#include "platform/instance/instance_notifier_qt.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

extern char** environ;

namespace {

TEST(InstanceNotifierQt, ALaterStartReachesTheWindowThreadsLoop) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    char tmpl[] = "/tmp/tvl-instq-XXXXXX";
    std::string base = mkdtemp(tmpl);
    std::string folder = base + "/tevlan";
    platform::SingleInstance first(folder);
    ASSERT_EQ(first.Acquire(), platform::InstanceRole::First);

    std::vector<uint32_t> got;
    bool onLoopThread = true;
    platform::InstanceNotifierQt notifier(first, [&](uint32_t msg, uint32_t, uint32_t) {
        onLoopThread = onLoopThread && QThread::currentThread() == app.thread();
        got.push_back(msg);
        app.quit();
    });

    std::string helper = INSTANCE_HELPER;
    std::vector<char*> args{helper.data(), const_cast<char*>("second"), folder.data(), nullptr};
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, helper.c_str(), nullptr, nullptr, args.data(), environ), 0);
    QTimer::singleShot(5000, &app, [&] { app.quit(); });  // a safety net, not a wait
    app.exec();
    int status = 0;
    waitpid(pid, &status, 0);
    std::system(("rm -rf '" + base + "'").c_str());

    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(got, std::vector<uint32_t>{2999});
    EXPECT_TRUE(onLoopThread);
}

}  // namespace
