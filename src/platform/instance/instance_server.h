#pragma once
// The first instance's side of the socket. A thread of its own accepts the
// connections, checks that each peer is our user, gathers each peer's bytes
// in a buffer of its own until they are a whole packet (instance_packet.h)
// and writes the answers back; the window thread only ever sees whole
// packets and never waits on a peer. A peer that has not sent a whole packet
// by its deadline, or that sends what the protocol does not define, is
// dropped; each kind of drop is logged the first time it happens.
//
// The window thread watches ReadyFd() and calls ProcessPending() when it is
// readable; the handlers run there, and their answers go back to the peers
// from the thread. Pure POSIX.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

using ActivationHandler = std::function<void()>;
using RequestHandler = std::function<std::string(std::string_view request)>;
using InstanceLog = std::function<void(const std::string& line)>;

struct InstanceServerLimits {
    int packetDeadlineMs = 2000;  // from the connection to the whole packet
    int answerDeadlineMs = 2000;  // for the peer to take the answer
    size_t maxPeers = 128;        // past this the peer waiting longest is dropped
};

class InstanceServer {
public:
    // Takes over `listenFd` (a listening, non-blocking local socket). `log`
    // gets one line per kind of dropped connection; empty: standard error.
    InstanceServer(int listenFd, InstanceLog log = {}, InstanceServerLimits limits = {});
    ~InstanceServer();
    InstanceServer(const InstanceServer&) = delete;
    InstanceServer& operator=(const InstanceServer&) = delete;

    // False when the thread or its pipes could not be made.
    bool Running() const;
    // Readable while whole packets wait for ProcessPending.
    int ReadyFd() const;
    // Hands each waiting packet to its handler, on the calling thread. A
    // request without a handler is dropped unanswered.
    void ProcessPending(const ActivationHandler& onActivation, const RequestHandler& onRequest);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace platform
