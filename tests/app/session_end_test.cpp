// The program ended by the desktop: SIGTERM must close the main window the
// normal way, so that the save the start-up scheduled is written and the
// exit code is 0.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"
#include "support/child_environment.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SessionEnd, SigtermClosesTheWindowAndWritesThePendingSave)
{
    TempFolder tmp("tvl-sigterm-");
    const fs::path data = tmp.Path() / "data", run = tmp.Path() / "run", err = tmp.Path() / "stderr";
    fs::create_directories(run);
    std::vector<std::string> argv{TEVLAN_PATH, "--device", "sim", "--trace", "--data-dir", data.string()};
    std::vector<std::string> env{"QT_QPA_PLATFORM=offscreen", "HOME=" + tmp.Path().string(),
                                 "XDG_CONFIG_HOME=" + (tmp.Path() / "xdg").string(),
                                 "XDG_RUNTIME_DIR=" + run.string()};
    env = WithSanitizerSettings(std::move(env));
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(e, 2);
        std::vector<char*> cargv, cenv;
        for (std::string& a : argv) cargv.push_back(a.data());
        for (std::string& v : env) cenv.push_back(v.data());
        cargv.push_back(nullptr);
        cenv.push_back(nullptr);
        execve(cargv[0], cargv.data(), cenv.data());
        _exit(127);
    }

    // Ready once the window's scan writes to the simulated mouse: the main
    // window exists and the signal hook is in place.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    bool ready = false;
    int status = 0;
    while (!ready && std::chrono::steady_clock::now() < deadline) {
        const std::string trace = "\n" + ReadFile(err);
        ready = trace.find("\nW ") != std::string::npos;
        if (!ready) {
            ASSERT_EQ(waitpid(pid, &status, WNOHANG), 0) << "tevlan ended early: " << ReadFile(err);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    if (!ready) kill(pid, SIGKILL);
    ASSERT_TRUE(ready) << "no feature write traced: " << ReadFile(err);

    ASSERT_EQ(kill(pid, SIGTERM), 0);
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(fs::is_regular_file(data / "config" / "config.ini"));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(fs::is_regular_file(data / "config" / ("default" + std::to_string(i) + ".psf"))) << i;
}

}  // namespace
