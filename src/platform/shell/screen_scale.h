#pragma once
// The two numbers the skinned windows are scaled by (g_uiScale and
// g_dpiFactor in ui/ui_scale.h), from what the screen reports.
namespace platform {

// The scale at which a window of baseWidth x baseHeight layout units fits
// the work area: 2.0 on a work area wider than 2500 pixels, else 1.0, made
// smaller where that does not fit (a desktop scale of 1.5 leaves 1280 x 720
// of a 1920 x 1080 screen), so that every control stays reachable. Sizes are
// in the units the window system reports (device-independent pixels under a
// Qt scale factor, so a desktop that already doubles everything is not
// doubled again). Truncated to thousandths so that the scaled window never
// comes out a pixel larger than the work area.
float UiScaleForWorkArea(int width, int height, int baseWidth, int baseHeight);

// Logical dots per inch over 96. A screen that reports no DPI (0 or less)
// counts as 96, since font sizes are divided by this factor.
float DpiFactorForLogicalDpi(double logicalDpi);

}  // namespace platform
