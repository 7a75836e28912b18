#pragma once
// Alarm settings: the tank content below which the low-content alarm sounds,
// the tolerance of the flow/pressure cross check, and whether the section
// output low alarm is enabled. The first two go to the core's dispatcher, the
// third straight into the store. Refreshed on show and after each commit.
#include <QWidget>

class ButtonGridWidget;
class KestromPushButton;
class NumericKeypadWidget;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigMachineAlarms : public QWidget {
    Q_OBJECT
public:
    explicit ConfigMachineAlarms(QWidget* parent = nullptr);

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void editMinTankContentValue();
    void commitMinTankContentValue(double value);
    void editCrossCheckValue();
    void commitCrossCheckValue(double value);
    void editSectionAlarmState();
    void commitSectionAlarmStateValue(int id);
    void showHelp(int id);
    void handleButtonBarPressed(int id);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void refreshMinTankContent();
    void refreshCrossCheck();
    void refreshSectionAlarm();
    QString volumeUnitText(bool shortForm) const;

    SettingPageKit* mKit;
    KestromPushButton* mLabels[3];
    KestromPushButton* mMinContentValue;
    KestromPushButton* mCrossCheckValue;
    KestromPushButton* mSectionAlarmValue;
    NumericKeypadWidget* mMinContentKeypad;
    NumericKeypadWidget* mCrossCheckKeypad;
    ButtonGridWidget* mSectionAlarmGrid;
    KestromPushButton* mEnableOption;
    KestromPushButton* mDisableOption;
};

}  // namespace ToolsViewWidgets
