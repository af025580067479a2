#pragma once
// Lower bounds on the number of sheets a part list needs: no guillotine layout (indeed no
// layout at all) can use fewer. Both bounds see every part and every sheet enlarged by one
// kerf on the right and at the bottom: parts a kerf apart inside a sheet less its trims
// then become disjoint rectangles inside that enlarged usable area. A turnable part may
// reach past its free rectangle by the size tolerance, so it counts shrunk by it.

#include <cstdint>

#include "optimizer/UnitD2RectTypes.h"

struct TD2RBound {
    int32_t Area = 0;    // total part area over the usable sheet area, rounded up
    int32_t Large = 0;   // Martello–Vigo's L2: parts larger than half the sheet, and what
                         // cannot share a sheet with them
    int32_t Sheets = 0;  // the larger of the two
    // True when the bound speaks for the whole search: every sheet type has the same size,
    // so fewer sheets is the same as less raw area (and, at one price, less cost).
    bool Decisive = false;
    int64_t Excluded = 0;  // pieces that fit no sheet type: left out, they stay uncut
};

// Bounds for the parts of `eles` on the sheet types of `raws` under `prm` (kerf, trims,
// tolerance). With several sheet sizes the count is taken against the largest usable area
// (the large-parts bound is then left at 0).
TD2RBound D2RLowerBound(const TD2RRawArr& raws, const TD2REleArr& eles, const TD2RPrm& prm);
