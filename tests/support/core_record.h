#pragma once
// What the process core and the drivers give out, recorded for tests: posted
// events, the debug console's text, the buzzer's line levels and the direct
// dispatcher calls; and the store as the platform start-up leaves it (memory
// pool and datastore) without the rest of the platform. Header only; the
// program creates its Qt application before coreStoreStart().
//
//   coreStoreStart();                       // once per program, in any fixture
//   DebugRecorder debug;                    // debug text from now on
//   ... code under test ...
//   takePostedEvents() == std::vector<PostedEvent>{{EV_SET_BOOST, 100}}
//   takeDebugText() == "TDR Target rate = ...\r\n"
#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <QCoreApplication>

#include "beep.h"
#include "datastore.h"
#include "debugout.h"
#include "eventqueue.h"
#include "mempool.h"
#include "processevent.h"
#include "unitquantities.h"
#include "units.h"

using PostedEvent = std::pair<uint32_t, uint32_t>;

inline std::vector<PostedEvent>& postedEventList()
{
    static std::vector<PostedEvent> events;
    return events;
}

inline void recordPostedEvent(uint32_t id, uint32_t value)
{
    postedEventList().emplace_back(id, value);
}

// Events posted since the last call, delivered as the console's event loop would.
inline std::vector<PostedEvent> takePostedEvents()
{
    QCoreApplication::processEvents();
    std::vector<PostedEvent> taken;
    taken.swap(postedEventList());
    return taken;
}

inline bool hasEvent(const std::vector<PostedEvent>& events, uint32_t id, uint32_t value)
{
    for (const auto& e : events) {
        if (e.first == id && e.second == value)
            return true;
    }
    return false;
}

// Set by coreStartInProcess (core_inprocess.h): the real core owns the store.
inline bool& coreRunsInProcess()
{
    static bool inProcess = false;
    return inProcess;
}

// The memory pool and a datastore with every item 0, posted events going into
// the list. Once per program, before any thread starts; false when the store
// could not be set up. With the real core in the process, its store stays.
inline bool coreStoreStart()
{
    if (coreRunsInProcess())
        return true;
    static const bool ready = [] {
        eventSetCallback(recordPostedEvent);
        alignas(8) static unsigned char pool[262144];
        return memInit(pool, sizeof pool, 16384) == 1 && datastoreInit(2) == 0;
    }();
    return ready;
}

// The unit table built and the given system (UNIT_SYSTEM_METRIC, ...) chosen.
inline bool unitTableStart(uint32_t system)
{
    return processInitUnits() == 1 && unitSetSystem(system) == 1;
}

// The debug console's text, recorded while a DebugRecorder lives. The core's
// threads print too, so the text is kept under a lock.
inline std::mutex& debugTextLock()
{
    static std::mutex lock;
    return lock;
}

inline std::string& debugText()
{
    static std::string text;
    return text;
}

inline uint32_t recordDebugText(const uint8_t* data, uint16_t length)
{
    std::lock_guard<std::mutex> hold(debugTextLock());
    debugText().append(reinterpret_cast<const char*>(data), length);
    return 1;
}

inline void recordDebugDrain()
{
}

// The debug text since the last call.
inline std::string takeDebugText()
{
    std::string text;
    std::lock_guard<std::mutex> hold(debugTextLock());
    text.swap(debugText());
    return text;
}

struct DebugRecorder {
    DebugRecorder()
    {
        static const DebugOutput output = {recordDebugText, recordDebugDrain};
        debugSetOutput(&output);
        debugSetMode(0);
        debugSetLevel(0);
        takeDebugText();
    }
    ~DebugRecorder() { debugSetOutput(nullptr); }
    DebugRecorder(const DebugRecorder&) = delete;
    DebugRecorder& operator=(const DebugRecorder&) = delete;
};

// Buzzer line levels (line, level), in order, while a BuzzerRecorder lives.
// The buzzer task writes them, so they are read under a lock.

struct BuzzerLevel {
    uint32_t line;
    uint32_t level;
    bool operator==(const BuzzerLevel& other) const { return line == other.line && level == other.level; }
};

inline std::mutex& buzzerLock()
{
    static std::mutex lock;
    return lock;
}

inline std::vector<BuzzerLevel>& buzzerLevelList()
{
    static std::vector<BuzzerLevel> levels;
    return levels;
}

inline void recordBuzzerLevel(uint32_t line, uint32_t level)
{
    std::lock_guard<std::mutex> guard(buzzerLock());
    buzzerLevelList().push_back({line, level});
}

inline std::vector<BuzzerLevel> takeBuzzerLevels()
{
    std::lock_guard<std::mutex> guard(buzzerLock());
    std::vector<BuzzerLevel> taken;
    taken.swap(buzzerLevelList());
    return taken;
}

inline size_t buzzerLevelCount()
{
    std::lock_guard<std::mutex> guard(buzzerLock());
    return buzzerLevelList().size();
}

// Times the buzzer was switched on since the last take.
inline int takeBuzzerStarts()
{
    int starts = 0;
    for (const BuzzerLevel& level : takeBuzzerLevels())
        starts += level.level != 0 ? 1 : 0;
    return starts;
}

struct BuzzerRecorder {
    BuzzerRecorder()
    {
        static const bool started = [] {
            beepSetLineWriter(recordBuzzerLevel);
            beepInit();
            return true;
        }();
        (void)started;
        beepSetLineWriter(recordBuzzerLevel);
        takeBuzzerLevels();
    }
    ~BuzzerRecorder() { beepSetLineWriter(nullptr); }
    BuzzerRecorder(const BuzzerRecorder&) = delete;
    BuzzerRecorder& operator=(const BuzzerRecorder&) = delete;
};

// The direct processEvent(id, value) calls, in order, while a CallRecorder lives.
inline std::vector<PostedEvent>& processCallList()
{
    static std::vector<PostedEvent> calls;
    return calls;
}

inline void recordProcessCall(uint32_t id, uint32_t value)
{
    processCallList().emplace_back(id, value);
}

inline std::vector<PostedEvent> takeProcessCalls()
{
    std::vector<PostedEvent> taken;
    taken.swap(processCallList());
    return taken;
}

struct CallRecorder {
    CallRecorder()
    {
        processEventObserver() = recordProcessCall;
        takeProcessCalls();
    }
    ~CallRecorder() { processEventObserver() = nullptr; }
    CallRecorder(const CallRecorder&) = delete;
    CallRecorder& operator=(const CallRecorder&) = delete;
};
