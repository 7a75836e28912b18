#pragma once
// Test Sectrix: whether the Sectrix section controller answers on CAN, its
// mode and its section inputs, as the link keeps them, refreshed every 100 ms.
// The page only displays; while it is up the core is in test mode.
#include "widgettimedfocusupdateqt.h"

class KestromPushButton;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigDiagnosticsTestAbsc : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    explicit ConfigDiagnosticsTestAbsc(QWidget* parent = nullptr);
    ~ConfigDiagnosticsTestAbsc() override;

    void timedUpdate() override;

signals:
    void goBack();
    void ShowHomeView(int id);

public slots:
    void retranslate();
    void showHelp(int row);
    void handleButtonBarPressed(int id);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum { ConnectionRow = 0, ModeRow = 1, SectionsRow = 2, RowCount = 3 };
    void refreshValues();

    SettingPageKit* mKit;
    KestromPushButton* mLabels[RowCount];
    KestromPushButton* mValues[RowCount];
};

}  // namespace ToolsViewWidgets
