#pragma once
// The fixture of the screen tests: a page of the console at 480x272 on the
// offscreen platform, over the real datastore, with everything the page gives
// out recorded. Header only; the program links the screen library under test
// (and guiscreens_console, for the style sheets).
//
//   TEST_CASE("...") {
//       ScreenFixture f;                         // metric; ScreenFixture f(UNIT_SYSTEM_US)
//       f.setItem(DS_TOP_INFO_LEFT, 3);          // datastore writes a refused value fails
//       auto* bar = new WorkTopInfoBarWidget(f.page());
//       f.place(bar, GuiGeometry::topInfoBarPos(), GuiGeometry::topInfoBarSize());
//       f.hub()->isSpraying(true);               // signal hub emitted by hand
//       f.tick100ms(6);                          // six 100 ms beats (clock and event100ms)
//       f.clock.advance(3000);                   // ClockTimer timeouts
//       CHECK(takePostedEvents() == ...);        // eventPost(...) calls, in order
//       CHECK(takeProcessCalls() == ...);        // direct processEvent(...) calls, in order
//       CHECK(takeDebugText() == "...");         // debugPrintf text
//       CHECK(takeBuzzerStarts() == 1);          // beeps
//       CHECK_SCREEN(f.screen(), "top_bar_idle"); // screen_check.h
//   }
//
// The fixture gives: the program's own stand-in root (doctest_main), a fresh
// datastore with every item 0 and the memory pool (core_record.h), or the real
// core's store when core_inprocess.h started the core, the unit
// table in the chosen system, posted events, debug text, buzzer levels and
// direct dispatcher calls recorded, the manual clock, GuiGeometry fixed to the
// 480x272 panel (type 3), locale en_US and time zone UTC, the stored colour
// scheme's style sheet applied (scheme 0 on a fresh store) with its font's
// stand-in installed, and one 480x272 screen widget for the whole
// program holding the overlay manager (pop-ups appear on it, over the page).
// page() is a fresh 480x272 page on that screen, deleted with the fixture;
// stray top-level windows (keypads, grids) are closed at the end of each test.
#include <cstdlib>
#include <ctime>

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QPointer>
#include <QWidget>

#include <doctest/doctest.h>

#include "core_record.h"
#include "coverlaymanager.h"
#include "csplashbuttonwidget.h"
#include "datastore.h"
#include "eventsignals.h"
#include "gui_test.h"
#include "guigeometry.h"
#include "toolsviewconsoledisplay.h"

// The locale and time zone every screen test runs in.
inline void pinLocaleAndTimeZone()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    setenv("TZ", "UTC", 1);
    tzset();
}

// The console's screen: 480x272 at the origin, with the overlay manager.
inline QWidget& consoleTestScreen()
{
    static QWidget* widget = [] {
        guiApplication();
        pinLocaleAndTimeZone();
        GuiGeometry::setDesignType(3);
        GuiGeometry::setDisplayType(3);
        ToolsViewWidgets::ToolsViewConsoleDisplay::installSheetFont();
        // Frameless, so that its global coordinates are the screen's own.
        auto* w = new QWidget(nullptr, Qt::FramelessWindowHint);
        w->setObjectName("testScreen");
        w->setGeometry(0, 0, 480, 272);
        COverlayManager::createInstance(w);
        COverlayManager::instance()->setArea(480, 272);
        w->show();
        return w;
    }();
    return *widget;
}

// Reads a style sheet resource and applies it to the whole application.
inline bool applyStyleSheetResource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    qApp->setStyleSheet(QString::fromLatin1(file.readAll()));
    return true;
}

struct ScreenFixture : WithGuiApplication {
    explicit ScreenFixture(uint32_t unitSystem = UNIT_SYSTEM_METRIC)
    {
        consoleTestScreen();
        REQUIRE(coreStoreStart());
        if (!coreRunsInProcess())
            REQUIRE(datastoreInit(2) == 0);
        REQUIRE(unitTableStart(unitSystem));
        REQUIRE(applyStoredStyleSheet());
        mPage = new QWidget(&consoleTestScreen());
        mPage->setObjectName("testPage");
        mPage->setGeometry(0, 0, 480, 272);
        mPage->show();
        // The overlay layer stays above every page.
        COverlayManager::instance()->backplane()->raise();
        pumpEvents();
        takePostedEvents();
        takeProcessCalls();
        takeDebugText();
        takeBuzzerLevels();
    }
    ~ScreenFixture()
    {
        delete mPage;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window != &consoleTestScreen() && window->isVisible())
                window->close();
        pumpEvents();
    }
    ScreenFixture(const ScreenFixture&) = delete;
    ScreenFixture& operator=(const ScreenFixture&) = delete;

    static EvSignal::EventSignals* hub() { return EvSignal::EventSignals::instance(); }
    static QWidget* screen() { return &consoleTestScreen(); }
    // The page the test builds on: 480x272, below the overlay layer.
    QWidget* page() const { return mPage; }

    // Places a widget on the page at a working-screen geometry and shows it.
    void place(QWidget* widget, QPoint pos, QSize size)
    {
        widget->setParent(mPage);
        widget->setGeometry(QRect(pos, size));
        widget->show();
        pumpEvents();
    }

    // The stored colour scheme's sheet (DS_DAY_STYLE, DS_NIGHT_STYLE, DS_NIGHT_MODE).
    static bool applyStoredStyleSheet()
    {
        return applyStyleSheetResource(ToolsViewWidgets::ToolsViewConsoleDisplay::applyStoredStyle());
    }

    // A value the store refuses fails the test: the case would not be what it says.
    static void setItem(uint32_t id, uint32_t value) { REQUIRE(datastoreSetFromUint32(id, value) == 0); }
    static void setItemFloat(uint32_t id, float value) { REQUIRE(datastoreSetFromFloat(id, value) == 0); }

    // count beats of the 100 ms refresh: the clock moves on and the hub emits event100ms().
    void tick100ms(int count = 1)
    {
        for (int i = 0; i < count; ++i) {
            clock.advance(100);
            hub()->event100ms();
            pumpEvents(1);
        }
    }

    ManualClock clock;
    DebugRecorder debug;
    BuzzerRecorder buzzer;
    CallRecorder calls;

private:
    QPointer<QWidget> mPage;
};
