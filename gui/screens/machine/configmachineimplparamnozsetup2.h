#pragma once
// Tip reference data, the second page of the pair "Tip Preset Setup (1)/(2)":
// the low and high pressure limits, reference flow and reference pressure of
// the active preset's tip. The values belong to the tip, so every preset using
// it shares them; the page reads and writes them only through the core's
// nozzle data. A static page: refreshed on show and after each commit.
#include <QWidget>

class KestromPushButton;
class NumericKeypadWidget;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigMachineImplParamNozSetup2 : public QWidget {
    Q_OBJECT
public:
    explicit ConfigMachineImplParamNozSetup2(QWidget* parent = nullptr);
    ~ConfigMachineImplParamNozSetup2() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void editLowPressLimitValue();
    void commitLowPressLimitValue(double value);
    void editHighPressLimitValue();
    void commitHighPressLimitValue(double value);
    void editRefFlowValue();
    void commitRefFlowValue(double value);
    void editRefPressureValue();
    void commitRefPressureValue(double value);
    void showHelp(int id);
    void handleButtonBarPressed(int id);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString pressureUnitsText() const;
    QString flowUnitsText(bool shortForm) const;
    QString rowUnit(int row, bool shortForm) const;
    // The row's value of the active preset's tip, in base units.
    uint32_t rowBaseValue(int row) const;
    void refreshRow(int row);
    void editRow(int row, const QString& title);
    // The typed value in base units of the row's quantity.
    uint32_t typedBase(int row, double value) const;

    SettingPageKit* mKit;
    KestromPushButton* mLabels[4];
    KestromPushButton* mValues[4];
    NumericKeypadWidget* mKeypads[4];
};

}  // namespace ToolsViewWidgets
