#include "optimizer/UnitD2RectOffcuts.h"

#include <algorithm>

bool IsKeptOffcutSize(double length, double width, const TBin& min) {
    if (!(length > 0 && width > 0)) return false;
    const bool upright = length >= min.Length && width >= min.Width;
    const bool turned = width >= min.Length && length >= min.Width;
    return upright || turned;
}

void AddOffcutRaws(TD2RRawArr& raws, const TD2ROffcutArr& offcuts, const QString& dbID) {
    for (const TD2ROffcut& o : offcuts) {
        if (o.Count <= 0) continue;
        TD2RRaw r;
        r.XH = static_cast<int32_t>(raws.size()) + 1;
        r.Name = QStringLiteral("余料") + o.ID;
        r.DbID = dbID;
        r.Price = 0;
        r.Length = o.Length;
        r.Width = o.Width;
        r.Count = o.Count;
        r.Prio = 1;
        r.Offcut = o.ID;
        raws.push_back(r);
    }
}

TD2RLeftoverArr KeptLeftovers(const TD2RSchame& schame, const TBin& min) {
    TD2RLeftoverArr out;
    for (size_t gi = 0; gi < schame.size(); ++gi) {
        const TD2RGene& g = schame[gi];
        if (g.RawCount <= 0) continue;
        for (size_t ri = 0; ri < g.RectArr.size(); ++ri) {
            const TRectR& r = g.RectArr[ri];
            if (!IsKeptOffcutSize(r.Length, r.Width, min)) continue;
            out.push_back(TD2RLeftover{static_cast<int32_t>(gi), static_cast<int32_t>(ri),
                                       g.RawDbID, g.Offcut, r.px, r.py, r.Length, r.Width,
                                       g.RawCount});
        }
    }
    return out;
}

std::map<QString, int32_t> UsedOffcuts(const TD2RSchame& schame) {
    std::map<QString, int32_t> used;
    for (const TD2RGene& g : schame)
        if (!g.Offcut.isEmpty()) used[g.Offcut] += std::max(g.RawCount, 0);
    return used;
}

int32_t NewSheetCount(const TD2RSchame& schame) {
    int64_t n = 0;
    for (const TD2RGene& g : schame)
        if (g.Offcut.isEmpty()) n += std::max(g.RawCount, 0);
    return static_cast<int32_t>(std::min<int64_t>(n, INT32_MAX));
}
