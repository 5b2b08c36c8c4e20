// The hidraw path against a real Linux kernel. Runs only inside the guest
// that run_guest.sh boots (as root, with udevd running and the project's udev
// rule installed): the uhid mouse serves the simulated mouse's protocol to the
// kernel, and tevlanctl, the hidraw backend and the device library meet it
// through /dev/hidraw*. Each test is one scenario with its own mouse; the
// guest's udev is settled between them.
#include "uhid_mouse.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

#include "device/input_listener.h"
#include "macros/macro_library_file.h"
#include "persist/language_file.h"
#include "persist/profile_file.h"
#include "platform/clock/clock.h"
#include "platform/hid/traced_backend.h"
#include "platform/hidraw/hidraw_backend.h"
#include "platform/hidraw/hidraw_device.h"
#include "platform/sim/sim_mouse.h"
#include "profile/profile_record.h"

#include <linux/hidraw.h>
#include <linux/uhid.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using kerneltest::UhidMouse;
using platform::SimProduct;

namespace {

constexpr uid_t kNobody = 65534;

int64_t NowMs() { return platform::SteadyClock().NowMs(); }

std::string ReadFile(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

int Shell(const std::string& command) { return std::system(command.c_str()); }
void Settle() { Shell("udevadm settle --timeout=30"); }

struct Proc {
    int exit = -1;  // -2: killed after the timeout
    std::string out, err;
    int64_t endMs = 0;     // steady-clock time the process was seen to end
    int64_t elapsedMs = 0;
};

// Runs argv with the given user's ids and a clean environment; output goes
// through files in `dir` (which that user can write).
Proc RunProcess(const std::vector<std::string>& argv, const fs::path& dir, uid_t uid = 0, int timeoutMs = 20000) {
    const fs::path outPath = dir / "stdout", errPath = dir / "stderr";
    const std::string home = "HOME=" + dir.string();
    const std::string xdg = "XDG_CONFIG_HOME=" + (dir / "xdg").string();
    const int64_t start = NowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        const int o = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        const int e = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        dup2(o, 1);
        dup2(e, 2);
        if (uid != 0 && (setgroups(0, nullptr) != 0 || setgid(uid) != 0 || setuid(uid) != 0)) _exit(126);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        char path[] = "PATH=/usr/bin:/bin";
        char* env[] = {const_cast<char*>(home.c_str()), const_cast<char*>(xdg.c_str()), path, nullptr};
        execve(args[0], args.data(), env);
        _exit(127);
    }
    Proc r;
    int status = 0;
    for (;;) {
        const pid_t w = waitpid(pid, &status, WNOHANG);
        if (w == pid) break;
        if (NowMs() - start > timeoutMs) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            r.exit = -2;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    r.endMs = NowMs();
    r.elapsedMs = r.endMs - start;
    if (r.exit != -2) r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = ReadFile(outPath);
    r.err = ReadFile(errPath);
    return r;
}

// The W and R lines of a --trace run, in order.
std::string FeatureTrace(const std::string& err) {
    std::istringstream in(err);
    std::string line, text;
    while (std::getline(in, line))
        if (line.rfind("W ", 0) == 0 || line.rfind("R ", 0) == 0) text += line + "\n";
    return text;
}

std::vector<uint8_t> Bytes(const std::string& hex) {
    std::vector<uint8_t> v;
    std::istringstream in(hex);
    std::string b;
    while (in >> b) v.push_back(uint8_t(std::stoul(b, nullptr, 16)));
    return v;
}

// The hidraw nodes of a product, in the order its devices were created (the
// HID device numbers grow with every creation, hidraw minors are reused).
std::vector<std::string> Nodes(SimProduct product) {
    std::vector<std::pair<unsigned long, std::string>> found;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator("/sys/class/hidraw", ec)) {
        const std::string hid = fs::read_symlink(e.path() / "device", ec).filename().string();
        if (ec || hid.rfind(kerneltest::HidNamePrefix(product) + ".", 0) != 0) continue;
        found.push_back({std::stoul(hid.substr(hid.find('.') + 1), nullptr, 16), "/dev/" + e.path().filename().string()});
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> nodes;
    for (auto& f : found) nodes.push_back(f.second);
    return nodes;
}

// Waits for the kernel (not udev) to create the product's three nodes.
bool WaitForNodes(SimProduct product, size_t count = 3, int timeoutMs = 10000) {
    const int64_t end = NowMs() + timeoutMs;
    while (NowMs() < end) {
        const auto nodes = Nodes(product);
        if (nodes.size() == count &&
            std::all_of(nodes.begin(), nodes.end(), [](const std::string& n) { return fs::exists(n); }))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

class Kernel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(tmp_.Path().empty());
        dir_ = tmp_.Path();
        data_ = dir_ / "data";
        fs::create_directories(data_ / "config");
        fs::create_directories(dir_ / "xdg");
        // The unprivileged runs write their output here too.
        for (const fs::path& p : {dir_, data_, data_ / "config", dir_ / "xdg"}) chmod(p.c_str(), 0777);
        LoadLanguage(TEVLAN_BINARY_DIR, data_.string(), 1.0);
    }
    // The removal events are settled by the next scenario's first plug.
    void TearDown() override { mouse_.reset(); }

    UhidMouse& Plug(std::initializer_list<SimProduct> products, bool settle = true) {
        if (!mouse_) mouse_ = std::make_unique<UhidMouse>(clock_);
        for (SimProduct p : products) {
            std::string error;
            EXPECT_TRUE(mouse_->Plug(p, &error)) << error;
            EXPECT_TRUE(WaitForNodes(p)) << "the kernel made no hidraw nodes";
        }
        if (settle) Settle();
        return *mouse_;
    }

    Proc Ctl(std::vector<std::string> args, uid_t uid = 0, int timeoutMs = 20000) {
        args.insert(args.begin(), {TEVLANCTL_PATH, "--data-dir", data_.string()});
        return RunProcess(args, dir_, uid, timeoutMs);
    }

    // A profile that differs from the reset one where the mouse can show it:
    // a DPI colour, and a button playing a macro of the library.
    fs::path WriteProfileWithMacro() {
        MacroLibrary library;
        library.AppendSet(u"Mouse Macro Set");
        MacroSet& set = *library.SetAt(0);
        library.AppendMacro(set, u"Copy");
        MacroKey& copy = *library.MacroAt(set, 0);
        copy.InsertAction(0, MacroAction::Key(0x41, false));
        copy.InsertAction(1, MacroAction::Pause(50));
        copy.InsertAction(2, MacroAction::Key(0x41, true));
        copy.commandActionNum = 2;
        copy.loopNum = 3;
        EXPECT_TRUE(WriteMacroLibraryFile(library, (data_ / "config" / "MacroLibraryFile.mlf").string()));
        ProfileRecord p;
        ResetProfileToDefaults(p, 0);
        p.DPILevelIndication[0] = Rgb(0x12, 0x34, 0x56);
        p.buttons[4].label = u"Macro:Copy";  // device button 3
        p.buttons[4].macro.name = u"Copy";
        p.buttons[4].code = {0x90, 0x00, 0x00};
        const fs::path file = dir_ / "macro.psf";
        EXPECT_TRUE(WriteProfileRecord(p, file.string()));
        return file;
    }

    fs::path WriteResetProfile() {
        ProfileRecord p;
        ResetProfileToDefaults(p, 0);
        const fs::path file = dir_ / "reset.psf";
        EXPECT_TRUE(WriteProfileRecord(p, file.string()));
        return file;
    }

    platform::SteadyClock clock_;
    TempFolder tmp_{"tvl-kernel-"};
    fs::path dir_, data_;
    std::unique_ptr<UhidMouse> mouse_;
};

std::string ListEntry(const std::string& node, const char* product, int in, int feature, const char* role) {
    return std::string("{\"path\":\"") + node + "\",\"product\":\"" + product + "\",\"inputReportLength\":" +
           std::to_string(in) + ",\"featureReportLength\":" + std::to_string(feature) + ",\"role\":\"" + role + "\"}";
}

long NodeNumber(const std::string& node) { return std::stol(node.substr(node.find_last_not_of("0123456789") + 1)); }

// --- discovery ------------------------------------------------------------------

TEST_F(Kernel, DiscoveryListsBothProductsWithTheRolesOfTheirInterfaces) {
    Plug({SimProduct::A, SimProduct::B});
    std::vector<std::pair<long, std::string>> entries;
    for (SimProduct p : {SimProduct::A, SimProduct::B}) {
        const auto nodes = Nodes(p);
        ASSERT_EQ(nodes.size(), 3u);
        const char* id = p == SimProduct::A ? "0x5B2E" : "0x5B2F";
        entries.push_back({NodeNumber(nodes[0]), ListEntry(nodes[0], id, 5, 0, "ignored")});
        entries.push_back({NodeNumber(nodes[1]), ListEntry(nodes[1], id, 33, 0, "input")});
        entries.push_back({NodeNumber(nodes[2]), ListEntry(nodes[2], id, 0, 33, "feature")});
    }
    std::sort(entries.begin(), entries.end());
    std::string expected = "{\"version\":1,\"interfaces\":[";
    for (size_t i = 0; i < entries.size(); ++i) expected += (i ? "," : "") + entries[i].second;
    expected += "]}\n";
    const Proc r = Ctl({"--json", "list"});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, expected);
}

TEST_F(Kernel, DiscoverySkipsANodeUdevHasNotInitialisedAndTakesItOnceSettled) {
    Settle();
    ASSERT_EQ(Shell("udevadm control --stop-exec-queue"), 0);
    Plug({SimProduct::A}, false);
    const Proc early = Ctl({"--json", "list"});
    ASSERT_EQ(Shell("udevadm control --start-exec-queue"), 0);
    Settle();
    EXPECT_EQ(early.exit, 3) << early.out << early.err;
    EXPECT_EQ(early.out.find("/dev/hidraw"), std::string::npos) << early.out;

    const Proc settled = Ctl({"--json", "list"});
    EXPECT_EQ(settled.exit, 0) << settled.err;
    for (const std::string& node : Nodes(SimProduct::A))
        EXPECT_NE(settled.out.find("\"" + node + "\""), std::string::npos) << node << " in " << settled.out;
}

// --- apply ----------------------------------------------------------------------

TEST_F(Kernel, ApplyLeavesTheProfileOnTheMouseWithTheSimulatorsReportsByteForByte) {
    const fs::path file = WriteProfileWithMacro();
    UhidMouse& mouse = Plug({SimProduct::A});
    const Proc real = Ctl({"--trace", "apply", file.string()});
    ASSERT_EQ(real.exit, 0) << real.err;
    const Proc sim = Ctl({"--device", "sim", "--trace", "apply", file.string()});
    ASSERT_EQ(sim.exit, 0) << sim.err;

    const std::string expected = FeatureTrace(sim.err);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(mouse.TraceText(), expected) << "what reached the mouse through the kernel";
    EXPECT_EQ(FeatureTrace(real.err), expected) << "what tevlanctl traced on the real backend";

    // The same reports decoded by an in-process simulated mouse.
    platform::VirtualClock virtualClock;
    platform::SimMouse reference(virtualClock);
    auto handle = reference.Open(platform::SimPath(SimProduct::A, platform::SimInterface::Feature), nullptr);
    ASSERT_TRUE(handle);
    std::istringstream lines(expected);
    for (std::string line; std::getline(lines, line);)
        if (line[0] == 'W') {
            const auto bytes = Bytes(line.substr(2));
            handle->SetFeature(bytes.data(), bytes.size());
        }
    const platform::SimDeviceState state = mouse.Sim().State();
    EXPECT_EQ(kerneltest::DescribeState(state), kerneltest::DescribeState(reference.State()));

    // And what the profile says, where it differs from the mouse's reset state.
    EXPECT_EQ(state.rejectedWrites, 0);
    EXPECT_EQ(state.sequenceBreaks, 0);
    ASSERT_TRUE(state.dpiColours);
    EXPECT_EQ((*state.dpiColours)[0], (std::array<uint8_t, 3>{0x12, 0x34, 0x56}));
    ASSERT_TRUE(state.buttons[3]);
    EXPECT_EQ(*state.buttons[3], (std::array<uint8_t, 3>{0x90, 0x21, 0x03})) << "macro 1, loop type 2, 3 times";
    ASSERT_EQ(state.macros.count(1), 1u);
    const auto steps = state.macros.at(1).Steps();
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].pauseMs, 50);
    EXPECT_EQ(steps[0].value, 0x04);
    EXPECT_TRUE(steps[1].release);
}

// Pacing: 60 ms after each report. The time is printed for the record; the
// upper bound leaves room for a loaded machine running the guest without
// hardware acceleration.
TEST_F(Kernel, ApplyTimeOfAFullProfileAgainstThePacingFloor) {
    const fs::path file = WriteResetProfile();
    UhidMouse& mouse = Plug({SimProduct::A});
    const Proc r = Ctl({"apply", file.string()});
    ASSERT_EQ(r.exit, 0) << r.err;
    const std::vector<int64_t> times = mouse.WriteTimes();
    ASSERT_EQ(times.size(), 16u);
    const int64_t floorMs = 16 * 60;
    int64_t shortest = 1 << 30;
    for (size_t i = 1; i < times.size(); ++i) shortest = std::min(shortest, times[i] - times[i - 1]);
    // From the first report reaching the mouse to the end of the last pause.
    const int64_t paced = r.endMs - times.front();
    const int64_t span = times.back() - times.front() + 60;
    std::printf("apply time: %lld ms from the first report to the last one's pause (%+.1f %% against the %lld ms "
                "floor), %lld ms to the end of tevlanctl, %lld ms for the whole process; gaps between reports %lld "
                "ms shortest, %.1f ms mean\n",
                (long long)span, 100.0 * double(span - floorMs) / double(floorMs), (long long)floorMs,
                (long long)paced, (long long)r.elapsedMs, (long long)shortest,
                double(times.back() - times.front()) / double(times.size() - 1));
    EXPECT_GE(shortest, 55) << "reports closer together than the pacing allows";
    EXPECT_GE(paced, floorMs - 60);
    EXPECT_LT(paced, floorMs * 3 / 2);
}

// --- status and factory reset -----------------------------------------------------

TEST_F(Kernel, StatusShowsTheBatteryTheMouseReportsAndResetReachesIt) {
    UhidMouse& mouse = Plug({SimProduct::A});
    struct Case {
        int battery, charge;
        const char* json;
    } cases[] = {
        {55, 0, R"({"version":1,"sensor":"0x3325","sensorCode":37,"battery":55,"charge":"none","product":"cable"})"},
        {40, 1, R"({"version":1,"sensor":"0x3325","sensorCode":37,"battery":40,"charge":"charging","product":"cable"})"},
        {40, 2, R"({"version":1,"sensor":"0x3325","sensorCode":37,"battery":100,"charge":"full","product":"cable"})"},
    };
    for (const Case& c : cases) {
        mouse.Sim().SetStatus({0x25, uint8_t(c.battery), uint8_t(c.charge)});
        const Proc r = Ctl({"--json", "status"});
        EXPECT_EQ(r.exit, 0) << r.err;
        EXPECT_EQ(r.out, std::string(c.json) + "\n");
    }
    const Proc reset = Ctl({"reset"});
    EXPECT_EQ(reset.exit, 0) << reset.err;
    EXPECT_EQ(mouse.Sim().State().factoryResets, 1);
    EXPECT_EQ(mouse.Sim().State().statusRequests, 3);
    EXPECT_EQ(mouse.Sim().State().rejectedWrites, 0);
}

// --- input reports -------------------------------------------------------------

TEST_F(Kernel, DpiButtonReportsReachTheListenerAndRemovalEndsIt) {
    UhidMouse& mouse = Plug({SimProduct::A});
    platform::HidrawBackend backend(clock_);
    std::string input;
    for (const auto& i : backend.Enumerate())
        if (i.productId == platform::kSimProductA && i.inputReportLength == 33) input = i.path;
    ASSERT_FALSE(input.empty());
    std::string error;
    auto device = backend.Open(input, &error);
    ASSERT_TRUE(device) << error;

    // Three enabled DPI levels, the first one current.
    const auto feature = Nodes(SimProduct::A)[2];
    auto writer = backend.Open(feature, &error);
    ASSERT_TRUE(writer) << error;
    std::vector<uint8_t> dpi = Bytes("0C 01 05 00 01 01 12 13 07 0F 00 17 00 1F 00");
    dpi.resize(33, 0);
    ASSERT_TRUE(writer->SetFeature(dpi.data(), dpi.size())) << writer->LastError();

    std::mutex mu;
    std::condition_variable cv;
    std::vector<std::pair<int, int>> seen;
    bool ended = false;
    InputListener listener;
    listener.Start(
        std::move(device), 33,
        [&](uint8_t interval, uint8_t ordinal) {
            std::lock_guard<std::mutex> lock(mu);
            seen.push_back({interval, ordinal});
            cv.notify_all();
        },
        [&] {
            std::lock_guard<std::mutex> lock(mu);
            ended = true;
            cv.notify_all();
        });
    ASSERT_TRUE(mouse.Sim().PressDpiButton(SimProduct::A));
    ASSERT_TRUE(mouse.Sim().ChangePolling(SimProduct::A, 2));
    ASSERT_TRUE(mouse.Sim().PressDpiButton(SimProduct::A));
    {
        std::unique_lock<std::mutex> lock(mu);
        cv.wait_for(lock, std::chrono::seconds(5), [&] { return seen.size() >= 3; });
        EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{1, 2}, {2, 2}, {2, 3}}));
    }
    const int64_t unplugged = NowMs();
    mouse.Unplug(SimProduct::A);
    std::unique_lock<std::mutex> lock(mu);
    EXPECT_TRUE(cv.wait_for(lock, std::chrono::seconds(5), [&] { return ended; })) << "the listener never ended";
    std::printf("listener ended %lld ms after the unplug\n", (long long)(NowMs() - unplugged));
    lock.unlock();
    listener.Stop();  // joins; cancels a listener that missed the removal
}

// --- removal --------------------------------------------------------------------

TEST_F(Kernel, UnplugDuringAnApplyEndsItWithExitFourWithinASecond) {
    const fs::path file = WriteResetProfile();
    struct Case {
        int write;
        bool beforeAnswer;
    } cases[] = {{1, true}, {8, false}, {16, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE("unplug at write " + std::to_string(c.write) + (c.beforeAnswer ? " before" : " after") +
                     " its answer");
        UhidMouse& mouse = Plug({SimProduct::A});
        mouse.UnplugOnWrite(SimProduct::A, c.write, c.beforeAnswer);
        const Proc r = Ctl({"apply", file.string()}, 0, 10000);
        ASSERT_TRUE(mouse.UnpluggedByWrite()) << r.err;
        EXPECT_EQ(r.exit, 4) << r.err;
        EXPECT_NE(r.err.find("removed"), std::string::npos) << r.err;
        const int64_t after = r.endMs - mouse.UnplugTimeMs();
        std::printf("unplug at write %d: tevlanctl ended %lld ms later\n", c.write, (long long)after);
        EXPECT_LT(after, 1000);
        mouse_.reset();
    }
}

TEST_F(Kernel, UnplugAndReplugAreReportedByTheMonitorAndTheNextCommandWorks) {
    // Earlier scenarios' removals must not reach the monitor.
    Settle();
    // Declared before the backend, whose monitor thread uses them until it ends.
    std::mutex mu;
    std::condition_variable cv;
    std::vector<std::pair<bool, std::string>> events;
    platform::HidrawBackend backend(clock_);
    backend.SetChangeCallback([&](bool arrived, const std::string& path) {
        std::lock_guard<std::mutex> lock(mu);
        events.push_back({arrived, path});
        cv.notify_all();
    });
    auto waitFor = [&](size_t n) {
        std::unique_lock<std::mutex> lock(mu);
        return cv.wait_for(lock, std::chrono::seconds(10), [&] { return events.size() >= n; });
    };
    auto sorted = [](std::vector<std::pair<bool, std::string>> v) {
        std::sort(v.begin(), v.end());
        return v;
    };
    UhidMouse& mouse = Plug({SimProduct::A});
    auto nodes = Nodes(SimProduct::A);
    ASSERT_TRUE(waitFor(3));
    std::vector<std::pair<bool, std::string>> expected;
    for (const auto& n : nodes) expected.push_back({true, n});
    EXPECT_EQ(sorted({events.begin(), events.begin() + 3}), sorted(expected));

    // What the node does when the mouse goes: a write the mouse never
    // answers, then every call on the fd, must fail with an errno the
    // backend takes for "removed".
    const int fd = open(nodes[2].c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    std::vector<uint8_t> report = Bytes("0C 01 20 00 01 00 00");
    report.resize(33, 0);
    mouse.UnplugOnWrite(SimProduct::A, 1, true);
    const int64_t unplugged = NowMs();
    const int pending = ioctl(fd, HIDIOCSFEATURE(33), report.data()) < 0 ? errno : 0;
    ASSERT_TRUE(mouse.UnpluggedByWrite());
    pollfd pfd{fd, POLLIN, 0};
    const int polled = poll(&pfd, 1, 2000);
    const int64_t hangUp = NowMs();
    const int afterRead = read(fd, report.data(), report.size()) < 0 ? errno : 0;
    const int afterGet = ioctl(fd, HIDIOCGFEATURE(33), report.data()) < 0 ? errno : 0;
    const int afterSet = ioctl(fd, HIDIOCSFEATURE(33), report.data()) < 0 ? errno : 0;
    close(fd);
    std::printf("unplug: unanswered write errno %d (%s), poll %d revents 0x%x after %lld ms, then read errno %d "
                "(%s), get feature %d (%s), set feature %d (%s)\n",
                pending, strerrorname_np(pending), polled, pfd.revents, (long long)(hangUp - unplugged), afterRead,
                strerrorname_np(afterRead), afterGet, strerrorname_np(afterGet), afterSet, strerrorname_np(afterSet));
    EXPECT_TRUE(platform::IsGoneErrno(pending)) << pending;
    EXPECT_TRUE(pfd.revents & (POLLHUP | POLLERR)) << pfd.revents;
    for (int err : {afterRead, afterGet, afterSet}) EXPECT_TRUE(platform::IsGoneErrno(err)) << err;
    ASSERT_TRUE(waitFor(6));
    std::printf("removal reported %lld ms after the unplug\n", (long long)(NowMs() - unplugged));
    expected.clear();
    for (const auto& n : nodes) expected.push_back({false, n});
    EXPECT_EQ(sorted({events.begin() + 3, events.begin() + 6}), sorted(expected));

    mouse.Plug(SimProduct::A);
    ASSERT_TRUE(WaitForNodes(SimProduct::A));
    ASSERT_TRUE(waitFor(9));
    nodes = Nodes(SimProduct::A);
    expected.clear();
    for (const auto& n : nodes) expected.push_back({true, n});
    EXPECT_EQ(sorted({events.begin() + 6, events.begin() + 9}), sorted(expected));
    backend.SetChangeCallback(nullptr);

    Settle();
    const Proc r = Ctl({"--json", "status"});
    EXPECT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(mouse.Sim().State().statusRequests, 1);
}

// --- permissions ------------------------------------------------------------------

TEST_F(Kernel, AnUnprivilegedUserGetsThePermissionMessageAndExitFour) {
    Plug({SimProduct::A});
    const std::string feature = Nodes(SimProduct::A)[2];
    const Proc status = Ctl({"status"}, kNobody);
    EXPECT_EQ(status.exit, 4) << status.out << status.err;
    EXPECT_NE(status.err.find("No permission to open /dev/hidraw"), std::string::npos) << status.err;
    EXPECT_NE(status.err.find("70-tevlan.rules"), std::string::npos) << status.err;
    // What udev and sysfs tell is enough to list the mouse, and to say why
    // its interfaces are not used.
    const Proc list = Ctl({"--json", "list"}, kNobody);
    EXPECT_EQ(list.exit, 4) << list.out << list.err;
    EXPECT_NE(list.out.find(ListEntry(feature, "0x5B2E", 0, 33, "ignored")), std::string::npos) << list.out;
    EXPECT_NE(list.err.find("No permission to open " + feature), std::string::npos) << list.err;
}

// Creates one bare uhid device (a vendor input collection) for another product.
struct OtherDevice {
    explicit OtherDevice(uint16_t vendor, uint16_t product) {
        fd = open("/dev/uhid", O_RDWR | O_CLOEXEC);
        uhid_event ev{};
        ev.type = UHID_CREATE2;
        std::snprintf(reinterpret_cast<char*>(ev.u.create2.name), sizeof ev.u.create2.name, "Other device");
        const uint8_t rd[] = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF,
                              0x00, 0x75, 0x08, 0x95, 0x08, 0x09, 0x01, 0x81, 0x02, 0xC0};
        std::copy(std::begin(rd), std::end(rd), ev.u.create2.rd_data);
        ev.u.create2.rd_size = sizeof rd;
        ev.u.create2.bus = 0x03;
        ev.u.create2.vendor = vendor;
        ev.u.create2.product = product;
        ok = fd >= 0 && write(fd, &ev, sizeof ev) == ssize_t(sizeof ev);
    }
    ~OtherDevice() {
        if (fd >= 0) close(fd);
    }
    int fd = -1;
    bool ok = false;
};

bool HasUaccessTag(const std::string& node) {
    FILE* p = popen(("udevadm info --query=property --name=" + node).c_str(), "r");
    if (!p) return false;
    std::string text;
    char buf[512];
    while (fgets(buf, sizeof buf, p)) text += buf;
    pclose(p);
    return text.find("\nTAGS=") != std::string::npos && text.find(":uaccess:") != std::string::npos;
}

TEST_F(Kernel, TheUdevRuleTagsEveryNodeOfBothProductsAndNoOtherForTheSeatUser) {
    Plug({SimProduct::A, SimProduct::B});
    OtherDevice other(0x248A, 0x1234);
    ASSERT_TRUE(other.ok);
    const std::string prefix = "0003:248A:1234.";
    std::string otherNode;
    for (int i = 0; i < 100 && otherNode.empty(); ++i) {
        std::error_code ec;
        for (const auto& e : fs::directory_iterator("/sys/class/hidraw", ec))
            if (fs::read_symlink(e.path() / "device", ec).filename().string().rfind(prefix, 0) == 0)
                otherNode = "/dev/" + e.path().filename().string();
        if (otherNode.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_FALSE(otherNode.empty());
    Settle();
    for (SimProduct p : {SimProduct::A, SimProduct::B}) {
        for (const std::string& node : Nodes(p)) {
            EXPECT_TRUE(HasUaccessTag(node)) << node;
        }
    }
    EXPECT_FALSE(HasUaccessTag(otherNode)) << "a product of the same vendor that is not the mouse";
}

// Right after an arrival the node may still lack the access the rule gives;
// the backend then retries EACCES briefly. The unprivileged side runs in a
// child process (this same program, see main) that waits for the arrival
// through the backend's monitor and opens the node at once.
TEST_F(Kernel, OpenRetriesEaccesShortlyAfterAnArrivalAndNotOtherwise) {
    // B was there before: not recently arrived.
    Plug({SimProduct::B});
    const std::string old = Nodes(SimProduct::B)[2];

    int toParent[2];
    ASSERT_EQ(pipe(toParent), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        close(toParent[0]);
        dup2(toParent[1], 1);
        const std::string self = fs::read_symlink("/proc/self/exe").string();
        execl(self.c_str(), self.c_str(), "--open-after-arrival", old.c_str(), nullptr);
        _exit(127);
    }
    close(toParent[1]);
    FILE* child = fdopen(toParent[0], "r");
    auto readLine = [&] {
        char buf[1024] = {};
        return fgets(buf, sizeof buf, child) ? std::string(buf) : std::string();
    };
    ASSERT_EQ(readLine(), "listening\n");
    Plug({SimProduct::A});
    // Give the node to everybody only a while after udev is done with it,
    // as a late permission change would.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    for (const std::string& n : Nodes(SimProduct::A)) {
        chmod(n.c_str(), 0666);
    }
    const std::string arrived = readLine();
    const std::string notArrived = readLine();
    fclose(child);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_EQ(arrived.rfind("opened after ", 0), 0u) << arrived;
    EXPECT_GE(std::stoi(arrived.substr(13)), 100) << "opened before the node was given to everybody?";
    EXPECT_EQ(notArrived.rfind("refused after ", 0), 0u) << notArrived;
    EXPECT_NE(notArrived.find("No permission"), std::string::npos) << notArrived;
    if (notArrived.rfind("refused after ", 0) == 0) {
        EXPECT_LT(std::stoi(notArrived.substr(14)), 300) << "no retries for a node that did not just arrive";
    }
}

// The child of the test above, as nobody: waits for the first arrival, opens
// it, then opens `old`; prints one line for each.
int OpenAfterArrival(const std::string& old) {
    if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) return 126;
    platform::SteadyClock clock;
    std::mutex mu;
    std::condition_variable cv;
    std::string arrived;
    platform::HidrawBackend backend(clock);
    backend.SetChangeCallback([&](bool added, const std::string& path) {
        std::lock_guard<std::mutex> lock(mu);
        if (added && arrived.empty()) arrived = path;
        cv.notify_all();
    });
    std::printf("listening\n");
    std::fflush(stdout);
    std::unique_lock<std::mutex> lock(mu);
    if (!cv.wait_for(lock, std::chrono::seconds(20), [&] { return !arrived.empty(); })) {
        std::printf("no arrival\n");
        return 1;
    }
    const std::string node = arrived;
    lock.unlock();
    for (const std::string& path : {node, old}) {
        std::string error;
        const int64_t start = clock.NowMs();
        const bool ok = backend.Open(path, &error) != nullptr;
        const long long ms = clock.NowMs() - start;
        for (char& c : error)
            if (c == '\n') c = ' ';
        std::printf("%s after %lld ms %s\n", ok ? "opened" : "refused", ms, error.c_str());
        std::fflush(stdout);
    }
    backend.SetChangeCallback(nullptr);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--open-after-arrival") return OpenAfterArrival(argv[2]);
    if (std::getenv("TEVLAN_KERNEL_GUEST") == nullptr) {
        std::fprintf(stderr, "kernel_scenarios creates devices through /dev/uhid and changes udev's state: it runs "
                             "only in the guest tests/kernel/run_guest.sh boots\n");
        return 77;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
