// The tank shape page and the calibration-file transfer with the process core
// in the same process on the program's stand-in board: the core's shape
// procedure runs on the ticks the test gives, the live level comes through the
// board's ADC, the console's ShapeCal.ini lies below the board's storage base
// and the USB stick is the board's media directory.
#include "calibration_drive.h"
#include "configmachinecaltanklevel.h"
#include "configmachinecaltanklevelsensorshape.h"
#include "core_inprocess.h"
#include "clock.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "filedesc.h"
#include "greyfellcommon.h"
#include "io_if.h"
#include "screen_check.h"
#include "screen_drive.h"
#include "screen_fixture.h"
#include "settingpagekit.h"
#include "standin_board.h"
#include "sysroot.h"
#include "tank.h"
#include "test_wait.h"
#include "thumbdrivewatcher.h"

#include <doctest/doctest.h>

#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QStackedWidget>

#include <unistd.h>

using namespace ToolsViewWidgets;

namespace {

const std::string& usbFile()
{
    static const std::string path = (GreyfellCommon::usbRootPath() + "/ShapeCal.ini").toStdString();
    return path;
}

std::string fileContent(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return "<none>";
    return file.readAll().toStdString();
}

bool writeFile(const std::string& path, const std::string& content)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(content.data(), static_cast<qint64>(content.size())) == static_cast<qint64>(content.size());
}

// The live tank level as the board's ADC gives it, once the core has read it.
// The ADC reader reads on the (manual) clock: time moves on while it waits.
void setLiveTankLevel(unsigned raw)
{
    REQUIRE(standinSetAdc(sysrootDir(), 5, raw));
    REQUIRE(waitFor(
        [raw] {
            clockAdvanceMs(100);
            io_ifReadSensorInputs();
            return datastoreGetUint16(DS_LIVE_TANK_SENSOR) == raw;
        },
        3000));
}

struct TankCore {
    ScreenFixture f;
    ConfigMachineCalTankLevel* menu = nullptr;
    QStackedWidget* stack = nullptr;

    TankCore()
    {
        REQUIRE(coreStartInProcess());
        QDir(GreyfellCommon::usbRootPath()).removeRecursively();
        f.setItem(DS_PAGE_MODE, PageMode::Home);
        f.setItem(DS_TANK_SENSOR_PRESENT, 1);
        // The master through the soft switch: no wiring of the board's switch box needed.
        f.setItem(DS_TOUCH_OPERATION, 1);
        f.setItem(DS_SOFT_MASTER_SWITCH, 0);
        runCoreEvent(EV_PROCESS_TICK, 0);
        menu = new ConfigMachineCalTankLevel;
        f.place(menu, QPoint(0, 0), QSize(480, 272));
        stack = menu->pageStack();
        takePostedEvents();
    }
    ~TankCore()
    {
        dismissPopups();
        // The core's procedure back at rest for the next case.
        runCoreEvent(EV_TANK_SHAPE_CAL_STOP, 0);
        runCoreEvent(EV_PROCESS_TICK, 0);
        QDir(GreyfellCommon::usbRootPath()).removeRecursively();
    }

    ConfigMachineCalTankLevelSensorShape* shape() const { return menu->shapePage(); }
    void openShape()
    {
        tapButton(stack->widget(0)->findChild<KestromPushButton*>("m_tankShapeButton"));
        REQUIRE(stack->currentWidget() == shape());
    }
    void master(bool on)
    {
        f.setItem(DS_SOFT_MASTER_SWITCH, on ? 1 : 0);
        runCoreEvent(EV_PROCESS_TICK, 0);
        REQUIRE(datastoreGetBool(DS_MASTER_SWITCH) == (on ? 1 : 0));
    }
    // A process tick for the core, then the page's refresh.
    void step()
    {
        runCoreEvent(EV_PROCESS_TICK, 0);
        f.tick100ms();
    }
    bool progressShown() const { return shape()->findChild<QProgressBar*>("m_progressBar")->isVisible(); }
    bool promptShown() const { return shape()->findChild<KestromPushButton*>("m_startPrompt")->isVisible(); }

    void plugStick()
    {
        REQUIRE(QDir().mkpath(GreyfellCommon::usbRootPath()));
        menu->kit()->usbWatcher()->vHandleDirectoryChange();  // as 1 s after the mount
    }
    void unplugStick()
    {
        QDir(GreyfellCommon::usbRootPath()).removeRecursively();
        menu->kit()->usbWatcher()->vHandleDirectoryChange();
    }
};

}  // namespace

TEST_CASE("tank shape: a whole run with the core, from the start event to the completion pop-up")
{
    TankCore t;
    setLiveTankLevel(50);
    // Four steps between the minimum and the maximum reading, all above the level now.
    t.f.setItem(DS_TANK_CAL_MIN, 100);
    t.f.setItem(DS_TANK_CAL_MAX, 104);
    t.f.setItem(DS_TANK_MAX_CONTENT, 2500);
    t.openShape();
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == PageMode::Calibration);
    CHECK(hasEvent(takePostedEvents(), EV_TANK_SHAPE_CAL_START, 0));
    CHECK(datastoreGetBool(DS_TANK_SHAPE_CAL_ACTIVE) == 1);
    CHECK(t.shape()->calibrationState() == ConfigMachineCalTankLevelSensorShape::WaitingForMaster);
    CHECK(t.promptShown());
    CHECK_FALSE(t.progressShown());
    CHECK(t.shape()->findChild<QLabel*>("m_tankContentValue")->text() == "2,500 l");
    t.f.tick100ms();
    CHECK_SCREEN(t.f.screen(), "tank_shape_overview");
    const QStringList overview = takeShownMessage();
    CHECK(overview.value(0) == "Calibration Process Overview");
    CHECK_SCREEN(t.f.screen(), "tank_shape_waiting");

    t.master(true);
    t.f.tick100ms();
    CHECK(t.shape()->calibrationState() == ConfigMachineCalTankLevelSensorShape::Running);
    CHECK(t.progressShown());
    CHECK_FALSE(t.promptShown());
    auto* progress = t.shape()->findChild<QProgressBar*>("m_progressBar");
    std::vector<int> seen;
    for (int i = 0; i < 10 && datastoreGetBool(DS_TANK_SHAPE_CAL_ACTIVE) != 0; ++i) {
        t.step();
        seen.push_back(progress->value());
        if (seen.size() == 1)
            CHECK_SCREEN(t.f.screen(), "tank_shape_running");
    }
    // One step a tick: half, three quarters, all; then the core ends the run.
    REQUIRE(seen.size() >= 3);
    CHECK(std::vector<int>(seen.begin(), seen.begin() + 3) == std::vector<int>{50, 75, 100});
    CHECK(seen.back() == 100);
    CHECK(datastoreGetUint16(DS_TANK_CAL_PROGRESS) == 100);
    // The core ended the run: the page is complete and says so.
    CHECK(t.shape()->calibrationState() == ConfigMachineCalTankLevelSensorShape::Complete);
    CHECK(popupTexts(currentPopup()) == QStringList{"Calibration Complete",
                                                    "The calibration process is now complete. Turn Master Switch off."});
    CHECK_SCREEN(t.f.screen(), "tank_shape_done");
    // No second run before the pop-up is acknowledged.
    t.master(true);
    t.f.tick100ms();
    CHECK(t.shape()->calibrationState() == ConfigMachineCalTankLevelSensorShape::Complete);

    takePostedEvents();
    tap(currentPopup());
    pumpEvents();
    CHECK(t.stack->currentIndex() == 0);
    // Left after completion: no stop, the settings mode and the master item off.
    CHECK_FALSE(hasEvent(takePostedEvents(), EV_TANK_SHAPE_CAL_STOP, 0));
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == PageMode::Home);
    CHECK(datastoreGetBool(DS_MASTER_SWITCH) == 0);
}

TEST_CASE("tank shape: a run the core gives up is reported as failed, not complete")
{
    TankCore t;
    setLiveTankLevel(50);
    // Every step lies below the level: the tank never empties in this run.
    t.f.setItem(DS_TANK_CAL_MIN, 10);
    t.f.setItem(DS_TANK_CAL_MAX, 14);
    t.openShape();
    dismissPopups();
    t.master(true);
    t.f.tick100ms();
    REQUIRE(t.shape()->calibrationState() == ConfigMachineCalTankLevelSensorShape::Running);
    t.step();
    CHECK(datastoreGetBool(DS_TANK_SHAPE_CAL_ACTIVE) == 1);
    // The core's time limit: 65535 quarter seconds.
    t.f.clock.advance(65535u * 250u);
    t.step();
    t.step();
    CHECK(datastoreGetBool(DS_TANK_SHAPE_CAL_ACTIVE) == 0);
    CHECK(datastoreGetUint16(DS_TANK_CAL_PROGRESS) < 100);
    CHECK(t.shape()->calibrationState() == ConfigMachineCalTankLevelSensorShape::Complete);
    const QStringList texts = popupTexts(currentPopup());
    CHECK(texts.value(0) == "Calibration Failed");
    CHECK_FALSE(texts.join(" ").contains("is now complete"));
    tap(currentPopup());
    pumpEvents();
    CHECK(t.stack->currentIndex() == 0);
}

TEST_CASE("tank shape: leaving while waiting or running stops the core's run; leaving in state 2 posts nothing")
{
    struct Case {
        const char* name;
        bool masterOn;
        bool startedAgain;
        int leaveBy;
        bool stops;
    };
    const Case cases[] = {
        {"waiting, back", false, false, ToolsViewButtonBar::Back, true},
        {"waiting, home", false, false, ToolsViewButtonBar::Home, true},
        {"running, back", true, false, ToolsViewButtonBar::Back, true},
        {"started again, back", false, true, ToolsViewButtonBar::Back, false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        TankCore t;
        setLiveTankLevel(50);
        t.f.setItem(DS_TANK_CAL_MIN, 10);
        t.f.setItem(DS_TANK_CAL_MAX, 14);
        t.openShape();
        dismissPopups();
        if (c.masterOn) {
            t.master(true);
            t.f.tick100ms();
            REQUIRE(t.shape()->calibrationState() == ConfigMachineCalTankLevelSensorShape::Running);
        }
        if (c.startedAgain) {
            t.shape()->calibrationStart();
            CHECK(takeShownMessage().value(0) == "Automatic Calibration");
            CHECK_FALSE(t.promptShown());
        }
        takePostedEvents();
        tapButtonBar(t.shape(), c.leaveBy);
        CHECK(t.stack->currentIndex() == 0);
        CHECK(hasEvent(takePostedEvents(), EV_TANK_SHAPE_CAL_STOP, 0) == c.stops);
        CHECK(datastoreGetUint16(DS_PAGE_MODE) == PageMode::Home);
        CHECK(datastoreGetBool(DS_MASTER_SWITCH) == 0);
        // The core ends its run on the stop and clears the flag on its next step.
        runCoreEvent(EV_PROCESS_TICK, 0);
        if (c.stops)
            CHECK(datastoreGetBool(DS_TANK_SHAPE_CAL_ACTIVE) == 0);
    }
}

TEST_CASE("tank shape: shown with the master already on, the page runs on its first refresh")
{
    TankCore t;
    setLiveTankLevel(50);
    t.f.setItem(DS_TANK_CAL_MIN, 10);
    t.f.setItem(DS_TANK_CAL_MAX, 14);
    t.f.setItem(DS_MASTER_SWITCH, 1);
    t.openShape();
    dismissPopups();
    CHECK(t.shape()->calibrationState() == ConfigMachineCalTankLevelSensorShape::WaitingForMaster);
    t.f.tick100ms();
    CHECK(t.shape()->calibrationState() == ConfigMachineCalTankLevelSensorShape::Running);
}

TEST_CASE("transfer buttons follow the stick and the file on it")
{
    enum OnStick { RegularFile, Link, Nothing };
    struct Case {
        bool stick;
        OnStick onStick;
        bool exportEnabled;
        bool importEnabled;
    };
    const Case cases[] = {
        {false, Nothing, false, false},
        {true, RegularFile, true, true},
        {true, Link, true, false},
        {true, Nothing, true, false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.stick);
        CAPTURE(c.onStick);
        TankCore t;
        CHECK_FALSE(t.menu->exportButton()->isEnabled());
        CHECK_FALSE(t.menu->importButton()->isEnabled());
        if (c.stick) {
            REQUIRE(QDir().mkpath(GreyfellCommon::usbRootPath()));
            if (c.onStick == RegularFile)
                REQUIRE(writeFile(usbFile(), "[General]\r\n"));
            if (c.onStick == Link)
                REQUIRE(::symlink(tankShapeCalPath().c_str(), usbFile().c_str()) == 0);
            t.menu->kit()->usbWatcher()->vHandleDirectoryChange();
        }
        CHECK(t.menu->exportButton()->isEnabled() == c.exportEnabled);
        CHECK(t.menu->importButton()->isEnabled() == c.importEnabled);
        if (c.stick) {
            t.unplugStick();
            CHECK_FALSE(t.menu->exportButton()->isEnabled());
            CHECK_FALSE(t.menu->importButton()->isEnabled());
        }
    }
}

TEST_CASE("export: without a file on the stick at once, with one after a question; import is enabled after it")
{
    TankCore t;
    t.f.setItem(DS_TANK_CAL_EMPTY, 12);
    t.f.setItem(DS_TANK_CAL_MIN, 40);
    t.f.setItem(DS_TANK_CAL_MAX, 880);
    t.plugStick();
    tapButton(t.menu->exportButton());
    CHECK(takeShownMessage() ==
          QStringList{"Export Tank Sensor Calibration", "Exported Tank Sensor Calibration successfully."});
    const std::string exported = fileContent(usbFile());
    CHECK(exported == fileContent(tankShapeCalPath()));
    CHECK(exported.find("CalEmpty=12\r\nCalMin=40\r\nCalMax=880\r\n") != std::string::npos);
    CHECK(t.menu->importButton()->isEnabled());

    t.f.setItem(DS_TANK_CAL_MAX, 870);
    tapButton(t.menu->exportButton());
    COverlayInterface* query = currentPopup();
    REQUIRE(query != nullptr);
    CHECK(popupTexts(query).contains("Export of tank sensor calibration data.\nAn existing calibration file already "
                                     "exists on the USB drive and will be overwritten. Do you want to proceed?"));
    const std::string console = fileContent(tankShapeCalPath());
    tapPopupButton(query, "No");
    CHECK(fileContent(usbFile()) == exported);
    CHECK(fileContent(tankShapeCalPath()) == console);

    tapButton(t.menu->exportButton());
    tapPopupButton(currentPopup(), "Yes");
    CHECK(takeShownMessage().value(1) == "Exported Tank Sensor Calibration successfully.");
    CHECK(fileContent(usbFile()).find("CalMax=870\r\n") != std::string::npos);
    CHECK_SCREEN(t.f.screen(), "tank_menu_stick");

    // A stick pulled meanwhile: the failure is reported.
    QDir(GreyfellCommon::usbRootPath()).removeRecursively();
    t.menu->exportTankCalibration();
    CHECK(takeShownMessage() ==
          QStringList{"Export Tank Sensor Calibration", "Error occurred while exporting Tank Sensor Calibration."});
    t.unplugStick();
    CHECK_SCREEN(t.f.screen(), "tank_menu_no_stick");
}

TEST_CASE("import: a valid file replaces the calibration; a refused one or a lost stick keeps the console's file and items")
{
    TankCore t;
    // The stick's file: a calibration made elsewhere.
    t.f.setItem(DS_TANK_CAL_EMPTY, 15);
    t.f.setItem(DS_TANK_CAL_MIN, 45);
    t.f.setItem(DS_TANK_CAL_MAX, 850);
    t.f.setItem(DS_TANK_MAX_CONTENT, 3200);
    REQUIRE(tankShapeCalLoad(TANK_SHAPE_FILE_WRITE) == 1);
    const std::string valid = fileContent(tankShapeCalPath());
    // The console's own calibration and file.
    t.f.setItem(DS_TANK_CAL_EMPTY, 20);
    t.f.setItem(DS_TANK_CAL_MIN, 60);
    t.f.setItem(DS_TANK_CAL_MAX, 900);
    t.f.setItem(DS_TANK_MAX_CONTENT, 3000);
    REQUIRE(tankShapeCalLoad(TANK_SHAPE_FILE_WRITE) == 1);
    const std::string own = fileContent(tankShapeCalPath());
    REQUIRE(own != valid);
    t.plugStick();

    struct Case {
        const char* name;
        std::string onStick;
        bool pullStick;
    };
    const std::string refused = "[General]\r\nContentMin=0\r\nContentMax=3000\r\nCalEmpty=20\r\nCalMin=60\r\n"
                                "CalMax=900\r\nCalSteps=2\r\nIx1=10\r\nIx2=20\r\n";
    const Case failures[] = {{"refused by the core", refused, false}, {"stick pulled", valid, true}};
    for (const Case& c : failures) {
        CAPTURE(c.name);
        t.plugStick();
        REQUIRE(writeFile(usbFile(), c.onStick));
        t.menu->kit()->refreshUsbButtons();
        tapButton(t.menu->importButton());
        COverlayInterface* query = currentPopup();
        REQUIRE(query != nullptr);
        CHECK(popupTexts(query).contains(
            "Import of tank sensor calibration data.\nAll tank sensor calibration data will be replaced. This will "
            "require new Empty, Minimum and Maximum calibration. Do you want to proceed?"));
        if (c.pullStick)
            QDir(GreyfellCommon::usbRootPath()).removeRecursively();
        tapPopupButton(query, "Yes");
        CHECK(takeShownMessage() ==
              QStringList{"Import Tank Sensor Calibration", "Error occurred while importing Tank Sensor Calibration."});
        CHECK(fileContent(tankShapeCalPath()) == own);
        CHECK(datastoreGetUint16(DS_TANK_CAL_EMPTY) == 20);
        CHECK(datastoreGetUint16(DS_TANK_CAL_MAX) == 900);
        CHECK(datastoreGetUint16(DS_TANK_MAX_CONTENT) == 3000);
    }

    t.plugStick();
    REQUIRE(writeFile(usbFile(), valid));
    t.menu->kit()->refreshUsbButtons();
    tapButton(t.menu->importButton());
    tapPopupButton(currentPopup(), "No");
    CHECK(currentPopup() == nullptr);
    CHECK(fileContent(tankShapeCalPath()) == own);

    tapButton(t.menu->importButton());
    tapPopupButton(currentPopup(), "Yes");
    CHECK(takeShownMessage() ==
          QStringList{"Import Tank Sensor Calibration", "Imported Tank Sensor Calibration successfully."});
    CHECK(fileContent(tankShapeCalPath()) == valid);
    CHECK(datastoreGetUint16(DS_TANK_CAL_EMPTY) == 15);
    CHECK(datastoreGetUint16(DS_TANK_CAL_MIN) == 45);
    CHECK(datastoreGetUint16(DS_TANK_CAL_MAX) == 850);
    CHECK(datastoreGetUint16(DS_TANK_MAX_CONTENT) == 3200);
}

TEST_CASE("import without a console file: a refused file leaves none behind")
{
    TankCore t;
    fileDelete(tankShapeCalPath());
    t.f.setItem(DS_TANK_CAL_MAX, 900);
    t.plugStick();
    REQUIRE(writeFile(usbFile(), "[General]\r\nCalSteps=2\r\nIx1=10\r\nIx2=20\r\n"));
    t.menu->kit()->refreshUsbButtons();
    t.menu->ImportResponseYesNoClicked(nullptr, 1);
    CHECK(takeShownMessage().value(1) == "Error occurred while importing Tank Sensor Calibration.");
    CHECK(fileContent(tankShapeCalPath()) == "<none>");
    CHECK(datastoreGetUint16(DS_TANK_CAL_MAX) == 900);
}
