#include "twostringpushbutton.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QVariant>

TwoStringPushButton::TwoStringPushButton(QWidget* parent)
    : KestromPushButton(parent), mFirstStep("large"), mSecondStep("medium")
{
    setUp();
}

TwoStringPushButton::TwoStringPushButton(int id, QWidget* parent)
    : KestromPushButton(id, parent), mFirstStep("large"), mSecondStep("medium")
{
    setUp();
}

TwoStringPushButton::TwoStringPushButton(const QString& firstStep, const QString& secondStep, QWidget* parent)
    : KestromPushButton(parent), mFirstStep(firstStep), mSecondStep(secondStep)
{
    setUp();
}

TwoStringPushButton::TwoStringPushButton(int id, const QString& firstStep, const QString& secondStep,
                                         QWidget* parent)
    : KestromPushButton(id, parent), mFirstStep(firstStep), mSecondStep(secondStep)
{
    setUp();
}

TwoStringPushButton::~TwoStringPushButton()
{
    delete mFirstCarrier;
    delete mSecondCarrier;
}

// The base has set the auto-repeat delay, focus, margins, key click and
// takeAction; only the font carriers are this button's own.
void TwoStringPushButton::setUp()
{
    mFirstCarrier = makeCarrier(mFirstStep);
    mSecondCarrier = makeCarrier(mSecondStep);
}

KestromPushButton* TwoStringPushButton::makeCarrier(const QString& step)
{
    KestromPushButton* carrier = new KestromPushButton(nullptr);
    carrier->setProperty("fontsize", step);
    carrier->ensurePolished();
    return carrier;
}

void TwoStringPushButton::applyStep(KestromPushButton*& carrier, QString& current, const QString& step)
{
    if (carrier == nullptr)
        carrier = makeCarrier(current);
    if (step == current)
        return;
    current = step;
    carrier->setProperty("fontsize", step);
    carrier->style()->unpolish(carrier);
    carrier->style()->polish(carrier);
}

void TwoStringPushButton::setFirstText(const QString& text)
{
    if (text == mFirstText)
        return;
    mFirstText = text;
    update();
}

void TwoStringPushButton::setFirstText(const QString& text, const QString& step)
{
    if (text == mFirstText && step == mFirstStep && mFirstCarrier != nullptr)
        return;
    mFirstText = text;
    applyStep(mFirstCarrier, mFirstStep, step);
    update();
}

void TwoStringPushButton::setSecondText(const QString& text)
{
    if (text == mSecondText)
        return;
    mSecondText = text;
    update();
}

void TwoStringPushButton::setSecondText(const QString& text, const QString& step)
{
    if (text == mSecondText && step == mSecondStep && mSecondCarrier != nullptr)
        return;
    mSecondText = text;
    applyStep(mSecondCarrier, mSecondStep, step);
    update();
}

QFont TwoStringPushButton::firstFont() const
{
    return mFirstCarrier->font();
}

QFont TwoStringPushButton::secondFont() const
{
    return mSecondCarrier->font();
}

QRect TwoStringPushButton::contentsArea() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
}

// The first line is a value: its box ends on its baseline (a value has no
// descenders). The second line's box is a whole line, descenders included.
// The block is centred in the room the style leaves for the contents (which
// moves with a press); a block taller than the room keeps its bottom inside
// and gives up the blank top of the value's line.
QRect TwoStringPushButton::firstTextRect() const
{
    const QRect area = contentsArea();
    const int h1 = QFontMetrics(firstFont()).ascent();
    const int h2 = QFontMetrics(secondFont()).height();
    const int block = h1 + h2;
    const int top = block <= area.height() ? area.top() + (area.height() - block) / 2 : area.bottom() + 1 - block;
    return QRect(area.left(), top, area.width(), h1);
}

QRect TwoStringPushButton::secondTextRect() const
{
    const QRect first = firstTextRect();
    return QRect(first.left(), first.bottom() + 1, first.width(), QFontMetrics(secondFont()).height());
}

void TwoStringPushButton::paintEvent(QPaintEvent* event)
{
    KestromPushButton::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.setFont(firstFont());
    // Each line from the top of its box: the value's baseline is its box's bottom.
    painter.drawText(firstTextRect(), Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, mFirstText);
    painter.setFont(secondFont());
    painter.drawText(secondTextRect(), Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, mSecondText);
}
