// CSV reading for kelm-cut. Positions in messages are 1-based: line in the file, column
// = field number in the row.

#include "tools/CutListCsv.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cmath>
#include <map>
#include <vector>

#include "common/NumberFormat.h"

namespace {

constexpr double kMaxSize = 1000000.0;  // mm; larger sizes are typing errors
constexpr long long kMaxCount = 99999999;

struct CsvField {
    QString text;
    int line = 0;
    int column = 0;
};
using CsvRow = std::vector<CsvField>;

QString Where(const QString& file, int line, int column = 0) {
    QString w = file + ":" + QString::number(line);
    if (column > 0) w += ":" + QString::number(column);
    return w + ": ";
}

// zh: messages in Chinese (the offcut lists, which the workshop keeps by hand).
std::vector<CsvRow> ParseCsv(const QString& path, const QString& shown, bool zh = false) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        const QString why =
            file.error() == QFileDevice::NoError ? QString(zh ? "是文件夹" : "a folder") : file.errorString();
        throw CutInputError(zh ? shown + QStringLiteral("：无法读取文件（%1）").arg(why)
                               : shown + ": cannot read the file (" + why + ")");
    }
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        throw CutInputError(shown + (zh ? QStringLiteral("：文件不是UTF-8文本")
                                        : QStringLiteral(": the file is not UTF-8 text")));
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);

    std::vector<CsvRow> rows;
    CsvRow row;
    QString field;
    bool inQuotes = false, quoted = false;
    int line = 1, fieldLine = 1;
    auto endField = [&] {
        row.push_back(CsvField{quoted ? field : field.trimmed(), fieldLine,
                               static_cast<int>(row.size()) + 1});
        field.clear();
        quoted = false;
        fieldLine = line;
    };
    auto endRow = [&] {
        endField();
        const bool blank = row.size() == 1 && row[0].text.isEmpty();
        if (!blank) rows.push_back(std::move(row));
        row.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                if (c == '\n') ++line;
                field += c;
            }
            continue;
        }
        if (c == '"' && field.trimmed().isEmpty() && !quoted) {
            inQuotes = quoted = true;
            field.clear();
        } else if (c == ',') {
            endField();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            endRow();
            ++line;
            fieldLine = line;
        } else if (quoted) {
            throw CutInputError(Where(shown, line, static_cast<int>(row.size()) + 1) +
                                (zh ? QStringLiteral("字段的右引号后面还有文字")
                                    : QStringLiteral("text after the closing quote of a field")));
        } else {
            field += c;
        }
    }
    if (inQuotes)
        throw CutInputError(Where(shown, fieldLine, static_cast<int>(row.size()) + 1) +
                            (zh ? QStringLiteral("引号括起的字段没有结束")
                                : QStringLiteral("a quoted field is not closed")));
    if (!field.isEmpty() || quoted || !row.empty()) endRow();
    return rows;
}

// Columns of a list and where each was found in the header.
class Table {
  public:
    Table(const QString& path, const QStringList& required, const QStringList& optional) {
        shown_ = path;
        rows_ = ParseCsv(path, shown_);
        if (rows_.empty())
            throw CutInputError(Where(shown_, 1) + "the file is empty; a header line is needed");
        for (const CsvField& f : rows_[0]) {
            const QString name = f.text.trimmed().toLower();
            if (!required.contains(name) && !optional.contains(name))
                throw CutInputError(Where(shown_, f.line, f.column) + "unknown column \"" + f.text +
                                    "\" (expected " + (required + optional).join(",") + ")");
            if (index_.count(name))
                throw CutInputError(Where(shown_, f.line, f.column) + "column \"" + name +
                                    "\" appears twice");
            index_[name] = f.column - 1;
        }
        for (const QString& name : required)
            if (!index_.count(name))
                throw CutInputError(Where(shown_, 1) + "missing column \"" + name + "\"");
        if (rows_.size() < 2) throw CutInputError(Where(shown_, 2) + "no rows after the header");
        for (size_t r = 1; r < rows_.size(); ++r)
            if (rows_[r].size() > rows_[0].size()) {
                const CsvField& extra = rows_[r][rows_[0].size()];
                throw CutInputError(Where(shown_, extra.line, extra.column) +
                                    "more fields than the header has");
            }
    }
    size_t Rows() const { return rows_.size() - 1; }
    bool Has(const QString& column) const { return index_.count(column) > 0; }

    // The field of a data row (1-based), empty when the row is short.
    CsvField Field(size_t row, const QString& column) const {
        const CsvRow& r = rows_[row];
        const int i = index_.at(column);
        if (i < static_cast<int>(r.size())) return r[i];
        return CsvField{QString(), r.empty() ? 0 : r[0].line, i + 1};
    }
    bool Empty(size_t row, const QString& column) const {
        return !Has(column) || Field(row, column).text.trimmed().isEmpty();
    }

    double Number(size_t row, const QString& column, bool positive) const {
        const CsvField f = Field(row, column);
        double v = 0;
        if (f.text.trimmed().isEmpty())
            throw CutInputError(Where(shown_, f.line, f.column) + column + " is empty");
        if (!kelm::ParseNumber(f.text, v))
            throw CutInputError(Where(shown_, f.line, f.column) + column + " \"" + f.text +
                                "\" is not a number");
        if (positive && v <= 0)
            throw CutInputError(Where(shown_, f.line, f.column) + column +
                                " must be above zero, not " + f.text.trimmed());
        if (!positive && v < 0)
            throw CutInputError(Where(shown_, f.line, f.column) + column +
                                " must not be below zero");
        if (v > kMaxSize && (column == "length" || column == "width"))
            throw CutInputError(Where(shown_, f.line, f.column) + column + " " + f.text.trimmed() +
                                " is too large (at most 1000000 mm)");
        return v;
    }

    long long Integer(size_t row, const QString& column, long long min, long long max) const {
        const CsvField f = Field(row, column);
        double v = 0;
        if (f.text.trimmed().isEmpty())
            throw CutInputError(Where(shown_, f.line, f.column) + column + " is empty");
        if (!kelm::ParseNumber(f.text, v) || v != std::floor(v))
            throw CutInputError(Where(shown_, f.line, f.column) + column + " \"" + f.text +
                                "\" is not a whole number");
        if (v < min || v > max)
            throw CutInputError(Where(shown_, f.line, f.column) + column + " " + f.text.trimmed() +
                                (min == 1 && v < min ? QString(" must be above zero")
                                                     : " must lie between " + QString::number(min) +
                                                           " and " + QString::number(max)));
        return static_cast<long long>(v);
    }

    QString Text(size_t row, const QString& column) const { return Field(row, column).text; }

  private:
    QString shown_;
    std::vector<CsvRow> rows_;
    std::map<QString, int> index_;
};

// A field written back into CSV: quoted when it holds a comma, quote or line break.
QString CsvQuoted(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')) &&
        text.trimmed() == text)
        return text;
    QString q = text;
    q.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

}  // namespace

TD2ROffcutArr ReadOffcutsCsv(const QString& path) {
    const std::vector<CsvRow> rows = ParseCsv(path, path, true);
    const QStringList columns{"name", "length", "width", "count"};
    if (rows.empty())
        throw CutInputError(Where(path, 1) +
                            QStringLiteral("文件是空的，第一行应是标题 name,length,width,count"));
    std::map<QString, int> index;
    for (const CsvField& f : rows[0]) {
        const QString name = f.text.trimmed().toLower();
        if (!columns.contains(name))
            throw CutInputError(Where(path, f.line, f.column) +
                                QStringLiteral("未知的列“%1”（应为 name,length,width,count）").arg(f.text));
        if (index.count(name))
            throw CutInputError(Where(path, f.line, f.column) + QStringLiteral("列“%1”出现两次").arg(name));
        index[name] = f.column - 1;
    }
    for (const QString& name : columns)
        if (!index.count(name))
            throw CutInputError(Where(path, 1) + QStringLiteral("缺少列“%1”").arg(name));

    TD2ROffcutArr offcuts;
    std::map<QString, int> seen;  // name → line
    for (size_t r = 1; r < rows.size(); ++r) {
        const CsvRow& row = rows[r];
        const int line = row.empty() ? 0 : row[0].line;
        if (row.size() > rows[0].size())
            throw CutInputError(Where(path, row[rows[0].size()].line, row[rows[0].size()].column) +
                                QStringLiteral("字段比标题行多"));
        auto field = [&](const QString& column) {
            const int i = index.at(column);
            if (i < static_cast<int>(row.size())) return row[i];
            return CsvField{QString(), line, i + 1};
        };
        auto size = [&](const QString& column, const QString& caption) {
            const CsvField f = field(column);
            double v = 0;
            if (f.text.trimmed().isEmpty())
                throw CutInputError(Where(path, f.line, f.column) + caption + QStringLiteral("是空的"));
            if (!kelm::ParseNumber(f.text, v) || !std::isfinite(v))
                throw CutInputError(Where(path, f.line, f.column) +
                                    QStringLiteral("%1“%2”不是有效的数字").arg(caption, f.text));
            if (v <= 0 || v > kMaxSize)
                throw CutInputError(Where(path, f.line, f.column) +
                                    QStringLiteral("%1必须大于0且不超过1000000毫米，不能是%2")
                                        .arg(caption, f.text.trimmed()));
            return v;
        };
        TD2ROffcut o;
        const CsvField nameField = field("name");
        o.ID = nameField.text.trimmed();
        if (o.ID.isEmpty())
            throw CutInputError(Where(path, nameField.line, nameField.column) +
                                QStringLiteral("余料名称是空的，每块余料都要有名称（标签上的编号）"));
        if (seen.count(o.ID))
            throw CutInputError(Where(path, nameField.line, nameField.column) +
                                QStringLiteral("余料名称“%1”与第%2行重复").arg(o.ID).arg(seen[o.ID]));
        seen[o.ID] = nameField.line;
        o.Length = size("length", QStringLiteral("长度"));
        o.Width = size("width", QStringLiteral("宽度"));
        const CsvField c = field("count");
        double v = 0;
        if (!kelm::ParseNumber(c.text, v) || v != std::floor(v) || v < 1 || v > kMaxCount)
            throw CutInputError(Where(path, c.line, c.column) +
                                QStringLiteral("数量“%1”必须是1到%2之间的整数").arg(c.text).arg(kMaxCount));
        o.Count = static_cast<int32_t>(v);
        offcuts.push_back(o);
    }
    return offcuts;
}

QString OffcutsCsvText(const TD2ROffcutArr& offcuts) {
    QString out = QStringLiteral("name,length,width,count\n");
    for (const TD2ROffcut& o : offcuts)
        out += CsvQuoted(o.ID) + QLatin1Char(',') + kelm::FormatGeneral(o.Length) + QLatin1Char(',') +
               kelm::FormatGeneral(o.Width) + QLatin1Char(',') + QString::number(o.Count) +
               QLatin1Char('\n');
    return out;
}

TD2RRawArr ReadSheetsCsv(const QString& path) {
    const Table t(path, {"name", "length", "width"}, {"count", "price", "prio"});
    TD2RRawArr raws;
    for (size_t r = 1; r <= t.Rows(); ++r) {
        TD2RRaw raw;
        raw.XH = static_cast<int32_t>(r);
        raw.Name = t.Text(r, "name");
        raw.Length = t.Number(r, "length", true);
        raw.Width = t.Number(r, "width", true);
        raw.Count = t.Empty(r, "count") ? 99999999
                                        : static_cast<int32_t>(t.Integer(r, "count", 1, kMaxCount));
        raw.Price = t.Empty(r, "price") ? 1.0 : t.Number(r, "price", false);
        raw.Prio =
            t.Empty(r, "prio") ? 0 : static_cast<int32_t>(t.Integer(r, "prio", -1000000, 1000000));
        raw.DbID = QString::number(raw.XH);
        raws.push_back(raw);
    }
    return raws;
}

TD2REleArr ReadPartsCsv(const QString& path) {
    const Table t(path, {"name", "length", "width", "count"}, {"rotation"});
    TD2REleArr eles;
    for (size_t r = 1; r <= t.Rows(); ++r) {
        TD2REle e;
        e.XH = static_cast<int32_t>(r);
        e.Name = t.Text(r, "name");
        e.Length = t.Number(r, "length", true);
        e.Width = t.Number(r, "width", true);
        e.Count = static_cast<int32_t>(t.Integer(r, "count", 1, kMaxCount));
        e.Rotation =
            t.Empty(r, "rotation") ? 1 : static_cast<int32_t>(t.Integer(r, "rotation", 0, 1));
        eles.push_back(e);
    }
    return eles;
}

double ParseOptionNumber(const QString& option, const QString& text, double min) {
    double v = 0;
    if (!kelm::ParseNumber(text, v))
        throw CutInputError("option " + option + ": \"" + text + "\" is not a number");
    if (v < min)
        throw CutInputError("option " + option + ": " + text + " is below " +
                            kelm::FormatGeneral(min));
    return v;
}

long long ParseOptionInt(const QString& option, const QString& text, long long min, long long max) {
    double v = 0;
    if (!kelm::ParseNumber(text, v) || v != std::floor(v))
        throw CutInputError("option " + option + ": \"" + text + "\" is not a whole number");
    if (v < min || v > max)
        throw CutInputError("option " + option + ": " + text + " must lie between " +
                            QString::number(min) + " and " + QString::number(max));
    return static_cast<long long>(v);
}
