// Backup and restore when the data live on a server: the backup is a database file the
// restore check accepts, holding the server's rows; a restore replaces the server's rows
// with the file's in one transaction, and a refused or failed restore leaves the server's
// data as they were.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "EngineTestSupport.h"
#include "data/PromptRecorder.h"
#include "data/UnitData.h"
#include "data/UnitDataBackup.h"
#include "data/UnitDataCopy.h"

namespace {

class ServerBackupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        KELM_REQUIRE_ENGINE(TDbEngine::Server);
        ASSERT_FALSE(place.Spec().isEmpty()) << place.Problem().toStdString();
        data = std::make_unique<TsysData>(place.Spec());
        data->SetPrompt(&prompt);
        ASSERT_TRUE(data->Open()) << data->LastError().toStdString();
        Exec("INSERT INTO FProject(proID,proCode,proName) VALUES('240101000001','A-1','王宅')");
        Exec("INSERT INTO FProWins(winID,proID,winPath,winCode) VALUES('w1','240101000001','<doc a=\"1\"/>','G1')");
        Exec("INSERT INTO FCl(cateID,ylName,length,width,houdu) VALUES(1,'白橡',2440,1220,18)");
        Exec("UPDATE FSysSet SET cmpName='木作坊', trimT=5");
    }

    void Exec(const char* sql) {
        data->SetCommonSQL(QString::fromUtf8(sql));
        ASSERT_TRUE(data->ExecCommon()) << sql << " " << data->LastError().toStdString();
    }

    QStringList Digest() { return KelmDatabaseDigest(place.Spec()); }

    TTestDatabase place{TDbEngine::Server};
    TTestDatabase folder{TDbEngine::File};
    TPromptRecorder prompt;
    std::unique_ptr<TsysData> data;
};

TEST_F(ServerBackupTest, BackupIsAFileTheRestoreTakesAndRestoreBringsItsRowsBack) {
    const QStringList before = Digest();
    const QString backup = folder.Folder() + "/251210080000.bak";
    QString error;
    std::vector<int> progress;
    ASSERT_TRUE(BackupDatabase(*data, backup, [&](int v) { progress.push_back(v); }, &error))
        << error.toStdString();
    EXPECT_TRUE(IsKelmDatabaseFile(backup, &error)) << error.toStdString();
    EXPECT_EQ(KelmDatabaseDigest(backup), before);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 0);

    // A backup over an older backup of the same name replaces it.
    Exec("INSERT INTO FClCls(cateName) VALUES('板材')");
    ASSERT_TRUE(BackupDatabase(*data, backup, {}, &error)) << error.toStdString();
    const QStringList withCategory = Digest();
    EXPECT_EQ(KelmDatabaseDigest(backup), withCategory);

    // Work after the backup is undone by the restore, on every seat at once.
    Exec("DELETE FROM FProWins");
    Exec("UPDATE FSysSet SET cmpName='别家'");
    ASSERT_NE(Digest(), withCategory);
    bool refused = true;
    ASSERT_TRUE(RestoreServerDatabase(*data, backup, {}, &refused, &error)) << error.toStdString();
    EXPECT_FALSE(refused);
    EXPECT_EQ(Digest(), withCategory);
    ASSERT_TRUE(data->Open());
    auto q = data->OpenQuery("SELECT winPath FROM FProWins WHERE winID='w1'");
    ASSERT_TRUE(q->next());
    EXPECT_EQ(FieldText(*q, "winPath"), "<doc a=\"1\"/>");
    // Counters go on after the restored rows.
    Exec("INSERT INTO FCl(cateID,ylName) VALUES(1,'胡桃')");
    q = data->OpenQuery("SELECT MAX(ylID) AS m FROM FCl");
    ASSERT_TRUE(q->next());
    EXPECT_EQ(FieldText(*q, "m"), "2");
}

TEST_F(ServerBackupTest, ForeignOrFailingRestoreLeavesTheServerAsItWas) {
    const QStringList before = Digest();
    QString error;
    bool refused = false;

    // Not a database at all.
    const QString junk = folder.Folder() + "/junk.bak";
    QFile f(junk);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("SQLite format 3 but nothing more");
    f.close();
    EXPECT_FALSE(RestoreServerDatabase(*data, junk, {}, &refused, &error));
    EXPECT_TRUE(refused);
    EXPECT_EQ(Digest(), before);

    // A Kelm file whose text the server cannot hold (a NUL character): the copy fails
    // half-way and the transaction leaves every row of the server as it was.
    const QString backup = folder.Folder() + "/nul.bak";
    ASSERT_TRUE(BackupDatabase(*data, backup, {}, &error)) << error.toStdString();
    {
        TTestDatabase scratch(TDbEngine::File);
        ASSERT_TRUE(QFile::copy(backup, scratch.Spec()));
        ASSERT_TRUE(scratch.Run("UPDATE FCl SET ylName = 'a' || char(0) || 'b'"));
        ASSERT_TRUE(scratch.Run("DELETE FROM FProject"));
        refused = true;
        EXPECT_FALSE(RestoreServerDatabase(*data, scratch.Spec(), {}, &refused, &error));
        EXPECT_FALSE(refused);
    }
    EXPECT_EQ(Digest(), before);
}

}  // namespace
