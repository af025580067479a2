// Opening a database made by an older release: the tables and columns added since are
// added, every row and value already there is kept, and a second open changes nothing.
// The older file is built from the first release's schema as it created it; the older
// server database from today's server schema without anything marked as added later.

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QUuid>

#include "EngineTestSupport.h"
#include "data/PromptRecorder.h"
#include "data/UnitData.h"
#include "data/UnitDataSchema.h"

namespace {

// Runs statements on a file with a connection of its own, closed afterwards.
bool RunOnFile(const QString& path, const QStringList& statements, QString* error) {
    const QString name = QUuid::createUuid().toString();
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery q(db);
        for (const QString& sql : statements) {
            if (!ok) break;
            if (!q.exec(sql)) {
                ok = false;
                if (error) *error = q.lastError().text() + " in " + sql;
            }
        }
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

QStringList FirstSchemaStatements() {
    QFile file(QStringLiteral(KELM_TEST_DATA_DIR "/fixtures/first-schema.sql"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList statements;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n'))
        if (!line.startsWith("--") && !line.trimmed().isEmpty()) statements << line;
    return statements;
}

// Rows a workshop's file of the first release holds.
const QStringList kOldRows = {
    "INSERT INTO FSysSet (cmpName,blade,JQD,OptT1) VALUES ('木作坊',3.5,2,1)",
    "INSERT INTO FProFei (JGF,AZF,JXF,SDF,YSF,GLF,QTF) VALUES (1,2,3,4,5,6,7.5)",
    "INSERT INTO FProject (proID,proCode,proName) VALUES ('240101000001','A-1','王宅')",
    "INSERT INTO FCl (cateID,ylCode,ylName,length,width,houdu) VALUES (1,'B','白橡',2440,1220,18)",
    "INSERT INTO FProCl (proID,winID,gtName,clID,clName,length,width,thick,clCount,wl,flag) "
    "VALUES ('240101000001','w1','G','1','侧板',720,560,18,2,'1','R')",
    "INSERT INTO FProBCCut (proID,bcID,uli,cutC,cutFA) VALUES ('240101000001',1,81.5,2,'x')",
};

// The first row of a query, its fields joined by '|'.
QString Row(TsysData& data, const QString& sql) {
    auto q = data.OpenQuery(sql);
    if (!q->next()) return "<no row>";
    QStringList values;
    for (int i = 0; i < q->record().count(); ++i)
        values << FieldText(*q, q->record().fieldName(i));
    return values.join('|');
}

class SchemaUpgradeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("KelmDB.db");
        const QStringList schema = FirstSchemaStatements();
        ASSERT_GT(schema.size(), 10);
        QString error;
        ASSERT_TRUE(RunOnFile(path, schema + kOldRows, &error)) << error.toStdString();
    }

    QStringList Columns(TsysData& data, const QString& table) {
        QStringList columns;
        auto q = data.OpenQuery(QStringLiteral("PRAGMA table_info(%1)").arg(table));
        while (q->next()) columns << q->value("name").toString();
        return columns;
    }

    QTemporaryDir dir;
    QString path;
    TPromptRecorder prompt;
};

TEST_F(SchemaUpgradeTest, OldFileGetsTheNewColumnsWithEveryRowKept) {
    TsysData data(path);
    data.SetPrompt(&prompt);
    ASSERT_TRUE(data.Open()) << data.LastError().toStdString();

    // Every table now has the columns a new file has, in the same order.
    for (const TSchemaObject& o : KelmSchema()) {
        if (o.isView) continue;
        SCOPED_TRACE(o.name.toStdString());
        EXPECT_EQ(Columns(data, o.name), o.columns);
    }
    EXPECT_EQ(Row(data, "SELECT * FROM FSysSet"), "木作坊|3.5|2|1|0|0|0|0|300|100|10");
    EXPECT_EQ(Row(data, "SELECT COUNT(*) FROM FSysSet"), "1");
    EXPECT_EQ(Row(data, "SELECT * FROM FProFei"), "1|2|3|4|5|6|7.5");
    EXPECT_EQ(Row(data, "SELECT proCode,proName FROM FProject"), "A-1|王宅");
    EXPECT_EQ(Row(data, "SELECT ylName,length,width,houdu FROM FCl"), "白橡|2440|1220|18");
    EXPECT_EQ(Row(data, "SELECT clName,length,width,clCount,wl FROM FProCl"), "侧板|720|560|2|1");
    EXPECT_EQ(Row(data, "SELECT bcID,uli,cutC,cutFA FROM FProBCCut"), "1|81.5|2|x");
    // The views still read the old rows.
    EXPECT_EQ(Row(data, "SELECT ylName,clName FROM vProCl"), "白橡|侧板");
    EXPECT_TRUE(MissingSchemaAdditions(data.Database()).empty());
    // The new columns take numbers and refuse texts like every number column.
    data.SetCommonSQL("UPDATE FSysSet SET trimT=:t");
    data.SetCommonParam("t", "abc");
    EXPECT_FALSE(data.ExecCommon());
    data.SetCommonSQL("UPDATE FSysSet SET trimT=:t");
    data.SetCommonParam("t", "12");
    EXPECT_TRUE(data.ExecCommon());
    EXPECT_TRUE(prompt.infos.isEmpty());
}

TEST_F(SchemaUpgradeTest, SecondOpenChangesNothing) {
    {
        TsysData data(path);
        ASSERT_TRUE(data.Open());
        data.SetCommonSQL("UPDATE FSysSet SET trimL=:t,minOffL=:l");
        data.SetCommonParam("t", "15");
        data.SetCommonParam("l", "450");
        ASSERT_TRUE(data.ExecCommon());
    }
    TsysData again(path);
    ASSERT_TRUE(again.Open());
    EXPECT_EQ(Row(again, "SELECT trimL,minOffL,minOffW FROM FSysSet"), "15|450|100");
    EXPECT_EQ(Columns(again, "FSysSet").size(), 11);
}

TEST_F(SchemaUpgradeTest, OnlyWhatIsMissingIsAdded) {
    // A file that already has one of the added columns (an upgrade of another program
    // version, say) keeps it and its values and gets the rest.
    QString error;
    ASSERT_TRUE(RunOnFile(path,
                          {"ALTER TABLE FSysSet ADD COLUMN trimB INTEGER DEFAULT 0",
                           "UPDATE FSysSet SET trimB=7"},
                          &error))
        << error.toStdString();
    TsysData data(path);
    ASSERT_TRUE(data.Open()) << data.LastError().toStdString();
    EXPECT_EQ(Row(data, "SELECT trimT,trimB,trimL,trimR FROM FSysSet"), "0|7|0|0");
}

TEST_F(SchemaUpgradeTest, FileThatCannotBeUpgradedIsNotOpenedAndKeepsItsRows) {
    // A damaged file whose settings table is a view cannot take the new columns: it is
    // not opened, the user hears that the database could not be used, and its rows stay.
    QString error;
    ASSERT_TRUE(RunOnFile(path,
                          {"ALTER TABLE FSysSet RENAME TO OldSet",
                           "CREATE VIEW FSysSet AS SELECT * FROM OldSet"},
                          &error))
        << error.toStdString();
    {
        TsysData data(path);
        data.SetPrompt(&prompt);
        EXPECT_FALSE(data.Open());
        EXPECT_FALSE(data.OpenQuery("SELECT cmpName FROM FSysSet")->next());
        EXPECT_EQ(prompt.infos, QStringList{"连接数据库出现异常情况！"});
    }
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("SELECT * FROM OldSet"));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.record().count(), 4);  // no column was added
        EXPECT_EQ(q.value(0).toString(), "木作坊");
        ASSERT_TRUE(q.exec("SELECT COUNT(*) FROM FProCl"));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), 1);
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

TEST(SchemaAdditions, ReadableAsDataAndMatchingTheSchema) {
    // Every column marked as added later has the statement that adds it, and nothing
    // else is listed: a check of an older file can rely on the list.
    QStringList marked;
    for (const TSchemaObject& o : KelmSchema()) {
        if (o.addedLater) marked << o.name;
        for (const QString& c : o.addedColumns) {
            EXPECT_TRUE(o.columns.contains(c)) << c.toStdString();
            marked << o.name + "." + c;
        }
    }
    QStringList listed;
    for (const TSchemaAddition& a : KelmSchemaAdditions()) {
        listed << (a.column.isEmpty() ? a.table : a.table + "." + a.column);
        if (!a.column.isEmpty()) {
            EXPECT_TRUE(a.sql.startsWith("ALTER TABLE " + a.table + " ADD COLUMN " + a.column + " "))
                << a.sql.toStdString();
        }
    }
    EXPECT_EQ(listed, marked);
    for (const char* column : {"trimT", "trimB", "trimL", "trimR", "minOffL", "minOffW", "deepSec"})
        EXPECT_TRUE(listed.contains(QStringLiteral("FSysSet.") + column)) << column;
}

TEST(SchemaAdditions, EveryAdditionHasItsServerStatementWithTheSameDefault) {
    // A column added later gets its server definition from the same line as its file
    // definition: the server's ALTER TABLE adds it with the same default.
    for (const TSchemaAddition& a : KelmSchemaAdditions()) {
        SCOPED_TRACE(a.sql.toStdString());
        ASSERT_FALSE(a.serverSql.isEmpty());
        if (a.column.isEmpty()) {
            EXPECT_TRUE(a.serverSql.startsWith("CREATE TABLE " + a.table + " ("));
            continue;
        }
        EXPECT_TRUE(
            a.serverSql.startsWith("ALTER TABLE " + a.table + " ADD COLUMN " + a.column + " "));
        const qsizetype at = a.sql.indexOf(" DEFAULT ");
        ASSERT_GE(at, 0) << "a column added later carries a default";
        const QString value = a.sql.mid(at + 9).section(' ', 0, 0);
        EXPECT_TRUE(a.serverSql.contains(" DEFAULT " + value + " ") ||
                    a.serverSql.endsWith(" DEFAULT " + value))
            << a.serverSql.toStdString();
    }
}

// The server schema of the first release: every table not added later, without the
// columns added later, and the views.
QStringList FirstServerSchemaStatements() {
    QStringList statements;
    for (const TSchemaObject& o : KelmSchema()) {
        if (o.isView) {
            statements << o.serverSql;
            continue;
        }
        if (o.addedLater) continue;
        QStringList defs;
        for (qsizetype i = 0; i < o.columns.size(); ++i)
            if (!o.addedColumns.contains(o.columns[i])) defs << o.serverDefinitions[i];
        statements << QStringLiteral("CREATE TABLE %1 (%2)").arg(o.name, defs.join(", "));
    }
    return statements;
}

class ServerSchemaUpgradeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        KELM_REQUIRE_ENGINE(TDbEngine::Server);
        ASSERT_FALSE(place.Spec().isEmpty()) << place.Problem().toStdString();
        for (const QString& sql : FirstServerSchemaStatements() + kOldRows)
            ASSERT_TRUE(place.Run(sql)) << sql.toStdString() << ": "
                                        << place.Problem().toStdString();
    }

    TTestDatabase place{TDbEngine::Server};
    TPromptRecorder prompt;
};

TEST_F(ServerSchemaUpgradeTest, OldServerDatabaseGetsTheNewColumnsWithEveryRowKept) {
    {
        TsysData data(place.Spec());
        data.SetPrompt(&prompt);
        ASSERT_TRUE(data.Open()) << data.LastError().toStdString();
        EXPECT_TRUE(MissingSchemaAdditions(data.Database()).empty());
        for (const TSchemaObject& o : KelmSchema()) {
            if (o.isView) continue;
            SCOPED_TRACE(o.name.toStdString());
            const QSqlRecord record = data.Database().record(o.name.toLower());
            QStringList columns;
            for (int i = 0; i < record.count(); ++i) columns << record.fieldName(i);
            QStringList expected;
            for (const QString& c : o.columns) expected << c.toLower();
            EXPECT_EQ(columns, expected);
        }
        EXPECT_EQ(Row(data, "SELECT cmpName,blade,JQD,OptT1,trimT,trimB,trimL,trimR,minOffL,"
                            "minOffW,deepSec FROM FSysSet"),
                  "木作坊|3.5|2|1|0|0|0|0|300|100|10");
        EXPECT_EQ(Row(data, "SELECT COUNT(*) FROM FSysSet"), "1");
        EXPECT_EQ(Row(data, "SELECT clName,length,width,clCount,wl FROM FProCl"),
                  "侧板|720|560|2|1");
        EXPECT_EQ(Row(data, "SELECT ylName,clName FROM vProCl"), "白橡|侧板");
        data.SetCommonSQL("UPDATE FSysSet SET trimL=:t");
        data.SetCommonParam("t", "15");
        EXPECT_TRUE(data.ExecCommon());
        EXPECT_TRUE(prompt.infos.isEmpty()) << prompt.infos.join(' ').toStdString();
    }
    // A second seat connecting later finds nothing to add and keeps the value.
    TsysData again(place.Spec());
    ASSERT_TRUE(again.Open()) << again.LastError().toStdString();
    EXPECT_EQ(Row(again, "SELECT trimL,minOffL FROM FSysSet"), "15|300");
}

TEST_F(ServerSchemaUpgradeTest, DatabaseThatCannotBeUpgradedIsNotOpenedAndNothingChanges) {
    // The settings table held as a view cannot take the new columns: the database is
    // not used, and the upgrade's transaction leaves every table as it was.
    ASSERT_TRUE(place.Run("ALTER TABLE FSysSet RENAME TO OldSet"));
    ASSERT_TRUE(place.Run("CREATE VIEW FSysSet AS SELECT * FROM OldSet"));
    {
        TsysData data(place.Spec());
        data.SetPrompt(&prompt);
        EXPECT_FALSE(data.Open());
        EXPECT_NE(data.LastError().indexOf("brought up to date"), -1)
            << data.LastError().toStdString();
    }
    // OldSet still has its four columns: "ADD COLUMN" on it would fail, adding one works.
    EXPECT_FALSE(place.Run("SELECT trimT FROM OldSet"));
    EXPECT_TRUE(place.Run("SELECT cmpName, blade, JQD, OptT1 FROM OldSet"));
}

}  // namespace
