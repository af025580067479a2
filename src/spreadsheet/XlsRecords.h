#pragma once
// Little-endian byte building and BIFF8 record framing used by the workbook writer.

#include <QByteArray>
#include <QString>
#include <QtEndian>
#include <algorithm>

namespace kelm::xls {

// Largest payload of one BIFF8 record; longer data goes on in CONTINUE records.
constexpr int kMaxRecordData = 8224;

// Appends little-endian values to a byte array.
class Bytes {
  public:
    Bytes& U8(quint32 v) {
        data.append(char(v & 0xFF));
        return *this;
    }
    Bytes& U16(quint32 v) {
        char b[2];
        qToLittleEndian(quint16(v), b);
        data.append(b, 2);
        return *this;
    }
    Bytes& U32(quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        data.append(b, 4);
        return *this;
    }
    Bytes& F64(double v) {
        char b[8];
        qToLittleEndian(v, b);
        data.append(b, 8);
        return *this;
    }
    Bytes& Raw(const QByteArray& b) {
        data.append(b);
        return *this;
    }
    Bytes& Zeros(int n) {
        data.append(n, '\0');
        return *this;
    }
    // UTF-16LE code units without any length.
    Bytes& Utf16(const QString& s) {
        for (QChar c : s) U16(c.unicode());
        return *this;
    }
    // ShortXLUnicodeString: 1-byte length, flags (1 = UTF-16), characters.
    Bytes& ShortString(const QString& s) {
        U8(quint32(s.size()));
        U8(1);
        return Utf16(s);
    }
    // XLUnicodeString: 2-byte length, flags, characters.
    Bytes& LongString(const QString& s) {
        U16(quint32(s.size()));
        U8(1);
        return Utf16(s);
    }
    QByteArray data;
};

// One record: type, payload length, payload (at most kMaxRecordData bytes).
inline void AppendRecord(QByteArray& out, quint16 type, const QByteArray& payload) {
    Q_ASSERT(payload.size() <= kMaxRecordData);
    Bytes head;
    head.U16(type).U16(quint32(payload.size()));
    out.append(head.data);
    out.append(payload);
}

// A record whose payload may be longer than one record holds: the rest follows in
// CONTINUE records, cut at arbitrary byte positions (as drawing data allows).
inline void AppendSplitRecord(QByteArray& out, quint16 type, const QByteArray& payload) {
    constexpr quint16 kContinue = 0x003C;
    qsizetype at = 0;
    do {
        const qsizetype n = std::min<qsizetype>(kMaxRecordData, payload.size() - at);
        AppendRecord(out, at == 0 ? type : kContinue, payload.mid(at, n));
        at += n;
    } while (at < payload.size());
}

// Office drawing record header: version and instance packed with the type and length.
inline QByteArray ArtHeader(int version, int instance, quint16 type, quint32 length) {
    Bytes b;
    b.U16(quint32(version | (instance << 4))).U16(type).U32(length);
    return b.data;
}

}  // namespace kelm::xls
