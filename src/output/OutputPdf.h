#pragma once
// Pages onto paper: layout pages and labels painted on any paged device (a QPdfWriter for
// PDF files, a QPrinter for the system's printers and the print preview), and the PDF
// files themselves. Text is embedded with its font, so Chinese shows on any machine.

#include <QString>
#include <vector>

#include "output/Label.h"
#include "output/LayoutPage.h"

class QPagedPaintDevice;

namespace kelm::output {

enum class PaperSize { A4, A3 };

// Sets the device to the paper (landscape, no margins) and paints one page per layout.
// False when the device cannot be painted on.
bool PaintLayoutPages(QPagedPaintDevice& device, const std::vector<LayoutPage>& pages, PaperSize paper);

// Sets the device to the stock's page size and paints the labels, stock.PerPage() a page.
bool PaintLabels(QPagedPaintDevice& device, const std::vector<Label>& labels, const LabelStock& stock,
                 BarcodeKind kind);

// A table over as many A4 landscape pages as it needs: title and headings on every page,
// columns as wide as their widest text allows (narrowed in proportion when the page is too
// narrow), page numbers at the foot.
struct TablePages {
    QString Title;
    QStringList Headings;
    std::vector<QStringList> Rows;
};
bool PaintTable(QPagedPaintDevice& device, const TablePages& table);
bool WriteTablePdf(const QString& path, const TablePages& table, QString* error);

// The files: written in full or not at all (a failed write leaves an existing file as it
// was). False with the reason in *error.
bool WriteLayoutPdf(const QString& path, const std::vector<LayoutPage>& pages, PaperSize paper,
                    const QString& title, QString* error);
bool WriteLabelsPdf(const QString& path, const std::vector<Label>& labels, const LabelStock& stock,
                    BarcodeKind kind, const QString& title, QString* error);

}  // namespace kelm::output
