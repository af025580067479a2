#include "data/UnitData.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QUrl>
#include <QUuid>
#include <QVariant>
#include <cmath>

#include "common/NumberFormat.h"
#include "common/ProgramFolder.h"
#include "data/NumberRule.h"
#include "data/UnitDataConnection.h"
#include "data/UnitDataSchema.h"

namespace {

const QString kDatabaseFileName = QStringLiteral("KelmDB.db");
const QString kConnectFailed = QStringLiteral("连接数据库出现异常情况！");
const QString kBadNumber = QStringLiteral("数字非法！");
const QString kReadOnly = QStringLiteral("数据库文件为只读，不能保存修改！");
const QString kLockedByOther = QStringLiteral("数据库正被其他程序占用，保存失败，请稍后再试！");
const QString kDiskFull = QStringLiteral("磁盘空间已满，保存失败！");
const QString kFileError = QStringLiteral("数据库文件读写出错，保存失败！");

// SQLite's primary result codes (the low byte of an extended code).
enum SqliteCode {
    kPerm = 3,
    kBusy = 5,
    kLocked = 6,
    kReadOnlyCode = 8,
    kIoErr = 10,
    kCorrupt = 11,
    kFull = 13,
    kCantOpen = 14,
    kNotADb = 26,
};

// The message for a failed write the user can act on; empty for a statement that is
// wrong in itself (a refused value, a missing row), which the window handles.
QString WriteFailureMessage(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xFF;
    if (!ok) return QString();
    switch (code) {
        case kBusy:
        case kLocked:
            return kLockedByOther;
        case kReadOnlyCode:
            return kReadOnly;
        case kFull:
            return kDiskFull;
        case kPerm:
        case kIoErr:
        case kCorrupt:
        case kCantOpen:
        case kNotADb:
            return kFileError;
        default:
            return QString();
    }
}

// The same for a server, whose error codes are SQLSTATE texts.
QString ServerWriteFailureMessage(const QSqlError& error) {
    const QString state = error.nativeErrorCode();
    if (state == QStringLiteral("53100")) return kDiskFull;
    if (state == QStringLiteral("25006")) return kReadOnly;
    if (state == QStringLiteral("55P03") || state == QStringLiteral("40P01")) return kLockedByOther;
    return QString();
}

TsysData* g_installed = nullptr;
std::unique_ptr<TsysData> g_fallback;

// A named parameter is written ":name" in the statement text.
QString Placeholder(const QString& name) {
    return name.startsWith(QLatin1Char(':')) ? name : QLatin1Char(':') + name;
}

}  // namespace

TsysData::TsysData(const QString& dbPath)
    : p_connectionName(QStringLiteral("kelm-") +
                       QUuid::createUuid().toString(QUuid::WithoutBraces)) {
    const QString text = dbPath.trimmed().isEmpty() ? DefaultDatabasePath() : dbPath;
    if (!ParseDatabaseTarget(text, p_target, &p_targetError)) {
        // Kept as given so messages can name it; Open refuses it.
        p_target = TDbTarget();
        p_target.path = text;
    }
    p_path = p_target.engine == TDbEngine::File ? p_target.path : p_target.Display();
    QSqlDatabase::addDatabase(kelm::sql::DriverName(p_target.engine), p_connectionName);
}

TsysData::~TsysData() {
    Close();
    QSqlDatabase::removeDatabase(p_connectionName);
}

QString TsysData::ChooseDatabasePath(const QString& programDir, bool programDirWritable,
                                     const QString& dataDir) {
    if (!programDir.isEmpty()) {
        const QString beside = QDir(programDir).filePath(kDatabaseFileName);
        // The workshop's data stay where they are, even where the user may not write:
        // they are opened for reading rather than hidden behind an empty new file.
        if (QFileInfo(beside).isFile() || programDirWritable) return beside;
    }
    return QDir(dataDir).filePath(kDatabaseFileName);
}

QString TsysData::DefaultDatabasePath() {
    return DefaultDatabasePath(QCoreApplication::applicationDirPath());
}

QString TsysData::DefaultDatabasePath(const QString& exeDir) {
    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString chosen =
        ChooseDatabasePath(exeDir, kelm::ProgramFolderTakesFiles(exeDir), dataDir);
    if (chosen.startsWith(dataDir)) QDir().mkpath(dataDir);
    return chosen;
}

bool TsysData::IsReadOnly() const { return p_readOnly; }

void TsysData::SetReadOnly(bool readOnly) { p_forceReadOnly = readOnly; }

void TsysData::SetBusyTimeout(int milliseconds) { p_busyTimeout = qMax(0, milliseconds); }

QString TsysData::Notice() const {
    if (p_opened && p_readOnly)
        return QStringLiteral("数据库为只读（文件或其文件夹不可写），修改不能保存：") +
               QDir::toNativeSeparators(p_path);
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (p_opened && !exeDir.isEmpty() && p_path == DefaultDatabasePath() &&
        QFileInfo(p_path).absolutePath() != QFileInfo(exeDir).absoluteFilePath())
        return QStringLiteral("程序文件夹不可写，数据文件位于：") + QDir::toNativeSeparators(p_path);
    return QString();
}

QString TsysData::DatabasePath() const { return p_path; }

TDbEngine TsysData::Engine() const { return p_target.engine; }

bool TsysData::IsServer() const { return p_target.engine == TDbEngine::Server; }

const TDbTarget& TsysData::Target() const { return p_target; }

QSqlDatabase TsysData::Database() { return QSqlDatabase::database(p_connectionName, false); }

bool TsysData::IsOpen() const {
    return p_opened && QSqlDatabase::database(p_connectionName, false).isOpen();
}

QString TsysData::LastError() const { return p_lastError; }

bool TsysData::Open() {
    if (IsOpen()) return true;
    if (!p_targetError.isEmpty()) {
        p_lastError = p_targetError;
        return false;
    }
    if (!(IsServer() ? OpenServer() : OpenFile())) return false;
    p_opened = true;
    return true;
}

bool TsysData::OpenFile() {
    QSqlDatabase db = Database();
    const bool existed = QFileInfo::exists(p_path);
    if (existed) {
        const QFileInfo file(p_path);
        if (p_forceReadOnly || !file.isWritable() || !QFileInfo(file.absolutePath()).isWritable())
            return OpenReadOnly();
    } else if (p_forceReadOnly) {
        p_lastError = QStringLiteral("%1 does not exist").arg(p_path);
        return false;
    }
    p_readOnly = false;
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(p_busyTimeout));
    if (!existed) {
        // Never create a file inside a folder that is not there: that is a wrong path,
        // not a first installation.
        if (!QFileInfo(QFileInfo(p_path).absolutePath()).isDir()) {
            p_lastError = QStringLiteral("folder of %1 does not exist").arg(p_path);
            return false;
        }
    }
    db.setDatabaseName(p_path);
    if (!db.open()) {
        p_lastError = db.lastError().text();
        return false;
    }
    if (!existed) {
        SetConnectionPragmas();
        if (!CreateSchema()) {
            db.close();
            // A half-made file would later be taken for a foreign one; remove it so the
            // next attempt starts afresh.
            QFile::remove(p_path);
            QFile::remove(p_path + QStringLiteral("-wal"));
            QFile::remove(p_path + QStringLiteral("-shm"));
            QFile::remove(p_path + QStringLiteral("-journal"));
            return false;
        }
    } else if (!HasKelmSchema()) {
        // Nothing has been written yet, so a foreign file stays exactly as it was.
        db.close();
        return false;
    } else {
        SetConnectionPragmas();
        // A file of an older release gets what was added since; one that cannot take
        // it is not used, and stays as it was.
        QString error;
        if (!UpgradeKelmSchema(db, &error)) {
            p_lastError = QStringLiteral("%1 could not be brought up to date: %2").arg(p_path, error);
            qWarning().noquote() << p_lastError;
            db.close();
            return false;
        }
    }
    return true;
}

bool TsysData::OpenServer() {
    QSqlDatabase db = Database();
    if (!OpenKelmConnection(db, p_target, false, &p_lastError)) return false;
    auto fail = [&](const QString& why) {
        p_lastError = why;
        db.close();
        return false;
    };
    QStringList names;
    if (!ListObjects(names)) return fail(p_lastError);
    if (names.isEmpty()) {
        // An empty database becomes a Kelm database. Several seats may connect first at
        // the same moment: creation is serialised and the loser finds the tables made.
        if (!CreateSchema()) return fail(p_lastError);
        return true;
    }
    if (!HasKelmSchema()) return fail(p_lastError);
    // A database made by an older release gets what was added since, in one
    // transaction; one that cannot take it is not used, and stays as it was.
    QString error;
    if (!UpgradeKelmSchema(db, &error))
        return fail(QStringLiteral("%1 could not be brought up to date: %2").arg(p_path, error));
    return true;
}

bool TsysData::ListObjects(QStringList& names) {
    QSqlQuery q(Database());
    if (!q.exec(kelm::sql::ListObjects(p_target.engine))) {
        p_lastError = q.lastError().text();
        return false;
    }
    while (q.next()) names << q.value(0).toString().toLower();
    return true;
}

bool TsysData::OpenReadOnly() {
    QSqlDatabase db = Database();
    const QString options =
        QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(p_busyTimeout);
    db.setDatabaseName(p_path);
    db.setConnectOptions(options);
    bool ok = db.open() && HasKelmSchema();
    if (!ok) {
        db.close();
        // A file in write-ahead-log mode needs an index file beside it, which a folder
        // the user may not write cannot take: it is then read as a file that nobody
        // changes while the program runs.
        db.setDatabaseName(QUrl::fromLocalFile(QFileInfo(p_path).absoluteFilePath())
                               .toString(QUrl::FullyEncoded) +
                           QStringLiteral("?immutable=1"));
        db.setConnectOptions(options + QStringLiteral(";QSQLITE_OPEN_URI"));
        ok = db.open() && HasKelmSchema();
    }
    if (!ok) {
        if (p_lastError.isEmpty()) p_lastError = db.lastError().text();
        db.close();
        return false;
    }
    p_readOnly = true;
    p_opened = true;
    return true;
}

void TsysData::ReportWriteFailure(const QSqlError& error) {
    const QString message =
        IsServer() ? ServerWriteFailureMessage(error) : WriteFailureMessage(error);
    if (!message.isEmpty()) ShowInfo(message);
}

bool TsysData::HasKelmSchema() {
    QStringList names;
    if (!ListObjects(names)) return false;
    const QSet<QString> present(names.begin(), names.end());
    for (const TSchemaObject& o : KelmSchema()) {
        if (!o.addedLater && !present.contains(o.name.toLower())) {
            p_lastError = QStringLiteral("%1 is missing from %2").arg(o.name, p_path);
            return false;
        }
    }
    return true;
}

namespace {

std::vector<TSchemaAddition> MissingIn(const QHash<QString, QSet<QString>>& tables) {
    std::vector<TSchemaAddition> missing;
    QSet<QString> created;  // tables a missing addition creates, with all their columns
    for (const TSchemaAddition& a : KelmSchemaAdditions()) {
        const QString table = a.table.toLower();
        if (a.column.isEmpty()) {
            if (!tables.contains(table)) {
                missing.push_back(a);
                created.insert(table);
            }
            continue;
        }
        if (created.contains(table)) continue;
        // A column of a table the database lacks, or holds as a view, is missing as
        // well: adding it fails, and the database is not used.
        const auto it = tables.constFind(table);
        if (it == tables.constEnd() || !it->contains(a.column.toLower())) missing.push_back(a);
    }
    return missing;
}

}  // namespace

std::vector<TSchemaAddition> MissingSchemaAdditions(const QSqlDatabase& db) {
    QHash<QString, QSet<QString>> tables;
    ReadTableColumns(db, tables);
    return MissingIn(tables);
}

bool UpgradeKelmSchema(QSqlDatabase& db, QString* error) {
    if (MissingSchemaAdditions(db).empty()) return true;
    const TDbEngine engine = EngineOf(db);
    auto fail = [&](const QString& reason) {
        if (error) *error = reason;
        return false;
    };
    QSqlQuery q(db);
    auto rollback = [&](const QString& reason) {
        q.finish();
        db.rollback();
        return fail(reason);
    };
    // The write lock is held from the start, and on a server the seats opening an older
    // database at the same moment take turns: what is missing is read again once this
    // seat has the lock, so the later seats find the additions made and add nothing.
    if (!q.exec(kelm::sql::BeginWrite(engine))) return fail(q.lastError().text());
    const QString lock = kelm::sql::LockSchemaCreation(engine);
    if (!lock.isEmpty() && !q.exec(lock)) return rollback(q.lastError().text());
    QHash<QString, QSet<QString>> tables;
    if (!ReadTableColumns(db, tables)) return rollback(q.lastError().text());
    for (const TSchemaAddition& a : MissingIn(tables)) {
        const QString& sql = a.Sql(engine);
        if (!q.exec(sql)) return rollback(q.lastError().text() + QStringLiteral(" in ") + sql);
    }
    q.finish();
    if (!db.commit()) return rollback(db.lastError().text());
    return true;
}

void TsysData::SetConnectionPragmas() {
    // Write-ahead log with normal syncing: every statement still stands alone and
    // survives a program crash, but single-row writes no longer wait for the disk.
    QSqlQuery q(Database());
    q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
}

bool TsysData::CreateSchema() {
    QSqlDatabase db = Database();
    QSqlQuery q(db);
    if (!q.exec(kelm::sql::BeginWrite(p_target.engine))) {
        p_lastError = q.lastError().text();
        return false;
    }
    auto rollback = [&](const QString& why) {
        p_lastError = why;
        q.finish();
        db.rollback();
        return false;
    };
    const QString lock = kelm::sql::LockSchemaCreation(p_target.engine);
    if (!lock.isEmpty()) {
        if (!q.exec(lock)) return rollback(q.lastError().text());
        // Another seat may have made the tables while this one waited for the lock.
        QStringList names;
        if (!ListObjects(names)) return rollback(p_lastError);
        if (!names.isEmpty()) {
            q.finish();
            db.rollback();
            return HasKelmSchema();
        }
    }
    QStringList statements;
    for (const TSchemaObject& o : KelmSchema()) statements << o.CreateSql(p_target.engine);
    statements << KelmFirstRows();
    for (const QString& sql : statements)
        if (!q.exec(sql)) return rollback(q.lastError().text() + QStringLiteral(" in ") + sql);
    q.finish();
    if (!db.commit()) return rollback(db.lastError().text());
    return true;
}

void TsysData::Close() {
    p_prepared.clear();
    QSqlDatabase db = Database();
    if (db.isOpen()) db.close();
    p_opened = false;
}

bool TsysData::OpenOrTell() {
    if (Open()) return true;
    ShowInfo(kConnectFailed);
    return false;
}

std::unique_ptr<QSqlQuery> TsysData::OpenQuery(const QString& sql) {
    if (!OpenOrTell()) return std::make_unique<QSqlQuery>(Database());
    auto q = std::make_unique<QSqlQuery>(Database());
    if (!q->exec(sql)) {
        p_lastError = q->lastError().text();
        ShowInfo(kConnectFailed);
        // Hand back an unopened query so the caller reads no rows.
        q = std::make_unique<QSqlQuery>(Database());
    }
    return q;
}

void TsysData::SetCommonSQL(const QString& sql) {
    p_commonSql = sql;
    p_commonParams.clear();
}

void TsysData::SetCommonParam(const QString& name, const QString& value) {
    const QString key = Placeholder(name);
    // A null string would be stored as NULL; the value handed over is always a text.
    const QString text = value.isNull() ? QStringLiteral("") : value;
    for (auto& p : p_commonParams) {
        if (p.first == key) {
            p.second = text;
            return;
        }
    }
    p_commonParams.append({key, text});
}

QSqlQuery* TsysData::PreparedCommon() {
    if (auto it = p_prepared.constFind(p_commonSql); it != p_prepared.constEnd())
        return it->get();
    auto q = std::make_shared<QSqlQuery>(Database());
    if (!q->prepare(p_commonSql)) {
        p_lastError = q->lastError().text();
        ReportWriteFailure(q->lastError());
        return nullptr;
    }
    // A handful of statements make up nearly every write; an odd one does not grow the
    // store without end.
    if (p_prepared.size() >= 64) p_prepared.clear();
    p_prepared.insert(p_commonSql, q);
    return q.get();
}

bool TsysData::ExecCommon() {
    if (!Open()) return false;
    if (p_readOnly) {
        p_lastError = QStringLiteral("the database is open for reading only");
        ShowInfo(kReadOnly);
        return false;
    }
    QSqlQuery* q = PreparedCommon();
    if (!q) return false;
    // Every parameter is set afresh: one the new values leave out must not keep the
    // value of the previous run.
    const qsizetype bound = q->boundValues().size();
    for (qsizetype i = 0; i < bound; ++i) q->bindValue(static_cast<int>(i), QVariant());
    for (const auto& p : p_commonParams) q->bindValue(p.first, p.second);
    if (!q->exec()) {
        p_lastError = q->lastError().text();
        ReportWriteFailure(q->lastError());
        p_prepared.remove(p_commonSql);
        return false;
    }
    const bool changed = q->numRowsAffected() > 0;
    q->finish();
    return changed;
}

bool TsysData::Transaction(const QString& purpose) {
    if (!Open()) return false;
    QSqlQuery q(Database());
    // When another program holds the file's write lock longer than the wait allows, the
    // transaction still starts: its first write then fails and says why.
    if (!q.exec(kelm::sql::BeginWrite(p_target.engine)) &&
        (IsServer() || !q.exec(QStringLiteral("BEGIN")))) {
        p_lastError = q.lastError().text();
        return false;
    }
    const QString serialise = kelm::sql::SerialiseWriters(p_target.engine, purpose);
    if (!serialise.isEmpty() && !q.exec(serialise)) {
        p_lastError = q.lastError().text();
        q.finish();
        Database().rollback();
        return false;
    }
    return true;
}

bool TsysData::Commit() {
    if (!IsOpen()) return false;
    QSqlDatabase db = Database();
    if (db.commit()) return true;
    p_lastError = db.lastError().text();
    ReportWriteFailure(db.lastError());
    return false;
}

bool TsysData::Rollback() { return IsOpen() && Database().rollback(); }

QString TsysData::NewTimeID(const QString& suffix) const {
    return TimeIDAt(QDateTime::currentDateTime(), suffix);
}

void TsysData::ShowInfo(const QString& text) {
    if (p_prompt)
        p_prompt->Info(text);
    else
        qInfo().noquote() << kPromptCaption << ":" << text;
}

bool TsysData::AskConfirm(const QString& text) {
    if (p_prompt) return p_prompt->Confirm(text);
    qInfo().noquote() << kPromptCaption << ": (no one to ask, cancelled)" << text;
    return false;
}

bool TsysData::CheckNumberText(const QString& text) {
    // The default rule: a number from 0 up to ten million.
    if (text.trimmed().isEmpty()) return false;
    const QString message = NumberRuleMessage(text, TNumberRule());
    if (message.isEmpty()) return true;
    ShowInfo(message);
    return false;
}

void TsysData::SetPrompt(TPrompt* prompt) { p_prompt = prompt; }

TPrompt* TsysData::Prompt() const { return p_prompt; }

std::unique_ptr<TsysData> ConnectDatabase(const QString& fileOrUrl, QString* error) {
    auto data = std::make_unique<TsysData>(fileOrUrl);
    if (data->Open()) return data;
    if (error) *error = data->LastError();
    return nullptr;
}

// ---- the one data module of the run ----

TsysData* sysData() {
    if (g_installed) return g_installed;
    if (!g_fallback) {
        g_fallback = std::make_unique<TsysData>();
        // The connection must be closed while Qt's database registry still exists: at
        // the end of the application, not among the exit handlers, where that registry
        // may already be gone. Without an application the module is kept to the end.
        if (QCoreApplication::instance())
            qAddPostRoutine([] { g_fallback.reset(); });
        else
            (void)g_fallback.release();
    }
    return g_fallback.get();
}

void SetSysData(TsysData* data) { g_installed = data; }

std::unique_ptr<QSqlQuery> OpenQuery(const QString& sql) { return sysData()->OpenQuery(sql); }
void SetCommonSQL(const QString& sql) { sysData()->SetCommonSQL(sql); }
void SetCommonParam(const QString& name, const QString& value) {
    sysData()->SetCommonParam(name, value);
}
bool ExecCommon() { return sysData()->ExecCommon(); }
QString NewTimeID(const QString& suffix) { return sysData()->NewTimeID(suffix); }
void ShowInfo(const QString& text) { sysData()->ShowInfo(text); }
bool AskConfirm(const QString& text) { return sysData()->AskConfirm(text); }
bool CheckNumberText(const QString& text) { return sysData()->CheckNumberText(text); }

bool CheckNumberText(const QString& text, const TNumberRule& rule) {
    if (text.trimmed().isEmpty()) return false;
    const QString message = NumberRuleMessage(text, rule);
    if (message.isEmpty()) return true;
    ShowInfo(message);
    return false;
}

QString NumberRuleMessage(const QString& text, const TNumberRule& rule, double* value) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return QStringLiteral("不能为空！");
    double v = 0;
    // Infinities, NaN and what overflows a double ("1e309") are no numbers.
    if (!kelm::ParseNumber(t, v)) return kBadNumber;
    if (rule.whole && v != std::floor(v)) return QStringLiteral("请输入整数！");
    if (rule.minExclusive ? v <= rule.min : v < rule.min) {
        if (rule.minExclusive)
            return QStringLiteral("数字必须大于%1！").arg(kelm::FormatGeneral(rule.min));
        return QStringLiteral("数字不能小于%1！").arg(kelm::FormatGeneral(rule.min));
    }
    if (v > rule.max)
        return QStringLiteral("数字不能大于%1！").arg(kelm::FormatGeneral(rule.max));
    if (value) *value = v;
    return QString();
}

QString TimeIDAt(const QDateTime& moment, const QString& suffix) {
    return moment.toString(QStringLiteral("yyMMddHHmmss")) + suffix;
}

// ---- reading columns ----

namespace {

// The column is looked up once: reading by name would build the row's record again.
QVariant ColumnValue(const QSqlQuery& query, const QString& column) {
    const int index = query.record().indexOf(column);
    return index < 0 ? QVariant() : query.value(index);
}

}  // namespace

QString FieldText(const QSqlQuery& query, const QString& column) {
    const QVariant v = ColumnValue(query, column);
    if (!v.isValid() || v.isNull()) return QString();
    switch (v.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            return kelm::FormatGeneral(v.toDouble());
        case QMetaType::LongLong:
        case QMetaType::Int:
        case QMetaType::ULongLong:
        case QMetaType::UInt:
            return QString::number(v.toLongLong());
        default:
            return v.toString();
    }
}

double FieldFloat(const QSqlQuery& query, const QString& column) {
    const QVariant v = ColumnValue(query, column);
    if (!v.isValid() || v.isNull()) return 0;
    if (v.typeId() == QMetaType::QString) {
        double value = 0;
        return kelm::ParseNumber(v.toString(), value) ? value : 0;
    }
    return v.toDouble();
}

int FieldInt(const QSqlQuery& query, const QString& column) {
    return static_cast<int>(qRound64(FieldFloat(query, column)));
}

bool IsCounterKey(const QString& text) {
    if (text.isEmpty() || text.size() > 19) return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('-') && i == 0 && text.size() > 1) continue;
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    }
    return true;
}
