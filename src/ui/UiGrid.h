#pragma once
// Record grids of the list windows (orders, customers, dictionary): whole-row
// selection, read-only cells, one row per record. Each row remembers every column of
// its record, so handlers read keys that are not shown (proID, custID, itmID).
// Also the text-only tool bars above those grids.

#include <QString>
#include <QStringList>

#include "data/UnitData.h"

class QAction;
class QSqlQuery;
class QTableWidget;
class QToolBar;
class QWidget;

// A tool bar whose buttons show their captions only, and one of its commands; both
// carry the given object name.
QToolBar* MakeToolBar(QWidget* parent, const char* name);
QAction* AddTool(QToolBar* bar, const char* name, const QString& caption);

// Read-only, whole-row, single selection, with the given column headings.
void SetupRecordGrid(QTableWidget* grid, const QStringList& headings);

// Replaces the rows by the records of the query; shown columns are `columns` (in the
// headings' order); every column of the record is kept with the row. The first row
// becomes the current one. Returns the number of rows.
int FillRecordGrid(QTableWidget* grid, QSqlQuery& query, const QStringList& columns);

// The row that the grid's commands act on, or -1 when there is none.
int CurrentRecordRow(const QTableWidget* grid);

// A column of a row's record as text ("" for unknown rows or columns).
QString RecordValue(const QTableWidget* grid, int row, const QString& column);
