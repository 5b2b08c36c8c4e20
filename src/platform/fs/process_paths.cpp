#include "platform/fs/process_paths.h"

#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace platform {

std::optional<std::string> ExecutablePath()
{
    // readlink does not say when it truncated, so grow until the answer fits.
    std::vector<char> buf(PATH_MAX);
    for (int tries = 0; tries < 4; ++tries) {
        ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0) return std::nullopt;
        if (static_cast<size_t>(n) < buf.size()) return std::string(buf.data(), static_cast<size_t>(n));
        buf.resize(buf.size() * 2);
    }
    return std::nullopt;
}

std::string HomeFolder()
{
    std::string home = EnvironmentValue("HOME");
    if (!home.empty()) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return {};
}

std::string EnvironmentValue(const char* name)
{
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

}  // namespace platform
