#include "platform/shell/screen_scale.h"

namespace platform {

float UiScaleForScreenWidth(int screenWidth) { return screenWidth > 2500 ? 2.0f : 1.0f; }

float DpiFactorForLogicalDpi(double logicalDpi) {
    if (!(logicalDpi > 0.0)) return 1.0f;
    return float(logicalDpi / 96.0);
}

}  // namespace platform
