#include "tank.h"

#include "clock.h"
#include "datastore.h"
#include "eventids.h"
#include "filefunc.h"
#include "pulsinput.h"
#include "storage.h"

#include "procedures_env.h"
#include "test_root.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

// A tank of 100 l at the minimum reading 50 and 2100 l at the top reading 850,
// empty at 10, water, the default shape, both procedures reset.
struct TankEnv : ProcEnv {
    TankEnv()
    {
        setDs(DS_FLOW_SENSOR_PRESENT, 0);
        setDs(DS_FILL_FLOW_SENSOR_PRESENT, 0);
        setDs(DS_MASTER_SWITCH, 0);
        setDs(DS_TANK_CAL_EMPTY, 10);
        setDs(DS_TANK_CAL_MIN, 50);
        setDs(DS_TANK_CAL_MAX, 850);
        setDs(DS_TANK_CAL_STEPS, 200);
        setDs(DS_DENSITY_FACTOR, 1000);
        setDs(DS_TANK_MIN_CONTENT, 100);
        setDs(DS_TANK_MAX_CONTENT, 2100);
        tankProceduresInit(1);
        fileDelete(tankShapeCalPath());
        takeCoreEvents();
        takeTrace();
    }
};

TankShapeTable storedTable()
{
    TankShapeTable table = {};
    REQUIRE(datastoreGetData(DS_TANK_SHAPE_TABLE, &table) == 0);
    return table;
}

const char kHeader[] = "[General]\r\nContentMin=100\r\nContentMax=2100\r\nCalEmpty=10\r\nCalMin=50\r\nCalMax=850\r\n";

void writeShapeFile(const std::string& text)
{
    REQUIRE(makePath(parentDirectory(tankShapeCalPath())));
    REQUIRE(writeTextFile(tankShapeCalPath(), text));
}

}  // namespace

TEST_CASE("tank content: the default shape rises linearly from the minimum to the maximum content")
{
    TankEnv env;
    CHECK(storedTable().entry[0] == 200);
    CHECK(storedTable().entry[200] == 0);
    uint32_t previous = 0;
    for (uint32_t s = 50; s <= 850; ++s) {
        CAPTURE(s);
        const uint32_t content = tankContentForReading(s);
        const double linear = 100.0 + (s - 50) * 2000.0 / 800.0;
        CHECK(std::fabs(content - linear) <= 1.0);
        CHECK(content >= previous);
        previous = content;
    }
    CHECK(tankContentForReading(50) == 100);
    CHECK(tankContentForReading(450) == 1100);
    CHECK(tankContentForReading(850) == 2100);

    SUBCASE("at or below empty 0, up to the minimum linear, above the top the maximum")
    {
        CHECK(tankContentForReading(0) == 0);
        CHECK(tankContentForReading(10) == 0);
        CHECK(tankContentForReading(30) == 50);
        CHECK(tankContentForReading(1023) == 2100);
    }

    SUBCASE("the live reading passes a 16-sample average")
    {
        setDs(DS_LIVE_TANK_SENSOR, 450);
        uint16_t content = 0;
        for (int i = 0; i < 16; ++i)
            content = tankContentFromLevel();
        CHECK(content == 1100);
        setDs(DS_LIVE_TANK_SENSOR, 850);
        CHECK(tankContentFromLevel() < 2100);
        for (int i = 0; i < 16; ++i)
            content = tankContentFromLevel();
        CHECK(content == 2100);
    }

    SUBCASE("a new store keeps the stored table on the next start")
    {
        TankShapeTable table = storedTable();
        table.entry[0] = 400;
        REQUIRE(datastoreSetData(DS_TANK_SHAPE_TABLE, &table) == 0);
        tankProceduresInit(0);
        CHECK(tankContentForReading(50) == 100);
        CHECK(tankContentForReading(450) == 1600);
        CHECK(tankContentForReading(850) == 2100);
        tankProceduresInit(1);
        CHECK(storedTable().entry[0] == 200);
    }
}

TEST_CASE("tank content never divides by zero")
{
    TankEnv env;
    SUBCASE("zero density factor")
    {
        setDs(DS_DENSITY_FACTOR, 0);
        for (uint32_t s : {11u, 50u, 450u, 1023u})
            CHECK(tankContentForReading(s) == 0);
    }
    SUBCASE("a loaded table whose first entry is 0")
    {
        writeShapeFile(std::string(kHeader) + "CalSteps=1\r\nIx1=0\r\n");
        REQUIRE(tankShapeCalLoad(TANK_SHAPE_FILE_PARSE) == 1);
        CHECK(storedTable().entry[0] == 0);
        tankProceduresInit(0);
        CHECK(tankContentForReading(30) == 50);
        CHECK(tankContentForReading(450) == 100);
        CHECK(tankContentForReading(1023) == 2100);
    }
    SUBCASE("empty reading and minimum reading the same")
    {
        setDs(DS_TANK_CAL_EMPTY, 50);
        CHECK(tankContentForReading(50) == 0);
        CHECK(tankContentForReading(450) == 1100);
    }
}

TEST_CASE("ShapeCal.ini: loading")
{
    TankEnv env;
    const std::string path = tankShapeCalPath();
    CHECK(path == clBaseDir() + "/share/config/ShapeCal.ini");

    struct Case {
        const char* name;
        std::string text;
        bool loads;
        const char* message;
    };
    const std::string h = kHeader;
    const Case cases[] = {
        {"three falling steps", h + "CalSteps=3\r\nIx1=30\r\nIx2=20\r\nIx3=10\r\n", true, nullptr},
        {"Ix lines before CalSteps are not counted",
         h + "Ix1=99\r\nIx2=98\r\nCalSteps=3\r\nIx1=30\r\nIx2=20\r\nIx3=10\r\n", true, nullptr},
        {"keys after blanks and a stray line without =", h + "CalSteps=3\r\n  Ix1=30\r\nnoise\r\n\tIx2=20\r\nIx3=10\r\n",
         true, nullptr},
        {"a rising step", h + "CalSteps=2\r\nIx1=10\r\nIx2=20\r\n", false,
         "Cuvelo Parsing ShapeCal.ini failed - Bad data in Ix2: value: 20\r\n"},
        {"too few entries", h + "CalSteps=3\r\nIx1=30\r\nIx2=20\r\n", false,
         "Cuvelo Parsing ShapeCal.ini failed - Wrong number of entries\r\n"},
        {"only Ix before CalSteps", h + "Ix1=30\r\nCalSteps=1\r\n", false,
         "Cuvelo Parsing ShapeCal.ini failed - Wrong number of entries\r\n"},
        {"more entries than steps", h + "CalSteps=1\r\nIx1=30\r\nIx2=20\r\n", false, nullptr},
        {"too many steps", h + "CalSteps=201\r\n", false,
         "Cuvelo Parsing ShapeCal.ini failed - too many calculated steps.\r\n"},
        {"minimum content above maximum",
         "[General]\r\nContentMin=3000\r\nContentMax=2100\r\nCalEmpty=10\r\nCalMin=50\r\nCalMax=850\r\nCalSteps=1\r\nIx1=5\r\n",
         false, "Cuvelo Parsing ShapeCal.ini failed - Bad min/max data\r\n"},
        {"empty reading above the top",
         "[General]\r\nContentMin=100\r\nContentMax=2100\r\nCalEmpty=900\r\nCalMin=50\r\nCalMax=850\r\nCalSteps=1\r\nIx1=5\r\n",
         false, "Cuvelo Parsing ShapeCal.ini failed - Bad min/max data\r\n"},
        {"a value outside its item's limits",
         "[General]\r\nContentMin=100\r\nContentMax=2100\r\nCalEmpty=10\r\nCalMin=700\r\nCalMax=850\r\nCalSteps=1\r\nIx1=5\r\n",
         false, "Cuvelo Parsing ShapeCal.ini failed - Bad min/max data\r\n"},
        {"a missing setting", "[General]\r\nContentMin=100\r\nCalEmpty=10\r\nCalMin=50\r\nCalMax=850\r\nCalSteps=1\r\nIx1=5\r\n",
         false, "Cuvelo Parsing ShapeCal.ini failed - Bad min/max data\r\n"},
        {"no [General] line: the first key line is lost",
         "ContentMin=100\r\nContentMax=2100\r\nCalEmpty=10\r\nCalMin=50\r\nCalMax=850\r\nCalSteps=1\r\nIx1=5\r\n", false,
         "Cuvelo Parsing ShapeCal.ini failed - Bad min/max data\r\n"},
        {"an empty file", "", false, "Cuvelo Parsing ShapeCal.ini failed - Wrong number of entries\r\n"},
        {"a key longer than 35 characters", h + "CalSteps=1\r\nIx1xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx=5\r\n",
         false, "Cuvelo Parsing ShapeCal.ini failed - Wrong number of entries\r\n"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        // A store that differs from every file, so that any write shows.
        setDs(DS_TANK_MIN_CONTENT, 200);
        setDs(DS_TANK_MAX_CONTENT, 3000);
        setDs(DS_TANK_CAL_EMPTY, 20);
        setDs(DS_TANK_CAL_MIN, 60);
        setDs(DS_TANK_CAL_MAX, 900);
        setDs(DS_TANK_CAL_STEPS, 200);
        tankProceduresInit(1);
        writeShapeFile(c.text);
        takeTrace();
        CHECK(tankShapeCalLoad(TANK_SHAPE_FILE_PARSE) == (c.loads ? 1u : 0u));
        const std::string trace = takeTrace();
        CHECK(trace.rfind("Cuvelo Parsing ShapeCal.ini - Begin\r\n", 0) == 0);
        if (c.loads) {
            CHECK(trace.find("Cuvelo Parsing ShapeCal.ini successful\r\n") != std::string::npos);
            CHECK(fileExists(path));
            CHECK(datastoreGetUint16(DS_TANK_MIN_CONTENT) == 100);
            CHECK(datastoreGetUint16(DS_TANK_MAX_CONTENT) == 2100);
            CHECK(datastoreGetUint16(DS_TANK_CAL_EMPTY) == 10);
            CHECK(datastoreGetUint16(DS_TANK_CAL_MIN) == 50);
            CHECK(datastoreGetUint16(DS_TANK_CAL_MAX) == 850);
            CHECK(datastoreGetUint16(DS_TANK_CAL_STEPS) == 3);
            const TankShapeTable table = storedTable();
            CHECK(table.entry[0] == 30);
            CHECK(table.entry[1] == 20);
            CHECK(table.entry[2] == 10);
            CHECK(table.entry[3] == 0);
        } else {
            if (c.message != nullptr)
                CHECK(trace.find(c.message) != std::string::npos);
            CHECK(trace.find("Cuvelo ShapeCal.ini file deleted!\r\n") != std::string::npos);
            CHECK(trace.find("Cuvelo Parsing ShapeCal.ini failed - No file, Bad data or Wrong number of entries\r\n") !=
                  std::string::npos);
            CHECK_FALSE(fileExists(path));
            CHECK(datastoreGetUint16(DS_TANK_MIN_CONTENT) == 200);
            CHECK(datastoreGetUint16(DS_TANK_MAX_CONTENT) == 3000);
            CHECK(datastoreGetUint16(DS_TANK_CAL_EMPTY) == 20);
            CHECK(datastoreGetUint16(DS_TANK_CAL_MIN) == 60);
            CHECK(datastoreGetUint16(DS_TANK_CAL_MAX) == 900);
            CHECK(datastoreGetUint16(DS_TANK_CAL_STEPS) == 200);
            CHECK(storedTable().entry[0] == 200);
        }
    }

    SUBCASE("a missing file fails without deleting anything")
    {
        fileDelete(path);
        takeTrace();
        CHECK(tankShapeCalLoad(TANK_SHAPE_FILE_PARSE) == 0);
        CHECK(takeTrace() ==
              "Cuvelo Parsing ShapeCal.ini - Begin\r\n"
              "Cuvelo Parsing ShapeCal.ini failed - No file, Bad data or Wrong number of entries\r\n");
    }

    SUBCASE("binary bytes and very long lines are read within bounds")
    {
        std::string text = h + "CalSteps=2\r\n";
        text += std::string(300, 'x') + "=1\r\n";
        text += std::string("Ix1=\0\x01\xff", 7) + "\r\n";
        text += "Ix1=" + std::string(500, '9') + "\r\n";
        writeShapeFile(text);
        CHECK(tankShapeCalLoad(TANK_SHAPE_FILE_PARSE) == 0);
    }

    CHECK(tankShapeCalLoad(999) == 0);
}

TEST_CASE("ShapeCal.ini: saving writes the exact format and reads back")
{
    TankEnv env;
    const std::string path = tankShapeCalPath();
    TankShapeTable table = {};
    for (int i = 0; i < 5; ++i)
        table.entry[i] = static_cast<uint16_t>(50 - 10 * i);
    REQUIRE(datastoreSetData(DS_TANK_SHAPE_TABLE, &table) == 0);
    setDs(DS_TANK_CAL_STEPS, 5);
    tankProceduresInit(0);

    takeTrace();
    REQUIRE(tankShapeCalLoad(TANK_SHAPE_FILE_WRITE) == 1);
    CHECK(takeTrace() == "Cuvelo start save ShapeCal.ini file\r\nCuvelo save ShapeCal.ini successful\r\n");
    const std::string saved = std::string(kHeader) + "CalSteps=5\r\nIx1=50\r\nIx2=40\r\nIx3=30\r\nIx4=20\r\nIx5=10\r\n";
    CHECK(readTextFile(path) == saved);

    setDs(DS_TANK_CAL_STEPS, 200);
    setDs(DS_TANK_MIN_CONTENT, 0);
    REQUIRE(tankShapeCalLoad(TANK_SHAPE_FILE_PARSE) == 1);
    CHECK(datastoreGetUint16(DS_TANK_CAL_STEPS) == 5);
    CHECK(datastoreGetUint16(DS_TANK_MIN_CONTENT) == 100);
    for (int i = 0; i < 6; ++i)
        CHECK(storedTable().entry[i] == table.entry[i]);

    SUBCASE("a shorter table replaces a longer file whole")
    {
        setDs(DS_TANK_CAL_STEPS, 2);
        REQUIRE(tankShapeCalLoad(TANK_SHAPE_FILE_WRITE) == 1);
        CHECK(readTextFile(path) == std::string(kHeader) + "CalSteps=2\r\nIx1=50\r\nIx2=40\r\n");
        CHECK(tankShapeCalLoad(TANK_SHAPE_FILE_PARSE) == 1);
    }

    SUBCASE("the export rewrite deletes and writes")
    {
        REQUIRE(writeTextFile(path, std::string(5000, 'z')));
        REQUIRE(tankShapeCalLoad(TANK_SHAPE_FILE_REWRITE) == 1);
        CHECK(readTextFile(path) == saved);
    }

    SUBCASE("all 200 steps fit; CalSteps is written as stored")
    {
        tankProceduresInit(1);
        setDs(DS_TANK_CAL_STEPS, 250);
        REQUIRE(tankShapeCalLoad(TANK_SHAPE_FILE_WRITE) == 1);
        const std::string text = readTextFile(path);
        CHECK(text.find("CalSteps=250\r\nIx1=200\r\n") != std::string::npos);
        CHECK(text.find("Ix200=1\r\n") != std::string::npos);
        CHECK(text.find("Ix201") == std::string::npos);
        CHECK(text.size() <= 4139);
    }

    SUBCASE("a write that fails is reported")
    {
        REQUIRE(fileDelete(path));
        REQUIRE(makePath(path));  // a directory where the file belongs
        takeTrace();
        CHECK(tankShapeCalLoad(TANK_SHAPE_FILE_WRITE) == 0);
        CHECK(takeTrace() ==
              "Cuvelo start save ShapeCal.ini file\r\n"
              "Cuvelo ShapeCal.ini - ALARM_FILESYSTEM_SAVE_ERROR\r\n"
              "Cuvelo save ShapeCal.ini failed\r\n");
        REQUIRE(removeTree(path));
    }
}

TEST_CASE("tank-shape calibration records the steps while the master is on")
{
    TankEnv env;
    setDs(DS_TANK_CAL_MIN, 100);
    setDs(DS_TANK_CAL_MAX, 104);  // four steps: levels 100, 101, 102, 103
    setDs(DS_LIVE_TANK_SENSOR, 200);

    tankProceduresHandleEvent(EV_TANK_SHAPE_CAL_START);
    CHECK(tankShapeCalState() == 2);
    CHECK(datastoreGetBool(DS_TANK_SHAPE_CAL_ACTIVE) == 1);
    tankProceduresHandleEvent(EV_PROCESS_TICK);
    CHECK(tankShapeCalState() == 2);  // waits for the master
    setDs(DS_MASTER_SWITCH, 1);
    tankProceduresHandleEvent(EV_PROCESS_TICK);
    REQUIRE(tankShapeCalState() == 3);
    CHECK(datastoreGetUint16(DS_TANK_CAL_STEPS) == 4);

    clockAdvanceMs(1000);
    tankProceduresHandleEvent(EV_PROCESS_TICK);  // still full: nothing recorded
    setDs(DS_LIVE_TANK_SENSOR, 102);             // below step 3 (103)
    tankProceduresHandleEvent(EV_PROCESS_TICK);
    CHECK(datastoreGetUint16(DS_TANK_CAL_PROGRESS) == 50);
    tankProceduresHandleEvent(EV_PROCESS_TICK);  // not below step 2 (102)
    CHECK(datastoreGetUint16(DS_TANK_CAL_PROGRESS) == 50);

    setDs(DS_MASTER_SWITCH, 0);  // pause: 10 s do not count
    tankProceduresHandleEvent(EV_PROCESS_TICK);
    CHECK(tankShapeCalState() == 4);
    clockAdvanceMs(10000);
    tankProceduresHandleEvent(EV_PROCESS_TICK);
    setDs(DS_MASTER_SWITCH, 1);
    tankProceduresHandleEvent(EV_PROCESS_TICK);
    CHECK(tankShapeCalState() == 3);

    clockAdvanceMs(500);
    setDs(DS_LIVE_TANK_SENSOR, 50);  // below every step: one step per event
    tankProceduresHandleEvent(EV_PROCESS_TICK);
    tankProceduresHandleEvent(EV_TICK_100MS);  // other events record nothing
    CHECK(datastoreGetUint16(DS_TANK_CAL_PROGRESS) == 75);
    clockAdvanceMs(250);
    tankProceduresHandleEvent(EV_PROCESS_TICK);
    clockAdvanceMs(250);
    tankProceduresHandleEvent(EV_PROCESS_TICK);
    CHECK(tankShapeCalState() == 5);
    CHECK(storedTable().entry[0] == 200);  // written only on completion
    tankProceduresHandleEvent(EV_PROCESS_TICK);
    CHECK(tankShapeCalState() == 0);
    CHECK(datastoreGetBool(DS_MASTER_SWITCH) == 0);
    CHECK(datastoreGetBool(DS_TANK_SHAPE_CAL_ACTIVE) == 0);
    const TankShapeTable table = storedTable();
    CHECK(table.entry[3] == 4);
    CHECK(table.entry[2] == 6);
    CHECK(table.entry[1] == 7);
    CHECK(table.entry[0] == 8);
    CHECK(table.entry[4] == 0);
    CHECK(takeTrace() ==
          "TankShapeCal start\n\r"
          "TankShapeCal wait for Master - Got it\n\r"
          "TankShapeCal Ix=3 t=4\n\r"
          "TankShapeCal pause\n\r"
          "TankShapeCal pause\n\r"
          "TankShapeCal Ix=2 t=6\n\r"
          "TankShapeCal Ix=1 t=7\n\r"
          "TankShapeCal Ix=0 t=8\n\r"
          "TankShapeCal done\n\r");
    tankProceduresHandleEvent(EV_TICK_100MS);
    CHECK(tankShapeCalState() == 1);
}

TEST_CASE("tank-shape calibration: stop, a zero span and the time limit")
{
    TankEnv env;
    setDs(DS_LIVE_TANK_SENSOR, 900);

    SUBCASE("the stop event leaves every waiting and measuring state")
    {
        tankProceduresHandleEvent(EV_TANK_SHAPE_CAL_START);
        tankProceduresHandleEvent(EV_TANK_SHAPE_CAL_STOP);
        CHECK(tankShapeCalState() == 0);
        tankProceduresHandleEvent(EV_TICK_100MS);
        CHECK(datastoreGetBool(DS_TANK_SHAPE_CAL_ACTIVE) == 0);
        tankProceduresHandleEvent(EV_TANK_SHAPE_CAL_START);
        setDs(DS_MASTER_SWITCH, 1);
        tankProceduresHandleEvent(EV_PROCESS_TICK);
        REQUIRE(tankShapeCalState() == 3);
        tankProceduresHandleEvent(EV_TANK_SHAPE_CAL_STOP);
        CHECK(tankShapeCalState() == 0);
    }

    SUBCASE("a span of 0, or a minimum reading above the maximum, keeps waiting for the master")
    {
        for (const uint32_t calMin : {300u, 450u}) {
            CAPTURE(calMin);
            setDs(DS_TANK_CAL_MIN, calMin);
            setDs(DS_TANK_CAL_MAX, 300);
            tankProceduresHandleEvent(EV_TANK_SHAPE_CAL_START);
            setDs(DS_MASTER_SWITCH, 1);
            tankProceduresHandleEvent(EV_PROCESS_TICK);
            tankProceduresHandleEvent(EV_PROCESS_TICK);
            CHECK(tankShapeCalState() == 2);
            CHECK(datastoreGetUint16(DS_TANK_CAL_STEPS) == 200);
            tankProceduresHandleEvent(EV_TANK_SHAPE_CAL_STOP);
            tankProceduresHandleEvent(EV_TICK_100MS);
        }
    }

    SUBCASE("a calibration of 65535 quarter seconds is dropped unwritten")
    {
        tankProceduresHandleEvent(EV_TANK_SHAPE_CAL_START);
        setDs(DS_MASTER_SWITCH, 1);
        tankProceduresHandleEvent(EV_PROCESS_TICK);
        REQUIRE(tankShapeCalState() == 3);
        clockAdvanceMs(65535u * 250u);
        tankProceduresHandleEvent(EV_PROCESS_TICK);
        CHECK(tankShapeCalState() == 0);
        CHECK(storedTable().entry[0] == 200);
    }
    setDs(DS_MASTER_SWITCH, 0);
    tankShapeCalStep(0, 1);
}

TEST_CASE("tank filling runs from 0 to 100 percent and sets the done flag")
{
    TankEnv env;
    setDs(DS_ACTUAL_CONTENT, 200);
    setDs(DS_DESIRED_CONTENT, 1200);
    setDs(DS_AUTO_FILL_OFFSET, 0);
    REQUIRE(tankFillingState() == 1);

    tankProceduresHandleEvent(EV_TANK_FILLING_START);
    CHECK(tankFillingState() == 2);
    CHECK(datastoreGetBool(DS_FILLING_ACTIVE) == 1);
    struct Step {
        uint32_t actual, progress;
    };
    const Step steps[] = {{200, 0}, {150, 0}, {450, 25}, {700, 50}, {1199, 99}};
    for (const Step& s : steps) {
        CAPTURE(s.actual);
        setDs(DS_ACTUAL_CONTENT, s.actual);
        tankProceduresHandleEvent(EV_PROCESS_TICK);
        CHECK(datastoreGetUint16(DS_FILL_PROGRESS) == s.progress);
        CHECK(tankFillingState() == 2);
    }

    tankProceduresHandleEvent(EV_TANK_FILLING_START);  // pause
    CHECK(tankFillingState() == 3);
    CHECK(datastoreGetBool(DS_FILLING_ACTIVE) == 0);
    tankProceduresHandleEvent(EV_TANK_FILLING_START);  // resume
    CHECK(tankFillingState() == 2);
    CHECK(datastoreGetBool(DS_FILLING_ACTIVE) == 1);

    setDs(DS_ACTUAL_CONTENT, 1250);
    tankProceduresHandleEvent(EV_PROCESS_TICK);
    CHECK(datastoreGetUint16(DS_FILL_PROGRESS) == 100);
    CHECK(tankFillingState() == 4);
    tankProceduresHandleEvent(EV_TICK_100MS);
    CHECK(tankFillingState() == 1);
    CHECK(datastoreGetBool(DS_FILLING_ACTIVE) == 0);
    CHECK(datastoreGetBool(DS_FILLING_FLAG_232) == 1);
    CHECK(takeTrace() ==
          "TankFilling wait start -> busy\n\r"
          "TankFilling busy -> pause\n\r"
          "TankFilling pause -> busy\n\r"
          "TankFilling done\n\r");

    tankProceduresHandleEvent(EV_TANK_FILLING_START);
    CHECK(datastoreGetBool(DS_FILLING_FLAG_232) == 0);
    tankProceduresHandleEvent(EV_TANK_FILLING_STOP);
    CHECK(tankFillingState() == 0);
    CHECK(takeTrace().find("TankFilling busy -> init\n\r") != std::string::npos);
}

TEST_CASE("tank filling: a desired content within the offset completes at the first tick")
{
    TankEnv env;
    setDs(DS_ACTUAL_CONTENT, 1000);
    setDs(DS_DESIRED_CONTENT, 50);
    setDs(DS_AUTO_FILL_OFFSET, 100);
    tankProceduresHandleEvent(EV_TANK_FILLING_START);
    tankProceduresHandleEvent(EV_PROCESS_TICK);
    CHECK(datastoreGetUint16(DS_FILL_PROGRESS) == 100);
    CHECK(tankFillingState() == 4);

    SUBCASE("and from the pause")
    {
        tankFillingStep(0, 1);
        tankProceduresHandleEvent(EV_TANK_FILLING_START);
        tankProceduresHandleEvent(EV_TANK_FILLING_START);
        REQUIRE(tankFillingState() == 3);
        tankProceduresHandleEvent(EV_TANK_FILLING_START);
        CHECK(tankFillingState() == 4);
        CHECK(takeTrace().find("TankFilling pause -> done\n\r") != std::string::npos);
    }
}

TEST_CASE("closing the fill valve adds the filled volume to the tank volume counter")
{
    TankEnv env;
    setDs(DS_FILL_FLOW_SENSOR_PRESENT, 1);
    REQUIRE(pulsSetCounterMode(8, 300, 7) == 0);
    REQUIRE(pulsSetCounterMode(9, 120, 2) == 0);
    takeTrace();
    tankProceduresHandleEvent(EV_TANK_FILLING_CLOSE);
    int32_t base = 0, unit = 0;
    REQUIRE(pulsGetTripValueBase(8, &base) == 0);
    REQUIRE(pulsGetTripValueUnit(8, &unit) == 0);
    CHECK(base == 420);
    CHECK(unit == 9);
    REQUIRE(pulsGetTripValueBase(9, &base) == 0);
    CHECK(base == 0);
    CHECK(takeTrace() == "FillVolume=120 RemVol=420\n\r");

    setDs(DS_FILL_FLOW_SENSOR_PRESENT, 0);
    REQUIRE(pulsSetCounterMode(9, 50, 0) == 0);
    tankProceduresHandleEvent(EV_TANK_FILLING_CLOSE);
    REQUIRE(pulsGetTripValueBase(8, &base) == 0);
    CHECK(base == 420);
}
