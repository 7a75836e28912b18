#pragma once
// The liquid pressure sensor's calibration menu: "No Pressure" (the zero point)
// and "Maximum Pressure" (the span), with the zero page, the span settings page
// and the span run page in a page stack of its own; next on the span pair
// switches between its two pages.
#include <QWidget>

class KestromPushButton;
class QStackedWidget;

namespace ToolsViewWidgets {

class ConfigMachineCalPressSensorMaxPressure;
class ConfigMachineCalPressSensorMaxPressure2;
class ConfigMachineCalPressSensorNoPressure;
class SettingPageKit;

class ConfigMachineCalPressure : public QWidget {
    Q_OBJECT
public:
    explicit ConfigMachineCalPressure(QWidget* parent = nullptr);

    QStackedWidget* pageStack() const { return mStack; }
    ConfigMachineCalPressSensorNoPressure* zeroPage() const { return mZeroPage; }
    ConfigMachineCalPressSensorMaxPressure* spanSettingsPage() const { return mSpanSettingsPage; }
    ConfigMachineCalPressSensorMaxPressure2* spanRunPage() const { return mSpanRunPage; }

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void showTopPage();
    void showNextPage();
    void handleButtonBarPressed(int id);

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    QStackedWidget* mStack;
    SettingPageKit* mKit;
    ConfigMachineCalPressSensorNoPressure* mZeroPage;
    ConfigMachineCalPressSensorMaxPressure* mSpanSettingsPage;
    ConfigMachineCalPressSensorMaxPressure2* mSpanRunPage;
    int mZeroIndex;
    int mSpanSettingsIndex;
    int mSpanRunIndex;
    KestromPushButton* mZeroButton;
    KestromPushButton* mSpanButton;
};

}  // namespace ToolsViewWidgets
