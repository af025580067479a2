#pragma once
// Runs the same test on both database engines: a fresh file in a temporary folder, or
// a fresh schema on the throwaway PostgreSQL server that scripts/test.sh starts and
// names in KELM_TEST_PGSQL (a postgresql:// URL). Without that variable the server
// cases are skipped, unless KELM_REQUIRE_PGSQL is set (as the test script does), when
// they fail instead: CI never passes without having run them.
//
//   class MyTest : public ::testing::TestWithParam<TDbEngine> { ... TTestDatabase db{GetParam()}; };
//   INSTANTIATE_TEST_SUITE_P(Engines, MyTest, KelmEngines(), KelmEngineName);

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>

#include "data/UnitData.h"
#include "data/UnitDataEngine.h"

inline QString TestServerUrl() { return qEnvironmentVariable("KELM_TEST_PGSQL").trimmed(); }

inline auto KelmEngines() { return ::testing::Values(TDbEngine::File, TDbEngine::Server); }

inline std::string KelmEngineName(const ::testing::TestParamInfo<TDbEngine>& info) {
    return info.param == TDbEngine::Server ? "Server" : "File";
}

// Skips (or, when the server is required, fails) a server case without a server.
#define KELM_REQUIRE_ENGINE(engine)                                                        \
    do {                                                                                   \
        if ((engine) == TDbEngine::Server && TestServerUrl().isEmpty()) {                  \
            if (qEnvironmentVariableIsSet("KELM_REQUIRE_PGSQL"))                           \
                FAIL() << "KELM_TEST_PGSQL is not set but the server tests are required";  \
            GTEST_SKIP() << "no test server: run scripts/test.sh to start one";            \
        }                                                                                  \
    } while (0)

// A fresh, empty place for a Kelm database on one engine; removed again at the end.
class TTestDatabase {
  public:
    explicit TTestDatabase(TDbEngine engine) : p_engine(engine) {
        if (engine == TDbEngine::File) {
            p_spec = p_dir.filePath(QStringLiteral("KelmDB.db"));
            return;
        }
        const QString server = TestServerUrl();
        if (server.isEmpty()) return;
        p_schema = QStringLiteral("kt_") +
                   QUuid::createUuid().toString(QUuid::Id128).left(20).toLower();
        if (!Admin(QStringLiteral("CREATE SCHEMA %1").arg(p_schema))) {
            p_schema.clear();
            return;
        }
        p_spec = server + (server.contains(QLatin1Char('?')) ? QStringLiteral("&schema=")
                                                             : QStringLiteral("?schema=")) +
                 p_schema;
    }
    ~TTestDatabase() {
        if (!p_schema.isEmpty())
            Admin(QStringLiteral("SET client_min_messages TO warning; DROP SCHEMA %1 CASCADE")
                      .arg(p_schema));
    }
    TTestDatabase(const TTestDatabase&) = delete;
    TTestDatabase& operator=(const TTestDatabase&) = delete;

    TDbEngine Engine() const { return p_engine; }
    // What TsysData takes: the file path or the server URL with the schema. "" when the
    // server could not be reached (see Problem()).
    QString Spec() const { return p_spec; }
    QString Problem() const { return p_problem; }
    // A folder for other files of the test.
    QString Folder() const { return p_dir.path(); }

    // Runs one statement in this test's place, beside the data module: for tests that
    // set up what a program cannot (a foreign table).
    bool Run(const QString& sql) {
        if (p_engine == TDbEngine::File) {
            bool ok = false;
            {
                QSqlDatabase db =
                    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("kt-run"));
                db.setDatabaseName(p_spec);
                ok = db.open() && QSqlQuery(db).exec(sql);
            }
            QSqlDatabase::removeDatabase(QStringLiteral("kt-run"));
            return ok;
        }
        // Two statements, so a failure of the second one is told (a text of several
        // statements reports only how the first one went).
        return Admin(QStringLiteral("SET search_path TO %1").arg(p_schema), sql);
    }

  private:
    bool Admin(const QString& sql, const QString& then = QString()) {
        const QString name = QStringLiteral("kt-admin");
        bool ok = false;
        {
            TDbTarget t;
            ParseDatabaseTarget(TestServerUrl(), t);
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            db.setHostName(t.host);
            db.setPort(t.port);
            db.setUserName(t.user);
            db.setPassword(t.password);
            db.setDatabaseName(t.database);
            if (!db.open()) {
                p_problem = db.lastError().text();
            } else {
                QSqlQuery q(db);
                ok = q.exec(sql) && (then.isEmpty() || q.exec(then));
                if (!ok) p_problem = q.lastError().text();
            }
        }
        QSqlDatabase::removeDatabase(name);
        return ok;
    }

    TDbEngine p_engine;
    QTemporaryDir p_dir;
    QString p_spec;
    QString p_schema;
    QString p_problem;
};
