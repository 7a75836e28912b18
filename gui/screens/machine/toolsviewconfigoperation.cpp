#include "toolsviewconfigoperation.h"

#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "guigeometry.h"
#include "machineresources.h"
#include "processevent.h"
#include "settingpagekit.h"
#include "unitquantities.h"
#include "units.h"

#include <QEvent>
#include <QGridLayout>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

constexpr int kEventOwner = 2;

enum Row { RateStepRow = 0, SpeedSourceRow = 1, SimSpeedRow = 2, MinSpeedRow = 3 };

const char* const kRateStepIcon = ":/images/Target_boost.svg";
const char* const kWheelIcon = ":/images/speed_wheel.svg";
const char* const kCanIcon = ":/images/gps.svg";
const char* const kSimulatedIcon = ":/images/speed_simulated.svg";
const char* const kMinSpeedIcon = ":/images/speed_vehicle_forward.svg";

// Sources other than the wheel and CAN run on the simulated speed.
int knownSource(uint32_t stored)
{
    return stored == ToolsViewConfigOperation::Implement || stored == ToolsViewConfigOperation::CanSpeed
               ? static_cast<int>(stored)
               : ToolsViewConfigOperation::Simulated;
}

const char* sourceIcon(int source)
{
    switch (source) {
    case ToolsViewConfigOperation::Implement:
        return kWheelIcon;
    case ToolsViewConfigOperation::CanSpeed:
        return kCanIcon;
    default:
        return kSimulatedIcon;
    }
}

}  // namespace

ToolsViewConfigOperation::ToolsViewConfigOperation(QWidget* parent) : WidgetTimedFocusUpdateQt(parent)
{
    machineScreensInitResources();
    setObjectName(QStringLiteral("ToolsViewConfigOperation"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ToolsViewConfigOperation::handleButtonBarPressed);

    mRateStepLabel = mKit->addLabelButton(RateStepRow, this, &ToolsViewConfigOperation::showHelp, kRateStepIcon);
    mRateStepKeypad = mKit->addKeypad();
    connect(mRateStepKeypad, &NumericKeypadWidget::commitValue, this, &ToolsViewConfigOperation::commitApplRateBoost);
    mRateStepValue = mKit->addValueButton(RateStepRow, "m_applRateBoostValue");
    connect(mRateStepValue, &KestromPushButton::takeAction, this, &ToolsViewConfigOperation::editApplRateBoost);

    mSpeedSourceChoice = knownSource(datastoreGetUint8(DS_SPEED_SOURCE));
    mSpeedSourceLabel = mKit->addLabelButton(SpeedSourceRow, this, &ToolsViewConfigOperation::showHelp,
                                             sourceIcon(mSpeedSourceChoice));
    mSpeedSourceGrid = mKit->addGrid();
    for (int source : {Implement, CanSpeed, Simulated}) {
        KestromPushButton* option = mKit->addOption(mSpeedSourceGrid, source);
        option->setObjectName(QStringLiteral("m_speedSourceOption%1").arg(source));
        // As wide as a large icon button; as high as the icon needs, so that
        // the grid holds all three sources on one page.
        option->setMinimumWidth(GuiGeometry::iconSize90().width());
        option->setSvgIcon(sourceIcon(source), GuiGeometry::iconSize70());
    }
    mKit->layOutOptions(mSpeedSourceGrid);
    connect(mSpeedSourceGrid, &ButtonGridWidget::commitSelection, this, &ToolsViewConfigOperation::commitSpeedSource);
    mSpeedSourceValue = mKit->addValueButton(SpeedSourceRow, "m_speedSourceSelection");
    connect(mSpeedSourceValue, &KestromPushButton::takeAction, this, &ToolsViewConfigOperation::editSpeedSource);

    mSimSpeedLabel = mKit->addLabelButton(SimSpeedRow, this, &ToolsViewConfigOperation::showHelp, kSimulatedIcon);
    mSimSpeedKeypad = mKit->addKeypad();
    connect(mSimSpeedKeypad, &NumericKeypadWidget::commitValue, this, &ToolsViewConfigOperation::commitSimSpeed);
    mSimSpeedValue = mKit->addValueButton(SimSpeedRow, "m_simSpeedValue");
    connect(mSimSpeedValue, &KestromPushButton::takeAction, this, &ToolsViewConfigOperation::editSimSpeed);

    mMinSpeedLabel = mKit->addLabelButton(MinSpeedRow, this, &ToolsViewConfigOperation::showHelp, kMinSpeedIcon);
    mMinSpeedKeypad = mKit->addKeypad();
    connect(mMinSpeedKeypad, &NumericKeypadWidget::commitValue, this, &ToolsViewConfigOperation::commitMinimumSpeed);
    mMinSpeedValue = mKit->addValueButton(MinSpeedRow);
    connect(mMinSpeedValue, &KestromPushButton::takeAction, this, &ToolsViewConfigOperation::editMinimumSpeed);

    // Rows a little below the pathway, the free space under them.
    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(10);
    retranslate();
}

void ToolsViewConfigOperation::timedUpdate()
{
    // Nothing here changes by itself: the page refreshes on show and on commits.
}

QString ToolsViewConfigOperation::speedUnit(bool shortForm) const
{
    switch (unitGetSystem()) {
    case UNIT_SYSTEM_METRIC:
        return shortForm ? tr("km/h", "Abbr for kilometers per hour") : tr("kilometers/hour");
    case UNIT_SYSTEM_IMPERIAL:
    case UNIT_SYSTEM_US:
        return shortForm ? tr("mph", "Abbr for miles per hour") : tr("miles/hour");
    default:
        return QString();
    }
}

void ToolsViewConfigOperation::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("Machine", "pathway text"), tr("Operation", "pathway text")});
    SettingPageKit::setLabelText(mRateStepLabel, tr("Application Rate Step", "setting label"));
    mSpeedSourceLabel->setText(tr("Speed Source", "setting label"));
    mSimSpeedLabel->setText(tr("Simulate Speed", "setting label"));
    mMinSpeedLabel->setText(tr("Minimum Speed", "setting label"));
    refreshRateStep();
    refreshSpeedSource();
    refreshMinimumSpeed();
    refreshSimSpeed();
}

void ToolsViewConfigOperation::refreshRateStep()
{
    mRateStepValue->setText(SettingPageKit::percentText(tr("%L1%", "%L1 is the value"), mRateStep));
}

void ToolsViewConfigOperation::refreshSpeedSource()
{
    const int source = knownSource(datastoreGetUint8(DS_SPEED_SOURCE));
    mSpeedSourceLabel->setSvgIcon(sourceIcon(source), GuiGeometry::iconSize50());
    switch (source) {
    case Implement:
        mSpeedSourceValue->setText(tr("Implement", "Speed Source button"));
        break;
    case CanSpeed:
        mSpeedSourceValue->setText(tr("CAN Speed", "Speed Source button"));
        break;
    default:
        mSpeedSourceValue->setText(tr("Simulated", "Speed Source button"));
        break;
    }
    // Only a stored simulated source runs on the simulated speed; 0 or 1 show
    // as simulated but do not use it.
    mSimSpeedValue->setEnabled(datastoreGetUint8(DS_SPEED_SOURCE) == Simulated);
    refreshSimSpeed();
}

void ToolsViewConfigOperation::refreshSimSpeed()
{
    mSimSpeedValue->setText(SettingPageKit::quantityText(tr("%L1 %2", "%L1 is the value, %2 is the units"),
                                                         UQ_SIMULATED_SPEED, speedUnit(true)));
}

void ToolsViewConfigOperation::refreshMinimumSpeed()
{
    mMinSpeedValue->setText(SettingPageKit::quantityText(tr("%L1 %2", "%L1 is the value, %2 is the units"),
                                                         UQ_MIN_SPEED, speedUnit(true)));
}

void ToolsViewConfigOperation::editApplRateBoost()
{
    KeypadSetting setting;
    setting.value = mRateStep;
    setting.minimum = 1.0;
    setting.maximum = 20.0;
    setting.decimals = 0;
    setting.units = QStringLiteral("%");
    setting.title = tr("Application Rate Step (%)", "keyboard header");
    mKit->openKeypad(mRateStepKeypad, setting, this, &ToolsViewConfigOperation::commitApplRateBoost);
}

void ToolsViewConfigOperation::commitApplRateBoost(double value)
{
    // The keypad lets a fraction through; the button shows the whole step that
    // is stored, never a rounded-up one.
    const uint16_t step = static_cast<uint16_t>(value);
    mRateStep = step;
    // Written every time, also when the same step is stored.
    datastoreSetUint16(DS_APPL_RATE_STEP, step);
    refreshRateStep();
}

void ToolsViewConfigOperation::editSpeedSource()
{
    mKit->openGrid(mSpeedSourceGrid, mSpeedSourceChoice, this, &ToolsViewConfigOperation::commitSpeedSource);
}

void ToolsViewConfigOperation::commitSpeedSource(int id)
{
    mSpeedSourceChoice = id;
    const uint8_t source = static_cast<uint8_t>(id & 0xFF);
    if (source != datastoreGetUint8(DS_SPEED_SOURCE)) {
        datastoreSetUint8(DS_SPEED_SOURCE, source);
        eventPost(kEventOwner, EV_SET_SPEED_SOURCE, source);
    }
    refreshSpeedSource();
}

void ToolsViewConfigOperation::editSimSpeed()
{
    if (!mSimSpeedValue->isEnabled())
        return;
    KeypadSetting setting = KeypadSetting::forQuantity(UQ_SIMULATED_SPEED, speedUnit(false));
    setting.title = tr("Simulate Speed (%1)", "keyboard header. %1 is the units.").arg(speedUnit(true));
    mKit->openKeypad(mSimSpeedKeypad, setting, this, &ToolsViewConfigOperation::commitSimSpeed);
}

void ToolsViewConfigOperation::commitSimSpeed(double value)
{
    unitSetItemFromDisplay(UQ_SIMULATED_SPEED,
                           PageValues::displayIntegerRounded(value, unitGetScale(UQ_SIMULATED_SPEED)));
    eventPost(kEventOwner, EV_SIM_SPEED_CHANGED, 0);
    refreshSimSpeed();
}

void ToolsViewConfigOperation::editMinimumSpeed()
{
    KeypadSetting setting = KeypadSetting::forQuantity(UQ_MIN_SPEED, speedUnit(false));
    setting.title = tr("Minimum Speed (%1)", "keyboard header. %1 is the units.").arg(speedUnit(true));
    mKit->openKeypad(mMinSpeedKeypad, setting, this, &ToolsViewConfigOperation::commitMinimumSpeed);
}

void ToolsViewConfigOperation::commitMinimumSpeed(double value)
{
    // The core stores it; no rounding term, unlike the simulated speed.
    processEvent(EV_SET_MINIMUM_SPEED, static_cast<uint32_t>(PageValues::baseFromTyped(UQ_MIN_SPEED, value)));
    refreshMinimumSpeed();
}

void ToolsViewConfigOperation::showHelp(int id)
{
    switch (id) {
    case RateStepRow:
        SettingPageKit::showHelp(tr("Application Rate Step", "definition header"),
                                 tr("The percent of increase/decrease \"boost\" of the active application rate at "
                                    "which the product is being applied.",
                                    "Application Rate Step definition"));
        break;
    case SpeedSourceRow:
        SettingPageKit::showHelp(tr("Speed Source", "definition header"),
                                 tr("Selects whether to base the machine's speed on input from the CAN, an "
                                    "Implement or a Simulated source.",
                                    "Speed Source definition"));
        break;
    case SimSpeedRow:
        SettingPageKit::showRangeHelp(
            tr("Simulate Speed", "definition header"),
            tr("Establishes a speed to be used when using the Simulated Speed source. Range is %L1 through %L2 %3.",
               "Simulate Speed definition. %L1 & %L2 are the range values. %3 is the units."),
            PageValues::itemDisplayMinimum(UQ_SIMULATED_SPEED), PageValues::itemDisplayMaximum(UQ_SIMULATED_SPEED),
            PageValues::decimals(UQ_SIMULATED_SPEED), speedUnit(false));
        break;
    case MinSpeedRow:
        SettingPageKit::showRangeHelp(
            tr("Minimum Speed", "definition header"),
            tr("Establishes the minimum forward speed at which the system should automatically switch the main valve "
               "off. Range is %L1 through %L2 %3.",
               "Minimum Speed definition. %L1 & %L2 are the range values. %3 is the units."),
            PageValues::itemDisplayMinimum(UQ_MIN_SPEED), PageValues::itemDisplayMaximum(UQ_MIN_SPEED),
            PageValues::decimals(UQ_MIN_SPEED), speedUnit(false));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ToolsViewConfigOperation::handleButtonBarPressed(int id)
{
    SettingPageKit::navigate(this, id);
}

void ToolsViewConfigOperation::showEvent(QShowEvent* event)
{
    WidgetTimedFocusUpdateQt::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    mRateStep = datastoreGetUint16(DS_APPL_RATE_STEP);
    refreshRateStep();
    refreshSpeedSource();
    refreshSimSpeed();
    refreshMinimumSpeed();
}

void ToolsViewConfigOperation::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
