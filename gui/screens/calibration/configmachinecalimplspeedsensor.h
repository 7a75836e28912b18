#pragma once
// Speed sensor calibration: the implement wheel's pulses per 100 m, typed in or
// counted while the operator drives a known distance (100 m, or 300 ft in the
// imperial and US systems). While the page is up the core is in the
// calibration page mode; leaving it cancels a running calibration and gives
// back the speed source that was set when the page was shown.
#include "widgettimedfocusupdateqt.h"

#include <cstdint>

class KestromPushButton;
class NumericKeypadWidget;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigMachineCalImplSpeedSensor : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    explicit ConfigMachineCalImplSpeedSensor(QWidget* parent = nullptr);
    ~ConfigMachineCalImplSpeedSensor() override;

    SettingPageKit* kit() const { return mKit; }
    bool isIdle() const { return mIdle; }
    void timedUpdate() override;

signals:
    void goBack();
    void ShowHomeView(int id);

public slots:
    void retranslate();
    void editCalibValue();
    void commitCalibValue(double value);
    void startCalibration();
    void calibrationDone();
    void calibrationCancel();
    void showHelp(int id);
    void handleButtonBarPressed(int id);
    void handle1msUpdateCalValue();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString distanceText(bool longForm) const;
    void refreshValue();
    void showIdleButtons(bool idle);

    bool mIdle = true;
    uint8_t mSavedSpeedSource;
    SettingPageKit* mKit;
    KestromPushButton* mNumberLabel;
    KestromPushButton* mNumberValue;
    KestromPushButton* mAutoLabel;
    KestromPushButton* mCalibrateButton;
    KestromPushButton* mDoneButton;
    KestromPushButton* mCancelButton;
    NumericKeypadWidget* mKeypad;
};

}  // namespace ToolsViewWidgets
