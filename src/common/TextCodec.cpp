#include "common/TextCodec.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>
#include <string>

namespace kelm {
namespace {

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

}  // namespace

QByteArray EncodeGbk(const QString& text) {
    return Convert("GB18030", "UTF-8", text.toUtf8());
}

QString DecodeGbk(const QByteArray& bytes) {
    return QString::fromUtf8(Convert("UTF-8", "GB18030", bytes));
}

}  // namespace kelm
