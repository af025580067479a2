// The search: ranking under each priority, the post-pass to smaller sheets, the
// listener's reports, stopping, and reproducibility across thread counts.

#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <set>
#include <thread>

#include "common/NumberFormat.h"
#include "optimizer/UnitD2RectDisp.h"
#include "test_UnitD2RectHelpers.h"

namespace {

// A scheme from (sheet length, width, sheets, part area per sheet, largest leftover,
// price) per layout; RawName marks the scheme so a test can tell which one won.
struct GeneSpec {
    double length, width;
    int32_t count;
    double eleArea;
    double maxBin = 0;
    double price = 1;
};

TD2RSchame MakeScheme(const char* mark, std::initializer_list<GeneSpec> genes) {
    TD2RSchame s;
    for (const GeneSpec& g : genes) {
        TD2RGene gene;
        gene.RawName = mark;
        gene.RawLength = g.length;
        gene.RawWidth = g.width;
        gene.RawCount = g.count;
        gene.EleArea = g.eleArea;
        gene.maxBin = g.maxBin;
        gene.RawPrice = g.price;
        gene.EleList.push_back(TRectEle{0, 1, "P1", "", 0, 0, 10, 10});
        s.push_back(gene);
    }
    return s;
}

struct RankingCase {
    const char* what;
    TD2RPriority priority;
    std::vector<TD2RPop> generations;  // ranked one after the other
    const char* winner;
};

void PrintTo(const RankingCase& c, std::ostream* os) { *os << c.what; }

class D2RectRanking : public ::testing::TestWithParam<RankingCase> {};

TEST_P(D2RectRanking, Winner) {
    const RankingCase& c = GetParam();
    TD2RPrm prm;
    prm.Priority = c.priority;
    TD2Rect rect(MakeRaws({{1000, 1000}}), prm, MakeEles({{10, 10, 1}}), 1, 1);
    for (const TD2RPop& pop : c.generations) rect.SelectBest(pop);
    ASSERT_FALSE(rect.BestSchame.empty()) << c.what;
    EXPECT_EQ(rect.BestSchame[0].RawName, c.winner) << c.what;
    EXPECT_EQ(rect.minCate, static_cast<int32_t>(rect.BestSchame.size()) - 1) << c.what;
}

// 1000 × 1000 sheets: an EleArea of 800000 on one sheet is 80 %.
INSTANTIATE_TEST_SUITE_P(
    Priorities, D2RectRanking,
    ::testing::Values(
        RankingCase{"uti: higher utilisation wins",
                    TD2RPriority::Uti,
                    {{MakeScheme("a", {{1000, 1000, 1, 700000}}),
                      MakeScheme("b", {{1000, 1000, 1, 800000}, {1000, 1000, 1, 800000}})}},
                    "b"},
        RankingCase{
            "uti: equal utilisation, more layouts but a larger leftover sum wins",
            TD2RPriority::Uti,
            {{MakeScheme("a", {{1000, 1000, 2, 800000, 5000}}),
              MakeScheme("b", {{1000, 1000, 1, 800000, 3000}, {1000, 1000, 1, 800000, 3000}})}},
            "b"},
        RankingCase{"uti: equal utilisation, fewer layouts wins",
                    TD2RPriority::Uti,
                    {{MakeScheme("a", {{1000, 1000, 1, 800000, 9000}, {1000, 1000, 1, 800000}}),
                      MakeScheme("b", {{1000, 1000, 2, 800000, 10}})}},
                    "b"},
        RankingCase{"uti: an equal scheme later never replaces the earlier one",
                    TD2RPriority::Uti,
                    {{MakeScheme("a", {{1000, 1000, 1, 800000, 10}}),
                      MakeScheme("b", {{1000, 1000, 1, 800000, 10}})},
                     {MakeScheme("c", {{1000, 1000, 1, 800000, 10}})}},
                    "a"},
        RankingCase{"uti: the best persists across generations",
                    TD2RPriority::Uti,
                    {{MakeScheme("a", {{1000, 1000, 1, 900000}})},
                     {MakeScheme("b", {{1000, 1000, 1, 800000}})}},
                    "a"},
        RankingCase{"cut: fewer layouts wins even at lower utilisation",
                    TD2RPriority::Cut,
                    {{MakeScheme("a", {{1000, 1000, 1, 900000}, {1000, 1000, 1, 900000}}),
                      MakeScheme("b", {{1000, 1000, 3, 100000}})}},
                    "b"},
        RankingCase{"cut: same number of layouts never replaces",
                    TD2RPriority::Cut,
                    {{MakeScheme("a", {{1000, 1000, 1, 100000}}),
                      MakeScheme("b", {{1000, 1000, 1, 900000}})}},
                    "a"},
        RankingCase{"price: lower cost wins",
                    TD2RPriority::Price,
                    {{MakeScheme("a", {{1000, 1000, 2, 900000, 0, 5}}),
                      MakeScheme("b", {{1000, 1000, 3, 100000, 0, 3}})}},
                    "b"},
        RankingCase{"price: equal cost, higher utilisation wins",
                    TD2RPriority::Price,
                    {{MakeScheme("a", {{1000, 1000, 2, 500000, 0, 2}}),
                      MakeScheme("b", {{1000, 1000, 1, 900000, 0, 4}})}},
                    "b"},
        RankingCase{"the last replacing scheme of a generation is kept",
                    TD2RPriority::Uti,
                    {{MakeScheme("a", {{1000, 1000, 1, 500000}}),
                      MakeScheme("b", {{1000, 1000, 1, 600000}}),
                      MakeScheme("c", {{1000, 1000, 1, 550000}})}},
                    "b"}));

TEST(D2RectRanking, FiguresTakenFromTheWinner) {
    TD2RPrm prm;
    TD2Rect rect(MakeRaws({{1000, 1000}}), prm, MakeEles({{10, 10, 1}}), 1, 1);
    EXPECT_EQ(rect.ProgressText(), "0.00%:10000000");
    rect.SelectBest({});
    EXPECT_EQ(rect.ProgressText(), "0.00%:10000000");
    rect.SelectBest(
        {MakeScheme("a", {{1000, 1000, 3, 875300, 40}, {2000, 500, 1, 500000, 2, 2.5}})});
    EXPECT_DOUBLE_EQ(rect.BestUti, (3 * 875300.0 + 500000) / 4000000);
    EXPECT_EQ(rect.BestBinRect, 42);
    EXPECT_EQ(rect.minCate, 1);
    EXPECT_DOUBLE_EQ(rect.lessPrice, 3 * 1.0 + 2.5);
    EXPECT_EQ(rect.ProgressText(), "78.15%:2");
}

TEST(D2RectShrinkRaw, MovesAndSplitsLayoutsToSmallerSheets) {
    struct Case {
        int32_t sheets;       // RawCount of the layout reaching 1500 × 800
        int32_t movedSheets;  // on 1830 × 915 afterwards
        int32_t keptSheets;   // appended copy left on 2440 × 1220, 0 = none
    } cases[] = {{3, 3, 0}, {8, 5, 3}};
    for (const Case& c : cases) {
        TD2RPrm prm;
        prm.Edg.Right = 7;
        TD2Rect rect(MakeRaws({{1830, 915, 5}, {2440, 1220, 100}}), prm, MakeEles({{10, 10, 1}}), 1,
                     1);
        ASSERT_EQ(rect.rawArr[0].Length, 2440);  // sorted largest first
        TD2RGene g;
        g.RawIndex = 0;
        g.RawName = "big";
        g.RawLength = 2440;
        g.RawWidth = 1220;
        g.RawCount = c.sheets;
        g.EleArea = 123;
        g.EleList.push_back(TRectEle{0, 1, "P1", "", 0, 0, 1000, 800});
        g.EleList.push_back(TRectEle{0, 1, "P1", "", 1000, 0, 493, 300});
        g.RectArr = {{1493, 0, 947, 1220},
                     {1900, 0, 540, 100},
                     {0, 800, 1500, 420},
                     {0, 915, 100, 100},
                     {0, 916, 100, 100}};
        // a second layout that needs the big sheet stays where it is
        TD2RGene big = g;
        big.RawCount = 1;
        big.EleList.push_back(TRectEle{0, 1, "P1", "", 2000, 0, 100, 100});
        rect.BestSchame = {g, big};
        rect.ShrinkRaw();

        ASSERT_EQ(rect.BestSchame.size(), c.keptSheets ? 3u : 2u);
        const TD2RGene& moved = rect.BestSchame[0];
        EXPECT_EQ(moved.RawIndex, 1);
        EXPECT_EQ(moved.RawName, "S1");
        EXPECT_EQ(moved.RawLength, 1830);
        EXPECT_EQ(moved.RawWidth, 915);
        EXPECT_EQ(moved.RawCount, c.movedSheets);
        EXPECT_EQ(moved.EleArea, 123);  // figures are not recomputed
        ASSERT_EQ(moved.RectArr.size(), 5u);
        EXPECT_EQ(moved.RectArr[0].Length, 1830 - 1493);
        EXPECT_EQ(moved.RectArr[0].Width, 915);
        EXPECT_EQ(moved.RectArr[1].Length, 0);  // starts beyond the new length
        EXPECT_EQ(moved.RectArr[2].Width, 115);
        EXPECT_EQ(moved.RectArr[3].Width, 0);   // starts on the new edge
        EXPECT_EQ(moved.RectArr[4].Length, 0);  // starts below the new width
        EXPECT_EQ(rect.BestSchame[1].RawIndex, 0);
        if (c.keptSheets) {
            const TD2RGene& rest = rect.BestSchame[2];
            EXPECT_EQ(rest.RawIndex, 0);
            EXPECT_EQ(rest.RawLength, 2440);
            EXPECT_EQ(rest.RawCount, c.keptSheets);
            EXPECT_EQ(rest.RectArr[0].Length, 947);
        }
    }
}

TEST(D2RectShrinkRaw, StockUsedByTheSchemeIsRespected) {
    // The small type has 5 sheets, 3 of which the scheme already uses: a layout of 3
    // big sheets can move only 2.
    TD2Rect rect(MakeRaws({{2440, 1220, 100}, {1830, 915, 5}}), TD2RPrm{}, MakeEles({{10, 10, 1}}),
                 1, 1);
    TD2RGene g;
    g.RawIndex = 0;
    g.RawLength = 2440;
    g.RawWidth = 1220;
    g.RawCount = 3;
    g.EleList.push_back(TRectEle{0, 1, "P1", "", 0, 0, 1500, 800});
    TD2RGene small = g;
    small.RawIndex = 1;
    small.RawLength = 1830;
    small.RawWidth = 915;
    rect.BestSchame = {g, small};
    rect.ShrinkRaw();
    ASSERT_EQ(rect.BestSchame.size(), 3u);
    EXPECT_EQ(rect.BestSchame[0].RawIndex, 1);
    EXPECT_EQ(rect.BestSchame[0].RawCount, 2);
    EXPECT_EQ(rect.BestSchame[2].RawIndex, 0);
    EXPECT_EQ(rect.BestSchame[2].RawCount, 1);
}

// Records every report; optionally stops the search at a given step.
class Recorder : public TD2RListener {
  public:
    TD2Rect* stopOn = nullptr;
    int stopAtStep = 0;
    std::vector<int> steps;
    std::vector<QString> gens;
    std::set<std::thread::id> callers;
    int done = 0;
    TD2RSchame best;
    void OnStep(int k) override {
        callers.insert(std::this_thread::get_id());
        steps.push_back(k);
        if (stopOn && k == stopAtStep) stopOn->IsEnd = true;
    }
    void OnGeneration(const QString& text) override {
        callers.insert(std::this_thread::get_id());
        gens.push_back(text);
    }
    void OnDone(const TD2RSchame& s) override {
        callers.insert(std::this_thread::get_id());
        ++done;
        best = s;
    }
};

TD2RPrm Generations(int n) {
    TD2RPrm prm;
    prm.OptTime = n;
    return prm;
}

const TD2REleArr kKitchen = MakeEles({{720, 560, 8, 0},
                                      {568, 560, 4, 1},
                                      {716, 296, 6, 0},
                                      {568, 100, 8, 1},
                                      {2400, 580, 2, 0},
                                      {450, 380, 5, 1}});

TEST(D2RectSearch, EmptyPartListReportsOnlyTheEnd) {
    for (bool threaded : {false, true}) {
        Recorder rec;
        TD2Rect rect(MakeRaws({{2440, 1220}}), Generations(5), TD2REleArr{}, 1, 2);
        rect.SetListener(&rec);
        if (threaded) {
            rect.Start();
            rect.Wait();
        } else {
            rect.Run();
        }
        EXPECT_TRUE(rec.steps.empty());
        EXPECT_TRUE(rec.gens.empty());
        EXPECT_EQ(rec.done, 1);
        EXPECT_TRUE(rec.best.empty());
    }
}

TEST(D2RectSearch, NothingFitsKeepsTheStartValues) {
    Recorder rec;
    TD2Rect rect(MakeRaws({{1000, 500}}), Generations(2), MakeEles({{2000, 900, 3, 1}}), 1, 2);
    rect.SetListener(&rec);
    rect.Run();
    EXPECT_EQ(rec.steps.size(), 60u);
    EXPECT_EQ(rec.gens, (std::vector<QString>{"0.00%:10000000", "0.00%:10000000"}));
    EXPECT_EQ(rec.done, 1);
    EXPECT_TRUE(rec.best.empty());
}

TEST(D2RectSearch, PartLargerThanEverySheetIsLeftUncut) {
    const TD2REleArr eles = MakeEles({{600, 400, 9, 1}, {2500, 1300, 2, 1}, {300, 300, 5, 0}});
    TD2Rect rect(MakeRaws({{2440, 1220}, {1830, 915}}), Generations(3), eles, 8, 2);
    rect.Run();
    TD2Rslt r;
    TD2Result().GetResult(rect.BestSchame, rect.prm, eles, r);
    ASSERT_EQ(r.NoCutArr.size(), 1u);
    EXPECT_EQ(r.NoCutArr[0].XH, 2);
    EXPECT_EQ(r.NoCutArr[0].count, 2);
    EXPECT_DOUBLE_EQ(r.eleTotalArea, 600.0 * 400 * 9 + 300.0 * 300 * 5);
}

TEST(D2RectSearch, EveryStepAndGenerationReportedInOrder) {
    for (int threads : {1, 2, 4}) {
        Recorder rec;
        TD2Rect rect(MakeRaws({{2440, 1220}}), Generations(3), kKitchen, 5, threads);
        rect.SetListener(&rec);
        rect.Start();
        rect.Wait();
        std::vector<int> expected;
        for (int g = 0; g < 3; ++g)
            for (int k = 1; k <= 30; ++k) expected.push_back(k);
        EXPECT_EQ(rec.steps, expected) << threads << " threads";
        ASSERT_EQ(rec.gens.size(), 3u);
        EXPECT_EQ(rec.gens.back(), rect.ProgressText());
        EXPECT_EQ(rec.done, 1);
        EXPECT_EQ(rect.ConstructionCount(), 90);
        // all reports come from the one search thread, never from the caller's
        ASSERT_EQ(rec.callers.size(), 1u);
        EXPECT_NE(*rec.callers.begin(), std::this_thread::get_id());
    }
}

// Compares two schemes field by field.
void ExpectSameScheme(const TD2RSchame& a, const TD2RSchame& b, const std::string& what) {
    ASSERT_EQ(a.size(), b.size()) << what;
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].RawIndex, b[i].RawIndex) << what;
        EXPECT_EQ(a[i].RawCount, b[i].RawCount) << what;
        EXPECT_EQ(a[i].EleArea, b[i].EleArea) << what;
        EXPECT_EQ(a[i].maxBin, b[i].maxBin) << what;
        ASSERT_EQ(a[i].EleList.size(), b[i].EleList.size()) << what;
        for (size_t j = 0; j < a[i].EleList.size(); ++j) {
            const TRectEle& x = a[i].EleList[j];
            const TRectEle& y = b[i].EleList[j];
            EXPECT_TRUE(x.XH == y.XH && x.px == y.px && x.py == y.py && x.Length == y.Length &&
                        x.eIndex == y.eIndex)
                << what;
        }
        ASSERT_EQ(a[i].RectArr.size(), b[i].RectArr.size()) << what;
    }
}

TEST(D2RectSearch, SameSeedSameResultWhateverTheThreadCount) {
    Recorder one;
    TD2Rect sequential(MakeRaws({{2440, 1220}, {1830, 915, 4}}), Generations(4), kKitchen, 77, 1);
    sequential.SetListener(&one);
    sequential.Run();
    for (int threads : {2, 3}) {
        Recorder many;
        TD2Rect parallel(MakeRaws({{2440, 1220}, {1830, 915, 4}}), Generations(4), kKitchen, 77,
                         threads);
        parallel.SetListener(&many);
        parallel.Start();
        parallel.Wait();
        EXPECT_EQ(one.gens, many.gens);
        ExpectSameScheme(one.best, many.best, std::to_string(threads) + " threads");
    }
}

TEST(D2RectSearch, StopAfterTwelveConstructions) {
    // The stop is asked for while step 12 is reported: constructions 1 … 12 are ranked,
    // whatever was built beyond them on other threads is not, and the run ends normally.
    std::vector<QString> texts;
    std::vector<TD2RSchame> results;
    for (int threads : {1, 2}) {
        Recorder rec;
        TD2Rect rect(MakeRaws({{2440, 1220}}), Generations(30), kKitchen, 123, threads);
        rec.stopOn = &rect;
        rec.stopAtStep = 12;
        rect.SetListener(&rec);
        rect.Start();
        rect.Wait();
        std::vector<int> expected;
        for (int k = 1; k <= 12; ++k) expected.push_back(k);
        EXPECT_EQ(rec.steps, expected);
        ASSERT_EQ(rec.gens.size(), 1u);
        EXPECT_EQ(rec.done, 1);
        EXPECT_EQ(rect.ConstructionCount(), 12);
        ASSERT_FALSE(rec.best.empty());
        // the progress text is that of the scheme handed over
        double part = 0, raw = 0;
        for (const TD2RGene& g : rec.best) {
            part += g.RawCount * g.EleArea;
            raw += g.RawCount * g.RawLength * g.RawWidth;
        }
        EXPECT_EQ(rec.gens[0], kelm::FormatPattern(part / raw * 100, "0.00") +
                                   "%:" + QString::number(rec.best.size()));
        texts.push_back(rec.gens[0]);
        results.push_back(rec.best);
    }
    EXPECT_EQ(texts[0], texts[1]);
    ExpectSameScheme(results[0], results[1], "stop with 1 and 2 threads");
}

TEST(D2RectSearch, StopFromAnotherThreadEndsTheRun) {
    // A stop asked for from another thread while the search runs ends it early; the
    // destructor also stops a running search.
    Recorder rec;
    auto rect =
        std::make_unique<TD2Rect>(MakeRaws({{2440, 1220}}), Generations(100000), kKitchen, 9, 2);
    rect->SetListener(&rec);
    rect->Start();
    rect->IsEnd = true;
    rect->Wait();
    EXPECT_EQ(rec.done, 1);
    EXPECT_LT(rec.gens.size(), 100000u);
    rect.reset();
}

TEST(D2RectSearch, ListenerMayDestroyTheSearchInOnDone) {
    // A window receives OnDone through a blocking call into its own thread and frees the
    // optimizer there; that must neither deadlock nor touch freed memory.
    struct Owner : TD2RListener {
        TD2Rect* rect = nullptr;
        std::promise<size_t> handled;
        void OnDone(const TD2RSchame& best) override {
            const size_t layouts = best.size();
            std::thread window([this] { delete rect; });
            window.join();
            handled.set_value(layouts);
        }
    } owner;
    owner.rect = new TD2Rect(MakeRaws({{2440, 1220}}), Generations(2), kKitchen, 4, 2);
    owner.rect->SetListener(&owner);
    auto result = owner.handled.get_future();
    owner.rect->Start();
    EXPECT_GT(result.get(), 0u);
}

TEST(D2RectShuffleEle, ReordersByTheDrawnKey) {
    // Whatever the draws, the part list stays a reordering of the caller's list and each
    // order is sorted by one of the five keys or left as it was.
    const TD2REleArr eles = MakeEles({{300, 900, 2}, {800, 200, 9}, {500, 500, 1}, {100, 1000, 4}});
    TD2Rect rect(MakeRaws({{2440, 1220}}), TD2RPrm{}, eles, 3, 1);
    TD2RRandom rnd(31);
    auto sortedBy = [&](auto key) {
        for (size_t i = 1; i < rect.eleArr.size(); ++i)
            if (key(rect.eleArr[i - 1]) < key(rect.eleArr[i])) return false;
        return true;
    };
    int changed = 0;
    for (int n = 0; n < 100; ++n) {
        const TD2REleArr before = rect.eleArr;
        rect.ShuffleEle(rnd);
        bool same = true;
        for (size_t i = 0; i < eles.size(); ++i) same = same && before[i].XH == rect.eleArr[i].XH;
        if (same) continue;
        ++changed;
        EXPECT_TRUE(sortedBy([](const TD2REle& e) { return e.Length * e.Width; }) ||
                    sortedBy([](const TD2REle& e) { return e.Length + e.Width; }) ||
                    sortedBy([](const TD2REle& e) { return e.Length; }) ||
                    sortedBy([](const TD2REle& e) { return e.Width; }) ||
                    sortedBy([](const TD2REle& e) { return e.Count; }));
    }
    EXPECT_GT(changed, 10);
    std::vector<int32_t> xh;
    for (const TD2REle& e : rect.eleArr) xh.push_back(e.XH);
    std::sort(xh.begin(), xh.end());
    EXPECT_EQ(xh, (std::vector<int32_t>{1, 2, 3, 4}));
}

}  // namespace
