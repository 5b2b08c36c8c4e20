// tevlanctl's changes to the data folder, run as a process against the
// simulated mouse with no window: each change touches only its own lines of
// the slot file and sends only the report that carries it; a refused change
// leaves every byte of every file alone and sends nothing.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "support/child_environment.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "persist/language_file.h"
#include "base/text_codec.h"
#include "base/ui_text.h"

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

struct CtlResult {
    int exit = -1;
    std::string out, err;
    std::vector<std::string> Writes() const  // "W ..." trace lines, without the W
    {
        std::vector<std::string> w;
        std::istringstream in(err);
        for (std::string line; std::getline(in, line);)
            if (line.rfind("W ", 0) == 0) w.push_back(line.substr(2));
        return w;
    }
};

class CtlSet : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = tmp_.Path();
        fs::create_directories(root_ / "run");
        LoadLanguage(TEVLAN_BINARY_DIR, (root_ / "none/").string(), 1.0);
    }

    // `wrapper`: a program that runs tevlanctl (strace to inject a fault).
    CtlResult Ctl(const fs::path& data, std::vector<std::string> args, const std::vector<std::string>& wrapper = {})
    {
        args.insert(args.begin(), {TEVLANCTL_PATH, "--device", "sim", "--trace", "--data-dir", data.string()});
        args.insert(args.begin(), wrapper.begin(), wrapper.end());
        args.insert(args.begin(), prefix_.begin(), prefix_.end());
        const fs::path outPath = root_ / "stdout", errPath = root_ / "stderr";
        // No window of the user's session may take the requests: the
        // instance folder is the test's own.
        const std::vector<std::string> env =
            WithSanitizerSettings({"HOME=" + root_.string(), "XDG_CONFIG_HOME=" + (root_ / "xdg").string(),
                                   "XDG_RUNTIME_DIR=" + (root_ / "run").string()});
        const pid_t pid = fork();
        if (pid == 0) {
            dup2(open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
            dup2(open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            std::vector<char*> argv, envp;
            for (std::string& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
            envp.push_back(nullptr);
            execve(argv[0], argv.data(), envp.data());
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(outPath), ReadBytes(errPath)};
    }

    // A data folder as tevlanctl leaves it after a first change that sends
    // nothing, so that a case starts from saved files. (The settings file
    // names its slot files by full path: a copied folder would not do.)
    fs::path FreshFolder(const std::string& name)
    {
        const fs::path to = root_ / name;
        EXPECT_EQ(Ctl(to, {"set", "wheel-page", "on"}).exit, 0);
        return to;
    }

    static std::map<std::string, std::string> Files(const fs::path& data)
    {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(data))
            if (e.is_regular_file()) files[e.path().lexically_relative(data).string()] = ReadBytes(e.path());
        return files;
    }

    // The keys of the slot-file lines that differ (the file is read by line position).
    static std::set<std::string> ChangedKeys(const std::string& before, const std::string& after)
    {
        auto lines = [](const std::string& bytes) {
            std::vector<std::string> v;
            std::u16string text;
            for (size_t i = 0; i + 1 < bytes.size(); i += 2)
                text += char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
            std::istringstream in(U16ToUtf8(text));
            for (std::string line; std::getline(in, line);) v.push_back(line);
            return v;
        };
        const auto a = lines(before), b = lines(after);
        std::set<std::string> keys;
        for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
            const std::string& x = i < a.size() ? a[i] : b[i];
            if (i >= a.size() || i >= b.size() || a[i] != b[i]) {
                const size_t s = x.find_first_not_of('\t');
                keys.insert(x.substr(s, x.find('=') - s));
            }
        }
        return keys;
    }

    TempFolder tmp_{"tevlanctl-set-"};
    fs::path root_;
    std::vector<std::string> prefix_;  // a program tevlanctl runs under (strace, timeout)
};

TEST_F(CtlSet, EachSettingChangesOnlyItsLinesAndSendsOnlyItsReport)
{
    struct Case {
        std::vector<std::string> args;
        std::set<std::string> keys;
        const char* report;  // the one report written, or nullptr for none
    } cases[] = {
        {{"set", "dpi", "2", "1700"}, {"XYSetting2Value"},
         "0C 01 05 00 01 01 12 26 3F 07 00 10 00 17 00 1F 00 34 00 3B 00 3B 00 33 00 00 00 00 00 00 00 00 00"},
        {{"set", "dpi-enabled", "3", "off"}, {"DPIOffOnFlagValue"},
         "0C 01 05 00 01 01 12 25 3B 07 00 0F 00 17 00 1F 00 34 00 3B 00 3B 00 33 00 00 00 00 00 00 00 00 00"},
        {{"set", "dpi-colour", "1", "#102030"}, {"DPILevelIndication0Valuer"},
         "0C 01 06 00 01 01 18 10 20 30 00 00 FF 00 FF 00 FF FF 00 00 FF FF FF 00 FF FF FF FF FF FF FF 00 00"},
        {{"set", "polling", "500"}, {"PollingRateName", "PollingRateValue"},
         "0C 01 07 00 01 01 01 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"},
        {{"set", "debounce", "8"}, {"KeyDebounce"},
         "0C 01 0A 00 01 01 01 08 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"},
        {{"set", "sleep", "5"}, {"PowerDownTime"},
         "0C 01 0B 00 01 01 02 05 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"},
        {{"set", "motion-wake", "off"}, {"MotionWakeup"},
         "0C 01 0C 00 01 01 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"},
        {{"set", "lighting", "breathing"}, {"Lighting1Name", "Lighting1ModeValue"},
         "0C 01 08 00 01 01 18 02 22 07 FF 00 00 00 FF 00 00 00 FF 00 FF FF FF FF 00 FF 00 FF FF FF FF 00 00"},
        {{"set", "lighting-colour", "1", "#112233"}, {"Lighting1FixedColor"}, nullptr},
        // Stored with the profile for the desktop, never sent.
        {{"set", "pointer-speed", "4"}, {"PointerSpeed"}, nullptr},
        {{"button", "3", "Ctrl+Shift+A"}, {"Key2Name", "Key2Value"},
         "0C 01 04 00 01 01 04 02 70 03 04 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"},
        // A game bound to the profile: a path is cut to its file name, nothing is sent.
        {{"profile", "games", "1", "set", "1", "/opt/games/factorio"}, {"GameFile0"}, nullptr},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string what = c.args[0] + " " + c.args[1];
        const fs::path data = FreshFolder("case" + std::to_string(n++));
        const auto before = Files(data);
        const CtlResult r = Ctl(data, c.args);
        ASSERT_EQ(r.exit, 0) << what << "\n" << r.err;
        const auto after = Files(data);
        EXPECT_EQ(after.at("config/config.ini"), before.at("config/config.ini")) << what;
        EXPECT_EQ(ChangedKeys(before.at("config/default0.psf"), after.at("config/default0.psf")), c.keys) << what;
        for (const char* other : {"config/default1.psf", "config/default2.psf"})
            EXPECT_EQ(after.at(other), before.at(other)) << what;
        const std::vector<std::string> writes = r.Writes();
        if (c.report) {
            ASSERT_EQ(writes.size(), 1u) << what << "\n" << r.err;
            EXPECT_EQ(writes[0], c.report) << what;
        } else {
            EXPECT_TRUE(writes.empty()) << what << "\n" << r.err;
        }
    }
}

TEST_F(CtlSet, ARefusedChangeExitsOneWithTheWindowsMessageAndChangesNoByte)
{
    // Only level 1 stays enabled in this folder.
    const fs::path oneLevel = FreshFolder("one-level");
    for (int level = 2; level <= 8; ++level)
        ASSERT_EQ(Ctl(oneLevel, {"set", "dpi-enabled", std::to_string(level), "off"}).exit, 0);

    struct Case {
        fs::path data;
        std::vector<std::string> args;
        int text;
    } cases[] = {
        {FreshFolder("left"), {"button", "1", "right"}, 151},
        {oneLevel, {"set", "dpi-enabled", "1", "off"}, 330},
        {FreshFolder("name"), {"macros", "add", "Mouse Macro Set", std::string(25, 'n')}, 240},
        {FreshFolder("range"), {"set", "polling", "300"}, 331},
    };
    for (const Case& c : cases) {
        const auto before = Files(c.data);
        const CtlResult r = Ctl(c.data, c.args);
        EXPECT_EQ(r.exit, 1) << c.args[1];
        EXPECT_NE(r.err.find(U16ToUtf8(UiText(c.text))), std::string::npos) << r.err;
        EXPECT_FALSE(UiText(c.text).empty());
        EXPECT_EQ(Files(c.data), before) << c.args[1];
        EXPECT_TRUE(r.Writes().empty()) << r.err;
    }
    // 24 characters are a name.
    const fs::path ok = FreshFolder("name24");
    EXPECT_EQ(Ctl(ok, {"macros", "add", "Mouse Macro Set", std::string(24, 'n')}).exit, 0);
    EXPECT_NE(Ctl(ok, {"macros", "list"}).out.find(std::string(24, 'n')), std::string::npos);
}

// A disk that fails a read, a FIFO where a profile belongs, a folder flush
// that fails after the rename: each is named, exits non-zero, and nothing
// reset or written costs a file that may be good.
TEST_F(CtlSet, FilesThatCannotBeReadOrSavedAreNamedAndNoFileIsReplaced)
{
    const fs::path data = FreshFolder("faults");
    ASSERT_EQ(Ctl(data, {"profile", "rename", "2", "Kept"}).exit, 0);
    const std::string profile2 = (data / "config/default1.psf").string();
    const auto before = Files(data);
    if (access("/usr/bin/strace", X_OK) != 0) GTEST_SKIP() << "strace is not installed (tools/setup.sh installs it)";
    prefix_ = {"/usr/bin/strace", "-f", "-o", "/dev/null", "-P", profile2, "-e", "trace=read", "-e",
               "inject=read:error=EIO"};
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"get"}, {"profile", "list"}, {"--profile", "2", "set", "dpi", "1", "3000"}}) {
        const CtlResult r = Ctl(data, args);
        EXPECT_EQ(r.exit, 1) << args[0] << ": " << r.err;
        EXPECT_NE(r.err.find(profile2 + ": Input/output error"), std::string::npos) << r.err;
        EXPECT_EQ(Files(data), before) << args[0];
    }

    prefix_ = {"/usr/bin/strace", "-f", "-o", "/dev/null", "-e", "trace=fsync", "-e", "inject=fsync:error=EIO:when=2"};
    EXPECT_EQ(Ctl(data, {"set", "wheel-page", "off"}).exit, 1) << "the folder flush after the rename failed";

    prefix_ = {"/usr/bin/timeout", "-s", "KILL", "2"};
    const fs::path fifo = FreshFolder("fifo");
    ASSERT_EQ(unlink((fifo / "config/default2.psf").c_str()), 0);
    ASSERT_EQ(mkfifo((fifo / "config/default2.psf").c_str(), 0600), 0);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"get"}, {"set", "wheel-page", "off"}}) {
        const CtlResult r = Ctl(fifo, args);
        EXPECT_EQ(r.exit, 1) << args[0] << " (137: still waiting on the FIFO after 2 s)";
        EXPECT_NE(r.err.find("default2.psf is not a regular file"), std::string::npos) << r.err;
    }
}

// Paths are bytes: a data folder whose name is no UTF-8 and holds a line
// feed keeps working, and the program reads back whatever it wrote there.
TEST_F(CtlSet, ADataFolderNamedWithAnyBytesRoundTripsAChange)
{
    const fs::path data = root_ / "odd\xff\nname";
    ASSERT_EQ(Ctl(data, {"set", "wheel-page", "on"}).exit, 0);
    CtlResult r = Ctl(data, {"--profile", "2", "set", "dpi", "1", "3000"});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_TRUE(fs::exists(data / "config/default1.psf"));
    r = Ctl(data, {"--profile", "2", "get", "dpi", "1"});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "dpi 1 3000\n");
    EXPECT_EQ(Ctl(data, {"get", "wheel-page"}).out, "wheel-page on\n");

    // A profile file named so goes out and comes back in.
    const std::string file = (data / "copy\xfe.psf").string();
    r = Ctl(data, {"profile", "export", "2", file});
    ASSERT_EQ(r.exit, 0) << r.err;
    r = Ctl(data, {"profile", "import", "3", file});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(Ctl(data, {"--profile", "3", "get", "dpi", "1"}).out, "dpi 1 3000\n");
}

}  // namespace

namespace {

// Milliseconds of the day from a time stamp "....T12:49:41.235Z".
long MsOfStamp(const std::string& line)
{
    const size_t t = line.find("T", line.find("\"time\""));
    const int h = std::stoi(line.substr(t + 1, 2)), m = std::stoi(line.substr(t + 4, 2));
    const int s = std::stoi(line.substr(t + 7, 2)), ms = std::stoi(line.substr(t + 10, 3));
    return ((h * 60L + m) * 60 + s) * 1000 + ms;
}

// Without a window the change is saved first and sent only once saved: a
// failed save leaves the mouse as the files are, and says so.
TEST_F(CtlSet, AChangeThatCannotBeSavedIsNotSentToTheMouse)
{
    if (access("/usr/bin/strace", X_OK) != 0) GTEST_SKIP() << "strace makes the save fail";
    const fs::path data = FreshFolder("unsaved");
    const auto before = Files(data);
    const CtlResult failed = Ctl(data, {"set", "dpi", "1", "1200"},
                                 {"/usr/bin/strace", "-f", "-o", "/dev/null", "-e", "inject=fsync:error=EIO"});
    EXPECT_EQ(failed.exit, 1) << failed.err;
    EXPECT_TRUE(failed.Writes().empty()) << failed.err;
    EXPECT_NE(failed.err.find(U16ToUtf8(UiText(440))), std::string::npos) << failed.err;
    EXPECT_EQ(Files(data), before);

    const CtlResult saved = Ctl(data, {"set", "dpi", "1", "1200"});
    EXPECT_EQ(saved.exit, 0) << saved.err;
    EXPECT_EQ(saved.Writes().size(), 1u) << saved.err;
}

TEST_F(CtlSet, WatchPrintsTheMousesEventsInOrderAndInTimeThroughAnUnplug)
{
    const fs::path data = FreshFolder("watch");
    struct Step {
        const char* sim;
        const char* event;  // what the line says
        int atMs;
    } steps[] = {
        {"dpi", "\"event\":\"dpi\",\"level\":1,\"dpi\":", 300},
        {"polling=2", "\"event\":\"polling\",\"rateHz\":500", 400},
        {"unplug", "\"event\":\"removed\",\"product\":\"cable\"", 600},
        {"plug", "\"event\":\"arrived\",\"product\":\"cable\"", 900},
        {"dpi", "\"event\":\"dpi\",\"level\":1,\"dpi\":", 1200},
    };
    std::string script;
    for (const Step& s : steps) script += std::string(s.sim) + "@" + std::to_string(s.atMs) + ",";
    const CtlResult r = Ctl(data, {"--json", "--sim-events", script + "stop@1400", "watch"});
    ASSERT_EQ(r.exit, 0) << r.err;
    std::vector<std::string> lines;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), std::size(steps)) << r.out;
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].rfind("{\"version\":1,\"time\":\"", 0), 0u) << lines[i];
        EXPECT_NE(lines[i].find(steps[i].event), std::string::npos) << lines[i];
        // Each line comes within 50 ms of its event, measured from the first.
        const long late = (MsOfStamp(lines[i]) - MsOfStamp(lines[0])) - (steps[i].atMs - steps[0].atMs);
        EXPECT_LT(std::abs(late), 50) << lines[i];
    }
}

}  // namespace

namespace {

TEST_F(CtlSet, ProductChoosesWhichOfBothAnswersAndStatusSaysWhich)
{
    const struct {
        std::vector<std::string> choice;
        const char* answered;
    } cases[] = {{{}, "cable"}, {{"--product", "receiver"}, "receiver"}, {{"--product", "cable"}, "cable"}};
    for (const auto& c : cases) {
        std::vector<std::string> args{"--sim-products", "AB", "--json"};
        args.insert(args.end(), c.choice.begin(), c.choice.end());
        args.push_back("status");
        const CtlResult r = Ctl(root_ / "data", args);
        ASSERT_EQ(r.exit, 0) << r.err;
        EXPECT_NE(r.out.find(std::string("\"product\":\"") + c.answered + "\""), std::string::npos) << r.out;
    }
}

}  // namespace
