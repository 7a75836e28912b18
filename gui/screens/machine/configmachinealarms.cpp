#include "configmachinealarms.h"

#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "guigeometry.h"
#include "machineresources.h"
#include "processevent.h"
#include "settingpagekit.h"
#include "unitquantities.h"
#include "units.h"

#include <QEvent>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

enum Row { MinContentRow = 0, CrossCheckRow = 1, SectionAlarmRow = 2 };

bool nh3Mode()
{
    return datastoreGetBool(DS_NH3_MODE) != 0;
}

// The quantity that shows the minimum content, and the one of its limit.
uint32_t contentQuantity()
{
    return nh3Mode() ? UQ_TANK_CONTENT_MASS : UQ_FILL_MIN_CONTENT;
}

uint32_t limitQuantity()
{
    return nh3Mode() ? UQ_TANK_CONTENT_MASS : UQ_TANK_MAX_CONTENT;
}

double fullTankDisplay()
{
    return PageValues::displayFromBase(limitQuantity(), datastoreGetUint16(DS_TANK_MAX_CONTENT));
}

}  // namespace

ConfigMachineAlarms::ConfigMachineAlarms(QWidget* parent) : QWidget(parent)
{
    machineScreensInitResources();
    setObjectName(QStringLiteral("ConfigMachineAlarms"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigMachineAlarms::handleButtonBarPressed);
    mLabels[MinContentRow] =
        mKit->addLabelButton(MinContentRow, this, &ConfigMachineAlarms::showHelp, ":/images/tank_half_full.svg");
    mLabels[CrossCheckRow] = mKit->addLabelButton(CrossCheckRow, this, &ConfigMachineAlarms::showHelp);
    mLabels[SectionAlarmRow] = mKit->addLabelButton(SectionAlarmRow, this, &ConfigMachineAlarms::showHelp);

    // The values are short; the long setting names need the room.
    mMinContentValue = mKit->addValueButton(MinContentRow, "m_minTankContentValue");
    mMinContentValue->setMinimumSize(GuiGeometry::menuButtonSize());
    connect(mMinContentValue, &KestromPushButton::takeAction, this, &ConfigMachineAlarms::editMinTankContentValue);
    mCrossCheckValue = mKit->addValueButton(CrossCheckRow, "m_crossCheckValue");
    mCrossCheckValue->setMinimumSize(GuiGeometry::menuButtonSize());
    connect(mCrossCheckValue, &KestromPushButton::takeAction, this, &ConfigMachineAlarms::editCrossCheckValue);
    mSectionAlarmValue = mKit->addValueButton(SectionAlarmRow, "m_sectionAlarmValue");
    mSectionAlarmValue->setMinimumSize(GuiGeometry::menuButtonSize());
    connect(mSectionAlarmValue, &KestromPushButton::takeAction, this, &ConfigMachineAlarms::editSectionAlarmState);

    mMinContentKeypad = mKit->addKeypad();
    mCrossCheckKeypad = mKit->addKeypad();
    mSectionAlarmGrid = mKit->addGrid();
    mEnableOption = mKit->addOption(mSectionAlarmGrid, 1);
    mDisableOption = mKit->addOption(mSectionAlarmGrid, 0);
    for (KestromPushButton* option : {mEnableOption, mDisableOption})
        option->setMinimumWidth(GuiGeometry::iconSize90().width());
    mKit->layOutOptions(mSectionAlarmGrid);

    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(10);
    retranslate();
}

QString ConfigMachineAlarms::volumeUnitText(bool shortForm) const
{
    switch (unitGetSystem()) {
    case UNIT_SYSTEM_METRIC:
        return shortForm ? tr("l", "Abbr for liter") : tr("liter");
    case UNIT_SYSTEM_IMPERIAL:
    case UNIT_SYSTEM_US:
        return shortForm ? tr("gal", "Abbr for gallon") : tr("gallon");
    default:
        return QString();
    }
}

void ConfigMachineAlarms::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("Machine", "pathway text"), tr("Alarms", "pathway text")});
    mLabels[MinContentRow]->setText(tr("Minimum Tank Content", "setting label"));
    mLabels[CrossCheckRow]->setText(tr("Flow/Pressure Cross Check", "setting label"));
    mLabels[SectionAlarmRow]->setText(tr("Section Output Low", "setting label"));
    mEnableOption->setText(tr("Enable", "small button"));
    mDisableOption->setText(tr("Disable", "small button"));
    refreshMinTankContent();
    refreshCrossCheck();
    refreshSectionAlarm();
}

void ConfigMachineAlarms::refreshMinTankContent()
{
    const double value = PageValues::displayFromBase(contentQuantity(), datastoreGetUint16(DS_ALARM_MIN_TANK_CONTENT));
    mMinContentValue->setText(SettingPageKit::valueText(tr("%L1 %2", "%L1 is the value, %2 is the units"), value, 0,
                                                        volumeUnitText(true)));
}

void ConfigMachineAlarms::refreshCrossCheck()
{
    mCrossCheckValue->setText(tr("%L1%", "%L1 is the value").arg(datastoreGetUint16(DS_CROSS_CHECK_PERCENT)));
}

void ConfigMachineAlarms::refreshSectionAlarm()
{
    mSectionAlarmValue->setText(datastoreGetBool(DS_SECTION_ALARM_ENABLED) != 0 ? tr("Enabled", "button")
                                                                                 : tr("Disabled", "button"));
}

void ConfigMachineAlarms::editMinTankContentValue()
{
    KeypadSetting setting;
    setting.value = PageValues::displayFromBase(contentQuantity(), datastoreGetUint16(DS_ALARM_MIN_TANK_CONTENT));
    setting.minimum = 0.0;
    setting.maximum = fullTankDisplay();
    setting.decimals = 1;
    setting.units = volumeUnitText(false);
    setting.title = tr("Minimum Tank Content (%1)", "keyboard header").arg(volumeUnitText(true));
    mKit->openKeypad(mMinContentKeypad, setting, this, &ConfigMachineAlarms::commitMinTankContentValue);
}

void ConfigMachineAlarms::commitMinTankContentValue(double value)
{
    // Shown with the content quantity's scale, converted by the actual content's
    // units (the same units as the content quantity in every system).
    const uint32_t conversion = nh3Mode() ? UQ_TANK_CONTENT_MASS : UQ_TANK_ACTUAL_CONTENT;
    processEvent(EV_SET_MIN_TANK_CONTENT,
                 static_cast<uint32_t>(PageValues::baseFromTyped(contentQuantity(), conversion, value)));
    refreshMinTankContent();
}

void ConfigMachineAlarms::editCrossCheckValue()
{
    KeypadSetting setting;
    setting.value = datastoreGetUint16(DS_CROSS_CHECK_PERCENT);
    setting.minimum = 0.0;
    setting.maximum = 50.0;
    setting.units = QStringLiteral("%");
    setting.title = tr("Flow/Pressure Cross Check (%)", "keyboard header");
    mKit->openKeypad(mCrossCheckKeypad, setting, this, &ConfigMachineAlarms::commitCrossCheckValue);
}

void ConfigMachineAlarms::commitCrossCheckValue(double value)
{
    processEvent(EV_SET_CROSS_CHECK, static_cast<uint32_t>(value));
    refreshCrossCheck();
}

void ConfigMachineAlarms::editSectionAlarmState()
{
    mKit->openGrid(mSectionAlarmGrid, datastoreGetBool(DS_SECTION_ALARM_ENABLED) != 0 ? 1 : 0, this,
                   &ConfigMachineAlarms::commitSectionAlarmStateValue);
}

void ConfigMachineAlarms::commitSectionAlarmStateValue(int id)
{
    datastoreSetBool(DS_SECTION_ALARM_ENABLED, static_cast<uint32_t>(id & 0xFF));
    refreshSectionAlarm();
}

void ConfigMachineAlarms::showHelp(int id)
{
    switch (id) {
    case MinContentRow:
        SettingPageKit::showHelp(
            tr("Minimum Tank Content", "definition header"),
            tr("Establishes the minimum volume level at which an alarm will sound. Range is 0 through %L1 %2.",
               "Minimum Tank Content definition. %L1 is the high value. %2 is the units.")
                .arg(fullTankDisplay(), 0, 'f', 0)
                .arg(volumeUnitText(false)));
        break;
    case CrossCheckRow:
        SettingPageKit::showHelp(tr("Flow/Pressure Cross Check", "definition header"),
                                 tr("Establishes at what percentage the associated alarm will sound. This alarm is "
                                    "only available when both flow and liquid pressure sensors are installed.",
                                    "Flow/Pressure Cross Check definition"));
        break;
    case SectionAlarmRow:
        SettingPageKit::showHelp(tr("Section Output Low", "definition header"),
                                 tr("Establishes if the alarm will sound if a section is turned on, yet no load is "
                                    "sensed from that section.",
                                    "Section Output Low definition"));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigMachineAlarms::handleButtonBarPressed(int id)
{
    SettingPageKit::navigate(this, id);
}

void ConfigMachineAlarms::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    refreshMinTankContent();
    refreshCrossCheck();
}

void ConfigMachineAlarms::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
