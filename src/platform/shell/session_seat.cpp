#include "platform/shell/session_seat.h"

#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {

std::string Env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "";
}

// Session ids are short words of letters and digits; anything else is not
// handed to a command line.
bool PlainWord(const std::string& s)
{
    if (s.empty() || s.size() > 64) return false;
    for (char c : s)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
    return true;
}

}  // namespace

SessionPlace ClassifySession(const SessionFacts& f)
{
    if (f.logindAnswered) {
        if (f.logindRemote == "yes") return SessionPlace::Remote;
        return f.logindSeat.empty() ? SessionPlace::NoSeat : SessionPlace::LocalSeat;
    }
    if (!f.sshConnection.empty()) return SessionPlace::Remote;
    if (!f.xdgSeat.empty()) return SessionPlace::LocalSeat;
    return SessionPlace::Unknown;
}

SessionFacts CurrentSessionFacts()
{
    SessionFacts f;
    f.sshConnection = Env("SSH_CONNECTION");
    f.xdgSeat = Env("XDG_SEAT");
    // "self" is the caller's own session where XDG_SESSION_ID is not set.
    std::string id = Env("XDG_SESSION_ID");
    if (!PlainWord(id)) id = "self";
    const std::string command =
        "timeout 2 loginctl show-session " + id + " -p Remote -p Seat 2>/dev/null </dev/null";
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) return f;
    char line[256];
    while (std::fgets(line, sizeof line, p)) {
        std::string s(line);
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
        if (s.rfind("Remote=", 0) == 0) {
            f.logindRemote = s.substr(7);
            f.logindAnswered = true;
        } else if (s.rfind("Seat=", 0) == 0) {
            f.logindSeat = s.substr(5);
        }
    }
    if (::pclose(p) != 0) f.logindAnswered = false;
    return f;
}

}  // namespace platform
