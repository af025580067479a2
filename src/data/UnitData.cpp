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

TsysData* g_installed = nullptr;
std::unique_ptr<TsysData> g_fallback;

// A named parameter is written ":name" in the statement text.
QString Placeholder(const QString& name) {
    return name.startsWith(QLatin1Char(':')) ? name : QLatin1Char(':') + name;
}

}  // namespace

TsysData::TsysData(const QString& dbPath)
    : p_path(dbPath.isEmpty() ? DefaultDatabasePath() : dbPath),
      p_connectionName(QStringLiteral("kelm-") +
                       QUuid::createUuid().toString(QUuid::WithoutBraces)) {
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), p_connectionName);
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

QSqlDatabase TsysData::Database() { return QSqlDatabase::database(p_connectionName, false); }

bool TsysData::IsOpen() const {
    return p_opened && QSqlDatabase::database(p_connectionName, false).isOpen();
}

QString TsysData::LastError() const { return p_lastError; }

bool TsysData::Open() {
    if (IsOpen()) return true;
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
    p_opened = true;
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
    const QString message = WriteFailureMessage(error);
    if (!message.isEmpty()) ShowInfo(message);
}

bool TsysData::HasKelmSchema() {
    QSqlQuery q(Database());
    if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table','view')"))) {
        p_lastError = q.lastError().text();
        return false;
    }
    QSet<QString> present;
    while (q.next()) present.insert(q.value(0).toString().toLower());
    for (const TSchemaObject& o : KelmSchema()) {
        if (!o.addedLater && !present.contains(o.name.toLower())) {
            p_lastError = QStringLiteral("%1 is missing from %2").arg(o.name, p_path);
            return false;
        }
    }
    return true;
}

std::vector<TSchemaAddition> MissingSchemaAdditions(const QSqlDatabase& db) {
    std::vector<TSchemaAddition> missing;
    QSqlQuery q(db);
    QSet<QString> tables;
    if (q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'")))
        while (q.next()) tables.insert(q.value(0).toString().toLower());
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
        // A column of a table the file lacks, or holds as a view, is missing as well:
        // adding it fails, and the file is not used.
        if (!tables.contains(table) || db.record(a.table).indexOf(a.column) < 0)
            missing.push_back(a);
    }
    return missing;
}

bool UpgradeKelmSchema(QSqlDatabase& db, QString* error) {
    const std::vector<TSchemaAddition> missing = MissingSchemaAdditions(db);
    if (missing.empty()) return true;
    auto fail = [&](const QString& reason) {
        if (error) *error = reason;
        return false;
    };
    if (!db.transaction()) return fail(db.lastError().text());
    {
        QSqlQuery q(db);
        for (const TSchemaAddition& a : missing) {
            if (!q.exec(a.sql)) {
                const QString reason = q.lastError().text() + QStringLiteral(" in ") + a.sql;
                q.finish();
                db.rollback();
                return fail(reason);
            }
        }
    }
    if (!db.commit()) {
        const QString reason = db.lastError().text();
        db.rollback();
        return fail(reason);
    }
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
    SetConnectionPragmas();
    if (!db.transaction()) {
        p_lastError = db.lastError().text();
        return false;
    }
    QSqlQuery q(db);
    QStringList statements;
    for (const TSchemaObject& o : KelmSchema()) statements << o.createSql;
    statements << QStringLiteral(
        "INSERT INTO FSysSet (cmpName,blade,JQD,OptT1) VALUES ('Veldstrom',5,0,0)");
    statements << QStringLiteral(
        "INSERT INTO FProFei (JGF,AZF,JXF,SDF,YSF,GLF,QTF) VALUES (0,0,0,0,0,0,0)");
    for (const QString& sql : statements) {
        if (!q.exec(sql)) {
            p_lastError = q.lastError().text() + QStringLiteral(" in ") + sql;
            q.finish();
            db.rollback();
            return false;
        }
    }
    q.finish();
    if (!db.commit()) {
        p_lastError = db.lastError().text();
        db.rollback();
        return false;
    }
    return true;
}

void TsysData::Close() {
    QSqlDatabase db = Database();
    if (db.isOpen()) db.close();
    p_opened = false;
}

std::unique_ptr<QSqlQuery> TsysData::OpenQuery(const QString& sql) {
    if (!Open()) {
        ShowInfo(kConnectFailed);
        return std::make_unique<QSqlQuery>(Database());
    }
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

bool TsysData::ExecCommon() {
    if (!Open()) return false;
    if (p_readOnly) {
        p_lastError = QStringLiteral("the database is open for reading only");
        ShowInfo(kReadOnly);
        return false;
    }
    QSqlQuery q(Database());
    if (!q.prepare(p_commonSql)) {
        p_lastError = q.lastError().text();
        ReportWriteFailure(q.lastError());
        return false;
    }
    for (const auto& p : p_commonParams) q.bindValue(p.first, p.second);
    if (!q.exec()) {
        p_lastError = q.lastError().text();
        ReportWriteFailure(q.lastError());
        return false;
    }
    return q.numRowsAffected() > 0;
}

bool TsysData::Transaction() { return Open() && Database().transaction(); }

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
