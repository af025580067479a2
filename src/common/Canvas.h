#pragma once
// The drawing surface that model code (cutting diagrams, cabinets, combinations)
// paints on. Coordinates are whole device pixels, X to the right and Y downwards.
// render/ implements it on QPainter for bitmaps and window pictures; RecordingCanvas
// records every call so tests can assert what a drawing makes.
//
// The calls follow the classic Windows drawing model, which the drawings are written
// against:
// - Rectangle(x1, y1, x2, y2) fills with the brush and outlines with the pen; the
//   right and bottom edges are exclusive (a 1-pixel pen covers x1 … x2 − 1).
// - Polygon fills with the brush (alternate fill) and outlines with the pen;
//   Polyline only strokes. Neither moves the current position.
// - MoveTo sets the current position; LineTo draws from it and moves it.
// - Arc strokes the part of the ellipse inscribed in the box (x1, y1)–(x2, y2) that
//   runs counter-clockwise (as seen on the screen) from the point where the ray from
//   the centre through (x3, y3) meets the ellipse to where the ray through (x4, y4)
//   meets it. Equal start and end rays draw the whole ellipse.
// - TextOut(x, y, text) puts the text cell's top-left corner at (x, y). The text
//   background is filled with the brush colour while the brush is solid and left
//   transparent while it is clear or hatched, unless SetTransparentText(true) makes
//   every text transparent.
// - TextOutTurned(x, y, text) draws the text a quarter turn counter-clockwise, reading
//   upwards, as on the long side of a tall part: the turned text cell occupies the box
//   from (x, y) to (x + TextHeight, y + TextWidth), the text's start at the bottom.
//   Its background follows the same rule as TextOut.
// - Font sizes are points; the pixel size depends on the surface's resolution.

#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <vector>

namespace kelm {

// 24-bit colour, one byte per channel.
struct Color {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;

    constexpr Color() = default;
    constexpr Color(uint8_t red, uint8_t green, uint8_t blue) : r(red), g(green), b(blue) {}
    friend constexpr bool operator==(const Color&, const Color&) = default;
};

namespace Colors {
inline constexpr Color Black{0, 0, 0};
inline constexpr Color White{255, 255, 255};
inline constexpr Color Red{255, 0, 0};
inline constexpr Color Blue{0, 0, 255};
inline constexpr Color Green{0, 128, 0};
inline constexpr Color Olive{128, 128, 0};
}  // namespace Colors

enum class PenStyle : uint8_t { Solid, Dash };

// Solid fill, no fill, or hatch lines "\\\\" (top-left to bottom-right) in the brush
// colour over a transparent background.
enum class BrushStyle : uint8_t { Solid, Clear, FDiagonal };

class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void SetPenColor(Color color) = 0;
    virtual Color PenColor() const = 0;
    virtual void SetPenStyle(PenStyle style) = 0;
    virtual PenStyle GetPenStyle() const = 0;
    virtual void SetPenWidth(int width) = 0;
    virtual int PenWidth() const = 0;

    virtual void SetBrushColor(Color color) = 0;
    virtual Color BrushColor() const = 0;
    virtual void SetBrushStyle(BrushStyle style) = 0;
    virtual BrushStyle GetBrushStyle() const = 0;

    virtual void SetFontSize(int points) = 0;
    virtual int FontSize() const = 0;
    virtual void SetFontColor(Color color) = 0;
    virtual Color FontColor() const = 0;
    virtual void SetTransparentText(bool transparent) = 0;
    virtual bool TransparentText() const = 0;

    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    virtual QPoint PenPos() const = 0;
    virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
    virtual void Polygon(const std::vector<QPoint>& points) = 0;
    virtual void Polyline(const std::vector<QPoint>& points) = 0;
    virtual void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
    virtual void TextOut(int x, int y, const QString& text) = 0;
    virtual void TextOutTurned(int x, int y, const QString& text) = 0;

    virtual int TextWidth(const QString& text) const = 0;
    virtual int TextHeight(const QString& text) const = 0;

    // The area drawing is limited to; the whole surface when nothing narrower is set.
    virtual QRect ClipRect() const = 0;
};

}  // namespace kelm
