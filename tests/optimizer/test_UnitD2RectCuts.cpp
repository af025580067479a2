// Cut sequence: a hand-checked layout with its exact cuts, and replay over optimizer
// results of every cutting style: the cuts, made one after the other on an empty sheet,
// leave exactly the layout's parts and leftovers (plus trims and kerf slivers).

#include <gtest/gtest.h>

#include <cmath>

#include "optimizer/UnitD2RectCuts.h"
#include "test_UnitD2RectHelpers.h"

namespace {

bool Same(const TRectR& a, const TRectR& b) {
    const double e = 1e-6;
    return std::abs(a.px - b.px) < e && std::abs(a.py - b.py) < e &&
           std::abs(a.Length - b.Length) < e && std::abs(a.Width - b.Width) < e;
}

TRectEle Part(double x, double y, double l, double w) {
    TRectEle e;
    e.XH = 1;
    e.px = x;
    e.py = y;
    e.Length = l;
    e.Width = w;
    return e;
}

TD2RGene Sheet(double l, double w) {
    TD2RGene g;
    g.RawLength = l;
    g.RawWidth = w;
    g.RawCount = 1;
    return g;
}

// Every part and every leftover of at least keep comes out of the replay exactly once;
// whatever else is left lies outside all of them (trims, kerf slivers, small leftovers).
void ExpectReplayGivesLayout(const TD2RGene& g, double kerf, const std::string& where,
                             TBin keep = TBin{0, 0}) {
    SCOPED_TRACE(where);
    const TD2RCutPlan plan = CutSequence(g, kerf, keep);
    ASSERT_TRUE(plan.Guillotine) << plan.Problem.toStdString();
    const TRectArr pieces = ReplayCuts(g.RawLength, g.RawWidth, kerf, plan.Cuts);
    ASSERT_FALSE(pieces.empty()) << "a cut did not cross exactly one piece";
    std::vector<TRectR> wanted;
    for (const TRectEle& e : g.EleList) wanted.push_back(TRectR{e.px, e.py, e.Length, e.Width});
    for (const TRectR& r : g.RectArr)
        if (r.Length > 0 && r.Width > 0 && r.Length >= keep.Length && r.Width >= keep.Width)
            wanted.push_back(r);
    std::vector<int> found(pieces.size(), 0);
    for (const TRectR& w : wanted) {
        int hits = 0;
        for (size_t i = 0; i < pieces.size(); ++i)
            if (Same(pieces[i], w)) ++hits, ++found[i];
        EXPECT_EQ(hits, 1) << "piece at " << w.px << "," << w.py << " " << w.Length << "x"
                           << w.Width;
    }
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (found[i]) continue;
        for (const TRectR& w : wanted) {
            const bool overlap = pieces[i].px < w.px + w.Length - 1e-6 &&
                                 w.px < pieces[i].px + pieces[i].Length - 1e-6 &&
                                 pieces[i].py < w.py + w.Width - 1e-6 &&
                                 w.py < pieces[i].py + pieces[i].Width - 1e-6;
            EXPECT_FALSE(overlap) << "waste piece overlaps a part";
        }
    }
    double total = 0;
    for (size_t i = 0; i < plan.Cuts.size(); ++i) {
        EXPECT_EQ(plan.Cuts[i].Step, static_cast<int>(i) + 1);
        EXPECT_GE(plan.Cuts[i].Fence, 0);
        total += plan.Cuts[i].Length;
    }
    EXPECT_NEAR(plan.TotalLength, total, 1e-6);
}

TEST(CutSequence, TwoStripsGiveRipThenCrossCutsWithFenceMeasurements) {
    // One strip 200 high with two parts and a leftover, the rest of the sheet left over.
    TD2RGene g = Sheet(1000, 500);
    g.EleList = {Part(0, 0, 300, 200), Part(304, 0, 400, 200)};
    g.RectArr = {TRectR{708, 0, 292, 200}, TRectR{0, 204, 1000, 296}};
    const TD2RCutPlan plan = CutSequence(g, 4);
    ASSERT_TRUE(plan.Guillotine);
    ASSERT_EQ(plan.Cuts.size(), 3u);
    struct Expect {
        bool horizontal;
        int level;
        double fence, length, x, y;
    } expected[] = {{true, 0, 200, 1000, 0, 200}, {false, 1, 300, 200, 300, 0},
                    {false, 1, 400, 200, 704, 0}};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(plan.Cuts[i].Horizontal, expected[i].horizontal);
        EXPECT_EQ(plan.Cuts[i].Level, expected[i].level);
        EXPECT_DOUBLE_EQ(plan.Cuts[i].Fence, expected[i].fence);
        EXPECT_DOUBLE_EQ(plan.Cuts[i].Length, expected[i].length);
        EXPECT_DOUBLE_EQ(plan.Cuts[i].px, expected[i].x);
        EXPECT_DOUBLE_EQ(plan.Cuts[i].py, expected[i].y);
    }
    EXPECT_DOUBLE_EQ(plan.TotalLength, 1400);
    ExpectReplayGivesLayout(g, 4, "two strips");
}

TEST(CutSequence, TrimsComeFirstAndCutTheWholeSheet) {
    // Trims of 10 on top and left, 6 right and bottom; one part filling the rest.
    TD2RGene g = Sheet(1000, 500);
    g.EleList = {Part(10, 10, 984, 484)};
    const TD2RCutPlan plan = CutSequence(g, 4);
    ASSERT_TRUE(plan.Guillotine);
    ASSERT_EQ(plan.Cuts.size(), 4u);
    EXPECT_TRUE(plan.Cuts[0].Horizontal);
    EXPECT_DOUBLE_EQ(plan.Cuts[0].py, 6);  // kerf 6 … 10 leaves the part's top edge
    EXPECT_DOUBLE_EQ(plan.Cuts[0].Length, 1000);
    EXPECT_DOUBLE_EQ(plan.Cuts[1].py, 494);
    EXPECT_DOUBLE_EQ(plan.Cuts[1].Fence, 484);
    EXPECT_FALSE(plan.Cuts[2].Horizontal);
    EXPECT_DOUBLE_EQ(plan.Cuts[2].Length, 484);
    ExpectReplayGivesLayout(g, 4, "trims");
}

TEST(CutSequence, SmallLeftoversAreWasteWithoutCutsOfTheirOwn) {
    // A 2 mm sliver below a part: as a leftover it takes one more cut; as waste none.
    TD2RGene g = Sheet(1000, 500);
    g.EleList = {Part(0, 0, 1000, 494)};
    g.RectArr = {TRectR{0, 498, 1000, 2}};
    EXPECT_EQ(CutSequence(g, 4).Cuts.size(), 1u);
    EXPECT_EQ(CutSequence(g, 4, TBin{100, 100}).Cuts.size(), 1u);
    g.RectArr = {TRectR{0, 498, 400, 2}, TRectR{404, 498, 596, 2}};
    EXPECT_EQ(CutSequence(g, 4).Cuts.size(), 2u);
    EXPECT_EQ(CutSequence(g, 4, TBin{100, 100}).Cuts.size(), 1u);
    ExpectReplayGivesLayout(g, 4, "slivers kept", TBin{0, 0});
    ExpectReplayGivesLayout(g, 4, "slivers as waste", TBin{100, 100});
}

TEST(CutSequence, PinwheelIsReportedAsNotGuillotine) {
    TD2RGene g = Sheet(300, 300);
    g.EleList = {Part(0, 0, 200, 100), Part(200, 0, 100, 200), Part(100, 200, 200, 100),
                 Part(0, 100, 100, 200), Part(100, 100, 100, 100)};
    const TD2RCutPlan plan = CutSequence(g, 0);
    EXPECT_FALSE(plan.Guillotine);
    EXPECT_FALSE(plan.Problem.isEmpty());
}

TEST(CutSequence, ReplayRejectsACutThatCrossesNoWholePiece) {
    TD2RCut cut;
    cut.Horizontal = true;
    cut.px = 0;
    cut.py = 100;
    cut.Length = 500;  // the sheet is 1000 long: the line stops halfway
    EXPECT_TRUE(ReplayCuts(1000, 500, 4, {cut}).empty());
}

TEST(CutSequence, ReplayOfOptimizerResultsGivesTheirPartsAndLeftovers) {
    const TD2REleArr kitchen = MakeEles({{720, 560, 16, 0}, {568, 560, 8, 1}, {716, 296, 12, 0},
                                         {568, 100, 16, 1}, {2400, 580, 2, 0}, {450, 380, 10, 1},
                                         {900, 330, 6, 1}, {1196, 560, 2, 0}});
    const TD2REleArr small = MakeEles({{100, 50, 400, 1}, {73, 41, 200, 0}, {333.3, 211.7, 25, 1}});
    struct Case {
        const char* name;
        TD2RRawArr raws;
        TD2REleArr eles;
        double kerf;
        TEdge trim;
        TD2RLayStyle style;
    } cases[] = {
        {"regular, kerf and trims", MakeRaws({{2440, 1220}}), kitchen, 4, {10, 10, 12, 8},
         TD2RLayStyle::regular},
        {"horizontal strips", MakeRaws({{2440, 1220}}), kitchen, 3, {5, 5, 5, 5},
         TD2RLayStyle::HStrip},
        {"vertical strips, no kerf", MakeRaws({{2440, 1220}}), kitchen, 0, {0, 0, 0, 0},
         TD2RLayStyle::VStrip},
        {"small parts, fractional sizes", MakeRaws({{2440.5, 1220.25}}), small, 3.2, {1, 2, 3, 4},
         TD2RLayStyle::regular},
        {"moved to a smaller sheet", MakeRaws({{2440, 1220}, {1830, 915}}),
         MakeEles({{600, 400, 3, 1}}), 4, {0, 0, 0, 0}, TD2RLayStyle::regular},
    };
    for (const Case& c : cases) {
        for (uint64_t seed : {1u, 7u, 42u}) {
            TD2RPrm prm;
            prm.OptTime = 2;
            prm.BladeWidth = c.kerf;
            prm.Edg = c.trim;
            prm.LayStyle = c.style;
            TD2Rect rect(c.raws, prm, c.eles, seed, 1);
            rect.Run();
            ASSERT_FALSE(rect.BestSchame.empty());
            for (size_t i = 0; i < rect.BestSchame.size(); ++i)
                for (const TBin keep : {TBin{0, 0}, TBin{100, 100}})
                    ExpectReplayGivesLayout(rect.BestSchame[i], c.kerf,
                                            std::string(c.name) + " seed " + std::to_string(seed) +
                                                " layout " + std::to_string(i + 1) + " keep " +
                                                std::to_string(keep.Length),
                                            keep);
        }
    }
}

}  // namespace
