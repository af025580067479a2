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

#include <QString>
#include <QStringList>
#include <vector>

struct TSchemaObject {
    QString name;
    QStringList columns;  // in table order
    QString createSql;
    bool isView = false;
    // Columns added after the first schema: a file of an older installation may lack
    // them and is still a Kelm database (the upgrade on opening adds them).
    QStringList addedColumns;
};

// Every table, then every view, in creation order.
const std::vector<TSchemaObject>& KelmSchema();
