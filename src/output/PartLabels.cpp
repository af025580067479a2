#include "output/PartLabels.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "common/NumberFormat.h"

namespace kelm::output {

namespace {

constexpr double kEps = 1e-6;

bool Inside(const TRectEle& e, const TRectR& piece) {
    return e.px >= piece.px - kEps && e.py >= piece.py - kEps &&
           e.px + e.Length <= piece.px + piece.Length + kEps &&
           e.py + e.Width <= piece.py + piece.Width + kEps;
}

// Step of the last cut that runs along an edge of e within a piece holding e; 0 when none.
int FreedAt(const TRectEle& e, const LayoutPage& page) {
    int last = 0;
    for (const TD2RCut& c : page.Plan.Cuts) {
        if (!Inside(e, c.Piece)) continue;
        const double at = c.Horizontal ? c.py : c.px;
        const double lo = c.Horizontal ? e.py : e.px;
        const double hi = lo + (c.Horizontal ? e.Width : e.Length);
        if (std::abs(at - hi) < kEps || std::abs(at + page.Kerf - lo) < kEps) last = c.Step;
    }
    return last;
}

}  // namespace

std::vector<SawPiece> PiecesInSawOrder(const std::vector<LayoutPage>& pages) {
    std::vector<SawPiece> out;
    for (size_t p = 0; p < pages.size(); ++p) {
        const LayoutPage& page = pages[p];
        const size_t n = page.Layout.EleList.size();
        std::vector<std::pair<int, int>> order;  // (freed at, element)
        order.reserve(n);
        for (size_t i = 0; i < n; ++i)
            order.emplace_back(FreedAt(page.Layout.EleList[i], page), static_cast<int>(i));
        std::stable_sort(order.begin(), order.end());
        for (int sheet = 1; sheet <= std::max(1, page.Layout.RawCount); ++sheet)
            for (const auto& [step, element] : order)
                out.push_back(SawPiece{static_cast<int>(p), sheet, element});
    }
    return out;
}

std::vector<Label> CutListLabels(const std::vector<LayoutPage>& pages, const TD2REleArr& eles,
                                 const QString& order) {
    std::vector<Label> labels;
    std::map<int, int> pieceOfRow;
    for (const SawPiece& s : PiecesInSawOrder(pages)) {
        const LayoutPage& page = pages[static_cast<size_t>(s.Page)];
        const TRectEle& e = page.Layout.EleList[static_cast<size_t>(s.Element)];
        const int n = ++pieceOfRow[e.XH];
        const TD2REle* type =
            e.XH >= 1 && static_cast<size_t>(e.XH) <= eles.size() ? &eles[static_cast<size_t>(e.XH - 1)] : nullptr;
        const double length = type ? type->Length : e.Length;
        const double width = type ? type->Width : e.Width;
        Label l;
        l.Heading = e.Name.isEmpty() ? QStringLiteral("第%1行").arg(e.XH) : e.Name;
        if (!order.isEmpty()) l.Lines << QStringLiteral("订单：") + order;
        l.Lines << QStringLiteral("行号：%1  第%2件").arg(e.XH).arg(n);
        l.Lines << QStringLiteral("尺寸：") + kelm::FormatGeneral(length) + QStringLiteral("×") +
                       kelm::FormatGeneral(width);
        if (!page.Material.isEmpty()) l.Lines << QStringLiteral("材料：") + page.Material;
        l.Lines << QStringLiteral("图%1 第%2/%3张").arg(page.Number).arg(s.Sheet).arg(page.Layout.RawCount);
        l.Barcode = QStringLiteral("%1-%2").arg(e.XH).arg(n);
        EdgeSketch sketch;
        sketch.Length = length;
        sketch.Width = width;
        sketch.Grain = type && type->Rotation != 1;  // a fixed part keeps its grain
        l.Sketch = sketch;
        labels.push_back(std::move(l));
    }
    return labels;
}

}  // namespace kelm::output
