#include "beep.h"

#include "gpiodrv.h"
#include "threadfunc.h"

#include <atomic>
#include <cstdio>

namespace {

void gpioWriter(uint32_t line, uint32_t level)
{
    if (line == 0)
        gpioDrvBuzzerLow(level);
    else
        gpioDrvBuzzerHigh(level);
}

struct PatternTiming {
    uint32_t onMs;
    uint32_t offMs;
    uint32_t count;
};
// Room for the GPIO layer's error printing, also under the sanitizers.
const uint32_t kTaskStack = 65536;

const PatternTiming kPatterns[3] = {{50, 0, 1}, {300, 50, 3}, {1000, 75, 2}};

std::atomic<BeepLineWriter> lineWriter{gpioWriter};

uint32_t selectedLine = 0;
uint32_t signalType = BEEP_TYPE_IDLE;
// Wide enough for the 2 x 255 steps of the longest customised pattern; a byte
// would wrap for counts above 127 and never end the pattern.
uint16_t stepCounter = 0;
uint16_t customOnMs = 0;
uint16_t customOffMs = 0;
uint32_t customCount = 0;
bool continuous = false;
// A pattern's switch-on waits in the queue; a stop that overtakes it takes it
// back, so the buzzer stays off. At most one "on" waits at a time, so a burst
// of requests cannot fill the queue while a caller holds the module lock.
bool pendingOn = false;
bool onQueued = false;

std::atomic<bool> initialised{false};
threadfunc::mutex* moduleLock = nullptr;
threadfunc::queue_template<BEEP_STATE>* beepQueue = nullptr;
threadfunc::timer_template<BEEP_STATE>* patternTimer = nullptr;
threadfunc::semaphore* syncDone = nullptr;
threadfunc::mutex* syncLock = nullptr;

void writeLevel(uint32_t level)
{
    lineWriter.load()(selectedLine, level);
}

// Levels other than 0 and 1 leave the line as it is.
void setOutput(uint32_t on)
{
    if (on <= 1)
        writeLevel(on);
}

void stopLocked()
{
    signalType = BEEP_TYPE_IDLE;
    stepCounter = 0;
    pendingOn = false;
    patternTimer->stop();
    setOutput(0);
}

// Caller holds the module lock.
void startLocked(uint32_t type, uint32_t line, uint32_t onMs)
{
    stepCounter = 1;
    signalType = type;
    selectedLine = line;
    pendingOn = true;
    if (!onQueued) {
        if (beepQueue->tryPut(BEEP_STATE_ON)) {
            onQueued = true;
        } else {
            pendingOn = false;
            setOutput(1);
        }
    }
    patternTimer->startOneShot(onMs);
}

// One timer step; true when the pattern has ended.
bool beepStep(uint32_t onMs, uint32_t offMs, uint32_t count)
{
    if (stepCounter & 1u) {
        ++stepCounter;
        setOutput(0);
        patternTimer->startOneShot(offMs);
        return false;
    }
    if ((count & 0xFFu) <= stepCounter / 2u)
        return true;
    ++stepCounter;
    setOutput(1);
    patternTimer->startOneShot(onMs);
    return false;
}

void handle(BEEP_STATE value)
{
    if (value == BEEP_STATE_SYNC) {
        syncDone->post();
        return;
    }
    if (value == BEEP_STATE_ON) {
        onQueued = false;
        if (pendingOn) {
            pendingOn = false;
            setOutput(1);
        }
        return;
    }
    bool finished = false;
    if (signalType == BEEP_TYPE_CLICK) {
        stopLocked();
    } else if (signalType == BEEP_TYPE_TRIPLE || signalType == BEEP_TYPE_DOUBLE) {
        const PatternTiming& p = kPatterns[signalType];
        finished = beepStep(p.onMs, p.offMs, p.count);
    } else if (signalType > BEEP_TYPE_IDLE) {
        finished = beepStep(customOnMs, customOffMs, customCount);
    }
    if (finished)
        stopLocked();
}

void* beepTask(void*)
{
    threadfunc::setThreadName("buzzer");
    for (;;) {
        const BEEP_STATE value = beepQueue->get();
        moduleLock->lock();
        handle(value);
        moduleLock->unlock();
    }
    return nullptr;
}

}  // namespace

void beepSetLineWriter(BeepLineWriter writer)
{
    lineWriter.store(writer ? writer : gpioWriter);
}

void beepInit()
{
    if (initialised.load())
        return;
    moduleLock = new threadfunc::mutex();
    beepQueue = new threadfunc::queue_template<BEEP_STATE>(20);
    patternTimer = new threadfunc::timer_template<BEEP_STATE>(beepQueue, BEEP_STATE_STEP);
    syncDone = new threadfunc::semaphore(0);
    syncLock = new threadfunc::mutex();
    signalType = BEEP_TYPE_IDLE;
    stepCounter = 0;
    lineWriter.load()(0, 0);
    lineWriter.load()(1, 0);
    initialised.store(true);
    threadfunc::ThreadCreate(17, beepTask, nullptr, kTaskStack, __FILE__, __LINE__);
}

int beepStart(uint32_t type, uint32_t line)
{
    if (!initialised.load())
        return 0;
    moduleLock->lock();
    int result = 1;
    if (signalType == BEEP_TYPE_TRIPLE || signalType == BEEP_TYPE_DOUBLE || type > BEEP_TYPE_DOUBLE) {
        if (type == BEEP_TYPE_IDLE)
            stopLocked();
        else
            result = 0;
    } else {
        if (signalType != BEEP_TYPE_IDLE || continuous) {
            stopLocked();
            continuous = false;
        }
        startLocked(type, line, kPatterns[type].onMs);
    }
    moduleLock->unlock();
    return result;
}

int beepStartCustomized(uint32_t pattern, uint32_t onMs, uint32_t offMs, uint32_t count, uint32_t line)
{
    if (!initialised.load())
        return 0;
    moduleLock->lock();
    const uint32_t type = pattern + 4;
    int result = 0;
    const bool allowed = signalType == BEEP_TYPE_IDLE || signalType == BEEP_TYPE_CLICK || signalType == type;
    if (allowed) {
        if (signalType != BEEP_TYPE_IDLE || continuous) {
            stopLocked();
            continuous = false;
            printf("beepStartCustomized() BeepOff \n\r");
            result = 1;
        }
        if (count != 0 && onMs != 0) {
            customOnMs = static_cast<uint16_t>(onMs);
            customOffMs = static_cast<uint16_t>(offMs);
            customCount = count;
            startLocked(type, line, customOnMs);
            result = 1;
        }
    }
    const uint32_t current = signalType;
    moduleLock->unlock();
    printf("beepStartCustomized() BeepSignalType %u\n\r", current);
    return result;
}

void beepSetContinuous(uint32_t on, uint32_t line)
{
    if (!initialised.load())
        return;
    moduleLock->lock();
    stopLocked();
    if (on == 1) {
        selectedLine = line;
        continuous = true;
        setOutput(1);
    } else if (on == 0) {
        setOutput(0);
        continuous = false;
    }
    moduleLock->unlock();
}

void beepStop()
{
    if (!initialised.load())
        return;
    moduleLock->lock();
    stopLocked();
    moduleLock->unlock();
}

void beepSetOutput(uint32_t on)
{
    if (!initialised.load())
        return;
    moduleLock->lock();
    setOutput(on);
    moduleLock->unlock();
}

void beepSync()
{
    if (!initialised.load())
        return;
    syncLock->lock();
    beepQueue->put(BEEP_STATE_SYNC);
    syncDone->wait();
    syncLock->unlock();
}
