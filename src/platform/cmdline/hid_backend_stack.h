#pragma once
// The HID backend the shared options choose: the simulated mouse (--device
// sim) or the real one through hidraw, with the trace decorator on top when
// --trace is given. tevlan and tevlanctl both build theirs here, so that
// --trace shows the same lines and the simulated mouse starts alike.
#include <functional>
#include <memory>
#include <string>

#include "platform/clock/clock.h"
#include "platform/cmdline/device_options.h"
#include "platform/hid/hid_transport.h"
#include "platform/hid/traced_backend.h"
#include "platform/sim/sim_mouse.h"

namespace platform {

struct HidBackendStack {
    // Declared bottom up, so that the decorator goes before what it wraps.
    std::unique_ptr<SimMouse> sim;       // with --device sim
    std::unique_ptr<IHidBackend> real;   // hidraw otherwise
    std::unique_ptr<TracedBackend> traced;

    IHidBackend* top = nullptr;  // what the device link talks to; null when none could be made
    std::string error;           // why top is null
};

// `clock` must outlive the stack: the simulated mouse and hidraw keep it.
// `traceLine` receives each trace line (without its newline) with --trace.
HidBackendStack MakeHidBackend(const DeviceOptions& options, IClock& clock,
                               std::function<void(const std::string&)> traceLine);

}  // namespace platform
