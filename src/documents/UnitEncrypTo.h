#pragma once
// Scrambling of the XML documents kept in the database, so they cannot be read or
// edited with a database tool. Not encryption: a keyed, chained byte transformation
// that turns a text into upper-case hexadecimal digits and back.
//
// Keys in use: "qorvt" cabinet documents, "tzrq" hole patterns, "mepkad" cutting
// layouts.

#include <QString>
#include <stdexcept>

// Raised when a scrambled text does not start with a hexadecimal seed.
class EConvertError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class TEncrypXML {
  public:
    // Text -> "00" followed by two upper-case hexadecimal digits per byte of the text's
    // GB18030 form (GBK bytes for every GBK character). The text ends at a zero
    // character. An empty key stands for "RuskyPennant".
    static QString EncrypStr(const QString& text, const QString& key);

    // Scrambled text -> text. Either case of hexadecimal digits is read; a group that
    // is not hexadecimal counts as 0. An empty key stands for "ruskypennant" (so an
    // empty key does not undo an empty key). Throws EConvertError when the first two
    // characters are not hexadecimal.
    static QString UncrypStr(const QString& text, const QString& key);
};
