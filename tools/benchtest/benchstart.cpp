#include "benchstart.h"

#include "adc128s.h"
#include "benchcan.h"
#include "benchdisplay.h"
#include "benchfpga.h"
#include "benchio.h"
#include "benchplatform.h"
#include "benchsystem.h"
#include "canio.h"
#include "cmdrunner.h"
#include "comlinux.h"
#include "comport.h"
#include "gpiodrv.h"
#include "ioextend.h"
#include "kernel.h"
#include "seriallink.h"
#include "serviceport.h"
#include "socketcan.h"
#include "threadfunc.h"

#include <cstdio>

namespace {

constexpr uint16_t kCanRing = 500;
constexpr uint16_t kReceiveRing = 1000;
constexpr uint16_t kTransmitRing = 8000;

void benchAdcStart()
{
    adc128sSetLogEnabled(false);
    SetMinMax(0, 0x3FF);
    for (int channel = 0; channel <= 7; ++channel)
        adc128sConfig(channel, 10, nullptr, 0);
}

}  // namespace

BenchPlatformSettings benchPlatformSettings(int platform)
{
    switch (platform) {
    case 1:
        return {0xDCFF, 1, {0}, true, true};
    case 5:
        return {0x1FFFF, 1, {0}, true, true};
    case 6:
        return {0xE00C1, 1, {0}, true, true};
    case 7:
        return {0xC0DCFF, 3, {2, 0, 1}, true, true};
    case 8:
        return {0x91, 6, {0, 1, 2, 3, 4, 5}, true, true};
    case 9:
        return {0x10, 2, {1, 0}, true, true};
    default:
        return {0xFFFFFFFFu, 1, {0}, platform != 3, platform != 3 && platform != 4};
    }
}

void benchtestMain()
{
    benchAdcStart();
    std::printf("Starting benchtest\n");
    std::printf("%s, %s\n", __DATE__, __TIME__);
    std::printf("Benchtest version:%i.%i%c\n", 1, 0, 'x');

    const int platform = readPlatform();
    const BenchPlatformSettings settings = benchPlatformSettings(platform);
    if (platform == 7)
        std::printf("benchtest for %s\n", benchPlatformName(platform));
    std::fflush(stdout);
    gpioDrvInit(settings.gpioMask);

    ioextend_SetTraceEnabled(false);
    ioextend_Init();
    kernelInit();

    comportInit();
    benchSetServicePortNumber(0);

    canioInit(static_cast<uint16_t>(settings.canChannels));
    for (uint32_t channel = 0; channel < settings.canChannels; ++channel)
        canioInitChannel(channel, socketCANdriver, settings.canInterface[channel], kCanRing);
    benchCanSetChannelCount(settings.canChannels);

    benchTakeConsole();

    comportRegister(0, comLinuxDriver, kReceiveRing, kTransmitRing, nullptr, nullptr, 0);
    comportOpen(0, 7, 3, 2, 0);
    if (settings.comPort2) {
        if (!comportRegister(2, comLinuxDriver, kReceiveRing, kTransmitRing, nullptr, nullptr, 2))
            std::printf("COM3 open falied\n");
        comportOpen(2, 4, 3, 2, 0);
        cmdRun("/bin/stty -F /dev/ttyO2 sane");
    }

    benchBindPort(0);
    benchRegisterHandler(benchHandleIdentify);
    benchRegisterHandler(benchHandleConsoleRelease);
    if (settings.fpgaCommands)
        benchRegisterHandler(benchHandleFpga);
    else
        std::printf("No FPGA register commands on the %s and %s platforms\n", benchPlatformName(3),
                    benchPlatformName(4));
    benchRegisterHandler(benchHandleUsb);
    benchRegisterHandler(benchHandleIo);
    benchRegisterHandler(benchHandleDisplay);
    benchRegisterHandler(benchHandleCan);
    benchRegisterHandler(benchHandleRtc);
    benchRegisterHandler(benchHandleTouch);
    benchRegisterHandler(benchHandleEthernet);
    std::fflush(stdout);

    for (;;) {
        ioextend_Update();
        threadfunc::sleep(10);
        benchProtocolTick();
    }
}
