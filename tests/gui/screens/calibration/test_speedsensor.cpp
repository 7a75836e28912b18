// Speed sensor calibration on the real datastore: the number typed in or
// counted over a driven distance, the speed source during the run, the page
// mode and the start-up validation of a stored number.
#include "calibration_page.h"
#include "configmachinecalimplspeedsensor.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "processvalidate.h"
#include "qtelidedlabel.h"
#include "screen_check.h"
#include "settingpage_drive.h"
#include "settingpagekit.h"

#include <doctest/doctest.h>

using ToolsViewWidgets::ConfigMachineCalImplSpeedSensor;
using ToolsViewWidgets::ToolsViewButtonBar;

namespace {

using SpeedPage = CalibrationPage<ConfigMachineCalImplSpeedSensor>;

constexpr uint8_t kCanSpeed = 4;

void startOnCanSpeed()
{
    ScreenFixture::setItem(DS_SPEED_SOURCE, kCanSpeed);
    ScreenFixture::setItem(DS_SPEED_CAL_NUMBER, 1000);
}

std::vector<PostedEvent> speedCalEvents()
{
    return eventsOf(takePostedEvents(), EV_SPEED_CAL);
}

}  // namespace

TEST_CASE("speed calibration: page mode 2 while shown; a run on the wheel, its live count and Done")
{
    SpeedPage f(UNIT_SYSTEM_METRIC, startOnCanSpeed);
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == 2);
    CHECK(pathwayText(f.page) == "...Calibrations->Implement Speed Sensor");
    CHECK(valueButton(f.page, 0)->text() == "1,000");
    CHECK_FALSE(f.button("m_doneButton")->isVisible());
    CHECK_FALSE(f.button("m_cancelButton")->isVisible());
    CHECK_SCREEN(f.screen(), "speed_idle_metric");

    tapButton(f.button("m_calibrateButton"));
    CHECK(speedCalEvents() == std::vector<PostedEvent>{{EV_SPEED_CAL, 0}});
    CHECK(datastoreGetUint8(DS_SPEED_SOURCE) == 2);
    CHECK(f.button("m_doneButton")->isVisible());
    CHECK(f.button("m_cancelButton")->isVisible());
    CHECK_FALSE(f.button("m_calibrateButton")->isVisible());
    CHECK_FALSE(labelButton(f.page, 1)->isVisible());

    // The value follows the count as pulses per 100 m and opens nothing.
    f.setItem(DS_SPEED_CAL_PULSES, 733);
    f.tick100ms();
    CHECK(valueButton(f.page, 0)->text() == "733");
    tapButton(valueButton(f.page, 0));
    CHECK(shownKeypad() == nullptr);
    CHECK_SCREEN(f.screen(), "speed_calibrating_metric");

    tapButton(f.button("m_doneButton"));
    CHECK(datastoreGetUint32(DS_SPEED_CAL_NUMBER) == 733);
    CHECK(datastoreGetUint8(DS_SPEED_SOURCE) == kCanSpeed);
    CHECK(speedCalEvents().empty());
    CHECK(f.page->isIdle());
    CHECK(f.button("m_calibrateButton")->isVisible());
    CHECK(valueButton(f.page, 0)->text() == "733");
}

TEST_CASE("speed calibration: Done stores the count over the unit system's distance as pulses per 100 m")
{
    struct Case {
        uint32_t system;
        int32_t pulses;
        uint32_t stored;
        const char* shownWhileRunning;
    };
    const Case cases[] = {
        {UNIT_SYSTEM_METRIC, 500, 500, "500"},
        {UNIT_SYSTEM_IMPERIAL, 500, 547, "547"},  // 500 over 300 ft (91.44 m)
        {UNIT_SYSTEM_US, 500, 547, "547"},
        {UNIT_SYSTEM_METRIC, 0, 0, "0"},  // no pulse counted
        {UNIT_SYSTEM_US, 36576, 40000, "40,000"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.system);
        CAPTURE(c.pulses);
        SpeedPage f(c.system, startOnCanSpeed);
        tapButton(f.button("m_calibrateButton"));
        f.setItem(DS_SPEED_CAL_PULSES, static_cast<uint32_t>(c.pulses));
        f.tick100ms();
        CHECK(valueButton(f.page, 0)->text() == c.shownWhileRunning);
        tapButton(f.button("m_doneButton"));
        CHECK(datastoreGetUint32(DS_SPEED_CAL_NUMBER) == c.stored);
        CHECK(currentPopup() == nullptr);
    }
}

TEST_CASE("speed calibration: a counted number the start-up would reset is not stored and is reported")
{
    struct Case {
        uint32_t system;
        int32_t pulses;
        const char* counted;
    };
    const Case cases[] = {
        {UNIT_SYSTEM_METRIC, 40001, "40,001"},
        {UNIT_SYSTEM_IMPERIAL, 36577, "40,001"},
        {UNIT_SYSTEM_METRIC, 64000, "64,000"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.counted);
        SpeedPage f(c.system, startOnCanSpeed);
        tapButton(f.button("m_calibrateButton"));
        f.setItem(DS_SPEED_CAL_PULSES, static_cast<uint32_t>(c.pulses));
        tapButton(f.button("m_doneButton"));
        CHECK(datastoreGetUint32(DS_SPEED_CAL_NUMBER) == 1000);
        CHECK(datastoreGetUint8(DS_SPEED_SOURCE) == kCanSpeed);
        REQUIRE(currentPopup() != nullptr);
        const QString texts = popupTexts(currentPopup()).join("|");
        CHECK(texts.contains(QString("The counted calibration number %1 is above 40,000 pulses and was not saved.")
                                 .arg(c.counted)));
        CHECK(valueButton(f.page, 0)->text() == "1,000");
        tap(currentPopup());
        pumpEvents();
    }
}

TEST_CASE("speed calibration: Cancel and leaving the page keep the number and give the source back")
{
    SUBCASE("Cancel")
    {
        SpeedPage f(UNIT_SYSTEM_METRIC, startOnCanSpeed);
        tapButton(f.button("m_calibrateButton"));
        takePostedEvents();
        f.setItem(DS_SPEED_CAL_PULSES, 812);
        tapButton(f.button("m_cancelButton"));
        CHECK(speedCalEvents() == std::vector<PostedEvent>{{EV_SPEED_CAL, 0}});
        CHECK(datastoreGetUint32(DS_SPEED_CAL_NUMBER) == 1000);
        CHECK(datastoreGetUint8(DS_SPEED_SOURCE) == kCanSpeed);
        CHECK(datastoreGetUint16(DS_PAGE_MODE) == 2);
        CHECK(f.button("m_calibrateButton")->isVisible());
        CHECK(valueButton(f.page, 0)->text() == "1,000");
    }
    SUBCASE("back and home leave the page: page mode 4 and a cancel")
    {
        for (int id : {int(ToolsViewButtonBar::Back), int(ToolsViewButtonBar::Home)}) {
            CAPTURE(id);
            SpeedPage f(UNIT_SYSTEM_METRIC, startOnCanSpeed);
            int back = 0;
            std::vector<int> home;
            QObject::connect(f.page, &ConfigMachineCalImplSpeedSensor::goBack, [&] { ++back; });
            QObject::connect(f.page, &ConfigMachineCalImplSpeedSensor::ShowHomeView,
                             [&](int v) { home.push_back(v); });
            QObject::connect(f.page, &ConfigMachineCalImplSpeedSensor::goBack, [&] { f.leave(); });
            QObject::connect(f.page, &ConfigMachineCalImplSpeedSensor::ShowHomeView, [&] { f.leave(); });
            tapButton(f.button("m_calibrateButton"));
            takePostedEvents();
            f.setItem(DS_SPEED_CAL_PULSES, 812);
            tapButtonBar(f.page, id);
            CHECK(back == (id == ToolsViewButtonBar::Back ? 1 : 0));
            CHECK(home == (id == ToolsViewButtonBar::Home ? std::vector<int>{2} : std::vector<int>{}));
            CHECK(datastoreGetUint16(DS_PAGE_MODE) == 4);
            CHECK(speedCalEvents() == std::vector<PostedEvent>{{EV_SPEED_CAL, 0}});
            CHECK(datastoreGetUint32(DS_SPEED_CAL_NUMBER) == 1000);
            CHECK(datastoreGetUint8(DS_SPEED_SOURCE) == kCanSpeed);
            CHECK(f.page->isIdle());
        }
    }
    SUBCASE("the source saved is the one set when the page was shown last")
    {
        SpeedPage f(UNIT_SYSTEM_METRIC, startOnCanSpeed);
        f.leave();
        f.setItem(DS_SPEED_SOURCE, 3);
        f.enter();
        tapButton(f.button("m_calibrateButton"));
        f.leave();
        CHECK(datastoreGetUint8(DS_SPEED_SOURCE) == 3);
    }
}

TEST_CASE("speed calibration: the typed number is stored unconverted and only up to what the start-up keeps")
{
    struct Case {
        uint32_t system;
        const char* typed;
        bool accepted;
        uint32_t stored;
    };
    const Case cases[] = {
        {UNIT_SYSTEM_METRIC, "40000", true, 40000},
        {UNIT_SYSTEM_US, "547", true, 547},
        {UNIT_SYSTEM_METRIC, "0", true, 0},
        {UNIT_SYSTEM_METRIC, "40001", false, 1000},
        {UNIT_SYSTEM_METRIC, "65000", false, 1000},
    };
    for (const Case& c : cases) {
        CAPTURE(c.typed);
        SpeedPage f(c.system, startOnCanSpeed);
        tapButton(valueButton(f.page, 0));
        NumericKeypadWidget* keypad = shownKeypad();
        REQUIRE(keypad != nullptr);
        CHECK(keypadTitled(keypad, "Calibration Number"));
        keypadType(keypad, c.typed);
        keypadAccept(keypad);
        if (!c.accepted) {
            REQUIRE(currentPopup() != nullptr);
            CHECK(popupTexts(currentPopup()).join("|").contains("Value must be between 0 and 40,000 ."));
            tapPopupButton(currentPopup(), "OK");
        }
        CHECK(datastoreGetUint32(DS_SPEED_CAL_NUMBER) == c.stored);
        // A restart validates the stored number again; what was taken stays.
        ValidateData(0);
        CHECK(datastoreGetUint32(DS_SPEED_CAL_NUMBER) == c.stored);
    }
    SUBCASE("a stored number above the limit is what a restart would lose")
    {
        ScreenFixture f;
        f.setItem(DS_SPEED_CAL_NUMBER, 40001);
        ValidateData(0);
        CHECK(datastoreGetUint32(DS_SPEED_CAL_NUMBER) == 0);
    }
}

TEST_CASE("speed calibration: help texts name the distance of the unit system and the range")
{
    for (uint32_t system : {UNIT_SYSTEM_METRIC, UNIT_SYSTEM_IMPERIAL, UNIT_SYSTEM_US}) {
        CAPTURE(system);
        const char* distance = system == UNIT_SYSTEM_METRIC ? "100 meters" : "300 feet";
        SpeedPage f(system, startOnCanSpeed);
        const QString range = "Range is 0 through 40,000 pulses.";
        const HelpCase cases[] = {
            {0, "Calibration Number", "pulses counted while driving "},
            {1, "Automatic Calibration", "Drive a distance of "},
        };
        for (const HelpCase& c : cases) {
            tapButton(labelButton(f.page, c.id));
            const QString texts = popupTexts(currentPopup()).join("|");
            CHECK(texts.contains(QString(c.textPart) + distance));
            if (c.id == 0)
                CHECK(texts.contains(range));
            checkShownHelp(c);
        }
        if (system == UNIT_SYSTEM_US) {
            tapButton(f.button("m_calibrateButton"));
            f.setItem(DS_SPEED_CAL_PULSES, 1234);
            f.tick100ms();
            CHECK_SCREEN(f.screen(), "speed_calibrating_us");
            tapButton(f.button("m_cancelButton"));
            CHECK_SCREEN(f.screen(), "speed_idle_us");
        }
    }
}
