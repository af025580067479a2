#pragma once
// Barcodes for labels, encoded by libzint and drawn as filled rectangles through the
// Canvas, so they print sharp on any device. Modules are snapped to whole device pixels
// (the same width for every bar) so a scanner reads them at any resolution.

#include <QRect>
#include <QString>
#include <vector>

namespace kelm {
class Canvas;
}

namespace kelm::output {

enum class BarcodeKind { Code128, QR };

// The dark modules of a symbol, in module units (column, row, width, height).
struct BarcodeModules {
    int Columns = 0;
    int Rows = 0;
    std::vector<QRect> Bars;
};

// Encodes text (ASCII for Code 128; UTF-8 for QR). False with libzint's reason in *error
// when the text cannot be encoded in that symbology.
bool EncodeBarcode(const QString& text, BarcodeKind kind, BarcodeModules& out, QString* error);

// Draws the symbol into box (device pixels) as large as whole-pixel modules allow, centred,
// with the quiet zone (10 modules for Code 128, 4 for QR) kept inside box. One-row symbols
// fill the box's height. Returns the rectangle the bars cover, empty when even one pixel per
// module does not fit.
QRect DrawBarcode(Canvas& canvas, const BarcodeModules& code, BarcodeKind kind, const QRect& box);

}  // namespace kelm::output
