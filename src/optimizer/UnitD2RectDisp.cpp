// Statistics of a cutting scheme, recomputed from its layouts alone.

#include "optimizer/UnitD2RectDisp.h"

#include "optimizer/GrainMarks.h"

#include <algorithm>
#include <limits>

#include "common/NumberFormat.h"

namespace {

// Counts are summed in 64 bits and shown within the 32-bit fields: a scheme read from
// a damaged document may hold sums no workshop reaches, and they must not wrap round.
int32_t Saturated(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

void AddTo(int32_t& total, int64_t c) { total = Saturated(int64_t(total) + c); }

}  // namespace

void TD2Result::GetResult(const TD2RSchame& schame, const TD2RPrm& prm, const TD2REleArr& eles,
                          TD2Rslt& rslt) const {
    rslt = TD2Rslt{};
    rslt.EleCutArr.resize(schame.size());
    std::vector<int64_t> left(eles.size());  // pieces still uncut
    for (size_t i = 0; i < eles.size(); ++i) left[i] = eles[i].Count;
    double rawArea = 0, partArea = 0, cost = 0;
    int64_t sheets = 0;

    for (size_t gi = 0; gi < schame.size(); ++gi) {
        const TD2RGene& g = schame[gi];
        const int64_t c = g.RawCount;
        rawArea += g.RawLength * g.RawWidth * c;
        sheets += c;
        partArea += c * g.EleArea;
        cost += g.RawLength * g.RawWidth * c * g.RawPrice / 1000000.0;

        const QString size = kelm::FormatGeneral(g.RawLength) + QStringLiteral("×") +
                             kelm::FormatGeneral(g.RawWidth);
        bool found = false;
        for (TUseRaw& u : rslt.UseRawArr) {
            if (u.rawSize == size && u.rawName == g.RawName) {
                AddTo(u.Count, c);
                found = true;
                break;
            }
        }
        if (!found) rslt.UseRawArr.push_back(TUseRaw{g.RawName, size, Saturated(c)});

        for (const TRectR& r : g.RectArr) {
            if (!(prm.Bin.Length <= r.Length && prm.Bin.Width <= r.Width)) continue;
            found = false;
            for (TBinSize& b : rslt.BinSizeArr) {
                if (b.length == r.Length && b.width == r.Width && b.rawDbID == g.RawDbID) {
                    AddTo(b.count, c);
                    found = true;
                    break;
                }
            }
            if (!found)
                rslt.BinSizeArr.push_back(
                    TBinSize{g.RawDbID, g.RawName, r.Length, r.Width, Saturated(c)});
        }

        std::vector<TEleCut>& pieces = rslt.EleCutArr[gi];
        for (const TRectEle& e : g.EleList) {
            // A part number outside the list (a scheme that does not belong to it) is
            // listed on its layout but cannot be counted off.
            if (e.XH >= 1 && e.XH <= static_cast<int32_t>(left.size())) left[e.XH - 1] -= c;
            found = false;
            for (TEleCut& p : pieces) {
                if (p.XH == e.XH) {
                    AddTo(p.count, 1);
                    found = true;
                    break;
                }
            }
            if (!found) pieces.push_back(TEleCut{e.XH, e.Name, e.Length, e.Width, 1});
        }
    }

    rslt.GrainArr = kelm::FixedGrainTypes(eles);
    for (size_t i = 0; i < eles.size(); ++i) {
        const TD2REle& e = eles[i];
        if (left[i] != 0)
            rslt.NoCutArr.push_back(TEleCut{e.XH, e.Name, e.Length, e.Width, Saturated(left[i])});
    }
    rslt.eleTotalArea = partArea;
    rslt.rawUseArea = rawArea;
    rslt.UltiRate = rawArea != 0 ? partArea / rawArea : 0;
    rslt.RawUseCount = Saturated(sheets);
    rslt.TotalPrice = cost;
}
