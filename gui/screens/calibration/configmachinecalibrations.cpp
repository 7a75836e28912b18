#include "configmachinecalibrations.h"

#include "configmachinecalfillflowsensor.h"
#include "configmachinecalflowsensor.h"
#include "configmachinecalflowsensor2.h"
#include "configmachinecalimplspeedsensor.h"
#include "configmachinecalpressure.h"
#include "configmachinecaltanklevel.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QShowEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

ConfigMachineCalibrations::ConfigMachineCalibrations(QWidget* parent) : QWidget(parent), mStack(new QStackedWidget(this))
{
    setObjectName(QStringLiteral("ConfigMachineCalibrations"));

    QWidget* top = new QWidget;
    top->setObjectName(QStringLiteral("calibrationsTopPage"));
    mKit = new SettingPageKit(top);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigMachineCalibrations::handleButtonBarPressed);

    mFlow = new ConfigMachineCalFlowSensor(this);
    mFlow2 = new ConfigMachineCalFlowSensor2(this);
    mPressure = new ConfigMachineCalPressure(this);
    mSpeed = new ConfigMachineCalImplSpeedSensor(this);
    mTankLevel = new ConfigMachineCalTankLevel(this);
    mFillFlow = new ConfigMachineCalFillFlowSensor(this);
    SettingPageKit::connectSubPage(this, mFlow);
    SettingPageKit::connectSubPage(this, mFlow2);
    SettingPageKit::connectSubPage(this, mPressure);
    SettingPageKit::connectSubPage(this, mSpeed);
    SettingPageKit::connectSubPage(this, mTankLevel);
    SettingPageKit::connectSubPage(this, mFillFlow);
    connect(mFlow, &ConfigMachineCalFlowSensor::nextPage, this, &ConfigMachineCalibrations::showNextPage);
    connect(mFlow2, &ConfigMachineCalFlowSensor2::nextPage, this, &ConfigMachineCalibrations::showNextPage);

    mStack->addWidget(top);
    mFlowIndex = mStack->addWidget(mFlow);
    mFlow2Index = mStack->addWidget(mFlow2);
    mPressureIndex = mStack->addWidget(mPressure);
    mSpeedIndex = mStack->addWidget(mSpeed);
    mTankLevelIndex = mStack->addWidget(mTankLevel);
    mFillFlowIndex = mStack->addWidget(mFillFlow);
    mStack->setContentsMargins(0, 0, 0, 0);
    mStack->setCurrentIndex(0);

    mFlowButton = SettingPageKit::makeMenuButton(mStack, mFlowIndex, top, "m_flowSensorButton");
    mPressureButton = SettingPageKit::makeMenuButton(mStack, mPressureIndex, top, "m_pressureSensorButton");
    mSpeedButton = SettingPageKit::makeMenuButton(mStack, mSpeedIndex, top, "m_speedSensorButton");
    mTankLevelButton = SettingPageKit::makeMenuButton(mStack, mTankLevelIndex, top, "m_tankLevelSensorButton");
    mFillFlowButton = SettingPageKit::makeMenuButton(mStack, mFillFlowIndex, top, "m_fillFlowSensorButton");

    // The speed sensor alone on the left; the sensors that may be absent on the right.
    QVBoxLayout* left = new QVBoxLayout;
    left->addWidget(mSpeedButton);
    left->addStretch(10);
    QVBoxLayout* right = new QVBoxLayout;
    for (KestromPushButton* button : {mFlowButton, mPressureButton, mTankLevelButton, mFillFlowButton}) {
        right->addWidget(button);
        right->addStretch(0);
    }
    right->addStretch(10);
    QHBoxLayout* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    mKit->column()->insertStretch(1, 2);
    mKit->column()->addLayout(columns);
    mKit->column()->addStretch(10);

    QVBoxLayout* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mStack);
    retranslate();
}

void ConfigMachineCalibrations::showTopPage()
{
    mStack->setCurrentIndex(0);
}

void ConfigMachineCalibrations::showNextPage()
{
    if (mStack->currentIndex() == mFlowIndex)
        mStack->setCurrentIndex(mFlow2Index);
    else if (mStack->currentIndex() == mFlow2Index)
        mStack->setCurrentIndex(mFlowIndex);
}

void ConfigMachineCalibrations::handleButtonBarPressed(int id)
{
    if (id == ToolsViewButtonBar::Home)
        showTopPage();
    SettingPageKit::navigate(this, id);
}

void ConfigMachineCalibrations::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    mFlowButton->setVisible(datastoreGetAsInt32(DS_FLOW_SENSOR_PRESENT) != 0);
    mPressureButton->setVisible(datastoreGetAsInt32(DS_PRESSURE_SENSOR_PRESENT) != 0);
    mTankLevelButton->setVisible(datastoreGetAsInt32(DS_TANK_SENSOR_PRESENT) != 0);
    mFillFlowButton->setVisible(datastoreGetAsInt32(DS_FILL_FLOW_SENSOR_PRESENT) != 0);
}

void ConfigMachineCalibrations::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("Machine", "pathway text"),
                      tr("Calibrations", "pathway text")});
    mFlowButton->setText(tr("Flow Sensor", "button"));
    mPressureButton->setText(tr("Liquid Pressure Sensor", "button"));
    mSpeedButton->setText(tr("Implement Speed Sensor", "button"));
    mTankLevelButton->setText(tr("Tank Level Sensor", "button"));
    mFillFlowButton->setText(tr("Fill Flow Sensor", "button"));
}

void ConfigMachineCalibrations::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
