#include "tank.h"

#include "clock.h"
#include "datastore.h"
#include "debugout.h"
#include "dsvalue.h"
#include "eventids.h"
#include "filedesc.h"
#include "filefunc.h"
#include "mempool.h"
#include "movingaverage.h"
#include "pulsinput.h"
#include "storage.h"
#include "toolsmisc.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr uint32_t kQuarterSecondMs = 250;
constexpr uint32_t kElapsedLimit = 65535;
constexpr uint32_t kLevelCounter = 7;
constexpr uint32_t kSpeedCounter = 10;
constexpr uint32_t kTankCounter = 8;
constexpr uint32_t kFillCounter = 9;
constexpr uint32_t kFilterSamples = 16;
constexpr size_t kTextBuffer = 4140;
constexpr size_t kLineChars = 45;
constexpr size_t kKeyChars = 35;

const char kParseFailed[] =
    "Cuvelo Parsing ShapeCal.ini failed - No file, Bad data or Wrong number of entries\r\n";
const char kSaveFailed[] = "Cuvelo save ShapeCal.ini failed\r\n";

struct ShapeCal {
    uint32_t state;
    uint32_t counterRunning;
    uint16_t index;
    uint32_t start;
    uint32_t pause;
    uint16_t elapsed;
    TankShapeTable work;
};

struct Filling {
    uint32_t state;
    uint16_t startContent;
};

ShapeCal gCal = {};
Filling gFill = {};
TankShapeTable gTable = {};

struct LevelFilter {
    bool ready = false;
    uint32_t buffer[kFilterSamples] = {};
    MovingAverage filter = {};
};
LevelFilter gLevel;

bool flowSensor()
{
    return dsValue(DS_FLOW_SENSOR_PRESENT) != 0;
}

bool fillFlowSensor()
{
    return dsValue(DS_FILL_FLOW_SENSOR_PRESENT) != 0;
}

bool masterOn()
{
    return dsValue(DS_MASTER_SWITCH) != 0;
}

void loadTable()
{
    if (datastoreGetData(DS_TANK_SHAPE_TABLE, &gTable) != 0)
        tankShapeTableDefault(&gTable);
}

void storeTable(const TankShapeTable& table)
{
    datastoreSetData(DS_TANK_SHAPE_TABLE, &table);
    gTable = table;
}

}  // namespace

void tankShapeTableDefault(TankShapeTable* table)
{
    for (uint32_t i = 0; i < TANK_TABLE_ENTRIES; ++i)
        table->entry[i] = static_cast<uint16_t>(TANK_MAX_STEPS - i);
}

uint32_t tankShapeCalState()
{
    return gCal.state;
}

uint32_t tankFillingState()
{
    return gFill.state;
}

void tankProceduresInit(uint32_t newStore)
{
    if (newStore != 0) {
        TankShapeTable table;
        tankShapeTableDefault(&table);
        storeTable(table);
    } else {
        loadTable();
    }
    tankShapeCalStep(0, 1);
    tankFillingStep(0, 1);
}

void tankProceduresHandleEvent(uint32_t id)
{
    tankShapeCalStep(id, 0);
    tankFillingStep(id, 0);
}

// ---- Tank-shape calibration ----

void tankShapeCalStep(uint32_t id, uint32_t reset)
{
    if (reset != 0 || gCal.state == 0) {
        datastoreSetBool(DS_TANK_SHAPE_CAL_ACTIVE, 0);
        gCal.state = 1;
        if (flowSensor()) {
            pulsClearCounter(kLevelCounter);
            pulsGetResetFlag(kLevelCounter, &gCal.counterRunning);
        }
        return;
    }
    const uint32_t now = clockGetMs();
    switch (gCal.state) {
    case 1:
        if (id == EV_TANK_SHAPE_CAL_START) {
            debugPrintf(0, "TankShapeCal start\n\r");
            gCal.state = 2;
            datastoreSetBool(DS_TANK_SHAPE_CAL_ACTIVE, 1);
            if (flowSensor())
                pulsStopCounter(kSpeedCounter);
        }
        break;
    case 2: {
        if (id == EV_TANK_SHAPE_CAL_STOP) {
            gCal.state = 0;
            break;
        }
        if (!masterOn())
            break;
        if (flowSensor() && gCal.counterRunning == 0) {
            pulsResetCounter(kLevelCounter);
            pulsGetResetFlag(kLevelCounter, &gCal.counterRunning);
        }
        debugPrintf(0, "TankShapeCal wait for Master - Got it\n\r");
        // A maximum reading at or below the minimum one leaves no span to measure over.
        const uint32_t calMin = dsValue(DS_TANK_CAL_MIN);
        const uint32_t calMax = dsValue(DS_TANK_CAL_MAX);
        if (calMax <= calMin)
            break;
        const uint16_t n = static_cast<uint16_t>(std::min<uint32_t>(calMax - calMin, TANK_MAX_STEPS));
        datastoreSetUint16(DS_TANK_CAL_PROGRESS, 0);
        datastoreSetUint16(DS_TANK_CAL_STEPS, n);
        gCal.work = gTable;
        gCal.work.entry[n] = 0;
        gCal.elapsed = 0;
        gCal.start = now;
        gCal.index = static_cast<uint16_t>(n - 1);
        gCal.state = 3;
        break;
    }
    case 3: {
        if (id == EV_TANK_SHAPE_CAL_STOP) {
            gCal.state = 0;
            break;
        }
        if (!masterOn()) {
            gCal.pause = now;
            gCal.state = 4;
            break;
        }
        if (id != EV_PROCESS_TICK)
            break;
        const uint32_t elapsed = (now - gCal.start) / kQuarterSecondMs;
        if (elapsed >= kElapsedLimit) {
            gCal.state = 0;
            break;
        }
        gCal.elapsed = static_cast<uint16_t>(elapsed);
        const uint32_t lo = dsValue(DS_TANK_CAL_MIN);
        const uint32_t hi = dsValue(DS_TANK_CAL_MAX);
        const uint32_t steps = dsValue(DS_TANK_CAL_STEPS);
        if (steps == 0) {
            gCal.state = 0;
            break;
        }
        const uint32_t level = lo + (hi - lo) * gCal.index / steps;
        if (dsValue(DS_LIVE_TANK_SENSOR) >= level)
            break;
        debugPrintf(0, "TankShapeCal Ix=%u t=%u\n\r", static_cast<unsigned>(gCal.index),
                    static_cast<unsigned>(gCal.elapsed));
        gCal.work.entry[gCal.index] = gCal.elapsed;
        if (gCal.index == 0) {
            gCal.state = 5;
            break;
        }
        --gCal.index;
        datastoreSetUint16(DS_TANK_CAL_PROGRESS, static_cast<uint16_t>((steps - gCal.index) * 100 / steps));
        break;
    }
    case 4:
        debugPrintf(0, "TankShapeCal pause\n\r");
        if (id == EV_TANK_SHAPE_CAL_STOP) {
            gCal.state = 0;
        } else if (masterOn()) {
            gCal.start += now - gCal.pause;
            gCal.state = 3;
        }
        break;
    case 5:
        datastoreSetBool(DS_MASTER_SWITCH, 0);
        datastoreSetBool(DS_TANK_SHAPE_CAL_ACTIVE, 0);
        storeTable(gCal.work);
        gCal.state = 0;
        debugPrintf(0, "TankShapeCal done\n\r");
        break;
    default:
        gCal.state = 0;
        break;
    }
}

// ---- Tank content ----

uint16_t tankContentForReading(uint32_t s)
{
    const uint32_t e = dsValue(DS_TANK_CAL_EMPTY);
    const uint32_t calMin = dsValue(DS_TANK_CAL_MIN);
    const uint32_t calMax = dsValue(DS_TANK_CAL_MAX);
    const uint32_t lo = calMin > e ? calMin - e : 0;
    const uint32_t span = calMax - e;
    const uint32_t d = dsValue(DS_DENSITY_FACTOR);
    const uint32_t cmin = dsValue(DS_TANK_MIN_CONTENT);
    const uint32_t cmax = dsValue(DS_TANK_MAX_CONTENT);
    const uint32_t n = std::min<uint32_t>(dsValue(DS_TANK_CAL_STEPS), TANK_MAX_STEPS);
    const uint32_t top = gTable.entry[0];

    if (s <= e || calMax <= e || lo >= span || d == 0)
        return 0;
    const uint32_t x = (s - e) * 1000;
    const uint32_t a = d * lo;
    if (x <= a)
        return static_cast<uint16_t>((x * cmin + a / 2) / a);
    const uint32_t num = n * (x - a);
    const uint32_t den = span * d - a;
    const uint16_t k = static_cast<uint16_t>(num / den);
    if (k >= n || cmax <= cmin)
        return static_cast<uint16_t>(cmax);
    // Without a learnt shape above the minimum there is nothing to interpolate.
    if (top == 0)
        return static_cast<uint16_t>(cmin);
    const auto contentAt = [&](uint32_t i) {
        const uint32_t entry = std::min<uint32_t>(gTable.entry[i], top);
        return cmin + ((cmax - cmin) * (top - entry) + top / 2) / top;
    };
    const uint32_t c1 = contentAt(k);
    if (n < TANK_MAX_STEPS)
        return static_cast<uint16_t>(c1);
    const uint32_t c2 = contentAt(k + 1u);
    if (c1 >= c2)
        return static_cast<uint16_t>(c1);
    const uint64_t part = static_cast<uint64_t>(num - den * k) * (c2 - c1);
    return static_cast<uint16_t>(c1 + (den / 2 + part) / den);
}

uint16_t tankContentFromLevel()
{
    if (!gLevel.ready) {
        movingAverageInit(&gLevel.filter, gLevel.buffer, kFilterSamples, 0);
        gLevel.ready = true;
    }
    return tankContentForReading(movingAverageUpdate(&gLevel.filter, dsValue(DS_LIVE_TANK_SENSOR)));
}

// ---- Filling ----

namespace {

void joinFilledVolume()
{
    pulsClearTrip(kFillCounter);
    int32_t unit8 = 0, base8 = 0, unit9 = 0, base9 = 0;
    pulsGetTripValueUnit(kTankCounter, &unit8);
    pulsGetTripValueBase(kTankCounter, &base8);
    pulsGetTripValueUnit(kFillCounter, &unit9);
    pulsGetTripValueBase(kFillCounter, &base9);
    pulsSetCounterMode(kTankCounter, base8 + base9, unit8 + unit9);
    pulsStopCounter(kFillCounter);
    pulsGetTripValueBase(kTankCounter, &base8);
    debugPrintf(0, "FillVolume=%ld RemVol=%ld\n\r", static_cast<long>(base9), static_cast<long>(base8));
}

bool filledUp()
{
    return dsValue(DS_ACTUAL_CONTENT) + dsValue(DS_AUTO_FILL_OFFSET) >= dsValue(DS_DESIRED_CONTENT);
}

uint16_t fillProgress()
{
    const uint32_t o = dsValue(DS_AUTO_FILL_OFFSET);
    const uint32_t c = dsValue(DS_ACTUAL_CONTENT);
    const uint32_t g = dsValue(DS_DESIRED_CONTENT);
    const uint32_t s = gFill.startContent;
    if (g <= s + o)
        return 100;
    if (c < s)
        return 0;
    return static_cast<uint16_t>(std::min<uint32_t>((c - s) * 100 / (g - s - o), 100));
}

}  // namespace

void tankFillingStep(uint32_t id, uint32_t reset)
{
    if (reset != 0) {
        gFill.state = 0;
        if (fillFlowSensor()) {
            pulsClearTrip(kFillCounter);
            pulsStopCounter(kFillCounter);
        }
        debugPrintf(0, "TankFilling reset\n\r");
    }
    if (id == EV_TANK_FILLING_CLOSE && fillFlowSensor())
        joinFilledVolume();

    switch (gFill.state) {
    case 0:
        datastoreSetBool(DS_FILLING_FLAG_232, 0);
        datastoreSetBool(DS_FILLING_ACTIVE, 0);
        datastoreSetUint16(DS_FILL_PROGRESS, 0);
        gFill.state = 1;
        break;
    case 1:
        if (id == EV_TANK_FILLING_STOP) {
            gFill.state = 0;
        } else if (id == EV_TANK_FILLING_START) {
            debugPrintf(0, "TankFilling wait start -> busy\n\r");
            datastoreSetBool(DS_FILLING_ACTIVE, 1);
            datastoreSetBool(DS_FILLING_FLAG_232, 0);
            gFill.startContent = static_cast<uint16_t>(dsValue(DS_ACTUAL_CONTENT));
            if (fillFlowSensor())
                pulsResetTrip(kFillCounter);
            gFill.state = 2;
        }
        break;
    case 2:
        if (id == EV_PROCESS_TICK) {
            datastoreSetUint16(DS_FILL_PROGRESS, fillProgress());
            if (filledUp())
                gFill.state = 4;
        } else if (id == EV_TANK_FILLING_START) {
            datastoreSetBool(DS_FILLING_ACTIVE, 0);
            gFill.state = 3;
            debugPrintf(0, "TankFilling busy -> pause\n\r");
        } else if (id == EV_TANK_FILLING_STOP) {
            gFill.state = 0;
            debugPrintf(0, "TankFilling busy -> init\n\r");
        }
        break;
    case 3:
        if (id == EV_TANK_FILLING_STOP) {
            gFill.state = 0;
        } else if (id == EV_TANK_FILLING_START) {
            if (filledUp()) {
                gFill.state = 4;
                debugPrintf(0, "TankFilling pause -> done\n\r");
            } else {
                datastoreSetBool(DS_FILLING_ACTIVE, 1);
                if (fillFlowSensor())
                    pulsResetTrip(kFillCounter);
                gFill.state = 2;
                debugPrintf(0, "TankFilling pause -> busy\n\r");
            }
        }
        break;
    case 4:
        datastoreSetBool(DS_FILLING_ACTIVE, 0);
        datastoreSetBool(DS_FILLING_FLAG_232, 1);
        gFill.state = 1;
        debugPrintf(0, "TankFilling done\n\r");
        break;
    default:
        gFill.state = 0;
        break;
    }
}

// ---- ShapeCal.ini ----

std::string tankShapeCalPath()
{
    return pathJoin(clBaseDir(), "share/config/ShapeCal.ini");
}

namespace {

uint32_t tankShapeCalSave()
{
    debugPrintf(0, "Cuvelo start save ShapeCal.ini file\r\n");
    const MemHandle handle = memCalloc(kTextBuffer, 1);
    char* text = handle != 0 ? static_cast<char*>(memHandleToPtr(handle)) : nullptr;
    if (text == nullptr) {
        debugPrintf(0, kSaveFailed);
        return 0;
    }
    loadTable();
    const TankShapeTable& table = gTable;
    const uint32_t steps = dsValue(DS_TANK_CAL_STEPS);
    int length = std::snprintf(text, kTextBuffer,
                               "[General]\r\nContentMin=%d\r\nContentMax=%d\r\nCalEmpty=%d\r\nCalMin=%d\r\n"
                               "CalMax=%d\r\nCalSteps=%d\r\n",
                               static_cast<int>(dsValue(DS_TANK_MIN_CONTENT)),
                               static_cast<int>(dsValue(DS_TANK_MAX_CONTENT)),
                               static_cast<int>(dsValue(DS_TANK_CAL_EMPTY)), static_cast<int>(dsValue(DS_TANK_CAL_MIN)),
                               static_cast<int>(dsValue(DS_TANK_CAL_MAX)), static_cast<int>(steps));
    for (uint32_t k = 1; k <= std::min<uint32_t>(steps, TANK_MAX_STEPS) && length > 0 &&
                         static_cast<size_t>(length) < kTextBuffer;
         ++k) {
        length += std::snprintf(text + length, kTextBuffer - static_cast<size_t>(length), "Ix%d=%d\r\n",
                                static_cast<int>(k), static_cast<int>(table.entry[k - 1]));
    }
    if (length <= 0 || static_cast<size_t>(length) >= kTextBuffer) {
        memFree(handle);
        debugPrintf(0, kSaveFailed);
        return 0;
    }
    // The file is replaced whole: a shorter table must not leave lines of the old one behind.
    const std::string path = tankShapeCalPath();
    const bool written = fileWriteAll(path, text, static_cast<size_t>(length));
    memFree(handle);
    if (written) {
        debugPrintf(0, "Cuvelo save ShapeCal.ini successful\r\n");
        return 1;
    }
    const uint64_t free = freeBytesOfPath(clBaseDir());
    if (free != kUnknownBytes && free < static_cast<uint64_t>(length))
        debugPrintf(0, "Cuvelo ShapeCal.ini - ALARM_FILESYSTEM_OUT_OF_MEMORY\r\n");
    else
        debugPrintf(0, "Cuvelo ShapeCal.ini - ALARM_FILESYSTEM_SAVE_ERROR\r\n");
    debugPrintf(0, kSaveFailed);
    return 0;
}

// Compares a key, skipping leading line ends, blanks and tabs.
bool shapeCalKeyEquals(const char* key, const char* expected)
{
    while (*key == '\r' || *key == '\n' || *key == ' ' || *key == '\t')
        ++key;
    return std::strcmp(key, expected) == 0;
}

bool fitsItem(uint32_t id, uint32_t value)
{
    const uint32_t minBits = datastoreGetMin(id);
    const uint32_t maxBits = datastoreGetMax(id);
    float minimum = 0.0f, maximum = 0.0f;
    std::memcpy(&minimum, &minBits, sizeof minimum);
    std::memcpy(&maximum, &maxBits, sizeof maximum);
    if (minimum == 0.0f && maximum == 0.0f)
        return true;
    return static_cast<float>(value) >= minimum && static_cast<float>(value) <= maximum;
}

enum { kContentMin, kContentMax, kCalEmpty, kCalMin, kCalMax, kSettingCount };
const char* const kSettingKeys[kSettingCount] = {"ContentMin", "ContentMax", "CalEmpty", "CalMin", "CalMax"};
const uint32_t kSettingItems[kSettingCount] = {DS_TANK_MIN_CONTENT, DS_TANK_MAX_CONTENT, DS_TANK_CAL_EMPTY,
                                               DS_TANK_CAL_MIN, DS_TANK_CAL_MAX};

struct ParsedShape {
    uint32_t setting[kSettingCount];
    bool stepsRead;
    uint32_t steps;
    uint32_t count;
    TankShapeTable table;
};

// One line of the file; false ends the parse with a failure.
bool parseLine(const char* line, ParsedShape& parsed)
{
    const char* equals = std::strchr(line, '=');
    if (equals == nullptr)
        return true;
    const size_t keyLength = static_cast<size_t>(equals - line);
    if (keyLength > kKeyChars)
        return true;
    char key[kKeyChars + 1];
    std::memcpy(key, line, keyLength);
    key[keyLength] = '\0';
    const long value = std::strtol(equals + 1, nullptr, 10);

    for (int i = 0; i < kSettingCount; ++i) {
        if (shapeCalKeyEquals(key, kSettingKeys[i])) {
            if (parsed.setting[i] == 0xFFFFFFFFu)
                parsed.setting[i] = static_cast<uint32_t>(value);
            return true;
        }
    }
    if (!parsed.stepsRead) {
        if (!shapeCalKeyEquals(key, "CalSteps"))
            return true;
        if (value < 0 || value > static_cast<long>(TANK_MAX_STEPS)) {
            debugPrintf(0, "Cuvelo Parsing ShapeCal.ini failed - too many calculated steps.\r\n");
            return false;
        }
        parsed.stepsRead = true;
        parsed.steps = static_cast<uint32_t>(value);
        return true;
    }
    char expected[16];
    std::snprintf(expected, sizeof expected, "Ix%u", static_cast<unsigned>(parsed.count + 1));
    if (!shapeCalKeyEquals(key, expected))
        return true;
    if (parsed.count >= parsed.steps)
        return false;
    const uint16_t entry = static_cast<uint16_t>(value);
    if (parsed.count > 0 && entry > parsed.table.entry[parsed.count - 1]) {
        debugPrintf(0, "Cuvelo Parsing ShapeCal.ini failed - Bad data in %s: value: %li\r\n", key, value);
        return false;
    }
    parsed.table.entry[parsed.count++] = entry;
    return true;
}

bool parseFile(int fd)
{
    ParsedShape parsed = {};
    for (uint32_t& v : parsed.setting)
        v = 0xFFFFFFFFu;
    char line[kLineChars + 1];
    bool first = true;
    for (;;) {
        const int64_t before = filePosition(fd);
        if (!fileGetLineChars(fd, line, sizeof line) || filePosition(fd) <= before)
            break;
        if (first) {
            first = false;
            continue;
        }
        if (!parseLine(line, parsed))
            return false;
    }
    if (!parsed.stepsRead || parsed.count != parsed.steps) {
        debugPrintf(0, "Cuvelo Parsing ShapeCal.ini failed - Wrong number of entries\r\n");
        return false;
    }
    const uint32_t* s = parsed.setting;
    bool fits = true;
    for (int i = 0; i < kSettingCount; ++i)
        fits = fits && fitsItem(kSettingItems[i], s[i] & 0xFFFFu) && s[i] <= 0xFFFFu;
    if (s[kContentMin] > s[kContentMax] || s[kCalEmpty] > s[kCalMax] || s[kCalMin] > s[kCalMax] || !fits) {
        debugPrintf(0, "Cuvelo Parsing ShapeCal.ini failed - Bad min/max data\r\n");
        return false;
    }
    for (int i = 0; i < kSettingCount; ++i)
        datastoreSetUint16(kSettingItems[i], static_cast<uint16_t>(s[i]));
    datastoreSetUint16(DS_TANK_CAL_STEPS, static_cast<uint16_t>(parsed.steps));
    storeTable(parsed.table);
    debugPrintf(0, "Cuvelo Parsing ShapeCal.ini successful\r\n");
    return true;
}

uint32_t tankShapeCalParse()
{
    debugPrintf(0, "Cuvelo Parsing ShapeCal.ini - Begin\r\n");
    const std::string path = tankShapeCalPath();
    const int fd = fileOpenRead(path.c_str());
    if (fd < 0 || !fileSeek(fd, 0)) {
        if (fd >= 0)
            fileClose(fd);
        debugPrintf(0, kParseFailed);
        return 0;
    }
    const bool ok = parseFile(fd);
    fileClose(fd);
    if (ok)
        return 1;
    if (fileDelete(path))
        debugPrintf(0, "Cuvelo ShapeCal.ini file deleted!\r\n");
    else
        debugPrintf(0, "Cuvelo could not delete ShapeCal.ini\r\n");
    debugPrintf(0, kParseFailed);
    return 0;
}

}  // namespace

uint32_t tankShapeCalLoad(uint32_t command)
{
    switch (command) {
    case TANK_SHAPE_FILE_PARSE:
        return tankShapeCalParse();
    case TANK_SHAPE_FILE_WRITE:
        return tankShapeCalSave();
    case TANK_SHAPE_FILE_REWRITE:
        fileDelete(tankShapeCalPath());
        return tankShapeCalSave();
    default:
        return 0;
    }
}
