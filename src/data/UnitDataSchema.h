#pragma once
// The tables and views of a Kelm database, as created on first installation and as
// required of an existing file.
//
// Column types carry SQLite affinities so values handed over as strings land right:
// number columns are NUMERIC (the text "2440" or "2440.0" is stored as the integer
// 2440 and "1220.5" as a real, so numbers read back and concatenated in SQL show the
// general number form), integer columns INTEGER, texts and dates ("yyyy-mm-dd") TEXT.
// Number and integer columns refuse a text that is not a number, as a typed column
// would. Counters are INTEGER PRIMARY KEY AUTOINCREMENT.
//
// The schema grows: a column or table added after the first release is marked as added
// later. A new file is created with everything; an existing file gets whatever it lacks
// when it is opened (UpgradeKelmSchema in UnitData.h), each added column with its
// default in every existing row. Code that checks a file made by an older release (the
// restore check) accepts a file without the added parts.

#include <QString>
#include <QStringList>
#include <vector>

class QSqlDatabase;

struct TSchemaObject {
    QString name;
    QStringList columns;      // in table order
    QStringList definitions;  // of each column, as createSql writes it (tables only)
    QString createSql;
    bool isView = false;
    bool addedLater = false;    // a table older files do not have
    QStringList addedColumns;   // columns older files of this table do not have
};

// One step that brings a file of an older schema up to date: a column added to a table
// (column set) or a whole new table (column empty). sql is the statement that adds it.
struct TSchemaAddition {
    QString table;
    QString column;
    QString sql;
};

// Every table, then every view, in creation order.
const std::vector<TSchemaObject>& KelmSchema();

// The additions since the first schema, in the order they are applied.
const std::vector<TSchemaAddition>& KelmSchemaAdditions();

// The additions that the open database db lacks.
std::vector<TSchemaAddition> MissingSchemaAdditions(const QSqlDatabase& db);
// Adds every missing addition to db in one transaction, each added column holding its
// default in every existing row; nothing changes when one fails. False with the reason
// in *error (when given). TsysData does this whenever it opens an existing file.
bool UpgradeKelmSchema(QSqlDatabase& db, QString* error = nullptr);
