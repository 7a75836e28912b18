// Cost of the process core's two busiest ticks on the stand-in board with 13
// sections spraying: the 66 ms process tick (spray state, sections, switch
// inputs, fill valve, measurement, sensor inputs, regulation, counters and the
// signal hub) and the 100 ms main tick (platform update, pulse counters,
// alarm selection, regulation step). Each sample is one tick through the whole
// event chain plus the events it posts, delivered as the console's loop would.
// Prints the median and the 99th percentile of each.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

#include <QCoreApplication>

#include "cdebug.h"
#include "datastore.h"
#include "eventids.h"
#include "evtimer.h"
#include "platform.h"
#include "processhandler.h"
#include "processhooks.h"
#include "processinit.h"
#include "processstate.h"
#include "test_root.h"

namespace {

constexpr int kWarmUp = 50;
constexpr int kSamples = 2000;

void set(uint32_t id, uint32_t value)
{
    if (datastoreSetFromUint32(id, value) != DS_OK)
        std::printf("item %u refused %u\n", static_cast<unsigned>(id), static_cast<unsigned>(value));
}

// The periodic timers would run ticks of their own between the samples.
void stopPeriodicTimers()
{
    for (uint32_t id : {EV_TICK_100MS_AUX, EV_TICK_10S, EV_TICK_1S, EV_TICK_500MS, EV_TICK_250MS, EV_TICK_100MS,
                        EV_TICK_50MS})
        timerStop(EV_OWNER_PERIODIC, id);
    timerStop(EV_OWNER_PROCEDURE, EV_PROCESS_TICK);
    timerStop(EV_OWNER_PROCEDURE, EV_CAL_TICK);
}

double tickMicroseconds(uint32_t id)
{
    const auto start = std::chrono::steady_clock::now();
    processHandleEvent(id, 0);
    QCoreApplication::processEvents();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::micro>(end - start).count();
}

void measure(const char* name, uint32_t id)
{
    for (int i = 0; i < kWarmUp; ++i)
        tickMicroseconds(id);
    std::vector<double> samples;
    samples.reserve(kSamples);
    for (int i = 0; i < kSamples; ++i)
        samples.push_back(tickMicroseconds(id));
    std::sort(samples.begin(), samples.end());
    const double median = samples[samples.size() / 2];
    const double p99 = samples[samples.size() * 99 / 100];
    std::printf("%-28s median %8.1f us   99th percentile %8.1f us   (%d ticks)\n", name, median, p99, kSamples);
}

}  // namespace

int main(int argc, char** argv)
{
    TestRoot root;
    const std::string work = root.dir() + "/work";
    mkdir(work.c_str(), 0755);
    if (chdir(work.c_str()) != 0)
        return 1;
    QCoreApplication app(argc, argv);
    processRegisterStoreHooks();
    if (platformInit() != 0)
        std::printf("platformInit reported a failed step\n");
    if (processInit() != 0)
        std::printf("processInit reported a failure\n");
    QCoreApplication::processEvents();
    stopPeriodicTimers();

    // 13 sections switched on the touch screen, master on, simulated speed,
    // a pressure sensor and a flow meter, automatic regulation.
    set(DS_NUMBER_OF_SECTIONS, 13);
    set(DS_TOUCH_OPERATION, 1);
    set(DS_SOFT_MASTER_SWITCH, 1);
    set(DS_FLOW_SENSOR_PRESENT, 1);
    set(DS_PRESSURE_SENSOR_PRESENT, 1);
    set(DS_REGULATION_MODE, 1);
    set(DS_AUTOMATIC_REGULATION, 1);
    set(DS_PAGE_MODE, 0);
    processHandleEvent(EV_PROCESS_START, 0);
    QCoreApplication::processEvents();
    stopPeriodicTimers();
    processState().touchSectionMask[0] = 0x3FFE;  // sections 1 to 13
    const auto settle = [] {
        for (int i = 0; i < 20; ++i) {
            processHandleEvent(EV_PROCESS_TICK, 0);
            processHandleEvent(EV_TICK_100MS, 0);
            QCoreApplication::processEvents();
        }
    };
    settle();
    if (datastoreGetAsInt32(DS_SPRAYING_ACTIVE) == 0) {
        // Automatic spraying needs a preset with a target and sections with tips.
        std::printf("not spraying in automatic regulation: measured in manual regulation\n");
        set(DS_AUTOMATIC_REGULATION, 0);
        settle();
    }
    uint16_t sections[7] = {};
    datastoreGetData(DS_SECTION_STATE_BLOCK, sections);
    std::printf("sections on: 0x%04x, master %u, spraying %u\n", static_cast<unsigned>(sections[0]),
                static_cast<unsigned>(datastoreGetAsInt32(DS_MASTER_SWITCH)),
                static_cast<unsigned>(datastoreGetAsInt32(DS_SPRAYING_ACTIVE)));

    measure("66 ms process tick", EV_PROCESS_TICK);
    measure("100 ms main tick", EV_TICK_100MS);
    CDebug::getInstance().shutdown();
    return 0;
}
