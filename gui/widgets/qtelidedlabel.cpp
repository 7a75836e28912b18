#include "qtelidedlabel.h"

#include <QFontMetrics>

QtElidedLabel::QtElidedLabel(Qt::TextElideMode mode, QWidget* parent) : QLabel(parent), mMode(mode)
{
}

void QtElidedLabel::setElidedText(const QString& text)
{
    setText(text);
    update();
    int width;
    if (isVisible()) {
        width = contentsRect().width();
    } else {
        // Hidden: the size hint now measures the whole text.
        const QMargins margins = contentsMargins();
        width = sizeHint().width() - margins.left() - margins.right();
    }
    setText(QFontMetrics(font()).elidedText(text, mMode, width));
}

void QtElidedLabel::showEvent(QShowEvent* event)
{
    QLabel::showEvent(event);
    setElidedText(text());
}
