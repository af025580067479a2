// The cutting layout document: exact text of a small result, the edge cases,
// escaping, round trips and damaged documents.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "optimizer/UnitD2RectDoc.h"

namespace {

struct SmallResult {
    TD2RRawArr raws;
    TD2REleArr eles;
    TD2RPrm prm;
    TD2RSchame schame;
};

SmallResult MakeSmall() {
    SmallResult r;
    r.prm.BladeWidth = 4.5;
    r.prm.Priority = TD2RPriority::Cut;
    r.prm.FirstCut = TD2RFirstCut::VD;
    r.prm.LayStyle = TD2RLayStyle::HStrip;
    r.prm.Edg = {10, 11, 12, 13};  // Top, Bottom, Left, Right
    r.prm.Bin = {200, 150};
    r.prm.wucha = 3;
    r.raws.push_back({1, "白橡18", "5", "A", 85.5, 2440, 1220, 99999999, 1});
    r.eles.push_back({1, "侧板", "", 720, 560.5, 4, 1});
    r.eles.push_back({2, "顶板", "x", 564, 560, 1, 0});
    TD2RGene g;
    g.RawIndex = 0;
    g.RawDbID = "5";
    g.RawName = "白橡18";
    g.RawPrice = 85.5;
    g.RawLength = 2440;
    g.RawWidth = 1220;
    g.RawCount = 2;
    g.EleList.push_back({0, 1, "侧板", "", 0, 0, 720, 560.5});
    g.EleList.push_back({1, 2, "顶板", "x", 724.5, 0, 560, 564});
    g.RectArr.push_back({0, 565, 1000, 560.26});
    g.EleArea = 719400;
    g.maxBin = 560260;
    r.schame.push_back(g);
    return r;
}

const char* const kSmallText =
    "<?xml version=\"1.0\" encoding=\"gb2312\"?>"
    "<KELM BladeWidth=\"4.5\" Priority=\"2\" FirstCut=\"3\" LayStyle=\"2\" EdgL=\"12\" "
    "EdgR=\"13\" EdgT=\"10\" EdgB=\"11\" BinL=\"200\" BinW=\"150\" wucha=\"3\">"
    "<RLST><RW XH=\"1\" RN=\"白橡18\" DM=\"A\" RL=\"2440\" RW=\"1220\" RC=\"99999999\" "
    "PRC=\"85.5\" PRI=\"1\" DBID=\"5\"/></RLST>"
    "<ELST><ELE XH=\"1\" EN=\"侧板\" DM=\"\" EL=\"720\" EW=\"560.5\" EC=\"4\" XZ=\"1\"/>"
    "<ELE XH=\"2\" EN=\"顶板\" DM=\"x\" EL=\"564\" EW=\"560\" EC=\"1\" XZ=\"0\"/></ELST>"
    "<FYS><FPB RI=\"0\" RN=\"白橡18\" RL=\"2440\" RW=\"1220\" RC=\"2\" EA=\"719400\" "
    "MB=\"560260\" DBID=\"5\" PRC=\"85.5\">"
    "<ELS><EL EI=\"0\" XH=\"1\" EN=\"侧板\" DM=\"\" PX=\"0\" PY=\"0\" EL=\"720\" EW=\"560.5\"/>"
    "<EL EI=\"1\" XH=\"2\" EN=\"顶板\" DM=\"x\" PX=\"724.5\" PY=\"0\" EL=\"560\" EW=\"564\"/></ELS>"
    "<RCTLST><RCT PX=\"0\" PY=\"565\" RL=\"1000.0\" RW=\"560.3\" /></RCTLST>"
    "</FPB></FYS></KELM>";

TEST(LayoutDocumentText, ExactTextOfASmallResult) {
    const SmallResult r = MakeSmall();
    EXPECT_EQ(LayoutDocumentText(r.raws, r.eles, r.prm, r.schame), QString::fromUtf8(kSmallText));
}

TEST(LayoutDocumentText, EmptyResult) {
    TD2RPrm prm;  // defaults: Uti, HV, regular, Bin 100 x 100
    EXPECT_EQ(LayoutDocumentText({}, {}, prm, {}),
              "<?xml version=\"1.0\" encoding=\"gb2312\"?>"
              "<KELM BladeWidth=\"0\" Priority=\"1\" FirstCut=\"1\" LayStyle=\"1\" EdgL=\"0\" "
              "EdgR=\"0\" EdgT=\"0\" EdgB=\"0\" BinL=\"100\" BinW=\"100\" wucha=\"0\">"
              "<RLST></RLST><ELST></ELST><FYS></FYS></KELM>");
}

TEST(ReadLayoutDocument, ReadsTheSmallResult) {
    TD2RRawArr raws;
    TD2REleArr eles;
    TD2RSchame schame;
    TD2RPrm prm;
    prm.OptTime = 77;  // not stored: keeps the caller's value
    prm.lingyin = 5;
    ReadLayoutDocument(QString::fromUtf8(kSmallText), raws, eles, schame, prm);
    EXPECT_EQ(prm.BladeWidth, 4.5);
    EXPECT_EQ(prm.Priority, TD2RPriority::Cut);
    EXPECT_EQ(prm.FirstCut, TD2RFirstCut::VD);
    EXPECT_EQ(prm.LayStyle, TD2RLayStyle::HStrip);
    EXPECT_EQ(prm.Edg.Left, 12);
    EXPECT_EQ(prm.Edg.Right, 13);
    EXPECT_EQ(prm.Edg.Top, 10);
    EXPECT_EQ(prm.Edg.Bottom, 11);
    EXPECT_EQ(prm.Bin.Length, 200);
    EXPECT_EQ(prm.Bin.Width, 150);
    EXPECT_EQ(prm.wucha, 3);
    EXPECT_EQ(prm.OptTime, 77);
    EXPECT_EQ(prm.lingyin, 5);
    ASSERT_EQ(raws.size(), 1u);
    EXPECT_EQ(raws[0].Name, "白橡18");
    EXPECT_EQ(raws[0].Count, 99999999);
    EXPECT_EQ(raws[0].Prio, 1);
    EXPECT_EQ(raws[0].DbID, "5");
    ASSERT_EQ(eles.size(), 2u);
    EXPECT_EQ(eles[1].Name, "顶板");
    EXPECT_EQ(eles[1].Rotation, 0);
    ASSERT_EQ(schame.size(), 1u);
    ASSERT_EQ(schame[0].EleList.size(), 2u);
    EXPECT_EQ(schame[0].EleList[1].px, 724.5);
    ASSERT_EQ(schame[0].RectArr.size(), 1u);
    // Leftovers are stored with one decimal: 1000 x 560.26 comes back as 1000 x 560.3.
    EXPECT_EQ(schame[0].RectArr[0].Length, 1000);
    EXPECT_DOUBLE_EQ(schame[0].RectArr[0].Width, 560.3);
}

TEST(ReadLayoutDocument, CodesMapBothWaysAndUnknownCodesKeepTheCallersValue) {
    struct Case {
        TD2RPriority priority;
        TD2RFirstCut firstCut;
        TD2RLayStyle layStyle;
        const char* codes;  // Priority, FirstCut, LayStyle as written
    } cases[] = {
        {TD2RPriority::Uti, TD2RFirstCut::HV, TD2RLayStyle::regular, "111"},
        {TD2RPriority::Cut, TD2RFirstCut::HD, TD2RLayStyle::HStrip, "222"},
        {TD2RPriority::Price, TD2RFirstCut::VD, TD2RLayStyle::VStrip, "333"},
    };
    for (const Case& c : cases) {
        TD2RPrm prm;
        prm.Priority = c.priority;
        prm.FirstCut = c.firstCut;
        prm.LayStyle = c.layStyle;
        const QString text = LayoutDocumentText({}, {}, prm, {});
        EXPECT_TRUE(text.contains(QStringLiteral("Priority=\"%1\" FirstCut=\"%2\" LayStyle=\"%3\"")
                                      .arg(c.codes[0])
                                      .arg(c.codes[1])
                                      .arg(c.codes[2])))
            << text.toStdString();
        TD2RPrm back;
        back.Priority = TD2RPriority::Uti;
        TD2RRawArr r;
        TD2REleArr e;
        TD2RSchame s;
        ReadLayoutDocument(text, r, e, s, back);
        EXPECT_EQ(back.Priority, c.priority);
        EXPECT_EQ(back.FirstCut, c.firstCut);
        EXPECT_EQ(back.LayStyle, c.layStyle);
    }
    QString text = LayoutDocumentText({}, {}, TD2RPrm{}, {});
    text.replace("Priority=\"1\" FirstCut=\"1\" LayStyle=\"1\"",
                 "Priority=\"9\" FirstCut=\"0\" LayStyle=\"x\"");
    TD2RPrm prm;
    prm.Priority = TD2RPriority::Price;
    prm.FirstCut = TD2RFirstCut::HD;
    prm.LayStyle = TD2RLayStyle::VStrip;
    TD2RRawArr r;
    TD2REleArr e;
    TD2RSchame s;
    ReadLayoutDocument(text, r, e, s, prm);
    EXPECT_EQ(prm.Priority, TD2RPriority::Price);
    EXPECT_EQ(prm.FirstCut, TD2RFirstCut::HD);
    EXPECT_EQ(prm.LayStyle, TD2RLayStyle::VStrip);
}

TEST(ReadLayoutDocument, AppendsRenumberedEntriesAndReplacesTheScheme) {
    SmallResult r = MakeSmall();
    r.raws[0].XH = 7;
    r.raws[0].Prio = 2;  // anything but 1 reads back as 0
    const QString text = LayoutDocumentText(r.raws, r.eles, r.prm, r.schame);
    TD2RRawArr raws(1);
    raws[0].Name = "already there";
    TD2REleArr eles;
    TD2RSchame schame(3);
    TD2RPrm prm;
    ReadLayoutDocument(text, raws, eles, schame, prm);
    ASSERT_EQ(raws.size(), 2u);
    EXPECT_EQ(raws[0].Name, "already there");
    EXPECT_EQ(raws[1].XH, 1);
    EXPECT_EQ(raws[1].Prio, 0);
    EXPECT_EQ(eles[0].XH, 1);
    EXPECT_EQ(eles[1].XH, 2);
    EXPECT_EQ(schame.size(), 1u);
}

TEST(LayoutDocumentText, SpecialCharactersAreEscapedAndComeBack) {
    SmallResult r = MakeSmall();
    const QString odd = QStringLiteral("A&B \"1\" <门> 'x'");
    const QString multiLine = QStringLiteral("line1\nline2\tend\r");
    r.raws[0].Name = odd;
    r.raws[0].DbID = "1&2";
    r.eles[0].Demo = multiLine;
    r.schame[0].EleList[0].Name = odd;
    r.schame[0].RawName = odd;
    const QString text = LayoutDocumentText(r.raws, r.eles, r.prm, r.schame);
    EXPECT_TRUE(text.contains("RN=\"A&amp;B &quot;1&quot; &lt;门&gt; &apos;x&apos;\""));
    EXPECT_TRUE(text.contains("DM=\"line1&#10;line2&#9;end&#13;\""));
    EXPECT_FALSE(text.contains('\n'));
    TD2RRawArr raws;
    TD2REleArr eles;
    TD2RSchame schame;
    TD2RPrm prm;
    ReadLayoutDocument(text, raws, eles, schame, prm);
    EXPECT_EQ(raws[0].Name, odd);
    EXPECT_EQ(raws[0].DbID, "1&2");
    EXPECT_EQ(eles[0].Demo, multiLine);
    EXPECT_EQ(schame[0].EleList[0].Name, odd);
    EXPECT_EQ(schame[0].RawName, odd);
}

TEST(LayoutDocumentText, CharactersXmlCannotHoldAreDropped) {
    SmallResult r = MakeSmall();
    r.eles[0].Name = QStringLiteral("a") + QChar(1) + QStringLiteral("b") + QChar(0x1F) + "c";
    const QString text = LayoutDocumentText(r.raws, r.eles, r.prm, r.schame);
    TD2RRawArr raws;
    TD2REleArr eles;
    TD2RSchame schame;
    TD2RPrm prm;
    ReadLayoutDocument(text, raws, eles, schame, prm);
    EXPECT_EQ(eles[0].Name, "abc");
}

// Random results written and read back agree in every field; leftover sizes to 0.1.
TEST(LayoutDocumentText, RoundTripOfRandomResults) {
    std::mt19937 rng(1606);
    auto num = [&](double lo, double hi) {
        // values with up to three decimals and some with long binary fractions
        const double v = std::uniform_real_distribution<double>(lo, hi)(rng);
        return std::uniform_int_distribution<int>(0, 2)(rng) == 0 ? v : std::round(v * 1000) / 1000;
    };
    auto integer = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const QString names[] = {"侧板", "A&B", "", "背板 5mm", "x\"y", "1/3"};
    auto name = [&] { return names[integer(0, 5)]; };
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        TD2RRawArr raws;
        TD2REleArr eles;
        TD2RSchame schame;
        TD2RPrm prm;
        prm.BladeWidth = num(0, 10);
        prm.Priority = static_cast<TD2RPriority>(integer(0, 2));
        prm.FirstCut = static_cast<TD2RFirstCut>(integer(0, 2));
        prm.LayStyle = static_cast<TD2RLayStyle>(integer(0, 2));
        prm.Edg = {integer(-5, 30), integer(0, 30), integer(0, 30), integer(0, 30)};
        prm.Bin = {integer(0, 500), integer(0, 500)};
        prm.wucha = integer(0, 5);
        for (int i = 0, n = integer(0, 3); i < n; ++i)
            raws.push_back({i + 1, name(), name(), name(), num(0, 300), num(100, 3000),
                            num(100, 2000), integer(0, 99999999), integer(0, 1)});
        for (int i = 0, n = integer(0, 6); i < n; ++i)
            eles.push_back(
                {i + 1, name(), name(), num(1, 2400), num(1, 1200), integer(1, 50), integer(0, 1)});
        for (int i = 0, n = integer(0, 4); i < n; ++i) {
            TD2RGene g{integer(0, 3), name(), name(), num(0, 300), num(100, 3000), num(100, 2000),
                       integer(1, 9), {},     {},     num(0, 3e6), num(0, 3e6)};
            for (int j = 0, m = integer(0, 8); j < m; ++j)
                g.EleList.push_back({integer(0, 20), integer(1, 20), name(), name(), num(0, 2400),
                                     num(0, 1200), num(1, 2400), num(1, 1200)});
            for (int j = 0, m = integer(0, 5); j < m; ++j)
                g.RectArr.push_back({num(0, 2400), num(0, 1200), num(0, 2400), num(0, 1200)});
            schame.push_back(g);
        }
        const QString text = LayoutDocumentText(raws, eles, prm, schame);
        TD2RRawArr r2;
        TD2REleArr e2;
        TD2RSchame s2;
        TD2RPrm p2;
        ReadLayoutDocument(text, r2, e2, s2, p2);
        // The general form keeps 15 significant digits.
        auto same = [](double a, double b) {
            return std::fabs(a - b) <= 1e-14 * std::max(1.0, std::fabs(a));
        };
        EXPECT_TRUE(same(p2.BladeWidth, prm.BladeWidth));
        EXPECT_EQ(p2.Priority, prm.Priority);
        EXPECT_EQ(p2.FirstCut, prm.FirstCut);
        EXPECT_EQ(p2.LayStyle, prm.LayStyle);
        EXPECT_EQ(p2.Edg.Left, prm.Edg.Left);
        EXPECT_EQ(p2.Edg.Right, prm.Edg.Right);
        EXPECT_EQ(p2.Edg.Top, prm.Edg.Top);
        EXPECT_EQ(p2.Edg.Bottom, prm.Edg.Bottom);
        EXPECT_EQ(p2.Bin.Length, prm.Bin.Length);
        EXPECT_EQ(p2.Bin.Width, prm.Bin.Width);
        EXPECT_EQ(p2.wucha, prm.wucha);
        ASSERT_EQ(r2.size(), raws.size());
        for (size_t i = 0; i < raws.size(); ++i) {
            EXPECT_EQ(r2[i].XH, raws[i].XH);
            EXPECT_EQ(r2[i].Name, raws[i].Name);
            EXPECT_EQ(r2[i].Demo, raws[i].Demo);
            EXPECT_EQ(r2[i].DbID, raws[i].DbID);
            EXPECT_TRUE(same(r2[i].Price, raws[i].Price));
            EXPECT_TRUE(same(r2[i].Length, raws[i].Length));
            EXPECT_TRUE(same(r2[i].Width, raws[i].Width));
            EXPECT_EQ(r2[i].Count, raws[i].Count);
            EXPECT_EQ(r2[i].Prio, raws[i].Prio);
        }
        ASSERT_EQ(e2.size(), eles.size());
        for (size_t i = 0; i < eles.size(); ++i) {
            EXPECT_EQ(e2[i].XH, eles[i].XH);
            EXPECT_EQ(e2[i].Name, eles[i].Name);
            EXPECT_EQ(e2[i].Demo, eles[i].Demo);
            EXPECT_TRUE(same(e2[i].Length, eles[i].Length));
            EXPECT_TRUE(same(e2[i].Width, eles[i].Width));
            EXPECT_EQ(e2[i].Count, eles[i].Count);
            EXPECT_EQ(e2[i].Rotation, eles[i].Rotation);
        }
        ASSERT_EQ(s2.size(), schame.size());
        for (size_t i = 0; i < schame.size(); ++i) {
            const TD2RGene& a = schame[i];
            const TD2RGene& b = s2[i];
            EXPECT_EQ(b.RawIndex, a.RawIndex);
            EXPECT_EQ(b.RawDbID, a.RawDbID);
            EXPECT_EQ(b.RawName, a.RawName);
            EXPECT_TRUE(same(b.RawPrice, a.RawPrice));
            EXPECT_TRUE(same(b.RawLength, a.RawLength));
            EXPECT_TRUE(same(b.RawWidth, a.RawWidth));
            EXPECT_EQ(b.RawCount, a.RawCount);
            EXPECT_TRUE(same(b.EleArea, a.EleArea));
            EXPECT_TRUE(same(b.maxBin, a.maxBin));
            ASSERT_EQ(b.EleList.size(), a.EleList.size());
            for (size_t j = 0; j < a.EleList.size(); ++j) {
                EXPECT_EQ(b.EleList[j].eIndex, a.EleList[j].eIndex);
                EXPECT_EQ(b.EleList[j].XH, a.EleList[j].XH);
                EXPECT_EQ(b.EleList[j].Name, a.EleList[j].Name);
                EXPECT_EQ(b.EleList[j].Demo, a.EleList[j].Demo);
                EXPECT_TRUE(same(b.EleList[j].px, a.EleList[j].px));
                EXPECT_TRUE(same(b.EleList[j].py, a.EleList[j].py));
                EXPECT_TRUE(same(b.EleList[j].Length, a.EleList[j].Length));
                EXPECT_TRUE(same(b.EleList[j].Width, a.EleList[j].Width));
            }
            ASSERT_EQ(b.RectArr.size(), a.RectArr.size());
            for (size_t j = 0; j < a.RectArr.size(); ++j) {
                EXPECT_TRUE(same(b.RectArr[j].px, a.RectArr[j].px));
                EXPECT_TRUE(same(b.RectArr[j].py, a.RectArr[j].py));
                EXPECT_NEAR(b.RectArr[j].Length, a.RectArr[j].Length, 0.05 + 1e-9);
                EXPECT_NEAR(b.RectArr[j].Width, a.RectArr[j].Width, 0.05 + 1e-9);
            }
        }
        // Writing what was read gives the same text again.
        for (auto& raw : r2) raw.XH = raws[&raw - r2.data()].XH;
        EXPECT_EQ(LayoutDocumentText(r2, e2, p2, s2), text);
    }
}

struct Damage {
    const char* label;
    const char* from;  // text replaced in the small document ("" = whole document)
    const char* to;
    const char* inMessage;        // must appear in the error
    const char* from2 = nullptr;  // an optional second replacement
    const char* to2 = nullptr;
};

void PrintTo(const Damage& d, std::ostream* os) { *os << d.label; }

const Damage kDamages[] = {
    {"notXml", "", "this is not xml", "does not parse"},
    {"truncated", "</FPB></FYS></KELM>", "</FPB></FY", "does not parse"},
    {"empty", "", "", "does not parse"},
    {"otherRoot", "", "<?xml version=\"1.0\"?><ROOT/>", "root element is not KELM"},
    {"rootAttribute", " wucha=\"3\"", "", "KELM: attribute wucha is missing"},
    {"rootNumber", "BladeWidth=\"4.5\"", "BladeWidth=\"4,5\"", "KELM: attribute BladeWidth"},
    {"rawAttribute", " PRC=\"85.5\" PRI", " PRI", "RW 1: attribute PRC is missing"},
    {"partCount", "EC=\"4\"", "EC=\"four\"", "ELE 1: attribute EC \"four\" is not an integer"},
    {"placedPart", "PX=\"724.5\"", "PX=\"abc\"", "EL 2: attribute PX \"abc\" is not a number"},
    {"leftover", " RW=\"560.3\" />", " />", "RCT 1: attribute RW is missing"},
    // Lists are found by position: an extra list before FYS is read as the scheme.
    {"extraList", "<FYS>", "<XX><Y/></XX><FYS>", "KELM / XX / Y 1: attribute RI is missing"},
    {"noSchemeList", "<FYS>", "<!--", "child 3 (FYS) is missing", "</FYS>", "-->"},
    {"noLeftoverList", "<RCTLST><RCT PX=\"0\" PY=\"565\" RL=\"1000.0\" RW=\"560.3\" /></RCTLST>",
     "", "RCTLST) is missing"},
    // Counts outside 1 (0 for a part type) to the stock limit would overflow the sums of
    // the statistics.
    {"layoutCountNegative", "RC=\"2\"", "RC=\"-2147483648\"",
     "FPB 1: attribute RC \"-2147483648\" is not a count from 1 to 99999999"},
    {"layoutCountZero", "RC=\"2\"", "RC=\"0\"", "FPB 1: attribute RC \"0\" is not a count"},
    {"rawCountAboveStock", "RC=\"99999999\"", "RC=\"2147483647\"",
     "RW 1: attribute RC \"2147483647\" is not a count from 1 to 99999999"},
    {"partCountNegative", "EC=\"4\"", "EC=\"-1\"",
     "ELE 1: attribute EC \"-1\" is not a count from 0 to 99999999"},
};

class DamagedDocument : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedDocument, RaisesAnErrorNamingWhatFailedAndChangesNothing) {
    const Damage& d = GetParam();
    QString text = QString::fromUtf8(kSmallText);
    if (!*d.from) {
        text = QString::fromUtf8(d.to);
    } else {
        ASSERT_TRUE(text.contains(QString::fromUtf8(d.from)));
        text.replace(QString::fromUtf8(d.from), QString::fromUtf8(d.to));
        if (d.from2) text.replace(QString::fromUtf8(d.from2), QString::fromUtf8(d.to2));
    }
    TD2RRawArr raws(1);
    TD2REleArr eles;
    TD2RSchame schame(2);
    TD2RPrm prm;
    prm.BladeWidth = 9;
    try {
        ReadLayoutDocument(text, raws, eles, schame, prm);
        FAIL() << "no error for " << d.label;
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(d.inMessage), std::string::npos) << e.what();
    }
    EXPECT_EQ(raws.size(), 1u);
    EXPECT_TRUE(eles.empty());
    EXPECT_EQ(schame.size(), 2u);
    EXPECT_EQ(prm.BladeWidth, 9);
}

TEST(ReadLayoutDocument, DeepNestingIsRefusedBeforeParsing) {
    // The document is five elements deep; a text nested thousands deep is damaged.
    const int depth = 3000;
    QString text = QString::fromUtf8(kSmallText);
    text.replace(QStringLiteral("<RCTLST>"),
                 QStringLiteral("<RCTLST>") + QStringLiteral("<a>").repeated(depth) +
                     QStringLiteral("</a>").repeated(depth));
    TD2RRawArr raws;
    TD2REleArr eles;
    TD2RSchame schame;
    TD2RPrm prm;
    try {
        ReadLayoutDocument(text, raws, eles, schame, prm);
        FAIL() << "a document nested 3000 deep was read";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("nested deeper than 32"), std::string::npos)
            << e.what();
    }
    EXPECT_TRUE(schame.empty());
}

TEST(ReadLayoutDocument, PartTypeWithoutPiecesStaysReadable) {
    QString text = QString::fromUtf8(kSmallText);
    text.replace(QStringLiteral("EC=\"4\""), QStringLiteral("EC=\"0\""));
    TD2RRawArr raws;
    TD2REleArr eles;
    TD2RSchame schame;
    TD2RPrm prm;
    ASSERT_NO_THROW(ReadLayoutDocument(text, raws, eles, schame, prm));
    EXPECT_EQ(eles.at(0).Count, 0);
}

INSTANTIATE_TEST_SUITE_P(Doc, DamagedDocument, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
