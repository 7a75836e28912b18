#pragma once
// Stand-in character devices below the system root. A device is a plain file of
// its name (dev/pwm9, dev/frqdev65): it must exist to be opened. Every ioctl is
// appended to var/log/ioctl.log as "<device> 0x<request> <argument>", where the
// argument is the value for value requests, the written words for write records
// and "read" for read records. A frequency input's file holds the queue of
// 12-byte measurement records that the board stand-in appends; each record ioctl
// takes the next one and poll reports the input readable while one is waiting.
// Its current-value record (8 bytes) is the file <device>.value (zeros when missing).
#include <poll.h>
#include <string>

int devopsStandinOpen(const char* devicePath, int flags);
// -> 1 when fd was opened by the stand-in.
int devopsStandinOwns(int fd);
int devopsStandinIoctl(int fd, unsigned long request, unsigned long argument);
int devopsStandinPoll(struct pollfd* fds, nfds_t count, int timeoutMs);
int devopsStandinClose(int fd);

// The ioctl log below the current system root.
std::string devopsStandinLogPath();
