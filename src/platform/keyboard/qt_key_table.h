#pragma once
// The one table from Qt keys to the program's virtual-key codes, for the
// window host's key messages and the keyboard hook alike, so that a key
// has the same code wherever the program sees it (Shift is the left Shift,
// 0xA0, as the key-name and macro tables expect).
#include <cstdint>

class QKeyEvent;

namespace platform {

// The virtual-key code of a Qt::Key when no key symbol is known (offscreen
// and synthetic events). Qt does not tell left from right modifiers by key,
// so they come out as the left ones. 0 for none.
uint8_t VirtualKeyFromQtKey(int qtKey, bool keypad);

// The best code for an event: its native key symbol where the platform
// reports one (xcb and Wayland do), else its Qt key.
uint8_t VirtualKeyFromKeyEvent(const QKeyEvent& event);

}  // namespace platform
