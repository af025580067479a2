#include "output/LayoutPage.h"

#include <algorithm>
#include <cmath>

#include "common/Canvas.h"
#include "common/NumberFormat.h"
#include "optimizer/GrainMarks.h"
#include "optimizer/PartTextPlacement.h"

namespace kelm::output {

namespace {

int Mm(double mm, int dpi) { return static_cast<int>(std::lround(mm * dpi / 25.4)); }

QString Num(double v) { return kelm::FormatGeneral(v); }

double Utilisation(const TD2RGene& g) {
    const double area = g.RawLength * g.RawWidth;
    return area > 0 ? 100.0 * g.EleArea / area : 0.0;
}

// Largest font (points, from `points` down to 4) at which text fits width pixels.
int FitFont(Canvas& canvas, const QString& text, int width, int points) {
    for (; points > 4; --points) {
        canvas.SetFontSize(points);
        if (canvas.TextWidth(text) <= width) break;
    }
    canvas.SetFontSize(points);
    return points;
}

constexpr Color kCutColor{200, 0, 0};
constexpr Color kPartFill{255, 244, 214};
constexpr Color kHighlightFill{255, 200, 120};

}  // namespace

QString SizeText(double length, double width) { return Num(length) + QStringLiteral("×") + Num(width); }

QString CutDirectionText(const TD2RCut& cut) {
    return cut.Horizontal ? QStringLiteral("横") : QStringLiteral("纵");
}

QRect DiagramGeometry::Map(const TRectR& r) const {
    const int x1 = X0 + static_cast<int>(std::lround(r.px * Scale));
    const int y1 = Y0 + static_cast<int>(std::lround(r.py * Scale));
    const int x2 = X0 + static_cast<int>(std::lround((r.px + r.Length) * Scale));
    const int y2 = Y0 + static_cast<int>(std::lround((r.py + r.Width) * Scale));
    return QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1));
}

std::vector<LayoutPage> MakeLayoutPages(const TD2RSchame& schame, double kerf, const QString& order,
                                        const QString& material, const TBin& keep,
                                        const TEleGrainArr& grain) {
    std::vector<LayoutPage> pages;
    pages.reserve(schame.size());
    for (size_t i = 0; i < schame.size(); ++i) {
        LayoutPage p;
        p.Order = order;
        p.Material = material.isEmpty() ? schame[i].RawName : material;
        p.Number = static_cast<int>(i) + 1;
        p.Total = static_cast<int>(schame.size());
        p.Kerf = kerf;
        p.Layout = schame[i];
        p.Plan = CutSequence(p.Layout, kerf, keep);
        p.Grain = grain;
        for (const TRectEle& e : p.Layout.EleList) {
            auto it = std::find_if(p.Legend.begin(), p.Legend.end(), [&e](const LegendRow& r) {
                return r.Name == e.Name && r.Length == e.Length && r.Width == e.Width;
            });
            if (it == p.Legend.end()) {
                p.Legend.push_back(LegendRow{static_cast<int>(p.Legend.size()) + 1, e.Name, e.Length,
                                             e.Width, 0});
                it = p.Legend.end() - 1;
            }
            ++it->Count;
            p.PartNumbers.push_back(it->Number);
        }
        pages.push_back(std::move(p));
    }
    return pages;
}

SawWork OrderSawWork(const std::vector<LayoutPage>& pages) {
    SawWork w;
    for (const LayoutPage& p : pages) {
        w.Cuts += static_cast<long long>(p.Plan.Cuts.size()) * p.Layout.RawCount;
        w.Length += p.Plan.TotalLength * p.Layout.RawCount;
    }
    return w;
}

DiagramGeometry DrawLayoutDiagram(Canvas& canvas, const LayoutPage& page, const QRect& box,
                                  const DiagramOptions& options) {
    DiagramGeometry geo;
    const TD2RGene& g = page.Layout;
    if (!(g.RawLength > 0 && g.RawWidth > 0) || box.width() < 2 || box.height() < 2) return geo;
    geo.Scale = std::min((box.width() - 1) / g.RawLength, (box.height() - 1) / g.RawWidth);
    const int w = static_cast<int>(g.RawLength * geo.Scale);
    geo.X0 = box.left() + (box.width() - w) / 2;
    geo.Y0 = box.top();

    canvas.SetPenWidth(1);
    canvas.SetPenColor(Colors::Black);
    canvas.SetTransparentText(true);
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.SetBrushColor(Color{236, 236, 236});  // trims and kerf: the bare sheet
    const QRect sheet = geo.Map(TRectR{0, 0, g.RawLength, g.RawWidth});
    canvas.Rectangle(sheet.left(), sheet.top(), sheet.right() + 1, sheet.bottom() + 1);

    for (const TRectR& rest : g.RectArr) {
        if (rest.Length <= 0 || rest.Width <= 0) continue;
        const QRect r = geo.Map(rest);
        canvas.SetBrushColor(Colors::White);
        canvas.SetBrushStyle(BrushStyle::Solid);
        canvas.Rectangle(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
        canvas.SetBrushColor(Colors::Green);
        canvas.SetBrushStyle(BrushStyle::FDiagonal);
        canvas.Rectangle(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
        const QString size = SizeText(rest.Length, rest.Width);
        canvas.SetFontSize(options.FontPoints);
        if (canvas.TextWidth(size) < r.width() - 4 && canvas.TextHeight(size) < r.height() - 2) {
            canvas.SetFontColor(Colors::Green);
            canvas.TextOut(r.center().x() - canvas.TextWidth(size) / 2,
                           r.center().y() - canvas.TextHeight(size) / 2, size);
            canvas.SetFontColor(Colors::Black);
        }
    }

    const TextMeasure measure = MeasureOn(canvas);
    PartTextSizes sizes;
    sizes.largest = std::max(6, options.FontPoints);
    sizes.smallest = std::min(6, sizes.largest);
    for (size_t i = 0; i < g.EleList.size(); ++i) {
        const TRectEle& e = g.EleList[i];
        const QRect r = geo.Map(TRectR{e.px, e.py, e.Length, e.Width});
        canvas.SetBrushStyle(BrushStyle::Solid);
        canvas.SetBrushColor(static_cast<int>(i) == options.Highlight ? kHighlightFill : kPartFill);
        canvas.Rectangle(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
        // The texts go where the shared placement puts them, so they stay inside the part
        // and never cover each other, whatever the zoom.
        const QString number = i < page.PartNumbers.size() ? QString::number(page.PartNumbers[i]) : QString();
        const PartTextPlacement placement =
            PlacePartText(r.left(), r.top(), r.right() + 1, r.bottom() + 1, options.PartNames ? e.Name : number,
                          Num(e.Length), Num(e.Width), number,
                          measure, sizes);
        DrawPartText(canvas, placement);
        DrawGrainMarks(canvas, r.left(), r.top(), r.right() + 1, r.bottom() + 1, GrainMarkOf(e, page.Grain));
    }
    canvas.SetFontSize(options.FontPoints);

    if (options.ShowCuts) {
        canvas.SetPenColor(kCutColor);
        canvas.SetFontColor(kCutColor);
        canvas.SetFontSize(std::max(5, options.FontPoints));
        for (const TD2RCut& cut : page.Plan.Cuts) {
            // The line in the middle of the kerf.
            const double mid = page.Kerf / 2;
            const int x1 = geo.X0 + static_cast<int>(std::lround((cut.px + (cut.Horizontal ? 0 : mid)) * geo.Scale));
            const int y1 = geo.Y0 + static_cast<int>(std::lround((cut.py + (cut.Horizontal ? mid : 0)) * geo.Scale));
            const int len = static_cast<int>(std::lround(cut.Length * geo.Scale));
            const int x2 = cut.Horizontal ? x1 + len : x1;
            const int y2 = cut.Horizontal ? y1 : y1 + len;
            canvas.MoveTo(x1, y1);
            canvas.LineTo(x2, y2);
            const QString step = QString::number(cut.Step);
            if (cut.Horizontal)
                canvas.TextOut(x1 + 2, y1 - canvas.TextHeight(step), step);
            else
                canvas.TextOut(x1 + 2, y1 + 1, step);
        }
        canvas.SetPenColor(Colors::Black);
        canvas.SetFontColor(Colors::Black);
    }
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.SetBrushColor(Colors::White);
    canvas.SetTransparentText(false);
    return geo;
}

namespace {

// Lines set in columns of the given width from top to bottom and left to right within box,
// at the largest font (from 8 points down to 5) that holds them all; what does not fit even
// then ends in a line saying how many are left out.
void DrawColumns(Canvas& canvas, const QString& title, const QStringList& lines, const QRect& box,
                 int columnWidth) {
    canvas.SetFontSize(9);
    canvas.TextOut(box.left(), box.top(), title);
    const int top = box.top() + canvas.TextHeight(title) * 3 / 2;
    const int columns = std::max(1, box.width() / std::max(1, columnWidth));
    int points = 8;
    int perColumn = 0;
    for (; points >= 5; --points) {
        canvas.SetFontSize(points);
        perColumn = std::max(1, (box.bottom() - top) / std::max(1, canvas.TextHeight(title)));
        if (perColumn * columns >= lines.size()) break;
    }
    if (points < 5) points = 5;
    canvas.SetFontSize(points);
    const int lh = canvas.TextHeight(title);
    const int capacity = perColumn * columns;
    const bool cut = lines.size() > capacity;
    const int shown = cut ? capacity - 1 : static_cast<int>(lines.size());
    for (int i = 0; i < shown; ++i)
        canvas.TextOut(box.left() + (i / perColumn) * columnWidth, top + (i % perColumn) * lh, lines[i]);
    if (cut) {
        const int i = shown;
        canvas.TextOut(box.left() + (i / perColumn) * columnWidth, top + (i % perColumn) * lh,
                       QStringLiteral("……另有%1行").arg(lines.size() - shown));
    }
}

}  // namespace

void DrawLayoutPage(Canvas& canvas, const LayoutPage& page, const QRect& box, int dpi) {
    const TD2RGene& g = page.Layout;
    const int margin = Mm(10, dpi);
    const QRect inner = box.adjusted(margin, margin, -margin, -margin);
    canvas.SetTransparentText(true);
    canvas.SetFontColor(Colors::Black);

    // Header: what, for whom, how many.
    int y = inner.top();
    QString title = QStringLiteral("开料图  图%1/%2").arg(page.Number).arg(page.Total);
    if (!page.Order.isEmpty()) title += QStringLiteral("   订单：") + page.Order;
    if (!page.Material.isEmpty()) title += QStringLiteral("   材料：") + page.Material;
    FitFont(canvas, title, inner.width(), 14);
    canvas.TextOut(inner.left(), y, title);
    y += canvas.TextHeight(title) * 5 / 4;
    // A layout on an offcut names the offcut, so the right piece is taken from the rack.
    const QString sheetText = g.Offcut.isEmpty()
                                  ? QStringLiteral("原材尺寸：")
                                  : QStringLiteral("余料编号：%1   余料尺寸：").arg(g.Offcut);
    const QString facts = sheetText + SizeText(g.RawLength, g.RawWidth) +
                          QStringLiteral("   相同张数：") + QString::number(g.RawCount) +
                          QStringLiteral("   利用率：") + kelm::FormatPattern(Utilisation(g), "0.0%") +
                          QStringLiteral("   锯切：%1刀，%2米（每张）")
                              .arg(page.Plan.Cuts.size())
                              .arg(kelm::FormatPattern(page.Plan.TotalLength / 1000, "0.00"));
    FitFont(canvas, facts, inner.width(), 10);
    canvas.TextOut(inner.left(), y, facts);
    y += canvas.TextHeight(facts) * 3 / 2;
    if (page.Outdated) {
        canvas.SetFontColor(Colors::Red);
        const QString warn = QStringLiteral("注意：板件清单在优化后已修改，此开料图已过期，请重新优化！");
        FitFont(canvas, warn, inner.width(), 10);
        canvas.TextOut(inner.left(), y, warn);
        y += canvas.TextHeight(warn) * 3 / 2;
        canvas.SetFontColor(Colors::Black);
    }
    if (!page.Plan.Guillotine) {
        canvas.SetFontColor(Colors::Red);
        const QString warn = QStringLiteral("无法给出完整的锯切顺序：") + page.Plan.Problem;
        FitFont(canvas, warn, inner.width(), 10);
        canvas.TextOut(inner.left(), y, warn);
        y += canvas.TextHeight(warn) * 3 / 2;
        canvas.SetFontColor(Colors::Black);
    }

    // Diagram on the left two thirds, lists on the right third.
    const int gap = Mm(6, dpi);
    const int diagramWidth = inner.width() * 2 / 3;
    const QRect diagram(inner.left(), y, diagramWidth, inner.bottom() - y);
    const DiagramGeometry geo = DrawLayoutDiagram(canvas, page, diagram, DiagramOptions{true, -1, 7});
    const int diagramBottom = geo.Y0 + static_cast<int>(g.RawWidth * geo.Scale);

    QStringList legend;
    for (const LegendRow& r : page.Legend)
        legend << QString::number(r.Number) + "  " + r.Name + "  " + SizeText(r.Length, r.Width) +
                      QStringLiteral("  ×") + QString::number(r.Count);
    const QRect right(inner.left() + diagramWidth + gap, y, inner.width() - diagramWidth - gap, inner.bottom() - y);
    const QRect legendBox(right.left(), right.top(), right.width(), right.height() * 2 / 5);
    DrawColumns(canvas, QStringLiteral("零件（编号  名称  尺寸  数量）"), legend, legendBox, right.width());

    QStringList cuts;
    for (const TD2RCut& c : page.Plan.Cuts)
        cuts << QStringLiteral("%1. %2 %3 长%4").arg(c.Step).arg(CutDirectionText(c), Num(c.Fence), Num(c.Length));
    const QRect cutBox(right.left(), legendBox.bottom() + gap, right.width(), right.bottom() - legendBox.bottom() - gap);
    canvas.SetFontSize(7);
    const int cutColumn = canvas.TextWidth(QStringLiteral("000. 横 0000.0 长0000.0 "));
    DrawColumns(canvas, QStringLiteral("锯切顺序（刀号 方向 靠山尺寸 长度）"), cuts, cutBox, cutColumn);

    // Under the diagram, when there is room: the order's legend for colours.
    canvas.SetFontSize(7);
    const QString key = QStringLiteral("红线：锯切线及刀号（先锯穿整张板，再逐条锯开）   绿色斜线：余料   灰色：修边及锯缝");
    if (diagramBottom + canvas.TextHeight(key) * 2 < inner.bottom())
        canvas.TextOut(inner.left(), diagramBottom + canvas.TextHeight(key) / 2, key);
    canvas.SetTransparentText(false);
}

}  // namespace kelm::output
