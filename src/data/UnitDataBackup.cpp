#include "data/UnitDataBackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>
#include <filesystem>
#include <system_error>

#include "data/UnitData.h"
#include "data/UnitDataCopy.h"
#include "data/UnitDataSchema.h"

namespace {

void SetError(QString* error, const QString& text) {
    if (error) *error = text;
}

void RemoveWithJournals(const QString& path) {
    QFile::remove(path);
    for (const char* suffix : {"-wal", "-shm", "-journal"}) QFile::remove(path + QLatin1String(suffix));
}

bool ReplaceFile(const QString& from, const QString& to) {
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(from.toStdWString()),
                            std::filesystem::path(to.toStdWString()), error);
    return !error;
}

// A connection of its own on one file, removed with its name when it goes.
class FileConnection {
  public:
    FileConnection(const QString& path, bool readOnly)
        : p_name(QStringLiteral("kelm-file-") + QUuid::createUuid().toString(QUuid::Id128)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), p_name);
        db.setDatabaseName(path);
        if (readOnly) db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        p_open = db.open();
        if (!p_open) p_error = db.lastError().text();
    }
    ~FileConnection() {
        {
            QSqlDatabase db = QSqlDatabase::database(p_name, false);
            if (db.isOpen()) db.close();
        }
        QSqlDatabase::removeDatabase(p_name);
    }
    FileConnection(const FileConnection&) = delete;
    FileConnection& operator=(const FileConnection&) = delete;

    bool IsOpen() const { return p_open; }
    QString Error() const { return p_error; }
    QSqlDatabase Db() const { return QSqlDatabase::database(p_name, false); }

  private:
    QString p_name;
    bool p_open = false;
    QString p_error;
};

QString SqlText(const QString& text) {
    QString t = text;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

// Row count of every table of the schema; false when one cannot be counted.
bool CountRows(const QSqlDatabase& db, QMap<QString, qint64>& counts, QString* error) {
    counts.clear();
    QSqlQuery q(db);
    for (const TSchemaObject& o : KelmSchema()) {
        if (o.isView) continue;
        // A file of an older release may lack a table added since: it has no rows of it.
        if (o.addedLater && !db.tables().contains(o.name, Qt::CaseInsensitive)) continue;
        if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM ") + o.name) || !q.next()) {
            SetError(error, o.name + QStringLiteral(": ") + q.lastError().text());
            return false;
        }
        counts[o.name] = q.value(0).toLongLong();
    }
    return true;
}

// The names of the columns of a table or view, lower case; false when SQLite cannot
// list them (a view over columns that do not exist).
bool ColumnsOf(const QSqlDatabase& db, const QString& name, QSet<QString>& columns) {
    QSqlQuery q(db);
    columns.clear();
    if (!q.exec(QStringLiteral("PRAGMA table_info(") + SqlText(name) + QLatin1Char(')')))
        return false;
    while (q.next()) columns.insert(q.value(1).toString().toLower());
    return true;
}

bool HasKelmTablesAndViews(const QSqlDatabase& db, QString* reason) {
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT name, type FROM sqlite_master WHERE type IN ('table','view')"))) {
        SetError(reason, q.lastError().text());
        return false;
    }
    QMap<QString, QString> kinds;
    while (q.next()) kinds.insert(q.value(0).toString().toLower(), q.value(1).toString());
    for (const TSchemaObject& o : KelmSchema()) {
        const QString kind = o.isView ? QStringLiteral("view") : QStringLiteral("table");
        const auto it = kinds.constFind(o.name.toLower());
        if (it == kinds.constEnd()) {
            // A file of an older release lacks the tables added since; opening adds them.
            if (o.addedLater) continue;
            SetError(reason, QStringLiteral("%1 %2 is missing").arg(kind, o.name));
            return false;
        }
        if (*it != kind) {
            SetError(reason, QStringLiteral("%1 is a %2, not a %3").arg(o.name, *it, kind));
            return false;
        }
        QSet<QString> present;
        if (!ColumnsOf(db, o.name, present)) {
            SetError(reason, QStringLiteral("%1 %2 cannot be read").arg(kind, o.name));
            return false;
        }
        for (const QString& column : o.columns) {
            if (o.addedColumns.contains(column)) continue;
            if (!present.contains(column.toLower())) {
                SetError(reason,
                         QStringLiteral("%1 %2 has no column %3").arg(kind, o.name, column));
                return false;
            }
        }
    }
    return true;
}

bool PassesIntegrityCheck(const QSqlDatabase& db, QString* reason) {
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA integrity_check")) || !q.next()) {
        SetError(reason, QStringLiteral("integrity check failed: ") + q.lastError().text());
        return false;
    }
    const QString result = q.value(0).toString();
    if (result != QLatin1String("ok")) {
        SetError(reason, QStringLiteral("integrity check: ") + result);
        return false;
    }
    return true;
}

// Writes one copy into temp and checks it against the source's row counts taken before
// and after the copy; false with *changed set when the source changed meanwhile.
bool CopyOnce(const QSqlDatabase& source, const QString& temp, const std::function<void(int)>& progress,
              bool* changed, QString* error) {
    *changed = false;
    RemoveWithJournals(temp);
    QMap<QString, qint64> before, after, copied;
    if (!CountRows(source, before, error)) return false;
    if (progress) progress(10);
    QSqlQuery q(source);
    if (!q.exec(QStringLiteral("VACUUM INTO ") + SqlText(temp))) {
        SetError(error, QStringLiteral("writing the copy: ") + q.lastError().text());
        return false;
    }
    if (progress) progress(60);
    if (!CountRows(source, after, error)) return false;
    {
        FileConnection copy(temp, true);
        if (!copy.IsOpen()) {
            SetError(error, QStringLiteral("the copy does not open: ") + copy.Error());
            return false;
        }
        if (!PassesIntegrityCheck(copy.Db(), error)) return false;
        if (progress) progress(80);
        if (!HasKelmTablesAndViews(copy.Db(), error)) return false;
        if (!CountRows(copy.Db(), copied, error)) return false;
    }
    if (progress) progress(90);
    if (before != after) {
        *changed = true;
        SetError(error, QStringLiteral("the database changed while it was copied"));
        return false;
    }
    if (copied != before) {
        SetError(error, QStringLiteral("the copy does not hold every row of the database"));
        return false;
    }
    return true;
}

}  // namespace

bool BackupDatabase(TsysData& data, const QString& target, const std::function<void(int)>& progress,
                    QString* error) {
    const QFileInfo targetInfo(target);
    if (target.isEmpty() || !targetInfo.absoluteDir().exists() || targetInfo.isDir()) {
        SetError(error, QStringLiteral("no folder for %1").arg(target));
        return false;
    }
    if (data.IsServer()) {
        // A server database is backed up by the same copy kelm-db makes, into a file the
        // restore window takes; an existing file of that name is replaced only by a
        // complete, checked copy.
        const bool done = CopyKelmDatabase(DatabaseTargetText(data.Target()), target,
                                           TCopyMode::Replace, error, nullptr,
                                           [&](int value) {
                                               if (progress) progress(qMin(value, 99));
                                           });
        if (progress) progress(0);
        return done;
    }
    const QString source = data.DatabasePath();
    if (!QFileInfo(source).isFile()) {
        SetError(error, QStringLiteral("database file %1 is missing").arg(source));
        return false;
    }
    if (QFileInfo(source).absoluteFilePath() == targetInfo.absoluteFilePath()) {
        SetError(error, QStringLiteral("the backup cannot replace the database itself"));
        return false;
    }
    const QString temp = targetInfo.absoluteDir().filePath(
        QStringLiteral(".") + targetInfo.fileName() + QStringLiteral(".") +
        QUuid::createUuid().toString(QUuid::Id128).left(8) + QStringLiteral(".part"));
    if (progress) progress(0);
    bool done = false;
    {
        // A connection of its own: the program's may hold open queries, and the copy
        // reads what every connection has committed, log included.
        FileConnection db(source, true);
        if (!db.IsOpen()) {
            SetError(error, QStringLiteral("the database does not open: ") + db.Error());
        } else {
            // Another program writing meanwhile makes the counts differ; the copy is
            // then made again.
            for (int attempt = 0; attempt < 3 && !done; ++attempt) {
                bool changed = false;
                done = CopyOnce(db.Db(), temp, progress, &changed, error);
                if (!changed) break;
            }
        }
    }
    if (done && !ReplaceFile(temp, target)) {
        SetError(error, QStringLiteral("cannot put the copy in place as %1").arg(target));
        done = false;
    }
    if (!done) RemoveWithJournals(temp);
    if (progress) progress(0);
    return done;
}

bool IsKelmDatabaseFile(const QString& path, QString* reason) {
    {
        // Look at the header first, so that SQLite never touches a foreign file.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            SetError(reason, QStringLiteral("cannot read %1").arg(path));
            return false;
        }
        if (file.read(16) != QByteArray("SQLite format 3\0", 16)) {
            SetError(reason, QStringLiteral("%1 is not an SQLite database").arg(path));
            return false;
        }
    }
    const bool journalsBefore = QFileInfo::exists(path + QStringLiteral("-wal")) ||
                                QFileInfo::exists(path + QStringLiteral("-shm"));
    bool ok = false;
    {
        FileConnection db(path, true);
        if (!db.IsOpen())
            SetError(reason, QStringLiteral("does not open: ") + db.Error());
        else
            ok = PassesIntegrityCheck(db.Db(), reason) && HasKelmTablesAndViews(db.Db(), reason);
    }
    // Reading a file in write-ahead-log mode leaves its index files behind.
    if (!journalsBefore) {
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
    }
    return ok;
}

bool RestoreServerDatabase(TsysData& data, const QString& backup,
                           const std::function<void(int)>& progress, bool* refused,
                           QString* error) {
    if (refused) *refused = false;
    if (!data.IsServer()) {
        SetError(error, QStringLiteral("not a server database"));
        return false;
    }
    if (!QFileInfo(backup).isFile()) {
        SetError(error, QStringLiteral("%1 does not exist").arg(backup));
        return false;
    }
    QString reason;
    if (!IsKelmDatabaseFile(backup, &reason)) {
        if (refused) *refused = true;
        SetError(error, reason);
        return false;
    }
    const bool done = CopyKelmDatabase(backup, DatabaseTargetText(data.Target()),
                                       TCopyMode::Replace, error, nullptr,
                                       [&](int value) {
                                           if (progress) progress(qMin(value, 99));
                                       });
    if (progress) progress(0);
    return done;
}
