// Panel list of an order position: row contents and sizes, precision, and storing
// through FXmlSave.SaveToDB / EditSize / SaveToTuKu on a temp database per test,
// including statements that fail half way.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <cmath>

#include "EngineTestSupport.h"
#include "cabinet/CabinetTestUtil.h"
#include "data/PromptRecorder.h"
#include "data/UnitData.h"
#include "documents/UXmlOpen.h"
#include "documents/UXmlSave.h"
#include "documents/UXmlSaveDb.h"
#include "documents/UnitEncrypTo.h"

namespace {

FFengB Banding(double l, double r, double t, double b, double q, double h) {
    FFengB fb;
    fb.L = l;
    fb.R = r;
    fb.T = t;
    fb.B = b;
    fb.Q = q;
    fb.H = h;
    return fb;
}

// Cabinet "A01", 600 x 550 x 720: side boards 532 deep (18 left for the back), top
// (rounded left end), bottom, a back board 564 x 684 banded left and right, two
// drawers (faces 600 x 171 and 600 x 128.25) and two door leaves: 5 + 12 + 2 = 19 rows.
std::unique_ptr<FCabinet> ExampleCabinet(const QString& name = QStringLiteral("A01")) {
    auto cab = std::make_unique<FCabinet>(600, 550, 720, name);
    const FEdge behindBack = MakeEdge(0, 0, 0, 0, 0, 18);
    const FFengB sideBanding = Banding(0, 0, 1, 1, 2, 0);
    cab->AddCeBan(0, FShape::R, behindBack, MakeCl(18, QStringLiteral("左侧板")),
                  QStringLiteral("Left"), sideBanding, QStringLiteral("2"));
    cab->AddCeBan(1, FShape::R, behindBack, MakeCl(18, QStringLiteral("右侧板")),
                  QStringLiteral("Right"), sideBanding, QStringLiteral("2"));
    cab->AddDingBan(2, FShape::A4L, behindBack, MakeCl(18, QStringLiteral("顶板")), FFengB{},
                    QStringLiteral("1"));
    cab->AddDiBan(3, FShape::R, behindBack, MakeCl(18, QStringLiteral("底板")), FFengB{},
                  QStringLiteral("1"));
    cab->AddBackBC(4, FEdge{}, MakeCl(18, QStringLiteral("背板"), QStringLiteral("8")),
                   Banding(1, 1, 0, 0, 0, 0), QStringLiteral("0"));
    const FCl face = MakeCl(16, QString(), QStringLiteral("3"));
    const FCl bottom = MakeCl(5, QString(), QStringLiteral("4"));
    cab->AddChouTi(4, face, bottom, QStringLiteral("抽屉1"), 36, 4, 350, 20, 20, 80);
    cab->AddChouTi(6, face, bottom, QStringLiteral("抽屉2"), 36, 4, 350, 20, 20, 80);
    const FEdge gaps = MakeEdge(2, 1, 2, 2, 0, 0);
    cab->AddDKM(7, gaps, MakeCl(18, QStringLiteral("左门"), QStringLiteral("9")), 2,
                QStringLiteral("1"));
    cab->AddDKM(7, gaps, MakeCl(18, QStringLiteral("右门"), QStringLiteral("9")), 2,
                QStringLiteral("2"));
    return cab;
}

FCabs ExampleCombination() {
    FCabs cbs(600, 550, 720);
    cbs.AddCabinet(0, ExampleCabinet());
    return cbs;
}

struct ExpectedRow {
    const char* clName;
    const char* clID;
    const char* length;
    const char* width;
    const char* thick;
    const char* wl;
    const char* flag;
    bool hasPattern;
};

// The example's rows at precision 0, in the order they are written.
const ExpectedRow kExampleRows[] = {
    {"左侧板", "7", "718.0", "530.0", "18", "2", "R", true},
    {"右侧板", "7", "718.0", "530.0", "18", "2", "R", true},
    {"顶板", "7", "532.0", "564.0", "18", "1", "A4L", true},
    {"底板", "7", "532.0", "564.0", "18", "1", "R", true},
    {"背板", "8", "684.0", "562.0", "18", "0", "R", false},
    {"抽屉1-面板", "3", "171.0", "600.0", "16", "1", "R", false},
    {"抽屉1-前板", "3", "80.0", "528.0", "16", "1", "R", false},
    {"抽屉1-后板", "3", "80.0", "528.0", "16", "1", "R", false},
    {"抽屉1-左侧板", "3", "80.0", "334.0", "16", "1", "R", false},
    {"抽屉1-右侧板", "3", "80.0", "334.0", "16", "1", "R", false},
    {"抽屉1-底板", "4", "538.0", "328.0", "5", "1", "R", false},
    {"抽屉2-面板", "3", "128.3", "600.0", "16", "1", "R", false},
    {"抽屉2-前板", "3", "80.0", "528.0", "16", "1", "R", false},
    {"抽屉2-后板", "3", "80.0", "528.0", "16", "1", "R", false},
    {"抽屉2-左侧板", "3", "80.0", "334.0", "16", "1", "R", false},
    {"抽屉2-右侧板", "3", "80.0", "334.0", "16", "1", "R", false},
    {"抽屉2-底板", "4", "538.0", "328.0", "5", "1", "R", false},
    {"左门", "9", "279.0", "380.8", "18", "1", "R", false},
    {"右门", "9", "279.0", "380.8", "18", "1", "R", false},
};

FKW Rule(double minV, double maxV, const QString& positions) {
    FKW r;
    r.minV = minV;
    r.maxV = maxV;
    r.kwStr = positions;
    return r;
}

const FPKBZ kStandardRules = {Rule(0, 300, QStringLiteral("32")),
                              Rule(300, 600, QStringLiteral("32,288"))};

// ---- building rows (no database) ----

TEST(FormatPanelSize, ByPrecision) {
    struct Case {
        double value;
        int jqd;
        const char* text;
    };
    const Case cases[] = {
        {399.96, 0, "400.0"},
        {399.94, 0, "399.9"},
        {400, 0, "400.0"},
        {128.25, 0, "128.3"},
        {0.05, 0, "0.1"},
        {-0.05, 0, "-0.1"},
        {399.5, 1, "400"},
        {399.49, 1, "399"},
        {400, 1, "400"},
        {0.5, 1, "1"},
        {399.96, 2, "399"},
        {399.5, 2, "399"},
        {400, 2, "400"},
        {-3.7, 2, "-3"},
        {0, 2, "0"},
        // Arithmetic noise below the 15th digit does not decide.
        {399.99999999999994, 2, "400"},
        {720 - 0.1 - 0.2 - 19.7, 2, "700"},
        // Precisions the settings window cannot produce write one decimal.
        {399.96, 3, "400.0"},
        {12.34, -1, "12.3"},
        {1e20, 2, "1E20"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatPanelSize(c.value, c.jqd), QString::fromUtf8(c.text))
            << c.value << " at precision " << c.jqd;
}

TEST(BoardCutSize, ByBoardType) {
    struct Case {
        const char* name;
        FBCType type;
        FPos pos;
        double d;
        FFengB fb;
        double length, width;
    };
    const Case cases[] = {
        {"side board 720 high, 532 deep",
         FBCType::CeBanLeft,
         {0, 0, 18, 720, 0},
         532,
         Banding(0, 0, 1, 1, 2, 0),
         718,
         530},
        {"right side board",
         FBCType::CeBanRight,
         {582, 0, 600, 720, 0},
         532,
         Banding(0, 0, 1, 1, 2, 0),
         718,
         530},
        {"partition",
         FBCType::GeBan,
         {291, 18, 309, 702, 0},
         518,
         Banding(1, 1, 1, 1, 1, 1),
         682,
         516},
        {"back board 564 x 684",
         FBCType::BeiBan,
         {18, 18, 582, 702, 532},
         18,
         Banding(1, 1, 0, 0, 0, 0),
         684,
         562},
        {"upright board",
         FBCType::ShuBan,
         {18, 18, 582, 702, 0},
         18,
         Banding(1, 1, 1, 1, 0, 0),
         682,
         562},
        {"top board",
         FBCType::DingBan,
         {18, 0, 582, 18, 0},
         532,
         Banding(1, 1, 0, 0, 1, 0),
         531,
         562},
        {"shelf",
         FBCType::CengBan,
         {18, 351, 582, 369, 0},
         518,
         Banding(0, 0, 0, 0, 2, 1),
         515,
         564},
        {"bottom board", FBCType::DiBan, {18, 702, 582, 720, 0}, 532, FFengB{}, 532, 564},
        {"reversed corners give positive sizes",
         FBCType::BeiBan,
         {582, 702, 18, 18, 0},
         18,
         FFengB{},
         684,
         564},
        {"door panel type", FBCType::MenBan, {0, 0, 400, 700, 0}, 18, FFengB{}, 0, 0},
    };
    for (const Case& c : cases) {
        FBC bc;
        bc.BCType = c.type;
        bc.Pos = c.pos;
        bc.D = c.d;
        bc.FB = c.fb;
        double length = -1, width = -1;
        BoardCutSize(bc, length, width);
        EXPECT_DOUBLE_EQ(length, c.length) << c.name;
        EXPECT_DOUBLE_EQ(width, c.width) << c.name;
    }
}

TEST(BuildPanelRows, ExampleCombinationRowByRow) {
    const FPanelRows rows =
        BuildPanelRows(ExampleCombination(), TSysSet{}, FHoleRules(kStandardRules));
    ASSERT_EQ(rows.size(), std::size(kExampleRows));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ExpectedRow& e = kExampleRows[i];
        const FPanelRow& r = rows[i];
        SCOPED_TRACE("row " + std::to_string(i) + " " + e.clName);
        EXPECT_EQ(r.gtName, QStringLiteral("A01"));
        EXPECT_EQ(r.clName, QString::fromUtf8(e.clName));
        EXPECT_EQ(r.clID, QString::fromUtf8(e.clID));
        EXPECT_EQ(r.length, QString::fromUtf8(e.length));
        EXPECT_EQ(r.width, QString::fromUtf8(e.width));
        EXPECT_EQ(r.thick, QString::fromUtf8(e.thick));
        EXPECT_EQ(r.wl, QString::fromUtf8(e.wl));
        EXPECT_EQ(r.flag, QString::fromUtf8(e.flag));
        EXPECT_EQ(!r.shape.isEmpty(), e.hasPattern);
        if (e.hasPattern) {
            const QString doc = TEncrypXML::UncrypStr(r.shape, kHolePatternKey);
            EXPECT_TRUE(
                doc.startsWith(QStringLiteral("<?xml version=\"1.0\" encoding=\"gb2312\"?><pz "
                                              "l=\"%1\" w=\"%2\" t=\"%3\"><kw>")
                                   .arg(r.length, r.width, r.thick)))
                << doc.toStdString();
        }
    }
}

// A drawer of 18 mm box boards with a 9 mm bottom in a 564 mm wide region (face 600):
// the box is 560 wide outside and 524 inside, its sides 432 long, so the bottom let
// 5 mm into the grooves all round is 534 x 424. Sized by its own thickness it came out
// 552 x 442: wider than the box's inside by 28 and longer than its sides.
TEST(BuildPanelRows, DrawerBottomFollowsTheBoxBoards) {
    FCabinet cab(600, 550, 720, QStringLiteral("A01"));
    cab.AddCeBan(0, FShape::R, FEdge{}, MakeCl(18, QStringLiteral("侧板")), QStringLiteral("Left"),
                 FFengB{}, QStringLiteral("0"));
    cab.AddCeBan(1, FShape::R, FEdge{}, MakeCl(18, QStringLiteral("侧板")),
                 QStringLiteral("Right"), FFengB{}, QStringLiteral("0"));
    cab.AddChouTi(2, MakeCl(18, QString(), QStringLiteral("3")),
                  MakeCl(9, QString(), QStringLiteral("4")), QStringLiteral("抽屉1"), 36, 4, 450,
                  20, 20, 80);
    FCabs cbs(600, 550, 720);
    cbs.AddCabinet(0, std::make_unique<FCabinet>(cab));
    const FPanelRows rows = BuildPanelRows(cbs, TSysSet{}, FHoleRules(kStandardRules));
    ASSERT_EQ(rows.size(), 8u);
    const FPanelRow& front = rows[3];
    const FPanelRow& side = rows[5];
    const FPanelRow& bottom = rows[7];
    EXPECT_EQ(front.clName, QStringLiteral("抽屉1-前板"));
    EXPECT_EQ(front.width, QStringLiteral("524.0"));
    EXPECT_EQ(side.width, QStringLiteral("432.0"));
    EXPECT_EQ(bottom.clName, QStringLiteral("抽屉1-底板"));
    EXPECT_EQ(bottom.length, QStringLiteral("534.0"));
    EXPECT_EQ(bottom.width, QStringLiteral("424.0"));
    EXPECT_EQ(bottom.thick, QStringLiteral("9"));
    EXPECT_EQ(bottom.clID, QStringLiteral("4"));
    // The bottom is 5 mm larger than the opening on every side.
    EXPECT_EQ(bottom.length.toDouble(), front.width.toDouble() + 10);

    // The log entry of the drawer gives the same six parts the rows were made from.
    const FPartSizes parts = ObjectPartSizes(cab, cab.OBJS().back());
    ASSERT_EQ(parts.size(), 6u);
    EXPECT_EQ(parts[5].name, QStringLiteral("抽屉1-底板"));
    EXPECT_DOUBLE_EQ(parts[5].length, 534);
    EXPECT_DOUBLE_EQ(parts[5].width, 424);
    EXPECT_EQ(parts[5].cl.Thick, 9);
}

TEST(BuildPanelRows, HolePatternsOfTheExample) {
    const FPanelRows rows =
        BuildPanelRows(ExampleCombination(), TSysSet{}, FHoleRules(kStandardRules));
    ASSERT_EQ(rows.size(), std::size(kExampleRows));
    const auto doc = [&](int i) { return TEncrypXML::UncrypStr(rows[i].shape, kHolePatternKey); };
    // The left side board: top (centre 9) and bottom (centre 711) end against it, both
    // 532 deep, so holes at 32 and 288 in cabinet depth.
    EXPECT_TRUE(doc(0).contains(QStringLiteral(
        "<kw><k x=\"32\" y=\"9\" f=\"M\" desc=\"\" /><k x=\"288\" y=\"9\" f=\"M\" desc=\"\" />"
        "<k x=\"32\" y=\"711\" f=\"M\" desc=\"\" /><k x=\"288\" y=\"711\" f=\"M\" desc=\"\" "
        "/></kw>")))
        << doc(0).toStdString();
    // The top board: nothing stands on it, end holes at both ends of its 564 width.
    EXPECT_TRUE(doc(2).contains(QStringLiteral(
        "<kw><k x=\"33\" y=\"32\"  f=\"L\" desc=\"\" /><k x=\"33\" y=\"288\"  f=\"L\" desc=\"\" />"
        "<k x=\"531\" y=\"32\"  f=\"R\" desc=\"\" /><k x=\"531\" y=\"288\"  f=\"R\" desc=\"\" "
        "/></kw><kc></kc></pz>")))
        << doc(2).toStdString();
}

TEST(BuildPanelRows, PrecisionAppliesToSizesAndPatternTexts) {
    TSysSet set;
    set.JQD = 2;
    const FPanelRows rows = BuildPanelRows(ExampleCombination(), set, FHoleRules(kStandardRules));
    ASSERT_EQ(rows.size(), std::size(kExampleRows));
    EXPECT_EQ(rows[0].length, QStringLiteral("718"));
    EXPECT_EQ(rows[11].length, QStringLiteral("128"));  // 128.25 cut off
    EXPECT_EQ(rows[17].width, QStringLiteral("380"));   // 380.75 cut off
    EXPECT_TRUE(TEncrypXML::UncrypStr(rows[0].shape, kHolePatternKey)
                    .contains(QStringLiteral("<pz l=\"718\" w=\"530\" t=\"18\">")));
    set.JQD = 1;
    const FPanelRows rounded =
        BuildPanelRows(ExampleCombination(), set, FHoleRules(kStandardRules));
    EXPECT_EQ(rounded[11].length, QStringLiteral("128"));
    EXPECT_EQ(rounded[17].width, QStringLiteral("381"));
}

TEST(BuildPanelRows, CabinetsInListOrderEachWithItsName) {
    FCabs cbs(1200, 550, 720);
    cbs.AddSplit(0, 600, 0, QStringLiteral("0"));
    cbs.AddCabinet(0, ExampleCabinet(QStringLiteral("左柜")));
    cbs.AddCabinet(1, ExampleCabinet(QStringLiteral("右柜")));
    const FPanelRows rows = BuildPanelRows(cbs, TSysSet{}, FHoleRules(kStandardRules));
    ASSERT_EQ(rows.size(), 38u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].gtName, i < 19 ? QStringLiteral("左柜") : QStringLiteral("右柜")) << i;
        EXPECT_EQ(rows[i].clName, QString::fromUtf8(kExampleRows[i % 19].clName)) << i;
    }
}

// ---- storing ----

class SaveDbTest : public ::testing::TestWithParam<TDbEngine> {
  protected:
    void SetUp() override {
        KELM_REQUIRE_ENGINE(GetParam());
        place = std::make_unique<TTestDatabase>(GetParam());
        ASSERT_FALSE(place->Spec().isEmpty()) << place->Problem().toStdString();
        data = std::make_unique<TsysData>(place->Spec());
        data->SetPrompt(&prompt);
        SetSysData(data.get());
        ASSERT_TRUE(data->Open());
        for (const FKW& r : kStandardRules)
            Sql(QStringLiteral("INSERT INTO FPKBZ(minVal,maxVal,kwstr) VALUES(%1,%2,'%3')")
                    .arg(r.minV)
                    .arg(r.maxV)
                    .arg(r.kwStr));
    }
    void TearDown() override {
        SetSysData(nullptr);
        data.reset();
        place.reset();
    }
    bool OnServer() const { return GetParam() == TDbEngine::Server; }

    void Sql(const QString& sql) {
        QSqlQuery q(data->Database());
        ASSERT_TRUE(q.exec(sql)) << sql.toStdString() << ": " << q.lastError().text().toStdString();
    }

    // A statement that fails whenever a row matching `when` is inserted into `table`.
    void FailInsertsWhen(const QString& table, const QString& when) {
        if (!OnServer()) {
            Sql(QStringLiteral("CREATE TRIGGER fail_%1 BEFORE INSERT ON %1 WHEN %2 "
                               "BEGIN SELECT RAISE(ABORT, 'refused by test'); END")
                    .arg(table, when));
            return;
        }
        const QString condition = when == QStringLiteral("1") ? QStringLiteral("true") : when;
        Sql(QStringLiteral("CREATE FUNCTION fail_%1() RETURNS trigger AS $$ BEGIN IF %2 THEN "
                           "RAISE EXCEPTION 'refused by test'; END IF; RETURN NEW; END $$ "
                           "LANGUAGE plpgsql")
                .arg(table, condition));
        Sql(QStringLiteral("CREATE TRIGGER fail_%1 BEFORE INSERT ON %1 FOR EACH ROW "
                           "EXECUTE FUNCTION fail_%1()")
                .arg(table));
    }
    void StopFailingInserts(const QString& table) {
        if (!OnServer()) {
            Sql(QStringLiteral("DROP TRIGGER fail_%1").arg(table));
            return;
        }
        Sql(QStringLiteral("DROP TRIGGER fail_%1 ON %1").arg(table));
        Sql(QStringLiteral("DROP FUNCTION fail_%1()").arg(table));
    }

    // Every row of the tables an order position lives in, as text.
    QStringList Snapshot() {
        QStringList out;
        for (const char* table : {"FProWins", "FProCl", "TkWins"}) {
            QSqlQuery q(data->Database());
            EXPECT_TRUE(q.exec(
                QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(QLatin1String(table))));
            while (q.next()) {
                QStringList values;
                for (int i = 0; i < q.record().count(); ++i) values << q.value(i).toString();
                out << QLatin1String(table) + QLatin1Char(':') + values.join(QLatin1Char('|'));
            }
        }
        return out;
    }

    int Count(const QString& sql) {
        auto q = data->OpenQuery(sql);
        return q->next() ? q->value(0).toInt() : -1;
    }

    QString Save(const FCabs& cbs, const QString& count = QStringLiteral("3"), int id = 0) {
        QString winID;
        EXPECT_TRUE(FXmlSave::SaveToDB(QStringLiteral("150317101530"), QStringLiteral("A01"), count,
                                       QStringLiteral("12"), QStringLiteral("张三"),
                                       QStringLiteral("PVC 1mm"), cbs, id, &winID));
        return winID;
    }

    std::unique_ptr<TTestDatabase> place;
    TPromptRecorder prompt;
    std::unique_ptr<TsysData> data;
};

INSTANTIATE_TEST_SUITE_P(Engines, SaveDbTest, KelmEngines(), KelmEngineName);

TEST_P(SaveDbTest, SaveToDBWritesThePositionAndNineteenRows) {
    const QDateTime before = QDateTime::currentDateTime();
    const FCabs cbs = ExampleCombination();
    const QString winID = Save(cbs);
    const QDateTime after = QDateTime::currentDateTime();
    EXPECT_TRUE(winID == TimeIDAt(before, QStringLiteral("0")) ||
                winID == TimeIDAt(after, QStringLiteral("0")))
        << winID.toStdString();

    auto win = data->OpenQuery(QStringLiteral("SELECT * FROM FProWins"));
    ASSERT_TRUE(win->next());
    EXPECT_EQ(FieldText(*win, QStringLiteral("winID")), winID);
    EXPECT_EQ(FieldText(*win, QStringLiteral("proID")), QStringLiteral("150317101530"));
    EXPECT_EQ(FieldText(*win, QStringLiteral("winPath")), FXmlSave::BuildStoredXml(cbs));
    EXPECT_EQ(FieldText(*win, QStringLiteral("winCode")), QStringLiteral("A01"));
    EXPECT_EQ(FieldText(*win, QStringLiteral("winCount")), QStringLiteral("3"));
    EXPECT_EQ(FieldText(*win, QStringLiteral("Width")), QStringLiteral("600"));
    EXPECT_EQ(FieldText(*win, QStringLiteral("Height")), QStringLiteral("720"));
    EXPECT_EQ(FieldText(*win, QStringLiteral("Depth")), QStringLiteral("550"));
    EXPECT_EQ(FieldText(*win, QStringLiteral("Maked")), QStringLiteral("0"));
    EXPECT_EQ(FieldText(*win, QStringLiteral("custID")), QStringLiteral("12"));
    EXPECT_EQ(FieldText(*win, QStringLiteral("custName")), QStringLiteral("张三"));
    EXPECT_EQ(FieldText(*win, QStringLiteral("FengB")), QStringLiteral("PVC 1mm"));
    EXPECT_FALSE(win->next());

    const FPanelRows expected = BuildPanelRows(cbs, TSysSet{}, FHoleRules(kStandardRules));
    auto q = data->OpenQuery(QStringLiteral("SELECT * FROM FProCl ORDER BY ID"));
    std::size_t i = 0;
    for (; q->next(); ++i) {
        ASSERT_LT(i, std::size(kExampleRows));
        const ExpectedRow& e = kExampleRows[i];
        SCOPED_TRACE("row " + std::to_string(i) + " " + e.clName);
        EXPECT_EQ(FieldText(*q, QStringLiteral("proID")), QStringLiteral("150317101530"));
        EXPECT_EQ(FieldText(*q, QStringLiteral("winID")), winID);
        EXPECT_EQ(FieldText(*q, QStringLiteral("gtName")), QStringLiteral("A01"));
        EXPECT_EQ(FieldText(*q, QStringLiteral("clName")), QString::fromUtf8(e.clName));
        EXPECT_EQ(FieldText(*q, QStringLiteral("clID")), QString::fromUtf8(e.clID));
        // Quantity 3 is copied, never multiplied into a size.
        EXPECT_EQ(FieldText(*q, QStringLiteral("clCount")), QStringLiteral("3"));
        EXPECT_DOUBLE_EQ(FieldFloat(*q, QStringLiteral("length")),
                         QString::fromUtf8(e.length).toDouble());
        EXPECT_DOUBLE_EQ(FieldFloat(*q, QStringLiteral("width")),
                         QString::fromUtf8(e.width).toDouble());
        EXPECT_DOUBLE_EQ(FieldFloat(*q, QStringLiteral("thick")),
                         QString::fromUtf8(e.thick).toDouble());
        EXPECT_EQ(FieldText(*q, QStringLiteral("wl")), QString::fromUtf8(e.wl));
        EXPECT_EQ(FieldText(*q, QStringLiteral("flag")), QString::fromUtf8(e.flag));
        EXPECT_EQ(FieldText(*q, QStringLiteral("shape")), expected[i].shape);
    }
    EXPECT_EQ(i, std::size(kExampleRows));
}

TEST_P(SaveDbTest, PrecisionComesFromTheSettings) {
    struct Case {
        int jqd;
        double drawerFace;  // the second drawer's face height, 128.25
        const char* patternHead;
    };
    const Case cases[] = {{0, 128.3, "<pz l=\"718.0\" w=\"530.0\" t=\"18\">"},
                          {1, 128, "<pz l=\"718\" w=\"530\" t=\"18\">"},
                          {2, 128, "<pz l=\"718\" w=\"530\" t=\"18\">"}};
    for (const Case& c : cases) {
        Sql(QStringLiteral("UPDATE FSysSet SET JQD=%1").arg(c.jqd));
        Sql(QStringLiteral("DELETE FROM FProWins"));
        Sql(QStringLiteral("DELETE FROM FProCl"));
        Save(ExampleCombination());
        auto q = data->OpenQuery(QStringLiteral("SELECT length,shape FROM FProCl ORDER BY ID"));
        std::vector<std::pair<double, QString>> rows;
        while (q->next())
            rows.emplace_back(FieldFloat(*q, QStringLiteral("length")),
                              FieldText(*q, QStringLiteral("shape")));
        ASSERT_EQ(rows.size(), 19u) << "precision " << c.jqd;
        EXPECT_DOUBLE_EQ(rows[11].first, c.drawerFace) << "precision " << c.jqd;
        EXPECT_TRUE(TEncrypXML::UncrypStr(rows[0].second, kHolePatternKey)
                        .contains(QString::fromUtf8(c.patternHead)))
            << "precision " << c.jqd;
    }
}

TEST_P(SaveDbTest, WinIDEndsWithTheGivenNumber) {
    const QString winID = Save(ExampleCombination(), QStringLiteral("1"), 12);
    EXPECT_EQ(winID.size(), 14);
    EXPECT_TRUE(winID.endsWith(QStringLiteral("12")));
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM FProCl WHERE winID='%1'").arg(winID)), 19);
}

TEST_P(SaveDbTest, AFailingStatementLeavesTheDatabaseAsItWas) {
    const QString first = Save(ExampleCombination(), QStringLiteral("2"), 1);
    ASSERT_FALSE(first.isEmpty());
    struct Case {
        const char* name;
        const char* table;
        const char* when;
    };
    const Case cases[] = {
        {"the position row", "FProWins", "1"},
        {"the first panel row", "FProCl", "NEW.clName = '左侧板'"},
        {"a drawer row in the middle", "FProCl", "NEW.clName = '抽屉2-左侧板'"},
        {"the last panel row", "FProCl", "NEW.clName = '右门'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FailInsertsWhen(QLatin1String(c.table), QString::fromUtf8(c.when));
        const QStringList before = Snapshot();
        QString winID = QStringLiteral("untouched");
        EXPECT_FALSE(FXmlSave::SaveToDB(QStringLiteral("150317101530"), QStringLiteral("B"),
                                        QStringLiteral("1"), QString(), QString(), QString(),
                                        ExampleCombination(), 2, &winID));
        EXPECT_EQ(winID, QStringLiteral("untouched"));
        EXPECT_EQ(Snapshot(), before);
        // Editing the saved position fails the same way and keeps its old rows.
        if (QLatin1String(c.table) == QLatin1String("FProCl")) {
            EXPECT_FALSE(FXmlSave::EditSize(QStringLiteral("150317101530"), first,
                                            QStringLiteral("B"), QStringLiteral("5"), QString(),
                                            QString(), QString(), ExampleCombination()));
            EXPECT_EQ(Snapshot(), before);
        }
        StopFailingInserts(QLatin1String(c.table));
    }
    // The connection is usable again afterwards.
    EXPECT_FALSE(Save(ExampleCombination(), QStringLiteral("1"), 3).isEmpty());
    EXPECT_TRUE(prompt.infos.isEmpty()) << prompt.infos.join(QLatin1Char(',')).toStdString();
}

TEST_P(SaveDbTest, ATakenWinIDTakesTheNextFreeNumber) {
    // Other positions saved within the same second with the same number (from another
    // seat) already hold the identifier and the first numbers after it; cover the next
    // few seconds too.
    const QDateTime now = QDateTime::currentDateTime();
    for (int s = 0; s < 5; ++s)
        for (const QString extra : {"", "1", "2"})
            Sql(QStringLiteral("INSERT INTO FProWins(winID,proID) VALUES('%1','other')")
                    .arg(TimeIDAt(now.addSecs(s), QStringLiteral("7")) + extra));
    const QStringList before = Snapshot();
    QString winID;
    ASSERT_TRUE(FXmlSave::SaveToDB(QStringLiteral("150317101530"), QStringLiteral("A"),
                                   QStringLiteral("1"), QString(), QString(), QString(),
                                   ExampleCombination(), 7, &winID));
    EXPECT_EQ(winID.size(), 14);
    EXPECT_TRUE(winID.endsWith(QStringLiteral("73"))) << winID.toStdString();
    // The other positions are untouched and the new rows belong to the new one only.
    const QStringList after = Snapshot();
    for (const QString& row : before) EXPECT_TRUE(after.contains(row)) << row.toStdString();
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM FProCl WHERE winID='%1'").arg(winID)), 19);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM FProCl")), 19);
}

// A position opened on this seat and changed on another before this seat saves.
TEST_P(SaveDbTest, ChangeFromAnotherSeatIsNotSilentlyOverwritten) {
    const QString winID = Save(ExampleCombination());
    ASSERT_FALSE(winID.isEmpty());
    auto editHere = [&](const QString* opened, const QString& code) {
        return FXmlSave::EditSize(QStringLiteral("150317101530"), winID, code,
                                  QStringLiteral("1"), QString(), QString(), QString(),
                                  ExampleCombination(), opened);
    };
    const QString kAsked =
        QStringLiteral("该柜体在打开后已被其他用户修改，保存将覆盖对方的修改。\n是否继续保存？");

    // Unchanged since opened: saved without a question.
    QString opened = FXmlSave::PositionVersion(winID);
    ASSERT_FALSE(opened.isEmpty());
    EXPECT_TRUE(editHere(&opened, QStringLiteral("本机1")));
    EXPECT_TRUE(prompt.confirms.isEmpty());

    // Opened, then changed elsewhere; the user cancels: the other seat's change stays.
    opened = FXmlSave::PositionVersion(winID);
    ASSERT_TRUE(editHere(nullptr, QStringLiteral("他机")));
    const QStringList elsewhere = Snapshot();
    prompt.answers = {false};
    EXPECT_FALSE(editHere(&opened, QStringLiteral("本机2")));
    EXPECT_EQ(prompt.confirms, QStringList{kAsked});
    EXPECT_EQ(Snapshot(), elsewhere);

    // The same, and the user chooses to overwrite.
    prompt.answers = {true};
    EXPECT_TRUE(editHere(&opened, QStringLiteral("本机3")));
    EXPECT_EQ(prompt.confirms.size(), 2);
    auto q = data->OpenQuery(QStringLiteral("SELECT winCode FROM FProWins WHERE winID='%1'").arg(winID));
    ASSERT_TRUE(q->next());
    EXPECT_EQ(FieldText(*q, QStringLiteral("winCode")), QStringLiteral("本机3"));
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM FProCl WHERE winID='%1'").arg(winID)), 19);

    // Deleted elsewhere meanwhile: nothing is written, nothing asked.
    opened = FXmlSave::PositionVersion(winID);
    Sql(QStringLiteral("DELETE FROM FProWins WHERE winID='%1'").arg(winID));
    EXPECT_FALSE(editHere(&opened, QStringLiteral("本机4")));
    EXPECT_EQ(prompt.confirms.size(), 2);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM FProWins")), 0);
}

TEST_P(SaveDbTest, ADamagedDrillingRuleWritesNothing) {
    const QString first = Save(ExampleCombination());
    // Covers the 532 deep top and bottom boards.
    Sql(QStringLiteral("DELETE FROM FPKBZ"));
    Sql(QStringLiteral("INSERT INTO FPKBZ(minVal,maxVal,kwstr) VALUES(500,600,'32,二八八')"));
    const QStringList before = Snapshot();
    EXPECT_FALSE(FXmlSave::SaveToDB(QStringLiteral("150317101530"), QStringLiteral("A"),
                                    QStringLiteral("1"), QString(), QString(), QString(),
                                    ExampleCombination(), 1));
    EXPECT_FALSE(FXmlSave::EditSize(QStringLiteral("150317101530"), first, QStringLiteral("A"),
                                    QStringLiteral("1"), QString(), QString(), QString(),
                                    ExampleCombination()));
    EXPECT_EQ(Snapshot(), before);

    // A damaged rule that no panel needs does not matter.
    Sql(QStringLiteral("UPDATE FPKBZ SET minVal=5000, maxVal=6000"));
    EXPECT_TRUE(FXmlSave::EditSize(QStringLiteral("150317101530"), first, QStringLiteral("A"),
                                   QStringLiteral("1"), QString(), QString(), QString(),
                                   ExampleCombination()));
}

TEST_P(SaveDbTest, EditSizeReplacesDocumentAndRows) {
    const QString first = Save(ExampleCombination());
    const QString other = Save(ExampleCombination(), QStringLiteral("1"), 9);
    const QStringList otherRowsBefore = [&] {
        QStringList rows;
        for (const QString& r : Snapshot())
            if (r.contains(other)) rows << r;
        return rows;
    }();

    // A different, larger combination: two cabinets.
    FCabs edited(1200, 560, 730);
    edited.AddSplit(0, 600, 0, QStringLiteral("0"));
    edited.AddCabinet(0, ExampleCabinet(QStringLiteral("左柜")));
    edited.AddCabinet(1, ExampleCabinet(QStringLiteral("右柜")));
    EXPECT_TRUE(FXmlSave::EditSize(QStringLiteral("150317101530"), first, QStringLiteral("A02"),
                                   QStringLiteral("4"), QStringLiteral("13"),
                                   QStringLiteral("李四"), QStringLiteral("ABS"), edited));

    auto win =
        data->OpenQuery(QStringLiteral("SELECT * FROM FProWins WHERE winID='%1'").arg(first));
    ASSERT_TRUE(win->next());
    EXPECT_EQ(FieldText(*win, QStringLiteral("winPath")), FXmlSave::BuildStoredXml(edited));
    EXPECT_EQ(FieldText(*win, QStringLiteral("winCode")), QStringLiteral("A02"));
    EXPECT_EQ(FieldText(*win, QStringLiteral("winCount")), QStringLiteral("4"));
    EXPECT_EQ(FieldText(*win, QStringLiteral("custID")), QStringLiteral("13"));
    EXPECT_EQ(FieldText(*win, QStringLiteral("custName")), QStringLiteral("李四"));
    EXPECT_EQ(FieldText(*win, QStringLiteral("FengB")), QStringLiteral("ABS"));
    // The outer size and the made flag stay as first saved.
    EXPECT_EQ(FieldText(*win, QStringLiteral("Width")), QStringLiteral("600"));
    EXPECT_EQ(FieldText(*win, QStringLiteral("Depth")), QStringLiteral("550"));
    EXPECT_EQ(FieldText(*win, QStringLiteral("Maked")), QStringLiteral("0"));

    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM FProCl WHERE winID='%1'").arg(first)), 38);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM FProCl WHERE winID='%1' AND clCount=4")
                        .arg(first)),
              38);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM FProCl WHERE winID='%1' AND gtName='右柜'")
                        .arg(first)),
              19);

    QStringList otherRowsAfter;
    for (const QString& r : Snapshot())
        if (r.contains(other)) otherRowsAfter << r;
    EXPECT_EQ(otherRowsAfter, otherRowsBefore);
}

TEST_P(SaveDbTest, EditSizeOfAPositionWithoutPanels) {
    // A combination whose cabinet holds only regions has no panel rows.
    FCabs empty(600, 550, 720);
    empty.AddCabinet(0, std::make_unique<FCabinet>(600, 550, 720, QStringLiteral("空柜")));
    const QString winID = Save(empty);
    ASSERT_FALSE(winID.isEmpty());
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM FProCl")), 0);

    // Edited again without panels, then with a designed cabinet.
    EXPECT_TRUE(FXmlSave::EditSize(QStringLiteral("150317101530"), winID, QStringLiteral("A"),
                                   QStringLiteral("1"), QString(), QString(), QString(), empty));
    EXPECT_TRUE(FXmlSave::EditSize(QStringLiteral("150317101530"), winID, QStringLiteral("A"),
                                   QStringLiteral("1"), QString(), QString(), QString(),
                                   ExampleCombination()));
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM FProCl WHERE winID='%1'").arg(winID)), 19);
}

TEST_P(SaveDbTest, EditSizeOfAnUnknownPositionChangesNothing) {
    Save(ExampleCombination());
    const QStringList before = Snapshot();
    EXPECT_FALSE(FXmlSave::EditSize(QStringLiteral("150317101530"), QStringLiteral("999999999999"),
                                    QStringLiteral("A"), QStringLiteral("1"), QString(), QString(),
                                    QString(), ExampleCombination()));
    EXPECT_EQ(Snapshot(), before);
}

TEST_P(SaveDbTest, SaveToTuKuStoresAnEntryThatOpensAgain) {
    // The single-cabinet designer wraps its cabinet in a combination of its own size.
    FCabs wrapped(600, 550, 720);
    wrapped.AddCabinet(0, ExampleCabinet());
    EXPECT_TRUE(FXmlSave::SaveToTuKu(QStringLiteral("3"), QStringLiteral("地柜600"), wrapped));
    EXPECT_EQ(prompt.infos, QStringList{QStringLiteral("保存成功！")});

    auto q = data->OpenQuery(QStringLiteral("SELECT * FROM TkWins"));
    ASSERT_TRUE(q->next());
    EXPECT_EQ(FieldText(*q, QStringLiteral("TkName")), QStringLiteral("地柜600"));
    EXPECT_EQ(FieldText(*q, QStringLiteral("cateID")), QStringLiteral("3"));
    const auto opened = FXmlOpen::OpenXml(FieldText(*q, QStringLiteral("TkPath")));
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->Regions().size(), 1u);
    ASSERT_EQ(opened->CBS().size(), 1u);
    EXPECT_EQ(opened->CBS()[0]->ParRegIndex(), 0);
    ExpectNearCabinet(*opened->CBS()[0], *wrapped.CBS()[0]);
}

TEST_P(SaveDbTest, CabinetNamedWithAPrivateUseCharacterIsSavedAndOpensAgain) {
    // U+E81E is one of the characters the C library's GB18030 converter has no code
    // for; the save must neither fail nor lose the name.
    const QString name = QString(QChar(0xE81E)) + QStringLiteral("地柜");
    FCabs wrapped(600, 550, 720);
    wrapped.AddCabinet(0, ExampleCabinet())->SetName(name);
    EXPECT_TRUE(FXmlSave::SaveToTuKu(QStringLiteral("3"), name, wrapped));
    auto q = data->OpenQuery(QStringLiteral("SELECT * FROM TkWins"));
    ASSERT_TRUE(q->next());
    const auto opened = FXmlOpen::OpenXml(FieldText(*q, QStringLiteral("TkPath")));
    ASSERT_TRUE(opened);
    ASSERT_EQ(opened->CBS().size(), 1u);
    EXPECT_EQ(opened->CBS()[0]->Name(), name);
}

TEST_P(SaveDbTest, AFailedLibraryInsertIsSilent) {
    FailInsertsWhen(QStringLiteral("TkWins"), QStringLiteral("1"));
    EXPECT_FALSE(
        FXmlSave::SaveToTuKu(QStringLiteral("3"), QStringLiteral("x"), ExampleCombination()));
    EXPECT_TRUE(prompt.infos.isEmpty());
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM TkWins")), 0);
}

TEST(SaveWithoutDatabase, EveryOperationFails) {
    QTemporaryDir dir;
    TsysData data(dir.filePath(QStringLiteral("missing/KelmDB.db")));
    TPromptRecorder prompt;
    data.SetPrompt(&prompt);
    SetSysData(&data);
    const FCabs cbs = ExampleCombination();
    EXPECT_FALSE(FXmlSave::SaveToDB(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("1"),
                                    QString(), QString(), QString(), cbs, 0));
    EXPECT_FALSE(FXmlSave::EditSize(QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("A"),
                                    QStringLiteral("1"), QString(), QString(), QString(), cbs));
    EXPECT_FALSE(FXmlSave::SaveToTuKu(QStringLiteral("3"), QStringLiteral("x"), cbs));
    EXPECT_FALSE(prompt.infos.contains(QStringLiteral("保存成功！")));
    SetSysData(nullptr);
}

}  // namespace
