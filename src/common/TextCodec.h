#pragma once
// Conversion between Unicode text and the Chinese national encoding used by stored
// documents. GB18030 writes the very same bytes as GBK for every GBK character and
// can also hold every other character, so nothing is lost on the way.
//
// The C library's converter has no code for 24 private-use characters (U+E78D–E796,
// U+E816–E818, U+E81E, U+E826, U+E82B, U+E82C, U+E831, U+E832, U+E83B, U+E843,
// U+E854, U+E855, U+E864), which older GBK tables used for glyphs Unicode later
// encoded. They are written with four-byte GB18030 codes of our own table and read
// back from them, so every character of a name survives a save.

#include <QByteArray>
#include <QString>

namespace kelm {

// Unicode -> GB18030 bytes (GBK-identical for GBK characters). Never throws for a
// text: every Unicode character has bytes.
QByteArray EncodeGbk(const QString& text);

// GB18030/GBK bytes -> Unicode. Throws std::runtime_error on an invalid sequence.
QString DecodeGbk(const QByteArray& bytes);

// GB18030/GBK bytes -> Unicode for bytes that may be damaged: each byte that does not
// start a valid character becomes U+FFFD and the rest of the text still comes through.
QString DecodeGbkLeniently(const QByteArray& bytes);

}  // namespace kelm
