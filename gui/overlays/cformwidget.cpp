#include "cformwidget.h"

#include "kestrompushbutton.h"
#include "overlaystyle.h"
#include "qtelidedlabel.h"
#include "touchdragscroll.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QScrollArea>
#include <QSpacerItem>
#include <QVBoxLayout>

CFormWidget::CFormWidget(QWidget* parent)
    : QWidget(parent), mMainLayout(new QVBoxLayout), mBodyLayout(new QHBoxLayout),
      mHeaderLayout(new QGridLayout), mButtonLayout(new QGridLayout),
      mSpacer(new QSpacerItem(10, 10, QSizePolicy::Minimum, QSizePolicy::Minimum))
{
    const OverlayStyle::FormMetrics metrics = OverlayStyle::formMetrics(this);
    mSpacer->changeSize(metrics.spacerSize, metrics.spacerSize, QSizePolicy::Minimum, QSizePolicy::Minimum);
    mHeaderLayout->setColumnStretch(0, 1);
    mHeaderLayout->setColumnStretch(1, 10);
    mHeaderLayout->setColumnStretch(2, 1);
    mMainLayout->setContentsMargins(metrics.margin, metrics.margin, metrics.margin, metrics.margin);
    mMainLayout->addLayout(mHeaderLayout);
    mMainLayout->addStretch(1);
    mMainLayout->addLayout(mBodyLayout);
    mMainLayout->addStretch(3);
    setLayout(mMainLayout);
    OverlayStyle::styleForm(this);
}

void CFormWidget::setTitle(const QString& text)
{
    if (text.isEmpty()) {
        delete mTitle;
        mTitle = nullptr;
        return;
    }
    if (mTitle == nullptr) {
        // A title wider than the form is shortened at its end, never cut at
        // both: the label fills its column and centres the text itself.
        mTitle = new QtElidedLabel(Qt::ElideRight, this);
        OverlayStyle::styleTitleLabel(mTitle);
        mHeaderLayout->addWidget(mTitle, 0, 1);
    }
    mTitle->setElidedText(text);
}

void CFormWidget::setText(const QString& text, bool textLeftAligned)
{
    if (text.isEmpty()) {
        delete mTextArea;
        mTextArea = nullptr;
        mText = nullptr;
        return;
    }
    const bool created = mText == nullptr;
    if (created)
        mText = new QLabel;
    mText->setStyleSheet(textLeftAligned ? QStringLiteral("qproperty-alignment: AlignLeft;")
                                         : QStringLiteral("qproperty-alignment: AlignCenter;"));
    mText->setText(text);
    if (created) {
        OverlayStyle::styleTextLabel(mText);
        // A text longer than the form has room for scrolls: no line is lost.
        mText->setMaximumHeight(QWIDGETSIZE_MAX);
        mTextArea = new QScrollArea(this);
        mTextArea->setFrameShape(QFrame::NoFrame);
        mTextArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        mTextArea->setWidgetResizable(true);
        mTextArea->setAutoFillBackground(false);
        mTextArea->viewport()->setAutoFillBackground(false);
        mTextArea->setWidget(mText);
        new TouchDragScroll(mTextArea->viewport(), mTextArea);
        mBodyLayout->insertWidget(mBodyLeadingIcon != nullptr ? 1 : 0, mTextArea);
    }
}

QLabel*& CFormWidget::iconPlace(bool leading, bool inHeader)
{
    if (inHeader)
        return leading ? mHeaderLeftIcon : mHeaderRightIcon;
    return leading ? mBodyLeadingIcon : mBodyTrailingIcon;
}

QLabel* CFormWidget::iconLabel(bool leading, bool inHeader) const
{
    return const_cast<CFormWidget*>(this)->iconPlace(leading, inHeader);
}

void CFormWidget::placeIcon(QLabel* label, bool leading, bool inHeader)
{
    if (inHeader)
        mHeaderLayout->addWidget(label, 0, leading ? 0 : 2, leading ? Qt::AlignLeft : Qt::AlignRight);
    else if (leading)
        mBodyLayout->insertWidget(0, label);
    else
        mBodyLayout->addWidget(label);
}

void CFormWidget::setIcon(const QPixmap& pixmap, bool leading, bool inHeader)
{
    QLabel*& place = iconPlace(leading, inHeader);
    if (pixmap.isNull()) {
        delete place;
        place = nullptr;
        return;
    }
    if (place == nullptr) {
        place = new QLabel(this);
        placeIcon(place, leading, inHeader);
    }
    place->setPixmap(pixmap);
}

void CFormWidget::setButtonGrid(int rows, int columns)
{
    const int total = rows * columns;
    if (total == mButtonCount && rows == mButtonRows && columns == mButtonColumns)
        return;
    if (total <= 0) {
        for (KestromPushButton* button : mButtons) {
            button->disconnect(this);
            mButtonLayout->removeWidget(button);
            delete button;
        }
        mButtons.clear();
        if (mButtonRowShown) {
            mMainLayout->removeItem(mSpacer);
            mMainLayout->removeItem(mButtonLayout);
            mButtonLayout->setParent(nullptr);
            mButtonRowShown = false;
        }
        mButtonRows = mButtonColumns = mButtonCount = 0;
        return;
    }
    if (!mButtonRowShown) {
        mMainLayout->addItem(mSpacer);
        mMainLayout->addLayout(mButtonLayout);
        mButtonRowShown = true;
    }
    while (mButtons.size() < total) {
        KestromPushButton* button = OverlayStyle::createFormButton(this, mButtons.size());
        connect(button, &CIdPushButton::Pressed, this, &CFormWidget::vButtonPressed);
        connect(button, &CIdPushButton::Released, this, &CFormWidget::vButtonReleased);
        connect(button, &CIdPushButton::Toggled, this, &CFormWidget::vButtonToggleChanged);
        mButtons.append(button);
    }
    while (mButtons.size() > total) {
        KestromPushButton* button = mButtons.takeLast();
        mButtonLayout->removeWidget(button);
        delete button;
    }
    mButtonRows = rows;
    mButtonColumns = columns;
    mButtonCount = total;
    for (KestromPushButton* button : mButtons)
        mButtonLayout->removeWidget(button);
    for (int i = 0; i < mButtons.size(); ++i)
        mButtonLayout->addWidget(mButtons.at(i), i / columns, i % columns);
}

CFormWidget::~CFormWidget()
{
    // Out of the main layout, the button row is the form's own to delete.
    if (!mButtonRowShown) {
        delete mSpacer;
        delete mButtonLayout;
    }
}

bool CFormWidget::hasButtonRow() const
{
    return mMainLayout->indexOf(mButtonLayout) >= 0 && mMainLayout->indexOf(mSpacer) >= 0;
}

KestromPushButton* CFormWidget::button(int index) const
{
    return index >= 0 && index < mButtons.size() ? mButtons.at(index) : nullptr;
}

void CFormWidget::setButtonText(int index, const QString& text)
{
    if (KestromPushButton* b = button(index))
        b->setText(text);
}

void CFormWidget::setButtonIcon(int index, const QIcon& icon)
{
    if (KestromPushButton* b = button(index))
        b->setIcon(icon);
}

void CFormWidget::setButtonSpacing(int pixels)
{
    mButtonLayout->setSpacing(pixels);
}

void CFormWidget::vButtonPressed(int id)
{
    emit ButtonPressed(this, id);
}

void CFormWidget::vButtonReleased(int id)
{
    emit ButtonReleased(this, id);
}

void CFormWidget::vButtonToggleChanged(int id, bool on)
{
    emit ButtonToggleChanged(this, id, on);
}

void CFormWidget::paintEvent(QPaintEvent*)
{
    if (mPaintBackground)
        OverlayStyle::paintStyledBackground(this);
}

void CFormWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    emit Resized();
}
