// Statistics of a scheme: sums, sheets per size, pieces per layout, uncut pieces and
// reusable offcuts.

#include <gtest/gtest.h>

#include <limits>
#include <map>

#include "optimizer/UnitD2RectDisp.h"
#include "optimizer/UnitD2RectLimits.h"
#include "test_UnitD2RectHelpers.h"

namespace {

TD2RGene Layout(const QString& name, double length, double width, int32_t count, double price = 1) {
    TD2RGene g;
    g.RawName = name;
    g.RawDbID = "7";
    g.RawLength = length;
    g.RawWidth = width;
    g.RawCount = count;
    g.RawPrice = price;
    return g;
}

void Place(TD2RGene& g, const TD2REleArr& eles, int32_t xh, bool turned = false) {
    const TD2REle& e = eles[xh - 1];
    g.EleList.push_back(TRectEle{xh - 1, xh, e.Name, "", 0, 0, turned ? e.Width : e.Length,
                                 turned ? e.Length : e.Width});
    g.EleArea += e.Length * e.Width;
}

TEST(D2ResultGetResult, EmptySchemeListsEveryPartAsUncut) {
    const TD2REleArr eles = MakeEles({{600, 400, 3}, {300, 200, 5}});
    TD2Rslt r;
    r.RawUseCount = 99;  // stale figures must not survive
    TD2Result().GetResult({}, TD2RPrm{}, eles, r);
    EXPECT_EQ(r.eleTotalArea, 0);
    EXPECT_EQ(r.rawUseArea, 0);
    EXPECT_EQ(r.UltiRate, 0);
    EXPECT_EQ(r.RawUseCount, 0);
    EXPECT_EQ(r.TotalPrice, 0);
    EXPECT_TRUE(r.EleCutArr.empty());
    EXPECT_TRUE(r.UseRawArr.empty());
    ASSERT_EQ(r.NoCutArr.size(), 2u);
    EXPECT_EQ(r.NoCutArr[0].XH, 1);
    EXPECT_EQ(r.NoCutArr[0].count, 3);
    EXPECT_EQ(r.NoCutArr[1].Name, "P2");
    EXPECT_EQ(r.NoCutArr[1].count, 5);
    EXPECT_EQ(r.NoCutArr[1].length, 300);
}

TEST(D2ResultGetResult, FiguresPiecesAndUncut) {
    TD2REleArr eles;
    for (int i = 1; i <= 7; ++i) eles.push_back(MakeEles({{100.0 * i, 50, 10}})[0]);
    for (int i = 0; i < 7; ++i) eles[i].XH = i + 1;
    eles[6].Name = "seventh";
    TD2RGene a = Layout("oak", 2440, 1220, 3, 2.0);
    Place(a, eles, 7, true);  // first occurrence turned: listed with turned extents
    Place(a, eles, 2);
    Place(a, eles, 7);
    TD2RGene b = Layout("oak", 2440, 1220, 1);
    Place(b, eles, 2);
    TD2RGene c = Layout("beech", 2440, 1220, 2);
    Place(c, eles, 1);
    TD2RGene d = Layout("oak", 1220.5, 600, 1);
    Place(d, eles, 3);
    const TD2RSchame s{a, b, c, d};
    const TD2REleArr before = eles;

    TD2Rslt r;
    TD2Result().GetResult(s, TD2RPrm{}, eles, r);

    const double sheet = 2440.0 * 1220;
    EXPECT_DOUBLE_EQ(r.rawUseArea, sheet * 6 + 1220.5 * 600);
    EXPECT_EQ(r.RawUseCount, 7);
    EXPECT_DOUBLE_EQ(r.eleTotalArea, 3 * a.EleArea + b.EleArea + 2 * c.EleArea + d.EleArea);
    EXPECT_DOUBLE_EQ(r.UltiRate, r.eleTotalArea / r.rawUseArea);
    EXPECT_DOUBLE_EQ(r.TotalPrice, sheet * 3 * 2 / 1e6 + sheet * 3 / 1e6 + 1220.5 * 600 / 1e6);

    ASSERT_EQ(r.UseRawArr.size(), 3u);
    EXPECT_EQ(r.UseRawArr[0].rawName, "oak");
    EXPECT_EQ(r.UseRawArr[0].rawSize, QString("2440×1220"));
    EXPECT_EQ(r.UseRawArr[0].Count, 4);  // same size and name: summed
    EXPECT_EQ(r.UseRawArr[1].rawName, "beech");
    EXPECT_EQ(r.UseRawArr[1].Count, 2);
    EXPECT_EQ(r.UseRawArr[2].rawSize, QString("1220.5×600"));

    ASSERT_EQ(r.EleCutArr.size(), 4u);
    ASSERT_EQ(r.EleCutArr[0].size(), 2u);
    EXPECT_EQ(r.EleCutArr[0][0].XH, 7);
    EXPECT_EQ(r.EleCutArr[0][0].Name, "seventh");
    EXPECT_EQ(r.EleCutArr[0][0].count, 2);  // per sheet, not times RawCount
    EXPECT_EQ(r.EleCutArr[0][0].length, 50);
    EXPECT_EQ(r.EleCutArr[0][0].width, 700);
    EXPECT_EQ(r.EleCutArr[0][1].XH, 2);
    EXPECT_EQ(r.EleCutArr[0][1].count, 1);

    // part 7: 10 − 3 × 2; part 2: 10 − 3 − 1; part 1: 10 − 2; part 3: 10 − 1
    std::map<int32_t, int32_t> uncut;
    for (const TEleCut& e : r.NoCutArr) uncut[e.XH] = e.count;
    EXPECT_EQ(uncut, (std::map<int32_t, int32_t>{
                         {1, 8}, {2, 6}, {3, 9}, {4, 10}, {5, 10}, {6, 10}, {7, 4}}));
    EXPECT_EQ(eles[6].Count, before[6].Count);  // the caller's list is not changed
}

TEST(D2ResultGetResult, ReusableOffcuts) {
    const TD2REleArr eles = MakeEles({{100, 100, 100}});
    TD2RGene a = Layout("oak", 2440, 1220, 2);
    Place(a, eles, 1);
    a.RectArr = {
        {0, 0, 100, 100}, {0, 0, 99.9, 500}, {0, 0, 500, 100}, {0, 0, 100, 500}, {0, 0, 0, 0}};
    TD2RGene b = a;
    b.RawCount = 3;
    b.RectArr = {{10, 10, 500, 100}};
    TD2RGene c = b;
    c.RawDbID = "8";
    c.RawName = "pine";
    TD2Rslt r;
    TD2Result().GetResult({a, b, c}, TD2RPrm{}, eles, r);
    ASSERT_EQ(r.BinSizeArr.size(), 4u);
    EXPECT_EQ(r.BinSizeArr[0].length, 100);
    EXPECT_EQ(r.BinSizeArr[0].width, 100);
    EXPECT_EQ(r.BinSizeArr[0].count, 2);
    EXPECT_EQ(r.BinSizeArr[1].length, 500);
    EXPECT_EQ(r.BinSizeArr[1].count, 5);  // same size and material in two layouts
    EXPECT_EQ(r.BinSizeArr[2].length, 100);
    EXPECT_EQ(r.BinSizeArr[2].width, 500);  // not merged with 500 × 100
    EXPECT_EQ(r.BinSizeArr[3].rawDbID, "8");
    EXPECT_EQ(r.BinSizeArr[3].rawName, "pine");
    EXPECT_EQ(r.BinSizeArr[3].count, 3);

    TD2RPrm large;
    large.Bin = TBin{501, 100};
    TD2Result().GetResult({a, b, c}, large, eles, r);
    EXPECT_TRUE(r.BinSizeArr.empty());
}

}  // namespace

namespace {

TEST(D2ResultGetResult, CountsOfManyLayoutsDoNotWrapRound) {
    // Counts as large as a stored document may hold: the sums stay at the largest
    // figure instead of turning negative.
    const TD2REleArr eles = MakeEles({{600, 400, 1}});
    TD2RSchame schame;
    for (int i = 0; i < 30; ++i) {
        schame.push_back(Layout("A", 2440, 1220, kMaxStockCount));
        Place(schame.back(), eles, 1);
    }
    TD2Rslt r;
    TD2Result().GetResult(schame, TD2RPrm{}, eles, r);
    EXPECT_EQ(r.RawUseCount, std::numeric_limits<int32_t>::max());
    ASSERT_EQ(r.UseRawArr.size(), 1u);
    EXPECT_EQ(r.UseRawArr[0].Count, std::numeric_limits<int32_t>::max());
    ASSERT_EQ(r.NoCutArr.size(), 1u);
    EXPECT_EQ(r.NoCutArr[0].count, std::numeric_limits<int32_t>::min());
    EXPECT_GT(r.rawUseArea, 0);
}

}  // namespace
