#pragma once
// Zero point of the liquid pressure sensor: the live raw reading as a bar and
// "Calibrate", which has the core store that reading as the sensor's zero.
// A reading the zero's limits refuse is reported as a failure, the old zero kept.
#include "widgettimedfocusupdateqt.h"

#include "sensorbarrow.h"

class KestromPushButton;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigMachineCalPressSensorNoPressure : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    explicit ConfigMachineCalPressSensorNoPressure(QWidget* parent = nullptr);

    SettingPageKit* kit() const { return mKit; }
    void timedUpdate() override;

signals:
    void goBack();
    void ShowHomeView(int id);

public slots:
    void retranslate();
    void calibrationDone();
    void showHelp(int id);
    void handleButtonBarPressed(int id);

protected:
    void changeEvent(QEvent* event) override;

private:
    SettingPageKit* mKit;
    KestromPushButton* mHelpButton;
    KestromPushButton* mCalibrateButton;
    SensorBarRow mBar;
};

}  // namespace ToolsViewWidgets
