// The QPainter canvas must reproduce the Windows-style drawing rules the diagrams are
// written against; these checks read pixels back from small bitmaps.
#include "render/QPainterCanvas.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

using namespace kelm;

namespace {

const QRgb kBackground = qRgb(255, 0, 255);

QImage Blank(int w = 60, int h = 60) {
    QImage image = NewBitmap(w, h);
    image.fill(kBackground);
    return image;
}

int CountPixels(const QImage& image, QRect area, QRgb color) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) == color) ++n;
    return n;
}

int CountNot(const QImage& image, QRect area, QRgb color) {
    return area.width() * area.height() - CountPixels(image, area, color);
}

}  // namespace

TEST(QPainterCanvasTest, NewBitmapIsWhite24BitAtTheGivenResolution) {
    const QImage image = NewBitmap(529, 300, 96);
    EXPECT_EQ(image.format(), QImage::Format_RGB888);
    EXPECT_EQ(image.size(), QSize(529, 300));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(528, 299), qRgb(255, 255, 255));
    EXPECT_EQ(image.dotsPerMeterX(), 3780);
}

TEST(QPainterCanvasTest, ScreenDpiIsThePrimaryScreensLogicalDpi) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(ScreenDpi(), qRound(screen->logicalDotsPerInch()));
}

TEST(QPainterCanvasTest, RectangleExcludesRightAndBottomEdgeAndFillsWithBrush) {
    QImage image = Blank();
    {
        QPainterCanvas canvas(&image, 96);
        canvas.SetBrushColor(Color(0, 255, 0));
        canvas.Rectangle(10, 10, 20, 15);
    }
    const QRgb black = qRgb(0, 0, 0), green = qRgb(0, 255, 0);
    EXPECT_EQ(image.pixel(10, 10), black);
    EXPECT_EQ(image.pixel(19, 14), black);
    EXPECT_EQ(image.pixel(19, 10), black);
    EXPECT_EQ(image.pixel(10, 14), black);
    EXPECT_EQ(image.pixel(20, 12), kBackground);
    EXPECT_EQ(image.pixel(15, 15), kBackground);
    EXPECT_EQ(image.pixel(9, 12), kBackground);
    EXPECT_EQ(CountPixels(image, QRect(11, 11, 8, 3), green), 8 * 3);
    EXPECT_EQ(CountNot(image, QRect(0, 0, 60, 60), kBackground), 10 * 5);
}

TEST(QPainterCanvasTest, ClearBrushLeavesTheInsideAndHatchDrawsBackslashLines) {
    QImage image = Blank();
    {
        QPainterCanvas canvas(&image, 96);
        canvas.SetBrushStyle(BrushStyle::Clear);
        canvas.Rectangle(0, 0, 20, 20);
        canvas.SetBrushColor(Colors::Green);
        canvas.SetBrushStyle(BrushStyle::FDiagonal);
        canvas.Rectangle(20, 20, 60, 60);
    }
    EXPECT_EQ(CountNot(image, QRect(1, 1, 18, 18), kBackground), 0);

    const QRgb green = qRgb(0, 128, 0);
    const QRect inside(21, 21, 38, 38);
    const int hatched = CountPixels(image, inside, green);
    EXPECT_GT(hatched, 0);
    EXPECT_LT(hatched, inside.width() * inside.height() / 2);  // lines over a transparent ground
    EXPECT_EQ(CountPixels(image, inside, kBackground), inside.width() * inside.height() - hatched);
    // "\" lines: every hatched pixel continues down and to the right.
    for (int y = inside.top(); y < inside.bottom(); ++y)
        for (int x = inside.left(); x < inside.right(); ++x)
            if (image.pixel(x, y) == green) {
                ASSERT_EQ(image.pixel(x + 1, y + 1), green) << x << "," << y;
            }
}

TEST(QPainterCanvasTest, LinesFollowTheCurrentPositionAndDashedPenLeavesGaps) {
    QImage image = Blank(100, 20);
    QPoint after;
    {
        QPainterCanvas canvas(&image, 96);
        canvas.MoveTo(0, 5);
        canvas.LineTo(99, 5);
        canvas.SetPenStyle(PenStyle::Dash);
        canvas.SetPenColor(Colors::Red);
        canvas.MoveTo(0, 10);
        canvas.LineTo(99, 10);
        after = canvas.PenPos();
    }
    EXPECT_EQ(after, QPoint(99, 10));
    EXPECT_EQ(CountPixels(image, QRect(0, 5, 99, 1), qRgb(0, 0, 0)), 99);
    const int red = CountPixels(image, QRect(0, 10, 100, 1), qRgb(255, 0, 0));
    EXPECT_GT(red, 50);
    EXPECT_LT(red, 95);
}

TEST(QPainterCanvasTest, ArcRunsCounterClockwiseFromStartToEnd) {
    struct Case {
        QPoint start, end;
        bool topRight, topLeft, bottomLeft, bottomRight;
    };
    // Box (0,0)-(61,61): centre about (30,30). Rays right, up, left, down.
    const QPoint right(60, 30), up(30, 0), left(0, 30), down(30, 60);
    const Case cases[] = {
        {right, up, true, false, false, false},
        {up, right, false, true, true, true},
        {left, right, false, false, true, true},
        {down, left, true, true, false, true},  // the long way round, not the short clockwise one
    };
    int i = 0;
    for (const Case& c : cases) {
        QImage image = Blank(70, 70);
        {
            QPainterCanvas canvas(&image, 96);
            canvas.Arc(0, 0, 61, 61, c.start.x(), c.start.y(), c.end.x(), c.end.y());
        }
        auto drawn = [&](QRect quadrant) { return CountNot(image, quadrant, kBackground) > 5; };
        SCOPED_TRACE(i++);
        EXPECT_EQ(drawn(QRect(38, 0, 30, 22)), c.topRight);
        EXPECT_EQ(drawn(QRect(0, 0, 22, 22)), c.topLeft);
        EXPECT_EQ(drawn(QRect(0, 38, 22, 30)), c.bottomLeft);
        EXPECT_EQ(drawn(QRect(38, 38, 30, 30)), c.bottomRight);
    }
}

TEST(QPainterCanvasTest, TextIsAnchoredTopLeftWithBackgroundFromTheBrush) {
    QImage image = Blank(200, 60);
    int width = 0, height = 0;
    {
        QPainterCanvas canvas(&image, 96);
        canvas.SetFontSize(9);
        width = canvas.TextWidth(QStringLiteral("利用率"));
        height = canvas.TextHeight(QStringLiteral("利用率"));
        canvas.SetBrushColor(Color(255, 255, 0));
        canvas.TextOut(10, 5, QStringLiteral("利用率"));  // solid brush: opaque
        canvas.SetBrushStyle(BrushStyle::Clear);
        canvas.TextOut(10, 30, QStringLiteral("利用率"));  // clear brush: transparent
        canvas.SetBrushStyle(BrushStyle::Solid);
        canvas.SetTransparentText(true);
        canvas.TextOut(110, 30, QStringLiteral("利用率"));  // forced transparent
    }
    EXPECT_GT(width, 20);
    EXPECT_GE(height, 12);
    const QRect first(10, 5, width, height);
    EXPECT_GT(CountPixels(image, first, qRgb(255, 255, 0)), 0);
    EXPECT_EQ(CountPixels(image, first, kBackground), 0);
    EXPECT_GT(CountPixels(image, first, qRgb(0, 0, 0)), 10);
    // Nothing outside the text cell.
    EXPECT_EQ(CountNot(image, QRect(0, 0, 200, 5), kBackground), 0);
    EXPECT_EQ(CountNot(image, QRect(0, 5, 10, 20), kBackground), 0);

    const QRect second(10, 30, width, height);
    EXPECT_EQ(CountPixels(image, second, qRgb(255, 255, 0)), 0);
    EXPECT_GT(CountPixels(image, second, qRgb(0, 0, 0)), 10);
    EXPECT_EQ(CountPixels(image, QRect(110, 30, width, height), qRgb(255, 255, 0)), 0);
}

TEST(QPainterCanvasTest, FontPointsScaleWithResolutionAndUseTheCjkFont) {
    QImage image = Blank();
    QPainterCanvas at96(&image, 96);
    at96.SetFontSize(9);
    EXPECT_EQ(QFontInfo(at96.Painter().font()).family(), QStringLiteral("WenQuanYi Micro Hei"));
    EXPECT_EQ(at96.Painter().font().pixelSize(), 12);
    at96.SetFontSize(18);
    EXPECT_EQ(at96.Painter().font().pixelSize(), 24);

    QImage other = Blank();
    QPainterCanvas at192(&other, 192);
    at192.SetFontSize(9);
    EXPECT_EQ(at192.Painter().font().pixelSize(), 24);
    EXPECT_EQ(at192.FontSize(), 9);
}

TEST(QPainterCanvasTest, ClipRectIsTheSurfaceOrThePaintersClip) {
    QImage image = Blank(120, 80);
    QPainter painter(&image);
    {
        QPainterCanvas canvas(painter, 96);
        EXPECT_EQ(canvas.ClipRect(), QRect(0, 0, 120, 80));
    }
    painter.setClipRect(QRect(5, 6, 50, 40));
    QPainterCanvas clipped(painter, 96);
    EXPECT_EQ(clipped.ClipRect(), QRect(5, 6, 50, 40));
}

TEST(QPainterCanvasTest, PolygonFillsAndPolylineOnlyStrokes) {
    QImage image = Blank();
    {
        QPainterCanvas canvas(&image, 96);
        canvas.SetBrushColor(Color(0, 0, 255));
        canvas.Polygon({QPoint(2, 2), QPoint(28, 2), QPoint(28, 28), QPoint(2, 28)});
        canvas.Polyline({QPoint(32, 2), QPoint(58, 2), QPoint(58, 28), QPoint(32, 28)});
    }
    EXPECT_EQ(image.pixel(15, 15), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(2, 2), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(45, 15), kBackground);
    EXPECT_EQ(image.pixel(45, 2), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(32, 15), kBackground);  // polyline is not closed
}
