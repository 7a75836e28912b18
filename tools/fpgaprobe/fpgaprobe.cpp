#include "fpgaprobe.h"

#include "clock.h"
#include "ioextend.h"

#include <cinttypes>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr uint32_t kFirstId = 79;
constexpr uint32_t kIds = 3;

struct PulseCount {
    uint64_t sum[kIds] = {};
    uint32_t flagged[kIds] = {};
    uint32_t lastLineMs = 0;
    uint16_t calls = 0;
};
PulseCount gCount;

int usage(const char* program)
{
    std::fprintf(stderr,
                 "Usage: %s [-d -t -v]\n"
                 "-d Build date for the fpga bitstream\n"
                 "-t Build time for the fpga bitstream\n"
                 "-v Version of the fpga bitstream\n"
                 "-c Make pulse count at frequency input 13, 14, 15\n"
                 "This application software version %i.%i%c\n",
                 program, 1, 0, 'a');
    return 1;
}

[[noreturn]] void countPulses()
{
    int configured = ioextend_ioConfig(81, 3, 50, fpgaprobeFrequencyCallback, 81);
    configured &= ioextend_ioConfig(79, 3, 100, fpgaprobeFrequencyCallback, 79);
    configured &= ioextend_ioConfig(80, 3, 100, fpgaprobeFrequencyCallback, 80);
    ioextend_ioEnableFrequencyInputIrq(1);
    std::printf("Init frq input is: %i\n", configured ? 1 : 0);
    std::fflush(stdout);
    uint32_t previous = 0;
    uint16_t passes = 0;
    uint16_t late = 0;
    for (;;) {
        const uint32_t now = clockGetMs();
        ioextend_Update();
        if (now - previous > 30)
            ++late;
        if (passes > 49 && late > 0) {
            std::printf("update mist: %u of %u\n", static_cast<unsigned>(late), static_cast<unsigned>(passes));
            std::fflush(stdout);
            late = 0;
            passes = 0;
        } else {
            ++passes;
        }
        previous = now;
        usleep(20);
    }
}

}  // namespace

void fpgaprobeFrequencyCallback(uint32_t data, uint32_t id)
{
    const uint32_t now = clockGetMs();
    ++gCount.calls;
    uint32_t flagA, flagB, count9, count21;
    ioextend_ioInterpretFrequencyData(data, &flagA, &flagB, &count9, &count21);
    if (id >= kFirstId && id < kFirstId + kIds) {
        gCount.sum[id - kFirstId] += count9;
        if (flagA)
            ++gCount.flagged[id - kFirstId];
    } else {
        std::printf("Do not know to handle: %" PRIu32 "\n", id);
    }
    if (now - gCount.lastLineMs > 1000) {
        std::printf("1,%" PRIu32 ",%" PRIu64 ",%" PRIu64 ",%" PRIu64 ",%" PRIu32 ",%" PRIu32 ",%" PRIu32 "\n\r", now,
                    gCount.sum[0], gCount.sum[1], gCount.sum[2], gCount.flagged[0], gCount.flagged[1],
                    gCount.flagged[2]);
        gCount.lastLineMs = now;
        gCount.calls = 0;
    }
    std::fflush(stdout);
}

int fpgaprobeMain(int argc, char** argv)
{
    clockGetMs();
    gCount.lastLineMs = clockGetMs();
    ioextend_SetTraceEnabled(false);
    ioextend_Init();
    bool known = false;
    bool count = false;
    int option;
    while ((option = getopt(argc, argv, "cdtv")) != -1) {
        switch (option) {
        case 'd': {
            IoextendBuildDate date;
            ioextend_GetBuildDateTime(&date, nullptr);
            std::printf("%04i%02i%02i\n", date.year, date.month, date.day);
            known = true;
            break;
        }
        case 't': {
            IoextendBuildTime time;
            ioextend_GetBuildDateTime(nullptr, &time);
            std::printf("%02i:%02i\n", time.hour, time.minute);
            known = true;
            break;
        }
        case 'v': {
            uint8_t major = 0, minor = 0, patch = 0;
            ioextend_GetVersion(&major, &minor, &patch);
            std::printf("%i.%02i.%02i\n", major, minor, patch);
            known = true;
            break;
        }
        case 'c':
            count = true;
            known = true;
            break;
        default:
            break;
        }
    }
    if (!known)
        return usage(argv[0]);
    std::fflush(stdout);
    if (count)
        countPulses();
    return 0;
}
