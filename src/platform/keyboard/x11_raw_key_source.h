#pragma once
// System-wide key events on X11: XInput2 raw key events of the master
// keyboards, read on a thread of its own with its own Display connection, so
// nothing here touches the toolkit's connection. Keys pressed in any
// application arrive, our own windows included.
#include <memory>
#include <string>

#include "platform/keyboard/keyboard_hook.h"

namespace platform {

// displayName empty: $DISPLAY. Start fails when the server cannot be
// reached or has no XInput 2.
std::unique_ptr<IKeyEventSource> CreateX11RawKeySource(const std::string& displayName = {});

}  // namespace platform
