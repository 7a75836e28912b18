#pragma once
// Regulation details (2) of the installer menu: regulation deadband,
// regulating-valve capacity, regulation start delay and manual regulation
// speed, each a command to the core in the item's own unit; next leads on to
// page 3.
#include <QWidget>

class KestromPushButton;
class NumericKeypadWidget;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigOemRegulationDetails2 : public QWidget {
    Q_OBJECT
public:
    explicit ConfigOemRegulationDetails2(QWidget* parent = nullptr);
    ~ConfigOemRegulationDetails2() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void editRegDeadband();
    void commitRegDeadband(double value);
    void editRegValveCapacity();
    void commitRegValveCapacity(double value);
    void editRegStartDelay();
    void commitRegStartDelay(double value);
    void editManRegSpeed();
    void commitManRegSpeed(double value);
    void showHelp(int id);
    void handleButtonBarPressed(int id);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum { RowCount = 4 };
    QString flowUnitText(bool abbreviated) const;
    void refreshDeadband();
    void refreshCapacity();
    void refreshStartDelay();
    void refreshManualSpeed();

    SettingPageKit* mKit;
    NumericKeypadWidget* mKeypads[RowCount];
    KestromPushButton* mLabels[RowCount];
    KestromPushButton* mValues[RowCount];
};

}  // namespace ToolsViewWidgets
