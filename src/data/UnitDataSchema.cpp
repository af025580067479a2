#include "data/UnitDataSchema.h"

namespace {

struct ColumnDef {
    const char* name;
    const char* type;
    // Set for a column added after the first schema: the value every row of an older
    // file gets when the column is added (and a new row gets when the insert omits it).
    const char* addedDefault = nullptr;
};

const char* const kCounter = "INTEGER PRIMARY KEY AUTOINCREMENT";
const char* const kTextKey = "TEXT PRIMARY KEY";
const char* const kText = "TEXT";
const char* const kNumber = "NUMERIC";
const char* const kInteger = "INTEGER";
const char* const kDate = "TEXT";

// SQLite would keep a text such as "abc" or "" in a number column as it is, and every
// later reader would take it for 0. A number column refuses it instead, so the write
// fails and the stored value stays as it was; infinities are refused as well.
QString ColumnDefinition(const QString& name, const char* type, const char* addedDefault) {
    QString def = name + QLatin1Char(' ') + QString::fromUtf8(type);
    if (addedDefault) def += QStringLiteral(" DEFAULT ") + QString::fromUtf8(addedDefault);
    if (qstrcmp(type, kNumber) == 0 || qstrcmp(type, kInteger) == 0)
        def += QStringLiteral(
                   " CHECK (%1 IS NULL OR (typeof(%1) IN ('integer','real') AND "
                   "abs(%1) <= 1.7976931348623157e308))")
                   .arg(name);
    return def;
}

TSchemaObject Table(const char* name, std::initializer_list<ColumnDef> columns) {
    TSchemaObject t;
    t.name = QString::fromUtf8(name);
    QStringList defs;
    for (const ColumnDef& c : columns) {
        t.columns << QString::fromUtf8(c.name);
        if (c.addedDefault) t.addedColumns << QString::fromUtf8(c.name);
        defs << ColumnDefinition(QString::fromUtf8(c.name), c.type, c.addedDefault);
    }
    t.definitions = defs;
    t.createSql =
        QStringLiteral("CREATE TABLE %1 (%2)").arg(t.name, defs.join(QStringLiteral(", ")));
    return t;
}

// A table that came after the first schema: older files get it when opened.
[[maybe_unused]] TSchemaObject AddedLater(TSchemaObject table) {
    table.addedLater = true;
    return table;
}

TSchemaObject View(const char* name, QStringList columns, const char* select) {
    TSchemaObject v;
    v.name = QString::fromUtf8(name);
    v.columns = std::move(columns);
    v.isView = true;
    v.createSql = QStringLiteral("CREATE VIEW %1 AS %2").arg(v.name, QString::fromUtf8(select));
    return v;
}

// Tables and columns are only ever added, never renamed or dropped, so a file of any
// older release can be brought up to date. A column added later carries its default
// ({"name", kNumber, "0"}); a table added later is pushed as AddedLater(Table(...)).
std::vector<TSchemaObject> BuildSchema() {
    std::vector<TSchemaObject> s;
    s.push_back(Table("FProject", {{"proID", kTextKey},
                                   {"proCode", kText},
                                   {"proName", kText},
                                   {"custName", kText},
                                   {"begDt", kDate},
                                   {"endDt", kDate},
                                   {"bz", kText}}));
    s.push_back(Table("FProWins", {{"winID", kTextKey},
                                   {"proID", kText},
                                   {"winPath", kText},
                                   {"winCode", kText},
                                   {"winCount", kNumber},
                                   {"Width", kNumber},
                                   {"Height", kNumber},
                                   {"Depth", kNumber},
                                   {"Maked", kInteger},
                                   {"custID", kText},
                                   {"custName", kText},
                                   {"FengB", kText}}));
    s.push_back(Table("FProCl", {{"ID", kCounter},
                                 {"proID", kText},
                                 {"winID", kText},
                                 {"gtName", kText},
                                 {"clID", kText},
                                 {"clName", kText},
                                 {"length", kNumber},
                                 {"width", kNumber},
                                 {"thick", kNumber},
                                 {"clCount", kNumber},
                                 {"wl", kText},
                                 {"flag", kText},
                                 {"shape", kText}}));
    s.push_back(Table("FCl", {{"ylID", kCounter},
                              {"cateID", kInteger},
                              {"ylCode", kText},
                              {"ylName", kText},
                              {"length", kNumber},
                              {"width", kNumber},
                              {"houdu", kNumber},
                              {"color", kText},
                              {"bz", kText}}));
    s.push_back(Table("FClCls", {{"cateID", kCounter}, {"cateName", kText}}));
    s.push_back(Table("FCustomers", {{"custID", kCounter},
                                     {"custName", kText},
                                     {"phone", kText},
                                     {"address", kText},
                                     {"pursDate", kDate},
                                     {"bz", kText}}));
    s.push_back(Table("ysdItem", {{"itmID", kCounter}, {"itmName", kText}, {"cateName", kText}}));
    // Added later: the trim margins kept free on each side of a sheet (mm) and the
    // smallest leftover kept as an offcut (length × width, mm); the time the deep search
    // may spend on one material (s).
    s.push_back(Table("FSysSet", {{"cmpName", kText},
                                  {"blade", kNumber},
                                  {"JQD", kInteger},
                                  {"OptT1", kInteger},
                                  {"trimT", kInteger, "0"},
                                  {"trimB", kInteger, "0"},
                                  {"trimL", kInteger, "0"},
                                  {"trimR", kInteger, "0"},
                                  {"minOffL", kNumber, "300"},
                                  {"minOffW", kNumber, "100"},
                                  {"deepSec", kInteger, "10"}}));
    s.push_back(Table("FProFei", {{"JGF", kNumber},
                                  {"AZF", kNumber},
                                  {"JXF", kNumber},
                                  {"SDF", kNumber},
                                  {"YSF", kNumber},
                                  {"GLF", kNumber},
                                  {"QTF", kNumber}}));
    s.push_back(Table(
        "FPKBZ", {{"pkID", kCounter}, {"minVal", kNumber}, {"maxVal", kNumber}, {"kwstr", kText}}));
    s.push_back(Table("FProBCCut", {{"pyID", kCounter},
                                    {"proID", kText},
                                    {"bcID", kInteger},
                                    {"uli", kNumber},
                                    {"cutC", kInteger},
                                    {"cutFA", kText}}));
    s.push_back(Table(
        "TkWins", {{"tkID", kCounter}, {"TkPath", kText}, {"TkName", kText}, {"cateID", kText}}));
    s.push_back(Table("FCpCls", {{"KSID", kCounter}, {"KSName", kText}, {"parID", kInteger}}));

    // Every panel row appears even when its material or cabinet entry is gone; the
    // material key then falls back on the panel's own clID.
    s.push_back(View("vProCls",
                     {"ID", "proID", "custID", "custName", "gtName", "clName", "color", "FengB",
                      "length", "width", "houdu", "clCount", "proCode"},
                     "SELECT p.ID AS ID, p.proID AS proID, w.custID AS custID, "
                     "w.custName AS custName, p.gtName AS gtName, p.clName AS clName, "
                     "c.color AS color, w.FengB AS FengB, p.length AS length, "
                     "p.width AS width, c.houdu AS houdu, p.clCount AS clCount, "
                     "j.proCode AS proCode "
                     "FROM FProCl p LEFT JOIN FProWins w ON w.winID = p.winID "
                     "LEFT JOIN FCl c ON c.ylID = p.clID "
                     "LEFT JOIN FProject j ON j.proID = p.proID"));
    s.push_back(View("vProCl",
                     {"ID", "proID", "winID", "ylID", "ylName", "Color", "clName", "length",
                      "width", "thick", "flag", "clCount", "shape", "wl"},
                     "SELECT p.ID AS ID, p.proID AS proID, p.winID AS winID, "
                     "ifnull(c.ylID, p.clID) AS ylID, c.ylName AS ylName, c.color AS Color, "
                     "p.clName AS clName, p.length AS length, p.width AS width, "
                     "p.thick AS thick, p.flag AS flag, p.clCount AS clCount, "
                     "p.shape AS shape, p.wl AS wl "
                     "FROM FProCl p LEFT JOIN FCl c ON c.ylID = p.clID"));
    // Only materials that exist can be laid out, so panels of a missing material are
    // left out here.
    s.push_back(View("vProYC", {"proID", "ylID", "ylName", "length", "width", "houdu"},
                     "SELECT p.proID AS proID, c.ylID AS ylID, c.ylName AS ylName, "
                     "c.length AS length, c.width AS width, c.houdu AS houdu "
                     "FROM FProCl p JOIN FCl c ON c.ylID = p.clID"));
    return s;
}

}  // namespace

const std::vector<TSchemaObject>& KelmSchema() {
    static const std::vector<TSchemaObject> schema = BuildSchema();
    return schema;
}

const std::vector<TSchemaAddition>& KelmSchemaAdditions() {
    static const std::vector<TSchemaAddition> additions = [] {
        std::vector<TSchemaAddition> list;
        for (const TSchemaObject& o : KelmSchema()) {
            if (o.isView) continue;
            // A table added later is created whole; columns added to it later still are
            // listed, for files made while the table was younger.
            if (o.addedLater) list.push_back({o.name, QString(), o.createSql});
            // A column is added with the very definition a new file gets, default included.
            for (const QString& column : o.addedColumns) {
                const qsizetype i = o.columns.indexOf(column);
                list.push_back({o.name, column,
                                QStringLiteral("ALTER TABLE %1 ADD COLUMN %2")
                                    .arg(o.name, o.definitions.value(i))});
            }
        }
        return list;
    }();
    return additions;
}
