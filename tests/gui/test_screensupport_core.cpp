// The screen fixture over the real process core started in the test's process:
// posted events reach the core and are recorded, the core's signals reach the page.
#include "core_inprocess.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "screen_fixture.h"

#include <doctest/doctest.h>

#include <QSignalSpy>

TEST_CASE("the real core in the process: posted events are handled and recorded, ticks reach the hub")
{
    guiApplication();
    REQUIRE(coreStartInProcess());
    ScreenFixture f;
    QSignalSpy cleared(f.hub(), &EvSignal::EventSignals::eventClearBoostPct);
    QSignalSpy beat(f.hub(), &EvSignal::EventSignals::event100ms);

    processEvent(EV_SET_BOOST, 150);
    CHECK(datastoreGetUint16(DS_BOOST_PERCENT) == 150);
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_BOOST, 150}});

    eventPost(2, EV_SET_BOOST, 100);
    const std::vector<PostedEvent> posted = takePostedEvents();
    CHECK(hasEvent(posted, EV_SET_BOOST, 100));
    CHECK(datastoreGetUint16(DS_BOOST_PERCENT) == 100);
    CHECK(cleared.count() == 1);
    // The queued event passed the dispatcher too.
    CHECK(hasEvent(takeProcessCalls(), EV_SET_BOOST, 100));

    runCoreEvent(EV_TICK_100MS, 0);
    CHECK(beat.count() == 1);
}
