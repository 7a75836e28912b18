#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "filefunc.h"
#include "logtest_env.h"
#include "logworker.h"
#include "pressurelogger.h"

#include <doctest/doctest.h>

#include <sys/stat.h>

namespace {

const std::string kDir = "pressurelogs";
const std::string kCurrent = kDir + "/presslogTmp.log";
const std::string kBackup = kDir + "/presslogOld.log";
const std::string kReadable = kDir + "/presslog.log";

// The logger enabled with an empty current file and a full backup file, the
// clock at the known moment.
struct PressureLogEnv : CoreEnv {
    PressureLogEnv()
    {
        pressureLogCreate(kDir.c_str());
        pressureLogEnable(1);
        REQUIRE(pressureLogWorker()->waitIdle(5000));
        setConsoleClock();
        // Sampled up to the next rotation: the current file starts empty.
        for (int i = datastoreGetUint16(DS_ALARM_LOG_VALUE); i < 360; ++i)
            pressureLogSample(-1.0f, "bar");
        REQUIRE(idle());
        REQUIRE(datastoreGetUint16(DS_ALARM_LOG_VALUE) == 0);
        REQUIRE(fileLines(kCurrent).empty());
        takeCoreEvents();
    }
    static bool idle() { return pressureLogWorker()->waitIdle(5000); }
};

}  // namespace

TEST_CASE("pressure log: one line per sample with one decimal and the unit")
{
    PressureLogEnv env;
    struct Case {
        float value;
        const char* unit;
        std::string start;
    };
    const Case cases[] = {
        {3.45f, "bar", "3.5 bar, 09:55:0"},
        {2.0f, "bar", "2.0 bar, 09:55:0"},
        {0.04f, "bar", "0.0 bar, 09:55:0"},
        {72.5f, "psi", "72.5 psi, 09:55:0"},
    };
    for (const Case& c : cases)
        pressureLogSample(c.value, c.unit);
    REQUIRE(env.idle());
    const std::vector<std::string> lines = fileLines(kCurrent);
    REQUIRE(lines.size() == 4);
    for (size_t i = 0; i < lines.size(); ++i) {
        CAPTURE(lines[i]);
        CHECK(lines[i].substr(0, cases[i].start.size()) == cases[i].start);
        CHECK(lines[i].substr(cases[i].start.size() + 1) == ", 09/12-2026;\r\n");
    }
    CHECK(datastoreGetUint16(DS_ALARM_LOG_VALUE) == 4);

    pressureLogEnable(0);
    pressureLogSample(1.0f, "bar");
    pressureLogEnable(1);
    REQUIRE(env.idle());
    CHECK(fileLines(kCurrent).size() == 4);
    CHECK(datastoreGetUint16(DS_ALARM_LOG_VALUE) == 4);
}

TEST_CASE("pressure log: the 360th line rotates; a build right after yields 360 lines")
{
    PressureLogEnv env;
    for (int i = 0; i < 359; ++i)
        pressureLogSample(static_cast<float>(i), "bar");
    REQUIRE(env.idle());
    CHECK(fileLines(kCurrent).size() == 359);
    pressureLogSample(359.0f, "bar");
    CHECK(pressureLogBuildAndWait(5000));
    CHECK(waitEvent(EV_PRESSURE_LOG_SAVED) == 1);
    CHECK(datastoreGetUint16(DS_ALARM_LOG_VALUE) == 0);
    CHECK(fileLines(kCurrent).empty());
    const std::vector<std::string> lines = fileLines(kReadable);
    REQUIRE(lines.size() == 360);
    CHECK(lines.front().substr(0, 8) == "0.0 bar,");
    CHECK(lines.back().substr(0, 10) == "359.0 bar,");

    // At most 719 lines in the two files.
    for (int i = 0; i < 359; ++i)
        pressureLogSample(1.0f, "bar");
    CHECK(pressureLogBuildAndWait(5000));
    CHECK(fileLines(kReadable).size() == 719);
}

TEST_CASE("pressure log: a build waited for holds every line sampled before it")
{
    PressureLogEnv env;
    for (int round = 1; round <= 5; ++round) {
        for (int i = 0; i < 30; ++i)
            pressureLogSample(1.5f, "bar");
        CHECK(pressureLogBuildAndWait(5000));
        CHECK(fileLines(kReadable).size() == static_cast<size_t>(360 + 30 * round));
    }
    CHECK(std::string(pressureLogReadablePath()) == kReadable);
}

TEST_CASE("pressure log: a folder removed and made again under the open file is followed")
{
    PressureLogEnv env;
    pressureLogSample(1.0f, "bar");
    REQUIRE(env.idle());
    REQUIRE(removeTree(kDir));
    REQUIRE(mkdir(kDir.c_str(), 0755) == 0);
    pressureLogSample(2.0f, "bar");
    REQUIRE(env.idle());
    const std::vector<std::string> lines = fileLines(kCurrent);
    REQUIRE(lines.size() == 1);
    CHECK(lines[0].substr(0, 8) == "2.0 bar,");
}
