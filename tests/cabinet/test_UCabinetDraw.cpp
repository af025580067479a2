// Cabinet and combination drawing on the recording canvas, the hit test and the
// dimension positions.
//
// Most cases draw at 1 mm per pixel with _Angle 0 and _Angle2 90: then cos = sin = 1
// and a point at depth z moves exactly z pixels left and z pixels up, which keeps the
// expected coordinates readable.
#include "cabinet/UCabinet.h"
#include "cabinet/UCabs.h"
#include "common/RecordingCanvas.h"
#include "CabinetTestUtil.h"

#include <gtest/gtest.h>

using namespace kelm;
using Kind = CanvasCall::Kind;
using Points = std::vector<QPoint>;

namespace {

const Color kFill(248, 240, 227);

FBC Board(FBCType type, double x1, double y1, double x2, double y2, double z, double d,
          int reg = 0, FShape shape = FShape::R) {
    FBC bc;
    bc.BCType = type;
    bc.Shape = shape;
    bc.Pos = FPos{x1, y1, x2, y2, z};
    bc.D = d;
    bc.regIndex = reg;
    return bc;
}

// A 400 × 100 × 300 cabinet holding the given boards, with region 1 = the space
// between 20 mm side boards: (20, 0, 380, 300), Z 0, D 100.
FCabinet Cabinet(FBCS boards) {
    FCabinet cab(400, 100, 300, QStringLiteral("柜"));
    cab.Regions().push_back(FRegion{20, 0, 380, 300, 0, 100});
    cab.SetBCS(boards);
    return cab;
}

void DrawOblique(const FCabinet& cab, RecordingCanvas& canvas, bool filled = true,
                 bool dims = false, QPoint pos = QPoint(200, 100)) {
    cab.Draw(canvas, 1, 0, 90, pos, filled, dims, kFill);
}

Points Closed(Points p) {
    p.push_back(p.front());
    return p;
}

std::vector<Points> PointsOf(const std::vector<CanvasCall>& calls) {
    std::vector<Points> out;
    for (const CanvasCall& c : calls) out.push_back(c.points);
    return out;
}

// One line: from, to.
Points L(int x1, int y1, int x2, int y2) { return {QPoint(x1, y1), QPoint(x2, y2)}; }

}  // namespace

// --- projection and rounding ----------------------------------------------------

TEST(FCabinetDraw, DepthOffsetsGoToTheNearestIntegerWithHalvesToEven) {
    // A top board 11 … 111 × 20 … 38 at dv 2: the front corners are 105.5 → 105 and
    // 155.5 → 155 (truncated); the back face is D/2 pixels deep, taken to an integer.
    struct Case {
        double depth;
        int offset;
    };
    const Case cases[] = {{1, 0}, {3, 2}, {5, 2}, {6, 3}, {7, 4}, {9, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.depth);
        RecordingCanvas canvas;
        Cabinet({Board(FBCType::DingBan, 11, 20, 111, 38, 0, c.depth)})
            .Draw(canvas, 2, 0, 90, QPoint(100, 50), true, false, kFill);
        const auto polygons = canvas.CallsOf(Kind::Polygon);
        ASSERT_EQ(polygons.size(), 2u);  // front and top face
        EXPECT_EQ(polygons[0].points, (Points{{105, 60}, {155, 60}, {155, 69}, {105, 69}}));
        const int o = c.offset;
        EXPECT_EQ(polygons[1].points,
                  (Points{{105, 60}, {155, 60}, {155 - o, 60 - o}, {105 - o, 60 - o}}));
    }
}

TEST(FCabinetDraw, ObliqueViewUsesCosineAndSineOfTheTwoAngles) {
    // 80°/10°, dv 2: 535/2 × cos 80° = 535/2 × sin 10° = 46.45… → 46.
    RecordingCanvas canvas;
    Cabinet({Board(FBCType::DingBan, 18, 0, 582, 18, 0, 535)})
        .Draw(canvas, 2, 80, 10, QPoint(50, 100), true, false, kFill);
    const auto polygons = canvas.CallsOf(Kind::Polygon);
    ASSERT_EQ(polygons.size(), 2u);
    EXPECT_EQ(polygons[1].points, (Points{{59, 100}, {341, 100}, {295, 54}, {13, 54}}));
}

// --- filled view ----------------------------------------------------------------

TEST(FCabinetDraw, ShelfFacePolygonsInOrderWithTheFillColour) {
    // Shelf 20 … 380 × 140 … 160, Z 10, D 80, in region 1. Front face at z 10,
    // back face at z 90; the region pulls the left corners in to its front left
    // edge at x 220.
    RecordingCanvas canvas;
    DrawOblique(Cabinet({Board(FBCType::CengBan, 20, 140, 380, 160, 10, 80, 1)}), canvas);
    const auto polygons = canvas.CallsOf(Kind::Polygon);
    ASSERT_EQ(polygons.size(), 4u);
    EXPECT_EQ(PointsOf(polygons), (std::vector<Points>{
                                      {{570, 250}, {570, 230}, {490, 150}, {490, 170}},  // right
                                      {{220, 250}, {220, 230}, {220, 150}, {220, 170}},  // left
                                      {{220, 230}, {570, 230}, {570, 250}, {220, 250}},  // front
                                      {{220, 230}, {570, 230}, {490, 150}, {220, 150}},  // top
                                  }));
    for (const CanvasCall& p : polygons) {
        EXPECT_EQ(p.brushColor, kFill);
        EXPECT_EQ(p.brushStyle, BrushStyle::Solid);
        EXPECT_EQ(p.penColor, Colors::Black);
    }
    EXPECT_EQ(canvas.BrushColor(), Colors::White);
}

TEST(FCabinetDraw, ClippingTable) {
    // Region 1 projects to front left 220, front top 100, front right 580, back top 0,
    // back right 480. Expected: the front and top faces (the last two polygons).
    struct Case {
        const char* what;
        FBC board;
        Points front, top;
    };
    const Case cases[] = {
        {"shelf: left corners raised to the region's left edge",
         Board(FBCType::CengBan, 20, 140, 380, 160, 10, 80, 1),
         {{220, 230}, {570, 230}, {570, 250}, {220, 250}},
         {{220, 230}, {570, 230}, {490, 150}, {220, 150}}},
        {"bottom from the cabinet's left edge: untouched",
         Board(FBCType::DiBan, 0, 280, 400, 300, 0, 100, 1),
         {{200, 380}, {600, 380}, {600, 400}, {200, 400}},
         {{200, 380}, {600, 380}, {500, 280}, {100, 280}}},
        {"bottom inside the sides: back top not above the region's back top",
         Board(FBCType::DiBan, 20, 280, 380, 300, 0, 100, 1),
         {{220, 380}, {580, 380}, {580, 400}, {220, 400}},
         {{220, 380}, {580, 380}, {480, 280}, {220, 280}}},
        {"partition: back top held at the region's front top",
         Board(FBCType::GeBan, 190, 20, 210, 280, 0, 100, 1),
         {{390, 120}, {410, 120}, {410, 380}, {390, 380}},
         {{390, 120}, {410, 120}, {310, 100}, {290, 100}}},
        {"partition past the right side: right corners lowered",
         Board(FBCType::GeBan, 370, 20, 395, 280, 10, 80, 1),
         {{560, 110}, {580, 110}, {580, 370}, {560, 370}},
         {{560, 110}, {580, 110}, {480, 100}, {480, 100}}},
        {"upright board: left corners and tops held inside the region",
         Board(FBCType::ShuBan, 10, 0, 390, 300, 50, 18, 1),
         {{220, 100}, {540, 100}, {540, 350}, {220, 350}},
         {{220, 100}, {540, 100}, {522, 100}, {220, 100}}},
        {"top board: never clipped", Board(FBCType::DingBan, 20, 0, 380, 20, 0, 100, 1),
         {{220, 100}, {580, 100}, {580, 120}, {220, 120}},
         {{220, 100}, {580, 100}, {480, 0}, {120, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingCanvas canvas;
        DrawOblique(Cabinet({c.board}), canvas);
        const auto polygons = canvas.CallsOf(Kind::Polygon);
        ASSERT_GE(polygons.size(), 2u);
        EXPECT_EQ(polygons[polygons.size() - 2].points, c.front);
        EXPECT_EQ(polygons.back().points, c.top);
    }
}

TEST(FCabinetDraw, SideFacesOnlyForSidesPartitionsShelvesAndBoardsFromTheLeftEdge) {
    struct Case {
        FBC board;
        size_t polygons;
    };
    const Case cases[] = {
        {Board(FBCType::CeBanLeft, 0, 0, 20, 300, 0, 100), 4},
        {Board(FBCType::CeBanRight, 380, 0, 400, 300, 0, 100), 4},
        {Board(FBCType::GeBan, 190, 20, 210, 280, 0, 100, 1), 4},
        {Board(FBCType::CengBan, 20, 140, 380, 160, 0, 100, 1), 4},
        {Board(FBCType::DingBan, 20, 0, 380, 20, 0, 100), 2},
        {Board(FBCType::DingBan, 0, 0, 400, 20, 0, 100), 4},
        {Board(FBCType::DiBan, 20, 280, 380, 300, 0, 100, 1), 2},
        {Board(FBCType::BeiBan, 20, 0, 380, 300, 90, 5), 2},
        {Board(FBCType::ShuBan, 20, 0, 380, 300, 50, 18, 1), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(FBCTypeName(c.board.BCType).toStdString());
        RecordingCanvas canvas;
        DrawOblique(Cabinet({c.board}), canvas);
        EXPECT_EQ(canvas.CallsOf(Kind::Polygon).size(), c.polygons);
    }
}

TEST(FCabinetDraw, DoorHandlesOnTheRightOfLeftLeavesAndOnTheLeftOfTheOthers) {
    // Front view, dv 2: leaf 21 … 299 × 20 … 700 → fx1 10.5, fx2 149.5, fy1 10, fy2 350.
    struct Case {
        QString lOrR;
        Points handle;
    };
    const Case cases[] = {
        {QStringLiteral("1"), {{129, 170}, {134, 190}}},  // trunc(149.5 − 20)
        {QStringLiteral("2"), {{25, 170}, {30, 190}}},    // trunc(10.5 + 15)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lOrR.toStdString());
        FCabinet cab = Cabinet({});
        FMB mb;
        mb.Pos = FPos{21, 20, 299, 700, 0};
        mb.D = 18;
        mb.LOrR = c.lOrR;
        cab.SetMBS({mb});
        RecordingCanvas canvas;
        cab.Draw(canvas, 2, 90, 0, QPoint(0, 0), true, false, kFill);
        const auto rects = canvas.CallsOf(Kind::Rectangle);
        ASSERT_EQ(rects.size(), 2u);
        EXPECT_EQ(rects[0].points, (Points{{10, 10}, {149, 350}}));
        EXPECT_EQ(rects[1].points, c.handle);
        EXPECT_EQ(rects[1].brushColor, kFill);
        EXPECT_EQ(canvas.CallsOf(Kind::Polygon).size(), 2u);  // left and top face
    }
}

// A drawer 0 … 600 × 18 … 189 with its face at z −16: material A 16 thick, box depth
// 350, gaps 20 and 20, sides 80 high, so the box top is at 18 + (171 − 80)/2 = 63.5.
FCabinet DrawerCabinet() {
    FCabinet cab(600, 550, 720, QString());
    cab.Regions().push_back(FRegion{18, 18, 582, 702, 0, 535});
    FChTi ct;
    ct.regIndex = 1;
    ct.ACl = MakeCl(16);
    ct.BCl = MakeCl(5);
    ct.Pos = FPos{0, 18, 600, 189, -16};
    ct.D = 350;
    ct.E = 20;
    ct.F = 20;
    ct.M = 80;
    ct.W = 36;
    ct.H = 4;
    cab.SetCTS({ct});
    return cab;
}

TEST(FCabinetDraw, DrawerIsFourBoxesBackRightLeftFace) {
    RecordingCanvas canvas;
    DrawOblique(DrawerCabinet(), canvas, false, false, QPoint(400, 400));
    const auto lines = canvas.CallsOf(Kind::Polyline);
    ASSERT_EQ(lines.size(), 16u);  // four outlines per box
    // The front outline of each box, at its own depth.
    EXPECT_EQ(lines[0].points, Closed({{118, 145}, {646, 145}, {646, 225}, {118, 225}}));   // back, z 318
    EXPECT_EQ(lines[4].points, Closed({{964, 463}, {980, 463}, {980, 543}, {964, 543}}));   // right side, z 0
    EXPECT_EQ(lines[8].points, Closed({{420, 463}, {436, 463}, {436, 543}, {420, 543}}));   // left side, z 0
    EXPECT_EQ(lines[12].points, Closed({{416, 434}, {1016, 434}, {1016, 605}, {416, 605}})); // face, z −16
    // The sides reach back to z 334 + 0, the back box to z 334.
    EXPECT_EQ(lines[5].points, Closed({{630, 129}, {646, 129}, {646, 209}, {630, 209}}));
    EXPECT_EQ(lines[1].points, Closed({{102, 129}, {630, 129}, {630, 209}, {102, 209}}));

    // Wire frame: only the face is a front panel, hatched olive before its outlines.
    const auto rects = canvas.CallsOf(Kind::Rectangle);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].points, (Points{{416, 434}, {1016, 605}}));
    EXPECT_EQ(rects[0].brushColor, Colors::Olive);
    EXPECT_EQ(rects[0].brushStyle, BrushStyle::FDiagonal);
    EXPECT_EQ(canvas.GetBrushStyle(), BrushStyle::Solid);
    EXPECT_TRUE(canvas.CallsOf(Kind::Polygon).empty());
}

TEST(FCabinetDraw, DrawerFaceHandleIsCentredAndHorizontal) {
    RecordingCanvas canvas;
    DrawerCabinet().Draw(canvas, 2, 90, 0, QPoint(0, 0), true, false, kFill);
    const auto rects = canvas.CallsOf(Kind::Rectangle);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].points, (Points{{0, 9}, {300, 94}}));  // face 0 … 300 × 9 … 94.5
    // left trunc((300 − 15)/2) = 142, top trunc((94.5 − 9 − 5)/2 + 9) = 49.
    EXPECT_EQ(rects[1].points, (Points{{142, 49}, {157, 54}}));
    // Box parts before the face: upright back (2 faces), two partitions (4 each).
    EXPECT_EQ(canvas.CallsOf(Kind::Polygon).size(), 2u + 4u + 4u + 2u);
}

TEST(FCabinetDraw, RoundedBoardsAreOutlinesAndArcs) {
    // Top board 0 … 400 × 0 … 20, Z 0, D 100: front 200 … 600 × 100 … 120, back
    // 100 … 500 × 0 … 20.
    struct Case {
        FShape shape;
        Points face;  // the straight end
        Points arc1, arc2;
    };
    const Case cases[] = {
        {FShape::A4L, Closed({{600, 120}, {600, 100}, {500, 0}, {500, 20}}),
         {{100, -100}, {1100, 100}, {100, 0}, {600, 100}},
         {{100, -80}, {1100, 120}, {100, 20}, {600, 120}}},
        {FShape::A4R, Closed({{200, 120}, {200, 100}, {100, 0}, {100, 20}}),
         {{-100, -100}, {500, 100}, {200, 100}, {500, 0}},
         {{-100, -80}, {500, 120}, {200, 120}, {500, 20}}},
    };
    for (bool filled : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(FShapeName(c.shape).toStdString() + (filled ? " filled" : " wire"));
            RecordingCanvas canvas;
            DrawOblique(Cabinet({Board(FBCType::DingBan, 0, 0, 400, 20, 0, 100, 0, c.shape)}),
                        canvas, filled);
            EXPECT_TRUE(canvas.CallsOf(Kind::Polygon).empty());
            const auto outlines = canvas.CallsOf(Kind::Polyline);
            ASSERT_EQ(outlines.size(), 2u);
            EXPECT_EQ(outlines[0].points, Closed({{100, 0}, {500, 0}, {500, 20}, {100, 20}}));
            EXPECT_EQ(outlines[1].points, c.face);
            const auto arcs = canvas.CallsOf(Kind::Arc);
            ASSERT_EQ(arcs.size(), 2u);
            EXPECT_EQ(arcs[0].points, c.arc1);
            EXPECT_EQ(arcs[1].points, c.arc2);
        }
    }
}

// --- wire frame ------------------------------------------------------------------

TEST(FCabinetDraw, WireFrameDrawsTwelveEdgesUnclippedAndUnfilled) {
    RecordingCanvas canvas;
    DrawOblique(Cabinet({Board(FBCType::CengBan, 20, 140, 380, 160, 10, 80, 1)}), canvas, false);
    EXPECT_TRUE(canvas.CallsOf(Kind::Polygon).empty());
    const auto lines = canvas.CallsOf(Kind::Polyline);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(PointsOf(lines), (std::vector<Points>{
                                   Closed({{210, 230}, {570, 230}, {570, 250}, {210, 250}}),
                                   Closed({{130, 150}, {490, 150}, {490, 170}, {130, 170}}),
                                   Closed({{210, 250}, {210, 230}, {130, 150}, {130, 170}}),
                                   Closed({{570, 250}, {570, 230}, {490, 150}, {490, 170}}),
                               }));
}

// --- order, pens, selection ------------------------------------------------------

TEST(FCabinetDraw, GroupsAreDrawnBackToFrontAndTheSelectedBoardInRed) {
    // Each board starts at its own x so its front outline tells which one it is.
    const FBCS boards = {
        Board(FBCType::DingBan, 10, 0, 20, 5, 0, 50),  Board(FBCType::CengBan, 30, 0, 40, 5, 0, 50),
        Board(FBCType::CeBanLeft, 50, 0, 60, 5, 0, 50), Board(FBCType::BeiBan, 70, 0, 80, 5, 0, 50),
        Board(FBCType::GeBan, 90, 0, 95, 5, 0, 50),    Board(FBCType::CeBanRight, 110, 0, 120, 5, 0, 50),
        Board(FBCType::DiBan, 130, 0, 140, 5, 0, 50),  Board(FBCType::ShuBan, 150, 0, 160, 5, 0, 50),
    };
    FCabinet cab = Cabinet(boards);
    FMB mb;
    mb.Pos = FPos{170, 0, 180, 5, 0};
    mb.D = 18;
    mb.LOrR = QStringLiteral("1");
    cab.SetMBS({mb});
    FChTi ct;
    ct.Pos = FPos{190, 0, 300, 100, 0};
    ct.ACl = MakeCl(16);
    cab.SetCTS({ct});
    cab.SetSelBCIndex(4);  // the partition

    RecordingCanvas canvas;
    cab.Draw(canvas, 1, 90, 0, QPoint(0, 0), false, false, kFill);
    const auto lines = canvas.CallsOf(Kind::Polyline);
    ASSERT_EQ(lines.size(), 4u * (8 + 4 + 1));
    std::vector<int> order;
    for (size_t i = 0; i < lines.size(); i += 4) order.push_back(lines[i].points[0].x());
    // back, right side, shelf/partition/bottom/upright in list order, left side, top,
    // the drawer's back box, right and left box sides and face (x 226, 264, 210, 190),
    // then the door.
    EXPECT_EQ(order, (std::vector<int>{70, 110, 30, 90, 130, 150, 50, 10, 226, 264, 210, 190, 170}));
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].penColor, i / 4 == 3 ? Colors::Red : Colors::Black) << i;
    EXPECT_EQ(canvas.PenColor(), Colors::Black);
}

TEST(FCabinetDraw, SelectedRegionIsARedDashedFrontOutline) {
    FCabinet cab = Cabinet({});
    cab.SetSelRegIndex(1);
    RecordingCanvas canvas;
    cab.Draw(canvas, 3, 80, 10, QPoint(5, 7), true, false, kFill);
    const auto lines = canvas.CallsOf(Kind::LineTo);
    ASSERT_EQ(lines.size(), 4u);
    // (20, 0, 380, 300) / 3 + (5, 7): left 11.67 → 12, right 131.67 → 132, bottom 107.
    EXPECT_EQ(PointsOf(lines), (std::vector<Points>{L(12, 7, 12, 107), L(12, 107, 132, 107),
                                                    L(132, 107, 132, 7), L(132, 7, 12, 7)}));
    for (const CanvasCall& l : lines) {
        EXPECT_EQ(l.penColor, Colors::Red);
        EXPECT_EQ(l.penStyle, PenStyle::Dash);
    }
    EXPECT_EQ(canvas.GetPenStyle(), PenStyle::Solid);
    EXPECT_EQ(canvas.PenColor(), Colors::Black);

    cab.SetSelRegIndex(7);  // no such region: nothing outlined
    canvas.ClearCalls();
    cab.Draw(canvas, 3, 80, 10, QPoint(5, 7), true, false, kFill);
    EXPECT_TRUE(canvas.CallsOf(Kind::LineTo).empty());
}

// --- dimension lines ---------------------------------------------------------------

TEST(FCabinetDraw, DimensionLinesWithTextsAndTicks) {
    // 400 × 100 × 300, partition centred at 150, shelf centred at 100, upright board at
    // depth 40. dv 1, 0/90, pos (200, 100).
    FCabinet cab = Cabinet({Board(FBCType::GeBan, 140, 0, 160, 300, 0, 100, 1),
                            Board(FBCType::CengBan, 20, 90, 380, 110, 0, 100, 1),
                            Board(FBCType::ShuBan, 20, 0, 380, 300, 40, 18, 1)});
    RecordingCanvas canvas;
    DrawOblique(cab, canvas, true, true);
    std::vector<Points> lines;
    for (const CanvasCall& c : canvas.CallsOf(Kind::LineTo)) {
        EXPECT_EQ(c.penColor, Colors::Blue);
        lines.push_back(c.points);
    }
    EXPECT_EQ(lines, (std::vector<Points>{
                         // width at y 100 + 300 + 10
                         L(200, 410, 350, 410), L(200, 405, 200, 415), L(350, 405, 350, 415),
                         L(350, 410, 600, 410), L(350, 405, 350, 415), L(600, 405, 600, 415),
                         // height at x 200 + 400 + 10
                         L(610, 100, 610, 200), L(605, 100, 615, 100), L(605, 200, 615, 200),
                         L(610, 200, 610, 400), L(605, 200, 615, 200), L(605, 400, 615, 400),
                         // depth along the top right edge: x 610 − d, y 100 − d
                         L(610, 100, 570, 60), L(605, 100, 615, 100), L(565, 60, 575, 60),
                         L(570, 60, 510, 0), L(565, 60, 575, 60), L(505, 0, 515, 0),
                     }));
    std::vector<std::pair<QString, QPoint>> texts;
    for (const CanvasCall& c : canvas.CallsOf(Kind::TextOut)) texts.emplace_back(c.text, c.points[0]);
    EXPECT_EQ(texts, (std::vector<std::pair<QString, QPoint>>{
                         {QStringLiteral("150.0"), {275, 405}},
                         {QStringLiteral("250.0"), {475, 405}},
                         {QStringLiteral("100.0"), {605, 150}},
                         {QStringLiteral("200.0"), {605, 300}},
                         {QStringLiteral("40"), {590, 75}},
                         {QStringLiteral("60"), {540, 25}},
                     }));
    EXPECT_EQ(canvas.PenColor(), Colors::Black);
}

TEST(FCabinetDraw, DimensionTextsOfShortSegmentsNeverCoverEachOther) {
    // Partitions and shelves 18 mm thick at 2 mm per pixel: segments of 9 pixels whose
    // texts ("18.0") are wider than the segment. Each text drawn stays whole.
    FCabinet cab = Cabinet({Board(FBCType::GeBan, 182, 0, 200, 300, 0, 100, 1),
                            Board(FBCType::GeBan, 200, 0, 218, 300, 0, 100, 1),
                            Board(FBCType::CengBan, 20, 100, 380, 118, 0, 100, 1),
                            Board(FBCType::CengBan, 20, 118, 380, 136, 0, 100, 1)});
    RecordingCanvas canvas;
    cab.Draw(canvas, 2, 80, 10, QPoint(100, 100), true, true, kFill);
    const auto texts = canvas.CallsOf(Kind::TextOut);
    ASSERT_GE(texts.size(), 4u);
    for (size_t i = 0; i < texts.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            EXPECT_FALSE(canvas.TextBox(texts[i]).intersects(canvas.TextBox(texts[j])))
                << texts[i].text.toStdString() << " over " << texts[j].text.toStdString();
}

TEST(FCabinetDraw, DimensionLineEndsAreRoundedHalvesToEven) {
    // W 101 at dv 2 from x 0: the width line ends at 50.5 → 50; H 301 → 150.5 → 150,
    // so the width line lies at 160.5 → 160.
    FCabinet cab(101, 100, 301, QString());
    RecordingCanvas canvas;
    cab.Draw(canvas, 2, 90, 0, QPoint(0, 0), true, true, kFill);
    const auto lines = canvas.CallsOf(Kind::LineTo);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].points, L(0, 160, 50, 160));
}

TEST(FCabinetDraw, FrontViewDrawsNoDepthAndNoDepthDimensions) {
    FCabinet cab = Cabinet({Board(FBCType::CengBan, 20, 140, 380, 160, 10, 80, 1),
                            Board(FBCType::ShuBan, 20, 0, 380, 300, 40, 18, 1)});
    RecordingCanvas canvas;
    cab.Draw(canvas, 1, 90, 0, QPoint(0, 0), false, true, kFill);
    // Front, back, left and right outlines of each board: the back corners coincide
    // with the front ones, so both side faces collapse onto the front's vertical edges.
    const auto lines = canvas.CallsOf(Kind::Polyline);
    ASSERT_EQ(lines.size(), 8u);
    for (size_t i = 0; i < lines.size(); i += 4) {
        EXPECT_EQ(lines[i].points, lines[i + 1].points);
        const Points& f = lines[i].points;
        EXPECT_EQ(lines[i + 2].points, Closed({f[3], f[0], f[0], f[3]}));
        EXPECT_EQ(lines[i + 3].points, Closed({f[2], f[1], f[1], f[2]}));
    }
    EXPECT_EQ(lines[0].points, Closed({{20, 140}, {380, 140}, {380, 160}, {20, 160}}));
    EXPECT_EQ(canvas.Texts(), (std::vector<QString>{QStringLiteral("400.0"), QStringLiteral("150.0"),
                                                    QStringLiteral("150.0")}));

    canvas.ClearCalls();
    cab.Draw(canvas, 1, 80, 10, QPoint(0, 0), false, true, kFill);
    EXPECT_EQ(canvas.Texts().size(), 3u + 2u);  // depth 0, 40, 100
}

TEST(FCabinetDraw, NoScaleDrawsNothing) {
    RecordingCanvas canvas;
    Cabinet({Board(FBCType::CengBan, 20, 140, 380, 160, 10, 80, 1)})
        .Draw(canvas, 0, 80, 10, QPoint(0, 0), true, true, kFill);
    EXPECT_TRUE(canvas.Calls().empty());
}

// --- dimension positions -------------------------------------------------------------

TEST(FCabinetDraw, DimensionPositionsAreDistinctAndSorted) {
    auto vals = [](const FBZL& list) {
        std::vector<double> out;
        for (const FPoint& p : list) out.push_back(p.Val);
        return out;
    };
    // Partitions at 450, 300, 300 (two regions) and 150.
    FCabinet cab = Cabinet({Board(FBCType::GeBan, 441, 0, 459, 300, 0, 100),
                            Board(FBCType::GeBan, 291, 0, 309, 300, 0, 100),
                            Board(FBCType::GeBan, 291, 0, 309, 300, 0, 100),
                            Board(FBCType::GeBan, 141, 0, 159, 300, 0, 100),
                            Board(FBCType::CengBan, 20, 191, 380, 209, 0, 100),
                            Board(FBCType::DiBan, 20, 282, 380, 300, 0, 100),
                            Board(FBCType::DingBan, 20, 0, 380, 18, 0, 100),
                            Board(FBCType::CengBan, 20, 91, 380, 109, 0, 100)});
    EXPECT_EQ(vals(cab.GetWLines()), (std::vector<double>{0, 150, 300, 400, 450}));
    EXPECT_EQ(vals(cab.GetHLines()), (std::vector<double>{0, 100, 200, 291, 300}));
    EXPECT_EQ(vals(cab.GetDLines()), (std::vector<double>{0, 100}));

    FCabinet upright = Cabinet({Board(FBCType::ShuBan, 0, 0, 400, 300, 60, 18),
                                Board(FBCType::ShuBan, 0, 0, 400, 300, 20, 18),
                                Board(FBCType::ShuBan, 0, 0, 400, 300, 100, 18)});
    EXPECT_EQ(vals(upright.GetDLines()), (std::vector<double>{0, 20, 60, 100}));
}

TEST(FCabinetDraw, DuplicatePartitionGivesOneWidthDimensionPerGap) {
    FCabinet cab(600, 550, 720, QString());
    cab.AddCeBan(0, FShape::R, FEdge(), MakeCl(18), QStringLiteral("Left"), FFengB(), QStringLiteral("0"));
    cab.AddCeBan(1, FShape::R, FEdge(), MakeCl(18), QStringLiteral("Right"), FFengB(), QStringLiteral("0"));
    cab.AddBc(2, FShape::R, FEdge(), MakeCl(18), 0, 360, QStringLiteral("1"), FFengB(), QStringLiteral("0"));
    cab.AddBc(3, FShape::R, FEdge(), MakeCl(18), 300, 0, QStringLiteral("2"), FFengB(), QStringLiteral("0"));
    cab.AddBc(4, FShape::R, FEdge(), MakeCl(18), 300, 0, QStringLiteral("2"), FFengB(), QStringLiteral("0"));
    RecordingCanvas canvas;
    cab.Draw(canvas, 2, 90, 0, QPoint(10, 20), true, true, kFill);
    std::vector<std::pair<QString, QPoint>> widthTexts;
    for (const CanvasCall& c : canvas.CallsOf(Kind::TextOut))
        if (c.points[0].y() == 20 + 360 + 10 - 5) widthTexts.emplace_back(c.text, c.points[0]);
    EXPECT_EQ(widthTexts, (std::vector<std::pair<QString, QPoint>>{
                              {QStringLiteral("300.0"), {85, 385}}, {QStringLiteral("300.0"), {235, 385}}}));
}

// --- hit test ----------------------------------------------------------------------

TEST(FCabinetSelObject, HitTable) {
    // 600 × 550 × 720: left side (board 0), right side (1), back board (2), top (3),
    // bottom 80 up (4), shelf at 360 (5). Regions: 1 (18, 0, 600, 720),
    // 2 (18, 0, 582, 720), 3 (18, 18, 582, 720), 4 (18, 18, 582, 622),
    // 5 (18, 640, 582, 720), 6 (18, 18, 582, 351), 7 (18, 369, 582, 622).
    FCabinet cab(600, 550, 720, QString());
    const FCl cl = MakeCl(18);
    cab.AddCeBan(0, FShape::R, FEdge(), cl, QStringLiteral("Left"), FFengB(), QStringLiteral("0"));
    cab.AddCeBan(1, FShape::R, FEdge(), cl, QStringLiteral("Right"), FFengB(), QStringLiteral("0"));
    cab.AddBackBC(2, MakeEdge(0, 0, 0, 0, 0, 10), MakeCl(5), FFengB(), QStringLiteral("0"));
    cab.AddDingBan(2, FShape::R, FEdge(), cl, FFengB(), QStringLiteral("0"));
    cab.AddDiBan(3, FShape::R, MakeEdge(0, 0, 0, 80, 0, 0), cl, FFengB(), QStringLiteral("0"));
    cab.AddBc(4, FShape::R, FEdge(), cl, 0, 360, QStringLiteral("1"), FFengB(), QStringLiteral("0"));
    ASSERT_EQ(cab.Regions().size(), 8u);
    ASSERT_EQ(cab.BCS().size(), 6u);

    struct Case {
        const char* what;
        double x, y;
        int board, region;
    };
    const Case cases[] = {
        {"inside the shelf, which lies inside regions 0 … 4", 300, 360, 5, -1},
        {"inside the left side board", 9, 300, 0, -1},
        {"above the shelf: the newest region holding it", 300, 200, -1, 6},
        {"below the shelf", 300, 500, -1, 7},
        {"under the bottom board", 300, 700, -1, 5},
        {"on the shelf's top edge: region 4 strictly holds it", 300, 351, -1, 4},
        {"on the side board's inner edge", 18, 300, -1, 0},
        {"on the cabinet's corner", 0, 0, -1, -1},
        {"outside", 700, 300, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cab.SetSelBCIndex(3);
        cab.SetSelRegIndex(3);
        cab.SelObject(c.x, c.y);
        EXPECT_EQ(cab.SelBCIndex(), c.board);
        EXPECT_EQ(cab.SelRegIndex(), c.region);
    }
}

TEST(FCabinetSelObject, BackBoardsAreNeverSelected) {
    FCabinet cab(600, 550, 720, QString());
    cab.AddBackBC(0, FEdge(), MakeCl(5), FFengB(), QStringLiteral("0"));
    cab.SelObject(300, 300);
    EXPECT_EQ(cab.SelBCIndex(), -1);
    EXPECT_EQ(cab.SelRegIndex(), 0);
}

// --- combinations ----------------------------------------------------------------------

TEST(FCabsDraw, CabinetsAtTheirRegionsThenTheSelectedRegion) {
    FCabs cabs(1200, 550, 720);
    cabs.AddSplit(0, 600, 0, QStringLiteral("2"));
    auto left = std::make_unique<FCabinet>(600, 550, 720, QStringLiteral("A"));
    left->SetBCS({Board(FBCType::DingBan, 0, 0, 600, 18, 0, 550)});
    auto right = std::make_unique<FCabinet>(600, 550, 720, QStringLiteral("B"));
    right->SetBCS({Board(FBCType::DingBan, 0, 0, 600, 18, 0, 550)});
    cabs.AddCabinet(1, std::move(right));
    cabs.AddCabinet(0, std::move(left));
    cabs.SetSelIndex(1);

    RecordingCanvas canvas;
    cabs.Draw(canvas, 7, QPoint(10, 10), true, false, kFill, 90, 0);
    const auto polygons = canvas.CallsOf(Kind::Polygon);
    ASSERT_EQ(polygons.size(), 2u * 4u);  // a top board from x 0 gets side faces too
    // Region 1 starts at trunc(600/7 + 10) = 95; region 0 at 10; list order kept.
    EXPECT_EQ(polygons[2].points.front(), QPoint(95, 10));
    EXPECT_EQ(polygons[6].points.front(), QPoint(10, 10));

    const auto lines = canvas.CallsOf(Kind::LineTo);
    ASSERT_EQ(lines.size(), 4u);
    // (600, 0, 1200, 720) / 7 + 10: left 95.71 → 96, right 181.43 → 181, bottom 112.86 → 113.
    EXPECT_EQ(PointsOf(lines), (std::vector<Points>{L(96, 10, 96, 113), L(96, 113, 181, 113),
                                                    L(181, 113, 181, 10), L(181, 10, 96, 10)}));
    EXPECT_EQ(lines[0].penColor, Colors::Red);
    EXPECT_EQ(lines[0].penStyle, PenStyle::Dash);
    EXPECT_EQ(canvas.PenColor(), Colors::Black);
    EXPECT_EQ(canvas.GetPenStyle(), PenStyle::Solid);
}

TEST(FCabsDraw, PassesAnglesFlagsAndColourToEachCabinet) {
    FCabs cabs(600, 550, 720);
    auto cab = std::make_unique<FCabinet>(600, 550, 720, QString());
    cab->SetBCS({Board(FBCType::DingBan, 18, 0, 582, 18, 0, 535)});
    cabs.AddCabinet(0, std::move(cab));
    RecordingCanvas canvas;
    cabs.Draw(canvas, 2, QPoint(50, 100), true, true, kFill, 80, 10);
    const auto polygons = canvas.CallsOf(Kind::Polygon);
    ASSERT_EQ(polygons.size(), 2u);
    EXPECT_EQ(polygons[1].points, (Points{{59, 100}, {341, 100}, {295, 54}, {13, 54}}));
    EXPECT_EQ(polygons[1].brushColor, kFill);
    EXPECT_FALSE(canvas.Texts().empty());  // dimension lines requested
}

TEST(FCabsDraw, DrawLineRoundsHalvesToEvenAndNothingIsOutlinedWithoutSelection) {
    FCabs cabs(600, 550, 720);
    RecordingCanvas canvas;
    cabs.DrawLine(canvas, 0.5, 1.5, 2.5, -3.5);
    const auto lines = canvas.CallsOf(Kind::LineTo);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points, L(0, 2, 2, -4));

    canvas.ClearCalls();
    cabs.Draw(canvas, 2, QPoint(0, 0), true, true, kFill, 80, 10);
    EXPECT_TRUE(canvas.Calls().empty());  // no cabinets, no selection
}

TEST(FCabsDraw, CabinetOutsideTheFrameRegionsIsSkipped) {
    FCabs cabs(600, 550, 720);
    auto cab = std::make_unique<FCabinet>(600, 550, 720, QString());
    cab->SetBCS({Board(FBCType::DingBan, 18, 0, 582, 18, 0, 535)});
    cabs.AddCabinet(0, std::move(cab));
    cabs.CBS()[0]->SetParRegIndex(5);  // as a damaged document could leave it
    RecordingCanvas canvas;
    cabs.Draw(canvas, 2, QPoint(0, 0), true, false, kFill, 80, 10);
    EXPECT_TRUE(canvas.Calls().empty());
}
