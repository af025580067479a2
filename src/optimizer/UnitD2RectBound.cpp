// Lower bounds on the sheet count: the area bound and the large-parts bound L2 of
// Martello and Vigo, both on kerf-enlarged parts and sheets.

#include "optimizer/UnitD2RectBound.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

namespace {

// A part type as the bounds see it: its allowed orientations, kerf added.
struct BoundPart {
    double x[2], y[2];  // orientation 0 unturned, 1 turned (same as 0 when fixed)
    double area;
    int64_t count;
};

int32_t CeilRatio(double num, double den) {
    if (num <= 0 || den <= 0) return 0;
    // A hair of slack so that rounding in a sum that is really a whole number of sheets
    // does not add a sheet.
    return static_cast<int32_t>(std::ceil(num / den - 1e-9));
}

bool AllWays(const BoundPart& p, double minX, double minY) {
    return p.x[0] > minX && p.y[0] > minY && p.x[1] > minX && p.y[1] > minY;
}

bool AllWaysAtLeast(const BoundPart& p, double minX, double minY) {
    return p.x[0] >= minX && p.y[0] >= minY && p.x[1] >= minX && p.y[1] >= minY;
}

// L2 over every pair of thresholds (p, q) taken from the parts' own extents.
int32_t LargePartsBound(const std::vector<BoundPart>& parts, double S, double T) {
    std::set<double> ps, qs;
    for (const BoundPart& p : parts)
        for (int o = 0; o < 2; ++o) {
            if (p.x[o] <= S / 2) ps.insert(p.x[o]);
            if (p.y[o] <= T / 2) qs.insert(p.y[o]);
        }
    ps.insert(S / 2);
    qs.insert(T / 2);
    const double sheet = S * T;
    int32_t best = 0;
    for (double p : ps)
        for (double q : qs) {
            int64_t n1 = 0, n2 = 0;
            double area23 = 0;
            for (const BoundPart& part : parts) {
                if (AllWays(part, S / 2, T / 2)) {
                    // A large part: no two share a sheet. Beside one that leaves less than
                    // p across and q down, nothing of the third group fits.
                    if (AllWays(part, S - p, T - q)) {
                        n1 += part.count;
                    } else {
                        n2 += part.count;
                        area23 += part.area * part.count;
                    }
                } else if (AllWaysAtLeast(part, p, q)) {
                    area23 += part.area * part.count;
                }
            }
            const int32_t extra = CeilRatio(area23 - n2 * sheet, sheet);
            best = std::max(best, static_cast<int32_t>(n1 + n2) + extra);
        }
    return best;
}

}  // namespace

TD2RBound D2RLowerBound(const TD2RRawArr& raws, const TD2REleArr& eles, const TD2RPrm& prm) {
    TD2RBound b;
    const double k = std::max(0.0, prm.BladeWidth);
    const double t = std::max(0, prm.wucha);
    bool oneSize = !raws.empty();
    double bestL = 0, bestW = 0;
    for (const TD2RRaw& r : raws) {
        const double L = r.Length - prm.Edg.Left - prm.Edg.Right;
        const double W = r.Width - prm.Edg.Top - prm.Edg.Bottom;
        if (r.Length != raws[0].Length || r.Width != raws[0].Width || r.Price != raws[0].Price)
            oneSize = false;
        if (L > 0 && W > 0 && L * W > bestL * bestW) {
            bestL = L;
            bestW = W;
        }
    }
    std::vector<BoundPart> parts;
    double area = 0;
    for (const TD2REle& e : eles) {
        if (e.Count <= 0) continue;
        const bool turn = e.Rotation == 1;
        // Fit on some sheet type, by the construction's own test.
        const double fa = turn ? e.Length - t : e.Length;
        const double fb = turn ? e.Width - t : e.Width;
        bool fits = false;
        for (const TD2RRaw& r : raws) {
            const double L = r.Length - prm.Edg.Left - prm.Edg.Right;
            const double W = r.Width - prm.Edg.Top - prm.Edg.Bottom;
            if (L <= 0 || W <= 0) continue;
            if ((fa <= L && fb <= W) || (turn && fb <= L && fa <= W)) fits = true;
        }
        if (!fits) {
            b.Excluded += e.Count;
            continue;
        }
        const double a = std::max(0.0, fa) + k;
        const double c = std::max(0.0, fb) + k;
        BoundPart p{{a, turn ? c : a}, {c, turn ? a : c}, a * c, e.Count};
        area += p.area * p.count;
        parts.push_back(p);
    }
    if (bestL <= 0 || parts.empty()) return b;
    const double S = bestL + k, T = bestW + k;
    b.Area = CeilRatio(area, S * T);
    if (oneSize) b.Large = LargePartsBound(parts, S, T);
    b.Sheets = std::max(b.Area, b.Large);
    b.Decisive = oneSize;
    return b;
}
