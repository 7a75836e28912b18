#include "test_exit.h"

#include <atomic>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

namespace {
std::atomic<bool> quickExit{false};
}

void requestQuickExit()
{
    quickExit = true;
}

bool quickExitRequested()
{
    return quickExit;
}

void removeTreeAfterExit(const std::string& dir)
{
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child != 0)
        return;
    // Only async-signal-safe calls here: other threads held locks at the fork.
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 1);
    dup2(null, 2);
    const struct timespec pause = {0, 10 * 1000 * 1000};
    while (getppid() == parent)
        nanosleep(&pause, nullptr);
    execl("/bin/rm", "rm", "-rf", "--", dir.c_str(), static_cast<char*>(nullptr));
    _exit(1);
}
