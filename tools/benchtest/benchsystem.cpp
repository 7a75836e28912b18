#include "benchsystem.h"

#include "benchcommand.h"
#include "clock.h"
#include "cmdrunner.h"
#include "sysroot.h"

#include <string>
#include <sys/stat.h>

namespace {

bool exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

}  // namespace

void benchTakeConsole()
{
    cmdRun("echo 7 > /proc/sys/kernel/printk");
    cmdRun("/bin/stty -F /dev/ttyO0 raw");
    cmdRun("/bin/stty -F /dev/ttyO0 -echo");
    cmdRun("/bin/stty -F /dev/ttyO0 -echoe");
    cmdRun("/bin/stty -F /dev/ttyO0 -echok");
}

int benchHandleIdentify(BenchRequest request, BenchReply* reply)
{
    static const BenchCommandLength commands[] = {{0x0000, 1}};
    const BenchClaim claim = benchClaim(request, reply, commands, 1);
    if (claim != BENCH_EXECUTE)
        return claim;
    const uint8_t answer[2] = {160, 15};
    benchSetReplyFrame(reply, 0x0001, answer, 2);
    return 1;
}

int benchHandleConsoleRelease(BenchRequest request, BenchReply* reply)
{
    static const BenchCommandLength commands[] = {{0x2900, 0}, {0x2901, 0}};
    const BenchClaim claim = benchClaim(request, reply, commands, 2);
    if (claim != BENCH_EXECUTE)
        return claim;
    if (request.command == 0x2900) {
        benchTakeConsole();
    } else {
        cmdRun("echo 6 > /proc/sys/kernel/printk");
        cmdRun("/bin/stty -F /dev/ttyO0 -raw");
        cmdRun("/bin/stty -F /dev/ttyO0 echo");
        cmdRun("/bin/stty -F /dev/ttyO0 echoe");
        cmdRun("/bin/stty -F /dev/ttyO0 echok");
        if (cmdRun("pidof appl.benchtest > /dev/null") == 0) {
            for (int i = 0; i < 3; ++i)
                cmdRun("sync");
            cmdRun("kill `pidof appl.benchtest` > /dev/null");
        }
    }
    benchDone(reply);
    return 1;
}

int benchHandleUsb(BenchRequest request, BenchReply* reply)
{
    static const BenchCommandLength commands[] = {{0x2600, 1}};
    const BenchClaim claim = benchClaim(request, reply, commands, 1);
    if (claim != BENCH_EXECUTE)
        return claim;
    const uint8_t index = benchPayload8(request, 0);
    uint8_t result = 1;
    if (index == 0)
        result = exists(sysrootPath("/media/sda1/usb_test.txt")) ? 1 : 0;
    else if (index == 1)
        result = exists(sysrootPath("/media/sdb1/usb_test.txt")) ? 1 : 0;
    const uint8_t payload[2] = {index, result};
    benchSetReplyFrame(reply, 0x2601, payload, 2);
    return 1;
}

int benchHandleRtc(BenchRequest request, BenchReply* reply)
{
    static const BenchCommandLength commands[] = {{0x0D00, 8}, {0x0D01, 0}};
    const BenchClaim claim = benchClaim(request, reply, commands, 2);
    if (claim != BENCH_EXECUTE)
        return claim;
    if (request.command == 0x0D00) {
        RtcTime time;
        time.hour = benchPayload8(request, 0);
        time.minute = benchPayload8(request, 1);
        time.second = benchPayload8(request, 2);
        RtcDate date = {};
        date.day = benchPayload8(request, 3);
        date.month = benchPayload8(request, 4);
        date.year = benchPayload16(request, 5);
        rtcSetTime(time);
        rtcSetDate(date);
        cmdRun("/sbin/hwclock --systohc");
        cmdRun("/etc/init.d/save-rtc.sh");
        benchDone(reply);
        return 1;
    }
    const RtcTime time = rtcUnpackTime(rtcGetTime());
    RtcDate date = {};
    rtcGetDate(&date);
    uint8_t payload[8] = {time.second, time.minute, time.hour, date.day, date.month, 0, 0, date.weekday};
    benchPut16(payload + 5, static_cast<uint16_t>(date.year - 1998));
    benchSetReplyFrame(reply, 0x0D02, payload, 8);
    return 1;
}

int benchHandleEthernet(BenchRequest request, BenchReply* reply)
{
    static const BenchCommandLength commands[] = {{0x2700, 1}};
    const BenchClaim claim = benchClaim(request, reply, commands, 1);
    if (claim != BENCH_EXECUTE)
        return claim;
    static const char* const pipelines[] = {
        "ifconfig eth0 | grep \"inet addr\" | awk -F: '{print $2}' | awk '{print $1}'",
        "ifconfig eth1 | grep \"inet addr\" | awk -F: '{print $2}' | awk '{print $1}'",
    };
    const uint8_t index = benchPayload8(request, 0);
    uint8_t result = 0;
    if (index <= 1) {
        std::string address;
        cmdRunRead(pipelines[index], &address, 64);
        result = address.empty() ? 0 : 1;
    }
    const uint8_t payload[2] = {index, result};
    benchSetReplyFrame(reply, 0x2701, payload, 2);
    return 1;
}
