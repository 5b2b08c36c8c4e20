#include "platform/instance/single_instance.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include "platform/instance/instance_notifier_qt.h"

extern char** environ;

namespace {

using platform::InstanceRole;
using platform::SingleInstance;
using Clock = std::chrono::steady_clock;

long MsSince(Clock::time_point t) {
    return long(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count());
}

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/tvl-inst-XXXXXX";
        base = mkdtemp(tmpl);
        chmod(base.c_str(), 0755);  // only our own folder may keep others out
        folder = base + "/tevlan";
    }
    void TearDown() override { std::system(("rm -rf '" + base + "'").c_str()); }

    // Starts the helper program; its stdout is returned through *out.
    pid_t Spawn(const char* mode, int* out = nullptr) {
        int fds[2];
        EXPECT_EQ(pipe2(fds, O_CLOEXEC), 0);
        posix_spawn_file_actions_t fa;
        posix_spawn_file_actions_init(&fa);
        posix_spawn_file_actions_adddup2(&fa, fds[1], 1);
        std::string helper = INSTANCE_HELPER;
        std::vector<char*> argv{helper.data(), const_cast<char*>(mode), folder.data(), nullptr};
        pid_t pid = -1;
        EXPECT_EQ(posix_spawn(&pid, helper.c_str(), &fa, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&fa);
        close(fds[1]);
        out ? void(*out = fds[0]) : void(close(fds[0]));
        return pid;
    }

    // Serves the socket until the child exits; returns its exit code.
    int ServeUntilExit(SingleInstance& inst, pid_t pid, int* activations) {
        auto start = Clock::now();
        int status = 0;
        while (waitpid(pid, &status, WNOHANG) == 0 && MsSince(start) < 5000) {
            pollfd p{inst.ReadyFd(), POLLIN, 0};
            if (poll(&p, 1, 10) > 0) inst.ProcessPending([&] { ++*activations; });
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    std::string base, folder;
};

mode_t ModeOf(const std::string& path) {
    struct stat st{};
    EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
    return st.st_mode;
}

TEST_F(SingleInstanceTest, ASecondProcessExitsAtOnceAndTheFirstIsActivated) {
    SingleInstance first(folder);
    ASSERT_EQ(first.Acquire(), InstanceRole::First) << first.LastError();
    auto start = Clock::now();
    int got = 0;
    EXPECT_EQ(ServeUntilExit(first, Spawn("second"), &got), 0) << "the helper did not see another instance";
    EXPECT_LT(MsSince(start), 1500);
    EXPECT_EQ(got, 1);
}

TEST_F(SingleInstanceTest, AKilledFirstInstanceDoesNotBlockTheNextStart) {
    int out = -1;
    pid_t holder = Spawn("hold", &out);
    char line[7] = {};
    pollfd p{out, POLLIN, 0};
    ASSERT_TRUE(poll(&p, 1, 3000) > 0 && read(out, line, 6) == 6 && std::string(line) == "first\n");
    close(out);
    EXPECT_EQ(SingleInstance(folder).Acquire(), InstanceRole::Second);

    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    // The dead holder's socket file is still there and must not be taken for a live instance.
    ASSERT_TRUE(S_ISSOCK(ModeOf(folder + "/Tevlan_Ozk.sock")));
    auto start = Clock::now();
    SingleInstance next(folder);
    ASSERT_EQ(next.Acquire(), InstanceRole::First) << next.LastError();
    EXPECT_LT(MsSince(start), 1000);
    int got = 0;
    EXPECT_EQ(ServeUntilExit(next, Spawn("second"), &got), 0);  // and the start after it reaches it
    EXPECT_EQ(got, 1);
}

TEST_F(SingleInstanceTest, FolderAndSocketAreClosedToOtherUsers) {
    ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
    chmod(folder.c_str(), 0777);  // others may have put anything in it meanwhile: refused, and left as it is
    SingleInstance loose(folder);
    EXPECT_EQ(loose.Acquire(), InstanceRole::Failed);
    EXPECT_NE(loose.LastError().find("0777"), std::string::npos) << loose.LastError();
    EXPECT_EQ(ModeOf(folder) & 0777, 0777u);
    ASSERT_EQ(rmdir(folder.c_str()), 0);

    SingleInstance first(folder);
    ASSERT_EQ(first.Acquire(), InstanceRole::First) << first.LastError();
    EXPECT_EQ(ModeOf(folder) & 0777, 0700u);
    EXPECT_TRUE(S_ISSOCK(ModeOf(first.SocketPath())));
    EXPECT_EQ(ModeOf(first.SocketPath()) & 0777, 0600u);
    EXPECT_EQ(ModeOf(first.LockPath()) & 0777, 0600u);

    if (geteuid() != 0) GTEST_SKIP() << "trying as another user needs root";
    pid_t pid = fork();
    if (pid == 0) {  // as nobody, the kernel must refuse the connection
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(10);
        int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strcpy(addr.sun_path, first.SocketPath().c_str());
        int r = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        _exit(r == 0 ? 11 : errno == EACCES ? 0 : 12);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << WEXITSTATUS(status);

    // A folder that is a link, or another user's, is refused.
    std::string other = base + "/other";
    ASSERT_EQ(mkdir(other.c_str(), 0700), 0);
    ASSERT_EQ(symlink(other.c_str(), (base + "/link").c_str()), 0);
    EXPECT_EQ(SingleInstance(base + "/link").Acquire(), InstanceRole::Failed);
    ASSERT_EQ(chown(other.c_str(), 65534, 65534), 0);
    EXPECT_EQ(SingleInstance(other).Acquire(), InstanceRole::Failed);
}

TEST_F(SingleInstanceTest, ASilentOrGarblingPeerDoesNotHangTheWindowThread) {
    SingleInstance first(folder);
    ASSERT_EQ(first.Acquire([](const std::string&) {}), InstanceRole::First);
    int peers[2];
    for (int& fd : peers) {
        fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strcpy(addr.sun_path, first.SocketPath().c_str());
        ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    }
    ASSERT_EQ(write(peers[1], "not a message!!", 16), 16);
    int calls = 0;
    auto start = Clock::now();
    first.ProcessPending([&] { ++calls; });
    EXPECT_LT(MsSince(start), 1000);
    EXPECT_EQ(calls, 0);
    for (int fd : peers) close(fd);
}

TEST_F(SingleInstanceTest, TheQtLoopHandsTheMessageToTheWindowThread) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    SingleInstance first(folder);
    ASSERT_EQ(first.Acquire(), InstanceRole::First);
    int got = 0;
    platform::InstanceNotifierQt notifier(first, [&] {
        if (QThread::currentThread() == app.thread()) ++got;
        app.quit();
    });
    pid_t pid = Spawn("second");
    QTimer::singleShot(5000, &app, [&] { app.quit(); });  // a safety net, not a wait
    app.exec();
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(got, 1);
}

TEST(InstanceFolder, FollowsTheSessionRuntimeFolder) {
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    std::string saved = old ? old : "", fallback = "/tmp/tevlan-" + std::to_string(getuid());
    setenv("XDG_RUNTIME_DIR", "/run/user/4242", 1);
    EXPECT_EQ(platform::DefaultInstanceFolder(), "/run/user/4242/tevlan");
    setenv("XDG_RUNTIME_DIR", "relative/dir", 1);
    EXPECT_EQ(platform::DefaultInstanceFolder(), fallback);
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(platform::DefaultInstanceFolder(), fallback);
    if (old) setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

}  // namespace
