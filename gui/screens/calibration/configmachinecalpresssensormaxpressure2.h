#pragma once
// Span run of the liquid pressure sensor: in manual regulation the operator
// holds "up" or "down" until the reference pressure stands at the sensor, with
// the master valve state and the raw reading shown, and presses "Done", which
// has the core compute the sensor's maximum pressure. The pressure moves only
// while a finger holds an arrow: a slide off it, leaving the page and hiding it
// all stop the change.
#include "widgettimedfocusupdateqt.h"

#include "sensorbarrow.h"

class KestromPushButton;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigMachineCalPressSensorMaxPressure2 : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    explicit ConfigMachineCalPressSensorMaxPressure2(QWidget* parent = nullptr);

    SettingPageKit* kit() const { return mKit; }
    void timedUpdate() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void masterValveActivate();
    void pressureIncreasePressed();
    void pressureIncreaseReleased();
    void pressureDecreasePressed();
    void pressureDecreaseReleased();
    void masterValveStatusChanged();
    void calibrationDone();
    void showHelp(int id);
    void handleButtonBarPressed(int id);

protected:
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void leaveCalibration();
    static void setPressureBits(uint16_t bits);
    static void clearPressureBits(uint16_t bits);

    SettingPageKit* mKit;
    KestromPushButton* mHelpButton;
    KestromPushButton* mDoneButton;
    KestromPushButton* mMasterButton;
    KestromPushButton* mUpButton;
    KestromPushButton* mDownButton;
    SensorBarRow mBar;
    bool mMasterShown = false;
    bool mFirstRefresh = true;
};

}  // namespace ToolsViewWidgets
