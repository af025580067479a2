// The panel list report: the order's panels from view vProCls, one row each, with the
// position's code, the banding of each edge and the part's stable identifier.
#include "reports/UReports.h"

#include <QStringList>
#include <algorithm>
#include <exception>
#include <map>
#include <memory>
#include <vector>

#include "common/NumberFormat.h"
#include "data/PartBarcode.h"
#include "data/UnitData.h"
#include "documents/UXmlOpen.h"
#include "documents/UXmlSaveDb.h"
#include "reports/UReportsSupport.h"
#include "spreadsheet/XlsWorkbook.h"

namespace {

// Columns of the sheet, in order; the value of each comes from the panel's row.
enum Column {
    kBarcode, kCustomer, kPartName, kCabinet, kPosition, kColour, kBanding,
    kLength1, kLength2, kWidth1, kWidth2,
    kLength, kWidth, kThick, kCount, kBatch, kRemark, kColumnCount
};

const char* const kHeadings[kColumnCount] = {
    "条码", "客户名称", "板件名称", "所属柜体", "柜体代号", "板件颜色", "封边颜色",
    "长边1", "长边2", "宽边1", "宽边2",
    "长度", "宽度", "厚度", "数量", "批次号", "备注"};

struct PanelLine {
    QString id, winID;
    QString values[kColumnCount];
};

// Banding thickness of one edge as the list shows it: empty for an unbanded edge.
QString EdgeText(double mm) { return mm > 0 ? kelm::FormatGeneral(mm) : QString(); }

// The banding of every panel row of the order's positions, by row key. A position's rows
// are matched with its document in generation order; a position whose rows no longer
// match its document (different count or names) shows no per-edge banding rather than a
// wrong one.
std::map<QString, FPanelEdges> EdgesByRow(const QString& proID) {
    std::map<QString, FPanelEdges> edges;
    std::map<QString, QString> documents;  // winID -> stored document
    {
        auto query = OpenQuery(QStringLiteral("SELECT winID,winPath FROM FProWins WHERE proID='") +
                               proID + QStringLiteral("'"));
        while (query->isActive() && query->next())
            documents[FieldText(*query, QStringLiteral("winID"))] =
                FieldText(*query, QStringLiteral("winPath"));
    }
    for (const auto& [winID, document] : documents) {
        std::vector<FPanelEdges> generated;
        try {
            const std::unique_ptr<FCabs> cabs = FXmlOpen::OpenXml(document);
            if (cabs) generated = BuildPanelEdges(*cabs);
        } catch (const std::exception&) {
            continue;  // an unreadable document leaves the edges empty
        }
        std::vector<std::pair<QString, QString>> rows;  // ID, clName
        auto query = OpenQuery(QStringLiteral("SELECT ID,clName FROM FProCl WHERE winID='") +
                               winID + QStringLiteral("' ORDER BY ID"));
        while (query->isActive() && query->next())
            rows.emplace_back(FieldText(*query, QStringLiteral("ID")),
                              FieldText(*query, QStringLiteral("clName")));
        if (rows.size() != generated.size()) continue;
        bool same = true;
        for (size_t i = 0; i < rows.size() && same; ++i) same = rows[i].second == generated[i].clName;
        if (!same) continue;
        for (size_t i = 0; i < rows.size(); ++i) edges[rows[i].first] = generated[i];
    }
    return edges;
}

// Width in characters that shows text whole in the default font: two for a wide (CJK)
// character, one for any other, plus a little room; at least 6.
double ColumnChars(const QString& text) {
    double chars = 0;
    for (QChar c : text) chars += c.unicode() >= 0x2E80 ? 2.1 : 1.1;
    return std::max(6.0, chars + 2);
}

}  // namespace

bool ExportPanelReport(const QString& path, const QString& proID) {
    std::vector<PanelLine> lines;
    {
        auto query = OpenQuery(
            QStringLiteral("SELECT v.ID AS ID,v.custName AS custName,v.gtName AS gtName,"
                           "v.clName AS clName,v.color AS color,v.FengB AS FengB,"
                           "v.length AS length,v.width AS width,v.houdu AS houdu,"
                           "v.clCount AS clCount,v.proCode AS proCode,p.winID AS winID,"
                           "w.winCode AS winCode FROM vProCls v "
                           "LEFT JOIN FProCl p ON p.ID=v.ID "
                           "LEFT JOIN FProWins w ON w.winID=p.winID WHERE v.proID='") +
            proID + QStringLiteral("' ORDER BY v.custID ASC, p.winID ASC, v.ID ASC"));
        while (query->isActive() && query->next()) {
            PanelLine line;
            auto field = [&query](const char* column) {
                return FieldText(*query, QString::fromLatin1(column));
            };
            line.id = field("ID");
            line.winID = field("winID");
            line.values[kCustomer] = field("custName");
            line.values[kPartName] = field("clName");
            line.values[kCabinet] = field("gtName");
            line.values[kPosition] = field("winCode");
            line.values[kColour] = field("color");
            line.values[kBanding] = field("FengB");
            line.values[kLength] = field("length");
            line.values[kWidth] = field("width");
            line.values[kThick] = field("houdu");
            line.values[kCount] = field("clCount");
            line.values[kBatch] = field("proCode");
            lines.push_back(line);
        }
    }
    if (lines.empty()) return false;
    // A worksheet ends at row 65 536: rather than drop the panels below it and announce
    // a complete list, say so and write nothing.
    if (lines.size() + 2 > size_t(kelm::kXlsMaxRow) + 1) {
        ShowInfo(kelm::reports::NotSavedText(
            path, QStringLiteral("the order has %1 panel rows, more than the %2 a worksheet "
                                 "holds below its title and headings")
                      .arg(lines.size())
                      .arg(kelm::kXlsMaxRow + 1 - 2)));
        return false;
    }

    const std::map<QString, QString> barcodes = kelm::OrderPartBarcodes(proID);
    const std::map<QString, FPanelEdges> edges = EdgesByRow(proID);
    for (PanelLine& line : lines) {
        const auto code = barcodes.find(line.id);
        // A panel whose position is gone still gets an identifier of its own.
        line.values[kBarcode] = code != barcodes.end()
                                    ? code->second
                                    : kelm::PartBarcodeText(proID, line.winID, 0) + line.id;
        const auto e = edges.find(line.id);
        if (e != edges.end()) {
            line.values[kLength1] = EdgeText(e->second.length1);
            line.values[kLength2] = EdgeText(e->second.length2);
            line.values[kWidth1] = EdgeText(e->second.width1);
            line.values[kWidth2] = EdgeText(e->second.width2);
        }
    }

    kelm::XlsWorkbook book;
    kelm::XlsSheet& sheet = book.AddSheet(QStringLiteral("[Kelm]软件报表"));
    const int lastCol = kColumnCount - 1;
    const int lastRow = int(lines.size()) + 1;  // 0-based: title, headings, panels
    const kelm::XlsRange block{0, 0, lastRow, lastCol};
    sheet.SetBorders(block);
    sheet.Merge(kelm::XlsRange{0, 0, 0, lastCol});
    sheet.SetText(0, 0, QStringLiteral("[Kelm]报表"));
    sheet.SetHorizontalAlignment(block, kelm::XlsHAlign::Center);
    sheet.SetFont(kelm::XlsRange{0, 0, 0, lastCol}, 16, true);

    for (int c = 0; c < kColumnCount; ++c) {
        const QString heading = QString::fromUtf8(kHeadings[c]);
        sheet.SetText(1, c, heading);
        double chars = ColumnChars(heading);
        for (const PanelLine& line : lines) chars = std::max(chars, ColumnChars(line.values[c]));
        sheet.SetColumnWidth(c, chars);
    }
    for (size_t r = 0; r < lines.size(); ++r)
        for (int c = 0; c < kColumnCount; ++c) sheet.SetText(int(r) + 2, c, lines[r].values[c]);

    // Printed landscape, one page wide, the headings on top of every page.
    kelm::XlsPageSetup page;
    page.landscape = true;
    page.fitToWidth = true;
    page.firstTitleRow = 1;
    page.lastTitleRow = 1;
    sheet.SetPageSetup(page);

    return kelm::reports::SaveAndTell(book, path, kReportSavedAs);
}
