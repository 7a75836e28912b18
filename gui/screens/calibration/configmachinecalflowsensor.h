#pragma once
// Flow-meter calibration: the main flow meter's calibration number (pulses per
// litre with three decimals in every unit system), the low and high flow
// limits, and the start of the automatic calibration by collected volume,
// which runs on the second page of the pair (ConfigMachineCalFlowSensor2).
#include "widgettimedfocusupdateqt.h"

class KestromPushButton;
class NumericKeypadWidget;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigMachineCalFlowSensor : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    explicit ConfigMachineCalFlowSensor(QWidget* parent = nullptr);
    ~ConfigMachineCalFlowSensor() override;

    SettingPageKit* kit() const { return mKit; }
    void timedUpdate() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void editCalibValue();
    void commitCalibValue(double value);
    void editLowFlowLimitValue();
    void commitLowFlowLimitValue(double value);
    void editHighFlowLimitValue();
    void commitHighFlowLimitValue(double value);
    void startCalibration();
    void showHelp(int id);
    void handleButtonBarPressed(int id);

protected:
    void changeEvent(QEvent* event) override;

private:
    QString flowUnit(bool longName) const;
    QString minimumVolumeText() const;
    void refreshValues();
    void editFlowLimit(uint32_t quantity, const QString& title, void (ConfigMachineCalFlowSensor::*commit)(double));

    SettingPageKit* mKit;
    KestromPushButton* mNumberLabel;
    KestromPushButton* mLowLabel;
    KestromPushButton* mHighLabel;
    KestromPushButton* mAutoLabel;
    KestromPushButton* mNumberValue;
    KestromPushButton* mLowValue;
    KestromPushButton* mHighValue;
    KestromPushButton* mCalibrateButton;
    NumericKeypadWidget* mNumberKeypad;
    NumericKeypadWidget* mLowKeypad;
    NumericKeypadWidget* mHighKeypad;
};

}  // namespace ToolsViewWidgets
