#include "ui/UiGrid.h"

#include <QAction>
#include <QHeaderView>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableWidget>
#include <QToolBar>
#include <QVariantMap>

namespace {
constexpr int kRecordRole = Qt::UserRole + 1;
}

QToolBar* MakeToolBar(QWidget* parent, const char* name) {
    auto* bar = new QToolBar(parent);
    bar->setObjectName(name);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return bar;
}

QAction* AddTool(QToolBar* bar, const char* name, const QString& caption) {
    QAction* action = bar->addAction(caption);
    action->setObjectName(name);
    return action;
}

void SetupRecordGrid(QTableWidget* grid, const QStringList& headings) {
    grid->setColumnCount(headings.size());
    grid->setHorizontalHeaderLabels(headings);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setDefaultSectionSize(22);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setAlternatingRowColors(true);
}

int FillRecordGrid(QTableWidget* grid, QSqlQuery& query, const QStringList& columns) {
    grid->clearContents();
    grid->setRowCount(0);
    if (!query.isActive()) return 0;
    int row = 0;
    while (query.next()) {
        QVariantMap record;
        const QSqlRecord fields = query.record();
        for (int i = 0; i < fields.count(); ++i)
            record.insert(fields.fieldName(i), FieldText(query, fields.fieldName(i)));
        grid->insertRow(row);
        for (int c = 0; c < columns.size(); ++c) {
            auto* item = new QTableWidgetItem(record.value(columns[c]).toString());
            if (c == 0) item->setData(kRecordRole, record);
            grid->setItem(row, c, item);
        }
        ++row;
    }
    if (row > 0) grid->setCurrentCell(0, 0);
    return row;
}

int CurrentRecordRow(const QTableWidget* grid) {
    const int row = grid->currentRow();
    if (row < 0 || row >= grid->rowCount()) return -1;
    return row;
}

QString RecordValue(const QTableWidget* grid, int row, const QString& column) {
    if (row < 0 || row >= grid->rowCount() || !grid->item(row, 0)) return QString();
    return grid->item(row, 0)->data(kRecordRole).toMap().value(column).toString();
}
