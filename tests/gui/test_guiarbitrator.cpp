#include "datastore.h"
#include "dscatalogue.h"
#include "gui_test.h"
#include "guiarbitrator.h"
#include "guigeometry.h"
#include "homeviewctrl.h"
#include "kestrompushbutton.h"
#include "mainwindow.h"
#include "nozimage.h"
#include "toolsviewconfigfilling.h"
#include "workingviewctrl.h"

#include <doctest/doctest.h>

namespace {

// A page-mode value the arbitrator never writes, to see whether it wrote one.
constexpr uint16_t untouchedPageMode = 2;

struct Arbitrator : WithGuiApplication {
    Arbitrator()
    {
        REQUIRE(datastoreInit(2) == 0);
        guiInitResources();
        GuiGeometry::setDesignType(3);
        GuiGeometry::setDisplayType(3);
        REQUIRE(datastoreSetBool(DS_MASTER_SWITCH, 0) == 0);
        REQUIRE(datastoreSetUint16(DS_PAGE_MODE, untouchedPageMode) == 0);
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
    // Touches the named button of a view, which must be the one shown.
    void touch(int view, const char* name)
    {
        REQUIRE(arbitrator->currentIndex() == view);
        auto* button = arbitrator->view(view)->findChild<KestromPushButton*>(QString::fromLatin1(name));
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
        f.touch(GuiArbitrator::WorkingView, "homeButton");
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
    Arbitrator f;
    f.touch(GuiArbitrator::WorkingView, "fillButton");
    CHECK(f.arbitrator->currentIndex() == GuiArbitrator::FillingPage1);
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == untouchedPageMode);
    f.touch(GuiArbitrator::FillingPage1, "nextButton");
    CHECK(f.arbitrator->currentIndex() == GuiArbitrator::FillingPage2);
    f.touch(GuiArbitrator::FillingPage2, "nextButton");
    CHECK(f.arbitrator->currentIndex() == GuiArbitrator::FillingPage1);
    f.arbitrator->showNextPage();
    f.touch(GuiArbitrator::FillingPage2, "backButton");
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
