#pragma once
// Where and why a file reader rejected a file, so that a user can be told
// which line to look at ("line 12: no '=' in the line").
#include <string>
#include <utility>

struct ParseError {
    int line = 0;        // 1-based; 0 when the file could not be read at all
    std::string reason;  // in words, for a message (tevlanctl prints it)
    // The file is there but reading it failed (an I/O error, no permission):
    // its content is unknown, so nothing may reset or replace it.
    bool unreadable = false;

    // Records the first failure only: a caller that adds context later keeps it.
    void Set(int atLine, std::string why)
    {
        if (!reason.empty()) return;
        line = atLine;
        reason = std::move(why);
    }
};

// Records into an optional ParseError and returns false, for `return RejectLine(...)`.
inline bool RejectLine(ParseError* error, int line, std::string reason)
{
    if (error) error->Set(line, std::move(reason));
    return false;
}
