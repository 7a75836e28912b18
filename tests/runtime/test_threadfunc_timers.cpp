#include "clock.h"
#include "threadfunc.h"

#include <doctest/doctest.h>

#include <atomic>
#include <ctime>
#include <functional>
#include <vector>

using namespace threadfunc;

namespace {
// Time stands still for the timers until the test moves it.
struct ManualClock {
    ManualClock() { clockUseManual(); }
    ~ManualClock() { clockUseReal(); }
};

// Waits (in real time, up to 5 s) for the next value of the queue.
bool nextValue(queue_template<int>& queue, int& value)
{
    for (int waited = 0; waited < 5000; ++waited) {
        if (queue.tryGet(value))
            return true;
        threadfunc::sleep(1);
    }
    return false;
}

std::vector<int> takeValues(queue_template<int>& queue, size_t count)
{
    std::vector<int> values;
    int value = 0;
    while (values.size() < count && nextValue(queue, value))
        values.push_back(value);
    return values;
}

// Waits until the timer thread has handled every timer due at the current time.
// A marker due now fires in the batch that takes every timer due by now; a second
// one, armed after the first has fired, can only fire after that batch is done.
void settle()
{
    queue_template<int> markers(2);
    for (int round = 0; round < 2; ++round) {
        timer_template<int> marker(&markers, round);
        marker.startOneShot(0);
        int value = -1;
        REQUIRE(nextValue(markers, value));
        REQUIRE(value == round);
    }
}

void advanceAndSettle(uint32_t ms)
{
    clockAdvanceMs(ms);
    settle();
}

class Probe : public TTimerBase {
public:
    explicit Probe(std::function<void(Probe&)> action = {}) : mAction(std::move(action)) {}
    ~Probe() override { detach(); }
    std::atomic<int> fired{0};
    std::vector<uint32_t> times;

protected:
    void expire() override
    {
        fired.fetch_add(1);
        times.push_back(clockGetMs());
        if (mAction)
            mAction(*this);
    }

private:
    std::function<void(Probe&)> mAction;
};

long long monotonicMs()
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}
}  // namespace

TEST_CASE("timers fire in expiry order; for the same millisecond the one armed later first")
{
    ManualClock manual;
    struct Case {
        const char* name;
        std::vector<uint32_t> delays;  // in order of arming; timer i posts i
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"same millisecond", {100, 100}, {1, 0}},
        {"three at once", {40, 40, 40}, {2, 1, 0}},
        {"earlier expiry first", {300, 100, 200}, {1, 2, 0}},
        {"mixed", {50, 20, 50, 20}, {3, 1, 2, 0}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        queue_template<int> out(16);
        std::vector<std::unique_ptr<timer_template<int>>> timers;
        uint32_t last = 0;
        for (size_t i = 0; i < c.delays.size(); ++i) {
            timers.emplace_back(new timer_template<int>(&out, static_cast<int>(i)));
            timers.back()->startOneShot(c.delays[i]);
            last = std::max(last, c.delays[i]);
        }
        clockAdvanceMs(last);
        CHECK(takeValues(out, c.delays.size()) == c.expected);
    }
}

TEST_CASE("a timer is not due before its time")
{
    ManualClock manual;
    queue_template<int> out(16);
    timer_template<int> timer(&out, 7);
    timer.startOneShot(100);
    advanceAndSettle(99);
    int value = 0;
    CHECK(out.tryGet(value) == 0);
    CHECK(timer.isRunning());
    clockAdvanceMs(1);
    REQUIRE(nextValue(out, value));
    CHECK(value == 7);
    CHECK_FALSE(timer.isRunning());
}

TEST_CASE("elapsed counts from the last arming; -1 while not armed")
{
    ManualClock manual;
    queue_template<int> out(4);
    timer_template<int> timer(&out, 1, 500);
    CHECK(timer.elapsed() == -1);
    CHECK_FALSE(timer.hasElapsed(0));
    CHECK_FALSE(timer.isRunning());
    CHECK(timer.getPeriod() == 500);

    timer.restartOneShot();
    CHECK(timer.isRunning());
    CHECK(timer.elapsed() == 0);
    clockAdvanceMs(120);
    CHECK(timer.elapsed() == 120);
    CHECK(timer.hasElapsed(119));
    CHECK_FALSE(timer.hasElapsed(120));

    timer.setPeriod(50);  // stored only: neither expiry nor elapsed change
    CHECK(timer.elapsed() == 120);
    clockAdvanceMs(379);
    CHECK(timer.isRunning());
    settle();
    CHECK(timer.isRunning());
    timer.stop();
    CHECK(timer.elapsed() == -1);
    CHECK_FALSE(timer.isRunning());
}

TEST_CASE("a full target queue drops the timer's value")
{
    ManualClock manual;
    queue_template<int> target(1);
    REQUIRE(target.tryPut(7) == 1);
    timer_template<int> timer(&target, 8);
    timer.startOneShot(10);
    advanceAndSettle(10);
    int value = 0;
    CHECK(target.tryGet(value) == 1);
    CHECK(value == 7);
    CHECK(target.tryGet(value) == 0);

    // With room, the same timer delivers.
    timer.restartOneShot();
    clockAdvanceMs(10);
    REQUIRE(nextValue(target, value));
    CHECK(value == 8);

    // No target: firing is harmless.
    timer.setTarget(nullptr);
    timer.restartOneShot();
    advanceAndSettle(10);
    CHECK(target.tryGet(value) == 0);
}

TEST_CASE("a periodic timer is armed again from the moment its expire returned")
{
    ManualClock manual;
    // Its expire takes 30 ms of (manual) time.
    Probe timer([](Probe&) { clockAdvanceMs(30); });
    timer.startPeriodic(100);
    advanceAndSettle(100);  // fires; expire moves time to 130; next expiry 230
    advanceAndSettle(99);  // 229
    CHECK(timer.fired.load() == 1);
    advanceAndSettle(1);  // 230
    CHECK(timer.fired.load() == 2);
    REQUIRE(timer.times.size() == 2);
    CHECK(static_cast<int32_t>(timer.times[1] - timer.times[0]) == 130);
    timer.stop();
}

TEST_CASE("real time: a 100 ms periodic timer whose expire takes 30 ms fires about every 130 ms")
{
    std::vector<long long> stamps;
    std::atomic<int> count{0};
    Probe timer([&](Probe& self) {
        stamps.push_back(monotonicMs());
        if (count.fetch_add(1) + 1 >= 6)
            self.stop();
        threadfunc::sleep(30);
    });
    timer.startPeriodic(100);
    for (int waited = 0; waited < 10000 && count.load() < 6; waited += 10)
        threadfunc::sleep(10);
    threadfunc::sleep(50);
    REQUIRE(stamps.size() == 6);
    long long total = 0;
    for (size_t i = 1; i < stamps.size(); ++i) {
        const long long gap = stamps[i] - stamps[i - 1];
        CAPTURE(gap);
        CHECK(gap >= 128);  // never closer than period + expire
        total += gap;
    }
    const long long mean = total / static_cast<long long>(stamps.size() - 1);
    CAPTURE(mean);
    CHECK(mean < 200);
}

TEST_CASE("real time: a new earliest timer wakes the timer thread")
{
    queue_template<int> out(4);
    timer_template<int> late(&out, 1);
    timer_template<int> early(&out, 2);
    late.startOneShot(3000);
    threadfunc::sleep(20);  // the timer thread now waits for the late one
    const long long start = monotonicMs();
    early.startOneShot(30);
    int value = 0;
    REQUIRE(nextValue(out, value));
    CHECK(value == 2);
    CHECK(monotonicMs() - start < 1000);
    late.stop();
}

TEST_CASE("stopping and restarting timers from inside expire")
{
    ManualClock manual;

    SUBCASE("a periodic timer that stops itself stays stopped")
    {
        Probe timer([](Probe& self) { self.stop(); });
        timer.startPeriodic(10);
        advanceAndSettle(10);
        advanceAndSettle(50);
        CHECK(timer.fired.load() == 1);
        CHECK_FALSE(timer.isRunning());
    }
    SUBCASE("a periodic timer restarted as one-shot fires once more only")
    {
        Probe timer([](Probe& self) {
            if (self.fired.load() == 1)
                self.startOneShot(25);
        });
        timer.startPeriodic(10);
        advanceAndSettle(10);
        CHECK(timer.isRunning());
        CHECK(timer.elapsed() == 0);
        advanceAndSettle(25);
        advanceAndSettle(100);
        CHECK(timer.fired.load() == 2);
    }
    SUBCASE("a timer stopped by another in the same batch still fires once")
    {
        Probe victim;
        Probe stopper([&](Probe&) { victim.stop(); });
        victim.startOneShot(40);
        stopper.startOneShot(40);  // armed later: fires first
        advanceAndSettle(40);
        CHECK(stopper.fired.load() == 1);
        CHECK(victim.fired.load() == 1);
        CHECK_FALSE(victim.isRunning());
    }
    SUBCASE("a timer destroyed by another in the same batch does not fire")
    {
        Probe* victim = new Probe;
        Probe destroyer([&](Probe&) {
            delete victim;
            victim = nullptr;
        });
        victim->startOneShot(40);
        destroyer.startOneShot(40);
        advanceAndSettle(40);
        CHECK(destroyer.fired.load() == 1);
        CHECK(victim == nullptr);
    }
    SUBCASE("a periodic timer may destroy itself inside expire")
    {
        std::atomic<int> fired{0};
        Probe* self = new Probe([&](Probe& me) {
            fired.fetch_add(1);
            delete &me;
        });
        self->startPeriodic(10);
        advanceAndSettle(10);
        advanceAndSettle(50);
        CHECK(fired.load() == 1);
    }
}

TEST_CASE("timers destroyed while the timer thread fires them are never used afterwards")
{
    // Under AddressSanitizer any use after destruction is reported.
    struct Worker {
        std::atomic<long> fired{0};
        static void* run(void* arg)
        {
            Worker* worker = static_cast<Worker*>(arg);
            unsigned seed = 12345;
            for (int i = 0; i < 1500; ++i) {
                seed = seed * 1103515245u + 12345u;
                Probe* timer = new Probe([worker](Probe&) {
                    worker->fired.fetch_add(1);
                    threadfunc::sleep(0, 50);
                });
                if (i % 2 == 0)
                    timer->startOneShot(i % 3);
                else
                    timer->startPeriodic(1);
                threadfunc::sleep(0, static_cast<int>(seed % 1500));
                delete timer;
            }
            return nullptr;
        }
    };
    Worker workers[3];
    pthread_t threads[3];
    for (int i = 0; i < 3; ++i) {
        threads[i] = ThreadCreate(99, Worker::run, &workers[i], 0);
        REQUIRE(threads[i] != 0);
    }
    for (pthread_t thread : threads)
        threadJoin(thread);
    long fired = 0;
    for (const Worker& worker : workers)
        fired += worker.fired.load();
    CHECK(fired > 0);  // the race was actually exercised
}

TEST_CASE("real time: a periodic timer stopped from another thread stays stopped")
{
    std::atomic<int> fired{0};
    Probe timer([&](Probe&) {
        fired.fetch_add(1);
        threadfunc::sleep(0, 200);
    });
    unsigned seed = 99;
    int lost = 0;
    for (int i = 0; i < 200; ++i) {
        seed = seed * 1103515245u + 12345u;
        timer.startPeriodic(1);
        threadfunc::sleep(0, static_cast<int>(seed % 3000));
        timer.stop();
        settle();  // a firing in progress has ended
        const int after = fired.load();
        threadfunc::sleep(5);
        if (fired.load() != after || timer.isRunning())
            ++lost;
    }
    CHECK(lost == 0);
    CHECK(fired.load() > 0);
}

namespace {
class Ticker : public TimerThread {
public:
    Ticker(uint32_t period, bool autoStart) : TimerThread(99, period, autoStart) {}
    ~Ticker() override { finish(); }
    std::atomic<int> ticks{0};
    threadfunc::semaphore ticked{0};

protected:
    void onTimer() override
    {
        ticks.fetch_add(1);
        ticked.post();
    }
};

bool waitTick(Ticker& ticker)
{
    for (int waited = 0; waited < 5000; ++waited) {
        if (ticker.ticked.tryWait())
            return true;
        threadfunc::sleep(1);
    }
    return false;
}
}  // namespace

TEST_CASE("a timer thread runs its job every period and ends on destruction")
{
    ManualClock manual;
    {
        Ticker ticker(50, true);
        ticker.start();
        // The tick reaches the job before the timer is armed again: settle first.
        clockAdvanceMs(50);
        CHECK(waitTick(ticker));
        settle();
        clockAdvanceMs(50);
        CHECK(waitTick(ticker));
        settle();
        CHECK(ticker.ticks.load() == 2);
        ticker.stopTimer();
        advanceAndSettle(200);
        CHECK(ticker.ticks.load() == 2);
        ticker.startTimer();
        clockAdvanceMs(50);
        CHECK(waitTick(ticker));
    }
    {
        Ticker idle(50, false);  // never started: destruction must not wait for it
        advanceAndSettle(100);
        CHECK(idle.ticks.load() == 0);
        CHECK(idle.waitingCount() == 0);
    }
}
