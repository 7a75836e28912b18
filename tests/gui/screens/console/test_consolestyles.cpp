// Every console page, with its grids and a keypad open, grabbed at 480x272
// under each built-in colour scheme: the texts stay inside their widgets and
// no picture is missing whatever the sheet's fonts and borders.
#include "core_inprocess.h"
#include "languagemanager.h"
#include "screen_check.h"
#include "screen_fixture.h"
#include "settingpage_drive.h"
#include "toolsviewconsole.h"
#include "toolsviewconsoleabout.h"
#include "toolsviewconsoleculture.h"
#include "toolsviewconsoledisplay.h"
#include "toolsviewconsoledisplay2.h"
#include "toolsviewconsolesound.h"

#include <QFile>
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

// The console menu with the scheme as the day's, its sheet applied.
struct StyledConsole : CoreScreen, ScreenFixture {
    explicit StyledConsole(int scheme)
    {
        setItem(DS_NIGHT_MODE, 0);
        setItem(DS_DAY_STYLE, uint32_t(scheme));
        setItem(DS_UNIT_SYSTEM, UNIT_SYSTEM_METRIC);
        setItem(DS_TURF_UNITS, 0);
        // The widest unit grid: with US turf.
        setItem(DS_PART_NUMBER_FLAG, 1);
        REQUIRE(applyStoredStyleSheet());
        menu = new ToolsViewConsole(page());
        place(menu, QPoint(0, 0), QSize(480, 272));
    }
    ~StyledConsole() { qApp->setStyleSheet(QString()); }
    QWidget* shown() const { return menu->pageStack()->currentWidget(); }
    KestromPushButton* button(const char* name) const
    {
        auto* found = shown()->findChild<KestromPushButton*>(QString::fromLatin1(name));
        REQUIRE(found != nullptr);
        return found;
    }
    void open(const char* menuButton)
    {
        menu->showTopPage();
        pumpEvents();
        tapButton(menu->findChild<KestromPushButton*>(QString::fromLatin1(menuButton)));
        tick100ms();
    }
    ToolsViewConsole* menu;
};

}  // namespace

TEST_CASE("every console page, its grids and a keypad under each colour scheme")
{
    for (int scheme = 0; scheme < ToolsViewConsoleDisplay::schemeCount(); ++scheme) {
        CAPTURE(scheme);
        StyledConsole f(scheme);
        const QString sheet = ToolsViewConsoleDisplay::styleSheetPath(scheme);
        const std::string sheetName = sheet.toStdString();
        CAPTURE(sheetName);
        const QString style = QStringLiteral("style%1_").arg(scheme + 1);
        auto screen = [&](const char* name) { CHECK_SCREEN(f.screen(), style + QString::fromLatin1(name)); };
        // A grid is closed by choosing what is in force: nothing changes.
        auto chooseCurrent = [&](int id) {
            ButtonGridWidget* grid = shownButtonGrid();
            REQUIRE(grid != nullptr);
            chooseGridOption(grid, id);
            f.tick100ms();
        };

        screen("menu");

        f.open("m_btnDisplay");
        screen("display");
        tapButton(f.button("m_btnNightMode"));
        screen("display_night_grid");
        chooseCurrent(0);
        tapButton(f.button("m_btnColorScheme"));
        screen("display_scheme_grid");
        chooseCurrent(scheme);
        tapButton(f.button("m_btnBrightness"));
        REQUIRE(shownKeypad() != nullptr);
        screen("display_brightness_keypad");
        keypadCancel(shownKeypad());
        CHECK(f.button("m_btnColorScheme")->text() == QStringLiteral("Style %1").arg(scheme + 1));

        tapButtonBar(f.shown(), ToolsViewButtonBar::Next);
        REQUIRE(f.shown() == f.menu->display2Page());
        screen("display2");

        f.open("m_btnCultural");
        screen("culture");
        tapButton(f.button("m_btnLanguage"));
        screen("culture_language_grid");
        chooseCurrent(KSNLanguageManager::LanguageManager::instance().currentLanguage());
        tapButton(f.button("m_btnUnits"));
        screen("culture_unit_grid");
        chooseCurrent(ToolsViewConsoleCulture::Metric);
        tapButton(f.button("m_btnYear"));
        REQUIRE(shownKeypad() != nullptr);
        screen("culture_year_keypad");
        keypadCancel(shownKeypad());

        f.open("m_btnSound");
        screen("sound");
        f.open("m_btnAbout");
        screen("about");

        // Choosing the shown sheet again left it in force.
        QFile file(sheet);
        REQUIRE(file.open(QIODevice::ReadOnly));
        CHECK(qApp->styleSheet() == QString::fromLatin1(file.readAll()));
    }
}
