// The layout store on a temp database: first save, the replace-only-when-better rule,
// the utilisation figure, reading back, and stored texts that are damaged.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cmath>

#include "EngineTestSupport.h"
#include "common/NumberFormat.h"
#include "data/PromptRecorder.h"
#include "data/UnitData.h"
#include "documents/UnitEncrypTo.h"
#include "documents/UnitFileOpt.h"
#include "optimizer/UnitD2RectDoc.h"

namespace {

// A scheme of `layouts` sheet layouts of 1000 x 1000 mm, each cut once, whose parts
// cover `percent` of the sheets.
TD2RSchame SchemeWith(double percent, int layouts) {
    TD2RSchame s;
    for (int i = 0; i < layouts; ++i) {
        TD2RGene g;
        g.RawIndex = 0;
        g.RawDbID = "1";
        g.RawName = "白橡18";
        g.RawLength = 1000;
        g.RawWidth = 1000;
        g.RawCount = 1;
        g.EleArea = percent / 100 * 1000000;
        g.EleList.push_back({0, 1, "侧板", "", 0, 0, 720, 560});
        g.RectArr.push_back({0, 560, 1000, 440});
        s.push_back(g);
    }
    return s;
}

class FileOptTest : public ::testing::TestWithParam<TDbEngine> {
  protected:
    void SetUp() override {
        KELM_REQUIRE_ENGINE(GetParam());
        place = std::make_unique<TTestDatabase>(GetParam());
        ASSERT_FALSE(place->Spec().isEmpty()) << place->Problem().toStdString();
        data = std::make_unique<TsysData>(place->Spec());
        data->SetPrompt(&prompt);
        SetSysData(data.get());
        raws.push_back({1, "白橡18", "1", "", 80, 1000, 1000, 99999999, 0});
        eles.push_back({1, "侧板", "", 720, 560, 3, 1});
        prm.BladeWidth = 4;
        prm.Priority = TD2RPriority::Price;
    }
    void TearDown() override {
        SetSysData(nullptr);
        data.reset();
        place.reset();
    }

    bool Save(double percent, int layouts, const QString& bcID, const QString& proID = "P1") {
        return TD2File().SaveToFile(raws, eles, prm, SchemeWith(percent, layouts), proID, bcID);
    }
    struct Row {
        QString pyID, bcID, uli, cutC, cutFA;
    };
    std::vector<Row> Rows(const QString& proID = "P1") {
        std::vector<Row> rows;
        auto q = data->OpenQuery("SELECT pyID,bcID,uli,cutC,cutFA FROM FProBCCut WHERE proID='" +
                                 proID + "' ORDER BY pyID");
        while (q->next())
            rows.push_back({FieldText(*q, "pyID"), FieldText(*q, "bcID"), FieldText(*q, "uli"),
                            FieldText(*q, "cutC"), FieldText(*q, "cutFA")});
        return rows;
    }

    std::unique_ptr<TTestDatabase> place;
    TPromptRecorder prompt;
    std::unique_ptr<TsysData> data;
    TD2RRawArr raws;
    TD2REleArr eles;
    TD2RPrm prm;
};

INSTANTIATE_TEST_SUITE_P(Engines, FileOptTest, KelmEngines(), KelmEngineName);

TEST_P(FileOptTest, FirstResultIsStoredScrambled) {
    ASSERT_TRUE(Save(75.5, 2, "1"));
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].bcID, "1");
    EXPECT_EQ(rows[0].uli, "75.5");
    EXPECT_EQ(rows[0].cutC, "2");
    EXPECT_TRUE(rows[0].cutFA.startsWith("00"));
    EXPECT_EQ(TEncrypXML::UncrypStr(rows[0].cutFA, "mepkad"),
              LayoutDocumentText(raws, eles, prm, SchemeWith(75.5, 2)));
    EXPECT_TRUE(prompt.infos.isEmpty());
}

TEST_P(FileOptTest, ReplacedOnlyByABetterResult) {
    struct Case {
        const char* label;
        double percent;
        int layouts;
        const char* bcID;
        bool replaces;
    } cases[] = {
        // stored: 80 %, 3 layouts, material 1
        {"same uli, one layout fewer", 80, 2, "1", true},
        {"same uli, one layout more", 80, 4, "1", false},
        {"same uli, same layouts", 80, 3, "1", false},
        {"higher uli, more layouts", 80.01, 9, "1", true},
        {"lower uli, fewer layouts", 79.99, 1, "1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        data->SetCommonSQL("DELETE FROM FProBCCut");
        data->ExecCommon();
        ASSERT_TRUE(Save(80, 3, "1"));
        const QString before = Rows()[0].cutFA;
        EXPECT_EQ(Save(c.percent, c.layouts, c.bcID), c.replaces);
        const auto rows = Rows();
        ASSERT_EQ(rows.size(), 1u);  // one layout per order and material, always
        if (c.replaces) {
            EXPECT_EQ(rows[0].bcID, c.bcID);
            EXPECT_EQ(rows[0].uli, kelm::FormatGeneral(c.percent));
            EXPECT_EQ(rows[0].cutC, QString::number(c.layouts));
            EXPECT_NE(rows[0].cutFA, before);
        } else {
            EXPECT_EQ(rows[0].bcID, "1");
            EXPECT_EQ(rows[0].uli, "80");
            EXPECT_EQ(rows[0].cutC, "3");
            EXPECT_EQ(rows[0].cutFA, before);
        }
    }
}

// The batch stores each raw material's result: a second material, even with a poorer
// result, gets its own row and leaves the first one's layout alone.
TEST_P(FileOptTest, EachMaterialOfAnOrderKeepsItsOwnLayout) {
    ASSERT_TRUE(Save(80, 3, "1"));
    const QString first = Rows()[0].cutFA;
    ASSERT_TRUE(Save(40, 2, "2"));
    EXPECT_FALSE(Save(30, 2, "2"));  // worse than material 2's own layout
    auto rows = Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].bcID, "1");
    EXPECT_EQ(rows[0].uli, "80");
    EXPECT_EQ(rows[0].cutFA, first);
    EXPECT_EQ(rows[1].bcID, "2");
    EXPECT_EQ(rows[1].uli, "40");
    ASSERT_TRUE(Save(90, 1, "2"));
    rows = Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].uli, "80");
    EXPECT_EQ(rows[1].uli, "90");
}

TEST_P(FileOptTest, OrdersKeepTheirOwnLayouts) {
    ASSERT_TRUE(Save(60, 2, "1", "150317101530"));
    ASSERT_TRUE(Save(50, 2, "2", "150317101531"));
    EXPECT_EQ(Rows("150317101530")[0].uli, "60");
    EXPECT_EQ(Rows("150317101531")[0].uli, "50");
}

TEST_P(FileOptTest, QuoteInOrderKeyDoesNotBreakTheLookup) {
    ASSERT_TRUE(Save(60, 2, "1", "O'Neil"));
    EXPECT_FALSE(Save(50, 2, "1", "O'Neil"));
    EXPECT_TRUE(prompt.infos.isEmpty());
}

TEST_P(FileOptTest, NothingIsWrittenWhenTheLookupFails) {
    QTemporaryDir other;
    const QString foreign = other.filePath("foreign.db");
    {
        QFile f(foreign);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a database");
    }
    TsysData broken(foreign);
    broken.SetPrompt(&prompt);
    EXPECT_FALSE(TD2File(&broken).SaveToFile(raws, eles, prm, SchemeWith(50, 1), "P1", "1"));
    EXPECT_EQ(prompt.infos, QStringList{"连接数据库出现异常情况！"});
}

TEST(Utilisation, TwoDecimalsOfPartOverSheetArea) {
    struct Case {
        const char* label;
        TD2RSchame schame;
        double expected;
    };
    TD2RGene a;
    a.RawLength = 2440;
    a.RawWidth = 1220;
    a.RawCount = 3;
    a.EleArea = 2440.0 * 1220 * 2 / 3;  // 66.666...%
    TD2RGene b;
    b.RawLength = 1000;
    b.RawWidth = 1000;
    b.RawCount = 1;
    b.EleArea = 1000000;
    TD2RGene zero;  // no sheet area at all
    zero.EleArea = 5;
    zero.RawCount = 1;
    const Case cases[] = {
        {"two thirds", {a}, 66.67},
        {"weighted by RawCount",
         {a, b},
         100 * (3 * 2440 * 1220 * 2.0 / 3 + 1e6) / (3 * 2440 * 1220 + 1e6)},
        {"full", {b}, 100},
        {"no layouts", {}, 0},
        {"no sheet area", {zero}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_DOUBLE_EQ(TD2File::Utilisation(c.schame), std::round(c.expected * 100) / 100);
    }
}

TEST_P(FileOptTest, OpenFileReadsTheStoredLayoutBack) {
    TD2RSchame scheme = SchemeWith(66.5, 2);
    scheme[1].RectArr[0].Width = 560.26;  // stored with one decimal
    ASSERT_TRUE(TD2File().SaveToFile(raws, eles, prm, scheme, "P1", "1"));
    const QString pyID = Rows()[0].pyID;
    TD2RRawArr r;
    TD2REleArr e;
    TD2RSchame s;
    TD2RPrm p;
    ASSERT_TRUE(TD2File().OpenFile(pyID, r, e, s, p));
    EXPECT_EQ(p.Priority, TD2RPriority::Price);
    EXPECT_EQ(p.BladeWidth, 4);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].Name, "白橡18");
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].Count, 3);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].EleList[0].Name, "侧板");
    EXPECT_DOUBLE_EQ(s[1].RectArr[0].Width, 560.3);
    // Read back and written again, it is the stored document.
    EXPECT_EQ(LayoutDocumentText(r, e, p, s), LayoutDocumentText(raws, eles, prm, scheme));
}

TEST_P(FileOptTest, MissingRowLeavesCallersDataAsItWas) {
    TD2RRawArr r(2);
    TD2REleArr e(1);
    TD2RSchame s(3);
    TD2RPrm p;
    p.BladeWidth = 7;
    EXPECT_FALSE(TD2File().OpenFile("42", r, e, s, p));
    EXPECT_EQ(r.size(), 2u);
    EXPECT_EQ(e.size(), 1u);
    EXPECT_EQ(s.size(), 3u);
    EXPECT_EQ(p.BladeWidth, 7);
    EXPECT_TRUE(prompt.infos.isEmpty());
}

TEST_P(FileOptTest, DamagedStoredTextRaisesAnError) {
    struct Case {
        const char* label;
        QString cutFA;
        const char* inMessage;
    } cases[] = {
        {"not scrambled", "<KELM/>", "does not unscramble"},
        {"empty", "", "does not unscramble"},
        {"scrambled non-XML", TEncrypXML::EncrypStr("hello", "mepkad"), "does not parse"},
        {"other key", TEncrypXML::EncrypStr(LayoutDocumentText(raws, eles, prm, {}), "qorvt"),
         "does not parse"},
        {"missing attribute",
         TEncrypXML::EncrypStr(LayoutDocumentText(raws, eles, prm, {}).replace(" wucha=\"0\"", ""),
                               "mepkad"),
         "attribute wucha is missing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        data->SetCommonSQL(
            "INSERT INTO FProBCCut(proID,bcID,uli,cutC,cutFA) "
            "VALUES('X','1',1,1,:cutFA)");
        data->SetCommonParam("cutFA", c.cutFA);
        ASSERT_TRUE(data->ExecCommon());
        auto q = data->OpenQuery("SELECT MAX(pyID) AS k FROM FProBCCut");
        ASSERT_TRUE(q->next());
        const QString key = FieldText(*q, "k");
        TD2RRawArr r;
        TD2REleArr e;
        TD2RSchame s(1);
        TD2RPrm p;
        try {
            TD2File().OpenFile(key, r, e, s, p);
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& err) {
            EXPECT_NE(std::string(err.what()).find(c.inMessage), std::string::npos) << err.what();
        }
        EXPECT_TRUE(r.empty());
        EXPECT_EQ(s.size(), 1u);
    }
}

TEST_P(FileOptTest, KeyThatIsNotANumberIsRefused) {
    TD2RRawArr r;
    TD2REleArr e;
    TD2RSchame s;
    TD2RPrm p;
    for (const char* bad : {"", "1 OR 1=1", "1;DROP TABLE FCl", "'1'"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(TD2File().OpenFile(bad, r, e, s, p), std::runtime_error);
    }
    EXPECT_TRUE(prompt.infos.isEmpty());  // nothing reached the database
}

}  // namespace
