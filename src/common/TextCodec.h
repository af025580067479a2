#pragma once
// Conversion between Unicode text and the Chinese national encoding used by stored
// documents. GB18030 writes the very same bytes as GBK for every GBK character and
// can also hold every other character, so nothing is lost on the way.

#include <QByteArray>
#include <QString>

namespace kelm {

// Unicode -> GB18030 bytes (GBK-identical for GBK characters).
QByteArray EncodeGbk(const QString& text);

// GB18030/GBK bytes -> Unicode. Throws std::runtime_error on an invalid sequence.
QString DecodeGbk(const QByteArray& bytes);

}  // namespace kelm
