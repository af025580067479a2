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

// Largest side of a diagram picture, in pixels (also the most rows the workbook's
// pictures take). A sheet whose diagram would be taller is drawn at a smaller scale,
// so a damaged or extreme layout gives a picture of bounded size, never a huge one.
constexpr int kMaxDiagramPixels = 20000;

// Diagram of layout `index` of schame (statistics rslt from TD2Result::GetResult) on a
// 24-bit bitmap widthMm wide at dpi dots per inch: scale = sheet length / (width − 10),
// height = sheet width at that scale + 100, taller when the cut-size list wraps onto
// more lines or the legend needs more room than that leaves. Neither side exceeds kMaxDiagramPixels: when
// the sheet would reach further down, the scale grows until it fits. A null image for
// an index outside the scheme.
QImage DrawLayoutImage(const TD2RSchame& schame, int index, const TD2Rslt& rslt, int dpi = 96,
                       int widthMm = kLayoutImageWidthMm);

// Writes layout-1.png, layout-2.png, … (one per layout, in scheme order, at 96 dpi)
// into dir, creating it when missing. False with a message in *error (when given) as
// soon as the folder cannot be made or a picture cannot be drawn or written; a file
// is complete or not there (no empty or partial picture is left behind).
bool WriteLayoutPngs(const TD2RSchame& schame, const TD2RPrm& prm, const TD2REleArr& eles,
                     const QString& dir, QString* error);

}  // namespace kelm
