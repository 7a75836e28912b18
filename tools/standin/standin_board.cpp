#include "standin_board.h"

#include "toolsmisc.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

const char* const kGpioDir = "/sys/class/gpio";
const char* const kHwmonDir = "/sys/class/hwmon/hwmon1/device";
const off_t kFpgaSize = 0x20000;

// Every line the GPIO driver opens.
const int kGpioLines[] = {95, 140, 141, 24, 150, 149, 26, 137, 170, 100,
                          153, 10, 152, 65, 55, 106, 102, 64, 136, 105};

bool writeWhole(const std::string& path, const std::string& text)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    return close(fd) == 0 && ok;
}

std::string fpgaPath(const std::string& dir)
{
    return dir + "/dev/uio0";
}

}  // namespace

std::string standinGpioValuePath(const std::string& dir, int line)
{
    return dir + kGpioDir + "/gpio" + std::to_string(line) + "/value";
}

std::string standinAdcInputPath(const std::string& dir, int channel)
{
    return dir + kHwmonDir + "/in" + std::to_string(channel) + "_input";
}

bool standinSetGpio(const std::string& dir, int line, const std::string& text)
{
    return writeWhole(standinGpioValuePath(dir, line), text);
}

bool standinSetAdc(const std::string& dir, int channel, unsigned value)
{
    return writeWhole(standinAdcInputPath(dir, channel), std::to_string(value) + "\n");
}

bool standinWriteFpgaRegister(const std::string& dir, uint32_t offset, uint32_t value)
{
    int fd = open(fpgaPath(dir).c_str(), O_RDWR);
    if (fd < 0)
        return false;
    bool ok = pwrite(fd, &value, sizeof value, offset) == sizeof value;
    return close(fd) == 0 && ok;
}

uint32_t standinReadFpgaRegister(const std::string& dir, uint32_t offset)
{
    uint32_t value = 0;
    int fd = open(fpgaPath(dir).c_str(), O_RDONLY);
    if (fd < 0)
        return 0;
    if (pread(fd, &value, sizeof value, offset) != sizeof value)
        value = 0;
    close(fd);
    return value;
}

bool standinCreateBoard(const std::string& dir)
{
    bool ok = true;
    int fd = open(fpgaPath(dir).c_str(), O_RDWR | O_CREAT, 0644);
    ok = fd >= 0 && ftruncate(fd, kFpgaSize) == 0 && ok;
    if (fd >= 0)
        close(fd);

    for (int line : kGpioLines) {
        const std::string lineDir = dir + kGpioDir + "/gpio" + std::to_string(line);
        ok = makeDirs(lineDir) && ok;
        ok = writeWhole(lineDir + "/value", "0\n") && ok;
    }

    for (int channel = 0; channel < 8; ++channel)
        ok = standinSetAdc(dir, channel, 0) && ok;
    ok = writeWhole(dir + kHwmonDir + "/in_max", "1023\n") && ok;
    return ok;
}
