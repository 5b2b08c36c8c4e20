#pragma once
// The Qt side of the keyboard hook: key events of the program's own windows
// (the only keys a Wayland client may see), the Qt key table, and the
// start-up call that installs the desktop's sources for every hook.
#include <cstdint>
#include <memory>

#include "platform/keyboard/keyboard_hook.h"

class QKeyEvent;

namespace platform {

// Makes every CKeyboardHook use XInput2 raw events when the program runs on
// X11 and the server has them, and the key events of our own windows
// otherwise. Call on the window thread after the QApplication exists.
void InstallDesktopKeySources();

// Key presses and releases that reach any window of this process. Starts
// and stops on the window thread; the sink is called there.
std::unique_ptr<IKeyEventSource> CreateQtWindowKeySource();

// The virtual-key code of a Qt::Key when no key symbol is known (offscreen
// and synthetic events). Qt does not tell left from right modifiers by key,
// so they come out as the left ones. 0 for none.
uint8_t VirtualKeyFromQtKey(int qtKey, bool keypad);

// The best code for an event: its native key symbol where the platform
// reports one (xcb and Wayland do), else its Qt key.
uint8_t VirtualKeyFromKeyEvent(const QKeyEvent& event);

}  // namespace platform
