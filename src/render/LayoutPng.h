#pragma once
// Cutting diagrams as pictures: each sheet layout of a scheme drawn with
// TD2Result::DrawPBT at the layout report's scale, a bitmap as wide as a landscape page
// holds (kLayoutImageWidthMm), so a workshop can print every diagram and read the
// texts of narrow parts.

#include "optimizer/UnitD2RectTypes.h"

#include <QImage>
#include <QString>

namespace kelm {

// Width of a diagram picture: the printable width of a landscape A4 page.
inline constexpr int kLayoutImageWidthMm = 250;

// Diagram of layout `index` of schame (statistics rslt from TD2Result::GetResult) on a
// 24-bit bitmap widthMm wide at dpi dots per inch: scale = sheet length / (width − 10),
// height = sheet width at that scale + 100, taller when the cut-size list wraps onto
// more lines or the legend needs more room than that leaves. A null image for an index
// outside the scheme.
QImage DrawLayoutImage(const TD2RSchame& schame, int index, const TD2Rslt& rslt, int dpi = 96,
                       int widthMm = kLayoutImageWidthMm);

// Writes layout-1.png, layout-2.png, … (one per layout, in scheme order, at 96 dpi)
// into dir, creating it when missing. False with a message in *error (when given) as
// soon as the folder cannot be made or a file cannot be written.
bool WriteLayoutPngs(const TD2RSchame& schame, const TD2RPrm& prm, const TD2REleArr& eles,
                     const QString& dir, QString* error);

}  // namespace kelm
