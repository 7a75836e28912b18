#pragma once
// Valve set-up of the installer menu: regulating valve type, section valve
// type and section valve behaviour, each a choice of two sent to the core.
#include <QWidget>

class ButtonGridWidget;
class KestromPushButton;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigOemValveSetup : public QWidget {
    Q_OBJECT
public:
    explicit ConfigOemValveSetup(QWidget* parent = nullptr);
    ~ConfigOemValveSetup() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void editRegValveType();
    void commitRegValveType(int id);
    void editSectionValveType();
    void commitSectionValveType(int id);
    void editSectionValveBehavior();
    void commitSectionValveBehavior(int id);
    void showHelp(int id);
    void handleButtonBarPressed(int id);

protected:
    void changeEvent(QEvent* event) override;

private:
    enum { RowCount = 3 };
    void refreshRegValveType();
    void refreshSectionValveType();
    void refreshSectionValveBehavior();

    SettingPageKit* mKit;
    KestromPushButton* mLabels[RowCount];
    KestromPushButton* mValues[RowCount];
    ButtonGridWidget* mGrids[RowCount];
    KestromPushButton* mOptions[RowCount][2];
};

}  // namespace ToolsViewWidgets
