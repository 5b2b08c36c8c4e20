#pragma once
// The tray icon's picture with the mouse's battery drawn over it: a battery
// of four bars in the lower half, a lightning mark while charging, and a
// warning triangle instead of the bars when the level is low.
#include <QIcon>

#include "platform/shell/shell_services.h"

namespace platform {

// `base` as it is when the battery is not known.
QIcon TrayPicture(const QIcon& base, const TrayBattery& battery);

}  // namespace platform
