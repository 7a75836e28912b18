// The working tool bar: the two roles of the arrows by regulation mode, the
// mode toggle on DS_MANUAL_PRESSURE_BITS, the rate step read on show and the
// home button following the spraying state.
#include "dscatalogue.h"
#include "eventids.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "screen_check.h"
#include "screen_drive.h"
#include "screen_fixture.h"
#include "worktoolbarwidget.h"

#include <doctest/doctest.h>

#include <QSignalSpy>

namespace {

struct ToolBar : ScreenFixture {
    explicit ToolBar(bool manual, uint32_t step = 5)
    {
        setItem(DS_APPL_RATE_STEP, step);
        setItem(DS_MANUAL_PRESSURE_BITS, manual ? 1 : 0);
        // The core keeps this the inverse of bit 0; no core runs here.
        setItem(DS_AUTOMATIC_REGULATION, manual ? 0 : 1);
        bar.resize(GuiGeometry::workToolBarSize());
        open();
        takePostedEvents();
    }
    // As the working screen opens it: at its place, in global coordinates,
    // vertically centred; the screen puts the right border one pixel past the
    // edge, which the screenshot check counts as outside, so it stays on it.
    void open()
    {
        const QPoint place(GuiGeometry::displayWidth() - bar.width(), (GuiGeometry::displayHeight() - bar.height()) / 2);
        bar.move(screen()->mapToGlobal(place));
        bar.show();
        pumpEvents();
    }
    KestromPushButton* button(const char* name) const
    {
        auto* found = bar.findChild<KestromPushButton*>(QString::fromLatin1(name));
        REQUIRE(found != nullptr);
        return found;
    }

    WorkToolBarWidget bar;
    QSignalSpy incBoost{&bar, &WorkToolBarWidget::IncBoostPct};
    QSignalSpy decBoost{&bar, &WorkToolBarWidget::DecBoostPct};
    QSignalSpy incPressure{&bar, &WorkToolBarWidget::IncLiqPressure};
    QSignalSpy decPressure{&bar, &WorkToolBarWidget::DecLiqPressure};
    QSignalSpy stop{&bar, &WorkToolBarWidget::StopLiqPressureChange};
};

}  // namespace

TEST_CASE("tool bar in automatic regulation: the arrows step the boost by the rate step on release")
{
    ToolBar f(false, 5);
    CHECK(f.bar.isWindow());
    CHECK(f.bar.isModal());
    CHECK(f.bar.windowFlags().testFlag(Qt::FramelessWindowHint));
    CHECK(f.button("m_btnUp")->text() == "5%");
    CHECK(f.button("m_btnDown")->text() == "5%");
    CHECK(f.button("m_btnAutoMan")->text() == "Man\nReg");
    CHECK(f.button("m_btnZeroBoost")->isVisible());
    CHECK(f.button("m_btnZeroBoost")->text() == "0%");
    CHECK_SCREEN(f.screen(), "toolbar_automatic");

    touchPress(f.button("m_btnUp"));
    CHECK(f.incBoost.count() == 0);
    touchRelease(f.button("m_btnUp"));
    REQUIRE(f.incBoost.count() == 1);
    CHECK(f.incBoost.at(0).at(0).toInt() == 5);
    tapButton(f.button("m_btnDown"));
    REQUIRE(f.decBoost.count() == 1);
    CHECK(f.decBoost.at(0).at(0).toInt() == 5);
    CHECK(f.incPressure.count() + f.decPressure.count() + f.stop.count() == 0);

    QSignalSpy zero(&f.bar, &WorkToolBarWidget::ZeroBoostPct);
    QSignalSpy home(&f.bar, &WorkToolBarWidget::ShowHomeView);
    QSignalSpy close(&f.bar, &WorkToolBarWidget::CloseWorkToolBarView);
    tapButton(f.button("m_btnZeroBoost"));
    tapButton(f.button("m_btnHome"));
    tapButton(f.button("m_btnClose"));
    CHECK(zero.count() == 1);
    CHECK(home.count() == 1);
    CHECK(close.count() == 1);
    CHECK(takePostedEvents().empty());
}

TEST_CASE("tool bar: a changed rate step shows at the next show, not before")
{
    ToolBar f(false, 5);
    f.setItem(DS_APPL_RATE_STEP, 12);
    f.tick100ms(3);
    CHECK(f.button("m_btnUp")->text() == "5%");
    f.bar.hide();
    f.open();
    CHECK(f.bar.rateStep() == 12);
    CHECK(f.button("m_btnUp")->text() == "12%");
    CHECK(f.button("m_btnDown")->text() == "12%");
    tapButton(f.button("m_btnUp"));
    REQUIRE(f.incBoost.count() == 1);
    CHECK(f.incBoost.at(0).at(0).toInt() == 12);
}

TEST_CASE("tool bar in manual regulation: an arrow held drives the pressure until it is let go or slid off")
{
    ToolBar f(true);
    CHECK_FALSE(f.button("m_btnZeroBoost")->isVisible());
    CHECK(f.button("m_btnUp")->text().isEmpty());
    CHECK(f.button("m_btnDown")->text().isEmpty());
    CHECK_FALSE(f.button("m_btnUp")->icon().isNull());
    CHECK(f.button("m_btnAutoMan")->text() == "Auto\nReg");
    CHECK_SCREEN(f.screen(), "toolbar_manual");

    KestromPushButton* down = f.button("m_btnDown");
    touchPress(down);
    CHECK(f.decPressure.count() == 1);
    CHECK(f.stop.count() == 0);
    touchRelease(down);
    CHECK(f.stop.count() == 1);

    KestromPushButton* up = f.button("m_btnUp");
    touchPress(up);
    CHECK(f.incPressure.count() == 1);
    touchRelease(up);
    CHECK(f.stop.count() == 2);

    // The finger slides 60 px below the down arrow, beyond its 50 px margin.
    touchPress(down);
    CHECK(f.decPressure.count() == 2);
    touchMove(down, QPoint(down->width() / 2, down->height() + 60));
    CHECK(f.stop.count() == 3);
    touchRelease(down, QPoint(down->width() / 2, down->height() + 60));
    CHECK(f.stop.count() == 3);

    CHECK(f.incBoost.count() + f.decBoost.count() == 0);
}

TEST_CASE("tool bar in automatic regulation: a slide off an arrow sends no pressure stop")
{
    ToolBar f(false);
    KestromPushButton* down = f.button("m_btnDown");
    touchPress(down);
    touchMove(down, QPoint(down->width() / 2, down->height() + 60));
    touchRelease(down, QPoint(down->width() / 2, down->height() + 60));
    CHECK(f.stop.count() == 0);
    CHECK(f.decBoost.count() == 0);
    CHECK(f.decPressure.count() == 0);
}

TEST_CASE("tool bar mode toggle: bit 0 of the regulation bits, the boost reset and the signal")
{
    const struct {
        uint32_t before;
        uint32_t after;
        bool manual;
        bool boostReset;
        const char* text;
    } cases[] = {
        {0x0, 0x1, true, true, "Auto\nReg"},
        {0x6, 0x7, true, true, "Auto\nReg"},
        {0x1, 0x0, false, false, "Man\nReg"},
        {0x7, 0x6, false, false, "Man\nReg"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.before);
        ToolBar f((c.before & 1) != 0);
        f.setItem(DS_MANUAL_PRESSURE_BITS, c.before);
        takePostedEvents();
        QSignalSpy changed(&f.bar, &WorkToolBarWidget::AutoManRegStateChanged);
        tapButton(f.button("m_btnAutoMan"));
        CHECK(datastoreGetUint16(DS_MANUAL_PRESSURE_BITS) == c.after);
        const std::vector<PostedEvent> posted = takePostedEvents();
        if (c.boostReset)
            CHECK(hasEvent(posted, EV_SET_BOOST, 100));
        else
            CHECK_FALSE(hasEvent(posted, EV_SET_BOOST, 100));
        REQUIRE(changed.count() == 1);
        CHECK(changed.at(0).at(0).toBool() == c.manual);
        CHECK(f.button("m_btnAutoMan")->text() == c.text);
        CHECK(f.button("m_btnZeroBoost")->isVisible() == !c.manual);
    }
}

TEST_CASE("tool bar home button: disabled while spraying, caught up within 100 ms also after a change while hidden")
{
    ToolBar f(false);
    KestromPushButton* home = f.button("m_btnHome");
    // The refresh compares with the state it saw last; start from "not spraying".
    f.setItem(DS_SPRAYING_ACTIVE, 0);
    f.tick100ms();
    CHECK(home->isEnabled());

    f.setItem(DS_SPRAYING_ACTIVE, 1);
    f.tick100ms();
    CHECK_FALSE(home->isEnabled());
    CHECK(f.bar.spraying());
    f.setItem(DS_SPRAYING_ACTIVE, 0);
    f.tick100ms();
    CHECK(home->isEnabled());

    // Spraying starts and stops again while the tool bar is hidden.
    f.bar.hide();
    f.setItem(DS_SPRAYING_ACTIVE, 1);
    f.tick100ms();
    f.open();
    f.tick100ms();
    CHECK_FALSE(home->isEnabled());
    f.bar.hide();
    f.setItem(DS_SPRAYING_ACTIVE, 0);
    f.tick100ms(3);
    f.open();
    f.tick100ms();
    CHECK(home->isEnabled());

    // The working screen's report acts at once.
    f.bar.handleWorkStatusChanged(true);
    CHECK_FALSE(home->isEnabled());
    f.bar.handleWorkStatusChanged(false);
    CHECK(home->isEnabled());
}
