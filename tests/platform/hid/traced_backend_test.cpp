#include "platform/hid/traced_backend.h"

#include "platform/clock/clock.h"
#include "platform/sim/sim_mouse.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

using Bytes = std::vector<uint8_t>;

struct TracedFixture : ::testing::Test {
    VirtualClock clock;
    SimMouse sim{clock, true, false};
    std::vector<std::string> lines;
    TracedBackend traced{sim, [this](const std::string& l) { lines.push_back(l); }};
    std::string error;
    std::unique_ptr<IHidDevice> feature = traced.Open(SimPath(SimProduct::A, SimInterface::Feature), &error);
    std::unique_ptr<IHidDevice> input = traced.Open(SimPath(SimProduct::A, SimInterface::Input), &error);
};

TEST_F(TracedFixture, PrintsEveryReportInTheTraceFormat) {
    ASSERT_TRUE(feature && input) << error;
    // The reset button 0 key assignment with sequence number 0x2A.
    Bytes key = {0x0C, 0x01, 0x04, 0x00, 0x2A, 0x01, 0x04, 0x00, 0x10, 0x01, 0xAB};
    key.resize(33, 0);
    ASSERT_TRUE(feature->SetFeature(key.data(), key.size()));
    std::string expected = "W 0C 01 04 00 2A 01 04 00 10 01 AB";
    for (int i = 11; i < 33; ++i) expected += " 00";
    ASSERT_EQ(lines, std::vector<std::string>{expected});

    Bytes status = {0x0C, 0x01, 0x20, 0x00, 0x2B};
    status.resize(33, 0);
    ASSERT_TRUE(feature->SetFeature(status.data(), status.size()));
    Bytes answer(33, 0xFF);
    answer[0] = 0x0C;
    ASSERT_TRUE(feature->GetFeature(answer.data(), answer.size()));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], "R " + HexBytes(answer.data(), 33));
    EXPECT_EQ(lines[2].substr(0, 17), "R 0C 01 20 00 2B ");

    ASSERT_TRUE(sim.ReportDeviceChange(SimProduct::A, 4, 3));
    Bytes buf(33);
    size_t got = 0;
    ASSERT_EQ(input->Read(buf.data(), buf.size(), &got), HidReadResult::Report);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3].substr(0, 17), "I 05 06 00 04 03 ");
    EXPECT_EQ(lines[3].size(), 2 + 33 * 3 - 1);

    input->CancelRead();  // no report came: nothing to print
    EXPECT_EQ(input->Read(buf.data(), buf.size(), &got), HidReadResult::Cancelled);
    EXPECT_EQ(lines.size(), 4u);
}

TEST_F(TracedFixture, FailuresFollowWhatWasAttempted) {
    ASSERT_TRUE(feature && input) << error;
    Bytes r(33, 0);
    r[0] = 0x0C;
    sim.FailNextWrites(1);
    EXPECT_FALSE(feature->SetFeature(r.data(), r.size()));
    sim.FailNextReads(1);
    EXPECT_FALSE(feature->GetFeature(r.data(), r.size()));
    sim.Unplug(SimProduct::A);
    size_t got = 0;
    EXPECT_EQ(input->Read(r.data(), r.size(), &got), HidReadResult::Gone);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "W " + HexBytes(r.data(), 33));
    EXPECT_EQ(lines[1], "E write failed: write failed (simulated)");
    EXPECT_EQ(lines[2], "E read failed: read failed (simulated)");
    EXPECT_EQ(lines[3], "E input read ended: the mouse was unplugged");
}

}  // namespace
