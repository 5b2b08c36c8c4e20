#pragma once
// What the window says when the mouse is plugged in but may not be opened:
// why, and the one shell line that would let the user open it. At a local
// seat that is the udev rule (installed, or applied); in a remote session
// or one without a seat the rule's access can never apply, so the message
// says so and offers a group rule or an ACL instead.
#include <string>

#include "platform/shell/session_seat.h"

struct PermissionMessage {
    std::u16string message;
    std::u16string commands;
};

// `node` is the device node that could not be opened ("/dev/hidraw3").
PermissionMessage NoPermissionMessage(const std::u16string& node, const std::string& executablePath,
                                      platform::SessionPlace place);
