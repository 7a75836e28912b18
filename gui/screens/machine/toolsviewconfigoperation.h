#pragma once
// Operation settings: the step by which the operator boosts the application
// rate, where the ground speed comes from (implement wheel, CAN, simulated),
// the simulated speed and the minimum speed below which the main valve closes.
// A sub-page of the machine settings menu; refreshed on show, after each
// commit and on retranslation.
#include "widgettimedfocusupdateqt.h"

class ButtonGridWidget;
class KestromPushButton;
class NumericKeypadWidget;

namespace ToolsViewWidgets {

class SettingPageKit;

class ToolsViewConfigOperation : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    explicit ToolsViewConfigOperation(QWidget* parent = nullptr);

    // Grid ids of the speed sources, as stored in DS_SPEED_SOURCE.
    enum SpeedSource { Implement = 2, Simulated = 3, CanSpeed = 4 };

    void timedUpdate() override;

signals:
    void goBack();
    void ShowHomeView(int id);

public slots:
    void retranslate();
    void editApplRateBoost();
    void commitApplRateBoost(double value);
    void editSpeedSource();
    void commitSpeedSource(int id);
    void editSimSpeed();
    void commitSimSpeed(double value);
    void editMinimumSpeed();
    void commitMinimumSpeed(double value);
    void showHelp(int id);
    void handleButtonBarPressed(int id);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void refreshRateStep();
    void refreshSpeedSource();
    void refreshSimSpeed();
    void refreshMinimumSpeed();
    // The speed unit of the current unit system, short ("km/h") or long.
    QString speedUnit(bool shortForm) const;

    SettingPageKit* mKit;
    double mRateStep = 5.0;
    int mSpeedSourceChoice = Simulated;
    KestromPushButton* mRateStepLabel;
    KestromPushButton* mRateStepValue;
    KestromPushButton* mSpeedSourceLabel;
    KestromPushButton* mSpeedSourceValue;
    KestromPushButton* mSimSpeedLabel;
    KestromPushButton* mSimSpeedValue;
    KestromPushButton* mMinSpeedLabel;
    KestromPushButton* mMinSpeedValue;
    NumericKeypadWidget* mRateStepKeypad;
    NumericKeypadWidget* mSimSpeedKeypad;
    NumericKeypadWidget* mMinSpeedKeypad;
    ButtonGridWidget* mSpeedSourceGrid;
};

}  // namespace ToolsViewWidgets
