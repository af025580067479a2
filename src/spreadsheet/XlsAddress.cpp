#include "spreadsheet/XlsAddress.h"

#include <algorithm>

namespace kelm {

QString XlsColumnName(int col) {
    QString name;
    for (int n = col + 1; n > 0; n = (n - 1) / 26) name.prepend(QChar('A' + (n - 1) % 26));
    return name;
}

QString XlsCellName(int row, int col) { return XlsColumnName(col) + QString::number(row + 1); }

QString XlsRangeName(const XlsRange& range) {
    const QString first = XlsCellName(range.firstRow, range.firstCol);
    if (range.firstRow == range.lastRow && range.firstCol == range.lastCol) return first;
    return first + ':' + XlsCellName(range.lastRow, range.lastCol);
}

namespace {

// One corner such as "B3" or "$B$3".
bool ParseCell(QStringView text, int& row, int& col) {
    qsizetype i = 0;
    if (i < text.size() && text[i] == '$') ++i;
    long long c = 0;
    const qsizetype letters = i;
    while (i < text.size() && text[i].isLetter() && text[i].unicode() < 128) {
        c = c * 26 + (text[i].toUpper().unicode() - 'A' + 1);
        if (c > kXlsMaxCol + 1) return false;
        ++i;
    }
    if (i == letters) return false;
    if (i < text.size() && text[i] == '$') ++i;
    long long r = 0;
    const qsizetype digits = i;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128) {
        r = r * 10 + (text[i].unicode() - '0');
        if (r > kXlsMaxRow + 1) return false;
        ++i;
    }
    if (i == digits || i != text.size() || r < 1) return false;
    row = int(r - 1);
    col = int(c - 1);
    return true;
}

}  // namespace

std::optional<XlsRange> ParseXlsRange(const QString& text) {
    const QStringView all = QStringView(text).trimmed();
    const qsizetype colon = all.indexOf(':');
    int r1 = 0, c1 = 0, r2 = 0, c2 = 0;
    if (colon < 0) {
        if (!ParseCell(all, r1, c1)) return std::nullopt;
        r2 = r1;
        c2 = c1;
    } else if (!ParseCell(all.left(colon), r1, c1) || !ParseCell(all.mid(colon + 1), r2, c2)) {
        return std::nullopt;
    }
    return XlsRange{std::min(r1, r2), std::min(c1, c2), std::max(r1, r2), std::max(c1, c2)};
}

}  // namespace kelm
