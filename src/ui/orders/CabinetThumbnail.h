#pragma once
// Thumbnails of cabinet entries for the main window's cabinet list: 230 × 230 pixel,
// 24-bit pictures of the whole stored combination, depth and top included, centred
// inside a margin of kThumbnailMargin pixels.

#include <QImage>
#include <QString>

constexpr int kThumbnailSize = 230;
constexpr int kThumbnailMargin = 12;

// Millimetres per pixel so the larger of width and height fills 200 pixels: the scale
// the fitting starts from.
double ThumbnailScale(double width, double height);

// Draws the entry's stored document (winPath, scrambled). width and height are the
// entry's outer size as stored with it, used when the document cannot be drawn.
// Returns a 230 × 230 image in 24-bit colour; never throws.
QImage DrawCabinetThumbnail(const QString& winPath, double width, double height);

class FCabs;
namespace kelm {
class Canvas;
}

// Draws a combination as its thumbnail on a canvas: filled faces in pale cream, no
// dimension lines, depth at 80 and 10 degrees, scaled and placed so the whole drawing
// lies inside the picture less the margin, centred.
void DrawThumbnailOn(kelm::Canvas& canvas, const FCabs& cabs);
