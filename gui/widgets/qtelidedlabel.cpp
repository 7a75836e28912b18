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
    mWholeText = text;
    mShownText = QFontMetrics(font()).elidedText(text, mMode, width);
    setText(mShownText);
}

QString QtElidedLabel::wholeText() const
{
    return text() == mShownText ? mWholeText : text();
}

QSize QtElidedLabel::minimumSizeHint() const
{
    const QMargins margins = contentsMargins();
    const int ellipsis = QFontMetrics(font()).horizontalAdvance(QChar(0x2026));
    return QSize(ellipsis + margins.left() + margins.right() + 2 * qMax(margin(), 0),
                 QLabel::minimumSizeHint().height());
}

void QtElidedLabel::showEvent(QShowEvent* event)
{
    QLabel::showEvent(event);
    setElidedText(wholeText());
}

void QtElidedLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    if (isVisible())
        setElidedText(wholeText());
}
