#include "cmdrunner.h"
#include "sysroot.h"
#include "test_root.h"

#include <doctest/doctest.h>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

TEST_CASE("fixed paths map below the system root only while it is set")
{
    NoSystemRoot deviceRoot;
    CHECK_FALSE(sysrootActive());
    CHECK(sysrootPath("/dev/uio0") == "/dev/uio0");
    {
        TestRoot root;
        CHECK(sysrootActive());
        CHECK(sysrootPath("/dev/uio0") == root.dir() + "/dev/uio0");
        CHECK(sysrootPath("fdatasto/fdatasto.dat") == "fdatasto/fdatasto.dat");
    }
    CHECK(sysrootPath("/media/sda1") == "/media/sda1");
}

TEST_CASE("under the system root commands are recorded, never run")
{
    TestRoot root;
    const std::string marker = root.path("/tmp/ran");
    CHECK(cmdRun("touch " + marker) == 0);
    CHECK(cmdRun("/sbin/hwclock --systohc") == 0);
    CHECK(readTextFile(cmdLogPath()) == "touch " + marker + "\n/sbin/hwclock --systohc\n");
    CHECK(readTextFile(marker).empty());
    CHECK(access(marker.c_str(), F_OK) != 0);
}

TEST_CASE("a clock change under the system root moves only the program's wall clock")
{
    TestRoot root;
    struct timespec target = {};
    target.tv_sec = 1709424000;  // 2024-03-03 00:00:00 UTC
    REQUIRE(cmdSetWallClock(target));
    const struct timespec seen = cmdWallClockNow();
    CHECK(seen.tv_sec >= target.tv_sec);
    CHECK(seen.tv_sec <= target.tv_sec + 2);
    CHECK(std::labs(static_cast<long>(time(nullptr) - target.tv_sec)) > 3600);
    target.tv_sec = time(nullptr);
    REQUIRE(cmdSetWallClock(target));
}

TEST_CASE("the stand-in clock refuses what the kernel refuses, keeps its time and says so")
{
    TestRoot root;
    struct timespec start = {};
    start.tv_sec = 1709424000;  // 2024-03-03 00:00:00 UTC
    REQUIRE(cmdSetWallClock(start));
    struct Case {
        long long seconds;
        long nanoseconds;
        bool taken;
    };
    const Case cases[] = {
        {10413792000LL, 0, false},         // 2300-01-01: 64-bit nanoseconds would wrap past 2262
        {8277292035LL, 999999999, true},   // the last second the kernel takes (April 2232)
        {8277292036LL, 0, false},
        {-1, 0, false},                    // before 1970
        {1709424000LL, 1000000000L, false}, // a nanosecond field beyond one second
        {0, 0, true},
    };
    for (const Case& c : cases) {
        CAPTURE(c.seconds);
        struct timespec before = cmdWallClockNow();
        struct timespec when = {};
        when.tv_sec = static_cast<time_t>(c.seconds);
        when.tv_nsec = c.nanoseconds;
        errno = 0;
        CHECK(cmdSetWallClock(when) == c.taken);
        const struct timespec seen = cmdWallClockNow();
        if (c.taken) {
            CHECK(seen.tv_sec - when.tv_sec <= 2);
            CHECK(seen.tv_sec >= when.tv_sec);
        } else {
            CHECK(errno == EINVAL);
            CHECK(seen.tv_sec - before.tv_sec <= 2);
            CHECK(seen.tv_sec >= before.tv_sec);
        }
    }
    const std::string log = readTextFile(cmdLogPath());
    CHECK(log.find("clock_settime 2300-01-01 00:00:00 UTC refused: Invalid argument; the clock keeps its time\n") !=
          std::string::npos);
    CHECK(log.find("clock_settime 2232-04-") != std::string::npos);
    start.tv_sec = time(nullptr);
    REQUIRE(cmdSetWallClock(start));
}
