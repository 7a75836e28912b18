#include "twostringpushbutton.h"

#include <QFontInfo>
#include <QPainter>
#include <QStyle>
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

// The two lines form one block centred in the button: the same margin above
// the first line as below the second.
QRect TwoStringPushButton::firstTextRect() const
{
    const int p1 = QFontInfo(firstFont()).pixelSize();
    const int p2 = QFontInfo(secondFont()).pixelSize();
    const int top = (height() - (p1 + p2)) / 2;
    return QRect(0, top, width(), p1);
}

QRect TwoStringPushButton::secondTextRect() const
{
    const int p1 = QFontInfo(firstFont()).pixelSize();
    const int p2 = QFontInfo(secondFont()).pixelSize();
    const int top = (height() - (p1 + p2)) / 2;
    return QRect(0, height() - top - p2, width(), p2);
}

void TwoStringPushButton::paintEvent(QPaintEvent* event)
{
    KestromPushButton::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.setFont(firstFont());
    painter.drawText(firstTextRect(), Qt::AlignCenter, mFirstText);
    painter.setFont(secondFont());
    painter.drawText(secondTextRect(), Qt::AlignCenter, mSecondText);
}
