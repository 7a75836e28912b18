#pragma once
// The modal pop-up through which the operator picks one of several options.
// The owning page adds one button per option (its id is the option's value);
// the grid pages through them, 8 slots a page: up to 8 options on a single
// page, else 7 options and an arrow on each page, the last page's arrow leading
// back to the first. At most 42 options. A choice emits commitSelection(id).
#include "backgroundwidget.h"

#include <QList>
#include <QMap>

class FlowLayout;
class KestromPushButton;
class QStackedWidget;

class ButtonGridWidget : public BackgroundWidget {
    Q_OBJECT
public:
    enum : int { NextPageId = 9999, MaxPages = 6 };

    explicit ButtonGridWidget(QWidget* parent = nullptr);

    // Appends an option. The grid takes it as a child while laid out and hands
    // it back on clearing; a grid destroyed while laid out takes its options
    // with it. False when the grid is full (nothing changes), else whether the
    // id differs from 9999. Adding after a layout starts a new set.
    bool addButton(KestromPushButton* button);
    bool layoutPage();
    // Hands every option back without parent and empties the grid.
    bool clearButtons();
    // Marks the option with that id; the current page stays.
    void setHighlightedButton(int id);

    int currentPage() const { return mCurrentPage; }
    int pageCount() const { return mPageCount; }
    // The buttons laid out on a page (1-based), in order, arrows included.
    QList<KestromPushButton*> pageButtons(int page) const;

    void timedUpdate() override;

signals:
    void commitSelection(int id);

public slots:
    void buttonClicked(int id);

private:
    int slotsPerPage() const;
    void pageBreak();
    bool isArrow(const KestromPushButton* button) const;

    QMap<int, KestromPushButton*> mSlots;
    int mSlotCount = 0;
    int mOptionCount = 0;
    int mCurrentPage = 1;
    int mPageCount = 1;
    bool mLaidOut = false;
    QList<KestromPushButton*> mButtons;
    KestromPushButton* mArrows[MaxPages];
    QWidget* mPages[MaxPages];
    FlowLayout* mPageLayouts[MaxPages];
    QStackedWidget* mStack;
};
