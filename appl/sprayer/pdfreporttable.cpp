#include "pdfreporttable.h"

#include <QPainter>

namespace VelmarReports {

namespace {

// Edges of weighted parts of [start, start + length]: one more than weights.
QList<double> edges(double start, double length, const QList<double>& weights)
{
    double sum = 0.0;
    for (double weight : weights)
        sum += weight;
    QList<double> result;
    double edge = start;
    result.append(edge);
    for (double weight : weights) {
        edge += length * weight / sum;
        result.append(edge);
    }
    return result;
}

QList<double> ones(int count)
{
    QList<double> list;
    for (int i = 0; i < count; ++i)
        list.append(1.0);
    return list;
}

QList<QString> emptyTexts(int count)
{
    QList<QString> list;
    for (int i = 0; i < count; ++i)
        list.append(QString());
    return list;
}

}  // namespace

PDFReportTable::PDFReportTable(int rows, int columns)
    : rowCount(rows), columnCount(columns), columnWidths(ones(columns)), rowHeights(ones(rows)),
      texts(emptyTexts(rows * columns))
{
}

PDFReportTable::~PDFReportTable() = default;

void PDFReportTable::setText(int row, int column, const QString& text)
{
    texts[row + rowCount * column] = text;
}

void PDFReportTable::clearTexts()
{
    for (QString& text : texts)
        text.clear();
}

void PDFReportTable::setColumnWidth(int column, double weight)
{
    columnWidths[column] = weight;
}

void PDFReportTable::setRowHeight(int row, double weight)
{
    rowHeights[row] = weight;
}

void PDFReportTable::resetColumnWidths()
{
    columnWidths = ones(columnCount);
}

void PDFReportTable::resetRowHeights()
{
    rowHeights = ones(rowCount);
}

void PDFReportTable::resize(int rows, int columns)
{
    QList<double> newColumns = ones(columns);
    QList<double> newRows = ones(rows);
    QList<QString> newTexts = emptyTexts(rows * columns);
    const int keptRows = qMin(rowCount, rows);
    const int keptColumns = qMin(columnCount, columns);
    for (int r = 0; r < keptRows; ++r)
        newRows[r] = rowHeights[r];
    for (int c = 0; c < keptColumns; ++c) {
        newColumns[c] = columnWidths[c];
        for (int r = 0; r < keptRows; ++r)
            newTexts[r + rows * c] = texts[r + rowCount * c];
    }
    rowCount = rows;
    columnCount = columns;
    columnWidths = newColumns;
    rowHeights = newRows;
    texts = newTexts;
}

QRectF PDFReportTable::cellRect(int row, int column, const QRectF& rect) const
{
    const QList<double> x = edges(rect.x(), rect.width(), columnWidths);
    const QList<double> y = edges(rect.y(), rect.height(), rowHeights);
    return QRectF(x[column], y[row], x[column + 1] - x[column], y[row + 1] - y[row]);
}

void PDFReportTable::draw(QPainter* painter, double textIndent, const QRectF& rect) const
{
    if (rowCount <= 0 || columnCount <= 0)
        return;
    const QList<double> x = edges(rect.x(), rect.width(), columnWidths);
    const QList<double> y = edges(rect.y(), rect.height(), rowHeights);
    for (int r = 0; r < rowCount; ++r) {
        for (int c = 0; c < columnCount; ++c) {
            const QRectF cell(x[c], y[r], x[c + 1] - x[c], y[r + 1] - y[r]);
            painter->drawRects(&cell, 1);
            const QRectF textRect(cell.x() + textIndent, cell.y(), cell.width() - textIndent, cell.height());
            painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, texts[r + rowCount * c]);
        }
    }
}

}  // namespace VelmarReports
