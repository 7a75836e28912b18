#include "configmachineimplparamregparam.h"

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

#include <cstring>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

enum Row { RoughRow = 0, FineRow = 1, SpacingRow = 2, RegulModeRow = 3 };
enum Mode { PressureMode = 0, FlowMode = 1 };

// An item's lower or upper store limit, truncated to a whole number.
int itemLimit(uint32_t item, bool upper)
{
    const uint32_t bits = upper ? datastoreGetMax(item) : datastoreGetMin(item);
    float limit = 0.0f;
    std::memcpy(&limit, &bits, sizeof limit);
    return static_cast<int>(limit);
}

}  // namespace

ConfigMachineImplParamRegParam::ConfigMachineImplParamRegParam(QWidget* parent) : QWidget(parent)
{
    machineScreensInitResources();
    setObjectName(QStringLiteral("ConfigMachineImplParamRegParam"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigMachineImplParamRegParam::handleButtonBarPressed);
    for (int row = RoughRow; row <= RegulModeRow; ++row)
        mLabels[row] = mKit->addLabelButton(row, this, &ConfigMachineImplParamRegParam::showHelp);

    mRoughValue = mKit->addValueButton(RoughRow, "m_ValveCalibRoughValue");
    connect(mRoughValue, &KestromPushButton::takeAction, this, &ConfigMachineImplParamRegParam::editRoughValue);
    mFineValue = mKit->addValueButton(FineRow, "m_btnValveCalibFineValue");
    connect(mFineValue, &KestromPushButton::takeAction, this, &ConfigMachineImplParamRegParam::editFineValue);
    mSpacingValue = mKit->addValueButton(SpacingRow, "m_btnNozzleSpacingValue");
    connect(mSpacingValue, &KestromPushButton::takeAction, this, &ConfigMachineImplParamRegParam::editNozzleSpacing);
    mRegulModeValue = mKit->addValueButton(RegulModeRow, "m_btnRegulModeSelection");
    connect(mRegulModeValue, &KestromPushButton::takeAction, this, &ConfigMachineImplParamRegParam::editRegulMode);

    // The values are short; the long setting names need the room.
    for (KestromPushButton* value : {mRoughValue, mFineValue, mSpacingValue, mRegulModeValue})
        value->setMinimumSize(GuiGeometry::menuButtonSize());

    mRoughKeypad = mKit->addKeypad();
    mFineKeypad = mKit->addKeypad();
    mSpacingKeypad = mKit->addKeypad();
    mRegulModeGrid = mKit->addGrid();
    mFlowOption = mKit->addOption(mRegulModeGrid, FlowMode);
    mPressureOption = mKit->addOption(mRegulModeGrid, PressureMode);
    for (KestromPushButton* option : {mFlowOption, mPressureOption})
        option->setMinimumWidth(GuiGeometry::iconSize90().width());
    mKit->layOutOptions(mRegulModeGrid);

    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(10);
    retranslate();
}

ConfigMachineImplParamRegParam::~ConfigMachineImplParamRegParam() = default;

QString ConfigMachineImplParamRegParam::spacingUnit(bool shortForm) const
{
    switch (unitGetSystem()) {
    case UNIT_SYSTEM_METRIC:
        return shortForm ? tr("cm", "Abbr for centimetres") : tr("centimetres");
    case UNIT_SYSTEM_IMPERIAL:
    case UNIT_SYSTEM_US:
        return shortForm ? tr("in", "Abbr for inches") : tr("inches");
    default:
        return QString();
    }
}

void ConfigMachineImplParamRegParam::retranslate()
{
    // Deeper than three levels: the kit shows the last two after "...".
    mKit->setPathway({tr("Settings", "pathway text"), tr("Machine", "pathway text"),
                      tr("Implement Parameters", "pathway text"), tr("Regulation Parameters", "pathway text")});
    mLabels[RoughRow]->setText(tr("Coarse Valve Calibration", "setting label"));
    mLabels[FineRow]->setText(tr("Fine Valve Calibration", "setting label"));
    mLabels[SpacingRow]->setText(tr("Tip Spacing", "setting label"));
    mLabels[RegulModeRow]->setText(tr("Regulation Mode", "setting label"));
    mFlowOption->setText(tr("Flow", "Regulation Mode small button"));
    mPressureOption->setText(tr("Pressure", "Regulation Mode small button"));
    refreshRough();
    refreshFine();
    refreshRegulMode();
    refreshSpacing();
}

void ConfigMachineImplParamRegParam::refreshRough()
{
    mRoughValue->setText(tr("%L1", "%L1 is the value").arg(datastoreGetUint16(DS_COARSE_VALVE_CAL)));
}

void ConfigMachineImplParamRegParam::refreshFine()
{
    mFineValue->setText(tr("%L1", "%L1 is the value").arg(datastoreGetUint16(DS_FINE_VALVE_CAL)));
}

void ConfigMachineImplParamRegParam::refreshSpacing()
{
    mSpacingValue->setText(SettingPageKit::quantityText(tr("%L1 %2", "%L1 is the value and %2 is the unit"),
                                                        UQ_TIP_SPACING, spacingUnit(true)));
}

void ConfigMachineImplParamRegParam::refreshRegulMode()
{
    mRegulModeValue->setText(datastoreGetBool(DS_REGULATION_MODE) != 0 ? tr("Flow", "Regulation Mode button")
                                                                        : tr("Pressure", "Regulation Mode button"));
}

void ConfigMachineImplParamRegParam::editRoughValue()
{
    KeypadSetting setting;
    setting.value = datastoreGetUint16(DS_COARSE_VALVE_CAL);
    setting.minimum = itemLimit(DS_COARSE_VALVE_CAL, false);
    setting.maximum = itemLimit(DS_COARSE_VALVE_CAL, true);
    setting.title = tr("Coarse Valve Calibration", "keyboard header");
    mKit->openKeypad(mRoughKeypad, setting, this, &ConfigMachineImplParamRegParam::commitRoughValue);
}

void ConfigMachineImplParamRegParam::commitRoughValue(double value)
{
    processEvent(EV_SET_REG_ROUGH, static_cast<uint32_t>(value));
    refreshRough();
}

void ConfigMachineImplParamRegParam::editFineValue()
{
    KeypadSetting setting;
    setting.value = datastoreGetUint16(DS_FINE_VALVE_CAL);
    setting.minimum = itemLimit(DS_FINE_VALVE_CAL, false);
    setting.maximum = itemLimit(DS_FINE_VALVE_CAL, true);
    setting.title = tr("Fine Valve Calibration", "keyboard header");
    mKit->openKeypad(mFineKeypad, setting, this, &ConfigMachineImplParamRegParam::commitFineValue);
}

void ConfigMachineImplParamRegParam::commitFineValue(double value)
{
    processEvent(EV_SET_REG_FINE, static_cast<uint32_t>(value));
    refreshFine();
}

void ConfigMachineImplParamRegParam::editNozzleSpacing()
{
    KeypadSetting setting = KeypadSetting::forQuantity(UQ_TIP_SPACING, spacingUnit(false));
    setting.title = tr("Tip Spacing (%1)", "keyboard header. %1 is the units.").arg(spacingUnit(true));
    mKit->openKeypad(mSpacingKeypad, setting, this, &ConfigMachineImplParamRegParam::commitNozzleSpacing);
}

void ConfigMachineImplParamRegParam::commitNozzleSpacing(double value)
{
    const int32_t display = PageValues::displayIntegerRounded(value, unitGetScale(UQ_TIP_SPACING));
    processEvent(EV_SET_NOZZLE_SPACING, static_cast<uint32_t>(unitDisplayToBase(UQ_TIP_SPACING, display)));
    refreshSpacing();
}

void ConfigMachineImplParamRegParam::editRegulMode()
{
    // Without both sensors the mode stays as stored (the button is disabled).
    if (!mRegulModeValue->isEnabled())
        return;
    mKit->openGrid(mRegulModeGrid, datastoreGetBool(DS_REGULATION_MODE) != 0 ? FlowMode : PressureMode, this,
                   &ConfigMachineImplParamRegParam::commitRegulMode);
}

void ConfigMachineImplParamRegParam::commitRegulMode(int id)
{
    processEvent(EV_SET_REGUL_MODE, static_cast<uint32_t>(id));
    refreshRegulMode();
}

void ConfigMachineImplParamRegParam::showHelp(int id)
{
    switch (id) {
    case RoughRow:
        SettingPageKit::showHelp(
            tr("Coarse Valve Calibration", "definition header"),
            tr("Allows regulation of the setting of the regulating valve to accommodate different application needs. "
               "Operating conditions may necessitate a higher or lower response setting for the regulating valve. "
               "This value adjusts the setting for coarse adjustments in relation to a large percentage outside of "
               "the target application rate. Range is %1 through %2.",
               "Coarse Valve Calibration definition. %1 & %2 are the range values")
                .arg(itemLimit(DS_COARSE_VALVE_CAL, false))
                .arg(itemLimit(DS_COARSE_VALVE_CAL, true)));
        break;
    case FineRow:
        SettingPageKit::showHelp(
            tr("Fine Valve Calibration", "definition header"),
            tr("Allows regulation of the setting of the regulating valve to accommodate different application needs. "
               "Operating conditions may necessitate a higher or lower response setting for the regulating valve. "
               "This digit adjusts the setting for the fine tune adjustment in relation to a small percentage close "
               "to the target application rate. Range is %1 through %2.",
               "Fine Valve Calibration definition. %1 & %2 are the range values")
                .arg(itemLimit(DS_FINE_VALVE_CAL, false))
                .arg(itemLimit(DS_FINE_VALVE_CAL, true)));
        break;
    case SpacingRow:
        SettingPageKit::showRangeHelp(tr("Tip Spacing", "definition header"),
                                      tr("Establishes the spacing between each tip. Range is %L1 through %L2 %3.",
                                         "Tip Spacing definition. %L1 & %L2 are the values. %L3 is the units."),
                                      PageValues::itemDisplayMinimum(UQ_TIP_SPACING),
                                      PageValues::itemDisplayMaximum(UQ_TIP_SPACING),
                                      PageValues::decimals(UQ_TIP_SPACING), spacingUnit(false));
        break;
    case RegulModeRow:
        SettingPageKit::showHelp(tr("Regulation Mode", "definition header"),
                                 tr("Determines if the rate control is pressure based or flow based.",
                                    "Regulation Mode definition"));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigMachineImplParamRegParam::handleButtonBarPressed(int id)
{
    SettingPageKit::navigate(this, id);
}

void ConfigMachineImplParamRegParam::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    mRegulModeValue->setEnabled(datastoreGetBool(DS_PRESSURE_SENSOR_PRESENT) != 0 &&
                                datastoreGetBool(DS_FLOW_SENSOR_PRESENT) != 0);
    refreshFine();
    refreshSpacing();
    refreshRough();
    refreshRegulMode();
}

void ConfigMachineImplParamRegParam::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
