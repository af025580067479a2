#include "spreadsheet/XlsBitmap.h"

#include <QtEndian>
#include <array>

namespace kelm {

namespace {

quint32 ReadU32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint16 ReadU16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}

bool Fail(QString* error, const QString& text) {
    if (error) *error = QStringLiteral("not a usable bitmap: ") + text;
    return false;
}

void AppendBigEndian(QByteArray& out, quint32 v) {
    char b[4];
    qToBigEndian(v, b);
    out.append(b, 4);
}

void AppendChunk(QByteArray& out, const char* type, const QByteArray& data) {
    AppendBigEndian(out, quint32(data.size()));
    QByteArray typed(type, 4);
    typed.append(data);
    out.append(typed);
    AppendBigEndian(out, PngCrc32(typed));
}

}  // namespace

quint32 PngCrc32(const QByteArray& data) {
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (char ch : data) c = table[(c ^ quint8(ch)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

bool BmpToPng(const QByteArray& bmp, QByteArray& png, int& width, int& height, QString* error) {
    if (bmp.size() < 54 || bmp[0] != 'B' || bmp[1] != 'M')
        return Fail(error, QStringLiteral("no BMP file header"));
    const quint32 pixelOffset = ReadU32(bmp, 10);
    const quint32 headerSize = ReadU32(bmp, 14);
    if (headerSize < 40 || 14 + qsizetype(headerSize) > bmp.size())
        return Fail(error, QStringLiteral("unsupported bitmap header"));
    const qint32 w = qint32(ReadU32(bmp, 18));
    const qint32 h = qint32(ReadU32(bmp, 22));
    const int bits = ReadU16(bmp, 28);
    const quint32 compression = ReadU32(bmp, 30);
    const bool topDown = h < 0;
    const qint64 rows = topDown ? -qint64(h) : h;
    if (w <= 0 || rows <= 0 || w > 20000 || rows > 20000)
        return Fail(error, QStringLiteral("size %1 x %2").arg(w).arg(h));
    const bool bitFields32 = bits == 32 && compression == 3;
    if (compression != 0 && !bitFields32)
        return Fail(error, QStringLiteral("compressed bitmaps are not supported"));
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return Fail(error, QStringLiteral("%1 bits per pixel").arg(bits));

    std::array<quint32, 256> palette{};
    if (bits <= 8) {
        quint32 used = ReadU32(bmp, 46);
        if (used == 0 || used > (1u << bits)) used = 1u << bits;
        const qsizetype at = 14 + headerSize;
        if (at + qsizetype(used) * 4 > bmp.size())
            return Fail(error, QStringLiteral("palette cut short"));
        for (quint32 i = 0; i < used; ++i) palette[i] = ReadU32(bmp, at + i * 4);
    }
    const qint64 stride = ((qint64(w) * bits + 31) / 32) * 4;
    if (qint64(pixelOffset) + stride * rows > bmp.size())
        return Fail(error, QStringLiteral("pixel data cut short"));

    // PNG rows: a filter byte (0, none) followed by red, green, blue per pixel.
    QByteArray raw;
    raw.reserve((1 + 3 * qsizetype(w)) * rows);
    for (qint64 y = 0; y < rows; ++y) {
        const qint64 fileRow = topDown ? y : rows - 1 - y;
        const uchar* src =
            reinterpret_cast<const uchar*>(bmp.constData()) + pixelOffset + fileRow * stride;
        raw.append('\0');
        for (qint32 x = 0; x < w; ++x) {
            uchar r, g, b;
            if (bits >= 24) {
                const uchar* p = src + x * (bits / 8);
                b = p[0];
                g = p[1];
                r = p[2];
            } else {
                const int perByte = 8 / bits;
                const int shift = (perByte - 1 - x % perByte) * bits;
                const int index = (src[x / perByte] >> shift) & ((1 << bits) - 1);
                b = uchar(palette[index]);
                g = uchar(palette[index] >> 8);
                r = uchar(palette[index] >> 16);
            }
            raw.append(char(r));
            raw.append(char(g));
            raw.append(char(b));
        }
    }

    QByteArray header;
    AppendBigEndian(header, quint32(w));
    AppendBigEndian(header, quint32(rows));
    header.append(char(8));  // bits per channel
    header.append(char(2));  // colour type: RGB
    header.append(3, '\0');  // deflate, adaptive filtering, no interlace
    png = QByteArray("\x89PNG\r\n\x1a\n", 8);
    AppendChunk(png, "IHDR", header);
    // qCompress gives a 4-byte length followed by a complete zlib stream.
    AppendChunk(png, "IDAT", qCompress(raw, 9).mid(4));
    AppendChunk(png, "IEND", {});
    width = w;
    height = int(rows);
    return true;
}

}  // namespace kelm
