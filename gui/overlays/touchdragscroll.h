#pragma once
// Lets a finger drag a scrolled text up and down on a touch screen that has no
// wheel: a press on the text followed by a move of more than a few pixels
// scrolls with the finger, and the release that ends such a drag is taken, so
// a drag never counts as a touch. A press and release without a drag passes
// on untouched. It watches the widget that receives the touches, which may be
// the scroll area's viewport or a cover over it.
#include <QObject>
#include <QPointer>
#include <QScrollArea>

class QWidget;

class TouchDragScroll : public QObject {
public:
    TouchDragScroll(QWidget* watched, QScrollArea* area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The form may drop its text, and the area with it.
    QPointer<QScrollArea> mArea;
    bool mTracking = false;
    bool mDragging = false;
    int mStartY = 0;
    int mStartValue = 0;
};
