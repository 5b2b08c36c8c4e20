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

extern char** environ;

namespace {

using platform::InstanceRole;
using platform::SingleInstance;
using Clock = std::chrono::steady_clock;

long MsSince(Clock::time_point t) {
    return long(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count());
}

class TempFolder {
public:
    TempFolder() {
        char tmpl[] = "/tmp/tvl-inst-XXXXXX";
        base_ = mkdtemp(tmpl);
        chmod(base_.c_str(), 0755);  // only our own folder may keep others out
        path_ = base_ + "/tevlan";
    }
    ~TempFolder() { std::system(("rm -rf '" + base_ + "'").c_str()); }
    const std::string& path() const { return path_; }
private:
    std::string base_, path_;
};

struct Child {
    pid_t pid = -1;
    int out = -1;  // the child's stdout
};

Child Spawn(const char* mode, const std::string& folder) {
    int pipeFds[2];
    EXPECT_EQ(pipe2(pipeFds, O_CLOEXEC), 0);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, pipeFds[1], 1);
    std::string helper = INSTANCE_HELPER;
    std::vector<char*> argv{helper.data(), const_cast<char*>(mode), const_cast<char*>(folder.c_str()), nullptr};
    Child c;
    EXPECT_EQ(posix_spawn(&c.pid, helper.c_str(), &fa, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&fa);
    close(pipeFds[1]);
    c.out = pipeFds[0];
    return c;
}

// Waits for the child's exit for at most timeoutMs; -1 when it is still running.
int WaitExit(pid_t pid, int timeoutMs) {
    auto start = Clock::now();
    for (;;) {
        int status = 0;
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        if (MsSince(start) > timeoutMs) return -1;
        pollfd none{-1, 0, 0};
        poll(&none, 0, 5);  // a real child process: waiting for it is not a program timer
    }
}

std::string ReadLine(int fd, int timeoutMs) {
    std::string s;
    char ch;
    while (s.empty() || s.back() != '\n') {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, timeoutMs) <= 0 || read(fd, &ch, 1) != 1) break;
        s += ch;
    }
    return s;
}

struct Received {
    uint32_t msg, w, l;
};

// Serves the listening socket until one message arrived or timeoutMs passed.
std::vector<Received> ServeOne(SingleInstance& inst, int timeoutMs) {
    std::vector<Received> got;
    auto start = Clock::now();
    while (got.empty() && MsSince(start) < timeoutMs) {
        pollfd p{inst.ListenFd(), POLLIN, 0};
        if (poll(&p, 1, 50) > 0)
            inst.ProcessPending([&](uint32_t m, uint32_t w, uint32_t l) { got.push_back({m, w, l}); });
    }
    return got;
}

mode_t ModeOf(const std::string& path) {
    struct stat st{};
    EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
    return st.st_mode;
}

TEST(SingleInstance, SecondProcessExitsAtOnceAndTheFirstReceives2999) {
    TempFolder dir;
    SingleInstance first(dir.path());
    ASSERT_EQ(first.Acquire(), InstanceRole::First) << first.LastError();

    auto start = Clock::now();
    Child second = Spawn("second", dir.path());
    std::vector<Received> got = ServeOne(first, 3000);
    int code = WaitExit(second.pid, 3000);
    close(second.out);

    EXPECT_EQ(code, 0) << "the helper did not see another instance";
    EXPECT_LT(MsSince(start), 1500);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].msg, 2999u);
    EXPECT_EQ(got[0].w, 0u);
    EXPECT_EQ(got[0].l, 0u);
}

TEST(SingleInstance, AKilledFirstInstanceDoesNotBlockTheNextStart) {
    TempFolder dir;
    Child holder = Spawn("hold", dir.path());
    ASSERT_EQ(ReadLine(holder.out, 3000), "first\n");
    close(holder.out);

    {
        SingleInstance later(dir.path());
        EXPECT_EQ(later.Acquire(), InstanceRole::Second);
    }

    kill(holder.pid, SIGKILL);
    ASSERT_EQ(WaitExit(holder.pid, 3000), 128 + SIGKILL);
    // The dead holder's socket file is still there: the next start must not
    // mistake it for a running instance.
    ASSERT_TRUE(S_ISSOCK(ModeOf(dir.path() + "/Tevlan_Ozk.sock")));

    auto start = Clock::now();
    SingleInstance next(dir.path());
    ASSERT_EQ(next.Acquire(), InstanceRole::First) << next.LastError();
    EXPECT_LT(MsSince(start), 1000);

    // And it is reachable by the start after it.
    Child third = Spawn("second", dir.path());
    std::vector<Received> got = ServeOne(next, 3000);
    EXPECT_EQ(WaitExit(third.pid, 3000), 0);
    close(third.out);
    EXPECT_EQ(got.size(), 1u);
}

TEST(SingleInstance, FolderAndSocketAreClosedToOtherUsers) {
    TempFolder dir;
    // A folder that exists with a loose mode is tightened, not trusted.
    ASSERT_EQ(mkdir(dir.path().c_str(), 0777), 0);
    chmod(dir.path().c_str(), 0777);
    SingleInstance first(dir.path());
    ASSERT_EQ(first.Acquire(), InstanceRole::First) << first.LastError();

    EXPECT_EQ(ModeOf(dir.path()) & 0777, 0700u);
    mode_t sock = ModeOf(first.SocketPath());
    EXPECT_TRUE(S_ISSOCK(sock));
    EXPECT_EQ(sock & 0777, 0600u);
    EXPECT_EQ(ModeOf(first.LockPath()) & 0777, 0600u);

    if (geteuid() != 0) GTEST_SKIP() << "connecting as another user needs root";
    // Really try it as nobody: the kernel must refuse the connection.
    pid_t pid = fork();
    if (pid == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(10);
        int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strcpy(addr.sun_path, first.SocketPath().c_str());
        int r = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        _exit(r == 0 ? 11 : errno == EACCES ? 0 : 12);
    }
    EXPECT_EQ(WaitExit(pid, 3000), 0);
}

TEST(SingleInstance, RefusesAFolderItDoesNotOwnOrThatIsALink) {
    TempFolder dir;
    std::string target = dir.path() + "-target";
    ASSERT_EQ(mkdir(target.c_str(), 0700), 0);
    ASSERT_EQ(symlink(target.c_str(), dir.path().c_str()), 0);
    SingleInstance viaLink(dir.path());
    EXPECT_EQ(viaLink.Acquire(), InstanceRole::Failed);

    if (geteuid() != 0) GTEST_SKIP() << "planting another user's folder needs root";
    ASSERT_EQ(chown(target.c_str(), 65534, 65534), 0);
    SingleInstance foreign(target);
    EXPECT_EQ(foreign.Acquire(), InstanceRole::Failed);
}

TEST(SingleInstance, ASilentOrGarblingPeerDoesNotHangTheWindowThread) {
    TempFolder dir;
    SingleInstance first(dir.path());
    ASSERT_EQ(first.Acquire(), InstanceRole::First);

    auto connectRaw = [&] {
        int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strcpy(addr.sun_path, first.SocketPath().c_str());
        EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        return fd;
    };
    int silent = connectRaw();
    int garbage = connectRaw();
    const char junk[16] = "not a message!!";
    ASSERT_EQ(write(garbage, junk, sizeof junk), ssize_t(sizeof junk));

    int calls = 0;
    auto start = Clock::now();
    first.ProcessPending([&](uint32_t, uint32_t, uint32_t) { ++calls; });
    EXPECT_LT(MsSince(start), 1000);
    EXPECT_EQ(calls, 0);
    close(silent);
    close(garbage);
}

TEST(SingleInstance, FolderFollowsTheSessionRuntimeFolder) {
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    std::string saved = old ? old : "";
    setenv("XDG_RUNTIME_DIR", "/run/user/4242", 1);
    EXPECT_EQ(platform::DefaultInstanceFolder(), "/run/user/4242/tevlan");
    std::string fallback = "/tmp/tevlan-" + std::to_string(getuid());
    setenv("XDG_RUNTIME_DIR", "relative/dir", 1);
    EXPECT_EQ(platform::DefaultInstanceFolder(), fallback);
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(platform::DefaultInstanceFolder(), fallback);
    if (old) setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

}  // namespace
