#include "kernel.h"

#include "clock.h"
#include "threadfunc.h"

#include <doctest/doctest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// Tasks in tests run as ordinary threads: they must never starve the machine.
constexpr int kOrdinary = 99;

// Polls the mailbox for up to `ms` real milliseconds.
bool waitForCode(KernelHandle* box, uint8_t* code, int ms = 2000)
{
    for (int waited = 0; waited < ms; ++waited) {
        if (kernelMailboxTryGet(box, code))
            return true;
        threadfunc::sleep(1);
    }
    return false;
}

// Gives the timer thread a moment to act on a clock advance that should post nothing.
bool staysEmpty(KernelHandle* box)
{
    threadfunc::sleep(30);
    return kernelMailboxCount(box) == 0;
}

// Drives the alarms with the manual clock for the lifetime of the fixture.
struct ManualClock {
    ManualClock() { clockUseManual(); }
    ~ManualClock() { clockUseReal(); }
};

// A software timer whose expiry holds the timer thread until released.
class Blocker : public threadfunc::TTimerBase {
public:
    ~Blocker() override { detach(); }
    // Up to 5 s of real time.
    bool waitEntered()
    {
        for (int waited = 0; waited < 5000; ++waited) {
            if (entered.tryWait())
                return true;
            threadfunc::sleep(1);
        }
        return false;
    }
    threadfunc::semaphore entered{0};
    threadfunc::semaphore release{0};

protected:
    void expire() override
    {
        entered.post();
        release.wait();
    }
};

KernelHandle gEcho = nullptr;

void echoArgument(uint32_t argument)
{
    ptrMailboxPut(&gEcho, reinterpret_cast<void*>(static_cast<uintptr_t>(argument)));
}

void echoPointer(void* argument)
{
    ptrMailboxPut(&gEcho, argument);
}

} // namespace

TEST_CASE("an int mailbox hands back the low 8 bits of each value, in order")
{
    KernelHandle box = nullptr;
    REQUIRE(kernelMailboxCreate(&box, 20) == 1);
    struct Case {
        int put;
        uint8_t got;
    };
    const Case cases[] = {{300, 44}, {7, 7}, {255, 255}, {256, 0}, {-1, 255}, {0x12345678, 0x78}};
    for (const Case& c : cases)
        kernelMailboxPut(&box, c.put);
    CHECK(kernelMailboxCount(&box) == 6);
    CHECK(kernelMailboxSpace(&box) == 14);
    for (size_t i = 0; i < 3; ++i)
        CHECK(kernelMailboxWait(&box) == cases[i].got);
    for (size_t i = 3; i < 6; ++i) {
        uint8_t v = 0xAA;
        CHECK(kernelMailboxTryGet(&box, &v) == 1);
        CHECK(v == cases[i].got);
    }
    uint8_t v = 0xAA;
    CHECK(kernelMailboxTryGet(&box, &v) == 0);
    CHECK(v == 0);
    CHECK(kernelMailboxTryGet(&box, nullptr) == 0);
    kernelObjectDelete(&box);
}

TEST_CASE("a mailbox holds at most its depth and clear empties it")
{
    KernelHandle box = nullptr;
    REQUIRE(kernelMailboxCreate(&box, 3) == 1);
    CHECK(kernelMailboxTryPut(&box, 1) == 1);
    CHECK(kernelMailboxTryPut(&box, 2) == 1);
    CHECK(kernelMailboxTryPut(&box, 3) == 1);
    CHECK(kernelMailboxTryPut(&box, 4) == 0);
    CHECK(kernelMailboxCount(&box) == 3);
    CHECK(kernelMailboxSpace(&box) == 0);
    kernelMailboxClear(&box);
    CHECK(kernelMailboxCount(&box) == 0);
    CHECK(kernelMailboxSpace(&box) == 3);
    CHECK(kernelMailboxTryPut(&box, 5) == 1);
    CHECK(kernelMailboxWait(&box) == 5);
    kernelObjectDelete(&box);

    KernelHandle refused = nullptr;
    CHECK(kernelMailboxCreate(&refused, 0) == 0);
    CHECK(refused == nullptr);
    CHECK(ptrMailboxCreate(&refused, -4) == 0);
}

TEST_CASE("a pointer mailbox passes pointers whole")
{
    KernelHandle box = nullptr;
    REQUIRE(ptrMailboxCreate(&box, 2) == 1);
    int a = 0, b = 0;
    ptrMailboxPut(&box, &a);
    CHECK(ptrMailboxTryPut(&box, &b) == 1);
    CHECK(ptrMailboxTryPut(&box, &a) == 0);
    CHECK(ptrMailboxWait(&box) == &a);
    void* got = nullptr;
    CHECK(ptrMailboxTryGet(&box, &got) == 1);
    CHECK(got == &b);
    got = &a;
    CHECK(ptrMailboxTryGet(&box, &got) == 0);
    CHECK(got == nullptr);
    CHECK(ptrMailboxTryGet(&box, nullptr) == 0);
    ptrMailboxPut(&box, &a);
    ptrMailboxClear(&box);
    CHECK(ptrMailboxTryGet(&box, &got) == 0);
    kernelObjectDelete(&box);
}

TEST_CASE("null handles and handles of another kind do nothing and answer 0")
{
    KernelHandle none = nullptr;
    KernelHandle sem = nullptr;
    REQUIRE(kernelSemaphoreCreate(&sem, 1) == 1);
    KernelHandle* const handles[] = {nullptr, &none, &sem};
    for (KernelHandle* h : handles) {
        CAPTURE(h == &sem);
        uint8_t v = 9;
        void* p = &v;
        kernelMailboxPut(h, 1);
        CHECK(kernelMailboxTryPut(h, 1) == 0);
        CHECK(kernelMailboxWait(h) == 0);
        CHECK(kernelMailboxTryGet(h, &v) == 0);
        CHECK(v == 0);
        CHECK(kernelMailboxCount(h) == 0);
        CHECK(kernelMailboxSpace(h) == 0);
        kernelMailboxClear(h);
        ptrMailboxPut(h, p);
        CHECK(ptrMailboxTryPut(h, p) == 0);
        CHECK(ptrMailboxWait(h) == nullptr);
        CHECK(ptrMailboxTryGet(h, &p) == 0);
        CHECK(p == nullptr);
        kernelAlarmStart(h, 10, 1);
        kernelAlarmStop(h);
        kernelAlarmPostNow(h, 1);
    }
    for (KernelHandle* h : {static_cast<KernelHandle*>(nullptr), &none}) {
        kernelSemaphoreWait(h);
        kernelSemaphoreSignal(h);
        CHECK(kernelSemaphoreSignalCheck(h) == 0);
        CHECK(kernelSemaphoreCount(h) == 0);
        kernelSemaphoreDelete(h);
        kernelObjectDelete(h);
    }
    CHECK(kernelSemaphoreCount(&sem) == 1);
    kernelSemaphoreDelete(&sem);
    CHECK(kernelPoolGet(nullptr) == nullptr);
    CHECK(kernelPoolFreeCount(nullptr) == 0);
}

TEST_CASE("a task gets its argument cut to 16 bits; an extended task gets its pointer whole")
{
    REQUIRE(ptrMailboxCreate(&gEcho, 4) == 1);
    struct Case {
        uint32_t argument;
        uintptr_t received;
    };
    const Case cases[] = {{70000, 4464}, {65535, 65535}, {65536, 0}, {5, 5}};
    for (const Case& c : cases) {
        CAPTURE(c.argument);
        REQUIRE(kernelTaskCreate(kOrdinary, echoArgument, c.argument, __FILE__, __LINE__) == 1);
        CHECK(reinterpret_cast<uintptr_t>(ptrMailboxWait(&gEcho)) == c.received);
    }
    REQUIRE(kernelTaskCreateStack(kOrdinary, echoArgument, 0x1FFFF, 65536, __FILE__, __LINE__) == 1);
    CHECK(reinterpret_cast<uintptr_t>(ptrMailboxWait(&gEcho)) == 0xFFFF);
    int marker = 0;
    REQUIRE(kernelTaskCreateEx(kOrdinary, 3072, echoPointer, &marker, __FILE__, __LINE__) == 1);
    CHECK(ptrMailboxWait(&gEcho) == &marker);
    CHECK(kernelTaskCreate(kOrdinary, nullptr, 0, __FILE__, __LINE__) == 0);
    kernelObjectDelete(&gEcho);
    gEcho = nullptr;
}

TEST_CASE("semaphores count, block and wake across threads")
{
    KernelHandle sem = nullptr;
    REQUIRE(kernelSemaphoreCreate(&sem, 2) == 1);
    CHECK(kernelSemaphoreCount(&sem) == 2);
    kernelSemaphoreWait(&sem);
    kernelSemaphoreWait(&sem);
    CHECK(kernelSemaphoreCount(&sem) == 0);
    CHECK(kernelSemaphoreSignalCheck(&sem) == 0);  // nobody waited: the count stays up
    CHECK(kernelSemaphoreCount(&sem) == 1);
    kernelSemaphoreWait(&sem);

    static KernelHandle ping = nullptr, pong = nullptr;
    REQUIRE(kernelSemaphoreCreate(&ping, 0) == 1);
    REQUIRE(kernelSemaphoreCreate(&pong, 0) == 1);
    auto bounce = [](uint32_t rounds) {
        for (uint32_t i = 0; i < rounds; ++i) {
            kernelSemaphoreWait(&ping);
            kernelSemaphoreSignal(&pong);
        }
    };
    REQUIRE(kernelTaskCreate(kOrdinary, bounce, 100, __FILE__, __LINE__) == 1);
    for (int i = 0; i < 100; ++i) {
        kernelSemaphoreSignal(&ping);
        kernelSemaphoreWait(&pong);
    }
    CHECK(kernelSemaphoreCount(&ping) == 0);
    CHECK(kernelSemaphoreCount(&pong) == 0);
    kernelSemaphoreDelete(&ping);
    kernelSemaphoreDelete(&pong);
    kernelSemaphoreDelete(&sem);
    kernelSemaphoreDelete(&sem);  // already gone: must not free twice
}

TEST_CASE("the critical section is recursive and excludes other threads until fully left")
{
    static std::atomic<bool> entered{false};
    static KernelHandle done = nullptr;
    REQUIRE(kernelSemaphoreCreate(&done, 0) == 1);
    kernelCriticalSectionEnter();
    kernelCriticalSectionEnter();
    kernelCriticalSectionLeave();
    auto contender = [](uint32_t) {
        kernelCriticalSectionEnter();
        entered = true;
        kernelCriticalSectionLeave();
        kernelSemaphoreSignal(&done);
    };
    REQUIRE(kernelTaskCreate(kOrdinary, contender, 0, __FILE__, __LINE__) == 1);
    threadfunc::sleep(50);
    CHECK_FALSE(entered.load());
    kernelCriticalSectionLeave();
    kernelSemaphoreWait(&done);
    CHECK(entered.load());
    kernelSemaphoreDelete(&done);
}

TEST_CASE("alarms post their code once, after the time of their last start")
{
    ManualClock clock;
    KernelHandle box = nullptr, alarm = nullptr;
    REQUIRE(kernelMailboxCreate(&box, 20) == 1);
    REQUIRE(kernelAlarmCreate(&alarm, &box) == 1);
    uint8_t code = 0;

    SUBCASE("expiry")
    {
        kernelAlarmStart(&alarm, 100, 300);
        clockAdvanceMs(99);
        CHECK(staysEmpty(&box));
        clockAdvanceMs(1);
        REQUIRE(waitForCode(&box, &code));
        CHECK(code == 44);
        clockAdvanceMs(1000);
        CHECK(staysEmpty(&box));
    }
    SUBCASE("a second start before expiry replaces the first")
    {
        kernelAlarmStart(&alarm, 100, 1);
        clockAdvanceMs(60);
        kernelAlarmStart(&alarm, 100, 2);
        clockAdvanceMs(40);
        CHECK(staysEmpty(&box));
        clockAdvanceMs(60);
        REQUIRE(waitForCode(&box, &code));
        CHECK(code == 2);
        clockAdvanceMs(1000);
        CHECK(staysEmpty(&box));
    }
    SUBCASE("stop before expiry posts nothing; stop after it leaves the code")
    {
        kernelAlarmStart(&alarm, 100, 3);
        clockAdvanceMs(50);
        kernelAlarmStop(&alarm);
        clockAdvanceMs(500);
        CHECK(staysEmpty(&box));
        kernelAlarmStart(&alarm, 10, 4);
        clockAdvanceMs(10);
        threadfunc::sleep(30);
        kernelAlarmStop(&alarm);
        REQUIRE(waitForCode(&box, &code));
        CHECK(code == 4);
    }
    SUBCASE("a full mailbox drops the code; post-now leaves the timer running")
    {
        KernelHandle small = nullptr, onSmall = nullptr;
        REQUIRE(kernelMailboxCreate(&small, 1) == 1);
        REQUIRE(kernelAlarmCreate(&onSmall, &small) == 1);
        kernelAlarmStart(&onSmall, 20, 6);
        kernelAlarmPostNow(&onSmall, 5);
        CHECK(kernelMailboxCount(&small) == 1);
        clockAdvanceMs(20);
        threadfunc::sleep(30);
        CHECK(kernelMailboxCount(&small) == 1);
        CHECK(kernelMailboxWait(&small) == 5);
        kernelAlarmStart(&onSmall, 20, 7);
        clockAdvanceMs(20);
        REQUIRE(waitForCode(&small, &code));
        CHECK(code == 7);
        kernelObjectDelete(&onSmall);
        kernelObjectDelete(&small);
    }
    SUBCASE("an alarm whose mailbox is gone posts nothing and does not crash")
    {
        KernelHandle gone = nullptr, orphan = nullptr;
        REQUIRE(kernelMailboxCreate(&gone, 4) == 1);
        REQUIRE(kernelAlarmCreate(&orphan, &gone) == 1);
        kernelAlarmStart(&orphan, 10, 1);
        kernelObjectDelete(&gone);
        clockAdvanceMs(10);
        threadfunc::sleep(30);
        kernelAlarmPostNow(&orphan, 2);
        kernelObjectDelete(&orphan);
    }
    SUBCASE("a stop or restart after the alarm was taken as due wins over that expiry")
    {
        // A timer due in the same millisecond, armed later, fires first and holds
        // the timer thread while the alarm waits, already taken as due, behind it.
        struct Case {
            std::string name;
            bool restart;
        };
        const Case cases[] = {{"stop", false}, {"restart", true}};
        for (const Case& c : cases) {
            CAPTURE(c.name);
            kernelMailboxClear(&box);
            Blocker blocker;
            kernelAlarmStart(&alarm, 100, 1);
            blocker.startOneShot(100);
            clockAdvanceMs(100);
            REQUIRE(blocker.waitEntered());
            if (c.restart)
                kernelAlarmStart(&alarm, 50, 2);
            else
                kernelAlarmStop(&alarm);
            blocker.release.post();
            CHECK(staysEmpty(&box));
            clockAdvanceMs(50);
            if (c.restart) {
                REQUIRE(waitForCode(&box, &code));
                CHECK(code == 2);
            }
            clockAdvanceMs(1000);
            CHECK(staysEmpty(&box));
        }
    }
    kernelObjectDelete(&alarm);
    kernelObjectDelete(&box);
}

TEST_CASE("an alarm expires on the real clock")
{
    KernelHandle box = nullptr, alarm = nullptr;
    REQUIRE(kernelMailboxCreate(&box, 20) == 1);
    REQUIRE(kernelAlarmCreate(&alarm, &box) == 1);
    const uint32_t started = clockGetMs();
    kernelAlarmStart(&alarm, 30, 9);
    uint8_t code = 0;
    REQUIRE(waitForCode(&box, &code));
    CHECK(code == 9);
    CHECK(static_cast<int32_t>(clockGetMs() - started) >= 30);
    kernelObjectDelete(&alarm);
    kernelObjectDelete(&box);
}

TEST_CASE("fixed-block pools: size rules, hand-out order, counts and low-water")
{
    std::vector<uint8_t> region(200000);
    struct Case {
        uint32_t regionSize;
        uint32_t blockSize;
        int blocks;  // -1: refused
    };
    const Case cases[] = {
        {100, 12, 4}, {100, 71, 1}, {100, 72, -1}, {200, 0, 22},
        {131072, 65527, 1},   // stride 65535, the largest
        {131072, 65528, -1},  // stride would wrap to 0
        {199999, 65534, -1},  // stride would wrap to 6: blocks would overlap
    };
    for (const Case& c : cases) {
        CAPTURE(c.regionSize);
        CAPTURE(c.blockSize);
        KernelPool* pool = kernelPoolCreate(region.data(), c.regionSize, c.blockSize);
        if (c.blocks < 0) {
            CHECK(pool == nullptr);
            continue;
        }
        REQUIRE(pool == reinterpret_cast<KernelPool*>(region.data()));
        CHECK(kernelPoolFreeCount(pool) == c.blocks);
        CHECK(kernelPoolUsedCount(pool) == 0);
        CHECK(kernelPoolLowWater(pool) == c.blocks);
    }

    KernelPool* pool = kernelPoolCreate(region.data(), 100, 12);
    REQUIRE(pool != nullptr);
    std::vector<uint8_t*> taken;
    for (int i = 0; i < 3; ++i)
        taken.push_back(static_cast<uint8_t*>(kernelPoolGet(pool)));
    // The last block carved (at 20 + 3 * 20) is handed out first.
    CHECK(taken[0] == region.data() + 80);
    CHECK(taken[1] == region.data() + 60);
    CHECK(taken[2] == region.data() + 40);
    CHECK(kernelPoolFreeCount(pool) == 1);
    CHECK(kernelPoolUsedCount(pool) == 3);
    CHECK(kernelPoolLowWater(pool) == 1);
    kernelPoolRelease(taken[1]);
    CHECK(kernelPoolGet(pool) == taken[1]);
    for (uint8_t* block : taken)
        kernelPoolRelease(block);
    CHECK(kernelPoolFreeCount(pool) == 4);
    CHECK(kernelPoolLowWater(pool) == 1);
    kernelPoolResetLowWater(pool);
    CHECK(kernelPoolLowWater(pool) == 4);
}

TEST_CASE("a block goes back to its own pool, and a waiting get takes a released block")
{
    std::vector<uint8_t> regionA(100), regionB(100);
    KernelPool* a = kernelPoolCreate(regionA.data(), 100, 12);
    KernelPool* b = kernelPoolCreate(regionB.data(), 100, 12);
    REQUIRE(a != nullptr);
    REQUIRE(b != nullptr);
    void* fromB = kernelPoolGet(b);
    kernelPoolRelease(fromB);
    CHECK(kernelPoolFreeCount(a) == 4);
    CHECK(kernelPoolFreeCount(b) == 4);

    std::vector<void*> all;
    for (int i = 0; i < 4; ++i)
        all.push_back(kernelPoolGet(a));
    CHECK(kernelPoolFreeCount(a) == 0);
    static KernelPool* waitingPool = nullptr;
    static KernelHandle got = nullptr;
    waitingPool = a;
    REQUIRE(ptrMailboxCreate(&got, 1) == 1);
    REQUIRE(kernelTaskCreate(kOrdinary, [](uint32_t) { ptrMailboxPut(&got, kernelPoolGet(waitingPool)); }, 0,
                             __FILE__, __LINE__) == 1);
    threadfunc::sleep(30);
    void* early = nullptr;
    CHECK(ptrMailboxTryGet(&got, &early) == 0);
    kernelPoolRelease(all[2]);
    CHECK(ptrMailboxWait(&got) == all[2]);
    kernelObjectDelete(&got);
}
