#include "platform/shell/screen_scale.h"

#include <algorithm>
#include <cmath>

namespace platform {

float UiScaleForWorkArea(int width, int height, int baseWidth, int baseHeight) {
    double scale = width > 2500 ? 2.0 : 1.0;
    if (baseWidth > 0 && baseHeight > 0 && width > 0 && height > 0)
        scale = std::min({scale, double(width) / baseWidth, double(height) / baseHeight});
    // Below a quarter nothing is legible any more; such a screen scrolls.
    return float(std::max(0.25, std::floor(scale * 1000.0) / 1000.0));
}

float DpiFactorForLogicalDpi(double logicalDpi) {
    if (!(logicalDpi > 0.0)) return 1.0f;
    return float(logicalDpi / 96.0);
}

}  // namespace platform
