#include "platform.h"

#include "cdebug.h"
#include "clock.h"
#include "comlinux.h"
#include "conout.h"
#include "datastore.h"
#include "debugcon.h"
#include "dsvctrl.h"
#include "eventqueue.h"
#include "filestore.h"
#include "kernel.h"
#include "mempool.h"
#include "pulsinput.h"
#include "socketcan.h"

#include <cstdio>

namespace {

constexpr uint32_t kHandlePoolSize = 0x40000;
constexpr uint32_t kHandlePoolBoundary = 16384;
constexpr uint32_t kPointerPoolSize = 0xB4000;
constexpr uint32_t kPointerPoolBoundary = 0;

constexpr uint32_t kComRate115200 = 7;
constexpr uint32_t kComRate9600 = 3;
constexpr uint32_t kComDataBits8 = 3;
constexpr uint32_t kComParityNone = 2;
constexpr uint32_t kComStopBits1 = 0;
constexpr uint16_t kComReceiveSize = 1000;
constexpr uint16_t kComTransmitSize = 8000;

constexpr uint32_t kDatastoreOwner = 2;
constexpr uint32_t kStoreBackend = 1;
// Requested for channel 0; socketcan queues frames itself, so no ring is made.
constexpr uint16_t kCanRingSlots = 500;
constexpr uint32_t kSlowUpdateMs = 20;

alignas(16) uint8_t gHandlePool[kHandlePoolSize];
alignas(16) uint8_t gPointerPool[kPointerPoolSize];

PlatformSteps gSteps = platformDefaultSteps();

// Set by the version check when the store was migrated: the first update then
// records the new version items.
uint8_t gVersionRecord = 0;

// The file store and the parameter store come up whatever happened to the
// serial ports: without them every parameter of the console would be lost.
// A failure inside this chain skips only what depends on the failed step.
uint32_t startStore(uint32_t result)
{
    const bool fileStore = gSteps.filestoreCreate() != 0;
    if (!fileStore)
        result = PLATFORM_ERROR_FILESTORE;
    if (gSteps.datastoreInit(kDatastoreOwner) != 0)
        return PLATFORM_ERROR_DATASTORE;
    if (!fileStore)
        return result;
    if (gSteps.registerNvBackend(kStoreBackend, filestoreRead, filestoreWrite, 0) == 0)
        return PLATFORM_ERROR_NV_BACKEND;
    try {
        const uint32_t loaded = gSteps.nvmemInit();
        if (loaded != DS_NV_LOADED && loaded != DS_NV_INITIALISED)
            result = PLATFORM_ERROR_NVMEM;
    } catch (...) {
        CDEBUG_LOG(CDebugLevel::CRI, "cDefault",
                   "something is wrong with the memory, reset the whole datastore!");
        datastoreSetRunningForTheVeryFirstTimeTrue();
    }
    return result;
}

uint32_t startCan(uint32_t result)
{
    if (gSteps.canioInit(1) == 0)
        return PLATFORM_ERROR_CAN_TABLE;
    if (gSteps.canioInitChannel(0, socketCANdriver, 0, kCanRingSlots) == 0)
        return PLATFORM_ERROR_CAN_CHANNEL;
    CanPollFunction unusedPoll = nullptr;
    if (gSteps.canioGetPollFunction(0, &unusedPoll) == 0)
        return PLATFORM_ERROR_CAN_CHANNEL;
    return result;
}

}  // namespace

PlatformSteps platformDefaultSteps()
{
    PlatformSteps steps;
    steps.poolInit = memInit;
    steps.heapInit = heapInit;
    steps.comportInit = comportInit;
    steps.comportRegister = comportRegister;
    steps.filestoreCreate = filestoreCreate;
    steps.datastoreInit = datastoreInit;
    steps.registerNvBackend = datastoreRegisterNvBackend;
    steps.nvmemInit = datastoreNvmemInit;
    steps.canioInit = canioInit;
    steps.canioInitChannel = canioInitChannel;
    steps.canioGetPollFunction = canioGetPollFunction;
    steps.clockGetMs = clockGetMs;
    return steps;
}

void platformSetSteps(const PlatformSteps& steps)
{
    gSteps = steps;
}

uint32_t platformInit()
{
    uint32_t result = NO_PLATFORM_ERROR;
    CDEBUG_LOG(CDebugLevel::DEB, "cInit", "Started");
    kernelInit();
    if (gSteps.poolInit(gHandlePool, kHandlePoolSize, kHandlePoolBoundary) == 0)
        result = PLATFORM_ERROR_MEMORY_POOL;
    if (gSteps.heapInit(gPointerPool, kPointerPoolSize, kPointerPoolBoundary) == 0)
        result = PLATFORM_ERROR_MEMORY_POOL;

    kernelCriticalSectionEnter();
    clockStart();
    pulsInit();

    if (gSteps.comportInit() == 0)
        result = PLATFORM_ERROR_COM_TABLE;
    if (result == NO_PLATFORM_ERROR) {
        if (gSteps.comportRegister(0, conoutDriver, kComReceiveSize, kComTransmitSize, nullptr,
                                   nullptr, 0) == 0)
            result = PLATFORM_ERROR_COM_PORT0;
        else
            comportOpen(0, kComRate115200, kComDataBits8, kComParityNone, kComStopBits1);
    }
    comselectInit(0);
    if (result == NO_PLATFORM_ERROR) {
        if (gSteps.comportRegister(2, comLinuxDriver, kComReceiveSize, kComTransmitSize, nullptr,
                                   nullptr, 2) == 0) {
            std::fputs("failed to open COM3\n", stdout);
            std::fflush(stdout);
            result = PLATFORM_ERROR_COM_PORT2;
        } else {
            comportOpen(2, kComRate9600, kComDataBits8, kComParityNone, kComStopBits1);
        }
    }

    result = startStore(result);
    gVersionRecord = static_cast<uint8_t>(dsvctrlCheckVersion());
    result = startCan(result);
    eventRegistryInit();
    kernelCriticalSectionLeave();

    CDEBUG_LOG(CDebugLevel::DEB, "cInit", "End");
    return result;
}

uint32_t platformUpdate()
{
    const uint32_t t0 = gSteps.clockGetMs();
    datastoreRefreshDue();
    const uint32_t t1 = gSteps.clockGetMs();
    datastoreNvWriteDirty(1);
    const uint32_t t2 = gSteps.clockGetMs();
    filestoreFlush();
    const uint32_t t3 = gSteps.clockGetMs();

    const bool recordVersion = gVersionRecord != 0;
    uint32_t t4 = t3;
    if (recordVersion) {
        CDEBUG_LOG_TEXT(CDebugLevel::DEB, "cInitFile", std::string());
        dsvctrlSetDefaults();
        t4 = gSteps.clockGetMs();
        gVersionRecord = 0;
    }
    debugConsoleService(t4);

    const uint32_t t5 = gSteps.clockGetMs();
    if (t5 - t0 <= kSlowUpdateMs)
        return 0;
    const unsigned long versionMs = recordVersion ? t4 - t3 : 0;
    const unsigned long restMs = recordVersion ? t5 - t4 : t5 - t3;
    CDEBUG_LOG(CDebugLevel::DEB, "cInit", "2,%lu,%lu,%lu,%lu,%lu,%lu", static_cast<unsigned long>(t0),
               static_cast<unsigned long>(t1 - t0), static_cast<unsigned long>(t2 - t1),
               static_cast<unsigned long>(t3 - t2), versionMs, restMs);
    return 0;
}
