#include "platform/instance/change_channel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/instance/instance_packet.h"
#include "platform/instance/single_instance.h"

namespace {

using platform::ChangeChannelResult;
using Clock = std::chrono::steady_clock;

int Connect(const std::string& path)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strcpy(addr.sun_path, path.c_str());
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// What the server says to a raw packet before it closes: "" when it closes at once.
std::string AnswerTo(const std::string& path, const std::string& packet)
{
    const int fd = Connect(path);
    if (fd < 0) return "<no connection>";
    std::string got;
    if (send(fd, packet.data(), packet.size(), MSG_NOSIGNAL) == ssize_t(packet.size())) {
        char buf[64];
        pollfd p{fd, POLLIN, 0};
        while (poll(&p, 1, 3000) > 0) {
            const ssize_t n = read(fd, buf, sizeof buf);
            if (n <= 0) break;
            got.append(buf, size_t(n));
        }
    }
    close(fd);
    return got;
}

std::string Words(uint32_t a, uint32_t b, uint32_t c)
{
    std::string out;
    for (uint32_t v : {a, b, c})
        for (int i = 0; i < 4; ++i) out.push_back(char((v >> (8 * i)) & 0xFF));
    return out;
}

// A first instance whose window thread answers every request with "got:" and
// what it received, until stopped.
class ChangeChannelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/tvl-chan-XXXXXX";
        base_ = mkdtemp(tmpl);
        chmod(base_.c_str(), 0755);
        first_ = std::make_unique<platform::SingleInstance>(Folder());
        ASSERT_EQ(first_->Acquire([this](const std::string& line) {
            std::lock_guard<std::mutex> lock(logMutex_);
            log_.push_back(line);
        }),
                  platform::InstanceRole::First);
        first_->SetRequestHandler([this](std::string_view r) {
            ++calls_;
            return "got:" + std::string(r);
        });
        server_ = std::thread([this] {
            while (!stop_) {
                pollfd p{first_->ReadyFd(), POLLIN, 0};
                if (poll(&p, 1, 10) > 0) first_->ProcessPending([this] { ++activations_; });
            }
        });
    }
    void TearDown() override
    {
        stop_ = true;
        server_.join();
        first_.reset();
        std::system(("rm -rf '" + base_ + "'").c_str());
    }

    std::string Folder() const { return base_ + "/tevlan"; }
    ChangeChannelResult Send(std::string_view request, int timeoutMs = 5000)
    {
        return platform::SendChangeRequest(Folder(), first_->SocketPath(), first_->LockPath(), request, timeoutMs);
    }
    std::vector<std::string> Log()
    {
        std::lock_guard<std::mutex> lock(logMutex_);
        return log_;
    }

    std::string base_;
    std::unique_ptr<platform::SingleInstance> first_;
    std::thread server_;
    std::atomic<bool> stop_{false};
    std::atomic<int> calls_{0};
    std::atomic<int> activations_{0};
    std::mutex logMutex_;
    std::vector<std::string> log_;
};

TEST_F(ChangeChannelTest, ARequestGetsItsReply)
{
    const ChangeChannelResult r = Send("set polling 500");
    ASSERT_EQ(r.kind, ChangeChannelResult::Replied) << r.error;
    EXPECT_EQ(r.reply, "got:set polling 500");
    // No window: no folder, or nothing listens on the socket and nobody holds the lock.
    EXPECT_EQ(platform::SendChangeRequest(base_ + "/none", base_ + "/none/socket", base_ + "/none/lock", "x").kind,
              ChangeChannelResult::NoWindow);
    EXPECT_EQ(platform::SendChangeRequest(Folder(), Folder() + "/other.sock", Folder() + "/other.lock", "x").kind,
              ChangeChannelResult::NoWindow);
    // A window holds the lock but cannot be reached: not the same as no window.
    const ChangeChannelResult deaf =
        platform::SendChangeRequest(Folder(), Folder() + "/other.sock", first_->LockPath(), "x");
    EXPECT_EQ(deaf.kind, ChangeChannelResult::Failed);
    EXPECT_NE(deaf.error.find("does not answer"), std::string::npos) << deaf.error;
}

// Only the activation and whole requests reach the window thread: a window
// message with any other number (1164 would make the window read a pointer
// from its parameter, 16 closes it), a request too long or followed by more
// bytes, or an unknown packet is dropped unanswered and logged once.
TEST_F(ChangeChannelTest, WhatTheProtocolDoesNotDefineNeverReachesTheWindowThread)
{
    const std::string path = first_->SocketPath();
    const std::string oversized = std::string("TVLR") + Words(platform::kMaxChangeFrame + 1, 0, 0).substr(0, 4);
    const std::string packets[] = {
        "TVL1" + Words(1164, 0, 0x41414141),
        "TVL1" + Words(16, 0, 0),
        "TVL1" + Words(2999, 1, 0),
        "TVL1" + Words(2999, 0, 7),
        oversized,
        platform::EncodeActivationPacket() + "x",
        platform::EncodeRequestPacket("get") + "more",
        "GET / HTTP/1.0\r\n\r\n",
    };
    for (int round = 0; round < 2; ++round)
        for (const std::string& packet : packets) EXPECT_EQ(AnswerTo(path, packet), "") << packet;
    EXPECT_EQ(activations_, 0);
    EXPECT_EQ(calls_, 0);
    const std::vector<std::string> log = Log();
    EXPECT_EQ(log.size(), 5u) << "one line for each kind of drop, not one per packet";
    for (const std::string& line : log) EXPECT_NE(line.find("dropped"), std::string::npos) << line;

    // The protocol's own packets still work.
    EXPECT_EQ(AnswerTo(path, platform::EncodeActivationPacket()), "K");
    EXPECT_EQ(activations_, 1);
    EXPECT_EQ(AnswerTo(path, platform::EncodeRequestPacket("a")), platform::EncodeAnswerFrame("got:a"));
}

// The socket's reading happens off the window thread: connections that say
// nothing, or dribble a packet a byte at a time, cost a request nothing.
TEST_F(ChangeChannelTest, IdleAndSlowPeersDoNotDelayARequest)
{
    std::vector<int> idle;
    for (int i = 0; i < 50; ++i) idle.push_back(Connect(first_->SocketPath()));
    std::vector<int> slow;
    for (int i = 0; i < 4; ++i) {
        slow.push_back(Connect(first_->SocketPath()));
        ASSERT_EQ(write(slow.back(), "TVLR", 1), 1);
    }
    long worst = 0;
    for (int i = 0; i < 5; ++i) {
        const auto start = Clock::now();
        const ChangeChannelResult r = Send("set dpi 1 800");
        worst =
            std::max<long>(worst, std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
        ASSERT_EQ(r.kind, ChangeChannelResult::Replied) << r.error;
    }
    EXPECT_LT(worst, 300);
    for (int fd : idle) close(fd);
    for (int fd : slow) close(fd);
}

TEST_F(ChangeChannelTest, AnotherUsersConnectionIsNeverHandled)
{
    if (geteuid() != 0) GTEST_SKIP() << "trying as another user needs root";
    // Open the folder and socket so that nobody may connect at all: the peer
    // check alone must then keep the request out.
    chmod(Folder().c_str(), 0777);
    chmod(first_->SocketPath().c_str(), 0666);
    const std::string path = first_->SocketPath();
    const pid_t pid = fork();
    if (pid == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(10);
        const std::string answer = AnswerTo(path, platform::EncodeRequestPacket("set polling 500"));
        _exit(answer.empty() ? 0 : 11);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << WEXITSTATUS(status);
    EXPECT_EQ(calls_, 0);
}

// tevlanctl's side: a folder that is not ours alone, or a socket that
// another user serves, gets nothing, and the user is told why.
TEST(ChangeChannelTrust, AFolderOrServerOfAnotherUserIsRefusedBeforeAnythingIsSent)
{
    if (geteuid() != 0) GTEST_SKIP() << "trying as another user needs root";
    char tmpl[] = "/tmp/tvl-trust-XXXXXX";
    const std::string base = mkdtemp(tmpl);
    chmod(base.c_str(), 0755);
    const std::string folder = base + "/tevlan", socketPath = folder + "/Tevlan_Ozk.sock";
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);

    // A server that runs as nobody: bound as root in our folder, listening
    // (which fixes its credentials) as nobody. It counts the bytes it gets.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strcpy(addr.sun_path, socketPath.c_str());
        if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) _exit(20);
        if (setgid(65534) != 0 || setuid(65534) != 0 || listen(fd, 4) != 0) _exit(21);
        [[maybe_unused]] ssize_t w = write(ready[1], "r", 1);
        const int c = accept(fd, nullptr, nullptr);
        char buf[64];
        pollfd p{c, POLLIN, 0};
        const ssize_t n = poll(&p, 1, 3000) > 0 ? read(c, buf, sizeof buf) : 0;
        _exit(n > 0 ? 1 : 0);
    }
    char r = 0;
    ASSERT_EQ(read(ready[0], &r, 1), 1);
    const ChangeChannelResult spoofed =
        platform::SendChangeRequest(folder, socketPath, folder + "/lock", "set dpi 1 3000", 1000);
    EXPECT_EQ(spoofed.kind, ChangeChannelResult::Failed);
    EXPECT_NE(spoofed.error.find("another user"), std::string::npos) << spoofed.error;
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other user's server received bytes";

    // The folder itself: another user's, open to others, or a link.
    const std::string link = base + "/link";
    ASSERT_EQ(symlink(folder.c_str(), link.c_str()), 0);
    const struct {
        const char* what;
        std::string folder;
        std::function<void()> make;
    } cases[] = {
        {"owner", folder, [&] { ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0); }},
        {"mode", folder,
         [&] {
             ASSERT_EQ(chown(folder.c_str(), 0, 0), 0);
             ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
         }},
        {"link", link, [&] { ASSERT_EQ(chmod(folder.c_str(), 0700), 0); }},
    };
    for (const auto& c : cases) {
        c.make();
        const ChangeChannelResult r =
            platform::SendChangeRequest(c.folder, c.folder + "/Tevlan_Ozk.sock", c.folder + "/lock", "x", 1000);
        EXPECT_EQ(r.kind, ChangeChannelResult::Failed) << c.what;
        EXPECT_NE(r.error.find(c.folder), std::string::npos) << c.what << ": " << r.error;
    }
    std::system(("rm -rf '" + base + "'").c_str());
}

}  // namespace
