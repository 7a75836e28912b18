#pragma once
// Tank shape calibration: showing the page starts the core's recording, which
// waits for the master switch, records while the full tank is sprayed empty
// and ends by itself. The page follows it (waiting, running with its progress,
// complete) and stops it when left before the end. Completion is reported only
// for a run that reached 100 %; a run the core gave up is reported as failed.
#include "widgettimedfocusupdateqt.h"

#include "sensorbarrow.h"

class KestromPushButton;
class QLabel;
class QWidget;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigMachineCalTankLevelSensorShape : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    // Page states; 1 is not used.
    enum State { WaitingForMaster = 0, StartedAgain = 2, Running = 3, Complete = 4 };
    // Help ids: 0..2 and 4 as the page shows them; 5 the report of a failed run.
    enum HelpId { OverviewHelp = 0, ContentHelp = 1, StartHelp = 2, CompleteHelp = 4, FailedHelp = 5 };

    explicit ConfigMachineCalTankLevelSensorShape(QWidget* parent = nullptr);

    SettingPageKit* kit() const { return mKit; }
    void timedUpdate() override;
    int calibrationState() const { return mState; }

signals:
    void goBack();
    void ShowHomeView(int id);

public slots:
    void retranslate();
    void calibrationStart();
    void calibrationOpenValve();
    void calibrationAbort();
    void calibrationDone();
    void updateTankContentValue();
    void showHelp(int id);
    void handleButtonBarPressed(int id);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setCalibrationState(int state);
    void setProgressVisible(bool visible);
    void updateBars();
    QString volumeUnitText(bool shortForm) const;

    SettingPageKit* mKit;
    KestromPushButton* mContentButton;
    QLabel* mContentLabel;
    KestromPushButton* mStartPrompt;
    QLabel* mSensorTitle;
    SensorBarRow mSensorBar;
    QWidget* mProgressBlock;
    QLabel* mProgressTitle;
    SensorBarRow mProgressBar;
    int mState = WaitingForMaster;
    bool mRunning = false;
    bool mComplete = false;
};

}  // namespace ToolsViewWidgets
