#include "data/UnitDataConnection.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QUuid>
#include <QVariant>

bool OpenKelmConnection(QSqlDatabase& db, const TDbTarget& target, bool readOnly,
                        QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        if (db.isOpen()) db.close();
        return false;
    };
    if (target.engine == TDbEngine::File) {
        if (readOnly && !QFileInfo::exists(target.path))
            return fail(QStringLiteral("%1 does not exist").arg(target.path));
        db.setDatabaseName(target.path);
        db.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000")
                                      : QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open()) return fail(db.lastError().text());
        return true;
    }
    db.setHostName(target.host);
    db.setPort(target.port);
    db.setUserName(target.user);
    db.setPassword(target.password);
    db.setDatabaseName(target.database);
    // A server that does not answer must not freeze the program for minutes.
    db.setConnectOptions(QStringLiteral("connect_timeout=10"));
    if (!db.open()) return fail(db.lastError().text());
    QSqlQuery q(db);
    // Texts travel as UTF-8 whatever the server's default; the schema holds the Kelm
    // tables when one is named (a plain name: ParseDatabaseTarget refuses anything else).
    QStringList setup{QStringLiteral("SET client_encoding TO 'UTF8'")};
    if (!target.schema.isEmpty()) setup << QStringLiteral("SET search_path TO %1").arg(target.schema);
    if (readOnly)
        setup << QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY");
    for (const QString& sql : setup)
        if (!q.exec(sql)) return fail(q.lastError().text());
    return true;
}

TDbEngine EngineOf(const QSqlDatabase& db) {
    return db.driverName() == kelm::sql::DriverName(TDbEngine::Server) ? TDbEngine::Server
                                                                        : TDbEngine::File;
}

bool ReadTableColumns(const QSqlDatabase& db, QHash<QString, QSet<QString>>& tables) {
    QSqlQuery q(db);
    if (EngineOf(db) == TDbEngine::Server) {
        if (!q.exec(QStringLiteral(
                "SELECT t.table_name, c.column_name FROM information_schema.tables t "
                "LEFT JOIN information_schema.columns c ON c.table_schema = t.table_schema "
                "AND c.table_name = t.table_name "
                "WHERE t.table_schema = current_schema() AND t.table_type = 'BASE TABLE'")))
            return false;
        while (q.next()) {
            QSet<QString>& columns = tables[q.value(0).toString().toLower()];
            if (!q.value(1).isNull()) columns.insert(q.value(1).toString().toLower());
        }
        return true;
    }
    if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"))) return false;
    QStringList names;
    while (q.next()) names << q.value(0).toString();
    q.finish();
    for (const QString& name : names) {
        QSet<QString>& columns = tables[name.toLower()];
        const QSqlRecord record = db.record(name);
        for (int i = 0; i < record.count(); ++i) columns.insert(record.fieldName(i).toLower());
    }
    return true;
}

TKelmConnection::TKelmConnection(const TDbTarget& target, bool readOnly)
    : p_name(QStringLiteral("kelm-own-") + QUuid::createUuid().toString(QUuid::Id128)),
      p_engine(target.engine) {
    QSqlDatabase db = QSqlDatabase::addDatabase(kelm::sql::DriverName(target.engine), p_name);
    p_open = OpenKelmConnection(db, target, readOnly, &p_error);
}

TKelmConnection::~TKelmConnection() {
    {
        QSqlDatabase db = QSqlDatabase::database(p_name, false);
        if (db.isOpen()) db.close();
    }
    QSqlDatabase::removeDatabase(p_name);
}
