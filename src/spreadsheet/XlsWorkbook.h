#pragma once
// A workbook in the Excel 97-2003 binary format (BIFF8 records in a compound file):
// named worksheets with text and number cells, merged blocks, cell formats (font size
// and weight, alignment, thin borders, wrapping), column widths, row heights and
// pictures. Rows and columns are 0-based ("A1" is row 0, column 0); every operation
// also takes A1-style addresses. Widths are in characters of the default font
// (Arial 10), heights in points, picture sizes in pixels at 96 dots per inch.

#include <QByteArray>
#include <QString>
#include <deque>
#include <map>
#include <vector>

#include "spreadsheet/ByteSink.h"
#include "spreadsheet/XlsAddress.h"

namespace kelm {

// The values are the codes the file format stores for each alignment.
enum class XlsHAlign { General = 0, Left = 1, Center = 2, Right = 3 };
enum class XlsVAlign { Top = 0, Center = 1, Bottom = 2 };

// How a cell looks. fontSize 0 means the workbook's default size (10 points).
struct XlsCellFormat {
    double fontSize = 0;
    bool bold = false;
    XlsHAlign hAlign = XlsHAlign::General;
    XlsVAlign vAlign = XlsVAlign::Bottom;
    bool borders = false;  // thin lines on all four sides, automatic colour
    bool wrap = false;
    bool operator==(const XlsCellFormat&) const = default;
};

// One cell: empty (only formatted), text or number.
struct XlsCell {
    enum class Kind { Empty, Text, Number };
    Kind kind = Kind::Empty;
    QString text;
    double number = 0;
    XlsCellFormat format;
};

// How a sheet prints: orientation, scaling to the page width, and rows repeated at the
// top of every printed page (0-based, inclusive; none while firstTitleRow < 0).
struct XlsPageSetup {
    bool landscape = false;
    bool fitToWidth = false;  // as many pages down as needed, one page across
    int firstTitleRow = -1;
    int lastTitleRow = -1;
    bool operator==(const XlsPageSetup&) const = default;
};

// A picture with its top-left corner at a cell, kept as PNG data.
struct XlsPicture {
    int row = 0;
    int col = 0;
    int width = 0;   // pixels
    int height = 0;  // pixels
    QByteArray png;
};

class XlsSheet {
  public:
    const QString& Name() const { return name_; }

    // Values. Setting a value keeps the cell's format. Texts longer than 32 767
    // characters (the format's limit) are cut there. False when the cell lies outside
    // the worksheet or the address cannot be read, and for numbers that are not finite
    // (the cell is then left as it was).
    bool SetText(int row, int col, const QString& text);
    bool SetText(const QString& cell, const QString& text);
    bool SetNumber(int row, int col, double value);
    bool SetNumber(const QString& cell, double value);

    // Joins a block into one cell showing the first cell's content. False for a block
    // that overlaps another merged block (which the format does not allow) or lies
    // outside the sheet; merging a single cell does nothing and succeeds.
    bool Merge(const XlsRange& range);
    bool Merge(const QString& range);

    // Format changes apply to every cell of the block, creating empty formatted cells
    // where there is no value yet, and leave the other format properties alone. False
    // for a block outside the sheet or of more than a million cells.
    bool SetFont(const XlsRange& range, double sizePoints, bool bold);
    bool SetFont(const QString& range, double sizePoints, bool bold);
    bool SetFontSize(const QString& range, double sizePoints);
    bool SetBold(const QString& range, bool bold);
    bool SetHorizontalAlignment(const XlsRange& range, XlsHAlign align);
    bool SetHorizontalAlignment(const QString& range, XlsHAlign align);
    bool SetVerticalAlignment(const XlsRange& range, XlsVAlign align);
    bool SetVerticalAlignment(const QString& range, XlsVAlign align);
    bool SetBorders(const XlsRange& range, bool on = true);
    bool SetBorders(const QString& range, bool on = true);
    bool SetWrap(const QString& range, bool on);
    bool SetFormat(const XlsRange& range, const XlsCellFormat& format);
    bool SetFormat(const QString& range, const XlsCellFormat& format);

    // Column width in characters as a spreadsheet shows it (default 8.43); limited
    // to 0..255. Row height in points (default 12.75); limited to 0..409.
    bool SetColumnWidth(int col, double characters);
    bool SetColumnWidth(const QString& column, double characters);  // "A" or "A1"
    bool SetRowHeight(int row, double points);

    // Places a bitmap (the bytes of a .bmp file: 24 or 32 bits per pixel, or 8 with a
    // palette) at its pixel size with its top-left corner at the cell. False with a
    // reason when the data is no such bitmap or the cell lies outside the sheet.
    bool InsertPicture(int row, int col, const QByteArray& bmpFile, QString* error = nullptr);
    bool InsertPicture(const QString& cell, const QByteArray& bmpFile, QString* error = nullptr);
    // The same from a .bmp file on disk.
    bool InsertPictureFile(int row, int col, const QString& bmpPath, QString* error = nullptr);
    bool InsertPictureFile(const QString& cell, const QString& bmpPath, QString* error = nullptr);

    // Printing: orientation, fit to width and repeated title rows.
    void SetPageSetup(const XlsPageSetup& setup) { pageSetup_ = setup; }
    const XlsPageSetup& PageSetup() const { return pageSetup_; }

    // Reading back what was set.
    const XlsCell* Cell(int row, int col) const;
    const std::map<std::pair<int, int>, XlsCell>& Cells() const { return cells_; }
    const std::vector<XlsRange>& Merges() const { return merges_; }
    const std::vector<XlsPicture>& Pictures() const { return pictures_; }
    double ColumnWidth(int col) const;  // characters
    double RowHeight(int row) const;    // points
    const std::map<int, double>& ColumnWidths() const { return columnWidths_; }
    const std::map<int, double>& RowHeights() const { return rowHeights_; }

    static constexpr double kDefaultColumnWidth = 8.43;
    static constexpr double kDefaultRowHeight = 12.75;

  private:
    friend class XlsWorkbook;
    explicit XlsSheet(const QString& name) : name_(name) {}
    XlsCell* Touch(int row, int col);
    template <class Change>
    bool ForRange(const XlsRange& range, Change change);

    QString name_;
    std::map<std::pair<int, int>, XlsCell> cells_;  // by (row, col)
    std::vector<XlsRange> merges_;
    std::vector<XlsPicture> pictures_;
    std::map<int, double> columnWidths_;
    std::map<int, double> rowHeights_;
    XlsPageSetup pageSetup_;
};

// True when spreadsheet programs accept the name as it is: 1 to 31 characters, none of
// \ / ? * [ ] :, not starting or ending with an apostrophe.
bool XlsSheetNameIsPortable(const QString& name);

// The closest name spreadsheet programs accept: "[" and "]" become "(" and ")" (as Excel
// itself writes a bracketed file name inside a sheet reference); each of \ / ? * :, the
// control characters 0 and 3 and an apostrophe at either end becomes "_". Length and
// emptiness are left alone. "[Kelm]报表" -> "(Kelm)报表".
QString XlsPortableSheetName(const QString& name);

class XlsWorkbook {
  public:
    // Adds a worksheet at the end. The name is kept as given, except that characters
    // the file format forbids in sheet names are replaced (XlsPortableSheetName: a file
    // carrying them is refused or renamed by spreadsheet programs, LibreOffice shows
    // such a sheet as "Sheet<n>"), an empty name becomes "Sheet<n>", a name is cut to
    // 31 characters (the format's limit) and a name already used gets " (2)", " (3)"
    // ... appended.
    XlsSheet& AddSheet(const QString& name);
    int SheetCount() const { return int(sheets_.size()); }
    XlsSheet& Sheet(int index) { return sheets_[index]; }
    const XlsSheet& Sheet(int index) const { return sheets_[index]; }

    // The whole file (compound file holding the "Workbook" stream) into a sink. A
    // workbook without sheets is written with one empty sheet "Sheet1", as the format
    // requires a sheet.
    // False with the sink's reason when it refused the bytes.
    bool Write(ByteSink& sink, QString* error = nullptr) const;
    // The "Workbook" stream alone (BIFF8 records), for inspection.
    QByteArray WorkbookStream() const;
    // Writes the file under path, whatever its extension. Never leaves a half-written
    // file: the target is replaced only when everything was written. False with a
    // reason when the file cannot be written (missing folder, no permission, target
    // held open).
    bool Save(const QString& path, QString* error = nullptr) const;

  private:
    std::deque<XlsSheet> sheets_;  // deque: references handed out stay valid
};

}  // namespace kelm
