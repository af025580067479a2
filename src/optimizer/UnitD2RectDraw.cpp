// Cutting diagram of one sheet layout: title, cut-size list, sheet outline, labelled
// parts and green hatched leftovers, drawn through the Canvas interface so the layout
// report, the command-line tool and tests share one drawing.
#include "common/Canvas.h"
#include "common/NumberFormat.h"
#include "optimizer/GrainMarks.h"
#include "optimizer/PartTextPlacement.h"
#include "optimizer/UnitD2RectDisp.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QStringList>

namespace {

// Millimetres to whole pixels, truncated toward zero. Values that cannot be a pixel
// position (NaN, beyond the int range) are pinned instead of overflowing.
int ToPixel(double mm, double dv) {
    const double v = std::trunc(mm / dv);
    if (std::isnan(v)) return 0;
    constexpr double kLimit = 1e9;
    return static_cast<int>(std::clamp(v, -kLimit, kLimit));
}

QString Num(double value) { return kelm::FormatGeneral(value); }

struct PixelRect {
    int x1, y1, x2, y2;
};

PixelRect Place(int x0, int y0, double px, double py, double length, double width, double dv) {
    return {x0 + ToPixel(px, dv), y0 + ToPixel(py, dv), x0 + ToPixel(px + length, dv),
            y0 + ToPixel(py + width, dv)};
}

// Length centred under the top edge, width at the left middle, in the largest size
// from 9 points down at which both stay inside the leftover; none when they do not fit.
void DrawExtentLabels(kelm::Canvas& canvas, const PixelRect& r, double length, double width) {
    const QString lengthText = Num(length);
    const QString widthText = Num(width);
    const QRect area = kelm::PartTextArea(r.x1, r.y1, r.x2, r.y2);
    const kelm::PartTextSizes sizes;
    for (int points = sizes.largest; points >= sizes.smallest; --points) {
        canvas.SetFontSize(points);
        const QSize l(canvas.TextWidth(lengthText), canvas.TextHeight(lengthText));
        const QSize w(canvas.TextWidth(widthText), canvas.TextHeight(widthText));
        const QRect lBox(QPoint((r.x1 + r.x2 - l.width()) / 2, r.y1 + 1), l);
        const QRect wBox(QPoint(r.x1 + 1, (r.y1 + r.y2 - w.height()) / 2), w);
        if (area.contains(lBox) && area.contains(wBox) && !lBox.intersects(wBox)) {
            canvas.TextOut(lBox.left(), lBox.top(), lengthText);
            canvas.TextOut(wBox.left(), wBox.top(), widthText);
            break;
        }
    }
    canvas.SetFontSize(sizes.largest);
}

// Draws text lines wrapped at the right edge like the cut sizes: items are appended to
// the line while they fit. Returns the y below the last line.
int DrawWrapped(kelm::Canvas& canvas, int x0, int y, int right, int unit, QString line,
                const QStringList& items) {
    for (const QString& item : items) {
        if (x0 + canvas.TextWidth(line) + canvas.TextWidth(item) > right) {
            canvas.TextOut(x0, y, line);
            y += canvas.TextHeight(line) + 2 * unit;
            line = item;
        } else {
            line += item;
        }
    }
    canvas.TextOut(x0, y, line);
    return y + canvas.TextHeight(line) + 2 * unit;
}

}  // namespace

int TD2Result::DrawPBT(int32_t pbID, int32_t posX, int32_t binW, int32_t binL, double dv,
                       const TD2Rslt& result, kelm::Canvas& canvas, const TD2RGene& layout,
                       int32_t unit, int32_t posY, int* contentBottom) const {
    canvas.SetPenWidth(1);
    const int x0 = posX * unit;
    int y = posY * unit;

    // A sheet without area has no utilisation; show 0 rather than a division by zero.
    const double sheetArea = layout.RawLength * layout.RawWidth;
    const double percent = sheetArea != 0 ? 100.0 * layout.EleArea / sheetArea : 0.0;
    // The material leads the title when the layout carries its name, so a diagram
    // printed on its own still says which board it is cut from.
    const QString material =
        layout.RawName.trimmed().isEmpty() ? QString() : layout.RawName.trimmed() + QStringLiteral("   ");
    const QString title = QStringLiteral("图[") + kelm::FormatInt(pbID + 1LL) + QStringLiteral("] ") +
                          material + QStringLiteral("原材尺寸：") + Num(layout.RawLength) + QStringLiteral("×") +
                          Num(layout.RawWidth) + QStringLiteral("   切割张数：") +
                          kelm::FormatInt(layout.RawCount) + QStringLiteral("   利用率：") +
                          kelm::FormatPattern(percent, QStringLiteral("0.0%"));
    canvas.TextOut(x0, y, title);
    y += canvas.TextHeight(title) + 2 * unit;

    // Cut sizes, wrapped at the right edge of the drawable area. Statistics computed for
    // another scheme may have no entry for this layout: the list is then empty.
    const int right = canvas.ClipRect().right() + 1;
    QStringList items;
    if (pbID >= 0 && static_cast<size_t>(pbID) < result.EleCutArr.size()) {
        for (const TEleCut& cut : result.EleCutArr[static_cast<size_t>(pbID)])
            items << Num(cut.length) + QStringLiteral("×") + Num(cut.width) + QStringLiteral("×") +
                         kelm::FormatInt(cut.count) + QStringLiteral("  ");
    }
    y = DrawWrapped(canvas, x0, y, right, unit, QStringLiteral("切割尺寸："), items);

    // Without a positive scale there is no sheet to draw.
    if (contentBottom) *contentBottom = y;
    if (!(dv > 0)) return y;

    const int bottom = y + ToPixel(layout.RawWidth, dv);
    canvas.Rectangle(x0, y, x0 + ToPixel(layout.RawLength, dv), bottom);

    // Part texts are placed so they stay inside their part; parts too small for their
    // name carry a number that the legend under the sheet explains.
    canvas.SetFontSize(9);
    const kelm::TextMeasure measure = kelm::MeasureOn(canvas);
    QStringList legend;
    int numbered = 0;  // numbers run 1#, 2#, … over the parts that carry one
    for (const TRectEle& part : layout.EleList) {
        const PixelRect r = Place(x0, y, part.px, part.py, part.Length, part.Width, dv);
        canvas.SetBrushStyle(kelm::BrushStyle::Clear);
        canvas.Rectangle(r.x1, r.y1, r.x2, r.y2);
        const QString sizeText = Num(part.Length) + QStringLiteral("×") + Num(part.Width);
        const kelm::PartTextPlacement placement = kelm::PlacePartText(
            r.x1, r.y1, r.x2, r.y2, part.Name, Num(part.Length), Num(part.Width),
            kelm::PartLegendNumber(numbered + 1), measure);
        kelm::DrawPartText(canvas, placement);
        if (placement.style == kelm::PartTextPlacement::Style::Number && ++numbered)
            legend << placement.items.front().text + QStringLiteral(" ") + part.Name +
                          QStringLiteral(" ") + sizeText + QStringLiteral("   ");
        else if (placement.style == kelm::PartTextPlacement::Style::None)
            legend << QStringLiteral("（未标出）") + part.Name + QStringLiteral(" ") + sizeText +
                          QStringLiteral(" 位于") + Num(part.px) + QStringLiteral(",") +
                          Num(part.py) + QStringLiteral("   ");
        kelm::DrawGrainMarks(canvas, r.x1, r.y1, r.x2, r.y2, kelm::GrainMarkOf(part, result.GrainArr));
    }
    canvas.SetFontSize(9);

    for (const TRectR& rest : layout.RectArr) {
        if (rest.Length == 0 || rest.Width == 0) continue;  // cleared by the search
        const PixelRect r = Place(x0, y, rest.px, rest.py, rest.Length, rest.Width, dv);
        canvas.SetBrushColor(kelm::Colors::Green);
        canvas.SetBrushStyle(kelm::BrushStyle::FDiagonal);
        canvas.Rectangle(r.x1, r.y1, r.x2, r.y2);
        if (rest.Length > binL && rest.Width > binW) DrawExtentLabels(canvas, r, rest.Length, rest.Width);
    }
    canvas.SetBrushColor(kelm::Colors::White);
    canvas.SetBrushStyle(kelm::BrushStyle::Solid);

    int end = bottom;
    if (!legend.isEmpty())
        end = DrawWrapped(canvas, x0, bottom + 2 * unit, right, unit, QStringLiteral("编号说明："),
                          legend);
    if (contentBottom) *contentBottom = end;
    return bottom;
}

namespace kelm {

TEleGrainArr FixedGrainTypes(const TD2REleArr& eles) {
    TEleGrainArr fixed;
    for (const TD2REle& e : eles)
        if (e.Rotation != 1) fixed.push_back(TEleGrain{e.XH, e.Length, e.Width});
    return fixed;
}

GrainMark GrainMarkOf(const TRectEle& part, const TEleGrainArr& fixed) {
    const auto it = std::find_if(fixed.begin(), fixed.end(), [&part](const TEleGrain& g) { return g.XH == part.XH; });
    if (it == fixed.end()) return GrainMark::None;
    const bool turned = std::abs(part.Length - it->Length) > 1e-6 && std::abs(part.Length - it->Width) <= 1e-6;
    return turned ? GrainMark::Across : GrainMark::Along;
}

void DrawGrainMarks(Canvas& canvas, int x1, int y1, int x2, int y2, GrainMark mark) {
    const int w = x2 - x1;
    const int h = y2 - y1;
    if (mark == GrainMark::None || w < 4 || h < 4) return;  // no room for a mark inside the outline
    const Color pen = canvas.PenColor();
    const int penWidth = canvas.PenWidth();
    canvas.SetPenColor(Color(96, 96, 96));
    canvas.SetPenWidth(1);
    // Eighths are taken in 64 bits: a sheet drawn at the pixel limit is a billion pixels
    // long, and five eighths of it overflow an int.
    auto eighths = [](int length, int n) { return static_cast<int>(static_cast<long long>(length) * n / 8); };
    for (const int eighth : {5, 6, 7}) {
        if (mark == GrainMark::Along) {
            const int y = y1 + eighths(h, eighth);
            canvas.MoveTo(x1 + w / 4, y);
            canvas.LineTo(x2 - w / 4, y);
        } else {
            const int x = x1 + eighths(w, eighth);
            canvas.MoveTo(x, y1 + h / 4);
            canvas.LineTo(x, y2 - h / 4);
        }
    }
    canvas.SetPenColor(pen);
    canvas.SetPenWidth(penWidth);
}

}  // namespace kelm
