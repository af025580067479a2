// The deep search: the generational search for a start, then goal-driven ruin and
// recreate on single sheets, with the lower bound as the stopping point.

#include "optimizer/UnitD2RectDeep.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <random>

namespace {

// One piece (one of Count of a part type) as the improvement sees it.
struct DPiece {
    int32_t src = 0;        // index into the caller's part list
    double L = 0, W = 0;    // unturned extents
    bool turn = false;      // may be turned
    double fa = 0, fb = 0;  // extents for the fit test (less the tolerance when turnable)
    double area = 0;
};

struct DPlace {
    int32_t piece = 0;
    double px = 0, py = 0, l = 0, w = 0;  // as placed
};

// One sheet: its type, its placed pieces and its free rectangles (leaves of the
// guillotine tree in which nothing lies).
struct DSheet {
    int32_t type = 0;
    std::vector<DPlace> place;
    TRectArr free;
    double used = 0;  // part area
};

struct DState {
    std::vector<DSheet> sheets;
    std::vector<int32_t> pool;  // pieces waiting for a sheet
    double poolArea = 0;
};

struct DType {
    TRectR usable;
    double rawArea = 0;
    double cost = 0;  // price of one sheet
    int32_t stock = 0;
    bool prio = false;
};

// Figures by which complete schemes are ranked.
struct DScore {
    int32_t sheets = 0;
    int64_t layouts = 0;
    double rawArea = 0;
    double cost = 0;
    double leastUsed = 0;
};

bool Less(double a, double b) { return a < b - 1e-9 * std::max(1.0, std::fabs(b)); }

bool Better(const DScore& a, const DScore& b, TD2RPriority prio) {
    auto tail = [&] {
        if (Less(a.rawArea, b.rawArea)) return true;
        if (Less(b.rawArea, a.rawArea)) return false;
        return Less(a.leastUsed, b.leastUsed);
    };
    switch (prio) {
        case TD2RPriority::Cut:
            if (a.layouts != b.layouts) return a.layouts < b.layouts;
            return tail();
        case TD2RPriority::Price:
            if (Less(a.cost, b.cost)) return true;
            if (Less(b.cost, a.cost)) return false;
            return tail();
        default:
            return tail();
    }
}

// Orders of this many pieces and more are improved with cheaper steps: a step there
// touches sheets of many pieces (measured on the workshop orders of the benchmark).
bool LargeOrder(const TD2REleArr& eles) {
    int64_t pieces = 0;
    for (const TD2REle& e : eles) pieces += std::max(0, e.Count);
    return pieces >= 200;
}

double Unit(TD2RRandom& rnd) { return static_cast<double>(rnd.Next() >> 11) * 0x1.0p-53; }

// Layout rules shared by packing and insertion.
class Packer {
  public:
    Packer(const std::vector<DPiece>& pieces, const std::vector<DType>& types, const TD2RPrm& prm)
        : P(pieces), T(types), prm_(prm), k_(prm.BladeWidth) {}

    const std::vector<DPiece>& P;
    const std::vector<DType>& T;

    // 1: fits unturned, 2: fits turned, 3: both.
    static int Ways(const DPiece& p, double L, double W) {
        int ways = 0;
        if (p.fa <= L && p.fb <= W) ways |= 1;
        if (p.turn && p.fb <= L && p.fa <= W) ways |= 2;
        return ways;
    }

    bool FitsType(const DPiece& p, int type) const {
        return Ways(p, T[type].usable.Length, T[type].usable.Width) != 0;
    }

    // Orientation in R: the only way, or on an exact edge, or the longer side along the
    // longer side of R (rule 0) or by a draw.
    static bool Turned(const DPiece& p, int ways, const TRectR& R, int rule, TD2RRandom& rnd) {
        if (ways != 3) return ways == 2;
        if (p.L == R.Length || p.W == R.Width) return false;
        if (p.W == R.Length || p.L == R.Width) return true;
        if (rule == 0) return (p.L >= p.W) != (R.Length >= R.Width);
        return rnd.Draw(2) == 0;
    }

    // Cut direction after placing l × w in R: fixed by the lay style (and the first cut
    // of a sheet), otherwise the split whose larger remainder is larger (rule 0) or a draw.
    bool HorizontalFirst(bool firstOnSheet, const TRectR& R, double l, double w, int rule,
                         TD2RRandom& rnd) const {
        if (prm_.LayStyle == TD2RLayStyle::HStrip) return true;
        if (prm_.LayStyle == TD2RLayStyle::VStrip) return false;
        if (firstOnSheet && prm_.FirstCut == TD2RFirstCut::HD) return true;
        if (firstOnSheet && prm_.FirstCut == TD2RFirstCut::VD) return false;
        if (rule != 0) return rnd.Draw(2) == 1;
        const double restL = std::max(0.0, R.Length - l - k_);
        const double restW = std::max(0.0, R.Width - w - k_);
        const double h = std::max(restL * w, R.Length * restW);
        const double v = std::max(l * restW, restL * R.Width);
        return h >= v;
    }

    // The remainders of R after l × w at its corner, in filling order.
    int Split(const TRectR& R, double l, double w, bool hFirst, TRectR out[2]) const {
        int n = 0;
        const double restL = R.Length - l - k_;
        const double restW = R.Width - w - k_;
        if (hFirst) {
            if (restL > 0) out[n++] = TRectR{R.px + l + k_, R.py, restL, w};
            if (restW > 0) out[n++] = TRectR{R.px, R.py + w + k_, R.Length, restW};
        } else {
            if (restW > 0) out[n++] = TRectR{R.px, R.py + w + k_, l, restW};
            if (restL > 0) out[n++] = TRectR{R.px + l + k_, R.py, restL, R.Width};
        }
        return n;
    }

    // Lays the pieces `ids` out on one empty sheet of `type`; true when all of them fit.
    // With `must` ≥ 0 the layout may leave pieces out (it is then the attempt that places
    // the most area, `must` always placed first); true when a layout was made. kAnyFirst
    // does the same with no piece first.
    // With `region` the pieces are laid out inside that part of the sheet only.
    static constexpr int32_t kWhole = -1, kAnyFirst = -2;
    bool Pack(const std::vector<int32_t>& ids, int type, int attempts, TD2RRandom& rnd, DSheet& out,
              int32_t must = kWhole, const TRectR* region = nullptr) {
        const DType& t = T[type];
        const TRectR& room = region ? *region : t.usable;
        if (room.Length <= 0 || room.Width <= 0) return false;
        inRegion_ = region != nullptr;
        const bool partial = must != kWhole;
        double area = 0;
        for (int32_t id : ids) {
            if (!FitsType(P[id], type)) {
                if (!partial || id == must) return false;
                continue;
            }
            area += P[id].area;
        }
        // Parts a kerf apart fill at most the usable area; the tolerance may let turnable
        // parts overlap their neighbours' kerf, so the test is made without kerf.
        if (!partial && area > room.Length * room.Width + 1e-6) return false;
        double bestPlaced = -1;
        for (int a = 0; a < attempts; ++a) {
            order_ = ids;
            SortForAttempt(a, rnd, must);
            const int orientRule = a < 4 ? a & 1 : rnd.Draw(2);
            const int splitRule = a < 4 ? (a >> 1) & 1 : rnd.Draw(2);
            const bool exactFirst = a < 4 ? (a & 1) == 0 : rnd.Draw(2) == 0;
            sheet_.type = type;
            sheet_.place.clear();
            sheet_.free.clear();
            sheet_.used = 0;
            stack_.clear();
            stack_.push_back(room);
            // No piece fits a rectangle whose shorter side or area is below the smallest
            // of the pieces: such rectangles go to the free list without a scan.
            double minSide = std::numeric_limits<double>::infinity(), minArea = minSide;
            for (int32_t id : order_) {
                minSide = std::min(minSide, std::min(P[id].fa, P[id].fb));
                minArea = std::min(minArea, P[id].fa * P[id].fb);
            }
            while (!stack_.empty()) {
                const TRectR R = stack_.back();
                stack_.pop_back();
                if (order_.empty() || R.Length < minSide || R.Width < minSide ||
                    R.Length * R.Width < minArea) {
                    sheet_.free.push_back(R);
                    continue;
                }
                int chosen = -1, chosenWays = 0;
                for (size_t i = 0; i < order_.size(); ++i) {
                    const DPiece& p = P[order_[i]];
                    const int ways = Ways(p, R.Length, R.Width);
                    if (!ways) continue;
                    if (chosen < 0) {
                        chosen = static_cast<int>(i);
                        chosenWays = ways;
                        if (!exactFirst) break;
                    }
                    const bool exact = ((ways & 1) && (p.L == R.Length || p.W == R.Width)) ||
                                       ((ways & 2) && (p.W == R.Length || p.L == R.Width));
                    if (exact) {
                        chosen = static_cast<int>(i);
                        chosenWays = ways;
                        break;
                    }
                }
                if (chosen < 0) {
                    sheet_.free.push_back(R);
                    continue;
                }
                const int32_t id = order_[chosen];
                order_.erase(order_.begin() + chosen);
                PlaceIn(sheet_, id, chosenWays, R, orientRule, splitRule, rnd, stack_);
            }
            if (order_.empty() && !partial) {
                std::swap(out, sheet_);
                return true;
            }
            if (partial && sheet_.used > bestPlaced) {
                bestPlaced = sheet_.used;
                out = sheet_;
                if (order_.empty()) break;
            }
        }
        return bestPlaced >= 0;
    }

    // Puts piece id into the smallest free rectangle of s that holds it.
    bool InsertFree(DSheet& s, int32_t id, TD2RRandom& rnd) {
        double area;
        const int best = SmallestFree(s, id, area);
        if (best < 0) return false;
        return InsertAt(s, id, best, rnd);
    }

    // The smallest free rectangle of s that holds piece id (its area in `area`), or -1.
    int SmallestFree(const DSheet& s, int32_t id, double& area) const {
        const DPiece& p = P[id];
        int best = -1;
        for (size_t i = 0; i < s.free.size(); ++i) {
            const TRectR& R = s.free[i];
            if (!Ways(p, R.Length, R.Width)) continue;
            const double a = R.Length * R.Width;
            if (best < 0 || a < area) {
                best = static_cast<int>(i);
                area = a;
            }
        }
        return best;
    }

    // Puts piece id at the corner of free rectangle `best` of s.
    bool InsertAt(DSheet& s, int32_t id, int best, TD2RRandom& rnd) {
        const DPiece& p = P[id];
        const TRectR R = s.free[best];
        const int bestWays = Ways(p, R.Length, R.Width);
        s.free.erase(s.free.begin() + best);
        stack_.clear();
        PlaceIn(s, id, bestWays, R, 0, 0, rnd, stack_);
        for (const TRectR& r : stack_) s.free.push_back(r);
        return true;
    }

    // Takes the piece at position i out of s; its place becomes free.
    void Remove(DSheet& s, size_t i) {
        const DPlace pl = s.place[i];
        s.place.erase(s.place.begin() + i);
        s.used -= P[pl.piece].area;
        if (s.place.empty()) {
            s.free.assign(1, T[s.type].usable);
            s.used = 0;
        } else if (prm_.wucha == 0) {
            // Without the tolerance a piece lies wholly inside the leaf it was given, so
            // that leaf less the remainders cut off it is exactly the piece's place.
            s.free.push_back(TRectR{pl.px, pl.py, pl.l, pl.w});
        }
    }

    // Finds the free room of s anew from its pieces alone: the sheet is cut where no piece
    // lies, in the direction whose largest empty strip is largest, and again inside each
    // part, so that room left by removed pieces joins into the largest rectangles a
    // guillotine layout of these pieces allows. False (s unchanged) when the pieces cannot
    // be told apart by such cuts, as when the tolerance let a piece reach into a kerf.
    bool Reflow(DSheet& s) {
        refl_.clear();
        refIds_.resize(s.place.size());
        for (size_t i = 0; i < s.place.size(); ++i) refIds_[i] = static_cast<int32_t>(i);
        if (!Decompose(s, T[s.type].usable, 0, static_cast<int>(refIds_.size()), 0)) return false;
        s.free.swap(refl_);
        return true;
    }

  private:
    // Extents of a placed piece along an axis (0: the sheet's length, 1: its width).
    static double Lo(const DPlace& p, int axis) { return axis == 0 ? p.px : p.py; }
    static double Hi(const DPlace& p, int axis) { return axis == 0 ? p.px + p.l : p.py + p.w; }
    void SortAlong(const DSheet& s, int b, int e, int axis) {
        std::sort(refIds_.begin() + b, refIds_.begin() + e, [&](int32_t x, int32_t y) {
            return Lo(s.place[x], axis) < Lo(s.place[y], axis);
        });
    }

    // Pieces refIds_[b, e) lie in R. Appends R's free rectangles to refl_.
    bool Decompose(const DSheet& s, const TRectR& R, int b, int e, int depth) {
        constexpr double eps = 1e-9;
        if (b == e) {
            if (R.Length > eps && R.Width > eps) refl_.push_back(R);
            return true;
        }
        if (depth > 4096) return false;
        if (nodes_ && static_cast<size_t>(e - b) <= nodeMost_) {
            Node nd;
            nd.R = R;
            nd.pieces.assign(refIds_.begin() + b, refIds_.begin() + e);
            for (int32_t i : nd.pieces) nd.used += P[s.place[i].piece].area;
            nodes_->push_back(std::move(nd));
        }
        // Groups along each axis: pieces whose extents come closer than a kerf.
        struct Cut {
            int groups = 0;
            double slab = 0;  // largest empty strip
            bool any = false;
        } cut[2];
        for (int axis = 0; axis < 2; ++axis) {
            auto lo = [&](int i) { return Lo(s.place[i], axis); };
            auto hi = [&](int i) { return Hi(s.place[i], axis); };
            SortAlong(s, b, e, axis);
            const double r0 = axis == 0 ? R.px : R.py;
            const double r1 = r0 + (axis == 0 ? R.Length : R.Width);
            const double side = axis == 0 ? R.Width : R.Length;
            Cut& c = cut[axis];
            double start = lo(refIds_[b]), end = hi(refIds_[b]);
            c.groups = 1;
            double front = start - k_ - r0;
            if (front > eps) c.slab = std::max(c.slab, front * side), c.any = true;
            for (int i = b + 1; i < e; ++i) {
                const double l = lo(refIds_[i]);
                if (l < end + k_ - eps) {
                    end = std::max(end, hi(refIds_[i]));
                    continue;
                }
                const double gap = l - end - 2 * k_;
                if (gap > eps) c.slab = std::max(c.slab, gap * side);
                ++c.groups;
                c.any = true;
                start = l;
                end = hi(refIds_[i]);
            }
            const double rear = r1 - end - k_;
            if (rear > eps) c.slab = std::max(c.slab, rear * side), c.any = true;
        }
        if (!cut[0].any && !cut[1].any) {
            // One piece filling R (what is left is narrower than a kerf), or pieces that no
            // straight cut separates.
            return e - b == 1;
        }
        int axis;
        if (cut[0].any != cut[1].any)
            axis = cut[0].any ? 0 : 1;
        else if (cut[0].slab != cut[1].slab)
            axis = cut[0].slab > cut[1].slab ? 0 : 1;
        else
            axis = cut[1].groups > cut[0].groups ? 1 : 0;
        auto lo = [&](int i) { return Lo(s.place[i], axis); };
        auto hi = [&](int i) { return Hi(s.place[i], axis); };
        SortAlong(s, b, e, axis);
        const double r0 = axis == 0 ? R.px : R.py;
        const double r1 = r0 + (axis == 0 ? R.Length : R.Width);
        auto strip = [&](double from, double to) {
            return axis == 0 ? TRectR{from, R.py, to - from, R.Width}
                             : TRectR{R.px, from, R.Length, to - from};
        };
        double pos = r0;  // where the next part begins
        int g = b;
        while (g < e) {
            double start = lo(refIds_[g]), end = hi(refIds_[g]);
            int h = g + 1;
            while (h < e && lo(refIds_[h]) < end + k_ - eps) end = std::max(end, hi(refIds_[h++]));
            if (start - k_ - pos > eps) refl_.push_back(strip(pos, start - k_));
            if (!Decompose(s, strip(start, end), g, h, depth + 1)) return false;
            pos = end + k_;
            g = h;
        }
        if (r1 - pos > eps) refl_.push_back(strip(pos, r1));
        return true;
    }

    std::vector<TRectR> refl_;
    std::vector<int32_t> refIds_;
    bool inRegion_ = false;

  public:
    // A part of a sheet cut off by the guillotine cuts Reflow finds, with its pieces
    // (positions in the sheet's place list).
    struct Node {
        TRectR R;
        std::vector<int32_t> pieces;
        double used = 0;
    };
    // Parts of s with at most `most` pieces, the whole sheet included when it has so few.
    bool Nodes(const DSheet& s, size_t most, std::vector<Node>& out) {
        nodes_ = &out;
        nodeMost_ = most;
        out.clear();
        refl_.clear();
        refIds_.resize(s.place.size());
        for (size_t i = 0; i < s.place.size(); ++i) refIds_[i] = static_cast<int32_t>(i);
        const bool ok = Decompose(s, T[s.type].usable, 0, static_cast<int>(refIds_.size()), 0);
        nodes_ = nullptr;
        return ok;
    }

  private:
    std::vector<Node>* nodes_ = nullptr;
    size_t nodeMost_ = 0;

    void PlaceIn(DSheet& s, int32_t id, int ways, const TRectR& R, int orientRule, int splitRule,
                 TD2RRandom& rnd, std::vector<TRectR>& stack) {
        const DPiece& p = P[id];
        const bool turned = Turned(p, ways, R, orientRule, rnd);
        const double l = turned ? p.W : p.L;
        const double w = turned ? p.L : p.W;
        const bool first = s.place.empty() && !inRegion_;
        s.place.push_back(DPlace{id, R.px, R.py, l, w});
        s.used += p.area;
        TRectR rest[2];
        const int n = Split(R, l, w, HorizontalFirst(first, R, l, w, splitRule, rnd), rest);
        // Pushed in reverse so the first remainder is filled first.
        for (int i = n - 1; i >= 0; --i) stack.push_back(rest[i]);
    }

    void SortForAttempt(int a, TD2RRandom& rnd, int32_t must) {
        keys_.resize(P.size());
        const int rule = a < 4 ? a : rnd.Draw(4);
        const double noise = a < 4 ? 0 : 0.3;
        for (int32_t id : order_) {
            const DPiece& p = P[id];
            double key;
            switch (rule) {
                case 0:
                    key = p.area;
                    break;
                case 1:
                    key = std::max(p.L, p.W);
                    break;
                case 2:
                    key = std::min(p.L, p.W);
                    break;
                default:
                    key = p.L + p.W;
                    break;
            }
            if (noise > 0) key *= 1 - noise / 2 + noise * Unit(rnd);
            keys_[id] = id == must ? 1e300 : key;
        }
        // Largest key first, equal keys in their order. The lists are short, and an
        // insertion sort needs no buffer where a stable sort would take one per attempt.
        if (order_.size() > 48) {
            std::stable_sort(order_.begin(), order_.end(),
                             [this](int32_t x, int32_t y) { return keys_[x] > keys_[y]; });
            return;
        }
        for (size_t i = 1; i < order_.size(); ++i) {
            const int32_t id = order_[i];
            const double key = keys_[id];
            size_t j = i;
            for (; j > 0 && keys_[order_[j - 1]] < key; --j) order_[j] = order_[j - 1];
            order_[j] = id;
        }
    }

    const TD2RPrm& prm_;
    double k_;
    std::vector<int32_t> order_;
    std::vector<double> keys_;
    std::vector<TRectR> stack_;
    DSheet sheet_;
};

}  // namespace

// One improvement chain: its own generator, state and best complete scheme.
struct TD2RDeep::Chain {
    TD2RRandom rnd;
    DState best;
    DScore bestScore;
    bool improved = false;
    int64_t steps = 0;
};

// Everything the chains share, read-only while they run.
struct TD2RDeep::World {
    std::vector<DPiece> pieces;
    std::vector<DType> types;
    DState start;
    bool large = false;  // a large order: cheaper steps (see LargeOrder)
};

TD2RDeep::TD2RDeep(const TD2RRawArr& raws, const TD2RPrm& prm_, const TD2REleArr& eles,
                   const TD2RDeepOptions& options)
    : rawArr(raws), eleArr(eles), prm(prm_), p_Options(options) {
    TD2Rect::SortRawByArea(rawArr);
    Bound = D2RLowerBound(rawArr, eleArr, prm);
}

TD2RDeep::~TD2RDeep() {
    IsEnd = true;
    if (!p_Thread.joinable()) return;
    if (p_InDone || p_Thread.get_id() == std::this_thread::get_id())
        p_Thread.detach();
    else
        p_Thread.join();
}

void TD2RDeep::Start() {
    Wait();
    IsEnd = false;
    p_InDone = false;
    std::unique_lock gate(p_StartGate);
    p_Thread = std::thread([this] {
        { std::lock_guard passed(p_StartGate); }
        DoSearch();
        p_InDone = true;
        if (p_Listener) p_Listener->OnDone(BestSchame);
    });
}

void TD2RDeep::Wait() {
    if (p_Thread.joinable()) p_Thread.join();
}

void TD2RDeep::Run() {
    Wait();
    IsEnd = false;
    DoSearch();
    if (p_Listener) p_Listener->OnDone(BestSchame);
}

int32_t TD2RDeep::SheetCount(const TD2RSchame& s) {
    int64_t n = 0;
    for (const TD2RGene& g : s) n += g.RawCount;
    return static_cast<int32_t>(std::min<int64_t>(n, INT32_MAX));
}

double TD2RDeep::Elapsed() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - p_Begin).count();
}

bool TD2RDeep::AtBound(const TD2RSchame& s) const {
    if (!Bound.Decisive || prm.Priority == TD2RPriority::Cut || s.empty()) return false;
    int64_t placed = 0, pieces = 0;
    for (const TD2RGene& g : s) placed += static_cast<int64_t>(g.RawCount) * g.EleList.size();
    for (const TD2REle& e : eleArr) pieces += std::max(0, e.Count);
    return placed + Bound.Excluded >= pieces && SheetCount(s) <= Bound.Sheets;
}

void TD2RDeep::Report(bool force) {
    if (!p_Listener) return;
    const double now = Elapsed();
    const int32_t sheets = p_BestSheets;
    if (!force && sheets == p_LastSheets && now - p_LastReport < 0.25) return;
    p_LastSheets = sheets;
    p_LastReport = now;
    p_Listener->OnDeepProgress(sheets, Bound.Sheets, now);
}

namespace {

// Passes the first search's reports on and ends it at the bound, at its share of the
// time limit, or on a stop request.
class StartListener : public TD2RListener {
  public:
    StartListener(TD2Rect& rect, TD2RListener* outer, std::function<bool()> stop,
                  std::function<bool(const TD2RSchame&)> atBound)
        : rect_(rect), outer_(outer), stop_(std::move(stop)), atBound_(std::move(atBound)) {}
    void OnStep(int k) override {
        if (stop_()) rect_.IsEnd = true;
        if (outer_) outer_->OnStep(k);
    }
    void OnGeneration(const QString& text) override {
        if (atBound_(rect_.BestSchame)) rect_.IsEnd = true;
        if (outer_) outer_->OnGeneration(text);
    }

  private:
    TD2Rect& rect_;
    TD2RListener* outer_;
    std::function<bool()> stop_;
    std::function<bool(const TD2RSchame&)> atBound_;
};

DScore Score(const DState& s, const std::vector<DType>& types, TD2RPriority prio,
             const std::vector<DPiece>& pieces);

}  // namespace

// Implemented below, after the state helpers.
static TD2RSchame ToSchame(const DState& s, const std::vector<DPiece>& pieces,
                           const TD2RRawArr& raws, const TD2REleArr& eles);

void TD2RDeep::DoSearch() {
    p_Begin = std::chrono::steady_clock::now();
    p_Stop = false;
    BoundReached = false;
    StepsDone = 0;
    BestSchame.clear();
    if (rawArr.empty() || eleArr.empty()) return;
    const double limit = p_Options.TimeLimit;

    // The start: the generational search as it is, given a part of the time; large
    // orders leave more of it to the improvement, which needs it there most.
    const bool large = LargeOrder(eleArr);
    const double startShare = large ? 0.1 : 0.3;
    {
        TD2Rect rect(rawArr, prm, eleArr, p_Options.Seed, p_Options.Threads);
        StartListener relay(
            rect, p_Listener,
            [&] { return IsEnd.load() || (limit > 0 && Elapsed() > startShare * limit); },
            [this](const TD2RSchame& s) { return AtBound(s); });
        rect.SetListener(&relay);
        rect.DoSearch();
        BestSchame = rect.BestSchame;
        Constructions = rect.ConstructionCount();
    }
    StartSeconds = Elapsed();
    p_BestSheets = SheetCount(BestSchame);
    Report(true);
    if (BestSchame.empty()) return;
    if (AtBound(BestSchame)) {
        BoundReached = true;
        return;
    }

    // Pieces and sheets of the start scheme, one sheet per RawCount.
    World world;
    world.large = large;
    for (const TD2RRaw& r : rawArr) {
        DType t;
        t.usable =
            TRectR{static_cast<double>(prm.Edg.Left), static_cast<double>(prm.Edg.Top),
                   r.Length - prm.Edg.Left - prm.Edg.Right, r.Width - prm.Edg.Top - prm.Edg.Bottom};
        t.rawArea = r.Length * r.Width;
        t.cost = r.Price * t.rawArea / 1000000.0;
        t.stock = r.Count;
        t.prio = r.Prio == 1;
        world.types.push_back(t);
    }
    const double tol = prm.wucha;
    for (const TD2RGene& g : BestSchame) {
        for (int32_t c = 0; c < g.RawCount; ++c) {
            DSheet s;
            s.type = g.RawIndex;
            const TRectR& u = world.types[g.RawIndex].usable;
            for (const TRectEle& e : g.EleList) {
                const int32_t src = e.XH - 1;
                const TD2REle& type = eleArr[src];
                DPiece p;
                p.src = src;
                p.L = type.Length;
                p.W = type.Width;
                p.turn = type.Rotation == 1;
                p.fa = p.turn ? p.L - tol : p.L;
                p.fb = p.turn ? p.W - tol : p.W;
                p.area = p.L * p.W;
                world.pieces.push_back(p);
                s.place.push_back(DPlace{static_cast<int32_t>(world.pieces.size() - 1), e.px, e.py,
                                         e.Length, e.Width});
                s.used += p.area;
            }
            // Leftovers as they are, but never into the trims: a layout moved to a smaller
            // sheet type had its leftovers cut to the sheet, not to its usable part.
            for (const TRectR& r : g.RectArr) {
                const double x0 = std::max(r.px, u.px), y0 = std::max(r.py, u.py);
                const double x1 = std::min(r.px + r.Length, u.px + u.Length);
                const double y1 = std::min(r.py + r.Width, u.py + u.Width);
                if (x1 > x0 && y1 > y0) s.free.push_back(TRectR{x0, y0, x1 - x0, y1 - y0});
            }
            world.start.sheets.push_back(std::move(s));
        }
    }

    int chains = p_Options.Threads > 0
                     ? p_Options.Threads
                     : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    chains = std::clamp(chains, 1, 16);
    uint64_t base;
    if (p_Options.Seed) {
        base = *p_Options.Seed;
    } else {
        std::random_device device;
        base = (static_cast<uint64_t>(device()) << 32) ^ device();
    }
    std::vector<Chain> all(chains);
    const DScore startScore = Score(world.start, world.types, prm.Priority, world.pieces);
    for (int c = 0; c < chains; ++c) {
        all[c].rnd.Seed(base + 0x9E3779B97F4A7C15ull * (c + 1));
        all[c].best = world.start;
        all[c].bestScore = startScore;
    }
    const int64_t total = p_Options.Iterations;
    auto share = [&](int c) -> int64_t {
        if (total <= 0) return -1;
        return total / chains + (c < total % chains ? 1 : 0);
    };
    std::vector<std::thread> others;
    for (int c = 1; c < chains; ++c)
        others.emplace_back(
            [this, &world, &all, c, s = share(c)] { RunChain(all[c], world, s, false); });
    RunChain(all[0], world, share(0), true);
    for (std::thread& t : others) t.join();

    // The chains' bests in chain order: the same steps give the same scheme.
    const Chain* winner = nullptr;
    DScore best = startScore;
    for (const Chain& c : all) {
        StepsDone += c.steps;
        if (c.improved && Better(c.bestScore, best, prm.Priority)) {
            best = c.bestScore;
            winner = &c;
        }
    }
    if (winner) BestSchame = ToSchame(winner->best, world.pieces, rawArr, eleArr);
    BoundReached = AtBound(BestSchame);
    p_BestSheets = SheetCount(BestSchame);
    Report(true);
}

namespace {

DScore Score(const DState& s, const std::vector<DType>& types, TD2RPriority prio,
             const std::vector<DPiece>& /*pieces*/) {
    DScore sc;
    bool any = false;
    for (const DSheet& sh : s.sheets) {
        if (sh.place.empty()) continue;
        ++sc.sheets;
        sc.rawArea += types[sh.type].rawArea;
        sc.cost += types[sh.type].cost;
        sc.leastUsed = any ? std::min(sc.leastUsed, sh.used) : sh.used;
        any = true;
    }
    if (prio == TD2RPriority::Cut) {
        // Distinct layouts: equal sheets are cut as one layout several times.
        std::map<std::vector<double>, int> seen;
        for (const DSheet& sh : s.sheets) {
            if (sh.place.empty()) continue;
            std::vector<double> key{static_cast<double>(sh.type)};
            for (const DPlace& p : sh.place) {
                key.push_back(p.px);
                key.push_back(p.py);
                key.push_back(p.l);
                key.push_back(p.w);
            }
            seen[key] = 1;
        }
        sc.layouts = static_cast<int64_t>(seen.size());
    }
    return sc;
}

}  // namespace

static TD2RSchame ToSchame(const DState& s, const std::vector<DPiece>& pieces,
                           const TD2RRawArr& raws, const TD2REleArr& eles) {
    // Fullest sheets first, so the least-used sheet with its large offcut comes last.
    std::vector<const DSheet*> order;
    for (const DSheet& sh : s.sheets)
        if (!sh.place.empty()) order.push_back(&sh);
    std::stable_sort(order.begin(), order.end(),
                     [](const DSheet* a, const DSheet* b) { return a->used > b->used; });
    TD2RSchame out;
    std::map<std::vector<double>, size_t> same;
    for (const DSheet* sh : order) {
        std::vector<double> key{static_cast<double>(sh->type)};
        for (const DPlace& p : sh->place) {
            key.insert(key.end(), {static_cast<double>(pieces[p.piece].src), p.px, p.py, p.l, p.w});
        }
        const auto it = same.find(key);
        if (it != same.end()) {
            ++out[it->second].RawCount;
            continue;
        }
        const TD2RRaw& raw = raws[sh->type];
        TD2RGene g;
        g.RawIndex = sh->type;
        g.RawDbID = raw.DbID;
        g.RawName = raw.Name;
        g.RawPrice = raw.Price;
        g.RawLength = raw.Length;
        g.RawWidth = raw.Width;
        g.Offcut = raw.Offcut;
        g.RawCount = 1;
        for (const DPlace& p : sh->place) {
            const int32_t src = pieces[p.piece].src;
            const TD2REle& e = eles[src];
            g.EleList.push_back(TRectEle{src, e.XH, e.Name, e.Demo, p.px, p.py, p.l, p.w});
            g.EleArea += e.Length * e.Width;
        }
        g.RectArr = sh->free;
        for (const TRectR& r : sh->free) g.maxBin = std::max(g.maxBin, r.Length * r.Width);
        same[key] = out.size();
        out.push_back(std::move(g));
    }
    return out;
}

void TD2RDeep::RunChain(Chain& c, const World& world, int64_t steps, bool reporter) {
    std::vector<DType> types = world.types;
    Packer pk(world.pieces, types, prm);
    TD2RRandom& rnd = c.rnd;
    const double limit = p_Options.TimeLimit;
    const bool stopsAtBound = Bound.Decisive && prm.Priority != TD2RPriority::Cut;

    auto usable = [&](int t) { return types[t].usable.Length * types[t].usable.Width; };
    std::vector<int32_t> typeUsed(types.size(), 0);
    auto countTypes = [&](const DState& s) {
        std::fill(typeUsed.begin(), typeUsed.end(), 0);
        for (const DSheet& sh : s.sheets)
            if (!sh.place.empty()) ++typeUsed[sh.type];
    };

    // The goal: one sheet fewer. The emptiest sheet goes (sheets of a preferred type last),
    // its pieces wait in the pool.
    auto dropEmptiest = [&](DState& s) {
        int worst = -1;
        for (size_t i = 0; i < s.sheets.size(); ++i) {
            const DSheet& sh = s.sheets[i];
            if (worst < 0) {
                worst = static_cast<int>(i);
                continue;
            }
            const DSheet& w = s.sheets[worst];
            const bool a = types[sh.type].prio, b = types[w.type].prio;
            if (a != b ? !a : sh.used < w.used) worst = static_cast<int>(i);
        }
        if (worst < 0) return false;
        for (const DPlace& p : s.sheets[worst].place) {
            s.pool.push_back(p.piece);
            s.poolArea += world.pieces[p.piece].area;
        }
        s.sheets.erase(s.sheets.begin() + worst);
        return true;
    };

    DState cur = world.start;
    cur.sheets.erase(std::remove_if(cur.sheets.begin(), cur.sheets.end(),
                                    [](const DSheet& s) { return s.place.empty(); }),
                     cur.sheets.end());
    if (stopsAtBound && static_cast<int32_t>(cur.sheets.size()) <= Bound.Sheets) return;
    if (!dropEmptiest(cur)) return;

    constexpr int kHistory = 40;
    std::vector<double> history(kHistory, cur.poolArea);
    DState saved;
    std::vector<int32_t> order, cand;
    std::vector<Packer::Node> nodes;
    DSheet packed;

    constexpr int kRelayTries = 6, kEvictTries = 4;  // layouts tried per sheet
    // Pairs of sheets laid out anew together: the sheets with the most free room, few
    // layouts each; more of either cost more steps than they won (measured).
    constexpr size_t kPairSheets = 4;
    constexpr int kPairTries = 2;
    // On large orders a step re-lays sheets of many pieces: whole-sheet relays stop after
    // the fullest few sheets, and refills (below) do the rest of the work.
    const bool large = world.large;
    const size_t relayMost = large ? 4 : std::numeric_limits<size_t>::max();
    const int refills = large ? 200 : 0;
    constexpr int kRefillTries = 8;
    std::vector<int32_t> roomy, rest;
    DSheet second;
    // The pieces of `from` that `laid` left out, in their order, and their area.
    std::vector<char> on(world.pieces.size(), 0);
    auto leftOut = [&](const std::vector<int32_t>& from, const DSheet& laid,
                       std::vector<int32_t>& out) {
        for (const DPlace& pl : laid.place) on[pl.piece] = 1;
        out.clear();
        double area = 0;
        for (int32_t id : from) {
            if (!on[id]) {
                out.push_back(id);
                area += world.pieces[id].area;
            }
            on[id] = 0;
        }
        return area;
    };
    // Evictions try a few sheets per piece, so that orders of many sheets still take
    // thousands of steps a second.
    constexpr int kEvictSheets = 8;
    auto insert = [&](DState& s, int32_t id) {
        const DPiece& p = world.pieces[id];
        cand.clear();
        for (size_t i = 0; i < s.sheets.size(); ++i) {
            const DSheet& sh = s.sheets[i];
            if (usable(sh.type) - sh.used + 1e-6 < p.area || !pk.FitsType(p, sh.type)) continue;
            cand.push_back(static_cast<int32_t>(i));
        }
        // Fullest first; a few draws shake the order so equal choices differ between steps.
        std::sort(cand.begin(), cand.end(),
                  [&](int32_t a, int32_t b) { return s.sheets[a].used > s.sheets[b].used; });
        for (size_t i = 0; i + 1 < cand.size(); ++i)
            if (rnd.Draw(10) == 0) std::swap(cand[i], cand[i + 1]);
        if (rnd.Draw(2) == 0) {
            // The smallest free rectangle of all sheets.
            int bestSheet = -1, bestRect = -1;
            double bestArea = 0;
            for (int32_t i : cand) {
                double a;
                const int r = pk.SmallestFree(s.sheets[i], id, a);
                if (r >= 0 && (bestSheet < 0 || a < bestArea)) {
                    bestSheet = i;
                    bestRect = r;
                    bestArea = a;
                }
            }
            if (bestSheet >= 0) return pk.InsertAt(s.sheets[bestSheet], id, bestRect, rnd);
        } else {
            for (int32_t i : cand)
                if (pk.InsertFree(s.sheets[i], id, rnd)) return true;
        }
        // Lay a part of a sheet out anew with the piece: a part cut off by the sheet's
        // guillotine cuts whose pieces and room hold it, smallest parts first.
        if (prm.wucha == 0) {
            for (int32_t i : cand) {
                DSheet& sh = s.sheets[i];
                if (!pk.Nodes(sh, 10, nodes)) continue;
                std::sort(nodes.begin(), nodes.end(), [](const Packer::Node& a, const Packer::Node& b) {
                    return a.R.Length * a.R.Width < b.R.Length * b.R.Width;
                });
                for (const Packer::Node& nd : nodes) {
                    if (nd.pieces.size() >= sh.place.size()) continue;  // the whole sheet: below
                    if (nd.R.Length * nd.R.Width - nd.used + 1e-6 < p.area) continue;
                    if (!Packer::Ways(p, nd.R.Length, nd.R.Width)) continue;
                    order.clear();
                    for (int32_t k : nd.pieces) order.push_back(sh.place[k].piece);
                    order.push_back(id);
                    if (!pk.Pack(order, sh.type, 4, rnd, packed, Packer::kWhole, &nd.R)) continue;
                    DSheet next;
                    next.type = sh.type;
                    std::vector<char> out(sh.place.size(), 0);
                    for (int32_t k : nd.pieces) out[k] = 1;
                    for (size_t k = 0; k < sh.place.size(); ++k)
                        if (!out[k]) next.place.push_back(sh.place[k]);
                    for (const DPlace& pl : packed.place) next.place.push_back(pl);
                    next.used = sh.used + p.area;
                    if (!pk.Reflow(next)) continue;
                    std::swap(sh, next);
                    return true;
                }
            }
        }
        for (size_t c = 0; c < cand.size() && c < relayMost; ++c) {
            DSheet& sh = s.sheets[cand[c]];
            order.clear();
            for (const DPlace& pl : sh.place) order.push_back(pl.piece);
            order.push_back(id);
            if (pk.Pack(order, sh.type, kRelayTries, rnd, packed)) {
                std::swap(sh, packed);
                return true;
            }
        }
        // Two sheets laid out anew together with the piece: the first as full as it gets
        // with the piece on it, the second with all that is left. For pieces fixed in
        // orientation only on large orders: on small ones the pairs cost more steps than
        // they won.
        if (p.turn || large) {
            roomy.clear();
            for (size_t i = 0; i < s.sheets.size(); ++i) roomy.push_back(static_cast<int32_t>(i));
            auto freeOf = [&](int32_t i) { return usable(s.sheets[i].type) - s.sheets[i].used; };
            const size_t most = std::min<size_t>(roomy.size(), kPairSheets);
            std::partial_sort(roomy.begin(), roomy.begin() + most, roomy.end(),
                              [&](int32_t a, int32_t b) { return freeOf(a) > freeOf(b); });
            roomy.resize(most);
            for (size_t a = 0; a < roomy.size(); ++a)
                for (size_t b = 0; b < roomy.size(); ++b) {
                    if (a == b) continue;
                    const int32_t i = roomy[a], j = roomy[b];
                    if (freeOf(i) + freeOf(j) + 1e-6 < p.area) continue;
                    if (!pk.FitsType(p, s.sheets[i].type)) continue;
                    order.clear();
                    for (const DPlace& pl : s.sheets[i].place) order.push_back(pl.piece);
                    for (const DPlace& pl : s.sheets[j].place) order.push_back(pl.piece);
                    order.push_back(id);
                    if (!pk.Pack(order, s.sheets[i].type, kPairTries, rnd, packed, id)) continue;
                    leftOut(order, packed, rest);
                    if (!pk.Pack(rest, s.sheets[j].type, kPairTries, rnd, second)) continue;
                    std::swap(s.sheets[i], packed);
                    std::swap(s.sheets[j], second);
                    return true;
                }
        }
        return false;
    };

    std::vector<int32_t> kept;
    auto evict = [&](DState& s, int32_t id, std::vector<int32_t>& queue) {
        const DPiece& p = world.pieces[id];
        int bestSheet = -1;
        double bestOut = p.area;
        DSheet bestLayout;
        const size_t n = s.sheets.size();
        const size_t first = n ? static_cast<size_t>(rnd.Draw(static_cast<int>(n))) : 0;
        int tried = 0;
        for (size_t j = 0; j < n && tried < kEvictSheets; ++j) {
            const size_t i = (first + j) % n;
            DSheet& sh = s.sheets[i];
            if (!pk.FitsType(p, sh.type) || rnd.Draw(3) == 0) continue;
            if (sh.used + p.area - usable(sh.type) >= bestOut) continue;  // cannot beat it
            ++tried;
            order.clear();
            order.push_back(id);
            for (const DPlace& pl : sh.place) order.push_back(pl.piece);
            if (!pk.Pack(order, sh.type, kEvictTries, rnd, packed, id)) continue;
            const double out = sh.used + p.area - packed.used;
            if (out < bestOut - 1e-9) {
                bestOut = out;
                bestSheet = static_cast<int>(i);
                bestLayout = packed;
            }
        }
        if (bestSheet < 0) return false;
        DSheet& sh = s.sheets[bestSheet];
        kept.clear();
        for (const DPlace& pl : bestLayout.place) kept.push_back(pl.piece);
        for (const DPlace& pl : sh.place)
            if (std::find(kept.begin(), kept.end(), pl.piece) == kept.end())
                queue.push_back(pl.piece);
        sh = std::move(bestLayout);
        return true;
    };

    auto ruin = [&](DState& s) {
        const int n = static_cast<int>(s.sheets.size());
        if (n == 0) return;
        const int count = std::min(n, 1 + rnd.Draw(3));
        for (int r = 0; r < count; ++r) {
            DSheet& sh = s.sheets[rnd.Draw(n)];
            if (sh.place.empty()) continue;
            const int kind = rnd.Draw(10);  // 0, 1: all; 2 … 5: a window; else: by draw
            const bool all = kind < 2;
            // A window around a random piece: the room taken out lies together, so it
            // joins into one large free rectangle.
            const DPlace& centre = sh.place[rnd.Draw(static_cast<int>(sh.place.size()))];
            const TRectR& u = types[sh.type].usable;
            const double wl = u.Length * (0.1 + 0.4 * Unit(rnd)), ww = u.Width * (0.1 + 0.4 * Unit(rnd));
            const double cx = centre.px + centre.l / 2, cy = centre.py + centre.w / 2;
            const bool window = kind >= 2 && kind < 6;
            bool any = false;
            for (size_t i = sh.place.size(); i-- > 0;) {
                if (window) {
                    const DPlace& pl = sh.place[i];
                    if (pl.px + pl.l < cx - wl / 2 || pl.px > cx + wl / 2 || pl.py + pl.w < cy - ww / 2 ||
                        pl.py > cy + ww / 2)
                        continue;
                } else if (!all && rnd.Draw(2) == 0 && (any || i > 0)) {
                    continue;
                }
                any = true;
                const int32_t id = sh.place[i].piece;
                s.pool.push_back(id);
                s.poolArea += world.pieces[id].area;
                pk.Remove(sh, i);
            }
            // The pieces left are laid out anew so that the room taken out joins into
            // larger free rectangles; otherwise the same pieces would go back into the
            // same holes.
            if (!sh.place.empty()) {
                bool relaid = false;
                if (rnd.Draw(4) == 0) {
                    order.clear();
                    for (const DPlace& pl : sh.place) order.push_back(pl.piece);
                    if (pk.Pack(order, sh.type, 6, rnd, packed)) {
                        std::swap(sh, packed);
                        relaid = true;
                    }
                }
                if (!relaid) pk.Reflow(sh);
            }
        }
    };

    auto recreate = [&](DState& s) {
        const int rule = rnd.Draw(3);
        auto key = [&](int32_t id) {
            const DPiece& p = world.pieces[id];
            return rule == 0 ? p.area : rule == 1 ? std::max(p.L, p.W) : p.L + p.W;
        };
        std::stable_sort(s.pool.begin(), s.pool.end(),
                         [&](int32_t a, int32_t b) { return key(a) > key(b); });
        for (size_t i = 0; i + 1 < s.pool.size(); ++i)
            if (rnd.Draw(20) == 0) std::swap(s.pool[i], s.pool[i + 1]);
        std::vector<int32_t> left, queue = s.pool;
        double leftArea = 0;
        int evictions = 0;
        for (size_t q = 0; q < queue.size(); ++q) {
            const int32_t id = queue[q];
            if (insert(s, id)) continue;
            // Make room: lay a sheet out anew with this piece first and as much of its own
            // as still fits, when what falls out is less area than the piece.
            if (evictions < 8 && evict(s, id, queue)) {
                ++evictions;
                continue;
            }
            left.push_back(id);
            leftArea += world.pieces[id].area;
        }
        s.pool = std::move(left);
        s.poolArea = leftArea;
        // Refills: a sheet is filled afresh from its own pieces and the pool, and taken
        // when that puts more area on it; what it leaves goes to the pool, which shrinks
        // by the gain.
        for (int r = 0; r < refills && !s.pool.empty() && !s.sheets.empty(); ++r) {
            DSheet& sh = s.sheets[rnd.Draw(static_cast<int>(s.sheets.size()))];
            order.clear();
            for (const DPlace& pl : sh.place) order.push_back(pl.piece);
            for (int32_t id : s.pool) order.push_back(id);
            if (!pk.Pack(order, sh.type, kRefillTries, rnd, packed, Packer::kAnyFirst)) continue;
            if (packed.used <= sh.used + 1e-6) continue;
            s.poolArea = leftOut(order, packed, s.pool);
            std::swap(sh, packed);
        }
    };

    // A pool that fits one sheet makes a complete scheme of the current count plus one.
    auto tryPoolSheet = [&](const DState& s) {
        if (s.pool.empty() || s.poolArea >= c.bestScore.leastUsed) return;
        if (static_cast<int32_t>(s.sheets.size()) + 1 > c.bestScore.sheets) return;
        countTypes(s);
        for (size_t t = types.size(); t-- > 0;) {  // smallest sheet type first
            if (typeUsed[t] >= types[t].stock) continue;
            if (!pk.Pack(s.pool, static_cast<int>(t), 8, rnd, packed)) continue;
            DState full = s;
            full.sheets.push_back(packed);
            full.pool.clear();
            full.poolArea = 0;
            const DScore sc = Score(full, types, prm.Priority, world.pieces);
            if (Better(sc, c.bestScore, prm.Priority)) {
                c.best = std::move(full);
                c.bestScore = sc;
                c.improved = true;
            }
            return;
        }
    };

    double meanArea = 0;
    for (const DPiece& p : world.pieces) meanArea += p.area;
    const double temperature = world.pieces.empty() ? 0 : 0.3 * meanArea / world.pieces.size();
    int64_t step = 0, since = 0;
    while (true) {
        if (IsEnd || p_Stop) break;
        if (steps >= 0 && step >= steps) break;
        if (limit > 0 && Elapsed() >= limit) {
            p_Stop = true;
            break;
        }
        ++step;
        saved = cur;
        ruin(cur);
        recreate(cur);
        const double before = saved.poolArea;
        double& h = history[step % kHistory];
        // Late acceptance, and now and then a worse pool by an annealing draw whose
        // temperature falls from a piece's mean area and rises again after each success.
        const double heat = temperature * std::pow(0.01, std::min(1.0, (step - since) / 3000.0));
        if (cur.poolArea <= before || cur.poolArea <= h ||
            cur.poolArea <= before - heat * std::log(1 - Unit(rnd))) {
            h = cur.poolArea;
        } else {
            std::swap(cur, saved);
            h = cur.poolArea;
        }
        if (cur.pool.empty()) {
            const DScore sc = Score(cur, types, prm.Priority, world.pieces);
            if (Better(sc, c.bestScore, prm.Priority)) {
                c.best = cur;
                c.bestScore = sc;
                c.improved = true;
            }
            int32_t seen = p_BestSheets;
            while (sc.sheets < seen && !p_BestSheets.compare_exchange_weak(seen, sc.sheets)) {
            }
            if (stopsAtBound && sc.sheets <= Bound.Sheets) {
                // In a timed run the bound ends every chain; a run of fixed steps lets each
                // chain end on its own so that the result does not depend on timing.
                if (steps < 0) p_Stop = true;
                break;
            }
            if (!dropEmptiest(cur)) break;
            std::fill(history.begin(), history.end(), cur.poolArea);
            since = step;
        } else {
            tryPoolSheet(cur);
        }
        if (reporter) Report(false);
    }
    c.steps = step;
}
