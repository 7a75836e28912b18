// Start-up of the process core on a stand-in board: what a fresh console does,
// the validation of stored parameters on a later start, and the periodic events.
#include <doctest/doctest.h>

#include <cstring>
#include <map>
#include <vector>

#include "datastore.h"
#include "dsvcappl.h"
#include "eventids.h"
#include "filefunc.h"
#include "processhandler.h"
#include "start_child.h"
#include "storage.h"
#include "alarm.h"
#include "alarmdefs.h"
#include "evtimer.h"
#include "standin_board.h"
#include "sysroot.h"
#include "version.h"

namespace {

// Counts every event that reaches the chain, by id.
std::map<uint32_t, uint32_t> gSeen;
EventChainLink gFirstLink = nullptr;

void countingLink(uint32_t id, uint32_t arg)
{
    ++gSeen[id];
    gFirstLink(id, arg);
}

void watchChain()
{
    gFirstLink = processEventChain()[0];
    processEventChain()[0] = countingLink;
}

const uint32_t kPeriodicIds[] = {EV_TICK_100MS_AUX, EV_TICK_10S,     EV_TICK_1S,  EV_TICK_500MS,
                                 EV_TICK_250MS,     EV_TICK_100MS,   EV_TICK_50MS, EV_PROCESS_TICK,
                                 EV_CAL_TICK};

// Runs the loop a little over a second and reports how often each periodic event came.
void reportPeriodicEvents()
{
    gSeen.clear();
    runEventLoop(1150);
    for (uint32_t id : kPeriodicIds)
        report("seen" + std::to_string(id), gSeen[id]);
}

// A stored value as a later start finds it: written straight into the store,
// past the range checks, without events.
void plant(uint32_t id, uint32_t value)
{
    uint8_t bytes[4] = {};
    std::memcpy(bytes, &value, sizeof bytes);
    REQUIRE(datastoreGetSize(id) <= sizeof bytes);
    datastoreStoreValue(id, bytes);
}

std::string mapText(uint32_t id)
{
    uint32_t words[DSVCAPPL_SECTION_MAP_WORDS] = {};
    datastoreGetData(id, words);
    std::string text;
    for (uint32_t word : words)
        text += std::to_string(word) + ",";
    return text;
}

std::string defaultMapText(uint32_t map)
{
    std::string text;
    for (uint32_t word : dsvcapplSectionMaps[map])
        text += std::to_string(word) + ",";
    return text;
}

const uint32_t kMapIds[] = {DS_SECTION_SWITCH_MAP_1, DS_SECTION_SWITCH_MAP_2, DS_SECTION_SWITCH_MAP_3,
                            DS_SECTION_SWITCH_MAP_4};

struct Expected {
    uint32_t item;
    long long value;
};

void checkItems(const StartRun& run, const std::vector<Expected>& expected)
{
    for (const Expected& e : expected) {
        CAPTURE(e.item);
        CHECK(run.item(e.item) == e.value);
    }
}

}  // namespace

TEST_CASE("a fresh console starts, prints its banner, makes its share directory and starts its ticks")
{
    const StartRun run = runStart(watchChain, [] {
        report("sharedir", clShareDir());
        report("shareexists", isDirectory(clShareDir()) ? 1 : 0);
        for (uint32_t id : kPeriodicIds)
            report("interval" + std::to_string(id), timerActiveInterval(id));
        reportPeriodicEvents();
        report("hardware", processHardwareId());
        report("wronghw", alarmIsActive(WRONG_HW));
    });
    INFO(run.output);
    REQUIRE(run.status == 0);
    CHECK(run.value("result") == 0);

    const std::string banner =
        std::string("Velmar KSN Sprayer. Version ") + versionGetString() + " Build 00000 (#$#DEVELOPER#$#)\r\n";
    CHECK(run.output.find(banner) != std::string::npos);
    REQUIRE(!run.text("sharedir").empty());
    CHECK(run.output.find("Creating share dir: " + run.text("sharedir") + "\n") != std::string::npos);
    CHECK(run.value("shareexists") == 1);
    CHECK(run.output.find("ValidateData() - InitAll") != std::string::npos);
    CHECK(run.output.find("no InitAll") == std::string::npos);

    const std::pair<uint32_t, long long> intervals[] = {
        {EV_TICK_100MS_AUX, 100}, {EV_TICK_10S, 10000}, {EV_TICK_1S, 1000}, {EV_TICK_500MS, 500},
        {EV_TICK_250MS, 250},     {EV_TICK_100MS, 100}, {EV_TICK_50MS, -1}, {EV_PROCESS_TICK, 66},
        {EV_CAL_TICK, 66},
    };
    for (const auto& interval : intervals) {
        CAPTURE(interval.first);
        CHECK(run.value("interval" + std::to_string(interval.first)) == interval.second);
    }
    // About 1.15 s of the event loop.
    CHECK(run.value("seen5") >= 9);
    CHECK(run.value("seen5") <= 13);
    CHECK(run.value("seen331") >= 9);
    CHECK(run.value("seen8") >= 2);
    CHECK(run.value("seen7") >= 4);
    CHECK(run.value("seen9") >= 1);
    CHECK(run.value("seen360") == 0);
    CHECK(run.value("seen74") >= 14);
    CHECK(run.value("seen22") >= 14);
    // Neither the flow printout nor the CAN flow messages are on.
    CHECK(run.value("seen4") == 0);
    // The stand-in board's revision divider reads 0: revision 0 is too old.
    CHECK(run.value("hardware") == 0);
    CHECK(run.value("wronghw") == 1);
}

TEST_CASE("a fresh console takes the first-run defaults")
{
    const StartRun run = runStart([] {}, [] {
        const uint32_t items[] = {DS_TARGET_RATE,        DS_REG_VALVE_CAPACITY, DS_SETTINGS_PASSWORD,
                                  DS_NUMBER_OF_SECTIONS, DS_ACTIVE_SECTIONS,    DS_TIP_SPACING,
                                  DS_FLOW_CAL_NUMBER,    DS_FILL_FLOW_CAL_NUMBER, DS_BRIGHTNESS,
                                  DS_NIGHT_STYLE,        DS_SPEED_SOURCE,       DS_CROP_SPRAYER_MODE,
                                  DS_DENSITY_FACTOR,     DS_SPRAYER_MODE_FACTOR, DS_PHYS_SECTION_SWITCHES,
                                  DS_MAX_SECTIONS,       DS_REF_PRESSURE,       DS_CALC_SPEED,
                                  DS_CALC_PRESSURE,      DS_DIGITAL_INPUT_BITS, DS_BOOST_PERCENT,
                                  DS_DEBUG_MASK,         DS_DEBUG_LEVEL,        DS_ALARMS_IN_MANUAL_MODE,
                                  DS_PAGE_MODE,          DS_REGULATION_MODE,    DS_KEY_BEEP,
                                  DS_FLOW_PRINTOUT_ENABLED, DS_MANUAL_PRESSURE_BITS, DS_APPL_RATE_NUMBER};
        for (uint32_t id : items)
            reportItem(id);
        for (uint32_t id : kMapIds)
            report("map" + std::to_string(id), mapText(id));
    });
    INFO(run.output);
    REQUIRE(run.status == 0);
    checkItems(run, {
                        {DS_TARGET_RATE, 2580},
                        {DS_REG_VALVE_CAPACITY, 121},
                        {DS_SETTINGS_PASSWORD, 6048},
                        {DS_NUMBER_OF_SECTIONS, 9},
                        {DS_ACTIVE_SECTIONS, 9},
                        {DS_TIP_SPACING, 500},
                        {DS_FLOW_CAL_NUMBER, 650000},
                        {DS_FILL_FLOW_CAL_NUMBER, 650000},
                        {DS_BRIGHTNESS, 80},
                        {DS_NIGHT_STYLE, 1},
                        {DS_SPEED_SOURCE, 2},
                        {DS_CROP_SPRAYER_MODE, 1},
                        {DS_DENSITY_FACTOR, 1000},
                        {DS_SPRAYER_MODE_FACTOR, 100},
                        {DS_PHYS_SECTION_SWITCHES, 9},
                        {DS_MAX_SECTIONS, 11},
                        {DS_REF_PRESSURE, 50},
                        {DS_CALC_SPEED, 60},
                        {DS_CALC_PRESSURE, 20},
                        {DS_DIGITAL_INPUT_BITS, 255},
                        {DS_BOOST_PERCENT, 100},
                        {DS_DEBUG_MASK, 1},
                        // Validation gives 2; the process start turns the debug output off.
                        {DS_DEBUG_LEVEL, 0},
                        {DS_ALARMS_IN_MANUAL_MODE, 1},
                        {DS_PAGE_MODE, 0},
                        {DS_REGULATION_MODE, 1},
                        {DS_KEY_BEEP, 1},
                        {DS_FLOW_PRINTOUT_ENABLED, 0},
                        // Automatic regulation on: bit 0 clear.
                        {DS_MANUAL_PRESSURE_BITS, 0},
                        {DS_APPL_RATE_NUMBER, 1},
                    });
    for (uint32_t map = 0; map < 4; ++map) {
        CAPTURE(map);
        CHECK(run.text("map" + std::to_string(kMapIds[map])) == defaultMapText(map));
    }
}

TEST_CASE("a later start validates what it finds and leaves the rest")
{
    const std::string customMap = "9,9,9,9,9,9,9,9,9,9,9,9,9,";
    struct Case {
        const char* name;
        std::function<void()> plantings;
        std::vector<Expected> expected;
        bool flowReport;
    };
    const Case cases[] = {
        {"NH3 sprayer, pressure sensor only",
         [] {
             plant(DS_NH3_MODE, 1);
             plant(DS_DENSITY_FACTOR, 200);
             plant(DS_SPRAYER_MODE_FACTOR, 500);
             plant(DS_CROP_SPRAYER_MODE, 2);
             plant(DS_FLOW_SENSOR_PRESENT, 0);
             plant(DS_PRESSURE_SENSOR_PRESENT, 1);
             plant(DS_APPL_RATE_NUMBER, 7);
             plant(DS_TIP_SPACING, 5);
             plant(DS_KEY_BEEP, 2);
             plant(DS_NIGHT_MODE, 2);
             plant(DS_CALC_SPEED, 99);
             plant(DS_AUTOMATIC_REGULATION, 0);
             plant(DS_MANUAL_PRESSURE_BITS, 0x0004);
             plant(DS_FLOW_PRINTOUT_ENABLED, 1);
             const uint32_t nines[DSVCAPPL_SECTION_MAP_WORDS] = {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9};
             datastoreStoreValue(DS_SECTION_SWITCH_MAP_1, nines);
         },
         {
             {DS_NH3_MODE, 1},
             {DS_DENSITY_FACTOR, 500},
             {DS_SPRAYER_MODE_FACTOR, 20000},
             {DS_CROP_SPRAYER_MODE, 0},
             // In NH3 mode the start hands the density to the NH3 correction.
             {DS_NH3_DENSITY_FACTOR, 500},
             {DS_REGULATION_MODE, 0},
             {DS_APPL_RATE_NUMBER, 1},
             {DS_TIP_SPACING, 500},
             {DS_KEY_BEEP, 1},
             {DS_NIGHT_MODE, 0},
             {DS_CALC_SPEED, 60},
             {DS_MANUAL_PRESSURE_BITS, 0x0005},
         },
         true},
        {"crop sprayer without sensors",
         [] {
             plant(DS_NH3_MODE, 0);
             plant(DS_DENSITY_FACTOR, 700);
             plant(DS_SPRAYER_MODE_FACTOR, 150);
             plant(DS_FLOW_SENSOR_PRESENT, 0);
             plant(DS_PRESSURE_SENSOR_PRESENT, 0);
             plant(DS_APPL_RATE_NUMBER, 2);
             plant(DS_NUMBER_OF_SECTIONS, 0);
             plant(DS_PHYS_SECTION_SWITCHES, 4);
             plant(DS_TIP_SPACING, 750);
             plant(DS_DEBUG_MASK, 0x00FF);
             plant(DS_CAN_FLOW_MESSAGES_ENABLED, 1);
         },
         {
             {DS_DENSITY_FACTOR, 1000},
             {DS_SPRAYER_MODE_FACTOR, 150},
             // Neither sensor: ends flow-based.
             {DS_REGULATION_MODE, 1},
             {DS_APPL_RATE_NUMBER, 2},
             {DS_NUMBER_OF_SECTIONS, 9},
             // No section-switch file yet: it is created from the configured count.
             {DS_PHYS_SECTION_SWITCHES, 3},
             {DS_TIP_SPACING, 750},
             {DS_DEBUG_MASK, 1},
         },
         true},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.name));
        const StartRun run = runStart(
            [&] {
                datastoreSetFirstRun(0);
                c.plantings();
                watchChain();
            },
            [&] {
                for (const Expected& e : c.expected)
                    reportItem(e.item);
                report("map", mapText(DS_SECTION_SWITCH_MAP_1));
                reportPeriodicEvents();
            });
        INFO(run.output);
        REQUIRE(run.status == 0);
        CHECK(run.value("result") == 0);
        checkItems(run, c.expected);
        CHECK(run.output.find("ValidateData() - no InitAll") != std::string::npos);
        CHECK(run.output.find("ValidateData() - InitAll") == std::string::npos);
        if (std::string(c.name).find("NH3") != std::string::npos)
            CHECK(run.text("map") == customMap);
        CHECK((run.value("seen4") > 0) == c.flowReport);
    }
}

// The item's own limits (40..100) are narrower than 25..100: a value brought
// into range must still be one the store takes.
TEST_CASE("brightness is brought into range and stored back")
{
    const StartRun run = runStart([] { REQUIRE(standinSetAdc(sysrootDir(), 1, 250)); }, [] {
        runEventLoop(1500);
        report("hardware", processHardwareId());
        report("wronghw", alarmIsActive(WRONG_HW));
        const uint32_t planted[] = {10, 130, 60};
        for (uint32_t value : planted) {
            plant(DS_BRIGHTNESS, value);
            SetBrightness();
            report("brightness" + std::to_string(value), dsValue(DS_BRIGHTNESS));
        }
    });
    INFO(run.output);
    REQUIRE(run.status == 0);
    // A divider reading of 250 is revision 14.
    CHECK(run.value("hardware") == 14);
    CHECK(run.value("wronghw") == 0);
    // Once the revision is known the backlight takes the stored brightness.
    CHECK(run.output.find("SetBrightness() - 80 %\n") != std::string::npos);
    CHECK(run.value("brightness10") == 40);
    CHECK(run.value("brightness130") == 100);
    CHECK(run.value("brightness60") == 60);
}
