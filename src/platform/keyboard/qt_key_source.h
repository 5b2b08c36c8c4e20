#pragma once
// The Qt side of the keyboard hook: key events of the program's own windows
// (the only keys a Wayland client may see) and the start-up call that
// installs the desktop's sources for every hook.
#include <cstdint>
#include <memory>

#include "platform/keyboard/keyboard_hook.h"
#include "platform/keyboard/qt_key_table.h"

namespace platform {

// Makes every CKeyboardHook use XInput2 raw events when the program runs on
// X11 and the server has them, and the key events of our own windows
// otherwise. Call on the window thread after the QApplication exists.
void InstallDesktopKeySources();

// Key presses and releases that reach any window of this process. Starts
// and stops on the window thread; the sink is called there.
std::unique_ptr<IKeyEventSource> CreateQtWindowKeySource();

}  // namespace platform
