#pragma once
// The two numbers the skinned windows are scaled by (g_uiScale and
// g_dpiFactor in ui/ui_scale.h), from what the screen reports.
namespace platform {

// 2.0 on a screen wider than 2500 pixels, else 1.0. The width is in the
// units the window system reports (device-independent pixels under a Qt
// scale factor, so a desktop that already doubles everything is not doubled
// again).
float UiScaleForScreenWidth(int screenWidth);

// Logical dots per inch over 96. A screen that reports no DPI (0 or less)
// counts as 96, since font sizes are divided by this factor.
float DpiFactorForLogicalDpi(double logicalDpi);

}  // namespace platform
