#pragma once
// Qt glue for SingleInstance: watches it on the Qt event loop of the calling
// (window) thread and hands every activation from a later start, and every
// tevlanctl request, to its handler there.
#include <memory>

#include "platform/instance/single_instance.h"

class QSocketNotifier;

namespace platform {

class InstanceNotifierQt {
public:
    // Does nothing when `instance` is not listening. `instance` must outlive this.
    InstanceNotifierQt(SingleInstance& instance, ActivationHandler onActivation);
    ~InstanceNotifierQt();
    InstanceNotifierQt(const InstanceNotifierQt&) = delete;
    InstanceNotifierQt& operator=(const InstanceNotifierQt&) = delete;

private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace platform
