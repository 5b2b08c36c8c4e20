#pragma once
// The two scale factors every skinned window reads.
//
// g_uiScale: 1.0, or 2.0 on screens wider than 2500 pixels, smaller where the
// main window would not fit the work area at that scale. Layouts are written
// in base units of the main window's 1127 x 740 canvas and each coordinate is
// converted separately with int(value * g_uiScale), truncating toward zero.
// g_dpiFactor: logical DPI / 96. Only the point size of the few real edit
// boxes is divided by it, so that text typed into them matches the skin.
//
// Owner: the window thread. The main window sets both once at start-up from
// the screen (UiScaleForWorkArea in the shell layer) before any control
// or language font is created; nothing changes them afterwards. They are
// inline so that code outside the toolkit can read them without linking it.
#include "platform/window/geometry.h"

inline float g_uiScale = 1.0f;
inline float g_dpiFactor = 1.0f;

// int(value * g_uiScale), truncated toward zero, for one base-unit coordinate.
int ScaleUnits(double value);
// A base-unit rectangle converted coordinate by coordinate.
Rect ScaleRect(int left, int top, int right, int bottom);
