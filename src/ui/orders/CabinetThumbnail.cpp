#include "ui/orders/CabinetThumbnail.h"

#include <QPainter>
#include <exception>

#include "cabinet/UCabs.h"
#include "common/DrawingFit.h"
#include "documents/UXmlOpen.h"
#include "render/QPainterCanvas.h"

namespace {
const QColor kCream(248, 240, 227);

// An entry whose document cannot be read still gets a picture: its outer size as a
// cream rectangle, so one damaged entry does not stop the whole list from loading.
void DrawOutline(QImage& image, double width, double height) {
    if (width <= 0 || height <= 0) return;
    const double dv = ThumbnailScale(width, height);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(kCream);
    painter.drawRect(QRectF(20, 20, width / dv, height / dv));
}
}  // namespace

double ThumbnailScale(double width, double height) {
    return (width >= height ? width : height) / 200.0;
}

void DrawThumbnailOn(kelm::Canvas& canvas, const FCabs& cabs) {
    const double dv = ThumbnailScale(cabs.W(), cabs.H());
    if (dv <= 0) return;  // an empty frame has nothing to show
    // The depth is drawn upwards and to the side of the front: fit the whole drawing,
    // depth and top included, inside the picture less its margin.
    const kelm::ScaledDrawing draw = [&cabs](kelm::Canvas& c, double scale, QPoint pos) {
        cabs.Draw(c, scale, pos, true, false, kelm::Color(248, 240, 227), 80, 10);
    };
    const QRect area(kThumbnailMargin, kThumbnailMargin, kThumbnailSize - 2 * kThumbnailMargin,
                     kThumbnailSize - 2 * kThumbnailMargin);
    const kelm::DrawingFit fit = kelm::FitDrawing(draw, area, dv);
    draw(canvas, fit.dv, fit.pos);
}

QImage DrawCabinetThumbnail(const QString& winPath, double width, double height) {
    QImage image = kelm::NewBitmap(kThumbnailSize, kThumbnailSize);
    try {
        const std::unique_ptr<FCabs> cabs = FXmlOpen::OpenXml(winPath);
        kelm::QPainterCanvas canvas(&image);
        DrawThumbnailOn(canvas, *cabs);
    } catch (const std::exception&) {
        DrawOutline(image, width, height);
    }
    return image;
}
