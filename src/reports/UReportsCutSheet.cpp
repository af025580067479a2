// The sheet of the cutting layout report for one optimization result. It needs no
// database, so the command-line optimizer writes the same report as the program.
#include <QBuffer>
#include <QImage>
#include <cmath>

#include "common/NumberFormat.h"
#include "optimizer/UnitD2RectDisp.h"
#include "render/LayoutPng.h"
#include "reports/UReports.h"
#include "reports/UReportsSupport.h"
#include "spreadsheet/XlsWorkbook.h"

namespace {

using kelm::XlsHAlign;
using kelm::XlsRange;

// Tallest row the format allows, in points.
constexpr double kMaxRowPoints = 409;

// Width of columns A to D in characters: four of them (33 × 7 + 5 pixels each) hold a
// diagram of kLayoutImageWidthMm at 96 dots per inch.
constexpr double kCutReportColumnWidth = 33;

void SetRight(kelm::XlsSheet& sheet, const QString& cell, const QString& text) {
    sheet.SetText(cell, text);
    sheet.SetHorizontalAlignment(cell, XlsHAlign::Right);
}

void SetBoldBand(kelm::XlsSheet& sheet, int row, const QString& text) {
    const XlsRange band{row, 0, row, 3};
    sheet.Merge(band);
    sheet.SetText(row, 0, text);
    sheet.SetBold(kelm::XlsRangeName(band), true);
}

void FillSummary(kelm::XlsSheet& sheet, const TD2Rslt& rslt, const QString& material) {
    // Columns A to D together are as wide as a diagram picture, so the picture stays
    // inside the printed width of the sheet.
    for (int c = 0; c < 4; ++c) sheet.SetColumnWidth(c, kCutReportColumnWidth);
    sheet.SetBorders(QStringLiteral("A1:D7"));

    sheet.Merge(QStringLiteral("A1:D1"));
    sheet.SetText(0, 0, QStringLiteral("[Kelm]软件排版图"));
    sheet.SetFont(QStringLiteral("A1:D1"), 16, true);
    sheet.SetHorizontalAlignment(QStringLiteral("A1:D1"), XlsHAlign::Center);
    SetBoldBand(sheet, 1,
                material.isEmpty() ? QStringLiteral("报表汇总")
                                   : QStringLiteral("报表汇总（") + material + QStringLiteral("）"));

    SetRight(sheet, QStringLiteral("A3"), QStringLiteral("成品面积："));
    sheet.SetText(QStringLiteral("B3"),
                  kelm::FormatPattern(rslt.eleTotalArea / 1000000, QStringLiteral("0.0㎡")));
    SetRight(sheet, QStringLiteral("C3"), QStringLiteral("原材面积："));
    sheet.SetText(QStringLiteral("D3"),
                  kelm::FormatPattern(rslt.rawUseArea / 1000000, QStringLiteral("0.0㎡")));
    SetRight(sheet, QStringLiteral("A4"), QStringLiteral("净出材率："));
    sheet.SetText(QStringLiteral("B4"),
                  kelm::FormatPattern(rslt.UltiRate * 100, QStringLiteral("0.0%")));
    SetRight(sheet, QStringLiteral("C4"), QStringLiteral("原材用量："));
    sheet.SetText(QStringLiteral("D4"), kelm::FormatInt(rslt.RawUseCount) + QStringLiteral(" 张"));

    SetBoldBand(sheet, 4, QStringLiteral("原材列表"));
    sheet.SetText(QStringLiteral("A6"), QStringLiteral("原材名称"));
    sheet.SetText(QStringLiteral("B6"), QStringLiteral("原材尺寸"));
    sheet.SetText(QStringLiteral("C6"), QStringLiteral("切割张数"));
    sheet.SetHorizontalAlignment(QStringLiteral("A6:C7"), XlsHAlign::Center);
}

QByteArray BmpBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");
    return bytes;
}

// Places the diagram of layout `index` at row `row` and makes its rows as high as the
// picture; returns the row below it, or -1 with a reason.
int PlaceDiagram(kelm::XlsSheet& sheet, const TD2RSchame& schame, int index, const TD2Rslt& rslt,
                 int dpi, int row, bool viaTempBitmap, QString* error) {
    const QImage image = kelm::DrawLayoutImage(schame, index, rslt, dpi);
    if (image.isNull()) {
        if (error) *error = QStringLiteral("无法绘制第%1张排版图").arg(index + 1);
        return -1;
    }
    bool placed = false;
    if (!viaTempBitmap) {
        placed = sheet.InsertPicture(row, 0, BmpBytes(image), error);
    } else {
        const QString written = kelm::reports::SaveTempBitmap(image, error);
        placed = !written.isEmpty() && sheet.InsertPictureFile(row, 0, written, error);
    }
    if (!placed) return -1;

    // Row height from the picture's height on screen: pixels → inches → mm → points.
    double points = double(image.height()) / dpi * 2.86 * 25.4;
    // A picture taller than one row can be spans further rows, so the next diagram
    // still starts below it.
    do {
        sheet.SetRowHeight(row++, std::min(points, kMaxRowPoints));
        points -= kMaxRowPoints;
    } while (points > 0);
    return row;
}

}  // namespace

bool AddCutReportSheet(kelm::XlsWorkbook& book, const TD2REleArr& eles, const TD2RPrm& prm,
                       const TD2RSchame& schameIn, int dpi, bool viaTempBitmap, QString* error,
                       const QString& material) {
    // The material's name goes onto every layout, so the sheet list and each diagram's
    // title say which board they are about.
    TD2RSchame schame = schameIn;
    // A layout on an offcut says which one, in the sheet list and in its diagram's title.
    if (!material.isEmpty())
        for (TD2RGene& g : schame)
            g.RawName = g.Offcut.isEmpty() ? material
                                           : material + QStringLiteral("（余料") + g.Offcut +
                                                 QStringLiteral("）");
    TD2Rslt rslt;
    TD2Result().GetResult(schame, prm, eles, rslt);

    kelm::XlsSheet& sheet =
        book.AddSheet(material.isEmpty() ? QStringLiteral("[Kelm]报表") : material);
    FillSummary(sheet, rslt, material);
    // Landscape and one page wide, so a diagram prints whole at full width.
    kelm::XlsPageSetup page;
    page.landscape = true;
    page.fitToWidth = true;
    sheet.SetPageSetup(page);
    int row = 6;  // 0-based: the raw sheet list starts in row 7
    for (size_t k = 0; k < rslt.UseRawArr.size(); ++k, ++row) {
        const TUseRaw& used = rslt.UseRawArr[k];
        QString name = used.rawName.trimmed();
        name += (name.isEmpty() ? QString() : QStringLiteral(" ")) + used.rawSize;
        sheet.SetText(row, 0,
                      kelm::FormatInt(static_cast<long long>(k) + 1) + QStringLiteral("# ") + name);
        sheet.SetText(row, 1, used.rawSize);
        sheet.SetNumber(row, 2, used.Count);
    }
    SetBoldBand(sheet, row++, QStringLiteral("切割排版图"));
    for (size_t i = 0; i < schame.size(); ++i) {
        row = PlaceDiagram(sheet, schame, int(i), rslt, dpi, row, viaTempBitmap, error);
        if (row < 0) return false;
    }
    return true;
}

bool WriteCutReport(const QString& path, const TD2REleArr& eles, const TD2RPrm& prm,
                    const TD2RSchame& schame, int dpi, QString* error) {
    kelm::XlsWorkbook book;
    if (!AddCutReportSheet(book, eles, prm, schame, dpi > 0 ? dpi : 96, false, error)) return false;
    return book.Save(path, error);
}
