#include "devops.h"

#include "devopsstandin.h"
#include "sysroot.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

int devopsOpen(const char* devicePath, int flags)
{
    if (sysrootActive())
        return devopsStandinOpen(devicePath, flags);
    return ::open(devicePath, flags);
}

int devopsIoctl(int fd, unsigned long request, unsigned long argument)
{
    if (devopsStandinOwns(fd))
        return devopsStandinIoctl(fd, request, argument);
    return ::ioctl(fd, request, argument);
}

int devopsPoll(struct pollfd* fds, nfds_t count, int timeoutMs)
{
    for (nfds_t i = 0; i < count; ++i) {
        if (devopsStandinOwns(fds[i].fd))
            return devopsStandinPoll(fds, count, timeoutMs);
    }
    return ::poll(fds, count, timeoutMs);
}

int devopsClose(int fd)
{
    if (devopsStandinOwns(fd))
        return devopsStandinClose(fd);
    return ::close(fd);
}
