// tevlanctl: the command-line companion of Tevlan. See `tevlanctl --help`.
#include <iostream>
#include <string>
#include <vector>

#include "ctl/ctl_run.h"
#include "platform/fs/process_paths.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    const int rc = RunCtl(args, std::cout, std::cerr, platform::ExecutablePath().value_or(std::string()));
    std::cout.flush();
    return rc;
}
