#include "coverlaymanager.h"

#include "coverlayinterface.h"
#include "csplashbuttonwidget.h"

#include <QCoreApplication>
#include <QWidget>

namespace {
COverlayManager* gInstance = nullptr;
}

COverlayManager* COverlayManager::createInstance(QWidget* parent)
{
    gInstance = new COverlayManager(parent);
    return gInstance;
}

COverlayManager* COverlayManager::instance()
{
    return gInstance;
}

COverlayManager::COverlayManager(QWidget* parent) : QObject(parent), mBackplane(new CSplashButtonWidget(parent))
{
    mBackplane->setGeometry(0, 0, parent ? parent->width() : 0, parent ? parent->height() : 0);
    mBackplane->hide();
    mCloseTimer.setInterval(0);
    connect(mBackplane, &CSplashButtonWidget::Released, this, &COverlayManager::vBackPlaneClicked);
    connect(&mCloseTimer, &QTimer::timeout, this, &COverlayManager::vCloseAllClosePending);
}

COverlayManager::~COverlayManager()
{
    if (gInstance == this)
        gInstance = nullptr;
    if (mCurrent != nullptr && !mClosePending.contains(mCurrent))
        mClosePending.append(mCurrent);
    for (COverlayInterface* overlay : mPending)
        if (!mClosePending.contains(overlay))
            mClosePending.append(overlay);
    mPending.clear();
    vCloseAllClosePending();
}

void COverlayManager::setArea(int width, int height)
{
    mBackplane->setGeometry(0, 0, width, height);
    if (mCurrent != nullptr)
        centreOverlay(mCurrent);
}

bool COverlayManager::addOverlay(COverlayInterface* overlay, int priority)
{
    if (priority == PriorityNoQueue || overlay == nullptr || overlay->manager() != nullptr)
        return false;

    if (priority != PriorityPreempt) {
        int index = 0;
        while (index < mPending.size() && mPending.at(index)->priority() >= priority)
            ++index;
        const bool appended = index == mPending.size();
        mPending.insert(index, overlay);
        if (!overlay->attachToManager(priority, this)) {
            mPending.removeOne(overlay);
            return false;
        }
        if (!appended)
            overlay->overlayQueuedBehind();
        // The ones ahead learn that someone waits behind them; walk a copy,
        // since the calls are the overlays' own code.
        const QList<COverlayInterface*> ahead = mPending.mid(0, index);
        for (int i = ahead.size() - 1; i >= 0; --i)
            if (mPending.contains(ahead.at(i)))
                ahead.at(i)->overlayQueuedBehind();
        vCloseAllClosePending();
        return true;
    }

    mPending.prepend(overlay);
    if (!overlay->attachToManager(priority, this)) {
        mPending.removeOne(overlay);
        return false;
    }
    // A shown overlay that already asked to be closed is not brought back: it
    // closes on the run below.
    if (mCurrent != nullptr && !mClosePending.contains(mCurrent)) {
        COverlayInterface* suspended = mCurrent;
        mPending.insert(1, suspended);
        mCurrent = nullptr;
        suspended->overlaySuspended();
    }
    if (mPending.size() > 1 && mPending.contains(overlay))
        overlay->overlayQueuedBehind();
    vCloseAllClosePending();
    // Painted now, even when the caller goes on to block the GUI thread.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return true;
}

void COverlayManager::requestClose(COverlayInterface* overlay)
{
    if (overlay == nullptr || mClosePending.contains(overlay))
        return;
    mPending.removeOne(overlay);
    mClosePending.append(overlay);
    if (!mCloseTimer.isActive())
        mCloseTimer.start();
}

void COverlayManager::vBackPlaneClicked()
{
    if (mCurrent != nullptr)
        mCurrent->backplaneClicked();
}

void COverlayManager::vCloseAllClosePending()
{
    mCloseTimer.stop();
    if (mCurrent != nullptr && mClosePending.contains(mCurrent)) {
        mBackplane->hide();
        mCurrent = nullptr;
    }
    // Closing runs the overlays' own code, which may ask for more closes:
    // those wait for the next run.
    QList<COverlayInterface*> closing;
    closing.swap(mClosePending);
    while (!closing.isEmpty())
        closeNow(closing.takeFirst());
    showNext();
}

void COverlayManager::closeNow(COverlayInterface* overlay)
{
    if (overlay->manager() != this)
        return;
    mPending.removeOne(overlay);
    if (mCurrent == overlay) {
        mBackplane->hide();
        mCurrent = nullptr;
    }
    const bool remove = overlay->deleteOnClose();
    overlay->detachFromManager();
    overlay->hide();
    overlay->setParent(nullptr);
    if (remove)
        delete overlay;
}

void COverlayManager::showNext()
{
    while (mCurrent == nullptr && !mPending.isEmpty()) {
        COverlayInterface* next = mPending.takeFirst();
        mCurrent = next;
        mBackplane->hide();
        next->setParent(mBackplane);
        mBackplane->vSetSplashShown(next->shadeBackplane());
        if (next->prepareShow(mBackplane->width(), mBackplane->height())) {
            // prepareShow may have asked for its own close or destroyed it.
            if (mCurrent != next)
                continue;
            next->show();
            centreOverlay(next);
            mBackplane->show();
            mBackplane->raise();
            return;
        }
        if (mCurrent == next) {
            mCurrent = nullptr;
            mClosePending.removeOne(next);
            closeNow(next);
        }
    }
}

void COverlayManager::overlayDestroyed(COverlayInterface* overlay)
{
    mClosePending.removeOne(overlay);
    if (mCurrent == overlay) {
        mBackplane->hide();
        mCurrent = nullptr;
        if (!mCloseTimer.isActive())
            mCloseTimer.start();
    } else {
        mPending.removeOne(overlay);
    }
}

void COverlayManager::centreOverlay(COverlayInterface* overlay)
{
    if (overlay == nullptr || overlay != mCurrent)
        return;
    overlay->move((mBackplane->width() - overlay->width()) / 2, (mBackplane->height() - overlay->height()) / 2);
}
