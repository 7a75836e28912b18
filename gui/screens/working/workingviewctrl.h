#pragma once
// The working screen, the console's start page: the top bar, nozzle, tank,
// droplet-size scale and boom, with the tool bar as a window over them. Takes
// the operator's commands while spraying: sections by touching the lower third,
// rate boost and manual pressure from the tool bar, the master switch or the
// filling view from the tank, the list of active alarms, and the return to CAN
// speed. Its children refresh themselves; the screen has no refresh of its own.
#include <QWidget>

#include <cstdint>

typedef uint16_t UINT16;

class BoomViewWidget;
class ClockTimer;
class CPopupQuery;
class DropletSizeWidget;
class KestromPushButton;
class QLabel;
class SprayTankWidget;
class WorkNozzleInfoWidget;
class WorkToolBarWidget;
class WorkTopInfoBarWidget;

class WorkingViewCtrl : public QWidget {
    Q_OBJECT
public:
    explicit WorkingViewCtrl(QWidget* parent);
    // The tool bar is a window of its own and goes with the screen.
    ~WorkingViewCtrl() override;

    // Shows the boost label with boost - 100 while boosted in automatic regulation.
    void updateBoostLabel();
    // The text of the active-alarm list: at most seven lines, then "   ...   ".
    static QString activeAlarmsText();

    WorkToolBarWidget* toolBar() const { return m_workToolBarView; }
    QLabel* boostLabel() const { return m_boostLabel; }
    KestromPushButton* alarmButton() const { return m_alarmButton; }
    KestromPushButton* showToolBarButton() const { return m_showToolBarButton; }
    KestromPushButton* showFillingButton() const { return m_btnShowFilling; }
    // Whether tank presses run the long-press timer (touch operation at construction).
    bool usesLongPress() const { return m_longPressTimer != nullptr; }

signals:
    void ShowHomeView();
    void ShowFillingView();
    void workStatusChanged(bool spraying);

public slots:
    void handleShowToolBar();
    void handleHomeButtonPressed();
    void handleCloseWorkToolBar();
    void handleAutoManStateChanged(bool manual);
    void handleIncBoostPct(int step);
    void handleIncLiqPressure();
    void handleDecBoostPct(int step);
    void handleDecLiqPressure();
    void handleStopLiqPressureChange();
    void handleZeroBoostPct();
    void handleWorkShowFilling();
    void handleAlarmActivate(UINT16 alarm);
    void handleAlarmDeactivate(UINT16 alarm);
    void workingStatusChanged(bool spraying);
    void handleCanSpeedBack();
    void ResponseSpeedBackYesNoClicked(CPopupQuery* query, int answer);
    void ViewActiveAlarms();
    void SprayTankPressed();
    void SprayTankReleased();
    void SprayTankCancelled();

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setManualPressureBits(uint16_t bits, const char* trace);

    BoomViewWidget* m_boomView;
    DropletSizeWidget* m_dropletSizeView;
    WorkTopInfoBarWidget* m_topInfoView;
    SprayTankWidget* m_sprayTankView;
    KestromPushButton* m_btnShowFilling;
    QLabel* m_boostLabel;
    KestromPushButton* m_alarmButton;
    WorkNozzleInfoWidget* m_nozzleInfoView;
    KestromPushButton* m_showToolBarButton;
    WorkToolBarWidget* m_workToolBarView;
    ClockTimer* m_longPressTimer = nullptr;
    bool m_fillingOpened = false;

    // Once per program run: the core learns that the operator sees the screen.
    static bool sFirstShowDone;
};
