#include "configmachinecalpresssensormaxpressure2.h"

#include "calibrationresources.h"
#include "datastore.h"
#include "debugout.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "processevent.h"
#include "qtelidedlabel.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QVariant>

namespace ToolsViewWidgets {

namespace {

// DS_MANUAL_PRESSURE_BITS: manual regulation, pressure up, pressure down.
constexpr uint16_t kManualRegulationBit = 0x0001;
constexpr uint16_t kIncreaseBit = 0x0002;
constexpr uint16_t kDecreaseBit = 0x0004;

QSize indicatorSize()
{
    return QSize(60, 60);
}

// The arrows are held by a finger: at least a menu button wide.
QSize arrowSize()
{
    return QSize(qMax(60, GuiGeometry::menuButtonSize().width()), qMax(60, GuiGeometry::menuButtonSize().height()));
}

}  // namespace

ConfigMachineCalPressSensorMaxPressure2::ConfigMachineCalPressSensorMaxPressure2(QWidget* parent)
    : WidgetTimedFocusUpdateQt(parent)
{
    calibrationScreensInitResources();
    setObjectName(QStringLiteral("ConfigMachineCalPressSensorMaxPressure2"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigMachineCalPressSensorMaxPressure2::handleButtonBarPressed);

    mHelpButton = mKit->addLabelButton(0, this, &ConfigMachineCalPressSensorMaxPressure2::showHelp);
    mHelpButton->setObjectName(QStringLiteral("m_helpButton"));
    mDoneButton = new KestromPushButton(this);
    mDoneButton->setObjectName(QStringLiteral("m_doneButton"));
    mDoneButton->setMinimumSize(GuiGeometry::settingButtonSize());
    mKit->addRowWidget(0, mDoneButton);
    connect(mDoneButton, &KestromPushButton::takeAction, this, &ConfigMachineCalPressSensorMaxPressure2::calibrationDone);

    mMasterButton = new KestromPushButton(this);
    mMasterButton->setObjectName(QStringLiteral("m_masterValveButton"));
    mMasterButton->setProperty("transparent", true);
    mMasterButton->setMinimumSize(indicatorSize());
    connect(mMasterButton, &KestromPushButton::takeAction, this,
            &ConfigMachineCalPressSensorMaxPressure2::masterValveActivate);

    mUpButton = new KestromPushButton(this);
    mUpButton->setObjectName(QStringLiteral("m_upButton"));
    mUpButton->setMinimumSize(arrowSize());
    mUpButton->setSvgIcon(":/images/ArrowUp.svg", GuiGeometry::iconSize55());
    mDownButton = new KestromPushButton(this);
    mDownButton->setObjectName(QStringLiteral("m_downButton"));
    mDownButton->setMinimumSize(arrowSize());
    mDownButton->setSvgIcon(":/images/ArrowDown.svg", GuiGeometry::iconSize55());
    connect(mUpButton, &KestromPushButton::pressed, this,
            &ConfigMachineCalPressSensorMaxPressure2::pressureIncreasePressed);
    connect(mUpButton, &KestromPushButton::released, this,
            &ConfigMachineCalPressSensorMaxPressure2::pressureIncreaseReleased);
    connect(mDownButton, &KestromPushButton::pressed, this,
            &ConfigMachineCalPressSensorMaxPressure2::pressureDecreasePressed);
    connect(mDownButton, &KestromPushButton::released, this,
            &ConfigMachineCalPressSensorMaxPressure2::pressureDecreaseReleased);
    // A finger that slides off an arrow lets go of it.
    connect(mUpButton, &CIdPushButton::Cancelled, this,
            &ConfigMachineCalPressSensorMaxPressure2::pressureIncreaseReleased);
    connect(mDownButton, &CIdPushButton::Cancelled, this,
            &ConfigMachineCalPressSensorMaxPressure2::pressureDecreaseReleased);

    QVBoxLayout* arrows = new QVBoxLayout;
    arrows->setSpacing(GuiGeometry::spacing2());
    arrows->addWidget(mUpButton);
    arrows->addWidget(mDownButton);
    QHBoxLayout* valveRow = new QHBoxLayout;
    valveRow->addStretch(1);
    valveRow->addWidget(mMasterButton);
    valveRow->addStretch(1);
    valveRow->addLayout(arrows);
    valveRow->addStretch(1);

    mBar = SensorBarRow::create(this, 1024, "m_sensorBar");
    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(4);
    mKit->column()->addLayout(valveRow);
    mKit->column()->addStretch(2);
    mKit->column()->addLayout(mBar.layout);
    mKit->column()->addStretch(2);
    retranslate();
    masterValveStatusChanged();
}

void ConfigMachineCalPressSensorMaxPressure2::retranslate()
{
    mKit->pathwayLabel()->setElidedText(QStringLiteral("...%1->%2").arg(
        tr("Liquid Pressure Sensor", "pathway text"), tr("Maximum Pressure (2)", "pathway text")));
    SettingPageKit::setLabelText(mHelpButton, tr("Complete Calibration", "setting label"));
    mDoneButton->setText(tr("Done", "button"));
    mBar.low->setText(tr("Min.", "graph label. Abbr for Minimum"));
    mBar.high->setText(tr("Max.", "graph label. Abbr for Maximum"));
    mBar.bar->setValue(datastoreGetUint16(DS_LIVE_PRESSURE_RAW));
}

void ConfigMachineCalPressSensorMaxPressure2::timedUpdate()
{
    mBar.bar->setValue(datastoreGetUint16(DS_LIVE_PRESSURE_RAW));
    masterValveStatusChanged();
}

void ConfigMachineCalPressSensorMaxPressure2::masterValveStatusChanged()
{
    const bool master = datastoreGetBool(DS_MASTER_SWITCH) != 0;
    if (master == mMasterShown && !mFirstRefresh)
        return;
    mMasterButton->setSvgIcon(master ? ":/images/section_on.svg" : ":/images/section_off.svg",
                              GuiGeometry::iconSize55());
    mFirstRefresh = false;
    mMasterShown = master;
}

void ConfigMachineCalPressSensorMaxPressure2::masterValveActivate()
{
    // The console's master switch opens the valve; the button only shows it.
    masterValveStatusChanged();
}

void ConfigMachineCalPressSensorMaxPressure2::setPressureBits(uint16_t bits)
{
    datastoreSetUint16(DS_MANUAL_PRESSURE_BITS, static_cast<uint16_t>(datastoreGetUint16(DS_MANUAL_PRESSURE_BITS) | bits));
}

void ConfigMachineCalPressSensorMaxPressure2::clearPressureBits(uint16_t bits)
{
    const uint16_t current = datastoreGetUint16(DS_MANUAL_PRESSURE_BITS);
    if ((current & bits) != 0)
        datastoreSetUint16(DS_MANUAL_PRESSURE_BITS, static_cast<uint16_t>(current & ~bits));
}

void ConfigMachineCalPressSensorMaxPressure2::pressureIncreasePressed()
{
    setPressureBits(kIncreaseBit);
}

void ConfigMachineCalPressSensorMaxPressure2::pressureIncreaseReleased()
{
    clearPressureBits(kIncreaseBit);
}

void ConfigMachineCalPressSensorMaxPressure2::pressureDecreasePressed()
{
    setPressureBits(kDecreaseBit);
}

void ConfigMachineCalPressSensorMaxPressure2::pressureDecreaseReleased()
{
    clearPressureBits(kDecreaseBit);
}

void ConfigMachineCalPressSensorMaxPressure2::calibrationDone()
{
    processEvent(EV_SET_PRESSURE_CAL_MAX, 0);
    leaveCalibration();
    emit nextPage();
}

void ConfigMachineCalPressSensorMaxPressure2::leaveCalibration()
{
    const uint8_t saved = datastoreGetBool(DS_SAVED_HOLD_BIT);
    const uint16_t bits = datastoreGetUint16(DS_MANUAL_PRESSURE_BITS);
    debugPrintf(0, "LiqPressCal End %d %d\r\n", saved, (bits & kManualRegulationBit) != 0 ? 1 : 0);
    // The valve stops driving with the calibration, whatever the arrows last did;
    // manual regulation ends unless it was on before.
    clearPressureBits(static_cast<uint16_t>(kIncreaseBit | kDecreaseBit | (saved ? 0 : kManualRegulationBit)));
    datastoreSetBool(DS_SAVED_HOLD_BIT, 0);
    datastoreSetBool(DS_MASTER_SWITCH, 0);
    SettingPageKit::setPageMode(PageMode::Home);
}

void ConfigMachineCalPressSensorMaxPressure2::showHelp(int id)
{
    if (id == 0)
        SettingPageKit::showHelp(tr("Complete Calibration", "definition header"),
                                 tr("Apply constant reference pressure to the sensor. Press \"Done\" when complete. "
                                    "To cancel the calibration, press Return Arrow or Home button.",
                                    "Complete Calibration definition"));
    else
        SettingPageKit::showHelp(QString(), QString());
}

void ConfigMachineCalPressSensorMaxPressure2::handleButtonBarPressed(int id)
{
    leaveCalibration();
    SettingPageKit::navigate(this, id);
}

void ConfigMachineCalPressSensorMaxPressure2::hideEvent(QHideEvent* event)
{
    WidgetTimedFocusUpdateQt::hideEvent(event);
    // A hidden arrow never sees its release: the pressure change ends here.
    if (SettingPageKit::programCaused(event))
        clearPressureBits(static_cast<uint16_t>(kIncreaseBit | kDecreaseBit));
}

void ConfigMachineCalPressSensorMaxPressure2::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
