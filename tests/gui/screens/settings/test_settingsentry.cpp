// The settings entry with the core running in the process (the diagnostics and
// installer menus below it read the board): the pages that open at once, the
// access code of the installer menu and the maker-service code typed on the
// keypad, home from any depth, a language change, and the entry at 480x272.
#include "configdiagnostics.h"
#include "configmachinecalibrations.h"
#include "configmachinecalpressure.h"
#include "configmachinecalpresssensormaxpressure.h"
#include "configmachinecalpresssensormaxpressure2.h"
#include "configoem.h"
#include "configvelmaronly.h"
#include "core_inprocess.h"
#include "cpopupmessage.h"
#include "screen_check.h"
#include "screen_fixture.h"
#include "settingpage_drive.h"
#include "toolsviewconfigjobparam.h"
#include "toolsviewconfigmachine.h"
#include "toolsviewconfiguration.h"

#include <QSignalSpy>
#include <QStackedWidget>
#include <QTranslator>

#include <functional>

using namespace ToolsViewWidgets;

namespace {

struct CoreInProcess {
    CoreInProcess()
    {
        guiApplication();
        REQUIRE(coreStartInProcess());
    }
};

// The console's installer code, nothing accepted since start-up.
constexpr uint32_t kInstallerCode = 6048;

struct SettingsEntry : CoreInProcess, ScreenFixture {
    SettingsEntry()
    {
        setItem(DS_SETTINGS_PASSWORD, kInstallerCode);
        setItem(DS_LAST_PASSWORD, 0);
        setItem(DS_PRESSURE_SENSOR_PRESENT, 1);
        entry = new ToolsViewConfiguration;
        place(entry, QPoint(0, 0), QSize(480, 272));
    }
    ~SettingsEntry() { dismissPopups(); }

    QStackedWidget* stack() const { return entry->pageStack(); }
    QWidget* top() const { return entry->pageStack()->widget(0); }
    QWidget* current() const { return entry->pageStack()->currentWidget(); }
    static KestromPushButton* button(QWidget* page, const char* name)
    {
        auto* found = page->findChild<KestromPushButton*>(QString::fromLatin1(name));
        CAPTURE(name);
        REQUIRE(found != nullptr);
        return found;
    }
    void touchOem() const { tapButton(button(top(), "m_oemButton")); }
    // "OEM" touched and the code typed on the keypad that must open.
    void enterCode(const char* code) const
    {
        touchOem();
        NumericKeypadWidget* keypad = shownKeypad();
        REQUIRE(keypad != nullptr);
        keypadType(keypad, code);
        keypadAccept(keypad);
    }

    ToolsViewConfiguration* entry;
};

uint16_t lastPassword()
{
    return datastoreGetUint16(DS_LAST_PASSWORD);
}

// Where a page's own button bar is: a menu's bar is on its top page.
QWidget* barOwner(QWidget* page)
{
    auto* stack = page->findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly);
    return stack != nullptr ? stack->widget(0) : page;
}

}  // namespace

TEST_CASE("settings entry: job parameters, machine and diagnostics open at once; back returns to the entry")
{
    SettingsEntry s;
    CHECK(pathwayText(s.top()) == "Settings");
    CHECK(s.stack()->count() == 6);
    CHECK_FALSE(buttonBarButton(s.top(), ToolsViewButtonBar::Back)->isVisible());
    CHECK_FALSE(buttonBarButton(s.top(), ToolsViewButtonBar::Next)->isVisible());
    CHECK(buttonBarButton(s.top(), ToolsViewButtonBar::Home)->isVisible());
    CHECK(s.button(s.top(), "m_oemButton")->text() == "OEM");
    CHECK(s.button(s.top(), "m_oemButton")->id() == 3);

    struct Case {
        const char* button;
        const char* text;
        int index;
        QWidget* page;
        const char* pathway;
    };
    const Case cases[] = {
        {"m_jobParamButton", "Job Parameters", 1, s.entry->jobParamPage(), "Settings->Job Parameters"},
        {"m_machineButton", "Machine", 2, s.entry->machineMenu(), "Settings->Machine"},
        {"m_diagnosticsButton", "Diagnostics", 4, s.entry->diagnosticsMenu(), "Settings->Diagnostics"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.button);
        KestromPushButton* button = s.button(s.top(), c.button);
        CHECK(button->text() == c.text);
        CHECK(button->id() == c.index);
        CHECK(button->minimumSize() == GuiGeometry::menuButtonSize());
        tapButton(button);
        CHECK(shownKeypad() == nullptr);
        REQUIRE(s.current() == c.page);
        CHECK(s.stack()->currentIndex() == c.index);
        CHECK(pathwayText(barOwner(c.page)) == c.pathway);
        tapButtonBar(barOwner(c.page), ToolsViewButtonBar::Back);
        CHECK(s.stack()->currentIndex() == 0);
    }
    CHECK(lastPassword() == 0);
}

TEST_CASE("settings entry: the codes typed after OEM, from a fresh store with code 6048 and nothing accepted")
{
    enum Opens { Nothing, Installer, MakerService };
    struct Case {
        const char* entry;
        Opens opens;
        uint16_t lastPassword;
    };
    // 71584 is 6048 + 65536 and 72851 is 7315 + 65536: only the whole number counts.
    const Case cases[] = {{"6048", Installer, 6048},  {"71584", Nothing, 0}, {"6047", Nothing, 0},
                          {"7315", MakerService, 0}, {"72851", Nothing, 0}};
    for (const Case& c : cases) {
        CAPTURE(c.entry);
        SettingsEntry s;
        s.touchOem();
        NumericKeypadWidget* keypad = shownKeypad();
        REQUIRE(keypad != nullptr);
        CHECK(s.current() == s.top());
        CHECK(popupTexts(keypad).contains("Password"));
        keypadType(keypad, c.entry);
        keypadAccept(keypad);
        CHECK(shownKeypad() == nullptr);
        // A wrong code is ignored without a word.
        CHECK(currentPopup() == nullptr);
        CHECK(lastPassword() == c.lastPassword);
        switch (c.opens) {
        case Nothing:
            CHECK(s.current() == s.top());
            break;
        case Installer:
            CHECK(s.current() == s.entry->installerMenu());
            CHECK(pathwayText(barOwner(s.current())) == "Settings->OEM");
            break;
        case MakerService:
            CHECK(s.current() == s.entry->makerServicePage());
            CHECK(pathwayText(s.current()) == "Settings->Velmar Only menu");
            break;
        }
        if (c.opens != Nothing)
            tapButtonBar(barOwner(s.current()), ToolsViewButtonBar::Back);
        REQUIRE(s.current() == s.top());

        // The next OEM: at once once the installer code was accepted, else the keypad again.
        s.touchOem();
        if (c.opens == Installer) {
            CHECK(shownKeypad() == nullptr);
            CHECK(s.current() == s.entry->installerMenu());
        } else {
            CHECK(shownKeypad() != nullptr);
            CHECK(s.current() == s.top());
            keypadCancel(shownKeypad());
            CHECK(s.current() == s.top());
            CHECK(lastPassword() == c.lastPassword);
        }
    }
}

TEST_CASE("settings entry: code 0 with nothing accepted opens at once; a code changed in the store is asked again")
{
    SUBCASE("code 0, nothing accepted since start-up")
    {
        SettingsEntry s;
        s.setItem(DS_SETTINGS_PASSWORD, 0);
        s.touchOem();
        CHECK(shownKeypad() == nullptr);
        CHECK(s.current() == s.entry->installerMenu());
    }
    SUBCASE("code accepted, then changed")
    {
        SettingsEntry s;
        s.enterCode("6048");
        REQUIRE(s.current() == s.entry->installerMenu());
        tapButtonBar(barOwner(s.current()), ToolsViewButtonBar::Back);
        s.setItem(DS_SETTINGS_PASSWORD, 1234);
        // The code accepted before no longer opens it; the new one does.
        s.enterCode("6048");
        CHECK(s.current() == s.top());
        CHECK(lastPassword() == 6048);
        s.enterCode("1234");
        CHECK(s.current() == s.entry->installerMenu());
        CHECK(lastPassword() == 1234);
    }
    SUBCASE("the installer code is the maker-service code")
    {
        SettingsEntry s;
        s.setItem(DS_SETTINGS_PASSWORD, 7315);
        s.enterCode("7315");
        CHECK(s.current() == s.entry->installerMenu());
        CHECK(lastPassword() == 7315);
    }
}

TEST_CASE("settings entry: home from any depth leaves every menu on the way on its top page, each passing it on once")
{
    SettingsEntry s;
    QSignalSpy entryHome(s.entry, &ToolsViewConfiguration::ShowHomeView);
    ToolsViewConfigMachine* machine = s.entry->machineMenu();
    ConfigMachineCalibrations* calibrations = machine->calibrationsMenu();
    ConfigMachineCalPressure* pressure = calibrations->pressureMenu();
    QSignalSpy machineHome(machine, &ToolsViewConfigMachine::ShowHomeView);
    QSignalSpy calibrationsHome(calibrations, &ConfigMachineCalibrations::ShowHomeView);
    QSignalSpy pressureHome(pressure, &ConfigMachineCalPressure::ShowHomeView);

    // The span run page, four levels below the entry, reached by touch.
    tapButton(s.button(s.top(), "m_machineButton"));
    tapButton(s.button(machine->pageStack()->widget(0), "m_calibrationsButton"));
    tapButton(s.button(calibrations->pageStack()->widget(0), "m_pressureSensorButton"));
    tapButton(s.button(pressure->pageStack()->widget(0), "m_maxPressureButton"));
    tapButton(s.button(pressure->spanSettingsPage(), "m_calibrateButton"));
    dismissPopups();
    REQUIRE(pressure->pageStack()->currentWidget() == pressure->spanRunPage());
    REQUIRE(s.current() == machine);

    tapButtonBar(pressure->spanRunPage(), ToolsViewButtonBar::Home);
    CHECK(pressure->pageStack()->currentIndex() == 0);
    CHECK(calibrations->pageStack()->currentIndex() == 0);
    CHECK(machine->pageStack()->currentIndex() == 0);
    CHECK(s.stack()->currentIndex() == 0);
    CHECK(pressureHome.count() == 1);
    CHECK(calibrationsHome.count() == 1);
    CHECK(machineHome.count() == 1);
    CHECK(entryHome.count() == 1);

    // The other pages of the entry, and pages one menu down.
    struct Case {
        const char* name;
        std::function<QWidget*()> open;  // opens the page, returns the one whose home is touched
    };
    const Case cases[] = {
        {"job parameters",
         [&] {
             tapButton(s.button(s.top(), "m_jobParamButton"));
             return s.entry->jobParamPage();
         }},
        {"installer page",
         [&] {
             s.enterCode("6048");
             tapButton(s.button(s.entry->installerMenu(), "m_btnSensorPresence"));
             return s.entry->installerMenu()->pageStack()->currentWidget();
         }},
        {"diagnostics menu",
         [&] {
             tapButton(s.button(s.top(), "m_diagnosticsButton"));
             return barOwner(s.entry->diagnosticsMenu());
         }},
        {"maker-service page",
         [&] {
             s.setItem(DS_LAST_PASSWORD, 0);
             s.enterCode("7315");
             return s.entry->makerServicePage();
         }},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        entryHome.clear();
        QWidget* page = c.open();
        REQUIRE(s.current() != s.top());
        tapButtonBar(page, ToolsViewButtonBar::Home);
        CHECK(s.stack()->currentIndex() == 0);
        CHECK(entryHome.count() == 1);
    }
    CHECK(s.entry->installerMenu()->pageStack()->currentIndex() == 0);

    // The entry's own home.
    entryHome.clear();
    tapButtonBar(s.top(), ToolsViewButtonBar::Home);
    CHECK(entryHome.count() == 1);
    CHECK(s.stack()->currentIndex() == 0);
}

namespace {

// Marks every text of the entry's own context, so a shown text tells whether
// the entry set it again.
class MarkedEntryTexts : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (QByteArray(context) != "ToolsViewWidgets::ToolsViewConfiguration")
            return QString();
        return QStringLiteral("\u00ab") + QString::fromUtf8(source) + QStringLiteral("\u00bb");
    }
    bool isEmpty() const override { return false; }
};

}  // namespace

TEST_CASE("settings entry: a language change sets the pathway and the four buttons again")
{
    SettingsEntry s;
    const char* const buttons[][2] = {{"m_jobParamButton", "Job Parameters"},
                                      {"m_machineButton", "Machine"},
                                      {"m_oemButton", "OEM"},
                                      {"m_diagnosticsButton", "Diagnostics"}};
    MarkedEntryTexts language;
    QCoreApplication::installTranslator(&language);
    pumpEvents();
    CHECK(pathwayText(s.top()) == QString::fromUtf8("\u00abSettings\u00bb"));
    for (const auto& b : buttons)
        CHECK(s.button(s.top(), b[0])->text() == QStringLiteral("\u00ab") + b[1] + QStringLiteral("\u00bb"));
    QCoreApplication::removeTranslator(&language);
    pumpEvents();
    CHECK(pathwayText(s.top()) == "Settings");
    for (const auto& b : buttons)
        CHECK(s.button(s.top(), b[0])->text() == b[1]);
}

TEST_CASE("settings entry at 480x272, and with the code keypad open")
{
    SettingsEntry s;
    CHECK_SCREEN(s.screen(), "settings_entry");
    s.touchOem();
    REQUIRE(shownKeypad() != nullptr);
    CHECK_SCREEN(s.screen(), "settings_entry_code_keypad");
    keypadCancel(shownKeypad());
}
