#include "documents/UOffcutStore.h"

#include <QDate>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <cmath>

#include "common/NumberFormat.h"
#include "data/UnitData.h"
#include "documents/UnitFileOpt.h"

namespace {

// A statement with values bound by name, run on the data module's connection.
class Statement {
  public:
    Statement(TsysData* data, const QString& sql) : q_(data->Database()) { ok_ = q_.prepare(sql); }
    Statement& Bind(const char* name, const QString& value) {
        q_.bindValue(QLatin1Char(':') + QLatin1String(name), value);
        return *this;
    }
    bool Exec() { return ok_ && q_.exec(); }
    QSqlQuery& Query() { return q_; }
    QString Error() const { return q_.lastError().text(); }

  private:
    QSqlQuery q_;
    bool ok_ = false;
};

const char* kRowColumns =
    "SELECT o.ofID AS ofID, o.ofCode AS ofCode, o.ylID AS ylID, c.ylName AS ylName, "
    "o.length AS length, o.width AS width, c.houdu AS houdu, o.proID AS proID, "
    "j.proCode AS proCode, o.pyID AS pyID, o.fpbNo AS fpbNo, o.ofDate AS ofDate, "
    "o.state AS state, o.useProID AS useProID, o.bz AS bz "
    "FROM FYuLiao o LEFT JOIN FCl c ON c.ylID = o.ylID "
    "LEFT JOIN FProject j ON j.proID = o.proID";

TOffcutRow ReadRow(const QSqlQuery& q) {
    TOffcutRow r;
    r.ofID = FieldText(q, QStringLiteral("ofID"));
    r.ofCode = FieldText(q, QStringLiteral("ofCode"));
    r.ylID = FieldText(q, QStringLiteral("ylID"));
    r.ylName = FieldText(q, QStringLiteral("ylName"));
    r.length = FieldFloat(q, QStringLiteral("length"));
    r.width = FieldFloat(q, QStringLiteral("width"));
    r.thick = FieldFloat(q, QStringLiteral("houdu"));
    r.proID = FieldText(q, QStringLiteral("proID"));
    r.proCode = FieldText(q, QStringLiteral("proCode"));
    r.pyID = FieldText(q, QStringLiteral("pyID"));
    r.fpbNo = FieldInt(q, QStringLiteral("fpbNo"));
    r.ofDate = FieldText(q, QStringLiteral("ofDate"));
    r.state = FieldInt(q, QStringLiteral("state"));
    r.useProID = FieldText(q, QStringLiteral("useProID"));
    r.bz = FieldText(q, QStringLiteral("bz"));
    return r;
}

// The stored layouts of an order still to be confirmed.
struct UncutRow {
    QString pyID;
    QString bcID;
};

}  // namespace

TOffcutStore::TOffcutStore(TsysData* data) : p_data(data) {}

TsysData* TOffcutStore::Data() const { return p_data ? p_data : sysData(); }

TD2ROffcutArr TOffcutStore::InStock(const QString& ylID) {
    TD2ROffcutArr out;
    if (!IsCounterKey(ylID.trimmed())) return out;
    // Quietly none when the offcuts cannot be read (a file of an older release opened
    // for reading only has no offcut table): the optimization goes on with new sheets.
    Statement s(Data(), QStringLiteral("SELECT ofCode,length,width FROM FYuLiao WHERE state=0 AND "
                                       "ylID=") +
                            ylID.trimmed() + QStringLiteral(" ORDER BY ofID"));
    if (!s.Exec()) return out;
    QSqlQuery* q = &s.Query();
    while (q->next()) {
        TD2ROffcut o;
        o.ID = FieldText(*q, QStringLiteral("ofCode"));
        o.Length = FieldFloat(*q, QStringLiteral("length"));
        o.Width = FieldFloat(*q, QStringLiteral("width"));
        o.Count = 1;
        // A row edited to no size, or without identifier, cannot be laid out or found again.
        if (o.ID.isEmpty() || !(o.Length > 0) || !(o.Width > 0)) continue;
        out.push_back(o);
    }
    return out;
}

std::vector<TOffcutRow> TOffcutStore::List(const QString& ylID, bool inStockOnly) {
    std::vector<TOffcutRow> out;
    QStringList where;
    if (!ylID.trimmed().isEmpty()) {
        if (!IsCounterKey(ylID.trimmed())) return out;
        where << QStringLiteral("o.ylID=") + ylID.trimmed();
    }
    if (inStockOnly) where << QStringLiteral("o.state=0");
    QString sql = QString::fromUtf8(kRowColumns);
    if (!where.isEmpty()) sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY o.ofID DESC");
    auto q = Data()->OpenQuery(sql);
    while (q->isActive() && q->next()) out.push_back(ReadRow(*q));
    return out;
}

bool TOffcutStore::IsCut(const QString& proID) {
    Statement s(Data(), QStringLiteral("SELECT COUNT(*) FROM FProBCCut WHERE proID=:proID AND cutOK=1"));
    s.Bind("proID", proID);
    return s.Exec() && s.Query().next() && s.Query().value(0).toLongLong() > 0;
}

bool TOffcutStore::HasUncut(const QString& proID) {
    Statement s(Data(), QStringLiteral(
                            "SELECT COUNT(*) FROM FProBCCut WHERE proID=:proID AND "
                            "(cutOK IS NULL OR cutOK<>1)"));
    s.Bind("proID", proID);
    return s.Exec() && s.Query().next() && s.Query().value(0).toLongLong() > 0;
}

bool TOffcutStore::ConfirmCut(const QString& proID, const TBin& min, TCutConfirmation* done,
                              QString* error) {
    TsysData* data = Data();
    TCutConfirmation result;
    QString why;
    auto fail = [&](const QString& reason) {
        why = reason;
        return false;
    };
    if (!data->Open() || data->IsReadOnly()) {
        if (error) *error = QStringLiteral("数据库只能读取，不能确认开料！");
        return false;
    }
    // Confirmations from several seats take turns, so two of them never hand out the same
    // identifier or use up the same offcut.
    if (!data->Transaction(QStringLiteral("offcuts"))) {
        if (error) *error = QStringLiteral("数据库暂时无法写入，请稍后再试！");
        return false;
    }
    // Everything is read and written inside the transaction, so what was checked (the
    // layouts still uncut, the offcuts still in stock) is what is written over.
    const bool ok = [&]() -> bool {
        std::vector<UncutRow> rows;
        {
            Statement s(data, QStringLiteral("SELECT pyID,bcID FROM FProBCCut WHERE proID=:proID AND "
                                             "(cutOK IS NULL OR cutOK<>1) ORDER BY pyID"));
            s.Bind("proID", proID);
            if (!s.Exec()) return fail(QStringLiteral("无法读取订单的开料方案！"));
            while (s.Query().next())
                rows.push_back({FieldText(s.Query(), QStringLiteral("pyID")),
                                FieldText(s.Query(), QStringLiteral("bcID"))});
        }
        if (rows.empty()) return fail(QStringLiteral("该订单没有尚未确认开料的排料结果！"));

        // Identifiers of this confirmation: the clock, then a running number; one already
        // given (a confirmation in the same second) is skipped.
        const QString stem = data->NewTimeID();
        QSet<QString> taken;
        {
            Statement s(data, QStringLiteral("SELECT ofCode FROM FYuLiao WHERE ofCode LIKE :stem"));
            s.Bind("stem", stem + QStringLiteral("-%"));
            if (!s.Exec()) return fail(QStringLiteral("无法读取余料库存！"));
            while (s.Query().next()) taken.insert(s.Query().value(0).toString());
        }
        int next = 0;
        auto newCode = [&] {
            QString code;
            do code = stem + QStringLiteral("-") + QString::number(++next);
            while (taken.contains(code));
            return code;
        };
        const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));

        for (const UncutRow& row : rows) {
            TD2RRawArr raws;
            TD2REleArr eles;
            TD2RSchame schame;
            TD2RPrm prm;
            try {
                if (!TD2File(data).OpenFile(row.pyID, raws, eles, schame, prm))
                    return fail(QStringLiteral("开料方案%1已不存在！").arg(row.pyID));
            } catch (const std::exception&) {
                return fail(QStringLiteral("开料方案%1无法读取，已损坏！").arg(row.pyID));
            }
            for (const auto& [code, count] : UsedOffcuts(schame)) {
                // One row is one piece of board: a layout cut from it twice cannot be.
                Statement s(data, QStringLiteral("UPDATE FYuLiao SET state=1,useProID=:proID "
                                                 "WHERE ofCode=:code AND state=0"));
                s.Bind("proID", proID).Bind("code", code);
                if (!s.Exec()) return fail(QStringLiteral("无法更新余料库存！"));
                if (count != 1 || s.Query().numRowsAffected() != 1)
                    return fail(QStringLiteral("余料%1已不在库存中（已被使用或报废），请重新优化后再确认开料！")
                                    .arg(code));
                ++result.consumed;
            }
            for (const TD2RLeftover& l : KeptLeftovers(schame, min)) {
                for (int32_t k = 0; k < l.Count; ++k) {
                    Statement s(data, QStringLiteral(
                                          "INSERT INTO FYuLiao(ofCode,ylID,length,width,proID,pyID,"
                                          "fpbNo,ofDate,state,useProID,bz) VALUES(:ofCode,:ylID,"
                                          ":length,:width,:proID,:pyID,:fpbNo,:ofDate,0,'','')"));
                    s.Bind("ofCode", newCode())
                        .Bind("ylID", row.bcID)
                        .Bind("length", kelm::FormatGeneral(l.Length))
                        .Bind("width", kelm::FormatGeneral(l.Width))
                        .Bind("proID", proID)
                        .Bind("pyID", row.pyID)
                        .Bind("fpbNo", QString::number(l.Layout + 1))
                        .Bind("ofDate", today);
                    if (!s.Exec() || s.Query().numRowsAffected() != 1)
                        return fail(QStringLiteral("无法保存余料！"));
                    ++result.kept;
                }
            }
            Statement s(data, QStringLiteral("UPDATE FProBCCut SET cutOK=1 WHERE pyID=:pyID AND "
                                             "(cutOK IS NULL OR cutOK<>1)"));
            s.Bind("pyID", row.pyID);
            if (!s.Exec() || s.Query().numRowsAffected() != 1)
                return fail(QStringLiteral("无法标记开料方案为已开料！"));
            ++result.layouts;
        }
        return true;
    }();
    if (!ok) {
        data->Rollback();
        if (error) *error = why + QStringLiteral("未做任何更改。");
        return false;
    }
    if (!data->Commit()) {
        data->Rollback();
        if (error) *error = QStringLiteral("确认开料未能保存，未做任何更改。");
        return false;
    }
    if (done) *done = result;
    return true;
}

bool TOffcutStore::Update(const QString& ofID, double length, double width, const QString& bz) {
    if (!IsCounterKey(ofID) || !std::isfinite(length) || !std::isfinite(width) || length <= 0 ||
        width <= 0)
        return false;
    TsysData* data = Data();
    data->SetCommonSQL(QStringLiteral(
        "UPDATE FYuLiao SET length=:length,width=:width,bz=:bz WHERE ofID=:ofID AND state=0"));
    data->SetCommonParam(QStringLiteral("length"), kelm::FormatGeneral(length));
    data->SetCommonParam(QStringLiteral("width"), kelm::FormatGeneral(width));
    data->SetCommonParam(QStringLiteral("bz"), bz);
    data->SetCommonParam(QStringLiteral("ofID"), ofID);
    return data->ExecCommon();
}

bool TOffcutStore::Scrap(const QString& ofID) {
    if (!IsCounterKey(ofID)) return false;
    TsysData* data = Data();
    data->SetCommonSQL(QStringLiteral("UPDATE FYuLiao SET state=2 WHERE ofID=:ofID AND state=0"));
    data->SetCommonParam(QStringLiteral("ofID"), ofID);
    return data->ExecCommon();
}
