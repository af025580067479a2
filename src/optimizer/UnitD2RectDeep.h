#pragma once
// TD2RDeep, the deep search: starts from the best scheme of the generational search
// (TD2Rect, run as it is) and keeps improving it until a time limit, a number of
// improvement steps, a stop request, or the lower bound on sheets is reached. The best
// scheme so far is always kept, so a stop at any moment hands over a complete scheme.
//
// The improvement is a goal-driven ruin and recreate: with a complete scheme of n
// sheets in hand, the emptiest sheet is taken away and its pieces wait in a pool; each
// step takes pieces out of a few sheets (ruin: all of a sheet, a window of neighbouring
// pieces, or pieces by draw; the pieces left stay where they lie and the room taken out
// joins into the largest free rectangles their guillotine cuts allow) and puts the pool
// back into the sheets (recreate: into the smallest free rectangle that holds a piece,
// else by laying a part of a sheet, a whole sheet or two roomy sheets together out anew
// with the extra piece, else by making room on a sheet for it when less area falls out;
// on large orders sheets are also filled afresh from their pieces and the pool when that
// puts more area on them). A step is kept when the pool's area does not grow beyond what
// late acceptance allows. An empty pool is a scheme of n − 1 sheets; then the next
// emptiest sheet goes.
// While the pool is not empty, a pool that fits one sheet gives a scheme of n sheets
// whose least-used sheet is the pool: among schemes of equal sheet count the one whose
// least-used sheet is emptiest (the largest reusable offcut) is preferred.
//
// Every layout keeps the construction's rules: guillotine cuts, kerf, trims, rotation only
// for turnable parts, the size tolerance, the cut directions of the lay style, sheet
// stock. Sheets keep their type; layouts are compared under the run's priority.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>

#include "optimizer/UnitD2Rect.h"
#include "optimizer/UnitD2RectBound.h"

struct TD2RDeepOptions {
    double TimeLimit = 10;   // seconds for the whole run, the first search included; 0: none
    int64_t Iterations = 0;  // > 0: improvement steps in all (split over the threads); the
                             // same seed, steps and threads give the same scheme
    std::optional<uint64_t> Seed;
    int Threads = 0;  // 0: every core
};

class TD2RDeep {
  public:
    // Copies the inputs; the raw list is sorted as TD2Rect sorts it, so RawIndex values
    // of the result index rawArr.
    TD2RDeep(const TD2RRawArr& raws, const TD2RPrm& prm, const TD2REleArr& eles,
             const TD2RDeepOptions& options);
    ~TD2RDeep();  // stops a running search and waits for it
    TD2RDeep(const TD2RDeep&) = delete;
    TD2RDeep& operator=(const TD2RDeep&) = delete;

    // The listener hears the first search's steps and generations, the improvement's
    // progress (OnDeepProgress) and the end, all from the search thread.
    void SetListener(TD2RListener* listener) { p_Listener = listener; }
    // Searches on its own thread (same rules as TD2Rect::Start).
    void Start();
    void Wait();
    // Searches on the calling thread.
    void Run();

    const TD2RDeepOptions& Options() const { return p_Options; }

    // Sheets of a scheme (sum of RawCount).
    static int32_t SheetCount(const TD2RSchame& s);

    TD2RRawArr rawArr;
    TD2REleArr eleArr;
    TD2RPrm prm;
    std::atomic<bool> IsEnd{false};
    TD2RSchame BestSchame;      // the result
    TD2RBound Bound;            // lower bounds of the part list
    bool BoundReached = false;  // the search stopped because the bound was reached
    int64_t StepsDone = 0;      // improvement steps made, all threads
    int64_t Constructions = 0;  // constructions of the first search
    double StartSeconds = 0;    // time of the first search

  private:
    struct Chain;
    struct World;
    void DoSearch();
    // steps < 0: until time, bound or stop; the reporter chain tells the listener.
    void RunChain(Chain& c, const World& world, int64_t steps, bool reporter);
    bool AtBound(const TD2RSchame& s) const;
    double Elapsed() const;
    void Report(bool force);

    TD2RDeepOptions p_Options;
    TD2RListener* p_Listener = nullptr;
    std::thread p_Thread;
    std::atomic<bool> p_InDone{false};
    std::mutex p_StartGate;
    std::chrono::steady_clock::time_point p_Begin;
    std::atomic<bool> p_Stop{false};       // every chain stops (time, bound, IsEnd)
    std::atomic<int32_t> p_BestSheets{0};  // best sheet count over all chains
    double p_LastReport = -1;
    int32_t p_LastSheets = -1;
};
