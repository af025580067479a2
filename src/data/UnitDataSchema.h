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

#include <QString>
#include <QVector>
#include <QStringList>
#include <vector>

#include "data/UnitDataEngine.h"

enum class TColumnKind { Counter, TextKey, Text, Number, Integer, Date };

struct TSchemaObject {
    QString name;
    QStringList columns;         // in table order
    QVector<TColumnKind> kinds;  // tables only: one per column
    QString createSql;           // on the file
    QString serverSql;           // on a server
    bool isView = false;

    const QString& CreateSql(TDbEngine engine) const {
        return engine == TDbEngine::Server ? serverSql : createSql;
    }
    // The counter column of a table, "" when it has none.
    QString CounterColumn() const;
    // Columns added after the first schema: a file of an older installation may lack
    // them and is still a Kelm database (the upgrade on opening adds them).
    QStringList addedColumns;
};

// Every table, then every view, in creation order.
const std::vector<TSchemaObject>& KelmSchema();

// The rows every new database starts with: the default settings and zero fees.
QStringList KelmFirstRows();
