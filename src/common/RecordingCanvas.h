#pragma once
// A Canvas that draws nothing and remembers every drawing call together with the pen,
// brush and font state it was made with, so tests can assert the exact lines,
// rectangles, polygons, arcs and texts a drawing produces.
//
// Text metrics are fixed and independent of any font: every character is CharWidth()
// pixels wide except characters from U+2E80 on (CJK and full-width forms), which are
// twice as wide; every text is LineHeight() pixels high.

#include "common/Canvas.h"

#include <QSize>
#include <functional>

namespace kelm {

struct CanvasCall {
    enum class Kind { LineTo, Rectangle, Polygon, Polyline, Arc, TextOut };

    Kind kind = Kind::LineTo;
    // LineTo: from, to. Rectangle: (x1, y1), (x2, y2). Polygon, Polyline: the points.
    // Arc: box corners, start point, end point. TextOut: the top-left corner.
    std::vector<QPoint> points;
    QString text;

    Color penColor;
    PenStyle penStyle = PenStyle::Solid;
    int penWidth = 1;
    Color brushColor;
    BrushStyle brushStyle = BrushStyle::Solid;
    int fontSize = 0;
    bool textTransparent = false;  // TextOut only: background left as it was
    bool turned = false;           // TextOut only: drawn by TextOutTurned, the point is
                                   // the top-left corner of the turned box
};

class RecordingCanvas : public Canvas {
public:
    // clip: the surface; a fresh canvas has a solid black pen of width 1, a solid white
    // brush, black text of DefaultFontSize points and the current position (0, 0).
    explicit RecordingCanvas(QRect clip = QRect(0, 0, 1000, 1000));

    static constexpr int DefaultFontSize = 8;

    void SetPenColor(Color color) override { m_penColor = color; }
    Color PenColor() const override { return m_penColor; }
    void SetPenStyle(PenStyle style) override { m_penStyle = style; }
    PenStyle GetPenStyle() const override { return m_penStyle; }
    void SetPenWidth(int width) override { m_penWidth = width; }
    int PenWidth() const override { return m_penWidth; }

    void SetBrushColor(Color color) override { m_brushColor = color; }
    Color BrushColor() const override { return m_brushColor; }
    void SetBrushStyle(BrushStyle style) override { m_brushStyle = style; }
    BrushStyle GetBrushStyle() const override { return m_brushStyle; }

    void SetFontSize(int points) override { m_fontSize = points; }
    int FontSize() const override { return m_fontSize; }
    void SetFontColor(Color color) override { m_fontColor = color; }
    Color FontColor() const override { return m_fontColor; }
    void SetTransparentText(bool transparent) override { m_transparentText = transparent; }
    bool TransparentText() const override { return m_transparentText; }

    void MoveTo(int x, int y) override { m_pos = QPoint(x, y); }
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
    QRect ClipRect() const override { return m_clip; }

    void SetClipRect(QRect clip) { m_clip = clip; }
    void SetCharWidth(int pixels) { m_charWidth = pixels; }
    int CharWidth() const { return m_charWidth; }
    void SetLineHeight(int pixels) { m_lineHeight = pixels; }
    int LineHeight() const { return m_lineHeight; }
    // When on, the metrics follow the font size as a 96 dots-per-inch screen would: at
    // 9 points CharWidth() and LineHeight() as set, at other sizes in proportion
    // (rounded, at least 1 pixel). Off by default: every size measures alike.
    void SetMetricsFollowFontSize(bool on) { m_metricsFollowFont = on; }
    // Measures texts with a function of its own instead (width and height in pixels of a
    // text at a font size in points), such as the metrics of a real font; an empty
    // function goes back to the fixed metrics.
    void SetMeasure(std::function<QSize(const QString&, int points)> measure) {
        m_measure = std::move(measure);
    }

    // The box a recorded text occupies, measured with this canvas's metrics at the font
    // size it was drawn in (turned texts: the turned box). An empty rectangle for calls
    // that are no text.
    QRect TextBox(const CanvasCall& call) const;

    const std::vector<CanvasCall>& Calls() const { return m_calls; }
    std::vector<CanvasCall> CallsOf(CanvasCall::Kind kind) const;
    std::vector<QString> Texts() const;
    void ClearCalls() { m_calls.clear(); }

private:
    CanvasCall NewCall(CanvasCall::Kind kind) const;
    int Scaled(int pixels, int points) const;
    QSize Measure(const QString& text, int points) const;

    Color m_penColor = Colors::Black;
    PenStyle m_penStyle = PenStyle::Solid;
    int m_penWidth = 1;
    Color m_brushColor = Colors::White;
    BrushStyle m_brushStyle = BrushStyle::Solid;
    int m_fontSize = DefaultFontSize;
    Color m_fontColor = Colors::Black;
    bool m_transparentText = false;
    QPoint m_pos;
    QRect m_clip;
    int m_charWidth = 6;
    int m_lineHeight = 12;
    bool m_metricsFollowFont = false;
    std::function<QSize(const QString&, int)> m_measure;
    std::vector<CanvasCall> m_calls;
};

}  // namespace kelm
