// kelm-cut on a Kelm database: the order list, a whole order optimised and stored as the
// optimization dialog does with every output written, and the mistakes that must write
// nothing (a missing database file, an unknown order).

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include "EngineTestSupport.h"
#include "data/UnitData.h"
#include "data/UnitDataCopy.h"
#include "output/OutputTestSupport.h"

namespace {

struct Result {
    int exitCode = -1;
    QString out, err;
};

Result RunCut(const QStringList& args) {
    QProcess p;
    p.start(KELM_CUT_PATH, args);
    EXPECT_TRUE(p.waitForFinished(180000));
    return Result{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                  QString::fromUtf8(p.readAllStandardError())};
}

class KelmCutDb : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString db;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        db = dir.filePath("KelmDB.db");
        TsysData data(db);
        ASSERT_TRUE(data.Open());
        auto exec = [&data](const QString& sql, const QVector<QPair<QString, QString>>& params) {
            data.SetCommonSQL(sql);
            for (const auto& [n, v] : params) data.SetCommonParam(n, v);
            ASSERT_TRUE(data.ExecCommon()) << sql.toStdString();
        };
        exec("UPDATE FSysSet SET OptT1=0,blade=4", {});
        exec("INSERT INTO FProject(proID,proCode,proName,begDt,endDt,bz) VALUES('240301080000','N-7','夜班','2024-03-01','2024-03-09','')",
             {});
        exec("INSERT INTO FProWins(winID,proID,winPath,winCode,winCount,Width,Height,Depth,Maked,custID,custName,FengB) "
             "VALUES('w1','240301080000','','B02',1,600,720,560,0,'','','')",
             {});
        for (const char* name : {"白色颗粒板", "橡木饰面板"})
            exec("INSERT INTO FCl(cateID,ylCode,ylName,length,width,houdu,color,bz) VALUES(1,'',:n,2440,1220,18,'','')",
                 {{"n", QString::fromUtf8(name)}});
        const struct {
            const char* clID;
            const char* name;
            int l, w, n;
        } panels[] = {{"1", "侧板", 720, 560, 6}, {"1", "底板", 564, 560, 3}, {"2", "门板", 716, 396, 4}};
        for (const auto& p : panels)
            exec("INSERT INTO FProCl(proID,winID,gtName,clID,clName,length,width,thick,clCount,wl,flag,shape) "
                 "VALUES('240301080000','w1','地柜',:c,:n,:l,:w,18,:k,'0','','')",
                 {{"c", p.clID},
                  {"n", QString::fromUtf8(p.name)},
                  {"l", QString::number(p.l)},
                  {"w", QString::number(p.w)},
                  {"k", QString::number(p.n)}});
    }

    int StoredRows() {
        TsysData data(db);
        EXPECT_TRUE(data.Open());
        auto q = data.OpenQuery("SELECT count(*) FROM FProBCCut WHERE proID='240301080000'");
        return q->next() ? q->value(0).toInt() : -1;
    }
};

TEST_F(KelmCutDb, OrderWithoutKeyListsTheOrders) {
    const Result r = RunCut({"--db", db, "--order"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("240301080000\tN-7\t夜班")) << r.out.toStdString();
}

TEST_F(KelmCutDb, WholeOrderIsOptimisedStoredAndWritten) {
    const QString pdf = dir.filePath("night.pdf"), labels = dir.filePath("labels.pdf"), csv = dir.filePath("cuts.csv");
    const Result r = RunCut({"--db", db, "--order", "N-7", "--seed", "3", "--pdf", pdf, "--labels", labels,
                             "--label-size", "a4", "--sequence", csv});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(o["order"].toString(), "240301080000");
    EXPECT_EQ(o["materials"].toInt(), 2);
    const int layouts = o["layouts"].toInt();
    EXPECT_GE(layouts, 2);
    EXPECT_GT(o["cuts"].toInt(), 0);
    EXPECT_EQ(StoredRows(), 2);  // one stored layout per material, as the dialog keeps them
    EXPECT_EQ(outputtest::PdfPages(pdf), layouts);
    QStringList codes;
    for (const QString& png : outputtest::PdfToPngs(labels, dir.path(), 300)) codes << outputtest::Decode(png);
    EXPECT_EQ(codes.size(), 13);  // 6 + 3 + 4 pieces
    EXPECT_EQ(codes.removeDuplicates(), 0);
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.value(0), "layout,step,direction,position,length,level,x,y");
    ASSERT_GT(lines.size(), 1);
    QSet<int> numbered;
    for (int i = 1; i < lines.size(); ++i) {
        const QStringList f = lines[i].split(',');
        ASSERT_EQ(f.size(), 8) << lines[i].toStdString();
        numbered.insert(f[0].toInt());
    }
    EXPECT_EQ(numbered.size(), layouts) << "the layouts are numbered through the order";
}

TEST_F(KelmCutDb, MistakesWriteNothing) {
    const QString missing = dir.filePath("nope.db");
    Result r = RunCut({"--db", missing, "--order", "N-7"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("cannot open database")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(missing));

    const QString pdf = dir.filePath("x.pdf");
    r = RunCut({"--db", db, "--order", "NOPE", "--pdf", pdf});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("no order")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(StoredRows(), 0);

    r = RunCut({"--db", db, "--order", "N-7", "--kerf", "3"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("cannot be used with --db")) << r.err.toStdString();
}

TEST_F(KelmCutDb, ServerDatabaseGivenAsUrlIsOptimisedAndStoredThere) {
    KELM_REQUIRE_ENGINE(TDbEngine::Server);
    TTestDatabase server(TDbEngine::Server);
    ASSERT_FALSE(server.Spec().isEmpty()) << server.Problem().toStdString();
    QString error;
    ASSERT_TRUE(CopyKelmDatabase(db, server.Spec(), TCopyMode::IntoEmpty, &error)) << error.toStdString();
    Result r = RunCut({"--db", server.Spec(), "--order"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("240301080000\tN-7\t夜班")) << r.out.toStdString();
    r = RunCut({"--db", server.Spec(), "--order", "N-7", "--seed", "3"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(o["materials"].toInt(), 2);
    // The layouts went to the server, not to the file it was copied from.
    EXPECT_EQ(StoredRows(), 0);
    TsysData data(server.Spec());
    auto q = data.OpenQuery("SELECT count(*) FROM FProBCCut WHERE proID='240301080000'");
    ASSERT_TRUE(q->next());
    EXPECT_EQ(q->value(0).toInt(), 2);
    // A URL that cannot be used is a mistake of the arguments.
    r = RunCut({"--db", "postgresql://kelm@host:port/kelm", "--order"});
    EXPECT_EQ(r.exitCode, 2);
}

}  // namespace
