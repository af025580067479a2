#include "documents/UnitEncrypTo.h"

#include "common/TextCodec.h"

namespace {

int HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    return -1;
}

// Value of a run of hexadecimal digits; -1 when any character is not one.
int HexValue(QStringView digits) {
    if (digits.isEmpty()) return -1;
    int v = 0;
    for (QChar c : digits) {
        const int d = HexDigit(c);
        if (d < 0) return -1;
        v = v * 16 + d;
    }
    return v;
}

}  // namespace

QString TEncrypXML::EncrypStr(const QString& text, const QString& key) {
    const QString k = key.isEmpty() ? QStringLiteral("RuskyPennant") : key;
    QByteArray bytes = kelm::EncodeGbk(text);
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0) bytes.truncate(zero);

    QString out;
    out.reserve(2 + 2 * bytes.size());
    out += QStringLiteral("00");
    unsigned a = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned b = static_cast<unsigned char>(bytes[i]);
        a = ((a + b) % 255) ^ k[i % k.size()].unicode();
        // Keys of plain letters keep a below 256: always exactly two digits.
        if (a < 256) {
            static const char digits[] = "0123456789ABCDEF";
            out += QLatin1Char(digits[a >> 4]);
            out += QLatin1Char(digits[a & 15]);
        } else {
            out += QString::number(a, 16).toUpper();
        }
    }
    return out;
}

QString TEncrypXML::UncrypStr(const QString& text, const QString& key) {
    const QString k = key.isEmpty() ? QStringLiteral("ruskypennant") : key;
    const int seed = HexValue(QStringView(text).left(2));
    if (seed < 0)
        throw EConvertError(QStringLiteral("'%1' is not a valid hexadecimal value")
                                .arg(text.left(2))
                                .toStdString());

    QByteArray bytes(text.size() / 2, '\0');
    qsizetype stored = 0;
    int a = seed;
    // The first group may be a lone third character; later groups need both digits.
    for (qsizetype pos = 2; pos < text.size() && (pos == 2 || pos + 1 < text.size()); pos += 2) {
        int v = HexValue(QStringView(text).mid(pos, 2));
        if (v < 0) v = 0;
        const int c = v ^ k[stored % k.size()].unicode();
        const int b = c > a ? c - a : c + 255 - a;
        bytes[stored++] = static_cast<char>(b & 0xFF);
        a = v;
    }
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0) bytes.truncate(zero);
    // A damaged scrambled text unscrambles to bytes that need not form valid
    // characters; those show as U+FFFD and the rest still comes through.
    return kelm::DecodeGbkLeniently(bytes);
}
