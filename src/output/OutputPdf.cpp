#include "output/OutputPdf.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <cmath>
#include <functional>
#include <numeric>
#include <QImage>

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

namespace {

struct TableGeometry {
    int rowHeight = 0;
    int rowsPerPage = 1;
    std::vector<int> widths;
};

TableGeometry MeasureTable(Canvas& canvas, const TablePages& t, const QRect& inner) {
    TableGeometry g;
    canvas.SetFontSize(8);
    g.rowHeight = canvas.TextHeight(QStringLiteral("国")) * 3 / 2;
    const int pad = canvas.TextWidth(QStringLiteral("国"));
    g.widths.assign(static_cast<size_t>(t.Headings.size()), 0);
    for (int c = 0; c < t.Headings.size(); ++c) g.widths[c] = canvas.TextWidth(t.Headings[c]) + pad;
    for (const QStringList& row : t.Rows)
        for (int c = 0; c < row.size() && c < t.Headings.size(); ++c)
            g.widths[c] = std::max(g.widths[c], canvas.TextWidth(row[c]) + pad);
    long long total = 0;
    for (int w : g.widths) total += w;
    if (total > inner.width())
        for (int& w : g.widths) w = static_cast<int>(static_cast<long long>(w) * inner.width() / total);
    g.rowsPerPage = std::max(1, (inner.height() - 4 * g.rowHeight) / g.rowHeight);
    return g;
}

}  // namespace

bool PaintTable(QPagedPaintDevice& device, const TablePages& table) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
    const int dpi = device.logicalDpiX();
    const QRect inner = QRect(0, 0, device.width(), device.height()).adjusted(Mm(10, dpi), Mm(10, dpi), -Mm(10, dpi),
                                                                             -Mm(10, dpi));
    TableGeometry g;
    {
        QImage probe(8, 8, QImage::Format_RGB32);
        QPainterCanvas measure(&probe, dpi);
        g = MeasureTable(measure, table, inner);
    }
    const int rows = static_cast<int>(table.Rows.size());
    const int pages = std::max(1, (rows + g.rowsPerPage - 1) / g.rowsPerPage);
    return Paint(device, pages, [&](Canvas& canvas, int page, int) {
        canvas.SetTransparentText(true);
        canvas.SetFontSize(12);
        canvas.TextOut(inner.left(), inner.top(), table.Title);
        canvas.SetFontSize(8);
        int y = inner.top() + 2 * g.rowHeight;
        auto line = [&](const QStringList& cells) {
            int x = inner.left();
            canvas.MoveTo(inner.left(), y);
            canvas.LineTo(inner.left() + std::accumulate(g.widths.begin(), g.widths.end(), 0), y);
            for (int c = 0; c < cells.size() && c < static_cast<int>(g.widths.size()); ++c) {
                canvas.TextOut(x + 2, y + g.rowHeight / 6, cells[c]);
                x += g.widths[c];
            }
            y += g.rowHeight;
        };
        line(table.Headings);
        for (int r = page * g.rowsPerPage; r < std::min(rows, (page + 1) * g.rowsPerPage); ++r) line(table.Rows[r]);
        canvas.MoveTo(inner.left(), y);
        canvas.LineTo(inner.left() + std::accumulate(g.widths.begin(), g.widths.end(), 0), y);
        const QString foot = QStringLiteral("第%1页，共%2页").arg(page + 1).arg(pages);
        canvas.TextOut(inner.right() - canvas.TextWidth(foot), inner.bottom() - g.rowHeight, foot);
    });
}

bool WriteTablePdf(const QString& path, const TablePages& table, QString* error) {
    return WritePdf(path, table.Title, error, [&](QPdfWriter& w) { return PaintTable(w, table); });
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
