// Deep search benchmark: the standard search and the deep search side by side on the
// workshop orders of instances/ and on the classic bin packing instances, with totals per
// class against the best known figures and the lower bounds.
//
// usage: bench_deep [--instances DIR] [--classic DIR] [--limit S] [--generations N]
//                   [--seed N] [--threads N] [--oriented] [--sample K] [--sizes LIST]
//                   [--classes LIST] [--skip-orders] [--iterations N] [--keys FILE]
//
// --limit is the deep search's time limit per instance (the whole run, its first search
// included); --sample K takes instances 1 … K of every class and size (all 10 by default);
// --sizes and --classes restrict the classic set ("20,40", "1,3,5"). Classic items may be
// turned unless --oriented is given. One line per instance goes to standard error.
// --iterations gives the deep search a fixed number of improvement steps instead of a
// time limit (the same work whatever the machine's load, for comparing versions of the
// search); --keys FILE runs only the classic instances named in it, one a line
// ("berkey1987/Class_03.2bp_80_1").

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <chrono>
#include <cstdio>
#include <map>

#include "BenchInstances.h"
#include "common/NumberFormat.h"
#include "optimizer/UnitD2Rect.h"
#include "optimizer/UnitD2RectDeep.h"
#include "tools/CutListCsv.h"

namespace {

struct Row {
    int standard = 0, deep = 0, bound = 0, area = 0, large = 0;
    bool atBound = false;
    double seconds = 0;
    int64_t steps = 0;
};

Row Solve(const BenchInstance& in, double limit, int generations, uint64_t seed, int threads,
          int64_t iterations) {
    Row r;
    TD2RPrm prm = in.prm;
    prm.OptTime = generations;
    TD2Rect rect(in.raws, prm, in.eles, seed, threads);
    rect.Run();
    r.standard = TD2RDeep::SheetCount(rect.BestSchame);
    TD2RDeepOptions opt;
    opt.TimeLimit = iterations > 0 ? 0 : limit;
    opt.Iterations = iterations;
    opt.Seed = seed;
    opt.Threads = threads;
    TD2RDeep deep(in.raws, prm, in.eles, opt);
    const auto start = std::chrono::steady_clock::now();
    deep.Run();
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    r.deep = TD2RDeep::SheetCount(deep.BestSchame);
    r.bound = deep.Bound.Sheets;
    r.area = deep.Bound.Area;
    r.large = deep.Bound.Large;
    r.atBound = deep.BoundReached;
    r.steps = deep.StepsDone;
    return r;
}

std::map<QString, int> BestKnown(const QString& file) {
    std::map<QString, int> best;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return best;
    for (const QString& line : QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts)) {
        const QStringList v = line.trimmed().split(',');
        bool ok = false;
        const int n = v.value(1).toInt(&ok);
        if (v.size() == 2 && ok) best[v[0]] = n;
    }
    return best;
}

QList<int> IntList(const QString& text) {
    QList<int> out;
    for (const QString& s : text.split(',', Qt::SkipEmptyParts)) out << s.toInt();
    return out;
}

QString LoadAverage() {
    QFile f("/proc/loadavg");
    if (!f.open(QIODevice::ReadOnly)) return "?";
    return QString::fromLatin1(f.readAll()).section(' ', 0, 0);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString instanceDir = QStringLiteral(KELM_BENCH_INSTANCES), classicDir;
    double limit = 10;
    int generations = 60, threads = 2, sample = 10;
    uint64_t seed = 1;
    int64_t iterations = 0;
    QStringList keys;
    bool oriented = false, skipOrders = false;
    QList<int> sizes{20, 40, 60, 80, 100}, classes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString a = args[i];
        const QString v = i + 1 < args.size() ? args[i + 1] : QString();
        if (a == "--oriented") {
            oriented = true;
            continue;
        }
        if (a == "--skip-orders") {
            skipOrders = true;
            continue;
        }
        ++i;
        if (a == "--instances")
            instanceDir = v;
        else if (a == "--classic")
            classicDir = v;
        else if (a == "--limit")
            limit = v.toDouble();
        else if (a == "--generations")
            generations = v.toInt();
        else if (a == "--seed")
            seed = v.toULongLong();
        else if (a == "--threads")
            threads = v.toInt();
        else if (a == "--sample")
            sample = v.toInt();
        else if (a == "--sizes")
            sizes = IntList(v);
        else if (a == "--classes")
            classes = IntList(v);
        else if (a == "--iterations")
            iterations = v.toLongLong();
        else if (a == "--keys") {
            QFile f(v);
            if (f.open(QIODevice::ReadOnly))
                keys = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
            for (QString& k : keys) k = k.trimmed();
        }
    }
    std::printf(
        "Deep search benchmark: standard search %d generations, deep search at most %s s "
        "per instance, seed %llu, %d threads (%s). Load average at the start: %s.\n\n",
        generations, qPrintable(kelm::FormatGeneral(limit)), static_cast<unsigned long long>(seed),
        threads, qPrintable(QSysInfo::prettyProductName()), qPrintable(LoadAverage()));
    try {
        if (!skipOrders) {
            std::printf(
                "| instance | lower bound (area / L2) | standard | deep | deep stopped at "
                "the bound | deep (s) |\n|---|---:|---:|---:|---|---:|\n");
            for (const BenchInstance& in : LoadManifest(instanceDir)) {
                const Row r = Solve(in, limit, generations, seed, threads, iterations);
                std::printf("| %s | %d (%d / %d) | %d | %d | %s | %.2f |\n", qPrintable(in.name),
                            r.bound, r.area, r.large, r.standard, r.deep, r.atBound ? "yes" : "no",
                            r.seconds);
                std::fflush(stdout);
            }
            std::printf("\n");
        }
        if (classicDir.isEmpty()) return 0;
        const auto best = BestKnown(classicDir + (oriented ? "/data_bin_packing_oriented.csv"
                                                           : "/data_bin_packing_3nhr.csv"));
        const auto bestAny = BestKnown(classicDir + (oriented ? "/data_bin_packing_oriented.csv"
                                                              : "/data_bin_packing_rotation.csv"));
        std::printf("Classic instances, items %s, instances 1 … %d of each size:\n\n",
                    oriented ? "fixed in orientation" : "may be turned", sample);
        std::printf(
            "| class | instances | lower bound | best known | standard | deep | deep at "
            "best known or better | stopped at the bound | mean deep (s) |\n"
            "|---|---:|---:|---:|---:|---:|---:|---:|---:|\n");
        struct Sum {
            int n = 0, bound = 0, best = 0, standard = 0, deep = 0, atBest = 0, atBound = 0;
            double seconds = 0;
        } all;
        for (int cls : classes) {
            Sum s;
            const QString set = cls <= 6 ? "berkey1987" : "martello1998";
            for (int n : sizes)
                for (int k = 1; k <= sample; ++k) {
                    const QString key = QString("%1/Class_%2.2bp_%3_%4")
                                            .arg(set)
                                            .arg(cls, 2, 10, QChar('0'))
                                            .arg(n)
                                            .arg(k);
                    if (!keys.isEmpty() && !keys.contains(key)) continue;
                    const BenchInstance in = LoadClassic(classicDir + "/" + key, !oriented);
                    // the guillotine figure where there is one, else the general one
                    const int known = best.count(key) ? best.at(key) : bestAny.at(key);
                    const Row r = Solve(in, limit, generations, seed, threads, iterations);
                    ++s.n;
                    s.bound += r.bound;
                    s.best += known;
                    s.standard += r.standard;
                    s.deep += r.deep;
                    s.atBest += r.deep <= known;
                    s.atBound += r.atBound;
                    s.seconds += r.seconds;
                    std::fprintf(stderr, "%s bound %d best %d standard %d deep %d %.2fs %lld steps\n",
                                 qPrintable(key), r.bound, known, r.standard, r.deep, r.seconds,
                                 static_cast<long long>(r.steps));
                }
            std::printf("| %d | %d | %d | %d | %d | %d | %d | %d | %.2f |\n", cls, s.n, s.bound,
                        s.best, s.standard, s.deep, s.atBest, s.atBound,
                        s.n ? s.seconds / s.n : 0.0);
            std::fflush(stdout);
            all.n += s.n;
            all.bound += s.bound;
            all.best += s.best;
            all.standard += s.standard;
            all.deep += s.deep;
            all.atBest += s.atBest;
            all.atBound += s.atBound;
            all.seconds += s.seconds;
        }
        std::printf(
            "| all | %d | %d | %d | %d | %d | %d | %d | %.2f |\n\nLoad average at the "
            "end: %s.\n",
            all.n, all.bound, all.best, all.standard, all.deep, all.atBest, all.atBound,
            all.n ? all.seconds / all.n : 0.0, qPrintable(LoadAverage()));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_deep: %s\n", e.what());
        return 2;
    }
    return 0;
}
