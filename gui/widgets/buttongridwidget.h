#pragma once
// The modal pop-up through which the operator picks one of several options.
// The owning page adds one button per option (its id is the option's value);
// the grid pages through them, at most 8 slots a page: up to 8 options on a
// single page, else at most 7 options and an arrow on each page, the last
// page's arrow leading back to the first. A page never holds more than it
// shows: options that do not fit go on to the next page. Options are at least
// a menu button in size. At most 42 options. A choice emits commitSelection(id).
// The grid is a modal window of its own whatever its parent, and opens at the
// full page size unless the opener resizes it.
#include "backgroundwidget.h"

#include <QList>
#include <QSize>

class FlowLayout;
class KestromPushButton;
class QStackedWidget;

class ButtonGridWidget : public BackgroundWidget {
    Q_OBJECT
public:
    enum : int { NextPageId = 9999, MaxOptions = 42 };

    explicit ButtonGridWidget(QWidget* parent = nullptr);

    // Appends an option. The grid takes it as a child while laid out and hands
    // it back on clearing; a grid destroyed while laid out takes its options
    // with it. False when the grid is full (nothing changes), else whether the
    // id differs from 9999. Adding after a layout starts a new set.
    bool addButton(KestromPushButton* button);
    // False when there is no option, else whether every connection succeeded.
    bool layoutPage();
    // Hands every option back without parent and empties the grid.
    bool clearButtons();
    // Marks the option with that id; the current page stays.
    void setHighlightedButton(int id);

    int currentPage() const { return mCurrentPage; }
    int pageCount() const { return mPageOptions.size(); }
    // The buttons laid out on a page (1-based), in order, arrows included.
    QList<KestromPushButton*> pageButtons(int page) const;

    void timedUpdate() override;

signals:
    void commitSelection(int id);

public slots:
    void buttonClicked(int id);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void paginate();
    void placeOnPages();
    bool fitsOnPage(const QList<KestromPushButton*>& buttons) const;
    KestromPushButton* nextArrow(int index);
    void addPage();
    void showPage(int page);

    QList<KestromPushButton*> mOptions;
    // The options of each page, in order; the arrows are added when placing.
    QList<QList<KestromPushButton*>> mPageOptions;
    int mCurrentPage = 1;
    bool mLaidOut = false;
    QList<KestromPushButton*> mNextArrows;
    KestromPushButton* mBackArrow;
    QList<QWidget*> mPages;
    QList<FlowLayout*> mPageLayouts;
    QStackedWidget* mStack;
    QSize mPlacedFor;
};
