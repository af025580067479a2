#pragma once
// Whole-pixel positions and the selected-region outline, shared by the drawing of one
// cabinet and the drawing of a combination so both mark a selection the same way.

#include <QPoint>
#include <algorithm>
#include <cmath>

#include "cabinet/UDataType.h"
#include "common/Canvas.h"

namespace kelm::cabinet_pixels {

// A pixel coordinate held inside the int range; NaN lands on 0.
inline int ClampToInt(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<int>(std::clamp(v, -1e9, 1e9));
}

// Pixel for rectangles, polygons and arcs: the fraction is dropped.
inline int TruncPixel(double v) { return ClampToInt(std::trunc(v)); }
// Pixel for lines and texts: nearest, halves to even (the FPU's default rounding).
inline int NearestPixel(double v) { return ClampToInt(std::nearbyint(v)); }

inline void PixelLine(Canvas& canvas, double x1, double y1, double x2, double y2) {
    canvas.MoveTo(NearestPixel(x1), NearestPixel(y1));
    canvas.LineTo(NearestPixel(x2), NearestPixel(y2));
}

// The region's outline as a red dashed frame; the pen is left solid black.
inline void RegionOutline(Canvas& canvas, const FRegion& reg, double dv, QPoint pos) {
    const double left = pos.x() + reg.Left / dv;
    const double top = pos.y() + reg.Top / dv;
    const double right = pos.x() + reg.Right / dv;
    const double bottom = pos.y() + reg.Bottom / dv;
    canvas.SetPenColor(Colors::Red);
    canvas.SetPenStyle(PenStyle::Dash);
    PixelLine(canvas, left, top, left, bottom);
    PixelLine(canvas, left, bottom, right, bottom);
    PixelLine(canvas, right, bottom, right, top);
    PixelLine(canvas, right, top, left, top);
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetPenColor(Colors::Black);
}

}  // namespace kelm::cabinet_pixels
