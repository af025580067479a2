#pragma once
// A printable layout page: one sheet layout of an order with its header (order, material,
// sheet size, number of identical sheets, utilisation), the diagram with numbered parts,
// hatched leftovers and the numbered saw cuts, the legend of the part numbers and the cut
// sequence. The PDF, the printer and the layout viewer all draw pages through this model
// and the Canvas, so what is printed is what is seen. Lengths are millimetres.

#include <QRect>
#include <QStringList>
#include <QString>
#include <vector>

#include "optimizer/UnitD2RectCuts.h"
#include "optimizer/UnitD2RectTypes.h"

namespace kelm {
class Canvas;
}

namespace kelm::output {

// One line of the legend: parts of the same name and placed size share a number.
struct LegendRow {
    int Number = 0;
    QString Name;
    double Length = 0;  // as placed
    double Width = 0;
    int Count = 0;  // pieces on one sheet
};

struct LayoutPage {
    QString Order;     // order shown in the header (may be empty)
    QString Material;  // raw material name
    int Number = 1;    // 1-based number of the layout among all pages
    int Total = 1;     // number of pages (layouts)
    bool Outdated = false;  // the panels changed after the layout was stored
    double Kerf = 0;
    TD2RGene Layout;
    TD2RCutPlan Plan;
    std::vector<LegendRow> Legend;
    std::vector<int> PartNumbers;  // legend number of each EleList entry
    TEleGrainArr Grain;            // part types that may not turn: their parts show grain marks
};

// Pages of a scheme, one per layout, with their cut sequences and legends.
// Leftovers smaller than keep are waste: the saw does not cut them out. grain lists the
// part types that may not turn (FixedGrainTypes of the cut list).
std::vector<LayoutPage> MakeLayoutPages(const TD2RSchame& schame, double kerf, const QString& order,
                                        const QString& material, const TBin& keep = TBin{0, 0},
                                        const TEleGrainArr& grain = {});

// Cuts and cut length of a set of pages as the saw makes them: every layout's figures
// times its number of sheets.
struct SawWork {
    long long Cuts = 0;
    double Length = 0;  // mm
};
SawWork OrderSawWork(const std::vector<LayoutPage>& pages);

// Where a diagram was drawn: device pixel of the sheet's top-left corner and pixels per mm.
struct DiagramGeometry {
    int X0 = 0;
    int Y0 = 0;
    double Scale = 0;
    QRect Map(const TRectR& r) const;
};

struct DiagramOptions {
    bool ShowCuts = true;
    int Highlight = -1;  // EleList index drawn filled, -1 none
    int FontPoints = 8;  // the largest size of the part texts; they shrink down to 6 to fit
    // Parts show their names (the viewer); otherwise their legend numbers (printed pages,
    // whose legend names them). A part too small for its name shows its number.
    bool PartNames = false;
};

// The sheet with its parts (name or legend number with the length along the top and the
// width at the left, as far as they fit inside the part; grain marks on parts that may not
// turn), leftovers and cuts, scaled to fit box and centred at its top.
DiagramGeometry DrawLayoutDiagram(Canvas& canvas, const LayoutPage& page, const QRect& box,
                                  const DiagramOptions& options = {});

// A whole page into box (device pixels at dpi dots per inch).
void DrawLayoutPage(Canvas& canvas, const LayoutPage& page, const QRect& box, int dpi);

// "1000×500" in the general number format.
QString SizeText(double length, double width);
// "横" for a cut along the sheet's length, "纵" across it.
QString CutDirectionText(const TD2RCut& cut);

}  // namespace kelm::output
