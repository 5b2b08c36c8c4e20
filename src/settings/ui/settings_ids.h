#pragma once
// Control ids of the main window's settings sections (DPI, lighting, sensor,
// power and pointer preferences), by name. The sections make their controls
// with these and read and write them by these; the numbers are the ones the
// window has always used (the tests and the skin know the controls by them).
#include "platform/window/messages.h"

namespace settings_ids {

// DPI: eight level columns, id + k for level k.
constexpr UINT kFirstDpiCheck = 3260;
constexpr UINT kFirstDpiSwatch = 3270;
constexpr UINT kFirstDpiLabel = 3290;
constexpr UINT kFirstDpiBar = 3300;

// Lighting.
constexpr UINT kLightingComboMessage = 1144;
constexpr UINT kLightingMode = 3120;
constexpr UINT kFirstColourSlot = 3180;  // + j, eight slots
constexpr UINT kLightingSpeed = 3200;
constexpr UINT kLightingSpeedText = 3210;
constexpr UINT kLightingBrightness = 3220;
constexpr UINT kLightingBrightnessText = 3230;
constexpr UINT kDirectionUp = 3240;
constexpr UINT kDirectionDown = 3250;
// The lighting panel's words and slider bars, shown as the mode uses them.
constexpr UINT kColoursCaption = 3161;
constexpr UINT kBrightnessCaption = 3162;
constexpr UINT kSpeedCaption = 3163;
constexpr UINT kDirectionCaption = 3164;
constexpr UINT kSpeedBar = 3190;
constexpr UINT kBrightnessBar = 3191;

// Polling rate, lift-off, debounce.
constexpr UINT kFirstPollingRate = 3030;      // 125, 250, 500, 1000 Hz
constexpr UINT kFirstPollingRateText = 3142;  // the caption of each rate
constexpr UINT kLiftOffLow = 3510;
constexpr UINT kLiftOffHigh = 3511;
constexpr UINT kLiftOffLowText = 3520;
constexpr UINT kLiftOffHighText = 3521;
constexpr UINT kDebounce = 3530;
constexpr UINT kDebounceBar = 3531;
constexpr UINT kDebounceText = 3532;

// Power.
constexpr UINT kPowerDial = 3500;
constexpr UINT kPowerCaption = 3407;
constexpr UINT kSwitchText = 3402;  // the two switches' words (the left column's plain texts)
constexpr UINT kMoveLighting = 3501;
constexpr UINT kMotionWakeup = 3504;

// Pointer preferences.
constexpr UINT kScrollLines = 2009;
constexpr UINT kScrollPage = 2010;
constexpr UINT kAcceleration = 2030;
constexpr UINT kScrollSpeed = 2041;
constexpr UINT kPointerSpeed = 2043;
constexpr UINT kDoubleClickSpeed = 2044;
constexpr UINT kPointerSpeedText = 3130;
constexpr UINT kScrollSpeedText = 3131;
constexpr UINT kDoubleClickSpeedText = 3132;
constexpr UINT kDesktopMouseSettings = 3330;
constexpr UINT kPointerSpeedCaption = 3133;
constexpr UINT kAccelerationCaption = 3134;
constexpr UINT kScrollCaption = 3135;
constexpr UINT kScrollPageCaption = 3136;
constexpr UINT kScrollLinesCaption = 3137;
constexpr UINT kDoubleClickCaption = 3138;
constexpr UINT kPointerSpeedBar = 3139;
constexpr UINT kScrollSpeedBar = 3140;
constexpr UINT kDoubleClickSpeedBar = 3141;

}  // namespace settings_ids
