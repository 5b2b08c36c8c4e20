#pragma once
// Requests with a reply over the single-instance socket: tevlanctl hands a
// change to a running window and waits for the window's answer.
//
// On the wire after the 4-byte tag "TVLR": a 32-bit little-endian length and
// that many bytes; the reply comes back the same way (length, bytes). What
// the bytes mean is the caller's business (persist/change_request.h).
//
// The window side reads at most kMaxChangeFrame bytes and gives a peer a
// short time to send them; a longer or slower request reaches the handler
// as an empty one, which it answers with an error. Pure POSIX.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

constexpr size_t kMaxChangeFrame = 8192;
inline constexpr char kChangeRequestTag[4] = {'T', 'V', 'L', 'R'};

using ChangeRequestHandler = std::function<std::string(std::string_view request)>;

// Window side: the tag has been read from `fd` already. Reads the request,
// calls the handler and writes its reply. Never blocks for long.
void ServeChangeRequest(int fd, const ChangeRequestHandler& handler);

struct ChangeChannelResult {
    enum Kind { NoWindow, Replied, Failed };
    Kind kind = NoWindow;
    std::string reply;  // Replied
    std::string error;  // Failed: in words for the user
};

// tevlanctl side: NoWindow when nothing listens on the socket (no window
// runs), else the reply or why there is none.
ChangeChannelResult SendChangeRequest(const std::string& socketPath, std::string_view request,
                                      int replyTimeoutMs = 5000);

}  // namespace platform
