#include "render/QPainterCanvas.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPolygon>
#include <QScreen>
#include <cmath>

namespace kelm {

const char* const QPainterCanvas::FontFamily = "WenQuanYi Micro Hei";

namespace {

QColor ToQColor(Color c) { return QColor(c.r, c.g, c.b); }

// Angle in degrees, counter-clockwise on the screen from the positive X axis, of the
// ellipse point hit by the ray from the centre through (x, y); expressed the way Qt
// measures arcs (the parametric angle of the ellipse).
double EllipseAngle(double cx, double cy, double rx, double ry, int x, int y) {
    return std::atan2(-(y - cy) / ry, (x - cx) / rx) * 180.0 / M_PI;
}

}  // namespace

int ScreenDpi() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return 96;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return 96;
    const int dpi = qRound(screen->logicalDotsPerInch());
    return dpi > 0 ? dpi : 96;
}

QImage NewBitmap(int width, int height, int dpi) {
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB888);
    image.fill(Qt::white);
    const int dotsPerMeter = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

QPainterCanvas::QPainterCanvas(QPaintDevice* device, int dpi)
    : m_ownPainter(std::make_unique<QPainter>(device)), m_painter(m_ownPainter.get()),
      m_device(device) {
    Init(dpi);
}

QPainterCanvas::QPainterCanvas(QPainter& painter, int dpi)
    : m_painter(&painter), m_device(painter.device()) {
    Init(dpi);
}

QPainterCanvas::~QPainterCanvas() = default;

void QPainterCanvas::Init(int dpi) {
    m_dpi = dpi > 0 ? dpi : ScreenDpi();
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    m_painter->setBackgroundMode(Qt::TransparentMode);
    m_font = QFont(QString::fromLatin1(FontFamily));
    m_font.setStyleStrategy(QFont::NoAntialias);
    ApplyFont();
}

void QPainterCanvas::SetPenColor(Color color) {
    m_penColor = color;
    m_penDirty = true;
}

void QPainterCanvas::SetPenStyle(PenStyle style) {
    m_penStyle = style;
    m_penDirty = true;
}

void QPainterCanvas::SetPenWidth(int width) {
    m_penWidth = width;
    m_penDirty = true;
}

void QPainterCanvas::SetBrushColor(Color color) {
    m_brushColor = color;
    m_brushDirty = true;
}

void QPainterCanvas::SetBrushStyle(BrushStyle style) {
    m_brushStyle = style;
    m_brushDirty = true;
}

void QPainterCanvas::SetFontSize(int points) {
    m_fontSize = points;
    ApplyFont();
}

void QPainterCanvas::ApplyFont() {
    // Points to pixels as a Windows screen does it: points × dpi / 72, rounded.
    const int pixels = std::max(1, static_cast<int>(std::lround(m_fontSize * m_dpi / 72.0)));
    m_font.setPixelSize(pixels);
    m_painter->setFont(m_font);
}

void QPainterCanvas::ApplyPen() {
    if (!m_penDirty) return;
    QPen pen(ToQColor(m_penColor));
    pen.setWidth(std::max(1, m_penWidth));
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    // Dashes of 18 pixels with gaps of 6, like a cosmetic dashed pen on Windows.
    if (m_penStyle == PenStyle::Dash) pen.setDashPattern({18.0 / pen.width(), 6.0 / pen.width()});
    m_painter->setPen(pen);
    m_penDirty = false;
}

void QPainterCanvas::ApplyBrush() {
    if (!m_brushDirty) return;
    switch (m_brushStyle) {
    case BrushStyle::Solid: m_painter->setBrush(QBrush(ToQColor(m_brushColor))); break;
    case BrushStyle::Clear: m_painter->setBrush(Qt::NoBrush); break;
    case BrushStyle::FDiagonal:
        m_painter->setBrush(QBrush(ToQColor(m_brushColor), Qt::FDiagPattern));
        break;
    }
    m_brushDirty = false;
}

void QPainterCanvas::MoveTo(int x, int y) { m_pos = QPoint(x, y); }

void QPainterCanvas::LineTo(int x, int y) {
    ApplyPen();
    m_painter->drawLine(m_pos, QPoint(x, y));
    m_pos = QPoint(x, y);
}

void QPainterCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    if (x2 - x1 < 1 || y2 - y1 < 1) return;
    ApplyPen();
    ApplyBrush();
    // Right and bottom edges are exclusive: fill the inside, then stroke the outline
    // on the outermost pixels x1 … x2 − 1, y1 … y2 − 1.
    if (m_brushStyle != BrushStyle::Clear)
        m_painter->fillRect(QRect(x1, y1, x2 - x1, y2 - y1), m_painter->brush());
    const QBrush keep = m_painter->brush();
    m_painter->setBrush(Qt::NoBrush);
    m_painter->drawRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
    m_painter->setBrush(keep);
}

void QPainterCanvas::Polygon(const std::vector<QPoint>& points) {
    if (points.empty()) return;
    ApplyPen();
    ApplyBrush();
    m_painter->drawPolygon(points.data(), static_cast<int>(points.size()), Qt::OddEvenFill);
}

void QPainterCanvas::Polyline(const std::vector<QPoint>& points) {
    if (points.size() < 2) return;
    ApplyPen();
    m_painter->drawPolyline(points.data(), static_cast<int>(points.size()));
}

void QPainterCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    const QRect box(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
    if (box.width() <= 0 || box.height() <= 0) return;
    const double cx = box.x() + box.width() / 2.0;
    const double cy = box.y() + box.height() / 2.0;
    const double rx = box.width() / 2.0;
    const double ry = box.height() / 2.0;
    const double start = EllipseAngle(cx, cy, rx, ry, x3, y3);
    double span = EllipseAngle(cx, cy, rx, ry, x4, y4) - start;
    while (span <= 0) span += 360.0;
    ApplyPen();
    m_painter->drawArc(box, qRound(start * 16), qRound(span * 16));
}

void QPainterCanvas::TextOut(int x, int y, const QString& text) {
    const QFontMetrics metrics(m_font);
    if (!m_transparentText && m_brushStyle == BrushStyle::Solid)
        m_painter->fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()),
                            ToQColor(m_brushColor));
    m_painter->setPen(ToQColor(m_fontColor));
    m_painter->drawText(x, y + metrics.ascent(), text);
    m_penDirty = true;
}

void QPainterCanvas::TextOutTurned(int x, int y, const QString& text) {
    const QFontMetrics metrics(m_font);
    const int width = metrics.horizontalAdvance(text);
    if (!m_transparentText && m_brushStyle == BrushStyle::Solid)
        m_painter->fillRect(QRect(x, y, metrics.height(), width), ToQColor(m_brushColor));
    m_painter->save();
    // The text's start goes to the bottom-left of the box and it reads upwards.
    m_painter->translate(x, y + width);
    m_painter->rotate(-90);
    m_painter->setPen(ToQColor(m_fontColor));
    m_painter->drawText(0, metrics.ascent(), text);
    m_painter->restore();
    m_penDirty = true;
    m_brushDirty = true;
}

int QPainterCanvas::TextWidth(const QString& text) const {
    return QFontMetrics(m_font).horizontalAdvance(text);
}

int QPainterCanvas::TextHeight(const QString&) const { return QFontMetrics(m_font).height(); }

QRect QPainterCanvas::ClipRect() const {
    if (m_painter->hasClipping()) return m_painter->clipBoundingRect().toAlignedRect();
    if (!m_device) return QRect();
    return QRect(0, 0, m_device->width(), m_device->height());
}

}  // namespace kelm
