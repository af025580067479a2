#include "render/LayoutPng.h"

#include "optimizer/UnitD2RectDisp.h"
#include "render/QPainterCanvas.h"

#include <QDir>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <limits>

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
    const int width =
        std::clamp(static_cast<int>(dpi * std::max(widthMm, 20) / 25.4), 11, kMaxDiagramPixels);
    const int unit = static_cast<int>(dpi / 25.4);
    double dv = layout.RawLength / (width - 10);
    if (dv > 0 && layout.RawWidth / dv > kMaxDiagramPixels / 2) {
        // The title and cut sizes come first (a scale of infinity draws no sheet); the
        // sheet must fit in what is left below them.
        QImage probe = NewBitmap(width, 1, dpi);
        const int textBottom =
            Paint(probe, layout, index, rslt, std::numeric_limits<double>::infinity(), unit, dpi);
        const double room = std::max(1.0, double(kMaxDiagramPixels - textBottom - 2 * unit));
        if (layout.RawWidth / dv > room) dv = layout.RawWidth / room;
    }
    int height = 100;
    if (dv > 0) height += static_cast<int>(std::min(layout.RawWidth / dv, double(kMaxDiagramPixels)));
    height = std::clamp(height, 1, kMaxDiagramPixels);

    QImage image = NewBitmap(width, height, dpi);
    if (image.isNull()) return image;
    const int bottom = Paint(image, layout, index, rslt, dv, unit, dpi);
    // A long cut-size list pushes the sheet down; give it room instead of cutting it off,
    // up to the largest picture.
    const int needed = std::min(bottom + 2 * unit, kMaxDiagramPixels);
    if (needed > height) {
        image = NewBitmap(width, needed, dpi);
        if (image.isNull()) return image;
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
        if (image.isNull()) return fail(QStringLiteral("cannot draw %1").arg(path));
        // Written beside its place and renamed, so a failed write leaves no empty file.
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
            return fail(QStringLiteral("cannot write %1").arg(path));
    }
    return true;
}

}  // namespace kelm
