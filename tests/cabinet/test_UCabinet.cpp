// FCabinet: regions, the placing operations and the boards, doors and drawers they make.
#include <gtest/gtest.h>

#include <QStringList>
#include <functional>
#include <limits>

#include "CabinetTestUtil.h"
#include "cabinet/UCabinet.h"

namespace {

const FEdge kNoEdge{};
const FFengB kNoFB{};

TEST(FCabinet, CreateMakesOneWholeRegion) {
    FCabinet cab(600, 550, 720, QStringLiteral("A01-1"));
    EXPECT_EQ(cab.W(), 600);
    EXPECT_EQ(cab.D(), 550);
    EXPECT_EQ(cab.H(), 720);
    EXPECT_EQ(cab.Name(), QStringLiteral("A01-1"));
    ASSERT_EQ(cab.Regions().size(), 1u);
    EXPECT_EQ(cab.Regions()[0], (FRegion{0, 0, 600, 720, 0, 550}));
    EXPECT_TRUE(cab.BCS().empty());
    EXPECT_TRUE(cab.MBS().empty());
    EXPECT_TRUE(cab.CTS().empty());
    EXPECT_TRUE(cab.OBJS().empty());
    EXPECT_EQ(cab.SelRegIndex(), -1);
    EXPECT_EQ(cab.SelBCIndex(), -1);

    FCabinet empty;
    EXPECT_EQ(empty.W(), 0);
    EXPECT_EQ(empty.H(), 0);
    EXPECT_TRUE(empty.Name().isEmpty());
}

TEST(FCabinet, CarcassSequenceAndLog) {
    FCabinet cab(600, 550, 720, QString());
    cab.AddCeBan(0, FShape::R, kNoEdge, MakeCl(18), QStringLiteral("Left"), kNoFB,
                 QStringLiteral("0"));
    ASSERT_EQ(cab.Regions().size(), 2u);
    EXPECT_EQ(cab.Regions()[1], (FRegion{18, 0, 600, 720, 0, 550}));
    cab.AddCeBan(1, FShape::R, kNoEdge, MakeCl(18), QStringLiteral("Right"), kNoFB,
                 QStringLiteral("0"));
    ASSERT_EQ(cab.Regions().size(), 3u);
    EXPECT_EQ(cab.Regions()[2], (FRegion{18, 0, 582, 720, 0, 550}));
    EXPECT_EQ(cab.OBJS(), (FRCS{{0, 1}, {1, 1}}));

    // A back board shortens its own region and appends none.
    cab.AddBackBC(2, MakeEdge(0, 0, 0, 0, 0, 10), MakeCl(5), kNoFB, QStringLiteral("0"));
    ASSERT_EQ(cab.Regions().size(), 3u);
    EXPECT_EQ(cab.Regions()[2].D, 535);
    EXPECT_EQ(cab.Regions()[1].D, 550) << "regions derived earlier keep their depth";
    EXPECT_EQ(cab.OBJS().back(), (FRC{2, 1}));
}

// One placing operation applied to a region (index 1) installed by hand; the board it
// makes and the regions it leaves are compared with the expected values.
struct PlacingCase {
    const char* name;
    FRegion region;
    std::function<void(FCabinet&, int)> place;
    FPos pos;
    double depth;
    FBCType type;
    FShape shape;
    int flag;
    FRegions appended;
    FRegion regionAfter;  // the chosen region after the operation
};

class PlacingTable : public ::testing::TestWithParam<PlacingCase> {};

TEST_P(PlacingTable, BoardAndRegions) {
    const PlacingCase& c = GetParam();
    FCabinet cab(600, 550, 720, QString());
    cab.Regions().push_back(c.region);
    c.place(cab, 1);
    ASSERT_EQ(cab.BCS().size(), 1u);
    const FBC& bc = cab.BCS()[0];
    EXPECT_EQ(bc.Pos, c.pos);
    EXPECT_EQ(bc.D, c.depth);
    EXPECT_EQ(bc.BCType, c.type);
    EXPECT_EQ(bc.Shape, c.shape);
    EXPECT_EQ(bc.Flag, c.flag);
    EXPECT_EQ(bc.regIndex, 1);
    EXPECT_EQ(cab.OBJS(), (FRCS{{0, 1}}));
    ASSERT_EQ(cab.Regions().size(), 2 + c.appended.size());
    for (std::size_t i = 0; i < c.appended.size(); ++i)
        EXPECT_EQ(cab.Regions()[2 + i], c.appended[i])
            << "appended " << i << ": " << RegionText(cab.Regions()[2 + i]);
    EXPECT_EQ(cab.Regions()[1], c.regionAfter) << RegionText(cab.Regions()[1]);
    EXPECT_EQ(cab.Regions()[0], (FRegion{0, 0, 600, 720, 0, 550}));
}

const FRegion kWhole{0, 0, 600, 720, 0, 550};
const FRegion kInner{18, 18, 582, 702, 0, 535};

INSTANTIATE_TEST_SUITE_P(FCabinet, PlacingTable,
                         ::
                             testing::Values(PlacingCase{"LeftSide",
                                                         kWhole,
                                                         [](FCabinet& c, int r) {
                                                             c.AddCeBan(r, FShape::A4L, kNoEdge,
                                                                        MakeCl(18),
                                                                        QStringLiteral("Left"),
                                                                        kNoFB, QStringLiteral("0"));
                                                         },
                                                         {0, 0, 18, 720, 0},
                                                         550,
                                                         FBCType::CeBanLeft,
                                                         FShape::R,
                                                         1,
                                                         {{18, 0, 600, 720, 0, 550}},
                                                         kWhole},
                                             PlacingCase{"LeftSideWithOffsets",
                                                         kWhole,
                                                         [](FCabinet& c, int r) {
                                                             c.AddCeBan(
                                                                 r, FShape::R,
                                                                 MakeEdge(2, 7, 5, 5, 20, 10),
                                                                 MakeCl(18), QStringLiteral("Left"),
                                                                 kNoFB, QStringLiteral("0"));
                                                         },
                                                         {2, 0, 20, 720, 20},
                                                         520,
                                                         FBCType::CeBanLeft,
                                                         FShape::R,
                                                         1,
                                                         {{20, 0, 600, 720, 20, 530}},
                                                         kWhole},
                                             PlacingCase{
                                                 "RightSideWithOffsets",
                                                 kWhole,
                                                 [](FCabinet& c, int r) {
                                                     c.AddCeBan(r, FShape::A4R,
                                                                MakeEdge(7, 3, 5, 5, 20, 10),
                                                                MakeCl(18), QStringLiteral("Right"),
                                                                kNoFB, QStringLiteral("0"));
                                                 },
                                                 {579, 0, 597, 720, 20},
                                                 520,
                                                 FBCType::CeBanRight,
                                                 FShape::R,
                                                 1,
                                                 {{0, 0, 579, 720, 20, 530}},
                                                 kWhole},
                                             PlacingCase{"AnyOtherFlagIsRight",
                                                         kWhole,
                                                         [](FCabinet& c, int r) {
                                                             c.AddCeBan(r, FShape::R, kNoEdge,
                                                                        MakeCl(18),
                                                                        QStringLiteral("left"),
                                                                        kNoFB, QStringLiteral("0"));
                                                         },
                                                         {582, 0, 600, 720, 0},
                                                         550,
                                                         FBCType::CeBanRight,
                                                         FShape::R,
                                                         1,
                                                         {{0, 0, 582, 720, 0, 550}},
                                                         kWhole},
                                             PlacingCase{"TopIgnoresTopOffset",
                                                         FRegion{18, 0, 582, 720, 0, 550},
                                                         [](FCabinet& c, int r) {
                                                             c.AddDingBan(
                                                                 r, FShape::A4L,
                                                                 MakeEdge(1, 2, 5, 9, 10, 5),
                                                                 MakeCl(18), kNoFB,
                                                                 QStringLiteral("1"));
                                                         },
                                                         {19, 0, 580, 18, 10},
                                                         535,
                                                         FBCType::DingBan,
                                                         FShape::A4L,
                                                         1,
                                                         {{18, 18, 582, 720, 0, 550}},
                                                         FRegion{18, 0, 582, 720, 0, 550}},
                                             PlacingCase{"BottomWithPlinth",
                                                         FRegion{18, 18, 582, 720, 0, 550},
                                                         [](FCabinet& c, int r) {
                                                             c.AddDiBan(r, FShape::R,
                                                                        MakeEdge(0, 0, 0, 80, 0, 0),
                                                                        MakeCl(18), kNoFB,
                                                                        QStringLiteral("0"));
                                                         },
                                                         {18, 622, 582, 640, 0},
                                                         550,
                                                         FBCType::DiBan,
                                                         FShape::R,
                                                         1,
                                                         {{18, 18, 582, 622, 0, 550},
                                                          {18, 640, 582, 720, 0, 550}},
                                                         FRegion{18, 18, 582, 720, 0, 550}},
                                             PlacingCase{"ShelfAt360",
                                                         kInner,
                                                         [](FCabinet& c, int r) {
                                                             c.AddBc(r, FShape::A4R,
                                                                     MakeEdge(0, 0, 0, 0, 20, 0),
                                                                     MakeCl(18), 0, 360,
                                                                     QStringLiteral("1"), kNoFB,
                                                                     QStringLiteral("1"));
                                                         },
                                                         {18, 351, 582, 369, 20},
                                                         515,
                                                         FBCType::CengBan,
                                                         FShape::A4R,
                                                         0,
                                                         {{18, 18, 582, 351, 20, 515},
                                                          {18, 369, 582, 702, 20, 515}},
                                                         kInner},
                                             PlacingCase{"ShelfWithSideOffsets",
                                                         kInner,
                                                         [](FCabinet& c, int r) {
                                                             c.AddBc(r, FShape::R,
                                                                     MakeEdge(1, 2, 3, 4, 0, 15),
                                                                     MakeCl(16), 999, 100,
                                                                     QStringLiteral("1"), kNoFB,
                                                                     QStringLiteral("0"));
                                                         },
                                                         {19, 92, 580, 108, 0},
                                                         520,
                                                         FBCType::CengBan,
                                                         FShape::R,
                                                         0,
                                                         {{18, 18, 582, 92, 0, 535},
                                                          {18, 108, 582, 702, 0, 535}},
                                                         kInner},
                                             PlacingCase{"PartitionAt300",
                                                         kInner,
                                                         [](FCabinet& c, int r) {
                                                             c.AddBc(r, FShape::R,
                                                                     MakeEdge(5, 5, 3, 4, 0, 0),
                                                                     MakeCl(18), 300, 0,
                                                                     QStringLiteral("2"), kNoFB,
                                                                     QStringLiteral("2"));
                                                         },
                                                         {291, 21, 309, 698, 0},
                                                         535,
                                                         FBCType::GeBan,
                                                         FShape::R,
                                                         0,
                                                         {{18, 18, 291, 702, 0, 535},
                                                          {309, 18, 582, 702, 0, 535}},
                                                         kInner},
                                             PlacingCase{"BackBoard",
                                                         FRegion{18, 0, 582, 720, 0, 550},
                                                         [](FCabinet& c, int r) {
                                                             c.AddBackBC(
                                                                 r, MakeEdge(1, 2, 3, 4, 99, 10),
                                                                 MakeCl(5), kNoFB,
                                                                 QStringLiteral("0"));
                                                         },
                                                         {19, 3, 580, 716, 535},
                                                         5,
                                                         FBCType::BeiBan,
                                                         FShape::R,
                                                         1,
                                                         {},
                                                         FRegion{18, 0, 582, 720, 0, 535}},
                                             PlacingCase{"UprightBoard",
                                                         FRegion{18, 18, 582, 702, 30, 500},
                                                         [](FCabinet& c, int r) {
                                                             c.AddShuBan(
                                                                 r, MakeEdge(1, 2, 3, 4, 100, 50),
                                                                 MakeCl(18), kNoFB,
                                                                 QStringLiteral("0"));
                                                         },
                                                         {19, 21, 580, 698, 130},
                                                         18,
                                                         FBCType::ShuBan,
                                                         FShape::R,
                                                         0,
                                                         {},
                                                         FRegion{18, 18, 582, 702, 30, 500}}),
                         [](const ::testing::TestParamInfo<PlacingCase>& info) {
                             return std::string(info.param.name);
                         });

// The same operations in a region whose front plane is already set back (Z 20, D 515)
// and with every offset non-zero: front offsets add to the region's Z, the boards'
// depth loses the front and back offsets, side splits pass Z + E.Q and D - E.Q on,
// top and bottom boards pass the region's own Z and D on.
const FRegion kRecessed{18, 18, 582, 702, 20, 515};
const FEdge kAllOffsets{1, 2, 3, 4, 5, 6};

INSTANTIATE_TEST_SUITE_P(
    RecessedRegion, PlacingTable,
    ::testing::Values(PlacingCase{"LeftSide",
                                  kRecessed,
                                  [](FCabinet& c, int r) {
                                      c.AddCeBan(r, FShape::A4R, kAllOffsets, MakeCl(18),
                                                 QStringLiteral("Left"), kNoFB,
                                                 QStringLiteral("0"));
                                  },
                                  {19, 18, 37, 702, 25},
                                  504,
                                  FBCType::CeBanLeft,
                                  FShape::R,
                                  1,
                                  {{37, 18, 582, 702, 25, 510}},
                                  kRecessed},
                      PlacingCase{"RightSide",
                                  kRecessed,
                                  [](FCabinet& c, int r) {
                                      c.AddCeBan(r, FShape::R, kAllOffsets, MakeCl(18),
                                                 QStringLiteral("Right"), kNoFB,
                                                 QStringLiteral("0"));
                                  },
                                  {562, 18, 580, 702, 25},
                                  504,
                                  FBCType::CeBanRight,
                                  FShape::R,
                                  1,
                                  {{18, 18, 562, 702, 25, 510}},
                                  kRecessed},
                      PlacingCase{"Top",
                                  kRecessed,
                                  [](FCabinet& c, int r) {
                                      c.AddDingBan(r, FShape::A4R, kAllOffsets, MakeCl(18), kNoFB,
                                                   QStringLiteral("0"));
                                  },
                                  {19, 18, 580, 36, 25},
                                  504,
                                  FBCType::DingBan,
                                  FShape::A4R,
                                  1,
                                  {{18, 36, 582, 702, 20, 515}},
                                  kRecessed},
                      PlacingCase{"Bottom",
                                  kRecessed,
                                  [](FCabinet& c, int r) {
                                      c.AddDiBan(r, FShape::A4L, kAllOffsets, MakeCl(18), kNoFB,
                                                 QStringLiteral("0"));
                                  },
                                  {19, 680, 580, 698, 25},
                                  504,
                                  FBCType::DiBan,
                                  FShape::A4L,
                                  1,
                                  {{18, 18, 582, 680, 20, 515}, {18, 698, 582, 702, 20, 515}},
                                  kRecessed},
                      PlacingCase{"Shelf",
                                  kRecessed,
                                  [](FCabinet& c, int r) {
                                      c.AddBc(r, FShape::R, kAllOffsets, MakeCl(18), 0, 360,
                                              QStringLiteral("1"), kNoFB, QStringLiteral("0"));
                                  },
                                  {19, 351, 580, 369, 25},
                                  504,
                                  FBCType::CengBan,
                                  FShape::R,
                                  0,
                                  {{18, 18, 582, 351, 25, 510}, {18, 369, 582, 702, 25, 510}},
                                  kRecessed},
                      PlacingCase{"Partition",
                                  kRecessed,
                                  [](FCabinet& c, int r) {
                                      c.AddBc(r, FShape::R, kAllOffsets, MakeCl(18), 300, 0,
                                              QStringLiteral("2"), kNoFB, QStringLiteral("0"));
                                  },
                                  {291, 21, 309, 698, 25},
                                  504,
                                  FBCType::GeBan,
                                  FShape::R,
                                  0,
                                  {{18, 18, 291, 702, 25, 510}, {309, 18, 582, 702, 25, 510}},
                                  kRecessed},
                      PlacingCase{"BackBoard",
                                  kRecessed,
                                  [](FCabinet& c, int r) {
                                      c.AddBackBC(r, kAllOffsets, MakeCl(5), kNoFB,
                                                  QStringLiteral("0"));
                                  },
                                  {19, 21, 580, 698, 524},
                                  5,
                                  FBCType::BeiBan,
                                  FShape::R,
                                  1,
                                  {},
                                  FRegion{18, 18, 582, 702, 20, 504}}),
    [](const ::testing::TestParamInfo<PlacingCase>& info) { return std::string(info.param.name); });

TEST(FCabinet, BoardKeepsItsArgumentsAsCopies) {
    FCabinet cab(600, 550, 720, QString());
    FCl cl = MakeCl(18, QStringLiteral("侧板"), QStringLiteral("12"));
    FFengB fb;
    fb.L = 1;
    fb.Q = 2;
    const FEdge edge = MakeEdge(1, 2, 3, 4, 5, 6);
    cab.AddCeBan(0, FShape::R, edge, cl, QStringLiteral("Left"), fb, QStringLiteral("2"));
    cl.Name = QStringLiteral("changed");
    fb.L = 9;
    const FBC& bc = cab.BCS()[0];
    EXPECT_EQ(bc.Cl, MakeCl(18, QStringLiteral("侧板"), QStringLiteral("12")));
    EXPECT_EQ(bc.FB.L, 1);
    EXPECT_EQ(bc.FB.Q, 2);
    EXPECT_EQ(bc.Edge, edge);
    EXPECT_EQ(bc.WL, QStringLiteral("2"));
}

// Doors and drawers in the region (18, 18, 582, 702), Z 0, D 535.
struct DoorCase {
    const char* name;
    int fm;
    const char* lOrR;
    FPos pos;
};

class DoorTable : public ::testing::TestWithParam<DoorCase> {};

TEST_P(DoorTable, LeafPosition) {
    const DoorCase& c = GetParam();
    FCabinet cab(600, 550, 720, QString());
    cab.Regions().push_back(kInner);
    cab.AddDKM(1, MakeEdge(2, 1, 2, 2, 0, 0), MakeCl(18, QStringLiteral("门")), c.fm,
               QString::fromLatin1(c.lOrR));
    ASSERT_EQ(cab.MBS().size(), 1u);
    const FMB& mb = cab.MBS()[0];
    EXPECT_EQ(mb.Pos, c.pos);
    EXPECT_EQ(mb.D, 18);
    EXPECT_EQ(mb.fm, c.fm);
    EXPECT_EQ(mb.LOrR, QString::fromLatin1(c.lOrR));
    EXPECT_EQ(mb.regIndex, 1);
    EXPECT_EQ(mb.Cl.Name, QStringLiteral("门"));
    EXPECT_EQ(cab.Regions().size(), 2u) << "a door leaves the regions alone";
    EXPECT_EQ(cab.OBJS(), (FRCS{{0, 3}}));
}

INSTANTIATE_TEST_SUITE_P(
    FCabinet, DoorTable,
    ::testing::Values(DoorCase{"HalfLeft", 2, "1", {20, 20, 299, 700, 0}},
                      DoorCase{"HalfRight", 2, "2", {302, 20, 581, 700, 0}},
                      DoorCase{"FullLeft", 1, "1", {20, 20, 581, 700, 0}},
                      // A full-width leaf opening from the right still covers the region.
                      DoorCase{"FullRight", 1, "2", {20, 20, 581, 700, 0}}),
    [](const ::testing::TestParamInfo<DoorCase>& info) { return std::string(info.param.name); });

TEST(FCabinet, DoorFrontOffset) {
    FCabinet cab(600, 550, 720, QString());
    cab.Regions().push_back(FRegion{18, 18, 582, 702, 10, 535});
    cab.AddDKM(1, MakeEdge(0, 0, 0, 0, -3, 0), MakeCl(20), 2, QStringLiteral("1"));
    EXPECT_EQ(cab.MBS()[0].Pos.Z, 7);
    EXPECT_EQ(cab.MBS()[0].D, 20);
}

TEST(FCabinet, DrawerFaceAndRegionBelow) {
    FCabinet cab(600, 550, 720, QString());
    cab.Regions().push_back(kInner);
    cab.AddChouTi(1, MakeCl(16, QStringLiteral("A")), MakeCl(5, QStringLiteral("B")),
                  QStringLiteral("抽屉1"), 36, 4, 350, 20, 21, 80);
    ASSERT_EQ(cab.CTS().size(), 1u);
    const FChTi& ct = cab.CTS()[0];
    EXPECT_EQ(ct.Pos, (FPos{0, 18, 600, 189, -16}));
    EXPECT_EQ(ct.regIndex, 1);
    EXPECT_EQ(ct.Name, QStringLiteral("抽屉1"));
    EXPECT_EQ(ct.ACl.Thick, 16);
    EXPECT_EQ(ct.BCl.Thick, 5);
    EXPECT_EQ(ct.W, 36);
    EXPECT_EQ(ct.H, 4);
    EXPECT_EQ(ct.D, 350);
    EXPECT_EQ(ct.E, 20);
    EXPECT_EQ(ct.F, 21);
    EXPECT_EQ(ct.M, 80);
    ASSERT_EQ(cab.Regions().size(), 3u);
    EXPECT_EQ(cab.Regions()[2], (FRegion{18, 189, 582, 702, 0, 535}));
    EXPECT_EQ(cab.Regions()[1], kInner) << "the drawer's region keeps its rectangle";
    EXPECT_EQ(cab.OBJS(), (FRCS{{0, 2}}));

    // An odd overlap is split in halves, not rounded.
    cab.AddChouTi(2, MakeCl(16), MakeCl(5), QStringLiteral("抽屉2"), 35, 1, 350, 20, 20, 80);
    EXPECT_EQ(cab.CTS()[1].Pos, (FPos{0.5, 189, 599.5, 702, -16}));
    EXPECT_EQ(cab.OBJS().back(), (FRC{1, 2}));
}

// The face stands tA in front of the region's front plane, wherever that plane is;
// the region below the face keeps the region's Z and D.
TEST(FCabinet, DrawerInRecessedRegion) {
    FCabinet cab(600, 550, 720, QString());
    cab.Regions().push_back(kRecessed);
    cab.AddChouTi(1, MakeCl(16), MakeCl(5), QStringLiteral("抽屉1"), 36, 2, 350, 20, 20, 80);
    ASSERT_EQ(cab.CTS().size(), 1u);
    EXPECT_EQ(cab.CTS()[0].Pos, (FPos{0, 18, 600, 360, 4}));
    ASSERT_EQ(cab.Regions().size(), 3u);
    EXPECT_EQ(cab.Regions()[2], (FRegion{18, 360, 582, 702, 20, 515}));
}

// Operations with a region index outside the list, or with arguments that cannot be
// placed (no door division, no drawer height divisor), change nothing at all.
TEST(FCabinet, UnplaceableOperationsAreNoOps) {
    FCabinet cab(600, 550, 720, QStringLiteral("X"));
    cab.AddCeBan(0, FShape::R, kNoEdge, MakeCl(18), QStringLiteral("Left"), kNoFB,
                 QStringLiteral("0"));
    const FCabinet before = cab;
    const std::function<void(FCabinet&, int)> ops[] = {
        [](FCabinet& c, int r) { c.AddBackBC(r, kNoEdge, MakeCl(5), kNoFB, QStringLiteral("0")); },
        [](FCabinet& c, int r) {
            c.AddCeBan(r, FShape::R, kNoEdge, MakeCl(18), QStringLiteral("Left"), kNoFB,
                       QStringLiteral("0"));
        },
        [](FCabinet& c, int r) {
            c.AddCeBan(r, FShape::R, kNoEdge, MakeCl(18), QStringLiteral("Right"), kNoFB,
                       QStringLiteral("0"));
        },
        [](FCabinet& c, int r) {
            c.AddDingBan(r, FShape::R, kNoEdge, MakeCl(18), kNoFB, QStringLiteral("0"));
        },
        [](FCabinet& c, int r) {
            c.AddDiBan(r, FShape::R, kNoEdge, MakeCl(18), kNoFB, QStringLiteral("0"));
        },
        [](FCabinet& c, int r) {
            c.AddBc(r, FShape::R, kNoEdge, MakeCl(18), 0, 300, QStringLiteral("1"), kNoFB,
                    QStringLiteral("0"));
        },
        [](FCabinet& c, int r) {
            c.AddBc(r, FShape::R, kNoEdge, MakeCl(18), 300, 0, QStringLiteral("2"), kNoFB,
                    QStringLiteral("0"));
        },
        [](FCabinet& c, int r) { c.AddShuBan(r, kNoEdge, MakeCl(18), kNoFB, QStringLiteral("0")); },
        [](FCabinet& c, int r) { c.AddDKM(r, kNoEdge, MakeCl(18), 2, QStringLiteral("1")); },
        [](FCabinet& c, int r) {
            c.AddChouTi(r, MakeCl(16), MakeCl(5), QStringLiteral("抽屉1"), 36, 4, 350, 20, 20, 80);
        },
    };
    for (int r : {2, 3, 100, -1, -2}) {
        for (std::size_t i = 0; i < std::size(ops); ++i) {
            SCOPED_TRACE("operation " + std::to_string(i) + " region " + std::to_string(r));
            FCabinet cab2 = before;
            ops[i](cab2, r);
            ExpectSameCabinet(cab2, before);
        }
    }
    FCabinet cab3 = before;
    cab3.AddDKM(1, kNoEdge, MakeCl(18), 0, QStringLiteral("1"));
    cab3.AddChouTi(1, MakeCl(16), MakeCl(5), QStringLiteral("抽屉1"), 36, 0, 350, 20, 20, 80);
    cab3.AddChouTi(1, MakeCl(16), MakeCl(5), QStringLiteral("抽屉1"), 36, -2, 350, 20, 20, 80);
    ExpectSameCabinet(cab3, before);
    // Numbers that are not finite would make the cabinet document unreadable.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    FFengB badFB;
    badFB.H = inf;
    cab3.AddBackBC(1, MakeEdge(0, 0, 0, 0, 0, nan), MakeCl(5), kNoFB, QStringLiteral("0"));
    cab3.AddCeBan(1, FShape::R, kNoEdge, MakeCl(inf), QStringLiteral("Left"), kNoFB,
                  QStringLiteral("0"));
    cab3.AddDingBan(1, FShape::R, kNoEdge, MakeCl(18), badFB, QStringLiteral("0"));
    cab3.AddBc(1, FShape::R, kNoEdge, MakeCl(18), 0, nan, QStringLiteral("1"), kNoFB,
               QStringLiteral("0"));
    cab3.AddBc(1, FShape::R, kNoEdge, MakeCl(18), -inf, 0, QStringLiteral("2"), kNoFB,
               QStringLiteral("0"));
    cab3.AddDKM(1, MakeEdge(nan, 0, 0, 0, 0, 0), MakeCl(18), 2, QStringLiteral("1"));
    cab3.AddChouTi(1, MakeCl(nan), MakeCl(5), QStringLiteral("抽屉1"), 36, 2, 350, 20, 20, 80);
    ExpectSameCabinet(cab3, before);
    // Only the coordinate a shelf or partition uses has to be a number.
    cab3.AddBc(1, FShape::R, kNoEdge, MakeCl(18), nan, 300, QStringLiteral("1"), kNoFB,
               QStringLiteral("0"));
    EXPECT_EQ(cab3.BCS().size(), 2u);
    // The last valid index still places.
    cab3.AddShuBan(1, kNoEdge, MakeCl(18), kNoFB, QStringLiteral("0"));
    EXPECT_EQ(cab3.BCS().size(), 3u);
}

TEST(FCabinet, RegionSizeGetters) {
    FCabinet cab(600, 550, 720, QString());
    cab.Regions().push_back(FRegion{18, 18, 582, 702, 20, 515});
    const struct {
        int index;
        double w, h, d;
    } cases[] = {
        {0, 600, 720, 550}, {1, 564, 684, 515}, {-1, 0, 0, 0}, {2, 0, 0, 0}, {-7, 0, 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(cab.GetRegWidth(c.index), c.w) << c.index;
        EXPECT_EQ(cab.GetRegHight(c.index), c.h) << c.index;
        EXPECT_EQ(cab.GetRegDepth(c.index), c.d) << c.index;
    }
    EXPECT_EQ(cab.GetRegion(1), (FRegion{18, 18, 582, 702, 20, 515}));
    EXPECT_EQ(cab.GetRegion(5), FRegion{});
}

TEST(FCabinet, NamingCounters) {
    FCabinet cab(600, 550, 720, QString());
    EXPECT_EQ(cab.GetBCCount(FBCType::CengBan), QString());
    EXPECT_EQ(cab.GetCTCount(), QStringLiteral("1"));
    cab.Regions().push_back(kInner);
    cab.AddBc(1, FShape::R, kNoEdge, MakeCl(18), 0, 200, QStringLiteral("1"), kNoFB,
              QStringLiteral("0"));
    EXPECT_EQ(cab.GetBCCount(FBCType::CengBan), QStringLiteral("2"));
    cab.AddBc(1, FShape::R, kNoEdge, MakeCl(18), 0, 400, QStringLiteral("1"), kNoFB,
              QStringLiteral("0"));
    EXPECT_EQ(cab.GetBCCount(FBCType::CengBan), QStringLiteral("3"));
    EXPECT_EQ(cab.GetBCCount(FBCType::GeBan), QString());
    EXPECT_EQ(cab.GetBCCount(FBCType::BeiBan), QString());
    cab.AddChouTi(1, MakeCl(16), MakeCl(5), QStringLiteral("抽屉1"), 36, 4, 350, 20, 20, 80);
    EXPECT_EQ(cab.GetCTCount(), QStringLiteral("2"));
    cab.AddChouTi(1, MakeCl(16), MakeCl(5), QStringLiteral("抽屉2"), 36, 4, 350, 20, 20, 80);
    EXPECT_EQ(cab.GetCTCount(), QStringLiteral("3"));
}

FBC Board(FBCType type, double x1, double y1, double x2, double y2, const char* name) {
    FBC bc;
    bc.BCType = type;
    bc.Pos = FPos{x1, y1, x2, y2, 0};
    bc.Cl.Name = QString::fromUtf8(name);
    return bc;
}

QStringList Names(const FBCS& list) {
    QStringList names;
    for (const FBC& bc : list) names << bc.Cl.Name;
    return names;
}

TEST(FCabinet, MeetingBoardsUseExactEquality) {
    FCabinet cab(600, 550, 720, QString());
    const FBC left = Board(FBCType::CeBanLeft, 0, 0, 18, 720, "left");
    cab.SetBCS({left, Board(FBCType::DingBan, 18, 0, 582, 18, "top"),
                Board(FBCType::DiBan, 18.0001, 702, 582, 720, "bottom-off"),
                Board(FBCType::CengBan, 18, 351, 582, 369, "shelf"),
                Board(FBCType::ShuBan, 18, 18, 582, 702, "upright"),
                Board(FBCType::GeBan, 18, 18, 36, 702, "partition"),
                Board(FBCType::BeiBan, 18, 0, 582, 720, "back"),
                Board(FBCType::CengBan, -50, 351, 0, 369, "shelf-left-of-side"),
                Board(FBCType::CeBanRight, 582, 0, 600, 720, "right"),
                Board(FBCType::GeBan, 291, 369, 309, 702, "partition-below"),
                Board(FBCType::GeBan, 291, 18, 309, 351.5, "partition-above-off"),
                Board(FBCType::CeBanLeft, 300, 360, 318, 365, "short-side")});
    EXPECT_EQ(Names(cab.GetJoinBCS(left)),
              (QStringList{"top", "shelf", "upright", "shelf-left-of-side"}));

    const FBC shelf = cab.BCS()[3];
    EXPECT_EQ(Names(cab.GetJoinBCS2(shelf)), (QStringList{"partition-below"}));
    const FBC top = cab.BCS()[1];
    EXPECT_EQ(Names(cab.GetJoinBCS2(top)), (QStringList{"partition", "partition-above-off"}));

    EXPECT_EQ(Names(cab.GetJoinBCS3(shelf)), (QStringList{"left", "right"}));
    // The argument itself counts when it satisfies the test.
    const FBC shortSide = cab.BCS()[11];
    EXPECT_EQ(Names(cab.GetJoinBCS3(shortSide)), (QStringList{"left", "right", "short-side"}));
}

}  // namespace
