// Rules of the construction steps: part choice and orientation, placement and
// remainders, strips, repeat count and sheet choice.

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "test_UnitD2RectHelpers.h"

namespace {

// Orientation rules of the fit test, over many seeds so random draws cannot hide a
// wrong rule.
struct OrientationCase {
    const char* what;
    double rectLength, rectWidth;
    int expected;  // 0 unturned, 1 turned, -1 either (random), -2 does not fit
};

TEST(D2RectPickEle, OrientationRules) {
    const OrientationCase cases[] = {
        {"exact length, fits both ways: unturned", 600, 900, 0},
        {"exact width, fits both ways: unturned", 900, 400, 0},
        {"turned extents match the width: turned", 700, 600, 1},
        {"turned extents match the length: turned", 400, 1000, 1},
        {"fits only turned", 450, 800, 1},
        {"fits only unturned", 800, 450, 0},
        {"no exact edge: random", 1000, 1000, -1},
        {"too small", 500, 500, -2},
    };
    const TD2RRawArr raws = MakeRaws({{2440, 1220}});
    const TD2REleArr eles = MakeEles({{600, 400, 5, 1}});
    for (const OrientationCase& c : cases) {
        std::set<bool> seen;
        for (uint64_t seed = 1; seed <= 200; ++seed) {
            ConstructionBench b(raws, TD2RPrm{}, eles, seed);
            const TD2RPick pick = b.rect.PickEle(b.work, TRectR{0, 0, c.rectLength, c.rectWidth});
            if (c.expected == -2) {
                EXPECT_EQ(pick.eleIndex, -1) << c.what;
                continue;
            }
            ASSERT_EQ(pick.eleIndex, 0) << c.what;
            seen.insert(pick.turned);
        }
        if (c.expected == -1) {
            EXPECT_EQ(seen.size(), 2u) << c.what;
        } else if (c.expected >= 0) {
            EXPECT_EQ(seen, std::set<bool>{c.expected == 1}) << c.what;
        }
    }
}

TEST(D2RectPickEle, GrainFixedPartNeverTurns) {
    const TD2REleArr eles = MakeEles({{600, 400, 5, 0}});
    for (uint64_t seed = 1; seed <= 100; ++seed) {
        ConstructionBench b(MakeRaws({{2440, 1220}}), TD2RPrm{}, eles, seed);
        EXPECT_EQ(b.rect.PickEle(b.work, TRectR{0, 0, 450, 800}).eleIndex, -1);
        const TD2RPick pick = b.rect.PickEle(b.work, TRectR{0, 0, 1000, 1000});
        EXPECT_EQ(pick.eleIndex, 0);
        EXPECT_FALSE(pick.turned);
    }
}

TEST(D2RectPickEle, FirstFitMostlyAndAnyFitSometimes) {
    // Nine draws in ten take the first part that fits; the tenth picks among all fits.
    const TD2REleArr eles = MakeEles({{300, 300, 5, 0}, {200, 200, 5, 0}, {900, 900, 5, 0}});
    int first = 0, second = 0;
    for (uint64_t seed = 1; seed <= 1000; ++seed) {
        ConstructionBench b(MakeRaws({{2440, 1220}}), TD2RPrm{}, eles, seed);
        const TD2RPick pick = b.rect.PickEle(b.work, TRectR{0, 0, 500, 500});
        ASSERT_NE(pick.eleIndex, 2);  // 900 × 900 does not fit
        (pick.eleIndex == 0 ? first : second)++;
        EXPECT_EQ(pick.listPos, pick.eleIndex);
    }
    EXPECT_GT(second, 10);  // about 1 in 20
    EXPECT_LT(second, 120);
    EXPECT_EQ(first + second, 1000);
}

TEST(D2RectLayRect, ToleranceLetsRotatablePartReachPast) {
    TD2RPrm prm;
    prm.wucha = 3;
    {
        ConstructionBench b(MakeRaws({{2440, 1220}}), prm, MakeEles({{603, 400, 1, 1}}), 7);
        b.rect.LayRect(b.work, TRectR{0, 0, 600, 400});
        ASSERT_EQ(b.work.trial.EleList.size(), 1u);
        EXPECT_EQ(b.work.trial.EleList[0].Length, 603);
        EXPECT_EQ(b.work.trial.EleList[0].Width, 400);
        EXPECT_TRUE(b.work.trial.RectArr.empty());  // the −3 remainder is dropped
    }
    {
        ConstructionBench b(MakeRaws({{2440, 1220}}), prm, MakeEles({{603, 400, 1, 0}}), 7);
        b.rect.LayRect(b.work, TRectR{0, 0, 600, 400});
        EXPECT_TRUE(b.work.trial.EleList.empty());
        ASSERT_EQ(b.work.trial.RectArr.size(), 1u);
        EXPECT_EQ(b.work.trial.RectArr[0].Length, 600);
    }
}

TEST(D2RectLayRect, KerfLeavesNoRemainderWhenExactlyUsed) {
    TD2RPrm prm;
    prm.BladeWidth = 4;
    prm.LayStyle = TD2RLayStyle::HStrip;
    const TD2REleArr eles = MakeEles({{600, 400, 1, 0}});
    {
        ConstructionBench b(MakeRaws({{2440, 1220}}), prm, eles, 3);
        b.rect.LayRect(b.work, TRectR{0, 0, 604, 400});
        EXPECT_EQ(b.work.trial.EleList.size(), 1u);
        EXPECT_TRUE(b.work.trial.RectArr.empty());
    }
    {
        ConstructionBench b(MakeRaws({{2440, 1220}}), prm, eles, 3);
        b.rect.LayRect(b.work, TRectR{0, 0, 605, 500});
        ASSERT_EQ(b.work.trial.RectArr.size(), 2u);  // right strip first, then below
        const TRectR& right = b.work.trial.RectArr[0];
        EXPECT_EQ(right.px, 604);
        EXPECT_EQ(right.Length, 1);
        EXPECT_EQ(right.Width, 400);
        const TRectR& below = b.work.trial.RectArr[1];
        EXPECT_EQ(below.py, 404);
        EXPECT_EQ(below.Length, 605);
        EXPECT_EQ(below.Width, 96);
    }
}

TEST(D2RectLayRect, SplitDirectionsShapeTheRemainders) {
    // Vertical-first: the lower remainder is only as long as the part, the right one
    // takes the whole width.
    TD2RPrm prm;
    prm.LayStyle = TD2RLayStyle::VStrip;
    prm.BladeWidth = 2;
    ConstructionBench b(MakeRaws({{2440, 1220}}), prm, MakeEles({{600, 400, 1, 0}}), 5);
    b.rect.LayRect(b.work, TRectR{10, 20, 1000, 700});
    ASSERT_EQ(b.work.trial.RectArr.size(), 2u);
    const TRectR& lower = b.work.trial.RectArr[0];
    EXPECT_EQ(lower.px, 10);
    EXPECT_EQ(lower.py, 422);
    EXPECT_EQ(lower.Length, 600);
    EXPECT_EQ(lower.Width, 298);
    const TRectR& right = b.work.trial.RectArr[1];
    EXPECT_EQ(right.px, 612);
    EXPECT_EQ(right.py, 20);
    EXPECT_EQ(right.Length, 398);
    EXPECT_EQ(right.Width, 700);
}

TEST(D2RectLayRect, HorizontalStripsAcrossTheSheet) {
    TD2RPrm prm;
    prm.LayStyle = TD2RLayStyle::HStrip;
    const TD2REleArr eles = MakeEles({{700, 300, 50, 0}, {500, 300, 50, 0}});
    for (uint64_t seed = 1; seed <= 20; ++seed) {
        ConstructionBench b(MakeRaws({{2440, 1220}}), prm, eles, seed);
        b.rect.LayRect(b.work, TRectR{0, 0, 2440, 1220});
        const auto& placed = b.work.trial.EleList;
        ASSERT_FALSE(placed.empty());
        for (size_t i = 0; i < placed.size(); ++i) {
            EXPECT_EQ(std::fmod(placed[i].py, 300.0), 0) << "part " << i << " outside a strip";
            if (i == 0) continue;
            // A strip is filled left to right before the next strip below is opened.
            const bool sameStrip = placed[i].py == placed[i - 1].py;
            EXPECT_TRUE(sameStrip ? placed[i].px > placed[i - 1].px
                                  : placed[i].py > placed[i - 1].py && placed[i].px == 0);
        }
        // Four strips of 300 and a 20 mm strip below that takes nothing.
        EXPECT_EQ(placed.back().py, 900);
        const TRectR& last = b.work.trial.RectArr.back();
        EXPECT_EQ(last.py, 1200);
        EXPECT_EQ(last.Width, 20);
        EXPECT_EQ(last.Length, 2440);
    }
}

TEST(D2RectLayRect, FirstCutDirectionOfEverySheet) {
    // HD: the first cut runs horizontally below the first part, so the lower remainder
    // spans the whole sheet; VD: the right remainder spans the whole sheet.
    for (TD2RFirstCut cut : {TD2RFirstCut::HD, TD2RFirstCut::VD}) {
        TD2RPrm prm;
        prm.FirstCut = cut;
        for (uint64_t seed = 1; seed <= 30; ++seed) {
            ConstructionBench b(MakeRaws({{2440, 1220}}), prm, MakeEles({{2000, 1000, 1, 0}}),
                                seed);
            b.rect.LayRect(b.work, TRectR{0, 0, 2440, 1220});
            ASSERT_EQ(b.work.trial.RectArr.size(), 2u);
            if (cut == TD2RFirstCut::HD) {
                EXPECT_EQ(b.work.trial.RectArr[1].Length, 2440);  // lower, filled second
            } else {
                EXPECT_EQ(b.work.trial.RectArr[1].Width, 1220);  // right, filled second
            }
        }
    }
}

TEST(D2RectFillRaw, BestTrialKeptAndInputsUntouched) {
    TD2RPrm prm;
    prm.Edg = TEdge{5, 6, 7, 8};
    ConstructionBench b(MakeRaws({{1000, 500}}), prm,
                        MakeEles({{300, 200, 7, 1}, {450, 120, 3, 1}}), 11);
    const auto countsBefore = std::vector<int32_t>{b.work.ele[0].Count, b.work.ele[1].Count};
    const auto idxBefore = b.work.idx;
    b.rect.FillRaw(b.work, 0);
    EXPECT_EQ(b.work.ele[0].Count, countsBefore[0]);
    EXPECT_EQ(b.work.ele[1].Count, countsBefore[1]);
    EXPECT_EQ(b.work.idx, idxBefore);
    ASSERT_FALSE(b.work.best.EleList.empty());
    double area = 0, largest = 0;
    for (const TD2RPlaced& p : b.work.best.EleList) {
        area += p.Length * p.Width;
        EXPECT_GE(p.px, 7);
        EXPECT_GE(p.py, 5);
        EXPECT_LE(p.px + p.Length, 1000 - 8);
        EXPECT_LE(p.py + p.Width, 500 - 6);
    }
    for (const TRectR& r : b.work.best.RectArr) largest = std::max(largest, r.Length * r.Width);
    EXPECT_DOUBLE_EQ(b.work.best.EleArea, area);
    EXPECT_EQ(b.work.best.maxBin, largest);
}

TEST(D2RectFillRaw, EqualUtilisationLargerLeftoverWins) {
    // One 600 × 300 part on 1000 × 1000: every trial places it alike; a horizontal first
    // cut leaves a 1000 × 700 leftover, a vertical one at most 600 × 700. Of 20 trials
    // the horizontal one is kept whenever one of them drew it.
    for (uint64_t seed = 1; seed <= 20; ++seed) {
        ConstructionBench b(MakeRaws({{1000, 1000}}), TD2RPrm{}, MakeEles({{600, 300, 1, 0}}),
                            seed);
        b.rect.FillRaw(b.work, 0);
        ASSERT_EQ(b.work.best.EleList.size(), 1u);
        EXPECT_EQ(b.work.best.maxBin, 700000);
        ASSERT_EQ(b.work.best.RectArr.size(), 2u);
        EXPECT_EQ(b.work.best.RectArr[1].Length, 1000);
        EXPECT_EQ(b.work.best.RectArr[1].Width, 700);
    }
}

TEST(D2RectFillRaw, NothingFitsLeavesTheUsableRectangle) {
    TD2RPrm prm;
    prm.Edg = TEdge{10, 10, 10, 10};
    ConstructionBench b(MakeRaws({{1000, 500}}), prm, MakeEles({{2000, 100, 1, 1}}), 2);
    b.rect.FillRaw(b.work, 0);
    EXPECT_TRUE(b.work.best.EleList.empty());
    ASSERT_EQ(b.work.best.RectArr.size(), 1u);
    const TRectR& r = b.work.best.RectArr[0];
    EXPECT_EQ(r.px, 10);
    EXPECT_EQ(r.py, 10);
    EXPECT_EQ(r.Length, 980);
    EXPECT_EQ(r.Width, 480);
}

TEST(D2RectFillRaw, TrimsLargerThanTheSheetPlaceNothingEvenWithTolerance) {
    TD2RPrm prm;
    prm.Edg = TEdge{300, 300, 0, 0};
    prm.wucha = 5;
    ConstructionBench b(MakeRaws({{1000, 500}}), prm, MakeEles({{3, 3, 10, 1}}), 2);
    b.rect.FillRaw(b.work, 0);
    EXPECT_TRUE(b.work.best.EleList.empty());
}

TEST(D2RectGetRepeatCount, SmallestQuotientAndStock) {
    struct Case {
        int32_t stock;
        int32_t expected;
    } cases[] = {{99999999, 2}, {1, 1}, {5, 2}};
    for (const Case& c : cases) {
        ConstructionBench b(MakeRaws({{2440, 1220, c.stock}}), TD2RPrm{},
                            MakeEles({{100, 100, 10, 1}, {200, 200, 2, 1}}), 1);
        b.work.rawStock = {c.stock};
        b.work.best.Clear();
        for (int32_t e : {0, 1, 0, 0}) b.work.best.EleList.push_back(TD2RPlaced{e, 0, 0, 1, 1});
        EXPECT_EQ(b.rect.GetRepeatCount(b.work, 0), c.expected) << "stock " << c.stock;
        // the occurrence counters are left clean for the next layout
        EXPECT_EQ(b.work.occ, (std::vector<int32_t>{0, 0}));
    }
}

TEST(D2RectPickRaw, PreferredSheetsFirst) {
    ConstructionBench b(MakeRaws({{2440, 1220}, {1830, 915, 99999999, 1}, {1220, 600}}), TD2RPrm{},
                        MakeEles({{100, 100, 1}}), 1);
    std::set<int> picked;
    for (uint64_t seed = 1; seed <= 50; ++seed) {
        b.work.rnd.Seed(seed);
        b.work.cand = {{0, 0}, {1, 1}, {0, 2}, {1, 3}};
        picked.insert(b.rect.PickRaw(b.work));
    }
    EXPECT_EQ(picked, (std::set<int>{1, 3}));
    picked.clear();
    for (uint64_t seed = 1; seed <= 50; ++seed) {
        b.work.rnd.Seed(seed);
        b.work.cand = {{0, 0}, {2, 1}, {0, 2}};
        picked.insert(b.rect.PickRaw(b.work));
    }
    EXPECT_EQ(picked, (std::set<int>{0, 1, 2}));
}

TEST(D2RectBuildSchame, LeavesTheListsUnchangedAndIsReproducible) {
    const TD2RRawArr raws = MakeRaws({{2440, 1220}});
    const TD2REleArr eles = MakeEles({{600, 400, 13, 1}, {720, 560, 4, 0}, {300, 280, 9, 1}});
    TD2Rect rect(raws, TD2RPrm{}, eles, 42, 1);
    TD2RWork w1, w2;
    w1.rnd.Seed(99);
    w2.rnd.Seed(99);
    const TD2RSchame a = rect.BuildSchame(w1);
    const TD2RSchame b = rect.BuildSchame(w2);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].RawCount, b[i].RawCount);
        ASSERT_EQ(a[i].EleList.size(), b[i].EleList.size());
        for (size_t j = 0; j < a[i].EleList.size(); ++j) {
            EXPECT_EQ(a[i].EleList[j].px, b[i].EleList[j].px);
            EXPECT_EQ(a[i].EleList[j].Name, b[i].EleList[j].Name);
        }
    }
    EXPECT_EQ(rect.eleArr[0].Count, 13);
    EXPECT_EQ(rect.rawArr[0].Count, 99999999);
}

TEST(D2RectSortRawByArea, LargestFirstStable) {
    TD2RRawArr raws = MakeRaws({{1000, 500}, {2440, 1220}, {500, 1000}, {1830, 915}});
    TD2Rect::SortRawByArea(raws);
    std::vector<int32_t> order;
    for (const TD2RRaw& r : raws) order.push_back(r.XH);
    EXPECT_EQ(order, (std::vector<int32_t>{2, 4, 1, 3}));
}

}  // namespace
