// Runs the shared window tests on the headless host.
#include "host_under_test.h"
#include "platform/headless/headless_host.h"

namespace {

struct HeadlessUnderTest final : HostUnderTest {
    platform::HeadlessHost host;
    platform::WindowBook& Host() override { return host; }
    void Pump() override { host.ProcessPending(); }
    void Click(platform::WindowId w, platform::Point client) override { host.Click(w, client); }
};

}  // namespace

std::unique_ptr<HostUnderTest> MakeHostUnderTest() { return std::make_unique<HeadlessUnderTest>(); }
