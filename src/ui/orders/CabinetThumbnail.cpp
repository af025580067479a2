#include "ui/orders/CabinetThumbnail.h"

#include <QPainter>

namespace {
const QColor kCream(248, 240, 227);

// The entry's outer size as a cream rectangle at the thumbnail's scale; stands in for
// the combination drawing, which comes with the cabinet model.
void DrawOutline(QPainter& painter, double width, double height) {
    if (width <= 0 || height <= 0) return;
    const double dv = ThumbnailScale(width, height);
    const QRectF box(20, 20, width / dv, height / dv);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(kCream);
    painter.drawRect(box);
}
}  // namespace

double ThumbnailScale(double width, double height) {
    return (width >= height ? width : height) / 200.0;
}

bool ThumbnailsDrawCabinets() { return false; }

QImage DrawCabinetThumbnail(const QString& winPath, double width, double height) {
    Q_UNUSED(winPath);
    QImage image(kThumbnailSize, kThumbnailSize, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    DrawOutline(painter, width, height);
    return image;
}
