// Reading cabinet documents: the example, round trips of random designs, defaults for
// optional attributes, and errors (not crashes) for damaged documents.
#include <gtest/gtest.h>

#include <random>

#include "cabinet/CabinetTestUtil.h"
#include "cabinet/RandomCabinet.h"
#include "documents/UXmlOpen.h"
#include "documents/UXmlSave.h"
#include "documents/UnitEncrypTo.h"

namespace {

const QString kKey = QStringLiteral("qorvt");

const QString kExample = QStringLiteral(
    "<?xml version=\"1.0\" encoding=\"gb2312\"?><cbs W=\"600\" D=\"550\" H=\"720\" ><regs><reg "
    "L=\"0\" T=\"0\" R=\"600\" B=\"720\" Z=\"0\" D=\"550\" /></regs><cabs>"
    "<cabinet W=\"600\" D=\"550\" H=\"720\" Index=\"0\" Name=\"A01-1\" ><regs><reg L=\"0\" T=\"0\" "
    "R=\"600\" B=\"720\" Z=\"0\" D=\"550\" /><reg L=\"18\" T=\"0\" R=\"600\" B=\"720\" Z=\"0\" "
    "D=\"550\" /></regs>"
    "<bcs><bc regIndex=\"0\" D=\"550\" Shape=\"R\" BCType=\"CeBanLeft\" Flag=\"1\" WL=\"0\" ><pos "
    "X1=\"0\" Y1=\"0\" X2=\"18\" Y2=\"720\" Z=\"0\" /><Edge L=\"0\" R=\"0\" T=\"0\" B=\"0\" "
    "Q=\"0\" H=\"0\" /><FB L=\"0\" R=\"0\" T=\"0\" B=\"0\" Q=\"0\" H=\"0\" /><cl DbID=\"7\" "
    "Name=\"侧板\" Thick=\"18\" /></bc></bcs>"
    "<cts></cts><mbs></mbs><objs><obj index=\"0\" objType=\"1\" /></objs></cabinet></cabs></cbs>");

TEST(FXmlOpen, ReadsTheExampleDocument) {
    auto cbs = FXmlOpen::OpenXml(TEncrypXML::EncrypStr(kExample, kKey));
    ASSERT_NE(cbs, nullptr);
    EXPECT_EQ(cbs->W(), 600);
    EXPECT_EQ(cbs->D(), 550);
    EXPECT_EQ(cbs->H(), 720);
    EXPECT_EQ(cbs->SelIndex(), -1);
    EXPECT_EQ(cbs->Regions(), (FRegions{{0, 0, 600, 720, 0, 550}}));
    ASSERT_EQ(cbs->CBS().size(), 1u);
    const FCabinet& cab = *cbs->CBS()[0];

    FCabinet expected(600, 550, 720, QStringLiteral("A01-1"));
    expected.AddCeBan(0, FShape::R, FEdge{},
                      MakeCl(18, QStringLiteral("侧板"), QStringLiteral("7")),
                      QStringLiteral("Left"), FFengB{}, QStringLiteral("0"));
    ExpectSameCabinet(cab, expected);
    // And it writes back byte for byte.
    EXPECT_EQ(FXmlSave::BuildXml(*cbs), kExample);
}

TEST(FXmlOpen, EmptyCabinetReadsBackEmpty) {
    FCabs cbs(600, 550, 720);
    cbs.AddCabinet(0, std::make_unique<FCabinet>(600, 550, 720, QStringLiteral("空柜")));
    auto back = FXmlOpen::OpenXml(FXmlSave::BuildStoredXml(cbs));
    ASSERT_EQ(back->CBS().size(), 1u);
    ExpectSameCabinet(*back->CBS()[0], *cbs.CBS()[0]);
    EXPECT_EQ(back->CBS()[0]->Regions().size(), 1u);
}

// Combinations of random designs survive writing and reading to 15 significant
// digits, and writing the result again gives the same text.
TEST(FXmlOpen, RoundTripOfRandomDesigns) {
    std::mt19937 rng(4242);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        FCabs cbs(2400.25, 600, 2200.0 / 3);
        cbs.AddSplit(0, 1000.0 / 7, 0, QStringLiteral("2"));
        cbs.AddSplit(1, 0, 1000, QStringLiteral("1"));
        const int cabinets = 1 + static_cast<int>(rng() % 3);
        for (int i = 0; i < cabinets; ++i) {
            auto cab = std::make_unique<FCabinet>(RandomCabinet(
                rng, static_cast<int>(rng() % 25), QStringLiteral("柜%1 \"<&>\"").arg(i)));
            cbs.AddCabinet(static_cast<int>(rng() % 3), std::move(cab));
        }
        const QString stored = FXmlSave::BuildStoredXml(cbs);
        auto back = FXmlOpen::OpenXml(stored);
        KELM_EXPECT_NEAR15(back->W(), cbs.W(), "W");
        KELM_EXPECT_NEAR15(back->H(), cbs.H(), "H");
        ASSERT_EQ(back->Regions().size(), cbs.Regions().size());
        for (std::size_t r = 0; r < cbs.Regions().size(); ++r) {
            KELM_EXPECT_NEAR15(back->Regions()[r].Left, cbs.Regions()[r].Left, "frame region");
            KELM_EXPECT_NEAR15(back->Regions()[r].Bottom, cbs.Regions()[r].Bottom, "frame region");
        }
        ASSERT_EQ(back->CBS().size(), cbs.CBS().size());
        for (std::size_t i = 0; i < cbs.CBS().size(); ++i)
            ExpectNearCabinet(*back->CBS()[i], *cbs.CBS()[i]);
        EXPECT_EQ(FXmlSave::BuildStoredXml(*back), stored);
    }
}

TEST(FXmlOpen, NamesSurviveWithReservedAndChineseCharacters) {
    for (const QString& name :
         {QStringLiteral("A&B \"1\""), QStringLiteral("厨房吊柜<左>"),
          QStringLiteral("tab\there\nnew line"), QStringLiteral("𠀀 outside GBK ∮")}) {
        FCabs cbs(600, 550, 720);
        auto cab = std::make_unique<FCabinet>(600, 550, 720, name);
        cab->AddDKM(0, FEdge{}, MakeCl(18, name, QStringLiteral("&7")), 1, QStringLiteral("\"2\""));
        cbs.AddCabinet(0, std::move(cab));
        auto back = FXmlOpen::OpenXml(FXmlSave::BuildStoredXml(cbs));
        ASSERT_EQ(back->CBS().size(), 1u);
        EXPECT_EQ(back->CBS()[0]->Name(), name);
        EXPECT_EQ(back->CBS()[0]->MBS()[0].Cl.Name, name);
        EXPECT_EQ(back->CBS()[0]->MBS()[0].Cl.DbID, QStringLiteral("&7"));
        EXPECT_EQ(back->CBS()[0]->MBS()[0].LOrR, QStringLiteral("\"2\""));
    }
}

// Replaces one piece of the example text.
QString ExampleWith(const QString& from, const QString& to) {
    QString text = kExample;
    EXPECT_TRUE(text.contains(from)) << from.toStdString();
    text.replace(from, to);
    return text;
}

TEST(FXmlOpen, OptionalShapeAndKind) {
    const struct {
        const char* from;
        const char* to;
        FShape shape;
        FBCType type;
    } cases[] = {
        {"Shape=\"R\" ", "", FShape::R, FBCType::CeBanLeft},
        {"Shape=\"R\" ", "Shape=\"A4R\" ", FShape::A4R, FBCType::CeBanLeft},
        {"Shape=\"R\" ", "Shape=\"round\" ", FShape::R, FBCType::CeBanLeft},
        {"BCType=\"CeBanLeft\" ", "", FShape::R, FBCType::BeiBan},
        {"BCType=\"CeBanLeft\" ", "BCType=\"MenBan\" ", FShape::R, FBCType::BeiBan},
        {"BCType=\"CeBanLeft\" ", "BCType=\"DiBan\" ", FShape::R, FBCType::DiBan},
    };
    for (const auto& c : cases) {
        auto cbs =
            FXmlOpen::ReadXml(ExampleWith(QString::fromUtf8(c.from), QString::fromUtf8(c.to)));
        const FBC& bc = cbs->CBS()[0]->BCS()[0];
        EXPECT_EQ(bc.Shape, c.shape) << c.to;
        EXPECT_EQ(bc.BCType, c.type) << c.to;
    }
    // A board written as a door panel reads back as a back board.
    FCabs cbs(600, 550, 720);
    auto cab = std::make_unique<FCabinet>(600, 550, 720, QStringLiteral("M"));
    FBC bc;
    bc.BCType = FBCType::MenBan;
    cab->BCS().push_back(bc);
    cbs.AddCabinet(0, std::move(cab));
    EXPECT_EQ(FXmlOpen::ReadXml(FXmlSave::BuildXml(cbs))->CBS()[0]->BCS()[0].BCType,
              FBCType::BeiBan);
}

TEST(FXmlOpen, AttributesAreMatchedByNameElementsByPosition) {
    // Attribute order and spacing do not matter.
    auto cbs = FXmlOpen::ReadXml(
        ExampleWith(QStringLiteral("<cl DbID=\"7\" Name=\"侧板\" Thick=\"18\" />"),
                    QStringLiteral("<cl   Thick=\"18\"\tName=\"侧板\" DbID=\"7\"/>")));
    EXPECT_EQ(cbs->CBS()[0]->BCS()[0].Cl, MakeCl(18, QStringLiteral("侧板"), QStringLiteral("7")));
    // Element names do not matter either: the position says what an element is.
    auto renamed =
        FXmlOpen::ReadXml(ExampleWith(QStringLiteral("<cts></cts>"), QStringLiteral("<x></x>")));
    EXPECT_TRUE(renamed->CBS()[0]->CTS().empty());
}

// Damaged documents raise an error naming what failed; none crashes.
TEST(FXmlOpen, DamagedDocumentsRaiseErrors) {
    const struct {
        const char* what;
        QString text;
        const char* mentions;
    } cases[] = {
        {"truncated", kExample.left(kExample.size() / 2), "well-formed"},
        {"empty", QString(), "well-formed"},
        {"missing attribute", ExampleWith(QStringLiteral(" Thick=\"18\""), QString()), "Thick"},
        {"empty value",
         ExampleWith(QStringLiteral("<cbs W=\"600\""), QStringLiteral("<cbs W=\"\"")),
         "attribute W"},
        {"non-numeric real", ExampleWith(QStringLiteral("X2=\"18\""), QStringLiteral("X2=\"1,8\"")),
         "X2"},
        {"non-numeric integer",
         ExampleWith(QStringLiteral("Flag=\"1\""), QStringLiteral("Flag=\"1.5\"")), "Flag"},
        {"infinite", ExampleWith(QStringLiteral("Y2=\"720\""), QStringLiteral("Y2=\"inf\"")), "Y2"},
        {"missing child",
         ExampleWith(QStringLiteral("<cl DbID=\"7\" Name=\"侧板\" Thick=\"18\" />"), QString()),
         "cl"},
        {"missing list",
         ExampleWith(QStringLiteral("<objs><obj index=\"0\" objType=\"1\" /></objs>"), QString()),
         "objs"},
        {"no cabs",
         ExampleWith(QStringLiteral("<cabs>"), QStringLiteral("<!--"))
             .replace(QStringLiteral("</cabs>"), QStringLiteral("-->")),
         "cabs"},
        {"board region",
         ExampleWith(QStringLiteral("regIndex=\"0\""), QStringLiteral("regIndex=\"2\"")),
         "region 2"},
        {"log index",
         ExampleWith(QStringLiteral("<obj index=\"0\""), QStringLiteral("<obj index=\"1\"")),
         "index 1"},
        {"log type", ExampleWith(QStringLiteral("objType=\"1\""), QStringLiteral("objType=\"4\"")),
         "objType 4"},
        {"cabinet index", ExampleWith(QStringLiteral("Index=\"0\""), QStringLiteral("Index=\"1\"")),
         "Index 1"},
        {"not xml", QStringLiteral("hello"), "well-formed"},
    };
    for (const auto& c : cases) {
        try {
            FXmlOpen::ReadXml(c.text);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const EXmlDocumentError& e) {
            EXPECT_NE(std::string(e.what()).find(c.mentions), std::string::npos)
                << c.what << ": " << e.what();
        }
    }
    // The element is named in the message, too.
    try {
        FXmlOpen::ReadXml(ExampleWith(QStringLiteral(" WL=\"0\""), QString()));
        ADD_FAILURE() << "no error";
    } catch (const EXmlDocumentError& e) {
        EXPECT_STREQ(e.what(),
                     "cabinet document: element cbs/cabs[1]/cabinet[0]/bcs[1]/bc[0]: attribute WL "
                     "is missing")
            << e.what();
    }
}

TEST(FXmlOpen, DeeplyNestedAndHugeInputs) {
    QString deep = QStringLiteral("<cbs W=\"1\" D=\"1\" H=\"1\" >");
    for (int i = 0; i < 100000; ++i) deep += QStringLiteral("<a>");
    for (int i = 0; i < 100000; ++i) deep += QStringLiteral("</a>");
    deep += QStringLiteral("</cbs>");
    EXPECT_THROW(FXmlOpen::ReadXml(deep), EXmlDocumentError);
    EXPECT_THROW(
        FXmlOpen::ReadXml(ExampleWith(QStringLiteral("W=\"600\""), QStringLiteral("W=\"1e400\""))),
        EXmlDocumentError);
    EXPECT_THROW(FXmlOpen::ReadXml(ExampleWith(QStringLiteral("Index=\"0\""),
                                               QStringLiteral("Index=\"99999999999\""))),
                 EXmlDocumentError);
}

TEST(FXmlOpen, StoredTextThatDoesNotUnscramble) {
    for (const QString& bad : {QString(), QStringLiteral("Z1"), QStringLiteral("x")}) {
        EXPECT_THROW(FXmlOpen::OpenXml(bad), EXmlDocumentError) << bad.toStdString();
    }
    // Unscrambles, but into something that is not a document.
    EXPECT_THROW(FXmlOpen::OpenXml(QStringLiteral("00FFFF")), EXmlDocumentError);
    EXPECT_THROW(FXmlOpen::OpenXml(QStringLiteral("00")), EXmlDocumentError);
}

// Random and mutated inputs either read or raise EXmlDocumentError. Run this binary
// under AddressSanitizer to check memory safety as well.
TEST(FXmlOpen, FuzzedInputsNeverCrash) {
    std::mt19937 rng(777);
    FCabs cbs(1200, 550, 720);
    cbs.AddSplit(0, 600, 0, QStringLiteral("2"));
    cbs.AddCabinet(0, std::make_unique<FCabinet>(RandomCabinet(rng, 12, QStringLiteral("甲"))));
    cbs.AddCabinet(1, std::make_unique<FCabinet>(RandomCabinet(rng, 12, QStringLiteral("乙"))));
    const QString plain = FXmlSave::BuildXml(cbs);
    const QString stored = FXmlSave::BuildStoredXml(cbs);
    const QString alphabet = QStringLiteral("0123456789ABCDEFabcdefG<>/=\" &;x-.e");

    auto mutate = [&](QString s) {
        const int edits = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < edits && !s.isEmpty(); ++i) {
            const int at = static_cast<int>(rng() % static_cast<unsigned>(s.size()));
            switch (rng() % 4) {
                case 0:
                    s[at] = alphabet[static_cast<int>(rng() % alphabet.size())];
                    break;
                case 1:
                    s.remove(at, 1 + static_cast<int>(rng() % 8));
                    break;
                case 2:
                    s.insert(at, alphabet[static_cast<int>(rng() % alphabet.size())]);
                    break;
                default:
                    s.truncate(at);
                    break;
            }
        }
        return s;
    };
    // KELM_FUZZ_ITERATIONS lengthens the run for a sanitizer build.
    const int iterations = qEnvironmentVariableIntValue("KELM_FUZZ_ITERATIONS") > 0
                               ? qEnvironmentVariableIntValue("KELM_FUZZ_ITERATIONS")
                               : 1500;
    int read = 0, refused = 0;
    for (int i = 0; i < iterations; ++i) {
        const bool scrambled = i % 2 == 0;
        QString input;
        if (i % 10 == 9) {
            const int n = static_cast<int>(rng() % 64);
            for (int k = 0; k < n; ++k)
                input += alphabet[static_cast<int>(rng() % alphabet.size())];
        } else {
            input = mutate(scrambled ? stored : plain);
        }
        try {
            auto out = scrambled ? FXmlOpen::OpenXml(input) : FXmlOpen::ReadXml(input);
            ASSERT_NE(out, nullptr);
            ++read;
        } catch (const EXmlDocumentError&) {
            ++refused;
        }
    }
    EXPECT_EQ(read + refused, iterations);
    EXPECT_GT(refused, 0);
}

}  // namespace
