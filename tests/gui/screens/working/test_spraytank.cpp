// The spray tank gauge: the content read every sixth beat (the first at once),
// the full-tank content only on a show, NH3 by mass, and no division by a
// missing display scale.
#include "datastore.h"
#include "dscatalogue.h"
#include "guigeometry.h"
#include "screen_check.h"
#include "screen_fixture.h"
#include "spraytankwidget.h"
#include "unitquantities.h"
#include "units.h"

#include <doctest/doctest.h>

#include <QProgressBar>

namespace {

struct Tank : ScreenFixture {
    explicit Tank(uint32_t system = UNIT_SYSTEM_METRIC, bool nh3 = false, uint32_t full = 3000, uint32_t content = 1200)
        : ScreenFixture(system)
    {
        setItem(DS_NH3_MODE, nh3 ? 1 : 0);
        setItem(DS_TANK_MAX_CONTENT, full);
        setItem(DS_ACTUAL_CONTENT, content);
        gauge = new SprayTankWidget(page());
    }
    void show() { place(gauge, GuiGeometry::sprayTankPos(), GuiGeometry::sprayTankSize()); }

    SprayTankWidget* gauge;
};

}  // namespace

TEST_CASE("tank gauge: the whole content on a bar up to the full tank, the first refresh at once, then every 600 ms")
{
    Tank f;
    QProgressBar* bar = f.gauge->bar();
    CHECK(bar->orientation() == Qt::Vertical);
    CHECK(bar->maximum() == 3000);
    CHECK(bar->value() == 1200);
    CHECK(bar->text() == "1200");
    f.show();
    CHECK_SCREEN(f.screen(), "tank_gauge");

    f.setItem(DS_ACTUAL_CONTENT, 1100);
    f.tick100ms();
    CHECK(bar->value() == 1100);
    f.setItem(DS_ACTUAL_CONTENT, 950);
    f.tick100ms(5);
    CHECK(bar->value() == 1100);
    f.tick100ms();
    CHECK(bar->value() == 950);
    CHECK(bar->text() == "950");
}

TEST_CASE("tank gauge with no full-tank content set shows an empty bar, not a busy animation")
{
    Tank f(UNIT_SYSTEM_METRIC, false, 0, 0);
    QProgressBar* bar = f.gauge->bar();
    CHECK(f.gauge->maximum() == 0);
    // A range of 0..0 would make the bar animate for ever.
    CHECK(bar->maximum() > bar->minimum());
    CHECK(bar->value() == 0);
    CHECK(bar->text() == "0");
    f.show();
    CHECK_SCREEN(f.screen(), "tank_gauge_unset");
}

TEST_CASE("tank gauge: a new full-tank content takes effect at the next show only")
{
    Tank f;
    f.show();
    f.setItem(DS_TANK_MAX_CONTENT, 4000);
    f.tick100ms(12);
    CHECK(f.gauge->bar()->maximum() == 3000);
    f.gauge->hide();
    f.gauge->show();
    pumpEvents();
    CHECK(f.gauge->bar()->maximum() == 4000);
    f.tick100ms(6);
    CHECK(f.gauge->bar()->value() == 1200);
}

TEST_CASE("tank gauge in NH3 mode: the content by mass, the full mark by volume")
{
    const struct {
        uint32_t system;
        bool nh3;
    } cases[] = {{UNIT_SYSTEM_METRIC, false}, {UNIT_SYSTEM_US, false}, {UNIT_SYSTEM_US, true}, {UNIT_SYSTEM_IMPERIAL, true}};
    for (const auto& c : cases) {
        CAPTURE(c.system);
        CAPTURE(c.nh3);
        Tank f(c.system, c.nh3, 3000, 1000);
        const int volume = unitBaseToDisplay(UQ_TANK_ACTUAL_CONTENT, 1000);
        const int mass = unitBaseToDisplay(UQ_TANK_CONTENT_MASS, 1000);
        CHECK(f.gauge->bar()->maximum() == unitGetItemValue(UQ_TANK_MAX_CONTENT));
        CHECK(f.gauge->shownValue() == (c.nh3 ? mass : volume));
    }
    // 1000 kg is 2205 lb, above the 793 US gallons of a full tank: the bar
    // keeps its previous value (none yet); 1000 l are 264 US gallons.
    Tank us(UNIT_SYSTEM_US, true, 3000, 1000);
    CHECK(us.gauge->shownValue() == 2205);
    CHECK(us.gauge->bar()->maximum() == 793);
    CHECK(us.gauge->bar()->value() == -1);
    Tank volume(UNIT_SYSTEM_US, false, 3000, 1000);
    CHECK(volume.gauge->bar()->value() == 264);
}

TEST_CASE("tank gauge without display scales keeps what it shows")
{
    Tank f;
    f.show();
    f.tick100ms();
    REQUIRE(unitCreateTable(0) == 1);
    REQUIRE(unitGetScale(UQ_TANK_MAX_CONTENT) == 0);
    f.setItem(DS_ACTUAL_CONTENT, 500);
    f.setItem(DS_TANK_MAX_CONTENT, 4000);
    f.tick100ms(12);
    f.gauge->hide();
    f.gauge->show();
    f.tick100ms(6);
    CHECK(f.gauge->bar()->maximum() == 3000);
    CHECK(f.gauge->bar()->value() == 1200);
    SprayTankWidget fresh(nullptr);
    CHECK(fresh.bar()->maximum() == 5000);
    CHECK(fresh.bar()->value() == 2500);
    REQUIRE(unitTableStart(UNIT_SYSTEM_METRIC));
}
