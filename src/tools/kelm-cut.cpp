// kelm-cut: optimises a cut list from CSV files without the program's database and
// prints the result's statistics as one JSON line. Also the benchmark harness.
//
// Exit status: 0 done, 2 bad input (nothing written), 1 the result could not be written.

#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QApplication>
#include <QGuiApplication>
#include <QStringList>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>

#include "common/NumberFormat.h"
#include "common/TextCodec.h"
#include "common/Version.h"
#include "optimizer/UnitD2Rect.h"
#include "optimizer/UnitD2RectDeep.h"
#include "optimizer/UnitD2RectDisp.h"
#include "optimizer/UnitD2RectDoc.h"
#include "optimizer/UnitD2RectLimits.h"
#include "optimizer/UnitD2RectOffcuts.h"
#include "reports/UReports.h"
#include "render/LayoutPng.h"
#include "tools/CutListCsv.h"
#include "tools/KelmCutDb.h"
#include "tools/KelmCutOutputs.h"

namespace {

const char* kUsage =
    "usage: kelm-cut --sheets SHEETS.csv --parts PARTS.csv [--kerf MM]\n"
    "                [--trim TOP,BOTTOM,LEFT,RIGHT] [--tolerance MM] [--bin LENGTH,WIDTH]\n"
    "                [--generations N] [--priority uti|cut|price]\n"
    "                [--style regular|hstrip|vstrip] [--first-cut hv|hd|vd] [--seed N]\n"
    "                [--threads N] [--mode standard|deep] [--time-limit S]\n"
    "                [--iterations N] [--xml FILE] [--xls FILE] [--png DIR]\n"
    "                [--offcuts FILE] [--leftovers FILE] [--min-offcut LENGTH,WIDTH]\n"
    "\n"
    "SHEETS.csv columns: name,length,width[,count][,price][,prio]\n"
    "PARTS.csv columns:  name,length,width,count[,rotation]   (rotation 0 = grain fixed)\n"
    "Prints one JSON line: sheets, layouts, utilisation (ratio), part_area and raw_area\n"
    "(mm²), price, uncut (pieces not placed), constructions, seconds, lower_bound (no\n"
    "layout uses fewer sheets) and mode.\n"
    "--mode deep starts from the standard search and improves its best scheme until the\n"
    "lower bound is reached or --time-limit seconds (default 10, the whole run) are over;\n"
    "--iterations N makes it N improvement steps instead (same seed, N and threads: same\n"
    "result). The deep search never returns a worse scheme than its start.\n"
    "--xml writes the layout document; --xls the cutting layout report (summary, raw\n"
    "sheet list and every layout's diagram) as an Excel 97-2003 workbook; --png one\n"
    "picture per layout (layout-1.png, layout-2.png, ...) into DIR, for printing.\n"
    "--offcuts FILE offers offcuts in stock (CSV name,length,width,count; names are the\n"
    "offcuts' identifiers) as extra sheets that are used before any new sheet; the JSON\n"
    "line then adds new_sheets and offcuts_used. --leftovers FILE writes, in the same CSV,\n"
    "the offcuts in stock after the run: the offered ones not used, then every leftover\n"
    "of the result at least --min-offcut LENGTH,WIDTH (default 300,100, either way round),\n"
    "named <parts file>-<layout>-<leftover>.\n";

const QStringList kOptions = QStringList{"--sheets", "--parts",       "--kerf",     "--trim",  "--tolerance",
                              "--bin",    "--generations", "--priority", "--style", "--first-cut",
                              "--seed",   "--threads",     "--xml",      "--xls",   "--png",
                              "--mode",   "--time-limit",  "--iterations", "--offcuts",
                              "--leftovers", "--min-offcut"} +
                              OutputOptionNames();

// Largest size tolerance, mm.
constexpr long long kMaxTolerance = 5;

// A run takes at most kMaxPiecesPerRun pieces: far longer lists would not finish.
void CheckPieceCount(const QString& path, const TD2REleArr& eles) {
    int64_t pieces = 0;
    for (const TD2REle& e : eles) pieces += e.Count;
    if (pieces > kMaxPiecesPerRun)
        throw CutInputError(path + ": " + QString::number(pieces) +
                            " pieces in all; one run takes at most " +
                            QString::number(kMaxPiecesPerRun) + " pieces");
}

struct Options {
    QString sheets, parts, xml, xls, png, offcuts, leftovers;
    TBin minOffcut{300, 100};
    TD2RPrm prm;
    std::optional<uint64_t> seed;
    int threads = 0;
    bool deep = false;
    TD2RDeepOptions deepOptions;
    OutputOptions outputs;
};

void Print(FILE* to, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, bytes.size(), to);
}

// "a,b,c" with exactly n whole numbers of at least min.
std::vector<int32_t> IntList(const QString& option, const QString& text, int n, long long min) {
    const QStringList parts = text.split(',');
    if (parts.size() != n)
        throw CutInputError("option " + option + ": expected " + QString::number(n) +
                            " comma-separated numbers, got \"" + text + "\"");
    std::vector<int32_t> values;
    for (const QString& p : parts)
        values.push_back(static_cast<int32_t>(ParseOptionInt(option, p, min, 1000000)));
    return values;
}

template <typename E>
E Choice(const QString& option, const QString& text, const std::map<QString, E>& choices) {
    const auto it = choices.find(text.toLower());
    if (it == choices.end()) {
        QStringList names;
        for (const auto& [name, value] : choices) names << name;
        throw CutInputError("option " + option + ": \"" + text + "\" is not one of " +
                            names.join(", "));
    }
    return it->second;
}

Options ParseOptions(const QStringList& args) {
    std::map<QString, QString> given;
    for (int i = 1; i < args.size(); ++i) {
        QString name = args[i], value;
        bool inlineValue = false;
        if (name.startsWith("--") && name.contains('=')) {
            value = name.mid(name.indexOf('=') + 1);
            name = name.left(name.indexOf('='));
            inlineValue = true;
        }
        if (!kOptions.contains(name)) {
            if (name.startsWith('-')) throw CutInputError("unknown option " + name);
            throw CutInputError("unexpected argument \"" + name + "\"");
        }
        if (given.count(name)) throw CutInputError("option " + name + " is given twice");
        if (!inlineValue) {
            if (i + 1 >= args.size() || kOptions.contains(args[i + 1]))
                throw CutInputError("option " + name + " needs a value");
            value = args[++i];
        }
        given[name] = value;
    }
    Options o;
    if (!given.count("--sheets")) throw CutInputError("option --sheets is required");
    if (!given.count("--parts")) throw CutInputError("option --parts is required");
    o.sheets = given["--sheets"];
    o.parts = given["--parts"];
    // The optimization dialog's defaults.
    o.prm.OptTime = 30;
    o.prm.Bin = TBin{100, 100};
    for (const auto& [name, value] : given) {
        if (name == "--kerf") {
            o.prm.BladeWidth = ParseOptionNumber(name, value, 0);
        } else if (name == "--trim") {
            const auto t = IntList(name, value, 4, 0);
            o.prm.Edg = TEdge{t[0], t[1], t[2], t[3]};
        } else if (name == "--tolerance") {
            // The tolerance lets a part reach past its free rectangle; beyond a few
            // millimetres parts would overlap and utilisation pass 100 %.
            o.prm.wucha = static_cast<int32_t>(ParseOptionInt(name, value, 0, kMaxTolerance));
        } else if (name == "--bin") {
            const auto b = IntList(name, value, 2, 1);
            o.prm.Bin = TBin{b[0], b[1]};
        } else if (name == "--generations") {
            o.prm.OptTime = static_cast<int32_t>(ParseOptionInt(name, value, 1, 1000000));
        } else if (name == "--priority") {
            o.prm.Priority = Choice<TD2RPriority>(name, value,
                                                  {{"uti", TD2RPriority::Uti},
                                                   {"cut", TD2RPriority::Cut},
                                                   {"price", TD2RPriority::Price}});
        } else if (name == "--style") {
            o.prm.LayStyle = Choice<TD2RLayStyle>(name, value,
                                                  {{"regular", TD2RLayStyle::regular},
                                                   {"hstrip", TD2RLayStyle::HStrip},
                                                   {"vstrip", TD2RLayStyle::VStrip}});
        } else if (name == "--first-cut") {
            o.prm.FirstCut = Choice<TD2RFirstCut>(
                name, value,
                {{"hv", TD2RFirstCut::HV}, {"hd", TD2RFirstCut::HD}, {"vd", TD2RFirstCut::VD}});
        } else if (name == "--seed") {
            bool ok = false;
            const uint64_t seed = value.trimmed().toULongLong(&ok);
            if (!ok)
                throw CutInputError("option --seed: \"" + value +
                                    "\" is not a whole number of 0 or more");
            o.seed = seed;
        } else if (name == "--threads") {
            o.threads = static_cast<int>(ParseOptionInt(name, value, 1, 1024));
        } else if (name == "--mode") {
            o.deep = Choice<bool>(name, value, {{"standard", false}, {"deep", true}});
        } else if (name == "--time-limit") {
            o.deepOptions.TimeLimit = ParseOptionNumber(name, value, 0);
        } else if (name == "--iterations") {
            o.deepOptions.Iterations = ParseOptionInt(name, value, 1, 1000000000);
        } else if (name == "--xml") {
            if (value.isEmpty()) throw CutInputError("option --xml needs a file name");
            o.xml = value;
        } else if (name == "--xls") {
            if (value.isEmpty()) throw CutInputError("option --xls needs a file name");
            o.xls = value;
        } else if (name == "--offcuts") {
            if (value.isEmpty()) throw CutInputError("option --offcuts needs a file name");
            o.offcuts = value;
        } else if (name == "--leftovers") {
            if (value.isEmpty()) throw CutInputError("option --leftovers needs a file name");
            o.leftovers = value;
        } else if (name == "--min-offcut") {
            const auto b = IntList(name, value, 2, 1);
            o.minOffcut = TBin{b[0], b[1]};
        } else if (name == "--png") {
            if (value.isEmpty()) throw CutInputError("option --png needs a folder name");
            o.png = value;
        }
    }
    if ((given.count("--time-limit") || given.count("--iterations")) && !o.deep)
        throw CutInputError("options --time-limit and --iterations need --mode deep");
    // A run of fixed steps is reproducible only when the clock does not cut it short.
    if (given.count("--iterations") && !given.count("--time-limit")) o.deepOptions.TimeLimit = 0;
    o.deepOptions.Seed = o.seed;
    o.deepOptions.Threads = o.threads;
    if (given.count("--min-offcut") && !given.count("--leftovers"))
        throw CutInputError("option --min-offcut needs --leftovers");
    for (const auto& [option, path] : {std::pair{"--xml", o.xml}, std::pair{"--xls", o.xls},
                                       std::pair{"--leftovers", o.leftovers}}) {
        if (path.isEmpty()) continue;
        // Checked before the search so a long run does not end in an unwritable path.
        const QFileInfo info(path);
        const QFileInfo dir(info.absolutePath());
        if (info.isDir() || (info.exists() && !info.isWritable()) ||
            (!info.exists() && (!dir.isDir() || !dir.isWritable())))
            throw CutInputError(QString("option ") + option + ": cannot write \"" + path + "\"");
    }
    o.outputs = ReadOutputOptions(given);
    if (!o.png.isEmpty()) {
        // Missing folders are made, so the nearest existing one must be a writable folder.
        QFileInfo nearest(QFileInfo(o.png).absoluteFilePath());
        while (!nearest.exists() && nearest.absoluteFilePath() != nearest.absolutePath())
            nearest = QFileInfo(nearest.absolutePath());
        if (!nearest.isDir() || !nearest.isWritable())
            throw CutInputError("option --png: cannot write into \"" + o.png + "\"");
    }
    return o;
}

// Generation and best utilisation on one line of standard error.
class ProgressBar : public TD2RListener {
  public:
    explicit ProgressBar(int generations) : total_(generations) {}
    void OnGeneration(const QString& text) override {
        ++done_;
        const int width = 30;
        const int filled = total_ > 0 ? done_ * width / total_ : width;
        const QString bar = QString(filled, '#') + QString(width - filled, '.');
        Print(stderr, "\r[" + bar + "] " + QString::number(done_) + "/" + QString::number(total_) +
                          "  best " + text + "   ");
        std::fflush(stderr);
    }
    void Finish() {
        if (done_ > 0) Print(stderr, "\n");
    }

    // Deep search: best sheets so far, the lower bound and the time, on the same line.
    void OnDeepProgress(int32_t sheets, int32_t bound, double seconds) override {
        Print(stderr, "\rdeep search: " + QString::number(sheets) + " sheets, lower bound " +
                          QString::number(bound) + ", " + kelm::FormatPattern(seconds, "0.0") +
                          " s      ");
        std::fflush(stderr);
        ++done_;
    }

  private:
    int total_;
    int done_ = 0;
};

// The search of the chosen mode; the scheme's raw indices refer to `raws` as sorted.
struct SearchResult {
    TD2RSchame best;
    TD2RRawArr raws;
    int64_t constructions = 0;
    TD2RBound bound;
};

SearchResult Search(const Options& o, const TD2RRawArr& raws, const TD2REleArr& eles,
                    TD2RListener* progress) {
    SearchResult r;
    if (o.deep) {
        TD2RDeep deep(raws, o.prm, eles, o.deepOptions);
        deep.SetListener(progress);
        deep.Run();
        r = SearchResult{deep.BestSchame, deep.rawArr, deep.Constructions, deep.Bound};
    } else {
        TD2Rect rect(raws, o.prm, eles, o.seed, o.threads);
        rect.SetListener(progress);
        rect.Run();
        r = SearchResult{rect.BestSchame, rect.rawArr, rect.ConstructionCount(),
                         D2RLowerBound(rect.rawArr, eles, o.prm)};
    }
    return r;
}

QString Json(const TD2Rslt& r, const TD2RSchame& s, int64_t uncut, int64_t constructions,
             double seconds, int32_t bound, bool deep, bool offcuts) {
    using kelm::FormatGeneral;
    QString offcutFigures;
    if (offcuts) {
        int64_t used = 0;
        for (const auto& [id, n] : UsedOffcuts(s)) used += n;
        offcutFigures = ",\"new_sheets\":" + QString::number(NewSheetCount(s)) +
                        ",\"offcuts_used\":" + QString::number(used);
    }
    return "{\"sheets\":" + QString::number(r.RawUseCount) +
           ",\"layouts\":" + QString::number(s.size()) +
           ",\"utilisation\":" + FormatGeneral(r.UltiRate) +
           ",\"part_area\":" + FormatGeneral(r.eleTotalArea) +
           ",\"raw_area\":" + FormatGeneral(r.rawUseArea) +
           ",\"price\":" + FormatGeneral(r.TotalPrice) + ",\"uncut\":" + QString::number(uncut) +
           ",\"constructions\":" + QString::number(constructions) +
           ",\"seconds\":" + kelm::FormatPattern(seconds, "0.000") +
           ",\"lower_bound\":" + QString::number(bound) + ",\"mode\":\"" +
           (deep ? "deep" : "standard") + "\"" + offcutFigures + "}\n";
}

// The diagrams of --xls and --png are drawn with fonts, which need a GUI application; kelm-cut
// never shows a window, so it runs on the offscreen platform.
std::unique_ptr<QCoreApplication> NewApplication(int& argc, char** argv) {
    if (IsDbMode(argc, argv)) {
        // The order is optimised by the optimization dialog's own batch, off screen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QApplication>(argc, argv);
    }
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--xls" || arg.startsWith("--xls=") || arg == "--png" ||
            arg.startsWith("--png=") || OutputsNeedFonts(argc, argv)) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            return std::make_unique<QGuiApplication>(argc, argv);
        }
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

// The offcuts in stock after a run: the offered ones not used up, then the result's
// leftovers at least min, each named after the parts file, its layout and its place on
// the layout; a name already in the list gets a number added.
TD2ROffcutArr StockAfter(const TD2ROffcutArr& offered, const TD2RSchame& schame, const TBin& min,
                         const QString& job) {
    const std::map<QString, int32_t> used = UsedOffcuts(schame);
    TD2ROffcutArr stock;
    QSet<QString> names;
    for (TD2ROffcut o : offered) {
        const auto it = used.find(o.ID);
        if (it != used.end()) o.Count -= it->second;
        if (o.Count <= 0) continue;
        names.insert(o.ID);
        stock.push_back(o);
    }
    int perLayout = 0, lastLayout = -1;
    for (const TD2RLeftover& l : KeptLeftovers(schame, min)) {
        perLayout = l.Layout == lastLayout ? perLayout + 1 : 1;
        lastLayout = l.Layout;
        const QString base = job + "-" + QString::number(l.Layout + 1) + "-" + QString::number(perLayout);
        QString name = base;
        for (int k = 2; names.contains(name); ++k) name = base + "-" + QString::number(k);
        names.insert(name);
        stock.push_back(TD2ROffcut{name, l.Length, l.Width, l.Count});
    }
    return stock;
}

}  // namespace

int main(int argc, char** argv) {
    const std::unique_ptr<QCoreApplication> app = NewApplication(argc, argv);
    const QStringList args = app->arguments();
    if (args.contains("--version")) {
        kelm::PrintVersion(QStringLiteral("kelm-cut"));
        return 0;
    }
    if (args.contains("--help") || args.contains("-h")) {
        Print(stdout, QString(kUsage) + kOutputUsage + kDbUsage);
        return 0;
    }
    if (IsDbMode(argc, argv)) return RunDbMode(args);
    Options o;
    TD2RRawArr raws;
    TD2REleArr eles;
    TD2ROffcutArr offcuts;
    try {
        o = ParseOptions(args);
        raws = ReadSheetsCsv(o.sheets);
        eles = ReadPartsCsv(o.parts);
        if (!o.offcuts.isEmpty()) {
            offcuts = ReadOffcutsCsv(o.offcuts);
            AddOffcutRaws(raws, offcuts, QStringLiteral("offcut"));
        }
        CheckPieceCount(o.parts, eles);
    } catch (const CutInputError& e) {
        Print(stderr, "kelm-cut: " + QString::fromStdString(e.what()) + "\n");
        return 2;
    }

    ProgressBar progress(o.prm.OptTime);
    const bool showProgress = isatty(STDERR_FILENO);
    const auto start = std::chrono::steady_clock::now();
    const SearchResult found = Search(o, raws, eles, showProgress ? &progress : nullptr);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (showProgress) progress.Finish();

    TD2Rslt result;
    TD2Result().GetResult(found.best, o.prm, eles, result);
    int64_t uncut = 0;
    for (const TEleCut& e : result.NoCutArr) uncut += e.count;

    if (!o.xml.isEmpty()) {
        // The scheme's raw indices refer to the optimizer's sorted sheet list.
        const QByteArray bytes =
            kelm::EncodeGbk(LayoutDocumentText(found.raws, eles, o.prm, found.best));
        QFile file(o.xml);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size() || !file.flush()) {
            Print(stderr, "kelm-cut: cannot write \"" + o.xml + "\": " + file.errorString() + "\n");
            return 1;
        }
    }
    if (!o.xls.isEmpty()) {
        QString error;
        if (!WriteCutReport(o.xls, eles, o.prm, found.best, 96, &error)) {
            Print(stderr, "kelm-cut: cannot write \"" + o.xls + "\": " + error + "\n");
            return 1;
        }
    }
    if (!o.png.isEmpty()) {
        QString error;
        if (!kelm::WriteLayoutPngs(found.best, o.prm, eles, o.png, &error)) {
            Print(stderr, "kelm-cut: " + error + "\n");
            return 1;
        }
    }
    if (o.outputs.Any()) {
        QString error;
        if (!WriteOutputs(o.outputs, found.best, o.prm, eles, QFileInfo(o.parts).completeBaseName(), &error)) {
            Print(stderr, "kelm-cut: " + error + "\n");
            return 1;
        }
    }
    if (!o.leftovers.isEmpty()) {
        // Written whole or not at all: the file is the workshop's list of its rack.
        const QByteArray bytes =
            OffcutsCsvText(StockAfter(offcuts, found.best, o.minOffcut,
                                      QFileInfo(o.parts).completeBaseName()))
                .toUtf8();
        QSaveFile file(o.leftovers);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
            Print(stderr, "kelm-cut: cannot write \"" + o.leftovers + "\": " + file.errorString() + "\n");
            return 1;
        }
    }
    Print(stdout, Json(result, found.best, uncut, found.constructions, seconds, found.bound.Sheets,
                        o.deep, !o.offcuts.isEmpty()));
    return 0;
}
