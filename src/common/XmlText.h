#pragma once
// Text values written into attributes of the XML documents Kelm stores.

#include <QString>

namespace kelm {

// Attribute text inside double quotes: & < > " (and ' when asked) become the standard
// references; tab, line feed and carriage return become character references, since a
// reader would otherwise turn them into spaces. Characters XML cannot hold at all
// (other control characters, U+FFFE, U+FFFF, lone surrogates) are dropped. A text
// without any of these comes back unchanged.
QString XmlAttributeText(const QString& text, bool escapeApostrophe);

}  // namespace kelm

namespace kelm {

// The DOM parser slows down with the square of the nesting depth, so a damaged text
// nested thousands deep would hang a reader. Readers call this before parsing: it
// returns the line of the first element nested deeper than maxDepth, or 0 when there
// is none (a text that is not well-formed is left to the parser to report).
qint64 LineNestedDeeperThan(const QString& text, int maxDepth);

}  // namespace kelm
