// The console menu in the main window, by touch, with the process core in this
// process (console_walk.h): the screenshot mode chosen on display page 2 goes
// through the store's change event to the window's camera button; home from a
// console page leaves the menu on its top page for the next visit.
#include "console_walk.h"
#include "screen_drive.h"

#include <doctest/doctest.h>

TEST_CASE("the console menu in the main window")
{
    ConsoleWalk walk;
    KestromPushButton* camera = walk.window()->cameraButton();
    REQUIRE(camera != nullptr);
    REQUIRE(datastoreGetBool(DS_SCREENSHOT_ENABLED) == 0);
    CHECK_FALSE(camera->isVisible());

    {
        INFO("Enable for screenshot writes the item and the camera button appears; Disable hides it");
        walk.open(walkPage("console"));
        walk.touch("m_btnDisplay", "display");
        walk.touch("nextButton", "display2");
        REQUIRE(pathwayShows("Console->Display (2)"));
        struct Case {
            int option;
            bool enabled;
        };
        for (const Case c : {Case{1, true}, Case{0, false}}) {
            CAPTURE(c.option);
            walk.touch("m_btnScreenShot", "grid");
            ButtonGridWidget* grid = shownButtonGrid();
            REQUIRE(grid != nullptr);
            walk.touch(gridOption(grid, c.option), "display2");
            CHECK(datastoreGetBool(DS_SCREENSHOT_ENABLED) == (c.enabled ? 1 : 0));
            CHECK(camera->isVisible() == c.enabled);
        }
        walk.returnHome();
    }

    {
        INFO("home from the about page, then the console button: the menu's top page");
        walk.open(walkPage("console"));
        walk.touch("m_btnAbout", "about");
        REQUIRE(pathwayShows("Console->About"));
        walk.touch("homeButton", "home");
        REQUIRE(pageShown("HomeViewCtrl"));
        walk.touch("homeButton4", "console");
        CHECK(pathwayShows("Console Settings"));
        CHECK(walk.shown("m_btnDisplay")->isVisible());
        walk.returnHome();
    }
}
