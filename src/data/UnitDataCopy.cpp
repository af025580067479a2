#include "data/UnitDataCopy.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <QVariant>
#include <filesystem>
#include <system_error>
#include <vector>

#include "data/UnitData.h"
#include "data/UnitDataBackup.h"
#include "data/UnitDataConnection.h"
#include "data/UnitDataSchema.h"

namespace {

// One table to copy: the columns of it that the source has, in schema order.
struct TCopyTable {
    const TSchemaObject* table = nullptr;
    QStringList columns;
};

// Tables that a new database fills with its first rows (the settings, the fees).
bool IsFirstRowsTable(const QString& table) {
    return table == QStringLiteral("FSysSet") || table == QStringLiteral("FProFei");
}

bool SetError(QString* error, const QString& text) {
    if (error) *error = text;
    return false;
}

// The Kelm tables db holds, with the columns of each that db has. False when db lacks a
// table or column of the first release: then it is no Kelm database.
bool KelmTablesOf(const QSqlDatabase& db, std::vector<TCopyTable>& tables, QString* reason) {
    QHash<QString, QSet<QString>> present;
    if (!ReadTableColumns(db, present)) return SetError(reason, db.lastError().text());
    tables.clear();
    for (const TSchemaObject& o : KelmSchema()) {
        if (o.isView) continue;
        const auto it = present.constFind(o.name.toLower());
        if (it == present.constEnd()) {
            if (o.addedLater) continue;
            return SetError(reason, QStringLiteral("table %1 is missing").arg(o.name));
        }
        TCopyTable t{&o, {}};
        for (const QString& c : o.columns) {
            if (it->contains(c.toLower()))
                t.columns << c;
            else if (!o.addedColumns.contains(c))
                return SetError(reason, QStringLiteral("column %1.%2 is missing").arg(o.name, c));
        }
        tables.push_back(t);
    }
    return true;
}

// "FCl 12 <sha256>": the rows as text in the general number form, sorted, so neither the
// engine's row order nor its number types change the checksum.
bool TableDigest(const QSqlDatabase& db, const TCopyTable& t, QString& line, QString* error) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT %1 FROM %2").arg(t.columns.join(QLatin1Char(',')), t.table->name)))
        return SetError(error, q.lastError().text());
    QStringList rows;
    while (q.next()) {
        QStringList values;
        for (const QString& c : t.columns) {
            // NULL and "" are told apart.
            const QVariant v = q.value(c);
            values << (v.isNull() ? QStringLiteral("\\N") : FieldText(q, c));
        }
        rows << values.join(QChar(0x1f));
    }
    rows.sort();
    const QByteArray hash =
        QCryptographicHash::hash(rows.join(QChar(0x1e)).toUtf8(), QCryptographicHash::Sha256);
    line = QStringLiteral("%1 %2 %3").arg(t.table->name).arg(rows.size()).arg(QString::fromLatin1(hash.toHex()));
    return true;
}

bool Digest(const QSqlDatabase& db, const std::vector<TCopyTable>& tables, QStringList& lines,
            QString* error) {
    lines.clear();
    for (const TCopyTable& t : tables) {
        QString line;
        if (!TableDigest(db, t, line, error)) return false;
        lines << line;
    }
    return true;
}

qint64 RowCount(const QSqlDatabase& db, const QString& table) {
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)) || !q.next()) return -1;
    return q.value(0).toLongLong();
}

QString Absolute(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

bool SameDatabase(const TDbTarget& a, const TDbTarget& b) {
    if (a.engine != b.engine) return false;
    if (a.engine == TDbEngine::File) {
        const QFileInfo fa(a.path), fb(b.path);
        const QString ca = fa.canonicalFilePath(), cb = fb.canonicalFilePath();
        if (!ca.isEmpty() && ca == cb) return true;
        return Absolute(a.path) == Absolute(b.path);
    }
    return a.Display() == b.Display();
}

// Reads the source: a Kelm database, in one snapshot held until it goes.
class TSource {
  public:
    explicit TSource(const TDbTarget& target) : p_connection(target, true) {}
    ~TSource() {
        if (p_inSnapshot) QSqlQuery(p_connection.Db()).exec(QStringLiteral("ROLLBACK"));
    }

    bool Open(const TDbTarget& target, std::vector<TCopyTable>& tables, QString* error) {
        if (target.engine == TDbEngine::File) {
            if (!QFileInfo(target.path).isFile())
                return SetError(error, QStringLiteral("源数据库文件不存在：%1").arg(target.path));
            // The same check the restore window makes; it never writes the file.
            QString reason;
            if (!IsKelmDatabaseFile(target.path, &reason))
                return SetError(error, QStringLiteral("源文件不是完好的数据库文件（%1）。").arg(reason));
        }
        if (!p_connection.IsOpen())
            return SetError(error, QStringLiteral("无法连接源数据库：%1").arg(p_connection.Error()));
        QSqlQuery q(p_connection.Db());
        const QString begin = target.engine == TDbEngine::Server
                                  ? QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ")
                                  : QStringLiteral("BEGIN");
        if (!q.exec(begin)) return SetError(error, QStringLiteral("无法读取源数据库：%1").arg(q.lastError().text()));
        p_inSnapshot = true;
        QString reason;
        if (!KelmTablesOf(p_connection.Db(), tables, &reason))
            return SetError(error, QStringLiteral("源数据库不是Kelm数据库（%1）。").arg(reason));
        return true;
    }
    QSqlDatabase Db() const { return p_connection.Db(); }

  private:
    TKelmConnection p_connection;
    bool p_inSnapshot = false;
};

// Copies every row of the tables into the target connection, inside its running
// transaction, then checks the copy against the source's digest.
bool CopyRows(const QSqlDatabase& from, const QSqlDatabase& to, TDbEngine toEngine,
              const std::vector<TCopyTable>& tables, QStringList& digest, QString* error,
              const std::function<void(int)>& progress) {
    qint64 total = 0;
    for (const TCopyTable& t : tables) {
        const qint64 n = RowCount(from, t.table->name);
        if (n < 0) return SetError(error, QStringLiteral("无法读取源数据库的表 %1。").arg(t.table->name));
        total += n;
    }
    qint64 done = 0;
    for (const TCopyTable& t : tables) {
        const QString columns = t.columns.join(QLatin1Char(','));
        QSqlQuery read(from);
        read.setForwardOnly(true);
        if (!read.exec(QStringLiteral("SELECT %1 FROM %2").arg(columns, t.table->name)))
            return SetError(error, QStringLiteral("无法读取源数据库的表 %1：%2").arg(t.table->name, read.lastError().text()));
        QStringList marks;
        for (qsizetype i = 0; i < t.columns.size(); ++i) marks << QStringLiteral("?");
        QSqlQuery write(to);
        if (!write.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(t.table->name, columns, marks.join(QLatin1Char(',')))))
            return SetError(error, QStringLiteral("表 %1 复制失败：%2").arg(t.table->name, write.lastError().text()));
        while (read.next()) {
            for (int i = 0; i < t.columns.size(); ++i) write.bindValue(i, read.value(i));
            if (!write.exec())
                return SetError(error, QStringLiteral("表 %1 复制失败：%2").arg(t.table->name, write.lastError().text()));
            ++done;
            if (progress && total > 0 && done % 500 == 0) progress(int(done * 90 / total));
        }
        const QString counter = t.table->CounterColumn();
        const QString reset = counter.isEmpty() ? QString() : kelm::sql::ResetCounter(toEngine, t.table->name, counter);
        QSqlQuery r(to);
        if (!reset.isEmpty() && !r.exec(reset))
            return SetError(error, QStringLiteral("表 %1 复制失败：%2").arg(t.table->name, r.lastError().text()));
    }
    if (progress) progress(90);
    // The check: what the target now holds against what the source holds.
    QStringList source, target;
    QString reason;
    if (!Digest(from, tables, source, &reason) || !Digest(to, tables, target, &reason))
        return SetError(error, QStringLiteral("复制后无法校验：%1").arg(reason));
    if (source != target)
        return SetError(error, QStringLiteral("复制后校验不一致：行数或内容与源数据库不同，未保存。"));
    digest = source;
    return true;
}

bool Exec(QSqlQuery& q, const QString& sql, QString* error) {
    if (q.exec(sql)) return true;
    return SetError(error, q.lastError().text() + QStringLiteral(" in ") + sql);
}

bool CopyIntoFile(TSource& source, const std::vector<TCopyTable>& tables, const TDbTarget& target,
                  TCopyMode mode, QStringList& digest, QString* error,
                  const std::function<void(int)>& progress) {
    const QFileInfo info(target.path);
    if (info.isDir()) return SetError(error, QStringLiteral("目标是一个文件夹：%1").arg(target.path));
    if (!info.absoluteDir().exists())
        return SetError(error, QStringLiteral("目标文件夹不存在：%1").arg(info.absolutePath()));
    if (info.exists() && mode == TCopyMode::IntoEmpty)
        return SetError(error, QStringLiteral("目标文件已存在，未复制：%1").arg(target.path));
    TDbTarget temp = target;
    temp.path = info.absoluteDir().filePath(QStringLiteral(".") + info.fileName() + QStringLiteral(".") +
                                            QUuid::createUuid().toString(QUuid::Id128).left(8) +
                                            QStringLiteral(".part"));
    auto removeTemp = [&] {
        QFile::remove(temp.path);
        for (const char* suffix : {"-wal", "-shm", "-journal"}) QFile::remove(temp.path + QLatin1String(suffix));
    };
    bool ok = false;
    {
        TKelmConnection file(temp, false);
        if (!file.IsOpen()) {
            SetError(error, QStringLiteral("无法写入目标文件：%1").arg(file.Error()));
        } else {
            QSqlQuery q(file.Db());
            QString reason;
            ok = Exec(q, QStringLiteral("BEGIN IMMEDIATE"), &reason);
            for (const TSchemaObject& o : KelmSchema()) ok = ok && Exec(q, o.createSql, &reason);
            if (!ok) SetError(error, QStringLiteral("无法写入目标文件：%1").arg(reason));
            ok = ok && CopyRows(source.Db(), file.Db(), TDbEngine::File, tables, digest, error, progress);
            ok = ok && Exec(q, QStringLiteral("COMMIT"), error);
            if (!ok) q.exec(QStringLiteral("ROLLBACK"));
        }
    }
    QString reason;
    if (ok && !IsKelmDatabaseFile(temp.path, &reason)) {
        ok = SetError(error, QStringLiteral("写入的文件未通过检查（%1）。").arg(reason));
    }
    if (ok) {
        std::error_code failed;
        std::filesystem::rename(std::filesystem::path(temp.path.toStdWString()),
                                std::filesystem::path(info.absoluteFilePath().toStdWString()), failed);
        if (failed) ok = SetError(error, QStringLiteral("无法把副本放到 %1。").arg(target.path));
    }
    if (!ok) removeTemp();
    return ok;
}

bool CopyIntoServer(TSource& source, const std::vector<TCopyTable>& tables, const TDbTarget& target,
                    TCopyMode mode, QStringList& digest, QString* error,
                    const std::function<void(int)>& progress) {
    TKelmConnection server(target, false);
    if (!server.IsOpen())
        return SetError(error, QStringLiteral("无法连接目标数据库：%1").arg(server.Error()));
    QSqlDatabase db = server.Db();
    auto objects = [&](QSet<QString>& names) {
        QSqlQuery q(db);
        if (!q.exec(kelm::sql::ListObjects(TDbEngine::Server))) return false;
        while (q.next()) names.insert(q.value(0).toString().toLower());
        return true;
    };
    auto isKelm = [&](const QSet<QString>& names) {
        for (const TSchemaObject& o : KelmSchema())
            if (!o.addedLater && !names.contains(o.name.toLower())) return false;
        return true;
    };
    const QString foreign = QStringLiteral("目标数据库不是空的，也不是Kelm数据库，未作任何改动。");
    QSet<QString> names;
    if (!objects(names)) return SetError(error, db.lastError().text());
    if (!names.isEmpty()) {
        if (!isKelm(names)) return SetError(error, foreign);
        // A Kelm database of an older release first gets what was added since, as any
        // seat connecting to it would.
        QString reason;
        if (!UpgradeKelmSchema(db, &reason))
            return SetError(error, QStringLiteral("目标数据库无法升级：%1").arg(reason));
    }
    QSqlQuery q(db);
    QString reason;
    auto rollback = [&](const QString& why) {
        q.finish();
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        return SetError(error, why);
    };
    if (!Exec(q, kelm::sql::BeginWrite(TDbEngine::Server), &reason))
        return SetError(error, QStringLiteral("目标数据库无法写入：%1").arg(reason));
    // Seats connecting to an empty database meanwhile wait for the schema made here.
    if (!Exec(q, kelm::sql::LockSchemaCreation(TDbEngine::Server), &reason)) return rollback(reason);
    names.clear();
    if (!objects(names)) return rollback(db.lastError().text());
    const bool create = names.isEmpty();
    if (!create && !isKelm(names)) return rollback(foreign);
    if (!create) {
        std::vector<TCopyTable> present;
        if (!KelmTablesOf(db, present, &reason)) return rollback(foreign);
        if (mode == TCopyMode::IntoEmpty) {
            for (const TCopyTable& t : present) {
                const qint64 n = RowCount(db, t.table->name);
                if (n != 0 && !(IsFirstRowsTable(t.table->name) && n == 1))
                    return rollback(QStringLiteral("目标数据库中已有数据，未复制。"));
            }
        }
        for (const TCopyTable& t : present)
            if (!Exec(q, QStringLiteral("DELETE FROM %1").arg(t.table->name), &reason)) return rollback(reason);
    } else {
        for (const TSchemaObject& o : KelmSchema())
            if (!Exec(q, o.serverSql, &reason)) return rollback(QStringLiteral("无法建立数据表：%1").arg(reason));
    }
    QString why;
    if (!CopyRows(source.Db(), db, TDbEngine::Server, tables, digest, &why, progress)) return rollback(why);
    q.finish();
    if (!Exec(q, QStringLiteral("COMMIT"), &reason)) return rollback(QStringLiteral("目标数据库提交失败：%1").arg(reason));
    return true;
}

}  // namespace

bool CopyKelmDatabase(const QString& sourceText, const QString& targetText, TCopyMode mode,
                      QString* error, QStringList* digest, const std::function<void(int)>& progress) {
    TDbTarget from, to;
    QString reason;
    if (!ParseDatabaseTarget(sourceText, from, &reason))
        return SetError(error, QStringLiteral("源数据库：%1").arg(reason));
    if (!ParseDatabaseTarget(targetText, to, &reason))
        return SetError(error, QStringLiteral("目标数据库：%1").arg(reason));
    if (SameDatabase(from, to)) return SetError(error, QStringLiteral("源数据库和目标数据库相同，未复制。"));
    if (progress) progress(0);
    std::vector<TCopyTable> tables;
    TSource source(from);
    if (!source.Open(from, tables, error)) return false;
    QStringList lines;
    const bool ok = to.engine == TDbEngine::File
                        ? CopyIntoFile(source, tables, to, mode, lines, error, progress)
                        : CopyIntoServer(source, tables, to, mode, lines, error, progress);
    if (!ok) return false;
    if (digest) *digest = lines;
    if (progress) progress(100);
    return true;
}

QStringList KelmDatabaseDigest(const QString& fileOrUrl, QString* error) {
    TDbTarget target;
    if (!ParseDatabaseTarget(fileOrUrl, target, error)) return {};
    if (target.engine == TDbEngine::File && !QFileInfo(target.path).isFile()) {
        SetError(error, QStringLiteral("数据库文件不存在：%1").arg(target.path));
        return {};
    }
    TSource source(target);
    std::vector<TCopyTable> tables;
    QStringList lines;
    if (!source.Open(target, tables, error) || !Digest(source.Db(), tables, lines, error)) return {};
    return lines;
}
