#pragma once
// What the shared window tests need from a host beyond IWindowHost: a way
// to let queued work happen and a click as the user makes it. Each host's
// test program supplies MakeHostUnderTest.
#include <memory>

#include "platform/window/window_book.h"

struct HostUnderTest {
    virtual ~HostUnderTest() = default;
    virtual platform::WindowBook& Host() = 0;
    // Delivers what was posted and paints, without waiting for timers.
    virtual void Pump() = 0;
    // A left click at a client point of a top-level window.
    virtual void Click(platform::WindowId w, platform::Point client) = 0;
};

std::unique_ptr<HostUnderTest> MakeHostUnderTest();
