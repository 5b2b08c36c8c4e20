// The record of which products are plugged in, through storms of plugging
// and unplugging that the window thread handles late and in bursts, with
// status ticks (which scan too) falling anywhere in between.
#include <random>

#include "device/device_link.h"

#include "device_test_support.h"

namespace {

using platform::SimProduct;

struct PresenceStorm : LinkTest {
    PresenceStorm() : LinkTest(true, true) {}

    void Toggle(SimProduct p)
    {
        if (sim.IsPlugged(p))
            sim.Unplug(p);
        else
            sim.Plug(p);
    }
    void StatusTick()
    {
        link->statusTickCount = kStatusQueryEvery;
        link->OnStatusTick();
    }
    // A present product's handle must be a live one: a status request
    // written through it reaches the mouse.
    bool HandleWorks(ProductSlot slot)
    {
        const auto& handle = link->Product(slot).handle;
        const FeatureReport request = BuildStatusRequest();
        return handle && handle->SetFeature(request.data(), request.size());
    }
};

TEST_F(PresenceStorm, PresenceFollowsDiscoveryAfterEveryStormAndOnlyTheLastUnplugEnds)
{
    StartUp();
    std::mt19937 random(2026);
    int storms = 0, wrong = 0, wrongEnds = 0;
    for (int round = 0; round < 200; ++round) {
        // A burst: plugs and unplugs mixed with DPI button presses, some
        // handled at once, most later, one product always plugged in.
        const int endingsBefore = host.endings;
        for (int step = 0; step < 12; ++step) {
            switch (random() % 5) {
            case 0:
            case 1: {
                const SimProduct p = random() % 2 ? SimProduct::A : SimProduct::B;
                const SimProduct other = p == SimProduct::A ? SimProduct::B : SimProduct::A;
                if (!sim.IsPlugged(other))
                    sim.Plug(other);
                Toggle(p);
                break;
            }
            case 2: host.PumpSome(int(random() % 4)); break;
            case 3: StatusTick(); break;
            default:
                // The DPI button: a report on a listener that may be on its way out.
                sim.PressDpiButton(sim.IsPlugged(SimProduct::A) ? SimProduct::A : SimProduct::B);
                break;
            }
        }
        link->WaitForDeviceIo();
        host.Pump();
        ++storms;
        const bool a = sim.IsPlugged(SimProduct::A), b = sim.IsPlugged(SimProduct::B);
        if (link->presentA() != a || link->presentB() != b || (a && !HandleWorks(kProductA)) ||
            (b && !HandleWorks(kProductB)))
            ++wrong;
        if (host.endings != endingsBefore)
            ++wrongEnds;
    }
    EXPECT_EQ(wrong, 0) << "of " << storms << " storms";
    EXPECT_EQ(wrongEnds, 0) << "of " << storms << " storms, one product was always plugged in";

    // Both out, with the status tick coming between the unplug and its notices.
    sim.Plug(SimProduct::A);
    sim.Plug(SimProduct::B);
    host.Pump();
    sim.Unplug(SimProduct::A);
    host.Pump();
    EXPECT_EQ(host.endings, 0);
    sim.Unplug(SimProduct::B);
    StatusTick();
    link->WaitForDeviceIo();
    host.Pump();
    EXPECT_FALSE(link->anyPresent);
    EXPECT_EQ(host.endings, 1);
}

}  // namespace
