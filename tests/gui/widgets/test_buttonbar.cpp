#include "flowlayout.h"
#include "gui_test.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "toolsviewbuttonbar.h"

#include <doctest/doctest.h>

#include <QSignalSpy>
#include <QWidgetItem>

namespace {

KestromPushButton* barButton(ToolsViewWidgets::ToolsViewButtonBar& bar, int id)
{
    for (KestromPushButton* button : bar.findChildren<KestromPushButton*>())
        if (button->id() == id)
            return button;
    return nullptr;
}

// A fixed-size item for the flow layout.
QWidgetItem* fixedItem(QWidget* parent, int w, int h)
{
    QWidget* widget = new QWidget(parent);
    widget->setFixedSize(w, h);
    return new QWidgetItem(widget);
}

}  // namespace

TEST_CASE("a new button bar shows only home, and reports each touched button's id")
{
    guiApplication();
    GuiGeometry::setDesignType(3);
    GuiGeometry::setDisplayType(3);
    QWidget page;
    page.resize(480, 272);
    ToolsViewWidgets::ToolsViewButtonBar* bar = new ToolsViewWidgets::ToolsViewButtonBar(&page);
    bar->setGeometry(410, 0, 70, 272);
    page.show();
    QSignalSpy touched(bar, &ToolsViewWidgets::ToolsViewButtonBar::buttonTouched);

    KestromPushButton* back = barButton(*bar, 0);
    KestromPushButton* next = barButton(*bar, 1);
    KestromPushButton* home = barButton(*bar, 2);
    REQUIRE(back);
    REQUIRE(next);
    REQUIRE(home);
    CHECK_FALSE(back->isVisible());
    CHECK_FALSE(next->isVisible());
    CHECK(home->isVisible());
    CHECK(home->iconSize() == QSize(55, 55));
    CHECK(home->maximumSize() == QSize(60, 60));

    tap(home);
    REQUIRE(touched.count() == 1);
    CHECK(touched.at(0).at(0).toInt() == 2);

    SUBCASE("back at the top, next in the middle, home at the bottom; hiding next moves nothing")
    {
        bar->setButtonsVisible(true, true, true);
        pumpEvents();
        const int backY = back->mapTo(bar, QPoint(0, 0)).y();
        const int nextY = next->mapTo(bar, QPoint(0, 0)).y();
        const int homeY = home->mapTo(bar, QPoint(0, 0)).y();
        CHECK(backY == 0);
        CHECK(backY < nextY);
        CHECK(nextY < homeY);
        CHECK(homeY + home->height() >= 272 - 1);
        bar->setButtonsVisible(true, false, true);
        pumpEvents();
        CHECK_FALSE(next->isVisible());
        CHECK(back->mapTo(bar, QPoint(0, 0)).y() == backY);
        CHECK(home->mapTo(bar, QPoint(0, 0)).y() == homeY);

        tap(back);
        REQUIRE(touched.count() == 2);
        CHECK(touched.at(1).at(0).toInt() == 0);
    }
    SUBCASE("an unknown id changes nothing")
    {
        bar->handleButtonShowHide(5, true);
        CHECK_FALSE(back->isVisible());
        CHECK_FALSE(next->isVisible());
        CHECK(home->isVisible());
    }
}

TEST_CASE("the flow layout fills rows left to right and wraps")
{
    guiApplication();
    QWidget host;
    FlowLayout* layout = new FlowLayout(&host, 5, 10, 10);
    for (int i = 0; i < 3; ++i)
        layout->addItem(fixedItem(&host, 100, 40));
    // effective width 250 (5 px margins each side)
    layout->setGeometry(QRect(0, 0, 260, 200));
    CHECK(layout->itemAt(0)->geometry() == QRect(5, 5, 100, 40));
    CHECK(layout->itemAt(1)->geometry() == QRect(115, 5, 100, 40));
    CHECK(layout->itemAt(2)->geometry() == QRect(5, 55, 100, 40));
    CHECK(layout->heightForWidth(260) == 5 + 40 + 10 + 40 + 5);
    CHECK(layout->heightForWidth(400) == 5 + 40 + 5);
    // heightForWidth only measures
    CHECK(layout->itemAt(2)->geometry() == QRect(5, 55, 100, 40));

    SUBCASE("a single item wider than the layout starts the first row")
    {
        FlowLayout wide(0, 10, 10);
        wide.addItem(fixedItem(&host, 300, 20));
        wide.addItem(fixedItem(&host, 50, 20));
        wide.setGeometry(QRect(0, 0, 100, 100));
        CHECK(wide.itemAt(0)->geometry().topLeft() == QPoint(0, 0));
        CHECK(wide.itemAt(1)->geometry().topLeft() == QPoint(0, 30));
    }
    SUBCASE("indexes outside the list give null and remove nothing")
    {
        CHECK(layout->itemAt(-1) == nullptr);
        CHECK(layout->itemAt(3) == nullptr);
        CHECK(layout->takeAt(3) == nullptr);
        CHECK(layout->takeAt(-1) == nullptr);
        CHECK(layout->count() == 3);
        QLayoutItem* taken = layout->takeAt(0);
        CHECK(layout->count() == 2);
        delete taken;
    }
    SUBCASE("sizes and spacing")
    {
        CHECK(layout->minimumSize() == QSize(110, 50));
        CHECK(layout->sizeHint() == layout->minimumSize());
        CHECK(layout->expandingDirections() == Qt::Orientations());
        CHECK(layout->hasHeightForWidth());
        CHECK(layout->horizontalSpacing() == 10);
        FlowLayout loose(0, -1, -1);
        CHECK(loose.horizontalSpacing() == -1);  // no parent to ask
    }
}
