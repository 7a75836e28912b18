#include "buttongridwidget.h"
#include "gui_test.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"

#include <doctest/doctest.h>

#include <QSignalSpy>

#include <memory>
#include <vector>

namespace {

// A page's option buttons: the page owns them, the grid only borrows them.
struct Options : WithGuiApplication {
    explicit Options(int count)
    {
        GuiGeometry::setDesignType(3);
        GuiGeometry::setDisplayType(3);
        for (int i = 1; i <= count; ++i) {
            buttons.emplace_back(new KestromPushButton(100 + i, nullptr));
            buttons.back()->setText(QString::number(i));
        }
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

TEST_CASE("options are paged 8 slots a page: 7 options and an arrow when there is more than one page")
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
