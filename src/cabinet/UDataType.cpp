#include "cabinet/UDataType.h"

#include <array>

#include "data/UnitData.h"

namespace {

const std::array<QString, 3> kShapeNames = {QStringLiteral("R"), QStringLiteral("A4L"),
                                            QStringLiteral("A4R")};

// MenBan is deliberately absent: documents never name it.
const std::array<QString, 8> kBCTypeNames = {
    QStringLiteral("BeiBan"),  QStringLiteral("CeBanLeft"), QStringLiteral("CeBanRight"),
    QStringLiteral("DingBan"), QStringLiteral("CengBan"),   QStringLiteral("GeBan"),
    QStringLiteral("ShuBan"),  QStringLiteral("DiBan")};

}  // namespace

QString FShapeName(FShape shape) {
    const auto i = static_cast<std::size_t>(shape);
    return i < kShapeNames.size() ? kShapeNames[i] : QString();
}

QString FBCTypeName(FBCType type) {
    const auto i = static_cast<std::size_t>(type);
    return i < kBCTypeNames.size() ? kBCTypeNames[i] : QString();
}

std::optional<FShape> FShapeFromName(const QString& name) {
    for (std::size_t i = 0; i < kShapeNames.size(); ++i)
        if (kShapeNames[i] == name) return static_cast<FShape>(i);
    return std::nullopt;
}

std::optional<FBCType> FBCTypeFromName(const QString& name) {
    for (std::size_t i = 0; i < kBCTypeNames.size(); ++i)
        if (kBCTypeNames[i] == name) return static_cast<FBCType>(i);
    return std::nullopt;
}

TSysSet GetSysSet() {
    TSysSet set;
    auto query = sysData()->OpenQuery(
        QStringLiteral("SELECT cmpName,blade,JQD,OptT1,trimT,trimB,trimL,trimR,minOffL,minOffW,"
                       "deepSec FROM FSysSet"));
    if (query && query->isActive() && query->next()) {
        set.cmpName = FieldText(*query, QStringLiteral("cmpName"));
        set.Blade = FieldFloat(*query, QStringLiteral("blade"));
        set.JQD = FieldInt(*query, QStringLiteral("JQD"));
        set.OptT1 = FieldInt(*query, QStringLiteral("OptT1"));
        set.TrimTop = FieldInt(*query, QStringLiteral("trimT"));
        set.TrimBottom = FieldInt(*query, QStringLiteral("trimB"));
        set.TrimLeft = FieldInt(*query, QStringLiteral("trimL"));
        set.TrimRight = FieldInt(*query, QStringLiteral("trimR"));
        set.MinOffcutLength = FieldFloat(*query, QStringLiteral("minOffL"));
        set.MinOffcutWidth = FieldFloat(*query, QStringLiteral("minOffW"));
        set.DeepSeconds = FieldInt(*query, QStringLiteral("deepSec"));
    }
    return set;
}

FCl GetCl(const QString& ylID) {
    FCl cl;
    cl.DbID = QStringLiteral("-1");
    cl.Thick = 18;
    // The identifier is spliced bare into the statement, so only a whole number may
    // go in; anything else cannot name a material.
    const QString id = ylID.trimmed();
    if (!IsCounterKey(id)) return cl;
    auto query = sysData()->OpenQuery(QStringLiteral("SELECT * FROM FCl WHERE ylID=") + id);
    if (query && query->isActive() && query->next()) {
        cl.DbID = FieldText(*query, QStringLiteral("ylID"));
        cl.Thick = FieldFloat(*query, QStringLiteral("houdu"));
    }
    return cl;
}
