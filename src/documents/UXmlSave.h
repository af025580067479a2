#pragma once
// FXmlSave: writes a combination of cabinets (FCabs) as the cabinet document, the one
// persistent form of a design. The document is a single line of XML built by string
// concatenation in a fixed order; it is stored scrambled under kCabinetDocumentKey.
// Storing it with the order position's panel list or in the cabinet library is done
// by the savers in their own source files, on top of BuildXml.

#include <QString>

#include "cabinet/UCabs.h"

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

    // --- storing (UXmlSaveDb.cpp) ---------------------------------------------------
    // Each runs in one transaction: when any statement fails (an error, or no row where
    // one is needed) everything is rolled back, the result is false and the order keeps
    // exactly what it had. A drilling rule that a panel needs and whose position list
    // holds something that is not a number fails the same way, before anything is
    // written; damaged rules no panel needs do not matter.

    // Stores _cabs as a new position of order _proID: one FProWins row with the
    // scrambled document and winID "yymmddhhmmss" + _ID, and its FProCl panel rows.
    // When another position (saved from another seat in the same second) holds that
    // winID already, a number is appended until the winID is free.
    // _winCount (how many of this position) is copied unchanged into every row. When
    // _winID is given it receives the new winID on success.
    static bool SaveToDB(const QString& _proID, const QString& _winCode, const QString& _winCount,
                         const QString& _custID, const QString& _custName, const QString& _fengB,
                         const FCabs& _cabs, int _ID, QString* _winID = nullptr);
    // Replaces the document of the stored position _winID (code, count, customer and
    // edge banding too) and regenerates its panel rows. A position that had no panel
    // rows is edited like any other; false when no position _winID exists.
    static bool EditSize(const QString& _proID, const QString& _winID, const QString& _winCode,
                         const QString& _winCount, const QString& _custID, const QString& _custName,
                         const QString& _fengB, const FCabs& _cabs,
                         const QString* _openedVersion = nullptr);
    // With _openedVersion (PositionVersion when the position was opened): when the stored
    // position has been changed since, from another seat, the user is asked whether to
    // overwrite that change; Cancel saves nothing and gives false.
    // The stored position's document, code, count, customer and edge banding as one
    // text, to tell later whether someone changed it; "" when there is no such position.
    static QString PositionVersion(const QString& _winID);
    // Stores _cabinet in the cabinet library under category _tkID with name _tkName and
    // shows "保存成功！" when the entry was inserted; a failed insert is silent. True
    // when the entry was inserted.
    static bool SaveToTuKu(const QString& _tkID, const QString& _tkName, const FCabs& _cabinet);

  private:
    static void AppendCabinet(QString& out, const FCabinet& cab);
};
