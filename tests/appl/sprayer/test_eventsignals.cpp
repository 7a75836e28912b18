// The signal hub: which event emits which signal, and when an unchanged state stays quiet.
#include <doctest/doctest.h>

#include <QMetaMethod>

#include <cstring>
#include <string>
#include <vector>

#include "core_env.h"
#include "datastore.h"
#include "eventids.h"
#include "eventsignals.h"

namespace {

using EvSignal::EventSignals;

// Every signal of the hub, recorded in emission order as "name(argument)".
class SignalLog {
public:
    SignalLog()
    {
        EventSignals* hub = EventSignals::instance();
        track(QObject::connect(hub, &EventSignals::activeSectionStatusChanged,
                               [this](uint32_t mask) { add("activeSectionStatusChanged", mask); }));
        track(QObject::connect(hub, &EventSignals::isSpraying, [this](bool on) { add("isSpraying", on); }));
        track(QObject::connect(hub, &EventSignals::boomSectionsChanged,
                               [this](uint16_t n) { add("boomSectionsChanged", n); }));
        track(QObject::connect(hub, &EventSignals::event100ms, [this] { add("event100ms"); }));
        track(QObject::connect(hub, &EventSignals::eventAlarmActivate,
                               [this](UINT16 alarm) { add("eventAlarmActivate", alarm); }));
        track(QObject::connect(hub, &EventSignals::eventAlarmDeactivate,
                               [this](UINT16 alarm) { add("eventAlarmDeactivate", alarm); }));
        track(QObject::connect(hub, &EventSignals::eventClearBoostPct, [this] { add("eventClearBoostPct"); }));
        track(QObject::connect(hub, &EventSignals::eventScreenShotEnabled,
                               [this](bool on) { add("eventScreenShotEnabled", on); }));
        track(QObject::connect(hub, &EventSignals::eventTripCntPdfSaved,
                               [this](bool ok) { add("eventTripCntPdfSaved", ok); }));
        track(QObject::connect(hub, &EventSignals::eventTripCntCsvSaved,
                               [this](bool ok) { add("eventTripCntCsvSaved", ok); }));
        track(QObject::connect(hub, &EventSignals::eventCanSpeedBack, [this] { add("eventCanSpeedBack"); }));
        track(QObject::connect(hub, &EventSignals::eventPowerButtonPressed,
                               [this] { add("eventPowerButtonPressed"); }));
        track(QObject::connect(hub, &EventSignals::eventPowerButtonRelease,
                               [this] { add("eventPowerButtonRelease"); }));
        track(QObject::connect(hub, &EventSignals::eventAlarmLogDataSaved,
                               [this](bool ok) { add("eventAlarmLogDataSaved", ok); }));
        track(QObject::connect(hub, &EventSignals::eventLogDataExported,
                               [this](bool ok) { add("eventLogDataExported", ok); }));
        track(QObject::connect(hub, &EventSignals::eventPressureLogDataSaved,
                               [this](bool ok) { add("eventPressureLogDataSaved", ok); }));
        track(QObject::connect(hub, &EventSignals::eventPressureLogExported,
                               [this](bool ok) { add("eventPressureLogExported", ok); }));
    }
    ~SignalLog()
    {
        for (const QMetaObject::Connection& connection : mConnections)
            QObject::disconnect(connection);
    }

    std::vector<std::string> take()
    {
        std::vector<std::string> taken;
        taken.swap(mEntries);
        return taken;
    }

private:
    void track(const QMetaObject::Connection& connection) { mConnections.push_back(connection); }
    void add(const char* name) { mEntries.push_back(std::string(name) + "()"); }
    void add(const char* name, uint32_t value) { mEntries.push_back(std::string(name) + "(" + std::to_string(value) + ")"); }

    std::vector<QMetaObject::Connection> mConnections;
    std::vector<std::string> mEntries;
};

using Signals = std::vector<std::string>;

void startStore()
{
    coreTestWorkDir();
    REQUIRE(datastoreInit(2) == 0);
}

void setSectionBlock(uint16_t firstWord, uint16_t secondWord = 0)
{
    uint8_t block[14] = {};
    std::memcpy(block, &firstWord, 2);
    std::memcpy(block + 2, &secondWord, 2);
    REQUIRE(datastoreSetData(DS_SECTION_STATE_BLOCK, block) == 0);
}

}  // namespace

// Runs first: the hub's announce-next-time flags are set only once per program.
TEST_CASE("the first event of each kind is announced even when nothing changed")
{
    startStore();
    SignalLog log;
    REQUIRE(datastoreSetUint16(DS_NUMBER_OF_SECTIONS, 9) == 0);

    eventSignalsHandleEvent(EV_TICK_100MS, 0);
    CHECK(log.take() == Signals{"isSpraying(0)", "event100ms()"});
    eventSignalsHandleEvent(EV_TICK_100MS, 0);
    CHECK(log.take() == Signals{"event100ms()"});

    // The block still equals the hub's zero start copy.
    eventSignalsHandleEvent(EV_SECTION_STATES_CHANGED, 0);
    CHECK(log.take() == Signals{"activeSectionStatusChanged(0)"});
    eventSignalsHandleEvent(EV_SECTION_STATES_CHANGED, 0);
    CHECK(log.take().empty());

    eventSignalsHandleEvent(EV_BOOM_SECTIONS_CHANGED, 0);
    CHECK(log.take() == Signals{"boomSectionsChanged(9)"});
    eventSignalsHandleEvent(EV_BOOM_SECTIONS_CHANGED, 0);
    CHECK(log.take().empty());
}

TEST_CASE("spraying state and section count are announced on a change only")
{
    startStore();
    SignalLog log;
    eventSignalsHandleEvent(EV_TICK_100MS, 0);
    log.take();

    REQUIRE(datastoreSetBool(DS_SPRAYING_ACTIVE, 1) == 0);
    eventSignalsHandleEvent(EV_TICK_100MS, 0);
    CHECK(log.take() == Signals{"isSpraying(1)", "event100ms()"});
    eventSignalsHandleEvent(EV_TICK_100MS, 0);
    CHECK(log.take() == Signals{"event100ms()"});
    REQUIRE(datastoreSetBool(DS_SPRAYING_ACTIVE, 0) == 0);
    eventSignalsHandleEvent(EV_TICK_100MS, 0);
    CHECK(log.take() == Signals{"isSpraying(0)", "event100ms()"});

    eventSignalsHandleEvent(EV_BOOM_SECTIONS_CHANGED, 0);
    log.take();
    REQUIRE(datastoreSetUint16(DS_NUMBER_OF_SECTIONS, 13) == 0);
    eventSignalsHandleEvent(EV_BOOM_SECTIONS_CHANGED, 0);
    CHECK(log.take() == Signals{"boomSectionsChanged(13)"});
    eventSignalsHandleEvent(EV_BOOM_SECTIONS_CHANGED, 0);
    CHECK(log.take().empty());
}

TEST_CASE("section mask: bit i - 1 is section i, counted from bit 1 of the block")
{
    startStore();
    SignalLog log;
    struct Case {
        const char* name;
        uint16_t sections;
        uint16_t firstWord;
        uint16_t secondWord;
        uint32_t mask;
    };
    const Case cases[] = {
        {"sections 1 and 2 of 9", 9, 0x0006, 0x0000, 0x003},
        {"bit 0 is no section", 9, 0x0001, 0x0000, 0x000},
        {"sections beyond the count are left out", 3, 0xFFFE, 0x0000, 0x007},
        {"section 16 lies in the second word", 16, 0x8000, 0x0001, 0xC000},
        {"all 20 of 20", 20, 0xFFFE, 0x001F, 0xFFFFF},
        {"no sections, no mask", 1, 0x0000, 0x0000, 0x000},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.name));
        REQUIRE(datastoreSetUint16(DS_NUMBER_OF_SECTIONS, c.sections) == 0);
        setSectionBlock(c.firstWord, c.secondWord);
        eventSignalsHandleEvent(EV_SECTION_STATES_CHANGED, 0);
        CHECK(log.take() == Signals{"activeSectionStatusChanged(" + std::to_string(c.mask) + ")"});
    }

    // The same block again stays quiet, whatever the section count does.
    REQUIRE(datastoreSetUint16(DS_NUMBER_OF_SECTIONS, 9) == 0);
    setSectionBlock(0x0006);
    eventSignalsHandleEvent(EV_SECTION_STATES_CHANGED, 0);
    CHECK(log.take() == Signals{"activeSectionStatusChanged(3)"});
    eventSignalsHandleEvent(EV_SECTION_STATES_CHANGED, 0);
    CHECK(log.take().empty());
}

TEST_CASE("alarm, boost, screenshot, file and power-button events")
{
    startStore();
    SignalLog log;
    struct Case {
        uint32_t id;
        uint32_t arg;
        Signals emitted;
    };
    const Case cases[] = {
        {EV_ALARM_SHOWN, 0x10017, {"eventAlarmActivate(23)"}},
        {EV_ALARM_HIDDEN, 45, {"eventAlarmDeactivate(45)"}},
        {EV_ALARM_CLEARED, 46, {"eventAlarmDeactivate(46)"}},
        {EV_SET_BOOST, 100, {"eventClearBoostPct()"}},
        {EV_SET_BOOST, 0x20064, {"eventClearBoostPct()"}},
        {EV_SET_BOOST, 120, {}},
        {EV_JOB_PDF_SAVED, 1, {"eventTripCntPdfSaved(1)"}},
        {EV_JOB_PDF_SAVED, 0, {"eventTripCntPdfSaved(0)"}},
        {EV_COUNTERS_CSV_SAVED, 7, {"eventTripCntCsvSaved(1)"}},
        {EV_ALARM_LOG_SAVED, 0, {"eventAlarmLogDataSaved(0)"}},
        {EV_ALARM_LOG_EXPORTED, 1, {"eventLogDataExported(1)"}},
        {EV_PRESSURE_LOG_SAVED, 1, {"eventPressureLogDataSaved(1)"}},
        {EV_PRESSURE_LOG_EXPORTED, 0, {"eventPressureLogExported(0)"}},
        {EV_CAN_SPEED_BACK, 0, {"eventCanSpeedBack()"}},
        {EV_POWER_BUTTON_PRESSED, 0, {"eventPowerButtonPressed()"}},
        {EV_POWER_BUTTON_RELEASED, 0, {"eventPowerButtonRelease()"}},
        {EV_TICK_1S, 0, {}},
        {EV_POWER_DOWN, 0, {}},
        {EV_TICK_50MS, 0, {}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.id);
        CAPTURE(c.arg);
        eventSignalsHandleEvent(c.id, c.arg);
        CHECK(log.take() == c.emitted);
    }
}

TEST_CASE("screenshot switch: the item decides, not the argument")
{
    startStore();
    SignalLog log;
    REQUIRE(datastoreSetBool(DS_SCREENSHOT_ENABLED, 1) == 0);
    eventSignalsHandleEvent(EV_SCREENSHOT_ENABLE_CHANGED, 0);
    REQUIRE(datastoreSetBool(DS_SCREENSHOT_ENABLED, 0) == 0);
    eventSignalsHandleEvent(EV_SCREENSHOT_ENABLE_CHANGED, 1);
    CHECK(log.take() == Signals{"eventScreenShotEnabled(1)", "eventScreenShotEnabled(0)"});
}

TEST_CASE("a shown alarm ends a manual pressure change before it is announced")
{
    startStore();
    SignalLog log;
    uint16_t seenBits = 0xFFFF;
    const QMetaObject::Connection probe = QObject::connect(
        EventSignals::instance(), &EventSignals::eventAlarmActivate,
        [&seenBits] { seenBits = datastoreGetUint16(DS_MANUAL_PRESSURE_BITS); });
    const uint16_t cases[][2] = {{0x0007, 0x0001}, {0x0002, 0x0000}, {0x0004, 0x0000}, {0x0009, 0x0009}};
    for (const auto& c : cases) {
        CAPTURE(c[0]);
        REQUIRE(datastoreSetUint16(DS_MANUAL_PRESSURE_BITS, c[0]) == 0);
        eventSignalsHandleEvent(EV_ALARM_SHOWN, 3);
        CHECK(datastoreGetUint16(DS_MANUAL_PRESSURE_BITS) == c[1]);
        CHECK(seenBits == c[1]);
        CHECK(log.take() == Signals{"eventAlarmActivate(3)"});
    }
    QObject::disconnect(probe);
}

TEST_CASE("the hub is one object without a parent")
{
    EventSignals* hub = EventSignals::instance();
    CHECK(hub == EventSignals::instance());
    CHECK(hub->parent() == nullptr);
    // Screens connect by the declared names, in this order.
    const QMetaObject* meta = hub->metaObject();
    const char* expected[] = {
        "activeSectionStatusChanged(uint32_t)", "isSpraying(bool)", "boomSectionsChanged(uint16_t)",
        "event100ms()", "eventAlarmActivate(UINT16)", "eventAlarmDeactivate(UINT16)", "eventClearBoostPct()",
        "eventScreenShotEnabled(bool)", "eventTripCntPdfSaved(bool)", "eventTripCntCsvSaved(bool)",
        "eventCanSpeedBack()", "eventPowerButtonPressed()", "eventPowerButtonRelease()",
        "eventAlarmLogDataSaved(bool)", "eventLogDataExported(bool)", "eventPressureLogDataSaved(bool)",
        "eventPressureLogExported(bool)",
    };
    REQUIRE(meta->methodCount() - meta->methodOffset() == 17);
    for (int i = 0; i < 17; ++i) {
        CAPTURE(i);
        CHECK(std::string(meta->method(meta->methodOffset() + i).methodSignature().constData()) == expected[i]);
    }
}
