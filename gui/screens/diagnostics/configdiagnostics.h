#pragma once
// The diagnostics menu of the settings area: a top page with the buttons of
// the input, output and Sectrix test pages and of the alarm-log and
// pressure-log viewers, and the two buttons that save those logs on the USB
// stick, all pages in a page stack of its own. Next on a test page moves
// through the input pages (1 -> 2 -> 3 -> 1) or between the two output pages;
// home from any page returns the stack to the top page before the home view
// is asked for. A save's result is shown only for a save asked for here.
#include <QWidget>

class KestromPushButton;
class QStackedWidget;

namespace ToolsViewWidgets {

class ConfigDiagnosticsTestAbsc;
class ConfigDiagnosticsTestInputs;
class ConfigDiagnosticsTestInputs2;
class ConfigDiagnosticsTestInputs3;
class ConfigDiagnosticsTestOutputs;
class ConfigDiagnosticsTestOutputs2;
class DataLogAlarms;
class DataLogPressure;
class SettingPageKit;

class ConfigDiagnostics : public QWidget {
    Q_OBJECT
public:
    explicit ConfigDiagnostics(QWidget* parent = nullptr);
    ~ConfigDiagnostics() override;

    QStackedWidget* pageStack() const { return mStack; }

signals:
    void goBack();
    void ShowHomeView(int id);
    // Declared for the common page pattern; the menu never emits it.
    void nextPage();

public slots:
    void showTopPage();
    void showNextPage();
    void handleButtonBarPressed(int id);
    void saveLogData();
    void logDataSaved(bool ok);
    void savePressLogData();
    void pressLogDataSaved(bool ok);

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    QStackedWidget* mStack;
    SettingPageKit* mKit;
    ConfigDiagnosticsTestInputs* mInputs;
    ConfigDiagnosticsTestInputs2* mInputs2;
    ConfigDiagnosticsTestInputs3* mInputs3;
    ConfigDiagnosticsTestOutputs* mOutputs;
    ConfigDiagnosticsTestOutputs2* mOutputs2;
    ConfigDiagnosticsTestAbsc* mSectrix;
    DataLogAlarms* mAlarmLog;
    DataLogPressure* mPressureLog;
    int mInputsIndex;
    int mInputs2Index;
    int mInputs3Index;
    int mOutputsIndex;
    int mOutputs2Index;
    int mSectrixIndex;
    int mAlarmLogIndex;
    int mPressureLogIndex;
    KestromPushButton* mTestInputsButton;
    KestromPushButton* mTestOutputsButton;
    KestromPushButton* mTestSectrixButton;
    KestromPushButton* mPressureLogButton;
    KestromPushButton* mAlarmLogButton;
    KestromPushButton* mSavePressureLogButton;
    KestromPushButton* mSaveAlarmLogButton;
    bool mAlarmLogSavePending = false;
    bool mPressureLogSavePending = false;
};

}  // namespace ToolsViewWidgets
