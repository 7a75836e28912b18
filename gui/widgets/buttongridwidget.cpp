#include "buttongridwidget.h"

#include "flowlayout.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "modalpopups.h"

#include <QHBoxLayout>
#include <QStackedWidget>
#include <QStyle>
#include <QVariant>

namespace {

const int kSpacing = 8;

// The size a flow layout gives the button: its hint within its limits.
QSize placedSize(const KestromPushButton* button)
{
    return button->sizeHint()
        .expandedTo(button->minimumSizeHint())
        .boundedTo(button->maximumSize())
        .expandedTo(button->minimumSize());
}

}  // namespace

ButtonGridWidget::ButtonGridWidget(QWidget* parent)
    : BackgroundWidget(parent), mBackArrow(new KestromPushButton(NextPageId, this)), mStack(new QStackedWidget)
{
    ModalPopups::makeWindow(this);
    setContentsMargins(0, 0, 0, 0);
    mBackArrow->setMinimumSize(GuiGeometry::iconSize90());
    mBackArrow->setSvgIcon(":/images/arrow_left_green.svg", GuiGeometry::iconSize70());
    mBackArrow->hide();
    connect(mBackArrow, &KestromPushButton::takeAction, this, &ButtonGridWidget::buttonClicked);
    addPage();
    QHBoxLayout* layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mStack);
    setLayout(layout);
    resize(GuiGeometry::fullPageSize());
}

void ButtonGridWidget::timedUpdate()
{
}

void ButtonGridWidget::addPage()
{
    QWidget* page = new QWidget;
    page->resize(GuiGeometry::fullPageSize());
    page->setProperty("hasBorder", true);
    page->setProperty("hasHighlightedBorder", true);
    mPageLayouts.append(new FlowLayout(page, GuiGeometry::buttonGridMargin(), kSpacing, kSpacing));
    mPages.append(page);
    mStack->addWidget(page);
}

KestromPushButton* ButtonGridWidget::nextArrow(int index)
{
    while (mNextArrows.size() <= index) {
        KestromPushButton* arrow = new KestromPushButton(NextPageId, this);
        arrow->setMinimumSize(GuiGeometry::iconSize90());
        arrow->setSvgIcon(":/images/arrow_right_green.svg", GuiGeometry::iconSize70());
        arrow->hide();
        connect(arrow, &KestromPushButton::takeAction, this, &ButtonGridWidget::buttonClicked);
        mNextArrows.append(arrow);
    }
    return mNextArrows.at(index);
}

// Whether the buttons, placed as the page's flow layout places them, stay
// inside the page.
bool ButtonGridWidget::fitsOnPage(const QList<KestromPushButton*>& buttons) const
{
    const int margin = GuiGeometry::buttonGridMargin();
    const QSize area = contentsRect().size() - QSize(2 * margin, 2 * margin);
    int x = 0;
    int y = 0;
    int lineHeight = 0;
    for (const KestromPushButton* button : buttons) {
        const QSize size = placedSize(button);
        if (size.width() > area.width())
            return false;
        if (x > 0 && x + size.width() > area.width()) {
            x = 0;
            y += lineHeight + kSpacing;
            lineHeight = 0;
        }
        x += size.width() + kSpacing;
        lineHeight = qMax(lineHeight, size.height());
    }
    return y + lineHeight <= area.height();
}

void ButtonGridWidget::paginate()
{
    const int perPage = GuiGeometry::buttonGridPageSize();
    const QSize touchable = GuiGeometry::menuButtonSize();
    for (KestromPushButton* option : mOptions)
        option->setMinimumSize(option->minimumSize().expandedTo(touchable));
    mPageOptions.clear();
    mPlacedFor = contentsRect().size();
    if (mOptions.size() <= perPage && fitsOnPage(mOptions)) {
        mPageOptions.append(mOptions);
        return;
    }
    // Pages of at most perPage - 1 options and their arrow, as many as fit;
    // every page takes at least one option, even one too large for any page.
    // Both arrows have the same size, so any one stands for both in the test.
    KestromPushButton* arrow = mBackArrow;
    int first = 0;
    while (first < mOptions.size()) {
        int count = qMin(perPage - 1, mOptions.size() - first);
        while (count > 1 && !fitsOnPage(mOptions.mid(first, count) << arrow))
            --count;
        mPageOptions.append(mOptions.mid(first, count));
        first += count;
    }
}

bool ButtonGridWidget::addButton(KestromPushButton* button)
{
    if (button == nullptr)
        return false;
    if (mLaidOut)
        clearButtons();
    // A full grid refuses, unchanged.
    if (mOptions.size() >= MaxOptions)
        return false;
    mOptions.append(button);
    paginate();
    return button->id() != NextPageId;
}

void ButtonGridWidget::placeOnPages()
{
    for (FlowLayout* layout : mPageLayouts)
        while (QLayoutItem* item = layout->takeAt(0))
            delete item;
    for (KestromPushButton* arrow : mNextArrows)
        arrow->hide();
    mBackArrow->hide();
    while (mPages.size() < mPageOptions.size())
        addPage();
    for (int page = 1; page <= mPageOptions.size(); ++page) {
        QList<KestromPushButton*> buttons = mPageOptions.at(page - 1);
        if (mPageOptions.size() > 1)
            buttons << (page < mPageOptions.size() ? nextArrow(page - 1) : mBackArrow);
        for (KestromPushButton* button : buttons) {
            mPageLayouts.at(page - 1)->addWidget(button);
            button->show();
        }
    }
    if (mCurrentPage > mPageOptions.size())
        mCurrentPage = 1;
    showPage(mCurrentPage);
}

bool ButtonGridWidget::layoutPage()
{
    if (mOptions.isEmpty())
        return false;
    paginate();
    placeOnPages();
    // The arrows are the grid's own and stay connected.
    bool connected = true;
    for (KestromPushButton* button : mOptions) {
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
    for (KestromPushButton* option : mOptions)
        disconnected = option->disconnect(SIGNAL(takeAction(int))) && disconnected;
    for (FlowLayout* layout : mPageLayouts)
        while (QLayoutItem* item = layout->takeAt(0))
            delete item;
    for (KestromPushButton* option : mOptions)
        option->setParent(nullptr);
    for (KestromPushButton* arrow : mNextArrows) {
        arrow->hide();
        arrow->setParent(this);
    }
    mBackArrow->hide();
    mBackArrow->setParent(this);
    mOptions.clear();
    mPageOptions.clear();
    mCurrentPage = 1;
    mStack->setCurrentIndex(0);
    mLaidOut = false;
    return disconnected;
}

void ButtonGridWidget::setHighlightedButton(int id)
{
    for (KestromPushButton* button : mOptions) {
        button->setProperty("hasHighlightedBorder", button->id() == id);
        button->style()->unpolish(button);
        button->style()->polish(button);
    }
}

QList<KestromPushButton*> ButtonGridWidget::pageButtons(int page) const
{
    QList<KestromPushButton*> buttons;
    if (!mLaidOut || page < 1 || page > mPageOptions.size())
        return buttons;
    FlowLayout* layout = mPageLayouts.at(page - 1);
    for (int i = 0; i < layout->count(); ++i)
        if (KestromPushButton* button = qobject_cast<KestromPushButton*>(layout->itemAt(i)->widget()))
            buttons.append(button);
    return buttons;
}

void ButtonGridWidget::showPage(int page)
{
    mCurrentPage = page;
    mStack->setCurrentIndex(page - 1);
}

void ButtonGridWidget::resizeEvent(QResizeEvent* event)
{
    BackgroundWidget::resizeEvent(event);
    // What fits on a page depends on its size.
    if (mLaidOut && contentsRect().size() != mPlacedFor) {
        paginate();
        placeOnPages();
    }
}

void ButtonGridWidget::buttonClicked(int id)
{
    if (id == NextPageId) {
        showPage(mCurrentPage < mPageOptions.size() ? mCurrentPage + 1 : 1);
        return;
    }
    emit commitSelection(id);
    showPage(1);
    close();
}
