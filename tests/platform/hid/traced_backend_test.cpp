#include "platform/hid/traced_backend.h"

#include "platform/clock/clock.h"
#include "platform/sim/sim_mouse.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

using Bytes = std::vector<uint8_t>;

TEST(HexBytes, UpperCaseDigitPairsSeparatedBySingleSpaces) {
    const Bytes b = {0x0C, 0x01, 0xAB, 0x00, 0xF0};
    EXPECT_EQ(HexBytes(b.data(), b.size()), "0C 01 AB 00 F0");
    EXPECT_EQ(HexBytes(b.data(), 0), "");
}

struct TracedFixture : ::testing::Test {
    VirtualClock clock;
    SimMouse sim{clock, true, false};
    std::vector<std::string> lines;
    TracedBackend traced{sim, [this](const std::string& l) { lines.push_back(l); }};
};

TEST_F(TracedFixture, PrintsEveryReportInTheTraceFormat) {
    EXPECT_EQ(traced.Enumerate().size(), sim.Enumerate().size());
    std::string error;
    auto feature = traced.Open(SimPath(SimProduct::A, SimInterface::Feature), &error);
    auto input = traced.Open(SimPath(SimProduct::A, SimInterface::Input), &error);
    ASSERT_TRUE(feature && input) << error;

    // The reset button 0 key assignment with sequence number 0x2A.
    Bytes key(33, 0);
    const Bytes head = {0x0C, 0x01, 0x04, 0x00, 0x2A, 0x01, 0x04, 0x00, 0x10, 0x01, 0x00};
    std::copy(head.begin(), head.end(), key.begin());
    ASSERT_TRUE(feature->SetFeature(key.data(), key.size()));
    ASSERT_EQ(lines.size(), 1u);
    std::string expected = "W 0C 01 04 00 2A 01 04 00 10 01 00";
    for (int i = 11; i < 33; ++i) expected += " 00";
    EXPECT_EQ(lines[0], expected);

    Bytes status(33, 0);
    status[0] = 0x0C;
    status[1] = 0x01;
    status[2] = 0x20;
    status[4] = 0x2B;
    ASSERT_TRUE(feature->SetFeature(status.data(), status.size()));
    Bytes answer(33, 0xFF);
    answer[0] = 0x0C;
    ASSERT_TRUE(feature->GetFeature(answer.data(), answer.size()));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].substr(0, 2), "R ");
    EXPECT_EQ(lines[2], "R " + HexBytes(answer.data(), 33));
    EXPECT_EQ(lines[2].size(), 2 + 33 * 3 - 1);

    ASSERT_TRUE(sim.ReportDeviceChange(SimProduct::A, 4, 3));
    Bytes buf(33);
    size_t got = 0;
    ASSERT_EQ(input->Read(buf.data(), buf.size(), &got), HidReadResult::Report);
    ASSERT_EQ(got, 33u);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3].substr(0, 17), "I 05 06 00 04 03 ");

    // A cancelled read prints nothing: no report came.
    input->CancelRead();
    EXPECT_EQ(input->Read(buf.data(), buf.size(), &got), HidReadResult::Cancelled);
    EXPECT_EQ(lines.size(), 4u);
}

TEST_F(TracedFixture, FailuresFollowWhatWasAttempted) {
    std::string error;
    auto feature = traced.Open(SimPath(SimProduct::A, SimInterface::Feature), &error);
    auto input = traced.Open(SimPath(SimProduct::A, SimInterface::Input), &error);
    ASSERT_TRUE(feature && input);
    sim.FailNextWrites(1);
    Bytes r(33, 0);
    r[0] = 0x0C;
    EXPECT_FALSE(feature->SetFeature(r.data(), r.size()));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "W " + HexBytes(r.data(), 33));
    EXPECT_EQ(lines[1].rfind("E write failed: ", 0), 0u);
    EXPECT_NE(lines[1].find("simulated"), std::string::npos);

    sim.FailNextReads(1);
    EXPECT_FALSE(feature->GetFeature(r.data(), r.size()));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].rfind("E read failed: ", 0), 0u);

    sim.Unplug(SimProduct::A);
    size_t got = 0;
    EXPECT_EQ(input->Read(r.data(), r.size(), &got), HidReadResult::Gone);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3].rfind("E input read ended: ", 0), 0u);
    EXPECT_EQ(traced.Open(SimPath(SimProduct::A, SimInterface::Feature), &error), nullptr);
    EXPECT_FALSE(error.empty());
}

}  // namespace
