// Backup of the database while another program holds committed rows in the log, and
// the check that a file really is a Kelm database before it replaces the data.

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <functional>

#include "data/PromptRecorder.h"
#include "data/UnitData.h"
#include "data/UnitDataBackup.h"
#include "data/UnitDataSchema.h"

namespace {

QByteArray FileHash(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// A second connection on a file, as another program would hold it.
class OtherConnection {
  public:
    explicit OtherConnection(const QString& path, const QString& name = "other-program")
        : p_name(name) {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", p_name);
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
    }
    ~OtherConnection() {
        QSqlDatabase::database(p_name, false).close();
        QSqlDatabase::removeDatabase(p_name);
    }
    bool Exec(const QString& sql) {
        QSqlQuery q(QSqlDatabase::database(p_name, false));
        const bool ok = q.exec(sql);
        EXPECT_TRUE(ok) << sql.toStdString() << ": " << q.lastError().text().toStdString();
        return ok;
    }
    long long Scalar(const QString& sql) {
        QSqlQuery q(QSqlDatabase::database(p_name, false));
        return q.exec(sql) && q.next() ? q.value(0).toLongLong() : -1;
    }

  private:
    QString p_name;
};

class BackupFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("KelmDB.db");
        data = std::make_unique<TsysData>(path);
        data->SetPrompt(&prompt);
        ASSERT_TRUE(data->Open());
    }
    QStringList Leftovers() {
        return QDir(dir.path()).entryList({"*.part*"}, QDir::Files | QDir::Hidden);
    }
    // Makes a file from statements, with the Kelm tables as given.
    QString MakeFile(const QString& name, const std::function<QStringList()>& statements) {
        const QString file = dir.filePath(name);
        {
            OtherConnection db(file, "maker");
            for (const QString& sql : statements()) db.Exec(sql);
        }
        return file;
    }

    QTemporaryDir dir;
    QString path;
    TPromptRecorder prompt;
    std::unique_ptr<TsysData> data;
};

TEST_F(BackupFileTest, BackupHoldsWhatAnotherProgramCommittedIntoTheLog) {
    OtherConnection other(path);
    other.Exec("INSERT INTO FProject(proID,proCode,proName) VALUES('240501120000','P1','柜子')");
    ASSERT_GT(QFileInfo(path + "-wal").size(), 0) << "the order must still be in the log";

    const QString target = dir.filePath("2024511200.bak");
    QList<int> steps;
    QString error;
    ASSERT_TRUE(BackupDatabase(*data, target, [&](int v) { steps << v; }, &error))
        << error.toStdString();
    EXPECT_TRUE(IsKelmDatabaseFile(target));
    OtherConnection backup(target, "backup");
    EXPECT_EQ(backup.Scalar("SELECT COUNT(*) FROM FProject WHERE proCode='P1'"), 1);
    EXPECT_EQ(backup.Scalar("SELECT COUNT(*) FROM FSysSet"), 1);
    ASSERT_FALSE(steps.isEmpty());
    EXPECT_EQ(steps.last(), 0);
    for (int v : steps) EXPECT_TRUE(v >= 0 && v < 100) << v;
    EXPECT_TRUE(Leftovers().isEmpty());
    // The program's own connection goes on working.
    EXPECT_TRUE(data->OpenQuery("SELECT * FROM FProject")->next());
}

TEST_F(BackupFileTest, FailedBackupLeavesAnExistingFileAndNoPartialOne) {
    const QString target = dir.filePath("old.bak");
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("an older backup");
    }
    const QByteArray before = FileHash(target);
    // A database that is not there.
    TsysData missing(dir.filePath("gone/KelmDB.db"));
    QString error;
    EXPECT_FALSE(BackupDatabase(missing, target, {}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(FileHash(target), before);
    // A folder that does not exist, and the database file itself as the target.
    EXPECT_FALSE(BackupDatabase(*data, dir.filePath("no/such/x.bak"), {}, &error));
    EXPECT_FALSE(BackupDatabase(*data, path, {}, &error));
    EXPECT_TRUE(Leftovers().isEmpty());
    EXPECT_TRUE(data->OpenQuery("SELECT * FROM FSysSet")->next());
}

// Files that carry Kelm's names but not what the program needs of them.
struct LookAlike {
    const char* label;
    std::function<QStringList()> statements;
    const char* reason;  // part of the reason given
};

void PrintTo(const LookAlike& l, std::ostream* os) { *os << l.label; }

// The statements of a new database, with one changed by `edit` (name, sql) -> sql.
QStringList SchemaWith(const std::function<QString(const TSchemaObject&)>& edit) {
    QStringList out;
    for (const TSchemaObject& o : KelmSchema()) out << edit(o);
    return out;
}

const LookAlike kLookAlikes[] = {
    {"namesWithoutColumns",
     [] {
         return SchemaWith([](const TSchemaObject& o) {
             return o.isView ? QString("CREATE VIEW %1 AS SELECT 1 AS x").arg(o.name)
                             : QString("CREATE TABLE %1 (x)").arg(o.name);
         });
     },
     "has no column"},
    {"tableMissingOneColumn",
     [] {
         return SchemaWith([](const TSchemaObject& o) {
             if (o.name != "FCustomers") return o.createSql;
             QString sql = o.createSql;
             return sql.replace("phone TEXT", "telephone TEXT");
         });
     },
     "table FCustomers has no column phone"},
    {"viewMissingOneColumn",
     [] {
         return SchemaWith([](const TSchemaObject& o) {
             if (o.name != "vProYC") return o.createSql;
             return QString(
                 "CREATE VIEW vProYC AS SELECT p.proID AS proID, c.ylID AS ylID FROM FProCl p "
                 "JOIN FCl c ON c.ylID = p.clID");
         });
     },
     "view vProYC has no column ylName"},
    {"viewAsTable",
     [] {
         return SchemaWith([](const TSchemaObject& o) {
             if (o.name != "vProCl") return o.createSql;
             return QString("CREATE TABLE vProCl (ID, proID, winID, ylID, ylName, Color, clName, "
                            "length, width, thick, flag, clCount, shape, wl)");
         });
     },
     "vProCl is a table, not a view"},
    {"tableMissing",
     [] {
         return SchemaWith([](const TSchemaObject& o) {
             return o.name == "FCpCls" ? QString("CREATE TABLE Other (x)") : o.createSql;
         });
     },
     "table FCpCls is missing"},
};

class LookAlikeTest : public BackupFileTest, public ::testing::WithParamInterface<LookAlike> {};

TEST_P(LookAlikeTest, IsRefusedAndLeftByteForByte) {
    const QString file = MakeFile("look-alike.bak", GetParam().statements);
    const QByteArray before = FileHash(file);
    QString reason;
    EXPECT_FALSE(IsKelmDatabaseFile(file, &reason));
    EXPECT_TRUE(reason.contains(GetParam().reason)) << reason.toStdString();
    EXPECT_EQ(FileHash(file), before);
    EXPECT_FALSE(QFile::exists(file + "-wal"));
}

INSTANTIATE_TEST_SUITE_P(Data, LookAlikeTest, ::testing::ValuesIn(kLookAlikes),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(BackupFileTest, AFileOfTheFirstReleaseIsAccepted) {
    // Without the tables and columns added since: opening such a file brings it up to
    // date, so a backup from an older installation can still be restored.
    const QString file = MakeFile("first-release.bak", [] {
        QStringList out;
        for (const TSchemaObject& o : KelmSchema()) {
            if (o.addedLater) continue;
            if (o.isView || o.addedColumns.isEmpty()) {
                out << o.createSql;
                continue;
            }
            QStringList defs;
            for (int i = 0; i < o.columns.size(); ++i)
                if (!o.addedColumns.contains(o.columns[i])) defs << o.definitions[i];
            out << QString("CREATE TABLE %1 (%2)").arg(o.name, defs.join(", "));
        }
        return out;
    });
    QString reason;
    EXPECT_TRUE(IsKelmDatabaseFile(file, &reason)) << reason.toStdString();
}

TEST_F(BackupFileTest, AnOlderFileOpenedForReadingOnlyIsBackedUp) {
    // Read only, the file is not brought up to date: the tables added since (the
    // offcuts) are missing, and the backup copies what is there.
    const QString file = MakeFile("older.db", [] {
        QStringList out;
        for (const TSchemaObject& o : KelmSchema())
            if (!o.addedLater) out << o.createSql;
        out << "INSERT INTO FProject(proID,proCode,proName) VALUES('240501120000','P1','柜子')";
        return out;
    });
    TsysData older(file);
    older.SetPrompt(&prompt);
    older.SetReadOnly(true);
    ASSERT_TRUE(older.Open());
    const QString target = dir.filePath("older.bak");
    QString error;
    ASSERT_TRUE(BackupDatabase(older, target, {}, &error)) << error.toStdString();
    OtherConnection backup(target, "backup");
    EXPECT_EQ(backup.Scalar("SELECT COUNT(*) FROM FProject"), 1);
    EXPECT_TRUE(IsKelmDatabaseFile(target, &error)) << error.toStdString();
}

TEST_F(BackupFileTest, TheSchemaThatIsCreatedIsAccepted) {
    const QString file = MakeFile("same.bak", [] { return SchemaWith([](const TSchemaObject& o) {
        return o.createSql;
    }); });
    QString reason;
    EXPECT_TRUE(IsKelmDatabaseFile(file, &reason)) << reason.toStdString();
    EXPECT_TRUE(IsKelmDatabaseFile(path, &reason)) << reason.toStdString();
}

}  // namespace
