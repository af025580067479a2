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
