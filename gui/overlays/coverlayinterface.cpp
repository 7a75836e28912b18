#include "coverlayinterface.h"

#include "coverlaymanager.h"

COverlayInterface::COverlayInterface() : QWidget(nullptr)
{
    hide();
}

COverlayInterface::~COverlayInterface()
{
    if (mManager != nullptr)
        mManager->overlayDestroyed(this);
}

void COverlayInterface::attachedToManager(int, COverlayManager*)
{
}

void COverlayInterface::overlayQueuedBehind()
{
}

void COverlayInterface::backplaneClicked()
{
}

bool COverlayInterface::shadeBackplane()
{
    return false;
}

void COverlayInterface::requestClose()
{
    if (mManager != nullptr)
        mManager->requestClose(this);
}

bool COverlayInterface::isShown() const
{
    return mManager != nullptr && mManager->currentOverlay() == this;
}

bool COverlayInterface::attachToManager(int priority, COverlayManager* manager)
{
    if (mManager != nullptr)
        return false;
    mManager = manager;
    mPriority = priority;
    attachedToManager(priority, manager);
    return true;
}

void COverlayInterface::detachFromManager()
{
    mManager = nullptr;
    detachedFromManager(0);
}

void COverlayInterface::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (isShown())
        mManager->centreOverlay(this);
}
