#pragma once
// The Office drawing data that places pictures on worksheets: the workbook-wide
// drawing group (picture store) and each sheet's drawing with one picture frame shape
// per picture, anchored to cells.

#include <QByteArray>
#include <vector>

#include "spreadsheet/XlsWorkbook.h"

namespace kelm::xls {

// Where a picture sits: top-left and bottom-right cells with offsets in 1/1024 of the
// column width and 1/256 of the row height.
struct PictureAnchor {
    int colLeft = 0, dxLeft = 0, rowTop = 0, dyTop = 0;
    int colRight = 0, dxRight = 0, rowBottom = 0, dyBottom = 0;
};

// Pixel sizes of columns and rows, used to find the cell under a picture's corner.
struct SheetGeometry {
    std::vector<double> columnPixels;  // 256 entries
    std::vector<double> rowPixels;     // 65 536 entries
};

PictureAnchor AnchorPicture(const XlsPicture& picture, const SheetGeometry& geometry);

// Payload of the MSODRAWINGGROUP record. pictureCounts holds, per sheet drawing in
// order, its number of pictures; pictures are all pictures of the workbook in the same
// order (their store entries are numbered from 1 in this order).
QByteArray DrawingGroupData(const std::vector<const XlsPicture*>& pictures,
                            const std::vector<int>& pictureCounts);

// Appends the MSODRAWING and OBJ records of one sheet. drawingId counts from 1 over the
// sheets that have pictures; firstPicture is the store number of the sheet's first one.
void AppendSheetDrawing(QByteArray& out, const std::vector<XlsPicture>& pictures,
                        const std::vector<PictureAnchor>& anchors, int drawingId, int firstPicture);

}  // namespace kelm::xls
