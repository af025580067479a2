// Part texts of cutting diagrams: where PlacePartText puts them for parts of every
// shape, and the recorded drawing of a table of narrow parts, where no text may leave
// its part or cover another.
#include <gtest/gtest.h>

#include "PartTextCheck.h"
#include "common/RecordingCanvas.h"
#include "optimizer/PartTextPlacement.h"
#include "optimizer/UnitD2RectDisp.h"

using namespace kelm;
using Style = PartTextPlacement::Style;

namespace {

// 96 dots per inch proportions: 9 points → 6 px per narrow character, 12 px per line.
TextMeasure Scaled() {
    return [](const QString& text, int points) {
        RecordingCanvas c;
        c.SetMetricsFollowFontSize(true);
        c.SetFontSize(points);
        return QSize(c.TextWidth(text), c.TextHeight(text));
    };
}

TEST(PlacePartText, StyleBySizeAndShapeEveryBoxInsideAndApart) {
    const struct {
        // Outline corners (x1, y1) – (x2, y2); the texts may use x1 + 1 … x2 − 2 and
        // y1 + 1 … y2 − 2 (200 × 24: 198 × 22 pixels, two 8-point lines of 11).
        QRect part;
        Style style;
        bool turned;
        int fontSize;
    } cases[] = {
        // Large enough for the three labels at 9 points.
        {QRect(QPoint(0, 0), QPoint(150, 100)), Style::Labels, false, 9},
        // Wide and low: the labels would overlap; name over size in the middle, smaller.
        {QRect(QPoint(0, 0), QPoint(200, 24)), Style::Centred, false, 8},
        // Only one line fits: the name alone.
        {QRect(QPoint(0, 0), QPoint(200, 12)), Style::NameOnly, false, 7},
        // Tall and narrow: turned along the long side.
        {QRect(QPoint(0, 0), QPoint(20, 200)), Style::Centred, true, 7},
        {QRect(QPoint(0, 0), QPoint(12, 200)), Style::NameOnly, true, 7},
        // Too small for the name: the number.
        {QRect(QPoint(0, 0), QPoint(20, 14)), Style::Number, false, 9},
        // Too small for anything readable.
        {QRect(QPoint(0, 0), QPoint(8, 8)), Style::None, false, 0},
        {QRect(QPoint(5, 5), QPoint(5, 40)), Style::None, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.part.right() << " x " << c.part.bottom());
        const int x1 = c.part.left(), y1 = c.part.top(), x2 = c.part.right(), y2 = c.part.bottom();
        const PartTextPlacement p = PlacePartText(x1, y1, x2, y2, QStringLiteral("抽屉1-面板"),
                                                  "596", "171", "3#", Scaled());
        EXPECT_EQ(p.style, c.style);
        EXPECT_EQ(p.fontSize, c.fontSize);
        EXPECT_EQ(p.NeedsLegend(), c.style == Style::Number || c.style == Style::None);
        const QRect area = PartTextArea(x1, y1, x2, y2);
        for (size_t i = 0; i < p.items.size(); ++i) {
            EXPECT_EQ(p.items[i].turned, c.turned) << p.items[i].text.toStdString();
            EXPECT_TRUE(area.contains(p.items[i].box)) << p.items[i].text.toStdString();
            for (size_t j = 0; j < i; ++j) EXPECT_FALSE(p.items[i].box.intersects(p.items[j].box));
        }
    }
}

TEST(PlacePartText, DrawingPutsTurnedTextsThroughTextOutTurned) {
    RecordingCanvas canvas;
    canvas.SetMetricsFollowFontSize(true);
    const PartTextPlacement p =
        PlacePartText(0, 0, 12, 200, QStringLiteral("侧板"), "700", "30", "1#", MeasureOn(canvas));
    ASSERT_EQ(p.items.size(), 1u);
    DrawPartText(canvas, p);
    const auto texts = canvas.CallsOf(CanvasCall::Kind::TextOut);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].turned);
    EXPECT_EQ(texts[0].fontSize, p.fontSize);
    EXPECT_EQ(canvas.TextBox(texts[0]), p.items[0].box);
    EXPECT_GT(p.items[0].box.height(), p.items[0].box.width()) << "reads along the long side";
}

TEST(NarrowPartDiagram, NoPartTextLeavesItsPartOrCoversAnother) {
    // The diagram pictures' width (250 mm at 96 dpi) and the former 140 mm.
    for (int width : {944, 529}) {
        SCOPED_TRACE(width);
        RecordingCanvas canvas;
        canvas.SetMetricsFollowFontSize(true);
        const TD2RGene g = test::NarrowPartLayout();
        test::ExpectPartTextsInsideAndApart(canvas, g, width);
        // The names are there where they fit: the 30 mm strips of the wide picture too.
        int named = 0;
        for (const QString& text : canvas.Texts()) named += text == g.EleList[0].Name;
        if (width == 944) EXPECT_GE(named, 1);
    }
}

TEST(NarrowPartDiagram, TitleNamesTheMaterialAndSheetCountAndUtilisation) {
    RecordingCanvas canvas;
    TD2RGene g = test::NarrowPartLayout();
    g.EleArea = 1612800;
    TD2Rslt rslt;
    TD2Result().DrawPBT(0, 1, 100, 100, 5, rslt, canvas, g, 3, 1);
    EXPECT_EQ(canvas.Texts().at(0),
              QStringLiteral("图[1] 白颗粒板 18mm   原材尺寸：2440×1220   切割张数：2   利用率：54.2%"));
}

}  // namespace
