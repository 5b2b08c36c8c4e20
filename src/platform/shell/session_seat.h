#pragma once
// Whether this login session sits at a local seat. The access rule's
// "uaccess" tag gives the mouse only to the session in front of a seat: a
// remote login (ssh, a remote desktop) or a session without a seat never
// gets it, however long it waits. Standard C++.
#include <string>

namespace platform {

enum class SessionPlace {
    LocalSeat,  // the rule's access applies here
    Remote,     // logged in over the network
    NoSeat,     // local, but not at a seat (a second seat not set up, a container)
    Unknown,    // nothing to tell: taken as a local seat
};

// What is known of the session: logind's answer (empty when there was
// none) and the environment.
struct SessionFacts {
    std::string logindRemote;   // "yes" or "no"
    std::string logindSeat;     // "seat0"; empty for none
    bool logindAnswered = false;
    std::string sshConnection;  // $SSH_CONNECTION
    std::string xdgSeat;        // $XDG_SEAT
};

SessionPlace ClassifySession(const SessionFacts& facts);

// The facts of the running process: $XDG_SESSION_ID's session as
// `loginctl show-session` reports it (given two seconds), and the
// environment.
SessionFacts CurrentSessionFacts();

}  // namespace platform
