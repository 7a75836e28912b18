#include "beep.h"
#include "clock.h"
#include "gpiodrv.h"
#include "standin_board.h"
#include "test_capture.h"
#include "test_root.h"
#include "test_wait.h"
#include "threadfunc.h"

#include <doctest/doctest.h>

#include <mutex>
#include <unistd.h>
#include <vector>

namespace {

struct Level {
    uint32_t time;
    uint32_t line;
    uint32_t level;
};

std::mutex recordLock;
std::vector<Level> recorded;

void recordLevel(uint32_t line, uint32_t level)
{
    std::lock_guard<std::mutex> guard(recordLock);
    recorded.push_back({clockGetMs(), line, level});
}

struct Tone {
    uint32_t start;
    uint32_t end;
};

// The tones of one line: from each switch-on to the next switch-off.
std::vector<Tone> tones(uint32_t line)
{
    std::lock_guard<std::mutex> guard(recordLock);
    std::vector<Tone> result;
    bool on = false;
    for (const Level& l : recorded) {
        if (l.line != line)
            continue;
        if (l.level && !on)
            result.push_back({l.time, l.time});
        else if (!l.level && on)
            result.back().end = l.time;
        on = l.level != 0;
    }
    if (on)
        result.back().end = 0xFFFFFFFF;
    return result;
}

uint32_t lastLevel(uint32_t line)
{
    std::lock_guard<std::mutex> guard(recordLock);
    for (auto it = recorded.rbegin(); it != recorded.rend(); ++it)
        if (it->line == line)
            return it->level;
    return 0;
}

// Waits until the timer thread has fired every timer due at the current time:
// a marker due now fires in the batch that takes every timer due by now, and a
// second one, armed after the first has fired, only after that batch is done.
void settleTimers()
{
    threadfunc::queue_template<int> markers(2);
    for (int round = 0; round < 2; ++round) {
        threadfunc::timer_template<int> marker(&markers, round);
        marker.startOneShot(0);
        REQUIRE(markers.get() == round);
    }
}

// Everything due now has happened: the timers due have fired and the buzzer
// task has taken their steps, including a step armed for no time at all.
void settle()
{
    for (int round = 0; round < 2; ++round) {
        settleTimers();
        beepSync();
    }
}

// Lets time pass in 5 ms steps of the manual clock, each step settled, so the
// pattern's timing does not depend on how busy the machine is.
void runFor(uint32_t ms)
{
    for (uint32_t t = 0; t < ms; t += 5) {
        clockAdvanceMs(5);
        settle();
    }
}

// Manual time and a recorded buzzer for one test.
struct Buzzer {
    Buzzer()
    {
        clockUseManual();
        beepSetLineWriter(recordLevel);
        beepInit();
        beepStop();
        settle();
        std::lock_guard<std::mutex> guard(recordLock);
        recorded.clear();
        start = clockGetMs();
    }
    ~Buzzer()
    {
        beepStop();
        beepSetLineWriter(nullptr);
        clockUseReal();
    }
    uint32_t start;
};


}  // namespace

TEST_CASE("the triple beep: three 300 ms tones, 50 ms gaps, idle after 1050 ms")
{
    Buzzer buzzer;
    REQUIRE(beepStart(1, 1) == 1);
    settle();
    runFor(500);
    CHECK(beepStart(0, 1) == 0);  // a click does not cut the triple beep
    CHECK(beepStartCustomized(0, 10, 10, 1, 1) == 0);
    runFor(530);
    CHECK(beepStart(0, 1) == 0);  // still playing its last gap
    runFor(100);
    const std::vector<Tone> played = tones(1);
    REQUIRE(played.size() == 3);
    for (size_t i = 0; i < played.size(); ++i) {
        CAPTURE(i);
        CHECK(played[i].end - played[i].start == 300);
        if (i > 0)
            CHECK(played[i].start - played[i - 1].end == 50);
    }
    CHECK(played[0].start == buzzer.start);
    CHECK(tones(0).empty());
    CHECK(beepStart(0, 1) == 1);  // idle again
}

TEST_CASE("a customised pattern plays the low 8 bits of its count")
{
    struct Case {
        uint32_t count, onMs, tones;
    };
    // counts above 127 need more steps than a byte holds
    const Case cases[] = {{300, 10, 44}, {128, 5, 128}, {255, 5, 255}};
    for (const Case& c : cases) {
        CAPTURE(c.count);
        Buzzer buzzer;
        REQUIRE(beepStartCustomized(0, c.onMs, c.onMs, c.count, 1) == 1);
        settle();
        runFor(c.tones * 2 * c.onMs + 400);
        CHECK(tones(1).size() == c.tones);
        CHECK(lastLevel(1) == 0);
        CHECK(beepStart(0, 1) == 1);  // idle again
        runFor(100);
    }
    Buzzer buzzer;
    // a zero count only stops what plays
    CHECK(beepStartCustomized(1, 10, 10, 0, 1) == 0);
}

TEST_CASE("the customised pattern's trace lines end in a line feed and a carriage return")
{
    TestRoot root;
    Buzzer buzzer;
    StdoutCapture capture(root.dir() + "/stdout.txt");
    REQUIRE(beepStart(0, 1) == 1);
    REQUIRE(beepStartCustomized(2, 10, 10, 1, 1) == 1);
    CHECK(capture.text() ==
          "beepStartCustomized() BeepOff \n\rbeepStartCustomized() BeepSignalType 6\n\r");
}

TEST_CASE("requests while a pattern plays")
{
    SUBCASE("a click sounds 50 ms")
    {
        Buzzer buzzer;
        REQUIRE(beepStart(0, 1) == 1);
        settle();
        runFor(200);
        const std::vector<Tone> played = tones(1);
        REQUIRE(played.size() == 1);
        CHECK(played[0].end - played[0].start == 50);
    }
    SUBCASE("a customised pattern restarts itself but is not cut by another one")
    {
        Buzzer buzzer;
        REQUIRE(beepStartCustomized(1, 100, 100, 5, 1) == 1);
        settle();
        runFor(50);
        CHECK(beepStartCustomized(2, 10, 10, 1, 1) == 0);
        CHECK(beepStartCustomized(1, 20, 20, 1, 1) == 1);
        settle();
        runFor(200);
        const std::vector<Tone> played = tones(1);
        REQUIRE(played.size() == 2);
        CHECK(played[1].end - played[1].start == 20);
        CHECK(beepStart(2, 1) == 1);  // idle again
    }
    SUBCASE("a double beep cuts a click")
    {
        Buzzer buzzer;
        REQUIRE(beepStart(0, 1) == 1);
        settle();
        runFor(20);
        REQUIRE(beepStart(2, 1) == 1);
        settle();
        runFor(2600);
        const std::vector<Tone> played = tones(1);
        REQUIRE(played.size() == 3);
        CHECK(played[0].end - played[0].start == 20);
        CHECK(played[1].end - played[1].start == 1000);
        CHECK(played[2].end - played[2].start >= 1000);
    }
    SUBCASE("type 3 stops a triple beep")
    {
        Buzzer buzzer;
        REQUIRE(beepStart(1, 1) == 1);
        settle();
        runFor(100);
        CHECK(beepStart(3, 1) == 1);
        runFor(1000);
        CHECK(tones(1).size() == 1);
        CHECK(lastLevel(1) == 0);
    }
    SUBCASE("unknown types change nothing")
    {
        Buzzer buzzer;
        CHECK(beepStart(5, 1) == 0);
        runFor(100);
        CHECK(tones(1).empty());
        CHECK(tones(0).empty());
    }
    SUBCASE("the low line and the continuous tone")
    {
        Buzzer buzzer;
        beepSetContinuous(1, 0);
        CHECK(lastLevel(0) == 1);
        runFor(200);
        CHECK(lastLevel(0) == 1);
        REQUIRE(beepStart(0, 1) == 1);  // a new pattern ends the tone
        settle();
        CHECK(lastLevel(0) == 0);
        runFor(100);
        CHECK(tones(1).size() == 1);
        beepSetContinuous(1, 0);
        beepSetContinuous(0, 0);
        CHECK(lastLevel(0) == 0);
    }
}

TEST_CASE("a stop that overtakes its queued switch-on leaves the buzzer off")
{
    Buzzer buzzer;
    for (int round = 0; round < 200; ++round) {
        REQUIRE(beepStart(0, 1) == 1);
        REQUIRE(beepStart(3, 1) == 1);
        beepStartCustomized(2, 100, 100, 3, 1);
        beepStop();
    }
    settle();
    CHECK(lastLevel(1) == 0);
    runFor(200);
    CHECK(lastLevel(1) == 0);
}

// The one case in real time: the default writer drives the buzzer's GPIO line.
// A tone held until switched off is seen whatever the load; a click is only
// waited for to end.
TEST_CASE("wiring: the buzzer's GPIO line in real time")
{
    TestRoot root;
    gpioDrvInit(GPIO_MASK_BUZZER_LOW | GPIO_MASK_BUZZER_HIGH);
    beepSetLineWriter(nullptr);
    beepInit();
    const std::string path = standinGpioValuePath(root.dir(), 141);
    beepSetContinuous(1, 1);
    CHECK(waitFor([&] { return readTextFile(path) == "1"; }, 10000));
    beepSetContinuous(0, 1);
    CHECK(waitFor([&] { return readTextFile(path) == "0"; }, 10000));
    REQUIRE(beepStart(0, 1) == 1);
    beepSync();
    CHECK(waitFor([&] { return readTextFile(path) == "0"; }, 10000));
    CHECK(beepStart(0, 1) == 1);  // the click has ended: a new one may start
}
