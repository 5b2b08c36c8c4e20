#include "platform/instance/change_channel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/instance/single_instance.h"

namespace {

using platform::ChangeChannelResult;

// A first instance whose window thread answers every request with "got:" and
// what it received, until stopped.
class ChangeChannelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/tvl-chan-XXXXXX";
        base_ = mkdtemp(tmpl);
        chmod(base_.c_str(), 0755);
        first_ = std::make_unique<platform::SingleInstance>(base_ + "/tevlan");
        ASSERT_EQ(first_->Acquire(), platform::InstanceRole::First);
        first_->SetRequestHandler([this](std::string_view r) {
            ++calls_;
            return "got:" + std::string(r);
        });
        server_ = std::thread([this] {
            while (!stop_) {
                pollfd p{first_->ListenFd(), POLLIN, 0};
                if (poll(&p, 1, 10) > 0) first_->ProcessPending({});
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

    std::string base_;
    std::unique_ptr<platform::SingleInstance> first_;
    std::thread server_;
    std::atomic<bool> stop_{false};
    std::atomic<int> calls_{0};
};

TEST_F(ChangeChannelTest, ARequestGetsItsReplyAndAnOversizedOneAnEmptyRequest)
{
    const ChangeChannelResult r = platform::SendChangeRequest(first_->SocketPath(), "set polling 500");
    ASSERT_EQ(r.kind, ChangeChannelResult::Replied) << r.error;
    EXPECT_EQ(r.reply, "got:set polling 500");

    // Past the limit the window reads nothing of it and answers what it has: nothing.
    const ChangeChannelResult big =
        platform::SendChangeRequest(first_->SocketPath(), std::string(platform::kMaxChangeFrame + 1, 'x'));
    ASSERT_EQ(big.kind, ChangeChannelResult::Replied) << big.error;
    EXPECT_EQ(big.reply, "got:");

    // No window: nothing listens on the socket.
    EXPECT_EQ(platform::SendChangeRequest(base_ + "/none/socket", "x").kind, ChangeChannelResult::NoWindow);
}

TEST_F(ChangeChannelTest, AnotherUsersRequestIsNeverHandled)
{
    if (geteuid() != 0) GTEST_SKIP() << "trying as another user needs root";
    // Open the folder and socket so that nobody can connect at all: the peer
    // check alone must then keep the request out.
    chmod((base_ + "/tevlan").c_str(), 0777);
    chmod(first_->SocketPath().c_str(), 0666);
    const pid_t pid = fork();
    if (pid == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(10);
        const ChangeChannelResult r = platform::SendChangeRequest(first_->SocketPath(), "set polling 500", 1000);
        _exit(r.kind == ChangeChannelResult::Failed ? 0 : r.kind == ChangeChannelResult::Replied ? 11 : 12);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << WEXITSTATUS(status);
    EXPECT_EQ(calls_, 0);
}

}  // namespace
