#include "common/RecordingCanvas.h"

#include <algorithm>
#include <cmath>

namespace kelm {

RecordingCanvas::RecordingCanvas(QRect clip) : m_clip(clip) {}

CanvasCall RecordingCanvas::NewCall(CanvasCall::Kind kind) const {
    CanvasCall call;
    call.kind = kind;
    call.penColor = m_penColor;
    call.penStyle = m_penStyle;
    call.penWidth = m_penWidth;
    call.brushColor = m_brushColor;
    call.brushStyle = m_brushStyle;
    call.fontSize = m_fontSize;
    return call;
}

void RecordingCanvas::LineTo(int x, int y) {
    CanvasCall call = NewCall(CanvasCall::Kind::LineTo);
    call.points = {m_pos, QPoint(x, y)};
    m_calls.push_back(std::move(call));
    m_pos = QPoint(x, y);
}

void RecordingCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    CanvasCall call = NewCall(CanvasCall::Kind::Rectangle);
    call.points = {QPoint(x1, y1), QPoint(x2, y2)};
    m_calls.push_back(std::move(call));
}

void RecordingCanvas::Polygon(const std::vector<QPoint>& points) {
    CanvasCall call = NewCall(CanvasCall::Kind::Polygon);
    call.points = points;
    m_calls.push_back(std::move(call));
}

void RecordingCanvas::Polyline(const std::vector<QPoint>& points) {
    CanvasCall call = NewCall(CanvasCall::Kind::Polyline);
    call.points = points;
    m_calls.push_back(std::move(call));
}

void RecordingCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    CanvasCall call = NewCall(CanvasCall::Kind::Arc);
    call.points = {QPoint(x1, y1), QPoint(x2, y2), QPoint(x3, y3), QPoint(x4, y4)};
    m_calls.push_back(std::move(call));
}

void RecordingCanvas::TextOut(int x, int y, const QString& text) {
    CanvasCall call = NewCall(CanvasCall::Kind::TextOut);
    call.points = {QPoint(x, y)};
    call.text = text;
    call.textTransparent = m_transparentText || m_brushStyle != BrushStyle::Solid;
    m_calls.push_back(std::move(call));
}

void RecordingCanvas::TextOutTurned(int x, int y, const QString& text) {
    TextOut(x, y, text);
    m_calls.back().turned = true;
}

int RecordingCanvas::Scaled(int pixels, int points) const {
    if (!m_metricsFollowFont) return pixels;
    return std::max(1, int(std::lround(pixels * points / 9.0)));
}

QSize RecordingCanvas::Measure(const QString& text, int points) const {
    if (m_measure) return m_measure(text, points);
    const int narrow = Scaled(m_charWidth, points);
    const int wide = Scaled(2 * m_charWidth, points);
    int width = 0;
    for (QChar c : text) width += c.unicode() >= 0x2E80 ? wide : narrow;
    return QSize(width, Scaled(m_lineHeight, points));
}

int RecordingCanvas::TextWidth(const QString& text) const {
    return Measure(text, m_fontSize).width();
}

int RecordingCanvas::TextHeight(const QString& text) const {
    return Measure(text, m_fontSize).height();
}

QRect RecordingCanvas::TextBox(const CanvasCall& call) const {
    if (call.kind != CanvasCall::Kind::TextOut || call.points.empty()) return QRect();
    const QSize size = Measure(call.text, call.fontSize);
    return QRect(call.points.front(), call.turned ? size.transposed() : size);
}

std::vector<CanvasCall> RecordingCanvas::CallsOf(CanvasCall::Kind kind) const {
    std::vector<CanvasCall> out;
    for (const CanvasCall& call : m_calls)
        if (call.kind == kind) out.push_back(call);
    return out;
}

std::vector<QString> RecordingCanvas::Texts() const {
    std::vector<QString> out;
    for (const CanvasCall& call : m_calls)
        if (call.kind == CanvasCall::Kind::TextOut) out.push_back(call.text);
    return out;
}

}  // namespace kelm
