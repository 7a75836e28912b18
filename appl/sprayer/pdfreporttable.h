#pragma once
// The bordered text grid of the reports: rows and columns with a relative
// weight each and one text per cell, drawn into a rectangle with the painter's
// current pen, brush and font (the report chooses them per section). Each cell
// is an outlined rectangle with its text left-aligned and vertically centred.
// Row and column numbers are not checked: callers stay inside the grid.
#include <QList>
#include <QRectF>
#include <QString>

class QPainter;

namespace VelmarReports {

class PDFReportTable {
public:
    PDFReportTable(int rows, int columns);
    virtual ~PDFReportTable();

    void setText(int row, int column, const QString& text);
    void clearTexts();
    void setColumnWidth(int column, double weight);
    void setRowHeight(int row, double weight);
    void resetColumnWidths();
    void resetRowHeights();
    // New dimensions; the overlapping cells keep their texts and weights, new
    // cells start empty with weight 1.
    void resize(int rows, int columns);
    // Draws the grid filling rect; texts start textIndent right of their cell.
    void draw(QPainter* painter, double textIndent, const QRectF& rect) const;

    int rows() const { return rowCount; }
    int columns() const { return columnCount; }
    QString text(int row, int column) const { return texts[row + rowCount * column]; }
    // The cell's rectangle when the table fills rect.
    QRectF cellRect(int row, int column, const QRectF& rect) const;

private:
    int rowCount;
    int columnCount;
    QList<double> columnWidths;
    QList<double> rowHeights;
    QList<QString> texts;  // column by column: cell (r, c) at r + rowCount * c
};

}  // namespace VelmarReports
