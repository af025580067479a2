#include "render/LayoutPng.h"

#include "optimizer/UnitD2RectDisp.h"
#include "render/QPainterCanvas.h"

#include <QDir>
#include <algorithm>
#include <cmath>

namespace kelm {

namespace {

// Margins and thresholds as the layout report draws them.
constexpr int kMargin = 1;
constexpr int kThreshold = 100;

// Draws the diagram on a fresh bitmap of the given height; returns the bottom of what
// was drawn (the legend's last line when there is one).
int Paint(QImage& image, const TD2RGene& layout, int index, const TD2Rslt& rslt, double dv,
          int unit, int dpi) {
    QPainterCanvas canvas(&image, dpi);
    canvas.Rectangle(0, 0, image.width(), image.height());
    int contentBottom = 0;
    TD2Result().DrawPBT(index, kMargin, kThreshold, kThreshold, dv, rslt, canvas, layout, unit,
                        kMargin, &contentBottom);
    return contentBottom;
}

}  // namespace

QImage DrawLayoutImage(const TD2RSchame& schame, int index, const TD2Rslt& rslt, int dpi,
                       int widthMm) {
    if (index < 0 || static_cast<size_t>(index) >= schame.size()) return QImage();
    const TD2RGene& layout = schame[static_cast<size_t>(index)];
    const int width = static_cast<int>(dpi * std::max(widthMm, 20) / 25.4);
    const int unit = static_cast<int>(dpi / 25.4);
    const double dv = layout.RawLength / (width - 10);
    int height = 100;
    if (dv > 0) height += static_cast<int>(std::min(layout.RawWidth / dv, 20000.0));

    QImage image = NewBitmap(width, height, dpi);
    const int bottom = Paint(image, layout, index, rslt, dv, unit, dpi);
    // A long cut-size list or a legend needs more room than the sheet leaves; give it
    // room instead of cutting it off.
    const int needed = bottom + 2 * unit;
    if (needed > height) {
        image = NewBitmap(width, needed, dpi);
        Paint(image, layout, index, rslt, dv, unit, dpi);
    }
    return image;
}

bool WriteLayoutPngs(const TD2RSchame& schame, const TD2RPrm& prm, const TD2REleArr& eles,
                     const QString& dir, QString* error) {
    auto fail = [error](const QString& message) {
        if (error) *error = message;
        return false;
    };
    if (!QDir().mkpath(dir)) return fail(QStringLiteral("cannot create folder %1").arg(dir));

    TD2Rslt rslt;
    TD2Result().GetResult(schame, prm, eles, rslt);
    for (size_t i = 0; i < schame.size(); ++i) {
        const QImage image = DrawLayoutImage(schame, static_cast<int>(i), rslt, 96);
        const QString path = QDir(dir).filePath(QStringLiteral("layout-%1.png").arg(i + 1));
        if (!image.save(path, "PNG")) return fail(QStringLiteral("cannot write %1").arg(path));
    }
    return true;
}

}  // namespace kelm
