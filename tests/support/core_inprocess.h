#pragma once
// The real process core in the test's own process, on the program's stand-in
// board: the platform and the core started as the console starts them, every
// posted event recorded (core_record.h) and then handed to the core's event
// handler. The periodic timers are stopped: the test runs ticks itself with
// runCoreEvent(EV_PROCESS_TICK, 0) and runCoreEvent(EV_TICK_100MS, 0).
// Once per program, after the Qt application and before any ScreenFixture,
// which then keeps the core's store instead of starting a bare one. The board's
// devices are laid out in the program's root; the program ends without exit
// handlers (test_exit.h). Header only; the program links the sprayer library.
//
//   REQUIRE(coreStartInProcess());
//   ScreenFixture f;
#include <QCoreApplication>

#include "core_record.h"
#include "eventids.h"
#include "evtimer.h"
#include "platform.h"
#include "processhandler.h"
#include "processhooks.h"
#include "processinit.h"
#include "standin_board.h"
#include "sysroot.h"
#include "test_exit.h"

inline void recordAndHandleEvent(uint32_t id, uint32_t value)
{
    recordPostedEvent(id, value);
    processHandleEvent(id, value);
}

inline void stopCoreTimers()
{
    for (uint32_t id : {EV_TICK_100MS_AUX, EV_TICK_10S, EV_TICK_1S, EV_TICK_500MS, EV_TICK_250MS, EV_TICK_100MS,
                        EV_TICK_50MS})
        timerStop(EV_OWNER_PERIODIC, id);
    timerStop(EV_OWNER_PROCEDURE, EV_PROCESS_TICK);
    timerStop(EV_OWNER_PROCEDURE, EV_CAL_TICK);
}

// True when the platform and the core started without a failed step.
inline bool coreStartInProcess()
{
    static const bool started = [] {
        coreRunsInProcess() = true;
        // The core's threads run to the end of the program.
        requestQuickExit();
        if (!standinCreateBoard(sysrootDir()))
            return false;
        processRegisterStoreHooks();
        const bool platformUp = platformInit() == 0;
        const bool coreUp = processInit() == 0;
        eventSetCallback(recordAndHandleEvent);
        QCoreApplication::processEvents();
        stopCoreTimers();
        return platformUp && coreUp;
    }();
    return started;
}

// One event through the core's whole chain, with the events it posts delivered.
inline void runCoreEvent(uint32_t id, uint32_t value)
{
    processHandleEvent(id, value);
    QCoreApplication::processEvents();
}
