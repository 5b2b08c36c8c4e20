#include "platform/instance/instance_notifier_qt.h"

#include <QObject>
#include <QSocketNotifier>

namespace platform {

InstanceNotifierQt::InstanceNotifierQt(SingleInstance& instance, InstanceMessageHandler handler) {
    if (instance.ListenFd() < 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(instance.ListenFd(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [&instance, handler = std::move(handler)] { instance.ProcessPending(handler); });
}

InstanceNotifierQt::~InstanceNotifierQt() = default;

}  // namespace platform
