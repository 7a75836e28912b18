#pragma once
// Platform start-up and the platform's share of the 100 ms main cycle.
//
// platformInit brings the platform up in one fixed order inside the global
// critical section: memory pools, millisecond clock, pulse inputs, serial ports
// (port 0 on the standard output, port 2 on "/dev/ttyO2"), file store and
// parameter store with its image, version check, CAN channel 0 on socketcan and
// the buffering event handler. A failing step does not stop the start-up; the
// result names the last step that failed.
//
// platformUpdate runs on every 100 ms tick in the main thread: refreshes due
// items, writes changed persistent items, wakes the file-store writer, records
// the new store version once after a migration, services the debug console, and
// logs the step timings when the whole call took more than 20 ms.
#include <cstdint>

#include "canio.h"
#include "comport.h"
#include "dsnvmem.h"

enum PlatformError : uint32_t {
    NO_PLATFORM_ERROR = 0,
    PLATFORM_ERROR_COM_TABLE = 1,
    PLATFORM_ERROR_COM_PORT0 = 2,
    PLATFORM_ERROR_COM_PORT2 = 4,  // "failed to open COM3"
    PLATFORM_ERROR_CAN_TABLE = 5,
    PLATFORM_ERROR_CAN_CHANNEL = 6,
    PLATFORM_ERROR_DATASTORE = 8,
    PLATFORM_ERROR_NV_BACKEND = 9,
    PLATFORM_ERROR_NVMEM = 10,
    PLATFORM_ERROR_MEMORY_POOL = 11,
    PLATFORM_ERROR_FILESTORE = 12,
};

// Once, from the main thread, before any other platform thread runs.
// -> NO_PLATFORM_ERROR or the PlatformError of the last step that failed.
uint32_t platformInit();
// Main thread only. -> 0.
uint32_t platformUpdate();

// The operations whose failure start-up reports, and the clock the update
// measures itself with. Tests replace single entries to make a step fail or to
// let an update take a chosen time; the program keeps the defaults.
struct PlatformSteps {
    int (*poolInit)(void* region, uint32_t size, uint32_t boundary);
    int (*heapInit)(void* region, uint32_t size, uint32_t boundary);
    uint32_t (*comportInit)();
    uint32_t (*comportRegister)(uint32_t port, ComDriver driver, uint16_t receiveSize,
                                uint16_t transmitSize, ComPortHandler* receiveHandler,
                                ComPortHandler* transmitHandler, uint32_t driverArgument);
    uint32_t (*filestoreCreate)();
    uint32_t (*datastoreInit)(uint32_t owner);
    uint32_t (*registerNvBackend)(uint32_t index, DsNvReadFunc read, DsNvWriteFunc write,
                                  uint32_t context);
    uint32_t (*nvmemInit)();
    uint32_t (*canioInit)(uint16_t count);
    uint32_t (*canioInitChannel)(uint32_t channel, CanDriverEntry driver, uint32_t handle,
                                 uint16_t ringSlots);
    uint32_t (*canioGetPollFunction)(uint32_t channel, CanPollFunction* function);
    uint32_t (*clockGetMs)();
};

PlatformSteps platformDefaultSteps();
void platformSetSteps(const PlatformSteps& steps);
