#include "standin_devices.h"

#include "standin_board.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

const uint32_t kFrqBlock = 0x4000;
const uint32_t kIrqStat = 0x04;

bool appendBytes(const std::string& path, const void* data, size_t size, bool truncate)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (truncate ? O_TRUNC : O_APPEND), 0644);
    if (fd < 0)
        return false;
    const bool ok = size == 0 || write(fd, data, size) == static_cast<ssize_t>(size);
    return close(fd) == 0 && ok;
}

}  // namespace

bool standinCreateDevices(const std::string& dir)
{
    bool ok = true;
    for (int n = 8; n <= 11; ++n)
        ok = appendBytes(dir + "/dev/pwm" + std::to_string(n), nullptr, 0, false) && ok;
    return appendBytes(standinFrqDevicePath(dir, 65), nullptr, 0, false) && ok;
}

std::string standinFrqDevicePath(const std::string& dir, int input)
{
    return dir + "/dev/frqdev" + std::to_string(input);
}

bool standinQueueFrqRecord(const std::string& dir, int input, uint32_t value0, uint32_t value1, uint32_t flags)
{
    const uint32_t record[3] = {value0, value1, flags};
    return appendBytes(standinFrqDevicePath(dir, input), record, sizeof record, false);
}

bool standinSetFrqValue(const std::string& dir, int input, uint32_t value)
{
    const uint32_t record[2] = {0, value};
    return appendBytes(standinFrqDevicePath(dir, input) + ".value", record, sizeof record, true);
}

std::string standinIoctlLogPath(const std::string& dir)
{
    return dir + "/var/log/ioctl.log";
}

bool standinFeedFpgaFrequency(const std::string& dir, int channel, uint32_t word)
{
    const uint32_t bit = 1u << channel;
    const uint32_t status = standinReadFpgaRegister(dir, kFrqBlock + kIrqStat);
    if (status & bit)
        return false;
    // The data word first: the program takes it once it sees the bit.
    return standinWriteFpgaRegister(dir, kFrqBlock + 0x14 + 0x10 * channel, word) &&
           standinWriteFpgaRegister(dir, kFrqBlock + kIrqStat, status | bit);
}
