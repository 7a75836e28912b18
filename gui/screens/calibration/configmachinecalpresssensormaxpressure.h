#pragma once
// Span settings of the liquid pressure sensor: the maximum pressure (the
// pressure at the top of the raw range) and the reference pressure, typed in,
// and "Calibrate", which puts the regulation into manual mode and hands over to
// the span run page where the core measures the span at the reference pressure.
#include <QWidget>

class KestromPushButton;
class NumericKeypadWidget;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigMachineCalPressSensorMaxPressure : public QWidget {
    Q_OBJECT
public:
    explicit ConfigMachineCalPressSensorMaxPressure(QWidget* parent = nullptr);

    SettingPageKit* kit() const { return mKit; }

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void editMaxPressureValue();
    void commitMaxPressureValue(double value);
    void editRefPressureValue();
    void commitRefPressureValue(double value);
    void startCalibration();
    void showHelp(int id);
    void handleButtonBarPressed(int id);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString pressureUnitText() const;
    void refreshValues();

    SettingPageKit* mKit;
    KestromPushButton* mMaxLabel;
    KestromPushButton* mRefLabel;
    KestromPushButton* mAutoLabel;
    KestromPushButton* mMaxValue;
    KestromPushButton* mRefValue;
    KestromPushButton* mCalibrateButton;
    NumericKeypadWidget* mMaxKeypad;
    NumericKeypadWidget* mRefKeypad;
};

}  // namespace ToolsViewWidgets
