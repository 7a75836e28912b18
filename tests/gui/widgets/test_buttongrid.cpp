#include "buttongridwidget.h"
#include "gui_test.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"

#include <doctest/doctest.h>

#include <QSignalSpy>

#include <memory>
#include <vector>

namespace {

// Room for eight slots a page, more than the console's screen gives: the
// paging rules themselves, apart from what fits.
const QSize kRoomyGrid(900, 600);

// A page's option buttons: the page owns them, the grid only borrows them.
struct Options : WithGuiApplication {
    explicit Options(int count, QSize gridSize = kRoomyGrid)
    {
        GuiGeometry::setDesignType(3);
        GuiGeometry::setDisplayType(3);
        for (int i = 1; i <= count; ++i) {
            buttons.emplace_back(new KestromPushButton(100 + i, nullptr));
            buttons.back()->setText(QString::number(i));
        }
        if (gridSize.isValid())
            grid->resize(gridSize);
    }
    ~Options()
    {
        // A laid-out grid deletes the buttons it holds with its pages.
        for (auto& button : buttons)
            if (button->parent() != nullptr)
                button.release();
        grid.reset();
    }
    void fill(ButtonGridWidget& g)
    {
        for (auto& button : buttons)
            REQUIRE(g.addButton(button.get()));
    }
    std::vector<std::unique_ptr<KestromPushButton>> buttons;
    std::unique_ptr<ButtonGridWidget> grid{new ButtonGridWidget};
};

// What a page shows: option numbers, ">" for the next-page arrow, "<" for the way back.
QStringList shown(const ButtonGridWidget& grid, int page)
{
    QStringList labels;
    const QList<KestromPushButton*> buttons = grid.pageButtons(page);
    for (int i = 0; i < buttons.size(); ++i) {
        KestromPushButton* button = buttons.at(i);
        if (button->id() != ButtonGridWidget::NextPageId)
            labels << button->text();
        else
            labels << (page < grid.pageCount() ? ">" : "<");
    }
    return labels;
}

QStringList range(int first, int last)
{
    QStringList labels;
    for (int i = first; i <= last; ++i)
        labels << QString::number(i);
    return labels;
}

KestromPushButton* arrowOn(const ButtonGridWidget& grid, int page)
{
    for (KestromPushButton* button : grid.pageButtons(page))
        if (button->id() == ButtonGridWidget::NextPageId)
            return button;
    return nullptr;
}

}  // namespace

TEST_CASE("with room for them, options are paged 8 slots a page: 7 options and an arrow when paged")
{
    struct Case {
        int options;
        std::vector<QStringList> pages;
    };
    const Case cases[] = {
        {1, {range(1, 1)}},
        {8, {range(1, 8)}},
        {9, {range(1, 7) << ">", range(8, 9) << "<"}},
        {14, {range(1, 7) << ">", range(8, 14) << "<"}},
        {15, {range(1, 7) << ">", range(8, 14) << ">", range(15, 15) << "<"}},
        {42, {range(1, 7) << ">", range(8, 14) << ">", range(15, 21) << ">", range(22, 28) << ">",
              range(29, 35) << ">", range(36, 42) << "<"}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.options);
        Options o(c.options);
        o.fill(*o.grid);
        REQUIRE(o.grid->layoutPage());
        REQUIRE(o.grid->pageCount() == static_cast<int>(c.pages.size()));
        for (size_t p = 0; p < c.pages.size(); ++p) {
            CAPTURE(p + 1);
            CHECK(shown(*o.grid, static_cast<int>(p) + 1) == c.pages[p]);
        }
    }
}

TEST_CASE("a 43rd option is refused and the 42 still lay out")
{
    Options o(43);
    for (int i = 0; i < 42; ++i)
        REQUIRE(o.grid->addButton(o.buttons[i].get()));
    CHECK_FALSE(o.grid->addButton(o.buttons[42].get()));
    CHECK(o.grid->pageCount() == 6);
    CHECK(o.grid->layoutPage());
    CHECK(shown(*o.grid, 6) == (range(36, 42) << "<"));
    CHECK(o.buttons[42]->parent() == nullptr);

    // Laid out full, the grid still takes a new set.
    REQUIRE(o.grid->addButton(o.buttons[42].get()));
    REQUIRE(o.grid->layoutPage());
    CHECK(o.grid->pageCount() == 1);
    CHECK(shown(*o.grid, 1) == QStringList({"43"}));
}

TEST_CASE("the arrows cycle the pages; a choice commits once, closes and reopens on page 1")
{
    Options o(15);
    o.fill(*o.grid);
    REQUIRE(o.grid->layoutPage());
    o.grid->show();
    QSignalSpy chosen(o.grid.get(), &ButtonGridWidget::commitSelection);

    CHECK(o.grid->currentPage() == 1);
    tap(arrowOn(*o.grid, 1));
    CHECK(o.grid->currentPage() == 2);
    CHECK(o.buttons[7]->isVisible());
    CHECK_FALSE(o.buttons[0]->isVisible());
    tap(arrowOn(*o.grid, 2));
    CHECK(o.grid->currentPage() == 3);
    tap(arrowOn(*o.grid, 3));
    CHECK(o.grid->currentPage() == 1);
    tap(arrowOn(*o.grid, 1));

    tap(o.buttons[8].get());
    REQUIRE(chosen.count() == 1);
    CHECK(chosen.at(0).at(0).toInt() == 109);
    CHECK_FALSE(o.grid->isVisible());
    CHECK(o.grid->currentPage() == 1);
    o.grid->show();
    CHECK(o.buttons[0]->isVisible());
}

TEST_CASE("laying out twice connects nothing twice")
{
    Options o(9);
    o.fill(*o.grid);
    REQUIRE(o.grid->layoutPage());
    REQUIRE(o.grid->layoutPage());
    o.grid->show();
    QSignalSpy chosen(o.grid.get(), &ButtonGridWidget::commitSelection);
    tap(arrowOn(*o.grid, 1));
    CHECK(o.grid->currentPage() == 2);  // one step, not two
    tap(o.buttons[8].get());
    CHECK(chosen.count() == 1);
}

TEST_CASE("highlighting marks the current option and keeps the page")
{
    Options o(9);
    o.fill(*o.grid);
    REQUIRE(o.grid->layoutPage());
    o.grid->show();
    tap(arrowOn(*o.grid, 1));
    o.grid->setHighlightedButton(102);
    CHECK(o.grid->currentPage() == 2);
    for (auto& button : o.buttons)
        CHECK(button->property("hasHighlightedBorder").toBool() == (button->id() == 102));
    o.grid->setHighlightedButton(555);
    for (auto& button : o.buttons)
        CHECK_FALSE(button->property("hasHighlightedBorder").toBool());
    CHECK(o.grid->currentPage() == 2);
}

TEST_CASE("clearing hands the options back; adding after a layout starts a new set")
{
    Options o(9);
    o.fill(*o.grid);
    REQUIRE(o.grid->layoutPage());
    QSignalSpy chosen(o.grid.get(), &ButtonGridWidget::commitSelection);

    REQUIRE(o.grid->addButton(o.buttons[3].get()));  // a new set of one
    CHECK(o.buttons[0]->parent() == nullptr);
    REQUIRE(o.grid->layoutPage());
    CHECK(o.grid->pageCount() == 1);
    CHECK(shown(*o.grid, 1) == QStringList({"4"}));
    CHECK(o.grid->pageButtons(2).isEmpty());

    CHECK(o.grid->clearButtons());
    CHECK(o.buttons[3]->parent() == nullptr);
    tap(o.buttons[3].get());
    CHECK(chosen.count() == 0);  // disconnected
    CHECK(o.grid->clearButtons());  // nothing to do
    CHECK_FALSE(o.grid->layoutPage());  // no slots
}

namespace {

// Walks the pages with the arrows as the operator does and checks that every
// button on each page lies inside it and is large enough to touch. Returns
// the option texts of each page.
std::vector<QStringList> walkPages(ButtonGridWidget& grid)
{
    std::vector<QStringList> pages;
    grid.show();
    for (int page = 1; page <= grid.pageCount(); ++page) {
        CAPTURE(page);
        REQUIRE(grid.currentPage() == page);
        const QRect inside = grid.rect();
        QStringList options;
        for (KestromPushButton* button : grid.pageButtons(page)) {
            CAPTURE(button->text());
            CHECK(button->isVisible());
            const QRect placed(button->mapTo(&grid, QPoint(0, 0)), button->size());
            CHECK(inside.contains(placed));
            if (button->id() == ButtonGridWidget::NextPageId) {
                CHECK(button->width() >= 90);
                CHECK(button->height() >= 90);
            } else {
                CHECK(button->width() >= GuiGeometry::menuButtonSize().width());
                CHECK(button->height() >= GuiGeometry::menuButtonSize().height());
                options << button->text();
            }
        }
        pages.push_back(options);
        if (KestromPushButton* arrow = arrowOn(grid, page))
            tap(arrow);
    }
    CHECK(grid.currentPage() == 1);
    return pages;
}

}  // namespace

TEST_CASE("at the console's size no option is placed where it cannot be seen or is too small to touch")
{
    const QSize menu = GuiGeometry::menuButtonSize();
    struct Case {
        int options;
        QSize set;  // the size the page gives its options; invalid: none
        std::vector<QStringList> pages;
    };
    const Case cases[] = {
        // Text options alone come out far smaller than a menu button.
        {6, QSize(), {range(1, 6)}},
        {7, QSize(), {range(1, 4), range(5, 7)}},
        {8, menu, {range(1, 4), range(5, 8)}},
        {9, menu, {range(1, 4), range(5, 8), range(9, 9)}},
        {3, QSize(60, 30), {range(1, 3)}},
        // A page may set larger options: fewer go on a page.
        {6, QSize(190, 80), {range(1, 3), range(4, 6)}},
        {36, menu, {range(1, 4), range(5, 8), range(9, 12), range(13, 16), range(17, 20), range(21, 24),
                    range(25, 28), range(29, 32), range(33, 36)}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.options);
        CAPTURE(c.set.width());
        Options o(c.options, QSize());
        CHECK(o.grid->size() == GuiGeometry::fullPageSize());
        for (auto& button : o.buttons)
            if (c.set.isValid())
                button->setFixedSize(c.set);
        o.fill(*o.grid);
        REQUIRE(o.grid->layoutPage());
        REQUIRE(o.grid->pageCount() == static_cast<int>(c.pages.size()));
        CHECK(walkPages(*o.grid) == c.pages);
    }
}

TEST_CASE("a grid that the opener resizes places its options again")
{
    Options o(8, QSize());
    o.fill(*o.grid);
    REQUIRE(o.grid->layoutPage());
    REQUIRE(o.grid->pageCount() == 2);
    o.grid->resize(kRoomyGrid);
    CHECK(walkPages(*o.grid) == std::vector<QStringList>{range(1, 8)});
    o.grid->resize(GuiGeometry::fullPageSize());
    CHECK(walkPages(*o.grid) == (std::vector<QStringList>{range(1, 4), range(5, 8)}));
}
