#include "alarmpopuplistener.h"
#include "buttongridwidget.h"
#include "beep.h"
#include "coverlaymanager.h"
#include "cpopupmessage.h"
#include "datastore.h"
#include "eventsignals.h"
#include "gui_test.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "numerickeypadwidget.h"

#include <doctest/doctest.h>

#include <QLineEdit>
#include <QSignalSpy>

using KSMPopupListener::PopupListener;

namespace {

void noBuzzer(uint32_t, uint32_t)
{
}

// The console's screen with its overlay layer and a page on it, for the whole
// program: the listener and its pop-up live as long as the process.
struct Screen {
    Screen()
    {
        guiApplication();
        GuiGeometry::setDesignType(3);
        GuiGeometry::setDisplayType(3);
        window = new QWidget;
        window->resize(480, 272);
        COverlayManager::createInstance(window);
        COverlayManager::instance()->setArea(480, 272);
        page = new QWidget(window);
        page->resize(480, 272);
        window->show();
    }
    QWidget* window;
    QWidget* page;
};

Screen& screen()
{
    static Screen s;
    return s;
}

struct AlarmOverPage {
    AlarmOverPage()
    {
        screen();
        REQUIRE(datastoreInit(2) == 0);
        beepSetLineWriter(noBuzzer);
        beepInit();
        listener = PopupListener::instance();
    }
    ~AlarmOverPage()
    {
        EvSignal::EventSignals::instance()->eventAlarmDeactivate(UINT16(listener->shownAlarm()));
        pumpEvents();
    }
    void open(QWidget* popup)
    {
        popup->move(screen().page->mapToGlobal(GuiGeometry::centeredPosition(popup->width(), popup->height())));
        popup->show();
        REQUIRE(QApplication::activeModalWidget() == popup);
    }
    void raise(int id)
    {
        EvSignal::EventSignals::instance()->eventAlarmActivate(UINT16(id));
        pumpEvents();
    }
    bool alarmOnTop() const
    {
        CPopupMessage* popup = listener->popup();
        return COverlayManager::instance()->currentOverlay() == popup && popup->isVisible() &&
               QApplication::activeModalWidget() == nullptr;
    }
    PopupListener* listener;
};

}  // namespace

TEST_CASE("an alarm raised with the keypad open closes it uncommitted and is seen at once")
{
    AlarmOverPage f;
    NumericKeypadWidget* keypad = new NumericKeypadWidget("Tank content l", screen().page);
    QSignalSpy committed(keypad, &NumericKeypadWidget::commitValue);
    keypad->setValue(1200);
    keypad->setRange(0, 5000, 0, "l");
    f.open(keypad);
    keypad->entry()->setText("2500");  // typed, not yet accepted

    f.raise(9);
    CHECK(f.alarmOnTop());
    CHECK_FALSE(keypad->isVisible());
    CHECK(committed.isEmpty());

    // Reopened by its page afterwards, it starts afresh and commits as before.
    EvSignal::EventSignals::instance()->eventAlarmDeactivate(9);
    pumpEvents();
    keypad->setValue(1200);
    f.open(keypad);
    keypad->acceptPressed();
    REQUIRE(committed.count() == 1);
    CHECK(committed.at(0).at(0).toDouble() == 1200);
    delete keypad;
}

TEST_CASE("an alarm raised with a button grid open closes it without a choice")
{
    AlarmOverPage f;
    ButtonGridWidget* grid = new ButtonGridWidget(screen().page);
    QSignalSpy chosen(grid, &ButtonGridWidget::commitSelection);
    for (int id = 0; id < 9; ++id)
        REQUIRE(grid->addButton(new KestromPushButton(id, nullptr)));
    REQUIRE(grid->layoutPage());
    f.open(grid);

    f.raise(45);
    CHECK(f.alarmOnTop());
    CHECK_FALSE(grid->isVisible());
    CHECK(chosen.isEmpty());

    // An alarm that rewrites the shown pop-up closes a grid opened meanwhile too.
    f.open(grid);
    f.raise(46);
    CHECK(f.alarmOnTop());
    CHECK_FALSE(grid->isVisible());
    CHECK(chosen.isEmpty());
    delete grid;
}
