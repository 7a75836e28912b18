#include "alarm.h"
#include "alarmdefs.h"

#include "coretables_env.h"
#include "threadfunc.h"

#include <atomic>
#include <cstring>
#include <set>
#include <thread>

namespace {

constexpr uint32_t kTick = 100;

// The process's alarm table, the manual clock and an empty event list.
struct Alarms : CoreEnv {
    Alarms()
    {
        datastoreSetBool(DS_NH3_MODE, 0);
        processInitAlarms();
        takeCoreEvents();
    }
};

// One 100 ms tick: time moves on, then the selection runs as the event handler does.
uint32_t tick(uint32_t ms = kTick)
{
    clockAdvanceMs(ms);
    return alarmUpdate();
}

// Ticks until the given alarm is shown; the time it took, or -1 after limitMs.
int32_t ticksUntilShown(uint32_t id, uint32_t limitMs)
{
    for (uint32_t elapsed = kTick; elapsed <= limitMs; elapsed += kTick) {
        if (tick() == id)
            return static_cast<int32_t>(elapsed);
    }
    return -1;
}

}  // namespace

TEST_CASE("alarm table: names, definitions and the NH3 variant of alarm 5")
{
    Alarms env;
    std::set<std::string> names;
    for (uint32_t id = 1; id <= ALARM_MAX_ID; ++id) {
        REQUIRE(alarmName(id) != nullptr);
        names.insert(alarmName(id));
    }
    CHECK(names.size() == ALARM_MAX_ID);
    CHECK(alarmName(0) == nullptr);
    CHECK(alarmName(54) == nullptr);
    CHECK(std::strcmp(alarmName(WRONG_HW), "WRONG_HW") == 0);
    CHECK(std::strcmp(alarmName(ALARM_SWITCH_POWER_LOW), "ALARM_SWITCH_POWER_LOW") == 0);

    // Alarms the regulation enables later start disabled; the rest are enabled.
    const std::set<uint32_t> disabledAtStart = {1, 2, 3, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16,
                                                17, 18, 19, 20, 21, 22, 43, 44};
    for (uint32_t id = 1; id <= ALARM_MAX_ID; ++id) {
        CAPTURE(id);
        CHECK(alarmIsEnabled(id) == (disabledAtStart.count(id) ? 0u : 1u));
    }

    SUBCASE("outside NH3 mode alarm 5 is enabled and stays after acknowledgement")
    {
        alarmRaise(SPRAY_DENSITY_NOT_1);
        alarmSetKind3(SPRAY_DENSITY_NOT_1);
        CHECK(alarmIsActive(SPRAY_DENSITY_NOT_1) == 1);
    }
    SUBCASE("in NH3 mode alarm 5 is disabled and its acknowledgement clears it")
    {
        datastoreSetBool(DS_NH3_MODE, 1);
        processInitAlarms();
        CHECK(alarmIsEnabled(SPRAY_DENSITY_NOT_1) == 0);
        alarmEnable(SPRAY_DENSITY_NOT_1, 1);
        alarmRaise(SPRAY_DENSITY_NOT_1);
        alarmSetKind3(SPRAY_DENSITY_NOT_1);
        CHECK(alarmIsActive(SPRAY_DENSITY_NOT_1) == 0);
        datastoreSetBool(DS_NH3_MODE, 0);
    }
}

TEST_CASE("alarm raise and clear: enabling, repeated raises, delays")
{
    Alarms env;

    SUBCASE("a disabled alarm cannot be raised until it is enabled")
    {
        alarmRaise(SPRAY_NO_FLOW_PULSES);
        CHECK(alarmIsActive(SPRAY_NO_FLOW_PULSES) == 0);
        alarmEnable(SPRAY_NO_FLOW_PULSES, 1);
        alarmRaise(SPRAY_NO_FLOW_PULSES);
        CHECK(alarmIsActive(SPRAY_NO_FLOW_PULSES) == 1);
        // Disabling deactivates it, with the cleared event.
        alarmEnable(SPRAY_NO_FLOW_PULSES, 0);
        CHECK(alarmIsActive(SPRAY_NO_FLOW_PULSES) == 0);
        CHECK(takeCoreEvents() == std::vector<PostedEvent>{{EV_ALARM_CLEARED, SPRAY_NO_FLOW_PULSES}});
    }

    SUBCASE("ids 0, 43, 44 and above 53 are never shown, even when enabled")
    {
        for (uint32_t id : {0u, 43u, 44u, 54u, 1000u}) {
            alarmEnable(id, 1);
            alarmRaise(id);
            CHECK(alarmIsActive(id) == 0);
        }
        for (int i = 0; i < 5; ++i)
            CHECK(tick() == 0);
        CHECK(takeCoreEvents().empty());
    }

    SUBCASE("a second raise keeps the first delay")
    {
        alarmRaise(SPRAY_BELOW_MIN_SPEED);  // 1000 ms delay
        clockAdvanceMs(600);
        alarmRaise(SPRAY_BELOW_MIN_SPEED);
        clockAdvanceMs(300);
        CHECK(alarmUpdate() == 0);
        CHECK(tick() == SPRAY_BELOW_MIN_SPEED);
    }

    SUBCASE("an alarm cleared within its delay is never shown, but its clear is posted")
    {
        alarmRaise(SPRAY_BELOW_MIN_SPEED);
        tick(500);
        alarmClear(SPRAY_BELOW_MIN_SPEED);
        for (int i = 0; i < 20; ++i)
            CHECK(tick() == 0);
        CHECK(takeCoreEvents() == std::vector<PostedEvent>{{EV_ALARM_CLEARED, SPRAY_BELOW_MIN_SPEED}});
    }

    SUBCASE("clearing or acknowledging an inactive alarm posts nothing")
    {
        alarmClear(CAN_SPEED_LOST);
        alarmSetKind3(CAN_SPEED_LOST);
        alarmSetFlag(CAN_SPEED_LOST, 4);
        alarmSetFlag(CAN_SPEED_LOST, 5);
        alarmClearFlag(CAN_SPEED_LOST, 9);
        CHECK(alarmIsActive(CAN_SPEED_LOST) == 0);
        CHECK(takeCoreEvents().empty());
    }
}

TEST_CASE("alarm selection over time")
{
    Alarms env;

    SUBCASE("a more urgent alarm takes over in two steps, the other comes back after it")
    {
        alarmRaise(CAN_SPEED_LOST);
        CHECK(tick() == CAN_SPEED_LOST);
        CHECK(takeCoreEvents() == std::vector<PostedEvent>{{EV_ALARM_SHOWN, CAN_SPEED_LOST}});

        alarmRaise(NH3_NO_VQ318_SUPPORT);
        CHECK(tick() == 0);
        CHECK(takeCoreEvents() == std::vector<PostedEvent>{{EV_ALARM_HIDDEN, CAN_SPEED_LOST}});
        // Within the hold nothing is shown; 100 ms after the hide the urgent one is.
        CHECK(tick(50) == 0);
        CHECK(tick(50) == NH3_NO_VQ318_SUPPORT);
        CHECK(takeCoreEvents() == std::vector<PostedEvent>{{EV_ALARM_SHOWN, NH3_NO_VQ318_SUPPORT}});

        alarmClear(NH3_NO_VQ318_SUPPORT);
        CHECK(tick() == 0);
        CHECK(tick() == CAN_SPEED_LOST);
        CHECK(takeCoreEvents() == std::vector<PostedEvent>{{EV_ALARM_CLEARED, NH3_NO_VQ318_SUPPORT},
                                                           {EV_ALARM_HIDDEN, NH3_NO_VQ318_SUPPORT},
                                                           {EV_ALARM_SHOWN, CAN_SPEED_LOST}});
        CHECK(alarmCountFlagged() == 1);
    }

    SUBCASE("alarms of one priority are each shown once, lowest id first, the last one stays")
    {
        alarmRaise(ALARM_MASTER_VALVE_OUTPUT_ERROR);
        alarmRaise(SECTIONS_OUTPUT_ERROR);
        CHECK(tick() == SECTIONS_OUTPUT_ERROR);
        uint32_t shownAt = 0;
        for (uint32_t elapsed = kTick; elapsed <= 5000; elapsed += kTick) {
            if (tick() != SECTIONS_OUTPUT_ERROR) {
                shownAt = elapsed;
                break;
            }
        }
        CHECK(shownAt == 2000);  // the hide, as soon as 49 had 2000 ms
        CHECK(tick() == ALARM_MASTER_VALVE_OUTPUT_ERROR);
        for (int i = 0; i < 100; ++i)
            REQUIRE(tick() == ALARM_MASTER_VALVE_OUTPUT_ERROR);
        CHECK(takeCoreEvents() == std::vector<PostedEvent>{{EV_ALARM_SHOWN, SECTIONS_OUTPUT_ERROR},
                                                           {EV_ALARM_HIDDEN, SECTIONS_OUTPUT_ERROR},
                                                           {EV_ALARM_SHOWN, ALARM_MASTER_VALVE_OUTPUT_ERROR}});
        CHECK(alarmCountFlagged() == 2);
        CHECK(alarmCountUnacknowledged() == 2);
    }

    SUBCASE("an acknowledged alarm with a repeat time comes back while it lasts")
    {
        alarmRaise(WORK_MODE_NOT_POSSIBLE);  // repeat 500 ms
        CHECK(tick() == WORK_MODE_NOT_POSSIBLE);
        alarmSetKind3(alarmGetShown());
        CHECK(alarmCountUnacknowledged() == 0);
        CHECK(tick() == 0);
        CHECK(ticksUntilShown(WORK_MODE_NOT_POSSIBLE, 2000) == 400);  // 500 ms after the acknowledgement
        CHECK(takeCoreEvents() == std::vector<PostedEvent>{{EV_ALARM_SHOWN, WORK_MODE_NOT_POSSIBLE},
                                                           {EV_ALARM_HIDDEN, WORK_MODE_NOT_POSSIBLE},
                                                           {EV_ALARM_SHOWN, WORK_MODE_NOT_POSSIBLE}});
        // Once cleared it does not come back.
        alarmSetKind3(WORK_MODE_NOT_POSSIBLE);
        alarmClear(WORK_MODE_NOT_POSSIBLE);
        CHECK(ticksUntilShown(WORK_MODE_NOT_POSSIBLE, 2000) == -1);
    }

    SUBCASE("an acknowledged alarm without a repeat time stays hidden")
    {
        alarmRaise(CAN_SPEED_LOST);
        CHECK(tick() == CAN_SPEED_LOST);
        alarmSetKind3(CAN_SPEED_LOST);
        CHECK(ticksUntilShown(CAN_SPEED_LOST, 5000) == -1);
        CHECK(alarmIsActive(CAN_SPEED_LOST) == 1);
    }

    SUBCASE("acknowledging a one-shot notice clears it at once and hides it at the next tick")
    {
        alarmRaise(IN_WORKING_MODE);
        CHECK(tick() == IN_WORKING_MODE);
        takeCoreEvents();
        alarmSetKind3(IN_WORKING_MODE);
        CHECK(alarmIsActive(IN_WORKING_MODE) == 0);
        CHECK(takeCoreEvents() == std::vector<PostedEvent>{{EV_ALARM_CLEARED, IN_WORKING_MODE}});
        CHECK(tick() == 0);
        CHECK(takeCoreEvents() == std::vector<PostedEvent>{{EV_ALARM_HIDDEN, IN_WORKING_MODE}});
    }

    SUBCASE("nothing changes on display within 99 ms of the last change")
    {
        alarmRaise(CAN_SPEED_LOST);
        CHECK(tick() == CAN_SPEED_LOST);
        alarmClear(CAN_SPEED_LOST);
        CHECK(tick(99) == CAN_SPEED_LOST);
        CHECK(tick(1) == 0);
    }
}

TEST_CASE("alarm timers of the shown alarm: automatic acknowledgement and second stage")
{
    Alarms env;
    SUBCASE("automatic acknowledgement")
    {
        alarmDefine(SPRAY_AIR_ADC_PRESS_LOW, 1, 0, 1000, 0, 0, 1, 0);
        alarmRaise(SPRAY_AIR_ADC_PRESS_LOW);
        CHECK(tick() == SPRAY_AIR_ADC_PRESS_LOW);
        CHECK(tick(900) == SPRAY_AIR_ADC_PRESS_LOW);
        CHECK(alarmCountUnacknowledged() == 1);
        CHECK(tick() == 0);
        CHECK(alarmCountUnacknowledged() == 0);
        CHECK(alarmIsActive(SPRAY_AIR_ADC_PRESS_LOW) == 1);
    }
    SUBCASE("second stage posts the acknowledged event once")
    {
        alarmDefine(SPRAY_AIR_ADC_PRESS_LOW, 1, 0, 0, 0, 700, 1, 0);
        alarmRaise(SPRAY_AIR_ADC_PRESS_LOW);
        CHECK(tick() == SPRAY_AIR_ADC_PRESS_LOW);
        takeCoreEvents();
        for (int i = 0; i < 10; ++i)
            CHECK(tick() == SPRAY_AIR_ADC_PRESS_LOW);
        CHECK(takeCoreEvents() == std::vector<PostedEvent>{{EV_ALARM_ACKNOWLEDGED, SPRAY_AIR_ADC_PRESS_LOW}});
        CHECK(alarmCountUnacknowledged() == 1);
    }
}

TEST_CASE("alarms raised from several threads while the selection runs")
{
    Alarms env;
    clockUseReal();
    const uint32_t ids[3] = {SECTIONS_OUTPUT_ERROR, ALARM_SUPPLY_VOLTAGE_LOW, WRONG_HW};
    std::atomic<bool> stop{false};
    std::vector<std::thread> workers;
    for (uint32_t id : ids) {
        workers.emplace_back([id, &stop] {
            for (int i = 0; i < 2000 && !stop; ++i) {
                alarmRaise(id);
                alarmCountUnacknowledged();
                alarmClear(id);
                if (i % 100 == 0)
                    threadfunc::sleep(1);
            }
            alarmRaise(id);
        });
    }
    for (int i = 0; i < 50; ++i) {
        alarmUpdate();
        alarmSetKind3(alarmGetShown());
        threadfunc::sleep(1);
    }
    stop = true;
    for (std::thread& worker : workers)
        worker.join();
    for (uint32_t id : ids)
        CHECK(alarmIsActive(id) == 1);
    // The events are delivered in the GUI thread: every clear has an id of the three.
    for (const PostedEvent& event : takeCoreEvents()) {
        CHECK((event.second == ids[0] || event.second == ids[1] || event.second == ids[2]));
    }
}
