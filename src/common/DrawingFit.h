#pragma once
// Fitting a drawing into a picture: the drawing is made on a RecordingCanvas, the box
// of everything it drew (lines, faces, arcs, texts with their extents) is measured, and
// the scale and origin are chosen so that the whole of it, depth and dimension texts
// included, lies inside the given area. Used for pictures whose content reaches beyond
// the outer size (a cabinet's depth drawn upwards, dimension lines and their texts).

#include <QPoint>
#include <QRect>
#include <functional>

#include "common/RecordingCanvas.h"

namespace kelm {

// The box covering every call recorded on canvas (empty when nothing was drawn). A
// text counts with its width and height at the font size it was drawn in.
QRect DrawnBounds(const RecordingCanvas& canvas);

// Draws at scale dv (millimetres per pixel) with origin pos.
using ScaledDrawing = std::function<void(Canvas& canvas, double dv, QPoint pos)>;

struct DrawingFit {
    double dv = 0;  // millimetres per pixel
    QPoint pos;     // origin to draw at
    QRect bounds;   // where the drawing lands with them
};

// Scale and origin at which draw lands inside area, centred, as large as it fits:
// starts at dv0 and grows the scale while the drawing is too large (its texts do not
// shrink with it, so it measures again after each change). A drawing that makes nothing
// keeps dv0 and the area's top-left corner.
DrawingFit FitDrawing(const ScaledDrawing& draw, const QRect& area, double dv0);

}  // namespace kelm
