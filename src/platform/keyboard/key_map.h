#pragma once
// Key codes as the program's files and dialogs know them: the classic
// Windows virtual-key codes (letters and digits as their upper-case ASCII,
// F1 = 0x70, left/right Shift, Ctrl and Alt as 0xA0..0xA5, the Windows keys
// as 0x5B/0x5C). The desktop reports X key symbols (XInput2, xcb and Wayland
// alike); this table translates them.
#include <cstdint>

namespace platform {

// The virtual-key code of an X key symbol, 0 when the key has none.
// Shifted symbols of a US layout ("!" and "A", say) give the code of their
// key, because the Qt events of our own windows carry the shifted symbol.
uint8_t VirtualKeyFromKeysym(uint32_t keysym);

}  // namespace platform
