#pragma once
// Event codes a control sends to its owner as lParam of the message whose
// number is the control's id.
#include "platform/window/messages.h"

constexpr LPARAM CE_DOWN = 1;     // left button down inside an enabled control
constexpr LPARAM CE_CLICK = 2;    // left button up inside an enabled control
constexpr LPARAM CE_VALUE = 3;    // slider or scroll-bar value changed
constexpr LPARAM CE_ENTER = 4;    // the mouse entered a link button
constexpr LPARAM CE_LEAVE = 5;    // the mouse left a link button
constexpr LPARAM CE_DBLCLK = 10;  // double click on a list or colour check button
constexpr LPARAM CE_RCLICK = 11;  // right button up on a tab
constexpr LPARAM CE_HOVER = 12;   // mouse moving over an image button that reports hover
constexpr LPARAM CE_STEP = 13;    // a key stepped a control that does not drag (wParam 1 up, 0 down)

// Sent by a popup to its parent when its window closes.
constexpr UINT WM_POPUP_CLOSED = WM_USER + 1;  // 1025
