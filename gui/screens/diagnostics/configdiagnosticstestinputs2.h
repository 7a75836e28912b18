#pragma once
// Test Inputs (2): the fill-flow pulse count (only with a fill-flow sensor),
// the liquid-pressure and tank-level sensor currents and the remote master
// signal, refreshed every 100 ms while the core is in test mode.
#include "widgettimedfocusupdateqt.h"

class KestromPushButton;
class QLabel;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigDiagnosticsTestInputs2 : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    explicit ConfigDiagnosticsTestInputs2(QWidget* parent = nullptr);
    ~ConfigDiagnosticsTestInputs2() override;

    void timedUpdate() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void showHelp(int row);
    void clearImpCount(int row);
    void handleButtonBarPressed(int id);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum { FillFlowRow = 0, PressureRow = 1, TankRow = 2, RemoteMasterRow = 3, RowCount = 4 };
    void refreshValues();

    SettingPageKit* mKit;
    KestromPushButton* mLabels[RowCount];
    KestromPushButton* mFillFlowValue;
    QLabel* mLiqPressSensorValue;
    QLabel* mTankLevelSensorValue;
    QLabel* mMasterInputValue;
};

}  // namespace ToolsViewWidgets
