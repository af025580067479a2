#pragma once
// Connections of their own to a Kelm database, beside the data module's: the data module
// opens its server connection with the same settings, and whole-database work (the copy
// between engines, backup and restore on a server) reads and writes through one of these
// so the program's connection and its open queries are left alone.

#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QString>

#include "data/UnitDataEngine.h"

// Opens db (added with the driver of target's engine) on target. A file is opened as it
// is, read-only when asked (and never created then); a server with a connect timeout, texts
// as UTF-8 and the target's schema as the search path, read-only sessions when asked.
// False with the reason in *error.
bool OpenKelmConnection(QSqlDatabase& db, const TDbTarget& target, bool readOnly,
                        QString* error = nullptr);

// The engine of an open connection.
TDbEngine EngineOf(const QSqlDatabase& db);

// The tables of db (views left out), each with its columns; names in lower case.
bool ReadTableColumns(const QSqlDatabase& db, QHash<QString, QSet<QString>>& tables);

// One connection under a name of its own, closed and removed when it goes.
class TKelmConnection {
  public:
    TKelmConnection(const TDbTarget& target, bool readOnly);
    ~TKelmConnection();
    TKelmConnection(const TKelmConnection&) = delete;
    TKelmConnection& operator=(const TKelmConnection&) = delete;

    bool IsOpen() const { return p_open; }
    QString Error() const { return p_error; }
    QSqlDatabase Db() const { return QSqlDatabase::database(p_name, false); }
    TDbEngine Engine() const { return p_engine; }

  private:
    QString p_name;
    TDbEngine p_engine;
    bool p_open = false;
    QString p_error;
};
