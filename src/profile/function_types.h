#pragma once
// What the bytes of a button function code (type, param, extra) mean. The
// mouse carries the function out, so the program never interprets a loaded
// code beyond showing it: any 3 bytes read from a file are kept and sent
// unchanged.
#include <cstdint>

#include "profile/button_function_code.h"

static_assert(sizeof(ButtonFunctionCode) == 3, "a button function code is 3 bytes on the wire");

// The values of ButtonFunctionCode::type the program itself produces.
enum ButtonFunctionType : uint8_t {
    kFunctionDisabled = 0x00,     // 0, 0
    kFunctionMouseButton = 0x10,  // button bit (MouseButtonBit), 0
    kFunctionFire = 0x30,         // interval, repeat count
    kFunctionDpiStep = 0x40,      // 1, 2 or 3, 0
    kFunctionDpiLock = 0x50,      // 1..11 locks (n * 100 + 100) DPI, 0
    kFunctionMenuItem14 = 0x60,   // 0x04, 0
    kFunctionKey = 0x70,          // modifier bits (KeyModifierBit), keyboard usage ID
    kFunctionConsumer = 0x80,     // consumer usage low byte, high byte
    kFunctionMacro = 0x90,        // device macro slot and loop mode, loop count or 0
};

// param of a mouse-button function.
enum MouseButtonBit : uint8_t {
    kMouseLeft = 0x01,
    kMouseRight = 0x02,
    kMouseMiddle = 0x04,
    kMouseBack = 0x08,
    kMouseForward = 0x10,
};

// param of a key function: the left-hand bits of the keyboard modifier byte.
enum KeyModifierBit : uint8_t {
    kModCtrl = 0x01,
    kModShift = 0x02,
    kModAlt = 0x04,
    kModWin = 0x08,
};

// The left button's code; some button of the current profile must keep it.
inline constexpr ButtonFunctionCode kLeftButtonCode{kFunctionMouseButton, kMouseLeft, 0};
