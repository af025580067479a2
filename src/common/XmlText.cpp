#include "common/XmlText.h"

#include <QXmlStreamReader>

namespace kelm {

QString XmlAttributeText(const QString& text, bool escapeApostrophe) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
            case '&':
                out += QLatin1String("&amp;");
                break;
            case '<':
                out += QLatin1String("&lt;");
                break;
            case '>':
                out += QLatin1String("&gt;");
                break;
            case '"':
                out += QLatin1String("&quot;");
                break;
            case '\'':
                if (escapeApostrophe)
                    out += QLatin1String("&apos;");
                else
                    out += c;
                break;
            case '\t':
                out += QLatin1String("&#9;");
                break;
            case '\n':
                out += QLatin1String("&#10;");
                break;
            case '\r':
                out += QLatin1String("&#13;");
                break;
            default:
                if (c.unicode() < 0x20 || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF) break;
                if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                    out += c;
                    out += text[++i];
                } else if (!c.isSurrogate()) {
                    out += c;
                }
        }
    }
    return out;
}

}  // namespace kelm

namespace kelm {

qint64 LineNestedDeeperThan(const QString& text, int maxDepth) {
    QXmlStreamReader reader(text);
    int depth = 0;
    while (!reader.atEnd() && !reader.hasError()) {
        reader.readNext();
        if (reader.isStartElement() && ++depth > maxDepth) return reader.lineNumber();
        if (reader.isEndElement()) --depth;
    }
    return 0;
}

}  // namespace kelm
