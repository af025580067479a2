#include "documents/UnitFileOpt.h"

#include <stdexcept>

#include "common/NumberFormat.h"
#include "data/UnitData.h"
#include "documents/UnitEncrypTo.h"
#include "optimizer/UnitD2RectDoc.h"

namespace {

// Order keys are generated digits; a stray quote must still not break the statement.
QString Quoted(const QString& key) {
    QString k = key;
    k.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + k + QLatin1Char('\'');
}

}  // namespace

TD2File::TD2File(TsysData* data) : p_data(data) {}

TsysData* TD2File::Data() const { return p_data ? p_data : sysData(); }

double TD2File::Utilisation(const TD2RSchame& schame) {
    double eleArea = 0;
    double rawArea = 0;
    for (const TD2RGene& g : schame) {
        eleArea += g.EleArea / 1000000.0 * g.RawCount;
        rawArea += g.RawLength * g.RawWidth / 1000000.0 * g.RawCount;
    }
    if (rawArea == 0) return 0;
    // Taken through its two-decimal text so the stored and compared figure is
    // exactly the one shown.
    double uli = 0;
    kelm::ParseNumber(kelm::FormatPattern(100 * eleArea / rawArea, QStringLiteral("0.00")), uli);
    return uli;
}

bool TD2File::SaveToFile(const TD2RRawArr& raws, const TD2REleArr& eles, const TD2RPrm& prm,
                         const TD2RSchame& schame, const QString& proID, const QString& bcID) {
    TsysData* data = Data();
    const QString document = LayoutDocumentText(raws, eles, prm, schame);
    const double uli = Utilisation(schame);
    const int cutC = static_cast<int>(schame.size());

    // Each raw material of the order keeps its own layout: the batch optimises every
    // material separately and the workshop needs the sheets of all of them. The look-up
    // and the write are one transaction that other seats' layout saves wait for, so two
    // seats optimising the same material at once leave one row, the better layout.
    if (!data->OpenOrTell() || !data->Transaction(QStringLiteral("layouts"))) return false;
    const bool written = [&] {
        auto stored =
            data->OpenQuery(QStringLiteral("SELECT uli,cutC FROM FProBCCut WHERE proID=") +
                            Quoted(proID) + QStringLiteral(" AND bcID=") + Quoted(bcID));
        // Without knowing whether the material has a layout, writing could leave it two.
        if (!stored->isActive()) return false;

        QString sql;
        if (!stored->next()) {
            sql = QStringLiteral(
                "INSERT INTO FProBCCut(proID,bcID,uli,cutC,cutFA) "
                "VALUES(:proID,:bcID,:uli,:cutC,:cutFA)");
        } else {
            const double storedUli = FieldFloat(*stored, QStringLiteral("uli"));
            const int storedCutC = FieldInt(*stored, QStringLiteral("cutC"));
            const bool better = storedUli < uli || (storedUli == uli && storedCutC > cutC);
            if (!better) return false;
            sql = QStringLiteral(
                "UPDATE FProBCCut SET uli=:uli,cutC=:cutC,cutFA=:cutFA "
                "WHERE proID=:proID AND bcID=:bcID");
        }
        stored.reset();

        data->SetCommonSQL(sql);
        data->SetCommonParam(QStringLiteral("proID"), proID);
        data->SetCommonParam(QStringLiteral("bcID"), bcID);
        data->SetCommonParam(QStringLiteral("uli"), kelm::FormatGeneral(uli));
        data->SetCommonParam(QStringLiteral("cutC"), kelm::FormatGeneral(cutC));
        data->SetCommonParam(QStringLiteral("cutFA"),
                             TEncrypXML::EncrypStr(document, kScrambleKey));
        return data->ExecCommon();
    }();
    if (written && data->Commit()) return true;
    data->Rollback();
    return false;
}

bool TD2File::OpenFile(const QString& pyID, TD2RRawArr& raws, TD2REleArr& eles, TD2RSchame& schame,
                       TD2RPrm& prm) {
    if (!IsCounterKey(pyID))
        throw std::runtime_error(
            QStringLiteral("cutting layout key \"%1\" is not a number").arg(pyID).toStdString());
    auto q = Data()->OpenQuery(QStringLiteral("SELECT cutFA FROM FProBCCut WHERE pyID=") + pyID);
    if (!q->next()) return false;
    const QString scrambled = FieldText(*q, QStringLiteral("cutFA"));
    q.reset();

    QString document;
    try {
        document = TEncrypXML::UncrypStr(scrambled, kScrambleKey);
    } catch (const std::exception& e) {
        throw std::runtime_error(QStringLiteral("cutting layout %1 does not unscramble: %2")
                                     .arg(pyID, QString::fromUtf8(e.what()))
                                     .toStdString());
    }
    try {
        ReadLayoutDocument(document, raws, eles, schame, prm);
    } catch (const std::exception& e) {
        throw std::runtime_error(QStringLiteral("cutting layout %1: %2")
                                     .arg(pyID, QString::fromUtf8(e.what()))
                                     .toStdString());
    }
    return true;
}
