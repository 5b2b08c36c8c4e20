#pragma once
// tevlanctl's way through a running window of the same data folder: the
// command's words go over the instance socket, and the window answers.
#include <ostream>
#include <string>
#include <vector>

#include "ctl/ctl_data.h"
#include "persist/change_request.h"

struct WindowAnswer {
    enum Kind {
        NoWindow,  // no window runs for this data folder: tevlanctl does it itself
        Answered,
        Failed,  // a window may run but could not be asked (error says why); do nothing
    };
    Kind kind = NoWindow;
    ChangeReply reply;  // Answered
    std::string error;  // Failed
};

// `profile` is 0-based (-1: the active one). Words that name files must be
// absolute already: the window has a working folder of its own.
WindowAnswer AskWindow(const CtlFolders& folders, int profile, const std::vector<std::string>& words);

// Prints what a command came to as the changing commands print it (JSON:
// {"version":1,"changed","result","by"}; a refusal as an error) and gives
// the exit code. `by`: "window", or who did it without one.
int ReportCommandOutcome(const ChangeReply& reply, const char* by, bool json, std::ostream& out, std::ostream& err);
