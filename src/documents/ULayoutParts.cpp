#include "documents/ULayoutParts.h"

#include <QSqlQuery>
#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <map>
#include <tuple>

#include "common/NumberFormat.h"
#include "data/UnitData.h"
#include "documents/UnitFileOpt.h"

namespace {

// Order keys are generated digits; a stray quote must still not break the statement.
QString Quoted(const QString& key) {
    QString k = key;
    k.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + k + QLatin1Char('\'');
}

bool NumberOf(const QString& text, double& value) {
    return kelm::ParseNumber(text.trimmed(), value) && std::isfinite(value);
}

bool CountOf(const QString& text, int32_t& count) {
    double value = 0;
    if (!NumberOf(text, value) || value != std::floor(value) || value < 0 ||
        value > std::numeric_limits<int32_t>::max())
        return false;
    count = static_cast<int32_t>(value);
    return true;
}

// Sizes are compared as the document writes them (general number form), so a size
// that went through a stored document compares equal to the one read today.
struct PartKey {
    QString length;
    QString width;
    int32_t rotation;
    bool operator==(const PartKey& o) const {
        return length == o.length && width == o.width && rotation == o.rotation;
    }
    bool operator<(const PartKey& o) const {
        return std::tie(length, width, rotation) < std::tie(o.length, o.width, o.rotation);
    }
};

using PartCounts = std::map<PartKey, int64_t>;

struct NamedParts {
    PartCounts stored;
    PartCounts current;
};

QString Describe(const PartCounts& parts) {
    QStringList items;
    for (const auto& [key, count] : parts)
        items << key.length + QStringLiteral("×") + key.width + QStringLiteral("×") +
                     kelm::FormatInt(count) + QStringLiteral("块");
    return items.join(QStringLiteral("、"));
}

PartCounts WithoutRotation(const PartCounts& parts) {
    PartCounts plain;
    for (const auto& [key, count] : parts) plain[{key.length, key.width, 0}] += count;
    return plain;
}

QString MaterialName(TsysData* data, const QString& ylID) {
    if (IsCounterKey(ylID)) {
        auto q = data->OpenQuery(QStringLiteral("SELECT ylName FROM FCl WHERE ylID=") + ylID);
        if (q->isActive() && q->next()) return FieldText(*q, QStringLiteral("ylName"));
    }
    return QStringLiteral("材料 ") + ylID;
}

// How many change lines a material shows before the rest are only counted.
constexpr int kShownChanges = 8;

}  // namespace

void SetPartGrain(TD2REle& ele, double length, double width, const QString& wl) {
    const QString code = wl.trimmed();
    if (code == QStringLiteral("2")) {
        ele.Length = width;
        ele.Width = length;
    } else {
        ele.Length = length;
        ele.Width = width;
    }
    ele.Rotation = code == QStringLiteral("0") ? 1 : 0;
}

std::vector<TPanelGroup> ReadMaterialPanels(const QString& proID, const QString& ylID,
                                            TsysData* data) {
    std::vector<TPanelGroup> groups;
    // The material key goes into the statement bare, so it must be a counter key.
    if (!IsCounterKey(ylID.trimmed())) return groups;
    if (!data) data = sysData();
    auto query = data->OpenQuery(
        QStringLiteral("SELECT clName,length,width,SUM(clCount) AS Shuliang,wl FROM vProCl "
                       "WHERE proID=") +
        Quoted(proID) + QStringLiteral(" AND ylID=") + ylID.trimmed() +
        QStringLiteral(" GROUP BY clName,length,width,wl"));
    while (query->isActive() && query->next())
        groups.push_back({FieldText(*query, QStringLiteral("clName")),
                          FieldText(*query, QStringLiteral("length")),
                          FieldText(*query, QStringLiteral("width")),
                          FieldText(*query, QStringLiteral("Shuliang")),
                          FieldText(*query, QStringLiteral("wl"))});
    return groups;
}

bool PartsFromPanels(const std::vector<TPanelGroup>& groups, TD2REleArr& eles,
                     QString* badGroup) {
    eles.clear();
    for (size_t i = 0; i < groups.size(); ++i) {
        const TPanelGroup& g = groups[i];
        TD2REle ele;
        ele.XH = static_cast<int32_t>(i) + 1;
        ele.Name = g.name;
        double length = 0;
        double width = 0;
        if (!CountOf(g.count, ele.Count) || !NumberOf(g.length, length) ||
            !NumberOf(g.width, width)) {
            if (badGroup) *badGroup = g.name;
            eles.clear();
            return false;
        }
        SetPartGrain(ele, length, width, g.wl);
        eles.push_back(ele);
    }
    return true;
}

QStringList CompareLayoutParts(const TD2REleArr& stored, const TD2REleArr& current) {
    // Names in the order they first appear: the stored list, then what is new.
    QStringList names;
    std::map<QString, NamedParts> parts;
    auto add = [&](const TD2REleArr& list, bool isStored) {
        for (const TD2REle& e : list) {
            if (!parts.count(e.Name)) names << e.Name;
            NamedParts& p = parts[e.Name];
            const PartKey key{kelm::FormatGeneral(e.Length), kelm::FormatGeneral(e.Width),
                              e.Rotation == 1 ? 1 : 0};
            (isStored ? p.stored : p.current)[key] += e.Count;
        }
    };
    add(stored, true);
    add(current, false);

    QStringList changes;
    for (const QString& name : names) {
        NamedParts& p = parts[name];
        // A part type listed with no pieces is no part.
        std::erase_if(p.stored, [](const auto& entry) { return entry.second == 0; });
        std::erase_if(p.current, [](const auto& entry) { return entry.second == 0; });
        if (p.stored == p.current) continue;
        if (p.stored.empty()) {
            changes << QStringLiteral("新增：") + name + QStringLiteral(" ") + Describe(p.current);
        } else if (p.current.empty()) {
            changes << QStringLiteral("删除：") + name + QStringLiteral(" ") + Describe(p.stored);
        } else {
            QString line = QStringLiteral("变化：") + name + QStringLiteral(" ") +
                           Describe(p.stored) + QStringLiteral(" → ") + Describe(p.current);
            if (WithoutRotation(p.stored) == WithoutRotation(p.current))
                line += QStringLiteral("（纹理方向）");
            changes << line;
        }
    }
    return changes;
}

std::vector<TStaleLayout> FindStaleLayouts(const QString& proID, TsysData* data) {
    if (!data) data = sysData();
    std::vector<TStaleLayout> stale;
    struct StoredRow {
        QString pyID;
        QString ylID;
    };
    std::vector<StoredRow> rows;
    {
        auto q = data->OpenQuery(QStringLiteral("SELECT pyID,bcID FROM FProBCCut WHERE proID=") +
                                 Quoted(proID) + QStringLiteral(" ORDER BY pyID"));
        while (q->isActive() && q->next())
            rows.push_back({FieldText(*q, QStringLiteral("pyID")),
                            FieldText(*q, QStringLiteral("bcID"))});
    }
    if (rows.empty()) return stale;

    QStringList covered;
    for (const StoredRow& row : rows) {
        covered << row.ylID;
        TD2RRawArr raws;
        TD2REleArr storedParts;
        TD2RSchame schame;
        TD2RPrm prm;
        try {
            if (!TD2File(data).OpenFile(row.pyID, raws, storedParts, schame, prm)) continue;
        } catch (const std::exception&) {
            continue;  // whoever shows the layout reports that it cannot be read
        }
        TD2REleArr currentParts;
        QString bad;
        QStringList changes;
        if (!PartsFromPanels(ReadMaterialPanels(proID, row.ylID, data), currentParts, &bad))
            changes << QStringLiteral("“%1”的尺寸或数量不是有效的数字").arg(bad);
        else
            changes = CompareLayoutParts(storedParts, currentParts);
        if (!changes.isEmpty())
            stale.push_back({row.pyID, row.ylID, MaterialName(data, row.ylID), changes});
    }

    // A material the order uses now that has no layout of its own: its parts would be
    // missing from every cutting list.
    auto q = data->OpenQuery(
        QStringLiteral("SELECT distinct ylID,ylName,houdu FROM vProYC WHERE proID=") + Quoted(proID) +
        QStringLiteral(" ORDER BY houdu"));
    while (q->isActive() && q->next()) {
        const QString ylID = FieldText(*q, QStringLiteral("ylID"));
        if (covered.contains(ylID)) continue;
        stale.push_back({QString(), ylID, FieldText(*q, QStringLiteral("ylName")),
                         {QStringLiteral("新增材料，尚无排料结果")}});
    }
    return stale;
}

QString StaleLayoutsText(const std::vector<TStaleLayout>& stale) {
    QStringList lines;
    for (const TStaleLayout& s : stale) {
        lines << QStringLiteral("排料结果已过期：") + s.materialName;
        const int shown = std::min<int>(kShownChanges, static_cast<int>(s.changes.size()));
        for (int i = 0; i < shown; ++i) lines << QStringLiteral("    ") + s.changes[i];
        if (s.changes.size() > shown)
            lines << QStringLiteral("    ……另有%1项变化").arg(s.changes.size() - shown);
    }
    return lines.join(QLatin1Char('\n'));
}
