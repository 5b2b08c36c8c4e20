#pragma once
// The connecting end of the single-instance socket: a later start and
// tevlanctl. Nothing is sent before both the folder and the process that
// listens on the socket are known to be our user's. Pure POSIX.
#include <cstddef>
#include <string>

namespace platform {

struct InstanceConnection {
    enum Kind { NoWindow, Connected, Refused };
    Kind kind = NoWindow;
    int fd = -1;        // Connected: the caller closes it
    std::string error;  // Refused: why, in words for the user
};

// NoWindow when the folder or the socket is not there or nobody listens.
// `retryMs`: how long to try again while the socket is missing or refuses
// (a first instance that is starting at the same moment).
InstanceConnection ConnectToFirstInstance(const std::string& folder, const std::string& socketPath, int retryMs = 0);

bool SendWhole(int fd, const std::string& bytes);
// Reads exactly len bytes, or gives up after timeoutMs in total.
bool ReceiveWhole(int fd, char* buf, size_t len, int timeoutMs);

}  // namespace platform
