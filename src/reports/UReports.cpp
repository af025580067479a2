// The panel list report: the order's panels from view vProCls, one row each.
#include "reports/UReports.h"

#include <QStringList>
#include <vector>

#include "data/UnitData.h"
#include "reports/UReportsSupport.h"
#include "spreadsheet/XlsWorkbook.h"

namespace {

const char* const kPanelColumns[] = {"ID",     "custName", "clName", "gtName",  "color",  "FengB",
                                     "length", "width",    "houdu",  "clCount", "proCode"};

}  // namespace

bool ExportPanelReport(const QString& path, const QString& proID) {
    std::vector<QStringList> rows;
    {
        auto query = OpenQuery(QStringLiteral("SELECT ID,custName,gtName,clName,color,FengB,length,"
                                              "width,houdu,clCount,proCode FROM vProCls WHERE "
                                              "proID='") +
                               proID + QStringLiteral("' ORDER BY custID ASC, ID ASC"));
        while (query->isActive() && query->next()) {
            QStringList row;
            for (const char* column : kPanelColumns)
                row << FieldText(*query, QString::fromLatin1(column));
            row << QString();  // 备注 stays empty
            rows.push_back(row);
        }
    }
    if (rows.empty()) return false;
    // A worksheet ends at row 65 536: rather than drop the panels below it and announce
    // a complete list, say so and write nothing.
    if (rows.size() + 2 > size_t(kelm::kXlsMaxRow) + 1) {
        ShowInfo(kelm::reports::NotSavedText(
            path, QStringLiteral("the order has %1 panel rows, more than the %2 a worksheet "
                                 "holds below its title and headings")
                      .arg(rows.size())
                      .arg(kelm::kXlsMaxRow + 1 - 2)));
        return false;
    }

    kelm::XlsWorkbook book;
    kelm::XlsSheet& sheet = book.AddSheet(QStringLiteral("[Kelm]软件报表"));
    const int lastRow = int(rows.size()) + 1;  // 0-based: title, headings, panels
    const kelm::XlsRange block{0, 0, lastRow, 11};
    sheet.SetBorders(block);
    sheet.Merge(QStringLiteral("A1:L1"));
    sheet.SetText(0, 0, QStringLiteral("[Kelm]报表"));
    sheet.SetHorizontalAlignment(block, kelm::XlsHAlign::Center);
    sheet.SetFont(QStringLiteral("A1:L1"), 16, true);

    const QStringList headings{
        QStringLiteral("条码"),     QStringLiteral("客户名称"), QStringLiteral("板件名称"),
        QStringLiteral("所属柜体"), QStringLiteral("板件颜色"), QStringLiteral("封边颜色"),
        QStringLiteral("长度"),     QStringLiteral("宽度"),     QStringLiteral("厚度"),
        QStringLiteral("数量"),     QStringLiteral("批次号"),   QStringLiteral("备注")};
    for (int c = 0; c < headings.size(); ++c) sheet.SetText(1, c, headings[c]);
    for (size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c) sheet.SetText(int(r) + 2, c, rows[r][c]);

    return kelm::reports::SaveAndTell(book, path, kReportSavedAs);
}
