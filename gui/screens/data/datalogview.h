#pragma once
// What the alarm-log and the pressure-log viewer share: a read-only table of the
// readable log that the core's log worker writes on request, the pathway and
// the button bar (back and home). Each program-caused show asks the worker for
// a fresh file; each report of the worker that it wrote the file (also while
// the page is hidden, and also a failed write) reads the file again. A file
// that cannot be opened leaves the table as it was.
//
// The page keeps exactly one table model: a reading builds the new model, puts
// it in the table and deletes the previous one (and the selection model the
// table made for it), so a console that shows its logs all season does not grow.
//
// A viewer derives from this class and gives the path, the header texts, the
// cells of one line, the column sizing and the request to its worker.
#include <QStringList>
#include <QWidget>

class QStandardItemModel;
class QTableView;

namespace ToolsViewWidgets {

class SettingPageKit;

class DataLogView : public QWidget {
    Q_OBJECT
public:
    explicit DataLogView(QWidget* parent = nullptr);

    QTableView* table() const { return mTable; }
    QStandardItemModel* model() const { return mModel; }

signals:
    void goBack();
    void ShowHomeView(int id);

public slots:
    void populateListWidget();
    void handleButtonBarPressed(int id);

protected:
    // The readable log as the worker reports it; empty while there is no worker.
    virtual QString logPath() const = 0;
    virtual QStringList headerTexts() const = 0;
    virtual QStringList rowCells(const QString& line) const = 0;
    // Column widths once the table holds a new model.
    virtual void sizeColumns() = 0;
    // Asks the worker to write the readable log (and says so on the console).
    virtual void requestLog() = 0;
    // Sets the pathway and the header texts in the viewer's language.
    virtual void retranslate() = 0;

    SettingPageKit* kit() const { return mKit; }
    // Puts the translated header texts on the current model.
    void applyHeaderTexts();

    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void replaceModel(QStandardItemModel* model);

    SettingPageKit* mKit;
    QTableView* mTable;
    QStandardItemModel* mModel = nullptr;
};

// Field i of a log line split at ',', trimmed; empty when the line has no such field.
QString logField(const QStringList& fields, int i);
// A field in its cell: "%1" with the field at width (negative: left-aligned);
// an empty field leaves the cell empty.
QString logCell(const QString& field, int width);

}  // namespace ToolsViewWidgets
