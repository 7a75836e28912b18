// Valve set-up, tank set-up, sensor presence and implement parameters over
// the real datastore and the core's commands.
#include "configoemimplparam.h"
#include "configoemsensorpresence.h"
#include "configoemtanksetup.h"
#include "configoemvalvesetup.h"
#include "eventids.h"
#include "installer_drive.h"
#include "screen_check.h"
#include "units.h"

#include <QSignalSpy>

using namespace ToolsViewWidgets;

namespace {

QString valueText(QWidget* page, int row)
{
    KestromPushButton* button = valueButton(page, row);
    REQUIRE(button != nullptr);
    return button->text();
}

}  // namespace

TEST_CASE("valve set-up: new store, choices sent and read back, a grid alone sends nothing")
{
    ScreenFixture f;
    setFactoryDefaults({DS_REG_VALVE_TYPE, DS_SECTION_VALVE_TYPE, DS_SECTION_VALVE_BEHAVIOR});
    auto* page = showInstallerPage<ConfigOemValveSetup>(f);
    CHECK(pathwayText(page) == "Settings->OEM->Valve Setup");
    CHECK(valueText(page, 0) == "Bypass");
    CHECK(valueText(page, 1) == "2-way");
    CHECK(valueText(page, 2) == "Follow Master");
    CHECK_SCREEN(f.screen(), "valve_setup_metric");

    struct Case {
        int row;
        int option;
        uint32_t command;
        uint32_t item;
        const char* shown;
    };
    const Case cases[] = {
        {0, 0, EV_SET_REG_VALVE_TYPE, DS_REG_VALVE_TYPE, "Throttle"},
        {1, 1, EV_SET_SECTION_VALVE_TYPE, DS_SECTION_VALVE_TYPE, "3-way"},
        {2, 0, EV_SET_SECTION_VALVE_BEHAVIOR, DS_SECTION_VALVE_BEHAVIOR, "Independent"},
        // The highlighted option touched again sends again.
        {2, 0, EV_SET_SECTION_VALVE_BEHAVIOR, DS_SECTION_VALVE_BEHAVIOR, "Independent"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.row);
        tapButton(valueButton(page, c.row));
        ButtonGridWidget* grid = shownButtonGrid();
        REQUIRE(grid != nullptr);
        CHECK(takeProcessCalls().empty());
        if (c.row == 0)
            CHECK_SCREEN(f.screen(), "valve_setup_grid");
        chooseGridOption(grid, c.option);
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{c.command, static_cast<uint32_t>(c.option)}});
        CHECK(datastoreGetBool(c.item) == static_cast<uint32_t>(c.option));
        CHECK(valueText(page, c.row) == c.shown);
    }

    const HelpCase helps[] = {
        {0, "Regulation Valve Type", "either \"Throttle\" or \"Bypass\"."},
        {1, "Section Valve Type", "\"3-way\". Available only in Sprayer Mode."},
        {2, "Section Valve Behavior", "either \"Independent\" or \"Follow Master\"."},
    };
    for (const HelpCase& c : helps) {
        tapButton(labelButton(page, c.id));
        checkShownHelp(c);
    }
    page->showHelp(3);
    checkShownEmptyHelp();
    QSignalSpy back(page, &ConfigOemValveSetup::goBack);
    QSignalSpy home(page, &ConfigOemValveSetup::ShowHomeView);
    CHECK_FALSE(buttonBarButton(page, ToolsViewButtonBar::Next)->isVisible());
    tapButtonBar(page, ToolsViewButtonBar::Back);
    tapButtonBar(page, ToolsViewButtonBar::Home);
    CHECK(back.count() == 1);
    CHECK(home.count() == 1);
}

TEST_CASE("valve set-up in US units")
{
    ScreenFixture f(UNIT_SYSTEM_US);
    showInstallerPage<ConfigOemValveSetup>(f);
    CHECK_SCREEN(f.screen(), "valve_setup_us");
}

TEST_CASE("tank set-up: rows shown with a filling sensor, contents to the core and back")
{
    ScreenFixture f;
    setFactoryDefaults({DS_TANK_MAX_CONTENT, DS_TANK_MIN_CONTENT, DS_AUTO_FILL_OFFSET});
    auto* page = showInstallerPage<ConfigOemTankSetup>(f);
    CHECK(pathwayText(page) == "Settings->OEM->Tank Setup");
    CHECK(valueText(page, 0) == "5,000 l");
    CHECK(valueText(page, 1) == "0 l");
    CHECK_FALSE(valueButton(page, 2)->isVisible());
    CHECK_FALSE(labelButton(page, 3)->isVisible());
    CHECK_SCREEN(f.screen(), "tank_setup_metric_no_sensor");

    // A sensor set elsewhere shows the filling rows the next time the page opens.
    f.setItem(DS_TANK_SENSOR_PRESENT, 1);
    CHECK_FALSE(valueButton(page, 3)->isVisible());
    reopen(page);
    CHECK(valueButton(page, 2)->isVisible());
    CHECK(valueButton(page, 3)->isVisible());
    f.setItem(DS_TANK_SENSOR_PRESENT, 0);
    f.setItem(DS_FILL_FLOW_SENSOR_PRESENT, 1);
    reopen(page);
    CHECK(valueButton(page, 3)->isVisible());
    CHECK(valueText(page, 2) == "Off");

    tapButton(valueButton(page, 0));
    CHECK(keypadTitled(shownKeypad(), "Maximum Tank Content (l)"));
    CHECK(refusedRangeMessage("65001").contains("between 0 and 65,000 liters"));

    // A maximum below the actual content lowers it; one above leaves it.
    f.setItem(DS_ACTUAL_CONTENT, 3000);
    struct Case {
        int row;
        const char* entry;
        uint32_t command;
        uint32_t item;
        uint32_t stored;
        uint32_t actualAfter;
        const char* shown;
    };
    const Case cases[] = {
        {0, "2000", EV_SET_TANK_MAX_CONTENT, DS_TANK_MAX_CONTENT, 2000, 2000, "2,000 l"},
        {0, "4000", EV_SET_TANK_MAX_CONTENT, DS_TANK_MAX_CONTENT, 4000, 2000, "4,000 l"},
        {0, "4000", EV_SET_TANK_MAX_CONTENT, DS_TANK_MAX_CONTENT, 4000, 2000, "4,000 l"},
        // No limit between rows: a minimum above the maximum is taken.
        {1, "900", EV_SET_TANK_MIN_CONTENT, DS_TANK_MIN_CONTENT, 900, 2000, "900 l"},
        {3, "120", EV_SET_AUTO_FILL_OFFSET, DS_AUTO_FILL_OFFSET, 120, 2000, "120 l"},
    };
    f.setItem(DS_TANK_MAX_CONTENT, 800);
    for (const Case& c : cases) {
        CAPTURE(c.entry);
        tapButton(valueButton(page, c.row));
        keypadType(shownKeypad(), c.entry);
        keypadAccept(shownKeypad());
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{c.command, c.stored}});
        CHECK(datastoreGetUint16(c.item) == c.stored);
        CHECK(datastoreGetUint16(DS_ACTUAL_CONTENT) == c.actualAfter);
        CHECK(valueText(page, c.row) == c.shown);
    }

    tapButton(valueButton(page, 2));
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_AUTO_FILLING, 1}});
    CHECK(valueText(page, 2) == "On");
    tapButton(valueButton(page, 2));
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_AUTO_FILLING, 0}});
    CHECK(valueText(page, 2) == "Off");
    CHECK_SCREEN(f.screen(), "tank_setup_metric");

    const HelpCase helps[] = {
        {0, "Maximum Tank Content", "tank volume. Range is 0 through 65,000 liters."},
        {1, "Minimum Tank Content", "Range is 0 through 1,000 liters."},
        {2, "Automatic Filling", "either \"on\" or \"off\"."},
        {3, "Automatic Filling Offset", "Range is 0 through 500 liters."},
    };
    for (const HelpCase& c : helps) {
        tapButton(labelButton(page, c.id));
        checkShownHelp(c);
    }
    page->showHelp(4);
    checkShownEmptyHelp();
}

TEST_CASE("tank set-up: US gallons and NH3 masses over the same items")
{
    struct Case {
        uint32_t system;
        uint32_t nh3;
        const char* maxShown;
        const char* title;
        const char* range;
        const char* entry;
        uint32_t sent;
        const char* screen;
    };
    const Case cases[] = {
        {UNIT_SYSTEM_US, 0, "1,321 gal", "Maximum Tank Content (gal)", "between 0 and 17,171 gallons", "100", 379,
         "tank_setup_us"},
        {UNIT_SYSTEM_METRIC, 1, "5,000 kg", "Maximum Tank Content (kg)", "between 0 and 65,000 kilograms", "100", 100,
         "tank_setup_nh3_metric"},
        {UNIT_SYSTEM_US, 1, "11,023 lb", "Maximum Tank Content (lb)", "between 0 and 143,300 pounds", "100", 45,
         "tank_setup_nh3_us"},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.screen));
        ScreenFixture f(c.system);
        f.setItem(DS_NH3_MODE, c.nh3);
        f.setItem(DS_TANK_MAX_CONTENT, 5000);
        f.setItem(DS_TANK_SENSOR_PRESENT, 1);
        auto* page = showInstallerPage<ConfigOemTankSetup>(f);
        CHECK(valueText(page, 0) == c.maxShown);
        CHECK_SCREEN(f.screen(), c.screen);
        tapButton(valueButton(page, 0));
        CHECK(keypadTitled(shownKeypad(), c.title));
        const QString refused = refusedRangeMessage("999999");
        CAPTURE(refused.toStdString());
        CHECK(refused.contains(c.range));
        tapButton(valueButton(page, 0));
        keypadType(shownKeypad(), c.entry);
        keypadAccept(shownKeypad());
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_TANK_MAX_CONTENT, c.sent}});
        CHECK(datastoreGetUint16(DS_TANK_MAX_CONTENT) == c.sent);
    }
}

TEST_CASE("sensor presence: toggles, the exclusive filling sensors and the core's flow or pressure guard")
{
    ScreenFixture f;
    setFactoryDefaults({DS_FLOW_SENSOR_PRESENT, DS_PRESSURE_SENSOR_PRESENT, DS_FILL_FLOW_SENSOR_PRESENT,
                        DS_TANK_SENSOR_PRESENT});
    f.setItem(DS_ACTIVE_SECTIONS, 9);
    auto* page = showInstallerPage<ConfigOemSensorPresence>(f);
    CHECK(pathwayText(page) == "Settings->OEM->Sensor Presence");
    const QStringList fresh = {"Yes", "No", "No", "No"};
    for (int row = 0; row < 4; ++row)
        CHECK(valueText(page, row) == fresh.at(row));
    CHECK_SCREEN(f.screen(), "sensor_presence_metric");

    struct Case {
        const char* what;
        uint32_t fillFlow;
        uint32_t tank;
        int touched;
        std::vector<PostedEvent> sent;
        const char* fillFlowShown;
        const char* tankShown;
    };
    const Case cases[] = {
        {"fill flow on over the tank sensor", 0, 1, 2,
         {{EV_SET_TANK_SENSOR_PRESENT, 0}, {EV_SET_FILL_FLOW_SENSOR_PRESENT, 1}}, "Yes", "No"},
        {"tank on over the fill flow sensor", 1, 0, 3,
         {{EV_SET_FILL_FLOW_SENSOR_PRESENT, 0}, {EV_SET_TANK_SENSOR_PRESENT, 1}}, "No", "Yes"},
        {"fill flow on alone", 0, 0, 2, {{EV_SET_FILL_FLOW_SENSOR_PRESENT, 1}}, "Yes", "No"},
        {"tank on alone", 0, 0, 3, {{EV_SET_TANK_SENSOR_PRESENT, 1}}, "No", "Yes"},
        {"fill flow off", 1, 0, 2, {{EV_SET_FILL_FLOW_SENSOR_PRESENT, 0}}, "No", "No"},
        {"tank off", 0, 1, 3, {{EV_SET_TANK_SENSOR_PRESENT, 0}}, "No", "No"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        f.setItem(DS_FILL_FLOW_SENSOR_PRESENT, c.fillFlow);
        f.setItem(DS_TANK_SENSOR_PRESENT, c.tank);
        tapButton(valueButton(page, c.touched));
        CHECK(takeProcessCalls() == c.sent);
        CHECK(valueText(page, 2) == c.fillFlowShown);
        CHECK(valueText(page, 3) == c.tankShown);
    }

    // The core never leaves both flow and pressure sensor clear.
    f.setItem(DS_FLOW_SENSOR_PRESENT, 1);
    f.setItem(DS_PRESSURE_SENSOR_PRESENT, 0);
    tapButton(valueButton(page, 0));
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_FLOW_SENSOR_PRESENT, 0}});
    CHECK(valueText(page, 0) == "No");
    CHECK(valueText(page, 1) == "Yes");
    page->togglePresenceState(7);
    CHECK(takeProcessCalls().empty());

    // From 12 sections on the fill-flow row is hidden the next time the page opens.
    for (uint32_t sections : {11u, 12u, 13u}) {
        CAPTURE(sections);
        f.setItem(DS_ACTIVE_SECTIONS, sections);
        reopen(page);
        CHECK(valueButton(page, 2)->isVisible() == (sections < 12));
        CHECK(labelButton(page, 2)->isVisible() == (sections < 12));
    }

    const HelpCase helps[] = {
        {0, "Flow Sensor", "Digital sensor for measuring liquid flow."},
        {1, "Liquid Pressure Sensor", "Analog sensor for measuring liquid pressure."},
        {2, "Fill Flow Sensor", "Digital sensor for measuring fill flow."},
        {3, "Tank Sensor", "Analog sensor for measuring tank content."},
    };
    f.setItem(DS_ACTIVE_SECTIONS, 9);
    reopen(page);
    for (const HelpCase& c : helps) {
        tapButton(labelButton(page, c.id));
        checkShownHelp(c);
    }
    page->showHelp(4);
    checkShownEmptyHelp();
}

TEST_CASE("sensor presence in US units")
{
    ScreenFixture f(UNIT_SYSTEM_US);
    f.setItem(DS_ACTIVE_SECTIONS, 9);
    showInstallerPage<ConfigOemSensorPresence>(f);
    CHECK_SCREEN(f.screen(), "sensor_presence_us");
}

TEST_CASE("implement parameters: sections, circulation with the recomputation, smoothing")
{
    ScreenFixture f;
    setFactoryDefaults({DS_NUMBER_OF_SECTIONS, DS_CIRCULATION_MODE, DS_DISPLAY_RATE_SMOOTHING});
    auto* page = showInstallerPage<ConfigOemImplParam>(f);
    CHECK(pathwayText(page) == "Settings->OEM->Implement Parameters (1)");
    CHECK(valueText(page, 1) == "9");
    CHECK(valueText(page, 2) == "None");
    CHECK(valueText(page, 3) == "5%");
    CHECK(showsIcon(labelButton(page, 1), ":/images/num_sections.svg"));
    CHECK_FALSE(buttonBarButton(page, ToolsViewButtonBar::Next)->isVisible());
    CHECK_SCREEN(f.screen(), "impl_param_metric");

    f.setItem(DS_MAX_SECTIONS, 13);
    tapButton(valueButton(page, 1));
    CHECK(keypadTitled(shownKeypad(), "Number of Sections"));
    CHECK(refusedRangeMessage("14").contains("between 1 and 13"));
    f.setItem(DS_MAX_SECTIONS, 10);
    tapButton(valueButton(page, 1));
    CHECK(refusedRangeMessage("11").contains("between 1 and 10"));
    for (const char* entry : {"10", "9", "10"}) {
        CAPTURE(entry);
        tapButton(valueButton(page, 1));
        keypadType(shownKeypad(), entry);
        keypadAccept(shownKeypad());
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_NUMBER_OF_SECTIONS, QString(entry).toUInt()}});
        CHECK(valueText(page, 1) == entry);
        CHECK(buttonBarButton(page, ToolsViewButtonBar::Next)->isVisible() == (QString(entry) == "10"));
    }

    // Circulation: the command, then the core's calculator recomputes the pair.
    f.setItem(DS_CALC_SPEED, 0);
    f.setItem(DS_CALC_PRESSURE, 0);
    tapButton(valueButton(page, 2));
    CHECK_SCREEN(f.screen(), "impl_param_circulation_grid");
    chooseGridOption(shownButtonGrid(), 1);
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_CIRCULATION, 1}});
    CHECK(datastoreGetUint16(DS_CIRCULATION_MODE) == 1);
    CHECK(valueText(page, 2) == "Semi");

    // A stored 3 reads "Full" and highlights no option.
    f.setItem(DS_CIRCULATION_MODE, 3);
    reopen(page);
    CHECK(valueText(page, 2) == "Full");
    tapButton(valueButton(page, 2));
    for (int id = 0; id <= 2; ++id)
        CHECK_FALSE(gridOption(shownButtonGrid(), id)->property("hasHighlightedBorder").toBool());
    shownButtonGrid()->close();
    pumpEvents();

    tapButton(valueButton(page, 3));
    CHECK(keypadTitled(shownKeypad(), "Display Rate Smoothing (%)"));
    CHECK(refusedRangeMessage("26").contains("between 0 and 25 %"));
    tapButton(valueButton(page, 3));
    keypadType(shownKeypad(), "12");
    keypadAccept(shownKeypad());
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_RATE_SMOOTHING, 12}});
    CHECK(valueText(page, 3) == "12%");

    f.setItem(DS_PHYS_SECTION_SWITCHES, 9);
    const HelpCase helps[] = {
        {1, "Number of Sections", "Range is 1 through 9."},
        {2, "Circulation", "Available only in Sprayer Mode."},
        {3, "Display Rate Smoothing", "Range is 0 through 25 %.\nOnce actual application rate"},
    };
    for (const HelpCase& c : helps) {
        tapButton(labelButton(page, c.id));
        checkShownHelp(c);
    }
    page->showHelp(4);
    checkShownEmptyHelp();

    QSignalSpy next(page, &ConfigOemImplParam::nextPage);
    QSignalSpy back(page, &ConfigOemImplParam::goBack);
    tapButtonBar(page, ToolsViewButtonBar::Next);
    tapButtonBar(page, ToolsViewButtonBar::Back);
    CHECK(next.count() == 1);
    CHECK(back.count() == 1);
}

TEST_CASE("implement parameters in US units")
{
    ScreenFixture f(UNIT_SYSTEM_US);
    f.setItem(DS_NUMBER_OF_SECTIONS, 13);
    f.setItem(DS_DISPLAY_RATE_SMOOTHING, 25);
    f.setItem(DS_CIRCULATION_MODE, 1);
    auto* page = showInstallerPage<ConfigOemImplParam>(f);
    CHECK(buttonBarButton(page, ToolsViewButtonBar::Next)->isVisible());
    CHECK_SCREEN(f.screen(), "impl_param_us");
}
