#pragma once
// Offcuts in the optimizer: leftovers of earlier cuts kept in stock and offered again as
// raw sheets that are used before new sheets, and the leftovers of a result that are
// large enough to be kept as offcuts. Lengths are millimetres.

#include <QString>
#include <cstdint>
#include <map>
#include <vector>

#include "optimizer/UnitD2RectTypes.h"

// One offcut in stock: its identifier (printed on its label), size as it lay on its
// sheet (Length along the sheet's length, which is the grain direction) and count.
struct TD2ROffcut {
    QString ID;
    double Length = 0;
    double Width = 0;
    int32_t Count = 1;
};
using TD2ROffcutArr = std::vector<TD2ROffcut>;

// A leftover of a scheme that is kept as an offcut.
struct TD2RLeftover {
    int32_t Layout = 0;  // index of its layout in the scheme
    int32_t Rect = 0;    // index in that layout's RectArr
    QString RawDbID;     // material of the sheet it lies on
    QString FromOffcut;  // the layout lies on this offcut (empty: on a new sheet)
    double px = 0;
    double py = 0;
    double Length = 0;
    double Width = 0;
    int32_t Count = 0;  // one per sheet cut with the layout (RawCount)
};
using TD2RLeftoverArr = std::vector<TD2RLeftover>;

// A rectangle at least the minimum offcut: length ≥ min.Length and width ≥ min.Width,
// either way round (an offcut turned by 90° is the same piece of board). A rectangle
// without area never is one, whatever the minimum.
bool IsKeptOffcutSize(double length, double width, const TBin& min);

// Appends the offcuts to raws as sheet types of the material dbID, with priority 1 (used
// before every new sheet) and price 0 (already paid for), named "余料" + identifier so
// lists and diagrams that show sheet names say so. XH continues the list's numbering.
void AddOffcutRaws(TD2RRawArr& raws, const TD2ROffcutArr& offcuts, const QString& dbID);

// The leftovers of a scheme at least min, in layout order and within a layout in the
// order of its RectArr.
TD2RLeftoverArr KeptLeftovers(const TD2RSchame& schame, const TBin& min);

// Sheets cut from each offcut in a scheme: identifier → count.
std::map<QString, int32_t> UsedOffcuts(const TD2RSchame& schame);

// Sheets of a scheme that are new sheets (not offcuts).
int32_t NewSheetCount(const TD2RSchame& schame);
