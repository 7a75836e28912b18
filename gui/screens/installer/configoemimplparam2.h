#pragma once
// Implement parameters (2) of the installer menu: with 10 to 13 sections some
// neighbouring sections share one of the nine physical section switches. Each
// row chooses a pair and its switch; the page builds the section map from the
// rows, checks it (never decreasing, no switch on more than two sections) and
// stores it after a confirmation. It lets the operator leave only with a
// valid, stored map.
#include <QWidget>

#include <cstdint>

class ButtonGridWidget;
class CPopupQuery;
class KestromPushButton;
class QLabel;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigOemImplParam2 : public QWidget {
    Q_OBJECT
public:
    enum { MapEntries = 13, RowCount = 4 };

    explicit ConfigOemImplParam2(QWidget* parent = nullptr);
    ~ConfigOemImplParam2() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void editPhysSecSwitchSelection1();
    void editPhysSecSwitchSelection2();
    void editPhysSecSwitchSelection3();
    void editPhysSecSwitchSelection4();
    void commitPhysSecSwitchSelection(int id);
    void editSectionPairSelection1();
    void editSectionPairSelection2();
    void editSectionPairSelection3();
    void editSectionPairSelection4();
    void commitSectionPairSelection(int id);
    bool ValidateSettings();
    bool ChangeSettings();
    void confirmConfiguration();
    void configurationInvalid();
    void responseYesNoClickedConfirm(CPopupQuery* query, int answer);
    void responseYesNoClickedInvalid(CPopupQuery* query, int answer);
    void showHelp(int id);
    void handleButtonBarPressed(int id);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setUpForSectionCount();
    void readStoredMap();
    void refreshRows();
    void editSwitch(int row);
    void editPair(int row);

    SettingPageKit* mKit;
    KestromPushButton* mSwitchHeader;
    KestromPushButton* mPairHeader;
    KestromPushButton* mSwitchButtons[RowCount];
    KestromPushButton* mPairButtons[RowCount];
    QLabel* mArrows[RowCount];
    ButtonGridWidget* mSwitchGrid;
    ButtonGridWidget* mPairGrid;
    int32_t mMap[MapEntries] = {};
    int mSwitchChoice[RowCount] = {};
    int mPairChoice[RowCount] = {};
    int mEditedRow = 0;
};

}  // namespace ToolsViewWidgets
