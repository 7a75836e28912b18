// The job parameters page over the real datastore and dispatcher: rate number
// and rate with the commands, events and traces the regulation relies on, the
// tip preset grid, circulation or idle pressure in the shared row, the 100 ms
// refresh, help texts and the screenshots in each unit system.
#include "settingpage_drive.h"
#include "nozzle_fixture.h"
#include "eventids.h"
#include "screen_check.h"
#include "toolsviewconfigjobparam.h"

#include <QLabel>
#include <QLocale>
#include <QSignalSpy>

using ToolsViewWidgets::ToolsViewConfigJobParam;

namespace {

enum { RateNumberRow = 0, RateRow = 1, TipRow = 2, CirculationRow = 3, IdlePressureRow = 4 };

struct JobParam : NozzleFixture {
    explicit JobParam(uint32_t system = UNIT_SYSTEM_METRIC, bool turf = false) : NozzleFixture(system)
    {
        setItem(DS_TURF_UNITS, turf ? 1 : 0);
        setItem(DS_APPL_RATE_NUMBER, 1);
        setItem(DS_APPL_RATE_1, 1000);
        setItem(DS_APPL_RATE_2, 2500);
        setItem(DS_APPL_RATE_3, 3005);
        setItem(DS_TARGET_RATE, 1000);
        setItem(DS_CIRCULATION_MODE, 0);
        setItem(DS_PRESSURE_SENSOR_PRESENT, 1);
        setItem(DS_REG_SETTING_43, 0);
        setItem(DS_IDLE_PRESSURE, 150);
        setItem(DS_RATE_CHANGED_FLAG, 1);
    }
    // The page as the settings entry page shows it.
    ToolsViewConfigJobParam* show()
    {
        jobPage = new ToolsViewConfigJobParam(page());
        place(jobPage, QPoint(0, 0), QSize(480, 272));
        takePostedEvents();
        takeProcessCalls();
        takeDebugText();
        return jobPage;
    }
    KestromPushButton* button(const char* name) const
    {
        auto* found = jobPage->findChild<KestromPushButton*>(QString::fromLatin1(name));
        REQUIRE(found != nullptr);
        return found;
    }
    KestromPushButton* rateNumber() const { return button("m_btnApplRateNumber"); }
    KestromPushButton* rate() const { return button("m_btnApplRateValue"); }
    KestromPushButton* tip() const { return button("m_btnNozzleType"); }
    KestromPushButton* circulation() const { return button("m_btnCirculation"); }
    KestromPushButton* idlePressure() const { return button("m_btnIdlePressure"); }
    QLabel* presetLabel(const char* kind, int preset) const
    {
        return jobPage->findChild<QLabel*>(QStringLiteral("m_tipPreset%1%2").arg(kind).arg(preset));
    }
    void enterRate(const QString& typed)
    {
        tapButton(rate());
        REQUIRE(shownKeypad() != nullptr);
        keypadType(shownKeypad(), typed);
        keypadAccept(shownKeypad());
    }

    ToolsViewConfigJobParam* jobPage = nullptr;
};

}  // namespace

TEST_CASE("job parameters: rate texts and units in each unit system, with the screenshots")
{
    struct Case {
        uint32_t system;
        bool turf;
        const char* rate;  // rate 1 = 1000 base units
        const char* choice3;
        const char* screenshot;
    };
    const Case cases[] = {
        {UNIT_SYSTEM_METRIC, false, "100 l/ha", "301\nl/ha", "jobparam_metric"},
        {UNIT_SYSTEM_METRIC, true, "100 l/ha", "301\nl/ha", "jobparam_metric_turf"},
        {UNIT_SYSTEM_IMPERIAL, false, "8.9 gal/ac", "26.8\ngal/ac", "jobparam_imperial"},
        {UNIT_SYSTEM_US, false, "10.7 gal/ac", "32.1\ngal/ac", "jobparam_us"},
        {UNIT_SYSTEM_US, true, "0.25 gal/1000 sq ft", "0.74\ngal/1000 sq ft", "jobparam_us_turf"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.screenshot);
        JobParam f(c.system, c.turf);
        f.show();
        CHECK(pathwayText(f.jobPage) == "Settings->Job Parameters");
        CHECK(labelButton(f.jobPage, RateNumberRow)->text().simplified() == "Application Rate Number");
        CHECK(labelButton(f.jobPage, RateRow)->text() == "Application Rate");
        CHECK(labelButton(f.jobPage, TipRow)->text() == "Tip Type");
        CHECK(f.rateNumber()->text() == "1");
        CHECK(f.rate()->text() == c.rate);
        CHECK(showsIcon(labelButton(f.jobPage, RateNumberRow), ":/images/Target_num.svg"));
        CHECK(showsIcon(labelButton(f.jobPage, RateRow), ":/images/Target_icon.svg"));
        CHECK_SCREEN(f.screen(), c.screenshot);

        tapButton(f.rateNumber());
        ButtonGridWidget* grid = shownButtonGrid();
        REQUIRE(grid != nullptr);
        CHECK(gridOption(grid, 3)->text() == c.choice3);
        CHECK(gridOption(grid, 1)->property("hasHighlightedBorder").toBool());
        CHECK_SCREEN(f.screen(), QString(c.screenshot) + "_rate_numbers");
        grid->close();
    }
}

TEST_CASE("job parameters: choosing a rate number makes its rate the target, also the number already chosen")
{
    JobParam f;
    f.show();
    for (int number : {2, 2, 1}) {
        CAPTURE(number);
        const uint16_t rate = datastoreGetUint16(DS_APPL_RATE_1 + number - 1);
        f.setItem(DS_RATE_CHANGED_FLAG, 1);
        f.setItem(DS_TARGET_RATE, 777);
        takePostedEvents();
        tapButton(f.rateNumber());
        chooseGridOption(shownButtonGrid(), number);
        CHECK(datastoreGetUint16(DS_APPL_RATE_NUMBER) == number);
        CHECK(datastoreGetUint16(DS_TARGET_RATE) == rate);
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_BOOST, 100}});
        CHECK(hasEvent(takePostedEvents(), EV_TARGET_RATE_CHANGED, rate));
        CHECK(datastoreGetBool(DS_RATE_CHANGED_FLAG) == 0);
        CHECK(takeDebugText() == "TDR Target rate = " + std::to_string(rate) + " (" + std::to_string(rate) + ")\r\n");
        CHECK(f.rateNumber()->text() == QString::number(number));
        CHECK(f.rate()->text() == (number == 2 ? "250 l/ha" : "100 l/ha"));
    }
}

TEST_CASE("job parameters: entering a rate")
{
    struct Case {
        const char* typed;
        uint16_t target;      // before the entry
        uint16_t stored;      // item 138 and the target afterwards
        bool sent;            // written, traced, boost reset and posted
        const char* shown;
    };
    const Case cases[] = {
        {"123", 2500, 1230, true, "123 l/ha"},
        // The current target: nothing written or sent, only the flag cleared.
        {"250", 2500, 2500, false, "250 l/ha"},
        // The target equals the entry although number 2 stores another rate.
        {"90", 900, 2500, false, "250 l/ha"},
        // The keypad's maximum rounds up to 6554 l/ha, above the 16-bit items:
        // the largest rate is stored and posted, never the low bits.
        {"6554", 2500, 65535, true, "6,554 l/ha"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.typed);
        JobParam f;
        f.setItem(DS_APPL_RATE_NUMBER, 2);
        f.setItem(DS_TARGET_RATE, c.target);
        f.show();
        StoreWriteRecorder writes;
        f.enterRate(c.typed);
        CHECK(shownKeypad() == nullptr);
        CHECK(datastoreGetUint16(DS_APPL_RATE_2) == c.stored);
        CHECK(datastoreGetBool(DS_RATE_CHANGED_FLAG) == 0);
        const std::vector<PostedEvent> posted = takePostedEvents();
        if (c.sent) {
            CHECK(datastoreGetUint16(DS_TARGET_RATE) == c.stored);
            CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_BOOST, 100}});
            CHECK(hasEvent(posted, EV_TARGET_RATE_CHANGED, c.stored));
            CHECK(takeDebugText() == "TDR Target rate = " + std::to_string(c.stored) + "\r\n");
        } else {
            CHECK(datastoreGetUint16(DS_TARGET_RATE) == c.target);
            CHECK(StoreWriteRecorder::take(DS_APPL_RATE_2).empty());
            CHECK(takeProcessCalls().empty());
            CHECK_FALSE(hasEvent(posted, EV_TARGET_RATE_CHANGED, c.target));
            CHECK(takeDebugText().empty());
        }
        CHECK(f.rate()->text() == c.shown);
    }
}

TEST_CASE("job parameters: the rate keypad's range, title and decimal entry")
{
    JobParam f(UNIT_SYSTEM_US);
    f.show();
    tapButton(f.rate());
    NumericKeypadWidget* keypad = shownKeypad();
    REQUIRE(keypad != nullptr);
    CHECK(keypadTitled(keypad, "Application Rate (gal/ac)"));
    CHECK_SCREEN(f.screen(), "jobparam_rate_keypad");
    keypadCancel(keypad);

    // 12.3 gal/ac typed is 123 tenths exactly, not 122 by binary rounding.
    f.enterRate("12.3");
    CHECK(datastoreGetUint16(DS_APPL_RATE_1) == unitDisplayToBase(UQ_TARGET_RATE, 123));
    CHECK(f.rate()->text() == "12.3 gal/ac");
}

TEST_CASE("job parameters: the shared row shows circulation, idle pressure or nothing")
{
    struct Case {
        uint32_t mode;
        uint32_t sensor;
        uint32_t setting43;
        bool circulation;
        bool idlePressure;
    };
    const Case cases[] = {
        {1, 1, 0, true, false}, {2, 0, 0, true, false}, {0, 1, 0, false, true},
        {0, 0, 0, false, false}, {0, 1, 5, false, false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.mode);
        CAPTURE(c.sensor);
        CAPTURE(c.setting43);
        JobParam f;
        f.setItem(DS_CIRCULATION_MODE, c.mode);
        f.setItem(DS_PRESSURE_SENSOR_PRESENT, c.sensor);
        f.setItem(DS_REG_SETTING_43, c.setting43);
        f.show();
        CHECK(f.circulation()->isVisible() == c.circulation);
        CHECK(labelButton(f.jobPage, CirculationRow)->isVisible() == c.circulation);
        CHECK(f.idlePressure()->isVisible() == c.idlePressure);
        CHECK(labelButton(f.jobPage, IdlePressureRow)->isVisible() == c.idlePressure);
    }
}

TEST_CASE("job parameters: circulation on and off")
{
    JobParam f;
    f.setItem(DS_CIRCULATION_MODE, 1);
    f.setItem(DS_CIRCULATION_ON, 0);
    f.show();
    CHECK(labelButton(f.jobPage, CirculationRow)->text() == "Circulation");
    CHECK(f.circulation()->text() == "Off");
    CHECK_SCREEN(f.screen(), "jobparam_circulation");
    tapButton(f.circulation());
    ButtonGridWidget* grid = shownButtonGrid();
    REQUIRE(grid != nullptr);
    CHECK(gridOption(grid, 0)->text() == "Off");
    CHECK(gridOption(grid, 1)->text() == "On");
    CHECK(gridOption(grid, 0)->property("hasHighlightedBorder").toBool());
    chooseGridOption(grid, 1);
    CHECK(datastoreGetBool(DS_CIRCULATION_ON) == 1);
    CHECK(f.circulation()->text() == "On");
    CHECK(takePostedEvents().empty());
    CHECK(takeProcessCalls().empty());
}

TEST_CASE("job parameters: idle pressure is written on every commit, in the pressure unit")
{
    for (uint32_t system : {UNIT_SYSTEM_METRIC, UNIT_SYSTEM_US}) {
        CAPTURE(system);
        JobParam f(system);
        f.show();
        const bool metric = system == UNIT_SYSTEM_METRIC;
        CHECK(labelButton(f.jobPage, IdlePressureRow)->text() == "Idle Pressure");
        CHECK(f.idlePressure()->text() == (metric ? "1.50 bar" : "21.76 psi"));
        if (metric)
            CHECK_SCREEN(f.screen(), "jobparam_idle_pressure");
        StoreWriteRecorder writes;
        tapButton(f.idlePressure());
        REQUIRE(shownKeypad() != nullptr);
        CHECK(keypadTitled(shownKeypad(), metric ? "Idle Pressure (bar)" : "Idle Pressure (psi)"));
        keypadType(shownKeypad(), metric ? "1.5" : "21.76");
        keypadAccept(shownKeypad());
        CHECK(StoreWriteRecorder::take(DS_IDLE_PRESSURE) == std::vector<uint32_t>{150});
        CHECK(f.idlePressure()->text() == (metric ? "1.50 bar" : "21.76 psi"));
        CHECK(takePostedEvents().empty());
    }
}

TEST_CASE("job parameters: the tip preset grid shows names and pictures and redraws only changed presets")
{
    JobParam f;
    f.setPreset(2, 6, 2);
    f.setItem(DS_CURRENT_TIP_PRESET, 2);
    f.show();
    CHECK(f.tip()->text() == "AIFF-03");
    tapButton(f.tip());
    ButtonGridWidget* grid = shownButtonGrid();
    REQUIRE(grid != nullptr);
    CHECK(gridOption(grid, 2)->property("hasHighlightedBorder").toBool());
    qint64 pictures[ToolsViewConfigJobParam::PresetCount];
    for (int i = 0; i < ToolsViewConfigJobParam::PresetCount; ++i) {
        CAPTURE(i);
        REQUIRE(gridOption(grid, i) != nullptr);
        CHECK_FALSE(f.presetLabel("Name", i)->text().isEmpty());
        CHECK((f.presetLabel("Name", i)->text() == "AIFF-03") == (i == 2));
        CHECK_FALSE(f.presetLabel("Image", i)->pixmap(Qt::ReturnByValue).isNull());
        pictures[i] = f.presetLabel("Image", i)->pixmap(Qt::ReturnByValue).cacheKey();
    }
    CHECK_SCREEN(f.screen(), "jobparam_tip_grid");
    chooseGridOption(grid, 4);
    CHECK(datastoreGetUint16(DS_CURRENT_TIP_PRESET) == 4);
    CHECK(f.tip()->text() == f.presetLabel("Name", 4)->text());

    // The nozzle page changes preset 1's tip.
    f.setPreset(1, 6, 2);
    tapButton(f.tip());
    REQUIRE(shownButtonGrid() != nullptr);
    for (int i = 0; i < ToolsViewConfigJobParam::PresetCount; ++i) {
        CAPTURE(i);
        CHECK((f.presetLabel("Image", i)->pixmap(Qt::ReturnByValue).cacheKey() != pictures[i]) == (i == 1));
    }
    CHECK(f.presetLabel("Name", 1)->text() == "AIFF-03");
}

TEST_CASE("job parameters: a rate set elsewhere shows within 100 ms; a language change redraws in its number format")
{
    JobParam f;
    f.setItem(DS_APPL_RATE_1, 12345);
    f.show();
    CHECK(f.rate()->text() == "1,235 l/ha");
    f.setItem(DS_APPL_RATE_NUMBER, 3);
    f.tick100ms();
    CHECK(f.rateNumber()->text() == "3");
    CHECK(f.rate()->text() == "301 l/ha");
    f.setItem(DS_APPL_RATE_3, 21000);
    f.tick100ms();
    CHECK(f.rate()->text() == "2,100 l/ha");

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(f.jobPage, &change);
    CHECK(f.rate()->text() == "2.100 l/ha");
    CHECK(f.idlePressure()->text() == "1,50 bar");
    pinLocaleAndTimeZone();
}

TEST_CASE("job parameters: help texts and the button bar")
{
    JobParam f;
    f.setItem(DS_CIRCULATION_MODE, 1);
    f.show();
    const HelpCase cases[] = {
        {RateNumberRow, "Application Rate Number", "Set three Application Rates for quick recall."},
        {RateRow, "Application Rate", "Range is 0 through 6,554 liters/hectare."},
        {TipRow, "Tip Type", "Select the tip type from the five Tip Presets."},
        {CirculationRow, "Circulation", "(Semi or Full depending on the OEM settings)"},
    };
    for (const HelpCase& c : cases) {
        CAPTURE(c.id);
        tapButton(labelButton(f.jobPage, c.id));
        checkShownHelp(c);
    }
    f.jobPage->showHelp(IdlePressureRow);
    checkShownHelp({IdlePressureRow, "Idle Pressure", "Range is 0.00 through 50.00 bar."});

    QSignalSpy back(f.jobPage, &ToolsViewConfigJobParam::goBack);
    QSignalSpy home(f.jobPage, &ToolsViewConfigJobParam::ShowHomeView);
    CHECK_FALSE(buttonBarButton(f.jobPage, ToolsViewWidgets::ToolsViewButtonBar::Next)->isVisible());
    tapButtonBar(f.jobPage, ToolsViewWidgets::ToolsViewButtonBar::Back);
    CHECK(back.size() == 1);
    tapButtonBar(f.jobPage, ToolsViewWidgets::ToolsViewButtonBar::Home);
    REQUIRE(home.size() == 1);
    CHECK(home.at(0).at(0).toInt() == 2);
}
