#pragma once
// Requests with a reply over the single-instance socket: tevlanctl hands a
// command to a running window and waits for the window's answer. The
// framing is instance_packet.h's; what the bytes mean is the caller's
// business (persist/change_request.h). Pure POSIX.
#include <string>
#include <string_view>

#include "platform/instance/instance_packet.h"

namespace platform {

struct ChangeChannelResult {
    enum Kind { NoWindow, Replied, Failed };
    Kind kind = NoWindow;
    std::string reply;  // Replied
    std::string error;  // Failed: in words for the user; nothing was sent when the socket could not be trusted
};

// tevlanctl side: NoWindow when no window runs (nothing listens on the
// socket and nobody holds the lock), else the reply or why there is none.
ChangeChannelResult SendChangeRequest(const std::string& folder, const std::string& socketPath,
                                      const std::string& lockPath, std::string_view request,
                                      int replyTimeoutMs = 5000);

}  // namespace platform
