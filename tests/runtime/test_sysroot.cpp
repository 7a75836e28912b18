#include "cmdrunner.h"
#include "sysroot.h"
#include "test_root.h"

#include <doctest/doctest.h>
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
