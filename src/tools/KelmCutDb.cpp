#include "tools/KelmCutDb.h"

#include <QFileInfo>
#include <QTreeWidget>
#include <cstdio>
#include <map>
#include <optional>

#include "common/NumberFormat.h"
#include "data/UnitData.h"
#include "output/OrderOutputs.h"
#include "tools/CutListCsv.h"
#include "tools/KelmCutOutputs.h"
#include "ui/optimize/UOptBl.h"

namespace {

void Print(FILE* to, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, bytes.size(), to);
}

// The dialog's messages go to standard error; a question is answered no.
class StderrPrompt : public TPrompt {
  public:
    void Info(const QString& text) override { Print(stderr, "kelm-cut: " + text + "\n"); }
    bool Confirm(const QString& text) override {
        Print(stderr, "kelm-cut: " + text + " (no)\n");
        return false;
    }
};

struct DbOptions {
    QString db;
    bool listOrders = true;
    QString order;
    std::optional<uint64_t> seed;
    OutputOptions outputs;
};

DbOptions ParseDbOptions(const QStringList& args) {
    const QStringList outputs = OutputOptionNames();
    std::map<QString, QString> given;
    for (int i = 1; i < args.size(); ++i) {
        QString name = args[i], value;
        bool inlineValue = false;
        if (name.startsWith("--") && name.contains('=')) {
            value = name.mid(name.indexOf('=') + 1);
            name = name.left(name.indexOf('='));
            inlineValue = true;
        }
        if (name != "--db" && name != "--order" && name != "--seed" && !outputs.contains(name))
            throw CutInputError("option " + name + " cannot be used with --db");
        if (given.count(name)) throw CutInputError("option " + name + " is given twice");
        const bool hasNext = i + 1 < args.size() && !args[i + 1].startsWith("--");
        if (!inlineValue && hasNext) value = args[++i];
        if (!inlineValue && !hasNext && name != "--order") throw CutInputError("option " + name + " needs a value");
        given[name] = value;
    }
    DbOptions o;
    o.db = given["--db"];
    if (o.db.isEmpty()) throw CutInputError("option --db needs a file name or a postgresql:// URL");
    if (!given.count("--order")) throw CutInputError("option --db needs --order (without a key: list the orders)");
    o.order = given["--order"];
    o.listOrders = o.order.isEmpty();
    if (given.count("--seed")) {
        bool ok = false;
        o.seed = given["--seed"].trimmed().toULongLong(&ok);
        if (!ok) throw CutInputError("option --seed: \"" + given["--seed"] + "\" is not a whole number of 0 or more");
    }
    std::map<QString, QString> out;
    for (const auto& [name, value] : given)
        if (outputs.contains(name)) out[name] = value;
    o.outputs = ReadOutputOptions(out);
    return o;
}

}  // namespace

const char* const kDbUsage =
    "\nkelm-cut --db KelmDB.db --order [KEY] [--seed N] [--pdf FILE] [--labels FILE] [--sequence FILE] ...\n"
    "optimises order KEY (its key or code) of a Kelm database as the optimization dialog does,\n"
    "stores the layouts in it and writes the outputs for the whole order; prints one JSON\n"
    "line (materials, layouts, sheets, utilisation, cuts, cut_length in mm). --order\n"
    "without a key lists the orders. --db takes a file or postgresql://user@host:port/database.\n";

bool IsDbMode(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--db" || arg.startsWith("--db=")) return true;
    }
    return false;
}

int RunDbMode(const QStringList& args) {
    using namespace kelm::output;
    DbOptions o;
    try {
        o = ParseDbOptions(args);
    } catch (const CutInputError& e) {
        Print(stderr, "kelm-cut: " + QString::fromStdString(e.what()) + "\n");
        return 2;
    }
    // A file path or a postgresql:// URL, as KELM_DATABASE takes.
    TDbTarget target;
    QString why;
    if (!ParseDatabaseTarget(o.db, target, &why)) {
        Print(stderr, "kelm-cut: cannot use database \"" + o.db + "\": " + why + "\n");
        return 2;
    }
    QString connection = o.db;
    if (target.engine == TDbEngine::File) {
        // The data module creates a missing database; here a missing file is a mistake.
        const QFileInfo file(o.db);
        if (!file.isFile() || !file.isReadable()) {
            Print(stderr, "kelm-cut: cannot open database \"" + o.db + "\"\n");
            return 2;
        }
        connection = file.absoluteFilePath();
    }
    TsysData data(connection);
    StderrPrompt prompt;
    data.SetPrompt(&prompt);
    SetSysData(&data);
    struct Uninstall {
        ~Uninstall() { SetSysData(nullptr); }
    } uninstall;
    if (!data.Open()) {
        Print(stderr, "kelm-cut: \"" + data.DatabasePath() + "\" is not a Kelm database: " + data.LastError() + "\n");
        return 2;
    }
    if (o.listOrders) {
        Print(stdout, "proID\tproCode\tproName\tcustName\n");
        for (const OrderInfo& order : ListOrders())
            Print(stdout, order.proID + "\t" + order.proCode + "\t" + order.proName + "\t" + order.custName + "\n");
        return 0;
    }
    const std::optional<OrderInfo> order = FindOrder(o.order);
    if (!order) {
        Print(stderr, "kelm-cut: no order \"" + o.order + "\" in \"" + data.DatabasePath() + "\" (--order without a key lists them)\n");
        return 2;
    }

    // The optimization dialog's own batch, on the offscreen platform.
    {
        TfrmOptBl dialog;
        dialog.proID = order->proID;
        dialog.Seed = o.seed;
        dialog.FormShow();
        if (dialog.lstBlYp->topLevelItemCount() == 0) {
            Print(stderr, "kelm-cut: order \"" + order->Title() + "\" has no panels of a known material\n");
            return 2;
        }
        dialog.btnOKClick();
    }

    QStringList problems;
    const std::vector<StoredLayout> layouts = LoadStoredLayouts(order->proID, &problems);
    for (const QString& p : problems) Print(stderr, "kelm-cut: " + p + "\n");
    const std::vector<LayoutPage> pages = OrderPages(*order, layouts);
    QString error;
    if (!WritePageOutputs(
            o.outputs, pages, [&] { return OrderLabels(*order, layouts, pages); }, order->Title(), &error)) {
        Print(stderr, "kelm-cut: " + error + "\n");
        return 1;
    }
    int sheets = 0;
    double partArea = 0, rawArea = 0;
    for (const LayoutPage& p : pages) {
        sheets += p.Layout.RawCount;
        partArea += p.Layout.EleArea * p.Layout.RawCount;
        rawArea += p.Layout.RawLength * p.Layout.RawWidth * p.Layout.RawCount;
    }
    const SawWork work = OrderSawWork(pages);
    Print(stdout, "{\"order\":\"" + order->proID + "\",\"materials\":" + QString::number(layouts.size()) +
                      ",\"layouts\":" + QString::number(pages.size()) + ",\"sheets\":" + QString::number(sheets) +
                      ",\"utilisation\":" + kelm::FormatGeneral(rawArea > 0 ? partArea / rawArea : 0) +
                      ",\"cuts\":" + QString::number(work.Cuts) +
                      ",\"cut_length\":" + kelm::FormatGeneral(work.Length) + "}\n");
    return 0;
}
