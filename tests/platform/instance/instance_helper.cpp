// A second program for the single-instance tests: it plays the later start
// ("second") or a first instance that answers and can be killed ("hold").
#include <cstdio>
#include <cstring>

#include <poll.h>
#include <unistd.h>

#include "platform/instance/single_instance.h"

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    platform::SingleInstance instance(argv[2]);
    platform::InstanceRole role = instance.Acquire();
    if (std::strcmp(argv[1], "second") == 0)
        return role == platform::InstanceRole::Second ? 0 : role == platform::InstanceRole::First ? 3 : 4;
    if (std::strcmp(argv[1], "hold") == 0) {
        if (role != platform::InstanceRole::First) return 3;
        std::printf("first\n");
        std::fflush(stdout);
        // Answer later starts until killed.
        for (;;) {
            pollfd p{instance.ReadyFd(), POLLIN, 0};
            if (poll(&p, 1, -1) > 0) instance.ProcessPending([] {});
        }
    }
    return 2;
}
