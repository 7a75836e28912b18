#pragma once
// The maker's service page, behind the maker-service code: the flow printout
// on the console's serial port, the CAN flow messages for setting up together
// with the Pulsano system, the number of physical section switches and
// whether the hardware drives 13 sections. Fixed English texts, never
// translated: the page is for the maker's service engineers only. Its values
// are drawn at construction, after its own actions and on a language change.
#include <QWidget>

class KestromPushButton;
class NumericKeypadWidget;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigVelmarOnly : public QWidget {
    Q_OBJECT
public:
    explicit ConfigVelmarOnly(QWidget* parent = nullptr);

    enum Row { PrintoutRow = 0, CanMessageRow = 1, SwitchesRow = 2, ThirteenSectionsRow = 3, RowCount = 4 };

signals:
    void goBack();
    void ShowHomeView(int id);
    // Never emitted: the page has no following page.
    void nextPage();

public slots:
    void retranslate();
    void showHelp(int row);
    void handleButtonBarPressed(int id);
    void togglePresenceState(int row);
    void editNoOfPhysSectionsValue();
    void commitNoOfPhysSectionsValue(double value);

protected:
    void changeEvent(QEvent* event) override;

private:
    void refreshSwitchStates();
    void refreshSwitchCount();

    SettingPageKit* mKit;
    KestromPushButton* mLabels[RowCount];
    KestromPushButton* mValues[RowCount];
    NumericKeypadWidget* mKeypad;
};

}  // namespace ToolsViewWidgets
