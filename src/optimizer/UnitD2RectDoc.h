#pragma once
// The cutting layout document: one line of XML holding the run parameters, the raw
// sheet list, the part list and the complete scheme (every placed part and every
// leftover rectangle of each sheet layout). It is what gets stored per order and what
// the layout report reads back.
//
// Layout: declaration, root KELM (parameters as attributes), RLST of RW, ELST of ELE,
// FYS of FPB each holding ELS of EL then RCTLST of RCT. Children are found by position
// when reading. Text values are XML-escaped, so names with & < > " ' survive; other
// texts are written exactly as they are.

#include <QString>

#include "optimizer/UnitD2RectTypes.h"

// The document text for a result. Lengths in the general number form, leftover sizes
// with one decimal.
QString LayoutDocumentText(const TD2RRawArr& raws, const TD2REleArr& eles, const TD2RPrm& prm,
                           const TD2RSchame& schame);

// Reads a document: raw sheets and part types are appended to raws and eles (XH
// renumbered 1, 2, ...), the scheme is replaced, and the stored parameters (kerf,
// priority, first cut, lay style, trims, leftover threshold, tolerance) are set in
// prm; its other fields keep their values, as does a priority, first cut or lay
// style with an unknown code. Throws std::runtime_error naming the element and
// attribute when the text does not parse or an attribute is missing or not a number;
// the outputs are then left as they were.
void ReadLayoutDocument(const QString& text, TD2RRawArr& raws, TD2REleArr& eles, TD2RSchame& schame,
                        TD2RPrm& prm);
