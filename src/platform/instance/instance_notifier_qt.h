#pragma once
// Qt glue for SingleInstance: watches the listening socket on the Qt event
// loop of the calling (window) thread and hands every message from a later
// start to the handler there.
#include <memory>

#include "platform/instance/single_instance.h"

class QSocketNotifier;

namespace platform {

class InstanceNotifierQt {
public:
    // Does nothing when `instance` is not listening. `instance` must outlive this.
    InstanceNotifierQt(SingleInstance& instance, InstanceMessageHandler handler);
    ~InstanceNotifierQt();
    InstanceNotifierQt(const InstanceNotifierQt&) = delete;
    InstanceNotifierQt& operator=(const InstanceNotifierQt&) = delete;

private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace platform
