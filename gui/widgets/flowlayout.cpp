#include "flowlayout.h"

#include <QWidget>

FlowLayout::FlowLayout(QWidget* parent, int margin, int hSpacing, int vSpacing)
    : QLayout(parent), mHSpacing(hSpacing), mVSpacing(vSpacing)
{
    setContentsMargins(margin, margin, margin, margin);
}

FlowLayout::FlowLayout(int margin, int hSpacing, int vSpacing) : mHSpacing(hSpacing), mVSpacing(vSpacing)
{
    setContentsMargins(margin, margin, margin, margin);
}

FlowLayout::~FlowLayout()
{
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void FlowLayout::addItem(QLayoutItem* item)
{
    mItems.append(item);
}

int FlowLayout::count() const
{
    return mItems.size();
}

QLayoutItem* FlowLayout::itemAt(int index) const
{
    return index >= 0 && index < mItems.size() ? mItems.at(index) : nullptr;
}

QLayoutItem* FlowLayout::takeAt(int index)
{
    return index >= 0 && index < mItems.size() ? mItems.takeAt(index) : nullptr;
}

Qt::Orientations FlowLayout::expandingDirections() const
{
    return Qt::Orientations();
}

bool FlowLayout::hasHeightForWidth() const
{
    return true;
}

int FlowLayout::heightForWidth(int width) const
{
    return placeItems(QRect(0, 0, width, 0), true);
}

void FlowLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    placeItems(rect, false);
}

QSize FlowLayout::sizeHint() const
{
    return minimumSize();
}

QSize FlowLayout::minimumSize() const
{
    QSize size(-1, -1);
    for (const QLayoutItem* item : mItems)
        size = size.expandedTo(item->minimumSize());
    const QMargins m = contentsMargins();
    return size + QSize(2 * m.left(), 2 * m.top());
}

int FlowLayout::effectiveHSpacing() const
{
    return mHSpacing >= 0 ? mHSpacing : parentSpacing(QStyle::PM_LayoutHorizontalSpacing);
}

int FlowLayout::effectiveVSpacing() const
{
    return mVSpacing >= 0 ? mVSpacing : parentSpacing(QStyle::PM_LayoutVerticalSpacing);
}

int FlowLayout::parentSpacing(QStyle::PixelMetric metric) const
{
    QObject* owner = parent();
    if (owner == nullptr)
        return -1;
    if (owner->isWidgetType()) {
        QWidget* widget = static_cast<QWidget*>(owner);
        return widget->style()->pixelMetric(metric, nullptr, widget);
    }
    return static_cast<QLayout*>(owner)->spacing();
}

int FlowLayout::placeItems(const QRect& rect, bool testOnly) const
{
    int left, top, right, bottom;
    getContentsMargins(&left, &top, &right, &bottom);
    const QRect area = rect.adjusted(left, top, -right, -bottom);
    int x = area.x();
    int y = area.y();
    int lineHeight = 0;
    for (QLayoutItem* item : mItems) {
        const QWidget* widget = item->widget();
        int spaceX = effectiveHSpacing();
        if (spaceX == -1 && widget != nullptr)
            spaceX = widget->style()->layoutSpacing(QSizePolicy::PushButton, QSizePolicy::PushButton,
                                                    Qt::Horizontal);
        int spaceY = effectiveVSpacing();
        if (spaceY == -1 && widget != nullptr)
            spaceY = widget->style()->layoutSpacing(QSizePolicy::PushButton, QSizePolicy::PushButton,
                                                    Qt::Vertical);
        const QSize hint = item->sizeHint();
        int nextX = x + hint.width() + spaceX;
        if (nextX - spaceX > area.right() && lineHeight > 0) {
            x = area.x();
            y = y + lineHeight + spaceY;
            nextX = x + hint.width() + spaceX;
            lineHeight = 0;
        }
        if (!testOnly)
            item->setGeometry(QRect(QPoint(x, y), hint));
        x = nextX;
        lineHeight = qMax(lineHeight, hint.height());
    }
    return y + lineHeight - rect.y() + bottom;
}
