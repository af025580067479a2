#include "common/DrawingFit.h"

#include <algorithm>
#include <cmath>

namespace kelm {

namespace {

QRect CallBounds(const RecordingCanvas& canvas, const CanvasCall& call) {
    if (call.kind == CanvasCall::Kind::TextOut) return canvas.TextBox(call);
    // An arc's box holds the points that matter; its start and end rays only aim.
    const size_t n = call.kind == CanvasCall::Kind::Arc ? 2 : call.points.size();
    QRect box;
    for (size_t i = 0; i < n && i < call.points.size(); ++i) {
        const QRect p(call.points[i], QSize(1, 1));
        box = box.isNull() ? p : box.united(p);
    }
    return box;
}

QRect Measure(const ScaledDrawing& draw, double dv, QPoint pos) {
    RecordingCanvas canvas(QRect(-100000, -100000, 200000, 200000));
    canvas.SetMetricsFollowFontSize(true);
    draw(canvas, dv, pos);
    return DrawnBounds(canvas);
}

}  // namespace

QRect DrawnBounds(const RecordingCanvas& canvas) {
    QRect box;
    for (const CanvasCall& call : canvas.Calls()) {
        const QRect b = CallBounds(canvas, call);
        if (b.isNull()) continue;
        box = box.isNull() ? b : box.united(b);
    }
    return box;
}

DrawingFit FitDrawing(const ScaledDrawing& draw, const QRect& area, double dv0) {
    DrawingFit fit{dv0, area.topLeft(), QRect()};
    if (!(dv0 > 0) || area.isEmpty()) return fit;
    for (int round = 0; round < 12; ++round) {
        const QRect b = Measure(draw, fit.dv, fit.pos);
        fit.bounds = b;
        if (b.isNull()) return fit;
        // Shift so the drawing's box is centred in the area.
        const QPoint shift = area.center() - b.center();
        if (b.width() <= area.width() && b.height() <= area.height()) {
            fit.pos += shift;
            fit.bounds = b.translated(shift);
            if (area.contains(fit.bounds)) return fit;
            continue;
        }
        // Too large: scale down by the larger overshoot, a little more each round so
        // texts that keep their size do not hold it just outside.
        const double over = std::max(double(b.width()) / area.width(),
                                     double(b.height()) / area.height());
        fit.dv *= over * (1.0 + 0.01 * (round + 1));
    }
    return fit;
}

}  // namespace kelm
