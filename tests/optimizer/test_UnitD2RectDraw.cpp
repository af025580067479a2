// Cutting diagram drawn onto the recording canvas. Recorder metrics: 6 px per narrow
// character, 12 px per CJK character, 12 px line height.
#include "common/NumberFormat.h"
#include "common/RecordingCanvas.h"
#include "optimizer/GrainMarks.h"
#include "optimizer/UnitD2RectDisp.h"

#include <gtest/gtest.h>

using namespace kelm;
using Kind = CanvasCall::Kind;

namespace {

// A 2440 × 1220 sheet at 10 mm per pixel, posX = posY = 1, unit 3: x0 = 3, title at
// y 3, the one cut-size line at y 21 and the sheet from y 39.
struct DiagramFixture : ::testing::Test {
    static constexpr int kUnit = 3;
    static constexpr double kDv = 10;

    TD2RGene layout;
    TD2Rslt result;
    RecordingCanvas canvas{QRect(0, 0, 600, 400)};

    void SetUp() override {
        layout.RawName = QStringLiteral("白橡");
        layout.RawLength = 2440;
        layout.RawWidth = 1220;
        layout.RawCount = 3;
        layout.EleArea = 1612800;
        result.EleCutArr.resize(1);
    }

    int Draw(int pbID = 0, double dv = kDv) {
        return TD2Result().DrawPBT(pbID, 1, 100, 100, dv, result, canvas, layout, kUnit, 1);
    }

    TRectEle Part(QString name, double px, double py, double length, double width) {
        TRectEle e;
        e.Name = std::move(name);
        e.px = px;
        e.py = py;
        e.Length = length;
        e.Width = width;
        return e;
    }
};

}  // namespace

TEST_F(DiagramFixture, TitleCarriesSizeCountAndUtilisation) {
    Draw();
    const auto texts = canvas.CallsOf(Kind::TextOut);
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0].text,
              QStringLiteral("图[1] 白橡   原材尺寸：2440×1220   切割张数：3   利用率：54.2%"));
    EXPECT_EQ(texts[0].points[0], QPoint(3, 3));
    EXPECT_FALSE(texts[0].textTransparent);  // drawn on the canvas's solid white brush
    EXPECT_EQ(texts[1].text, QStringLiteral("切割尺寸："));
    EXPECT_EQ(texts[1].points[0], QPoint(3, 21));
}

TEST_F(DiagramFixture, SheetWithoutAreaShowsZeroUtilisation) {
    layout.RawWidth = 0;
    Draw(4);
    EXPECT_EQ(canvas.Texts().at(0),
              QStringLiteral("图[5] 白橡   原材尺寸：2440×0   切割张数：3   利用率：0.0%"));
    layout.RawName.clear();  // a layout without a sheet name: the title as before
    canvas.ClearCalls();
    Draw(4);
    EXPECT_EQ(canvas.Texts().at(0), QStringLiteral("图[5] 原材尺寸：2440×0   切割张数：3   利用率：0.0%"));
}

TEST_F(DiagramFixture, CutSizesWrapAtTheClipRectanglesRightEdge) {
    // "切割尺寸：" is 60 px, each "600×400×2  " 66 px; with x0 = 3 three items fit
    // under a right edge of 300 (3 + 258 + 66 = 327 > 300 stops the fourth).
    struct Case {
        int clipWidth;
        std::vector<QString> lines;
    };
    const QString item = QStringLiteral("600×400×2  ");
    const QString head = QStringLiteral("切割尺寸：");
    const Case cases[] = {
        {600, {head + item + item + item + item + item}},
        // 3 + 258 + 66 = 327 reaches the right edge without exceeding it: the fourth fits.
        {327, {head + item + item + item + item, item}},
        {326, {head + item + item + item, item + item}},
        {300, {head + item + item + item, item + item}},
        {200, {head + item + item, item + item, item}},
        {100, {head, item, item, item, item, item}},  // not even the first item fits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clipWidth);
        result.EleCutArr[0].assign(5, TEleCut{1, QStringLiteral("门"), 600, 400, 2});
        canvas = RecordingCanvas(QRect(0, 0, c.clipWidth, 400));
        const int bottom = Draw();
        const auto texts = canvas.CallsOf(Kind::TextOut);
        ASSERT_EQ(texts.size(), 1 + c.lines.size());
        int y = 21;
        for (size_t i = 0; i < c.lines.size(); ++i) {
            EXPECT_EQ(texts[i + 1].text, c.lines[i]);
            EXPECT_EQ(texts[i + 1].points[0], QPoint(3, y));
            y += 12 + 2 * kUnit;
        }
        EXPECT_EQ(bottom, y + 122);
    }
}

TEST_F(DiagramFixture, SheetOutlineAndPartsWithLabels) {
    layout.EleList = {Part(QStringLiteral("侧板"), 0, 0, 720, 560),
                      Part(QStringLiteral("门"), 725, 0, 397, 715)};  // a turned part
    const int bottom = Draw();
    EXPECT_EQ(bottom, 39 + 122);

    const auto rects = canvas.CallsOf(Kind::Rectangle);
    ASSERT_EQ(rects.size(), 3u);
    EXPECT_EQ(rects[0].points, (std::vector<QPoint>{{3, 39}, {3 + 244, 39 + 122}}));
    EXPECT_EQ(rects[0].penWidth, 1);
    EXPECT_EQ(rects[1].points, (std::vector<QPoint>{{3, 39}, {3 + 72, 39 + 56}}));
    EXPECT_EQ(rects[1].brushStyle, BrushStyle::Clear);
    // 725/10 → 72, 1122/10 → 112: corners are truncated separately.
    EXPECT_EQ(rects[2].points, (std::vector<QPoint>{{3 + 72, 39}, {3 + 112, 39 + 71}}));

    const auto texts = canvas.CallsOf(Kind::TextOut);
    ASSERT_EQ(texts.size(), 2u + 5u);
    // First part (3, 39)-(75, 95): "720" is 18 px, "560" 18 px, "侧板" 24 px.
    EXPECT_EQ(texts[2].text, QStringLiteral("720"));
    EXPECT_EQ(texts[2].points[0], QPoint((3 + 75 - 18) / 2, 40));
    EXPECT_EQ(texts[3].text, QStringLiteral("560"));
    EXPECT_EQ(texts[3].points[0], QPoint(4, (39 + 95 - 12) / 2));
    EXPECT_EQ(texts[4].text, QStringLiteral("侧板"));
    EXPECT_EQ(texts[4].points[0], QPoint((3 + 75 - 24) / 2, (39 + 95 - 12) / 2));
    // Second part (75, 39)-(115, 110), 38 × 69 pixels inside its outline: the three labels
    // would cover each other ("715" under "门"), so its name and placed (turned) size
    // stand turned along its long side, centred on (94, 74).
    EXPECT_EQ(texts[5].text, QStringLiteral("门"));
    EXPECT_TRUE(texts[5].turned);
    EXPECT_EQ(texts[5].points[0], QPoint(83, 69));
    EXPECT_EQ(texts[6].text, QStringLiteral("397×715"));
    EXPECT_TRUE(texts[6].turned);
    EXPECT_EQ(texts[6].points[0], QPoint(95, 54));
    for (size_t i = 2; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i].fontSize, 9);
        EXPECT_TRUE(texts[i].textTransparent);
    }
    for (size_t i = 2; i < 5; ++i) EXPECT_FALSE(texts[i].turned);
}

TEST_F(DiagramFixture, LeftoversHatchedGreenAndLabelledOnlyAboveThresholds) {
    struct Case {
        double length, width;
        bool drawn, labelled;
    };
    const Case cases[] = {
        // 101 × 101 is above the thresholds, but at 10 mm per pixel its labels would
        // not fit inside it; 500 × 500 has room for them.
        {90, 500, true, false},   {101, 101, true, false}, {500, 500, true, true},
        {100, 500, true, false},
        {500, 100, true, false},  {0, 0, false, false},   {0, 300, false, false},
        {300, 0, false, false},   {1500, 800, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString("%1 x %2").arg(c.length).arg(c.width).toStdString());
        layout.RectArr = {TRectR{1000, 200, c.length, c.width}};
        canvas = RecordingCanvas(QRect(0, 0, 600, 400));
        Draw();
        const auto rects = canvas.CallsOf(Kind::Rectangle);
        ASSERT_EQ(rects.size(), c.drawn ? 2u : 1u);
        if (c.drawn) {
            EXPECT_EQ(rects[1].brushColor, Colors::Green);
            EXPECT_EQ(rects[1].brushStyle, BrushStyle::FDiagonal);
            EXPECT_EQ(rects[1].points[0], QPoint(3 + 100, 39 + 20));
        }
        const auto texts = canvas.Texts();
        ASSERT_EQ(texts.size(), c.labelled ? 4u : 2u);
        if (c.labelled) {
            EXPECT_EQ(texts[2], FormatGeneral(c.length));
            EXPECT_EQ(texts[3], FormatGeneral(c.width));
        }
        EXPECT_EQ(canvas.BrushColor(), Colors::White);
        EXPECT_EQ(canvas.GetBrushStyle(), BrushStyle::Solid);
    }
}

TEST_F(DiagramFixture, NinePointFontStaysForTheNextDiagramOnTheSameCanvas) {
    layout.EleList = {Part(QStringLiteral("层板"), 0, 0, 500, 300)};
    layout.RectArr = {TRectR{505, 0, 1935, 1220}};
    Draw();
    EXPECT_EQ(canvas.FontSize(), 9);
    EXPECT_EQ(canvas.BrushColor(), Colors::White);
    EXPECT_EQ(canvas.GetBrushStyle(), BrushStyle::Solid);
    canvas.ClearCalls();
    Draw();
    const auto texts = canvas.CallsOf(Kind::TextOut);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0].fontSize, 9);
    EXPECT_FALSE(texts[0].textTransparent);
}

TEST_F(DiagramFixture, MissingStatisticsOrScaleDrawWithoutFailing) {
    layout.EleList = {Part(QStringLiteral("层板"), 0, 0, 500, 300)};
    result.EleCutArr.clear();  // statistics of another scheme
    EXPECT_EQ(Draw(), 39 + 122);
    EXPECT_EQ(canvas.Texts().at(1), QStringLiteral("切割尺寸："));

    canvas = RecordingCanvas(QRect(0, 0, 600, 400));
    EXPECT_EQ(Draw(0, 0), 39);  // no scale: title and sizes only
    EXPECT_TRUE(canvas.CallsOf(Kind::Rectangle).empty());
}

TEST_F(DiagramFixture, PartsThatMayNotTurnShowThinLinesAlongTheirGrain) {
    // Part 1 is grained (listed 720 × 560, fixed), part 2 may turn; part 3 is grained but
    // placed turned, which only a damaged layout holds: its lines run across.
    const TD2REleArr eles = {{1, QStringLiteral("侧板"), {}, 720, 560, 1, 0},
                             {2, QStringLiteral("层板"), {}, 560, 400, 1, 1},
                             {3, QStringLiteral("门"), {}, 715, 397, 1, 0}};
    TD2Result().GetResult(TD2RSchame{layout}, TD2RPrm(), eles, result);
    result.EleCutArr.resize(1);
    ASSERT_EQ(result.GrainArr.size(), 2u);
    EXPECT_EQ(result.GrainArr[0].XH, 1);
    EXPECT_EQ(result.GrainArr[1].XH, 3);

    TRectEle side = Part(QStringLiteral("侧板"), 0, 0, 720, 560);
    side.XH = 1;
    TRectEle shelf = Part(QStringLiteral("层板"), 730, 0, 560, 400);
    shelf.XH = 2;
    TRectEle door = Part(QStringLiteral("门"), 1300, 0, 397, 715);
    door.XH = 3;
    layout.EleList = {side, shelf, door};
    Draw();

    const auto lines = canvas.CallsOf(Kind::LineTo);
    ASSERT_EQ(lines.size(), 6u);  // three for each grained part, none for the shelf
    // Side (3, 39)-(75, 95): 72 wide, 56 high; lines at 5/8, 6/8, 7/8 of the height from
    // a quarter to three quarters of the width.
    for (int i = 0; i < 3; ++i) {
        const int y = 39 + 56 * (5 + i) / 8;
        EXPECT_EQ(lines[i].points, (std::vector<QPoint>{{3 + 18, y}, {75 - 18, y}}));
        EXPECT_EQ(lines[i].penWidth, 1);
        EXPECT_EQ(lines[i].penColor, Color(96, 96, 96));
    }
    // Door (133, 39)-(172, 110): 39 wide, 71 high, lines across.
    for (int i = 0; i < 3; ++i) {
        const int x = 133 + 39 * (5 + i) / 8;
        EXPECT_EQ(lines[3 + i].points, (std::vector<QPoint>{{x, 39 + 71 / 4}, {x, 110 - 71 / 4}}));
    }
    // The pen is as it was for what follows.
    EXPECT_EQ(canvas.PenColor(), Colors::Black);
    // The marks leave the labels as they are: the same texts as without any grained part.
    const auto texts = canvas.CallsOf(Kind::TextOut).size();
    result.GrainArr.clear();
    canvas = RecordingCanvas(QRect(0, 0, 600, 400));
    Draw();
    EXPECT_TRUE(canvas.CallsOf(Kind::LineTo).empty());
    EXPECT_EQ(canvas.CallsOf(Kind::TextOut).size(), texts);
}

// A part drawn a billion pixels long (a damaged layout at the pixel limit) still gets its
// grain lines inside its outline, both ways round.
TEST(GrainMarks, LinesOfAHugePartStayInsideIt) {
    for (const kelm::GrainMark mark : {kelm::GrainMark::Along, kelm::GrainMark::Across}) {
        kelm::RecordingCanvas canvas(QRect(0, 0, 100, 100));
        const int big = 1000000000;
        kelm::DrawGrainMarks(canvas, -big, -big, big, big, mark);
        const auto lines = canvas.CallsOf(kelm::CanvasCall::Kind::LineTo);
        ASSERT_EQ(lines.size(), 3u);
        for (const auto& line : lines)
            for (const QPoint& p : line.points) {
                EXPECT_GE(p.x(), -big);
                EXPECT_LE(p.x(), big);
                EXPECT_GE(p.y(), -big);
                EXPECT_LE(p.y(), big);
                EXPECT_GT(mark == kelm::GrainMark::Along ? p.y() : p.x(), 0);  // the lower/right part
            }
    }
}
