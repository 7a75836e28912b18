#include "calculatorwidget.h"

#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "modalpopups.h"
#include "qtelidedlabel.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cmath>

namespace {

const int kDisplayLength = 15;
const char* const kErrorText = "####";

// Twice the font size the style sheet gives the widget, in the widget's own
// sheet (a style sheet's font-size overrides setFont).
void doubleFontSize(QWidget* widget)
{
    widget->ensurePolished();
    const QFont font = widget->font();
    widget->setStyleSheet(font.pixelSize() > 0 ? QStringLiteral("font-size: %1px;").arg(2 * font.pixelSize())
                                               : QStringLiteral("font-size: %1pt;").arg(2 * font.pointSizeF()));
}

}  // namespace

CalculatorWidget::CalculatorWidget(const QString& title, bool showDone, QWidget* parent)
    : BackgroundWidget(parent), mDisplay(new QLineEdit(QStringLiteral("0"), this))
{
    ModalPopups::makeWindow(this);
    setObjectName(QStringLiteral("CalculatorWidget"));
    setProperty("hasHighlightedBorder", true);
    setProperty("hasBackground", true);

    mDisplay->setObjectName(QStringLiteral("m_lineEdit"));
    mDisplay->setReadOnly(true);
    mDisplay->setFocusPolicy(Qt::NoFocus);
    mDisplay->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    mDisplay->setMaxLength(kDisplayLength);
    mDisplay->setProperty("hasBorder", true);
    mDisplay->setProperty("hasBackground", true);
    mDisplay->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    doubleFontSize(mDisplay);

    mCancel = new KestromPushButton(this);
    mCancel->setObjectName(QStringLiteral("m_cancelButton"));
    mCancel->setProperty("transparent", true);
    mCancel->setSvgIcon(":/images/cancel.svg", GuiGeometry::iconSize50());
    connect(mCancel, &KestromPushButton::takeAction, this, &QWidget::close);
    mDone = new KestromPushButton(this);
    mDone->setObjectName(QStringLiteral("m_doneButton"));
    mDone->setProperty("transparent", true);
    mDone->setSvgIcon(":/images/accept.svg", GuiGeometry::iconSize50());
    mDone->setVisible(showDone);
    connect(mDone, &KestromPushButton::takeAction, this, &CalculatorWidget::donePressed);

    for (int d = 0; d < 10; ++d)
        mDigits[d] = addKey(QString::number(d), &CalculatorWidget::digitClicked);
    mBackspace = addKey(QString(), &CalculatorWidget::backspaceClicked);
    mClear = addKey(QString(), &CalculatorWidget::clear);
    mClearAll = addKey(QString(), &CalculatorWidget::clearAll);
    mMemoryClear = addKey(QString(), &CalculatorWidget::clearMemory);
    mMemoryRead = addKey(QString(), &CalculatorWidget::readMemory);
    mMemorySet = addKey(QString(), &CalculatorWidget::setMemory);
    mMemoryAdd = addKey(QString(), &CalculatorWidget::addToMemory);
    mPoint = addKey(QString(), &CalculatorWidget::pointClicked);
    mSign = addKey(QString(QChar(0x00B1)), &CalculatorWidget::changeSignClicked);
    mDivide = addKey(QString(), &CalculatorWidget::multiplicativeOperatorClicked);
    mMultiply = addKey(QString(), &CalculatorWidget::multiplicativeOperatorClicked);
    mSubtract = addKey(QString(), &CalculatorWidget::additiveOperatorClicked);
    mAdd = addKey(QString(), &CalculatorWidget::additiveOperatorClicked);
    mRoot = addKey(QString(QChar(0x221A)), &CalculatorWidget::unaryOperatorClicked);
    mSquare = addKey(QStringLiteral("x") + QChar(0x00B2), &CalculatorWidget::unaryOperatorClicked);
    mReciprocal = addKey(QString(), &CalculatorWidget::unaryOperatorClicked);
    mEqual = addKey(QString(), &CalculatorWidget::equalClicked);

    QGridLayout* keys = new QGridLayout;
    keys->setContentsMargins(0, 0, 0, 0);
    keys->setSpacing(GuiGeometry::spacing2());
    keys->addWidget(mBackspace, 1, 0, 1, 2);
    keys->addWidget(mClear, 1, 2, 1, 2);
    keys->addWidget(mClearAll, 1, 4, 1, 2);
    keys->addWidget(mMemoryClear, 2, 0);
    keys->addWidget(mMemoryRead, 3, 0);
    keys->addWidget(mMemorySet, 4, 0);
    keys->addWidget(mMemoryAdd, 5, 0);
    for (int d = 1; d <= 9; ++d)
        keys->addWidget(mDigits[d], 4 - (d - 1) / 3, 1 + (d - 1) % 3);
    keys->addWidget(mDigits[0], 5, 1);
    keys->addWidget(mPoint, 5, 2);
    keys->addWidget(mSign, 5, 3);
    keys->addWidget(mDivide, 2, 4);
    keys->addWidget(mMultiply, 3, 4);
    keys->addWidget(mSubtract, 4, 4);
    keys->addWidget(mAdd, 5, 4);
    keys->addWidget(mRoot, 2, 5);
    keys->addWidget(mSquare, 3, 5);
    keys->addWidget(mReciprocal, 4, 5);
    keys->addWidget(mEqual, 5, 5);
    for (int column = 0; column < 6; ++column)
        keys->setColumnStretch(column, 1);

    QHBoxLayout* displayRow = new QHBoxLayout;
    displayRow->setContentsMargins(0, 0, 0, 0);
    displayRow->addWidget(mCancel);
    displayRow->addWidget(mDisplay, 1);
    displayRow->addWidget(mDone);

    QVBoxLayout* layout = new QVBoxLayout(this);
    layout->setContentsMargins(GuiGeometry::standardMargins());
    layout->setSpacing(GuiGeometry::spacing2());
    if (!title.isEmpty()) {
        mTitle = new QtElidedLabel(Qt::ElideRight, this);
        mTitle->setObjectName(QStringLiteral("m_titleLabel"));
        mTitle->setAlignment(Qt::AlignCenter);
        doubleFontSize(mTitle);
        mTitle->setElidedText(title);
        layout->addWidget(mTitle, 1);
    }
    layout->addLayout(displayRow, 1);
    layout->addLayout(keys, 100);
    retranslate();
}

KestromPushButton* CalculatorWidget::addKey(const QString& text, void (CalculatorWidget::*slot)())
{
    KestromPushButton* key = new KestromPushButton(this);
    key->setText(text);
    key->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(key, &QAbstractButton::clicked, this, slot);
    return key;
}

void CalculatorWidget::retranslate()
{
    mBackspace->setText(tr("Backspace"));
    mClear->setText(tr("Clear"));
    mClearAll->setText(tr("Clear All"));
    mMemoryClear->setText(tr("MC", "Abbr for Memory Clear, on a calculator"));
    mMemoryRead->setText(tr("MR", "Abbr for Memory Read, on a calculator"));
    mMemorySet->setText(tr("MS", "Abbr for Memory Set, on a calculator"));
    mMemoryAdd->setText(tr("M+", "Abbr for Memory Add, on a calculator"));
    mPoint->setText(tr("."));
    mDivide->setText(tr("/"));
    mMultiply->setText(tr("*"));
    mSubtract->setText(tr("-"));
    mAdd->setText(tr("+"));
    mReciprocal->setText(tr("1/x"));
    mEqual->setText(tr("="));
}

void CalculatorWidget::timedUpdate()
{
}

void CalculatorWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    BackgroundWidget::changeEvent(event);
}

double CalculatorWidget::operand() const
{
    return mDisplay->text().toDouble();
}

void CalculatorWidget::showNumber(double value)
{
    // Beyond the largest number there is no result to show.
    if (!std::isfinite(value)) {
        abortOperation();
        return;
    }
    mDisplay->setText(QString::number(value, 'g', 6));
}

bool CalculatorWidget::apply(Operation operation, double value)
{
    switch (operation) {
    case Operation::Add:
        mSum += value;
        break;
    case Operation::Subtract:
        mSum -= value;
        break;
    case Operation::Multiply:
        mFactor *= value;
        break;
    case Operation::Divide:
        if (value == 0.0)
            return false;
        mFactor /= value;
        break;
    case Operation::None:
        break;
    }
    return std::isfinite(mSum) && std::isfinite(mFactor);
}

// The pending multiplication or division completes the product, which then
// stands as the operand of the additive step. False after an error.
bool CalculatorWidget::applyPendingMultiplicative()
{
    if (mPendingMultiplicative == Operation::None)
        return true;
    if (!apply(mPendingMultiplicative, operand())) {
        abortOperation();
        return false;
    }
    showNumber(mFactor);
    mFactor = 0.0;
    mPendingMultiplicative = Operation::None;
    return true;
}

void CalculatorWidget::abortOperation()
{
    clearAll();
    mDisplay->setText(QString::fromLatin1(kErrorText));
}

void CalculatorWidget::digitClicked()
{
    const auto* key = qobject_cast<KestromPushButton*>(sender());
    if (key == nullptr)
        return;
    const QString digit = key->text();
    if (mDisplay->text() == QLatin1String("0") && digit == QLatin1String("0"))
        return;
    if (mWaitingForOperand) {
        mDisplay->clear();
        mWaitingForOperand = false;
    }
    mDisplay->setText(mDisplay->text() + digit);
}

void CalculatorWidget::unaryOperatorClicked()
{
    const QObject* key = sender();
    const double value = operand();
    double result = 0.0;
    if (key == mRoot) {
        if (value < 0.0) {
            abortOperation();
            return;
        }
        result = std::sqrt(value);
    } else if (key == mSquare) {
        result = value * value;
    } else if (key == mReciprocal) {
        if (value == 0.0) {
            abortOperation();
            return;
        }
        result = 1.0 / value;
    } else {
        return;
    }
    showNumber(result);
    mWaitingForOperand = true;
}

void CalculatorWidget::additiveOperatorClicked()
{
    const QObject* key = sender();
    const Operation pressed = key == mSubtract ? Operation::Subtract : key == mAdd ? Operation::Add : Operation::None;
    if (pressed == Operation::None)
        return;
    if (!applyPendingMultiplicative())
        return;
    if (mPendingAdditive != Operation::None) {
        if (!apply(mPendingAdditive, operand())) {
            abortOperation();
            return;
        }
        showNumber(mSum);
    } else {
        mSum = operand();
    }
    mPendingAdditive = pressed;
    mWaitingForOperand = true;
}

void CalculatorWidget::multiplicativeOperatorClicked()
{
    const QObject* key = sender();
    const Operation pressed =
        key == mDivide ? Operation::Divide : key == mMultiply ? Operation::Multiply : Operation::None;
    if (pressed == Operation::None)
        return;
    if (mPendingMultiplicative != Operation::None) {
        if (!apply(mPendingMultiplicative, operand())) {
            abortOperation();
            return;
        }
        showNumber(mFactor);
    } else {
        mFactor = operand();
    }
    mPendingMultiplicative = pressed;
    mWaitingForOperand = true;
}

bool CalculatorWidget::performEqual()
{
    if (!applyPendingMultiplicative())
        return false;
    if (mPendingAdditive != Operation::None) {
        if (!apply(mPendingAdditive, operand())) {
            abortOperation();
            return false;
        }
        mPendingAdditive = Operation::None;
    } else {
        mSum = operand();
    }
    showNumber(mSum);
    mSum = 0.0;
    mWaitingForOperand = true;
    return true;
}

void CalculatorWidget::equalClicked()
{
    performEqual();
}

void CalculatorWidget::pointClicked()
{
    if (mWaitingForOperand)
        mDisplay->setText(QStringLiteral("0"));
    const QString point = tr(".");
    if (!mDisplay->text().contains(point))
        mDisplay->setText(mDisplay->text() + point);
    mWaitingForOperand = false;
}

void CalculatorWidget::changeSignClicked()
{
    QString text = mDisplay->text();
    const double value = operand();
    if (value > 0.0) {
        // On a full display the sign would push out the last digit.
        if (text.size() >= kDisplayLength)
            return;
        text.prepend(tr("-"));
    } else if (value < 0.0) {
        text.remove(0, 1);
    }
    mDisplay->setText(text);
}

void CalculatorWidget::backspaceClicked()
{
    if (mWaitingForOperand)
        return;
    QString text = mDisplay->text();
    text.chop(1);
    // A lone sign is no number either.
    if (text.isEmpty() || text == tr("-")) {
        text = QStringLiteral("0");
        mWaitingForOperand = true;
    }
    mDisplay->setText(text);
}

void CalculatorWidget::clear()
{
    if (mWaitingForOperand)
        return;
    mDisplay->setText(QStringLiteral("0"));
    mWaitingForOperand = true;
}

void CalculatorWidget::clearAll()
{
    mSum = 0.0;
    mFactor = 0.0;
    mPendingAdditive = Operation::None;
    mPendingMultiplicative = Operation::None;
    mDisplay->setText(QStringLiteral("0"));
    mWaitingForOperand = true;
}

void CalculatorWidget::clearMemory()
{
    mMemory = 0.0;
}

void CalculatorWidget::readMemory()
{
    showNumber(mMemory);
    mWaitingForOperand = false;
}

void CalculatorWidget::setMemory()
{
    if (performEqual())
        mMemory = operand();
}

void CalculatorWidget::addToMemory()
{
    if (!performEqual())
        return;
    const double sum = mMemory + operand();
    if (!std::isfinite(sum)) {
        abortOperation();
        return;
    }
    mMemory = sum;
}

void CalculatorWidget::donePressed()
{
    emit commitValue(operand());
    close();
}
