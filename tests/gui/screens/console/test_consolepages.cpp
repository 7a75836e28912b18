// The console menu and its pages over the real datastore: the menu's
// navigation, the screenshot and key-beep switches, the culture page's units,
// clock and date order (the clock on the stand-in's offset, the clock commands
// in the runner's log), the about text and its file on the stick.
#include "clock.h"
#include "cmdrunner.h"
#include "core_inprocess.h"
#include "cpopupmessage.h"
#include "greyfellcommon.h"
#include "hwrevision.h"
#include "nozinfo.h"
#include "screen_check.h"
#include "screen_fixture.h"
#include "settingpage_drive.h"
#include "test_capture.h"
#include "toolsviewconsole.h"
#include "toolsviewconsoleabout.h"
#include "toolsviewconsoleculture.h"
#include "toolsviewconsoledisplay.h"
#include "toolsviewconsoledisplay2.h"
#include "toolsviewconsolesound.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QStackedWidget>

using namespace ToolsViewWidgets;

namespace {

// The about page reads the hardware revision, which the core's start-up measures.
struct CoreScreen {
    CoreScreen()
    {
        guiApplication();
        REQUIRE(coreStartInProcess());
    }
};

struct Console : CoreScreen, ScreenFixture {
    explicit Console(uint32_t system = UNIT_SYSTEM_METRIC) : ScreenFixture(system)
    {
        setItem(DS_UNIT_SYSTEM, system);
        setItem(DS_TURF_UNITS, 0);
        setItem(DS_PART_NUMBER_FLAG, 0);
        setItem(DS_NIGHT_MODE, 0);
        setItem(DS_DAY_STYLE, 0);
        setItem(DS_KEY_BEEP, 1);
        setItem(DS_NIGHT_STYLE, 1);
        setItem(DS_DAY_BRIGHTNESS, 80);
        setItem(DS_NIGHT_BRIGHTNESS, 40);
        setItem(DS_BRIGHTNESS, 80);
        menu = new ToolsViewConsole(page());
        place(menu, QPoint(0, 0), QSize(480, 272));
        takePostedEvents();
    }
    ~Console() { QDir(GreyfellCommon::usbRootPath()).removeRecursively(); }
    void open(const char* button)
    {
        tapButton(menu->findChild<KestromPushButton*>(QString::fromLatin1(button)));
    }
    QWidget* shown() const { return menu->pageStack()->currentWidget(); }
    KestromPushButton* button(QWidget* page, const char* name) const
    {
        auto* found = page->findChild<KestromPushButton*>(QString::fromLatin1(name));
        REQUIRE(found != nullptr);
        return found;
    }
    // A culture page of its own, built over the items as the test set them.
    ToolsViewConsoleCulture* showCulture()
    {
        menu->hide();
        auto* culture = new ToolsViewConsoleCulture(page());
        place(culture, QPoint(0, 0), QSize(480, 272));
        tick100ms();
        return culture;
    }
    static void plugStick() { REQUIRE(QDir().mkpath(GreyfellCommon::usbRootPath())); }

    ToolsViewConsole* menu;
};

std::string commandLog()
{
    QFile file(QString::fromStdString(cmdLogPath()));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

void clearCommandLog()
{
    QFile::remove(QString::fromStdString(cmdLogPath()));
}

}  // namespace

TEST_CASE("console menu: the pages, their pathways and the screenshots")
{
    Console f;
    CHECK(pathwayText(f.menu->findChild<QWidget*>("m_consoleTopPage")) == "Console Settings");
    CHECK_FALSE(buttonBarButton(f.shown(), ToolsViewButtonBar::Back)->isVisible());
    CHECK_FALSE(buttonBarButton(f.shown(), ToolsViewButtonBar::Next)->isVisible());
    CHECK_SCREEN(f.screen(), "console_menu");
    struct Case {
        const char* button;
        QWidget* page;
        const char* pathway;
        const char* screenshot;
    };
    const Case cases[] = {
        {"m_btnDisplay", f.menu->displayPage(), "Console->Display (1)", "console_display"},
        {"m_btnCultural", f.menu->culturePage(), "Console->Cultural", "console_culture"},
        {"m_btnSound", f.menu->soundPage(), "Console->Sound", "console_sound"},
        {"m_btnAbout", f.menu->aboutPage(), "Console->About", "console_about"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.button);
        f.open(c.button);
        REQUIRE(f.shown() == c.page);
        f.tick100ms();
        CHECK(pathwayText(c.page) == c.pathway);
        CHECK_SCREEN(f.screen(), c.screenshot);
        tapButtonBar(c.page, ToolsViewButtonBar::Back);
        CHECK(f.menu->pageStack()->currentIndex() == 0);
    }
    f.open("m_btnDisplay");
    tapButtonBar(f.shown(), ToolsViewButtonBar::Next);
    CHECK(pathwayText(f.shown()) == "Console->Display (2)");
    CHECK_SCREEN(f.screen(), "console_display2");
}

TEST_CASE("console menu: next toggles the display pages only; home leaves the menu on its top page")
{
    Console f;
    QSignalSpy home(f.menu, &ToolsViewConsole::ShowHomeView);
    f.open("m_btnDisplay");
    CHECK(f.shown() == f.menu->displayPage());
    tapButtonBar(f.shown(), ToolsViewButtonBar::Next);
    CHECK(f.shown() == f.menu->display2Page());
    tapButtonBar(f.shown(), ToolsViewButtonBar::Next);
    CHECK(f.shown() == f.menu->displayPage());
    tapButtonBar(f.shown(), ToolsViewButtonBar::Back);

    f.open("m_btnCultural");
    f.menu->culturePage()->handleButtonBarPressed(ToolsViewButtonBar::Next);
    CHECK(f.shown() == f.menu->culturePage());
    tapButtonBar(f.shown(), ToolsViewButtonBar::Back);

    f.open("m_btnAbout");
    tapButtonBar(f.shown(), ToolsViewButtonBar::Home);
    CHECK(home.size() == 1);
    CHECK(f.menu->pageStack()->currentIndex() == 0);
    tapButtonBar(f.shown(), ToolsViewButtonBar::Home);
    CHECK(home.size() == 2);
}

TEST_CASE("screenshot and key beep: the stored value writes nothing, the other is written")
{
    struct Case {
        const char* menuButton;
        const char* value;
        uint32_t item;
    };
    const Case cases[] = {{"m_btnSound", "m_btnKeyBeep", DS_KEY_BEEP}, {nullptr, "m_btnScreenShot", DS_SCREENSHOT_ENABLED}};
    for (const Case& c : cases) {
        CAPTURE(c.value);
        Console f;
        f.setItem(c.item, 1);
        if (c.menuButton != nullptr) {
            f.open(c.menuButton);
        } else {
            f.open("m_btnDisplay");
            tapButtonBar(f.shown(), ToolsViewButtonBar::Next);
        }
        // The page reads the item at construction and after its own commits.
        QEvent change(QEvent::LanguageChange);
        QCoreApplication::sendEvent(f.shown(), &change);
        KestromPushButton* value = f.button(f.shown(), c.value);
        CHECK(value->text() == "Enabled");
        StoreWriteRecorder writes;
        tapButton(value);
        ButtonGridWidget* grid = shownButtonGrid();
        REQUIRE(grid != nullptr);
        CHECK(gridOption(grid, 1)->property("hasHighlightedBorder").toBool());
        CHECK(gridOption(grid, 0)->text() == "Disable");
        CHECK(gridOption(grid, 1)->text() == "Enable");
        chooseGridOption(grid, 1);
        CHECK(StoreWriteRecorder::take(c.item).empty());
        CHECK(value->text() == "Enabled");
        tapButton(value);
        chooseGridOption(shownButtonGrid(), 0);
        CHECK(StoreWriteRecorder::take(c.item) == std::vector<uint32_t>{0});
        CHECK(value->text() == "Disabled");
        tapButton(value);
        chooseGridOption(shownButtonGrid(), 1);
        CHECK(StoreWriteRecorder::take(c.item) == std::vector<uint32_t>{1});
        CHECK(value->text() == "Enabled");
    }
}

TEST_CASE("culture: unit selections and what each writes")
{
    struct Case {
        int from;
        int chosen;
        uint32_t turf, system, metric;
        uint32_t referenceMode;
        bool writes;
        const char* shown;
    };
    const Case cases[] = {
        {ToolsViewConsoleCulture::Metric, ToolsViewConsoleCulture::UsTurf, 1, 2, 0, 1, true, "US Turf"},
        {ToolsViewConsoleCulture::UsTurf, ToolsViewConsoleCulture::UsTurf, 1, 2, 0, 1, false, "US Turf"},
        {ToolsViewConsoleCulture::UsTurf, ToolsViewConsoleCulture::Us, 0, 2, 0, 1, true, "US"},
        {ToolsViewConsoleCulture::Us, ToolsViewConsoleCulture::Imperial, 0, 1, 0, 1, true, "Imperial"},
        {ToolsViewConsoleCulture::Imperial, ToolsViewConsoleCulture::Metric, 0, 0, 1, 0, true, "Metric"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.from);
        CAPTURE(c.chosen);
        Console f(c.from == ToolsViewConsoleCulture::UsTurf ? 2u : uint32_t(c.from));
        f.setItem(DS_PART_NUMBER_FLAG, 1);
        f.setItem(DS_TURF_UNITS, c.from == ToolsViewConsoleCulture::UsTurf ? 1 : 0);
        auto* culture = f.showCulture();
        nozinfoSetReferenceMode(c.referenceMode == 1 ? 0 : 1);
        KestromPushButton* units = f.button(culture, "m_btnUnits");
        StoreWriteRecorder writes;
        tapButton(units);
        ButtonGridWidget* grid = shownButtonGrid();
        REQUIRE(grid != nullptr);
        CHECK(gridOption(grid, 3)->text() == "US\nTurf");
        CHECK(gridOption(grid, c.from)->property("hasHighlightedBorder").toBool());
        if (c.from == ToolsViewConsoleCulture::Metric)
            CHECK_SCREEN(f.screen(), "console_culture_units");
        chooseGridOption(grid, c.chosen);
        CHECK(datastoreGetBool(DS_TURF_UNITS) == c.turf);
        CHECK(unitGetSystem() == c.system);
        CHECK(datastoreGetUint16(DS_UNIT_SYSTEM) == c.system);
        CHECK(datastoreGetBool(DS_METRIC_UNITS) == c.metric);
        if (c.writes) {
            CHECK(nozinfoGetReferenceMode() == c.referenceMode);
            // Each of the three items written once, in this order, also when its value stays.
            std::vector<StoreWrite> unitWrites;
            for (const StoreWrite& write : storeWriteList())
                if (write.first == DS_TURF_UNITS || write.first == DS_UNIT_SYSTEM || write.first == DS_METRIC_UNITS)
                    unitWrites.push_back(write);
            const std::vector<StoreWrite> expected = {
                {DS_TURF_UNITS, c.turf}, {DS_UNIT_SYSTEM, c.system}, {DS_METRIC_UNITS, c.metric}};
            CHECK(unitWrites == expected);
        } else {
            CHECK(storeWriteList().empty());
            CHECK(nozinfoGetReferenceMode() != c.referenceMode);
        }
        CHECK(units->text() == c.shown);
    }
}

TEST_CASE("culture: no turf button without the part-number flag, yet a stored turf setting shows")
{
    Console f(UNIT_SYSTEM_US);
    f.setItem(DS_TURF_UNITS, 1);
    auto* culture = f.showCulture();
    CHECK(f.button(culture, "m_btnUnits")->text() == "US Turf");
    tapButton(f.button(culture, "m_btnUnits"));
    ButtonGridWidget* grid = shownButtonGrid();
    REQUIRE(grid != nullptr);
    CHECK(gridOption(grid, 3) == nullptr);
    for (int id = 0; id < 3; ++id)
        CHECK_FALSE(gridOption(grid, id)->property("hasHighlightedBorder").toBool());
}

TEST_CASE("culture: date and time on the console's clock; the runner records the clock commands")
{
    Console f;
    auto* culture = f.showCulture();
    auto setDay = [](QDate date) {
        REQUIRE(rtcSetQDate(date) == 1);
        REQUIRE(rtcSetQTime(QTime(8, 5, 7)) == 1);
    };

    SUBCASE("the buttons follow the clock")
    {
        setDay(QDate(2026, 1, 31));
        // A page shown now: its first beat shows the time whatever second it had before.
        culture->hide();
        culture = f.showCulture();
        CHECK(f.button(culture, "m_btnHours")->text() == "08");
        CHECK(f.button(culture, "m_btnMinutes")->text() == "05");
        // The clock runs on in real time: a second may have passed.
        const QString seconds = f.button(culture, "m_btnSeconds")->text();
        CHECK((seconds == "07  " || seconds == "08  "));
        CHECK(f.button(culture, "m_btnDay")->text() == "31");
        CHECK(f.button(culture, "m_btnMonth")->text() == "01");
        CHECK(f.button(culture, "m_btnYear")->text() == "2026");
        // en-US: the month first.
        CHECK(f.button(culture, "m_btnMonth")->x() < f.button(culture, "m_btnDay")->x());
        clearCommandLog();
        tapButton(f.button(culture, "m_btnSeconds"));
        CHECK(rtcGetQTime().second() <= 1);
        CHECK(commandLog() == "/sbin/hwclock --systohc\n/etc/init.d/save-rtc.sh\n");
        f.tick100ms();
        const QString reset = f.button(culture, "m_btnSeconds")->text();
        CHECK((reset == "00  " || reset == "01  "));
    }
    SUBCASE("month and year keep the day where it exists, else take the first")
    {
        struct Case {
            QDate today;
            const char* button;
            const char* typed;
            QDate expected;
        };
        const Case cases[] = {
            {QDate(2026, 1, 31), "m_btnMonth", "2", QDate(2026, 2, 1)},
            {QDate(2026, 1, 15), "m_btnMonth", "6", QDate(2026, 6, 15)},
            {QDate(2012, 2, 29), "m_btnYear", "2013", QDate(2013, 2, 1)},
            {QDate(2026, 3, 10), "m_btnDay", "27", QDate(2026, 3, 27)},
        };
        for (const Case& c : cases) {
            CAPTURE(c.typed);
            setDay(c.today);
            clearCommandLog();
            tapButton(f.button(culture, c.button));
            REQUIRE(shownKeypad() != nullptr);
            keypadType(shownKeypad(), c.typed);
            keypadAccept(shownKeypad());
            CHECK(rtcGetQDate() == c.expected);
            CHECK(commandLog() == "/sbin/hwclock --systohc\n/etc/init.d/save-rtc.sh\n");
        }
    }
    SUBCASE("the year keypad takes 1998 to 2037 only: the clock counts years from 1998")
    {
        setDay(QDate(2026, 5, 5));
        tapButton(f.button(culture, "m_btnYear"));
        REQUIRE(shownKeypad() != nullptr);
        CHECK(keypadTitled(shownKeypad(), "Date Setup - Year"));
        CHECK_SCREEN(f.screen(), "console_culture_year_keypad");
        keypadType(shownKeypad(), "1997");
        keypadAccept(shownKeypad());
        CHECK(popupTexts(currentPopup()).join(" ").contains("Invalid value!"));
        tapPopupButton(currentPopup(), "OK");
        CHECK(rtcGetQDate() == QDate(2026, 5, 5));
        keypadType(shownKeypad(), "1998");
        keypadAccept(shownKeypad());
        CHECK(rtcGetQDate() == QDate(1998, 5, 5));
    }
    SUBCASE("hours and minutes keep the rest of the time")
    {
        setDay(QDate(2026, 5, 5));
        tapButton(f.button(culture, "m_btnHours"));
        keypadType(shownKeypad(), "17");
        keypadAccept(shownKeypad());
        tapButton(f.button(culture, "m_btnMinutes"));
        keypadType(shownKeypad(), "42");
        keypadAccept(shownKeypad());
        CHECK(rtcGetQTime().hour() == 17);
        CHECK(rtcGetQTime().minute() == 42);
        CHECK(rtcGetQDate() == QDate(2026, 5, 5));
    }
}

TEST_CASE("culture: the date order and its help follow the locale's short date format")
{
    struct Case {
        QLocale locale;
        const char* format;
    };
    const Case cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), "[month]/[day]/[year]"},
        {QLocale(QLocale::German, QLocale::Germany), "[day].[month].[year]"},
        {QLocale(QLocale::Swedish, QLocale::Sweden), "[year]-[month]-[day]"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.format);
        Console f;
        QLocale::setDefault(c.locale);
        auto* culture = f.showCulture();
        CHECK(culture->dateFormatText() == c.format);
        tapButton(labelButton(culture, 2));
        checkShownHelp({2, "Date", c.format});
        pinLocaleAndTimeZone();
    }
}

TEST_CASE("about: version text, Save to the stick with a time stamp, and a stick that refuses the bytes")
{
    Console f;
    f.open("m_btnAbout");
    ToolsViewConsoleAbout* about = f.menu->aboutPage();
    const QStringList lines = ToolsViewConsoleAbout::versionText().split("\r\n");
    REQUIRE(lines.size() == 3);
    CHECK(lines.at(0) == "Quorin 5520 ");
    CHECK(lines.at(1) == "Software development version:");
    uint32_t hardwareId = 0;
    const bool identified = hwRevisionDetect(&hardwareId, nullptr);
    CHECK(lines.at(2) == (identified ? QStringLiteral("Hardware ID: %1").arg(hardwareId)
                                     : QStringLiteral("Hardware ID: Unknown")));
    CHECK(about->findChild<QLabel*>("m_versionLabel")->text() == lines.join("\n"));

    KestromPushButton* save = f.button(about, "m_btnSave");
    CHECK_FALSE(save->isEnabled());
    // The stick watcher settles for a second of real time after the mount.
    f.plugStick();
    REQUIRE(QTest::qWaitFor([&] { return save->isEnabled(); }, 5000));

    REQUIRE(rtcSetQDate(QDate(2026, 12, 9)) == 1);
    REQUIRE(rtcSetQTime(QTime(10, 32, 34)) == 1);
    for (const char* name : {"about.txt", "about(2).txt"}) {
        CAPTURE(name);
        tapButton(save);
        CHECK(popupTexts(currentPopup()).join(" ").contains("Saved version information to USB drive."));
        tap(currentPopup());
        pumpEvents();
        QFile file(GreyfellCommon::usbRootPath() + "/" + name);
        REQUIRE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        CHECK(bytes.startsWith("Quorin 5520 \r\n"));
        CHECK(bytes.endsWith("\r\n2026-12-09T10:32:3" + QByteArray(1, bytes.back())));
        CHECK_FALSE(bytes.endsWith("\n"));
    }

    // A full stick: the bytes do not all arrive.
    REQUIRE(limitFileSize(10));
    about->saveInfo();
    limitFileSize(kNoFileSizeLimit);
    pumpEvents();
    const QString shown = popupTexts(currentPopup()).join(" ");
    CHECK(shown.contains("Failed to save version information."));
    CHECK_FALSE(shown.contains("Saved version information"));
    tap(currentPopup());
    pumpEvents();
    CHECK(currentPopup() == nullptr);
}

TEST_CASE("help of the screenshot, key-beep and culture rows")
{
    Console f;
    REQUIRE(currentPopup() == nullptr);
    struct Case {
        QWidget* page;
        HelpCase help;
    };
    const Case cases[] = {
        {f.menu->display2Page(),
         {0, "Screenshot", "Screenshot mode can be enabled to allow captures of the screen to be saved to the USB drive."}},
        {f.menu->soundPage(),
         {0, "Key Beep",
          "Enable or disable sound for each screen option selection. Alarm beeps are not affected by this setting."}},
        {f.menu->culturePage(), {0, "Language", "Defines the system language."}},
        {f.menu->culturePage(), {1, "Units", "Defines the system units (US, Imperial or Metric)."}},
        {f.menu->culturePage(), {3, "Time", "Defines the current time.\nThe time format is\n[24 hour]:[minutes]:[seconds]."}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.page->objectName().toStdString());
        CAPTURE(c.help.id);
        f.menu->pageStack()->setCurrentWidget(c.page);
        pumpEvents();
        tapButton(labelButton(c.page, c.help.id));
        checkShownHelp(c.help);
    }
}
