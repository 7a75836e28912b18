#include "configoemsensorpresence.h"

#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "guigeometry.h"
#include "processevent.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

enum Row { FlowRow = 0, PressureRow = 1, FillFlowRow = 2, TankRow = 3 };

const uint32_t kItems[] = {DS_FLOW_SENSOR_PRESENT, DS_PRESSURE_SENSOR_PRESENT, DS_FILL_FLOW_SENSOR_PRESENT,
                           DS_TANK_SENSOR_PRESENT};
const uint32_t kCommands[] = {EV_SET_FLOW_SENSOR_PRESENT, EV_SET_PRESSURE_SENSOR_PRESENT,
                              EV_SET_FILL_FLOW_SENSOR_PRESENT, EV_SET_TANK_SENSOR_PRESENT};

// From 12 sections on the console offers no fill-flow sensor.
constexpr uint16_t kFillFlowSectionLimit = 12;

bool isSet(uint32_t item)
{
    return datastoreGetBool(item) != 0;
}

void sendOpposite(int row)
{
    processEvent(kCommands[row], isSet(kItems[row]) ? 0u : 1u);
}

}  // namespace

ConfigOemSensorPresence::ConfigOemSensorPresence(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ConfigOemSensorPresence"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigOemSensorPresence::handleButtonBarPressed);
    static const char* const kNames[] = {"m_btnFlowSensorValue", "m_btnPressureSensorValue",
                                         "m_btnFillFlowSensorValue", "m_btnTankSensorValue"};
    for (int row = FlowRow; row <= TankRow; ++row) {
        mLabels[row] = mKit->addLabelButton(row, this, &ConfigOemSensorPresence::showHelp);
        mValues[row] = mKit->addValueButton(row, kNames[row]);
        mValues[row]->setMinimumSize(GuiGeometry::menuButtonSize());
        connect(mValues[row], &KestromPushButton::takeAction, this, &ConfigOemSensorPresence::togglePresenceState);
    }
    for (KestromPushButton* value : mValues)
        mKit->rowGrid()->setAlignment(value, Qt::AlignRight);
    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(10);
    retranslate();
}

ConfigOemSensorPresence::~ConfigOemSensorPresence() = default;

void ConfigOemSensorPresence::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("OEM", "pathway text"),
                      tr("Sensor Presence", "pathway text")});
    mLabels[FlowRow]->setText(tr("Flow Sensor", "setting label"));
    mLabels[PressureRow]->setText(tr("Liquid Pressure Sensor", "setting label"));
    mLabels[FillFlowRow]->setText(tr("Fill Flow Sensor", "setting label"));
    mLabels[TankRow]->setText(tr("Tank Sensor", "setting label"));
    refreshValues();
}

void ConfigOemSensorPresence::refreshValues()
{
    for (int row = FlowRow; row <= TankRow; ++row)
        mValues[row]->setText(isSet(kItems[row]) ? tr("Yes", "button") : tr("No", "button"));
}

void ConfigOemSensorPresence::togglePresenceState(int row)
{
    switch (row) {
    case FlowRow:
    case PressureRow:
        sendOpposite(row);
        break;
    case FillFlowRow:
        // Switching the fill-flow sensor on switches the tank sensor off first.
        if (!isSet(DS_FILL_FLOW_SENSOR_PRESENT) && isSet(DS_TANK_SENSOR_PRESENT))
            processEvent(EV_SET_TANK_SENSOR_PRESENT, 0);
        sendOpposite(FillFlowRow);
        break;
    case TankRow:
        if (isSet(DS_FILL_FLOW_SENSOR_PRESENT) && !isSet(DS_TANK_SENSOR_PRESENT))
            processEvent(EV_SET_FILL_FLOW_SENSOR_PRESENT, 0);
        sendOpposite(TankRow);
        break;
    default:
        break;
    }
    refreshValues();
}

void ConfigOemSensorPresence::showHelp(int id)
{
    switch (id) {
    case FlowRow:
        SettingPageKit::showHelp(tr("Flow Sensor", "definition header"),
                                 tr("Digital sensor for measuring liquid flow.", "Flow Sensor definition"));
        break;
    case PressureRow:
        SettingPageKit::showHelp(tr("Liquid Pressure Sensor", "definition header"),
                                 tr("Analog sensor for measuring liquid pressure.",
                                    "Liquid Pressure Sensor definition"));
        break;
    case FillFlowRow:
        SettingPageKit::showHelp(tr("Fill Flow Sensor", "definition header"),
                                 tr("Digital sensor for measuring fill flow.", "Fill Flow Sensor definition"));
        break;
    case TankRow:
        SettingPageKit::showHelp(tr("Tank Sensor", "definition header"),
                                 tr("Analog sensor for measuring tank content.", "Tank Sensor definition"));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigOemSensorPresence::handleButtonBarPressed(int id)
{
    SettingPageKit::navigate(this, id);
}

void ConfigOemSensorPresence::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    const bool fillFlowOffered = datastoreGetUint16(DS_ACTIVE_SECTIONS) < kFillFlowSectionLimit;
    mLabels[FillFlowRow]->setVisible(fillFlowOffered);
    mValues[FillFlowRow]->setVisible(fillFlowOffered);
}

void ConfigOemSensorPresence::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
