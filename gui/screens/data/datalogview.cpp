#include "datalogview.h"

#include "settingpagekit.h"
#include "toolsviewbuttonbar.h"

#include <QBoxLayout>
#include <QEvent>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScroller>
#include <QShowEvent>
#include <QStandardItemModel>
#include <QTableView>
#include <QTextStream>

namespace ToolsViewWidgets {

QString logField(const QStringList& fields, int i)
{
    return i < fields.size() ? fields.at(i).trimmed() : QString();
}

QString logCell(const QString& field, int width)
{
    return field.isEmpty() ? QString() : QStringLiteral("%1").arg(field, width);
}

DataLogView::DataLogView(QWidget* parent) : QWidget(parent), mKit(new SettingPageKit(this)), mTable(new QTableView)
{
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &DataLogView::handleButtonBarPressed);

    mTable->setObjectName(QStringLiteral("m_logTable"));
    mTable->setContentsMargins(10, 10, 10, 10);
    mTable->setTextElideMode(Qt::ElideNone);
    mTable->setSelectionMode(QAbstractItemView::NoSelection);
    mTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mTable->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    // The operator scrolls the log with a finger, not only by the narrow scroll bar.
    QScroller::grabGesture(mTable->viewport(), QScroller::LeftMouseButtonGesture);
    mKit->column()->addWidget(mTable, 1);

    // The table takes nearly the whole width; the bar only what its buttons need.
    if (auto* frame = qobject_cast<QBoxLayout*>(layout())) {
        frame->setContentsMargins(5, 5, 0, 5);
        frame->setStretch(0, 30);
        frame->setStretch(1, 1);
    }
    // Before the first reading the table shows its headers (set by the viewer) over no rows.
    mModel = new QStandardItemModel(this);
    mTable->setModel(mModel);
    mTable->verticalHeader()->hide();
}

void DataLogView::populateListWidget()
{
    QFile file(logPath());
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;

    auto* model = new QStandardItemModel(this);
    QTextStream stream(&file);
    int row = 0;
    while (!stream.atEnd()) {
        const QStringList cells = rowCells(stream.readLine());
        for (int column = 0; column < cells.size(); ++column)
            model->setItem(row, column, new QStandardItem(cells.at(column)));
        // An empty line still makes its (empty) row.
        if (model->rowCount() <= row)
            model->setRowCount(row + 1);
        ++row;
    }
    replaceModel(model);
    sizeColumns();
}

void DataLogView::replaceModel(QStandardItemModel* model)
{
    model->setColumnCount(headerTexts().size());
    QStandardItemModel* previous = mModel;
    mModel = model;
    applyHeaderTexts();
    mTable->setModel(model);
    mTable->verticalHeader()->hide();
    // Neither the table nor its headers delete the model they held nor the
    // selection models each of them made for a model: only those in use stay.
    for (QAbstractItemView* view :
         std::initializer_list<QAbstractItemView*>{mTable, mTable->horizontalHeader(), mTable->verticalHeader()}) {
        for (QItemSelectionModel* selection : view->findChildren<QItemSelectionModel*>(QString(), Qt::FindDirectChildrenOnly))
            if (selection != view->selectionModel())
                delete selection;
    }
    delete previous;
}

void DataLogView::applyHeaderTexts()
{
    if (mModel != nullptr)
        mModel->setHorizontalHeaderLabels(headerTexts());
}

void DataLogView::handleButtonBarPressed(int id)
{
    SettingPageKit::navigate(this, id);
}

void DataLogView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (SettingPageKit::programCaused(event))
        requestLog();
}

void DataLogView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
