// The top information bar through the real datastore: field values and units
// over kinds, unit systems and modes, the digit overflow and font steps, the
// smoothing band, the rate choice and rate keypad with what they write, post
// and print, the centre's visibility, the kind choice and an alarm over it,
// and pictures of the bar in its states at its working-screen place.
#include "boomviewwidget.h"
#include "buttongridwidget.h"
#include "eventids.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "numerickeypadwidget.h"
#include "qtimagetools.h"
#include "screen_check.h"
#include "screen_drive.h"
#include "screen_fixture.h"
#include "twostringpushbutton.h"
#include "unitquantities.h"
#include "units.h"
#include "worktopinfobarwidget.h"

#include <doctest/doctest.h>

#include <QIcon>
#include <QLineEdit>

namespace {

using Bar = WorkTopInfoBarWidget;

struct TopBar : ScreenFixture {
    explicit TopBar(uint32_t system = UNIT_SYSTEM_METRIC) : ScreenFixture(system) {}
    Bar* build()
    {
        auto* bar = new Bar(page());
        bar->setObjectName("m_topInfoBar");
        place(bar, GuiGeometry::topInfoBarPos(), GuiGeometry::topInfoBarSize());
        return bar;
    }
    // One 600 ms refresh of the bar.
    void refresh() { tick100ms(6); }
};

QString valueText(int kind, uint16_t width = 4, uint16_t* overflow = nullptr)
{
    uint16_t ignored = 0;
    return Bar::fieldValueText(kind, width, overflow != nullptr ? overflow : &ignored);
}

// The base value that shows as display / scale in quantity q, checked both ways.
int32_t baseFor(uint32_t q, int32_t display)
{
    const int32_t base = unitDisplayToBase(q, display);
    REQUIRE(unitBaseToDisplay(q, base) == display);
    return base;
}

bool iconIs(const KestromPushButton* button, const char* path)
{
    const QImage expected = QtImageTools::loadPixmap(path, QSize(30, 30), false, Qt::KeepAspectRatio).toImage();
    return button->icon().pixmap(QSize(30, 30)).toImage() == expected;
}

}  // namespace

TEST_CASE("field values and units over kinds, unit systems, turf and NH3")
{
    const struct {
        uint32_t system;
        bool nh3;
        bool turf;
        int kind;
        uint32_t item;
        uint32_t base;
        const char* value;
        const char* unit;
    } cases[] = {
        {UNIT_SYSTEM_METRIC, false, false, Bar::KindAmount, DS_JOB_VOLUME, 1234, "1234", "l"},
        {UNIT_SYSTEM_METRIC, true, false, Bar::KindAmount, DS_JOB_VOLUME, 500, "500", "kg"},
        {UNIT_SYSTEM_US, false, false, Bar::KindAmount, DS_JOB_VOLUME, 3785, "1000", "gal"},
        {UNIT_SYSTEM_IMPERIAL, false, false, Bar::KindAmount, DS_JOB_VOLUME, 4546, "1000", "gal"},
        {UNIT_SYSTEM_US, true, false, Bar::KindAmount, DS_JOB_VOLUME, 0, "0", "lb"},
        {UNIT_SYSTEM_METRIC, false, false, Bar::KindFlow, DS_LIVE_AMOUNT, 1234, "12.3", "l/min"},
        {UNIT_SYSTEM_METRIC, true, false, Bar::KindFlow, DS_LIVE_AMOUNT, 0, "0.0", "kg/min"},
        {UNIT_SYSTEM_US, false, false, Bar::KindFlow, DS_LIVE_AMOUNT, 0, "0.0", "gal/min"},
        {UNIT_SYSTEM_METRIC, false, false, Bar::KindPressure, DS_LIVE_PRESSURE_2, 250, "2.5", "bar"},
        {UNIT_SYSTEM_US, false, false, Bar::KindPressure, DS_LIVE_PRESSURE_2, 100, "14.5", "psi"},
        {UNIT_SYSTEM_METRIC, false, false, Bar::KindSpeed, DS_LIVE_SPEED, 812, "8.1", "km/h"},
        {UNIT_SYSTEM_US, false, false, Bar::KindSpeed, DS_LIVE_SPEED, 1609, "10.0", "mph"},
        {UNIT_SYSTEM_METRIC, false, false, Bar::KindArea, DS_JOB_AREA, 1234, "12.34", "ha"},
        {UNIT_SYSTEM_US, false, false, Bar::KindArea, DS_JOB_AREA, 100, "2.47", "ac"},
        {UNIT_SYSTEM_US, false, true, Bar::KindArea, DS_JOB_AREA, 100, "107.6", "1000 sq ft"},
        {UNIT_SYSTEM_METRIC, false, false, 12, DS_JOB_AREA, 1234, "12.34", "ha"},
        {UNIT_SYSTEM_METRIC, false, false, Bar::KindTargetRate, DS_LIVE_TARGET_RATE, 1500, "150", "l/ha"},
        {UNIT_SYSTEM_METRIC, true, false, Bar::KindTargetRate, DS_LIVE_TARGET_RATE, 0, "0", "kg/ha"},
        {UNIT_SYSTEM_US, false, false, Bar::KindActualRate, DS_LIVE_FLOW, 0, "0.0", "gal/ac"},
        {UNIT_SYSTEM_US, true, false, Bar::KindActualRate, DS_LIVE_FLOW, 0, "0.0", "lb/ac"},
        {UNIT_SYSTEM_US, false, true, Bar::KindTargetRate, DS_LIVE_TARGET_RATE, 0, "0.00", "gal/1000 sq ft"},
        {UNIT_SYSTEM_METRIC, false, false, Bar::KindJobNumber, DS_ACTIVE_JOB_NUMBER, 3, "4", "Job#"},
        {UNIT_SYSTEM_US, false, false, Bar::KindJobNumber, DS_ACTIVE_JOB_NUMBER, 0, "1", "Job#"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.system);
        CAPTURE(c.kind);
        CAPTURE(c.nh3);
        CAPTURE(c.turf);
        ScreenFixture f(c.system);
        f.setItem(DS_NH3_MODE, c.nh3);
        f.setItem(DS_TURF_UNITS, c.turf);
        f.setItem(c.item, c.base);
        CHECK(valueText(c.kind) == c.value);
        CHECK(Bar::fieldUnitText(c.kind) == c.unit);
    }
}

TEST_CASE("the rate choice and keypad units ignore NH3 mode; the centre unit follows it")
{
    const struct {
        uint32_t system;
        bool nh3;
        bool turf;
        const char* rateShort;
        const char* rateLong;
        const char* centre;
    } cases[] = {
        {UNIT_SYSTEM_METRIC, false, false, "l/ha", "liters/hectare", "l/ha"},
        {UNIT_SYSTEM_METRIC, true, false, "l/ha", "liters/hectare", "kg/ha"},
        {UNIT_SYSTEM_US, true, false, "gal/ac", "gallons/acre", "lb/ac"},
        {UNIT_SYSTEM_IMPERIAL, false, true, "gal/1000 sq ft", "gallons/1000 square feet", "gal/1000 sq ft"},
    };
    for (const auto& c : cases) {
        CAPTURE(c.system);
        CAPTURE(c.nh3);
        TopBar f(c.system);
        f.setItem(DS_NH3_MODE, c.nh3);
        f.setItem(DS_TURF_UNITS, c.turf);
        CHECK(Bar::rateUnitText(false) == c.rateShort);
        CHECK(Bar::rateUnitText(true) == c.rateLong);
        Bar* bar = f.build();
        CHECK(bar->unitButton()->text() == c.centre);
    }
}

TEST_CASE("digits: decimals go first, then the whole bar takes a smaller step; counted kinds cap at 999999")
{
    TopBar f;
    SUBCASE("value texts and overflows")
    {
        const struct {
            int kind;
            uint32_t item;
            uint32_t base;
            const char* text;
            uint16_t overflow;
        } cases[] = {
            // en_US groups thousands where the text is localised ("%L1"); the amount never is.
            {Bar::KindArea, DS_JOB_AREA, 987640, "9,876", 0},
            {Bar::KindArea, DS_JOB_AREA, 9876540, "98,765", 1},
            {Bar::KindAmount, DS_JOB_VOLUME, 9876, "9876", 0},
            {Bar::KindAmount, DS_JOB_VOLUME, 98765, "98765", 1},
            {Bar::KindAmount, DS_JOB_VOLUME, 9876543, "999999", 2},
            {Bar::KindAmount, DS_JOB_VOLUME, 2000000, "999999", 2},
            {Bar::KindAmount, DS_JOB_VOLUME, 999999, "999999", 2},
            {Bar::KindArea, DS_JOB_AREA, 200000000, "999,999", 2},
        };
        for (const auto& c : cases) {
            CAPTURE(c.base);
            f.setItem(c.item, c.base);
            uint16_t overflow = 0;
            CHECK(valueText(c.kind, 4, &overflow) == c.text);
            CHECK(overflow == c.overflow);
        }
    }
    SUBCASE("an overflow on the left shrinks the right side and the centre values too")
    {
        f.setItem(DS_TOP_INFO_LEFT, Bar::KindAmount);
        f.setItem(DS_TOP_INFO_RIGHT, Bar::KindSpeed);
        f.setItem(DS_JOB_VOLUME, 9876);
        Bar* bar = f.build();
        f.refresh();
        CHECK(bar->leftField()->firstText() == "9876");
        CHECK(bar->leftField()->firstStep() == "xlarge");
        CHECK(bar->rightField()->firstStep() == "xlarge");
        CHECK(bar->targetValueButton()->property("fontsize").toString() == "xlarge");

        f.setItem(DS_JOB_VOLUME, 98765);
        f.refresh();
        f.refresh();
        CHECK(bar->leftField()->firstText() == "98765");
        CHECK(bar->leftField()->firstStep() == "xlarge-1");
        CHECK(bar->rightField()->firstStep() == "xlarge-1");
        CHECK(bar->targetValueButton()->property("fontsize").toString() == "xlarge-1");
        CHECK(bar->actualValueButton()->property("fontsize").toString() == "xlarge-1");
        CHECK_SCREEN(f.screen(), "top_bar_overflow");

        f.setItem(DS_JOB_VOLUME, 2000000);
        f.refresh();
        CHECK(bar->leftField()->firstText() == "999999");
        CHECK(bar->leftField()->firstStep() == "xlarge-2");
        CHECK_SCREEN(f.screen(), "top_bar_capped");
    }
}

TEST_CASE("smoothing: an actual rate within the band around the target shows the target")
{
    // In US units the rates show one decimal, so 95.1 is a value of its own.
    TopBar f(UNIT_SYSTEM_US);
    f.setItem(DS_DISPLAY_RATE_SMOOTHING, 5);
    f.setItem(DS_LIVE_TARGET_RATE, uint32_t(baseFor(UQ_TARGET_RATE, 1000)));
    const struct {
        int32_t actual;
        const char* shown;
    } cases[] = {{951, "100"}, {1049, "100"}, {1000, "100"}, {950, "95.0"}, {1050, "105"}, {800, "80.0"}};
    for (const auto& c : cases) {
        CAPTURE(c.actual);
        f.setItem(DS_LIVE_FLOW, uint32_t(baseFor(UQ_ACTUAL_RATE, c.actual)));
        CHECK(valueText(Bar::KindActualRate, 3) == c.shown);
    }
    // Without smoothing every value shows itself.
    f.setItem(DS_DISPLAY_RATE_SMOOTHING, 0);
    f.setItem(DS_LIVE_FLOW, uint32_t(baseFor(UQ_ACTUAL_RATE, 951)));
    CHECK(valueText(Bar::KindActualRate, 3) == "95.1");
}

TEST_CASE("a unit table without the quantities shows the raw value instead of dividing by 0")
{
    TopBar f;
    f.setItem(DS_JOB_AREA, 1234);
    f.setItem(DS_LIVE_SPEED, 812);
    REQUIRE(unitCreateTable(0) == 1);
    CHECK(unitGetScale(UQ_JOB_AREA) == 0);
    CHECK(valueText(Bar::KindArea) == "0");
    CHECK(valueText(Bar::KindSpeed) == "0");
    Bar* bar = f.build();
    f.refresh();
    CHECK(bar->leftField()->firstText() == "0");
}

TEST_CASE("choosing rate 2: store, trace, events, cleared flag; while spraying the target shows 3000 ms")
{
    TopBar f;
    f.setItem(DS_APPL_RATE_1, 1500);
    f.setItem(DS_APPL_RATE_2, 2500);
    f.setItem(DS_APPL_RATE_3, 3500);
    f.setItem(DS_APPL_RATE_NUMBER, 1);
    f.setItem(DS_RATE_CHANGED_FLAG, 1);
    Bar* bar = f.build();

    SUBCASE("not spraying")
    {
        tapButton(bar->targetValueButton());
        ButtonGridWidget* grid = shownButtonGrid();
        REQUIRE(grid == bar->rateChoiceGrid());
        CHECK(bar->rateKeypadButton()->isEnabled());
        CHECK(gridOption(grid, 1)->property("hasHighlightedBorder").toBool());
        auto* rate2 = qobject_cast<TwoStringPushButton*>(gridOption(grid, 2));
        REQUIRE(rate2 != nullptr);
        CHECK(rate2->firstText() == "250");
        CHECK(rate2->secondText() == "l/ha");
        CHECK_SCREEN(f.screen(), "top_bar_rate_choice");
        takePostedEvents();
        takeDebugText();
        chooseGridOption(grid, 2);
        CHECK(datastoreGetUint16(DS_APPL_RATE_NUMBER) == 2);
        CHECK(datastoreGetUint16(DS_TARGET_RATE) == 2500);
        CHECK(takeDebugText() == "TDR Target rate = 2500 (2500)\r\n");
        CHECK(takePostedEvents() ==
              std::vector<PostedEvent>{{EV_SET_BOOST, 100}, {EV_TARGET_RATE_CHANGED, 2500}});
        CHECK(takeProcessCalls().empty());
        CHECK(datastoreGetBool(DS_RATE_CHANGED_FLAG) == 0);
        CHECK_FALSE(grid->isVisible());
    }
    SUBCASE("spraying")
    {
        f.setItem(DS_SPRAYING_ACTIVE, 1);
        f.refresh();
        CHECK(bar->actualValueButton()->isVisible());
        CHECK_FALSE(bar->targetValueButton()->isVisible());
        tapButton(bar->actualValueButton());
        ButtonGridWidget* grid = shownButtonGrid();
        REQUIRE(grid != nullptr);
        CHECK_FALSE(bar->rateKeypadButton()->isEnabled());
        chooseGridOption(grid, 3);
        CHECK(datastoreGetUint16(DS_TARGET_RATE) == 3500);
        CHECK(bar->targetValueButton()->isVisible());
        CHECK_FALSE(bar->actualValueButton()->isVisible());
        f.clock.advance(2900);
        CHECK(bar->targetValueButton()->isVisible());
        f.clock.advance(100);
        CHECK_FALSE(bar->targetValueButton()->isVisible());
        CHECK(bar->actualValueButton()->isVisible());
    }
    SUBCASE("the keypad button is no rate")
    {
        bar->commitApplRateNumber(Bar::KeypadButtonId);
        CHECK(datastoreGetUint16(DS_APPL_RATE_NUMBER) == 1);
        CHECK(takePostedEvents().empty());
        // Any other number than 2 or 3 selects rate 1.
        bar->commitApplRateNumber(7);
        CHECK(datastoreGetUint16(DS_APPL_RATE_NUMBER) == 1);
        CHECK(datastoreGetUint16(DS_TARGET_RATE) == 1500);
    }
}

TEST_CASE("the rate keypad: its title and range, the current target writes nothing, a new rate is applied")
{
    TopBar f;
    f.setItem(DS_APPL_RATE_2, 2500);
    f.setItem(DS_APPL_RATE_NUMBER, 2);
    f.setItem(DS_TARGET_RATE, 2500);
    Bar* bar = f.build();
    tapButton(bar->targetValueButton());
    tapButton(showGridOption(shownButtonGrid(), Bar::KeypadButtonId));
    NumericKeypadWidget* keypad = shownKeypad();
    REQUIRE(keypad == bar->rateKeypad());
    CHECK(popupTexts(keypad).contains("Application Rate (l/ha)"));
    CHECK(keypad->entry()->text() == "250");
    CHECK_SCREEN(f.screen(), "top_bar_rate_keypad");

    takePostedEvents();
    takeProcessCalls();
    takeDebugText();
    keypadType(keypad, "250");
    keypadAccept(keypad);
    CHECK(takePostedEvents().empty());
    CHECK(takeProcessCalls().empty());
    CHECK(takeDebugText().empty());
    CHECK(datastoreGetUint16(DS_APPL_RATE_2) == 2500);

    tapButton(bar->targetValueButton());
    tapButton(showGridOption(shownButtonGrid(), Bar::KeypadButtonId));
    keypad = shownKeypad();
    REQUIRE(keypad != nullptr);
    f.setItem(DS_RATE_CHANGED_FLAG, 1);
    takePostedEvents();
    keypadType(keypad, "262.5");
    keypadAccept(keypad);
    // l/ha shows no decimals: the typed value is cut to 262.
    CHECK(datastoreGetUint16(DS_APPL_RATE_2) == 2620);
    CHECK(datastoreGetUint16(DS_TARGET_RATE) == 2620);
    CHECK(takeDebugText() == "TDR Target rate = 2620\r\n");
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_BOOST, 100}});
    // The boost goes directly; the target is posted (the dispatcher's common tail may post its own).
    const std::vector<PostedEvent> posted = takePostedEvents();
    CHECK(hasEvent(posted, EV_TARGET_RATE_CHANGED, 2620));
    CHECK_FALSE(hasEvent(posted, EV_SET_BOOST, 100));
    CHECK(datastoreGetBool(DS_RATE_CHANGED_FLAG) == 0);
}

TEST_CASE("a typed rate is taken as the decimal number typed")
{
    TopBar f(UNIT_SYSTEM_US);
    f.setItem(DS_APPL_RATE_NUMBER, 1);
    Bar* bar = f.build();
    bar->commitApplRate(12.3);
    CHECK(unitBaseToDisplay(UQ_TARGET_RATE, datastoreGetUint16(DS_APPL_RATE_1)) == 123);
}

TEST_CASE("centre: target and mode icon while not spraying, actual while spraying; the icon follows the regulation")
{
    TopBar f;
    f.setItem(DS_AUTOMATIC_REGULATION, 1);
    Bar* bar = f.build();
    f.refresh();
    CHECK(bar->targetValueButton()->isVisible());
    CHECK(bar->modeIconButton()->isVisible());
    CHECK_FALSE(bar->actualValueButton()->isVisible());
    CHECK(iconIs(bar->modeIconButton(), ":/images/Target_icon.svg"));
    CHECK_SCREEN(f.screen(), "top_bar_not_spraying");

    f.setItem(DS_SPRAYING_ACTIVE, 1);
    f.setItem(DS_LIVE_FLOW, 1480);
    f.refresh();
    CHECK(bar->actualValueButton()->isVisible());
    CHECK(bar->actualValueButton()->text() == "148");
    CHECK_FALSE(bar->targetValueButton()->isVisible());
    CHECK_FALSE(bar->modeIconButton()->isVisible());

    // Manual regulation: the hand, and it stays while spraying.
    f.setItem(DS_AUTOMATIC_REGULATION, 0);
    bar->modeIconButton()->show();
    f.refresh();
    CHECK(iconIs(bar->modeIconButton(), ":/images/hand_icon.svg"));
    CHECK(bar->modeIconButton()->isVisible());
    CHECK_SCREEN(f.screen(), "top_bar_spraying_manual");

    f.setItem(DS_SPRAYING_ACTIVE, 0);
    f.refresh();
    CHECK(bar->targetValueButton()->isVisible());
    CHECK(bar->modeIconButton()->isVisible());
}

TEST_CASE("kind choice: a side takes the chosen kind; an alarm closes the choice and the fields go on")
{
    TopBar f;
    f.setItem(DS_TOP_INFO_LEFT, Bar::KindSpeed);
    f.setItem(DS_TOP_INFO_RIGHT, Bar::KindJobNumber);
    f.setItem(DS_LIVE_SPEED, 812);
    Bar* bar = f.build();
    CHECK(bar->leftField()->firstText() == "8.1");
    CHECK(bar->leftField()->secondText() == "km/h");
    CHECK(bar->rightField()->firstText() == "1");

    tapButton(bar->leftField());
    ButtonGridWidget* grid = shownButtonGrid();
    REQUIRE(grid == bar->kindChoiceGrid());
    CHECK(bar->isKindGridOpen());
    CHECK(gridOption(grid, Bar::KindSpeed)->property("hasHighlightedBorder").toBool());
    CHECK_SCREEN(f.screen(), "top_bar_kind_choice");

    SUBCASE("a commit writes the kind and the field follows it")
    {
        chooseGridOption(grid, Bar::KindPressure);
        CHECK(datastoreGetUint16(DS_TOP_INFO_LEFT) == Bar::KindPressure);
        CHECK(bar->leftField()->secondText() == "bar");
        CHECK_FALSE(bar->isKindGridOpen());
        tapButton(bar->rightField());
        chooseGridOption(shownButtonGrid(), Bar::KindArea);
        CHECK(datastoreGetUint16(DS_TOP_INFO_RIGHT) == Bar::KindArea);
        CHECK(bar->rightField()->secondText() == "ha");
    }
    SUBCASE("while the choice is open the fields wait")
    {
        f.setItem(DS_LIVE_SPEED, 1000);
        f.refresh();
        CHECK(bar->leftField()->firstText() == "8.1");
    }
    SUBCASE("an alarm closes the choice, and the next refresh updates the fields again")
    {
        f.hub()->eventAlarmActivate(9);
        pumpEvents();
        CHECK_FALSE(grid->isVisible());
        CHECK_FALSE(bar->isKindGridOpen());
        f.setItem(DS_LIVE_SPEED, 1000);
        f.refresh();
        CHECK(bar->leftField()->firstText() == "10.0");
        CHECK(datastoreGetUint16(DS_TOP_INFO_LEFT) == Bar::KindSpeed);
    }
}

TEST_CASE("the working screen's top and bottom: bar and boom at their places, spraying")
{
    TopBar f;
    f.setItem(DS_TOP_INFO_LEFT, Bar::KindSpeed);
    f.setItem(DS_TOP_INFO_RIGHT, Bar::KindFlow);
    f.setItem(DS_LIVE_SPEED, 812);
    f.setItem(DS_LIVE_AMOUNT, 4520);
    f.setItem(DS_LIVE_FLOW, 2010);
    f.setItem(DS_LIVE_TARGET_RATE, 2000);
    f.setItem(DS_NUMBER_OF_SECTIONS, 9);
    f.setItem(DS_SPRAYING_ACTIVE, 1);
    f.setItem(DS_AUTOMATIC_REGULATION, 1);
    f.build();
    auto* boom = new BoomViewWidget(f.page());
    boom->setObjectName("m_boomView");
    f.place(boom, GuiGeometry::boomViewPos(), GuiGeometry::boomViewSize());
    f.hub()->activeSectionStatusChanged(0x1F7);
    f.refresh();
    CHECK_SCREEN(f.screen(), "working_top_and_boom_spraying");
}
