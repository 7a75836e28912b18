#include "alarm.h"
#include "alarmdefs.h"
#include "alarmlogger.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "filefunc.h"
#include "logtest_env.h"
#include "logworker.h"

#include <doctest/doctest.h>

#include <unistd.h>

namespace {

const std::string kDir = "alarmlogs";
const std::string kCurrent = kDir + "/alarmlogTmp.log";
const std::string kBackup = kDir + "/alarmlogOld.log";
const std::string kReadable = kDir + "/alarmlog.log";

// The logger with its files and counts cleared, enabled, the clock at the
// known moment and no events pending.
struct AlarmLogEnv : CoreEnv {
    AlarmLogEnv()
    {
        alarmLogCreate(kDir.c_str());
        alarmLogEnable(1);
        REQUIRE(alarmLogWorker()->waitIdle(5000));
        alarmLogRequestClear();
        REQUIRE(alarmLogWorker()->waitIdle(5000));
        REQUIRE(alarmLogWorker()->enabled());
        setConsoleClock();
        takeCoreEvents();
    }
    static bool idle() { return alarmLogWorker()->waitIdle(5000); }
};

// The running count in a line: the three digits after the name field.
int lineCount(const std::string& line)
{
    return std::stoi(line.substr(35, 3));
}

}  // namespace

TEST_CASE("alarm log: name field of every kind of id")
{
    struct Case {
        uint32_t id;
        std::string field;
    };
    const Case cases[] = {
        {SPRAY_NO_FLOW_PULSES, "SPRAY_NO_FLOW_PULSES" + std::string(13, ' ')},
        {ALARM_MASTER_VALVE_OUTPUT_ERROR, "ALARM_MASTER_VALVE_OUTPUT_ERROR  "},
        {WRONG_HW, "WRONG_HW" + std::string(15, ' ') + "\t\t\t "},
        {0, "Unknown Alarm" + std::string(12, ' ')},
        {54, "Unknown Alarm" + std::string(12, ' ')},
    };
    for (const Case& c : cases) {
        CAPTURE(c.id);
        CHECK(alarmLogNameField(c.id) == c.field);
    }
    CHECK(alarmLogNameField(WRONG_HW).size() == 27);
    for (uint32_t id = 1; id <= ALARM_MAX_ID; ++id) {
        if (id != WRONG_HW)
            CHECK(alarmLogNameField(id).size() == 33);
    }
}

TEST_CASE("alarm log: a shown alarm appends its line with the running count and the console's time")
{
    AlarmLogEnv env;
    alarmLogAlarm(SPRAY_NO_FLOW_PULSES);
    alarmLogAlarm(SPRAY_LIQ_ADC_PRESS_LOW);
    alarmLogAlarm(SPRAY_LIQ_ADC_PRESS_LOW);
    REQUIRE(env.idle());
    const std::vector<std::string> lines = fileLines(kCurrent);
    REQUIRE(lines.size() == 3);
    const std::string& first = lines[0];
    // The seconds may have moved on since the clock was set.
    CHECK(first.substr(0, 47) == "SPRAY_NO_FLOW_PULSES             , 001, 09:55:0");
    CHECK(first.substr(48) == ", 09/12-2026 \r\n");
    CHECK(lines[1].substr(0, 38) == "SPRAY_LIQ_ADC_PRESS_LOW          , 001");
    CHECK(lines[2].substr(0, 38) == "SPRAY_LIQ_ADC_PRESS_LOW          , 002");
    CHECK(datastoreGetUint16(DS_ALARM_COUNT_2) == 2);
    CHECK(datastoreGetUint16(DS_ALARM_COUNT_OTHER) == 1);
    CHECK(datastoreGetUint8(DS_ALARM_COUNT_STATE) == 3);

    // Alarm 1 and alarms 50 to 53 share one count.
    alarmLogAlarm(ALARM_MASTER_VALVE_OUTPUT_ERROR);
    alarmLogAlarm(ALARM_SWITCH_POWER_LOW);
    REQUIRE(env.idle());
    const std::vector<std::string> more = fileLines(kCurrent);
    REQUIRE(more.size() == 5);
    CHECK(lineCount(more[3]) == 2);
    CHECK(lineCount(more[4]) == 3);
}

TEST_CASE("alarm log: nothing is counted or written while disabled")
{
    AlarmLogEnv env;
    alarmLogEnable(0);
    alarmLogAlarm(SPRAY_CALIB_ERROR);
    alarmLogEnable(1);
    REQUIRE(env.idle());
    CHECK(datastoreGetUint16(DS_ALARM_COUNT_4) == 0);
    CHECK(fileLines(kCurrent).empty());
}

TEST_CASE("alarm log: rotation at 50 lines keeps at most 99 lines")
{
    AlarmLogEnv env;
    for (int i = 0; i < 49; ++i)
        alarmLogAlarm(SPRAY_LOW_FLOW);
    REQUIRE(env.idle());
    CHECK(fileLines(kCurrent).size() == 49);
    CHECK_FALSE(fileExists(kBackup));

    alarmLogAlarm(SPRAY_LOW_FLOW);
    REQUIRE(env.idle());
    const std::vector<std::string> backup = fileLines(kBackup);
    REQUIRE(backup.size() == 50);
    CHECK(lineCount(backup.front()) == 1);
    CHECK(lineCount(backup.back()) == 50);
    CHECK(fileLines(kCurrent).empty());
    CHECK(datastoreGetUint8(DS_ALARM_COUNT_STATE) == 0);

    for (int i = 0; i < 99; ++i)
        alarmLogAlarm(SPRAY_LOW_FLOW);
    REQUIRE(env.idle());
    CHECK(fileLines(kBackup).size() == 50);
    CHECK(fileLines(kCurrent).size() == 49);
    CHECK(lineCount(fileLines(kCurrent).back()) == 149);
}

TEST_CASE("alarm log: a burst of 200 alarms during rotations is counted and logged in order")
{
    AlarmLogEnv env;
    for (int i = 0; i < 220; ++i)
        alarmLogAlarm(SPRAY_PRESS_TOO_LOW);
    REQUIRE(env.idle());
    CHECK(datastoreGetUint16(DS_ALARM_COUNT_14) == 220);
    const std::vector<std::string> backup = fileLines(kBackup);
    const std::vector<std::string> current = fileLines(kCurrent);
    REQUIRE(backup.size() == 50);
    REQUIRE(current.size() == 20);
    for (size_t i = 0; i < backup.size(); ++i)
        CHECK(lineCount(backup[i]) == static_cast<int>(151 + i));
    for (size_t i = 0; i < current.size(); ++i)
        CHECK(lineCount(current[i]) == static_cast<int>(201 + i));
}

TEST_CASE("alarm log: build joins backup and current file and posts its result")
{
    AlarmLogEnv env;
    SUBCASE("neither file: success and no readable log")
    {
        REQUIRE(fileDelete(kCurrent));
        alarmLogSetFlag();
        CHECK(waitEvent(EV_ALARM_LOG_SAVED) == 1);
        CHECK_FALSE(fileExists(kReadable));
        // The current file is open again and takes lines.
        alarmLogAlarm(SPRAY_LOW_FLOW);
        REQUIRE(env.idle());
        CHECK(fileLines(kCurrent).size() == 1);
    }
    SUBCASE("only the current file")
    {
        alarmLogAlarm(SPRAY_LOW_FLOW);
        alarmLogSetFlag();
        CHECK(waitEvent(EV_ALARM_LOG_SAVED) == 1);
        CHECK(readTextFile(kReadable) == readTextFile(kCurrent));
        CHECK(fileLines(kReadable).size() == 1);
    }
    SUBCASE("backup followed by current file")
    {
        for (int i = 0; i < 53; ++i)
            alarmLogAlarm(SPRAY_LOW_FLOW);
        alarmLogSetFlag();
        CHECK(waitEvent(EV_ALARM_LOG_SAVED) == 1);
        const std::vector<std::string> lines = fileLines(kReadable);
        REQUIRE(lines.size() == 53);
        for (size_t i = 0; i < lines.size(); ++i)
            CHECK(lineCount(lines[i]) == static_cast<int>(i + 1));
    }
}

TEST_CASE("alarm log: export copies the readable log to the stick under a free name")
{
    AlarmLogEnv env;
    alarmLogAlarm(SPRAY_NO_WHEEL_PULSES);
    SUBCASE("no stick: failure")
    {
        pullStick();
        alarmLogRequestExport();
        CHECK(waitEvent(EV_ALARM_LOG_EXPORTED) == 0);
    }
    SUBCASE("first and second export")
    {
        plugStick();
        alarmLogRequestExport();
        CHECK(waitEvent(EV_ALARM_LOG_EXPORTED) == 1);
        const std::string first = readTextFile(stickDir() + "/alarmlog.log");
        CHECK(fileLines(stickDir() + "/alarmlog.log").size() == 1);
        alarmLogAlarm(SPRAY_NO_WHEEL_PULSES);
        alarmLogRequestExport();
        CHECK(waitEvent(EV_ALARM_LOG_EXPORTED) == 1);
        CHECK(readTextFile(stickDir() + "/alarmlog.log") == first);
        CHECK(fileLines(stickDir() + "/alarmlog(2).log").size() == 2);
        alarmLogRequestExport();
        CHECK(waitEvent(EV_ALARM_LOG_EXPORTED) == 1);
        CHECK(fileExists(stickDir() + "/alarmlog(3).log"));
        pullStick();
    }
}

TEST_CASE("alarm log: clear deletes every file and resets the counts")
{
    AlarmLogEnv env;
    for (int i = 0; i < 60; ++i)
        alarmLogAlarm(i % 2 ? SPRAY_LOW_FLOW : SPRAY_NO_FLOW_PULSES);
    alarmLogSetFlag();
    REQUIRE(waitEvent(EV_ALARM_LOG_SAVED) == 1);
    REQUIRE(fileExists(kBackup));
    REQUIRE(fileExists(kReadable));
    alarmLogRequestClear();
    REQUIRE(env.idle());
    CHECK_FALSE(fileExists(kBackup));
    CHECK_FALSE(fileExists(kReadable));
    CHECK(fileLines(kCurrent).empty());
    CHECK(datastoreGetUint16(DS_ALARM_COUNT_8) == 0);
    CHECK(datastoreGetUint16(DS_ALARM_COUNT_OTHER) == 0);
    CHECK(datastoreGetUint8(DS_ALARM_COUNT_STATE) == 0);
    alarmLogAlarm(SPRAY_LOW_FLOW);
    REQUIRE(env.idle());
    REQUIRE(fileLines(kCurrent).size() == 1);
    CHECK(lineCount(fileLines(kCurrent)[0]) == 1);
}

TEST_CASE("alarm log: without its directory lines are dropped until the worker finds it again")
{
    AlarmLogEnv env;
    alarmLogAlarm(SPRAY_LOW_FLOW);
    REQUIRE(env.idle());
    // A plain file in place of the directory: the rotation cannot reopen.
    REQUIRE(removeTree(kDir));
    REQUIRE(writeTextFile(kDir, "x"));
    for (int i = 0; i < 52; ++i)
        alarmLogAlarm(SPRAY_LOW_FLOW);
    REQUIRE(env.idle());
    CHECK(datastoreGetUint16(DS_ALARM_COUNT_8) == 53);

    REQUIRE(fileDelete(kDir));
    REQUIRE(mkdir(kDir.c_str(), 0755) == 0);
    alarmLogAlarm(SPRAY_LOW_FLOW);
    REQUIRE(env.idle());
    CHECK_FALSE(fileExists(kCurrent));
    clockAdvanceMs(5000);
    REQUIRE(waitFor([] { return fileExists(kCurrent); }, 5000));
    alarmLogAlarm(SPRAY_LOW_FLOW);
    REQUIRE(env.idle());
    const std::vector<std::string> lines = fileLines(kCurrent);
    REQUIRE(lines.size() == 1);
    CHECK(lineCount(lines[0]) == 55);
}

TEST_CASE("alarm log: a folder removed under the open file is followed when it comes back")
{
    AlarmLogEnv env;
    alarmLogAlarm(SPRAY_LOW_FLOW);
    REQUIRE(env.idle());

    SUBCASE("made again at once: the next line lands in a new current file")
    {
        REQUIRE(removeTree(kDir));
        REQUIRE(mkdir(kDir.c_str(), 0755) == 0);
        alarmLogAlarm(SPRAY_LOW_FLOW);
        REQUIRE(env.idle());
        const std::vector<std::string> lines = fileLines(kCurrent);
        REQUIRE(lines.size() == 1);
        CHECK(lineCount(lines[0]) == 2);
    }
    SUBCASE("made again later: lines are lost only until the worker finds it")
    {
        REQUIRE(removeTree(kDir));
        alarmLogAlarm(SPRAY_LOW_FLOW);
        REQUIRE(env.idle());
        CHECK_FALSE(fileExists(kDir));  // the worker does not make the folder itself
        REQUIRE(mkdir(kDir.c_str(), 0755) == 0);
        clockAdvanceMs(5000);
        REQUIRE(waitFor([] { return fileExists(kCurrent); }, 5000));
        alarmLogAlarm(SPRAY_LOW_FLOW);
        REQUIRE(env.idle());
        const std::vector<std::string> lines = fileLines(kCurrent);
        REQUIRE(lines.size() == 1);
        CHECK(lineCount(lines[0]) == 3);
    }
    SUBCASE("the current file replaced by another: the worker writes to the new one")
    {
        REQUIRE(fileDelete(kCurrent));
        REQUIRE(writeTextFile(kCurrent, ""));
        alarmLogAlarm(SPRAY_LOW_FLOW);
        REQUIRE(env.idle());
        const std::vector<std::string> lines = fileLines(kCurrent);
        REQUIRE(lines.size() == 1);
        CHECK(lineCount(lines[0]) == 2);
    }
}

TEST_CASE("alarm log: the idle worker waits instead of spinning")
{
    AlarmLogEnv env;
    const double before = processCpuSeconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    CHECK(processCpuSeconds() - before < 0.1);
}
