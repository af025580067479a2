// Loading an order's cabinet list in the main window: reading the entries, opening
// every stored document, drawing its 230 × 230 thumbnail and adding the list item.
// Also measures how long the event loop went without getting control during a load,
// which is what keeps the window responsive.
//
// bench_ui [entries] [runs]   (default 200 entries, 5 runs; offscreen platform)
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "SeedOrder.h"
#include "data/PromptRecorder.h"
#include "ui/orders/UnitMain.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int entries = argc > 1 ? std::max(1, atoi(argv[1])) : 200;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;

    QTemporaryDir dir;
    TsysData data(dir.filePath("KelmDB.db"));
    TPromptRecorder prompt;
    data.SetPrompt(&prompt);
    SetSysData(&data);
    QElapsedTimer seedTimer;
    seedTimer.start();
    const QString proID = seed::SeedSampleData(entries);
    std::printf("seeded %d entries in %lld ms\n", entries, seedTimer.elapsed());

    TfrmMain main;
    main.resize(1280, 800);
    main.show();
    main.proID = proID;
    main.LoadOrderTree();

    // A zero timer fires whenever the event loop gets control; the longest gap between
    // two firings is the longest time the window could not react.
    QElapsedTimer sinceLast;
    qint64 longestGap = 0;
    QTimer tick;
    tick.setInterval(0);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, sinceLast.nsecsElapsed());
        sinceLast.restart();
    });

    std::vector<double> times;
    std::vector<double> cpuTimes;
    for (int run = 0; run < runs; ++run) {
        longestGap = 0;
        tick.start();
        sinceLast.start();
        QElapsedTimer timer;
        timer.start();
        const std::clock_t cpuStart = std::clock();
        main.LoadCabinetList();
        const double ms = timer.nsecsElapsed() / 1e6;
        // Processor time of this process: on a busy shared machine the wall time also
        // counts the time other programs had the processor.
        const double cpuMs = double(std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC;
        cpuTimes.push_back(cpuMs);
        tick.stop();
        times.push_back(ms);
        std::printf(
            "run %d: %d items in %.1f ms (%.2f ms per entry; processor time %.1f ms), "
            "longest gap without events %.1f ms, status \"%s\"\n",
            run + 1, main.lstWins->count(), ms, ms / entries, cpuMs, longestGap / 1e6,
            qPrintable(main.StatusText(2)));
    }
    std::sort(times.begin(), times.end());
    std::sort(cpuTimes.begin(), cpuTimes.end());
    std::printf(
        "wall: median %.1f ms, best %.1f ms, worst %.1f ms; processor: median %.1f ms; "
        "messages shown: %lld\n",
        times[times.size() / 2], times.front(), times.back(), cpuTimes[cpuTimes.size() / 2],
        static_cast<long long>(prompt.infos.size()));
    SetSysData(nullptr);
    return 0;
}
