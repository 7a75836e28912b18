// The working screen: its children's places and stacking, sections by touch,
// boost and manual pressure through the tool bar, the tank's long press or
// tap, the alarm button and its list, the CAN-speed question, and the screen's
// look in its main states.
#include "alarm.h"
#include "alarmpopuplistener.h"
#include "cformwidget.h"
#include "cpopupmessage.h"
#include "cpopupquery.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "nozzle_fixture.h"
#include "screen_check.h"
#include "screen_drive.h"
#include "screen_fixture.h"
#include "test_capture.h"
#include "test_root.h"
#include "test_wait.h"
#include "toolsviewconsoledisplay.h"
#include "workingviewctrl.h"
#include "worktoolbarwidget.h"

#include <doctest/doctest.h>

#include <QLabel>
#include <QSignalSpy>

#include <algorithm>
#include <functional>

namespace {

// The presets hold tips of the catalogue, as on a console in use.
struct Screen : NozzleFixture {
    explicit Screen(bool touchOperation = true, uint32_t sections = 9)
    {
        setItem(DS_TOUCH_OPERATION, touchOperation ? 1 : 0);
        setItem(DS_NUMBER_OF_SECTIONS, sections);
        setItem(DS_BOOST_PERCENT, 100);
        setItem(DS_AUTOMATIC_REGULATION, 1);
        setItem(DS_APPL_RATE_STEP, 10);
        alarmInit(2);
        view = new WorkingViewCtrl(page());
        place(view, QPoint(0, 0), QSize(480, 272));
        takePostedEvents();
        takeProcessCalls();
    }
    ~Screen() { alarmInit(2); }

    template <typename T = QWidget>
    T* child(const char* name) const
    {
        T* found = view->findChild<T*>(QString::fromLatin1(name));
        REQUIRE(found != nullptr);
        return found;
    }
    KestromPushButton* barButton(const char* name) const
    {
        auto* found = view->toolBar()->findChild<KestromPushButton*>(QString::fromLatin1(name));
        REQUIRE(found != nullptr);
        return found;
    }
    void openToolBar()
    {
        tapButton(view->showToolBarButton());
        pumpEvents();
        REQUIRE(view->toolBar()->isVisible());
    }
    // Press and release with one button, at a point of the screen.
    void touchWith(Qt::MouseButton button, QPoint pos)
    {
        QPoint local = pos;
        QWidget* target = touchTarget(view, local);
        QTest::mousePress(target, button, Qt::NoModifier, local);
        QTest::mouseRelease(target, button, Qt::NoModifier, local);
        pumpEvents();
    }
    // What the action prints on standard output.
    std::string printed(const std::function<void()>& action)
    {
        StdoutCapture capture(root.path("/stdout.txt"));
        action();
        return capture.text();
    }
    // The buzzer's switch-ons (the line of each) after the action, its
    // pattern played out on the clock: until `expected` came, then a while
    // longer to see that no more come.
    std::vector<uint32_t> buzzerStartsAfter(const std::function<void()>& action, size_t expected)
    {
        takeBuzzerLevels();
        action();
        std::vector<uint32_t> lines;
        int after = 0;
        for (int step = 0; step < 200 && after < 20; ++step) {
            clock.advance(50);
            beepSync();
            for (const BuzzerLevel& level : takeBuzzerLevels())
                if (level.level != 0)
                    lines.push_back(level.line);
            if (lines.size() >= expected)
                ++after;
        }
        return lines;
    }
    // Raises an alarm without delay.
    static void raise(uint32_t id)
    {
        alarmDefine(id, 1, 0, 0, 0, 0, 1, 0);
        alarmRaise(id);
        REQUIRE(alarmIsActive(id) == 1);
    }
    // The manager's 100 ms ticks until it shows the alarm: from then on it counts.
    void tickUntilShown(uint32_t id)
    {
        for (int tick = 0; tick < 20 && alarmGetShown() != id; ++tick) {
            clock.advance(100);
            alarmUpdate();
        }
        REQUIRE(alarmGetShown() == id);
    }
    void raiseShown(uint32_t id)
    {
        raise(id);
        tickUntilShown(id);
    }

    TestRoot root;
    WorkingViewCtrl* view = nullptr;
};

struct Placed {
    const char* name;
    QRect geometry;
};

}  // namespace

TEST_CASE("children at their places, the show-filling button over the tank, the alarm button hidden")
{
    Screen f;
    const Placed table[] = {
        {"m_topInfoView", QRect(0, 0, 480, 77)},
        {"m_showToolBarButton", QRect(413, 106, 70, 60)},
        {"m_sprayTankView", QRect(160, 77, 160, 97)},
        {"m_btnShowFilling", QRect(160, 77, 160, 97)},
        {"m_nozzleInfoView", QRect(0, 77, 128, 97)},
        {"m_boostLabel", QRect(96, 120, 64, 32)},
        {"m_alarmButton", QRect(320, 112, 80, 48)},
        {"m_dropletSizeView", QRect(0, 169, 480, 60)},
        {"m_boomView", QRect(0, 234, 480, 38)},
    };
    for (const Placed& row : table) {
        CAPTURE(row.name);
        CHECK(f.child(row.name)->geometry() == row.geometry);
    }
    // Creation order is stacking order.
    QStringList order;
    for (QObject* object : f.view->children())
        if (object->isWidgetType())
            order.append(object->objectName());
    CHECK(order == QStringList{"m_topInfoView", "m_showToolBarButton", "m_sprayTankView", "m_nozzleInfoView",
                               "m_boostLabel", "m_alarmButton", "m_dropletSizeView", "m_boomView",
                               "m_btnShowFilling"});
    CHECK(f.view->childAt(QPoint(240, 120)) == f.view->showFillingButton());
    CHECK(f.child("m_btnShowFilling")->property("transparent").toBool());
    CHECK(f.child("m_alarmButton")->property("transparent").toBool());
    CHECK_FALSE(f.view->alarmButton()->isVisible());
    CHECK_FALSE(f.view->boostLabel()->isVisible());
    CHECK(f.view->boostLabel()->property("fontsize").toString() == "medium");
    CHECK(f.view->boostLabel()->alignment() == Qt::AlignCenter);

    WorkToolBarWidget* bar = f.view->toolBar();
    CHECK(bar->objectName() == "m_workToolBarView");
    CHECK(bar->parent() == nullptr);
    CHECK_FALSE(bar->isVisible());
    f.openToolBar();
    CHECK(bar->mapToGlobal(QPoint(0, 0)) - f.screen()->mapToGlobal(QPoint(0, 0)) == QPoint(161, 45));
    // Two rows of 80-unit buttons within the bar's margins need 185 pixels:
    // the buttons keep their size and the bar grows below its nominal 181.
    CHECK(bar->size() == QSize(320, std::max(181, bar->minimumSizeHint().height())));
    CHECK(bar->height() <= 272 - 45);
}

TEST_CASE("sections by touch: the slice under a left release in the lower third, a key click with key beep")
{
    struct Case {
        QPoint at;
        bool touchOperation;
        Qt::MouseButton button;
        std::vector<PostedEvent> calls;
        const char* printed;
    };
    const Case cases[] = {
        {{53, 200}, true, Qt::LeftButton, {{EV_SECTION_MASK_TOGGLE, 1}}, ""},
        {{54, 200}, true, Qt::LeftButton, {{EV_SECTION_MASK_TOGGLE, 2}}, ""},
        {{479, 200}, true, Qt::LeftButton, {{EV_SECTION_MASK_TOGGLE, 9}}, ""},
        {{240, 183}, true, Qt::LeftButton, {{EV_SECTION_MASK_TOGGLE, 5}}, ""},
        {{240, 182}, true, Qt::LeftButton, {}, "Did not recognise the slide command.\n"},
        {{360, 90}, true, Qt::LeftButton, {}, "Did not recognise the slide command.\n"},
        {{53, 200}, true, Qt::RightButton, {}, ""},
        {{53, 200}, false, Qt::LeftButton, {}, "Did not recognise the slide command.\n"},
        {{240, 250}, false, Qt::LeftButton, {}, "Did not recognise the slide command.\n"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.at.x());
        CAPTURE(c.at.y());
        CAPTURE(c.touchOperation);
        CAPTURE(int(c.button));
        Screen f(c.touchOperation);
        CHECK(f.printed([&] { f.touchWith(c.button, c.at); }) == c.printed);
        CHECK(takeProcessCalls() == c.calls);
    }
}

TEST_CASE("sections by touch: the key click follows an accepted touch only while key beep is on")
{
    // The key click: one switch-on of the high line.
    Screen f;
    const std::vector<uint32_t> click{1};
    f.setItem(DS_KEY_BEEP, 1);
    CHECK(f.buzzerStartsAfter([&] { f.touchWith(Qt::LeftButton, {300, 250}); }, 1) == click);
    CHECK(f.buzzerStartsAfter([&] { f.touchWith(Qt::LeftButton, {360, 90}); }, 0).empty());
    f.setItem(DS_KEY_BEEP, 0);
    CHECK(f.buzzerStartsAfter([&] { f.touchWith(Qt::LeftButton, {300, 250}); }, 0).empty());
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SECTION_MASK_TOGGLE, 6}, {EV_SECTION_MASK_TOGGLE, 6}});
}

TEST_CASE("sections by touch: the slices follow the section count at the touch")
{
    struct Case {
        uint32_t sections;
        int x;
        uint32_t section;
    };
    const Case cases[] = {{1, 0, 1}, {1, 479, 1}, {2, 240, 1}, {2, 241, 2}, {3, 160, 1}, {3, 161, 2}, {15, 479, 15}};
    Screen f;
    for (const Case& c : cases) {
        CAPTURE(c.sections);
        CAPTURE(c.x);
        f.setItem(DS_NUMBER_OF_SECTIONS, c.sections);
        f.touchWith(Qt::LeftButton, {c.x, 260});
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SECTION_MASK_TOGGLE, c.section}});
    }
}

TEST_CASE("boost: steps within the limits, zero from the tool bar and the hub")
{
    struct Case {
        uint32_t boost;
        std::function<void(WorkingViewCtrl*)> action;
        std::vector<PostedEvent> calls;
    };
    const Case cases[] = {
        {185, [](WorkingViewCtrl* v) { v->handleIncBoostPct(10); }, {{EV_SET_BOOST, 195}}},
        {189, [](WorkingViewCtrl* v) { v->handleIncBoostPct(10); }, {{EV_SET_BOOST, 199}}},
        {190, [](WorkingViewCtrl* v) { v->handleIncBoostPct(10); }, {}},
        {11, [](WorkingViewCtrl* v) { v->handleDecBoostPct(10); }, {{EV_SET_BOOST, 1}}},
        {10, [](WorkingViewCtrl* v) { v->handleDecBoostPct(10); }, {}},
        {120, [](WorkingViewCtrl* v) { v->handleDecBoostPct(5); }, {{EV_SET_BOOST, 115}}},
        {150, [](WorkingViewCtrl* v) { v->handleZeroBoostPct(); }, {{EV_SET_BOOST, 100}}},
        {150, [](WorkingViewCtrl*) { emit ScreenFixture::hub()->eventClearBoostPct(); }, {{EV_SET_BOOST, 100}}},
    };
    Screen f;
    for (const Case& c : cases) {
        CAPTURE(c.boost);
        f.setItem(DS_BOOST_PERCENT, c.boost);
        c.action(f.view);
        CHECK(takeProcessCalls() == c.calls);
    }
}

TEST_CASE("boost label: boost - 100 in automatic regulation, hidden at 100 and in manual regulation")
{
    struct Case {
        uint32_t boost;
        bool automatic;
        const char* text;  // null: hidden
    };
    const Case cases[] = {{90, true, "-10%"}, {120, true, "20%"}, {190, true, "90%"}, {10, true, "-90%"},
                          {100, true, nullptr}, {120, false, nullptr}, {90, false, nullptr}};
    Screen f;
    for (const Case& c : cases) {
        CAPTURE(c.boost);
        CAPTURE(c.automatic);
        f.setItem(DS_BOOST_PERCENT, c.boost);
        f.setItem(DS_AUTOMATIC_REGULATION, c.automatic ? 1 : 0);
        f.view->updateBoostLabel();
        CHECK(f.view->boostLabel()->isVisible() == (c.text != nullptr));
        if (c.text != nullptr)
            CHECK(f.view->boostLabel()->text() == c.text);
    }
    // A boost step from the tool bar refreshes the label at once.
    f.setItem(DS_AUTOMATIC_REGULATION, 1);
    f.setItem(DS_BOOST_PERCENT, 100);
    f.view->updateBoostLabel();
    f.openToolBar();
    tapButton(f.barButton("m_btnUp"));
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_BOOST, 110}});
    CHECK(f.view->boostLabel()->isVisible());
    CHECK(f.view->boostLabel()->text() == "10%");
}

TEST_CASE("manual pressure: bits 1 and 2 of item 259 with their trace lines, only in manual regulation")
{
    struct Case {
        bool automatic;
        uint16_t before;
        void (WorkingViewCtrl::*slot)();
        uint16_t after;
        const char* printed;
    };
    const Case cases[] = {
        {false, 1, &WorkingViewCtrl::handleIncLiqPressure, 3, "Inc. Liquid pressure\n"},
        {false, 1, &WorkingViewCtrl::handleDecLiqPressure, 5, "Dec. Liquid pressure\n"},
        {false, 3, &WorkingViewCtrl::handleStopLiqPressureChange, 1, "Stop inc/dec Liquid pressure\n"},
        {false, 5, &WorkingViewCtrl::handleStopLiqPressureChange, 1, "Stop inc/dec Liquid pressure\n"},
        {false, 7, &WorkingViewCtrl::handleStopLiqPressureChange, 1, "Stop inc/dec Liquid pressure\n"},
        {false, 1, &WorkingViewCtrl::handleStopLiqPressureChange, 1, ""},
        {false, 9, &WorkingViewCtrl::handleStopLiqPressureChange, 9, ""},
        {true, 0, &WorkingViewCtrl::handleIncLiqPressure, 0, ""},
        {true, 0, &WorkingViewCtrl::handleDecLiqPressure, 0, ""},
        {true, 6, &WorkingViewCtrl::handleStopLiqPressureChange, 6, ""},
    };
    Screen f;
    for (const Case& c : cases) {
        CAPTURE(c.automatic);
        CAPTURE(c.before);
        f.setItem(DS_AUTOMATIC_REGULATION, c.automatic ? 1 : 0);
        f.setItem(DS_MANUAL_PRESSURE_BITS, c.before);
        CHECK(f.printed([&] { (f.view->*c.slot)(); }) == c.printed);
        CHECK(datastoreGetUint16(DS_MANUAL_PRESSURE_BITS) == c.after);
    }
}

TEST_CASE("tool bar: its nine signals reach the screen; home and close hide it")
{
    Screen f;
    QSignalSpy home(f.view, &WorkingViewCtrl::ShowHomeView);
    f.openToolBar();
    tapButton(f.barButton("m_btnUp"));
    tapButton(f.barButton("m_btnDown"));
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_BOOST, 110}, {EV_SET_BOOST, 100}});
    f.setItem(DS_BOOST_PERCENT, 130);
    tapButton(f.barButton("m_btnZeroBoost"));
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_BOOST, 100}});
    tapButton(f.barButton("m_btnClose"));
    CHECK_FALSE(f.view->toolBar()->isVisible());
    CHECK(home.count() == 0);

    // Manual regulation: the bar's mode toggle, then the arrows drive the pressure while held.
    f.openToolBar();
    CHECK(f.printed([&] { tapButton(f.barButton("m_btnAutoMan")); }) == "Manual regulation mode:1\n");
    CHECK(datastoreGetUint16(DS_MANUAL_PRESSURE_BITS) == 1);
    f.setItem(DS_AUTOMATIC_REGULATION, 0);
    const std::string pressure = f.printed([&] {
        touchPress(f.barButton("m_btnUp"));
        CHECK(datastoreGetUint16(DS_MANUAL_PRESSURE_BITS) == 3);
        touchRelease(f.barButton("m_btnUp"));
        touchPress(f.barButton("m_btnDown"));
        CHECK(datastoreGetUint16(DS_MANUAL_PRESSURE_BITS) == 5);
        touchRelease(f.barButton("m_btnDown"));
    });
    CHECK(pressure ==
          "Inc. Liquid pressure\nStop inc/dec Liquid pressure\nDec. Liquid pressure\nStop inc/dec Liquid pressure\n");
    CHECK(datastoreGetUint16(DS_MANUAL_PRESSURE_BITS) == 1);
    CHECK(f.printed([&] { tapButton(f.barButton("m_btnAutoMan")); }) == "Manual regulation mode:0\n");

    tapButton(f.barButton("m_btnHome"));
    CHECK_FALSE(f.view->toolBar()->isVisible());
    CHECK(home.count() == 1);
    CHECK(takeProcessCalls().empty());
}

TEST_CASE("tool bar: the home button follows the spraying state the screen forwards")
{
    Screen f;
    QSignalSpy forwarded(f.view, &WorkingViewCtrl::workStatusChanged);
    f.openToolBar();
    emit f.hub()->isSpraying(true);
    CHECK_FALSE(f.barButton("m_btnHome")->isEnabled());
    emit f.hub()->isSpraying(false);
    CHECK(f.barButton("m_btnHome")->isEnabled());
    REQUIRE(forwarded.count() == 2);
    CHECK(forwarded.at(0).at(0).toBool());
    CHECK_FALSE(forwarded.at(1).at(0).toBool());
}

TEST_CASE("tank with touch operation: a short press switches the master, a 2 s hold opens the filling view")
{
    struct Case {
        uint32_t holdMs;
        bool spraying;
        int fillingViews;
        uint32_t master;  // soft master switch after the release, from 0
    };
    const Case cases[] = {{0, false, 0, 1},    {1999, false, 0, 1}, {2000, false, 1, 0},
                          {5000, false, 1, 0}, {1999, true, 0, 1},  {2000, true, 0, 1}, {5000, true, 0, 1}};
    for (const Case& c : cases) {
        CAPTURE(c.holdMs);
        CAPTURE(c.spraying);
        Screen f(true);
        REQUIRE(f.view->usesLongPress());
        f.setItem(DS_SPRAYING_ACTIVE, c.spraying ? 1 : 0);
        f.setItem(DS_SOFT_MASTER_SWITCH, 0);
        QSignalSpy filling(f.view, &WorkingViewCtrl::ShowFillingView);
        touchPress(f.view->showFillingButton());
        f.clock.advanceInSteps(c.holdMs);
        CHECK(filling.count() == c.fillingViews);
        touchRelease(f.view->showFillingButton());
        pumpEvents();
        CHECK(filling.count() == c.fillingViews);
        CHECK(datastoreGetBool(DS_SOFT_MASTER_SWITCH) == c.master);
    }
}

TEST_CASE("tank with touch operation: presses toggle the master each time; a finger sliding off does nothing")
{
    Screen f(true);
    QSignalSpy filling(f.view, &WorkingViewCtrl::ShowFillingView);
    f.setItem(DS_SOFT_MASTER_SWITCH, 0);
    tapButton(f.view->showFillingButton());
    CHECK(datastoreGetBool(DS_SOFT_MASTER_SWITCH) == 1);
    tapButton(f.view->showFillingButton());
    CHECK(datastoreGetBool(DS_SOFT_MASTER_SWITCH) == 0);

    // A long press that opened the filling view does not carry over to the next press.
    touchPress(f.view->showFillingButton());
    f.clock.advanceInSteps(2000);
    touchRelease(f.view->showFillingButton());
    REQUIRE(filling.count() == 1);
    tapButton(f.view->showFillingButton());
    CHECK(datastoreGetBool(DS_SOFT_MASTER_SWITCH) == 1);

    KestromPushButton* tank = f.view->showFillingButton();
    touchPress(tank);
    f.clock.advanceInSteps(500);
    touchMove(tank, QPoint(tank->width() / 2, -200));
    f.clock.advanceInSteps(3000);
    touchRelease(tank, QPoint(tank->width() / 2, -200));
    pumpEvents();
    CHECK(filling.count() == 1);
    CHECK(datastoreGetBool(DS_SOFT_MASTER_SWITCH) == 1);
}

TEST_CASE("tank without touch operation at construction: a tap opens the filling view unless spraying")
{
    for (bool spraying : {false, true}) {
        CAPTURE(spraying);
        Screen f(false);
        CHECK_FALSE(f.view->usesLongPress());
        f.setItem(DS_SPRAYING_ACTIVE, spraying ? 1 : 0);
        f.setItem(DS_SOFT_MASTER_SWITCH, 0);
        QSignalSpy filling(f.view, &WorkingViewCtrl::ShowFillingView);
        // Touch operation switched on later does not change the tank's way.
        f.setItem(DS_TOUCH_OPERATION, 1);
        touchPress(f.view->showFillingButton());
        CHECK(filling.count() == 0);
        f.clock.advanceInSteps(2500);
        CHECK(filling.count() == 0);
        touchRelease(f.view->showFillingButton());
        pumpEvents();
        CHECK(filling.count() == (spraying ? 0 : 1));
        CHECK(datastoreGetBool(DS_SOFT_MASTER_SWITCH) == 0);
    }
}

TEST_CASE("alarm button: shown while an alarm counts, hiding an open tool bar; gone with the last one")
{
    Screen f;
    // An active alarm not yet shown by the manager does not count.
    alarmDefine(5, 1, 60000, 0, 0, 0, 1, 0);
    alarmRaise(5);
    emit f.hub()->eventAlarmActivate(5);
    CHECK_FALSE(f.view->alarmButton()->isVisible());

    f.openToolBar();
    f.raiseShown(7);
    emit f.hub()->eventAlarmActivate(7);
    CHECK(f.view->alarmButton()->isVisible());
    CHECK_FALSE(f.view->toolBar()->isVisible());
    CHECK_SCREEN(f.screen(), "working_alarm_button");

    // A second alarm counts once the manager has shown it.
    Screen::raise(9);
    emit f.hub()->eventAlarmActivate(9);
    alarmClear(7);
    f.tickUntilShown(9);
    emit f.hub()->eventAlarmDeactivate(7);
    CHECK(f.view->alarmButton()->isVisible());
    emit f.hub()->isSpraying(true);
    CHECK(f.view->alarmButton()->isVisible());
    alarmClear(9);
    emit f.hub()->isSpraying(false);
    CHECK_FALSE(f.view->alarmButton()->isVisible());

    f.raiseShown(11);
    emit f.hub()->eventAlarmActivate(11);
    REQUIRE(f.view->alarmButton()->isVisible());
    alarmClear(11);
    emit f.hub()->eventAlarmDeactivate(11);
    CHECK_FALSE(f.view->alarmButton()->isVisible());
}

TEST_CASE("active-alarm list: ids in ascending order, at most seven lines, unknown titles as ???")
{
    struct Case {
        std::vector<uint32_t> active;
        int lines;
        bool more;
    };
    const Case cases[] = {{{}, 0, false},
                          {{53}, 1, false},
                          {{3, 1, 2}, 3, false},
                          {{1, 2, 3, 4, 5, 6, 7}, 7, false},
                          {{1, 2, 3, 4, 5, 6, 7, 8}, 7, true},
                          {{40, 2, 53, 9, 14, 30, 22, 5, 1}, 7, true}};
    for (const Case& c : cases) {
        CAPTURE(c.active.size());
        alarmInit(2);
        for (uint32_t id : c.active)
            alarmSetFlag(id, 1);
        std::vector<uint32_t> sorted = c.active;
        std::sort(sorted.begin(), sorted.end());
        QString expected;
        for (int i = 0; i < c.lines; ++i)
            expected += QStringLiteral("[#%1] %2\n")
                            .arg(QString::number(sorted[i]).rightJustified(3, ' '))
                            .arg(KSMPopupListener::PopupListener::alarmTitle(int(sorted[i])));
        if (c.more)
            expected += QStringLiteral("   ...   ");
        CHECK(WorkingViewCtrl::activeAlarmsText().toStdString() == expected.toStdString());
    }
    alarmInit(2);
    alarmSetFlag(53, 1);
    alarmSetFlag(4, 1);
    CHECK(WorkingViewCtrl::activeAlarmsText().endsWith("[# 53] ???\n"));
    CHECK(WorkingViewCtrl::activeAlarmsText().startsWith("[#  4] "));
    CHECK_FALSE(KSMPopupListener::PopupListener::alarmTitle(4).isEmpty());
    alarmInit(2);
}

TEST_CASE("active-alarm list: the alarm button shows it left-aligned for 60 s")
{
    Screen f;
    for (uint32_t id = 1; id <= 9; ++id)
        Screen::raise(id);
    f.tickUntilShown(1);
    emit f.hub()->eventAlarmActivate(9);
    tapButton(f.view->alarmButton());
    pumpEvents();
    auto* popup = qobject_cast<CPopupMessage*>(currentPopup());
    REQUIRE(popup != nullptr);
    CHECK(popup->kind() == CPopupMessage::KindWarning);
    const QStringList texts = popupTexts(popup);
    CHECK(texts.contains("All Active Alarms"));
    CHECK(texts.contains(WorkingViewCtrl::activeAlarmsText()));
    CHECK(popup->form()->textLabel()->alignment().testFlag(Qt::AlignLeft));
    CHECK(WorkingViewCtrl::activeAlarmsText().count('\n') == 7);
    CHECK_SCREEN(f.screen(), "working_alarm_list");
    f.clock.advanceInSteps(59000, 1000);
    CHECK(currentPopup() == popup);
    f.clock.advanceInSteps(2000, 1000);
    CHECK(currentPopup() != popup);
}

TEST_CASE("CAN speed back: triple beep and a question; Yes returns to the stored speed source, No does nothing")
{
    for (bool yes : {true, false}) {
        CAPTURE(yes);
        Screen f;
        f.setItem(DS_SPEED_SOURCE, 3);
        // The triple beep on the high line.
        const std::vector<uint32_t> triple{1, 1, 1};
        CHECK(f.buzzerStartsAfter([] { emit ScreenFixture::hub()->eventCanSpeedBack(); }, 3) == triple);
        auto* query = qobject_cast<CPopupQuery*>(currentPopup());
        REQUIRE(query != nullptr);
        const QStringList texts = popupTexts(query);
        CHECK(texts.contains("Speed Option"));
        CHECK(texts.contains("CAN speed has become available again.\nDo you want to go back to CAN speed again?"));
        if (yes)
            CHECK_SCREEN(f.screen(), "working_can_speed_question");
        takePostedEvents();
        tapPopupButton(query, yes ? "Yes" : "No");
        pumpEvents();
        CHECK(takePostedEvents() == (yes ? std::vector<PostedEvent>{{EV_USE_CAN_SPEED_AGAIN, 3}}
                                         : std::vector<PostedEvent>{}));
    }
}

TEST_CASE("screenshots: idle, spraying with sections open, with the tool bar")
{
    Screen f;
    f.setItem(DS_BOOST_PERCENT, 110);
    f.view->updateBoostLabel();
    f.tick100ms(6);
    CHECK_SCREEN(f.screen(), "working_idle");

    f.setItem(DS_SPRAYING_ACTIVE, 1);
    emit f.hub()->isSpraying(true);
    emit f.hub()->activeSectionStatusChanged(0x1F3);
    f.tick100ms(6);
    CHECK_SCREEN(f.screen(), "working_spraying");

    f.openToolBar();
    CHECK_SCREEN(f.screen(), "working_tool_bar");
}

TEST_CASE("screenshots: the screen under each colour scheme keeps every text inside its widget")
{
    using ToolsViewWidgets::ToolsViewConsoleDisplay;
    Screen f;
    f.setItem(DS_BOOST_PERCENT, 90);
    f.view->updateBoostLabel();
    f.raiseShown(7);
    emit f.hub()->eventAlarmActivate(7);
    f.setItem(DS_SPRAYING_ACTIVE, 1);
    emit f.hub()->isSpraying(true);
    emit f.hub()->activeSectionStatusChanged(0x0F);
    REQUIRE(f.view->alarmButton()->isVisible());
    REQUIRE(f.view->boostLabel()->isVisible());
    for (int scheme = 0; scheme < ToolsViewConsoleDisplay::schemeCount(); ++scheme) {
        CAPTURE(scheme);
        REQUIRE(applyStyleSheetResource(ToolsViewConsoleDisplay::styleSheetPath(scheme)));
        f.tick100ms(6);
        CHECK_SCREEN(f.screen(), QStringLiteral("working_scheme_%1").arg(scheme));
    }
    CHECK(ScreenFixture::applyStoredStyleSheet());
}
