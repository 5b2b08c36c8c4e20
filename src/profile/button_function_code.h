#pragma once
// The 3-byte function code of a mouse button (type, param, extra). It is
// stored in the profile and sent to the mouse unchanged; the meaning of the
// bytes belongs to the button-assignment code in buttons/.
#include <cstdint>

struct ButtonFunctionCode {
    uint8_t type = 0;
    uint8_t param = 0;
    uint8_t extra = 0;

    bool operator==(const ButtonFunctionCode&) const = default;
};
