#pragma once
// tevlanctl's change requests, answered by the main window on its thread:
// the change runs through the same core function tevlanctl uses without a
// window, and the window then shows it, sends it and saves it as it does
// when the user makes the change in the window.
#include <string>
#include <string_view>

class CTevlanDlg;

// The reply bytes for one request (persist/change_request.h). Anything that
// is not a well-formed request gets an error reply and changes nothing.
std::string HandleCtlRequest(CTevlanDlg* window, std::string_view request);
