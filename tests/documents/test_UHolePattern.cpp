// Hole patterns: rule lookup, the documents of each board type, the stored form, and
// damaged rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "documents/UHolePattern.h"
#include "documents/UnitEncrypTo.h"

namespace {

FKW Rule(double minV, double maxV, const QString& positions) {
    FKW r;
    r.minV = minV;
    r.maxV = maxV;
    r.kwStr = positions;
    return r;
}

// 0..300: one hole at 32; 300..600: holes at 32 and 288.
FPKBZ StandardRules() {
    return {Rule(0, 300, QStringLiteral("32")), Rule(300, 600, QStringLiteral("32,288"))};
}

FBC Board(FBCType type, double x1, double y1, double x2, double y2, double z, double d) {
    FBC bc;
    bc.BCType = type;
    bc.Pos = FPos{x1, y1, x2, y2, z};
    bc.D = d;
    bc.Cl.Thick = 18;
    bc.Cl.DbID = QStringLiteral("7");
    return bc;
}

FCabinet CabinetOf(const std::vector<FBC>& boards) {
    FCabinet cab(600, 550, 720, QStringLiteral("T"));
    cab.SetBCS(boards);
    return cab;
}

const QString kHead = QStringLiteral("<?xml version=\"1.0\" encoding=\"gb2312\"?>");

QString Doc(const QString& l, const QString& w, const QString& t, const QString& holes) {
    return kHead + QStringLiteral("<pz l=\"%1\" w=\"%2\" t=\"%3\"><kw>").arg(l, w, t) + holes +
           QStringLiteral("</kw><kc></kc></pz>");
}

// Face hole of a horizontal joining board: one space before f.
QString K1(const char* x, const char* y, const char* f) {
    return QStringLiteral("<k x=\"%1\" y=\"%2\" f=\"%3\" desc=\"\" />").arg(x, y, f);
}
// Every other hole: two spaces before f.
QString K2(const char* x, const char* y, const char* f) {
    return QStringLiteral("<k x=\"%1\" y=\"%2\"  f=\"%3\" desc=\"\" />").arg(x, y, f);
}

// ---- rule lookup ----

struct LookupCase {
    double size;
    std::vector<double> expected;
};

TEST(FHoleRules, FirstRuleCoveringTheSizeGivesThePositions) {
    // The third rule overlaps the second; list order decides.
    const FHoleRules rules({Rule(0, 300, QStringLiteral("32")),
                            Rule(300, 600, QStringLiteral(" 32 , 288 ")),
                            Rule(250, 700, QStringLiteral("1,2.5,3"))});
    const LookupCase cases[] = {
        {0, {32}},            // minV is inside the range
        {299.9, {32}},        //
        {300, {32, 288}},     // a size equal to maxV uses the next rule
        {599.99, {32, 288}},  //
        {600, {1, 2.5, 3}},   // only the overlapping rule covers it
        {700, {}},            // equal to the last maxV: no rule
        {-1, {}},             // below every rule
    };
    for (const LookupCase& c : cases)
        EXPECT_EQ(rules.Positions(c.size), c.expected) << "size " << c.size;
}

TEST(FHoleRules, NoRulesNoPositions) {
    EXPECT_TRUE(FHoleRules().Positions(300).empty());
    EXPECT_TRUE(FHoleRules(FPKBZ{Rule(0, 300, QStringLiteral("  "))}).Positions(10).empty());
}

TEST(FHoleRules, AnEntryThatIsNotANumberFailsWhenTheRuleIsUsed) {
    const char* damaged[] = {"32,abc", "32,,64", "32,", "nan", "inf", "32;64", "3 2"};
    for (const char* text : damaged) {
        const FHoleRules rules(
            {Rule(0, 300, QString::fromUtf8(text)), Rule(300, 600, QStringLiteral("32,288"))});
        EXPECT_THROW(rules.Positions(100), EHolePatternError) << text;
        // Sizes covered by sound rules are not affected.
        EXPECT_EQ(rules.Positions(400), (std::vector<double>{32, 288})) << text;
    }
    const FHoleRules rules({Rule(0, 300, QStringLiteral("32,abc"))});
    try {
        rules.Positions(1);
        FAIL() << "no error";
    } catch (const EHolePatternError& e) {
        EXPECT_NE(std::string(e.what()).find("abc"), std::string::npos) << e.what();
    }
}

// ---- documents ----

struct DocCase {
    const char* name;
    std::vector<FBC> boards;
    std::size_t board;  // the board whose document is built
    QString expected;
};

std::vector<DocCase> DocCases() {
    const FBC left = Board(FBCType::CeBanLeft, 0, 0, 18, 720, 0, 550);
    const FBC right = Board(FBCType::CeBanRight, 582, 0, 600, 720, 0, 550);
    const FBC shelf = Board(FBCType::CengBan, 18, 351, 582, 369, 0, 518);
    FBC shelfSetBack = shelf;
    shelfSetBack.Pos.Z = 20;
    const FBC partition = Board(FBCType::GeBan, 291, 18, 309, 702, 0, 518);
    const FBC bottom = Board(FBCType::DiBan, 18, 702, 582, 720, 0, 518);
    const FBC top = Board(FBCType::DingBan, 18, 0, 582, 18, 0, 518);
    const FBC upright = Board(FBCType::ShuBan, 18, 18, 582, 702, 100, 18);
    // An upright ending against the partition's right face, 200 high, from y 50.
    const FBC uprightAtPartition = Board(FBCType::ShuBan, 309, 50, 582, 250, 100, 18);
    // A shelf ending against the partition's left face.
    const FBC shelfAtPartition = Board(FBCType::CengBan, 18, 351, 291, 369, 0, 518);
    const FBC back = Board(FBCType::BeiBan, 18, 18, 582, 702, 532, 18);

    return {
        {"shelf between two side boards: end holes only",
         {left, right, shelf},
         2,
         Doc("L", "W", "T",
             K2("33", "32", "L") + K2("33", "288", "L") + K2("531", "32", "R") +
                 K2("531", "288", "R"))},
        {"left side board with that shelf at height 360",
         {left, right, shelf},
         0,
         Doc("L", "W", "T", K1("32", "360", "M") + K1("288", "360", "M"))},
        {"face holes in cabinet depth coordinates",
         {left, shelfSetBack},
         0,
         Doc("L", "W", "T", K1("52", "360", "M") + K1("308", "360", "M"))},
        {"side board without joins", {left}, 0, Doc("L", "W", "T", QString())},
        {"upright of height 684, no rule covers it",
         {left, upright},
         1,
         Doc("L", "W", "T", QString())},
        {"partition: joins, then top and bottom end holes",
         {partition, shelfAtPartition, uprightAtPartition},
         0,
         Doc("L", "W", "T",
             K1("32", "342", "M") + K1("288", "342", "M") + K2("109", "64", "M") +
                 K2("32", "33", "T") + K2("288", "33", "T") + K2("32", "651", "B") +
                 K2("288", "651", "B"))},
        {"bottom board with a partition standing on it",
         {left, partition, bottom},
         2,
         Doc("L", "W", "T",
             K1("282", "32", "M") + K1("282", "288", "M") + K2("33", "32", "L") +
                 K2("33", "288", "L") + K2("531", "32", "R") + K2("531", "288", "R"))},
        {"top board with a partition hanging from it",
         {top, partition},
         0,
         Doc("L", "W", "T",
             K1("282", "32", "M") + K1("282", "288", "M") + K2("33", "32", "L") +
                 K2("33", "288", "L") + K2("531", "32", "R") + K2("531", "288", "R"))},
        {"upright 200 high: end holes along its height",
         {uprightAtPartition},
         0,
         Doc("L", "W", "T", K2("33", "32", "L") + K2("240", "32", "R"))},
        {"back board: no document", {left, back}, 1, QString()},
    };
}

TEST(BuildHolePattern, DocumentsOfEachBoardType) {
    const FHoleRules rules(StandardRules());
    for (const DocCase& c : DocCases()) {
        const FCabinet cab = CabinetOf(c.boards);
        const QString doc = BuildHolePattern(cab, cab.BCS()[c.board], rules, QStringLiteral("L"),
                                             QStringLiteral("W"), QStringLiteral("T"));
        EXPECT_EQ(doc, c.expected) << c.name << "\n got: " << doc.toStdString();
    }
}

TEST(BuildHolePattern, SizeTextsAreCopiedAsGiven) {
    const FCabinet cab = CabinetOf({Board(FBCType::ShuBan, 0, 0, 600, 684, 0, 18)});
    const QString doc =
        BuildHolePattern(cab, cab.BCS()[0], FHoleRules(StandardRules()), QStringLiteral("684.0"),
                         QStringLiteral("562.0"), QStringLiteral("18.5"));
    EXPECT_EQ(doc, Doc("684.0", "562.0", "18.5", QString()));
}

TEST(BuildHolePattern, FractionalPositionsInGeneralNumberForm) {
    const FCabinet cab = CabinetOf({Board(FBCType::CengBan, 0.5, 0, 100.25, 18, 0, 400)});
    const QString doc =
        BuildHolePattern(cab, cab.BCS()[0], FHoleRules({Rule(0, 1000, QStringLiteral("32.5"))}),
                         QStringLiteral("L"), QStringLiteral("W"), QStringLiteral("T"));
    EXPECT_EQ(doc, Doc("L", "W", "T", K2("33", "32.5", "L") + K2("66.75", "32.5", "R")));
}

TEST(BuildHolePattern, StoredFormIsScrambledWithTheHolePatternKey) {
    const FHoleRules rules(StandardRules());
    const FCabinet cab = CabinetOf(DocCases()[0].boards);
    const QString plain = BuildHolePattern(cab, cab.BCS()[2], rules, "518.0", "564.0", "18");
    const QString stored = BuildStoredHolePattern(cab, cab.BCS()[2], rules, "518.0", "564.0", "18");
    EXPECT_EQ(stored, TEncrypXML::EncrypStr(plain, QStringLiteral("tzrq")));
    EXPECT_EQ(TEncrypXML::UncrypStr(stored, QStringLiteral("tzrq")), plain);

    const FCabinet withBack = CabinetOf({Board(FBCType::BeiBan, 0, 0, 564, 684, 532, 18)});
    EXPECT_EQ(BuildStoredHolePattern(withBack, withBack.BCS()[0], rules, "684.0", "562.0", "18"),
              QString());
}

TEST(BuildHolePattern, DamagedRuleInUseFailsTheDocument) {
    const FCabinet cab = CabinetOf({Board(FBCType::CengBan, 18, 351, 582, 369, 0, 518)});
    const FHoleRules damaged({Rule(300, 600, QStringLiteral("32,x"))});
    EXPECT_THROW(BuildHolePattern(cab, cab.BCS()[0], damaged, "L", "W", "T"), EHolePatternError);
    // A back board needs no rule and is not affected.
    const FCabinet withBack = CabinetOf({Board(FBCType::BeiBan, 0, 0, 564, 684, 532, 18)});
    EXPECT_EQ(BuildHolePattern(withBack, withBack.BCS()[0], damaged, "L", "W", "T"), QString());
}

TEST(HasHolePattern, EveryTypeButBackAndDoorPanels) {
    const FBCType with[] = {FBCType::CeBanLeft, FBCType::CeBanRight, FBCType::GeBan,
                            FBCType::DingBan,   FBCType::CengBan,    FBCType::DiBan,
                            FBCType::ShuBan};
    for (FBCType t : with) EXPECT_TRUE(HasHolePattern(t)) << static_cast<int>(t);
    EXPECT_FALSE(HasHolePattern(FBCType::BeiBan));
    EXPECT_FALSE(HasHolePattern(FBCType::MenBan));
}

}  // namespace
