#pragma once
// The data module: the one connection to the Kelm database file, the shared command
// object that every INSERT, UPDATE and DELETE goes through, identifiers made from the
// clock, and the simple prompts (information and confirmation boxes) every window uses.
//
// The database is one SQLite file by default, or a database on a PostgreSQL server
// that several seats share (UnitDataEngine.h). A new file, or a server database
// without any table yet, is given every table and view and the default settings in
// one transaction; an existing Kelm database is opened as it is, and anything else is
// refused without a change. A file
// the user may not write (or one in a folder the user may not write) is opened for
// reading only: the data show, and every write is refused with a message.
//
// A write that fails for a reason the user can act on (the file is locked by another
// program, read-only, the disk is full, the file cannot be read or written) is said in
// a message naming the reason; the window keeps its input.

#include <QDateTime>
#include <QHash>
#include <QPair>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

#include "data/UnitDataEngine.h"

// Prompt interface: the program sets message boxes captioned "信息提示" with the
// information icon; tests set a recorder with scripted answers.
class TPrompt {
  public:
    virtual ~TPrompt() = default;
    virtual void Info(const QString& text) = 0;     // OK only
    virtual bool Confirm(const QString& text) = 0;  // true only on OK
};

// Caption of every message box of the program.
inline const QString kPromptCaption = QStringLiteral("信息提示");

class TsysData {
  public:
    // A file path or a postgresql:// URL (UnitDataEngine.h). Empty path: "KelmDB.db" next to the executable (an existing file there is used
    // even when the folder is not writable), or else in the user's data folder when
    // the executable's folder is not writable or belongs to an installation
    // (/usr/bin and the like). The file is not touched here.
    explicit TsysData(const QString& dbPath = QString());
    ~TsysData();
    TsysData(const TsysData&) = delete;
    TsysData& operator=(const TsysData&) = delete;

    // Where the default database file lives for this installation.
    static QString DefaultDatabasePath();
    // The same for a program whose executable lies in programFolder.
    static QString DefaultDatabasePath(const QString& programFolder);
    // The same choice for given folders: an existing file in the program's folder, else
    // the program's folder when it takes files, else the data folder.
    static QString ChooseDatabasePath(const QString& programDir, bool programDirWritable,
                                      const QString& dataDir);

    // Opened for reading only (the file or its folder is not writable for the user, or
    // SetReadOnly was called before opening).
    bool IsReadOnly() const;
    void SetReadOnly(bool readOnly);
    // A line for the status bar when the user should know where the data are or that
    // they cannot be changed; empty otherwise.
    QString Notice() const;
    // How long a write waits for another program's lock before it fails (ms).
    void SetBusyTimeout(int milliseconds);

    // The file of the embedded database; for a server its connection form without the
    // password.
    QString DatabasePath() const;
    TDbEngine Engine() const;
    bool IsServer() const;
    const TDbTarget& Target() const;
    bool Open();   // opens on first use; reopens after Close()
    void Close();  // backup and restore close it so the file can be copied
    bool IsOpen() const;
    // Open, showing "连接数据库出现异常情况！" when that fails, as a SELECT would.
    bool OpenOrTell();

    // Runs a SELECT. On any error shows "连接数据库出现异常情况！" and returns an
    // inactive query (never nullptr). The caller owns the query.
    std::unique_ptr<QSqlQuery> OpenQuery(const QString& sql);

    // The shared command: set the text (which forgets earlier parameters), set each
    // named parameter from a string (name with or without the leading ':'), execute.
    void SetCommonSQL(const QString& sql);
    void SetCommonParam(const QString& name, const QString& value);
    bool ExecCommon();  // true only when > 0 rows affected; false on any error, silently

    // For savers that must write several statements all or nothing. The transaction
    // holds the write lock from its start, so what it reads stays true until it ends.
    // With a purpose, transactions of the same purpose from other seats wait for this
    // one to end (kelm::sql::SerialiseWriters).
    bool Transaction(const QString& purpose = QString());
    bool Commit();
    bool Rollback();

    // "yymmddhhmmss" of the local clock followed by the suffix.
    QString NewTimeID(const QString& suffix = QString()) const;

    void ShowInfo(const QString& text);
    bool AskConfirm(const QString& text);
    // True when the trimmed text is a number; false silently when empty;
    // "数字非法！" and false otherwise.
    bool CheckNumberText(const QString& text);

    void SetPrompt(TPrompt* prompt);  // not owned; nullptr: messages go to the log only
    TPrompt* Prompt() const;

    QSqlDatabase Database();
    QString LastError() const;  // text of the last failed statement's error, for logs

  private:
    bool OpenFile();
    bool OpenServer();
    bool OpenReadOnly();
    void ReportWriteFailure(const QSqlError& error);
    bool CreateSchema();
    bool HasKelmSchema();
    bool ListObjects(QStringList& names);
    void SetConnectionPragmas();
    QSqlQuery* PreparedCommon();

    TDbTarget p_target;
    QString p_targetError;  // why the connection form cannot be used, "" when it can
    QString p_path;
    QString p_connectionName;
    QString p_commonSql;
    QVector<QPair<QString, QString>> p_commonParams;
    TPrompt* p_prompt = nullptr;
    QString p_lastError;
    bool p_opened = false;
    // The shared command's statements stay prepared while the connection is open: a
    // server then parses a panel row's INSERT once per save, not once per row.
    QHash<QString, std::shared_ptr<QSqlQuery>> p_prepared;
    bool p_readOnly = false;
    bool p_forceReadOnly = false;
    int p_busyTimeout = 5000;
};

// Opens a Kelm database from a file path or a postgresql:// URL (the forms of
// UnitDataEngine.h), creating it as for a first installation when it is new. nullptr,
// with the reason in *error, when it cannot be opened or is no Kelm database.
std::unique_ptr<TsysData> ConnectDatabase(const QString& fileOrUrl, QString* error = nullptr);

// The one data module of the run. The program creates it first at start-up and
// installs it; tests create their own on a temp path and install it. When none is
// installed, one on the default path is created on first use.
TsysData* sysData();
void SetSysData(TsysData* data);  // not owned; nullptr uninstalls

// Free-function forms of the data-module operations, all using sysData().
std::unique_ptr<QSqlQuery> OpenQuery(const QString& sql);
void SetCommonSQL(const QString& sql);
void SetCommonParam(const QString& name, const QString& value);
bool ExecCommon();
QString NewTimeID(const QString& suffix = QString());
void ShowInfo(const QString& text);
bool AskConfirm(const QString& text);
bool CheckNumberText(const QString& text);

// Identifier for a given moment: "yymmddhhmmss" + suffix.
QString TimeIDAt(const QDateTime& moment, const QString& suffix = QString());

// A column of the current row as text: numbers in the general number form (2440,
// 1220.5), NULL as "", anything else as stored.
QString FieldText(const QSqlQuery& query, const QString& column);
// A column as a number (0 when NULL or not a number) and as an integer.
double FieldFloat(const QSqlQuery& query, const QString& column);
int FieldInt(const QSqlQuery& query, const QString& column);

// True when the text is a whole decimal number (optionally negative) that may be
// spliced bare into SQL text as a counter key.
bool IsCounterKey(const QString& text);
