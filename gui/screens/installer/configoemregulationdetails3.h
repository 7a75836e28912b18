#pragma once
// Regulation details (3) of the installer menu: restrictor plate flow and the
// default valve position, each a command to the core in the item's own unit;
// next leads back to page 1.
#include <QWidget>

class KestromPushButton;
class NumericKeypadWidget;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigOemRegulationDetails3 : public QWidget {
    Q_OBJECT
public:
    explicit ConfigOemRegulationDetails3(QWidget* parent = nullptr);
    ~ConfigOemRegulationDetails3() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void editRestrictorPlateFlow();
    void commitRestrictorPlateFlow(double value);
    void showHelp(int id);
    void handleButtonBarPressed(int id);
    void editDefaultValvePos();
    void commitDefaultValvePosition(double value);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum { RowCount = 2 };
    QString flowUnitText(bool abbreviated) const;
    void refreshRestrictorFlow();
    void refreshDefaultValvePosition();

    SettingPageKit* mKit;
    NumericKeypadWidget* mKeypads[RowCount];
    KestromPushButton* mLabels[RowCount];
    KestromPushButton* mValues[RowCount];
};

}  // namespace ToolsViewWidgets
