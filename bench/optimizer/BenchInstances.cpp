#include "BenchInstances.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <map>

#include "tools/CutListCsv.h"

namespace {

// The WIDTH and HEIGHT columns of a classic instance file, after its heading.
std::vector<std::pair<double, double>> Rows(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) throw CutInputError(path + ": cannot read the file");
    std::vector<std::pair<double, double>> out;
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    for (int i = 1; i < lines.size(); ++i) {
        const QStringList v = lines[i].trimmed().split(',');
        if (v.size() >= 3) out.emplace_back(v[1].toDouble(), v[2].toDouble());
    }
    return out;
}

}  // namespace

std::vector<BenchInstance> LoadManifest(const QString& dir) {
    QFile f(QDir(dir).filePath("manifest.txt"));
    if (!f.open(QIODevice::ReadOnly)) throw CutInputError(f.fileName() + ": cannot read the file");
    std::vector<BenchInstance> list;
    for (const QString& raw : QString::fromUtf8(f.readAll()).split('\n')) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QStringList words = line.split(' ', Qt::SkipEmptyParts);
        BenchInstance in;
        in.name = words[0];
        in.raws = ReadSheetsCsv(QDir(dir).filePath(in.name + "_sheets.csv"));
        in.eles = ReadPartsCsv(QDir(dir).filePath(in.name + "_parts.csv"));
        for (int i = 1; i + 1 < words.size(); i += 2) {
            if (words[i] == "--kerf") {
                in.prm.BladeWidth = ParseOptionNumber("--kerf", words[i + 1], 0);
            } else if (words[i] == "--trim") {
                const QStringList t = words[i + 1].split(',');
                in.prm.Edg = TEdge{t.value(0).toInt(), t.value(1).toInt(), t.value(2).toInt(),
                                   t.value(3).toInt()};
            }
        }
        list.push_back(in);
    }
    return list;
}

BenchInstance LoadClassic(const QString& base, bool turnable) {
    BenchInstance in;
    in.name = base.section('/', -1);
    const auto bins = Rows(base + "_bins.csv");
    TD2RRaw raw;
    raw.XH = 1;
    raw.Length = bins.at(0).first;
    raw.Width = bins.at(0).second;
    raw.Count = 99999999;
    raw.Price = 1;
    in.raws.push_back(raw);
    std::map<std::pair<double, double>, int> counts;
    std::vector<std::pair<double, double>> order;
    for (const auto& item : Rows(base + "_items.csv")) {
        if (!counts.count(item)) order.push_back(item);
        ++counts[item];
    }
    for (const auto& size : order) {
        TD2REle e;
        e.XH = static_cast<int32_t>(in.eles.size()) + 1;
        e.Name = "item";
        e.Length = size.first;
        e.Width = size.second;
        e.Count = counts[size];
        e.Rotation = turnable ? 1 : 0;
        in.eles.push_back(e);
    }
    return in;
}
