#pragma once
// The device operations of the character devices that benchtest drives (PWM
// outputs, frequency inputs): open, ioctl and poll. Under a system root the same
// calls reach the stand-in devices (devopsstandin.h); on the device they are the
// system calls. The choice is made per descriptor when it is opened.
#include <cstdint>
#include <poll.h>

// Kernel interface of the devices.
constexpr unsigned long DEVOPS_PWM_SET_DUTY = 0x40045001;       // argument: the duty value
constexpr unsigned long DEVOPS_PWM_SET_FREQUENCY = 0x40045002;  // argument: the frequency value
constexpr unsigned long DEVOPS_FRQ_CONFIGURE = 0x4008d001;      // argument: FrqConfig*
constexpr unsigned long DEVOPS_FRQ_READ_RECORD = 0x800cd002;    // argument: FrqRecord*
constexpr unsigned long DEVOPS_FRQ_READ_VALUE = 0x8008d003;     // argument: FrqValue*

struct FrqConfig {
    uint32_t enable;     // 1
    uint32_t parameter;
};

struct FrqRecord {
    uint32_t value0;
    uint32_t value1;
    uint32_t flags;
};

struct FrqValue {
    uint32_t unused;
    uint32_t value;      // its low byte is the input's value
};

// Opens a fixed device path ("/dev/pwm8"). -> descriptor, or -1 with errno set.
int devopsOpen(const char* devicePath, int flags);
// `argument` is a value or a pointer, as the request defines. -> 0 or -1 with errno.
int devopsIoctl(int fd, unsigned long request, unsigned long argument);
// Waits like poll(2) over device descriptors and any ordinary descriptors.
int devopsPoll(struct pollfd* fds, nfds_t count, int timeoutMs);
int devopsClose(int fd);
