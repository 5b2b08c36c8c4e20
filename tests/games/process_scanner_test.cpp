// The cached /proc scan on real processes: a process started after the
// first scan is listed, one that executes a game after the scanner first
// read it is matched on the next scan, and one that has ended no longer is,
// even before its parent reaped it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "games/game_binding.h"
#include "platform/procs/process_scanner.h"

namespace {

TEST(ProcessScanner, FindsANewProcessItsExecAndItsUnreapedEnd)
{
    const std::string game = "tvl-scan-test-" + std::to_string(::getpid());
    const std::vector<std::string> bound = {game};
    const auto match = [&](const platform::ProcessNames& p) { return RunningGamesMask(p, bound); };

    // Started by its name, and through a path longer than a page (a deep
    // install folder): the command line is read on to the end of its first word.
    for (const std::string& argv0 : {game, std::string(5000, '/') + "deep/" + game}) {
        SCOPED_TRACE(argv0.size());
        platform::ProcessScanner scanner;
        EXPECT_EQ(scanner.ScanMatching(match), 0u);

        int go[2], execed[2];
        ASSERT_EQ(pipe(go), 0);
        ASSERT_EQ(pipe2(execed, O_CLOEXEC), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            char c;
            close(execed[0]);
            if (read(go[0], &c, 1) == 1) execl("/bin/sleep", argv0.c_str(), "30", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(go[0]);
        close(execed[1]);
        EXPECT_EQ(scanner.ScanMatching(match), 0u) << "not yet the game";

        ASSERT_EQ(write(go[1], "x", 1), 1);
        char c;
        ASSERT_EQ(read(execed[0], &c, 1), 0);  // end of file: the exec closed it
        EXPECT_EQ(scanner.ScanMatching(match), 1u) << "the same pid now runs the game";

        kill(child, SIGKILL);
        siginfo_t info{};
        ASSERT_EQ(waitid(P_PID, id_t(child), &info, WEXITED | WNOWAIT), 0);  // a zombie, not reaped
        EXPECT_EQ(scanner.ScanMatching(match), 0u) << "ended";
        waitpid(child, nullptr, 0);
        close(go[1]);
        close(execed[0]);
    }
}

}  // namespace
