// The installer menu: its stack and page rings, the clear-totals code, and the
// configuration import and export by USB stick on the stand-in board (the
// stick is its mount directory in a fresh system root).
#include "cfgdt_if.h"
#include "configoem.h"
#include "configoemdeletetotals.h"
#include "configoemregulationdetails3.h"
#include "dsvcappl.h"
#include "eventids.h"
#include "filedesc.h"
#include "toolsmisc.h"
#include "greyfellcommon.h"
#include "installer_drive.h"
#include "screen_check.h"
#include "test_root.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStackedWidget>

#include <unistd.h>

using namespace ToolsViewWidgets;

namespace {

struct MenuFixture {
    MenuFixture()
    {
        f.setItem(DS_CLEAR_TOTALS_CODE, 2753);
        f.setItem(DS_NUMBER_OF_SECTIONS, 9);
        f.setItem(DS_ACTIVE_SECTIONS, 9);
        menu = showInstallerPage<ConfigOem>(f);
    }
    ~MenuFixture() { QDir(GreyfellCommon::usbRootPath()).removeRecursively(); }

    QWidget* current() const { return menu->pageStack()->currentWidget(); }
    int currentIndex() const { return menu->pageStack()->currentIndex(); }
    KestromPushButton* button(const char* name) const
    {
        auto* b = menu->findChild<KestromPushButton*>(name);
        REQUIRE(b != nullptr);
        return b;
    }
    std::string stickFile() const { return (GreyfellCommon::usbRootPath() + "/cfgfile.xml").toStdString(); }
    static void plugStick() { REQUIRE(QDir().mkpath(GreyfellCommon::usbRootPath())); }
    std::string commands() const { return readTextFile(root.path("/var/log/commands.log")); }

    TestRoot root;
    ScreenFixture f;
    ConfigOem* menu = nullptr;
};

size_t countOf(const std::string& text, const std::string& line)
{
    size_t count = 0;
    for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
        ++count;
    return count;
}

// Closes the result message on the screen by a touch.
void closeMessage()
{
    REQUIRE(currentPopup() != nullptr);
    tap(currentPopup());
    pumpEvents();
}

std::string fileBytes(const std::string& path)
{
    return readTextFile(path);
}

}  // namespace

TEST_CASE("installer menu: pages, rings of next, back and home")
{
    MenuFixture m;
    CHECK(pathwayText(m.current()) == "Settings->OEM");
    CHECK_SCREEN(m.f.screen(), "installer_menu_no_stick");

    struct Case {
        const char* button;
        int page;
    };
    for (const Case& c : {Case{"m_btnSensorPresence", ConfigOem::SensorPresencePage},
                          Case{"m_btnImplementParameters", ConfigOem::ImplParamPage},
                          Case{"m_btnValveSetup", ConfigOem::ValveSetupPage},
                          Case{"m_btnTankSetup", ConfigOem::TankSetupPage},
                          Case{"m_btnRegulationDetails", ConfigOem::RegulationDetailsPage}}) {
        CAPTURE(c.button);
        tapButton(m.button(c.button));
        CHECK(m.currentIndex() == c.page);
        tapButtonBar(m.current(), ToolsViewButtonBar::Back);
        CHECK(m.currentIndex() == ConfigOem::MenuPage);
    }

    tapButton(m.button("m_btnRegulationDetails"));
    for (int expected : {7, 8, 6, 7}) {
        tapButtonBar(m.current(), ToolsViewButtonBar::Next);
        CHECK(m.currentIndex() == expected);
    }
    tapButtonBar(m.current(), ToolsViewButtonBar::Back);

    // With ten sections the implement parameters lead to the switch assignment and back.
    m.f.setItem(DS_NUMBER_OF_SECTIONS, 10);
    datastoreSetData(DS_SECTION_SWITCH_MAP_1, dsvcapplSectionMaps[0]);
    tapButton(m.button("m_btnImplementParameters"));
    tapButtonBar(m.current(), ToolsViewButtonBar::Next);
    CHECK(m.currentIndex() == ConfigOem::ImplParam2Page);
    tapButtonBar(m.current(), ToolsViewButtonBar::Next);
    CHECK(m.currentIndex() == ConfigOem::ImplParamPage);

    // Home from regulation details 3: the menu's top page, ShowHomeView(2) once.
    tapButtonBar(m.current(), ToolsViewButtonBar::Back);
    tapButton(m.button("m_btnRegulationDetails"));
    tapButtonBar(m.current(), ToolsViewButtonBar::Next);
    tapButtonBar(m.current(), ToolsViewButtonBar::Next);
    REQUIRE(m.currentIndex() == ConfigOem::RegulationDetails3Page);
    QSignalSpy home(m.menu, &ConfigOem::ShowHomeView);
    QSignalSpy back(m.menu, &ConfigOem::goBack);
    tapButtonBar(m.current(), ToolsViewButtonBar::Home);
    CHECK(m.currentIndex() == ConfigOem::MenuPage);
    REQUIRE(home.count() == 1);
    CHECK(home.at(0).at(0).toInt() == 2);
    tapButtonBar(m.current(), ToolsViewButtonBar::Back);
    CHECK(back.count() == 1);
    CHECK(home.count() == 1);
}

TEST_CASE("installer menu: the clear-totals code is the whole number entered")
{
    struct Case {
        const char* entry;
        bool opens;
    };
    for (const Case& c : {Case{"2753", true}, Case{"2752", false}, Case{"0", false}, Case{"68289", false},
                          Case{"9999999", false}}) {
        CAPTURE(c.entry);
        MenuFixture m;
        tapButton(m.button("m_btnClearTotals"));
        CHECK(keypadTitled(shownKeypad(), "Password"));
        if (std::string(c.entry) == "2753")
            CHECK_SCREEN(m.f.screen(), "installer_code_keypad");
        keypadType(shownKeypad(), c.entry);
        keypadAccept(shownKeypad());
        CHECK(m.currentIndex() == (c.opens ? ConfigOem::DeleteTotalsPage : ConfigOem::MenuPage));
        CHECK(currentPopup() == nullptr);
    }
}

TEST_CASE("installer menu: USB buttons by stick and file")
{
    enum Kind { NoStick, NoFile, RegularFile, Link };
    struct Case {
        Kind kind;
        bool importEnabled;
        bool exportEnabled;
    };
    for (const Case& c : {Case{NoStick, false, false}, Case{NoFile, false, true}, Case{RegularFile, true, true},
                          Case{Link, false, true}}) {
        CAPTURE(static_cast<int>(c.kind));
        TestRoot root;
        if (c.kind != NoStick)
            REQUIRE(QDir().mkpath(GreyfellCommon::usbRootPath()));
        const std::string stickFile = (GreyfellCommon::usbRootPath() + "/cfgfile.xml").toStdString();
        if (c.kind == RegularFile)
            REQUIRE(fileReplace(stickFile, std::string("<CFGFILE/>")));
        if (c.kind == Link) {
            REQUIRE(fileReplace(root.path("/tmp-target.xml"), std::string("<CFGFILE/>")));
            REQUIRE(symlink(root.path("/tmp-target.xml").c_str(), stickFile.c_str()) == 0);
        }
        ScreenFixture f;
        auto* menu = showInstallerPage<ConfigOem>(f);
        CHECK(menu->findChild<KestromPushButton*>("m_btnImportConfig")->isEnabled() == c.importEnabled);
        CHECK(menu->findChild<KestromPushButton*>("m_btnExportConfig")->isEnabled() == c.exportEnabled);
        if (c.kind == RegularFile)
            CHECK_SCREEN(f.screen(), "installer_menu_stick");
        QDir(GreyfellCommon::usbRootPath()).removeRecursively();
    }
}

TEST_CASE("installer menu: export writes the stick's file, syncs and enables the import")
{
    MenuFixture m;
    MenuFixture::plugStick();
    m.menu->usbChange(true);
    m.f.setItem(DS_TANK_MAX_CONTENT, 4321);
    CHECK_FALSE(m.button("m_btnImportConfig")->isEnabled());
    tapButton(m.button("m_btnExportConfig"));
    CHECK(isRegularFile(m.stickFile()));
    CHECK(countOf(m.commands(), "sync\n") == 3);
    CHECK(popupTexts(currentPopup()).join(" ").contains("Configuration Data was exported successfully."));
    closeMessage();
    CHECK(m.button("m_btnImportConfig")->isEnabled());
    const std::string first = fileBytes(m.stickFile());
    CHECK(first.find("4321") != std::string::npos);

    // Onto an existing file: asked first; No leaves it.
    m.f.setItem(DS_TANK_MAX_CONTENT, 1234);
    tapButton(m.button("m_btnExportConfig"));
    CHECK(popupTexts(currentPopup()).join(" ").contains(
        "Export of Configuration Data.\nAn existing configuration file already exists on the USB drive and will be "
        "overwritten. Do you want to proceed?"));
    tapPopupButton(currentPopup(), "No");
    CHECK(fileBytes(m.stickFile()) == first);
    CHECK(countOf(m.commands(), "sync\n") == 3);
    tapButton(m.button("m_btnExportConfig"));
    tapPopupButton(currentPopup(), "Yes");
    CHECK(fileBytes(m.stickFile()).find("1234") != std::string::npos);
    CHECK(countOf(m.commands(), "sync\n") == 6);
    closeMessage();
}

TEST_CASE("installer menu: import replaces the console's file only with one the core accepts")
{
    MenuFixture m;
    MenuFixture::plugStick();
    const std::string console = cfgdtConfigFilePath();
    m.f.setItem(DS_TANK_MAX_CONTENT, 4321);
    REQUIRE(ConfigurationWrite(m.stickFile().c_str()) == 1);
    m.f.setItem(DS_TANK_MAX_CONTENT, 1000);
    REQUIRE(ConfigurationWrite(console.c_str()) == 1);
    const std::string consoleBefore = fileBytes(console);
    m.menu->usbChange(true);

    // "No" changes nothing.
    tapButton(m.button("m_btnImportConfig"));
    CHECK(popupTexts(currentPopup()).join(" ").contains("Import of Configuration Data."));
    tapPopupButton(currentPopup(), "No");
    CHECK(takeProcessCalls().empty());

    tapButton(m.button("m_btnImportConfig"));
    tapPopupButton(currentPopup(), "Yes");
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_CONFIG_IMPORTED, 0}});
    CHECK(datastoreGetUint16(DS_TANK_MAX_CONTENT) == 4321);
    CHECK(fileBytes(console) == fileBytes(m.stickFile()));
    CHECK(popupTexts(currentPopup()).join(" ").contains("Configuration Data was imported successfully."));
    closeMessage();

    struct Failure {
        const char* what;
        bool refusedFile;
    };
    for (const Failure& c : {Failure{"a file the read-in refuses", true}, Failure{"the stick pulled", false}}) {
        CAPTURE(c.what);
        REQUIRE(fileReplace(console, consoleBefore));
        m.f.setItem(DS_TANK_MAX_CONTENT, 1000);
        MenuFixture::plugStick();
        REQUIRE(fileReplace(m.stickFile(), std::string("<CFGFILE><broken")));
        m.menu->usbChange(true);
        tapButton(m.button("m_btnImportConfig"));
        if (!c.refusedFile)
            QDir(GreyfellCommon::usbRootPath()).removeRecursively();
        tapPopupButton(currentPopup(), "Yes");
        CHECK(takeProcessCalls().empty());
        CHECK(datastoreGetUint16(DS_TANK_MAX_CONTENT) == 1000);
        CHECK(fileBytes(console) == consoleBefore);
        CHECK(popupTexts(currentPopup()).join(" ").contains("Error occurred while importing Configuration Data."));
        closeMessage();
    }
}
