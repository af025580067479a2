#pragma once
// How the panels of an order enter the cutting optimizer, and whether a stored cutting
// layout still matches them.
//
// The optimization job reads the order's panels of one raw material grouped by name,
// size and grain code and turns each group into a part type. A stored layout document
// keeps the part list it was made from, so comparing that list with the part list the
// panels give today tells whether the layout is out of date: a cabinet entry saved
// again, edited or deleted, or a second entry added since the layout was made.
// Lengths are millimetres.

#include <QString>
#include <QStringList>
#include <vector>

#include "optimizer/UnitD2RectTypes.h"

class TsysData;

// One group of panels of a material as the job lists it: texts as read from the
// database (view vProCl), the count summed over the group.
struct TPanelGroup {
    QString name;
    QString length;
    QString width;
    QString count;
    QString wl;  // grain code
};

// Sets the extents and the rotation of a part type from a panel's size and grain code.
// A sheet's grain runs along its length, so:
//   "0" (no grain):     as listed, may turn;
//   "1" (横纹, along the panel's length): as listed, never turned;
//   "2" (竖纹, along the panel's width):  length and width exchanged, never turned;
//   any other code:     as listed, never turned (the safe choice for an unknown grain).
void SetPartGrain(TD2REle& ele, double length, double width, const QString& wl);

// The panels of material ylID in order proID, grouped by name, size and grain code, in
// the order the database returns the groups. ylID must be a counter key; anything else
// gives no groups.
std::vector<TPanelGroup> ReadMaterialPanels(const QString& proID, const QString& ylID,
                                            TsysData* data = nullptr);

// The part list of the groups (XH = position + 1, grain by SetPartGrain). False, with
// the name of the first group whose size is not a number or whose count is not a whole
// number in *badGroup, when one cannot be read; the list is then empty.
bool PartsFromPanels(const std::vector<TPanelGroup>& groups, TD2REleArr& eles,
                     QString* badGroup = nullptr);

// What differs between the part list a layout was made from and today's: one line per
// part name that was added ("新增"), removed ("删除") or whose sizes, counts or grain
// changed ("变化"). Empty when both hold the same parts, whatever their order.
QStringList CompareLayoutParts(const TD2REleArr& stored, const TD2REleArr& current);

// A raw material of an order whose stored layout no longer matches its panels, or
// whose panels have no stored layout while other materials of the order have one.
struct TStaleLayout {
    QString pyID;          // stored layout row; empty when the material has none
    QString ylID;          // the raw material
    QString materialName;  // its name, or "材料 <ylID>" when the material is gone
    QStringList changes;   // what changed (CompareLayoutParts), or why it is missing
};

// Every stored layout of order proID compared with the order's current panels of its
// material. A stored layout that cannot be read is left to whoever reads it next.
std::vector<TStaleLayout> FindStaleLayouts(const QString& proID, TsysData* data = nullptr);

// The message that tells the user which layouts are out of date: for each, "排料结果已过期："
// with the material's name, then what changed, one line each (at most a few per
// material, the rest counted).
QString StaleLayoutsText(const std::vector<TStaleLayout>& stale);
