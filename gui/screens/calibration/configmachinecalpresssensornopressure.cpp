#include "configmachinecalpresssensornopressure.h"

#include "calibrationresources.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "pointcalibration.h"
#include "qtelidedlabel.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

ConfigMachineCalPressSensorNoPressure::ConfigMachineCalPressSensorNoPressure(QWidget* parent)
    : WidgetTimedFocusUpdateQt(parent)
{
    calibrationScreensInitResources();
    setObjectName(QStringLiteral("ConfigMachineCalPressSensorNoPressure"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigMachineCalPressSensorNoPressure::handleButtonBarPressed);

    mHelpButton = mKit->addLabelButton(0, this, &ConfigMachineCalPressSensorNoPressure::showHelp);
    mHelpButton->setObjectName(QStringLiteral("m_helpButton"));
    mCalibrateButton = new KestromPushButton(this);
    mCalibrateButton->setObjectName(QStringLiteral("m_calibrateButton"));
    // A little narrower than a value button, so that the long label fits beside it.
    const QSize calibrateSize = GuiGeometry::settingButtonSize();
    mCalibrateButton->setMinimumSize(calibrateSize.width() * 19 / 20, calibrateSize.height());
    mKit->addRowWidget(0, mCalibrateButton);
    connect(mCalibrateButton, &KestromPushButton::takeAction, this,
            &ConfigMachineCalPressSensorNoPressure::calibrationDone);

    mBar = SensorBarRow::create(this, 1024, "m_sensorBar");
    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(5);
    mKit->column()->addLayout(mBar.layout);
    mKit->column()->addStretch(10);
    retranslate();
}

void ConfigMachineCalPressSensorNoPressure::retranslate()
{
    mKit->pathwayLabel()->setElidedText(QStringLiteral("...%1->%2").arg(tr("Liquid Pressure Sensor", "pathway text"),
                                                                         tr("No Pressure", "pathway text")));
    mBar.low->setText(tr("Min.", "graph label. Abbr for Minimum"));
    mBar.high->setText(tr("Max.", "graph label. Abbr for Maximum"));
    SettingPageKit::setLabelText(mHelpButton, tr("No Pressure Calibration", "setting label"));
    mCalibrateButton->setText(tr("Calibrate", "button"));
    timedUpdate();
}

void ConfigMachineCalPressSensorNoPressure::timedUpdate()
{
    mBar.bar->setValue(datastoreGetUint16(DS_LIVE_PRESSURE_RAW));
}

void ConfigMachineCalPressSensorNoPressure::calibrationDone()
{
    if (takeCalibrationPoint(EV_SET_PRESSURE_CAL_EMPTY, DS_PRESSURE_SENSOR_ZERO, DS_LIVE_PRESSURE_RAW))
        SettingPageKit::showResult(QString(), tr("Calibration complete.", "Calibration Complete definition"));
    else
        SettingPageKit::showResult(QString(), tr("Calibration failed. The sensor value is out of range.",
                                                 "Calibration Failed definition"));
    emit goBack();
}

void ConfigMachineCalPressSensorNoPressure::showHelp(int id)
{
    if (id == 0)
        SettingPageKit::showHelp(
            tr("No Pressure Calibration", "definition header"),
            tr("Make sure NO pressure is applied to the liquid pressure sensor. Press \"Calibrate\" to record a "
               "new calibration value and finalize the calibration.",
               "Calibration definition"));
    else
        SettingPageKit::showHelp(QString(), QString());
}

void ConfigMachineCalPressSensorNoPressure::handleButtonBarPressed(int id)
{
    SettingPageKit::navigate(this, id);
}

void ConfigMachineCalPressSensorNoPressure::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
