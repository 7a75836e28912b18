// The tip reference data page over the real datastore, presets and nozzle data
// (custom values in the stand-in board's "nozinfo.ini").
#include "configmachineimplparamnozsetup2.h"
#include "nozzle_fixture.h"
#include "screen_check.h"
#include "settingpage_drive.h"

#include <QSignalSpy>

#include <string>

using ToolsViewWidgets::ConfigMachineImplParamNozSetup2;

namespace {

enum { LowRow = 0, HighRow = 1, FlowRow = 2, RefPressureRow = 3 };

ConfigMachineImplParamNozSetup2* showPage(NozzleFixture& f)
{
    auto* page = new ConfigMachineImplParamNozSetup2(f.page());
    f.place(page, QPoint(0, 0), QSize(480, 272));
    return page;
}

void showAgain(QWidget* page)
{
    page->hide();
    pumpEvents();
    page->show();
    pumpEvents();
}

QString valueText(QWidget* page, int row)
{
    KestromPushButton* value = valueButton(page, row);
    REQUIRE(value != nullptr);
    return value->text();
}

void enter(QWidget* page, int row, const char* entry)
{
    tapButton(valueButton(page, row));
    keypadType(shownKeypad(), entry);
    keypadAccept(shownKeypad());
}

// The entry is refused with the keypad's range message.
void checkRefused(QWidget* page, int row, const char* entry, const QString& message)
{
    CAPTURE(std::string(entry));
    enter(page, row, entry);
    CHECK(popupTexts(currentPopup()).join(" ").contains(message));
    tapPopupButton(currentPopup(), "OK");
    keypadCancel(shownKeypad());
}

}  // namespace

TEST_CASE("tip reference page: the active tip's data in metric and US units")
{
    struct Case {
        uint32_t system;
        const char* pressureUnit;
        const char* flowUnit;
        const char* shot;
    };
    for (const Case& c : {Case{UNIT_SYSTEM_METRIC, "bar", "l/min", "nozsetup2_metric"},
                          Case{UNIT_SYSTEM_US, "psi", "gal/min", "nozsetup2_us"}}) {
        CAPTURE(c.system);
        NozzleFixture f(c.system);
        NozzleFixture::setPreset(0, 3, 2);
        REQUIRE(nozinfoSetCustomPressRange(3, 2, 150, 500) == 1);
        REQUIRE(nozinfoSetCustomRefPress(3, 2, 300) == 1);
        REQUIRE(nozinfoSetCustomRefFlow(3, 2, 1234) == 1);
        auto* page = showPage(f);
        CHECK(pathwayText(page) == "...Implement Parameters->Tip Preset Setup (2)");
        CHECK(labelButton(page, LowRow)->text() == "Low Pressure Limit");
        CHECK(labelButton(page, RefPressureRow)->text() == "Reference Pressure");
        if (c.system == UNIT_SYSTEM_METRIC) {
            CHECK(valueText(page, LowRow) == "1.50 bar");
            CHECK(valueText(page, HighRow) == "5.00 bar");
            CHECK(valueText(page, FlowRow) == "1.23 l/min");
            CHECK(valueText(page, RefPressureRow) == "3.00 bar");
        } else {
            CHECK(valueText(page, LowRow) == "21.8 psi");
            CHECK(valueText(page, HighRow) == "72.5 psi");
            CHECK(valueText(page, FlowRow) == "0.33 gal/min");
            CHECK(valueText(page, RefPressureRow) == "43.5 psi");
        }
        for (int row : {LowRow, HighRow, RefPressureRow})
            CHECK(valueText(page, row).endsWith(c.pressureUnit));
        CHECK(valueText(page, FlowRow).endsWith(c.flowUnit));
        for (int id : {0, 1, 2})
            CHECK(buttonBarButton(page, id)->isVisible());
        CHECK_SCREEN(f.screen(), c.shot);
    }
}

TEST_CASE("tip reference page: keypad ranges and what reaches the core")
{
    NozzleFixture f;
    NozzleFixture::setPreset(0, 3, 1);
    auto* page = showPage(f);
    const uint32_t high = nozinfoPressureLimit(3, 1, NOZINFO_FLAG_MAXIMUM);
    const uint32_t low = nozinfoPressureLimit(3, 1, 0);

    tapButton(valueButton(page, RefPressureRow));
    CHECK(keypadTitled(shownKeypad(), "Reference Pressure (bar)"));
    CHECK_SCREEN(f.screen(), "nozsetup2_refpressure_keypad");
    keypadCancel(shownKeypad());

    checkRefused(page, LowRow, "25.51", "Value must be between 0 and 25.5 bar.");
    checkRefused(page, HighRow, "26", "Value must be between 0 and 25.5 bar.");
    checkRefused(page, RefPressureRow, "0.09", "Value must be between 0.1 and 99.99 bar.");
    checkRefused(page, RefPressureRow, "100", "Value must be between 0.1 and 99.99 bar.");
    checkRefused(page, FlowRow, "100", "Value must be between 0 and 99.99 liter/minute.");
    CHECK(nozinfoPressureLimit(3, 1, NOZINFO_FLAG_MAXIMUM) == high);

    struct Case {
        int row;
        const char* entry;
        const char* shown;
        uint32_t lowAfter;
        uint32_t highAfter;
    };
    // Each limit alone changes; the other stays as the tip holds it.
    for (const Case& c : {Case{LowRow, "1.2", "1.20 bar", 120, high}, Case{HighRow, "25.5", "25.50 bar", 120, 2550},
                          Case{LowRow, "0", "0.00 bar", 0, 2550}}) {
        CAPTURE(c.entry);
        enter(page, c.row, c.entry);
        CHECK(nozinfoPressureLimit(3, 1, 0) == c.lowAfter);
        CHECK(nozinfoPressureLimit(3, 1, NOZINFO_FLAG_MAXIMUM) == c.highAfter);
        CHECK(valueText(page, c.row) == c.shown);
    }
    CHECK(low != 0);

    enter(page, RefPressureRow, "3");
    CHECK(nozinfoRefPressure(3, 1, 0) == 300);
    CHECK(valueText(page, RefPressureRow) == "3.00 bar");
    enter(page, FlowRow, "0.456");
    CHECK(nozinfoSystemRefFlow(3, 1, 0) == 460);
    CHECK(valueText(page, FlowRow) == "0.46 l/min");
    // Nothing of it goes through the store or the dispatcher.
    CHECK(takeProcessCalls().empty());
}

TEST_CASE("tip reference page: a reference flow above 65.535 l/min is kept whole, also after a restart")
{
    NozzleFixture f;
    NozzleFixture::setPreset(0, 3, 4);
    auto* page = showPage(f);
    enter(page, FlowRow, "70");
    CHECK(nozinfoSystemRefFlow(3, 4, 0) == 70000);
    CHECK(valueText(page, FlowRow) == "70.00 l/min");

    // The console starts again: the custom data is read back from "nozinfo.ini".
    REQUIRE(nozinfoInit(0) == 1);
    CHECK(nozinfoSystemRefFlow(3, 4, 0) == 70000);
    showAgain(page);
    CHECK(valueText(page, FlowRow) == "70.00 l/min");
    enter(page, FlowRow, "99.99");
    CHECK(nozinfoSystemRefFlow(3, 4, 0) == 99990);
}

TEST_CASE("tip reference page: presets sharing a tip share its data; the active preset's tip is shown")
{
    NozzleFixture f;
    NozzleFixture::setPreset(0, 3, 2);
    NozzleFixture::setPreset(1, 3, 2);
    NozzleFixture::setPreset(2, 6, 0);
    auto* page = showPage(f);
    enter(page, RefPressureRow, "2.5");
    CHECK(valueText(page, RefPressureRow) == "2.50 bar");

    f.setItem(DS_CURRENT_TIP_PRESET, 1);
    showAgain(page);
    CHECK(valueText(page, RefPressureRow) == "2.50 bar");
    enter(page, HighRow, "7");
    f.setItem(DS_CURRENT_TIP_PRESET, 0);
    showAgain(page);
    CHECK(valueText(page, HighRow) == "7.00 bar");

    // Another tip: its own data.
    f.setItem(DS_CURRENT_TIP_PRESET, 2);
    showAgain(page);
    CHECK(valueText(page, RefPressureRow) ==
          QString("%1 bar").arg(nozinfoRefPressure(6, 0, 0) / 100.0, 0, 'f', 2));
    CHECK(valueText(page, HighRow) ==
          QString("%1 bar").arg(nozinfoPressureLimit(6, 0, NOZINFO_FLAG_MAXIMUM) / 100.0, 0, 'f', 2));

    // After the factory restore the next show has the catalogue values.
    f.setItem(DS_CURRENT_TIP_PRESET, 0);
    nozinfoClearCustom();
    showAgain(page);
    CHECK(valueText(page, RefPressureRow) ==
          QString("%1 bar").arg(nozinfoRefPressure(3, 2, NOZINFO_FLAG_STATIC) / 100.0, 0, 'f', 2));
}

TEST_CASE("tip reference page: help texts in metric and imperial, and the button bar")
{
    for (uint32_t system : {UNIT_SYSTEM_METRIC, UNIT_SYSTEM_IMPERIAL}) {
        CAPTURE(system);
        NozzleFixture f(system);
        auto* page = showPage(f);
        const bool metric = system == UNIT_SYSTEM_METRIC;
        const HelpCase cases[] = {
            {0, "Low Pressure Limit",
             metric ? "Range is 0.00 through 25.50 bar." : "Range is 0.0 through 369.8 psi."},
            {1, "High Pressure Limit",
             metric ? "Range is 0.00 through 25.50 bar." : "Range is 0.0 through 369.8 psi."},
            {2, "Reference Flow",
             metric ? "Range is 0.00 through 99.99 liter/minute." : "Range is 0.00 through 21.99 gallons/minute."},
            {3, "Reference Pressure",
             metric ? "Range is 0.10 through 99.99 bar." : "Range is 1.5 through 1,450.2 psi."},
        };
        for (const HelpCase& c : cases) {
            CAPTURE(c.id);
            tapButton(labelButton(page, c.id));
            checkShownHelp(c);
        }
        page->showHelp(9);
        checkShownEmptyHelp();

        QSignalSpy back(page, &ConfigMachineImplParamNozSetup2::goBack);
        QSignalSpy next(page, &ConfigMachineImplParamNozSetup2::nextPage);
        QSignalSpy home(page, &ConfigMachineImplParamNozSetup2::ShowHomeView);
        tapButtonBar(page, ToolsViewWidgets::ToolsViewButtonBar::Back);
        tapButtonBar(page, ToolsViewWidgets::ToolsViewButtonBar::Next);
        tapButtonBar(page, ToolsViewWidgets::ToolsViewButtonBar::Home);
        CHECK(back.count() == 1);
        CHECK(next.count() == 1);
        REQUIRE(home.count() == 1);
        CHECK(home.at(0).at(0).toInt() == 2);
    }
}
