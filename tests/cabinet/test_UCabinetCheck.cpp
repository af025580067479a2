// Placement checks of the designer: clashes between boards, boards, doors and drawers
// that leave or overflow their region, and the region selected after a placement.
#include <gtest/gtest.h>

#include <functional>

#include "CabinetTestUtil.h"
#include "cabinet/UCabinetCheck.h"

namespace {

using Place = std::function<void(FCabinet&)>;

const FCl kBoard = MakeCl(18, QStringLiteral("板"));

// Places on a copy and checks; only a sound placement reaches the cabinet itself.
FPlaceCheck Try(FCabinet& cab, const Place& place) {
    FCabinet trial(cab);
    place(trial);
    const FPlaceCheck check = CheckPlacement(cab, trial);
    if (check.Ok()) place(cab);
    return check;
}

Place Side(int reg, const char* flag, FEdge e = {}) {
    return [=](FCabinet& c) {
        c.AddCeBan(reg, FShape::R, e, kBoard, QString::fromLatin1(flag), FFengB{}, "0");
    };
}
Place Top(int reg) {
    return [=](FCabinet& c) { c.AddDingBan(reg, FShape::R, FEdge{}, kBoard, FFengB{}, "0"); };
}
Place Bottom(int reg) {
    return [=](FCabinet& c) { c.AddDiBan(reg, FShape::R, FEdge{}, kBoard, FFengB{}, "0"); };
}
Place Back(int reg, FEdge e = {}) {
    return [=](FCabinet& c) { c.AddBackBC(reg, e, MakeCl(5), FFengB{}, "0"); };
}
Place Shelf(int reg, double y, FEdge e = {}) {
    return [=](FCabinet& c) { c.AddBc(reg, FShape::R, e, kBoard, 0, y, "1", FFengB{}, "0"); };
}
Place Partition(int reg, double x) {
    return [=](FCabinet& c) { c.AddBc(reg, FShape::R, FEdge{}, kBoard, x, 0, "2", FFengB{}, "0"); };
}
Place Upright(int reg) {
    return [=](FCabinet& c) { c.AddShuBan(reg, FEdge{}, kBoard, FFengB{}, "0"); };
}
Place Door(int reg, FEdge e, int fm, const char* side) {
    return [=](FCabinet& c) { c.AddDKM(reg, e, kBoard, fm, QString::fromLatin1(side)); };
}
Place Drawer(int reg, int w, int d, int e = 20, int f = 20) {
    return [=](FCabinet& c) {
        c.AddChouTi(reg, MakeCl(18), MakeCl(9), QStringLiteral("抽屉1"), w, 4, d, e, f, 80);
    };
}

// 600 x 550 x 720 with both sides (regions 1 and 2, region 2 = 18 ... 582).
FCabinet Sides() {
    FCabinet cab(600, 550, 720, QStringLiteral("柜"));
    Side(0, "Left")(cab);
    Side(1, "Right")(cab);
    return cab;
}

}  // namespace

TEST(CheckPlacement, ABoardSharingVolumeWithABoardIsRefusedNamingIt) {
    struct Case {
        const char* what;
        std::vector<Place> first;  // placed after the two sides, each must pass
        Place clash;
        int clashWith;
    };
    const Case cases[] = {
        {"bottom in the outer region after both sides", {}, Bottom(0), 0},
        {"top in the outer region after both sides", {}, Top(0), 0},
        {"second left side at the same place", {}, Side(0, "Left"), 0},
        {"second right side at the same place", {}, Side(1, "Right"), 1},
        {"back board over the full-depth sides", {}, Back(0), 0},
        {"shelf across the sides", {}, Shelf(0, 360), 0},
        {"upright board across the sides", {}, Upright(0), 0},
        {"shelf through a shelf", {Shelf(2, 360)}, Shelf(2, 365), 2},
        {"partition through a partition", {Partition(2, 300)}, Partition(2, 305), 2},
        {"back board through the top", {Top(2)}, Back(2), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FCabinet cab = Sides();
        for (const Place& p : c.first) ASSERT_TRUE(Try(cab, p).Ok());
        const FCabinet before = cab;
        const FPlaceCheck check = Try(cab, c.clash);
        EXPECT_EQ(check.fault, FPlaceFault::Overlap);
        EXPECT_EQ(check.objType, ObjBoard);
        EXPECT_EQ(check.clashWith, c.clashWith);
        // Nothing was placed.
        ExpectSameCabinet(cab, before);
    }
}

TEST(CheckPlacement, BoardsOutsideTheirRegionOrWithoutSizeAreRefused) {
    struct Case {
        const char* what;
        Place place;
        FPlaceFault fault;
    };
    const Case cases[] = {
        {"shelf at 900 in a 720 high cabinet", Shelf(2, 900), FPlaceFault::OutsideRegion},
        {"shelf half through the bottom edge", Shelf(2, 715), FPlaceFault::OutsideRegion},
        {"shelf half through the top edge", Shelf(2, 5), FPlaceFault::OutsideRegion},
        {"partition left of its region", Partition(2, 10), FPlaceFault::OutsideRegion},
        {"partition right of the cabinet", Partition(2, 640), FPlaceFault::OutsideRegion},
        {"side board set out of its region", Side(2, "Left", MakeEdge(-30, 0, 0, 0, 0, 0)),
         FPlaceFault::OutsideRegion},
        {"shelf set in front of its region", Shelf(2, 360, MakeEdge(0, 0, 0, 0, -10, 0)),
         FPlaceFault::OutsideRegion},
        {"shelf whose side gaps eat its width", Shelf(2, 360, MakeEdge(300, 300, 0, 0, 0, 0)),
         FPlaceFault::NoSize},
        {"back board whose gaps eat its height", Back(2, MakeEdge(0, 0, 400, 400, 0, 0)),
         FPlaceFault::NoSize},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FCabinet cab = Sides();
        const FCabinet before = cab;
        const FPlaceCheck check = Try(cab, c.place);
        EXPECT_EQ(check.fault, c.fault);
        EXPECT_EQ(check.regIndex, 2);
        ExpectSameCabinet(cab, before);
    }
}

TEST(CheckPlacement, DoorsAndDrawersMustFitTheirRegion) {
    struct Case {
        const char* what;
        Place place;
        FPlaceFault fault;
        int objType;
    };
    const Case cases[] = {
        {"full door inside the region", Door(2, MakeEdge(2, 2, 2, 2, 0, 0), 1, "1"),
         FPlaceFault::None, ObjDoor},
        {"half doors inside the region", Door(2, MakeEdge(2, 1, 2, 2, 0, 0), 2, "2"),
         FPlaceFault::None, ObjDoor},
        {"door wider than its region", Door(2, MakeEdge(-10, -10, 2, 2, 0, 0), 1, "1"),
         FPlaceFault::OutsideRegion, ObjDoor},
        {"door taller than its region", Door(2, MakeEdge(2, 2, -5, 0, 0, 0), 1, "1"),
         FPlaceFault::OutsideRegion, ObjDoor},
        {"door whose gaps eat its width", Door(2, MakeEdge(300, 300, 0, 0, 0, 0), 1, "1"),
         FPlaceFault::NoSize, ObjDoor},
        {"drawer with the usual overlap", Drawer(2, 36, 350), FPlaceFault::None, ObjDrawer},
        {"drawer box wider than its region", Drawer(2, 100, 350), FPlaceFault::TooWide,
         ObjDrawer},
        {"drawer box without face gaps", Drawer(2, 36, 350, 0, 0), FPlaceFault::TooWide,
         ObjDrawer},
        {"drawer deeper than its region", Drawer(2, 36, 600), FPlaceFault::TooDeep, ObjDrawer},
        {"drawer too shallow for its box boards", Drawer(2, 36, 30), FPlaceFault::NoSize,
         ObjDrawer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FCabinet cab = Sides();
        const FCabinet before = cab;
        const FPlaceCheck check = Try(cab, c.place);
        EXPECT_EQ(check.fault, c.fault);
        EXPECT_EQ(check.objType, c.objType);
        if (c.fault != FPlaceFault::None) ExpectSameCabinet(cab, before);
    }
}

TEST(CheckPlacement, AUsualCarcassPassesEveryCheck) {
    FCabinet cab(600, 550, 720, QStringLiteral("柜"));
    const FEdge beforeBack = MakeEdge(0, 0, 0, 0, 0, 18);
    const std::vector<Place> steps = {
        Side(0, "Left", beforeBack), Side(1, "Right", beforeBack), Top(2), Bottom(3),
        Back(4), Shelf(4, 360), Partition(6, 300), Upright(8),
        Door(7, MakeEdge(2, 2, 2, 2, 0, 0), 2, "1"), Drawer(9, 36, 350), Drawer(10, 36, 350),
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const FPlaceCheck check = Try(cab, steps[i]);
        EXPECT_TRUE(check.Ok()) << "step " << i << " fault " << int(check.fault) << " with "
                                << check.clashWith;
    }
    EXPECT_EQ(cab.OBJS().size(), steps.size());
    // An operation that places nothing is no fault either.
    const FPlaceCheck none = Try(cab, Shelf(99, 100));
    EXPECT_TRUE(none.Ok());
    EXPECT_EQ(none.objType, 0);
}

TEST(NaturalNextRegion, TheInnerRegionAPlacementLeaves) {
    struct Case {
        const char* what;
        std::vector<Place> first;
        Place place;
        int placedIn;
        int expected;
    };
    // Regions after Sides(): 0 whole, 1 right of the left side, 2 between the sides.
    const Case cases[] = {
        {"left side: the region right of it", {}, Side(2, "Left"), 2, 3},
        {"top board: the region under it", {}, Top(2), 2, 3},
        {"bottom board: the region above it, not the strip under it", {}, Bottom(2), 2, 3},
        {"shelf high up: the larger lower half", {}, Shelf(2, 200), 2, 4},
        {"shelf low down: the larger upper half", {}, Shelf(2, 600), 2, 3},
        {"shelf in the middle: the upper half", {}, Shelf(2, 360), 2, 3},
        {"partition at the left: the larger right half", {}, Partition(2, 150), 2, 4},
        {"partition at the right: the larger left half", {}, Partition(2, 450), 2, 3},
        {"back board: its own region", {}, Back(2), 2, 2},
        {"upright board: its own region", {}, Upright(2), 2, 2},
        {"door: its own region", {}, Door(2, FEdge{}, 1, "1"), 2, 2},
        {"drawer: the space under its face", {}, Drawer(2, 36, 350), 2, 3},
        {"nothing placed", {}, Shelf(40, 360), 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FCabinet cab = Sides();
        for (const Place& p : c.first) p(cab);
        FCabinet after = cab;
        c.place(after);
        EXPECT_EQ(NaturalNextRegion(cab, after, c.placedIn), c.expected);
    }
}
