#include "buttongridwidget.h"
#include "gui_test.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "modalpopups.h"
#include "numerickeypadwidget.h"

#include <doctest/doctest.h>

#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>

#include <memory>
#include <vector>

namespace {

// A page of the console as the screens build it: a child of the main window,
// which fills the 480 x 272 screen. The page owns its keypad and its grid.
struct Page : WithGuiApplication {
    Page()
    {
        GuiGeometry::setDesignType(3);
        GuiGeometry::setDisplayType(3);
        window.resize(GuiGeometry::screenWidth(), GuiGeometry::screenHeight());
        page = new QWidget(&window);
        page->resize(window.size());
        window.show();
    }
    ~Page() { qApp->setStyleSheet(QString()); }

    // As every opener does: centred on the screen, in global coordinates.
    void open(QWidget* popup)
    {
        popup->move(page->mapToGlobal(GuiGeometry::centeredPosition(popup->width(), popup->height())));
        popup->show();
    }
    QRect screenRect() const { return QRect(window.mapToGlobal(QPoint(0, 0)), window.size()); }
    static QRect globalRect(const QWidget* widget) { return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()); }

    QWidget window;
    QWidget* page;
};

void checkModalWindow(QWidget* popup, QWidget* page)
{
    CHECK(popup->parentWidget() == page);
    CHECK(popup->isWindow());
    CHECK(popup->windowFlags().testFlag(Qt::FramelessWindowHint));
    CHECK(popup->windowModality() == Qt::ApplicationModal);
    CHECK(QApplication::activeModalWidget() == popup);
}

}  // namespace

TEST_CASE("a page's keypad is a modal window of its own with keys a finger can hit and a title twice as large")
{
    Page p;
    // The colour schemes set the font size of every widget.
    qApp->setStyleSheet("QWidget { font-size: 14px; }");
    NumericKeypadWidget* keypad = new NumericKeypadWidget("Rate l/ha", p.page);
    keypad->setValue(200);
    keypad->setRange(0, 1000, 0, "l/ha");
    p.open(keypad);

    checkModalWindow(keypad, p.page);
    CHECK(keypad->size() == GuiGeometry::popupOffset());
    CHECK(p.screenRect().contains(Page::globalRect(keypad)));
    const QList<KestromPushButton*> keys = keypad->findChildren<KestromPushButton*>();
    REQUIRE(keys.size() == 16);
    for (KestromPushButton* key : keys) {
        CAPTURE(key->text());
        CHECK(key->isVisible());
        CHECK(key->width() >= 110);
        CHECK(key->height() >= 30);
        CHECK(keypad->rect().contains(QRect(key->mapTo(keypad, QPoint(0, 0)), key->size())));
    }
    QLabel* title = nullptr;
    for (QLabel* label : keypad->findChildren<QLabel*>())
        if (label->text() == "Rate l/ha")
            title = label;
    REQUIRE(title);
    CHECK(QFontInfo(keys.first()->font()).pixelSize() == 14);
    CHECK(QFontInfo(title->font()).pixelSize() == 28);
    CHECK(title->height() >= title->sizeHint().height());

    // A title too long for twice the size is made smaller to stay whole, down
    // to the size of the keys; only a longer one is shortened. The keypad
    // keeps its size either way.
    keypad->setTitle("Minimum regulation pressure (bar)");
    CHECK(keypad->size() == GuiGeometry::popupOffset());
    CHECK(title->text() == "Minimum regulation pressure (bar)");
    CHECK(QFontInfo(title->font()).pixelSize() < 28);
    CHECK(QFontInfo(title->font()).pixelSize() > 14);
    keypad->setTitle("Minimum regulation pressure while spraying with the implement boom (bar)");
    pumpEvents();
    CHECK(keypad->size() == GuiGeometry::popupOffset());
    CHECK(QFontInfo(title->font()).pixelSize() == 14);
    CHECK(title->text().startsWith("Minimum regulation pressure"));
    CHECK(title->text().endsWith(QChar(0x2026)));
    CHECK(title->fontMetrics().horizontalAdvance(title->text()) <= title->contentsRect().width());

    // The window comes up at the size the opener sets.
    keypad->close();
    keypad->resize(GuiGeometry::fullPageSize());
    p.open(keypad);
    CHECK(keypad->size() == GuiGeometry::fullPageSize());
}

TEST_CASE("a page's button grid is a modal window of its own with every option inside its page")
{
    Page p;
    ButtonGridWidget* grid = new ButtonGridWidget(p.page);
    std::vector<std::unique_ptr<KestromPushButton>> options;
    for (const char* text : {"Metric", "Imperial", "US", "US turf", "Wheel", "CAN", "Simulated", "Radar"}) {
        options.emplace_back(new KestromPushButton(static_cast<int>(options.size()), nullptr));
        options.back()->setText(text);
        REQUIRE(grid->addButton(options.back().get()));
    }
    REQUIRE(grid->layoutPage());
    grid->setHighlightedButton(2);
    QSignalSpy chosen(grid, &ButtonGridWidget::commitSelection);
    p.open(grid);

    checkModalWindow(grid, p.page);
    CHECK(p.screenRect().contains(Page::globalRect(grid)));
    int seen = 0;
    for (int page = 1; page <= grid->pageCount(); ++page) {
        CAPTURE(page);
        KestromPushButton* arrow = nullptr;
        for (KestromPushButton* button : grid->pageButtons(page)) {
            CAPTURE(button->text());
            CHECK(button->isVisible());
            CHECK(grid->rect().contains(QRect(button->mapTo(grid, QPoint(0, 0)), button->size())));
            if (button->id() == ButtonGridWidget::NextPageId) {
                arrow = button;
                CHECK(button->size().expandedTo(GuiGeometry::iconSize90()) == button->size());
                continue;
            }
            ++seen;
            CHECK(button->size().expandedTo(GuiGeometry::menuButtonSize()) == button->size());
        }
        if (page < grid->pageCount()) {
            REQUIRE(arrow);
            tap(arrow);
        }
    }
    CHECK(seen == 8);
    tap(options[7].get());
    REQUIRE(chosen.count() == 1);
    CHECK(chosen.at(0).at(0).toInt() == 7);
    CHECK_FALSE(grid->isVisible());
    // The grid hands the options back when it is cleared; until then it owns them.
    for (auto& option : options)
        option.release();
}

TEST_CASE("cancelling every modal pop-up closes the open ones without a value")
{
    Page p;
    NumericKeypadWidget* keypad = new NumericKeypadWidget("Speed", p.page);
    ButtonGridWidget* grid = new ButtonGridWidget(p.page);
    KestromPushButton* option = new KestromPushButton(5, nullptr);
    REQUIRE(grid->addButton(option));
    REQUIRE(grid->layoutPage());
    QSignalSpy values(keypad, &NumericKeypadWidget::commitValue);
    QSignalSpy choices(grid, &ButtonGridWidget::commitSelection);

    CHECK(ModalPopups::cancelAll() == 0);
    keypad->setValue(12);
    p.open(keypad);
    p.open(grid);
    CHECK(ModalPopups::cancelAll() == 2);
    CHECK_FALSE(keypad->isVisible());
    CHECK_FALSE(grid->isVisible());
    CHECK(values.isEmpty());
    CHECK(choices.isEmpty());
    CHECK(QApplication::activeModalWidget() == nullptr);
    CHECK(p.page->isVisible());
}
