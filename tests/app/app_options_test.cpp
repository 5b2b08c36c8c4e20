// The program's command line.
#include <gtest/gtest.h>

#include "app/app_options.h"

namespace {

TEST(AppOptions, SimulatedMouseOptionsInBothSpellings)
{
    const AppParseResult r = ParseAppArguments({"--device", "sim", "--sim-sensor=0x60", "--sim-battery", "15",
                                                "--sim-charge=1", "--sim-products", "AB", "--data-dir=/tmp/x",
                                                "--trace"});
    ASSERT_TRUE(r.error.empty()) << r.error;
    EXPECT_EQ(r.options.device, AppDevice::Sim);
    EXPECT_EQ(r.options.simSensor, 0x60);
    EXPECT_EQ(r.options.simBattery, 15);
    EXPECT_EQ(r.options.simCharge, 1);
    EXPECT_TRUE(r.options.simA);
    EXPECT_TRUE(r.options.simB);
    EXPECT_EQ(r.options.dataDir.value_or(""), "/tmp/x");
    EXPECT_TRUE(r.options.trace);
    EXPECT_FALSE(ParseAppArguments({"--sim-products", "none"}).options.simA);
}

TEST(AppOptions, MistakesAreReportedNotGuessed)
{
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--device", "usb"},
                                               {"--device"},
                                               {"--data-dir", ""},
                                               {"--sim-battery", "256"},
                                               {"--sim-battery", "-1"},
                                               {"--sim-sensor", "0x"},
                                               {"--sim-charge", "3"},
                                               {"--sim-products", "C"},
                                               {"--trace=yes"},
                                               {"--frobnicate"}}) {
        EXPECT_FALSE(ParseAppArguments(bad).error.empty()) << bad[0];
    }
}

}  // namespace
