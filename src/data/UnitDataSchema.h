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
// On a server the same tables use the server's types: numbers DOUBLE PRECISION (so
// 2440.0 reads back and concatenates as 2440), integers BIGINT, counters identity
// columns; the views join the text material key of a panel to the counter of its
// material by text, as the file does by its affinities.
//
// The schema grows: a column or table added after the first release is marked as added
// later. A new database is created with everything; an existing one (file or server)
// gets whatever it lacks when it is opened (UpgradeKelmSchema), each added column with
// its default in every existing row. Code that checks a file made by an older release
// (the restore check) accepts a file without the added parts.

#include <QString>
#include <QVector>
#include <QStringList>
#include <vector>

#include "data/UnitDataEngine.h"

class QSqlDatabase;

enum class TColumnKind { Counter, TextKey, Text, Number, Integer, Date };

struct TSchemaObject {
    QString name;
    QStringList columns;            // in table order
    QVector<TColumnKind> kinds;     // tables only: one per column
    QStringList definitions;        // of each column, as createSql writes it (tables only)
    QStringList serverDefinitions;  // of each column, as serverSql writes it (tables only)
    QString createSql;              // on the file
    QString serverSql;              // on a server
    bool isView = false;
    bool addedLater = false;   // a table older databases do not have
    QStringList addedColumns;  // columns older databases of this table do not have

    const QString& CreateSql(TDbEngine engine) const {
        return engine == TDbEngine::Server ? serverSql : createSql;
    }
    // The counter column of a table, "" when it has none.
    QString CounterColumn() const;
};

// One step that brings a database of an older schema up to date: a column added to a
// table (column set) or a whole new table (column empty). sql is the statement that adds
// it on the file, serverSql on a server.
struct TSchemaAddition {
    QString table;
    QString column;
    QString sql;
    QString serverSql;

    const QString& Sql(TDbEngine engine) const {
        return engine == TDbEngine::Server ? serverSql : sql;
    }
};

// Every table, then every view, in creation order.
const std::vector<TSchemaObject>& KelmSchema();

// The rows every new database starts with: the default settings and zero fees.
QStringList KelmFirstRows();

// The additions since the first schema, in the order they are applied.
const std::vector<TSchemaAddition>& KelmSchemaAdditions();

// The additions that the open database db (file or server) lacks.
std::vector<TSchemaAddition> MissingSchemaAdditions(const QSqlDatabase& db);
// Adds every missing addition to db in one transaction, each added column holding its
// default in every existing row; nothing changes when one fails. False with the reason
// in *error (when given). TsysData does this whenever it opens an existing database.
bool UpgradeKelmSchema(QSqlDatabase& db, QString* error = nullptr);
