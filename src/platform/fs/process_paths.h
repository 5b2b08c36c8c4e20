#pragma once
// Where the running program and the user's home are, as UTF-8 paths with '/'.
#include <optional>
#include <string>

namespace platform {

// Full path of the running executable; nullopt when the system does not say.
std::optional<std::string> ExecutablePath();
// $HOME, or the password database's home folder when HOME is unset; empty
// when neither is known.
std::string HomeFolder();
// An environment variable; empty when unset.
std::string EnvironmentValue(const char* name);

}  // namespace platform
