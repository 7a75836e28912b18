// The display page over the real datastore: night mode with the scheme and
// brightness pairs of day and night, the scheme choice applied to the whole
// application, the brightness keypad, and the touch-calibration questions with
// the calibration run under a recording calibrator.
#include "cformwidget.h"
#include "cpopupmessage.h"
#include "cpopupquery.h"
#include "ctouchscreencalibration.h"
#include "cwaitmessage.h"
#include "pointercalibrator.h"
#include "screen_check.h"
#include "screen_fixture.h"
#include "settingpage_drive.h"
#include "toolsviewconsoledisplay.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTimer>

using ToolsViewWidgets::ToolsViewConsoleDisplay;

namespace {

enum { NightRow = 0, SchemeRow = 1, BrightnessRow = 2, CalibrationRow = 3 };

// A calibrator that only counts: the calibration screen is ended by the test.
struct CountingCalibrator : CPointerCalibrator {
    void clearCalibration() override { ++cleared; }
    QPoint mapToDevice(const QPoint& position) const override { return position; }
    bool calibrate(const PointerCalibrationData&) override { return true; }
    int cleared = 0;
};

struct Display : ScreenFixture {
    Display()
    {
        setItem(DS_NIGHT_MODE, 0);
        setItem(DS_DAY_STYLE, 0);
        setItem(DS_NIGHT_STYLE, 1);
        setItem(DS_DAY_BRIGHTNESS, 80);
        setItem(DS_NIGHT_BRIGHTNESS, 40);
        setItem(DS_BRIGHTNESS, 80);
        display = new ToolsViewConsoleDisplay(page());
        place(display, QPoint(0, 0), QSize(480, 272));
    }
    ~Display() { qApp->setStyleSheet(QString()); }
    KestromPushButton* value(int row) const { return valueButton(display, row); }
    void choose(int row, int id)
    {
        tapButton(value(row));
        REQUIRE(shownButtonGrid() != nullptr);
        chooseGridOption(shownButtonGrid(), id);
        // The wait message's place on the overlay manager is freed on its next beat.
        tick100ms();
    }
    ToolsViewConsoleDisplay* display;
};

QString sheetText(const char* path)
{
    QFile sheet(QString::fromLatin1(path));
    REQUIRE(sheet.open(QIODevice::ReadOnly));
    return QString::fromLatin1(sheet.readAll());
}

// Ends each calibration screen that opens, as if the five targets were touched.
void endCalibrationScreens(int* runs)
{
    QTimer* watcher = new QTimer(qApp);
    QObject::connect(watcher, &QTimer::timeout, [runs] {
        if (auto* screen = qobject_cast<CTouchScreenCalibration*>(QApplication::activeModalWidget())) {
            ++*runs;
            screen->reject();
        }
    });
    watcher->start(10);
}

// Each wait message that comes on the screen, with its text, its priority and
// the style sheet in force when it showed.
struct WaitMessageWatcher : QObject {
    WaitMessageWatcher() { qApp->installEventFilter(this); }
    ~WaitMessageWatcher() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* wait = qobject_cast<CWaitMessage*>(watched);
        if (wait != nullptr && event->type() == QEvent::Show)
            shown.push_back({wait->form()->textLabel()->text(), wait->priority(), qApp->styleSheet()});
        return false;
    }
    struct Shown {
        QString text;
        int priority;
        QString styleSheet;
    };
    std::vector<Shown> shown;
};

}  // namespace

TEST_CASE("display page: a new store shows Style 1; night mode applies the night pair")
{
    Display f;
    CHECK(pathwayText(f.display) == "Console->Display (1)");
    CHECK(f.value(NightRow)->text() == "Disabled");
    CHECK(f.value(SchemeRow)->text() == "Style 1");
    CHECK(f.value(BrightnessRow)->text() == "80%");
    CHECK(f.value(CalibrationRow)->text() == "Start");
    CHECK(showsIcon(labelButton(f.display, NightRow), ":/images/day_night_mode.svg"));
    CHECK(ToolsViewConsoleDisplay::applyStoredStyle() == ":/stylesheets/velmar_night.qss");
    CHECK(qApp->styleSheet() == sheetText(":/stylesheets/velmar_night.qss"));

    tapButton(f.value(NightRow));
    CHECK_SCREEN(f.screen(), "display_night_grid");
    chooseGridOption(shownButtonGrid(), 1);
    f.tick100ms();
    CHECK(datastoreGetBool(DS_NIGHT_MODE) == 1);
    CHECK(f.value(NightRow)->text() == "Enabled");
    CHECK(f.value(SchemeRow)->text() == "Style 2");
    CHECK(f.value(BrightnessRow)->text() == "40%");
    CHECK(datastoreGetUint8(DS_BRIGHTNESS) == 40);
    CHECK(ToolsViewConsoleDisplay::applyStoredStyle() == ":/stylesheets/velmar_day.qss");
    CHECK(qApp->styleSheet() == sheetText(":/stylesheets/velmar_day.qss"));

    // In night mode a scheme and a brightness belong to the night.
    {
        StoreWriteRecorder writes;
        f.choose(SchemeRow, 3);
        CHECK(storeWriteList() == std::vector<StoreWrite>{{DS_NIGHT_STYLE, 3}});
    }
    CHECK(datastoreGetUint16(DS_NIGHT_STYLE) == 3);
    CHECK(datastoreGetUint16(DS_DAY_STYLE) == 0);
    tapButton(f.value(BrightnessRow));
    REQUIRE(shownKeypad() != nullptr);
    CHECK(keypadTitled(shownKeypad(), "LCD Brightness (%)"));
    keypadType(shownKeypad(), "75");
    keypadAccept(shownKeypad());
    CHECK(datastoreGetUint8(DS_NIGHT_BRIGHTNESS) == 75);
    CHECK(datastoreGetUint8(DS_BRIGHTNESS) == 75);
    CHECK(datastoreGetUint8(DS_DAY_BRIGHTNESS) == 80);

    // Off again: the day pair returns.
    f.choose(NightRow, 0);
    CHECK(f.value(SchemeRow)->text() == "Style 1");
    CHECK(datastoreGetUint8(DS_BRIGHTNESS) == 80);
}

TEST_CASE("display page: a scheme is applied to the whole application; the brightness keypad keeps 40 to 100")
{
    Display f;
    f.choose(SchemeRow, 1);
    QFile sheet(ToolsViewConsoleDisplay::styleSheetPath(1));
    REQUIRE(sheet.open(QIODevice::ReadOnly));
    CHECK(qApp->styleSheet() == QString::fromLatin1(sheet.readAll()));
    CHECK(datastoreGetUint16(DS_DAY_STYLE) == 1);
    CHECK(f.value(SchemeRow)->text() == "Style 2");

    tapButton(f.value(BrightnessRow));
    for (const char* typed : {"39", "101"}) {
        CAPTURE(typed);
        keypadType(shownKeypad(), typed);
        keypadAccept(shownKeypad());
        CHECK(popupTexts(currentPopup()).join(" ").contains("Invalid value!"));
        tapPopupButton(currentPopup(), "OK");
    }
    keypadCancel(shownKeypad());
    CHECK(datastoreGetUint8(DS_BRIGHTNESS) == 80);
}

TEST_CASE("display page: a scheme change waits behind its message at priority 3, then the page's pop-up returns")
{
    Display f;
    QPointer<CPopupMessage> help = CPopupMessage::information("Help", "shown before");
    pumpEvents();
    REQUIRE(currentPopup() == help.data());
    const QString before = qApp->styleSheet();
    WaitMessageWatcher watcher;
    f.display->commitColorScheme(2);
    REQUIRE(watcher.shown.size() == 1);
    CHECK(watcher.shown[0].text == "Changing color scheme, please wait...");
    CHECK(watcher.shown[0].priority == 3);
    // On the screen before the new sheet is applied.
    CHECK(watcher.shown[0].styleSheet == before);
    CHECK(qApp->styleSheet() != before);
    pumpEvents();
    CHECK(currentPopup() == help.data());
    CHECK(f.value(SchemeRow)->text() == "Style 3");
    tap(currentPopup());
    pumpEvents();
    CHECK(currentPopup() == nullptr);
}

TEST_CASE("display page: touch calibration runs on Yes, again after the OK query times out, never on No")
{
    Display f;
    CountingCalibrator calibrator;
    CPointerCalibrator::install(&calibrator);
    int runs = 0;
    endCalibrationScreens(&runs);

    tapButton(f.value(CalibrationRow));
    CHECK(popupTexts(currentPopup()).join(" ").contains("Begin touch screen calibration?"));
    tapPopupButton(currentPopup(), "No");
    pumpEvents();
    CHECK(runs == 0);
    CHECK(calibrator.cleared == 0);

    tapButton(f.value(CalibrationRow));
    tapPopupButton(currentPopup(), "Yes");
    pumpEvents();
    CHECK(runs == 1);
    CHECK(calibrator.cleared == 1);
    CHECK(popupTexts(currentPopup()).join(" ").contains("Press OK to complete calibration."));
    f.clock.advanceInSteps(10100);
    CHECK(runs == 2);
    REQUIRE(currentPopup() != nullptr);
    tapPopupButton(currentPopup(), "OK");
    f.clock.advanceInSteps(10100);
    CHECK(runs == 2);
    CPointerCalibrator::install(nullptr);
}

TEST_CASE("display page: help texts and the button bar")
{
    Display f;
    const HelpCase cases[] = {
        {NightRow, "Night Mode", "Enable Night Mode to lower brightness levels in all color schemes."},
        {SchemeRow, "User Interface Color Scheme", "Choose the color scheme that is easiest to read."},
        {BrightnessRow, "LCD Brightness", "The brightness of the console display."},
        {CalibrationRow, "Touch Screen Calibration", "This allows the touch screen to be properly calibrated."},
    };
    for (const HelpCase& c : cases) {
        CAPTURE(c.id);
        tapButton(labelButton(f.display, c.id));
        checkShownHelp(c);
    }
    tapButton(f.value(SchemeRow));
    CHECK_SCREEN(f.screen(), "display_scheme_grid");
}

TEST_CASE("display page: a stored scheme beyond the sixth shows Style 6, highlights nothing and applies no sheet")
{
    Display f;
    const QString before = qApp->styleSheet();
    REQUIRE_FALSE(before.isEmpty());
    f.setItem(DS_DAY_STYLE, 7);
    CHECK(ToolsViewConsoleDisplay::applyStoredStyle().isEmpty());
    // A page built now reads the stored value.
    delete f.display;
    auto* fresh = new ToolsViewConsoleDisplay(f.page());
    f.place(fresh, QPoint(0, 0), QSize(480, 272));
    CHECK(valueButton(fresh, SchemeRow)->text() == "Style 6");

    tapButton(valueButton(fresh, SchemeRow));
    ButtonGridWidget* grid = shownButtonGrid();
    REQUIRE(grid != nullptr);
    int highlighted = 0;
    for (KestromPushButton* option : grid->pageButtons(1))
        highlighted += option->property("hasHighlightedBorder").toBool() ? 1 : 0;
    CHECK(highlighted == 0);
    grid->close();

    // Committed as it stands: stored again, the sheet in force stays.
    {
        StoreWriteRecorder writes;
        fresh->commitColorScheme(7);
        CHECK(storeWriteList() == std::vector<StoreWrite>{{DS_DAY_STYLE, 7}});
    }
    CHECK(qApp->styleSheet() == before);
    CHECK(valueButton(fresh, SchemeRow)->text() == "Style 6");
}
