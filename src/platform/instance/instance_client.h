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

// NoWindow when the folder or the socket is not there or nobody listens,
// and nobody holds the lock at `lockPath`. While a first instance holds the
// lock but does not listen yet (it is starting), this tries again for up to
// a second; one that never listens is Refused: a window runs that cannot be
// reached, and the caller must not act as if there were none.
InstanceConnection ConnectToFirstInstance(const std::string& folder, const std::string& socketPath,
                                          const std::string& lockPath);

bool SendWhole(int fd, const std::string& bytes);
// Reads exactly len bytes, or gives up after timeoutMs in total.
bool ReceiveWhole(int fd, char* buf, size_t len, int timeoutMs);

}  // namespace platform
