#pragma once
// Canvas on QPainter: draws cutting diagrams and cabinets onto bitmaps (QImage) and
// window pictures alike, with the Canvas's Windows-style semantics (exclusive right and
// bottom rectangle edges, counter-clockwise arcs, top-left text anchoring, text
// background from the brush). Text uses WenQuanYi Micro Hei so Chinese labels show.

#include "common/Canvas.h"

#include <QFont>
#include <QImage>
#include <memory>

class QPainter;
class QPaintDevice;

namespace kelm {

// Logical dots per inch of the primary screen; 96 when there is no screen (or no
// GUI application).
int ScreenDpi();

// A blank 24-bit bitmap, filled white, marked with the given resolution.
QImage NewBitmap(int width, int height, int dpi = 96);

class QPainterCanvas : public Canvas {
public:
    static constexpr int DefaultFontSize = 8;
    static const char* const FontFamily;

    // Paints on device through a painter of its own, begun here and ended when the
    // canvas is destroyed. dpi turns font points into pixels; 0 takes ScreenDpi().
    explicit QPainterCanvas(QPaintDevice* device, int dpi = 0);
    // Paints through a painter the caller owns (a window's paint event); the painter's
    // pen, brush and font are replaced by the canvas defaults.
    explicit QPainterCanvas(QPainter& painter, int dpi = 0);
    ~QPainterCanvas() override;

    QPainterCanvas(const QPainterCanvas&) = delete;
    QPainterCanvas& operator=(const QPainterCanvas&) = delete;

    void SetPenColor(Color color) override;
    Color PenColor() const override { return m_penColor; }
    void SetPenStyle(PenStyle style) override;
    PenStyle GetPenStyle() const override { return m_penStyle; }
    void SetPenWidth(int width) override;
    int PenWidth() const override { return m_penWidth; }

    void SetBrushColor(Color color) override;
    Color BrushColor() const override { return m_brushColor; }
    void SetBrushStyle(BrushStyle style) override;
    BrushStyle GetBrushStyle() const override { return m_brushStyle; }

    void SetFontSize(int points) override;
    int FontSize() const override { return m_fontSize; }
    void SetFontColor(Color color) override { m_fontColor = color; }
    Color FontColor() const override { return m_fontColor; }
    void SetTransparentText(bool transparent) override { m_transparentText = transparent; }
    bool TransparentText() const override { return m_transparentText; }

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    QPoint PenPos() const override { return m_pos; }
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void Polygon(const std::vector<QPoint>& points) override;
    void Polyline(const std::vector<QPoint>& points) override;
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void TextOut(int x, int y, const QString& text) override;
    void TextOutTurned(int x, int y, const QString& text) override;

    int TextWidth(const QString& text) const override;
    int TextHeight(const QString& text) const override;
    QRect ClipRect() const override;

    QPainter& Painter() { return *m_painter; }

private:
    void Init(int dpi);
    void ApplyPen();
    void ApplyBrush();
    void ApplyFont();

    std::unique_ptr<QPainter> m_ownPainter;
    QPainter* m_painter = nullptr;
    QPaintDevice* m_device = nullptr;
    int m_dpi = 96;

    Color m_penColor = Colors::Black;
    PenStyle m_penStyle = PenStyle::Solid;
    int m_penWidth = 1;
    Color m_brushColor = Colors::White;
    BrushStyle m_brushStyle = BrushStyle::Solid;
    int m_fontSize = DefaultFontSize;
    Color m_fontColor = Colors::Black;
    bool m_transparentText = false;
    QPoint m_pos;
    QFont m_font;
    bool m_penDirty = true;
    bool m_brushDirty = true;
};

}  // namespace kelm
