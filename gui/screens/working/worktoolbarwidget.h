#pragma once
// The working screen's tool bar, a window of its own over the screen: switches
// between automatic and manual rate regulation, steps or zeroes the rate boost
// (automatic) or drives the pressure while an arrow is held (manual), leads
// home and closes itself. It only emits signals; the working screen acts on them.
#include "backgroundwidget.h"

class KestromPushButton;

class WorkToolBarWidget : public BackgroundWidget {
    Q_OBJECT
public:
    // Built without a parent: a frameless, application-modal window.
    WorkToolBarWidget();

    void timedUpdate() override;
    void retranslate();
    // Texts and visibility after the regulation mode (bit 0 of DS_MANUAL_PRESSURE_BITS).
    void updateButtons();

    int rateStep() const { return mRateStep; }
    bool spraying() const { return mSpraying; }

signals:
    void ShowHomeView();
    void CloseWorkToolBarView();
    void AutoManRegStateChanged(bool manual);
    void ZeroBoostPct();
    void IncBoostPct(int step);
    void IncLiqPressure();
    void DecBoostPct(int step);
    void DecLiqPressure();
    void StopLiqPressureChange();

public slots:
    void handleHomeBtnPressed();
    void handleCloseBtnPressed();
    void handleAutoManBtnPressed();
    void handleZeroBoostBtnPressed();
    void handleIncBoostBtnPressed();
    void handleIncLiqPressureBtnPressed();
    void handleDecBoostBtnPressed();
    void handleDecLiqPressureBtnPressed();
    void handleLiqPressureBtnReleased();
    void handleWorkStatusChanged(bool spraying);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    KestromPushButton* makeButton(const char* objectName);

    KestromPushButton* mHomeButton;
    KestromPushButton* mCloseButton;
    KestromPushButton* mAutoManButton;
    KestromPushButton* mZeroBoostButton;
    KestromPushButton* mUpButton;
    KestromPushButton* mDownButton;
    bool mSpraying = false;
    int mRateStep = 0;
    // The spraying state the periodic refresh last saw; shared by every tool bar.
    static bool sLastSpraying;
};
