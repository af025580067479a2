// Export of an order's stored cutting layout as the cutting layout report.
#include <QStringList>
#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

#include "data/UnitData.h"
#include "documents/UnitFileOpt.h"
#include "reports/UReports.h"
#include "spreadsheet/XlsWorkbook.h"

QString CutReportFileName(const QString& chosenPath, int number) {
    const int slash = std::max(chosenPath.lastIndexOf('/'), chosenPath.lastIndexOf('\\'));
    const int dot = chosenPath.indexOf('.', slash + 1);
    const QString base = dot < 0 ? chosenPath : chosenPath.left(dot);
    return base + QStringLiteral("_") + QString::number(number) + QStringLiteral(".xls");
}

namespace {

bool Fail(const QString& reason) {
    ShowInfo(kCutReportFailed + QStringLiteral("\n") + reason);
    return false;
}

}  // namespace

QString MaterialLabel(const QString& ylID) {
    auto query = OpenQuery(QStringLiteral("SELECT ylName,houdu FROM FCl WHERE ylID=") +
                           QString::number(ylID.toLongLong()));
    if (query->isActive() && query->next()) {
        const QString name = FieldText(*query, QStringLiteral("ylName")).trimmed();
        const QString thick = FieldText(*query, QStringLiteral("houdu")).trimmed();
        QString label = name;
        if (!thick.isEmpty())
            label += (label.isEmpty() ? QString() : QStringLiteral(" ")) + thick + QStringLiteral("mm");
        if (!label.isEmpty()) return label;
    }
    return QStringLiteral("原材") + ylID;
}

bool ExportCutReport(const QString& path, const QString& proID) {
    // One stored layout per material of the order; the materials come in the order of
    // their keys, as the materials window lists them.
    std::vector<std::pair<QString, QString>> layouts;  // pyID, bcID
    {
        auto query = OpenQuery(
            QStringLiteral("SELECT pyID,bcID,uli,cutC,cutFA FROM FProBcCut WHERE proID='") + proID +
            QStringLiteral("' ORDER BY bcID,pyID"));
        while (query->isActive() && query->next())
            layouts.emplace_back(FieldText(*query, QStringLiteral("pyID")),
                                 FieldText(*query, QStringLiteral("bcID")));
    }
    if (layouts.empty()) return false;

    const int dpi = ReportDpi();
    kelm::XlsWorkbook book;
    for (const auto& [pyID, bcID] : layouts) {
        TD2RRawArr raws;
        TD2REleArr eles;
        TD2RSchame schame;
        TD2RPrm prm;
        QString error;
        try {
            if (!TD2File().OpenFile(pyID, raws, eles, schame, prm))
                return Fail(QStringLiteral("the stored layout %1 is gone").arg(pyID));
        } catch (const std::exception& e) {
            return Fail(QString::fromUtf8(e.what()));
        }
        if (!AddCutReportSheet(book, eles, prm, schame, dpi, true, &error, MaterialLabel(bcID)))
            return Fail(error);
    }
    // Saved once, after every material's sheet was made: a failure on the way leaves no
    // half report behind.
    QString error;
    if (!book.Save(path, &error)) return Fail(error);
    ShowInfo(kReportSavedAs + path);
    return true;
}
