#pragma once
// Regulation parameters: coarse and fine response of the regulating valve,
// the tip spacing and the regulation mode (flow or pressure based). A static
// page of the implement parameters menu: it refreshes on show and after each
// commit; the core validates and stores every value.
#include <QWidget>

class ButtonGridWidget;
class KestromPushButton;
class NumericKeypadWidget;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigMachineImplParamRegParam : public QWidget {
    Q_OBJECT
public:
    explicit ConfigMachineImplParamRegParam(QWidget* parent = nullptr);
    ~ConfigMachineImplParamRegParam() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void editRoughValue();
    void commitRoughValue(double value);
    void editFineValue();
    void commitFineValue(double value);
    void editNozzleSpacing();
    void commitNozzleSpacing(double value);
    void editRegulMode();
    void commitRegulMode(int id);
    void showHelp(int id);
    void handleButtonBarPressed(int id);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void refreshRough();
    void refreshFine();
    void refreshSpacing();
    void refreshRegulMode();
    QString spacingUnit(bool shortForm) const;

    SettingPageKit* mKit;
    KestromPushButton* mLabels[4];
    KestromPushButton* mRoughValue;
    KestromPushButton* mFineValue;
    KestromPushButton* mSpacingValue;
    KestromPushButton* mRegulModeValue;
    NumericKeypadWidget* mRoughKeypad;
    NumericKeypadWidget* mFineKeypad;
    NumericKeypadWidget* mSpacingKeypad;
    ButtonGridWidget* mRegulModeGrid;
    KestromPushButton* mFlowOption;
    KestromPushButton* mPressureOption;
};

}  // namespace ToolsViewWidgets
