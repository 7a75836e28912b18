#include "cformwidget.h"
#include "core_inprocess.h"
#include "coverlaymanager.h"
#include "cpopupquery.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "eventsignals.h"
#include "greyfellcommon.h"
#include "gui_test.h"
#include "guiarbitrator.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "mainwindow.h"
#include "screen_check.h"
#include "screenshot.h"
#include "test_root.h"
#include "test_wait.h"
#include "toolsviewconsoledisplay.h"
#include "workingviewctrl.h"

#include <QRegularExpression>

#include <doctest/doctest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>

#include <vector>

namespace {

std::vector<uint32_t> postedEvents;

void recordEvent(uint32_t id, uint32_t)
{
    postedEvents.push_back(id);
}

// The settings entry's diagnostics and installer menus read the board: the
// core runs in the process, started before the window's own system root.
struct CoreStarted {
    CoreStarted()
    {
        guiApplication();
        REQUIRE(coreStartInProcess());
    }
};

struct Window : WithGuiApplication, CoreStarted {
    explicit Window(bool touchOperation = false, bool stick = true)
    {
        GuiGeometry::setDesignType(3);
        GuiGeometry::setDisplayType(3);
        REQUIRE(datastoreSetBool(DS_SCREENSHOT_ENABLED, 1) == 0);
        REQUIRE(datastoreSetBool(DS_TOUCH_OPERATION, touchOperation) == 0);
        REQUIRE(datastoreSetBool(DS_SOFT_MASTER_SWITCH, 0) == 0);
        stickDir = GreyfellCommon::usbRootPath();
        if (stick)
            REQUIRE(QDir().mkpath(stickDir));
        window = new MainWindow(nullptr);
        window->show();
        pumpEvents();
        postedEvents.clear();
        eventSetCallback(recordEvent);
    }
    ~Window()
    {
        delete window;
        pumpEvents();
    }
    static EvSignal::EventSignals* hub() { return EvSignal::EventSignals::instance(); }
    CPopupQuery* shownQuery() const
    {
        return qobject_cast<CPopupQuery*>(COverlayManager::instance()->currentOverlay());
    }
    static QString titleOf(CPopupQuery* query)
    {
        auto* form = query->findChild<CFormWidget*>();
        return form != nullptr && form->titleLabel() != nullptr ? form->titleLabel()->text() : QString();
    }
    int queriesOpen() const { return window->findChildren<CPopupQuery*>().size(); }
    TestRoot root;
    QString stickDir;
    MainWindow* window;
};

}  // namespace

// First in the file: the screenshot directory is found once per process, on
// the stick of the first window's board.
TEST_CASE("screenshots: free names on the stick, the screen without the camera button")
{
    Window f;
    const QDir stick(f.stickDir);
    tap(f.window->cameraButton());
    pumpEvents();
    REQUIRE(stick.exists("shot000.png"));
    tap(f.window->cameraButton());
    pumpEvents();
    CHECK(stick.exists("shot001.png"));
    f.window->takeScreenShot();
    CHECK(stick.exists("shot002.png"));

    const QImage shot(stick.filePath("shot002.png"));
    REQUIRE(shot.size() == QSize(480, 272));
    const QImage onScreen = f.window->grab().toImage();
    const QPoint lens = f.window->cameraButton()->geometry().center();
    CHECK(onScreen.pixel(lens) != shot.pixel(lens));
    const QPoint away(300, 100);
    CHECK(onScreen.pixel(away) == shot.pixel(away));
    CHECK(QFileInfo(screenShotFileName()).fileName() == "shot002.png");
}

TEST_CASE("the main window covers the 480 x 272 screen and starts on the working screen")
{
    Window f;
    CHECK(f.window->size() == QSize(480, 272));
    CHECK(f.window->maximumSize() == QSize(480, 272));
    CHECK(f.window->arbitrator()->currentIndex() == GuiArbitrator::WorkingView);
    auto* working = qobject_cast<WorkingViewCtrl*>(f.window->arbitrator()->view(GuiArbitrator::WorkingView));
    REQUIRE(working != nullptr);
    for (const char* part : {"m_topInfoView", "m_sprayTankView", "m_nozzleInfoView", "m_dropletSizeView", "m_boomView"}) {
        CAPTURE(part);
        QWidget* child = working->findChild<QWidget*>(QString::fromLatin1(part));
        REQUIRE(child != nullptr);
        CHECK(child->isVisible());
    }
    {
        // In the console's own look, as the program applies it at start.
        QFile sheet(ToolsViewWidgets::ToolsViewConsoleDisplay::applyStoredStyle());
        REQUIRE(sheet.open(QIODevice::ReadOnly));
        qApp->setStyleSheet(QString::fromLatin1(sheet.readAll()));
        CHECK_SCREEN(f.window, "main_window_working");
        qApp->setStyleSheet(QString());
    }
    KestromPushButton* camera = f.window->cameraButton();
    CHECK(camera->isVisible());
    CHECK(camera->isEnabled());
    CHECK(camera->geometry().bottomLeft() == QPoint(0, 272 - 3 - 1));
}

TEST_CASE("the camera button follows the setting and the stick")
{
    Window f;
    KestromPushButton* camera = f.window->cameraButton();
    emit f.hub()->eventScreenShotEnabled(false);
    CHECK_FALSE(camera->isVisible());
    emit f.hub()->eventScreenShotEnabled(true);
    CHECK(camera->isVisible());

    REQUIRE(QDir(f.stickDir).removeRecursively());
    CHECK(waitFor([&] {
        pumpEvents(1);
        return !camera->isEnabled();
    }, 5000));
}

TEST_CASE("power button without touch operation: one query; Yes powers down, No does nothing")
{
    Window f;
    emit f.hub()->eventPowerButtonPressed();
    pumpEvents();
    CPopupQuery* query = f.shownQuery();
    REQUIRE(query != nullptr);
    CHECK(Window::titleOf(query) == "Power Down");
    emit f.hub()->eventPowerButtonPressed();
    emit f.hub()->eventPowerButtonRelease();
    pumpEvents();
    CHECK(f.shownQuery() == query);
    CHECK(f.queriesOpen() == 1);

    query->respond(0);
    pumpEvents();
    CHECK(postedEvents.empty());

    emit f.hub()->eventPowerButtonPressed();
    pumpEvents();
    query = f.shownQuery();
    REQUIRE(query != nullptr);
    query->respond(1);
    pumpEvents();
    CHECK(postedEvents == std::vector<uint32_t>{EV_POWER_DOWN});
    CHECK(datastoreGetBool(DS_SOFT_MASTER_SWITCH) == 0);
}

TEST_CASE("power button in touch operation: a press shorter than 2000 ms toggles the soft master switch, a hold asks")
{
    Window f(true);
    ManualClock clock;
    emit f.hub()->eventPowerButtonPressed();
    clock.advance(1999);
    CHECK(f.shownQuery() == nullptr);
    emit f.hub()->eventPowerButtonRelease();
    pumpEvents();
    CHECK(datastoreGetBool(DS_SOFT_MASTER_SWITCH) == 1);
    clock.advance(5000);
    CHECK(f.shownQuery() == nullptr);

    // Held 2000 ms: the query opens while the button is still down; the release toggles nothing.
    emit f.hub()->eventPowerButtonPressed();
    clock.advance(2000);
    CPopupQuery* query = f.shownQuery();
    REQUIRE(query != nullptr);
    CHECK(Window::titleOf(query) == "Power Down");
    emit f.hub()->eventPowerButtonRelease();
    pumpEvents();
    CHECK(datastoreGetBool(DS_SOFT_MASTER_SWITCH) == 1);

    SUBCASE("No: nothing is posted, and the next short press toggles again")
    {
        query->respond(0);
        pumpEvents();
        CHECK(postedEvents.empty());
        emit f.hub()->eventPowerButtonPressed();
        emit f.hub()->eventPowerButtonRelease();
        pumpEvents();
        CHECK(datastoreGetBool(DS_SOFT_MASTER_SWITCH) == 0);
    }
    SUBCASE("a new press while the query is open starts over: a short one toggles, a hold asks again")
    {
        emit f.hub()->eventPowerButtonPressed();
        emit f.hub()->eventPowerButtonRelease();
        pumpEvents();
        CHECK(datastoreGetBool(DS_SOFT_MASTER_SWITCH) == 0);
        emit f.hub()->eventPowerButtonPressed();
        clock.advance(2000);
        emit f.hub()->eventPowerButtonRelease();
        pumpEvents();
        CHECK(f.shownQuery() == query);
        CHECK(COverlayManager::instance()->queuedCount() == 1);  // the second, behind the first
        CHECK(datastoreGetBool(DS_SOFT_MASTER_SWITCH) == 0);
    }
}
