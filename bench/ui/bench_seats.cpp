// The two timings a seat notices, on the embedded file and on a PostgreSQL server over
// the local socket: saving one combination whose panel list has 300 rows (the document,
// the position and every panel row, as the designer's save does), and loading an order
// of 200 cabinet entries into the main window's list.
//
// bench_seats [runs]   (offscreen platform; default 5 runs of each)
// The server case runs when KELM_TEST_PGSQL names a server (scripts/pgserver.sh starts
// one: KELM_TEST_PGSQL="postgresql://kelm@/postgres?host=$dir"); each engine gets a
// fresh database.
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "EngineTestSupport.h"
#include "SeedOrder.h"
#include "data/PromptRecorder.h"
#include "ui/orders/UnitMain.h"

namespace {

// 36 carcasses with doors (8 panels each) and 2 without (6 each) side by side: 300
// panel rows.
FCabs Combination300() {
    const int cabinets = 38;
    const double w = 600, d = 550, h = 720;
    FCabs cabs(w * cabinets, d, h);
    for (int i = 0; i + 1 < cabinets; ++i) cabs.AddSplit(i, w * (i + 1), 0, QStringLiteral("2"));
    for (int i = 0; i < cabinets; ++i) cabs.AddCabinet(i, seed::SampleCabinet(w, d, h, i < 36));
    return cabs;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

int CountRows(const QString& sql) {
    auto q = sysData()->OpenQuery(sql);
    return q->next() ? q->value(0).toInt() : -1;
}

void Bench(TDbEngine engine, int runs) {
    TTestDatabase place(engine);
    if (place.Spec().isEmpty()) {
        std::printf("%s: no database (%s)\n", engine == TDbEngine::Server ? "server" : "file",
                    qPrintable(place.Problem()));
        return;
    }
    const char* name = engine == TDbEngine::Server ? "server" : "file";
    TsysData data(place.Spec());
    TPromptRecorder prompt;
    data.SetPrompt(&prompt);
    SetSysData(&data);
    const QString proID = seed::SeedSampleData(200);

    // Saving: each run a new position of the combination, in another order so the
    // loaded one keeps its 200 entries.
    const QString saveInto = QStringLiteral("241201090000");
    const FCabs cabs = Combination300();
    std::vector<double> saves, saveCpu;
    int rowsPerSave = 0;
    for (int run = 0; run < runs; ++run) {
        const int before = CountRows(QStringLiteral("SELECT COUNT(*) FROM FProCl"));
        QElapsedTimer timer;
        timer.start();
        const std::clock_t cpuStart = std::clock();
        const bool ok = FXmlSave::SaveToDB(saveInto, QStringLiteral("Z%1").arg(run), QStringLiteral("1"),
                                           QStringLiteral("1"), QStringLiteral("张三"), QString(), cabs, 0);
        const double ms = timer.nsecsElapsed() / 1e6;
        saveCpu.push_back(double(std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC);
        rowsPerSave = CountRows(QStringLiteral("SELECT COUNT(*) FROM FProCl")) - before;
        if (!ok) std::printf("%s: save %d failed: %s\n", name, run, qPrintable(data.LastError()));
        saves.push_back(ms);
    }

    // Loading: the order's 200 entries (plus the saved combinations) into the list.
    TfrmMain main;
    main.resize(1280, 800);
    main.show();
    main.proID = proID;
    main.LoadOrderTree();
    std::vector<double> loads, loadCpu;
    int items = 0;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const std::clock_t cpuStart = std::clock();
        main.LoadCabinetList();
        loads.push_back(timer.nsecsElapsed() / 1e6);
        loadCpu.push_back(double(std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC);
        items = main.lstWins->count();
    }
    // Processor time is this program's own; on a server the server's share is not in it.
    std::printf("%s: save of %d panel rows: median %.1f ms (best %.1f, worst %.1f, processor "
                "%.1f ms); load of %d entries: median %.1f ms (best %.1f, worst %.1f, processor "
                "%.1f ms); messages %lld\n",
                name, rowsPerSave, Median(saves), *std::min_element(saves.begin(), saves.end()),
                *std::max_element(saves.begin(), saves.end()), Median(saveCpu), items,
                Median(loads), *std::min_element(loads.begin(), loads.end()),
                *std::max_element(loads.begin(), loads.end()), Median(loadCpu),
                static_cast<long long>(prompt.infos.size()));
    SetSysData(nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    Bench(TDbEngine::File, runs);
    if (TestServerUrl().isEmpty())
        std::printf("server: skipped (KELM_TEST_PGSQL is not set)\n");
    else
        Bench(TDbEngine::Server, runs);
    return 0;
}
