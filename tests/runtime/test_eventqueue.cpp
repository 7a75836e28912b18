#include "eventqueue.h"

#include "clock.h"
#include "threadfunc.h"

#include <doctest/doctest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <functional>
#include <utility>
#include <vector>

namespace {

QCoreApplication& app()
{
    static int argc = 1;
    static char name[] = "test_runtime_eventqueue";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* instance = new QCoreApplication(argc, argv);
    return *instance;
}

// Runs the main thread's event loop until `done` holds or `timeoutMs` passed.
bool runUntil(const std::function<bool()>& done, int timeoutMs)
{
    app();
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    poll.start(1);
    loop.exec();
    return done();
}

void runFor(int ms)
{
    runUntil([] { return false; }, ms);
}

struct Delivery {
    uint32_t id;
    uint32_t value;
    bool inMainThread;
};

std::vector<Delivery> gDelivered;

void recordingHandler(uint32_t id, uint32_t value)
{
    gDelivered.push_back({id, value, QThread::currentThread() == app().thread()});
}

std::vector<std::pair<uint32_t, uint32_t>> pairsOf(const std::vector<Delivery>& delivered)
{
    std::vector<std::pair<uint32_t, uint32_t>> pairs;
    for (const Delivery& d : delivered)
        pairs.emplace_back(d.id, d.value);
    return pairs;
}

// A fresh queue with the recording handler installed.
void freshQueue()
{
    app();
    runFor(5);  // let anything still queued drain
    eventRegistryInit();
    eventSetCallback(recordingHandler);
    gDelivered.clear();
}

size_t countOf(uint32_t id)
{
    size_t n = 0;
    for (const Delivery& d : gDelivered)
        n += d.id == id;
    return n;
}

struct ManualClock {
    ManualClock() { clockUseManual(); }
    ~ManualClock() { clockUseReal(); }
};

void passesEvery(uint32_t ms, int passes)
{
    for (int i = 0; i < passes; ++i) {
        clockAdvanceMs(ms);
        loopStatsUpdate();
    }
}

LoopStats stats()
{
    LoopStats s;
    loopStatsGet(&s);
    return s;
}

} // namespace

// Must stay the first case: it needs the clock below 10 s.
TEST_CASE("loop statistics: nothing is measured before 10 s, then minimum, maximum and the 10 s mean")
{
    ManualClock clock;
    REQUIRE(clockGetMs() < 5000);
    loopStatsUpdate();
    passesEvery(100, 20);
    CHECK(stats().minimum == 99999);
    CHECK(stats().maximum == 0);
    CHECK(stats().mean == 0);

    // Past 10 s: the first interval only sets the minimum.
    clockAdvanceMs(9900 - clockGetMs());
    loopStatsUpdate();
    passesEvery(100, 1);
    CHECK(stats().minimum == 100);
    CHECK(stats().maximum == 0);
    passesEvery(100, 1);
    CHECK(stats().maximum == 100);
    passesEvery(250, 1);
    CHECK(stats().maximum == 250);
    passesEvery(40, 1);
    CHECK(stats().minimum == 40);
    CHECK(stats().maximum == 250);

    passesEvery(100, 150);  // 15 s of 100 ms passes: 100 passes in every 10 s window
    CHECK(stats().mean == 100);
    passesEvery(50, 300);
    CHECK(stats().mean == 50);

    loopStatsReset();
    CHECK(stats().minimum == 99999);
    CHECK(stats().maximum == 0);
    CHECK(stats().mean == 50);
}

TEST_CASE("events delivered before the handler is installed are replayed first, in order")
{
    // Must run before any other case installs a handler.
    app();
    eventPost(2, 1, 11);  // delivered before the buffer exists: lost
    runFor(20);
    eventRegistryInit();
    eventPost(2, 2, 22);
    eventPost(2, 3, 33);
    runFor(20);
    eventPost(2, 4, 44);  // still queued when the handler arrives
    gDelivered.clear();
    eventSetCallback(recordingHandler);
    // The replay runs inside eventSetCallback, before anything still queued.
    CHECK(pairsOf(gDelivered) == std::vector<std::pair<uint32_t, uint32_t>>{{2, 22}, {3, 33}});
    eventPost(2, 5, 55);
    REQUIRE(runUntil([] { return gDelivered.size() >= 4; }, 2000));
    CHECK(pairsOf(gDelivered) ==
          std::vector<std::pair<uint32_t, uint32_t>>{{2, 22}, {3, 33}, {4, 44}, {5, 55}});
    // The buffer was emptied: installing again replays nothing.
    gDelivered.clear();
    eventSetCallback(recordingHandler);
    CHECK(gDelivered.empty());

    // Going back to buffering keeps what was buffered, whichever way it is asked for.
    for (EventHandler buffering : {static_cast<EventHandler>(nullptr), eventBufferHandler}) {
        eventRegistryInit();
        eventPost(2, 6, 66);
        runFor(20);
        eventSetCallback(buffering);
        eventPost(2, 7, 77);
        runFor(20);
        gDelivered.clear();
        eventSetCallback(recordingHandler);
        CHECK(pairsOf(gDelivered) == std::vector<std::pair<uint32_t, uint32_t>>{{6, 66}, {7, 77}});
    }
}

TEST_CASE("events reach the handler in the main thread, each posting thread's events in order")
{
    freshQueue();
    constexpr uint32_t kPerThread = 2000;
    static auto poster = [](void* arg) -> void* {
        const uint32_t thread = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(arg));
        for (uint32_t i = 0; i < kPerThread; ++i)
            eventPost(2, 1000 + thread, i);
        return nullptr;
    };
    std::vector<pthread_t> threads;
    for (uintptr_t t = 0; t < 3; ++t)
        threads.push_back(threadfunc::ThreadCreate(99, poster, reinterpret_cast<void*>(t), 0));
    for (pthread_t t : threads) {
        REQUIRE(t != 0);
        threadfunc::threadJoin(t);
    }
    REQUIRE(runUntil([] { return gDelivered.size() >= 3 * kPerThread; }, 10000));
    CHECK(gDelivered.size() == 3 * kPerThread);
    uint32_t next[3] = {0, 0, 0};
    bool allInMain = true, inOrder = true;
    for (const Delivery& d : gDelivered) {
        allInMain = allInMain && d.inMainThread;
        const uint32_t t = d.id - 1000;
        REQUIRE(t < 3);
        inOrder = inOrder && d.value == next[t];
        next[t] = d.value + 1;
    }
    CHECK(allInMain);
    CHECK(inOrder);
}

TEST_CASE("an event posted inside the handler is delivered after the current one, never nested")
{
    freshQueue();
    static std::vector<std::pair<char, uint32_t>> trace;
    trace.clear();
    eventSetCallback([](uint32_t id, uint32_t value) {
        trace.emplace_back('>', id);
        if (id < 3) {
            eventPost(2, id + 1, value);
            eventPost(2, 100 + id, value);
        }
        trace.emplace_back('<', id);
    });
    eventPost(2, 1, 0);
    eventPost(2, 50, 0);
    REQUIRE(runUntil([] { return trace.size() >= 12; }, 2000));
    runFor(20);
    const std::vector<std::pair<char, uint32_t>> expected = {
        {'>', 1}, {'<', 1}, {'>', 50}, {'<', 50}, {'>', 2}, {'<', 2}, {'>', 101}, {'<', 101},
        {'>', 3}, {'<', 3}, {'>', 102}, {'<', 102}};
    CHECK(trace == expected);
}

TEST_CASE("more start-up events than the buffer holds: the first 200 replay, the rest are dropped")
{
    struct Case {
        uint32_t posted;
        uint32_t replayed;
    };
    const Case cases[] = {{199, 199}, {200, 200}, {201, 200}, {1000, 200}};
    for (const Case& c : cases) {
        CAPTURE(c.posted);
        app();
        runFor(5);
        eventRegistryInit();
        for (uint32_t i = 0; i < c.posted; ++i)
            eventPost(2, 7, i);
        runFor(30);
        CHECK(eventBufferDropped() == c.posted - c.replayed);
        gDelivered.clear();
        eventSetCallback(recordingHandler);
        REQUIRE(gDelivered.size() == c.replayed);
        bool inOrder = true;
        for (uint32_t i = 0; i < c.replayed; ++i)
            inOrder = inOrder && gDelivered[i].id == 7 && gDelivered[i].value == i;
        CHECK(inOrder);
        // The queue works on afterwards.
        eventPost(2, 8, 1);
        REQUIRE(runUntil([&] { return gDelivered.size() == c.replayed + 1; }, 2000));
        CHECK(gDelivered.back().id == 8);
    }
}

TEST_CASE("sixteen event timers: the seventeenth id is refused until one is stopped or expires")
{
    freshQueue();
    for (uint32_t id = 200; id < 216; ++id)
        CHECK(timerStartOneShot(2, id, 60000) == 1);
    CHECK(timerStartOneShot(2, 216, 60000) == 0);
    CHECK(timerStartPeriodic(1, 217, 100) == 0);
    // Restarting an id that has a timer needs no free one.
    CHECK(timerStartPeriodic(2, 205, 60000) == 1);
    CHECK(timerStop(2, 210) == 1);
    CHECK(timerStartOneShot(2, 216, 60000) == 1);
    CHECK(timerStartOneShot(2, 217, 60000) == 0);

    // A one-shot that expires frees its timer.
    CHECK(timerStartOneShotWithValue(2, 203, 33, 10) == 1);
    REQUIRE(runUntil([] { return countOf(203) == 1; }, 2000));
    CHECK(gDelivered.back().value == 33);
    CHECK(timerStartOneShot(2, 217, 60000) == 1);
    CHECK(timerStartOneShot(2, 218, 60000) == 0);

    for (uint32_t id = 200; id < 219; ++id)
        timerStop(2, id);
    runFor(10);
    CHECK(countOf(203) == 1);
    CHECK(gDelivered.size() == 1);
}

TEST_CASE("timer owners above 2 are refused; stop finds only bound ids")
{
    freshQueue();
    struct Case {
        int owner;
        int result;
    };
    const Case cases[] = {{3, 0}, {100, 0}, {2, 1}, {1, 1}, {0, 1}, {-5, 1}};
    for (const Case& c : cases) {
        CAPTURE(c.owner);
        CHECK(timerStartOneShot(c.owner, 300, 60000) == c.result);
        CHECK(timerStartOneShotWithValue(c.owner, 300, 1, 60000) == c.result);
        CHECK(timerStartPeriodic(c.owner, 300, 60000) == c.result);
        CHECK(timerStartPeriodicWithValue(c.owner, 300, 1, 60000) == c.result);
        CHECK(timerStop(c.owner, 300) == c.result);
    }
    CHECK(timerStop(2, 301) == 0);
    // A periodic start with 0 ms is a stop, with the stop's result.
    CHECK(timerStartPeriodic(2, 301, 0) == 0);
    CHECK(timerStartPeriodic(2, 300, 60000) == 1);
    CHECK(timerStartPeriodic(2, 300, 0) == 1);
}

TEST_CASE("the interval of a running timer can be read back; a stopped or unknown id reads -1")
{
    freshQueue();
    CHECK(timerActiveInterval(310) == -1);
    CHECK(timerStartOneShot(1, 310, 300000) == 1);
    CHECK(timerActiveInterval(310) == 300000);
    CHECK(timerStartOneShot(1, 310, 5000) == 1);
    CHECK(timerActiveInterval(310) == 5000);
    CHECK(timerStop(1, 310) == 1);
    CHECK(timerActiveInterval(310) == -1);
}

TEST_CASE("a timer posts its event with its value; a restart replaces interval and mode")
{
    freshQueue();
    SUBCASE("one-shot with 0 ms fires at the next pass of the loop, once")
    {
        CHECK(timerStartOneShotWithValue(1, 400, 4242, 0) == 1);
        CHECK(gDelivered.empty());
        REQUIRE(runUntil([] { return countOf(400) == 1; }, 1000));
        CHECK(gDelivered[0].value == 4242);
        CHECK(gDelivered[0].inMainThread);
        runFor(50);
        CHECK(countOf(400) == 1);
    }
    SUBCASE("a periodic timer turned into a one-shot fires once")
    {
        CHECK(timerStartPeriodic(2, 401, 10) == 1);
        CHECK(timerStartOneShot(2, 401, 10) == 1);
        runFor(150);
        CHECK(countOf(401) == 1);
    }
    SUBCASE("restarting counts the period from the new start")
    {
        CHECK(timerStartOneShot(2, 402, 200) == 1);
        runFor(120);
        CHECK(timerStartOneShot(2, 402, 200) == 1);
        runFor(120);
        CHECK(countOf(402) == 0);  // the first start would have fired by now
        REQUIRE(runUntil([] { return countOf(402) == 1; }, 2000));
    }
    SUBCASE("a stopped periodic timer posts no more")
    {
        CHECK(timerStartPeriodic(2, 403, 10) == 1);
        REQUIRE(runUntil([] { return countOf(403) >= 3; }, 2000));
        CHECK(timerStop(2, 403) == 1);
        runFor(5);
        const size_t seen = countOf(403);
        runFor(60);
        CHECK(countOf(403) == seen);
    }
    for (uint32_t id = 400; id < 404; ++id)
        timerStop(2, id);
}

TEST_CASE("a periodic 100 ms timer delivers about ten events a second")
{
    freshQueue();
    REQUIRE(timerStartPeriodic(2, 5, 100) == 1);
    QElapsedTimer elapsed;
    elapsed.start();
    runFor(2000);
    timerStop(2, 5);
    const double perSecond = countOf(5) * 1000.0 / elapsed.elapsed();
    CHECK(perSecond > 7.0);
    CHECK(perSecond < 12.0);
}

TEST_CASE("timer calls off the main thread are refused")
{
    freshQueue();
    static int startResult = -1, stopResult = -1;
    pthread_t t = threadfunc::ThreadCreate(
        99,
        [](void*) -> void* {
            startResult = timerStartOneShot(2, 500, 1);
            stopResult = timerStop(2, 500);
            return nullptr;
        },
        nullptr, 0);
    REQUIRE(t != 0);
    threadfunc::threadJoin(t);
    CHECK(startResult == 0);
    CHECK(stopResult == 0);
    runFor(20);
    CHECK(countOf(500) == 0);
}

namespace {
std::vector<int> gHookCalls;
template <int N>
void hook()
{
    gHookCalls.push_back(N);
}
void hookThatRegisters()
{
    gHookCalls.push_back(-1);
    tickHookRegister(1, hook<100>);
}
} // namespace

TEST_CASE("tick hooks: registration hands out 9 down to 0 and they run only on the 1 s tick")
{
    CHECK(tickHookRegister(1, hook<0>) == 0);  // before initialisation
    tickHookRun(9, 0);
    tickHookInit();
    CHECK(tickHookRegister(0, hook<0>) == 0);
    CHECK(tickHookRegister(2, hook<0>) == 0);
    CHECK(tickHookRegister(1, nullptr) == 0);
    const TickHook hooks[] = {hook<0>, hook<1>, hook<2>, hook<3>, hook<4>,
                              hook<5>, hook<6>, hook<7>, hook<8>, hook<9>};
    int expected = 9;
    for (TickHook h : hooks)
        CHECK(tickHookRegister(1, h) == expected--);
    CHECK(tickHookRegister(1, hook<10>) == 0);  // eleventh: refused

    gHookCalls.clear();
    for (uint32_t id : {0u, 5u, 8u, 10u, 331u})
        tickHookRun(id, 0);
    CHECK(gHookCalls.empty());
    tickHookRun(9, 0);
    CHECK(gHookCalls == std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9});

    // Re-initialising empties the list; a hook may register another while running.
    tickHookInit();
    gHookCalls.clear();
    tickHookRun(9, 0);
    CHECK(gHookCalls.empty());
    CHECK(tickHookRegister(1, hookThatRegisters) == 9);
    tickHookRun(9, 0);
    CHECK(gHookCalls == std::vector<int>{-1});
    tickHookRun(9, 0);
    CHECK(gHookCalls == std::vector<int>{-1, -1, 100});
}
