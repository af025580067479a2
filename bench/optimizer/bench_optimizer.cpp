// Optimizer benchmark: runs every instance of instances/manifest.txt (made by
// make_instances.py) for a fixed number of generations with one thread and with all
// threads, and prints a Markdown table: sheets used, area lower bound, utilisation,
// constructions per second and wall times. With --classic DIR it also runs instances of
// the classic two-dimensional bin packing sets (folders berkey1987/ and martello1998/
// with *_bins.csv/*_items.csv and the best-known CSV files) and compares.
//
// usage: bench_optimizer [--instances DIR] [--classic DIR] [--generations N] [--seed N]
//                        [--classic-count N] [--repeat N] [--out FILE]
//
// Wall times are the fastest of --repeat runs (default 3), so a busy machine disturbs
// them less; the CPU time of the fastest one-thread run is shown beside it.

#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QTextStream>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <thread>

#include "BenchInstances.h"
#include "common/NumberFormat.h"
#include "optimizer/UnitD2Rect.h"
#include "optimizer/UnitD2RectDisp.h"
#include "tools/CutListCsv.h"

namespace {

struct Instance : BenchInstance {
    QString bestKnown;  // classic sets only
};

struct Outcome {
    int sheets = 0;
    double utilisation = 0;
    int uncut = 0;
    int64_t constructions = 0;
    double seconds = 0;
    double cpuSeconds = 0;  // user + system time of the whole process during the run
    QString signature;      // the layouts, to check that thread counts agree
};

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

Outcome SolveOnce(const Instance& in, int threads, uint64_t seed) {
    TD2Rect rect(in.raws, in.prm, in.eles, seed, threads);
    const double cpu = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    rect.Run();
    Outcome o;
    o.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    o.cpuSeconds = CpuSeconds() - cpu;
    TD2Rslt r;
    TD2Result().GetResult(rect.BestSchame, in.prm, in.eles, r);
    o.sheets = r.RawUseCount;
    o.utilisation = r.UltiRate;
    for (const TEleCut& e : r.NoCutArr) o.uncut += e.count;
    o.constructions = rect.ConstructionCount();
    for (const TD2RGene& g : rect.BestSchame)
        o.signature += QString::number(g.RawCount) + ":" + QString::number(g.EleList.size()) + ";";
    return o;
}

Outcome Solve(const Instance& in, int threads, uint64_t seed, int repeat) {
    Outcome best = SolveOnce(in, threads, seed);
    for (int i = 1; i < repeat; ++i) {
        const Outcome o = SolveOnce(in, threads, seed);
        if (o.seconds < best.seconds) best = o;
    }
    return best;
}

// Sum of part areas over the usable area of the largest sheet type, rounded up.
int AreaLowerBound(const Instance& in) {
    double parts = 0, usable = 0;
    for (const TD2REle& e : in.eles) parts += e.Length * e.Width * e.Count;
    for (const TD2RRaw& r : in.raws)
        usable = std::max(usable, (r.Length - in.prm.Edg.Left - in.prm.Edg.Right) *
                                      (r.Width - in.prm.Edg.Top - in.prm.Edg.Bottom));
    return usable > 0 ? static_cast<int>(std::ceil(parts / usable - 1e-9)) : 0;
}

int Pieces(const Instance& in) {
    int n = 0;
    for (const TD2REle& e : in.eles) n += e.Count;
    return n;
}

std::map<QString, QString> BestKnown(const QString& file) {
    std::map<QString, QString> best;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return best;
    for (const QString& line : QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts)) {
        const QStringList v = line.trimmed().split(',');
        if (v.size() == 2) best[v[0]] = v[1];
    }
    return best;
}

QString Fixed(double v, const char* pattern) { return kelm::FormatPattern(v, pattern); }

// The 1-minute load average: other work on the machine slows the wall times.
QString LoadAverage() {
    QFile f("/proc/loadavg");
    if (!f.open(QIODevice::ReadOnly)) return "?";
    return QString::fromLatin1(f.readAll()).section(' ', 0, 0);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString instanceDir = QStringLiteral(KELM_BENCH_INSTANCES), classicDir, outFile;
    int generations = 60, classicCount = 2, repeat = 3;
    uint64_t seed = 1;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--instances")
            instanceDir = args[i + 1];
        else if (args[i] == "--classic")
            classicDir = args[i + 1];
        else if (args[i] == "--generations")
            generations = args[i + 1].toInt();
        else if (args[i] == "--seed")
            seed = args[i + 1].toULongLong();
        else if (args[i] == "--classic-count")
            classicCount = args[i + 1].toInt();
        else if (args[i] == "--out")
            outFile = args[i + 1];
        else if (args[i] == "--repeat")
            repeat = std::max(1, args[i + 1].toInt());
    }
    const int allThreads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));

    std::vector<Instance> instances;
    std::vector<Instance> classic;
    try {
        for (BenchInstance& in : LoadManifest(instanceDir)) instances.push_back(Instance{std::move(in), {}});
        if (!classicDir.isEmpty()) {
            const auto oriented = BestKnown(classicDir + "/data_bin_packing_oriented.csv");
            const auto threeStage = BestKnown(classicDir + "/data_bin_packing_3nho.csv");
            for (int cls = 1; cls <= 10; ++cls) {
                const QString set = cls <= 6 ? "berkey1987" : "martello1998";
                for (int k = 1; k <= classicCount; ++k) {
                    const QString key = QString("%1/Class_%2.2bp_100_%3")
                                            .arg(set)
                                            .arg(cls, 2, 10, QChar('0'))
                                            .arg(k);
                    classic.push_back(Instance{LoadClassic(classicDir + "/" + key, false), {}});
                    classic.back().bestKnown = (oriented.count(key) ? oriented.at(key) : QString("?")) +
                                               " / " + (threeStage.count(key) ? threeStage.at(key) : QString("?"));
                }
            }
        }
    } catch (const CutInputError& e) {
        std::fprintf(stderr, "bench_optimizer: %s\n", e.what());
        return 2;
    }

    QString text;
    QTextStream out(&text);
    out << "Optimizer benchmark: " << generations << " generations of 30 constructions, seed "
        << seed << ", 1 thread and " << allThreads << " threads (" << QSysInfo::prettyProductName()
        << ", " << allThreads
        << " logical cores). Same seed, so both runs build the same scheme. Wall times are the "
        << "fastest of " << repeat << " runs. Load average at the start: " << LoadAverage()
        << ".\n\n";
    auto table = [&](const std::vector<Instance>& list, bool withBest) {
        out << "| instance | pieces | sheets used | area lower bound |"
            << (withBest ? " best known (oriented / 3-stage guillotine) |" : "")
            << " utilisation | uncut | constructions/s (" << allThreads
            << " threads) | 1 thread (s) | 1 thread CPU (s) | " << allThreads
            << " threads (s) | speed-up |\n";
        out << "|---|---:|---:|---:|" << (withBest ? "---:|" : "")
            << "---:|---:|---:|---:|---:|---:|---:|\n";
        for (Instance in : list) {
            in.prm.OptTime = generations;
            const Outcome one = Solve(in, 1, seed, repeat);
            const Outcome all = Solve(in, allThreads, seed, repeat);
            out << "| " << in.name << " | " << Pieces(in) << " | " << all.sheets
                << (one.signature == all.signature ? "" : " (differs!)") << " | "
                << AreaLowerBound(in) << " | ";
            if (withBest) out << in.bestKnown << " | ";
            out << Fixed(all.utilisation * 100, "0.00") << " % | " << all.uncut << " | "
                << Fixed(all.constructions / all.seconds, "0") << " | "
                << Fixed(one.seconds, "0.000") << " | " << Fixed(one.cpuSeconds, "0.000") << " | "
                << Fixed(all.seconds, "0.000") << " | " << Fixed(one.seconds / all.seconds, "0.00")
                << "x |\n";
            out.flush();
            std::fprintf(stderr, "%s done\n", qPrintable(in.name));
        }
        out << "\n";
    };
    table(instances, false);
    if (!classic.empty()) table(classic, true);
    out << "Load average at the end: " << LoadAverage() << ".\n";
    out.flush();
    std::fputs(text.toUtf8().constData(), stdout);
    if (!outFile.isEmpty()) {
        QFile f(outFile);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::fprintf(stderr, "bench_optimizer: cannot write %s\n", qPrintable(outFile));
            return 1;
        }
        f.write(text.toUtf8());
    }
    return 0;
}
