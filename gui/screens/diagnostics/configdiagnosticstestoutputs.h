#pragma once
// Test Outputs (1): the regulating valve driven with a signed duty cycle, the
// master and fill valves opened and closed by hand. Showing the page puts the
// core's outputs into test mode; hiding it ends test mode, which stops the
// valve drive and closes both valves.
#include "widgettimedfocusupdateqt.h"

class ButtonGridWidget;
class KestromPushButton;
class NumericKeypadWidget;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigDiagnosticsTestOutputs : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    explicit ConfigDiagnosticsTestOutputs(QWidget* parent = nullptr);
    ~ConfigDiagnosticsTestOutputs() override;

    // The values change only through the page's own actions and on show.
    void timedUpdate() override {}

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void editLiqValvePwmValue();
    void commitLiqValvePwm(double value);
    void editOnOffState(int row);
    void commitMasterValveOnOffState(int state);
    void commitFillValveOnOffState(int state);
    void showHelp(int row);
    void handleButtonBarPressed(int id);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum { DutyRow = 0, MasterRow = 1, FillRow = 2, RowCount = 3 };
    void refreshValues();
    QString valveText(int state) const;

    SettingPageKit* mKit;
    KestromPushButton* mLabels[RowCount];
    KestromPushButton* mValues[RowCount];
    NumericKeypadWidget* mKeypad;
    ButtonGridWidget* mGrid;
    KestromPushButton* mOpenOption;
    KestromPushButton* mCloseOption;
    // 1 while the commanded duty is positive, 0 for negative.
    int mDirection = 0;
    int mMasterValveState = 0;
    int mFillValveState = 0;
};

}  // namespace ToolsViewWidgets
