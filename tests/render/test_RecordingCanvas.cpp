// The recorder is what every drawing test asserts against, so its bookkeeping must be
// exact: the state captured with each call, the current position and the metrics.
#include "common/RecordingCanvas.h"

#include <gtest/gtest.h>

using namespace kelm;
using Kind = CanvasCall::Kind;

TEST(RecordingCanvasTest, FreshCanvasHasWindowsDefaults) {
    RecordingCanvas canvas(QRect(0, 0, 300, 200));
    EXPECT_EQ(canvas.PenColor(), Colors::Black);
    EXPECT_EQ(canvas.GetPenStyle(), PenStyle::Solid);
    EXPECT_EQ(canvas.PenWidth(), 1);
    EXPECT_EQ(canvas.BrushColor(), Colors::White);
    EXPECT_EQ(canvas.GetBrushStyle(), BrushStyle::Solid);
    EXPECT_EQ(canvas.FontSize(), RecordingCanvas::DefaultFontSize);
    EXPECT_EQ(canvas.ClipRect(), QRect(0, 0, 300, 200));
    EXPECT_TRUE(canvas.Calls().empty());
}

TEST(RecordingCanvasTest, EachCallKeepsTheStateItWasMadeWith) {
    RecordingCanvas canvas;
    canvas.MoveTo(1, 2);
    canvas.LineTo(3, 4);
    canvas.SetPenColor(Colors::Red);
    canvas.SetPenStyle(PenStyle::Dash);
    canvas.LineTo(5, 6);
    canvas.SetBrushColor(Colors::Green);
    canvas.SetBrushStyle(BrushStyle::FDiagonal);
    canvas.Rectangle(0, 0, 10, 10);
    canvas.SetFontSize(9);
    canvas.TextOut(7, 8, QStringLiteral("a"));

    ASSERT_EQ(canvas.Calls().size(), 4u);
    const CanvasCall& first = canvas.Calls()[0];
    EXPECT_EQ(first.kind, Kind::LineTo);
    EXPECT_EQ(first.points, (std::vector<QPoint>{{1, 2}, {3, 4}}));
    EXPECT_EQ(first.penColor, Colors::Black);
    const CanvasCall& second = canvas.Calls()[1];
    EXPECT_EQ(second.points, (std::vector<QPoint>{{3, 4}, {5, 6}}));
    EXPECT_EQ(second.penColor, Colors::Red);
    EXPECT_EQ(second.penStyle, PenStyle::Dash);
    const CanvasCall& rect = canvas.Calls()[2];
    EXPECT_EQ(rect.brushColor, Colors::Green);
    EXPECT_EQ(rect.brushStyle, BrushStyle::FDiagonal);
    const CanvasCall& text = canvas.Calls()[3];
    EXPECT_EQ(text.text, QStringLiteral("a"));
    EXPECT_EQ(text.fontSize, 9);
    EXPECT_TRUE(text.textTransparent);  // hatched brush
    EXPECT_EQ(canvas.PenPos(), QPoint(5, 6));
    EXPECT_EQ(canvas.CallsOf(Kind::LineTo).size(), 2u);
    EXPECT_EQ(canvas.Texts(), std::vector<QString>{QStringLiteral("a")});
}

TEST(RecordingCanvasTest, TextTransparencyFollowsBrushUnlessForced) {
    RecordingCanvas canvas;
    canvas.TextOut(0, 0, QStringLiteral("solid"));
    canvas.SetBrushStyle(BrushStyle::Clear);
    canvas.TextOut(0, 0, QStringLiteral("clear"));
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.SetTransparentText(true);
    canvas.TextOut(0, 0, QStringLiteral("forced"));
    const auto texts = canvas.CallsOf(Kind::TextOut);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_FALSE(texts[0].textTransparent);
    EXPECT_TRUE(texts[1].textTransparent);
    EXPECT_TRUE(texts[2].textTransparent);
}

TEST(RecordingCanvasTest, WideCharactersCountDouble) {
    RecordingCanvas canvas;
    canvas.SetCharWidth(5);
    canvas.SetLineHeight(11);
    EXPECT_EQ(canvas.TextWidth(QStringLiteral("2440×1220")), 9 * 5);  // × is narrow
    EXPECT_EQ(canvas.TextWidth(QStringLiteral("利用率：54.2%")), 4 * 10 + 5 * 5);
    EXPECT_EQ(canvas.TextHeight(QStringLiteral("x")), 11);
}
