#include "platform/hidraw/hidraw_backend.h"
#include "platform/hidraw/hidraw_device.h"

#include "platform/clock/clock.h"

#include <gtest/gtest.h>

#include <sys/socket.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

using namespace platform;

namespace {

using Bytes = std::vector<uint8_t>;

TEST(HidrawPaths, CollectionSuffixRoundTrips) {
    EXPECT_EQ(InterfacePath("/dev/hidraw3", 0, 1), "/dev/hidraw3");
    EXPECT_EQ(InterfacePath("/dev/hidraw3", 2, 3), "/dev/hidraw3#2");
    std::string node;
    size_t index = 9;
    ASSERT_TRUE(SplitInterfacePath("/dev/hidraw3#2", &node, &index));
    EXPECT_EQ(node + "/" + std::to_string(index), "/dev/hidraw3/2");
    ASSERT_TRUE(SplitInterfacePath("/dev/hidraw12", &node, &index));
    EXPECT_EQ(node + "/" + std::to_string(index), "/dev/hidraw12/0");
    for (const char* bad : {"/dev/hidraw3#", "/dev/hidraw3#x1", "/dev/hidraw3#99999999999999999999"})
        EXPECT_FALSE(SplitInterfacePath(bad, &node, &index)) << bad;
}

TEST(HidrawPaths, PermissionMessageNamesTheNode) {
    EXPECT_NE(PermissionMessage("/dev/hidraw4").find("/dev/hidraw4"), std::string::npos);
}

TEST(HidrawRule, GrantsTheLoggedInUserBothProducts) {
    std::ifstream f(std::string(TEVLAN_SOURCE_DIR) + "/data/70-tevlan.rules");
    ASSERT_TRUE(f);
    std::stringstream s;
    s << f.rdbuf();
    const std::string rules = s.str();
    // Matched on the HID parent (bus 0003 = USB), which the kernel tests' uhid mouse has too.
    for (const char* product : {"5B2E", "5B2F"}) {
        const std::string line = std::string("KERNEL==\"hidraw*\", SUBSYSTEM==\"hidraw\", KERNELS==\"0003:248A:") +
                                 product + ".*\", TAG+=\"uaccess\"";
        EXPECT_NE(rules.find(line), std::string::npos) << product;
    }
}

TEST(HidrawBackend, EnumerateListsOnlyWhatIsThere) {
    SteadyClock clock;
    HidrawBackend backend(clock);
    const auto list = backend.Enumerate();
    size_t nodes = 0;
    for (const auto& e : std::filesystem::directory_iterator("/dev"))
        if (e.path().filename().string().rfind("hidraw", 0) == 0) ++nodes;
    if (nodes == 0) {
        EXPECT_TRUE(list.empty());
    }
    for (const auto& i : list) {
        EXPECT_EQ(i.path.rfind("/dev/hidraw", 0), 0u) << i.path;
        EXPECT_NE(i.inputReportLength, 1);
        EXPECT_NE(i.featureReportLength, 1);
    }
}

TEST(HidrawBackend, OpeningWhatIsNotAMouseGivesAClearError) {
    VirtualClock clock;
    HidrawBackend backend(clock);
    std::string error;
    EXPECT_EQ(backend.Open("/dev/hidraw-not-there", &error), nullptr);
    EXPECT_NE(error.find("/dev/hidraw-not-there"), std::string::npos);
    EXPECT_NE(error.find("not there"), std::string::npos);
    EXPECT_EQ(clock.NowMs(), 0);  // no retries for a node that never arrived

    error.clear();
    EXPECT_EQ(backend.Open("/dev/null", &error), nullptr);
    EXPECT_NE(error.find("report descriptor"), std::string::npos) << error;

    error.clear();
    EXPECT_EQ(backend.Open("/dev/hidraw0#one", &error), nullptr);
    EXPECT_FALSE(error.empty());
}

TEST(HidrawBackend, MonitorStartsAndStops) {
    SteadyClock clock;
    HidrawBackend backend(clock);
    backend.SetChangeCallback([](bool, const std::string&) {});
    backend.SetChangeCallback(nullptr);
    backend.SetChangeCallback([](bool, const std::string&) {});
    // The destructor stops the running monitor.
}

// A SOCK_SEQPACKET pair stands in for a hidraw node: one message per report,
// poll and hang-up behave as on the node.
struct FakeNode {
    FakeNode() { EXPECT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds), 0); }
    ~FakeNode() {
        if (fds[1] >= 0) close(fds[1]);
    }
    UniqueFd TakeDeviceEnd() { return UniqueFd(fds[0]); }
    void Send(const Bytes& report) { ASSERT_EQ(write(fds[1], report.data(), report.size()), ssize_t(report.size())); }
    void Unplug() {
        close(fds[1]);
        fds[1] = -1;
    }
    int fds[2] = {-1, -1};
};

const Bytes kNumberedMouse = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x01, 0x75, 0x08, 0x95, 0x07, 0x81, 0x02, 0xC0};
const Bytes kVendor = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x05, 0x75, 0x08, 0x95, 0x20, 0x81, 0x02,
                       0x85, 0x0C, 0x95, 0x20, 0xB1, 0x02, 0xC0};
const Bytes kBootMouse = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x03, 0x81, 0x02, 0xC0};

HidDescriptorInfo Parse(Bytes d) { return ParseReportDescriptor(d.data(), d.size()); }

TEST(HidrawDevice, ACollectionReadsOnlyItsOwnInputReports) {
    Bytes both = kNumberedMouse;
    both.insert(both.end(), kVendor.begin(), kVendor.end());
    FakeNode node;
    std::string error;
    auto dev = MakeHidrawDevice("/dev/hidraw7", node.TakeDeviceEnd(), Parse(both), 1, &error);
    ASSERT_TRUE(dev) << error;
    Bytes mouse(8, 0x11);
    mouse[0] = 0x01;
    Bytes vendor(33, 0);
    vendor[0] = 0x05;
    vendor[1] = 0x06;
    node.Send(mouse);
    node.Send(vendor);
    Bytes buf(64);
    size_t got = 0;
    ASSERT_EQ(dev->Read(buf.data(), buf.size(), &got), HidReadResult::Report);
    EXPECT_EQ(Bytes(buf.begin(), buf.begin() + long(got)), vendor);

    EXPECT_EQ(MakeHidrawDevice("/dev/hidraw7", UniqueFd(), Parse(both), 2, &error), nullptr);
    EXPECT_NE(error.find("no collection 2"), std::string::npos);
}

TEST(HidrawDevice, UnnumberedReportsGetAZeroIdByte) {
    FakeNode node;
    std::string error;
    auto dev = MakeHidrawDevice("/dev/hidraw8", node.TakeDeviceEnd(), Parse(kBootMouse), 0, &error);
    ASSERT_TRUE(dev) << error;
    node.Send({0x01, 0xFE, 0x02});
    Bytes buf(16, 0xEE);
    size_t got = 0;
    ASSERT_EQ(dev->Read(buf.data(), buf.size(), &got), HidReadResult::Report);
    EXPECT_EQ(Bytes(buf.begin(), buf.begin() + long(got)), (Bytes{0x00, 0x01, 0xFE, 0x02}));
}

TEST(HidrawDevice, ReadEndsOnCancelFromAnotherThreadAndOnUnplug) {
    FakeNode node;
    std::string error;
    auto dev = MakeHidrawDevice("/dev/hidraw9", node.TakeDeviceEnd(), Parse(kVendor), 0, &error);
    ASSERT_TRUE(dev) << error;
    Bytes buf(33);
    size_t got = 0;
    HidReadResult result = HidReadResult::Report;
    std::thread reader([&] { result = dev->Read(buf.data(), buf.size(), &got); });
    dev->CancelRead();  // whether the reader blocked already or not: a cancel stays
    reader.join();
    EXPECT_EQ(result, HidReadResult::Cancelled);
    EXPECT_EQ(dev->Read(buf.data(), buf.size(), &got), HidReadResult::Cancelled);

    FakeNode second;
    auto other = MakeHidrawDevice("/dev/hidraw10", second.TakeDeviceEnd(), Parse(kVendor), 0, &error);
    ASSERT_TRUE(other);
    std::thread gone([&] { result = other->Read(buf.data(), buf.size(), &got); });
    second.Unplug();
    gone.join();
    EXPECT_EQ(result, HidReadResult::Gone);
    EXPECT_NE(other->LastError().find("/dev/hidraw10"), std::string::npos);
}

TEST(HidrawDevice, FeatureCallsThatFailKeepTheirErrorOnTheHandle) {
    FakeNode node;
    std::string error;
    auto dev = MakeHidrawDevice("/dev/hidraw11", node.TakeDeviceEnd(), Parse(kVendor), 0, &error);
    ASSERT_TRUE(dev);
    Bytes report(33, 0);
    report[0] = 0x0C;
    EXPECT_FALSE(dev->SetFeature(report.data(), report.size()));  // a socket knows no HID ioctls
    EXPECT_NE(dev->LastError().find("/dev/hidraw11"), std::string::npos);
    EXPECT_FALSE(dev->GetFeature(report.data(), report.size()));
    EXPECT_NE(dev->LastError().find("Reading a feature report"), std::string::npos);

    // A call that works leaves no old error behind for the next one to report.
    Bytes input(33, 0);
    input[0] = 0x05;
    node.Send(input);
    Bytes buf(33);
    size_t got = 0;
    ASSERT_EQ(dev->Read(buf.data(), buf.size(), &got), HidReadResult::Report);
    EXPECT_EQ(dev->LastError(), "");
}

}  // namespace
