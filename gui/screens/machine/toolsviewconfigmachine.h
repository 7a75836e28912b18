#pragma once
// The machine settings menu, the entry to every machine setting: filling,
// operation, implement parameters, calibrations and alarms, over a page stack
// of its own holding those pages for the life of the program. The filling pair
// here is the menu's own instance (home shown); its next toggles the two
// pages. Back on a page returns to this menu; home returns this menu to its
// top page and passes the request up, so the next visit starts here.
//
//   auto* machine = new ToolsViewConfigMachine(this);
//   connect(machine, &ToolsViewConfigMachine::goBack, this, &Owner::showTopPage);
//   connect(machine, &ToolsViewConfigMachine::ShowHomeView, this, &Owner::handleButtonBarPressed);
#include <QWidget>

class KestromPushButton;
class QStackedWidget;

namespace ToolsViewWidgets {

class ConfigMachineAlarms;
class ConfigMachineCalibrations;
class ConfigMachineImplParam;
class SettingPageKit;
class ToolsViewConfigFilling;
class ToolsViewConfigFilling2;
class ToolsViewConfigOperation;

class ToolsViewConfigMachine : public QWidget {
    Q_OBJECT
public:
    explicit ToolsViewConfigMachine(QWidget* parent = nullptr);

    QStackedWidget* pageStack() const { return mStack; }
    ToolsViewConfigFilling* fillingPage() const { return mFilling; }
    ToolsViewConfigFilling2* fillingPage2() const { return mFilling2; }
    ToolsViewConfigOperation* operationPage() const { return mOperation; }
    ConfigMachineImplParam* implParamMenu() const { return mImplParam; }
    ConfigMachineCalibrations* calibrationsMenu() const { return mCalibrations; }
    ConfigMachineAlarms* alarmsPage() const { return mAlarms; }

signals:
    void goBack();
    void ShowHomeView(int id);

public slots:
    void showTopPage();
    void handleButtonBarPressed(int id);
    void showNextPage();

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    QStackedWidget* mStack;
    SettingPageKit* mKit;
    ToolsViewConfigFilling* mFilling;
    ToolsViewConfigFilling2* mFilling2;
    ToolsViewConfigOperation* mOperation;
    ConfigMachineImplParam* mImplParam;
    ConfigMachineCalibrations* mCalibrations;
    ConfigMachineAlarms* mAlarms;
    int mFillingIndex;
    int mFilling2Index;
    int mOperationIndex;
    int mImplParamIndex;
    int mCalibrationsIndex;
    int mAlarmsIndex;
    KestromPushButton* mFillingButton;
    KestromPushButton* mOperationButton;
    KestromPushButton* mImplParamButton;
    KestromPushButton* mCalibrationsButton;
    KestromPushButton* mAlarmsButton;
};

}  // namespace ToolsViewWidgets
