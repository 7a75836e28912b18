#pragma once
// Fill-flow-meter calibration: the fill flow meter's calibration number, and
// its automatic calibration on the same page, step by step: "Calibrate" arms
// the core's fill-flow procedure, the start/stop icon starts and stops the
// count (opening and closing the fill valve when automatic filling is on), the
// collected volume is entered and "Done" hands it to the core, which computes
// the new number.
#include "widgettimedfocusupdateqt.h"

class KestromPushButton;
class NumericKeypadWidget;
class QLabel;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigMachineCalFillFlowSensor : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    // Help ids; the "Automatic Calibration" label carries the one of the current step.
    enum HelpId {
        NumberHelp = 0,
        AutomaticHelp = 1,
        ArmedHelp = 2,
        CountingHelp = 3,
        VolumeEntryHelp = 4,
        PulseCountHelp = 5,
        VolumeHelp = 6
    };

    explicit ConfigMachineCalFillFlowSensor(QWidget* parent = nullptr);
    ~ConfigMachineCalFillFlowSensor() override;

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
    void startCalibration();
    void abortCalibration();
    void showHelp(int id);
    void handleButtonBarPressed(int id);
    void masterValveActivate();
    void editCalibVolumeValue();
    void commitCalibVolumeValue(double value);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString pulseUnit() const;
    QString volumeUnit(bool longName) const;
    QString minimumVolumeText() const;
    void refreshNumber();
    void refreshPulseCount();
    void refreshVolume();
    // Rows 0 and 1: the number row, or the pulse count (and the volume row).
    void showCountRows(bool counting, bool volume);
    void setStartStopIcon(bool start);
    void showIdle();

    bool mStarted = false;
    bool mStopped = false;
    bool mCompleted = false;
    double mShownVolume = 0.0;
    SettingPageKit* mKit;
    KestromPushButton* mNumberLabel;
    KestromPushButton* mNumberValue;
    KestromPushButton* mPulseLabel;
    QLabel* mPulseValue;
    KestromPushButton* mVolumeLabel;
    KestromPushButton* mVolumeValue;
    KestromPushButton* mAutoLabel;
    KestromPushButton* mCalibrateButton;
    KestromPushButton* mStartStopButton;
    KestromPushButton* mDoneButton;
    NumericKeypadWidget* mNumberKeypad;
    NumericKeypadWidget* mVolumeKeypad;
};

}  // namespace ToolsViewWidgets
