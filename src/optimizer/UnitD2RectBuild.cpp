// Construction of one cutting scheme: sheet choice, 20 trial fills per sheet, guillotine
// placement and the repeat count of each layout. Runs on private scratch memory (TD2RWork)
// so several constructions can be built at once on different threads.

#include <algorithm>

#include "optimizer/UnitD2Rect.h"

void TD2RRandom::Seed(uint64_t seed) {
    // splitmix64 spreads any seed, 0 included, over the whole state.
    for (uint64_t& word : s_) {
        seed += 0x9E3779B97F4A7C15ull;
        uint64_t z = seed;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        word = z ^ (z >> 31);
    }
}

int TD2RRandom::Draw(int n) {
    // Lemire's multiply-shift with rejection: uniform without a division per draw.
    const uint64_t range = static_cast<uint64_t>(n);
    uint64_t x = Next();
    unsigned __int128 m = static_cast<unsigned __int128>(x) * range;
    uint64_t low = static_cast<uint64_t>(m);
    if (low < range) {
        const uint64_t threshold = (0 - range) % range;
        while (low < threshold) {
            x = Next();
            m = static_cast<unsigned __int128>(x) * range;
            low = static_cast<uint64_t>(m);
        }
    }
    return static_cast<int>(m >> 64);
}

// The part index list: every part with pieces still to place, in part order.
static void ListPartsLeft(TD2RWork& w) {
    w.idx.clear();
    for (size_t i = 0; i < w.ele.size(); ++i)
        if (w.ele[i].Count > 0) w.idx.push_back(static_cast<int32_t>(i));
}

void TD2Rect::PrepareWork(TD2RWork& w, const std::vector<int32_t>& order) {
    w.ele.resize(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        const TD2REle& e = p_Base[order[i]];
        w.ele[i] = TD2RWorkEle{e.Length, e.Width, e.Count, e.Rotation == 1, e.XH, order[i]};
    }
    ListPartsLeft(w);
    w.occ.assign(w.ele.size(), 0);
    const double t = prm.wucha;
    w.fitA.resize(w.ele.size());
    w.fitB.resize(w.ele.size());
    w.fitTurn.resize(w.ele.size());
    for (size_t i = 0; i < w.ele.size(); ++i) {
        const TD2RWorkEle& e = w.ele[i];
        // The tolerance applies to turnable parts only.
        w.fitA[i] = e.Turnable ? e.Length - t : e.Length;
        w.fitB[i] = e.Turnable ? e.Width - t : e.Width;
        w.fitTurn[i] = e.Turnable;
    }
    PrepareSheet(w);
}

// Everything a sheet's 20 trials start from: remaining counts, the fit data of the part
// index list in order, and the quick-rejection staircase.
void TD2Rect::PrepareSheet(TD2RWork& w) {
    w.startCount.resize(w.ele.size());
    for (size_t i = 0; i < w.ele.size(); ++i) w.startCount[i] = w.ele[i].Count;
    w.startA.resize(w.idx.size());
    w.startB.resize(w.idx.size());
    w.startTurn.resize(w.idx.size());
    for (size_t pos = 0; pos < w.idx.size(); ++pos) {
        w.startA[pos] = w.fitA[w.idx[pos]];
        w.startB[pos] = w.fitB[w.idx[pos]];
        w.startTurn[pos] = w.fitTurn[w.idx[pos]];
    }

    auto build = [&w](std::vector<double>& keys, std::vector<double>& prefixMin) {
        std::sort(w.stairBuf.begin(), w.stairBuf.end());
        keys.clear();
        prefixMin.clear();
        double least = 0;
        for (size_t i = 0; i < w.stairBuf.size(); ++i) {
            least = i == 0 ? w.stairBuf[i].second : std::min(least, w.stairBuf[i].second);
            keys.push_back(w.stairBuf[i].first);
            prefixMin.push_back(least);
        }
    };
    w.stairBuf.clear();
    for (int32_t i : w.idx)
        if (w.fitTurn[i])
            w.stairBuf.emplace_back(std::min(w.fitA[i], w.fitB[i]), std::max(w.fitA[i], w.fitB[i]));
    build(w.turnS, w.turnGMin);
    w.stairBuf.clear();
    for (int32_t i : w.idx)
        if (!w.fitTurn[i]) w.stairBuf.emplace_back(w.fitA[i], w.fitB[i]);
    build(w.fixA, w.fixBMin);
}

// False only when no part of the sheet's starting list fits rect. Parts only leave the
// list during a trial, so a rectangle rejected here would be rejected by the full walk.
static inline bool MayFitIn(const TD2RWork& w, const TRectR& rect) {
    // A turnable part (a, b) fits L × W one way or the other exactly when its smaller
    // extent fits the smaller side and its larger extent the larger side.
    const double m = std::min(rect.Length, rect.Width);
    const double M = std::max(rect.Length, rect.Width);
    // Most rejected rectangles are narrow strips: the first comparisons settle them.
    if (!w.turnS.empty() && m >= w.turnS.front()) {
        const size_t k = std::upper_bound(w.turnS.begin(), w.turnS.end(), m) - w.turnS.begin();
        if (w.turnGMin[k - 1] <= M) return true;
    }
    if (!w.fixA.empty() && rect.Length >= w.fixA.front() && rect.Width >= w.fixBMin.back()) {
        const size_t k =
            std::upper_bound(w.fixA.begin(), w.fixA.end(), rect.Length) - w.fixA.begin();
        if (w.fixBMin[k - 1] <= rect.Width) return true;
    }
    return false;
}

TD2RSchame TD2Rect::BuildSchame(TD2RWork& w) { return BuildSchame(w, p_Order); }

TD2RSchame TD2Rect::BuildSchame(TD2RWork& w, const std::vector<int32_t>& order) {
    PrepareWork(w, order);
    TD2RSchame schame;
    w.rawStock.resize(rawArr.size());
    w.cand.clear();
    for (size_t i = 0; i < rawArr.size(); ++i) {
        w.rawStock[i] = rawArr[i].Count;
        w.cand.emplace_back(rawArr[i].Prio, static_cast<int32_t>(i));
    }
    while (!w.cand.empty() && !w.idx.empty()) {
        const int pos = PickRaw(w);
        const int r = w.cand[pos].second;
        if (w.rawStock[r] <= 0) {
            w.cand.erase(w.cand.begin() + pos);
            continue;
        }
        FillRaw(w, r);
        if (w.best.EleList.empty()) {  // not one remaining part fits this sheet type
            w.cand.erase(w.cand.begin() + pos);
            continue;
        }
        TD2RGene g;
        SetLayFields(g, w, r);
        g.RawCount = GetRepeatCount(w, r);
        w.rawStock[r] -= g.RawCount;
        if (w.rawStock[r] == 0) w.cand.erase(w.cand.begin() + pos);
        for (const TD2RPlaced& p : w.best.EleList) w.ele[p.eIndex].Count -= g.RawCount;
        ListPartsLeft(w);
        schame.push_back(std::move(g));
    }
    return schame;
}

// Copies the kept trial into a layout: this is the only place names are copied.
void TD2Rect::SetLayFields(TD2RGene& g, TD2RWork& w, int r) const {
    const TD2RRaw& raw = rawArr[r];
    g.RawIndex = r;
    g.RawName = raw.Name;
    g.RawPrice = raw.Price;
    g.RawDbID = raw.DbID;
    g.RawLength = raw.Length;
    g.RawWidth = raw.Width;
    g.Offcut = raw.Offcut;
    g.EleList.reserve(w.best.EleList.size());
    for (const TD2RPlaced& p : w.best.EleList) {
        const TD2REle& src = p_Base[w.ele[p.eIndex].Src];
        g.EleList.push_back(
            TRectEle{p.eIndex, src.XH, src.Name, src.Demo, p.px, p.py, p.Length, p.Width});
    }
    g.RectArr = w.best.RectArr;
    g.EleArea = w.best.EleArea;
    g.maxBin = w.best.maxBin;
}

int TD2Rect::PickRaw(TD2RWork& w) {
    w.prioPos.clear();
    for (size_t i = 0; i < w.cand.size(); ++i)
        if (w.cand[i].first == 1) w.prioPos.push_back(static_cast<int>(i));
    if (!w.prioPos.empty()) return w.prioPos[w.rnd.Draw(static_cast<int>(w.prioPos.size()))];
    return w.rnd.Draw(static_cast<int>(w.cand.size()));
}

int32_t TD2Rect::GetRepeatCount(TD2RWork& w, int r) {
    int32_t result = 99999999;
    for (const TD2RPlaced& p : w.best.EleList) ++w.occ[p.eIndex];
    for (const TD2RPlaced& p : w.best.EleList) {
        int32_t& k = w.occ[p.eIndex];
        if (k == 0) continue;  // part type already counted
        result = std::min(result, w.ele[p.eIndex].Count / k);
        k = 0;
    }
    return std::min(result, w.rawStock[r]);
}

void TD2Rect::FillRaw(TD2RWork& w, int r) {
    const TD2RRaw& raw = rawArr[r];
    const double sheetArea = raw.Length * raw.Width;
    const TRectR usable{static_cast<double>(prm.Edg.Left), static_cast<double>(prm.Edg.Top),
                        raw.Length - prm.Edg.Left - prm.Edg.Right,
                        raw.Width - prm.Edg.Top - prm.Edg.Bottom};
    w.best.Clear();
    // Trims that leave nothing of the sheet: nothing may be placed (the size tolerance
    // would otherwise let small parts onto a sheet of no usable size).
    if (usable.Length <= 0 || usable.Width <= 0) return;

    PrepareSheet(w);
    double bestUti = 0;
    double bestLeft = 0;
    for (int trial = 0; trial < 20; ++trial) {
        StartTrial(w);
        LayRect(w, usable);
        const double uti = w.trial.EleArea / sheetArea;
        double largest = 0;
        for (const TRectR& rc : w.trial.RectArr) largest = std::max(largest, rc.Length * rc.Width);
        if (uti > bestUti || (uti == bestUti && largest > bestLeft)) {
            std::swap(w.best, w.trial);
            bestUti = uti;
            bestLeft = largest;
            w.best.maxBin = largest;
        }
        if (trial == 0 && w.best.EleList.empty()) {
            // Nothing fits an empty sheet: every further trial draws once for its part
            // choice and again finds nothing. Keep the generator stream as it would be.
            for (int rest = 1; rest < 20; ++rest) w.rnd.Draw(10);
            return;
        }
    }
}

void TD2Rect::StartTrial(TD2RWork& w) {
    w.trialCount.assign(w.startCount.begin(), w.startCount.end());
    w.trialIdx.assign(w.idx.begin(), w.idx.end());
    w.trialA.assign(w.startA.begin(), w.startA.end());
    w.trialB.assign(w.startB.begin(), w.startB.end());
    w.trialTurn.assign(w.startTurn.begin(), w.startTurn.end());
    w.trial.Clear();
}

void TD2Rect::LayRect(TD2RWork& w, const TRectR& rect) {
    // Depth-first on an explicit stack: a remainder is filled completely before the next,
    // in the same order (and with the same draws) as the recursive description, without
    // deep recursion when a sheet holds many small parts.
    const double k = prm.BladeWidth;
    w.stack.clear();
    w.stack.push_back(rect);
    while (!w.stack.empty()) {
        const TRectR R = w.stack.back();
        w.stack.pop_back();
        const TD2RPick pick = PickEle(w, R);
        if (pick.eleIndex < 0) {
            w.trial.RectArr.push_back(R);
            continue;
        }
        const TD2RWorkEle& e = w.ele[pick.eleIndex];
        const double l = pick.turned ? e.Width : e.Length;
        const double wd = pick.turned ? e.Length : e.Width;
        const bool firstOnSheet = w.trial.EleList.empty();
        w.trial.EleList.push_back(TD2RPlaced{pick.eleIndex, R.px, R.py, l, wd});
        w.trial.EleArea += e.Length * e.Width;
        if (--w.trialCount[pick.eleIndex] == 0) {
            w.trialIdx.erase(w.trialIdx.begin() + pick.listPos);
            w.trialA.erase(w.trialA.begin() + pick.listPos);
            w.trialB.erase(w.trialB.begin() + pick.listPos);
            w.trialTurn.erase(w.trialTurn.begin() + pick.listPos);
        }

        bool horizontalFirst;
        if (prm.LayStyle == TD2RLayStyle::HStrip) {
            horizontalFirst = true;
        } else if (prm.LayStyle == TD2RLayStyle::VStrip) {
            horizontalFirst = false;
        } else if (firstOnSheet && prm.FirstCut == TD2RFirstCut::HD) {
            horizontalFirst = true;
        } else if (firstOnSheet && prm.FirstCut == TD2RFirstCut::VD) {
            horizontalFirst = false;
        } else {
            horizontalFirst = w.rnd.Draw(2) == 1;
        }
        const double restL = R.Length - l - k;
        const double restW = R.Width - wd - k;
        // Pushed in reverse: the first remainder named is filled first.
        if (horizontalFirst) {
            if (restW > 0) w.stack.push_back(TRectR{R.px, R.py + wd + k, R.Length, restW});
            if (restL > 0) w.stack.push_back(TRectR{R.px + l + k, R.py, restL, wd});
        } else {
            if (restL > 0) w.stack.push_back(TRectR{R.px + l + k, R.py, restL, R.Width});
            if (restW > 0) w.stack.push_back(TRectR{R.px, R.py + wd + k, l, restW});
        }
    }
}

namespace {

// Whether the part at list position pos fits R in either allowed orientation.
inline bool FitsAnyWay(const TD2RWork& w, size_t pos, double L, double W) {
    const double a = w.trialA[pos];
    const double b = w.trialB[pos];
    return ((a <= L) & (b <= W)) | (w.trialTurn[pos] & (b <= L) & (a <= W));
}

// Orientation of a part that fits R: the way it fits; when both ways fit, unturned on
// an exact edge, turned when its turned extents meet an edge, otherwise a draw.
inline bool ChooseTurned(const TD2RWork& w, size_t pos, const TRectR& R, TD2RRandom& rnd) {
    const double a = w.trialA[pos];
    const double b = w.trialB[pos];
    const bool plain = a <= R.Length && b <= R.Width;
    if (!w.trialTurn[pos]) return false;
    const bool turn = b <= R.Length && a <= R.Width;
    if (!(plain && turn)) return turn;
    const TD2RWorkEle& e = w.ele[w.trialIdx[pos]];
    if (e.Length == R.Length || e.Width == R.Width) return false;
    if (e.Width == R.Length || e.Length == R.Width) return true;
    return rnd.Draw(2) == 0;
}

}  // namespace

TD2RPick TD2Rect::PickEle(TD2RWork& w, const TRectR& rect) {
    const bool firstFit = w.rnd.Draw(10) != 0;
    if (!MayFitIn(w, rect)) return TD2RPick{};
    const size_t n = w.trialIdx.size();
    const double L = rect.Length, W = rect.Width;
    if (firstFit) {
        // Four tests at a time without branches; most walks end within a few blocks.
        size_t pos = 0;
        for (; pos + 4 <= n; pos += 4)
            if (FitsAnyWay(w, pos, L, W) | FitsAnyWay(w, pos + 1, L, W) |
                FitsAnyWay(w, pos + 2, L, W) | FitsAnyWay(w, pos + 3, L, W))
                break;
        for (; pos < n; ++pos)
            if (FitsAnyWay(w, pos, L, W))
                return TD2RPick{w.trialIdx[pos], static_cast<int32_t>(pos),
                                ChooseTurned(w, pos, rect, w.rnd)};
        return TD2RPick{};
    }
    w.fits.clear();
    for (size_t pos = 0; pos < n; ++pos)
        if (FitsAnyWay(w, pos, L, W))
            w.fits.emplace_back(static_cast<int32_t>(pos), ChooseTurned(w, pos, rect, w.rnd));
    if (w.fits.empty()) return TD2RPick{};
    const auto& chosen = w.fits[w.rnd.Draw(static_cast<int>(w.fits.size()))];
    return TD2RPick{w.trialIdx[chosen.first], chosen.first, chosen.second};
}
