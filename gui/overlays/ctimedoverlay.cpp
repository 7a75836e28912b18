#include "ctimedoverlay.h"

#include "clocktimer.h"

CTimedOverlay::CTimedOverlay(float displaySeconds, float busyDisplaySeconds, float queueSeconds)
    : mDisplaySeconds(displaySeconds), mBusyDisplaySeconds(busyDisplaySeconds), mQueueSeconds(queueSeconds),
      mTimer(new ClockTimer(this))
{
    connect(mTimer, &ClockTimer::timeout, this, &CTimedOverlay::vTimerTicked);
}

float CTimedOverlay::shownSeconds() const
{
    return mOthersWaiting ? mBusyDisplaySeconds : mDisplaySeconds;
}

void CTimedOverlay::startSeconds(float seconds)
{
    mTimer->start(static_cast<int>(seconds * 1000.0f));
}

void CTimedOverlay::attachedToManager(int, COverlayManager*)
{
    mQueuedAt = QTime::currentTime();
    if (mQueueSeconds >= 0)
        startSeconds(mQueueSeconds);
    mOthersWaiting = false;
}

bool CTimedOverlay::prepareShow(int, int)
{
    mTimer->stop();
    mShownAt = QTime::currentTime();
    const float t = shownSeconds();
    if (t > 0)
        startSeconds(t);
    return true;
}

void CTimedOverlay::overlayQueuedBehind()
{
    mOthersWaiting = true;
}

void CTimedOverlay::overlaySuspended()
{
    mTimer->stop();
}

void CTimedOverlay::vTimerTicked()
{
    if (isShown())
        displayTimeout();
    else
        queueTimeout();
}

void CTimedOverlay::queueTimeout()
{
    requestClose();
}

void CTimedOverlay::displayTimeout()
{
    requestClose();
}

void CTimedOverlay::restartTimer()
{
    mTimer->stop();
    if (isShown()) {
        mShownAt = QTime::currentTime();
        const float t = shownSeconds();
        if (t > 0)
            startSeconds(t);
    } else {
        mQueuedAt = QTime::currentTime();
        if (mQueueSeconds >= 0)
            startSeconds(mQueueSeconds);
    }
}

bool CTimedOverlay::timerActive() const
{
    return mTimer->isActive();
}
