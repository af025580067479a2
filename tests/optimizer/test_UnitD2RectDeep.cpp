// The deep search and the lower bounds: bounds on hand-counted cases, the known optimum
// of perfectly cuttable instances reached and recognised, never worse than its start,
// and fixed-step runs that reproduce.

#include <gtest/gtest.h>

#include <functional>

#include "optimizer/UnitD2RectBound.h"
#include "optimizer/UnitD2RectDeep.h"
#include "test_UnitD2RectHelpers.h"

namespace {

TD2RPrm BasePrm(double kerf = 0, TEdge edg = {}) {
    TD2RPrm p;
    p.OptTime = 1;
    p.BladeWidth = kerf;
    p.Edg = edg;
    return p;
}

TEST(D2RLowerBound, CountsAreaWithKerfAndTrimsAndLargeParts) {
    struct Case {
        const char* what;
        TD2RRawArr raws;
        TD2REleArr eles;
        TD2RPrm prm;
        int32_t area, large, sheets;
        bool decisive;
        int64_t excluded;
    };
    const Case cases[] = {
        {"four quarters fill one sheet", MakeRaws({{1000, 1000}}), MakeEles({{500, 500, 4}}),
         BasePrm(), 1, 1, 1, true, 0},
        // 500 + 4 + 500 > 1000: with the kerf no two quarters share a sheet
        {"the kerf makes the quarters large parts", MakeRaws({{1000, 1000}}),
         MakeEles({{500, 500, 4}}), BasePrm(4), 2, 4, 4, true, 0},
        // usable 980 × 980 after trims of 10: 490 × 490 pieces still fill it exactly
        {"trims shrink the sheet", MakeRaws({{1000, 1000}}), MakeEles({{490, 490, 4}, {10, 10, 1}}),
         BasePrm(0, {10, 10, 10, 10}), 2, 0, 2, true, 0},
        {"parts over half the sheet each need their own", MakeRaws({{1000, 1000}}),
         MakeEles({{600, 600, 5}}), BasePrm(), 2, 5, 5, true, 0},
        // three 700 × 700 leave strips of 300 at most: the 400 × 400 pieces cannot join
        // them and need at least one more sheet
        {"small parts that cannot join the large ones", MakeRaws({{1000, 1000}}),
         MakeEles({{700, 700, 3}, {400, 400, 5}}), BasePrm(), 3, 4, 4, true, 0},
        {"a part larger than the sheet is left out", MakeRaws({{1000, 1000}}),
         MakeEles({{1200, 500, 2}, {500, 500, 2}}), BasePrm(), 1, 0, 1, true, 2},
        {"several sizes: counted on the largest, not decisive",
         MakeRaws({{1000, 1000}, {500, 500}}), MakeEles({{500, 500, 6}}), BasePrm(), 2, 0, 2, false,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TD2RBound b = D2RLowerBound(c.raws, c.eles, c.prm);
        EXPECT_EQ(b.Area, c.area);
        if (c.decisive) {
            EXPECT_GE(b.Large, c.large);
            EXPECT_LE(b.Large, c.sheets);
        }
        EXPECT_EQ(b.Sheets, c.sheets);
        EXPECT_EQ(b.Decisive, c.decisive);
        EXPECT_EQ(b.Excluded, c.excluded);
    }
}

TEST(D2RDeep, ReachesTheKnownOptimumAndStopsThere) {
    // Five parts larger than half the sheet each need a sheet of their own (the bound
    // says 5), and beside each of them nine 500 × 400 pieces fit, a kerf apart: six in
    // the strip on the right, three turned below. So 5 sheets is the optimum.
    struct Case {
        double kerf;
        int32_t small;
        uint64_t seed;
    };
    for (const Case& c : {Case{0, 45, 11}, Case{4, 45, 12}, Case{4, 40, 13}}) {
        SCOPED_TRACE("kerf " + std::to_string(c.kerf) + ", seed " + std::to_string(c.seed));
        const TD2RRawArr raws = MakeRaws({{2440, 1220}});
        const TD2REleArr eles = MakeEles({{1300, 700, 5, 0}, {500, 400, c.small, 1}});
        TD2RPrm prm = BasePrm(c.kerf);
        TD2RDeepOptions opt;
        opt.TimeLimit = 0;
        opt.Iterations = 50000;
        opt.Seed = c.seed;
        opt.Threads = 1;
        TD2RDeep deep(raws, prm, eles, opt);
        ASSERT_EQ(deep.Bound.Sheets, 5);
        deep.Run();
        EXPECT_EQ(TD2RDeep::SheetCount(deep.BestSchame), 5);
        EXPECT_TRUE(deep.BoundReached);
        EXPECT_LT(deep.StepsDone, opt.Iterations);  // it stopped at the bound, not at the end
    }
}

// Every placement of a scheme, as one comparable list.
std::vector<double> Signature(const TD2RSchame& s) {
    std::vector<double> out;
    for (const TD2RGene& g : s) {
        out.push_back(g.RawIndex);
        out.push_back(g.RawCount);
        for (const TRectEle& e : g.EleList)
            out.insert(out.end(), {double(e.XH), e.px, e.py, e.Length, e.Width});
    }
    return out;
}

TEST(D2RDeep, FixedStepsReproduceAndNeverLoseToTheStart) {
    const TD2RRawArr raws = MakeRaws({{2440, 1220}});
    const TD2REleArr eles = MakeEles({{720, 560, 17, 0},
                                      {568, 560, 9, 1},
                                      {716, 296, 13, 0},
                                      {450, 380, 11, 1},
                                      {900, 330, 7, 1},
                                      {1196, 560, 3, 0},
                                      {310, 270, 19, 1}});
    TD2RPrm prm = BasePrm(4, {10, 10, 10, 10});
    prm.OptTime = 3;
    for (int threads : {1, 2}) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        TD2RDeepOptions opt;
        opt.TimeLimit = 0;
        opt.Iterations = 400;
        opt.Seed = 21;
        opt.Threads = threads;
        TD2RDeep a(raws, prm, eles, opt), b(raws, prm, eles, opt);
        a.Run();
        b.Run();
        ASSERT_FALSE(a.BestSchame.empty());
        EXPECT_EQ(Signature(a.BestSchame), Signature(b.BestSchame));
        TD2Rect standard(raws, prm, eles, 21, threads);
        standard.Run();
        EXPECT_LE(TD2RDeep::SheetCount(a.BestSchame), TD2RDeep::SheetCount(standard.BestSchame));
        EXPECT_GE(TD2RDeep::SheetCount(a.BestSchame), a.Bound.Sheets);
    }
}

TEST(D2RDeep, StopRequestKeepsTheBestSoFar) {
    // The bound says 4 and the optimum is 5: the search runs until it is stopped.
    const TD2RRawArr raws = MakeRaws({{1000, 1000}});
    const TD2REleArr eles = MakeEles({{700, 700, 3}, {400, 400, 5}});
    const TD2RPrm prm = BasePrm();
    TD2RDeepOptions opt;
    opt.TimeLimit = 30;
    opt.Seed = 3;
    opt.Threads = 1;
    TD2RDeep deep(raws, prm, eles, opt);
    struct StopAfter : TD2RListener {
        TD2RDeep* deep;
        int reports = 0;
        int done = 0;
        void OnDeepProgress(int32_t, int32_t, double) override {
            if (++reports == 2) deep->IsEnd = true;
        }
        void OnDone(const TD2RSchame& s) override { done = static_cast<int>(s.size()); }
    } listener;
    listener.deep = &deep;
    deep.SetListener(&listener);
    deep.Start();
    deep.Wait();
    EXPECT_GE(listener.reports, 2);
    EXPECT_GT(listener.done, 0);
    EXPECT_FALSE(deep.BestSchame.empty());
}

}  // namespace
