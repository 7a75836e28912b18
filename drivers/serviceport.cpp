#include "serviceport.h"

#include "clock.h"
#include "comport.h"

namespace {

uint32_t gPortNumber = 1;
bool gInitialised = false;
bool gPingWindowOpen = false;
uint32_t gPingDeadline = 0;
uint32_t gMode = 0;
uint32_t gConfiguredMode = 0;
ServicePortReader gReader = nullptr;
ServicePortModeFunction gModeFunction = nullptr;

uint32_t runReader(uint32_t modeConfigured)
{
    return gReader ? gReader(gPortNumber, modeConfigured) : gMode;
}

}  // namespace

void servicePortInit(uint32_t port, BenchHandler identification)
{
    gPortNumber = port;
    benchBindPort(port);
    if (gInitialised)
        return;
    gPingDeadline = clockGetMs() + SERVICEPORT_PING_WINDOW_MS;
    gPingWindowOpen = true;
    benchRegisterHandler(identification);
    gInitialised = true;
}

void servicePortUpdate()
{
    switch (gMode) {
    case 0:
        if (gPingWindowOpen) {
            if (static_cast<int32_t>(clockGetMs() - gPingDeadline) > 0) {
                gPingWindowOpen = false;
                gMode = gConfiguredMode;
            } else {
                gMode = runReader(gConfiguredMode != 0 ? 1 : 0);
            }
        } else {
            gMode = runReader(0);
        }
        break;
    case 1:
        benchProtocolTick();
        break;
    case 2:
        if (gModeFunction)
            gModeFunction(gPortNumber);
        break;
    default:
        break;
    }
}

void servicePortSetReader(ServicePortReader reader)
{
    gReader = reader;
}

void servicePortSetModeFunction(ServicePortModeFunction function)
{
    gModeFunction = function;
}

void servicePortSetConfiguredMode(uint32_t mode)
{
    gConfiguredMode = mode;
}

uint32_t servicePortMode()
{
    return gMode;
}

uint32_t servicePortWrite(const uint8_t* data, uint16_t length)
{
    if (gMode != 0 || gConfiguredMode != 0)
        return 0;
    return comportWrite(gPortNumber, data, length) ? 1 : 0;
}

uint32_t benchGetServicePortNumber()
{
    return gPortNumber;
}

void benchSetServicePortNumber(uint32_t port)
{
    gPortNumber = port;
}
