// The program switching profile for a game: a copy of a harmless program
// under a unique name is bound to the second profile (500 Hz; the current
// one has 1000 Hz). Its start must send the 500 Hz report, its end the
// 1000 Hz one, each within 2.5 s; closing the window during a game leaves
// the user's profile in the settings file.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"
#include "support/child_environment.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string ReadFile(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::u16string ReadUtf16(const fs::path& p)
{
    const std::string bytes = ReadFile(p);
    std::u16string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += char16_t(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8));
    return text;
}

void WriteUtf16(const fs::path& p, const std::u16string& text)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    for (char16_t c : text) out.put(char(c & 0xFF)).put(char(c >> 8));
}

void Replace(std::u16string& text, const std::u16string& from, const std::u16string& to)
{
    const size_t at = text.find(from);
    ASSERT_NE(at, std::u16string::npos);
    text.replace(at, from.size(), to);
}

pid_t Spawn(std::vector<std::string> argv, const std::vector<std::string>& env, const fs::path& err)
{
    const pid_t pid = fork();
    if (pid == 0) {
        if (!err.empty()) {
            const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(e, 2);
        }
        std::vector<char*> cargv, cenv;
        for (std::string& a : argv) cargv.push_back(a.data());
        for (const std::string& v : env) cenv.push_back(const_cast<char*>(v.c_str()));
        cargv.push_back(nullptr);
        cenv.push_back(nullptr);
        execve(cargv[0], cargv.data(), cenv.data());
        _exit(127);
    }
    return pid;
}

// The polling rate byte of the last polling report after offset, or "".
std::string LastPollingRate(const std::string& trace, size_t offset)
{
    std::istringstream lines(trace.substr(std::min(offset, trace.size())));
    std::string line, rate;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string x; words >> x;) w.push_back(x);
        if (w.size() > 8 && w[0] == "W" && w[1] == "0C" && w[3] == "07") rate = w[8];
    }
    return rate;
}

class Tevlan {
public:
    Tevlan(const fs::path& tmp, const fs::path& data) : err_(tmp / "stderr")
    {
        const fs::path run = tmp / "run";
        fs::create_directories(run);
        std::vector<std::string> env{"HOME=" + tmp.string(), "XDG_CONFIG_HOME=" + (tmp / "xdg").string(),
                                     "XDG_RUNTIME_DIR=" + run.string()};
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "XAUTHORITY", "PATH"})
            if (const char* v = getenv(name)) env.push_back(std::string(name) + "=" + v);
        if (!getenv("QT_QPA_PLATFORM")) env.push_back("QT_QPA_PLATFORM=offscreen");
        env = WithSanitizerSettings(std::move(env));
        pid_ = Spawn({TEVLAN_PATH, "--device", "sim", "--trace", "--data-dir", data.string()}, env, err_);
    }
    ~Tevlan()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    std::string Trace() const { return ReadFile(err_); }
    // Ready once the start-up apply has written to the simulated mouse and gone quiet.
    bool WaitReady()
    {
        const auto deadline = Clock::now() + std::chrono::seconds(20);
        size_t size = 0;
        while (Clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            const std::string t = Trace();
            if (t.find("\nW ") != std::string::npos && t.size() == size) return true;
            size = t.size();
            if (waitpid(pid_, nullptr, WNOHANG) != 0) return false;
        }
        return false;
    }
    // Waits up to 2.5 s for a polling report with this rate after offset;
    // the seconds it took, or -1.
    double WaitForRate(size_t offset, const std::string& rate) const
    {
        const auto start = Clock::now();
        while (Clock::now() - start < std::chrono::milliseconds(2500)) {
            if (LastPollingRate(Trace(), offset) == rate)
                return std::chrono::duration<double>(Clock::now() - start).count();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return -1;
    }
    int Close()
    {
        int status = 0;
        kill(pid_, SIGTERM);
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    fs::path err_;
    pid_t pid_ = -1;
};

struct Game {
    explicit Game(const fs::path& program) : pid(Spawn({program.string(), "60"}, {}, {})) {}
    ~Game() { End(); }
    void End()
    {
        if (pid <= 0) return;
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        pid = -1;
    }
    pid_t pid;
};

TEST(GameProcess, AGameSwitchesTheMouseAndItsEndSwitchesBack)
{
    TempFolder tmp("tvl-game-");
    const fs::path data = tmp.Path() / "data";
    {
        Tevlan first(tmp.Path(), data);  // makes the data folder
        ASSERT_TRUE(first.WaitReady()) << first.Trace();
        ASSERT_EQ(first.Close(), 0);
    }
    const std::string name = "tvlgame-" + std::to_string(getpid());
    const fs::path program = tmp.Path() / name;
    fs::copy_file("/bin/sleep", program);
    const fs::path slot = data / "config" / "default1.psf";
    std::u16string profile = ReadUtf16(slot);
    Replace(profile, u"GameFile0=", u"GameFile0=" + std::u16string(name.begin(), name.end()));
    Replace(profile, u"PollingRateName=1000HZ", u"PollingRateName=500HZ");
    Replace(profile, u"PollingRateValue=030000", u"PollingRateValue=020000");
    WriteUtf16(slot, profile);

    Tevlan tevlan(tmp.Path(), data);
    ASSERT_TRUE(tevlan.WaitReady()) << tevlan.Trace();
    ASSERT_EQ(LastPollingRate(tevlan.Trace(), 0), "01") << "the current profile starts at 1000 Hz";

    size_t offset = tevlan.Trace().size();
    Game game(program);
    const double started = tevlan.WaitForRate(offset, "02");
    EXPECT_GE(started, 0) << "no 500 Hz report after the game started:\n" << tevlan.Trace().substr(offset);
    offset = tevlan.Trace().size();
    game.End();
    const double ended = tevlan.WaitForRate(offset, "01");
    EXPECT_GE(ended, 0) << "no 1000 Hz report after the game ended:\n" << tevlan.Trace().substr(offset);
    std::printf("game start -> 500 Hz report: %.2f s; game end -> 1000 Hz report: %.2f s\n", started, ended);

    // Closed while the game runs: the user's profile is the one saved.
    offset = tevlan.Trace().size();
    Game again(program);
    EXPECT_GE(tevlan.WaitForRate(offset, "02"), 0);
    EXPECT_EQ(tevlan.Close(), 0);
    const std::u16string settings = ReadUtf16(data / "config" / "config.ini");
    EXPECT_NE(settings.find(u"CurrentProfile=0"), std::u16string::npos);
}

}  // namespace
