#include "core_inprocess.h"
#include "datacampaign.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "gui_test.h"
#include "guiarbitrator.h"
#include "guigeometry.h"
#include "homeviewctrl.h"
#include "kestrompushbutton.h"
#include "mainwindow.h"
#include "nozimage.h"
#include "screen_drive.h"
#include "toolsviewconfigfilling.h"
#include "toolsviewconfigfilling2.h"
#include "toolsviewconfigmachine.h"
#include "toolsviewconfiguration.h"
#include "toolsviewdata.h"
#include "workingviewctrl.h"
#include "worktoolbarwidget.h"

#include <doctest/doctest.h>

#include <QStackedWidget>

namespace {

// A page-mode value the arbitrator never writes, to see whether it wrote one.
constexpr uint16_t untouchedPageMode = 2;

struct Arbitrator : WithGuiApplication {
    Arbitrator()
    {
        // The settings entry's diagnostics and installer menus read the board.
        REQUIRE(coreStartInProcess());
        guiInitResources();
        GuiGeometry::setDesignType(3);
        GuiGeometry::setDisplayType(3);
        REQUIRE(datastoreSetBool(DS_MASTER_SWITCH, 0) == 0);
        REQUIRE(datastoreSetUint16(DS_PAGE_MODE, untouchedPageMode) == 0);
        // A tap on the tank opens the filling view (no two-second hold).
        REQUIRE(datastoreSetBool(DS_TOUCH_OPERATION, 0) == 0);
        screen.resize(480, 272);
        arbitrator = new GuiArbitrator(&screen);
        screen.show();
        pumpEvents();
    }
    KestromPushButton* homeButton(int id)
    {
        return arbitrator->view(GuiArbitrator::HomeView)
            ->findChild<KestromPushButton*>(QStringLiteral("homeButton%1").arg(id));
    }
    WorkingViewCtrl* workingScreen() const
    {
        return qobject_cast<WorkingViewCtrl*>(arbitrator->view(GuiArbitrator::WorkingView));
    }
    // The working screen's way home: its tool bar, then the bar's home button.
    void homeFromWorkingScreen()
    {
        REQUIRE(arbitrator->currentIndex() == GuiArbitrator::WorkingView);
        tap(workingScreen()->showToolBarButton());
        pumpEvents();
        auto* home = workingScreen()->toolBar()->findChild<KestromPushButton*>(QStringLiteral("m_btnHome"));
        REQUIRE(home != nullptr);
        REQUIRE(home->isVisible());
        tap(home);
        pumpEvents();
        CHECK_FALSE(workingScreen()->toolBar()->isVisible());
    }
    // Touches the named button of a view, which must be the one shown.
    void touch(int view, const char* name)
    {
        REQUIRE(arbitrator->currentIndex() == view);
        // A menu holds pages of its own: the shown one's button.
        KestromPushButton* button = nullptr;
        for (KestromPushButton* candidate :
             arbitrator->view(view)->findChildren<KestromPushButton*>(QString::fromLatin1(name)))
            if (candidate->isVisible())
                button = candidate;
        REQUIRE(button != nullptr);
        REQUIRE(button->isVisible());
        tap(button);
        pumpEvents();
    }
    QWidget screen;
    GuiArbitrator* arbitrator;
};

}  // namespace

TEST_CASE("the console starts on the working screen without writing the page mode")
{
    Arbitrator f;
    CHECK(f.arbitrator->currentIndex() == GuiArbitrator::WorkingView);
    CHECK(qobject_cast<WorkingViewCtrl*>(f.arbitrator->view(GuiArbitrator::WorkingView)) != nullptr);
    CHECK(qobject_cast<ToolsViewWidgets::ToolsViewConfigFilling*>(f.arbitrator->view(6)) != nullptr);
    CHECK(f.arbitrator->geometry() == QRect(0, 0, 480, 272));
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == untouchedPageMode);
}

TEST_CASE("home buttons 1 to 5 open views 1 to 5; only the working screen sets page mode 0")
{
    Arbitrator f;
    for (int id = 1; id <= 5; ++id) {
        CAPTURE(id);
        f.homeFromWorkingScreen();
        CHECK(f.arbitrator->currentIndex() == GuiArbitrator::HomeView);
        CHECK(datastoreGetUint16(DS_PAGE_MODE) == 4);
        KestromPushButton* button = f.homeButton(id);
        REQUIRE(button != nullptr);
        CHECK(button->minimumSize() == GuiGeometry::homeViewButtonSize());
        tap(button);
        pumpEvents();
        CHECK(f.arbitrator->currentIndex() == id);
        CHECK(datastoreGetUint16(DS_PAGE_MODE) == (id == 1 ? 0 : 4));
        if (id != 1) {
            // Every menu leads back home.
            f.touch(id, "homeButton");
            CHECK(f.arbitrator->currentIndex() == GuiArbitrator::HomeView);
            f.arbitrator->showWorkView();
        }
    }
}

TEST_CASE("home from a counter page leaves the data menu on its top page for the next visit")
{
    Arbitrator f;
    f.arbitrator->showHomeView();
    auto* data = qobject_cast<ToolsViewWidgets::ToolsViewData*>(f.arbitrator->view(GuiArbitrator::DataMenu));
    REQUIRE(data != nullptr);
    tap(f.homeButton(GuiArbitrator::DataMenu));
    pumpEvents();
    f.touch(GuiArbitrator::DataMenu, "m_campaignButton");
    CHECK(data->pageStack()->currentIndex() == data->pageStack()->indexOf(data->campaignPage()));
    f.touch(GuiArbitrator::DataMenu, "homeButton");
    CHECK(f.arbitrator->currentIndex() == GuiArbitrator::HomeView);
    tap(f.homeButton(GuiArbitrator::DataMenu));
    pumpEvents();
    CHECK(f.arbitrator->currentIndex() == GuiArbitrator::DataMenu);
    CHECK(data->pageStack()->currentIndex() == 0);
}

TEST_CASE("home from the machine menu leaves the settings entry on its top page for the next visit")
{
    using ToolsViewWidgets::ToolsViewConfiguration;
    Arbitrator f;
    f.arbitrator->showHomeView();
    auto* settings = qobject_cast<ToolsViewConfiguration*>(f.arbitrator->view(GuiArbitrator::SettingsMenu));
    REQUIRE(settings != nullptr);
    tap(f.homeButton(GuiArbitrator::SettingsMenu));
    pumpEvents();
    f.touch(GuiArbitrator::SettingsMenu, "m_machineButton");
    CHECK(settings->pageStack()->currentWidget() == settings->machineMenu());
    f.touch(GuiArbitrator::SettingsMenu, "m_operationButton");
    f.touch(GuiArbitrator::SettingsMenu, "homeButton");
    CHECK(f.arbitrator->currentIndex() == GuiArbitrator::HomeView);
    tap(f.homeButton(GuiArbitrator::SettingsMenu));
    pumpEvents();
    CHECK(f.arbitrator->currentIndex() == GuiArbitrator::SettingsMenu);
    CHECK(settings->pageStack()->currentIndex() == 0);
    CHECK(settings->machineMenu()->pageStack()->currentIndex() == 0);
}

TEST_CASE("home buttons do nothing while the master valve is on")
{
    Arbitrator f;
    f.arbitrator->showHomeView();
    REQUIRE(datastoreSetBool(DS_MASTER_SWITCH, 1) == 0);
    REQUIRE(datastoreSetUint16(DS_PAGE_MODE, untouchedPageMode) == 0);
    for (int id = 1; id <= 5; ++id) {
        tap(f.homeButton(id));
        pumpEvents();
        CHECK(f.arbitrator->currentIndex() == GuiArbitrator::HomeView);
    }
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == untouchedPageMode);
    REQUIRE(datastoreSetBool(DS_MASTER_SWITCH, 0) == 0);
    tap(f.homeButton(1));
    pumpEvents();
    CHECK(f.arbitrator->currentIndex() == GuiArbitrator::WorkingView);
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == 0);
}

TEST_CASE("the filling pages: next toggles between the two, back returns to the working screen")
{
    using ToolsViewWidgets::ToolsViewButtonBar;
    Arbitrator f;
    // With a fill-flow sensor the first page offers automatic filling.
    REQUIRE(datastoreSetBool(DS_FILL_FLOW_SENSOR_PRESENT, 1) == 0);
    REQUIRE(f.arbitrator->currentIndex() == GuiArbitrator::WorkingView);
    tap(f.workingScreen()->showFillingButton());
    pumpEvents();
    REQUIRE(f.arbitrator->currentIndex() == GuiArbitrator::FillingPage1);
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == untouchedPageMode);
    QWidget* page1 = f.arbitrator->view(GuiArbitrator::FillingPage1);
    QWidget* page2 = f.arbitrator->view(GuiArbitrator::FillingPage2);
    CHECK(qobject_cast<ToolsViewWidgets::ToolsViewConfigFilling2*>(page2) != nullptr);
    // The working screen's own instances have no way home.
    CHECK_FALSE(buttonBarButton(page1, ToolsViewButtonBar::Home)->isVisible());

    tapButtonBar(page1, ToolsViewButtonBar::Next);
    REQUIRE(f.arbitrator->currentIndex() == GuiArbitrator::FillingPage2);
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == 3);
    CHECK_FALSE(buttonBarButton(page2, ToolsViewButtonBar::Home)->isVisible());
    tapButtonBar(page2, ToolsViewButtonBar::Next);
    CHECK(f.arbitrator->currentIndex() == GuiArbitrator::FillingPage1);
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == 0);
    f.arbitrator->showNextPage();
    REQUIRE(datastoreSetUint16(DS_PAGE_MODE, untouchedPageMode) == 0);
    tapButtonBar(page2, ToolsViewButtonBar::Back);
    CHECK(f.arbitrator->currentIndex() == GuiArbitrator::WorkingView);
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == 0);
}

TEST_CASE("next page outside the filling pages leaves the view")
{
    Arbitrator f;
    for (int view : {GuiArbitrator::WorkingView, GuiArbitrator::HomeView, GuiArbitrator::ConsoleMenu}) {
        CAPTURE(view);
        f.arbitrator->showSelectedPage(view);
        f.arbitrator->showNextPage();
        CHECK(f.arbitrator->currentIndex() == view);
    }
}
