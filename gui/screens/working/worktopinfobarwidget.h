#pragma once
// The strip across the top of the working screen. Its centre shows the target
// application rate while the machine does not spray and the actual rate while
// it sprays, with the unit and the regulation mode; touching it offers the
// three stored rates and a keypad for the selected one. Each side shows one
// value of a kind the operator picks (amount, flow, pressure, speed, area, job
// number). Numbers keep to a fixed count of digits: decimals go first, and a
// number that still needs more digits shrinks the whole bar by a font step.
// Values refresh every 600 ms while shown.
#include "widgettimedfocusupdateqt.h"

#include <QString>

#include <cstdint>

typedef uint16_t UINT16;

class ButtonGridWidget;
class ClockTimer;
class KestromPushButton;
class NumericKeypadWidget;
class TwoStringPushButton;
class QWidget;

class WorkTopInfoBarWidget : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    // Kinds of the side fields (DS_TOP_INFO_LEFT / DS_TOP_INFO_RIGHT) and of
    // the values behind the centre and the rate choice.
    enum Kind : int {
        KindAmount = 0,
        KindFlow = 1,
        KindPressure = 2,
        KindSpeed = 3,
        KindArea = 4,
        KindTargetRate = 5,
        KindActualRate = 6,
        KindRate1 = 7,
        KindRate2 = 8,
        KindRate3 = 9,
        KindJobNumber = 10,
    };
    enum : int { KeypadButtonId = 136 };

    explicit WorkTopInfoBarWidget(QWidget* parent);
    ~WorkTopInfoBarWidget() override;

    void timedUpdate() override;

    // The value of a kind as shown in a field of width digits; the digits
    // still missing (0..2) go to *overflow for the kinds that count them.
    static QString fieldValueText(int kind, uint16_t width, uint16_t* overflow);
    static QString fieldUnitText(int kind, bool onChoiceButton = false);
    // Short ("l/ha") or long ("liters/hectare") unit of the three stored rates.
    static QString rateUnitText(bool longForm);
    // The quantity the rates are shown in: NH3, turf or plain target rate.
    static uint32_t rateQuantity();

    TwoStringPushButton* leftField() const { return mLeftField; }
    TwoStringPushButton* rightField() const { return mRightField; }
    KestromPushButton* targetValueButton() const { return mTargetValue; }
    KestromPushButton* actualValueButton() const { return mActualValue; }
    KestromPushButton* unitButton() const { return mUnit; }
    KestromPushButton* modeIconButton() const { return mModeIcon; }
    ButtonGridWidget* rateChoiceGrid() const { return mRateGrid; }
    ButtonGridWidget* kindChoiceGrid() const { return mKindGrid; }
    NumericKeypadWidget* rateKeypad() const { return mKeypad; }
    KestromPushButton* rateKeypadButton() const { return mKeypadButton; }
    bool isKindGridOpen() const { return mGridOpen; }

public slots:
    void editApplRateSelection();
    void commitApplRateNumber(int number);
    void editApplRate();
    void commitApplRate(double value);
    void editTopInfoTypeLeft();
    void editTopInfoTypeRight();
    void commitTopInfoTypeLeft(int kind);
    void commitTopInfoTypeRight(int kind);
    void handleWorkStatusChanged(bool spraying);
    void handleWorkStatusChanged();
    void handleEvent100ms();
    void updateValues();
    void handleAlarmActivate(UINT16 alarm);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void updateLeftField(bool withUnit);
    void updateRightField(bool withUnit);
    void updateFieldChoices(bool withUnits);
    void updateRateChoices();
    void showTargetForAWhile();
    void setModeIcon(bool automatic);
    void editKind(int kind, bool left);
    static void repolish(QWidget* widget);

    ButtonGridWidget* mRateGrid;
    TwoStringPushButton* mRateButtons[3];
    KestromPushButton* mKeypadButton;
    NumericKeypadWidget* mKeypad;
    TwoStringPushButton* mLeftField;
    TwoStringPushButton* mRightField;
    QWidget* mCentre;
    KestromPushButton* mTargetValue;
    KestromPushButton* mActualValue;
    KestromPushButton* mUnit;
    KestromPushButton* mModeIcon;
    ButtonGridWidget* mKindGrid;
    TwoStringPushButton* mKindButtons[6];
    ClockTimer* mTargetTimer;
    bool mGridOpen = false;
    int mTicks = 0;
    uint16_t mLeftOverflow = 0;
    uint16_t mRightOverflow = 0;
    bool mAutomatic = true;
    // One bar on the screen: the step last given to the centre values and the
    // work state last seen by the periodic refresh.
    int mCentreStep = 0;
    bool mLastSpraying = false;
};
