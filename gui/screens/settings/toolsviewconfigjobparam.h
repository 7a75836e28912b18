#pragma once
// Job parameters: what the operator sets before each job. Three stored
// application rates and which of them is the target, the fitted tip preset,
// and either the circulation switch or the idle pressure (by the installer's
// circulation type and sensors). A live page: the rate follows changes made
// elsewhere (the working screen) while it is shown.
#include "widgettimedfocusupdateqt.h"

#include <QSize>

#include <cstdint>

class ButtonGridWidget;
class KestromPushButton;
class NumericKeypadWidget;
class QLabel;

namespace ToolsViewWidgets {

class SettingPageKit;

class ToolsViewConfigJobParam : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    explicit ToolsViewConfigJobParam(QWidget* parent = nullptr);

    static constexpr int PresetCount = 5;

    void timedUpdate() override;

signals:
    void goBack();
    void ShowHomeView(int id);

public slots:
    void retranslate();
    void editApplRateNumber();
    void commitApplRateNumber(int number);
    void editApplRate();
    void commitApplRate(double value);
    void editNozzleType();
    void commitNozzleType(int preset);
    void showHelp(int id);
    void handleButtonBarPressed(int id);
    void editCirculation();
    void commitCirculation(int id);
    void editIdlePressure();
    void commitIdlePressure(double value);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The rate quantity: mass rates in NH3 mode, turf rates with the turf flag.
    static uint32_t rateQuantity();
    // Rate number n's stored rate in display units.
    static double rateDisplayValue(int number);
    QString rateUnitText(bool shortForm) const;
    QString pressureUnitText() const;
    QString tipPresetName(int preset) const;
    // The rate keypad's range in display units.
    double rateMinimum() const;
    double rateMaximum() const;
    void setTargetRate(uint32_t base);

    void updateRowVisibility();
    void refreshRateNumber();
    void refreshRate();
    void refreshRateChoices();
    void refreshTip();
    void refreshTipChoices();
    void refreshCirculation();
    void refreshIdlePressure();

    struct PresetButton {
        int series = -1;
        int size = -1;
        QLabel* name = nullptr;
        QLabel* image = nullptr;
    };

    SettingPageKit* mKit;
    KestromPushButton* mRateNumberLabel;
    KestromPushButton* mRateNumberValue;
    KestromPushButton* mRateLabel;
    KestromPushButton* mRateValue;
    KestromPushButton* mTipLabel;
    KestromPushButton* mTipValue;
    KestromPushButton* mCirculationLabel;
    KestromPushButton* mCirculationValue;
    KestromPushButton* mIdlePressureLabel;
    KestromPushButton* mIdlePressureValue;
    NumericKeypadWidget* mRateKeypad;
    NumericKeypadWidget* mIdlePressureKeypad;
    ButtonGridWidget* mRateNumberGrid;
    ButtonGridWidget* mTipGrid;
    ButtonGridWidget* mCirculationGrid;
    KestromPushButton* mRateChoices[3];
    KestromPushButton* mCirculationOff;
    KestromPushButton* mCirculationOn;
    PresetButton mPresets[PresetCount];
    QSize mSmallImageSize;
};

}  // namespace ToolsViewWidgets
