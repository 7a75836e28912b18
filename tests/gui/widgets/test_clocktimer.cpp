#include "clocktimer.h"
#include "gui_test.h"

#include <doctest/doctest.h>

#include <QElapsedTimer>
#include <QSignalSpy>

TEST_CASE("a clock timer fires once when the runtime's clock passes its deadline")
{
    guiApplication();
    ManualClock clock;
    ClockTimer timer;
    QSignalSpy fired(&timer, &ClockTimer::timeout);
    timer.start(1000);
    QTest::qWait(50);  // real time passes, the stopped clock does not
    CHECK(fired.count() == 0);
    clock.advance(999);
    CHECK(fired.count() == 0);
    CHECK(timer.remainingMs() == 1);
    clock.advance(1);
    CHECK(fired.count() == 1);
    CHECK_FALSE(timer.isActive());
    clock.advance(5000);
    CHECK(fired.count() == 1);

    SUBCASE("stopped or restarted")
    {
        timer.start(100);
        timer.stop();
        clock.advance(200);
        CHECK(fired.count() == 1);
        timer.start(100);
        clock.advance(50);
        timer.start(100);  // a restart counts from now
        clock.advance(60);
        CHECK(fired.count() == 1);
        clock.advance(40);
        CHECK(fired.count() == 2);
    }
}

TEST_CASE("with the real clock it runs like a Qt timer")
{
    guiApplication();
    ClockTimer timer;
    QSignalSpy fired(&timer, &ClockTimer::timeout);
    QElapsedTimer elapsed;
    elapsed.start();
    timer.start(40);
    CHECK(fired.wait(2000));
    CHECK(elapsed.elapsed() >= 39);
    CHECK(fired.count() == 1);
}
