#pragma once
// Test Inputs (1): the pulse counts of the implement wheel, tractor wheel and
// flow sensors and the supply voltage, refreshed every 100 ms while the core
// is in test mode. Pressing a count restarts every test count at 0.
#include "widgettimedfocusupdateqt.h"

class KestromPushButton;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigDiagnosticsTestInputs : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    explicit ConfigDiagnosticsTestInputs(QWidget* parent = nullptr);
    ~ConfigDiagnosticsTestInputs() override;

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
    enum { ImplementRow = 0, TractorRow = 1, SupplyRow = 2, FlowRow = 3, RowCount = 4 };
    void refreshValues();

    SettingPageKit* mKit;
    KestromPushButton* mLabels[RowCount];
    KestromPushButton* mValues[RowCount];
};

}  // namespace ToolsViewWidgets
