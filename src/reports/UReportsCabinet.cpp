// The two sheets of one cabinet entry: the size sheet (filled picture, outer size,
// panel list) and the drawing sheet (wire-frame picture in a chosen colour).
#include <QStringList>
#include <cmath>
#include <exception>
#include <vector>

#include "common/DrawingFit.h"
#include "data/UnitData.h"
#include "documents/UXmlOpen.h"
#include "render/QPainterCanvas.h"
#include "reports/UReports.h"
#include "reports/UReportsSupport.h"
#include "spreadsheet/XlsWorkbook.h"

namespace {

using kelm::XlsHAlign;

constexpr int kPictureSize = 300;  // pixels, square
constexpr int kPictureMargin = 30;
constexpr int kFitMargin = 10;  // free pixels around the whole drawing

// The fields of FProWins the sheets show, as the database returns them.
struct CabinetEntry {
    QString winPath, winCode, winCount, Width, Height, Depth;
};

bool ReadEntry(const QString& winID, CabinetEntry& entry) {
    auto query = OpenQuery(QStringLiteral("SELECT winPath,winCode,winCount,Width,Height,Depth,"
                                          "custName FROM FProWins WHERE winID='") +
                           winID + QStringLiteral("'"));
    if (!query->isActive() || !query->next()) return false;
    entry.winPath = FieldText(*query, QStringLiteral("winPath"));
    entry.winCode = FieldText(*query, QStringLiteral("winCode"));
    entry.winCount = FieldText(*query, QStringLiteral("winCount"));
    entry.Width = FieldText(*query, QStringLiteral("Width"));
    entry.Height = FieldText(*query, QStringLiteral("Height"));
    entry.Depth = FieldText(*query, QStringLiteral("Depth"));
    return true;
}

const QStringList& SizeHeadings() {
    static const QStringList headings{QStringLiteral("代号"), QStringLiteral("宽(W)"),
                                      QStringLiteral("深(D)"), QStringLiteral("高(H)"),
                                      QStringLiteral("数量")};
    return headings;
}

// Heading row and value row of the outer size, bold 10 points, bordered, centred;
// columns A to E 8 characters wide.
void WriteSizeBlock(kelm::XlsSheet& sheet, int firstRow, const CabinetEntry& entry) {
    const kelm::XlsRange block{firstRow, 0, firstRow + 1, 4};
    sheet.SetFont(block, 10, true);
    sheet.SetBorders(block);
    sheet.SetHorizontalAlignment(block, XlsHAlign::Center);
    for (int c = 0; c < 5; ++c) sheet.SetColumnWidth(c, 8);
    const QStringList values{entry.winCode, entry.Width, entry.Depth, entry.Height, entry.winCount};
    for (int c = 0; c < 5; ++c) {
        sheet.SetText(firstRow, c, SizeHeadings()[c]);
        sheet.SetText(firstRow + 1, c, values[c]);
    }
}

// One row per panel, materials together: ylName, Color, clName, length, width, clCount.
std::vector<QStringList> ReadPanels(const QString& winID) {
    std::vector<QStringList> rows;
    auto query = OpenQuery(QStringLiteral("SELECT ID,ylName,clName,length,width,thick,flag,clCount,"
                                          "Color,shape FROM vProCl WHERE winID='") +
                           winID + QStringLiteral("' ORDER BY ylID, ID"));
    while (query->isActive() && query->next()) {
        QStringList row;
        for (const char* column : {"ylName", "Color", "clName", "length", "width", "clCount"})
            row << FieldText(*query, QString::fromLatin1(column));
        rows.push_back(row);
    }
    return rows;
}

// The picture of the entry, or an empty path after telling the user why there is none.
QString EntryPicture(const CabinetEntry& entry, const QString& path, bool fill, kelm::Color color) {
    QString error;
    const QString picture =
        MakeCabinetPicture(entry.winPath, fill, color, kPictureSize, kPictureSize, &error);
    if (picture.isEmpty()) ShowInfo(kelm::reports::NotSavedText(path, error));
    return picture;
}

}  // namespace

QString MakeCabinetPicture(const QString& winPath, bool fill, kelm::Color color, int width,
                           int height, QString* error) {
    std::unique_ptr<FCabs> cabs;
    try {
        cabs = FXmlOpen::OpenXml(winPath);
    } catch (const std::exception& e) {
        if (error)
            *error = QStringLiteral("柜体数据无法读取：") +
                     QString::fromUtf8(e.what());
        return QString();
    }
    // Millimetres per pixel to start from: the larger of width and height fills the
    // picture less the margins (240 of 300 pixels). The depth drawn upwards and the
    // dimension lines with their texts reach beyond the front, so the scale and origin
    // are then fitted to the whole drawing, which stays inside a margin of its own.
    const double dv = cabs->W() >= cabs->H() ? cabs->W() / (width - 2 * kPictureMargin)
                                             : cabs->H() / (height - 2 * kPictureMargin);
    const kelm::ScaledDrawing draw = [&](kelm::Canvas& c, double scale, QPoint pos) {
        cabs->Draw(c, scale, pos, fill, true, color, 80, 10);
    };
    const QRect area(kFitMargin, kFitMargin, width - 2 * kFitMargin, height - 2 * kFitMargin);
    const kelm::DrawingFit fit = kelm::FitDrawing(draw, area, dv);
    QImage image = kelm::NewBitmap(width, height, ReportDpi());
    {
        kelm::QPainterCanvas canvas(&image, ReportDpi());
        draw(canvas, fit.dv, fit.pos);
    }
    return kelm::reports::SaveTempBitmap(image, error);
}

bool ExportSizeSheet(const QString& path, const QString& winID) {
    CabinetEntry entry;
    if (!ReadEntry(winID, entry)) return false;
    const std::vector<QStringList> panels = ReadPanels(winID);
    // The list starts in row 6 and a worksheet ends at row 65 536: a longer list is
    // refused rather than cut short.
    if (panels.size() + 5 > size_t(kelm::kXlsMaxRow) + 1) {
        ShowInfo(kelm::reports::NotSavedText(
            path, QStringLiteral("the cabinet has %1 panel rows, more than the %2 a worksheet "
                                 "holds below the picture and the size")
                      .arg(panels.size())
                      .arg(kelm::kXlsMaxRow + 1 - 5)));
        return false;
    }
    const QString picture = EntryPicture(entry, path, true, kelm::Color(248, 240, 227));
    if (picture.isEmpty()) return false;

    kelm::XlsWorkbook book;
    kelm::XlsSheet& sheet = book.AddSheet(QStringLiteral("[Kelm]报表"));
    // Row 1 as high as the picture: 300 pixels → millimetres → points.
    const double pixelsPerMm = ReportDpi() / 25.4;
    sheet.SetRowHeight(0, std::trunc(kPictureSize / pixelsPerMm * 2.835));
    QString error;
    if (!sheet.InsertPictureFile(0, 0, picture, &error)) {
        ShowInfo(kelm::reports::NotSavedText(path, error));
        return false;
    }
    WriteSizeBlock(sheet, 1, entry);

    const kelm::XlsRange list{4, 0, 4 + int(panels.size()), 6};
    sheet.SetFont(list, 10, false);
    sheet.SetBorders(list);
    sheet.SetHorizontalAlignment(list, XlsHAlign::Center);
    const QStringList headings{QStringLiteral("序号"), QStringLiteral("材质"),
                               QStringLiteral("颜色"), QStringLiteral("构件名称"),
                               QStringLiteral("长"),   QStringLiteral("宽"),
                               QStringLiteral("数量")};
    for (int c = 0; c < headings.size(); ++c) sheet.SetText(4, c, headings[c]);
    for (int i = 0; i < int(panels.size()); ++i) {
        sheet.SetText(5 + i, 0, QString::number(i + 1));
        for (int c = 0; c < panels[i].size(); ++c) sheet.SetText(5 + i, c + 1, panels[i][c]);
    }
    return kelm::reports::SaveAndTell(book, path, kReportExportedAs);
}

bool ExportDrawingSheet(const QString& path, const QString& winID, kelm::Color color) {
    CabinetEntry entry;
    if (!ReadEntry(winID, entry)) return false;
    const QString picture = EntryPicture(entry, path, false, color);
    if (picture.isEmpty()) return false;

    kelm::XlsWorkbook book;
    kelm::XlsSheet& sheet = book.AddSheet(QStringLiteral("[Kelm]报表"));
    WriteSizeBlock(sheet, 0, entry);
    QString error;
    if (!sheet.InsertPictureFile(2, 1, picture, &error)) {
        ShowInfo(kelm::reports::NotSavedText(path, error));
        return false;
    }
    return kelm::reports::SaveAndTell(book, path, kReportExportedAs);
}
