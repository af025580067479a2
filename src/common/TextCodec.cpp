#include "common/TextCodec.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace kelm {
namespace {

// Four-byte codes for the private-use characters the C library cannot convert. The
// first eighteen are GB18030-2022's own codes for them. The last six (U+E816–E818,
// U+E831, U+E83B, U+E855) keep their two-byte GBK codes in that standard, but the C
// library reads and writes those two bytes as the ideographs U+20087, U+20089,
// U+200CC, U+215D7, U+2298F and U+241FE, which stored documents therefore already
// hold; the private-use characters take the four-byte codes of those ideographs
// instead, which the library accepts when reading but never writes.
struct PrivateUseCode {
    char16_t unicode;
    unsigned char bytes[4];
};

constexpr PrivateUseCode kPrivateUse[] = {
    {0xE78D, {0x84, 0x31, 0x82, 0x36}}, {0xE78E, {0x84, 0x31, 0x82, 0x38}},
    {0xE78F, {0x84, 0x31, 0x82, 0x37}}, {0xE790, {0x84, 0x31, 0x82, 0x39}},
    {0xE791, {0x84, 0x31, 0x83, 0x30}}, {0xE792, {0x84, 0x31, 0x83, 0x31}},
    {0xE793, {0x84, 0x31, 0x83, 0x32}}, {0xE794, {0x84, 0x31, 0x83, 0x33}},
    {0xE795, {0x84, 0x31, 0x83, 0x34}}, {0xE796, {0x84, 0x31, 0x83, 0x35}},
    {0xE81E, {0x82, 0x35, 0x90, 0x37}}, {0xE826, {0x82, 0x35, 0x90, 0x38}},
    {0xE82B, {0x82, 0x35, 0x90, 0x39}}, {0xE82C, {0x82, 0x35, 0x91, 0x30}},
    {0xE832, {0x82, 0x35, 0x91, 0x31}}, {0xE843, {0x82, 0x35, 0x91, 0x32}},
    {0xE854, {0x82, 0x35, 0x91, 0x33}}, {0xE864, {0x82, 0x35, 0x91, 0x34}},
    {0xE816, {0x95, 0x32, 0x90, 0x31}}, {0xE817, {0x95, 0x32, 0x90, 0x33}},
    {0xE818, {0x95, 0x32, 0x97, 0x30}}, {0xE831, {0x95, 0x36, 0xB9, 0x37}},
    {0xE83B, {0x96, 0x30, 0xBA, 0x35}}, {0xE855, {0x96, 0x35, 0xB6, 0x30}},
};

constexpr char16_t kFirstPrivateUse = 0xE78D;
constexpr char16_t kLastPrivateUse = 0xE864;

const PrivateUseCode* CodeOfCharacter(char16_t c) {
    if (c < kFirstPrivateUse || c > kLastPrivateUse) return nullptr;
    for (const PrivateUseCode& p : kPrivateUse)
        if (p.unicode == c) return &p;
    return nullptr;
}

const PrivateUseCode* CodeOfBytes(const char* at) {
    for (const PrivateUseCode& p : kPrivateUse)
        if (std::memcmp(at, p.bytes, 4) == 0) return &p;
    return nullptr;
}

QByteArray Convert(const char* to, const char* from, const QByteArray& in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("text conversion ") + from + " -> " + to +
                                 " is not available");
    QByteArray out;
    out.resize(in.size() * 4 + 16);
    char* src = const_cast<char*>(in.constData());
    size_t srcLeft = static_cast<size_t>(in.size());
    char* dst = out.data();
    size_t dstLeft = static_cast<size_t>(out.size());
    const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    const int err = errno;
    iconv_close(cd);
    if (r == static_cast<size_t>(-1))
        throw std::runtime_error(std::string("invalid text for ") + from + " -> " + to +
                                 " conversion at byte " +
                                 std::to_string(src - in.constData()) +
                                 (err == EINVAL ? " (incomplete sequence)" : ""));
    out.resize(out.size() - static_cast<qsizetype>(dstLeft));
    return out;
}

QString DecodeStrictly(const QByteArray& bytes) {
    return QString::fromUtf8(Convert("UTF-8", "GB18030", bytes));
}

QString DecodeSkippingBadBytes(const QByteArray& bytes) {
    iconv_t cd = iconv_open("UTF-8", "GB18030");
    if (cd == reinterpret_cast<iconv_t>(-1)) return DecodeStrictly(bytes);
    QByteArray utf8;
    char* src = const_cast<char*>(bytes.constData());
    size_t srcLeft = static_cast<size_t>(bytes.size());
    char buf[4096];
    while (srcLeft > 0) {
        char* dst = buf;
        size_t dstLeft = sizeof buf;
        const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        const int err = errno;
        utf8.append(buf, static_cast<qsizetype>(dst - buf));
        if (r != static_cast<size_t>(-1)) break;
        if (err == E2BIG) continue;
        // EILSEQ or EINVAL (a sequence cut off at the end): skip one byte.
        utf8.append("\xEF\xBF\xBD");
        ++src;
        --srcLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return QString::fromUtf8(utf8);
}

// Splits the bytes at the codes of kPrivateUse: the runs between them go through
// `decodeRun`, the codes become their characters. Characters are one byte below 0x80,
// four bytes when the second byte is a digit, two bytes otherwise.
template <typename DecodeRun>
QString DecodeWithPrivateUse(const QByteArray& bytes, DecodeRun decodeRun) {
    const char* data = bytes.constData();
    const qsizetype n = bytes.size();
    QString out;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(data[i]);
        // 0x80 and 0xFF never start a character; a damaged text moves on by one byte.
        if (b < 0x81 || b == 0xFF) {
            ++i;
            continue;
        }
        if (i + 1 < n && data[i + 1] >= '0' && data[i + 1] <= '9') {
            if (i + 3 < n) {
                if (const PrivateUseCode* p = CodeOfBytes(data + i)) {
                    if (i > start) out += decodeRun(bytes.mid(start, i - start));
                    out += QChar(p->unicode);
                    start = i + 4;
                }
            }
            i += 4;
            continue;
        }
        i += 2;
    }
    if (start == 0) return decodeRun(bytes);
    if (start < n) out += decodeRun(bytes.mid(start));
    return out;
}

}  // namespace

QByteArray EncodeGbk(const QString& text) {
    QByteArray out;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const PrivateUseCode* p = CodeOfCharacter(text[i].unicode());
        if (!p) continue;
        if (i > start) out += Convert("GB18030", "UTF-8", text.mid(start, i - start).toUtf8());
        out.append(reinterpret_cast<const char*>(p->bytes), 4);
        start = i + 1;
    }
    if (start == 0) return Convert("GB18030", "UTF-8", text.toUtf8());
    if (start < text.size()) out += Convert("GB18030", "UTF-8", text.mid(start).toUtf8());
    return out;
}

QString DecodeGbk(const QByteArray& bytes) { return DecodeWithPrivateUse(bytes, DecodeStrictly); }

QString DecodeGbkLeniently(const QByteArray& bytes) {
    return DecodeWithPrivateUse(bytes, DecodeSkippingBadBytes);
}

}  // namespace kelm
