#include "output/OrderOutputs.h"

#include "optimizer/GrainMarks.h"

#include <QSqlQuery>
#include <QVariant>
#include <map>
#include <set>
#include <stdexcept>

#include "common/NumberFormat.h"
#include "data/PartBarcode.h"
#include "data/UnitData.h"
#include "documents/ULayoutParts.h"
#include "documents/UnitFileOpt.h"
#include "output/PartLabels.h"

namespace kelm::output {

namespace {

std::unique_ptr<QSqlQuery> Select(const QString& sql, const std::vector<std::pair<QString, QString>>& params) {
    auto q = std::make_unique<QSqlQuery>(sysData()->Database());
    q->prepare(sql);
    for (const auto& [name, value] : params) q->bindValue(name, value);
    q->exec();
    return q;
}

OrderInfo ReadOrder(const QSqlQuery& q) {
    return OrderInfo{FieldText(q, "proID"), FieldText(q, "proCode"), FieldText(q, "proName"),
                     FieldText(q, "custName")};
}

// A panel row as its labels need it.
struct PanelRow {
    QString id, gtName, clName, winCode, fengB, wl;
    double length = 0, width = 0, thick = 0;
    int count = 0;
    int used = 0;
};

QString Size3(double l, double w, double t) {
    QString s = FormatGeneral(l) + QStringLiteral("×") + FormatGeneral(w);
    if (t > 0) s += QStringLiteral("×") + FormatGeneral(t);
    return s;
}

}  // namespace

std::optional<OrderInfo> FindOrder(const QString& key) {
    auto q = Select("SELECT proID,proCode,proName,custName FROM FProject WHERE proID=:id OR proCode=:code "
                    "ORDER BY proID",
                    {{":id", key}, {":code", key}});
    if (!q->next()) return std::nullopt;
    return ReadOrder(*q);
}

std::vector<OrderInfo> ListOrders() {
    std::vector<OrderInfo> out;
    auto q = Select("SELECT proID,proCode,proName,custName FROM FProject ORDER BY proID DESC", {});
    while (q->next()) out.push_back(ReadOrder(*q));
    return out;
}

std::vector<StoredLayout> LoadStoredLayouts(const QString& proID, QStringList* problems) {
    std::vector<StoredLayout> out;
    auto q = Select("SELECT b.pyID AS pyID, b.bcID AS bcID, c.ylName AS ylName FROM FProBCCut b "
                    "LEFT JOIN FCl c ON c.ylID = b.bcID WHERE b.proID=:p ORDER BY b.pyID",
                    {{":p", proID}});
    while (q->next()) {
        StoredLayout s;
        s.pyID = FieldText(*q, "pyID");
        s.bcID = FieldText(*q, "bcID");
        s.ylName = FieldText(*q, "ylName");
        try {
            if (!TD2File().OpenFile(s.pyID, s.raws, s.eles, s.schame, s.prm)) continue;
        } catch (const std::exception& e) {
            if (problems)
                *problems << QStringLiteral("材料%1的排样方案无法读取：%2").arg(s.ylName, QString::fromUtf8(e.what()));
            continue;
        }
        out.push_back(std::move(s));
    }
    return out;
}

std::vector<LayoutPage> OrderPages(const OrderInfo& order, const std::vector<StoredLayout>& layouts) {
    // Layouts the order's panels no longer match are marked on every page.
    std::set<QString> stale;
    for (const TStaleLayout& s : FindStaleLayouts(order.proID))
        if (!s.pyID.isEmpty()) stale.insert(s.pyID);
    std::vector<LayoutPage> all;
    for (const StoredLayout& s : layouts) {
        std::vector<LayoutPage> pages = MakeLayoutPages(s.schame, s.prm.BladeWidth, order.Title(), s.ylName, s.prm.Bin,
                                                         FixedGrainTypes(s.eles));
        for (LayoutPage& p : pages) {
            p.Outdated = stale.count(s.pyID) > 0;
            all.push_back(std::move(p));
        }
    }
    for (size_t i = 0; i < all.size(); ++i) {
        all[i].Number = static_cast<int>(i) + 1;
        all[i].Total = static_cast<int>(all.size());
    }
    return all;
}

TablePages PanelListTable(const OrderInfo& order) {
    TablePages t;
    t.Title = QStringLiteral("板件清单  订单：") + order.Title();
    t.Headings = QStringList{QStringLiteral("条码"),     QStringLiteral("客户名称"), QStringLiteral("板件名称"),
                             QStringLiteral("所属柜体"), QStringLiteral("板件颜色"), QStringLiteral("封边颜色"),
                             QStringLiteral("长度"),     QStringLiteral("宽度"),     QStringLiteral("厚度"),
                             QStringLiteral("数量"),     QStringLiteral("批次号")};
    auto q = Select("SELECT ID,custName,gtName,clName,color,FengB,length,width,houdu,clCount,proCode FROM vProCls "
                    "WHERE proID=:p ORDER BY custID ASC, ID ASC",
                    {{":p", order.proID}});
    const char* columns[] = {"ID",     "custName", "clName", "gtName",  "color",  "FengB",
                             "length", "width",    "houdu",  "clCount", "proCode"};
    const std::map<QString, QString> identifiers = kelm::OrderPartBarcodes(order.proID);
    while (q->next()) {
        QStringList row;
        for (const char* c : columns) row << FieldText(*q, QString::fromLatin1(c));
        const auto id = identifiers.find(row[0]);
        if (id != identifiers.end()) row[0] = id->second;  // the part identifier, as on the labels
        t.Rows.push_back(row);
    }
    return t;
}

QString PanelRowBarcode(const QString& proID, const QString& rowID) { return proID + "-" + rowID; }

std::vector<Label> OrderLabels(const OrderInfo& order, const std::vector<StoredLayout>& layouts,
                               const std::vector<LayoutPage>& pages) {
    // Panel rows per material, in row order.
    std::map<QString, std::vector<PanelRow>> rows;
    auto q = Select("SELECT p.ID AS ID, p.clID AS clID, p.gtName AS gtName, p.clName AS clName, p.length AS length, "
                    "p.width AS width, p.thick AS thick, p.clCount AS clCount, p.wl AS wl, w.winCode AS winCode, "
                    "w.FengB AS FengB FROM FProCl p LEFT JOIN FProWins w ON w.winID = p.winID "
                    "WHERE p.proID=:p ORDER BY p.ID",
                    {{":p", order.proID}});
    while (q->next()) {
        PanelRow r{FieldText(*q, "ID"),      FieldText(*q, "gtName"), FieldText(*q, "clName"),
                   FieldText(*q, "winCode"), FieldText(*q, "FengB"),  FieldText(*q, "wl"),
                   FieldFloat(*q, "length"), FieldFloat(*q, "width"), FieldFloat(*q, "thick"),
                   FieldInt(*q, "clCount")};
        rows[FieldText(*q, "clID")].push_back(r);
    }
    // Which stored layout each page came from.
    std::vector<const StoredLayout*> source;
    for (const StoredLayout& s : layouts)
        for (size_t i = 0; i < s.schame.size(); ++i) source.push_back(&s);

    // Each row's identifier as the panel list prints it in its "条码" column.
    const std::map<QString, QString> identifiers = kelm::OrderPartBarcodes(order.proID);
    std::vector<Label> labels;
    std::map<QString, int> pieceOfRow;
    for (const SawPiece& piece : PiecesInSawOrder(pages)) {
        const LayoutPage& page = pages[static_cast<size_t>(piece.Page)];
        const StoredLayout* s = static_cast<size_t>(piece.Page) < source.size() ? source[piece.Page] : nullptr;
        const TRectEle& e = page.Layout.EleList[static_cast<size_t>(piece.Element)];
        const TD2REle* type = nullptr;
        if (s && e.XH >= 1 && static_cast<size_t>(e.XH) <= s->eles.size()) type = &s->eles[e.XH - 1];
        // The part type entered the optimizer turned for grain code "2".
        PanelRow* row = nullptr;
        if (s && type) {
            for (PanelRow& r : rows[s->bcID]) {
                const bool turned = r.wl == "2";
                const double l = turned ? r.width : r.length;
                const double w = turned ? r.length : r.width;
                if (r.clName == type->Name && l == type->Length && w == type->Width && r.used < r.count) {
                    row = &r;
                    break;
                }
            }
        }
        Label l;
        l.Heading = order.Title();
        if (row) {
            ++row->used;
            const int n = ++pieceOfRow[row->id];
            if (!row->winCode.isEmpty()) l.Heading += QStringLiteral("  位置 ") + row->winCode;
            l.Lines << (row->gtName.isEmpty() ? row->clName : row->gtName + QStringLiteral(" · ") + row->clName);
            l.Lines << QStringLiteral("成品：") + Size3(row->length, row->width, row->thick);
            l.Lines << QStringLiteral("开料：") + Size3(e.Length, e.Width, row->thick);
            if (!row->fengB.isEmpty()) l.Lines << QStringLiteral("封边：") + row->fengB;
            const auto id = identifiers.find(row->id);
            l.Barcode = (id != identifiers.end() ? id->second : PanelRowBarcode(order.proID, row->id)) + "-" +
                        QString::number(n);
            EdgeSketch sketch;
            sketch.Length = row->length;
            sketch.Width = row->width;
            // Grain code "0" (and any unknown one) keeps the panel from turning: its grain matters.
            sketch.Grain = row->wl.trimmed() != "1" && row->wl.trimmed() != "2";
            l.Sketch = sketch;
        } else {
            // The panels changed after the layout was stored: the piece is labelled from
            // the layout alone.
            const int n = ++pieceOfRow[QStringLiteral("#%1-%2").arg(s ? s->bcID : QString()).arg(e.XH)];
            l.Lines << e.Name;
            l.Lines << QStringLiteral("开料：") + Size3(e.Length, e.Width, 0);
            l.Barcode = order.proID + "-" + (s ? s->bcID : QString()) + "-" + QString::number(e.XH) + "-" +
                        QString::number(n);
        }
        l.Lines << QStringLiteral("材料：") + page.Material;
        l.Lines << QStringLiteral("图%1 第%2/%3张").arg(page.Number).arg(piece.Sheet).arg(page.Layout.RawCount);
        labels.push_back(std::move(l));
    }
    return labels;
}

}  // namespace kelm::output
