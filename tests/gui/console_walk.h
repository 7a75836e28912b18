#pragma once
// The whole console walked by touch, for the end-to-end walk test and its
// benchmark: the platform and the process core started in this process on a
// fresh stand-in board as the console program starts them (core_inprocess.h;
// its periodic timers stopped, time moved by the manual clock), the language
// manager, the main window with the stored colour scheme's style sheet, and
// then touches only, at the centres of the widgets the operator sees.
//
// The pages are one table (walkPages()): each row names the page it is opened
// from, the buttons touched there, how the page is known on the screen (its
// pathway text or its object name), where its back button leads and whether
// it has a home button. A new page is one more row. Header only.
//
//   ConsoleWalk walk;                               // once per program
//   for (const WalkPage& page : walkPages()) {
//       walk.open(page);                            // from the home view, by touch
//       CHECK_SCREEN(walk.window(), page.name);
//       walk.returnHome();
//   }
#include "core_inprocess.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventsignals.h"
#include "gui_test.h"
#include "guigeometry.h"
#include "languagemanager.h"
#include "mainwindow.h"
#include "processevent.h"
#include "pseudo_translation.h"
#include "qtelidedlabel.h"
#include "screen_drive.h"
#include "toolsviewconsoledisplay.h"

#include <doctest/doctest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct WalkPage {
    const char* name;               // screenshot name; other rows refer to the page by it
    const char* from;               // the row it is opened from; nullptr: the home view itself
    std::vector<const char*> open;  // touches on `from`, in order (see ConsoleWalk::step)
    const char* confirm;            // pathway text ("Data->Jobs") or the page's object name
    const char* back;               // the row back leads to; nullptr: no back button
    bool home;                      // its home button leads to the home view
    bool translated = true;         // false: its texts stay English in every language
    const char* next = nullptr;     // the row its next button leads to; nullptr: no next button
    const char* close = nullptr;    // the button that leaves it for `from` (a window's close, a run's cancel)
    int beats = 1;                  // beats of the 100 ms refresh the operator looks at it for
};

// Every page of the walk, parents before their children.
inline const std::vector<WalkPage>& walkPages()
{
    static const std::vector<WalkPage> pages = {
        {"home", nullptr, {}, "HomeViewCtrl", nullptr, false},
        // The working screen's widgets refresh their texts on every sixth beat.
        {"working", "home", {"homeButton1"}, "WorkingViewCtrl", nullptr, true, true, nullptr, nullptr, 6},
        {"working_toolbar", "working", {"m_showToolBarButton"}, "m_workToolBarView", nullptr, true, true, nullptr,
         "m_btnClose", 6},
        {"filling_1", "working", {"m_btnShowFilling"}, "ToolsViewConfigFilling", "working", false, true, "filling_2"},
        {"filling_2", "filling_1", {"nextButton"}, "ToolsViewConfigFilling2", "working", false, true, "filling_1"},
        {"settings", "home", {"homeButton2"}, "Settings", nullptr, true},
        {"settings_jobparam", "settings", {"m_jobParamButton"}, "Settings->Job Parameters", "settings", true},
        {"machine", "settings", {"m_machineButton"}, "Settings->Machine", "settings", true},
        {"machine_filling_1", "machine", {"m_fillingButton"}, "Settings->Machine->Filling (1)", "machine", true, true,
         "machine_filling_2"},
        {"machine_filling_2", "machine_filling_1", {"nextButton"}, "Settings->Machine->Filling (2)", "machine", true,
         true, "machine_filling_1"},
        {"machine_operation", "machine", {"m_operationButton"}, "Settings->Machine->Operation", "machine", true},
        {"machine_alarms", "machine", {"m_alarmsButton"}, "Settings->Machine->Alarms", "machine", true},
        {"implement", "machine", {"m_implParamButton"}, "...Machine->Implement Parameters", "machine", true},
        {"implement_sections", "implement", {"m_btnSectionConfiguration"}, "...Implement Parameters->Section Configuration", "implement", true},
        {"implement_tips_1", "implement", {"m_btnTipPresetSetup"}, "...Implement Parameters->Tip Preset Setup (1)", "implement", true, true, "implement_tips_2"},
        {"implement_tips_2", "implement_tips_1", {"nextButton"}, "...Implement Parameters->Tip Preset Setup (2)", "implement", true, true, "implement_tips_1"},
        {"implement_regulation", "implement", {"m_btnRegulationParameters"}, "...Implement Parameters->Regulation Parameters", "implement", true},
        {"calibrations", "machine", {"m_calibrationsButton"}, "Settings->Machine->Calibrations", "machine", true},
        {"calibration_speed", "calibrations", {"m_speedSensorButton"}, "...Calibrations->Implement Speed Sensor", "calibrations", true},
        {"calibration_flow_1", "calibrations", {"m_flowSensorButton"}, "ConfigMachineCalFlowSensor", "calibrations", true},
        {"calibration_flow_2", "calibration_flow_1", {"m_calibrateButton", "popup"}, "ConfigMachineCalFlowSensor2", "calibrations", true, true, nullptr, "m_cancelButton"},
        {"calibration_fill_flow", "calibrations", {"m_fillFlowSensorButton"}, "...Calibrations->Fill Flow Sensor", "calibrations", true},
        {"pressure", "calibrations", {"m_pressureSensorButton"}, "...Calibrations->Liquid Pressure Sensor", "calibrations", true},
        {"pressure_zero", "pressure", {"m_noPressureButton"}, "...Liquid Pressure Sensor->No Pressure", "pressure", true},
        {"pressure_span_1", "pressure", {"m_maxPressureButton"}, "...Liquid Pressure Sensor->Maximum Pressure (1)", "pressure", true},
        {"pressure_span_2", "pressure_span_1", {"m_calibrateButton", "popup"}, "...Liquid Pressure Sensor->Maximum Pressure (2)", "pressure", true},
        {"tank_level", "calibrations", {"m_tankLevelSensorButton"}, "...Calibrations->Tank Level Sensor", "calibrations", true},
        {"tank_empty", "tank_level", {"m_emptyTankButton"}, "...Tank Level Sensor->Empty Tank", "tank_level", true},
        {"tank_minimum", "tank_level", {"m_minTankLevelButton"}, "...Tank Level Sensor->Minimum Tank Level", "tank_level", true},
        {"tank_maximum", "tank_level", {"m_maxTankLevelButton"}, "...Tank Level Sensor->Maximum Tank Level", "tank_level", true},
        {"tank_shape", "tank_level", {"m_tankShapeButton", "popup"}, "...Tank Level Sensor->Tank Shape", "tank_level", true},
        {"installer", "settings", {"fresh-code", "m_oemButton", "keypad:6048"}, "Settings->OEM", "settings", true},
        {"installer_sensors", "installer", {"m_btnSensorPresence"}, "Settings->OEM->Sensor Presence", "installer", true},
        {"installer_implement_1", "installer", {"m_btnImplementParameters"}, "Settings->OEM->Implement Parameters (1)", "installer", true, true, "installer_implement_2"},
        {"installer_implement_2", "installer_implement_1", {"nextButton"}, "Settings->OEM->Implement Parameters (2)", "installer", true, true, "installer_implement_1"},
        {"installer_valves", "installer", {"m_btnValveSetup"}, "Settings->OEM->Valve Setup", "installer", true},
        {"installer_tank", "installer", {"m_btnTankSetup"}, "Settings->OEM->Tank Setup", "installer", true},
        {"installer_regulation_1", "installer", {"m_btnRegulationDetails"}, "Settings->OEM->Regulation Details (1)", "installer", true, true, "installer_regulation_2"},
        {"installer_regulation_2", "installer_regulation_1", {"nextButton"}, "Settings->OEM->Regulation Details (2)", "installer", true, true, "installer_regulation_3"},
        {"installer_regulation_3", "installer_regulation_2", {"nextButton"}, "Settings->OEM->Regulation Details (3)", "installer", true, true, "installer_regulation_1"},
        {"installer_clear_totals", "installer", {"m_btnClearTotals", "keypad:2753"}, "Settings->OEM->Clear Totals", "installer", true},
        {"maker_service", "settings", {"fresh-code", "m_oemButton", "keypad:7315"}, "Settings->Velmar Only menu", "settings", true, false},
        {"diagnostics", "settings", {"m_diagnosticsButton"}, "Settings->Diagnostics", "settings", true},
        {"diagnostics_inputs_1", "diagnostics", {"m_testInputsButton"}, "...Settings->Diagnostics->Test Inputs (1)", "diagnostics", true, true, "diagnostics_inputs_2"},
        {"diagnostics_inputs_2", "diagnostics_inputs_1", {"nextButton"}, "...Settings->Diagnostics->Test Inputs (2)", "diagnostics", true, true, "diagnostics_inputs_3"},
        {"diagnostics_inputs_3", "diagnostics_inputs_2", {"nextButton"}, "...Settings->Diagnostics->Test Inputs (3)", "diagnostics", true, true, "diagnostics_inputs_1"},
        {"diagnostics_outputs_1", "diagnostics", {"m_testOutputsButton"}, "...Settings->Diagnostics->Test Outputs (1)", "diagnostics", true, true, "diagnostics_outputs_2"},
        {"diagnostics_outputs_2", "diagnostics_outputs_1", {"nextButton"}, "...Settings->Diagnostics->Test Outputs (2)", "diagnostics", true, true, "diagnostics_outputs_1"},
        {"diagnostics_sectrix", "diagnostics", {"m_testSectrixButton"}, "...Settings->Diagnostics->Test Sectrix", "diagnostics", true},
        {"alarm_log", "diagnostics", {"m_alarmLogButton"}, "DataLogAlarms", "diagnostics", true},
        {"pressure_log", "diagnostics", {"m_pressureLogButton"}, "DataLogPressure", "diagnostics", true},
        {"data", "home", {"homeButton3"}, "Data", nullptr, true},
        {"data_jobs", "data", {"m_jobsButton"}, "Data->Jobs", "data", true},
        {"data_campaign", "data", {"m_campaignButton"}, "Data->Campaign", "data", true},
        {"data_totals", "data", {"m_totalsButton"}, "Data->Totals", "data", true},
        {"console", "home", {"homeButton4"}, "Console Settings", nullptr, true},
        {"console_display", "console", {"m_btnDisplay"}, "Console->Display (1)", "console", true, true,
         "console_display_2"},
        {"console_display_2", "console_display", {"nextButton"}, "Console->Display (2)", "console", true, true,
         "console_display"},
        {"console_cultural", "console", {"m_btnCultural"}, "Console->Cultural", "console", true},
        {"console_sound", "console", {"m_btnSound"}, "Console->Sound", "console", true},
        {"console_about", "console", {"m_btnAbout"}, "Console->About", "console", true},
        {"tools", "home", {"homeButton5"}, "Tools", nullptr, true},
        {"tools_calculator", "tools", {"m_calculatorButton"}, "CalculatorWidget", nullptr, false, true, nullptr,
         "m_cancelButton"},
        {"tools_converter", "tools", {"m_converterButton"}, "Tools->Units Converter", "tools", true},
    };
    return pages;
}

inline const WalkPage& walkPage(const char* name)
{
    for (const WalkPage& page : walkPages())
        if (std::string(page.name) == name)
            return page;
    FAIL("no page " << name << " in the walk");
    return walkPages().front();
}

// The visible widgets named so, in every shown window.
inline std::vector<QWidget*> shownNamed(const QString& name)
{
    std::vector<QWidget*> found;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        if (window->objectName() == name)
            found.push_back(window);
        for (QWidget* widget : window->findChildren<QWidget*>(name))
            if (widget->isVisible())
                found.push_back(widget);
    }
    return found;
}

// The page's pathway as shown: its whole text, or the end an ellipsis leaves.
inline bool pathwayShows(const QString& pathway)
{
    for (QWidget* widget : shownNamed(QStringLiteral("m_pathwayLabel"))) {
        const auto* label = qobject_cast<QtElidedLabel*>(widget);
        if (label == nullptr)
            continue;
        const QString text = label->text();
        if (text == pathway)
            return true;
        if (text.startsWith(QChar(0x2026)) && pathway.endsWith(text.mid(1)))
            return true;
    }
    return false;
}

// The pathways shown, for the messages of a failed check.
inline QString shownPathways()
{
    QStringList texts;
    for (QWidget* widget : shownNamed(QStringLiteral("m_pathwayLabel")))
        if (const auto* label = qobject_cast<QtElidedLabel*>(widget))
            texts << label->text();
    if (COverlayInterface* popup = currentPopup())
        texts << QStringLiteral("pop-up: ") + popupTexts(popup).join(QStringLiteral(" / "));
    return texts.join(QStringLiteral("; "));
}

// The pathway in the pseudo-translation: each part marked, "->" and a leading "..." kept.
inline QString markedPathway(const QString& pathway)
{
    const bool shortened = pathway.startsWith(QStringLiteral("..."));
    QStringList parts = (shortened ? pathway.mid(3) : pathway).split(QStringLiteral("->"));
    for (QString& part : parts)
        part = pseudo::openMark + part + pseudo::closeMark;
    return (shortened ? QStringLiteral("...") : QString()) + parts.join(QStringLiteral("->"));
}

// The page is on the screen: its object name, or its pathway in English or marked.
inline bool pageShown(const char* confirm)
{
    const QString name = QString::fromUtf8(confirm);
    return !shownNamed(name).empty() || pathwayShows(name) || pathwayShows(markedPathway(name));
}

struct ConsoleWalk : WithGuiApplication {
    // Called after each touch that changes the page, with the time from the
    // touch's release to the new page painted.
    std::function<void(const std::string& page, qint64 nanoseconds)> onPageChange;

    ConsoleWalk()
    {
        REQUIRE(coreStartInProcess());
        // Stopped only once the platform and the core run, as in the screen tests.
        mClock = std::make_unique<ManualClock>();
        prepareStore();
        GuiGeometry::setDesignType(3);
        GuiGeometry::setDisplayType(3);
        KSNLanguageManager::LanguageManager::instance();
        mWindow = std::make_unique<MainWindow>(nullptr);
        ToolsViewWidgets::ToolsViewConsoleDisplay::installSheetFont();
        QFile styleSheet(ToolsViewWidgets::ToolsViewConsoleDisplay::applyStoredStyle());
        REQUIRE(styleSheet.open(QIODevice::ReadOnly));
        qApp->setStyleSheet(QString::fromLatin1(styleSheet.readAll()));
        mWindow->show();
        pumpEvents();
        // An alarm the start raised (the stand-in board may read as unknown
        // hardware, depending on when its first readings come) is acknowledged
        // by touch, as the operator does.
        for (int n = 0; n < 5 && currentPopup() != nullptr; ++n)
            touch(currentPopup(), "start");
        REQUIRE(currentPopup() == nullptr);
        // The console starts on the working screen; the walk starts at home.
        REQUIRE(pageShown("WorkingViewCtrl"));
        touchHome();
        REQUIRE(pageShown("HomeViewCtrl"));
    }

    MainWindow* window() const { return mWindow.get(); }

    // The one visible widget of that name; fails when there is none or more.
    static QWidget* shown(const char* name)
    {
        const std::vector<QWidget*> found = shownNamed(QString::fromUtf8(name));
        INFO("touching " << std::string(name));
        REQUIRE(found.size() == 1);
        return found.front();
    }

    // A finger on the widget's centre: the press and the release go to
    // whatever is on top there, which must be the widget or a part of it; on
    // the main window, no window of its own (keypad, grid, calculator) may
    // stand over that point.
    void touch(QWidget* widget, const std::string& leadsTo)
    {
        QWidget* top = widget->window();
        const QPoint pos = widget->mapTo(top, widget->rect().center());
        QWidget* under = top->childAt(pos);
        INFO("touching " << widget->objectName().toStdString() << "; on top there: "
                          << (under == nullptr ? std::string("nothing")
                                               : under->objectName().toStdString() + " (" +
                                                     under->metaObject()->className() + ")"));
        REQUIRE((under == widget || widget->isAncestorOf(under) || (under == nullptr && widget == top)));
        if (top == mWindow.get()) {
            const QPoint global = top->mapToGlobal(pos);
            for (QWidget* other : QApplication::topLevelWidgets()) {
                INFO("covered by " << other->objectName().toStdString());
                CHECK_FALSE((other != top && other->isVisible() && other->frameGeometry().contains(global)));
            }
        }
        touchPress(top, pos);
        QElapsedTimer timer;
        timer.start();
        touchRelease(top, pos);
        pumpEvents();
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible())
                window->repaint();
        if (onPageChange)
            onPageChange(leadsTo, timer.nsecsElapsed());
    }

    void touch(const char* name, const std::string& leadsTo) { touch(shown(name), leadsTo); }

    // The page's way home: its home button; on the working screen the tool
    // bar's, the bar opened first when it is not.
    void touchHome()
    {
        if (!shownNamed(QStringLiteral("homeButton")).empty()) {
            touch("homeButton", "home");
            return;
        }
        if (shownNamed(QStringLiteral("m_workToolBarView")).empty())
            touch("m_showToolBarButton", "working_toolbar");
        touch("m_btnHome", "home");
    }

    // Whether the page has a way home (touchHome).
    static bool homeShown()
    {
        return !shownNamed(QStringLiteral("homeButton")).empty() || pageShown("WorkingViewCtrl") ||
               !shownNamed(QStringLiteral("m_btnHome")).empty();
    }

    // One step of a row's way in: an object name, touched; "keypad:<digits>",
    // the digits typed on the keypad shown and accepted; "option:<id>", the
    // option of the grid shown, paged on to with its arrows; "fresh-code", no
    // touch: the accepted access code forgotten, as after a restart, so that
    // the settings entry asks for the code again; "popup", the pop-up the
    // last touch brought up (a step's help) acknowledged by a touch on it.
    void step(const std::string& what, const std::string& leadsTo)
    {
        const std::string keypad = "keypad:";
        const std::string option = "option:";
        if (what == "popup") {
            COverlayInterface* popup = currentPopup();
            REQUIRE(popup != nullptr);
            touch(popup, leadsTo);
            CHECK(currentPopup() != popup);
        } else if (what == "fresh-code")
            REQUIRE(datastoreSetUint16(DS_LAST_PASSWORD, 0) == 0);
        else if (what.compare(0, keypad.size(), keypad) == 0)
            typeOnKeypad(QString::fromStdString(what.substr(keypad.size())), leadsTo);
        else if (what.compare(0, option.size(), option) == 0)
            chooseOption(std::stoi(what.substr(option.size())), leadsTo);
        else
            touch(what.c_str(), leadsTo);
    }

    void typeOnKeypad(const QString& digits, const std::string& leadsTo)
    {
        NumericKeypadWidget* keypad = shownKeypad();
        REQUIRE(keypad != nullptr);
        for (QChar c : digits) {
            QAbstractButton* key =
                keypadKey(keypad, QStringLiteral("0x") + QString::number(c.unicode(), 16).toUpper());
            REQUIRE(key != nullptr);
            touch(key, "keypad");
        }
        QAbstractButton* accept = keypadPictureKey(keypad, true);
        REQUIRE(accept != nullptr);
        touch(accept, leadsTo);
    }

    void chooseOption(int id, const std::string& leadsTo)
    {
        ButtonGridWidget* grid = shownButtonGrid();
        REQUIRE(grid != nullptr);
        int page = 0;
        KestromPushButton* choice = gridOption(grid, id, &page);
        INFO("grid option " << id);
        REQUIRE(choice != nullptr);
        for (int turns = 0; grid->currentPage() != page && turns < grid->pageCount(); ++turns) {
            KestromPushButton* arrow = nullptr;
            for (KestromPushButton* button : grid->pageButtons(grid->currentPage()))
                if (button->id() == ButtonGridWidget::NextPageId)
                    arrow = button;
            REQUIRE(arrow != nullptr);
            touch(arrow, "grid");
        }
        REQUIRE(grid->currentPage() == page);
        touch(choice, leadsTo);
    }

    // From the home view to the page, touching the way; the page and each
    // one on the way must be the one on the screen.
    void open(const WalkPage& page)
    {
        if (page.from == nullptr) {
            REQUIRE(pageShown(page.confirm));
            mCurrent = &page;
            return;
        }
        open(walkPage(page.from));
        for (const char* name : page.open)
            step(name, page.name);
        INFO("opening " << std::string(page.name) << "; shown: " << shownPathways().toStdString());
        REQUIRE(pageShown(page.confirm));
        mCurrent = &page;
        look(page.beats);
    }

    // The operator looks at the page for beats of the 100 ms refresh: the
    // clock moves on and the pages shown update (the clock fields of the
    // culture page get their first text only then).
    void look(int beats = 1)
    {
        for (int beat = 0; beat < beats; ++beat) {
            mClock->advance(100);
            emit EvSignal::EventSignals::instance()->event100ms();
            pumpEvents(1);
        }
    }

    // Home (or back where the page has no home) until the home view shows;
    // a window of its own is closed first.
    void returnHome()
    {
        if (mCurrent != nullptr && mCurrent->close != nullptr && pageShown(mCurrent->confirm))
            touch(mCurrent->close, mCurrent->from);
        mCurrent = nullptr;
        for (int step = 0; step < 10 && !pageShown("HomeViewCtrl"); ++step) {
            if (homeShown())
                touchHome();
            else
                touch("backButton", "back");
        }
        REQUIRE(pageShown("HomeViewCtrl"));
    }

    // Back, next, home and close on the page lead where they should; ends on
    // the home view.
    void checkWaysOut(const WalkPage& page)
    {
        INFO("ways out of " << std::string(page.name));
        if (page.home) {
            open(page);
            touchHome();
            CHECK(pageShown("HomeViewCtrl"));
            CHECK_FALSE(pageShown(page.confirm));
            returnHome();
        }
        if (page.back != nullptr) {
            open(page);
            touch("backButton", page.back);
            CHECK(pageShown(walkPage(page.back).confirm));
            CHECK_FALSE(pageShown(page.confirm));
            returnHome();
        } else if (page.from != nullptr) {
            open(page);
            CHECK(shownNamed(QStringLiteral("backButton")).empty());
            returnHome();
        }
        if (page.next != nullptr) {
            open(page);
            touch("nextButton", page.next);
            CHECK(pageShown(walkPage(page.next).confirm));
            CHECK_FALSE(pageShown(page.confirm));
            returnHome();
        }
        if (page.close != nullptr) {
            open(page);
            touch(page.close, page.from);
            mCurrent = nullptr;
            CHECK(pageShown(walkPage(page.from).confirm));
            CHECK_FALSE(pageShown(page.confirm));
            returnHome();
        }
    }

    // The language chosen on the culture page by touch, as the operator does.
    void chooseLanguage(int index)
    {
        open(walkPage("console_cultural"));
        touch("m_btnLanguage", "language grid");
        chooseOption(index, "console_cultural");
        CHECK(shownButtonGrid() == nullptr);
        returnHome();
    }

private:
    // What makes every page reachable: the sensors present (their calibration
    // pages), the master valve off (the home view opens nothing while it is
    // on), more sections than physical switches (the installer's second
    // implement page), set through the core as the installer page sets them.
    static void prepareStore()
    {
        for (uint32_t id : {DS_FLOW_SENSOR_PRESENT, DS_FILL_FLOW_SENSOR_PRESENT, DS_PRESSURE_SENSOR_PRESENT,
                            DS_TANK_SENSOR_PRESENT})
            REQUIRE(datastoreSetBool(id, 1) == 0);
        REQUIRE(datastoreSetBool(DS_MASTER_SWITCH, 0) == 0);
        processEvent(EV_SET_NUMBER_OF_SECTIONS, kSections);
        pumpEvents();
        REQUIRE(datastoreGetUint16(DS_NUMBER_OF_SECTIONS) == kSections);
    }

    static constexpr uint16_t kSections = 13;

    std::unique_ptr<ManualClock> mClock;
    std::unique_ptr<MainWindow> mWindow;
    const WalkPage* mCurrent = nullptr;
};
