#include "data/PartBarcode.h"

#include "data/UnitData.h"

namespace kelm {

QString PartBarcodeText(const QString& proID, const QString& winID, int partNumber) {
    return proID.trimmed() + QLatin1Char('-') + winID.trimmed() + QLatin1Char('-') +
           QStringLiteral("%1").arg(partNumber, 3, 10, QLatin1Char('0'));
}

std::map<QString, QString> OrderPartBarcodes(const QString& proID) {
    std::map<QString, QString> codes;
    // Rows of a position are written in generation order, so their keys rise with it.
    auto query = OpenQuery(QStringLiteral("SELECT ID,winID FROM FProCl WHERE proID='") + proID +
                           QStringLiteral("' ORDER BY winID,ID"));
    QString winID;
    int number = 0;
    while (query->isActive() && query->next()) {
        const QString w = FieldText(*query, QStringLiteral("winID"));
        number = w == winID ? number + 1 : 1;
        winID = w;
        codes[FieldText(*query, QStringLiteral("ID"))] = PartBarcodeText(proID, w, number);
    }
    return codes;
}

}  // namespace kelm
