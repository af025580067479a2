// Times single-row inserts through the shared command on a fresh database, each a
// statement of its own as the windows write them.
//
// Usage: bench_data [rows=1000] [folder=temp]

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "data/UnitData.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    QTemporaryDir tmp(argc > 2 ? QString::fromLocal8Bit(argv[2]) + "/benchXXXXXX" : QString());
    TsysData data(tmp.filePath("KelmDB.db"));

    QElapsedTimer open;
    open.start();
    if (!data.Open()) {
        std::fprintf(stderr, "cannot create %s: %s\n", qPrintable(data.DatabasePath()),
                     qPrintable(data.LastError()));
        return 1;
    }
    const qint64 createMs = open.elapsed();

    QElapsedTimer t;
    t.start();
    int ok = 0;
    for (int i = 0; i < rows; ++i) {
        data.SetCommonSQL(
            "INSERT INTO FProCl (proID,winID,gtName,clID,clName,length,width,thick,clCount,"
            "wl,flag,shape) VALUES (:proID,:winID,:gtName,:clID,:clName,:length,:width,"
            ":thick,:clCount,:wl,:flag,:shape)");
        data.SetCommonParam("proID", "150317101530");
        data.SetCommonParam("winID", "1503171015301");
        data.SetCommonParam("gtName", QStringLiteral("地柜%1").arg(i / 20));
        data.SetCommonParam("clID", "1");
        data.SetCommonParam("clName", QStringLiteral("侧板"));
        data.SetCommonParam("length", QString::number(300 + i % 500));
        data.SetCommonParam("width", "560.5");
        data.SetCommonParam("thick", "18");
        data.SetCommonParam("clCount", "2");
        data.SetCommonParam("wl", "0");
        data.SetCommonParam("flag", "R");
        data.SetCommonParam("shape", QString(400, QChar('A')));
        if (data.ExecCommon()) ++ok;
    }
    const qint64 ms = t.elapsed();
    std::printf("database created in %lld ms\n", static_cast<long long>(createMs));
    std::printf("%d single-row inserts (%d succeeded) in %lld ms, %.3f ms per insert\n", rows, ok,
                static_cast<long long>(ms), rows ? double(ms) / rows : 0.0);
    return ok == rows ? 0 : 1;
}
