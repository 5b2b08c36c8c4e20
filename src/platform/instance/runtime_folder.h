#pragma once
// Whom the single-instance folder and socket belong to. Without
// XDG_RUNTIME_DIR the folder is /tmp/tevlan-<uid>, a name any local user can
// take first: such a folder, or a socket served by another user, would let
// that user read tevlanctl's requests and answer them, or keep the window
// from its lock. So the folder must be a real folder of ours, mode 0700, in
// a parent no other user can swap it in, and each end of a connection checks
// who is at the other end before it says anything. Pure POSIX.
#include <string>

namespace platform {

// Empty when the folder can be trusted; else why not, in words for the user
// (with what to do about it). A missing folder is reported as missing.
std::string CheckRuntimeFolder(const std::string& folder);
// Whether CheckRuntimeFolder's complaint is only that the folder is missing.
bool RuntimeFolderMissing(const std::string& folder);

// Creates the folder (mode 0700) when it is missing, then checks it.
std::string PrepareRuntimeFolder(const std::string& folder);

// Empty when the process at the other end of the connected local socket runs
// as our user; else why not.
std::string CheckPeerIsOurUser(int fd);

}  // namespace platform
