#pragma once
// Test Inputs (3): the master switch and one "1" or "0" per boom section for
// its section switch, refreshed every 100 ms while the core is in test mode.
#include "widgettimedfocusupdateqt.h"

class KestromPushButton;
class QLabel;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigDiagnosticsTestInputs3 : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    explicit ConfigDiagnosticsTestInputs3(QWidget* parent = nullptr);
    ~ConfigDiagnosticsTestInputs3() override;

    void timedUpdate() override;
    // One character per section, section 1 first (the label shows it in lines).
    static QString sectionSwitches();

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void showHelp(int row);
    void handleButtonBarPressed(int id);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum { MasterRow = 0, SectionsRow = 1, RowCount = 2 };
    void refreshValues();

    SettingPageKit* mKit;
    KestromPushButton* mLabels[RowCount];
    QLabel* mMasterInputValue;
    QLabel* mSectionSwitchesValue;
};

}  // namespace ToolsViewWidgets
