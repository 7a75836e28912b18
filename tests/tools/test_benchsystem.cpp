// The system commands: identification, console, USB, clock, display, touch and
// Ethernet; every shell command recorded, none executed.
#include "bench_env.h"
#include "benchdisplay.h"
#include "benchsystem.h"
#include "clock.h"
#include "cmdrunner.h"

#include <cstdlib>
#include <ctime>
#include <vector>
#include <unistd.h>

namespace {

struct SystemBench : BenchFixture {
    SystemBench()
        : BenchFixture({benchHandleIdentify, benchHandleConsoleRelease, benchHandleUsb, benchHandleDisplay,
                        benchHandleRtc, benchHandleTouch, benchHandleEthernet})
    {
        std::remove(root.path("/run/commands.script").c_str());
    }
};

const char* const kTakeConsole = "echo 7 > /proc/sys/kernel/printk\n"
                                 "/bin/stty -F /dev/ttyO0 raw\n"
                                 "/bin/stty -F /dev/ttyO0 -echo\n"
                                 "/bin/stty -F /dev/ttyO0 -echoe\n"
                                 "/bin/stty -F /dev/ttyO0 -echok\n";
const char* const kReleaseConsole = "echo 6 > /proc/sys/kernel/printk\n"
                                    "/bin/stty -F /dev/ttyO0 -raw\n"
                                    "/bin/stty -F /dev/ttyO0 echo\n"
                                    "/bin/stty -F /dev/ttyO0 echoe\n"
                                    "/bin/stty -F /dev/ttyO0 echok\n"
                                    "pidof appl.benchtest > /dev/null\n";

}  // namespace

TEST_CASE_FIXTURE(SystemBench, "identification answers with any payload byte")
{
    for (int payload : {0x00, 0x01, 0xFF}) {
        CAPTURE(payload);
        CHECK(exchange(0x0000, bytes({payload})) == bytes({0x00, 0x0F, 0x01, 0x00, 0x02, 0xA0, 0x0F, 0xB2, 0x00}));
    }
    CHECK(exchange(0x0000, bytes({1, 2})) == bytes({0x02, 0x0F}));
}

TEST_CASE_FIXTURE(SystemBench, "the console is taken and released through recorded commands")
{
    CHECK(exchange(0x2900, "") == okStatus());
    CHECK(commands() == kTakeConsole);

    SUBCASE("benchtest found: sync three times and the kill line")
    {
        writeTextFile(root.path("/var/log/commands.log"), "");
        CHECK(exchange(0x2901, "") == okStatus());
        CHECK(commands() == std::string(kReleaseConsole) + "sync\nsync\nsync\nkill `pidof appl.benchtest` > /dev/null\n");
    }
    SUBCASE("benchtest not found: only the release commands")
    {
        REQUIRE(cmdScript("pidof appl.benchtest > /dev/null", 1, ""));
        writeTextFile(root.path("/var/log/commands.log"), "");
        CHECK(exchange(0x2901, "") == okStatus());
        CHECK(commands() == kReleaseConsole);
    }
}

TEST_CASE_FIXTURE(SystemBench, "USB sticks are tested by their test file")
{
    std::remove(root.path("/media/sda1/usb_test.txt").c_str());
    CHECK(exchange(0x2600, bytes({0})) == okStatus() + frame(0x2601, bytes({0, 0})));
    REQUIRE(makeDirs(root.path("/media/sda1")));
    REQUIRE(writeTextFile(root.path("/media/sda1/usb_test.txt"), ""));
    CHECK(exchange(0x2600, bytes({0})) == okStatus() + frame(0x2601, bytes({0, 1})));
    CHECK(exchange(0x2600, bytes({1})) == okStatus() + frame(0x2601, bytes({1, 0})));
    CHECK(exchange(0x2600, bytes({5})) == okStatus() + frame(0x2601, bytes({5, 1})));
}

TEST_CASE_FIXTURE(SystemBench, "the clock is set and read back; only the program's clock moves")
{
    struct timespec before;
    clock_gettime(CLOCK_REALTIME, &before);
    // 13:05:09 on 1 February 2021 (year field 23), weekday field ignored.
    CHECK(exchange(0x0D00, bytes({13, 5, 9, 1, 2, 23, 0, 6})) == okStatus());
    CHECK(commands() == "/sbin/hwclock --systohc\n/etc/init.d/save-rtc.sh\n");
    const std::string reply = exchange(0x0D01, "");
    // 1 February 2021 was a Monday; a second may pass between setting and reading.
    const bool exact = reply == okStatus() + frame(0x0D02, bytes({9, 5, 13, 1, 2, 23, 0, 1}));
    const bool nextSecond = reply == okStatus() + frame(0x0D02, bytes({10, 5, 13, 1, 2, 23, 0, 1}));
    CHECK((exact || nextSecond));
    struct timespec after;
    clock_gettime(CLOCK_REALTIME, &after);
    CHECK(std::llabs(static_cast<long long>(after.tv_sec - before.tv_sec)) < 60);
    CHECK(exchange(0x0D00, bytes({13, 5, 9, 1, 2, 23, 0})) == bytes({0x02, 0x0F}));
}

TEST_CASE_FIXTURE(SystemBench, "a date past the clock's range is refused; the clock keeps its date")
{
    CHECK(exchange(0x0D00, bytes({13, 5, 9, 1, 2, 23, 0, 6})) == okStatus());
    writeTextFile(root.path("/var/log/commands.log"), "");
    // 12:34:50 on 1 January 2300 (year field 302): the time of day is taken, the date is not.
    CHECK(exchange(0x0D00, bytes({12, 34, 50, 1, 1, 0x2E, 0x01, 0})) == okStatus());
    const std::string reply = exchange(0x0D01, "");
    const bool exact = reply == okStatus() + frame(0x0D02, bytes({50, 34, 12, 1, 2, 23, 0, 1}));
    const bool nextSecond = reply == okStatus() + frame(0x0D02, bytes({51, 34, 12, 1, 2, 23, 0, 1}));
    CHECK((exact || nextSecond));
    const std::string log = commands();
    CHECK(log.find("clock_settime 2300-01-01 ") != std::string::npos);
    CHECK(log.find("refused: Invalid argument; the clock keeps its time\n/sbin/hwclock --systohc\n") !=
          std::string::npos);
}

TEST_CASE_FIXTURE(SystemBench, "the touch calibration values come from the tool's output")
{
    const std::string data = root.path("/tmp/ts_calibrate.dat");
    // The tool's five lines as the two edits leave them (the stand-in runs neither).
    REQUIRE(writeTextFile(data, "    46   31\n   990   35\n   984  972\n    41  969\n   512  503\n"));
    std::string expected;
    for (int v : {46, 31, 990, 35, 984, 972, 41, 969, 512, 503})
        expected += bytes({v & 0xFF, v >> 8});
    CHECK(exchange(0x2502, "") == okStatus() + frame(0x2503, expected + bytes({1})));
    CHECK(commands() == "sync\nsync\nsync\n"
                        "sed -e 's/Top left ://g' -e 's/Top right ://g' -e 's/Bot right ://g' -e 's/Bot left ://g' "
                        "-e 's/Center ://g' ts_calibrate.dat > ts_calibrate.tmp\n"
                        "rm ts_calibrate.dat\n"
                        "sed -e 's/ X =//g' -e 's/ Y =//g' ts_calibrate.tmp > ts_calibrate.dat\n"
                        "rm ts_calibrate.tmp\n");

    REQUIRE(writeTextFile(data, "46 31 990 35"));
    expected = bytes({46, 0, 31, 0, 990 & 0xFF, 990 >> 8, 35, 0}) + std::string(12, '\0');
    CHECK(exchange(0x2502, "") == okStatus() + frame(0x2503, expected + bytes({0})));

    std::remove(data.c_str());
    writeTextFile(root.path("/var/log/commands.log"), "");
    CHECK(exchange(0x2502, "") == okStatus() + frame(0x2503, std::string(20, '\0') + bytes({0})));
    CHECK(commands() == "sync\nsync\nsync\n");
}

TEST_CASE("calibration numbers are runs of up to eight digits")
{
    struct Case {
        std::string text;
        size_t found;
        std::vector<uint16_t> values;
    };
    const Case cases[] = {
        {"1 2 3 4 5 6 7 8 9 10 11", 10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {"x=123456789", 2, {static_cast<uint16_t>(12345678), 9}},
        {"-5:+6", 2, {5, 6}},
        {"", 0, {}},
        {"no digits", 0, {}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.text);
        uint16_t values[10];
        CHECK(benchParseCalibration(c.text.data(), c.text.size(), values) == c.found);
        for (size_t i = 0; i < 10; ++i)
            CHECK(values[i] == (i < c.values.size() ? c.values[i] : 0));
    }
}

TEST_CASE_FIXTURE(SystemBench, "the calibration tool is started in the temporary directory")
{
    char before[256];
    REQUIRE(getcwd(before, sizeof before));
    REQUIRE(writeTextFile(root.path("/tmp/ts_calibrate.dat"), "old"));
    std::remove(root.path("/tmp/ts_calibrate.tmp").c_str());
    CHECK(exchange(0x2500, "") == okStatus() + frame(0x2501, ""));
    CHECK(commands() == "rm ts_calibrate.dat\nts_calibrate | grep \"Top\\|Bot\\|Center\" > ts_calibrate.dat &\n");
    char after[256];
    REQUIRE(getcwd(after, sizeof after));
    CHECK(std::string(after) == before);
}

TEST_CASE_FIXTURE(SystemBench, "a test image is shown only when it and the viewer exist")
{
    const std::string bin = root.path("/usr/local/velmar/bin");
    REQUIRE(makeDirs(bin + "/images"));
    CHECK(exchange(0x2400, bytes({3})) == okStatus() + frame(0x2401, ""));
    CHECK(commands().empty());

    REQUIRE(writeTextFile(bin + "/images/test_3.svg", "<svg/>"));
    REQUIRE(writeTextFile(bin + "/imageviewer", ""));
    REQUIRE(cmdScript("pidof imageviewer > /dev/null", 1, ""));
    CHECK(exchange(0x2400, bytes({3})) == okStatus() + frame(0x2401, ""));
    const std::string show = "./imageviewer images/test_3.svg $(fbset | grep geometry | awk '{ print $2 }') "
                             "$(fbset | grep geometry | awk '{ print $3 }') -qws > /dev/null&\n";
    CHECK(commands() == "pidof imageviewer > /dev/null\n" + show);

    REQUIRE(cmdScript("pidof imageviewer > /dev/null", 0, ""));
    writeTextFile(root.path("/var/log/commands.log"), "");
    CHECK(exchange(0x2402, "") == okStatus());
    CHECK(commands() == "pidof imageviewer > /dev/null\nkill `pidof imageviewer` > /dev/null\n");
}

TEST_CASE_FIXTURE(SystemBench, "an interface has an address when the pipeline prints one")
{
    const std::string eth0 = "ifconfig eth0 | grep \"inet addr\" | awk -F: '{print $2}' | awk '{print $1}'";
    CHECK(exchange(0x2700, bytes({0})) == okStatus() + frame(0x2701, bytes({0, 0})));
    REQUIRE(cmdScript(eth0, 0, "192.168.10.2\n"));
    CHECK(exchange(0x2700, bytes({0})) == okStatus() + frame(0x2701, bytes({0, 1})));
    CHECK(exchange(0x2700, bytes({1})) == okStatus() + frame(0x2701, bytes({1, 0})));
    writeTextFile(root.path("/var/log/commands.log"), "");
    CHECK(exchange(0x2700, bytes({2})) == okStatus() + frame(0x2701, bytes({2, 0})));
    CHECK(commands().empty());
}
