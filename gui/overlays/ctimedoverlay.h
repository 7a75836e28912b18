#pragma once
// An overlay with three times in seconds: how long it stays shown, how long
// once another overlay waits behind it, and how long it may wait in the queue
// before it closes unseen. The timer runs on the runtime's clock.
#include "coverlayinterface.h"

#include <QTime>

class ClockTimer;

class CTimedOverlay : public COverlayInterface {
    Q_OBJECT
public:
    // display, busyDisplay: 0 or less stays until closed otherwise.
    // queue: below 0 no limit, 0 closes unless shown at once.
    CTimedOverlay(float displaySeconds, float busyDisplaySeconds, float queueSeconds);

    bool prepareShow(int areaWidth, int areaHeight) override;
    void overlaySuspended() override;
    void attachedToManager(int priority, COverlayManager* manager) override;
    void overlayQueuedBehind() override;

    virtual void queueTimeout();
    virtual void displayTimeout();

    void restartTimer();
    bool othersWaiting() const { return mOthersWaiting; }
    bool timerActive() const;

public slots:
    void vTimerTicked();

private:
    float shownSeconds() const;
    void startSeconds(float seconds);

    float mDisplaySeconds;
    float mBusyDisplaySeconds;
    float mQueueSeconds;
    bool mOthersWaiting = false;
    QTime mShownAt;
    QTime mQueuedAt;
    ClockTimer* mTimer;
};
