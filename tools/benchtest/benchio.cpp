#include "benchio.h"

#include "adc128s.h"
#include "benchcommand.h"
#include "benchplatform.h"
#include "frqdriver.h"
#include "gpiodrv.h"

namespace {

constexpr uint32_t kLastGpioLine = 200;

bool pwmPlatform()
{
    const int platform = readPlatform();
    return platform == 3 || platform == 4;
}

// The PWM index of an output id on this platform, -1 for none.
int pwmIndex(uint8_t id)
{
    const int platform = readPlatform();
    if (id == 22 && platform == 3)
        return 1;
    if (id == 23 && (platform == 3 || platform == 4))
        return 2;
    return -1;
}

void setNamedOutput(uint8_t id, uint8_t level)
{
    switch (id) {
    case 8: gpioDrvBuzzerLow(level); break;
    case 9: gpioDrvBuzzerHigh(level); break;
    case 12: gpioDrvUSB1_EN(level); break;
    case 16: gpioDrvPowerRelay(level); break;
    case 18: gpioDrvPowerOff(level); break;
    case 20: gpioDrvBridgeEnable(level); break;
    case 21: gpioDrvBacklightOn(level); break;
    case 26: gpioDrvSetGPIO106(level); break;
    case 27: gpioDrvSetGPIO102(level); break;
    default: break;
    }
}

int readNamedInput(uint8_t id)
{
    switch (id) {
    case 10: return gpioDrvReadUSB1_5VFB();
    case 11: return gpioDrvReadUSB1_status();
    case 13: return gpioDrvReadUSB2_5VFB();
    case 14: return gpioDrvReadUSB2_status();
    case 15: return gpioDrvReadAuto_update();
    case 17: return gpioDrvReadPowerButtonSense();
    case 19: return gpioDrvReadIgnitionSense();
    case 24:
        if (readPlatform() == 4) {
            uint8_t value = 0;
            return frqdriverReadInput(65, &value) ? value : 0;
        }
        return gpioDrvReadImplementStatus();
    case 25: return gpioDrvReadGPIO55();
    default: return 0;
    }
}

}  // namespace

int benchHandleIo(BenchRequest request, BenchReply* reply)
{
    static const BenchCommandLength commands[] = {{0x0600, 1}, {0x0702, 2}, {0x0703, 2}, {0x0704, 1},
                                                   {0x0800, 1}, {0x0700, 4}, {0x0701, 1}};
    const size_t count = pwmPlatform() ? 7 : 5;
    const BenchClaim claim = benchClaim(request, reply, commands, count);
    if (claim != BENCH_EXECUTE)
        return claim;
    const uint8_t id = benchPayload8(request, 0);
    uint8_t payload[3] = {id, 0, 0};
    switch (request.command) {
    case 0x0600: {
        uint16_t value = 0;
        if (id <= 7)
            adc128sRead(id, &value);
        benchPut16(payload + 1, value);
        benchSetReplyFrame(reply, 0x0601, payload, 3);
        break;
    }
    case 0x0700:
    case 0x0701: {
        const int index = pwmIndex(id);
        if (index >= 0) {
            const bool start = request.command == 0x0700;
            pwmSetFrequency(index, start ? benchPayload16(request, 1) : 100);
            pwmSetDutyCycle(index, start ? benchPayload8(request, 3) : 0);
        }
        benchDone(reply);
        break;
    }
    case 0x0702:
        setNamedOutput(id, benchPayload8(request, 1));
        if (id <= kLastGpioLine)
            gpioDrvSetGPIOGeneric(id, benchPayload8(request, 1));
        benchDone(reply);
        break;
    case 0x0703:
        if (id <= kLastGpioLine)
            gpioDrvSetGPIOGeneric(id, benchPayload8(request, 1));
        benchDone(reply);
        break;
    case 0x0704:
        payload[1] = (id <= kLastGpioLine && gpioDrvGetGPIOGeneric(id)) ? 1 : 0;
        benchSetReplyFrame(reply, 0x0705, payload, 2);
        break;
    default:
        payload[1] = readNamedInput(id) != 0 ? 1 : 0;
        benchSetReplyFrame(reply, 0x0801, payload, 2);
        break;
    }
    return 1;
}
