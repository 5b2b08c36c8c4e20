#pragma once
// tevlanctl's requests, answered by the main window on its thread: a change
// runs through the same core function tevlanctl uses without a window, and
// the window then shows it, sends it and saves it as it does when the user
// makes the change in the window. `get` answers with the window's own state
// (command/settings_snapshot.h); `apply` and `reset` run the window's Apply
// and factory-reset paths.
#include <string>
#include <string_view>

class CTevlanDlg;

// The reply bytes for one request (persist/change_request.h). Anything that
// is not a well-formed request gets an error reply and changes nothing.
std::string HandleCtlRequest(CTevlanDlg* window, std::string_view request);
