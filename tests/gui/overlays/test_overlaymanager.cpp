#include "overlay_probe.h"

#include <doctest/doctest.h>

#include <random>

TEST_CASE("the queue: equal priorities in arrival order, higher priorities first")
{
    QStringList log;  // outlives the overlays the host closes
    OverlayHost host;
    ProbeOverlay* a = new ProbeOverlay("a", &log);
    ProbeOverlay* b = new ProbeOverlay("b", &log);
    ProbeOverlay* c = new ProbeOverlay("c", &log);
    ProbeOverlay* d = new ProbeOverlay("d", &log);
    CHECK(host.manager->addOverlay(a, 0));
    CHECK(host.manager->addOverlay(b, 0));
    CHECK(host.manager->addOverlay(c, 0));
    CHECK(host.manager->addOverlay(d, 1));  // before b and c, not before the shown a
    CHECK(host.manager->currentOverlay() == a);
    CHECK(a->isShown());
    CHECK(host.backplaneUp());
    CHECK(d->queuedBehind == 1);  // inserted before b
    CHECK(b->queuedBehind == 1);  // c came behind it
    CHECK(a->queuedBehind == 0);  // the shown one is not told

    for (ProbeOverlay* next : {d, b, c}) {
        host.manager->currentOverlay()->requestClose();
        pumpEvents();
        CHECK(host.manager->currentOverlay() == next);
    }
    c->requestClose();
    pumpEvents();
    CHECK(host.manager->currentOverlay() == nullptr);
    CHECK_FALSE(host.backplaneUp());
    CHECK(log == QStringList({"a:shown", "a:closed", "d:shown", "d:closed", "b:shown", "b:closed", "c:shown",
                              "c:closed"}));
    CHECK(ProbeOverlay::live().empty());
}

TEST_CASE("refused additions change nothing")
{
    OverlayHost host;
    ProbeOverlay* shown = new ProbeOverlay("shown", nullptr);
    ProbeOverlay* queued = new ProbeOverlay("queued", nullptr);
    ProbeOverlay* behind = new ProbeOverlay("behind", nullptr);
    REQUIRE(host.manager->addOverlay(shown, 0));
    REQUIRE(host.manager->addOverlay(queued, 0));
    REQUIRE(host.manager->addOverlay(behind, 0));
    CHECK_FALSE(host.manager->addOverlay(shown, 0));
    CHECK_FALSE(host.manager->addOverlay(queued, 2));
    CHECK_FALSE(host.manager->addOverlay(behind, 3));
    CHECK_FALSE(host.manager->addOverlay(nullptr, 0));
    CHECK(host.manager->currentOverlay() == shown);
    CHECK(host.manager->queuedCount() == 2);
    shown->requestClose();
    pumpEvents();
    CHECK(host.manager->currentOverlay() == queued);

    SUBCASE("priority -1000 leaves the overlay detached; closing it then does nothing")
    {
        ProbeOverlay* loose = new ProbeOverlay("loose", nullptr);
        CHECK_FALSE(host.manager->addOverlay(loose, COverlayManager::PriorityNoQueue));
        CHECK(loose->manager() == nullptr);
        loose->requestClose();
        pumpEvents();
        CHECK(ProbeOverlay::isAlive(loose));
        delete loose;
    }
}

TEST_CASE("priority 3 pre-empts the shown overlay, which comes back after it")
{
    QStringList log;  // outlives the overlays the host closes
    OverlayHost host;
    ProbeOverlay* page = new ProbeOverlay("page", &log);
    ProbeOverlay* waiting = new ProbeOverlay("waiting", &log);
    ProbeOverlay* alarm = new ProbeOverlay("alarm", &log);
    host.manager->addOverlay(page, 0);
    host.manager->addOverlay(waiting, 0);
    CHECK(host.manager->addOverlay(alarm, 3));
    CHECK(host.manager->currentOverlay() == alarm);
    CHECK(alarm->queuedBehind == 1);
    alarm->requestClose();
    pumpEvents();
    CHECK(host.manager->currentOverlay() == page);
    CHECK(page->prepares == 2);
    CHECK(log.mid(0, 5) == QStringList({"page:shown", "page:suspended", "alarm:shown", "alarm:closed",
                                        "page:shown"}));
    CHECK(host.backplaneUp());
}

TEST_CASE("a close asked for from the overlay's own slot runs on the next pass of the event loop")
{
    OverlayHost host;
    ProbeOverlay* overlay = new ProbeOverlay("self", nullptr);
    host.manager->addOverlay(overlay, 0);
    bool aliveAfterSlot = false;
    // a slot of the overlay, as a button's release would run it
    QMetaObject::invokeMethod(
        overlay,
        [&] {
            overlay->requestClose();
            overlay->requestClose();  // a second request changes nothing
            aliveAfterSlot = ProbeOverlay::isAlive(overlay);
        },
        Qt::DirectConnection);
    CHECK(aliveAfterSlot);
    CHECK(ProbeOverlay::isAlive(overlay));
    pumpEvents();
    CHECK_FALSE(ProbeOverlay::isAlive(overlay));
    CHECK_FALSE(host.backplaneUp());
}

TEST_CASE("an overlay that the manager does not delete stays with its owner")
{
    QStringList log;  // outlives the overlays the host closes
    OverlayHost host;
    ProbeOverlay held("held", &log, false);
    ProbeOverlay* next = new ProbeOverlay("next", &log);
    host.manager->addOverlay(&held, 0);
    host.manager->addOverlay(next, 0);

    SUBCASE("closed: detached, hidden and without parent")
    {
        held.requestClose();
        pumpEvents();
        CHECK(held.manager() == nullptr);
        CHECK(held.parent() == nullptr);
        CHECK_FALSE(held.isVisible());
        CHECK(host.manager->currentOverlay() == next);
        // and it may be queued again
        CHECK(host.manager->addOverlay(&held, 0));
        next->requestClose();
        pumpEvents();
        CHECK(host.manager->currentOverlay() == &held);
        held.requestClose();
        pumpEvents();
    }
    SUBCASE("destroyed while shown: the next one comes on the next pass")
    {
        ProbeOverlay* owned = new ProbeOverlay("owned", &log, false);
        next->requestClose();
        pumpEvents();
        host.manager->addOverlay(owned, 0);
        held.requestClose();
        pumpEvents();
        CHECK(host.manager->currentOverlay() == owned);
        delete owned;
        CHECK(host.manager->currentOverlay() == nullptr);
        CHECK_FALSE(host.backplaneUp());
    }
}

TEST_CASE("deleting a shown overlay brings up the next one on the next pass")
{
    OverlayHost host;
    ProbeOverlay* shown = new ProbeOverlay("shown", nullptr, false);
    ProbeOverlay* next = new ProbeOverlay("next", nullptr);
    ProbeOverlay* queued = new ProbeOverlay("queued", nullptr, false);
    host.manager->addOverlay(shown, 0);
    host.manager->addOverlay(next, 0);
    host.manager->addOverlay(queued, 0);
    delete queued;  // leaves the queue
    CHECK(host.manager->queuedCount() == 1);
    delete shown;
    CHECK(host.manager->currentOverlay() == nullptr);
    CHECK_FALSE(host.backplaneUp());
    pumpEvents();
    CHECK(host.manager->currentOverlay() == next);
    CHECK(host.backplaneUp());
}

TEST_CASE("an overlay that refuses to show is closed and the next one tried")
{
    OverlayHost host;
    ProbeOverlay* refusing = new ProbeOverlay("refusing", nullptr);
    refusing->accept = false;
    ProbeOverlay* next = new ProbeOverlay("next", nullptr);
    host.manager->addOverlay(refusing, 0);
    CHECK_FALSE(ProbeOverlay::isAlive(refusing));
    CHECK(host.manager->currentOverlay() == nullptr);
    CHECK_FALSE(host.backplaneUp());
    host.manager->addOverlay(next, 0);
    CHECK(host.manager->currentOverlay() == next);
}

TEST_CASE("closing and pre-empting never bring back or touch a closed overlay")
{
    QStringList log;  // outlives the overlays the host closes
    OverlayHost host;

    SUBCASE("a shown overlay pending close is not re-queued by priority 3")
    {
        ProbeOverlay* touched = new ProbeOverlay("touched", &log);
        ProbeOverlay* alarm = new ProbeOverlay("alarm", &log);
        host.manager->addOverlay(touched, 0);
        touched->requestClose();
        host.manager->addOverlay(alarm, 3);
        CHECK(host.manager->currentOverlay() == alarm);
        CHECK_FALSE(ProbeOverlay::isAlive(touched));
        alarm->requestClose();
        pumpEvents();
        CHECK(host.manager->currentOverlay() == nullptr);
        CHECK(log == QStringList({"touched:shown", "touched:closed", "alarm:shown", "alarm:closed"}));
    }
    SUBCASE("a queued overlay asked to close leaves the queue at once")
    {
        ProbeOverlay* shown = new ProbeOverlay("shown", &log);
        ProbeOverlay* queued = new ProbeOverlay("queued", &log);
        host.manager->addOverlay(shown, 0);
        host.manager->addOverlay(queued, 0);
        queued->requestClose();
        CHECK(host.manager->queuedCount() == 0);
        shown->requestClose();
        pumpEvents();
        CHECK(host.manager->currentOverlay() == nullptr);
        CHECK(ProbeOverlay::live().empty());
        CHECK_FALSE(log.contains("queued:shown"));
    }
    SUBCASE("destroying the manager closes everything and clears the instance")
    {
        ProbeOverlay* shown = new ProbeOverlay("shown", &log);
        ProbeOverlay* queued = new ProbeOverlay("queued", &log);
        ProbeOverlay held("held", &log, false);
        host.manager->addOverlay(shown, 0);
        host.manager->addOverlay(queued, 0);
        host.manager->addOverlay(&held, 0);
        delete host.manager;
        host.manager = nullptr;
        CHECK(COverlayManager::instance() == nullptr);
        CHECK_FALSE(ProbeOverlay::isAlive(shown));
        CHECK_FALSE(ProbeOverlay::isAlive(queued));
        CHECK(held.manager() == nullptr);
        host.manager = COverlayManager::createInstance(host.central);
    }
}

TEST_CASE("the shown overlay is centred on the backplane, also after a resize")
{
    OverlayHost host;
    ProbeOverlay* overlay = new ProbeOverlay("centred", nullptr);
    host.manager->addOverlay(overlay, 0);
    CHECK(overlay->parentWidget() == host.manager->backplane());
    CHECK(overlay->pos() == QPoint(190, 106));
    overlay->resize(201, 101);
    CHECK(overlay->pos() == QPoint(139, 85));
    host.manager->setArea(400, 200);
    CHECK(overlay->pos() == QPoint(99, 49));

    SUBCASE("a touch beside the overlay reaches it through the backplane")
    {
        tap(host.manager->backplane(), QPoint(5, 5));
        CHECK(overlay->backplaneClicks == 1);
    }
}

TEST_CASE("adding, closing and pre-empting in random order within single event-loop passes")
{
    OverlayHost host;
    std::mt19937 random(20261210);
    std::vector<ProbeOverlay*> held;  // overlays the manager does not delete
    for (int round = 0; round < 300; ++round) {
        const int steps = 1 + static_cast<int>(random() % 6);
        for (int s = 0; s < steps; ++s) {
            std::vector<ProbeOverlay*> alive(ProbeOverlay::live().begin(), ProbeOverlay::live().end());
            const int action = static_cast<int>(random() % 7);
            if (action <= 1 || alive.empty()) {
                const bool keeps = random() % 4 == 0;
                ProbeOverlay* overlay = new ProbeOverlay("o", nullptr, !keeps);
                overlay->accept = random() % 8 != 0;
                if (keeps)
                    held.push_back(overlay);
                const int priorities[] = {0, 0, 1, 2, 3, -1000};
                if (!host.manager->addOverlay(overlay, priorities[random() % 6]) && !keeps)
                    delete overlay;
            } else if (action == 2) {
                host.manager->addOverlay(alive[random() % alive.size()], static_cast<int>(random() % 4));
            } else if (action <= 4) {
                alive[random() % alive.size()]->requestClose();
            } else if (action == 5 && host.manager->currentOverlay()) {
                host.manager->currentOverlay()->requestClose();
                host.manager->addOverlay(new ProbeOverlay("p", nullptr), 3);
            } else if (!held.empty()) {
                const size_t index = random() % held.size();
                delete held[index];
                held.erase(held.begin() + static_cast<long>(index));
            }
        }
        pumpEvents(1);
        CHECK(host.backplaneUp() == (host.manager->currentOverlay() != nullptr));
    }
    // Everything closed: the backplane is down once nothing is left.
    for (int pass = 0; pass < 50 && (host.manager->currentOverlay() || host.manager->queuedCount()); ++pass) {
        if (host.manager->currentOverlay())
            host.manager->currentOverlay()->requestClose();
        pumpEvents(1);
    }
    CHECK(host.manager->currentOverlay() == nullptr);
    CHECK(host.manager->queuedCount() == 0);
    CHECK_FALSE(host.backplaneUp());
    for (ProbeOverlay* overlay : held)
        delete overlay;
    CHECK(ProbeOverlay::live().empty());
}
