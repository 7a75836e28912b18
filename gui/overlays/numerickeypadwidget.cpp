#include "numerickeypadwidget.h"

#include "cpopupquery.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "modalpopups.h"
#include "qtelidedlabel.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVariant>

NumericKeypadWidget::NumericKeypadWidget(const QString& title, QWidget* parent)
    : BackgroundWidget(parent), mTitle(new QtElidedLabel(Qt::ElideRight, this)), mTitleText(title),
      mEntry(new QLineEdit(this))
{
    ModalPopups::makeWindow(this);
    setContentsMargins(0, 0, 0, 0);
    setProperty("hasBorder", true);
    setProperty("hasHighlightedBorder", true);

    mTitle->setAlignment(Qt::AlignHCenter);

    mEntry->setObjectName("m_lineEdit");
    mEntry->setAlignment(Qt::AlignCenter);
    mEntry->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    mEntry->setProperty("hasBorder", true);
    mEntry->setProperty("hasBackground", true);

    mCancel = addKey(nullptr);
    mAccept = addKey(nullptr);
    static const char* const kDigitKeys[10] = {"0x30", "0x31", "0x32", "0x33", "0x34",
                                               "0x35", "0x36", "0x37", "0x38", "0x39"};
    for (int d = 0; d < 10; ++d)
        mDigits[d] = addKey(kDigitKeys[d]);
    mBackspace = addKey("0x01000003");
    mPoint = addKey("0x2E");
    mClear = addKey(nullptr);
    mSign = addKey(nullptr);

    for (KestromPushButton* key : {mCancel, mAccept}) {
        key->setProperty("transparent", true);
        key->setIconSize(GuiGeometry::keypadButtonSize());
    }
    mCancel->setSvgIcon(":/images/cancel.svg", GuiGeometry::keypadButtonSize());
    mAccept->setSvgIcon(":/images/accept.svg", GuiGeometry::keypadButtonSize());
    mBackspace->setText("<--");

    connect(mCancel, &QAbstractButton::pressed, this, &QWidget::close);
    connect(mAccept, &QAbstractButton::pressed, this, &NumericKeypadWidget::acceptPressed);
    connect(mClear, &QAbstractButton::pressed, this, &NumericKeypadWidget::clearEntry);
    connect(mSign, &QAbstractButton::pressed, this, &NumericKeypadWidget::togglePlusMinus);

    QGridLayout* grid = new QGridLayout;
    grid->setSpacing(GuiGeometry::keypadSpacing());
    grid->setContentsMargins(GuiGeometry::keypadMargins());
    for (int column = 0; column < 4; ++column)
        grid->setColumnStretch(column, 1);
    grid->addWidget(mTitle, 0, 0, 1, 4);
    grid->addWidget(mCancel, 1, 0);
    grid->addWidget(mEntry, 1, 1, 1, 2);
    grid->addWidget(mAccept, 1, 3);
    for (int d = 1; d <= 9; ++d)
        grid->addWidget(mDigits[d], 2 + (d - 1) / 3, (d - 1) % 3);
    grid->addWidget(mClear, 2, 3);
    grid->addWidget(mBackspace, 3, 3);
    grid->addWidget(mDigits[0], 5, 0);
    grid->addWidget(mPoint, 5, 1);
    grid->addWidget(mSign, 5, 2);
    setLayout(grid);
    retranslate();
    // At its size hint the keys are too small for a finger; an opener that
    // wants another size resizes it before showing it.
    resize(GuiGeometry::popupOffset());
    fitTitle();
}

void NumericKeypadWidget::fitTitle()
{
    // A style sheet's font-size overrides setFont, and the label's own sheet
    // overrides the application's: measure the label's font without its own
    // sheet, then set the title's size in its own sheet.
    mTitle->setStyleSheet(QString());
    QFont font = mTitle->font();
    const bool inPixels = font.pixelSize() > 0;
    const qreal labelSize = inPixels ? font.pixelSize() : font.pointSizeF();
    const QMargins margins = GuiGeometry::keypadMargins();
    const int room = contentsRect().width() - margins.left() - margins.right();
    // Twice the label's size; a title too long for that is made smaller, down
    // to the label's size, so that it stays whole, and only then shortened.
    qreal size = 2 * labelSize;
    for (; size > labelSize; size -= inPixels ? 1.0 : 0.5) {
        if (inPixels)
            font.setPixelSize(qRound(size));
        else
            font.setPointSizeF(size);
        // Fractional widths, as the label elides: rounded glyph widths may fit where the text does not.
        if (QFontMetricsF(font).horizontalAdvance(mTitleText) <= room)
            break;
    }
    size = qMax(size, labelSize);
    mTitle->setStyleSheet(inPixels ? QStringLiteral("font-size: %1px;").arg(qRound(size))
                                   : QStringLiteral("font-size: %1pt;").arg(size));
    mTitle->setElidedText(mTitleText);
}

KestromPushButton* NumericKeypadWidget::addKey(const char* accessibleKey)
{
    KestromPushButton* key = new KestromPushButton(this);
    key->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    if (accessibleKey != nullptr)
        key->setAccessibleName(QString::fromLatin1(accessibleKey));
    const int index = mKeys.size();
    mKeys.append(key);
    connect(key, &QAbstractButton::pressed, this, [this, index] { buttonClicked(index); });
    return key;
}

void NumericKeypadWidget::retranslate()
{
    static const char* const kDigits[10] = {QT_TR_NOOP("0"), QT_TR_NOOP("1"), QT_TR_NOOP("2"), QT_TR_NOOP("3"),
                                            QT_TR_NOOP("4"), QT_TR_NOOP("5"), QT_TR_NOOP("6"), QT_TR_NOOP("7"),
                                            QT_TR_NOOP("8"), QT_TR_NOOP("9")};
    for (int d = 0; d < 10; ++d)
        mDigits[d]->setText(tr(kDigits[d]));
    mPoint->setText(tr("."));
    mClear->setText(tr("Clear"));
    mSign->setText(tr("-/+"));
}

void NumericKeypadWidget::timedUpdate()
{
}

void NumericKeypadWidget::setTitle(const QString& title)
{
    mTitleText = title;
    fitTitle();
}

void NumericKeypadWidget::setValue(double value)
{
    mEntry->setText(QStringLiteral("%1").arg(value, 0, 'g', -1));
}

void NumericKeypadWidget::setRange(double minimum, double maximum, int decimals, const QString& units)
{
    mMinimum = minimum;
    mMaximum = maximum;
    mDecimals = decimals;
    mUnits = units;
    mRangeSet = true;
    mSign->setEnabled(minimum < 0);
}

void NumericKeypadWidget::buttonClicked(int index)
{
    if (index < 0 || index >= mKeys.size())
        return;
    KestromPushButton* key = mKeys.at(index);
    bool isNumber = false;
    const int code = static_cast<int>(key->accessibleName().toUInt(&isNumber, 16));
    if (!isNumber)
        return;
    if (mClearOnFirstKey) {
        mClearOnFirstKey = false;
        mEntry->clear();
    }
    // The character typed is the key's own, not its label: a translation may
    // write the digits otherwise, and the entry is read back as a C number.
    const QString typed = code < 0x10000 && QChar(code).isPrint() ? QString(QChar(code)) : QString();
    QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, typed, false, 1);
    QApplication::sendEvent(mEntry, &press);
}

void NumericKeypadWidget::clearEntry()
{
    mEntry->clear();
}

void NumericKeypadWidget::togglePlusMinus()
{
    setValue(-mEntry->text().trimmed().toDouble());
}

void NumericKeypadWidget::acceptPressed()
{
    const QString text = mEntry->text().trimmed();
    bool isNumber = false;
    const double value = text.toDouble(&isNumber);
    // Text that is no number ("1..5", ".", "-") is refused, never taken as 0.
    const bool valid = isNumber && (!mRangeSet || (value >= mMinimum && value <= mMaximum)) && !mCommitted;
    if (valid) {
        mCommitted = true;
        emit commitValue(value);
        close();
        return;
    }
    if (mCommitted)
        return;
    QString message = tr("Invalid value!");
    if (mMinimum != mMaximum)
        message = tr("Invalid value! Value must be between %L1 and %L2 %3.",
                     "%L1 is the minimum value, %L2 is the maximum value, %3 is the units")
                      .arg(mMinimum, 0, 'g', 6)
                      .arg(mMaximum, 0, 'g', 6)
                      .arg(mUnits);
    CPopupQuery* query = CPopupQuery::showOk(message, 1, 0);
    close();
    connect(query, &CPopupQuery::ResponseReceived, this, &NumericKeypadWidget::handleOkayResponse);
}

void NumericKeypadWidget::handleOkayResponse()
{
    show();
}

void NumericKeypadWidget::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        close();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        acceptPressed();
        break;
    default:
        BackgroundWidget::keyPressEvent(event);
    }
}

void NumericKeypadWidget::showEvent(QShowEvent* event)
{
    // The keypad never takes the 100 ms beat: the base's handler is not called.
    if (event->spontaneous())
        return;
    mCommitted = false;
    mClearOnFirstKey = true;
    // The colour scheme, and with it the font size, may have changed since.
    fitTitle();
    mEntry->grabKeyboard();
}

void NumericKeypadWidget::hideEvent(QHideEvent* event)
{
    if (event->spontaneous())
        return;
    mEntry->releaseKeyboard();
}

void NumericKeypadWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    BackgroundWidget::changeEvent(event);
}

void NumericKeypadWidget::resizeEvent(QResizeEvent* event)
{
    BackgroundWidget::resizeEvent(event);
    fitTitle();
}
