// The dispatcher: the common tail, the touch mask, the boost clamp, the
// sprayer mode, the speed source and the settings that guard their neighbours.
#include <doctest/doctest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "core_env.h"
#include "datastore.h"
#include "dsvalue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "processevent.h"
#include "processsettings.h"
#include "processstate.h"
#include "pulsinput.h"

namespace {

using Calls = std::vector<std::pair<uint32_t, uint32_t>>;

Calls gRegulation;
std::vector<uint32_t> gTank;
std::vector<uint32_t> gFlowCal;
Calls gPosted;

void recordRegulation(uint32_t id, uint32_t arg)
{
    gRegulation.emplace_back(id, arg);
}

void recordTank(uint32_t id)
{
    gTank.push_back(id);
}

void recordFlowCal(uint32_t id)
{
    gFlowCal.push_back(id);
}

void recordPosted(uint32_t id, uint32_t arg)
{
    gPosted.emplace_back(id, arg);
}

// The store, the tail watched and the posted events recorded; every case starts
// with a fresh store and process state.
struct Dispatcher {
    Dispatcher()
    {
        coreTestWorkDir();
        REQUIRE(datastoreInit(2) == 0);
        processStateReset();
        ProcessEventTail& tail = processEventTail();
        saved = tail;
        tail = ProcessEventTail{recordRegulation, recordTank, recordFlowCal};
        eventSetCallback(recordPosted);
        takePosted();
        gRegulation.clear();
        gTank.clear();
        gFlowCal.clear();
    }
    ~Dispatcher() { processEventTail() = saved; }

    Calls takePosted()
    {
        QCoreApplication::processEvents();
        Calls taken;
        taken.swap(gPosted);
        return taken;
    }

    ProcessEventTail saved;
};

void setSections(uint16_t n)
{
    REQUIRE(datastoreSetUint16(DS_NUMBER_OF_SECTIONS, n) == 0);
}

void setMask(std::initializer_list<uint32_t> sections)
{
    uint16_t* mask = processState().touchSectionMask;
    std::memset(mask, 0, SECTION_MASK_WORDS * sizeof(uint16_t));
    for (uint32_t section : sections)
        sectionMapSet(mask, section, true);
}

std::vector<uint32_t> maskSections()
{
    std::vector<uint32_t> on;
    for (uint32_t i = 1; i <= SECTION_MASK_LAST; ++i)
        if (sectionMapTest(processState().touchSectionMask, i))
            on.push_back(i);
    return on;
}

}  // namespace

TEST_CASE("the common tail: regulation, tank procedures and flow calibration")
{
    Dispatcher dispatcher;
    REQUIRE(dsStore(DS_PAGE_MODE, 0) == 0);

    SUBCASE("the main tick reaches the regulation as its 66 ms tick, an outside 66 never does")
    {
        processEvent(EV_TICK_100MS, 0);
        processEvent(EV_REGULATION_TICK, 0);
        processEvent(EV_SET_BOOST, 120);
        processEvent(EV_TICK_100MS, 0);
        CHECK(gRegulation == Calls{{EV_REGULATION_TICK, 0}, {EV_SET_BOOST, 120}, {EV_REGULATION_TICK, 0}});
        // Every id reaches the flow calibration, 66 included.
        CHECK(gFlowCal == std::vector<uint32_t>{EV_TICK_100MS, EV_REGULATION_TICK, EV_SET_BOOST, EV_TICK_100MS});
    }
    SUBCASE("on the diagnostics page the regulation gets nothing")
    {
        REQUIRE(dsStore(DS_PAGE_MODE, 1) == 0);
        processEvent(EV_TICK_100MS, 0);
        processEvent(EV_SET_BOOST, 120);
        CHECK(gRegulation.empty());
        REQUIRE(dsStore(DS_PAGE_MODE, 4) == 0);
        processEvent(EV_TICK_100MS, 0);
        CHECK(gRegulation == Calls{{EV_REGULATION_TICK, 0}});
    }
    SUBCASE("the tank procedures only with a tank or fill-flow sensor")
    {
        struct Case {
            uint32_t tank;
            uint32_t fillFlow;
            bool reached;
        };
        const Case cases[] = {{0, 0, false}, {1, 0, true}, {0, 1, true}, {1, 1, true}};
        for (const Case& c : cases) {
            CAPTURE(c.tank);
            CAPTURE(c.fillFlow);
            REQUIRE(dsStore(DS_TANK_SENSOR_PRESENT, c.tank) == 0);
            REQUIRE(dsStore(DS_FILL_FLOW_SENSOR_PRESENT, c.fillFlow) == 0);
            gTank.clear();
            processEvent(EV_TICK_1S, 0);
            CHECK(gTank == (c.reached ? std::vector<uint32_t>{EV_TICK_1S} : std::vector<uint32_t>{}));
        }
    }
    SUBCASE("a calibrated volume in NH3 mode takes the density as the NH3 correction")
    {
        REQUIRE(dsStore(DS_DENSITY_FACTOR, 640) == 0);
        REQUIRE(dsStore(DS_NH3_DENSITY_FACTOR, 1000) == 0);
        processEvent(EV_CAL_VOLUME_ENTERED, 0);
        CHECK(dsValue(DS_NH3_DENSITY_FACTOR) == 1000);
        REQUIRE(dsStore(DS_NH3_MODE, 1) == 0);
        processEvent(EV_CAL_VOLUME_ENTERED, 0);
        CHECK(dsValue(DS_NH3_DENSITY_FACTOR) == 640);
    }
    SUBCASE("commands answer 0")
    {
        CHECK(processEvent(EV_SET_BOOST, 100) == 0);
        CHECK(processEvent(EV_SET_NUMBER_OF_SECTIONS, 5) == 0);
        CHECK(processEvent(999, 1) == 0);
    }
}

TEST_CASE("the touch mask follows the edge commands")
{
    Dispatcher dispatcher;
    setSections(9);
    struct Case {
        const char* name;
        std::vector<uint32_t> before;
        uint32_t command;
        uint32_t value;
        std::vector<uint32_t> after;
    };
    const std::vector<uint32_t> full = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    const Case cases[] = {
        {"extend left on an empty mask sets the last section", {}, EV_SECTION_MASK_EXTEND_LEFT, 0, {9}},
        {"extend right on an empty mask sets the first section", {}, EV_SECTION_MASK_EXTEND_RIGHT, 0, {1}},
        {"extend left on a full mask does nothing", full, EV_SECTION_MASK_EXTEND_LEFT, 0, full},
        {"extend right on a full mask does nothing", full, EV_SECTION_MASK_EXTEND_RIGHT, 0, full},
        {"extend left adds the section below the lowest", {5, 6}, EV_SECTION_MASK_EXTEND_LEFT, 0, {4, 5, 6}},
        {"extend right adds the section above the highest", {5, 6}, EV_SECTION_MASK_EXTEND_RIGHT, 0, {5, 6, 7}},
        {"extend left stops at section 1", {1, 4}, EV_SECTION_MASK_EXTEND_LEFT, 0, {1, 4}},
        {"extend right stops at the last section", {3, 9}, EV_SECTION_MASK_EXTEND_RIGHT, 0, {3, 9}},
        {"clear left clears the lowest set section", {3, 5, 8}, EV_SECTION_MASK_CLEAR_LEFT, 0, {5, 8}},
        {"clear right clears the highest set section", {3, 5, 8}, EV_SECTION_MASK_CLEAR_RIGHT, 0, {3, 5}},
        {"clear left on an empty mask does nothing", {}, EV_SECTION_MASK_CLEAR_LEFT, 0, {}},
        {"clear right on an empty mask does nothing", {}, EV_SECTION_MASK_CLEAR_RIGHT, 0, {}},
        {"sections beyond the count are not edges", {12}, EV_SECTION_MASK_EXTEND_RIGHT, 0, {1, 12}},
        {"toggle sets a clear section", {2}, EV_SECTION_MASK_TOGGLE, 7, {2, 7}},
        {"toggle clears a set section", {2, 7}, EV_SECTION_MASK_TOGGLE, 2, {7}},
        {"toggle ignores the section count", {}, EV_SECTION_MASK_TOGGLE, 40, {40}},
        {"toggle of the last section of the mask", {}, EV_SECTION_MASK_TOGGLE, 111, {111}},
        {"toggle beyond the mask is ignored", {3}, EV_SECTION_MASK_TOGGLE, 112, {3}},
        {"a far-out toggle is ignored", {3}, EV_SECTION_MASK_TOGGLE, 0xFFFFFFFF, {3}},
        {"toggle of bit 0 is ignored", {3}, EV_SECTION_MASK_TOGGLE, 0, {3}},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.name));
        setMask({});
        for (uint32_t section : c.before)
            sectionMapSet(processState().touchSectionMask, section, true);
        processEvent(c.command, c.value);
        CHECK(maskSections() == c.after);
    }
}

TEST_CASE("boost is clamped to 10..190")
{
    Dispatcher dispatcher;
    const uint32_t cases[][2] = {{5, 10}, {250, 190}, {100, 100}, {10, 10}, {190, 190}, {0, 10}, {9, 10}, {191, 190}};
    for (const auto& c : cases) {
        CAPTURE(c[0]);
        processEvent(EV_SET_BOOST, c[0]);
        CHECK(dsValue(DS_BOOST_PERCENT) == c[1]);
    }
}

namespace {

// What the observer saw: id, value and the boost stored at that moment.
std::vector<std::vector<uint32_t>> gObserved;

void observeCall(uint32_t id, uint32_t value)
{
    gObserved.push_back({id, value, dsValue(DS_BOOST_PERCENT)});
}

}  // namespace

TEST_CASE("the call observer sees each call, in order, before its case, and changes nothing")
{
    Dispatcher dispatcher;
    REQUIRE(dsStore(DS_BOOST_PERCENT, 100) == 0);
    gObserved.clear();
    processEventObserver() = observeCall;
    processEvent(EV_SET_BOOST, 150);
    processEvent(EV_SET_BOOST, 5);
    processEventObserver() = nullptr;
    processEvent(EV_SET_BOOST, 120);
    // The boost seen is the one before the call's own case stored the new one.
    CHECK(gObserved == std::vector<std::vector<uint32_t>>{{EV_SET_BOOST, 150, 100}, {EV_SET_BOOST, 5, 150}});
    CHECK(dsValue(DS_BOOST_PERCENT) == 120);
    CHECK(gRegulation == Calls{{EV_SET_BOOST, 150}, {EV_SET_BOOST, 5}, {EV_SET_BOOST, 120}});
}

TEST_CASE("sprayer mode: NH3 and back to crop")
{
    Dispatcher dispatcher;
    const uint32_t cleared[] = {DS_APPL_RATE_1,        DS_APPL_RATE_2,        DS_APPL_RATE_3,
                                DS_COMMAND_VALUE_141, DS_COMMAND_VALUE_142, DS_TARGET_RATE};
    auto fill = [&] {
        for (uint32_t item : cleared)
            REQUIRE(dsStore(item, 77) == 0);
        const uint32_t on[] = {DS_FILL_FLOW_SENSOR_PRESENT, DS_TANK_SENSOR_PRESENT, DS_SECTION_VALVE_TYPE,
                               DS_REG_VALVE_TYPE, DS_AUTO_FILLING_ENABLED};
        for (uint32_t item : on)
            REQUIRE(dsStore(item, 1) == 0);
        REQUIRE(dsStore(DS_FLOW_SENSOR_PRESENT, 0) == 0);
        REQUIRE(dsStore(DS_REGULATION_MODE, 0) == 0);
        REQUIRE(dsStore(DS_CIRCULATION_MODE, 2) == 0);
    };

    fill();
    processEvent(EV_SET_SPRAYER_MODE, 1);
    for (uint32_t item : cleared) {
        CAPTURE(item);
        CHECK(dsValue(item) == 0);
    }
    const std::pair<uint32_t, uint32_t> nh3[] = {
        {DS_NH3_MODE, 1},           {DS_CROP_SPRAYER_MODE, 0},  {DS_CORE_FLAG_121, 0},
        {DS_FLOW_SENSOR_PRESENT, 1}, {DS_FILL_FLOW_SENSOR_PRESENT, 0}, {DS_TANK_SENSOR_PRESENT, 0},
        {DS_SECTION_VALVE_TYPE, 0}, {DS_REG_VALVE_TYPE, 0},     {DS_AUTO_FILLING_ENABLED, 0},
        {DS_REGULATION_MODE, 1},    {DS_CIRCULATION_MODE, 0},
    };
    for (const auto& item : nh3) {
        CAPTURE(item.first);
        CHECK(dsValue(item.first) == item.second);
    }
    const Calls posted = dispatcher.takePosted();
    CHECK(std::count(posted.begin(), posted.end(), std::make_pair<uint32_t, uint32_t>(EV_SET_TANK_CONTENT, 0)) == 1);
    CHECK(std::count(posted.begin(), posted.end(), std::make_pair<uint32_t, uint32_t>(EV_SET_FLOW_CAL, 10000)) == 1);

    fill();
    processEvent(EV_SET_SPRAYER_MODE, 0);
    for (uint32_t item : cleared) {
        CAPTURE(item);
        CHECK(dsValue(item) == 0);
    }
    const std::pair<uint32_t, uint32_t> crop[] = {
        {DS_NH3_MODE, 0}, {DS_CROP_SPRAYER_MODE, 1}, {DS_CORE_FLAG_121, 1}, {DS_REG_VALVE_TYPE, 1},
        // Crop mode leaves the sensor and valve settings as they were.
        {DS_FLOW_SENSOR_PRESENT, 0}, {DS_TANK_SENSOR_PRESENT, 1}, {DS_CIRCULATION_MODE, 2},
    };
    for (const auto& item : crop) {
        CAPTURE(item.first);
        CHECK(dsValue(item.first) == item.second);
    }
}

TEST_CASE("speed source: the old pair stops, the new pair counts")
{
    Dispatcher dispatcher;
    struct Case {
        uint32_t source;
        uint32_t first;
        uint32_t second;
    };
    const Case cases[] = {{0, 13, 14}, {1, 11, 12}, {2, 15, 16}, {3, 17, 18}, {4, 22, 22}, {5, 15, 16}, {9, 15, 16}};
    // The CAN source's "counter" 22 is no pulse counter: nothing to see there.
    auto checkRunning = [](uint32_t counter, uint32_t expected) {
        uint32_t flag = 9;
        if (pulsGetResetFlag(counter, &flag) == 0)
            CHECK(flag == expected);
    };
    for (const Case& from : cases) {
        for (const Case& to : cases) {
            CAPTURE(from.source);
            CAPTURE(to.source);
            pulsClearCounter(0);
            REQUIRE(dsStore(DS_SPEED_SOURCE, from.source > 4 ? 2 : from.source) == 0);
            const Case& stored = from.source > 4 ? cases[2] : from;
            pulsResetCounter(stored.first);
            pulsResetCounter(stored.second);
            processState().useCanSpeedAgain = 0;
            processSelectSpeedSource(to.source, 0);
            checkRunning(to.first, 1);
            checkRunning(to.second, 1);
            if (stored.first != to.first && stored.first != to.second)
                checkRunning(stored.first, 0);
            if (stored.second != to.first && stored.second != to.second)
                checkRunning(stored.second, 0);
            CHECK(dsValue(DS_SPEED_SOURCE) == (from.source > 4 ? 2 : from.source));
            CHECK(processState().useCanSpeedAgain == 0);
        }
    }
    SUBCASE("the operator's choice is stored and lets the CAN speed be used again")
    {
        processState().useCanSpeedAgain = 0;
        processEvent(EV_SET_SPEED_SOURCE, 1);
        CHECK(dsValue(DS_SPEED_SOURCE) == 1);
        CHECK(processState().useCanSpeedAgain == 1);
    }
}

TEST_CASE("the counter items take the trips' whole units; clearing the totals or the campaign zeroes only those")
{
    Dispatcher dispatcher;
    struct Trip {
        uint32_t trip;
        uint32_t item;
    };
    const Trip totals[] = {{5, DS_TOTAL_VOLUME}, {14, DS_TOTAL_DISTANCE}, {17, DS_TOTAL_AREA}, {20, DS_TOTAL_TIME}};
    const Trip campaign[] = {
        {6, DS_CAMPAIGN_VOLUME}, {15, DS_CAMPAIGN_DISTANCE}, {18, DS_CAMPAIGN_AREA}, {21, DS_CAMPAIGN_TIME}};
    const Trip job[] = {{7, DS_JOB_VOLUME}, {16, DS_JOB_DISTANCE}, {19, DS_JOB_AREA}, {22, DS_JOB_TIME}};
    for (const auto* group : {totals, campaign, job})
        for (int i = 0; i < 4; ++i)
            REQUIRE(pulsSetCounterMode(group[i].trip, static_cast<int32_t>(1000 + group[i].trip), 3) == 0);
    auto check = [](const Trip* group, bool cleared) {
        for (int i = 0; i < 4; ++i) {
            CAPTURE(group[i].trip);
            CHECK(dsValue(group[i].item) == (cleared ? 0 : 1000 + group[i].trip));
        }
    };

    processUpdateCounters();
    check(totals, false);
    check(campaign, false);
    check(job, false);

    processEvent(EV_CLEAR_TOTAL_COUNTERS, 0);
    check(totals, true);
    check(campaign, false);
    processEvent(EV_CLEAR_CAMPAIGN_COUNTERS, 0);
    check(campaign, true);
    check(job, false);
}

TEST_CASE("settings that keep their neighbours sound")
{
    Dispatcher dispatcher;
    SUBCASE("at least one of flow and pressure sensor stays")
    {
        REQUIRE(dsStore(DS_FLOW_SENSOR_PRESENT, 1) == 0);
        REQUIRE(dsStore(DS_PRESSURE_SENSOR_PRESENT, 0) == 0);
        REQUIRE(dsStore(DS_REGULATION_MODE, 1) == 0);
        processEvent(EV_SET_FLOW_SENSOR_PRESENT, 0);
        CHECK(dsValue(DS_FLOW_SENSOR_PRESENT) == 0);
        CHECK(dsValue(DS_PRESSURE_SENSOR_PRESENT) == 1);
        CHECK(dsValue(DS_REGULATION_MODE) == 0);

        REQUIRE(dsStore(DS_IDLE_PRESSURE, 300) == 0);
        processEvent(EV_SET_PRESSURE_SENSOR_PRESENT, 0);
        CHECK(dsValue(DS_PRESSURE_SENSOR_PRESENT) == 0);
        CHECK(dsValue(DS_FLOW_SENSOR_PRESENT) == 1);
        CHECK(dsValue(DS_REGULATION_MODE) == 1);
        CHECK(dsValue(DS_IDLE_PRESSURE) == 0);
    }
    SUBCASE("circulation clears the idle pressure, switching it off does not")
    {
        REQUIRE(dsStore(DS_IDLE_PRESSURE, 300) == 0);
        processEvent(EV_SET_CIRCULATION, 0);
        CHECK(dsValue(DS_IDLE_PRESSURE) == 300);
        processEvent(EV_SET_CIRCULATION, 2);
        CHECK(dsValue(DS_CIRCULATION_MODE) == 2);
        CHECK(dsValue(DS_IDLE_PRESSURE) == 0);
    }
    SUBCASE("a smaller tank lowers the content")
    {
        REQUIRE(dsStore(DS_TANK_MAX_CONTENT, 3000) == 0);
        REQUIRE(dsStore(DS_ACTUAL_CONTENT, 2500) == 0);
        processEvent(EV_SET_TANK_MAX_CONTENT, 2000);
        CHECK(dsValue(DS_TANK_MAX_CONTENT) == 2000);
        CHECK(dsValue(DS_ACTUAL_CONTENT) == 2000);
        processEvent(EV_SET_TANK_MAX_CONTENT, 4000);
        CHECK(dsValue(DS_ACTUAL_CONTENT) == 2000);
    }
    SUBCASE("item 256 correction: a zero divisor leaves it unchanged")
    {
        REQUIRE(dsStore(DS_RUN_VALUE_256, 100) == 0);
        REQUIRE(dsStore(DS_RUN_VALUE_254, 110) == 0);
        REQUIRE(dsStore(DS_RUN_VALUE_255, 0) == 0);
        processEvent(EV_SET_ITEM256, 0);
        CHECK(dsValue(DS_RUN_VALUE_256) == 100);
        REQUIRE(dsStore(DS_RUN_VALUE_255, 100) == 0);
        processEvent(EV_SET_ITEM256, 0);
        CHECK(dsValue(DS_RUN_VALUE_256) == 110);
        REQUIRE(dsStore(DS_RUN_VALUE_254, 80) == 0);
        processEvent(EV_SET_ITEM256, 0);
        CHECK(dsValue(DS_RUN_VALUE_256) == 90);
    }
    SUBCASE("a zero nozzle spacing is ignored")
    {
        REQUIRE(dsStore(DS_TIP_SPACING, 500) == 0);
        processEvent(EV_SET_NOZZLE_SPACING, 0);
        CHECK(dsValue(DS_TIP_SPACING) == 500);
        processEvent(EV_SET_NOZZLE_SPACING, 250);
        CHECK(dsValue(DS_TIP_SPACING) == 250);
    }
    SUBCASE("sections: count, available block and the selection steps")
    {
        processEvent(EV_SET_NUMBER_OF_SECTIONS, 11);
        uint16_t block[SECTION_MASK_WORDS] = {};
        datastoreGetData(DS_SECTION_BLOCK_263, block);
        CHECK(block[0] == 0x0FFE);
        CHECK(block[1] == 0);
        REQUIRE(dsStore(DS_RUN_VALUE_248, 10) == 0);
        processEvent(EV_ITEM248_UP, 0);
        CHECK(dsValue(DS_RUN_VALUE_248) == 11);
        processEvent(EV_ITEM248_UP, 0);
        CHECK(dsValue(DS_RUN_VALUE_248) == 11);
        REQUIRE(dsStore(DS_RUN_VALUE_248, 2) == 0);
        processEvent(EV_ITEM248_DOWN, 0);
        processEvent(EV_ITEM248_DOWN, 0);
        CHECK(dsValue(DS_RUN_VALUE_248) == 1);
    }
    SUBCASE("debug level commands")
    {
        const uint32_t cases[][2] = {{EV_DEBUG_LEVEL_2, 2}, {EV_DEBUG_LEVEL_0, 0}, {EV_DEBUG_LEVEL_1, 1}};
        for (const auto& c : cases) {
            processEvent(c[0], 99);
            CHECK(dsValue(DS_DEBUG_LEVEL) == c[1]);
        }
    }
}
