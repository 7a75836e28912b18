#include "touchdragscroll.h"

#include "guigeometry.h"

#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>

TouchDragScroll::TouchDragScroll(QWidget* watched, QScrollArea* area) : QObject(watched), mArea(area)
{
    watched->installEventFilter(this);
}

bool TouchDragScroll::eventFilter(QObject*, QEvent* event)
{
    if (mArea.isNull())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const QMouseEvent* press = static_cast<QMouseEvent*>(event);
        QWidget* viewport = mArea->viewport();
        mTracking = mArea->isVisible() && mArea->verticalScrollBar()->maximum() > 0 &&
                    viewport->rect().contains(viewport->mapFromGlobal(press->globalPos()));
        mDragging = false;
        mStartY = press->globalPos().y();
        mStartValue = mArea->verticalScrollBar()->value();
        return false;
    }
    case QEvent::MouseMove: {
        const QMouseEvent* move = static_cast<QMouseEvent*>(event);
        if (!mTracking || !(move->buttons() & Qt::LeftButton))
            return false;
        // A finger never lies quite still: small moves are part of a touch.
        const int moved = move->globalPos().y() - mStartY;
        if (!mDragging && qAbs(moved) < GuiGeometry::scale(10))
            return false;
        mDragging = true;
        mArea->verticalScrollBar()->setValue(mStartValue - moved);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const bool dragged = mDragging;
        mTracking = false;
        mDragging = false;
        return dragged;
    }
    default:
        return false;
    }
}
