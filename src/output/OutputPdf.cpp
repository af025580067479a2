#include "output/OutputPdf.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <cmath>
#include <functional>

#include "render/QPainterCanvas.h"

namespace kelm::output {

namespace {

constexpr int kPdfDpi = 600;

int Mm(double mm, int dpi) { return static_cast<int>(std::lround(mm * dpi / 25.4)); }

bool Paint(QPagedPaintDevice& device, int pageCount, const std::function<void(Canvas&, int, int)>& page) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const int dpi = device.logicalDpiX();
    for (int i = 0; i < pageCount; ++i) {
        if (i > 0 && !device.newPage()) return false;
        QPainterCanvas canvas(painter, dpi);
        page(canvas, i, dpi);
    }
    return painter.end();
}

bool WritePdf(const QString& path, const QString& title, QString* error,
              const std::function<bool(QPdfWriter&)>& paint) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(kPdfDpi);
        writer.setCreator(QStringLiteral("Kelm"));
        writer.setTitle(title);
        if (!paint(writer)) {
            file.cancelWriting();
            if (error) *error = QStringLiteral("无法生成PDF页面");
            return false;
        }
    }
    if (!file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace

bool PaintLayoutPages(QPagedPaintDevice& device, const std::vector<LayoutPage>& pages, PaperSize paper) {
    device.setPageLayout(QPageLayout(QPageSize(paper == PaperSize::A3 ? QPageSize::A3 : QPageSize::A4),
                                     QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
    return Paint(device, static_cast<int>(pages.size()), [&](Canvas& canvas, int i, int dpi) {
        const QRect box(0, 0, device.width(), device.height());
        (void)dpi;
        DrawLayoutPage(canvas, pages[static_cast<size_t>(i)], box, device.logicalDpiX());
    });
}

bool PaintLabels(QPagedPaintDevice& device, const std::vector<Label>& labels, const LabelStock& stock,
                 BarcodeKind kind) {
    const bool landscape = stock.PageWidth > stock.PageHeight;
    const QSizeF size = landscape ? QSizeF(stock.PageHeight, stock.PageWidth) : QSizeF(stock.PageWidth, stock.PageHeight);
    device.setPageLayout(QPageLayout(QPageSize(size, QPageSize::Millimeter, stock.Name),
                                     landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0)));
    const int perPage = std::max(1, stock.PerPage());
    const int pages = (static_cast<int>(labels.size()) + perPage - 1) / perPage;
    return Paint(device, pages, [&](Canvas& canvas, int page, int dpi) {
        for (int k = 0; k < perPage; ++k) {
            const size_t i = static_cast<size_t>(page * perPage + k);
            if (i >= labels.size()) break;
            const int col = k % stock.Columns;
            const int row = k / stock.Columns;
            const QRect box(Mm(stock.Left + col * stock.LabelWidth, dpi), Mm(stock.Top + row * stock.LabelHeight, dpi),
                            Mm(stock.LabelWidth, dpi), Mm(stock.LabelHeight, dpi));
            DrawLabel(canvas, labels[i], box, dpi, kind);
        }
    });
}

bool WriteLayoutPdf(const QString& path, const std::vector<LayoutPage>& pages, PaperSize paper,
                    const QString& title, QString* error) {
    return WritePdf(path, title, error, [&](QPdfWriter& w) { return PaintLayoutPages(w, pages, paper); });
}

bool WriteLabelsPdf(const QString& path, const std::vector<Label>& labels, const LabelStock& stock,
                    BarcodeKind kind, const QString& title, QString* error) {
    return WritePdf(path, title, error, [&](QPdfWriter& w) { return PaintLabels(w, labels, stock, kind); });
}

}  // namespace kelm::output
