// Times saving one order position: a combination of 10 cabinets, 30 panel rows each
// (15 boards, 2 drawers, 3 door leaves), hole patterns included, on a fresh database
// with a set of drilling rules. Each save is one FXmlSave.SaveToDB (or EditSize) call:
// document, settings, rules, rows, patterns and the one transaction.
//
// Usage: bench_panel [runs=20] [folder=temp]

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "data/UnitData.h"
#include "documents/UHolePattern.h"
#include "documents/UXmlSave.h"
#include "documents/UXmlSaveDb.h"
#include "documents/UnitEncrypTo.h"

namespace {

FCl Cl(double thick, const QString& name, const QString& id) {
    FCl cl;
    cl.DbID = id;
    cl.Name = name;
    cl.Thick = thick;
    return cl;
}

// A 900 x 560 x 2000 wardrobe: sides, top, bottom on a plinth, back, a partition,
// four shelves left, four right, two drawers, an upright behind them, three leaves.
std::unique_ptr<FCabinet> Wardrobe(int n) {
    auto cab = std::make_unique<FCabinet>(900, 560, 2000, QStringLiteral("衣柜%1").arg(n));
    FEdge behindBack;
    behindBack.H = 18;
    FFengB fb;
    fb.T = fb.B = fb.Q = 1;
    const auto named = [&](const char* name) {
        return Cl(18, QString::fromUtf8(name), QStringLiteral("1"));
    };
    cab->AddCeBan(0, FShape::R, behindBack, named("左侧板"), QStringLiteral("Left"), fb,
                  QStringLiteral("2"));
    cab->AddCeBan(1, FShape::R, behindBack, named("右侧板"), QStringLiteral("Right"), fb,
                  QStringLiteral("2"));
    cab->AddDingBan(2, FShape::R, behindBack, named("顶板"), fb, QStringLiteral("1"));
    FEdge plinth = behindBack;
    plinth.B = 80;
    cab->AddDiBan(3, FShape::R, plinth, named("底板"), fb, QStringLiteral("1"));
    cab->AddBackBC(4, FEdge{}, Cl(9, QStringLiteral("背板"), QStringLiteral("2")), FFengB{},
                   QStringLiteral("0"));
    cab->AddBc(4, FShape::R, FEdge{}, named("隔板"), 450, 0, QStringLiteral("0"), fb,
               QStringLiteral("2"));
    // Left part: region 6; each shelf keeps the part above and appends the part below.
    cab->AddBc(6, FShape::R, FEdge{}, named("层板"), 0, 400, QStringLiteral("1"), fb,
               QStringLiteral("1"));
    cab->AddBc(9, FShape::R, FEdge{}, named("层板"), 0, 800, QStringLiteral("1"), fb,
               QStringLiteral("1"));
    cab->AddBc(11, FShape::R, FEdge{}, named("层板"), 0, 1200, QStringLiteral("1"), fb,
               QStringLiteral("1"));
    cab->AddBc(13, FShape::R, FEdge{}, named("层板"), 0, 1600, QStringLiteral("1"), fb,
               QStringLiteral("1"));
    // Right part: region 7, split at 1000; drawers below, shelves above.
    cab->AddBc(7, FShape::R, FEdge{}, named("层板"), 0, 1000, QStringLiteral("1"), fb,
               QStringLiteral("1"));
    cab->AddChouTi(17, Cl(16, QString(), QStringLiteral("3")),
                   Cl(5, QString(), QStringLiteral("4")), QStringLiteral("抽屉1"), 0, 4, 450, 20,
                   20, 120);
    cab->AddChouTi(18, Cl(16, QString(), QStringLiteral("3")),
                   Cl(5, QString(), QStringLiteral("4")), QStringLiteral("抽屉2"), 0, 3, 450, 20,
                   20, 120);
    cab->AddShuBan(19, FEdge{}, named("竖板"), fb, QStringLiteral("2"));
    cab->AddBc(16, FShape::R, FEdge{}, named("层板"), 0, 300, QStringLiteral("1"), fb,
               QStringLiteral("1"));
    cab->AddBc(21, FShape::R, FEdge{}, named("层板"), 0, 600, QStringLiteral("1"), fb,
               QStringLiteral("1"));
    cab->AddBc(23, FShape::R, FEdge{}, named("层板"), 0, 800, QStringLiteral("1"), fb,
               QStringLiteral("1"));
    FEdge gaps;
    gaps.L = gaps.R = gaps.T = gaps.B = 2;
    cab->AddDKM(6, gaps, Cl(18, QStringLiteral("左门"), QStringLiteral("5")), 2,
                QStringLiteral("1"));
    cab->AddDKM(6, gaps, Cl(18, QStringLiteral("右门"), QStringLiteral("5")), 2,
                QStringLiteral("2"));
    cab->AddDKM(16, gaps, Cl(18, QStringLiteral("上门"), QStringLiteral("5")), 1,
                QStringLiteral("1"));
    return cab;
}

FCabs TenWardrobes() {
    FCabs cbs(9000, 560, 2000);
    for (int i = 1; i < 10; ++i) cbs.AddSplit(i - 1, 900.0 * i, 0, QStringLiteral("0"));
    for (int i = 0; i < 10; ++i) cbs.AddCabinet(i, Wardrobe(i + 1));
    return cbs;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Report(const char* what, const std::vector<double>& ms) {
    std::printf("%-34s min %7.2f ms  median %7.2f ms  max %7.2f ms\n", what,
                *std::min_element(ms.begin(), ms.end()), Median(ms),
                *std::max_element(ms.begin(), ms.end()));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 20;
    QTemporaryDir tmp(argc > 2 ? QString::fromLocal8Bit(argv[2]) + "/benchXXXXXX" : QString());
    TsysData data(tmp.filePath("KelmDB.db"));
    SetSysData(&data);
    if (!data.Open()) {
        std::fprintf(stderr, "cannot create %s: %s\n", qPrintable(data.DatabasePath()),
                     qPrintable(data.LastError()));
        return 1;
    }
    {
        QSqlQuery q(data.Database());
        q.exec(
            "INSERT INTO FPKBZ(minVal,maxVal,kwstr) VALUES(0,150,'32'),(150,300,'32,118'),"
            "(300,450,'32,160,288'),(450,600,'32,224,416'),(600,900,'32,288,544'),"
            "(900,2400,'32,288,544,800')");
    }

    const FCabs cbs = TenWardrobes();
    FPKBZ rules;
    ReadDrillingRules(rules);
    const FPanelRows sample = BuildPanelRows(cbs, GetSysSet(), FHoleRules(rules));
    int holes = 0;
    for (const FPanelRow& r : sample)
        if (!r.shape.isEmpty())
            holes += TEncrypXML::UncrypStr(r.shape, kHolePatternKey).count(QStringLiteral("<k "));
    std::printf("combination: %zu cabinets, %zu panel rows, %d holes, document %lld characters\n",
                cbs.CBS().size(), sample.size(), holes,
                static_cast<long long>(FXmlSave::BuildStoredXml(cbs).size()));

    std::vector<double> build, save, edit;
    QString winID;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        const FPanelRows rows = BuildPanelRows(cbs, GetSysSet(), FHoleRules(rules));
        build.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        // A distinct number per run keeps the identifiers apart within one second.
        if (!FXmlSave::SaveToDB("150317101530", "W", "2", "1", "客户", "PVC", cbs, i, &winID)) {
            std::fprintf(stderr, "SaveToDB failed: %s\n", qPrintable(data.LastError()));
            return 1;
        }
        save.push_back(t.nsecsElapsed() / 1e6);

        t.restart();
        if (!FXmlSave::EditSize("150317101530", winID, "W", "3", "1", "客户", "PVC", cbs)) {
            std::fprintf(stderr, "EditSize failed: %s\n", qPrintable(data.LastError()));
            return 1;
        }
        edit.push_back(t.nsecsElapsed() / 1e6);
    }
    auto count = data.OpenQuery("SELECT COUNT(*) FROM FProCl");
    count->next();
    std::printf("runs: %d, panel rows in the database: %d\n", runs, count->value(0).toInt());
    Report("rows + patterns in memory", build);
    Report("SaveToDB (whole position)", save);
    Report("EditSize (replace 300 rows)", edit);
    SetSysData(nullptr);
    return 0;
}
