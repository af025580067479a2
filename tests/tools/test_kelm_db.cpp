// kelm-db copy, run as a program on the throwaway server: a file moved to a server and
// backed up from the server into a new file keeps every row and document and is accepted
// by the restore check; the source is never changed; targets holding data or foreign
// tables are refused and left as they were; a copy that fails leaves no half target.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "EngineTestSupport.h"
#include "data/UnitData.h"
#include "data/UnitDataBackup.h"
#include "data/UnitDataCopy.h"

namespace {

struct DbRun {
    int status;
    QString out, err;
};

DbRun KelmDb(const QStringList& args) {
    QProcess p;
    p.start(KELM_DB_PATH, args);
    p.waitForFinished(300000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QByteArray FileHash(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// A workshop's database: an order with a stored cabinet document, materials, panels and
// a stored cutting scheme, settings changed from the first rows.
void Fill(const QString& spec) {
    TsysData data(spec);
    const char* statements[] = {
        "INSERT INTO FProject(proID,proCode,proName,begDt,bz) VALUES('150317101530','B01','厨房','2015-03-17','')",
        "INSERT INTO FClCls(cateName) VALUES('板材')",
        "INSERT INTO FCl(cateID,ylName,length,width,houdu,color) VALUES(1,'白橡18',2440,1220.5,18,'白')",
        "INSERT INTO FCl(cateID,ylName,length,width,houdu,color) VALUES(1,'胡桃',2440,1220,18,NULL)",
        "INSERT INTO FProWins(winID,proID,winPath,winCount,Width,Maked) VALUES('1503171015300','150317101530','<cabinet w=\"600\">''门''</cabinet>',2,600,0)",
        "INSERT INTO FProCl(proID,winID,clID,clName,length,width,clCount,shape) VALUES('150317101530','1503171015300','2','侧板',720,559.5,2,'0034')",
        "INSERT INTO FProBCCut(proID,bcID,uli,cutC,cutFA) VALUES('150317101530',1,85.47,2,'00ab')",
        "DELETE FROM FCl WHERE ylID=1",
        "UPDATE FSysSet SET cmpName='木作坊',blade=4.5,minOffL=250",
    };
    for (const char* sql : statements) {
        data.SetCommonSQL(QString::fromUtf8(sql));
        ASSERT_TRUE(data.ExecCommon()) << sql << data.LastError().toStdString();
    }
}

QStringList Lines(const QString& out) { return out.trimmed().split('\n'); }

TEST(KelmDb, FileToServerAndBackIntoANewFileTheRestoreCheckAccepts) {
    KELM_REQUIRE_ENGINE(TDbEngine::Server);
    TTestDatabase file(TDbEngine::File);
    TTestDatabase server(TDbEngine::Server);
    ASSERT_FALSE(server.Spec().isEmpty()) << server.Problem().toStdString();
    Fill(file.Spec());
    QString error;
    const QStringList original = KelmDatabaseDigest(file.Spec(), &error);
    ASSERT_FALSE(original.isEmpty()) << error.toStdString();
    const QByteArray sourceBytes = FileHash(file.Spec());

    DbRun moved = KelmDb({"copy", file.Spec(), server.Spec()});
    ASSERT_EQ(moved.status, 0) << moved.err.toStdString();
    EXPECT_EQ(Lines(moved.out), original);
    EXPECT_EQ(KelmDatabaseDigest(server.Spec()), original);
    EXPECT_EQ(FileHash(file.Spec()), sourceBytes) << "the source file was changed";

    {
        TsysData data(server.Spec());
        // The copied values read back as on the file, the document whole.
        auto q = data.OpenQuery("SELECT winPath FROM FProWins");
        ASSERT_TRUE(q->next());
        EXPECT_EQ(FieldText(*q, "winPath"), "<cabinet w=\"600\">'门'</cabinet>");
        q = data.OpenQuery("SELECT cmpName, blade, minOffL, minOffW FROM FSysSet");
        ASSERT_TRUE(q->next());
        EXPECT_EQ(FieldText(*q, "cmpName") + FieldText(*q, "blade") + "|" + FieldText(*q, "minOffL") +
                      "|" + FieldText(*q, "minOffW"),
                  "木作坊4.5|250|100");
        // A new counter on the server follows the copied ones, a deleted one included.
        data.SetCommonSQL("INSERT INTO FCl(cateID,ylName) VALUES(1,'新')");
        ASSERT_TRUE(data.ExecCommon()) << data.LastError().toStdString();
        q = data.OpenQuery("SELECT MAX(ylID) AS m FROM FCl");
        ASSERT_TRUE(q->next());
        EXPECT_EQ(FieldText(*q, "m"), "3");
        data.SetCommonSQL("DELETE FROM FCl WHERE ylID=3");
        ASSERT_TRUE(data.ExecCommon());
    }

    // Backed up from the server into a new file: the same rows and documents, and a file
    // the restore window takes.
    const QString backup = file.Folder() + "/KelmDB-backup.db";
    DbRun back = KelmDb({"copy", server.Spec(), backup});
    ASSERT_EQ(back.status, 0) << back.err.toStdString();
    EXPECT_EQ(KelmDatabaseDigest(backup), original);
    QString reason;
    EXPECT_TRUE(IsKelmDatabaseFile(backup, &reason)) << reason.toStdString();
    {
        TsysData restored(backup);
        restored.SetCommonSQL("INSERT INTO FCl(cateID,ylName) VALUES(1,'新')");
        ASSERT_TRUE(restored.ExecCommon()) << restored.LastError().toStdString();
        auto q = restored.OpenQuery("SELECT MAX(ylID) AS m FROM FCl");
        ASSERT_TRUE(q->next());
        EXPECT_EQ(FieldText(*q, "m"), "3");
    }
    // No temporary file is left beside the backup.
    QDir folder(file.Folder());
    EXPECT_TRUE(folder.entryList({"*.part"}, QDir::Files | QDir::Hidden).isEmpty());
}

TEST(KelmDb, TargetsHoldingDataOrForeignTablesAreRefusedAndKept) {
    KELM_REQUIRE_ENGINE(TDbEngine::Server);
    TTestDatabase file(TDbEngine::File);
    TTestDatabase server(TDbEngine::Server);
    ASSERT_FALSE(server.Spec().isEmpty()) << server.Problem().toStdString();
    Fill(file.Spec());
    ASSERT_EQ(KelmDb({"copy", file.Spec(), server.Spec()}).status, 0);
    const QStringList onServer = KelmDatabaseDigest(server.Spec());

    // A server database that already holds data.
    DbRun again = KelmDb({"copy", file.Spec(), server.Spec()});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.contains("已有数据")) << again.err.toStdString();
    EXPECT_EQ(KelmDatabaseDigest(server.Spec()), onServer);

    // An existing file.
    TTestDatabase other(TDbEngine::File);
    Fill(other.Spec());
    const QByteArray otherBytes = FileHash(other.Spec());
    DbRun overFile = KelmDb({"copy", server.Spec(), other.Spec()});
    EXPECT_EQ(overFile.status, 1);
    EXPECT_TRUE(overFile.err.contains("已存在")) << overFile.err.toStdString();
    EXPECT_EQ(FileHash(other.Spec()), otherBytes);

    // A server database of something else.
    TTestDatabase foreign(TDbEngine::Server);
    ASSERT_TRUE(foreign.Run("CREATE TABLE invoices (id INTEGER, total NUMERIC)"));
    ASSERT_TRUE(foreign.Run("INSERT INTO invoices VALUES (1, 99.5)"));
    DbRun intoForeign = KelmDb({"copy", file.Spec(), foreign.Spec()});
    EXPECT_EQ(intoForeign.status, 1);
    EXPECT_TRUE(intoForeign.err.contains("不是Kelm数据库")) << intoForeign.err.toStdString();
    EXPECT_TRUE(foreign.Run("SELECT 1 FROM invoices WHERE id = 1 AND total = 99.5"));
    EXPECT_FALSE(foreign.Run("SELECT 1 FROM FProject")) << "a Kelm table was made beside foreign ones";

    // The same database as source and target.
    EXPECT_EQ(KelmDb({"copy", file.Spec(), file.Spec()}).status, 1);
}

TEST(KelmDb, ACopyThatFailsLeavesNoHalfServerDatabase) {
    KELM_REQUIRE_ENGINE(TDbEngine::Server);
    TTestDatabase file(TDbEngine::File);
    TTestDatabase server(TDbEngine::Server);
    ASSERT_FALSE(server.Spec().isEmpty()) << server.Problem().toStdString();
    Fill(file.Spec());
    // A text with a NUL character: the file keeps it, a server text cannot hold it. The
    // panel rows come after the tables copied before it, so the failure is half-way.
    ASSERT_TRUE(file.Run("UPDATE FProBCCut SET cutFA = 'a' || char(0) || 'b'"));
    DbRun failed = KelmDb({"copy", file.Spec(), server.Spec()});
    EXPECT_EQ(failed.status, 1) << failed.out.toStdString();
    EXPECT_FALSE(failed.err.isEmpty());
    // Not even the tables were made: the schema and the rows are one transaction.
    EXPECT_FALSE(server.Run("SELECT 1 FROM FProject"));
    EXPECT_FALSE(server.Run("SELECT 1 FROM FSysSet"));
    // With the text mended, the same server database takes the copy.
    ASSERT_TRUE(file.Run("UPDATE FProBCCut SET cutFA = 'ab'"));
    EXPECT_EQ(KelmDb({"copy", file.Spec(), server.Spec()}).status, 0);
}

TEST(KelmDb, BadArgumentsAndMissingSource) {
    EXPECT_EQ(KelmDb({"copy", "only-one"}).status, 2);
    EXPECT_EQ(KelmDb({"move", "a", "b"}).status, 2);
    TTestDatabase file(TDbEngine::File);
    DbRun missing = KelmDb({"copy", file.Folder() + "/none.db", file.Folder() + "/t.db"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains("不存在")) << missing.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(file.Folder() + "/none.db"));
    EXPECT_FALSE(QFileInfo::exists(file.Folder() + "/t.db"));
    // A file that is no database is not copied from.
    QFile junk(file.Folder() + "/junk.db");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a database at all");
    junk.close();
    DbRun foreign = KelmDb({"copy", junk.fileName(), file.Folder() + "/t.db"});
    EXPECT_EQ(foreign.status, 1);
    EXPECT_FALSE(QFileInfo::exists(file.Folder() + "/t.db"));
    EXPECT_EQ(KelmDb({"copy", file.Folder() + "/junk.db", "postgresql://u@h:notaport/d"}).status, 2);
}

}  // namespace
