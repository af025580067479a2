#pragma once
// TD2Result: figures and lists of a cutting scheme for the layout report and the layout
// diagrams. Areas mm², utilisation a ratio 0 … 1, prices per m² of raw sheet.

#include "optimizer/UnitD2RectTypes.h"

namespace kelm { class Canvas; }

class TD2Result {
public:
    // Recomputes every figure from the layouts of schame: areas, utilisation, sheet
    // count, cost, sheets per size, pieces per layout, uncut pieces and reusable
    // offcuts (leftovers at least prm.Bin in both extents). eles is the part list the
    // scheme was computed for (XH = position + 1). No input is changed.
    void GetResult(const TD2RSchame& schame, const TD2RPrm& prm, const TD2REleArr& eles,
                   TD2Rslt& rslt) const;
    // Cutting diagram of layout pbID on canvas (UnitD2RectDraw.cpp); returns the pixel Y
    // of the sheet outline's bottom edge. The title names the material when the layout
    // carries a RawName. Part texts stay inside their parts (PartTextPlacement.h);
    // parts that carry a number instead are explained by a legend below the sheet.
    // contentBottom, when given, receives the Y below everything drawn (the legend's
    // last line, or the sheet's bottom edge when there is no legend).
    int DrawPBT(int32_t pbID, int32_t posX, int32_t binW, int32_t binL, double dv,
                const TD2Rslt& result, kelm::Canvas& canvas, const TD2RGene& layout,
                int32_t unit, int32_t posY, int* contentBottom = nullptr) const;
};
