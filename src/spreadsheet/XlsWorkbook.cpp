#include "spreadsheet/XlsWorkbook.h"

#include <QFile>
#include <algorithm>
#include <cmath>

#include "spreadsheet/XlsBitmap.h"

namespace kelm {

namespace {

constexpr int kMaxTextLength = 32767;
constexpr int kMaxSheetNameLength = 31;
// Formatting keeps one entry per cell, so whole-sheet blocks are refused rather than
// filling memory with millions of empty cells.
constexpr qint64 kMaxFormattedBlock = 1000000;

bool CellInSheet(int row, int col) {
    return row >= 0 && row <= kXlsMaxRow && col >= 0 && col <= kXlsMaxCol;
}

void SetError(QString* error, const QString& text) {
    if (error) *error = text;
}

}  // namespace

XlsCell* XlsSheet::Touch(int row, int col) {
    if (!CellInSheet(row, col)) return nullptr;
    return &cells_[{row, col}];
}

template <class Change>
bool XlsSheet::ForRange(const XlsRange& range, Change change) {
    if (!range.IsValid()) return false;
    const qint64 count =
        qint64(range.lastRow - range.firstRow + 1) * (range.lastCol - range.firstCol + 1);
    if (count > kMaxFormattedBlock) return false;
    for (int r = range.firstRow; r <= range.lastRow; ++r)
        for (int c = range.firstCol; c <= range.lastCol; ++c) change(cells_[{r, c}].format);
    return true;
}

bool XlsSheet::SetText(int row, int col, const QString& text) {
    XlsCell* cell = Touch(row, col);
    if (!cell) return false;
    cell->kind = XlsCell::Kind::Text;
    cell->text = text.left(kMaxTextLength);
    return true;
}

bool XlsSheet::SetNumber(int row, int col, double value) {
    if (!std::isfinite(value)) return false;
    XlsCell* cell = Touch(row, col);
    if (!cell) return false;
    cell->kind = XlsCell::Kind::Number;
    cell->number = value;
    cell->text.clear();
    return true;
}

bool XlsSheet::SetText(const QString& cell, const QString& text) {
    const auto r = ParseXlsRange(cell);
    return r && SetText(r->firstRow, r->firstCol, text);
}

bool XlsSheet::SetNumber(const QString& cell, double value) {
    const auto r = ParseXlsRange(cell);
    return r && SetNumber(r->firstRow, r->firstCol, value);
}

bool XlsSheet::Merge(const XlsRange& range) {
    if (!range.IsValid()) return false;
    if (range.firstRow == range.lastRow && range.firstCol == range.lastCol) return true;
    for (const XlsRange& m : merges_) {
        if (m == range) return true;
        if (m.Intersects(range)) return false;
    }
    merges_.push_back(range);
    return true;
}

bool XlsSheet::Merge(const QString& range) {
    const auto r = ParseXlsRange(range);
    return r && Merge(*r);
}

bool XlsSheet::SetFont(const XlsRange& range, double sizePoints, bool bold) {
    if (sizePoints < 1 || sizePoints > 409) return false;
    return ForRange(range, [&](XlsCellFormat& f) {
        f.fontSize = sizePoints;
        f.bold = bold;
    });
}

bool XlsSheet::SetFont(const QString& range, double sizePoints, bool bold) {
    const auto r = ParseXlsRange(range);
    return r && SetFont(*r, sizePoints, bold);
}

bool XlsSheet::SetFontSize(const QString& range, double sizePoints) {
    const auto r = ParseXlsRange(range);
    if (!r || sizePoints < 1 || sizePoints > 409) return false;
    return ForRange(*r, [&](XlsCellFormat& f) { f.fontSize = sizePoints; });
}

bool XlsSheet::SetBold(const QString& range, bool bold) {
    const auto r = ParseXlsRange(range);
    return r && ForRange(*r, [&](XlsCellFormat& f) { f.bold = bold; });
}

bool XlsSheet::SetHorizontalAlignment(const XlsRange& range, XlsHAlign align) {
    return ForRange(range, [&](XlsCellFormat& f) { f.hAlign = align; });
}

bool XlsSheet::SetHorizontalAlignment(const QString& range, XlsHAlign align) {
    const auto r = ParseXlsRange(range);
    return r && SetHorizontalAlignment(*r, align);
}

bool XlsSheet::SetVerticalAlignment(const XlsRange& range, XlsVAlign align) {
    return ForRange(range, [&](XlsCellFormat& f) { f.vAlign = align; });
}

bool XlsSheet::SetVerticalAlignment(const QString& range, XlsVAlign align) {
    const auto r = ParseXlsRange(range);
    return r && SetVerticalAlignment(*r, align);
}

bool XlsSheet::SetBorders(const XlsRange& range, bool on) {
    return ForRange(range, [&](XlsCellFormat& f) { f.borders = on; });
}

bool XlsSheet::SetBorders(const QString& range, bool on) {
    const auto r = ParseXlsRange(range);
    return r && SetBorders(*r, on);
}

bool XlsSheet::SetWrap(const QString& range, bool on) {
    const auto r = ParseXlsRange(range);
    return r && ForRange(*r, [&](XlsCellFormat& f) { f.wrap = on; });
}

bool XlsSheet::SetFormat(const XlsRange& range, const XlsCellFormat& format) {
    if (format.fontSize != 0 && (format.fontSize < 1 || format.fontSize > 409)) return false;
    return ForRange(range, [&](XlsCellFormat& f) { f = format; });
}

bool XlsSheet::SetFormat(const QString& range, const XlsCellFormat& format) {
    const auto r = ParseXlsRange(range);
    return r && SetFormat(*r, format);
}

bool XlsSheet::SetColumnWidth(int col, double characters) {
    if (col < 0 || col > kXlsMaxCol) return false;
    columnWidths_[col] = std::clamp(characters, 0.0, 255.0);
    return true;
}

bool XlsSheet::SetColumnWidth(const QString& column, double characters) {
    // A bare column letter is read as that column's first cell.
    QString text = column.trimmed();
    if (!text.isEmpty() && !text.back().isDigit()) text += '1';
    const auto r = ParseXlsRange(text);
    if (!r) return false;
    for (int c = r->firstCol; c <= r->lastCol; ++c) SetColumnWidth(c, characters);
    return true;
}

bool XlsSheet::SetRowHeight(int row, double points) {
    if (row < 0 || row > kXlsMaxRow) return false;
    rowHeights_[row] = std::clamp(points, 0.0, 409.0);
    return true;
}

bool XlsSheet::InsertPicture(int row, int col, const QByteArray& bmpFile, QString* error) {
    if (!CellInSheet(row, col)) {
        SetError(error, QStringLiteral("the picture's cell lies outside the worksheet"));
        return false;
    }
    XlsPicture picture;
    picture.row = row;
    picture.col = col;
    QString reason;
    if (!BmpToPng(bmpFile, picture.png, picture.width, picture.height, &reason)) {
        SetError(error, reason);
        return false;
    }
    pictures_.push_back(std::move(picture));
    return true;
}

bool XlsSheet::InsertPicture(const QString& cell, const QByteArray& bmpFile, QString* error) {
    const auto r = ParseXlsRange(cell);
    if (!r) {
        SetError(error, QStringLiteral("\"%1\" is no cell address").arg(cell));
        return false;
    }
    return InsertPicture(r->firstRow, r->firstCol, bmpFile, error);
}

bool XlsSheet::InsertPictureFile(int row, int col, const QString& bmpPath, QString* error) {
    QFile file(bmpPath);
    if (!file.open(QIODevice::ReadOnly)) {
        SetError(error, QStringLiteral("cannot read %1: %2").arg(bmpPath, file.errorString()));
        return false;
    }
    return InsertPicture(row, col, file.readAll(), error);
}

bool XlsSheet::InsertPictureFile(const QString& cell, const QString& bmpPath, QString* error) {
    const auto r = ParseXlsRange(cell);
    if (!r) {
        SetError(error, QStringLiteral("\"%1\" is no cell address").arg(cell));
        return false;
    }
    return InsertPictureFile(r->firstRow, r->firstCol, bmpPath, error);
}

const XlsCell* XlsSheet::Cell(int row, int col) const {
    const auto it = cells_.find({row, col});
    return it == cells_.end() ? nullptr : &it->second;
}

double XlsSheet::ColumnWidth(int col) const {
    const auto it = columnWidths_.find(col);
    return it == columnWidths_.end() ? kDefaultColumnWidth : it->second;
}

double XlsSheet::RowHeight(int row) const {
    const auto it = rowHeights_.find(row);
    return it == rowHeights_.end() ? kDefaultRowHeight : it->second;
}

bool XlsSheetNameIsPortable(const QString& name) {
    if (name.isEmpty() || name.size() > kMaxSheetNameLength) return false;
    if (name.front() == '\'' || name.back() == '\'') return false;
    return std::none_of(name.begin(), name.end(),
                        [](QChar c) { return QStringLiteral("\\/?*[]:").contains(c); });
}

QString XlsPortableSheetName(const QString& name) {
    QString portable = name;
    for (QChar& c : portable) {
        if (c == '[')
            c = '(';
        else if (c == ']')
            c = ')';
        else if (QStringLiteral("\\/?*:").contains(c) || c == QChar(0) || c == QChar(3))
            c = '_';
    }
    if (portable.startsWith('\'')) portable[0] = '_';
    if (portable.endsWith('\'')) portable[portable.size() - 1] = '_';
    return portable;
}

XlsSheet& XlsWorkbook::AddSheet(const QString& name) {
    // Cut first, so an apostrophe that ends up last is replaced too.
    QString base = XlsPortableSheetName(name.left(kMaxSheetNameLength));
    if (base.isEmpty()) base = QStringLiteral("Sheet%1").arg(sheets_.size() + 1);
    auto taken = [this](const QString& n) {
        return std::any_of(sheets_.begin(), sheets_.end(), [&](const XlsSheet& s) {
            return s.Name().compare(n, Qt::CaseInsensitive) == 0;
        });
    };
    QString unique = base;
    for (int k = 2; taken(unique); ++k) {
        const QString suffix = QStringLiteral(" (%1)").arg(k);
        unique = base.left(kMaxSheetNameLength - suffix.size()) + suffix;
    }
    sheets_.push_back(XlsSheet(unique));
    return sheets_.back();
}

bool XlsWorkbook::Save(const QString& path, QString* error) const {
    FileByteSink sink(path);
    if (!sink.Open() || !Write(sink) || !sink.Commit()) {
        SetError(error, sink.ErrorString());
        return false;
    }
    return true;
}

}  // namespace kelm
