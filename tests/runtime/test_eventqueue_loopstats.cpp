// Its own program: the statistics start with the first pass of a process.
#include "clock.h"
#include "loopstats.h"

#include <doctest/doctest.h>

TEST_CASE("a first pass after 10 s measures no interval")
{
    clockUseManual();
    REQUIRE(clockStart() < 5000);
    clockAdvanceMs(20000);
    loopStatsUpdate();
    LoopStats s;
    loopStatsGet(&s);
    CHECK(s.minimum == 99999);
    CHECK(s.maximum == 0);

    struct Case {
        uint32_t interval;
        uint32_t minimum;
        uint32_t maximum;
    };
    const Case passes[] = {{100, 100, 0}, {120, 100, 120}, {80, 80, 120}};
    for (const Case& c : passes) {
        CAPTURE(c.interval);
        clockAdvanceMs(c.interval);
        loopStatsUpdate();
        loopStatsGet(&s);
        CHECK(s.minimum == c.minimum);
        CHECK(s.maximum == c.maximum);
    }
    clockUseReal();
}
