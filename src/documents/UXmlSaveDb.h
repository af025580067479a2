#pragma once
// The panel list of an order position: every board, drawer part and door leaf of a
// combination as one row of table FProCl, with its cut size (finished size less edge
// banding, mm) written at the installation's precision. FXmlSave::SaveToDB and
// EditSize (declared in UXmlSave.h) store these rows; the row building is public so
// reports and benchmarks can use it without a database.

#include <QString>
#include <vector>

#include "cabinet/UCabs.h"
#include "cabinet/UDataType.h"
#include "documents/UHolePattern.h"

// One panel row as written to FProCl (order and position keys and the quantity are
// added when it is stored). Every field is the text that goes into its column.
struct FPanelRow {
    QString gtName;  // cabinet name
    QString clID;    // raw material key (ylID as text)
    QString clName;  // part name
    QString length;  // cut length, formatted by the precision setting
    QString width;   // cut width, formatted likewise
    QString thick;   // thickness, general number form
    QString wl;      // grain
    QString flag;    // outline code "R", "A4L", "A4R"
    QString shape;   // scrambled hole pattern; empty for back boards, drawers, doors
    bool operator==(const FPanelRow&) const = default;
};
using FPanelRows = std::vector<FPanelRow>;

// Part-name suffixes of the six rows of a drawer, in row order.
inline const QString kDrawerFaceSuffix = QStringLiteral("-面板");
inline const QString kDrawerFrontSuffix = QStringLiteral("-前板");
inline const QString kDrawerBackSuffix = QStringLiteral("-后板");
inline const QString kDrawerLeftSuffix = QStringLiteral("-左侧板");
inline const QString kDrawerRightSuffix = QStringLiteral("-右侧板");
inline const QString kDrawerBottomSuffix = QStringLiteral("-底板");

// A cut size as text by the precision _JQD: 0 one decimal ("399.9", "400.0"), 1 a
// rounded whole number ("400"), 2 decimals cut off ("399"). Rounding is half away
// from zero; the value is first taken to 15 significant digits, so arithmetic noise
// such as 399.99999999999994 counts as 400. Any other precision writes one decimal.
QString FormatPanelSize(double _value, int _JQD);

// Cut length and width of a board before formatting (mm).
void BoardCutSize(const FBC& _bc, double& _length, double& _width);

// One part of the panel list before formatting: part name, material and cut size (mm).
struct FPartSize {
    QString name;
    FCl cl;
    double length = 0;
    double width = 0;
};
using FPartSizes = std::vector<FPartSize>;

// The six parts of a drawer in panel-list order: face, box front, box back, left side,
// right side (material A) and bottom (material B). The box stands E inside the face's
// left edge and F inside its right edge, its front and back sit between its sides, and
// the bottom is let 5 mm into grooves of the box boards all round: its size follows the
// opening those boards leave, so it depends on their thickness, not on its own.
FPartSizes DrawerPartSizes(const FChTi& _ct);

// The parts one entry of a cabinet's object log stands for: one for a board or door
// leaf, six for a drawer, none when the entry names no element. The panel rows and the
// combination designer's size list both take their sizes from here.
FPartSizes ObjectPartSizes(const FCabinet& _cab, const FRC& _obj);

// The rows of one cabinet: its boards in list order, six rows per drawer (face, box
// front, box back, left side, right side, bottom), one row per door leaf.
// Throws EHolePatternError when a drilling rule that is needed is damaged.
void AppendCabinetPanelRows(FPanelRows& _rows, const FCabinet& _cab, const TSysSet& _set,
                            const FHoleRules& _rules);

// The rows of every cabinet of the combination, in list order.
// Throws EHolePatternError.
FPanelRows BuildPanelRows(const FCabs& _cabs, const TSysSet& _set, const FHoleRules& _rules);

// Edge banding of one panel row on the four edges of its cut rectangle (mm, 0 for an
// edge without banding): the two edges that run along its length and the two along its
// width. Boards take it from their banding thicknesses by how their length and width
// lie in the cabinet; drawer parts and door leaves carry none.
struct FPanelEdges {
    QString clName;  // part name, as in the row
    double length1 = 0, length2 = 0;
    double width1 = 0, width2 = 0;
    bool operator==(const FPanelEdges&) const = default;
};

// The banding of every row BuildPanelRows makes, in the same order.
std::vector<FPanelEdges> BuildPanelEdges(const FCabs& _cabs);
