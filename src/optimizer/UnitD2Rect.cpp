// The search: generations of 30 constructions, ranking under the chosen priority, the
// post-pass that moves layouts to smaller sheets, and the thread that runs it all.

#include "optimizer/UnitD2Rect.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <numeric>
#include <random>

#include "common/NumberFormat.h"

namespace {
constexpr int kPopulation = 30;  // constructions per generation
}

// Hand-over between the search thread and the threads building one generation.
struct TD2Rect::GenSync {
    std::mutex mutex;
    std::condition_variable changed;
    std::atomic<int> next{0};        // next construction to claim
    std::atomic<bool> abort{false};  // the search thread stopped accepting results
    int running = 0;                 // building threads still alive
    bool done[kPopulation] = {};
};

TD2Rect::TD2Rect(const TD2RRawArr& raws, const TD2RPrm& prm_, const TD2REleArr& eles,
                 std::optional<uint64_t> seed, int threads)
    : rawArr(raws), eleArr(eles), prm(prm_), p_Base(eles), p_Sync(std::make_unique<GenSync>()) {
    SortRawByArea(rawArr);
    alen = static_cast<int32_t>(rawArr.size()) - 1;
    elen = static_cast<int32_t>(eleArr.size()) - 1;
    p_Order.resize(eles.size());
    std::iota(p_Order.begin(), p_Order.end(), 0);
    if (seed) {
        p_Rnd.Seed(*seed);
    } else {
        std::random_device device;
        p_Rnd.Seed((static_cast<uint64_t>(device()) << 32) ^ device());
    }
    if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    p_Threads = std::min(threads, kPopulation);
}

TD2Rect::~TD2Rect() {
    IsEnd = true;
    if (!p_Thread.joinable()) return;
    // Inside OnDone the search thread touches nothing of this object any more once the
    // call returns, so a listener may delete it there; joining would wait for itself.
    if (p_InDone || p_Thread.get_id() == std::this_thread::get_id())
        p_Thread.detach();
    else
        p_Thread.join();
}

void TD2Rect::Start() {
    Wait();
    // Cleared here, before the thread exists, so a stop requested right after Start()
    // cannot be lost.
    IsEnd = false;
    p_InDone = false;
    // The search thread waits until p_Thread is stored: a search that ends at once
    // could otherwise have its listener free this object while Start() still writes it.
    std::unique_lock gate(p_StartGate);
    p_Thread = std::thread([this] {
        { std::lock_guard passed(p_StartGate); }
        DoSearch();
        p_InDone = true;
        if (p_Listener) p_Listener->OnDone(BestSchame);
    });
}

void TD2Rect::Wait() {
    if (p_Thread.joinable()) p_Thread.join();
}

void TD2Rect::Run() {
    Wait();
    IsEnd = false;
    DoSearch();
    if (p_Listener) p_Listener->OnDone(BestSchame);
}

void TD2Rect::SortRawByArea(TD2RRawArr& raws) {
    std::stable_sort(raws.begin(), raws.end(), [](const TD2RRaw& a, const TD2RRaw& b) {
        return a.Length * a.Width > b.Length * b.Width;
    });
}

QString TD2Rect::ProgressText() const {
    return kelm::FormatPattern(BestUti * 100.0, "0.00") + "%:" + kelm::FormatInt(minCate + 1LL);
}

void TD2Rect::ShuffleEle(TD2RRandom& rnd) {
    const int draw = rnd.Draw(7);
    if (draw >= 5) return;  // the order left by the previous construction stays
    auto key = [draw](const TD2REle& e) {
        switch (draw) {
            case 0:
                return e.Length * e.Width;
            case 1:
                return e.Length + e.Width;
            case 2:
                return e.Length;
            case 3:
                return e.Width;
            default:
                return static_cast<double>(e.Count);
        }
    };
    std::stable_sort(p_Order.begin(), p_Order.end(),
                     [&](int32_t a, int32_t b) { return key(p_Base[a]) > key(p_Base[b]); });
    for (size_t i = 0; i < p_Order.size(); ++i) eleArr[i] = p_Base[p_Order[i]];
}

void TD2Rect::DoSearch() {
    alen = static_cast<int32_t>(rawArr.size()) - 1;
    elen = static_cast<int32_t>(eleArr.size()) - 1;
    if (alen < 0 || elen < 0) return;
    BestUti = 0;
    minCate = 9999999;
    lessPrice = 99999999.0;
    BestBinRect = 0;
    BestSchame.clear();

    p_GenOrder.resize(kPopulation);
    p_GenSeed.resize(kPopulation);
    p_GenResult.resize(kPopulation);
    while (static_cast<int>(p_Works.size()) < p_Threads)
        p_Works.push_back(std::make_unique<TD2RWork>());

    for (int gen = 1; gen <= prm.OptTime; ++gen) {
        if (IsEnd) break;
        RunGeneration();
    }
    if (prm.Priority == TD2RPriority::Uti) ShrinkRaw();
}

void TD2Rect::RunGeneration() {
    // The part orders and generator seeds are drawn in sequence first, so every
    // construction is fixed before any of them is built, whatever the thread count.
    for (int k = 0; k < kPopulation; ++k) {
        ShuffleEle(p_Rnd);
        p_GenOrder[k] = p_Order;
        p_GenSeed[k] = p_Rnd.Next();
        p_GenResult[k].clear();
    }

    int made = 0;  // constructions 1 … made are ranked
    if (p_Threads <= 1) {
        TD2RWork& w = *p_Works[0];
        for (int k = 0; k < kPopulation; ++k) {
            if (IsEnd) break;
            w.rnd.Seed(p_GenSeed[k]);
            p_GenResult[k] = BuildSchame(w, p_GenOrder[k]);
            made = k + 1;
            if (p_Listener) p_Listener->OnStep(k + 1);
        }
    } else {
        GenSync& s = *p_Sync;
        s.next = 0;
        s.abort = false;
        std::fill(std::begin(s.done), std::end(s.done), false);
        s.running = p_Threads;
        std::vector<std::thread> builders;
        builders.reserve(p_Threads);
        for (int t = 0; t < p_Threads; ++t) builders.emplace_back([this, t] { BuildRange(t); });
        // Results are accepted in construction order; a stop seen before construction k
        // is accepted leaves 1 … k − 1 to be ranked, as a one-by-one search would.
        for (int k = 0; k < kPopulation; ++k) {
            if (IsEnd) break;
            bool ready;
            {
                std::unique_lock lock(s.mutex);
                s.changed.wait(lock, [&] { return s.done[k] || s.running == 0; });
                ready = s.done[k];
            }
            if (!ready) break;  // the builders saw the stop before they got to k
            made = k + 1;
            if (p_Listener) p_Listener->OnStep(k + 1);
        }
        s.abort = true;
        for (std::thread& b : builders) b.join();
    }
    p_Constructions += made;

    TD2RPop pop;
    for (int k = 0; k < made; ++k)
        if (!p_GenResult[k].empty()) pop.push_back(std::move(p_GenResult[k]));
    SelectBest(pop);
    if (p_Listener) p_Listener->OnGeneration(ProgressText());
}

void TD2Rect::BuildRange(int worker) {
    GenSync& s = *p_Sync;
    TD2RWork& w = *p_Works[worker];
    while (!IsEnd && !s.abort) {
        const int k = s.next.fetch_add(1);
        if (k >= kPopulation) break;
        w.rnd.Seed(p_GenSeed[k]);
        TD2RSchame built = BuildSchame(w, p_GenOrder[k]);
        {
            std::lock_guard lock(s.mutex);
            p_GenResult[k] = std::move(built);
            s.done[k] = true;
        }
        s.changed.notify_all();
    }
    {
        std::lock_guard lock(s.mutex);
        --s.running;
    }
    s.changed.notify_all();
}

void TD2Rect::SelectBest(const TD2RPop& pop) {
    int winner = -1;
    for (size_t i = 0; i < pop.size(); ++i) {
        const TD2RSchame& sc = pop[i];
        if (sc.empty()) continue;  // not a scheme: nothing was cut
        const int32_t n = static_cast<int32_t>(sc.size()) - 1;
        double rawArea = 0, cost = 0, partArea = 0, leftSum = 0;
        for (const TD2RGene& g : sc) {
            const double area = g.RawLength * g.RawWidth * g.RawCount;
            rawArea += area;
            cost += g.RawPrice * area / 1000000.0;
            partArea += g.RawCount * g.EleArea;
            leftSum += g.maxBin;
        }
        const double uti = rawArea > 0 ? partArea / rawArea : 0;
        bool replace = false;
        switch (prm.Priority) {
            case TD2RPriority::Uti:
                replace =
                    uti > BestUti || (uti == BestUti && (n < minCate || leftSum > BestBinRect));
                break;
            case TD2RPriority::Cut:
                replace = n < minCate;
                break;
            case TD2RPriority::Price:
                replace = cost < lessPrice || (cost == lessPrice && uti > BestUti);
                break;
        }
        if (!replace) continue;
        BestUti = uti;
        minCate = n;
        BestBinRect = leftSum;
        lessPrice = cost;
        winner = static_cast<int>(i);
    }
    if (winner >= 0) BestSchame = pop[winner];
}

void TD2Rect::ShrinkRaw() {
    std::vector<int64_t> stock(rawArr.size());
    for (size_t i = 0; i < rawArr.size(); ++i) stock[i] = rawArr[i].Count;
    for (const TD2RGene& g : BestSchame)
        if (g.RawIndex >= 0 && g.RawIndex < static_cast<int32_t>(stock.size()))
            stock[g.RawIndex] -= g.RawCount;

    for (size_t p = 0; p < rawArr.size(); ++p) {
        const TD2RRaw& to = rawArr[p];
        const size_t m = BestSchame.size();
        for (size_t i = 0; i < m && stock[p] > 0; ++i) {
            if (BestSchame[i].RawIndex == static_cast<int32_t>(p) || BestSchame[i].EleList.empty())
                continue;
            double x = 0, y = 0;
            for (const TRectEle& e : BestSchame[i].EleList) {
                x = std::max(x, e.px + e.Length);
                y = std::max(y, e.py + e.Width);
            }
            x += prm.Edg.Right;
            y += prm.Edg.Bottom;
            const TD2RGene& g = BestSchame[i];
            if (!(to.Length <= g.RawLength && to.Width <= g.RawWidth && to.Length >= x &&
                  to.Width >= y))
                continue;
            std::optional<TD2RGene> rest;
            int32_t moved = g.RawCount;
            if (stock[p] < g.RawCount) {
                rest = g;  // the sheets the smaller type has no stock for stay where they were
                rest->RawCount = g.RawCount - static_cast<int32_t>(stock[p]);
                moved = static_cast<int32_t>(stock[p]);
            }
            TD2RGene& mv = BestSchame[i];
            mv.RawIndex = static_cast<int32_t>(p);
            mv.RawDbID = to.DbID;
            mv.RawName = to.Name;
            mv.RawLength = to.Length;
            mv.RawWidth = to.Width;
            mv.RawPrice = to.Price;
            mv.Offcut = to.Offcut;
            mv.RawCount = moved;
            stock[p] -= moved;
            for (TRectR& r : mv.RectArr) {
                if (r.px >= to.Length || r.py > to.Width) {
                    r = TRectR{0, 0, 0, 0};
                    continue;
                }
                if (r.px + r.Length > to.Length) r.Length = to.Length - r.px;
                if (r.py + r.Width > to.Width) r.Width = to.Width - r.py;
            }
            if (rest) BestSchame.push_back(std::move(*rest));
        }
    }
}
