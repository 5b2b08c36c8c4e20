#include "platform/procs/process_list.h"

#include "platform/procs/process_scanner.h"

namespace platform {

std::vector<ProcessNames> ListOwnProcesses()
{
    return ProcessScanner().Scan();
}

}  // namespace platform
