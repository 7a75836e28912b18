#include "toolsviewconsoledisplay.h"

#include "cdebug.h"
#include "cpopupquery.h"
#include "ctouchscreencalibration.h"
#include "cwaitmessage.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "guigeometry.h"
#include "settingpagekit.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QVBoxLayout>
#include <QFile>

void consoleScreensInitResources()
{
    Q_INIT_RESOURCE(console);
}

namespace ToolsViewWidgets {

namespace {
// Scheme n's style sheet; the file names do not say which mode uses a sheet.
const char* const schemeSheets[] = {
    ":/stylesheets/velmar_night.qss",       ":/stylesheets/velmar_day.qss",
    ":/stylesheets/velmar_lightpurple.qss", ":/stylesheets/velmar_jdgreen.qss",
    ":/stylesheets/velmar_casered.qss",     ":/stylesheets/velmar_highviz.qss",
};
// The board's font, which the sheets name, and what stands in for it where it is missing.
const char* const kSheetFont = "Tahoma";
const char* const kSheetFontStandIn = "DejaVu Sans Condensed";

enum Row { NightRow = 0, SchemeRow = 1, BrightnessRow = 2, CalibrationRow = 3 };
// Answers of the calibration questions: "Yes" is 0 here.
enum { YesAnswer = 0, NoAnswer = 1, OkAnswer = 1, TimedOut = 0 };
constexpr float kOkTimeoutSeconds = 10.0f;
constexpr int kSchemeChoices = 6;

const char* const kNightIcon = ":/images/day_night_mode.svg";
const char* const kSchemeIcon = ":/images/rgb.svg";
const char* const kBrightnessIcon = ":/images/display_brightness.svg";
const char* const kCalibrationIcon = ":/images/display_calibrate.svg";

int storedStyle(bool night)
{
    return datastoreGetUint16(night ? DS_NIGHT_STYLE : DS_DAY_STYLE);
}

}  // namespace

ToolsViewConsoleDisplay::ToolsViewConsoleDisplay(QWidget* parent) : QWidget(parent)
{
    consoleScreensInitResources();
    mNight = datastoreGetBool(DS_NIGHT_MODE) != 0;
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "Constructor");
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "NightMode = %d", int(mNight));
    setObjectName(QStringLiteral("ToolsViewConsoleDisplay"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, true, true);
    mKit->connectButtonBar(this, &ToolsViewConsoleDisplay::handleButtonBarPressed);

    mNightLabel = mKit->addLabelButton(NightRow, this, &ToolsViewConsoleDisplay::showHelp, kNightIcon);
    mNightValue = mKit->addValueButton(NightRow, "m_btnNightMode");
    connect(mNightValue, &KestromPushButton::takeAction, this, &ToolsViewConsoleDisplay::editNightMode);

    mSchemeLabel = mKit->addLabelButton(SchemeRow, this, &ToolsViewConsoleDisplay::showHelp, kSchemeIcon);
    mSchemeValue = mKit->addValueButton(SchemeRow, "m_btnColorScheme");
    connect(mSchemeValue, &KestromPushButton::takeAction, this, &ToolsViewConsoleDisplay::editColorScheme);
    mSchemeGrid = mKit->addGrid();
    mSchemeGrid->setObjectName(QStringLiteral("m_colorSchemeGrid"));
    for (int index = 0; index < kSchemeChoices; ++index)
        mSchemeChoices[index] = mKit->addOption(mSchemeGrid, index);
    mKit->layOutOptions(mSchemeGrid);
    connect(mSchemeGrid, &ButtonGridWidget::commitSelection, this, &ToolsViewConsoleDisplay::commitColorScheme);

    mBrightnessLabel =
        mKit->addLabelButton(BrightnessRow, this, &ToolsViewConsoleDisplay::showHelp, kBrightnessIcon);
    mBrightnessValue = mKit->addValueButton(BrightnessRow, "m_btnBrightness");
    connect(mBrightnessValue, &KestromPushButton::takeAction, this, &ToolsViewConsoleDisplay::editBrightness);
    mKeypad = mKit->addKeypad();
    connect(mKeypad, &NumericKeypadWidget::commitValue, this, &ToolsViewConsoleDisplay::commitBrightness);

    mCalibrationLabel =
        mKit->addLabelButton(CalibrationRow, this, &ToolsViewConsoleDisplay::showHelp, kCalibrationIcon);
    mCalibrationValue = mKit->addValueButton(CalibrationRow, "m_btnCalibration");
    connect(mCalibrationValue, &KestromPushButton::takeAction, this,
            &ToolsViewConsoleDisplay::startCalibrationButtonPressed);

    mNightGrid = mKit->addGrid();
    mNightGrid->setObjectName(QStringLiteral("m_nightModeGrid"));
    mNightOff = mKit->addOption(mNightGrid, 0);
    mNightOn = mKit->addOption(mNightGrid, 1);
    mKit->layOutOptions(mNightGrid);
    connect(mNightGrid, &ButtonGridWidget::commitSelection, this, &ToolsViewConsoleDisplay::commitNightMode);

    mKit->column()->insertStretch(1, 1);
    mKit->column()->addStretch(10);
    retranslate();
}

ToolsViewConsoleDisplay::~ToolsViewConsoleDisplay()
{
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "Destructor");
}

int ToolsViewConsoleDisplay::schemeCount()
{
    return int(sizeof schemeSheets / sizeof schemeSheets[0]);
}

QString ToolsViewConsoleDisplay::styleSheetPath(int scheme)
{
    // No sheet for an unknown scheme: applying it changes nothing.
    if (scheme < 0 || scheme >= schemeCount())
        return QString();
    return QString::fromLatin1(schemeSheets[scheme]);
}

void ToolsViewConsoleDisplay::installSheetFont()
{
    QFont::insertSubstitution(QString::fromLatin1(kSheetFont), QString::fromLatin1(kSheetFontStandIn));
}

QString ToolsViewConsoleDisplay::applyStoredStyle()
{
    // The items directly, not a page: start-up needs the path and nothing else.
    return styleSheetPath(storedStyle(datastoreGetBool(DS_NIGHT_MODE) != 0));
}

int ToolsViewConsoleDisplay::getStyle() const
{
    const int style = storedStyle(mNight);
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "style = %d", style);
    return style;
}

void ToolsViewConsoleDisplay::setStyle(int index)
{
    datastoreSetUint16(mNight ? DS_NIGHT_STYLE : DS_DAY_STYLE, static_cast<uint16_t>(index));
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "style = %d", index);
}

int ToolsViewConsoleDisplay::getBrightness() const
{
    const int brightness = datastoreGetUint8(mNight ? DS_NIGHT_BRIGHTNESS : DS_DAY_BRIGHTNESS);
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "brightness = %d", brightness);
    return brightness;
}

void ToolsViewConsoleDisplay::setBrightness(uint8_t value)
{
    datastoreSetUint8(mNight ? DS_NIGHT_BRIGHTNESS : DS_DAY_BRIGHTNESS, value);
    // Its change event makes the core set the backlight.
    datastoreSetUint8(DS_BRIGHTNESS, value);
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "brightness = %d", int(value));
}

QString ToolsViewConsoleDisplay::schemeLabel(int index, bool small) const
{
    // Every stored value beyond the fifth scheme shows as the sixth.
    switch (index) {
    case 0:
        return small ? tr("Style 1", "User Interface Color Scheme small button")
                     : tr("Style 1", "User Interface Color Scheme button");
    case 1:
        return small ? tr("Style 2", "User Interface Color Scheme small button")
                     : tr("Style 2", "User Interface Color Scheme button");
    case 2:
        return small ? tr("Style 3", "User Interface Color Scheme small button")
                     : tr("Style 3", "User Interface Color Scheme button");
    case 3:
        return small ? tr("Style 4", "User Interface Color Scheme small button")
                     : tr("Style 4", "User Interface Color Scheme button");
    case 4:
        return small ? tr("Style 5", "User Interface Color Scheme small button")
                     : tr("Style 5", "User Interface Color Scheme button");
    default:
        return small ? tr("Style 6", "User Interface Color Scheme small button")
                     : tr("Style 6", "User Interface Color Scheme button");
    }
}

void ToolsViewConsoleDisplay::retranslate()
{
    mKit->setPathway({tr("Console", "pathway text"), tr("Display (1)", "pathway text")});
    SettingPageKit::setLabelText(mNightLabel, tr("Night Mode", "setting label"));
    SettingPageKit::setLabelText(mSchemeLabel, tr("User Interface Color Scheme", "setting label"));
    SettingPageKit::setLabelText(mBrightnessLabel, tr("LCD Brightness", "setting label"));
    SettingPageKit::setLabelText(mCalibrationLabel, tr("Touch Screen Calibration", "setting label"));
    mCalibrationValue->setText(tr("Start", "button"));
    for (int index = 0; index < kSchemeChoices; ++index)
        mSchemeChoices[index]->setText(schemeLabel(index, true));
    mNightOff->setText(tr("Disable", "small button"));
    mNightOn->setText(tr("Enable", "small button"));
    updateNightModeSelection();
    updateBrightnessValue();
    updateColorSchemeSelection();
}

void ToolsViewConsoleDisplay::updateColorSchemeSelection()
{
    mSchemeValue->setText(schemeLabel(getStyle(), false));
}

void ToolsViewConsoleDisplay::updateBrightnessValue()
{
    mBrightnessValue->setText(SettingPageKit::percentText(tr("%L1%", "%L1 is the value"), getBrightness()));
}

void ToolsViewConsoleDisplay::updateNightModeSelection()
{
    const QString text = mNight ? tr("Enabled", "button") : tr("Disabled", "button");
    mNightValue->setText(text);
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "%s", qPrintable(text));
    datastoreSetBool(DS_NIGHT_MODE, mNight ? 1 : 0);
}

void ToolsViewConsoleDisplay::editColorScheme()
{
    mKit->openGrid(mSchemeGrid, getStyle(), this, &ToolsViewConsoleDisplay::commitColorScheme);
}

void ToolsViewConsoleDisplay::commitColorScheme(int index)
{
    CWaitMessage wait(QString(), tr("Changing color scheme, please wait...", "definition"), false);
    wait.showMessage(3);
    QFile sheet(styleSheetPath(index));
    // The whole application restyles at once; a sheet that does not open
    // leaves the current one.
    if (sheet.open(QIODevice::ReadOnly))
        qApp->setStyleSheet(QString::fromLatin1(sheet.readAll()));
    setStyle(index);
    updateColorSchemeSelection();
}

void ToolsViewConsoleDisplay::editBrightness()
{
    KeypadSetting setting;
    setting.value = getBrightness();
    setting.minimum = PageValues::itemMinimum(DS_BRIGHTNESS);
    setting.maximum = PageValues::itemMaximum(DS_BRIGHTNESS);
    setting.decimals = 0;
    setting.units = QStringLiteral("%");
    setting.title = tr("LCD Brightness (%)", "keyboard header");
    mKit->openKeypad(mKeypad, setting, this, &ToolsViewConsoleDisplay::commitBrightness);
}

void ToolsViewConsoleDisplay::commitBrightness(double value)
{
    setBrightness(static_cast<uint8_t>(static_cast<uint32_t>(value) & 0xFF));
    updateBrightnessValue();
}

void ToolsViewConsoleDisplay::editNightMode()
{
    mKit->openGrid(mNightGrid, datastoreGetBool(DS_NIGHT_MODE) ? 1 : 0, this,
                   &ToolsViewConsoleDisplay::commitNightMode);
}

void ToolsViewConsoleDisplay::commitNightMode(int selection)
{
    mNight = selection != 0;
    if ((datastoreGetBool(DS_NIGHT_MODE) != 0) != mNight)
        datastoreSetBool(DS_NIGHT_MODE, mNight ? 1 : 0);
    // The pair of the mode now in force, also when the mode did not change.
    commitColorScheme(getStyle());
    commitBrightness(getBrightness());
    updateNightModeSelection();
}

void ToolsViewConsoleDisplay::startCalibrationButtonPressed()
{
    const QString text = QStringLiteral("%1\n\n%2").arg(
        tr("Begin touch screen calibration?"),
        tr("During calibration, carefully touch each crosshair icon as it appears on the screen."));
    CPopupQuery* query = CPopupQuery::askYesNo(text, YesAnswer, NoAnswer);
    connect(query, &CPopupQuery::ResponseReceived, this, &ToolsViewConsoleDisplay::handleYesNoQueryResponse);
}

void ToolsViewConsoleDisplay::handleYesNoQueryResponse(CPopupQuery*, int answer)
{
    if (answer == YesAnswer)
        startCalibration();
}

void ToolsViewConsoleDisplay::startCalibration()
{
    {
        CTouchScreenCalibration calibration;
        calibration.exec();
    }
    // A calibration after which OK cannot be touched is repeated until it can.
    CPopupQuery* query = CPopupQuery::showOk(
        tr("Press OK to complete calibration.\n\nThis message will timeout after 10 seconds if you are unable to "
           "close it and will restart the touch screen calibration process."),
        OkAnswer);
    query->setTimeout(kOkTimeoutSeconds, TimedOut);
    connect(query, &CPopupQuery::ResponseReceived, this, &ToolsViewConsoleDisplay::handleOkayQueryResponse);
}

void ToolsViewConsoleDisplay::handleOkayQueryResponse(CPopupQuery*, int answer)
{
    if (answer != OkAnswer)
        startCalibration();
}

void ToolsViewConsoleDisplay::showHelp(int which)
{
    CDEBUG_LOG(CDebugLevel::INF, "cDefault", "which = %d", which);
    switch (which) {
    case NightRow:
        SettingPageKit::showHelp(tr("Night Mode", "definition header"),
                                 tr("Enable Night Mode to lower brightness levels in all color schemes. Disable "
                                    "Night Mode to return to previous brightness settings.",
                                    "Night Mode definition"));
        break;
    case SchemeRow:
        SettingPageKit::showHelp(tr("User Interface Color Scheme", "definition header"),
                                 tr("Choose the color scheme that is easiest to read.",
                                    "User Interface Color Scheme definition"));
        break;
    case BrightnessRow:
        SettingPageKit::showHelp(tr("LCD Brightness", "definition header"),
                                 tr("The brightness of the console display."));
        break;
    case CalibrationRow:
        SettingPageKit::showHelp(tr("Touch Screen Calibration", "definition header"),
                                 tr("This allows the touch screen to be properly calibrated.",
                                    "Touch Screen Calibration definition"));
        break;
    default:
        break;
    }
}

void ToolsViewConsoleDisplay::handleButtonBarPressed(int id)
{
    SettingPageKit::navigatePair(this, id);
}

void ToolsViewConsoleDisplay::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
