#include "platform/cmdline/hid_backend_stack.h"

#ifdef TEVLAN_HAVE_HIDRAW
#include "platform/hidraw/hidraw_backend.h"
#endif

namespace platform {

HidBackendStack MakeHidBackend(const DeviceOptions& options, IClock& clock,
                               std::function<void(const std::string&)> traceLine)
{
    HidBackendStack stack;
    if (options.device == DeviceChoice::Sim) {
        stack.sim = std::make_unique<SimMouse>(clock, options.simA, options.simB);
        SimStatus status;
        status.sensorCode = options.simSensor;
        status.batteryLevel = options.simBattery;
        status.chargeState = options.simCharge;
        stack.sim->SetStatus(status);
        stack.top = stack.sim.get();
    } else {
#ifdef TEVLAN_HAVE_HIDRAW
        stack.real = std::make_unique<HidrawBackend>(clock);
        stack.top = stack.real.get();
#else
        stack.error = "built without the hidraw backend; only --device sim works";
        return stack;
#endif
    }
    if (options.trace) {
        stack.traced = std::make_unique<TracedBackend>(*stack.top, std::move(traceLine));
        stack.top = stack.traced.get();
    }
    return stack;
}

}  // namespace platform
