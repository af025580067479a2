// Export of an order's stored cutting layout as the cutting layout report.
#include <QStringList>
#include <algorithm>
#include <exception>

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

bool ExportCutReport(const QString& path, const QString& proID) {
    QStringList layoutKeys;
    {
        auto query =
            OpenQuery(QStringLiteral("SELECT pyID,uli,cutC,cutFA FROM FProBcCut WHERE proID='") +
                      proID + QStringLiteral("'"));
        while (query->isActive() && query->next())
            layoutKeys << FieldText(*query, QStringLiteral("pyID"));
    }
    if (layoutKeys.isEmpty()) return false;

    const int dpi = ReportDpi();
    kelm::XlsWorkbook book;
    QString written;
    int number = 1;
    for (const QString& pyID : layoutKeys) {
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
        if (!AddCutReportSheet(book, eles, prm, schame, dpi, true, &error)) return Fail(error);
        // The workbook grows by one sheet per stored layout and is saved after each, so
        // files already written stay when a later one fails.
        const QString file = CutReportFileName(path, number++);
        if (!book.Save(file, &error)) return Fail(error);
        written = file;
    }
    ShowInfo(kReportSavedAs + written);
    return true;
}
