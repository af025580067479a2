// Serialises an XlsWorkbook into the BIFF8 "Workbook" stream: the workbook globals
// (fonts, cell formats, sheet list, picture store, shared strings) followed by one
// substream per worksheet.
#include <QHash>
#include <algorithm>
#include <cmath>
#include <deque>
#include <map>

#include "spreadsheet/CompoundFile.h"
#include "spreadsheet/XlsDrawing.h"
#include "spreadsheet/XlsRecords.h"
#include "spreadsheet/XlsWorkbook.h"

namespace kelm {

namespace {

using xls::AppendRecord;
using xls::Bytes;

// Record types.
enum : quint16 {
    kBof = 0x0809,
    kEof = 0x000A,
    kInterfaceHdr = 0x00E1,
    kMms = 0x00C1,
    kInterfaceEnd = 0x00E2,
    kWriteAccess = 0x005C,
    kCodePage = 0x0042,
    kDsf = 0x0161,
    kTabId = 0x013D,
    kWindowProtect = 0x0019,
    kProtect = 0x0012,
    kPassword = 0x0013,
    kWindow1 = 0x003D,
    kBackup = 0x0040,
    kHideObj = 0x008D,
    kDateMode = 0x0022,
    kPrecision = 0x000E,
    kBookBool = 0x00DA,
    kFont = 0x0031,
    kXf = 0x00E0,
    kStyle = 0x0293,
    kBoundSheet = 0x0085,
    kMsoDrawingGroup = 0x00EB,
    kSst = 0x00FC,
    kContinue = 0x003C,
    kExtSst = 0x00FF,
    kCalcMode = 0x000D,
    kCalcCount = 0x000C,
    kRefMode = 0x000F,
    kIteration = 0x0011,
    kDelta = 0x0010,
    kSaveRecalc = 0x005F,
    kPrintHeaders = 0x002A,
    kPrintGridlines = 0x002B,
    kGridSet = 0x0082,
    kGuts = 0x0080,
    kDefaultRowHeight = 0x0225,
    kWsBool = 0x0081,
    kDefColWidth = 0x0055,
    kColInfo = 0x007D,
    kDimensions = 0x0200,
    kRow = 0x0208,
    kBlank = 0x0201,
    kLabelSst = 0x00FD,
    kNumber = 0x0203,
    kWindow2 = 0x023E,
    kMergeCells = 0x00E5,
    kSetup = 0x00A1,
    kSupBook = 0x01AE,
    kExternSheet = 0x0017,
    kName = 0x0018,
};

// The default font and the pixel metrics that go with it at 96 dots per inch.
const QString kDefaultFontName = QStringLiteral("Arial");
constexpr int kDefaultFontTwips = 200;  // 10 points
constexpr double kDigitPixels = 7;      // width of a digit of Arial 10
constexpr int kColumnPaddingPixels = 5;
constexpr double kDefaultColumnPixels = 64;
constexpr int kDefaultRowTwips = 255;  // 12.75 points
constexpr int kStyleXfCount = 15;
constexpr int kDefaultCellXf = 15;
constexpr int kMaxMergesPerRecord = 1026;

int FontTwips(const XlsCellFormat& f) {
    return f.fontSize > 0 ? int(std::lround(f.fontSize * 20)) : kDefaultFontTwips;
}

// Row height that fits a font, as spreadsheets size rows automatically (12.75 points
// for 10-point text), in twips.
int AutoRowTwips(int fontTwips) {
    const double points = std::ceil(fontTwips / 20.0 * 1.275 / 0.75) * 0.75;
    return std::max(kDefaultRowTwips, int(std::lround(points * 20)));
}

// Column width as stored: 1/256 of a digit width, including the cell padding.
int StoredColumnWidth(double characters) {
    const double pixels = std::round(characters * kDigitPixels) + kColumnPaddingPixels;
    return std::clamp(int(pixels / kDigitPixels * 256), 0, 0xFFFF);
}

double ColumnPixels(double characters) {
    return characters <= 0 ? 0 : std::round(characters * kDigitPixels) + kColumnPaddingPixels;
}

// Fonts and cell formats of the whole workbook, numbered as the records will be.
class StyleTable {
  public:
    StyleTable() {
        for (int i = 0; i < 4; ++i) fonts_.push_back({kDefaultFontTwips, false});
    }
    int XfIndex(const XlsCellFormat& format) {
        if (format == XlsCellFormat{}) return kDefaultCellXf;
        const auto it = std::find(xfs_.begin(), xfs_.end(), format);
        if (it != xfs_.end()) return kDefaultCellXf + 1 + int(it - xfs_.begin());
        xfs_.push_back(format);
        FontIndex(format);
        return kDefaultCellXf + int(xfs_.size());
    }
    void AppendRecords(QByteArray& out) {
        for (const Font& f : fonts_) {
            Bytes b;
            // Bit 0 of the flags repeats "bold" for older readers.
            b.U16(quint32(f.twips)).U16(f.bold ? 1 : 0).U16(0x7FFF).U16(f.bold ? 700 : 400).U16(0);
            b.U8(0).U8(0).U8(0).U8(0).ShortString(kDefaultFontName);
            AppendRecord(out, kFont, b.data);
        }
        for (int i = 0; i < kStyleXfCount; ++i) AppendRecord(out, kXf, Xf(0, {}, true, i));
        AppendRecord(out, kXf, Xf(0, {}, false, kDefaultCellXf));
        for (const XlsCellFormat& f : xfs_) {
            AppendRecord(out, kXf, Xf(FontIndex(f), f, false, 0));
        }
        Bytes style;  // the built-in "Normal" style on XF 0
        style.U16(0x8000).U8(0).U8(0xFF);
        AppendRecord(out, kStyle, style.data);
    }

  private:
    struct Font {
        int twips;
        bool bold;
        bool operator==(const Font&) const = default;
    };
    // Font numbers skip 4, which the format reserves.
    int FontIndex(const XlsCellFormat& f) {
        const Font font{FontTwips(f), f.bold};
        auto it = std::find(fonts_.begin(), fonts_.end(), font);
        if (it == fonts_.end()) {
            fonts_.push_back(font);
            it = fonts_.end() - 1;
        }
        const int n = int(it - fonts_.begin());
        return n >= 4 ? n + 1 : n;
    }
    static QByteArray Xf(int font, const XlsCellFormat& f, bool isStyle, int index) {
        Bytes b;
        b.U16(quint32(font)).U16(0);       // font, number format "General"
        b.U16(isStyle ? 0xFFF5 : 0x0001);  // locked; style XFs have no parent
        b.U8(quint32(int(f.hAlign) | (f.wrap ? 0x08 : 0) | int(f.vAlign) << 4));
        b.U8(0).U8(0);  // rotation, indent
        b.U8(isStyle ? (index == 0 ? 0 : 0xF4) : (index == kDefaultCellXf ? 0 : 0xF8));
        if (f.borders) {
            constexpr quint32 kThin = 1, kAuto = 64;
            b.U32(kThin | kThin << 4 | kThin << 8 | kThin << 12 | kAuto << 16 | kAuto << 23);
            b.U32(kAuto | kAuto << 7);
        } else {
            b.U32(0).U32(0);
        }
        b.U16(64 | 65 << 7);  // automatic pattern colours
        return b.data;
    }

    std::vector<Font> fonts_;
    std::vector<XlsCellFormat> xfs_;
};

// Unique texts in order of first use, written as SST with CONTINUE records and the
// EXTSST index into it.
class SharedStrings {
  public:
    int Index(const QString& text) {
        ++references_;
        const auto it = index_.constFind(text);
        if (it != index_.constEnd()) return *it;
        strings_.push_back(text);
        index_.insert(text, int(strings_.size()) - 1);
        return int(strings_.size()) - 1;
    }
    void AppendRecords(QByteArray& out) const {
        const int perBucket = std::max(8, int(strings_.size()) / 128 + 1);
        Bytes extsst;
        extsst.U16(quint32(perBucket));
        QByteArray record;
        Bytes head;
        head.U32(quint32(references_)).U32(quint32(strings_.size()));
        record = head.data;
        quint16 type = kSst;
        auto flush = [&] {
            AppendRecord(out, type, record);
            record.clear();
            type = kContinue;
        };
        for (size_t i = 0; i < strings_.size(); ++i) {
            const QString& s = strings_[i];
            // The 3-byte string header and at least one character stay together.
            if (record.size() + 3 + (s.isEmpty() ? 0 : 2) > xls::kMaxRecordData) flush();
            if (i % perBucket == 0) {
                const qsizetype inRecord = 4 + record.size();
                extsst.U32(quint32(out.size() + inRecord)).U16(quint32(inRecord)).U16(0);
            }
            Bytes h;
            h.U16(quint32(s.size())).U8(1);
            record.append(h.data);
            qsizetype at = 0;
            while (at < s.size()) {
                const qsizetype room = (xls::kMaxRecordData - record.size()) / 2;
                if (room == 0) {
                    flush();
                    record.append(char(1));  // the rest goes on as UTF-16
                    continue;
                }
                const qsizetype n = std::min(room, s.size() - at);
                Bytes chars;
                chars.Utf16(s.mid(at, n));
                record.append(chars.data);
                at += n;
            }
        }
        flush();
        AppendRecord(out, kExtSst, extsst.data);
    }

  private:
    std::vector<QString> strings_;
    QHash<QString, int> index_;
    int references_ = 0;
};

// Everything the sheet substream needs that is decided across the workbook.
struct SheetPlan {
    std::map<std::pair<int, int>, int> xf;
    std::map<std::pair<int, int>, int> sst;
    std::map<int, int> rowTwips;  // rows that need a ROW record
    std::map<int, bool> rowCustom;
    int drawingId = 0;
    int firstPicture = 0;
};

SheetPlan PlanSheet(const XlsSheet& sheet, StyleTable& styles, SharedStrings& strings) {
    SheetPlan plan;
    std::map<int, int> largestFont;
    for (const auto& [pos, cell] : sheet.Cells()) {
        plan.xf[pos] = styles.XfIndex(cell.format);
        if (cell.kind == XlsCell::Kind::Text && !cell.text.isEmpty())
            plan.sst[pos] = strings.Index(cell.text);
        int& f = largestFont[pos.first];
        f = std::max(f, FontTwips(cell.format));
    }
    for (const auto& [row, font] : largestFont) plan.rowTwips[row] = AutoRowTwips(font);
    for (const auto& [row, points] : sheet.RowHeights()) {
        plan.rowTwips[row] = int(std::lround(points * 20));
        plan.rowCustom[row] = true;
    }
    return plan;
}

xls::SheetGeometry Geometry(const XlsSheet& sheet, const SheetPlan& plan) {
    xls::SheetGeometry g;
    g.columnPixels.assign(kXlsMaxCol + 1, kDefaultColumnPixels);
    for (const auto& [col, width] : sheet.ColumnWidths()) g.columnPixels[col] = ColumnPixels(width);
    g.rowPixels.assign(kXlsMaxRow + 1, kDefaultRowTwips / 15.0);
    for (const auto& [row, twips] : plan.rowTwips) g.rowPixels[row] = twips / 15.0;
    return g;
}

QByteArray Bof(int kind) {
    Bytes b;
    b.U16(0x0600).U16(quint32(kind)).U16(0x0DBB).U16(0x07CC).U32(0x000080C9).U32(0x00000206);
    return b.data;
}

void U16Record(QByteArray& out, quint16 type, quint32 value) {
    Bytes b;
    b.U16(value);
    AppendRecord(out, type, b.data);
}

void AppendCells(QByteArray& out, const XlsSheet& sheet, const SheetPlan& plan) {
    // Rows in blocks of 32: the block's ROW records, then its cells.
    std::map<int, std::pair<int, int>> rowSpan;  // row -> first column, last column + 1
    for (const auto& [pos, cell] : sheet.Cells()) {
        auto [it, added] = rowSpan.try_emplace(pos.first, pos.second, pos.second + 1);
        if (!added) it->second.second = pos.second + 1;
    }
    auto cellIt = sheet.Cells().begin();
    auto rowIt = plan.rowTwips.begin();
    while (rowIt != plan.rowTwips.end()) {
        const int blockEnd = (rowIt->first / 32 + 1) * 32;
        for (; rowIt != plan.rowTwips.end() && rowIt->first < blockEnd; ++rowIt) {
            const auto span = rowSpan.find(rowIt->first);
            const bool custom = plan.rowCustom.count(rowIt->first) > 0;
            Bytes b;
            b.U16(quint32(rowIt->first));
            b.U16(span == rowSpan.end() ? 0 : quint32(span->second.first));
            b.U16(span == rowSpan.end() ? 0 : quint32(span->second.second));
            b.U16(quint32(std::clamp(rowIt->second, 0, 0x7FFF))).U16(0).U16(0);
            b.U16(0x0100 | (custom ? 0x0040 : 0)).U16(kDefaultCellXf);
            AppendRecord(out, kRow, b.data);
        }
        for (; cellIt != sheet.Cells().end() && cellIt->first.first < blockEnd; ++cellIt) {
            const auto& [pos, cell] = *cellIt;
            Bytes b;
            b.U16(quint32(pos.first)).U16(quint32(pos.second)).U16(quint32(plan.xf.at(pos)));
            if (cell.kind == XlsCell::Kind::Number) {
                b.F64(cell.number);
                AppendRecord(out, kNumber, b.data);
            } else if (const auto s = plan.sst.find(pos); s != plan.sst.end()) {
                b.U32(quint32(s->second));
                AppendRecord(out, kLabelSst, b.data);
            } else {
                AppendRecord(out, kBlank, b.data);  // empty text or format only
            }
        }
    }
}

QByteArray SheetStream(const XlsSheet& sheet, const SheetPlan& plan, bool first) {
    QByteArray out;
    AppendRecord(out, kBof, Bof(0x0010));
    U16Record(out, kCalcMode, 1);
    U16Record(out, kCalcCount, 100);
    U16Record(out, kRefMode, 1);
    U16Record(out, kIteration, 0);
    AppendRecord(out, kDelta, Bytes().F64(0.001).data);
    U16Record(out, kSaveRecalc, 1);
    U16Record(out, kPrintHeaders, 0);
    U16Record(out, kPrintGridlines, 0);
    U16Record(out, kGridSet, 1);
    AppendRecord(out, kGuts, Bytes().U16(0).U16(0).U16(0).U16(0).data);
    AppendRecord(out, kDefaultRowHeight, Bytes().U16(0).U16(kDefaultRowTwips).data);
    const XlsPageSetup& page = sheet.PageSetup();
    // Bit 8 of WSBOOL makes the SETUP record's fit-to-pages figures count.
    U16Record(out, kWsBool, 0x04C1 | (page.fitToWidth ? 0x0100 : 0));
    if (page != XlsPageSetup{}) {
        Bytes setup;  // A4, 100 %, first page 1, 1 page wide and as many tall as needed
        setup.U16(9).U16(100).U16(1).U16(page.fitToWidth ? 1 : 0).U16(0);
        setup.U16(page.landscape ? 0x0000 : 0x0002);  // orientation valid, portrait bit
        setup.U16(600).U16(600).F64(0.5).F64(0.5).U16(1);
        AppendRecord(out, kSetup, setup.data);
    }
    U16Record(out, kDefColWidth, 8);
    for (const auto& [col, width] : sheet.ColumnWidths()) {
        Bytes b;
        b.U16(quint32(col)).U16(quint32(col)).U16(quint32(StoredColumnWidth(width)));
        b.U16(kDefaultCellXf).U16(0x0002).U16(0);  // width set by the user
        AppendRecord(out, kColInfo, b.data);
    }
    Bytes dim;
    if (sheet.Cells().empty()) {
        dim.U32(0).U32(0).U16(0).U16(0).U16(0);
    } else {
        int firstCol = kXlsMaxCol, lastCol = 0;
        for (const auto& [pos, cell] : sheet.Cells()) {
            firstCol = std::min(firstCol, pos.second);
            lastCol = std::max(lastCol, pos.second);
        }
        dim.U32(quint32(sheet.Cells().begin()->first.first));
        dim.U32(quint32(sheet.Cells().rbegin()->first.first + 1));
        dim.U16(quint32(firstCol)).U16(quint32(lastCol + 1)).U16(0);
    }
    AppendRecord(out, kDimensions, dim.data);
    AppendCells(out, sheet, plan);

    if (!sheet.Pictures().empty()) {
        const xls::SheetGeometry geometry = Geometry(sheet, plan);
        std::vector<xls::PictureAnchor> anchors;
        for (const XlsPicture& p : sheet.Pictures()) anchors.push_back(AnchorPicture(p, geometry));
        xls::AppendSheetDrawing(out, sheet.Pictures(), anchors, plan.drawingId, plan.firstPicture);
    }

    Bytes window;  // grid lines, headers, zeros shown; the first sheet selected and active
    window.U16(0x00B6 | (first ? 0x0600 : 0)).U16(0).U16(0).U16(64).U16(0);
    window.U16(0).U16(0).U32(0);
    AppendRecord(out, kWindow2, window.data);

    const auto& merges = sheet.Merges();
    for (size_t at = 0; at < merges.size(); at += kMaxMergesPerRecord) {
        const size_t n = std::min<size_t>(kMaxMergesPerRecord, merges.size() - at);
        Bytes b;
        b.U16(quint32(n));
        for (size_t i = at; i < at + n; ++i) {
            b.U16(quint32(merges[i].firstRow)).U16(quint32(merges[i].lastRow));
            b.U16(quint32(merges[i].firstCol)).U16(quint32(merges[i].lastCol));
        }
        AppendRecord(out, kMergeCells, b.data);
    }
    AppendRecord(out, kEof, {});
    return out;
}

void AppendGlobalsHead(QByteArray& out, int sheetCount) {
    AppendRecord(out, kBof, Bof(0x0005));
    U16Record(out, kInterfaceHdr, 1200);
    AppendRecord(out, kMms, Bytes().U8(0).U8(0).data);
    AppendRecord(out, kInterfaceEnd, {});
    Bytes access;  // the writing user's name, padded with spaces to 112 bytes
    access.U16(4).U8(0).Raw("Kelm");
    access.data.append(112 - access.data.size(), ' ');
    AppendRecord(out, kWriteAccess, access.data);
    U16Record(out, kCodePage, 1200);
    U16Record(out, kDsf, 0);
    Bytes tabs;
    for (int i = 0; i < sheetCount; ++i) tabs.U16(quint32(i + 1));
    AppendRecord(out, kTabId, tabs.data);
    U16Record(out, kWindowProtect, 0);
    U16Record(out, kProtect, 0);
    U16Record(out, kPassword, 0);
    Bytes window;
    window.U16(0x0168).U16(0x001E).U16(0x4000).U16(0x2000).U16(0x0038);
    window.U16(0).U16(0).U16(1).U16(0x0258);
    AppendRecord(out, kWindow1, window.data);
    U16Record(out, kBackup, 0);
    U16Record(out, kHideObj, 0);
    U16Record(out, kDateMode, 0);
    U16Record(out, kPrecision, 1);
    U16Record(out, kBookBool, 0);
}

// Rows repeated on every printed page are the built-in name Print_Titles of their sheet,
// a 3-D reference through the workbook's own sheet list (SUPBOOK, EXTERNSHEET).
void AppendPrintTitles(QByteArray& out, const std::deque<XlsSheet>& sheets) {
    std::vector<int> withTitles;
    for (size_t i = 0; i < sheets.size(); ++i)
        if (sheets[i].PageSetup().firstTitleRow >= 0) withTitles.push_back(int(i));
    if (withTitles.empty()) return;
    AppendRecord(out, kSupBook, Bytes().U16(quint32(sheets.size())).U16(0x0401).data);
    Bytes extern_;
    extern_.U16(quint32(withTitles.size()));
    for (int i : withTitles) extern_.U16(0).U16(quint32(i)).U16(quint32(i));
    AppendRecord(out, kExternSheet, extern_.data);
    for (size_t k = 0; k < withTitles.size(); ++k) {
        const XlsPageSetup& page = sheets[size_t(withTitles[k])].PageSetup();
        const int first = std::clamp(page.firstTitleRow, 0, kXlsMaxRow);
        const int last = std::clamp(std::max(page.lastTitleRow, first), 0, kXlsMaxRow);
        Bytes formula;  // tArea3d: sheet reference, rows first..last, every column
        formula.U8(0x3B).U16(quint32(k)).U16(quint32(first)).U16(quint32(last));
        formula.U16(0).U16(quint32(kXlsMaxCol));
        Bytes name;
        name.U16(0x0020).U8(0).U8(1).U16(quint32(formula.data.size())).U16(0);
        name.U16(quint32(withTitles[k] + 1)).U8(0).U8(0).U8(0).U8(0);
        name.U8(0).U8(0x07);  // uncompressed flag byte, then the built-in code
        name.data.append(formula.data);
        AppendRecord(out, kName, name.data);
    }
}

}  // namespace

QByteArray XlsWorkbook::WorkbookStream() const {
    if (sheets_.empty()) {  // a workbook file must hold at least one sheet
        XlsWorkbook withSheet;
        withSheet.AddSheet({});
        return withSheet.WorkbookStream();
    }
    StyleTable styles;
    SharedStrings strings;
    std::vector<SheetPlan> plans;
    std::vector<const XlsPicture*> pictures;
    std::vector<int> pictureCounts;
    for (const XlsSheet& sheet : sheets_) {
        plans.push_back(PlanSheet(sheet, styles, strings));
        if (!sheet.Pictures().empty()) {
            plans.back().drawingId = int(pictureCounts.size()) + 1;
            plans.back().firstPicture = int(pictures.size()) + 1;
            pictureCounts.push_back(int(sheet.Pictures().size()));
            for (const XlsPicture& p : sheet.Pictures()) pictures.push_back(&p);
        }
    }

    QByteArray out;
    AppendGlobalsHead(out, int(sheets_.size()));
    styles.AppendRecords(out);
    std::vector<qsizetype> offsetFields;
    for (const XlsSheet& sheet : sheets_) {
        Bytes b;
        b.U32(0).U8(0).U8(0).ShortString(sheet.Name());  // offset filled in below
        offsetFields.push_back(out.size() + 4);
        AppendRecord(out, kBoundSheet, b.data);
    }
    AppendPrintTitles(out, sheets_);
    if (!pictures.empty())
        xls::AppendSplitRecord(out, kMsoDrawingGroup,
                               xls::DrawingGroupData(pictures, pictureCounts));
    strings.AppendRecords(out);
    AppendRecord(out, kEof, {});

    for (size_t i = 0; i < sheets_.size(); ++i) {
        qToLittleEndian(quint32(out.size()), out.data() + offsetFields[i]);
        out.append(SheetStream(sheets_[i], plans[i], i == 0));
    }
    return out;
}

bool XlsWorkbook::Write(ByteSink& sink, QString* error) const {
    if (WriteCompoundFile(QStringLiteral("Workbook"), WorkbookStream(), sink)) return true;
    if (error) *error = sink.ErrorString();
    return false;
}

}  // namespace kelm
