#pragma once
// TD2Rect, the cutting optimizer: lays the parts of one raw material out on raw
// sheets by recursive guillotine cuts and searches by repeated randomised construction
// over generations on its own thread. Lengths are millimetres, areas mm².
//
// A search owns one random generator, seeded once (from std::random_device, or from an
// explicit seed so that a run can be reproduced). Each generation draws its 30 part
// orders and one generator seed per construction from it in sequence; the constructions
// are then built on several threads and ranked in population order, so a given seed
// gives the same result whatever the thread count.

#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "optimizer/UnitD2RectTypes.h"

// Message numbers the optimization window uses for the listener's three reports.
constexpr int WM_D2R_DONE = 1133;  // the search ended; the best scheme is ready
constexpr int WM_D2R_STEP = 1141;  // construction k (1 … 30) of a generation finished
constexpr int WM_D2R_GEN = 1143;   // a generation was ranked; text "87.53%:4"

// Receives the progress of a search. Called synchronously from the search thread: the
// search waits until each call returns. OnDone's scheme is valid only during the call.
class TD2RListener {
  public:
    virtual ~TD2RListener() = default;
    virtual void OnStep(int /*k*/) {}
    virtual void OnGeneration(const QString& /*text*/) {}
    virtual void OnDone(const TD2RSchame& /*best*/) {}
    // The deep search's improvement phase: sheets of the best scheme so far, the lower
    // bound on sheets and the seconds since the run began.
    virtual void OnDeepProgress(int32_t /*sheets*/, int32_t /*bound*/, double /*seconds*/) {}
};

// Uniform integer draws from xoshiro256** (seeded through splitmix64): a small, fast
// generator of good statistical quality, cheap enough for the hot path.
class TD2RRandom {
  public:
    explicit TD2RRandom(uint64_t seed = 0) { Seed(seed); }
    void Seed(uint64_t seed);
    // Uniform integer in 0 … n − 1 (n ≥ 1), without modulo bias.
    int Draw(int n);
    uint64_t Next() {
        const uint64_t result = Rotl(s_[1] * 5, 7) * 9;
        const uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = Rotl(s_[3], 45);
        return result;
    }

  private:
    static uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    uint64_t s_[4];
};

// A part type as the construction sees it: sizes, pieces still to place and where it
// came from. Names stay in the part list and are copied only into kept layouts.
struct TD2RWorkEle {
    double Length = 0;
    double Width = 0;
    int32_t Count = 0;
    bool Turnable = false;  // Rotation = 1
    int32_t XH = 0;
    int32_t Src = 0;  // index into the caller's part list
};

// One part placed during a trial fill; eIndex is its position in the construction's
// part order. Becomes a TRectEle (with name) only when its layout is kept.
struct TD2RPlaced {
    int32_t eIndex = 0;
    double px = 0;
    double py = 0;
    double Length = 0;
    double Width = 0;
};

// A trial layout: placed parts, leftover rectangles and part area of one sheet.
struct TD2RTrial {
    std::vector<TD2RPlaced> EleList;
    TRectArr RectArr;
    double EleArea = 0;
    double maxBin = 0;
    void Clear() {
        EleList.clear();
        RectArr.clear();
        EleArea = 0;
        maxBin = 0;
    }
};

// Scratch memory of one construction, reused from one construction to the next so the
// hot path (part choice, placement, trial fills) allocates nothing.
struct TD2RWork {
    TD2RRandom rnd;
    std::vector<TD2RWorkEle> ele;                   // working part list (Count = pieces left)
    std::vector<int32_t> idx;                       // part index list: parts with pieces left
    std::vector<int32_t> rawStock;                  // working sheet stock per raw type
    std::vector<std::pair<int32_t, int32_t>> cand;  // (Prio, raw index) candidates
    std::vector<int32_t> prioPos;                   // positions of Prio = 1 candidates
    // trial fill state
    std::vector<int32_t> trialCount;  // pieces left per part during a trial
    std::vector<int32_t> trialIdx;    // part index list during a trial
    // fit data of trialIdx, position by position, so the part walk reads memory in order
    std::vector<double> trialA, trialB;
    std::vector<uint8_t> trialTurn;
    TD2RTrial trial;
    TD2RTrial best;
    std::vector<TRectR> stack;                   // free rectangles still to fill
    std::vector<std::pair<int32_t, bool>> fits;  // collect-all candidates
    std::vector<int32_t> occ;                    // occurrences per part in one layout
    // Fit test data per part position: extents less the tolerance (a, b; the tolerance
    // applies to turnable parts only) and whether the part may turn.
    std::vector<double> fitA, fitB;
    std::vector<uint8_t> fitTurn;
    // Quick rejection for one sheet: the parts that may still be placed, as a staircase
    // of (smaller, larger) extents of turnable parts and (a, b) of fixed ones. A free
    // rectangle that no staircase step fits holds none of them, so the walk is skipped.
    std::vector<std::pair<double, double>> stairBuf;
    std::vector<double> turnS, turnGMin, fixA, fixBMin;
    // Trial start state of the current sheet, copied wholesale at every trial.
    std::vector<int32_t> startCount;
    std::vector<double> startA, startB;
    std::vector<uint8_t> startTurn;
};

// Result of PickEle.
struct TD2RPick {
    int32_t eleIndex = -1;  // index into the part list, −1 when none fits
    int32_t listPos = -1;   // position in the part index list
    bool turned = false;
};

// The optimizer of one raw material. Holds private copies of the sheet list (sorted by
// area, largest first), the part list (reordered between constructions) and the run
// parameters, and the best scheme found so far with its figures.
class TD2Rect {
  public:
    // Copies the three inputs and sorts the raw list by area. threads = 0 uses every
    // core; 1 builds the constructions one after the other on the search thread.
    TD2Rect(const TD2RRawArr& raws, const TD2RPrm& prm, const TD2REleArr& eles,
            std::optional<uint64_t> seed = std::nullopt, int threads = 0);
    ~TD2Rect();  // stops a running search and waits for it (see Start)
    TD2Rect(const TD2Rect&) = delete;
    TD2Rect& operator=(const TD2Rect&) = delete;

    void SetListener(TD2RListener* listener) { p_Listener = listener; }
    // Searches on its own thread; the listener hears every step, generation and the end.
    // When the listener's calls are served by another thread (a window forwarding them
    // with blocking calls), that thread must not Wait() or destroy the object while the
    // search runs, or the two would wait for each other: set IsEnd and let OnDone
    // arrive. Destroying the object inside OnDone itself is allowed.
    void Start();
    void Wait();
    // Searches on the calling thread (the listener is called the same way).
    void Run();

    // The search: generations of 30 constructions, ranking, post-pass.
    void DoSearch();
    // Reorders eleArr in place by one of five keys (or keeps it), draw(7).
    void ShuffleEle(TD2RRandom& rnd);
    // Ranks the schemes of one generation against the best so far.
    void SelectBest(const TD2RPop& pop);
    // Moves layouts of BestSchame to smaller sheet types that still hold them.
    void ShrinkRaw();
    static void SortRawByArea(TD2RRawArr& raws);
    // "87.53%:4": best utilisation and number of layouts.
    QString ProgressText() const;

    // Construction of one scheme from rawArr and the current order of eleArr.
    TD2RSchame BuildSchame(TD2RWork& w);
    // The same with a part order given as indices into the part list as it was passed in.
    TD2RSchame BuildSchame(TD2RWork& w, const std::vector<int32_t>& order);
    // Chooses a candidate; returns its position in w.cand.
    int PickRaw(TD2RWork& w);
    // Best of 20 trial fills of an empty sheet of raw type r into w.best. w.ele and
    // w.idx are not changed.
    void FillRaw(TD2RWork& w, int r);
    // Places a part in rect and fills the rest of it, on the trial state of w.
    void LayRect(TD2RWork& w, const TRectR& rect);
    TD2RPick PickEle(TD2RWork& w, const TRectR& rect);
    // Sheets the layout w.best serves, given the working stock of raw type r.
    int32_t GetRepeatCount(TD2RWork& w, int r);
    // Starts a trial fill: every remaining piece may be placed, the trial layout is empty.
    static void StartTrial(TD2RWork& w);
    // Loads a part order (indices into the part list as it was passed in) into w.
    void PrepareWork(TD2RWork& w, const std::vector<int32_t>& order);

    // Constructions built and ranked so far (for statistics).
    int64_t ConstructionCount() const { return p_Constructions; }

    TD2RRawArr rawArr;
    TD2REleArr eleArr;
    TD2RPrm prm;
    int32_t alen = -1;
    int32_t elen = -1;
    std::atomic<bool> IsEnd{false};
    TD2RSchame BestSchame;
    double BestUti = 0;
    double BestBinRect = 0;
    int32_t minCate = 9999999;
    double lessPrice = 99999999.0;

  private:
    void RunGeneration();
    void BuildRange(int worker);
    void SetLayFields(TD2RGene& g, TD2RWork& w, int r) const;
    static void PrepareSheet(TD2RWork& w);

    TD2REleArr p_Base;             // the caller's part list, never reordered
    std::vector<int32_t> p_Order;  // eleArr as indices into p_Base
    TD2RRandom p_Rnd;              // the search's generator
    int p_Threads = 1;
    TD2RListener* p_Listener = nullptr;
    std::thread p_Thread;
    std::atomic<bool> p_InDone{false};  // the search thread is inside OnDone
    std::mutex p_StartGate;
    int64_t p_Constructions = 0;
    std::vector<std::unique_ptr<TD2RWork>> p_Works;  // one per building thread
    // one generation's constructions
    std::vector<std::vector<int32_t>> p_GenOrder;
    std::vector<uint64_t> p_GenSeed;
    std::vector<TD2RSchame> p_GenResult;
    struct GenSync;
    std::unique_ptr<GenSync> p_Sync;
};
