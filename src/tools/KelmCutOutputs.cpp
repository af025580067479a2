#include "tools/KelmCutOutputs.h"

#include <QFileInfo>
#include <QSaveFile>

#include "common/NumberFormat.h"
#include "optimizer/GrainMarks.h"
#include "optimizer/UnitD2RectCuts.h"
#include "output/OutputPdf.h"
#include "output/PartLabels.h"
#include "tools/CutListCsv.h"

QStringList OutputOptionNames() { return {"--pdf", "--labels", "--label-size", "--sequence", "--paper", "--barcode"}; }

const char* const kOutputUsage =
    "--pdf writes the cutting diagrams as PDF, one page per layout with its cut sequence\n"
    "(--paper a4|a3); --labels one label per cut piece in the order the saw frees them\n"
    "(--label-size 100x60|80x50|60x40|a4, --barcode code128|qr); --sequence the cut\n"
    "sequence as CSV (layout,step,direction,position,length,level,x,y).\n";

namespace {

void CheckWritable(const QString& option, const QString& path) {
    if (path.isEmpty()) throw CutInputError("option " + option + " needs a file name");
    const QFileInfo info(path);
    const QFileInfo dir(info.absolutePath());
    if (info.isDir() || (info.exists() && !info.isWritable()) ||
        (!info.exists() && (!dir.isDir() || !dir.isWritable())))
        throw CutInputError("option " + option + ": cannot write \"" + path + "\"");
}

}  // namespace

OutputOptions ReadOutputOptions(const std::map<QString, QString>& given) {
    OutputOptions o;
    auto value = [&given](const char* name) {
        const auto it = given.find(name);
        return it == given.end() ? QString() : it->second;
    };
    o.pdf = value("--pdf");
    o.labels = value("--labels");
    o.sequence = value("--sequence");
    for (const char* name : {"--pdf", "--labels", "--sequence"})
        if (given.count(name)) CheckWritable(name, given.at(name));
    if (given.count("--label-size")) {
        o.labelSize = value("--label-size").toLower();
        if (!kelm::output::LabelStockByName(o.labelSize))
            throw CutInputError("option --label-size: \"" + value("--label-size") + "\" is not one of " +
                                kelm::output::LabelStockNames().join(", "));
    }
    if (given.count("--paper")) {
        o.paper = value("--paper").toLower();
        if (o.paper != "a4" && o.paper != "a3")
            throw CutInputError("option --paper: \"" + value("--paper") + "\" is not one of a4, a3");
    }
    if (given.count("--barcode")) {
        o.barcode = value("--barcode").toLower();
        if (o.barcode != "code128" && o.barcode != "qr")
            throw CutInputError("option --barcode: \"" + value("--barcode") + "\" is not one of code128, qr");
    }
    return o;
}

bool OutputsNeedFonts(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--pdf" || arg.startsWith("--pdf=") || arg == "--labels" || arg.startsWith("--labels="))
            return true;
    }
    return false;
}

QString CutSequenceCsv(const std::vector<kelm::output::LayoutPage>& pages) {
    using kelm::FormatGeneral;
    QString csv = "layout,step,direction,position,length,level,x,y\n";
    for (const kelm::output::LayoutPage& page : pages)
        for (const TD2RCut& c : page.Plan.Cuts)
            csv += QString::number(page.Number) + "," + QString::number(c.Step) + "," +
                   (c.Horizontal ? "horizontal" : "vertical") + "," + FormatGeneral(c.Fence) + "," +
                   FormatGeneral(c.Length) + "," + QString::number(c.Level) + "," + FormatGeneral(c.px) + "," +
                   FormatGeneral(c.py) + "\n";
    return csv;
}

bool WritePageOutputs(const OutputOptions& o, const std::vector<kelm::output::LayoutPage>& pages,
                      const std::function<std::vector<kelm::output::Label>()>& makeLabels, const QString& title,
                      QString* error) {
    using namespace kelm::output;
    if (!o.pdf.isEmpty()) {
        QString why;
        if (!WriteLayoutPdf(o.pdf, pages, o.paper == "a3" ? PaperSize::A3 : PaperSize::A4,
                            QStringLiteral("开料图 ") + title, &why)) {
            *error = "cannot write \"" + o.pdf + "\": " + why;
            return false;
        }
    }
    if (!o.labels.isEmpty()) {
        QString why;
        if (!WriteLabelsPdf(o.labels, makeLabels(), *LabelStockByName(o.labelSize),
                            o.barcode == "qr" ? BarcodeKind::QR : BarcodeKind::Code128, QStringLiteral("标签 ") + title,
                            &why)) {
            *error = "cannot write \"" + o.labels + "\": " + why;
            return false;
        }
    }
    if (!o.sequence.isEmpty()) {
        QSaveFile file(o.sequence);
        const QByteArray bytes = CutSequenceCsv(pages).toUtf8();
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
            *error = "cannot write \"" + o.sequence + "\": " + file.errorString();
            return false;
        }
    }
    return true;
}

bool WriteOutputs(const OutputOptions& o, const TD2RSchame& schame, const TD2RPrm& prm, const TD2REleArr& eles,
                  const QString& order, QString* error) {
    using namespace kelm::output;
    const std::vector<LayoutPage> pages = MakeLayoutPages(schame, prm.BladeWidth, order, QString(), prm.Bin, kelm::FixedGrainTypes(eles));
    return WritePageOutputs(
        o, pages, [&] { return CutListLabels(pages, eles, order); }, order, error);
}
