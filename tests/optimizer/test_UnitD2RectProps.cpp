// Properties every scheme must have, checked over a table of instances: single
// constructions with many seeds and full searches with several threads.

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "optimizer/UnitD2RectDeep.h"
#include "test_UnitD2RectHelpers.h"

namespace {

constexpr double kEps = 1e-6;

struct Instance {
    const char* name;
    TD2RRawArr raws;
    TD2REleArr eles;
    TD2RPrm prm;
    bool allFit;  // every piece can be placed (stock and sizes allow it)
};

void PrintTo(const Instance& in, std::ostream* os) { *os << in.name; }

TD2RPrm Prm(double kerf, TEdge edg, TD2RLayStyle style = TD2RLayStyle::regular,
            TD2RFirstCut cut = TD2RFirstCut::HV, TD2RPriority prio = TD2RPriority::Uti) {
    TD2RPrm p;
    p.OptTime = 3;
    p.BladeWidth = kerf;
    p.Edg = edg;
    p.LayStyle = style;
    p.FirstCut = cut;
    p.Priority = prio;
    return p;
}

std::vector<Instance> Instances() {
    const TD2REleArr kitchen = MakeEles({{720, 560, 16, 0},
                                         {568, 560, 8, 1},
                                         {716, 296, 12, 0},
                                         {568, 100, 16, 1},
                                         {2400, 580, 2, 0},
                                         {450, 380, 10, 1},
                                         {900, 330, 6, 1},
                                         {1196, 560, 2, 0}});
    return {
        {"kitchen, kerf and trims", MakeRaws({{2440, 1220}}), kitchen, Prm(4, {10, 10, 12, 8}),
         true},
        {"horizontal strips", MakeRaws({{2440, 1220}}), kitchen,
         Prm(3, {5, 5, 5, 5}, TD2RLayStyle::HStrip), true},
        {"vertical strips", MakeRaws({{2440, 1220}}), kitchen,
         Prm(3, {0, 0, 0, 0}, TD2RLayStyle::VStrip), true},
        {"first cut horizontal", MakeRaws({{2440, 1220}}), kitchen,
         Prm(2.5, {0, 0, 0, 0}, TD2RLayStyle::regular, TD2RFirstCut::HD), true},
        {"first cut vertical", MakeRaws({{2440, 1220}}), kitchen,
         Prm(2.5, {0, 0, 0, 0}, TD2RLayStyle::regular, TD2RFirstCut::VD), true},
        {"several sheet types, limited stock, preferred type",
         MakeRaws({{2440, 1220, 3}, {1830, 915, 100, 1}, {2800, 2070, 2}}), kitchen,
         Prm(4, {10, 10, 10, 10}), true},
        {"stock runs out", MakeRaws({{2440, 1220, 2}, {1220, 600, 3}}), kitchen,
         Prm(0, {0, 0, 0, 0}), false},
        {"price priority",
         MakeRaws({{2440, 1220, 99999999, 0, 3.0}, {2800, 2070, 99999999, 0, 1.0}}), kitchen,
         Prm(4, {0, 0, 0, 0}, TD2RLayStyle::regular, TD2RFirstCut::HV, TD2RPriority::Price), true},
        {"cut priority", MakeRaws({{2440, 1220}}), kitchen,
         Prm(0, {0, 0, 0, 0}, TD2RLayStyle::regular, TD2RFirstCut::HV, TD2RPriority::Cut), true},
        {"part larger than every sheet", MakeRaws({{2440, 1220}, {1830, 915}}),
         MakeEles({{600, 400, 9, 1}, {3000, 1300, 2, 1}, {300, 300, 5, 0}}), Prm(4, {0, 0, 0, 0}),
         false},
        {"grain fixed part fits only turned", MakeRaws({{2440, 1220}}),
         MakeEles({{500, 2000, 3, 0}, {500, 2000, 3, 1}, {400, 300, 7, 0}}), Prm(0, {0, 0, 0, 0}),
         false},
        {"part that fits only the large type", MakeRaws({{2440, 1220, 2}, {1000, 500, 100}}),
         MakeEles({{2000, 1000, 5, 1}, {400, 400, 3, 1}}), Prm(0, {0, 0, 0, 0}), false},
        {"many small parts", MakeRaws({{2440, 1220}}),
         MakeEles({{100, 50, 1500, 1}, {73, 41, 700, 0}}), Prm(1, {0, 0, 0, 0}), true},
        {"dense small sheets, no kerf (the deep search re-lays parts of sheets)",
         MakeRaws({{300, 300}}),
         MakeEles({{40, 85, 2, 0}, {79, 26, 3, 0}, {57, 87, 1, 0}, {70, 90, 2, 0}, {84, 18, 2, 1},
                   {87, 11, 3, 1}, {70, 43, 3, 1}, {80, 39, 2, 1}, {34, 70, 1, 1}, {79, 80, 1, 0},
                   {70, 60, 1, 1}, {91, 29, 1, 1}, {39, 91, 3, 1}, {29, 76, 3, 1}}),
         Prm(0, {0, 0, 0, 0}), true},
        {"a large order (the deep search refills sheets from its pool)", MakeRaws({{2440, 1220}}),
         MakeEles({{720, 560, 48, 0}, {568, 560, 24, 1}, {716, 296, 36, 0}, {568, 100, 48, 1},
                   {450, 380, 30, 1}, {900, 330, 18, 1}, {1196, 560, 6, 0}}),
         Prm(4, {10, 10, 10, 10}), true},
        {"fractional sizes", MakeRaws({{2440.5, 1220.25}}),
         MakeEles({{333.3, 211.7, 25, 1}, {1000.1, 99.9, 11, 0}, {1220.25, 600, 3, 1}}),
         Prm(3.2, {1, 2, 3, 4}), true},
    };
}

// Guillotine check: the parts of a region can be separated by one straight cut through
// the whole region, and so on recursively.
bool Guillotine(std::vector<const TRectEle*> parts) {
    if (parts.size() <= 1) return true;
    for (int axis = 0; axis < 2; ++axis) {
        auto lo = [axis](const TRectEle* e) { return axis == 0 ? e->px : e->py; };
        auto hi = [axis](const TRectEle* e) {
            return axis == 0 ? e->px + e->Length : e->py + e->Width;
        };
        std::sort(parts.begin(), parts.end(),
                  [&](const TRectEle* a, const TRectEle* b) { return lo(a) < lo(b); });
        double reach = hi(parts[0]);
        for (size_t i = 1; i < parts.size(); ++i) {
            if (lo(parts[i]) >= reach - kEps) {  // a cut at `reach` crosses no part
                std::vector<const TRectEle*> first(parts.begin(), parts.begin() + i);
                std::vector<const TRectEle*> second(parts.begin() + i, parts.end());
                return Guillotine(first) && Guillotine(second);
            }
            reach = std::max(reach, hi(parts[i]));
        }
    }
    return false;
}

// Checks one scheme against the caller's lists; `raws` is the optimizer's sorted copy.
void CheckScheme(const Instance& in, const TD2RRawArr& raws, const TD2RSchame& s,
                 const std::string& where) {
    SCOPED_TRACE(std::string(in.name) + ", " + where);
    const double k = in.prm.BladeWidth;
    const TEdge& t = in.prm.Edg;
    std::map<int32_t, int64_t> placed;      // by XH
    std::map<QString, int64_t> sheetsUsed;  // by DbID
    for (const TD2RGene& g : s) {
        ASSERT_GE(g.RawCount, 1);
        ASSERT_FALSE(g.EleList.empty());
        ASSERT_GE(g.RawIndex, 0);
        ASSERT_LT(g.RawIndex, static_cast<int32_t>(raws.size()));
        const TD2RRaw& raw = raws[g.RawIndex];
        EXPECT_EQ(g.RawDbID, raw.DbID);
        EXPECT_EQ(g.RawLength, raw.Length);
        EXPECT_EQ(g.RawWidth, raw.Width);
        sheetsUsed[g.RawDbID] += g.RawCount;
        double area = 0;
        std::vector<const TRectEle*> parts;
        for (const TRectEle& e : g.EleList) {
            ASSERT_GE(e.XH, 1);
            ASSERT_LE(e.XH, static_cast<int32_t>(in.eles.size()));
            const TD2REle& type = in.eles[e.XH - 1];
            EXPECT_EQ(e.Name, type.Name);
            const bool plain = e.Length == type.Length && e.Width == type.Width;
            const bool turned = e.Length == type.Width && e.Width == type.Length;
            EXPECT_TRUE(plain || (turned && type.Rotation == 1)) << "part " << e.XH << " turned";
            EXPECT_GE(e.px, t.Left - kEps);
            EXPECT_GE(e.py, t.Top - kEps);
            EXPECT_LE(e.px + e.Length, g.RawLength - t.Right + kEps);
            EXPECT_LE(e.py + e.Width, g.RawWidth - t.Bottom + kEps);
            area += type.Length * type.Width;
            placed[e.XH] += g.RawCount;
            parts.push_back(&e);
        }
        EXPECT_NEAR(g.EleArea, area, kEps);
        for (size_t i = 0; i < parts.size(); ++i)
            for (size_t j = i + 1; j < parts.size(); ++j) {
                const TRectEle& a = *parts[i];
                const TRectEle& b = *parts[j];
                const bool apart =
                    a.px + a.Length + k <= b.px + kEps || b.px + b.Length + k <= a.px + kEps ||
                    a.py + a.Width + k <= b.py + kEps || b.py + b.Width + k <= a.py + kEps;
                EXPECT_TRUE(apart) << "parts " << i << " and " << j << " overlap or lack the kerf";
            }
        EXPECT_TRUE(Guillotine(parts)) << "layout not cuttable by guillotine cuts";
        // Leftovers become offcuts: each lies on the sheet, a kerf clear of every part and
        // clear of every other leftover.
        auto overlap = [](double ax, double ay, double al, double aw, double bx, double by,
                          double bl, double bw) {
            return ax < bx + bl - kEps && bx < ax + al - kEps && ay < by + bw - kEps &&
                   by < ay + aw - kEps;
        };
        for (size_t i = 0; i < g.RectArr.size(); ++i) {
            const TRectR& r = g.RectArr[i];
            EXPECT_GT(r.Length, 0);
            EXPECT_GT(r.Width, 0);
            EXPECT_GE(r.px, -kEps);
            EXPECT_GE(r.py, -kEps);
            EXPECT_LE(r.px + r.Length, g.RawLength + kEps);
            EXPECT_LE(r.py + r.Width, g.RawWidth + kEps);
            for (const TRectEle* e : parts)
                EXPECT_FALSE(overlap(r.px, r.py, r.Length, r.Width, e->px - k, e->py - k,
                                     e->Length + 2 * k, e->Width + 2 * k))
                    << "leftover " << i << " covers part " << e->XH;
            for (size_t j = i + 1; j < g.RectArr.size(); ++j) {
                const TRectR& q = g.RectArr[j];
                EXPECT_FALSE(overlap(r.px, r.py, r.Length, r.Width, q.px, q.py, q.Length, q.Width))
                    << "leftovers " << i << " and " << j << " overlap";
            }
        }
    }
    for (const TD2REle& e : in.eles) {
        EXPECT_LE(placed[e.XH], e.Count) << "part " << e.XH;
        if (in.allFit) {
            EXPECT_EQ(placed[e.XH], e.Count) << "part " << e.XH;
        }
    }
    for (const TD2RRaw& r : raws)
        EXPECT_LE(sheetsUsed[r.DbID], r.Count) << "sheet " << r.DbID.toStdString();
}

class D2RectProperties : public ::testing::TestWithParam<Instance> {};

TEST_P(D2RectProperties, EveryConstructionKeepsTheRules) {
    const Instance& in = GetParam();
    TD2Rect rect(in.raws, in.prm, in.eles, 1, 1);
    TD2RWork w;
    for (uint64_t seed = 1; seed <= 15; ++seed) {
        w.rnd.Seed(seed);
        TD2RRandom orderRnd(seed);
        rect.ShuffleEle(orderRnd);
        const TD2RSchame s = rect.BuildSchame(w);
        ASSERT_FALSE(s.empty());
        CheckScheme(in, rect.rawArr, s, "construction seed " + std::to_string(seed));
    }
}

TEST_P(D2RectProperties, SearchResultKeepsTheRules) {
    const Instance& in = GetParam();
    for (int threads : {1, 2}) {
        TD2Rect rect(in.raws, in.prm, in.eles, 1000 + threads, threads);
        rect.Run();
        ASSERT_FALSE(rect.BestSchame.empty());
        CheckScheme(in, rect.rawArr, rect.BestSchame, std::to_string(threads) + " threads");
    }
}

TEST_P(D2RectProperties, DeepResultKeepsTheRules) {
    const Instance& in = GetParam();
    for (int threads : {1, 2}) {
        TD2RDeepOptions opt;
        opt.TimeLimit = 0;
        opt.Iterations = 300;
        opt.Seed = 2000 + threads;
        opt.Threads = threads;
        TD2RDeep deep(in.raws, in.prm, in.eles, opt);
        deep.Run();
        ASSERT_FALSE(deep.BestSchame.empty());
        CheckScheme(in, deep.rawArr, deep.BestSchame, "deep, " + std::to_string(threads) + " threads");
    }
}

INSTANTIATE_TEST_SUITE_P(Table, D2RectProperties, ::testing::ValuesIn(Instances()),
                         [](const ::testing::TestParamInfo<Instance>& info) {
                             return "instance" + std::to_string(info.index);
                         });

TEST(D2RectProperties, CheckerCatchesBrokenLayouts) {
    // The checker itself must fail on an overlap, a missing kerf and a non-guillotine
    // pinwheel, or the property tests above prove nothing.
    TRectEle a{0, 1, "", "", 0, 0, 200, 100};
    TRectEle b{0, 1, "", "", 200, 0, 100, 200};
    TRectEle c{0, 1, "", "", 100, 200, 200, 100};
    TRectEle d{0, 1, "", "", 0, 100, 100, 200};
    TRectEle centre{0, 1, "", "", 100, 100, 100, 100};
    EXPECT_FALSE(Guillotine({&a, &b, &c, &d, &centre}));
    TRectEle e{0, 1, "", "", 0, 0, 100, 100};
    TRectEle f{0, 1, "", "", 100, 0, 100, 100};
    TRectEle g{0, 1, "", "", 0, 100, 200, 100};
    EXPECT_TRUE(Guillotine({&e, &f, &g}));

    Instance in{"broken", MakeRaws({{1000, 1000}}), MakeEles({{100, 100, 2, 0}}), Prm(4, {}), true};
    TD2RGene gene;
    gene.RawDbID = "1";
    gene.RawLength = gene.RawWidth = 1000;
    gene.RawCount = 1;
    gene.EleArea = 20000;
    gene.EleList = {TRectEle{0, 1, "P1", "", 0, 0, 100, 100},
                    TRectEle{0, 1, "P1", "", 102, 0, 100, 100}};
    ::testing::TestPartResultArray failures;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        CheckScheme(in, in.raws, {gene}, "kerf of 2 instead of 4");
    }
    EXPECT_GE(failures.size(), 1);
}

}  // namespace
