#pragma once
// Flow-meter automatic calibration, the second page of the flow-meter pair:
// liquid runs through the meter into a container while the master switch is
// on, the page shows the pulses the core counts, and once the master is off
// the operator enters the collected volume, from which the core computes the
// new calibration number. Every way off the page ends the calibration mode.
#include "widgettimedfocusupdateqt.h"

class KestromPushButton;
class NumericKeypadWidget;
class QLabel;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigMachineCalFlowSensor2 : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    explicit ConfigMachineCalFlowSensor2(QWidget* parent = nullptr);
    ~ConfigMachineCalFlowSensor2() override;

    SettingPageKit* kit() const { return mKit; }
    void timedUpdate() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void editCalibVolumeValue();
    void commitCalibVolumeValue(double value);
    void calibrationCancel();
    void masterValveActivate();
    void masterValveStatusChanged(bool on);
    void showHelp(int id);
    void handleButtonBarPressed(int id);

protected:
    void changeEvent(QEvent* event) override;

private:
    QString volumeUnit(bool longName) const;
    void refreshPulseCount();
    void refreshVolume();

    // The master switch as the last refresh saw it; kept while hidden.
    bool mMasterOn = false;
    SettingPageKit* mKit;
    KestromPushButton* mPulseLabel;
    KestromPushButton* mVolumeLabel;
    QLabel* mPulseValue;
    KestromPushButton* mVolumeValue;
    KestromPushButton* mMasterIndicator;
    KestromPushButton* mCancelButton;
    NumericKeypadWidget* mKeypad;
};

}  // namespace ToolsViewWidgets
