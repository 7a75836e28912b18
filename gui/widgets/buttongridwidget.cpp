#include "buttongridwidget.h"

#include "flowlayout.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"

#include <QHBoxLayout>
#include <QStackedWidget>
#include <QStyle>
#include <QVariant>

ButtonGridWidget::ButtonGridWidget(QWidget* parent) : BackgroundWidget(parent), mStack(new QStackedWidget)
{
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setWindowModality(Qt::ApplicationModal);
    setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < MaxPages; ++i) {
        mArrows[i] = new KestromPushButton(NextPageId, this);
        mArrows[i]->setMinimumSize(GuiGeometry::iconSize90());
        mArrows[i]->setSvgIcon(i < MaxPages - 1 ? ":/images/arrow_right_green.svg" : ":/images/arrow_left_green.svg",
                               GuiGeometry::iconSize70());
        mArrows[i]->hide();

        mPages[i] = new QWidget;
        mPages[i]->resize(GuiGeometry::fullPageSize());
        mPages[i]->setProperty("hasBorder", true);
        mPages[i]->setProperty("hasHighlightedBorder", true);
        mPageLayouts[i] = new FlowLayout(mPages[i], GuiGeometry::buttonGridMargin(), 8, 8);
        mStack->addWidget(mPages[i]);
    }
    QHBoxLayout* layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mStack);
    setLayout(layout);
}

void ButtonGridWidget::timedUpdate()
{
}

int ButtonGridWidget::slotsPerPage() const
{
    return GuiGeometry::buttonGridPageSize();
}

bool ButtonGridWidget::isArrow(const KestromPushButton* button) const
{
    for (const KestromPushButton* arrow : mArrows)
        if (arrow == button)
            return true;
    return false;
}

void ButtonGridWidget::pageBreak()
{
    mSlots[mSlotCount] = mSlots.value(mSlotCount - 1);
    if (mPageCount < MaxPages)
        mSlots[mSlotCount - 1] = mArrows[mPageCount - 1];
    ++mSlotCount;
    ++mPageCount;
}

bool ButtonGridWidget::addButton(KestromPushButton* button)
{
    const int perPage = slotsPerPage();
    if (button == nullptr)
        return false;
    if (mLaidOut)
        clearButtons();
    // A full grid refuses, unchanged: a seventh page could never be laid out.
    if (mOptionCount >= MaxPages * (perPage - 1))
        return false;
    if (mSlotCount == perPage * mPageCount)
        pageBreak();
    if (mSlotCount >= perPage * MaxPages)
        return false;
    mSlots[mSlotCount] = button;
    ++mSlotCount;
    ++mOptionCount;
    const bool isOption = button->id() != NextPageId;
    if (mSlotCount <= perPage)
        return isOption;
    if (mSlotCount == perPage * mPageCount)
        pageBreak();
    // Behind the last option until the next one takes its place.
    mSlots[mSlotCount] = mArrows[MaxPages - 1];
    return isOption;
}

bool ButtonGridWidget::layoutPage()
{
    if (mSlotCount == 0 || mPageCount > MaxPages)
        return false;
    int page = 1;
    for (KestromPushButton* button : mSlots) {
        mPageLayouts[page - 1]->addWidget(button);
        button->show();
        if (button->id() == NextPageId)
            ++page;
    }
    bool connected = true;
    mButtons = findChildren<KestromPushButton*>();
    for (KestromPushButton* button : mButtons) {
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        // Laying out twice must not connect a button twice.
        disconnect(button, &KestromPushButton::takeAction, this, &ButtonGridWidget::buttonClicked);
        connected = connect(button, &KestromPushButton::takeAction, this, &ButtonGridWidget::buttonClicked) &&
                    connected;
    }
    mLaidOut = true;
    return connected;
}

bool ButtonGridWidget::clearButtons()
{
    if (!mLaidOut)
        return true;
    bool disconnected = true;
    for (KestromPushButton* button : mButtons)
        disconnected = button->disconnect(SIGNAL(takeAction(int))) && disconnected;
    for (KestromPushButton* button : mSlots) {
        if (isArrow(button)) {
            button->hide();
            button->setParent(this);
        } else {
            button->setParent(nullptr);
        }
    }
    mSlots.clear();
    mButtons.clear();
    mSlotCount = 0;
    mOptionCount = 0;
    mCurrentPage = 1;
    mPageCount = 1;
    mStack->setCurrentIndex(0);
    mLaidOut = false;
    return disconnected;
}

void ButtonGridWidget::setHighlightedButton(int id)
{
    if (mSlotCount == 0 || mPageCount > MaxPages)
        return;
    for (KestromPushButton* button : mSlots) {
        button->setProperty("hasHighlightedBorder", button->id() == id);
        button->style()->unpolish(button);
        button->style()->polish(button);
    }
}

QList<KestromPushButton*> ButtonGridWidget::pageButtons(int page) const
{
    QList<KestromPushButton*> buttons;
    if (page < 1 || page > MaxPages)
        return buttons;
    FlowLayout* layout = mPageLayouts[page - 1];
    for (int i = 0; i < layout->count(); ++i)
        if (KestromPushButton* button = qobject_cast<KestromPushButton*>(layout->itemAt(i)->widget()))
            buttons.append(button);
    return buttons;
}

void ButtonGridWidget::buttonClicked(int id)
{
    if (id == NextPageId) {
        ++mCurrentPage;
        if (mCurrentPage > mPageCount)
            mCurrentPage = 1;
        mStack->setCurrentIndex(mCurrentPage - 1);
        return;
    }
    emit commitSelection(id);
    mCurrentPage = 1;
    mStack->setCurrentIndex(0);
    close();
}
