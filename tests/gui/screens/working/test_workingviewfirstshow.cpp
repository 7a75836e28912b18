// The working screen tells the core once per program run that the operator
// sees it: a program of its own, as the notice is process-wide.
#include "dscatalogue.h"
#include "eventids.h"
#include "screen_fixture.h"
#include "workingviewctrl.h"

#include <doctest/doctest.h>

TEST_CASE("the first show posts the shown notice once; later shows, of any instance, post nothing")
{
    ScreenFixture f;
    auto* view = new WorkingViewCtrl(f.page());
    view->setGeometry(0, 0, 480, 272);
    pumpEvents();
    CHECK(takePostedEvents().empty());
    view->show();
    pumpEvents();
    CHECK(takePostedEvents() == std::vector<PostedEvent>{{EV_WORK_SCREEN_SHOWN, 0}});
    view->hide();
    view->show();
    auto* second = new WorkingViewCtrl(f.page());
    second->show();
    pumpEvents();
    CHECK(takePostedEvents().empty());
}
