#pragma once
// FXmlSave: writes a combination of cabinets (FCabs) as the cabinet document, the one
// persistent form of a design. The document is a single line of XML built by string
// concatenation in a fixed order; it is stored scrambled under kCabinetDocumentKey.
// Storing it with the order position's panel list or in the cabinet library is done
// by the savers in their own source files, on top of BuildXml.

#include "cabinet/UCabs.h"

#include <QString>

// Scrambling key of stored cabinet documents.
inline const QString kCabinetDocumentKey = QStringLiteral("qorvt");

class FXmlSave {
public:
    // The plain document text of the combination. Text values are written as they
    // are, except that & < > " and tab / line breaks are written as XML references
    // (so any name reads back unchanged) and other control characters, which XML
    // cannot carry, are left out.
    static QString BuildXml(const FCabs& _cbs);
    // The stored form: BuildXml scrambled under kCabinetDocumentKey.
    static QString BuildStoredXml(const FCabs& _cbs);

private:
    static void AppendCabinet(QString& out, const FCabinet& cab);
};
