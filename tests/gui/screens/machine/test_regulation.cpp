// The regulation parameters page over the real datastore and dispatcher.
#include "configmachineimplparamregparam.h"
#include "eventids.h"
#include "screen_check.h"
#include "screen_fixture.h"
#include "settingpage_drive.h"
#include "units.h"

#include <QSignalSpy>

using ToolsViewWidgets::ConfigMachineImplParamRegParam;

namespace {

enum { RoughRow = 0, FineRow = 1, SpacingRow = 2, RegulModeRow = 3 };

ConfigMachineImplParamRegParam* showPage(ScreenFixture& f)
{
    auto* page = new ConfigMachineImplParamRegParam(f.page());
    f.place(page, QPoint(0, 0), QSize(480, 272));
    takeProcessCalls();
    return page;
}

void setRegulation(ScreenFixture& f, uint32_t flowSensor, uint32_t pressureSensor)
{
    f.setItem(DS_FLOW_SENSOR_PRESENT, flowSensor);
    f.setItem(DS_PRESSURE_SENSOR_PRESENT, pressureSensor);
    f.setItem(DS_REGULATION_MODE, 1);
    f.setItem(DS_COARSE_VALVE_CAL, 7);
    f.setItem(DS_FINE_VALVE_CAL, 3);
    f.setItem(DS_TIP_SPACING, 500);
}

}  // namespace

TEST_CASE("regulation page: rows and screenshots in metric and imperial")
{
    for (uint32_t system : {UNIT_SYSTEM_METRIC, UNIT_SYSTEM_IMPERIAL}) {
        CAPTURE(system);
        ScreenFixture f(system);
        setRegulation(f, 1, 1);
        auto* page = showPage(f);
        CHECK(pathwayText(page) == "...Implement Parameters->Regulation Parameters");
        CHECK(page->findChild<KestromPushButton*>("m_ValveCalibRoughValue")->text() == "7");
        CHECK(page->findChild<KestromPushButton*>("m_btnValveCalibFineValue")->text() == "3");
        CHECK(page->findChild<KestromPushButton*>("m_btnRegulModeSelection")->text() == "Flow");
        CHECK(page->findChild<KestromPushButton*>("m_btnNozzleSpacingValue")->text() ==
              (system == UNIT_SYSTEM_METRIC ? "50.0 cm" : "19.7 in"));
        CHECK_SCREEN(f.screen(), system == UNIT_SYSTEM_METRIC ? "regulation_metric" : "regulation_imperial");
    }
}

TEST_CASE("regulation page: the mode is chosen only with both sensors")
{
    struct Case {
        uint32_t flow;
        uint32_t pressure;
        bool enabled;
    };
    for (const Case& c : {Case{1, 0, false}, Case{0, 1, false}, Case{0, 0, false}, Case{1, 1, true}}) {
        CAPTURE(c.flow);
        CAPTURE(c.pressure);
        ScreenFixture f;
        setRegulation(f, c.flow, c.pressure);
        auto* page = showPage(f);
        KestromPushButton* mode = page->findChild<KestromPushButton*>("m_btnRegulModeSelection");
        CHECK(mode->isEnabled() == c.enabled);
        if (!c.enabled) {
            tap(mode);
            page->editRegulMode();
            pumpEvents();
            CHECK(shownButtonGrid() == nullptr);
            continue;
        }
        tapButton(mode);
        CHECK_SCREEN(f.screen(), "regulation_mode_grid");
        chooseGridOption(shownButtonGrid(), 0);
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_REGUL_MODE, 0}});
        CHECK(datastoreGetBool(DS_REGULATION_MODE) == 0);
        CHECK(mode->text() == "Pressure");
    }
}

TEST_CASE("regulation page: valve calibration and tip spacing go to the core")
{
    ScreenFixture f;
    setRegulation(f, 1, 1);
    auto* page = showPage(f);

    struct Case {
        const char* button;
        const char* entry;
        uint32_t event;
        uint32_t sent;
        uint32_t item;
        const char* shown;
    };
    const Case cases[] = {
        {"m_ValveCalibRoughValue", "12.8", EV_SET_REG_ROUGH, 12, DS_COARSE_VALVE_CAL, "12"},
        {"m_btnValveCalibFineValue", "9", EV_SET_REG_FINE, 9, DS_FINE_VALVE_CAL, "9"},
        {"m_btnNozzleSpacingValue", "50", EV_SET_NOZZLE_SPACING, 500, DS_TIP_SPACING, "50.0 cm"},
        {"m_btnNozzleSpacingValue", "37.46", EV_SET_NOZZLE_SPACING, 375, DS_TIP_SPACING, "37.5 cm"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.button);
        CAPTURE(c.entry);
        KestromPushButton* button = page->findChild<KestromPushButton*>(c.button);
        tapButton(button);
        keypadType(shownKeypad(), c.entry);
        keypadAccept(shownKeypad());
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{c.event, c.sent}});
        CHECK(datastoreGetUint16(c.item) == c.sent);
        CHECK(button->text() == c.shown);
    }

    // The text is the core's stored value, not the entry.
    f.setItem(DS_TIP_SPACING, 610);
    page->commitNozzleSpacing(0.0);
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_NOZZLE_SPACING, 0}});
    CHECK(page->findChild<KestromPushButton*>("m_btnNozzleSpacingValue")->text() == "61.0 cm");

    struct Range {
        const char* button;
        const char* refused;
        const char* title;
    };
    for (const Range& r : {Range{"m_ValveCalibRoughValue", "20", "Coarse Valve Calibration"},
                           Range{"m_btnValveCalibFineValue", "10", "Fine Valve Calibration"},
                           Range{"m_btnNozzleSpacingValue", "2000", "Tip Spacing (cm)"},
                           Range{"m_btnNozzleSpacingValue", "0.9", "Tip Spacing (cm)"}}) {
        CAPTURE(r.refused);
        tapButton(page->findChild<KestromPushButton*>(r.button));
        CHECK(keypadTitled(shownKeypad(), r.title));
        keypadType(shownKeypad(), r.refused);
        keypadAccept(shownKeypad());
        CHECK(popupTexts(currentPopup()).join(" ").contains("Invalid value!"));
        tapPopupButton(currentPopup(), "OK");
        keypadCancel(shownKeypad());
        CHECK(takeProcessCalls().empty());
    }
    tapButton(page->findChild<KestromPushButton*>("m_btnNozzleSpacingValue"));
    CHECK_SCREEN(f.screen(), "regulation_spacing_keypad");
    keypadType(shownKeypad(), "1999.9");
    keypadAccept(shownKeypad());
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_NOZZLE_SPACING, 19999}});
}

TEST_CASE("regulation page: help texts and the button bar")
{
    ScreenFixture f;
    setRegulation(f, 1, 1);
    auto* page = showPage(f);
    const HelpCase cases[] = {
        {0, "Coarse Valve Calibration", "outside of the target application rate. Range is 0 through 19."},
        {1, "Fine Valve Calibration", "close to the target application rate. Range is 0 through 9."},
        {2, "Tip Spacing", "Range is 1.0 through 1,999.9 centimetres."},
        {3, "Regulation Mode", "pressure based or flow based."},
    };
    for (const HelpCase& c : cases) {
        CAPTURE(c.id);
        page->showHelp(c.id);
        checkShownHelp(c);
    }
    page->showHelp(7);
    checkShownEmptyHelp();

    QSignalSpy back(page, &ConfigMachineImplParamRegParam::goBack);
    QSignalSpy home(page, &ConfigMachineImplParamRegParam::ShowHomeView);
    tapButtonBar(page, ToolsViewWidgets::ToolsViewButtonBar::Back);
    tapButtonBar(page, ToolsViewWidgets::ToolsViewButtonBar::Home);
    CHECK(back.count() == 1);
    REQUIRE(home.count() == 1);
    CHECK(home.at(0).at(0).toInt() == 2);
}
