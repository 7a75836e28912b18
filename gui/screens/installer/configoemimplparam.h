#pragma once
// Implement parameters (1) of the installer menu: number of sections,
// circulation and display rate smoothing, each a command to the core. With
// more than nine sections next leads on to the switch assignment.
#include <QWidget>

class ButtonGridWidget;
class KestromPushButton;
class NumericKeypadWidget;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigOemImplParam : public QWidget {
    Q_OBJECT
public:
    explicit ConfigOemImplParam(QWidget* parent = nullptr);
    ~ConfigOemImplParam() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void editNoOfSectionsValue();
    void commitNoOfSectionsValue(double value);
    void editCirculationMode();
    void commitCirculationMode(int id);
    void editDisplayRateDeadbandValue();
    void commitDisplayRateDeadbandValue(double value);
    void showHelp(int id);
    void handleButtonBarPressed(int id);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void refreshValues();
    void showNextForSections();

    SettingPageKit* mKit;
    KestromPushButton* mSectionsLabel;
    KestromPushButton* mCirculationLabel;
    KestromPushButton* mSmoothingLabel;
    KestromPushButton* mSectionsValue;
    KestromPushButton* mCirculationValue;
    KestromPushButton* mSmoothingValue;
    NumericKeypadWidget* mSectionsKeypad;
    NumericKeypadWidget* mSmoothingKeypad;
    ButtonGridWidget* mCirculationGrid;
    KestromPushButton* mCirculationOptions[3];
};

}  // namespace ToolsViewWidgets
