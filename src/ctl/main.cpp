// tevlanctl: the command-line companion of Tevlan. See `tevlanctl --help`.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "ctl/ctl_options.h"
#include "ctl/ctl_run.h"
#include "platform/fs/process_paths.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    int rc = RunCtl(args, std::cout, std::cerr, platform::ExecutablePath().value_or(std::string()));

    // A script must not take output that never arrived for success (a full
    // disk, for example). A reader that stopped reading early (`| head`) did
    // not want the rest: that ends quietly, as it does when SIGPIPE ends us.
    errno = 0;
    std::cout.flush();
    const bool failed = !std::cout || std::fflush(stdout) != 0 || std::ferror(stdout);
    if (failed && errno != EPIPE) {
        const int e = errno;
        std::cerr << "tevlanctl: cannot write to standard output" << (e ? std::string(": ") + std::strerror(e) : "")
                  << "\n";
        if (rc == kExitOk) rc = kExitDeviceIo;
    }
    return rc;
}
