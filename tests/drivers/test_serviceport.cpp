// The service port's mode switch between console, responder and mode-2 function.
#include "clock.h"
#include "comport.h"
#include "doubles/bench_identify.h"
#include "doubles/memcom.h"
#include "serviceport.h"
#include "test_capture.h"

#include <doctest/doctest.h>

#include <string>
#include <vector>

namespace {

constexpr uint32_t kPort = 3;

std::vector<uint32_t> gReaderCalls;
uint32_t gReaderAnswer = 0;
uint32_t reader(uint32_t port, uint32_t modeConfigured)
{
    CHECK(port == kPort);
    gReaderCalls.push_back(modeConfigured);
    return gReaderAnswer;
}

std::vector<uint32_t> gModeCalls;
void modeFunction(uint32_t port)
{
    gModeCalls.push_back(port);
}

}  // namespace

// Runs before the other case, in a child, so that it starts from the switch's
// first state. The child's result names the first step that failed.
TEST_CASE("without a configured mode the reader decides; mode 2 runs the registered function")
{
    const int failed = runInChild([] {
        if (comportInit() != 1)
            return 10;
        memcomReset();
        if (comportRegister(kPort, memcomDriver, 100, 100, nullptr, nullptr, kPort) != 1)
            return 11;
        clockUseManual();
        serialLinkClearHandlers();
        servicePortSetReader(reader);
        servicePortSetModeFunction(modeFunction);
        servicePortInit(kPort, benchTestIdentify);
        const uint8_t text[] = "hi";
        if (servicePortWrite(text, 2) != 1 || memcomTakeOutput(kPort) != "hi")
            return 12;  // the plain console may write
        servicePortUpdate();
        clockAdvanceMs(SERVICEPORT_PING_WINDOW_MS + 1);
        servicePortUpdate();  // window closes: the configured mode 0
        servicePortUpdate();  // the reader runs, told that no mode is configured
        if (gReaderCalls != std::vector<uint32_t>{0, 0} || servicePortMode() != 0)
            return 13;
        gReaderAnswer = 2;
        servicePortUpdate();
        if (servicePortMode() != 2 || !gModeCalls.empty())
            return 14;
        servicePortUpdate();
        servicePortUpdate();
        if (gModeCalls != std::vector<uint32_t>{kPort, kPort} || gReaderCalls.size() != 3)
            return 15;
        if (servicePortWrite(text, 2) != 0)
            return 16;
        return 0;
    }, nullptr);
    CHECK(failed == 0);
}

TEST_CASE("the service port goes from the console to the configured mode")
{
    CHECK(benchGetServicePortNumber() == 1);
    REQUIRE(comportInit() == 1);
    memcomReset();
    REQUIRE(comportRegister(kPort, memcomDriver, 100, 100, nullptr, nullptr, kPort) == 1);
    clockUseManual();
    serialLinkClearHandlers();
    servicePortSetReader(reader);
    servicePortSetModeFunction(modeFunction);
    servicePortSetConfiguredMode(1);

    servicePortInit(kPort, benchTestIdentify);
    servicePortInit(kPort, benchTestIdentify);  // registers the identification only once
    CHECK(benchGetServicePortNumber() == kPort);
    CHECK(memcomConfigs(kPort).size() == 2);
    CHECK(memcomConfigs(kPort).back().baud == 7);

    // The PING window: the reader runs, told that a mode is configured.
    servicePortUpdate();
    clockAdvanceMs(SERVICEPORT_PING_WINDOW_MS);
    servicePortUpdate();
    CHECK(gReaderCalls == std::vector<uint32_t>{1, 1});
    CHECK(servicePortMode() == 0);
    const uint8_t text[] = "x";
    CHECK(servicePortWrite(text, 1) == 0);  // a mode is configured: the console stays silent

    // Window closed: the configured mode; the responder answers.
    clockAdvanceMs(1);
    servicePortUpdate();
    CHECK(servicePortMode() == 1);
    memcomFeed(kPort, std::string("\x00\x00\x01\x00\x01\x00", 6));
    servicePortUpdate();
    CHECK(memcomTakeOutput(kPort) == std::string("\x00\x0F\x01\x00\x02\xA0\x0F\xB2\x00", 9));
    CHECK(benchTestIdentifyCalls() == 1);
    CHECK(gReaderCalls.size() == 2);
    clockUseReal();
}
