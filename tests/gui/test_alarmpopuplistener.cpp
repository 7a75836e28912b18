#include "alarm.h"
#include "alarmdefs.h"
#include "alarmpopuplistener.h"
#include "beep.h"
#include "cformwidget.h"
#include "coverlaymanager.h"
#include "cpopupmessage.h"
#include "cwaitmessage.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventqueue.h"
#include "eventsignals.h"
#include "gui_test.h"
#include "guigeometry.h"
#include "test_wait.h"
#include "unitquantities.h"
#include "units.h"

#include <doctest/doctest.h>

#include <QLabel>

#include <atomic>
#include <vector>

using KSMPopupListener::PopupListener;

namespace {

std::atomic<int> buzzerOnEdges{0};

void countBuzzer(uint32_t line, uint32_t level)
{
    if (line == 1 && level)
        ++buzzerOnEdges;
}

// One screen with its overlay layer for the whole program, as in the console:
// the listener and its pop-up live as long as the process.
QWidget& screen()
{
    static QWidget* widget = [] {
        guiApplication();
        GuiGeometry::setDesignType(3);
        GuiGeometry::setDisplayType(3);
        auto* w = new QWidget;
        w->resize(480, 272);
        COverlayManager::createInstance(w);
        COverlayManager::instance()->setArea(480, 272);
        w->show();
        return w;
    }();
    return *widget;
}

struct Listener {
    Listener()
    {
        screen();
        REQUIRE(datastoreInit(2) == 0);
        beepSetLineWriter(countBuzzer);
        beepInit();
        listener = PopupListener::instance();
        popup = listener->popup();
        REQUIRE(popup != nullptr);
        buzzerOnEdges = 0;
    }
    ~Listener()
    {
        hub()->eventAlarmDeactivate(UINT16(listener->shownAlarm()));
        pumpEvents();
    }
    static EvSignal::EventSignals* hub() { return EvSignal::EventSignals::instance(); }
    void activate(int id)
    {
        hub()->eventAlarmActivate(UINT16(id));
        pumpEvents();
    }
    QString title() const
    {
        QLabel* label = popup->form()->titleLabel();
        return label != nullptr ? label->text() : QString();
    }
    QString text() const
    {
        QLabel* label = popup->form()->textLabel();
        return label != nullptr ? label->text() : QString();
    }
    bool shown() const { return COverlayManager::instance()->currentOverlay() == popup && popup->isVisible(); }
    PopupListener* listener;
    CPopupMessage* popup;
};

}  // namespace

TEST_CASE("an unsupported alarm as the first one keeps the creator's title")
{
    Listener f;
    f.activate(30);
    CHECK(f.shown());
    CHECK(f.title() == "Warning");
    CHECK(f.text() == "Alarm id: 30\nThis Alarm ID is not supported\nGo to Popuplistner and add alarm.");
}

TEST_CASE("a shown alarm: its texts in a 460 x 242 pop-up in front, one beep, closed when hidden")
{
    Listener f;
    f.activate(9);
    CHECK(f.shown());
    CHECK(f.title() == "Warning!");
    CHECK(f.text() == "Tank almost empty.");
    CHECK(f.popup->size() == QSize(460, 242));
    CHECK(waitFor([] { return buzzerOnEdges == 1; }, 2000));

    // A second alarm while it is up rewrites it in place.
    f.activate(52);
    CHECK(f.shown());
    CHECK(f.title() == "Low Supply Voltage");
    CHECK(f.text().startsWith("The supply voltage is too low.\n"));
    CHECK(waitFor([] { return buzzerOnEdges == 2; }, 2000));

    f.hub()->eventAlarmDeactivate(52);
    pumpEvents();
    CHECK_FALSE(f.shown());

    // Closed, it comes back on the next activation.
    f.activate(1);
    CHECK(f.shown());
    CHECK(f.title() == "No Flow Pulses");
}

TEST_CASE("another alarm hidden or cleared in the background leaves the pop-up up")
{
    Listener f;
    f.activate(9);
    REQUIRE(f.shown());
    f.hub()->eventAlarmDeactivate(14);
    pumpEvents();
    CHECK(f.shown());
    CHECK(f.text() == "Tank almost empty.");
    f.hub()->eventAlarmDeactivate(9);
    pumpEvents();
    CHECK_FALSE(f.shown());
}

std::vector<uint32_t> deliveredEvents;

void recordDelivered(uint32_t id, uint32_t)
{
    deliveredEvents.push_back(id);
}

TEST_CASE("the pop-up comes up without running queued events inside the event that shows the alarm")
{
    Listener f;
    deliveredEvents.clear();
    eventSetCallback(recordDelivered);
    eventPost(2, 4242, 0);
    emit f.hub()->eventAlarmActivate(9);  // as the signal hub does while it handles the event
    CHECK(deliveredEvents.empty());
    pumpEvents();
    CHECK(deliveredEvents == std::vector<uint32_t>{4242});
    CHECK(f.shown());
    CHECK(f.text() == "Tank almost empty.");
    eventSetCallback(nullptr);
}

TEST_CASE("an alarm hidden before its pop-up came up leaves it down")
{
    Listener f;
    emit f.hub()->eventAlarmActivate(9);
    emit f.hub()->eventAlarmDeactivate(9);
    pumpEvents();
    CHECK_FALSE(f.shown());
}

TEST_CASE("an alarm shown while a wait message holds the screen comes up when the wait ends")
{
    Listener f;
    f.activate(9);
    REQUIRE(f.shown());
    {
        CWaitMessage wait(QString(), "Changing the colours.", false);
        REQUIRE(wait.showMessage(COverlayManager::PriorityPreempt));
        CHECK_FALSE(f.shown());
        f.activate(52);
        pumpEvents();
        CHECK(COverlayManager::instance()->currentOverlay() == &wait);
    }
    pumpEvents();
    CHECK(f.shown());
    CHECK(f.title() == "Low Supply Voltage");
}

TEST_CASE("acknowledging the pop-up acknowledges the shown alarm only while some are unacknowledged")
{
    Listener f;
    ManualClock clock;
    alarmInit(2);
    processInitAlarms();
    alarmDefine(SPRAY_TANK_ALMOST_EMPTY, 1, 0, 0, 0, 0, 1, 0);
    alarmRaise(SPRAY_TANK_ALMOST_EMPTY);
    for (int i = 0; i < 100 && alarmGetShown() != SPRAY_TANK_ALMOST_EMPTY; ++i) {
        clockAdvanceMs(100);
        alarmUpdate();
    }
    REQUIRE(alarmGetShown() == SPRAY_TANK_ALMOST_EMPTY);
    REQUIRE(alarmCountUnacknowledged() == 1);
    f.activate(SPRAY_TANK_ALMOST_EMPTY);
    REQUIRE(f.shown());
    emit f.popup->popupAcknowledge();
    CHECK(alarmCountUnacknowledged() == 0);
    CHECK(alarmIsActive(SPRAY_TANK_ALMOST_EMPTY) == 1);

    // Nothing left to acknowledge: a further touch changes nothing.
    emit f.popup->popupAcknowledge();
    CHECK(alarmCountUnacknowledged() == 0);
    alarmInit(2);
}

TEST_CASE("CAN speed lost names the speed source it shifts to")
{
    Listener f;
    REQUIRE(datastoreSetUint32(DS_SPEED_CAL_NUMBER, 1) == 0);
    f.activate(36);
    CHECK(f.title() == "CAN Speed Missing");
    CHECK(f.text() == "The CAN speed source is not valid.\nShifting to Implement Speed Sensor.");

    REQUIRE(datastoreSetUint32(DS_SPEED_CAL_NUMBER, 0) == 0);
    REQUIRE(unitGetSystem() == 0);
    f.activate(36);
    const QString expected = QString("The CAN speed source is not valid.\nShifting to simulated speed, %L1 km/h.")
                                 .arg(double(unitGetItemValue(UQ_SIMULATED_SPEED)) / unitGetScale(UQ_SIMULATED_SPEED),
                                      0, 'f', int(unitGetDecimals(UQ_SIMULATED_SPEED)));
    CHECK(f.text() == expected);
    CHECK(f.text().endsWith(" km/h."));
}

TEST_CASE("short titles of the working screen's alarm list")
{
    struct Case {
        int id;
        const char* title;
    };
    const Case cases[] = {
        {1, "No Flow Pulses"},        {9, "Tank almost empty."}, {10, "Target rate impossible to reach."},
        {11, "Actual Rate Too High"}, {12, "Minimum regulation pressure."},
        {36, "CAN Speed Missing"},    {52, "Low Supply Voltage"}, {53, "???"},
        {0, "???"},                   {3, "???"},                 {30, "???"},
        {54, "???"},                  {-1, "???"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.id);
        CHECK(PopupListener::alarmTitle(c.id) == c.title);
    }
}
