#pragma once
// The settings entry (page 2 of the view stack): job parameters, machine
// settings and diagnostics open at once; the installer menu only after its
// access code (DS_SETTINGS_PASSWORD), asked for until it has been accepted
// once since start-up (DS_LAST_PASSWORD). The maker-service code opens the
// maker-service page instead and is never remembered. Every page lives in the
// entry's own page stack; home from any depth leaves each menu on the way on
// its top page, then ShowHomeView() asks for the home view.
#include <QWidget>

#include <cstdint>

class KestromPushButton;
class NumericKeypadWidget;
class QStackedWidget;

namespace ToolsViewWidgets {

class ConfigDiagnostics;
class ConfigOem;
class ConfigVelmarOnly;
class SettingPageKit;
class ToolsViewConfigJobParam;
class ToolsViewConfigMachine;

class ToolsViewConfiguration : public QWidget {
    Q_OBJECT
public:
    explicit ToolsViewConfiguration(QWidget* parent = nullptr);

    // The code that opens the maker-service page.
    static constexpr uint32_t MakerServiceCode = 7315;

    QStackedWidget* pageStack() const { return mStack; }
    ToolsViewConfigJobParam* jobParamPage() const { return mJobParam; }
    ToolsViewConfigMachine* machineMenu() const { return mMachine; }
    ConfigOem* installerMenu() const { return mInstaller; }
    ConfigDiagnostics* diagnosticsMenu() const { return mDiagnostics; }
    ConfigVelmarOnly* makerServicePage() const { return mMakerService; }

signals:
    void ShowHomeView();

public slots:
    void showTopPage();
    void handleButtonBarPressed(int id);
    void editPassword();
    void commitPassword(double value);
    void showMachineConfig();

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    NumericKeypadWidget* mKeypad;
    QStackedWidget* mStack;
    SettingPageKit* mKit;
    ToolsViewConfigJobParam* mJobParam;
    ToolsViewConfigMachine* mMachine;
    ConfigOem* mInstaller;
    ConfigDiagnostics* mDiagnostics;
    ConfigVelmarOnly* mMakerService;
    int mMachineIndex;
    int mInstallerIndex;
    int mDiagnosticsIndex;
    int mMakerServiceIndex;
    KestromPushButton* mJobParamButton;
    KestromPushButton* mMachineButton;
    KestromPushButton* mInstallerButton;
    KestromPushButton* mDiagnosticsButton;
};

}  // namespace ToolsViewWidgets
