#pragma once
// The calibrations menu of the machine settings: buttons for the speed sensor
// and, while each is present, the flow meter, pressure sensor, tank-level
// sensor and fill-flow meter, over a page stack holding every calibration page
// (the flow-meter pair, the pressure and tank-level menus). The presence of the
// sensors is read on every show, so a sensor switched on by the installer gets
// its button the next time the menu shows.
#include <QWidget>

class KestromPushButton;
class QStackedWidget;

namespace ToolsViewWidgets {

class ConfigMachineCalFillFlowSensor;
class ConfigMachineCalFlowSensor;
class ConfigMachineCalFlowSensor2;
class ConfigMachineCalImplSpeedSensor;
class ConfigMachineCalPressure;
class ConfigMachineCalTankLevel;
class SettingPageKit;

class ConfigMachineCalibrations : public QWidget {
    Q_OBJECT
public:
    explicit ConfigMachineCalibrations(QWidget* parent = nullptr);

    QStackedWidget* pageStack() const { return mStack; }
    ConfigMachineCalFlowSensor* flowPage() const { return mFlow; }
    ConfigMachineCalFlowSensor2* flowPage2() const { return mFlow2; }
    ConfigMachineCalPressure* pressureMenu() const { return mPressure; }
    ConfigMachineCalImplSpeedSensor* speedPage() const { return mSpeed; }
    ConfigMachineCalTankLevel* tankLevelMenu() const { return mTankLevel; }
    ConfigMachineCalFillFlowSensor* fillFlowPage() const { return mFillFlow; }

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void showTopPage();
    void showNextPage();
    void handleButtonBarPressed(int id);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    QStackedWidget* mStack;
    SettingPageKit* mKit;
    ConfigMachineCalFlowSensor* mFlow;
    ConfigMachineCalFlowSensor2* mFlow2;
    ConfigMachineCalPressure* mPressure;
    ConfigMachineCalImplSpeedSensor* mSpeed;
    ConfigMachineCalTankLevel* mTankLevel;
    ConfigMachineCalFillFlowSensor* mFillFlow;
    int mFlowIndex;
    int mFlow2Index;
    int mPressureIndex;
    int mSpeedIndex;
    int mTankLevelIndex;
    int mFillFlowIndex;
    KestromPushButton* mFlowButton;
    KestromPushButton* mPressureButton;
    KestromPushButton* mSpeedButton;
    KestromPushButton* mTankLevelButton;
    KestromPushButton* mFillFlowButton;
};

}  // namespace ToolsViewWidgets
