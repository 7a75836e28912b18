#pragma once
// Regulation details (1) of the installer menu: minimum and maximum regulation
// pressure, regulating-valve time and minimum regulation voltage. Each value
// goes to the core as a command in the item's own integer unit and is read
// back; next leads on to page 2.
#include <QWidget>

class KestromPushButton;
class NumericKeypadWidget;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigOemRegulationDetails : public QWidget {
    Q_OBJECT
public:
    explicit ConfigOemRegulationDetails(QWidget* parent = nullptr);
    ~ConfigOemRegulationDetails() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void editMinRegPressure();
    void commitMinRegPressure(double value);
    void editMaxRegPressure();
    void commitMaxRegPressure(double value);
    void editRegValveTime();
    void commitRegValveTime(double value);
    void editMinRegVoltage();
    void commitMinRegVoltage(double value);
    void showHelp(int id);
    void handleButtonBarPressed(int id);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum { RowCount = 4 };
    QString pressureUnitText() const;
    void refreshMinPressure();
    void refreshMaxPressure();
    void refreshValveTime();
    void refreshVoltage();

    SettingPageKit* mKit;
    NumericKeypadWidget* mKeypads[RowCount];
    KestromPushButton* mLabels[RowCount];
    KestromPushButton* mValues[RowCount];
};

}  // namespace ToolsViewWidgets
