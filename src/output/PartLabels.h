#pragma once
// Part labels in the order the pieces come off the saw: layout by layout, sheet by sheet,
// and on each sheet in the order the cut sequence frees them.

#include <QString>
#include <vector>

#include "optimizer/UnitD2RectTypes.h"
#include "output/Label.h"
#include "output/LayoutPage.h"

namespace kelm::output {

// One cut piece: page (index into the pages), sheet (1 … the layout's sheet count) and
// the placed part (index into the layout's EleList).
struct SawPiece {
    int Page = 0;
    int Sheet = 1;
    int Element = 0;
};

// Every piece of every sheet of the pages, in the order the saw frees them: a part comes
// off with the last cut along one of its edges (a part that is the whole sheet, at once).
std::vector<SawPiece> PiecesInSawOrder(const std::vector<LayoutPage>& pages);

// Labels of a cut list without a database (kelm-cut): the barcode is the cut list's row
// (the part's XH) and the piece's number within that row, "12-3", so every label is
// distinct. eles is the part list the layouts were computed for; order names the job.
std::vector<Label> CutListLabels(const std::vector<LayoutPage>& pages, const TD2REleArr& eles,
                                 const QString& order);

}  // namespace kelm::output
