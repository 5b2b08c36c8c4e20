#pragma once
// Names of the one-byte key codes: Windows virtual-key codes, plus the
// program's own 0xE0-0xE7 for mouse buttons, moves and the wheel in macros.
// Every place that shows a single key (the key-combination dialog, the macro
// action list and editor) takes its name from here.
#include <array>
#include <string>

using KeyNameTable = std::array<std::u16string, 256>;

// The process-wide table, built on first use and read-only afterwards, so any
// thread may read it. Codes without a name read "Undefined".
const KeyNameTable& GetKeyNameTable();

// The name of key code 0-255. Callers hand on raw message parameters, so a
// code outside 0-255 is answered with "Undefined" rather than folded into the
// table by its low byte.
const std::u16string& GetKeyName(int code);
