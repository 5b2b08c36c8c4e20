#pragma once
// Desktop notifications through the session bus's
// org.freedesktop.Notifications service, the one every Linux desktop (and
// most notification daemons outside one) provides.
#include <string>

#include "platform/shell/shell_services.h"

namespace platform {

// Sends one notification and returns at once: the call goes out without
// waiting for the answer, so a desktop without the service (or a hung one)
// costs the window nothing. False when there is no session bus.
bool SendDesktopNotification(const DesktopNotification& notification, const std::string& iconPath);

}  // namespace platform
