// Offcuts as raw sheets used first, the leftovers kept as offcuts, and the offcut a
// layout lies on carried through the layout document.

#include <gtest/gtest.h>

#include "optimizer/UnitD2RectDeep.h"
#include "optimizer/UnitD2RectDoc.h"
#include "optimizer/UnitD2RectOffcuts.h"
#include "test_UnitD2RectHelpers.h"

namespace {

TD2RPrm Prm(int generations = 6) {
    TD2RPrm prm;
    prm.OptTime = generations;
    prm.BladeWidth = 4;
    prm.Edg = TEdge{5, 5, 5, 5};
    return prm;
}

// Every piece placed once per required count, inside its sheet, on an offcut only as
// often as the offcut is in stock.
void ExpectSound(const TD2RSchame& s, const TD2RRawArr& raws, const TD2REleArr& eles) {
    std::vector<int64_t> placed(eles.size());
    for (const TD2RGene& g : s) {
        for (const TRectEle& e : g.EleList) {
            placed[e.XH - 1] += g.RawCount;
            EXPECT_LE(e.px + e.Length, g.RawLength + 1e-9);
            EXPECT_LE(e.py + e.Width, g.RawWidth + 1e-9);
        }
    }
    for (size_t i = 0; i < eles.size(); ++i) EXPECT_EQ(placed[i], eles[i].Count) << i;
    for (const auto& [id, n] : UsedOffcuts(s)) {
        int32_t stock = 0;
        for (const TD2RRaw& r : raws)
            if (r.Offcut == id) stock += r.Count;
        EXPECT_LE(n, stock) << id.toStdString();
    }
}

TEST(Offcuts, SmallPartsFillOffcutsBeforeANewSheetIsStarted) {
    // Twelve 400 × 250 pieces fill about a quarter of a 2440 × 1220 sheet; two offcuts
    // of 1300 × 700 hold them all (six each).
    const TD2REleArr eles = MakeEles({{400, 250, 12}});
    TD2RRawArr raws = MakeRaws({{2440, 1220}});
    AddOffcutRaws(raws, {{"A-1", 1300, 700, 1}, {"A-2", 1300, 700, 1}, {"tiny", 200, 90, 3}},
                  "7");
    ASSERT_EQ(raws.size(), 4u);
    EXPECT_EQ(raws[1].Prio, 1);
    EXPECT_EQ(raws[1].Offcut, "A-1");
    EXPECT_EQ(raws[3].XH, 4);

    for (uint64_t seed : {1u, 2u, 3u}) {
        TD2Rect with(raws, Prm(), eles, seed, 1);
        with.Run();
        ExpectSound(with.BestSchame, with.rawArr, eles);
        EXPECT_EQ(NewSheetCount(with.BestSchame), 0) << seed;
        const auto used = UsedOffcuts(with.BestSchame);
        EXPECT_EQ(used.count("tiny"), 0u);  // nothing fits it
        for (const TD2RGene& g : with.BestSchame) {
            EXPECT_FALSE(g.Offcut.isEmpty());
            EXPECT_EQ(g.RawDbID, "7");
            EXPECT_EQ(g.RawPrice, 0);
        }

        TD2Rect without(MakeRaws({{2440, 1220}}), Prm(), eles, seed, 1);
        without.Run();
        EXPECT_EQ(NewSheetCount(without.BestSchame), 1);
    }
}

TEST(Offcuts, AnOffcutIsNeverUsedMoreOftenThanItIsInStock) {
    // Forty pieces: the two offcuts take what they can, new sheets the rest.
    const TD2REleArr eles = MakeEles({{400, 250, 40}, {700, 560, 6, 0}});
    TD2RRawArr raws = MakeRaws({{2440, 1220}});
    AddOffcutRaws(raws, {{"B-1", 1000, 600, 2}, {"B-2", 900, 800, 1}}, "7");
    for (uint64_t seed : {4u, 5u}) {
        TD2Rect rect(raws, Prm(), eles, seed, 1);
        rect.Run();
        ExpectSound(rect.BestSchame, rect.rawArr, eles);
        const auto used = UsedOffcuts(rect.BestSchame);
        EXPECT_EQ(used.at("B-1"), 2);
        EXPECT_EQ(used.at("B-2"), 1);
        EXPECT_GE(NewSheetCount(rect.BestSchame), 1);
    }
    // The deep search keeps the offcuts its start used and never overdraws them.
    TD2RDeepOptions options;
    options.Iterations = 300;
    options.TimeLimit = 0;
    options.Seed = 9;
    options.Threads = 1;
    TD2RDeep deep(raws, Prm(3), eles, options);
    deep.Run();
    ExpectSound(deep.BestSchame, deep.rawArr, eles);
    EXPECT_FALSE(UsedOffcuts(deep.BestSchame).empty());
}

TEST(Offcuts, LeftoversBelowTheMinimumAreNotKept) {
    struct Case {
        double length, width;
        bool kept;
    } cases[] = {
        {300, 100, true},   {100, 300, true},  // either way round
        {299.9, 500, true},                     // 500 × 299.9 turned
        {299.9, 99.9, false}, {1000, 99.9, false}, {250, 250, false},
        {0, 0, false},        {2000, 1200, true},
    };
    TD2RSchame s(2);
    s[0].RawCount = 3;
    s[0].RawDbID = "5";
    s[1].RawCount = 1;
    s[1].Offcut = "X-9";
    for (const Case& c : cases) {
        EXPECT_EQ(IsKeptOffcutSize(c.length, c.width, TBin{300, 100}), c.kept)
            << c.length << " x " << c.width;
        s[0].RectArr.push_back(TRectR{10, 20, c.length, c.width});
    }
    s[1].RectArr.push_back(TRectR{0, 0, 400, 150});
    const TD2RLeftoverArr kept = KeptLeftovers(s, TBin{300, 100});
    ASSERT_EQ(kept.size(), 5u);
    EXPECT_EQ(kept[0].Count, 3);
    EXPECT_EQ(kept[0].RawDbID, "5");
    EXPECT_EQ(kept[2].Rect, 2);
    EXPECT_EQ(kept[3].Rect, 7);
    EXPECT_EQ(kept[4].Layout, 1);
    EXPECT_EQ(kept[4].FromOffcut, "X-9");
    EXPECT_EQ(kept[4].Count, 1);
    // A zero minimum still never keeps a rectangle without area.
    EXPECT_EQ(KeptLeftovers(s, TBin{0, 0}).size(), 8u);
}

TEST(Offcuts, TheLayoutDocumentCarriesWhichOffcutALayoutLiesOn) {
    const TD2REleArr eles = MakeEles({{400, 250, 5}});
    TD2RRawArr raws = MakeRaws({{2440, 1220}});
    AddOffcutRaws(raws, {{"C<&\"1", 1200, 600, 1}}, "3");
    TD2Rect rect(raws, Prm(2), eles, 1, 1);
    rect.Run();
    ASSERT_EQ(UsedOffcuts(rect.BestSchame).count("C<&\"1"), 1u);
    const QString text = LayoutDocumentText(rect.rawArr, eles, rect.prm, rect.BestSchame);
    TD2RRawArr raws2;
    TD2REleArr eles2;
    TD2RSchame back;
    TD2RPrm prm2;
    ReadLayoutDocument(text, raws2, eles2, back, prm2);
    ASSERT_EQ(back.size(), rect.BestSchame.size());
    for (size_t i = 0; i < back.size(); ++i) EXPECT_EQ(back[i].Offcut, rect.BestSchame[i].Offcut);
    ASSERT_EQ(raws2.size(), 2u);
    EXPECT_EQ(raws2[0].Offcut.isEmpty() + raws2[1].Offcut.isEmpty(), 1);
    // A document without offcuts has no trace of them.
    const TD2RSchame plain{rect.BestSchame[0]};
    TD2RSchame copy = plain;
    copy[0].Offcut.clear();
    EXPECT_FALSE(LayoutDocumentText(MakeRaws({{2440, 1220}}), eles, rect.prm, copy).contains("OFC"));
}

}  // namespace
