#pragma once
// A label: a few lines of text, a barcode and, where it helps, a small sketch of the
// piece with its banded edges and grain arrow. Part labels and offcut labels are both
// this model, drawn through the Canvas onto roll labels or A4 label sheets.

#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "output/Barcode.h"

namespace kelm {
class Canvas;
}

namespace kelm::output {

// The piece seen from above: which edges carry banding, and whether its grain runs along
// its length.
struct EdgeSketch {
    double Length = 0;  // mm, for the sketch's proportions
    double Width = 0;
    bool Top = false;
    bool Bottom = false;
    bool Left = false;
    bool Right = false;
    bool Grain = false;  // draw an arrow along the length
};

struct Label {
    QString Heading;    // first line, larger
    QStringList Lines;  // further lines, top to bottom
    QString Barcode;    // payload, also printed under the symbol; empty: no barcode
    std::optional<EdgeSketch> Sketch;
};

// Label stock: one label per page on a roll, or a grid of labels on a sheet.
struct LabelStock {
    QString Name;
    double PageWidth = 0;  // mm
    double PageHeight = 0;
    int Columns = 1;
    int Rows = 1;
    double LabelWidth = 0;
    double LabelHeight = 0;
    double Left = 0;  // first label's offset on the page, mm
    double Top = 0;
    int PerPage() const { return Columns * Rows; }
};

// "100x60", "80x50", "60x40" (roll labels) or "a4" (3 × 8 labels 70 × 37 mm on A4);
// nothing for another name.
std::optional<LabelStock> LabelStockByName(const QString& name);
QStringList LabelStockNames();

// Draws label into box (device pixels; dpi dots per inch). The barcode is drawn when the
// payload encodes; otherwise the payload is printed in its place in red.
void DrawLabel(Canvas& canvas, const Label& label, const QRect& box, int dpi, BarcodeKind kind);

}  // namespace kelm::output
