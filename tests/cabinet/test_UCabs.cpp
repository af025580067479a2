// FCabs: splitting the frame, cabinets in regions, ownership, selection.
#include <gtest/gtest.h>

#include <limits>

#include "CabinetTestUtil.h"
#include "cabinet/UCabs.h"

namespace {

TEST(FCabs, CreateAndSplit) {
    FCabs cbs(1200, 550, 720);
    EXPECT_EQ(cbs.W(), 1200);
    EXPECT_EQ(cbs.D(), 550);
    EXPECT_EQ(cbs.H(), 720);
    EXPECT_EQ(cbs.SelIndex(), -1);
    EXPECT_TRUE(cbs.CBS().empty());
    EXPECT_EQ(cbs.Regions(), (FRegions{{0, 0, 1200, 720, 0, 550}}));

    cbs.AddSplit(0, 600, 0, QStringLiteral("2"));
    EXPECT_EQ(cbs.Regions(), (FRegions{{0, 0, 600, 720, 0, 550}, {600, 0, 1200, 720, 0, 550}}));
    cbs.AddSplit(0, 0, 360, QStringLiteral("1"));
    EXPECT_EQ(cbs.Regions(), (FRegions{{0, 0, 600, 360, 0, 550},
                                       {600, 0, 1200, 720, 0, 550},
                                       {0, 360, 600, 720, 0, 550}}));
    for (int bad : {3, 10, -1}) {
        cbs.AddSplit(bad, 100, 100, QStringLiteral("1"));
        cbs.AddSplit(bad, 100, 100, QStringLiteral("2"));
    }
    EXPECT_EQ(cbs.Regions().size(), 3u);
    // A split line that is not a number is refused; only the coordinate used counts.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    cbs.AddSplit(1, nan, 0, QStringLiteral("2"));
    cbs.AddSplit(1, 0, inf, QStringLiteral("1"));
    EXPECT_EQ(cbs.Regions().size(), 3u);
    cbs.AddSplit(1, 900, nan, QStringLiteral("2"));
    ASSERT_EQ(cbs.Regions().size(), 4u);
    EXPECT_EQ(cbs.Regions()[3], (FRegion{900, 0, 1200, 720, 0, 550}));
}

TEST(FCabs, RegionSizeGetters) {
    FCabs cbs(1200, 550, 720);
    cbs.AddSplit(0, 450, 0, QStringLiteral("2"));
    const struct {
        int index;
        double w, h, d;
    } cases[] = {{0, 450, 720, 550}, {1, 750, 720, 550}, {-1, 0, 0, 0}, {2, 0, 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(cbs.GetRegWidth(c.index), c.w) << c.index;
        EXPECT_EQ(cbs.GetRegHight(c.index), c.h) << c.index;
        EXPECT_EQ(cbs.GetRegDepth(c.index), c.d) << c.index;
    }
}

TEST(FCabs, CabinetsByRegion) {
    FCabs cbs(1200, 550, 720);
    cbs.AddSplit(0, 600, 0, QStringLiteral("2"));
    FCabinet* a = cbs.AddCabinet(1, std::make_unique<FCabinet>(600, 550, 720, QStringLiteral("A")));
    FCabinet* b = cbs.AddCabinet(0, std::make_unique<FCabinet>(600, 550, 720, QStringLiteral("B")));
    FCabinet* c = cbs.AddCabinet(1, std::make_unique<FCabinet>(600, 550, 720, QStringLiteral("C")));
    ASSERT_EQ(cbs.CBS().size(), 3u);
    EXPECT_EQ(a->ParRegIndex(), 1);
    EXPECT_EQ(b->ParRegIndex(), 0);
    EXPECT_EQ(c->ParRegIndex(), 1);

    int index = -5;
    CabinetHandle found = cbs.GetCabinet(0, index);
    EXPECT_TRUE(found.IsInCombination());
    EXPECT_EQ(found.get(), b);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(found.TakeOwned(), nullptr) << "a combination's cabinet stays with it";
    EXPECT_EQ(cbs.CBS()[1].get(), b);

    // The first cabinet in list order wins when two share a region.
    CabinetHandle first = cbs.GetCabinet(1, index);
    EXPECT_EQ(first.get(), a);
    EXPECT_EQ(index, 0);

    // No cabinet in the region: a fresh empty one for the caller, index untouched.
    cbs.AddSplit(0, 0, 300, QStringLiteral("1"));
    index = 42;
    CabinetHandle none = cbs.GetCabinet(2, index);
    EXPECT_EQ(index, 42);
    ASSERT_NE(none.get(), nullptr);
    EXPECT_FALSE(none.IsInCombination());
    EXPECT_EQ(none->W(), 0);
    EXPECT_EQ(none->D(), 0);
    EXPECT_EQ(none->H(), 0);
    EXPECT_TRUE(none->Name().isEmpty());
    EXPECT_EQ(cbs.CBS().size(), 3u);
    std::unique_ptr<FCabinet> mine = none.TakeOwned();
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(none.get(), nullptr);
    // It can then be put into the combination.
    EXPECT_EQ(cbs.AddCabinet(2, std::move(mine))->ParRegIndex(), 2);
    EXPECT_TRUE(cbs.GetCabinet(2, index).IsInCombination());
    EXPECT_EQ(index, 3);

    EXPECT_EQ(cbs.AddCabinet(0, nullptr), nullptr);
    EXPECT_EQ(cbs.CBS().size(), 4u);

    cbs.FreeObj();
    EXPECT_TRUE(cbs.CBS().empty());
    EXPECT_EQ(cbs.Regions().size(), 3u) << "freeing the cabinets keeps the regions";
}

TEST(FCabs, SelObjectTakesFirstRegionStrictly) {
    FCabs cbs(1200, 550, 720);
    cbs.AddSplit(0, 600, 0, QStringLiteral("2"));
    cbs.AddSplit(1, 0, 360, QStringLiteral("1"));
    const struct {
        double x, y;
        int expected;
    } cases[] = {{100, 100, 0},   {700, 100, 1},        {700, 500, 2},  {600, 100, -1},
                 {700, 360, -1},  {0, 10, -1},          {1200, 10, -1}, {-5, -5, -1},
                 {1300, 100, -1}, {599.999, 719.999, 0}};
    for (const auto& c : cases) {
        cbs.SetSelIndex(1);
        cbs.SelObject(c.x, c.y);
        EXPECT_EQ(cbs.SelIndex(), c.expected) << c.x << ", " << c.y;
    }
}

}  // namespace
