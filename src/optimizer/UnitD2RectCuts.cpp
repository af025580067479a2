// Cut sequence of a sheet layout, found by taking the layout apart: in a piece of the
// sheet, a through cut can run wherever no part or leftover crosses its line, so the
// projections of the piece's contents onto one axis, merged where they overlap, give the
// strips that through cuts along the other axis separate. The construction lays every
// part in the top-left corner of a free rectangle and divides the rest by through cuts,
// so its layouts always come apart this way.
#include "optimizer/UnitD2RectCuts.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kEps = 1e-6;

double Start(const TRectR& r, bool horizontal) { return horizontal ? r.py : r.px; }
double Extent(const TRectR& r, bool horizontal) { return horizontal ? r.Width : r.Length; }
double End(const TRectR& r, bool horizontal) { return Start(r, horizontal) + Extent(r, horizontal); }

// Items whose projections onto the axis across horizontal (or vertical) cuts overlap.
struct Cluster {
    double start = 0;
    double end = 0;
    std::vector<TRectR> items;
};

// Items closer together than one kerf belong to one cluster: no saw cut fits between them.
std::vector<Cluster> Clusters(std::vector<TRectR> items, bool horizontal, double kerf) {
    std::sort(items.begin(), items.end(), [horizontal](const TRectR& a, const TRectR& b) {
        return Start(a, horizontal) < Start(b, horizontal);
    });
    std::vector<Cluster> out;
    for (const TRectR& r : items) {
        // Without a kerf, touching items stay apart: a cut runs between them.
        if (!out.empty() && Start(r, horizontal) < out.back().end + kerf - kEps) {
            out.back().end = std::max(out.back().end, End(r, horizontal));
            out.back().items.push_back(r);
        } else {
            out.push_back(Cluster{Start(r, horizontal), End(r, horizontal), {r}});
        }
    }
    return out;
}

// A piece cut at c along one axis: the part before c and the part after the kerf.
TRectR Slice(const TRectR& piece, bool horizontal, double from, double to) {
    TRectR r = piece;
    if (horizontal) {
        r.py = from;
        r.Width = to - from;
    } else {
        r.px = from;
        r.Length = to - from;
    }
    return r;
}

class Splitter {
  public:
    Splitter(double kerf, TD2RCutPlan& plan) : k_(kerf), plan_(plan) {}

    void Split(TRectR region, std::vector<TRectR> items, int level, bool preferHorizontal) {
        if (!plan_.Guillotine || items.empty()) return;
        for (;;) {
            const std::vector<Cluster> across[2] = {Clusters(items, false, k_), Clusters(items, true, k_)};
            // Trims first: an axis whose contents form one block with material beside it
            // is cut down to that block by one cut through the whole piece per side.
            bool trimmed = false;
            for (bool h : {preferHorizontal, !preferHorizontal}) {
                const std::vector<Cluster>& cs = across[h];
                if (cs.size() != 1) continue;
                if (cs[0].start > Start(region, h) + kEps) {
                    region = Cut(region, h, cs[0].start - k_, level, true);
                    trimmed = true;
                }
                if (cs[0].end < End(region, h) - kEps) {
                    region = Cut(region, h, cs[0].end, level, false);
                    trimmed = true;
                }
                if (trimmed) break;
            }
            if (trimmed) continue;
            if (across[0].size() == 1 && across[1].size() == 1) {
                if (items.size() > 1) Fail("parts overlap or cannot be separated by through cuts");
                return;  // one part or leftover, cut to size
            }
            bool h = preferHorizontal;
            if (across[h].size() < 2) h = !h;
            SplitStrips(region, across[h], h, level);
            return;
        }
    }

  private:
    // Cuts region at c along axis h (horizontal: the line y = c) and keeps the side that
    // holds the contents: after the kerf when keepAfter, before the cut otherwise.
    TRectR Cut(const TRectR& region, bool h, double c, int level, bool keepAfter) {
        Record(region, h, c, level);
        if (keepAfter) return Slice(region, h, c + k_, End(region, h));
        return Slice(region, h, Start(region, h), c);
    }

    void Record(const TRectR& region, bool h, double c, int level) {
        TD2RCut cut;
        cut.Step = static_cast<int32_t>(plan_.Cuts.size()) + 1;
        cut.Level = level;
        cut.Horizontal = h;
        cut.Fence = std::max(0.0, c - Start(region, h));
        cut.Length = Extent(region, !h);
        cut.px = h ? region.px : c;
        cut.py = h ? c : region.py;
        cut.Piece = region;
        plan_.Cuts.push_back(cut);
        plan_.TotalLength += cut.Length;
    }

    // Through cuts along axis h between the clusters, strip by strip from the leading
    // edge; then each strip is cut up in turn, one level down.
    void SplitStrips(TRectR region, const std::vector<Cluster>& cs, bool h, int level) {
        std::vector<std::pair<TRectR, std::vector<TRectR>>> strips;
        for (size_t i = 0; i < cs.size(); ++i) {
            const double p = Start(region, h);
            if (cs[i].start < p - kEps) {
                Fail(QStringLiteral("parts closer together than one kerf at %1 mm %2")
                         .arg(cs[i].start)
                         .arg(h ? "down" : "across"));
                return;
            }
            if (i == 0 && cs[i].start > p + kEps)  // material before the first strip
                region = Cut(region, h, cs[i].start - k_, level, true);
            const bool last = i + 1 == cs.size();
            if (last && cs[i].end >= End(region, h) - kEps) {
                strips.push_back({region, cs[i].items});
                break;
            }
            const TRectR strip = Slice(region, h, Start(region, h), cs[i].end);
            region = Cut(region, h, cs[i].end, level, true);
            strips.push_back({strip, cs[i].items});
        }
        for (auto& [strip, items] : strips) Split(strip, std::move(items), level + 1, !h);
    }

    void Fail(const QString& why) {
        if (!plan_.Guillotine) return;
        plan_.Guillotine = false;
        plan_.Problem = why;
    }

    double k_;
    TD2RCutPlan& plan_;
};

}  // namespace

TD2RCutPlan CutSequence(const TD2RGene& layout, double kerf, const TBin& keep) {
    TD2RCutPlan plan;
    std::vector<TRectR> items;
    for (const TRectEle& e : layout.EleList)
        if (e.Length > 0 && e.Width > 0) items.push_back(TRectR{e.px, e.py, e.Length, e.Width});
    for (const TRectR& r : layout.RectArr)
        if (r.Length > 0 && r.Width > 0 && r.Length >= keep.Length && r.Width >= keep.Width) items.push_back(r);
    const TRectR sheet{0, 0, layout.RawLength, layout.RawWidth};
    // The first cuts run along the sheet's length, as a panel saw rips a board.
    Splitter(std::max(0.0, kerf), plan).Split(sheet, std::move(items), 0, true);
    return plan;
}

TRectArr ReplayCuts(double length, double width, double kerf, const TD2RCutArr& cuts) {
    TRectArr pieces{TRectR{0, 0, length, width}};
    for (const TD2RCut& cut : cuts) {
        const bool h = cut.Horizontal;
        const double c = h ? cut.py : cut.px;
        const double along = h ? cut.px : cut.py;
        int hit = -1;
        for (size_t i = 0; i < pieces.size(); ++i) {
            const TRectR& p = pieces[i];
            // The line must run along the piece's whole edge and its kerf touch the piece.
            if (std::abs(Start(p, !h) - along) > kEps || std::abs(Extent(p, !h) - cut.Length) > kEps)
                continue;
            if (!(c > Start(p, h) - kerf - kEps && c < End(p, h) - kEps)) continue;
            if (hit >= 0) return {};
            hit = static_cast<int>(i);
        }
        if (hit < 0) return {};
        const TRectR p = pieces[static_cast<size_t>(hit)];
        pieces.erase(pieces.begin() + hit);
        std::vector<TRectR> parts;
        if (c - Start(p, h) > kEps) parts.push_back(Slice(p, h, Start(p, h), c));
        if (End(p, h) - (c + kerf) > kEps) parts.push_back(Slice(p, h, c + kerf, End(p, h)));
        pieces.insert(pieces.begin() + hit, parts.begin(), parts.end());
    }
    return pieces;
}
