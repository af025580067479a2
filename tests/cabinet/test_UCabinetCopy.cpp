// FCabinetCopy: rebuilding a cabinet at a new size and without its last element.
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

#include "CabinetTestUtil.h"
#include "cabinet/UCabinetCopy.h"

namespace {

const FFengB kNoFB{};

// 600 x 550 x 720 with left and right sides of 18 and a shelf centred at 360.
FCabinet SidesAndShelf() {
    FCabinet cab(600, 550, 720, QStringLiteral("A01-1"));
    cab.AddCeBan(0, FShape::R, FEdge{}, MakeCl(18, QStringLiteral("侧板")), QStringLiteral("Left"),
                 kNoFB, QStringLiteral("2"));
    cab.AddCeBan(1, FShape::R, FEdge{}, MakeCl(18, QStringLiteral("侧板")), QStringLiteral("Right"),
                 kNoFB, QStringLiteral("2"));
    cab.AddBc(2, FShape::R, FEdge{}, MakeCl(18, QStringLiteral("层板")), 0, 360,
              QStringLiteral("1"), kNoFB, QStringLiteral("1"));
    return cab;
}

TEST(FCabinetCopy, ResizeExample) {
    const FCabinet src = SidesAndShelf();
    auto cab = FCabinetCopy::CopyCb(800, 550, 900, src);
    ASSERT_EQ(cab->BCS().size(), 3u);
    EXPECT_EQ(cab->BCS()[0].Pos, (FPos{0, 0, 18, 900, 0}));
    EXPECT_EQ(cab->BCS()[1].Pos, (FPos{782, 0, 800, 900, 0}));
    const FBC& shelf = cab->BCS()[2];
    EXPECT_EQ((shelf.Pos.Y1 + shelf.Pos.Y2) / 2, 450);
    EXPECT_EQ(shelf.Pos.X1, 18);
    EXPECT_EQ(shelf.Pos.X2, 782);
    EXPECT_EQ(cab->Name(), QStringLiteral("A01-1"));
    EXPECT_EQ(cab->W(), 800);
    EXPECT_EQ(cab->H(), 900);
    EXPECT_EQ(cab->OBJS(), src.OBJS());
    EXPECT_EQ(cab->BCS()[2].Cl.Name, QStringLiteral("层板"));
    EXPECT_EQ(cab->BCS()[2].WL, QStringLiteral("1"));
    EXPECT_EQ(cab->SelRegIndex(), -1);
    EXPECT_EQ(cab->SelBCIndex(), -1);
    // The source is untouched.
    ExpectSameCabinet(src, SidesAndShelf());
}

TEST(FCabinetCopy, SameSizeCopyIsIdentical) {
    FCabinet src = SidesAndShelf();
    src.AddBackBC(3, FEdge{0, 0, 0, 0, 0, 10}, MakeCl(5), kNoFB, QStringLiteral("0"));
    src.AddDKM(4, FEdge{2, 2, 2, 2, 0, 0}, MakeCl(18, QStringLiteral("左门扇")), 2,
               QStringLiteral("1"));
    src.AddChouTi(4, MakeCl(16), MakeCl(5), QStringLiteral("抽屉1"), 36, 3, 350, 20, 20, 80);
    src.AddBc(5, FShape::A4L, FEdge{}, MakeCl(18), 200, 0, QStringLiteral("2"), kNoFB,
              QStringLiteral("0"));
    src.SetSelRegIndex(3);
    src.SetSelBCIndex(1);
    auto copy = FCabinetCopy::CopyCb(600, 550, 720, src);
    src.SetSelRegIndex(-1);
    src.SetSelBCIndex(-1);
    ExpectSameCabinet(*copy, src);
}

TEST(FCabinetCopy, DepthOnlyResizeMovesNoShelfOrPartition) {
    FCabinet src = SidesAndShelf();
    src.AddBc(4, FShape::R, FEdge{}, MakeCl(18), 250.25, 0, QStringLiteral("2"), kNoFB,
              QStringLiteral("0"));
    auto cab = FCabinetCopy::CopyCb(600, 400, 720, src);
    ASSERT_EQ(cab->BCS().size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(cab->BCS()[i].Pos.X1, src.BCS()[i].Pos.X1) << i;
        EXPECT_EQ(cab->BCS()[i].Pos.Y1, src.BCS()[i].Pos.Y1) << i;
        EXPECT_EQ(cab->BCS()[i].D, 400) << i;
    }
}

TEST(FCabinetCopy, NudgedShelfKeepsItsHeight) {
    FCabinet src = SidesAndShelf();
    // The designer nudges a shelf by editing its box; the centre line survives.
    src.BCS()[2].Pos.Y1 += 40;
    src.BCS()[2].Pos.Y2 += 40;
    src.BCS()[0].Pos.X1 += 5;  // any other nudge is undone by the replay
    auto cab = FCabinetCopy::CopyCb(600, 550, 720, src);
    EXPECT_EQ(cab->BCS()[2].Pos.Y1, 391);
    EXPECT_EQ(cab->BCS()[0].Pos.X1, 0);
}

TEST(FCabinetCopy, DelBCDropsTheLastEntry) {
    FCabinet src(600, 550, 720, QStringLiteral("X"));
    src.AddCeBan(0, FShape::R, FEdge{}, MakeCl(18), QStringLiteral("Left"), kNoFB,
                 QStringLiteral("0"));
    src.AddCeBan(1, FShape::R, FEdge{}, MakeCl(18), QStringLiteral("Right"), kNoFB,
                 QStringLiteral("0"));
    src.AddChouTi(0, MakeCl(16), MakeCl(5), QStringLiteral("抽屉1"), 36, 4, 350, 20, 20, 80);
    ASSERT_EQ(src.OBJS(), (FRCS{{0, 1}, {1, 1}, {0, 2}}));
    auto cab = FCabinetCopy::DelBC(600, 550, 720, src);
    EXPECT_EQ(cab->BCS(), (FBCS{src.BCS()[0], src.BCS()[1]}));
    EXPECT_TRUE(cab->CTS().empty());
    EXPECT_EQ(cab->OBJS(), (FRCS{{0, 1}, {1, 1}}));
    EXPECT_EQ(cab->Regions(), (FRegions{src.Regions()[0], src.Regions()[1], src.Regions()[2]}));
    EXPECT_EQ(src.CTS().size(), 1u);

    // Taking back repeatedly ends in an empty cabinet of the same size.
    auto one = FCabinetCopy::DelBC(600, 550, 720, *cab);
    auto none = FCabinetCopy::DelBC(600, 550, 720, *one);
    ExpectSameCabinet(*none, FCabinet(600, 550, 720, QStringLiteral("X")));
    auto stillNone = FCabinetCopy::DelBC(600, 550, 720, *none);
    ExpectSameCabinet(*stillNone, FCabinet(600, 550, 720, QStringLiteral("X")));
}

TEST(FCabinetCopy, DelBCOfDoorsAndBackBoard) {
    FCabinet src = SidesAndShelf();
    src.AddBackBC(2, FEdge{0, 0, 0, 0, 0, 10}, MakeCl(5), kNoFB, QStringLiteral("0"));
    FCabinet withoutDoor = src;
    src.AddDKM(2, FEdge{2, 2, 2, 2, 0, 0}, MakeCl(18), 1, QStringLiteral("1"));
    ExpectSameCabinet(*FCabinetCopy::DelBC(600, 550, 720, src), withoutDoor);
    // Without the back board the region's depth is whole again.
    auto noBack = FCabinetCopy::DelBC(600, 550, 720, withoutDoor);
    EXPECT_EQ(noBack->Regions()[2].D, 550);
}

TEST(FCabinetCopy, RefusesWhatCannotBeReplayed) {
    FCabinet empty;
    EXPECT_THROW(FCabinetCopy::CopyCb(600, 550, 720, empty), std::invalid_argument);
    FCabinet noHeight(600, 550, 0, QString());
    EXPECT_THROW(FCabinetCopy::CopyCb(600, 550, 720, noHeight), std::invalid_argument);

    FCabinet broken = SidesAndShelf();
    broken.OBJS().push_back(FRC{7, 1});
    EXPECT_THROW(FCabinetCopy::CopyCb(600, 550, 720, broken), std::runtime_error);
    broken.OBJS().back() = FRC{0, 2};
    EXPECT_THROW(FCabinetCopy::CopyCb(600, 550, 720, broken), std::runtime_error);
    broken.OBJS().back() = FRC{0, 9};
    EXPECT_THROW(FCabinetCopy::CopyCb(600, 550, 720, broken), std::runtime_error);
    // DelBC drops the broken entry, so it still works.
    EXPECT_EQ(FCabinetCopy::DelBC(600, 550, 720, broken)->BCS().size(), 3u);
}

// Replaying any sequence of valid placings at the same size rebuilds the same
// cabinet (placing is deterministic and appends in a fixed order). A shelf or
// partition is placed again at the centre of its stored box, which can differ from
// the original centre in the last binary digit, hence the 15-digit comparison.
TEST(FCabinetCopy, ReplayOfRandomDesignsIsExact) {
    std::mt19937 rng(20261209);
    for (int round = 0; round < 50; ++round) {
        FCabinet src(400 + rng() % 800, 300 + rng() % 400, 300 + rng() % 1800, QStringLiteral("R"));
        for (int step = 0; step < 12; ++step) {
            const int reg = static_cast<int>(rng() % src.Regions().size());
            const FRegion r = src.Regions()[static_cast<std::size_t>(reg)];
            const FEdge e{double(rng() % 3), double(rng() % 3),  double(rng() % 3),
                          double(rng() % 3), double(rng() % 20), double(rng() % 10)};
            const FCl cl = MakeCl(double(5 + rng() % 20));
            switch (rng() % 9) {
                case 0:
                    src.AddBackBC(reg, e, cl, kNoFB, QStringLiteral("0"));
                    break;
                case 1:
                    src.AddCeBan(reg, FShape::R, e, cl, QStringLiteral("Left"), kNoFB,
                                 QStringLiteral("1"));
                    break;
                case 2:
                    src.AddCeBan(reg, FShape::R, e, cl, QStringLiteral("Right"), kNoFB,
                                 QStringLiteral("1"));
                    break;
                case 3:
                    src.AddDingBan(reg, FShape::A4L, e, cl, kNoFB, QStringLiteral("2"));
                    break;
                case 4:
                    src.AddDiBan(reg, FShape::A4R, e, cl, kNoFB, QStringLiteral("2"));
                    break;
                case 5:
                    src.AddBc(reg, FShape::R, e, cl, 0, (r.Top + r.Bottom) / 2, QStringLiteral("1"),
                              kNoFB, QStringLiteral("0"));
                    break;
                case 6:
                    src.AddBc(reg, FShape::R, e, cl, (r.Left + r.Right) / 3 + 7, 0,
                              QStringLiteral("2"), kNoFB, QStringLiteral("0"));
                    break;
                case 7:
                    src.AddDKM(reg, e, cl, 1 + int(rng() % 2),
                               rng() % 2 ? QStringLiteral("1") : QStringLiteral("2"));
                    break;
                default:
                    src.AddChouTi(reg, cl, MakeCl(5), QStringLiteral("抽屉"), 36,
                                  1 + int(rng() % 8), 350, 20, 20, 80);
                    break;
            }
        }
        auto copy = FCabinetCopy::CopyCb(src.W(), src.D(), src.H(), src);
        SCOPED_TRACE("round " + std::to_string(round));
        ExpectNearCabinet(*copy, src);
    }
}

}  // namespace
