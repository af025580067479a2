#pragma once
// The part identifier a workshop scans: printed as text in the "条码" column of the panel
// list and as a barcode on the parts' labels. It names the order, the order position
// and the part within the position, and stays the same every time the panel list is
// printed, also after the position was edited and its panel rows written anew:
//
//     <order key>-<position key>-<part number, three digits or more>
//     260310120455-2603101206120-007
//
// The order key is FProject.proID, the position key FProWins.winID, and the part number
// counts the position's panel rows in the order they were generated (boards, drawer
// parts, door leaves), from 1. Keys made from the clock hold only digits, so the text
// is plain ASCII (digits and "-") and fits every linear barcode that takes ASCII.

#include <QString>
#include <map>

namespace kelm {

// The identifier of part number partNumber (1-based) of position winID in order proID.
QString PartBarcodeText(const QString& proID, const QString& winID, int partNumber);

// The identifiers of every panel row of order proID, by the row's key FProCl.ID (as
// text). Reads the order's rows through the data module of the run.
std::map<QString, QString> OrderPartBarcodes(const QString& proID);

}  // namespace kelm
