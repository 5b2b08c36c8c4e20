#include "platform/instance/instance_notifier_qt.h"

#include <QObject>
#include <QSocketNotifier>

namespace platform {

InstanceNotifierQt::InstanceNotifierQt(SingleInstance& instance, ActivationHandler onActivation)
{
    if (instance.ReadyFd() < 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(instance.ReadyFd(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [&instance, onActivation = std::move(onActivation)] { instance.ProcessPending(onActivation); });
}

InstanceNotifierQt::~InstanceNotifierQt() = default;

}  // namespace platform
