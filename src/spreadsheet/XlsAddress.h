#pragma once
// Cell addresses in the A1 notation of spreadsheets. Rows and columns are 0-based in
// code: "A1" is row 0, column 0; "B3" is row 2, column 1.

#include <QString>
#include <optional>

namespace kelm {

// Largest row and column indexes of an Excel 97-2003 worksheet (65 536 rows, 256
// columns "A" to "IV").
constexpr int kXlsMaxRow = 65535;
constexpr int kXlsMaxCol = 255;

// An inclusive block of cells, 0-based.
struct XlsRange {
    int firstRow = 0;
    int firstCol = 0;
    int lastRow = 0;
    int lastCol = 0;

    bool Contains(int row, int col) const {
        return row >= firstRow && row <= lastRow && col >= firstCol && col <= lastCol;
    }
    bool Intersects(const XlsRange& o) const {
        return firstRow <= o.lastRow && o.firstRow <= lastRow && firstCol <= o.lastCol &&
               o.firstCol <= lastCol;
    }
    bool IsValid() const {
        return firstRow >= 0 && firstCol >= 0 && firstRow <= lastRow && firstCol <= lastCol &&
               lastRow <= kXlsMaxRow && lastCol <= kXlsMaxCol;
    }
    bool operator==(const XlsRange&) const = default;
};

// "A" -> 0, "Z" -> 25, "AA" -> 26, "IV" -> 255.
QString XlsColumnName(int col);
// "A1" for (0, 0).
QString XlsCellName(int row, int col);
// "A1:L5"; a single cell gives "A1".
QString XlsRangeName(const XlsRange& range);

// Reads "B3" or "B3:D4" (letters in either case, optional '$' signs, corners in either
// order). Empty when the text is no address or lies outside the worksheet.
std::optional<XlsRange> ParseXlsRange(const QString& text);

}  // namespace kelm
