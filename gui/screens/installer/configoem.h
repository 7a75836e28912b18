#pragma once
// The installer ("OEM") menu: its own page stack with the nine installer
// pages, the clear-totals page behind a second code, and the import and
// export of the configuration data file "cfgfile.xml" by USB stick. An import
// never leaves the console without its configuration: the stick's file
// replaces the console's only when whole, and a file the core refuses is
// replaced by the console's previous one.
#include <QString>
#include <QWidget>

class CPopupQuery;
class CThumbDriveWatcher;
class KestromPushButton;
class NumericKeypadWidget;
class QStackedWidget;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigOem : public QWidget {
    Q_OBJECT
public:
    // Stack indexes of the pages.
    enum Page {
        MenuPage = 0,
        SensorPresencePage = 1,
        ImplParamPage = 2,
        ImplParam2Page = 3,
        ValveSetupPage = 4,
        TankSetupPage = 5,
        RegulationDetailsPage = 6,
        RegulationDetails2Page = 7,
        RegulationDetails3Page = 8,
        DeleteTotalsPage = 9,
    };

    explicit ConfigOem(QWidget* parent = nullptr);
    ~ConfigOem() override;

    QStackedWidget* pageStack() const { return mStack; }

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void showTopPage();
    void showNextPage();
    void handleButtonBarPressed(int id);
    void editClearTotalPassword();
    void commitPassword(double value);
    void usbChange(bool present);
    void importConfig();
    void exportConfig();
    void ImportResponseYesNoClicked(CPopupQuery* query, int answer);
    void ExportResponseYesNoClicked(CPopupQuery* query, int answer);

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    bool importStickFile();
    bool exportToStick();

    QStackedWidget* mStack;
    SettingPageKit* mKit;
    KestromPushButton* mPageButtons[5];
    KestromPushButton* mClearTotalsButton;
    KestromPushButton* mImportButton;
    KestromPushButton* mExportButton;
    NumericKeypadWidget* mKeypad;
    CThumbDriveWatcher* mUsbWatcher;
    QString mStickFile;
    QString mConsoleFile;
};

}  // namespace ToolsViewWidgets
