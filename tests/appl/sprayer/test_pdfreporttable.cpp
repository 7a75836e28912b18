#include "pdfreporttable.h"

#include <doctest/doctest.h>

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>

using VelmarReports::PDFReportTable;

namespace {

void guiApplication()
{
    static const bool ready = [] {
        if (QCoreApplication::instance() == nullptr) {
            setenv("QT_QPA_PLATFORM", "offscreen", 0);
            static int argc = 1;
            static char name[] = "reporttabletest";
            static char* argv[] = {name, nullptr};
            new QGuiApplication(argc, argv);
        }
        return true;
    }();
    REQUIRE(ready);
}

bool dark(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

// Dark pixels strictly inside the rectangle.
int darkInside(const QImage& image, const QRect& rect)
{
    int count = 0;
    for (int y = rect.top() + 3; y < rect.bottom() - 2; ++y) {
        for (int x = rect.left() + 3; x < rect.right() - 2; ++x)
            count += dark(image, x, y) ? 1 : 0;
    }
    return count;
}

QImage drawn(const PDFReportTable& table, const QRectF& rect, double indent = 0.0)
{
    QImage image(420, 140, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    QFont font = painter.font();
    font.setPixelSize(30);
    painter.setFont(font);
    table.draw(&painter, indent, rect);
    painter.end();
    return image;
}

}  // namespace

TEST_CASE("report table: cells tile the rectangle by their weights")
{
    PDFReportTable table(2, 3);
    const QRectF rect(0, 0, 300, 100);
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 3; ++c) {
            CAPTURE(r);
            CAPTURE(c);
            CHECK(table.cellRect(r, c, rect) == QRectF(100 * c, 50 * r, 100, 50));
            CHECK(table.text(r, c).isEmpty());
        }
    }
    table.setColumnWidth(1, 2.0);
    const QRectF wide(10, 0, 400, 100);
    CHECK(table.cellRect(0, 0, wide) == QRectF(10, 0, 100, 50));
    CHECK(table.cellRect(0, 1, wide) == QRectF(110, 0, 200, 50));
    CHECK(table.cellRect(0, 2, wide) == QRectF(310, 0, 100, 50));
    table.setRowHeight(1, 3.0);
    CHECK(table.cellRect(1, 2, wide) == QRectF(310, 25, 100, 75));
    table.resetColumnWidths();
    table.resetRowHeights();
    CHECK(table.cellRect(1, 2, wide) == QRectF(10 + 800.0 / 3, 50, 400.0 / 3, 50));
}

TEST_CASE("report table: resize keeps the overlapping texts and weights at their row and column")
{
    PDFReportTable table(3, 3);
    table.setText(1, 2, "A");
    table.setText(0, 0, "a");
    table.setText(1, 0, "b");
    table.setText(0, 1, "c");
    table.setText(1, 1, "d");
    table.setText(2, 2, "gone");
    table.setColumnWidth(1, 2.0);
    table.setRowHeight(1, 3.0);

    table.resize(2, 3);
    CHECK(table.rows() == 2);
    CHECK(table.columns() == 3);
    CHECK(table.text(1, 2) == "A");

    table.resize(2, 2);
    CHECK(table.text(0, 0) == "a");
    CHECK(table.text(1, 0) == "b");
    CHECK(table.text(0, 1) == "c");
    CHECK(table.text(1, 1) == "d");
    const QRectF rect(0, 0, 300, 400);
    CHECK(table.cellRect(1, 1, rect) == QRectF(100, 100, 200, 300));

    table.resize(3, 3);
    CHECK(table.text(1, 2).isEmpty());
    CHECK(table.text(2, 2).isEmpty());
    CHECK(table.text(1, 1) == "d");
    // Weights 1, 2, 1 across and 1, 3, 1 down.
    CHECK(table.cellRect(2, 2, QRectF(0, 0, 400, 500)) == QRectF(300, 400, 100, 100));

    table.clearTexts();
    CHECK(table.text(1, 1).isEmpty());
    CHECK(table.rows() == 3);
    CHECK(table.cellRect(1, 1, QRectF(0, 0, 400, 500)) == QRectF(100, 100, 200, 300));
}

TEST_CASE("report table: drawing outlines every cell and puts each text into its own cell")
{
    guiApplication();
    PDFReportTable table(2, 3);
    const QRectF rect(0, 0, 300, 100);
    SUBCASE("empty cells: only the borders")
    {
        const QImage image = drawn(table, rect);
        for (int x : {0, 100, 200, 300})
            CHECK(dark(image, x, 25));
        for (int y : {0, 50, 100})
            CHECK(dark(image, 150, y));
        for (int r = 0; r < 2; ++r) {
            for (int c = 0; c < 3; ++c)
                CHECK(darkInside(image, table.cellRect(r, c, rect).toRect()) == 0);
        }
        CHECK_FALSE(dark(image, 350, 25));
    }
    SUBCASE("a text is drawn in its cell, left-aligned after the indent")
    {
        table.setText(1, 2, "W");
        const QImage image = drawn(table, rect, 20.0);
        const QRect cell = table.cellRect(1, 2, rect).toRect();
        CHECK(darkInside(image, cell) > 20);
        CHECK(darkInside(image, table.cellRect(0, 0, rect).toRect()) == 0);
        CHECK(darkInside(image, table.cellRect(1, 1, rect).toRect()) == 0);
        // Nothing between the border and the indent, ink soon after it.
        CHECK(darkInside(image, QRect(cell.left(), cell.top(), 20, cell.height())) == 0);
        CHECK(darkInside(image, QRect(cell.left() + 17, cell.top(), 40, cell.height())) > 0);
    }
    SUBCASE("a table without rows or columns draws nothing")
    {
        table.resize(0, 3);
        const QImage image = drawn(table, rect);
        CHECK(darkInside(image, QRect(-3, -3, 420, 140)) == 0);
        CHECK_FALSE(dark(image, 0, 0));
    }
}
