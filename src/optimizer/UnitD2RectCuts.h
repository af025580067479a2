#pragma once
// The saw's cut sequence of a sheet layout: the guillotine cuts in the order a panel-saw
// operator makes them. The layout is taken apart again from its geometry (placed parts
// and leftover rectangles), so stored layouts that carry no cutting tree get a sequence
// too: first the cuts through the whole sheet, then inside each strip, and so on down.
// Lengths are millimetres; a cut removes one kerf of material behind its position.

#include <QString>
#include <cstdint>
#include <vector>

#include "optimizer/UnitD2RectTypes.h"

// One guillotine cut through a whole piece of the sheet.
struct TD2RCut {
    int32_t Step = 0;         // 1-based position in the sequence of its layout
    int32_t Level = 0;        // 0 = through the whole sheet, 1 = inside a strip, ...
    bool Horizontal = false;  // the cut runs along X (a line y = const); otherwise along Y
    double Fence = 0;         // fence measurement: from the piece's leading edge to the cut
    double Length = 0;        // length of the cut (the piece's extent along the cut)
    // Where the cut starts on the sheet: (x, y) is the first point of the line; the kerf
    // lies below it (horizontal) or right of it (vertical).
    double px = 0;
    double py = 0;
    // The piece the cut divides.
    TRectR Piece;
};
using TD2RCutArr = std::vector<TD2RCut>;

// The cut sequence of one layout and its figures for one sheet.
struct TD2RCutPlan {
    TD2RCutArr Cuts;
    double TotalLength = 0;  // sum of the cut lengths, mm
    bool Guillotine = true;  // false: the parts could not be separated by through cuts
    QString Problem;         // why not, in a sentence, when Guillotine is false
};

// Derives the cut sequence of layout (sheet RawLength × RawWidth, kerf kerf). Leftovers
// at least keep.Length × keep.Width (as stored, not turned) are cut out as pieces; smaller
// ones are waste and get no cuts of their own. When the parts overlap or cannot be taken
// apart by through cuts, the plan holds the cuts found so far and says why.
TD2RCutPlan CutSequence(const TD2RGene& layout, double kerf, const TBin& keep = TBin{0, 0});

// Replays cuts on an empty sheet of length × width: each cut divides the piece it lies
// on (the one its line crosses from edge to edge) into the part before the cut and the
// part after the kerf; pieces of zero extent vanish. Returns the pieces at the end, or
// an empty list when a cut does not cross exactly one piece from edge to edge.
TRectArr ReplayCuts(double length, double width, double kerf, const TD2RCutArr& cuts);
