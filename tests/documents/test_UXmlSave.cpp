// Writing the cabinet document: templates byte for byte, number forms, escaping.
#include <gtest/gtest.h>

#include "cabinet/CabinetTestUtil.h"
#include "documents/UXmlSave.h"
#include "documents/UnitEncrypTo.h"

namespace {

// A cabinet named A01-1, 600 x 550 x 720, in a combination of the same size, holding
// one left side board of material 7.
FCabs ExampleCombination() {
    FCabs cbs(600, 550, 720);
    auto cab = std::make_unique<FCabinet>(600, 550, 720, QStringLiteral("A01-1"));
    cab->AddCeBan(0, FShape::R, FEdge{}, MakeCl(18, QStringLiteral("侧板"), QStringLiteral("7")),
                  QStringLiteral("Left"), FFengB{}, QStringLiteral("0"));
    cbs.AddCabinet(0, std::move(cab));
    return cbs;
}

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

TEST(FXmlSave, ExampleDocumentByteForByte) {
    EXPECT_EQ(FXmlSave::BuildXml(ExampleCombination()), kExample);
}

TEST(FXmlSave, StoredFormIsTheScrambledDocument) {
    const QString stored = FXmlSave::BuildStoredXml(ExampleCombination());
    EXPECT_EQ(stored, TEncrypXML::EncrypStr(kExample, QStringLiteral("qorvt")));
    EXPECT_EQ(TEncrypXML::UncrypStr(stored, QStringLiteral("qorvt")), kExample);
}

TEST(FXmlSave, EmptyListsAndNoCabinets) {
    FCabs cbs(1200.5, 550, 720);
    EXPECT_EQ(
        FXmlSave::BuildXml(cbs),
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"gb2312\"?><cbs W=\"1200.5\" D=\"550\" H=\"720\" >"
            "<regs><reg L=\"0\" T=\"0\" R=\"1200.5\" B=\"720\" Z=\"0\" D=\"550\" /></regs>"
            "<cabs></cabs></cbs>"));
    cbs.AddCabinet(0, std::make_unique<FCabinet>(1, 2, 3, QStringLiteral("E")));
    EXPECT_TRUE(FXmlSave::BuildXml(cbs).contains(
        QStringLiteral("</regs><bcs></bcs><cts></cts><mbs></mbs><objs></objs></cabinet>")));
}

// One element of each kind, compared with its template.
TEST(FXmlSave, ElementTemplates) {
    FCabinet cab(600, 550, 720, QStringLiteral("T"));
    cab.Regions().push_back(FRegion{18, 18, 582, 702, 0, 535});
    cab.AddChouTi(1, MakeCl(16, QStringLiteral("A"), QStringLiteral("3")),
                  MakeCl(5, QStringLiteral("B"), QStringLiteral("4")), QStringLiteral("抽屉1"), 35,
                  3, 350, 20, 21, 80);
    cab.AddDKM(1, MakeEdge(2, 1, 2, 2, 0.5, 0),
               MakeCl(18, QStringLiteral("左门扇"), QStringLiteral("9")), 2, QStringLiteral("1"));
    FFengB fb;
    fb.L = 1;
    fb.Q = 0.4;
    cab.AddBc(1, FShape::A4L, MakeEdge(0, 0, 0, 0, 20, 0), MakeCl(18, QStringLiteral("层板1")), 0,
              1000.0 / 3, QStringLiteral("1"), fb, QStringLiteral("1"));
    FBC door = cab.BCS()[0];
    door.BCType = FBCType::MenBan;
    cab.BCS().push_back(door);
    FCabs cbs(600, 550, 720);
    cbs.AddCabinet(0, std::make_unique<FCabinet>(cab));
    const QString xml = FXmlSave::BuildXml(cbs);

    const QString drawer = QStringLiteral(
        "<cts><bc regIndex=\"1\" D=\"350\"  Name=\"抽屉1\" W=\"35\"  H=\"3\"  E=\"20\" F=\"21\"  "
        "M=\"80\" >"
        "<pos X1=\"0.5\" Y1=\"18\" X2=\"599.5\" Y2=\"246\" Z=\"-16\" />"
        "<cl DbID=\"3\" Name=\"A\" Thick=\"16\" /><cl DbID=\"4\" Name=\"B\" Thick=\"5\" "
        "/></bc></cts>");
    EXPECT_TRUE(xml.contains(drawer)) << xml.toStdString();

    const QString leaf = QStringLiteral(
        "<mbs><bc regIndex=\"1\" D=\"18\" LOrR=\"1\" fm=\"2\" >"
        "<pos X1=\"20\" Y1=\"20\" X2=\"299\" Y2=\"700\" Z=\"0.5\" />"
        "<Edge L=\"2\" R=\"1\" T=\"2\" B=\"2\" Q=\"0.5\" H=\"0\" />"
        "<cl DbID=\"9\" Name=\"左门扇\" Thick=\"18\" /></bc></mbs>");
    EXPECT_TRUE(xml.contains(leaf)) << xml.toStdString();

    const QString shelf = QStringLiteral(
        "<bc regIndex=\"1\" D=\"515\" Shape=\"A4L\" BCType=\"CengBan\" Flag=\"0\" WL=\"1\" >"
        "<pos X1=\"18\" Y1=\"324.333333333333\" X2=\"582\" Y2=\"342.333333333333\" Z=\"20\" />"
        "<Edge L=\"0\" R=\"0\" T=\"0\" B=\"0\" Q=\"20\" H=\"0\" />"
        "<FB L=\"1\" R=\"0\" T=\"0\" B=\"0\" Q=\"0.4\" H=\"0\" />"
        "<cl DbID=\"7\" Name=\"层板1\" Thick=\"18\" /></bc>");
    EXPECT_TRUE(xml.contains(shelf)) << xml.toStdString();

    // A door panel board has no kind to name.
    EXPECT_TRUE(xml.contains(
        QStringLiteral("<bc regIndex=\"1\" D=\"515\" Shape=\"A4L\" Flag=\"0\" WL=\"1\" >")))
        << xml.toStdString();

    EXPECT_TRUE(
        xml.contains(QStringLiteral("<objs><obj index=\"0\" objType=\"2\" /><obj index=\"0\" "
                                    "objType=\"3\" /><obj index=\"0\" objType=\"1\" /></objs>")));
    EXPECT_FALSE(xml.contains(QLatin1Char('\n')));
}

TEST(FXmlSave, ReservedCharactersAreEscaped) {
    const struct {
        const char* name;
        const char* written;
    } cases[] = {{"A&B \"1\"", "A&amp;B &quot;1&quot;"},
                 {"<柜>", "&lt;柜&gt;"},
                 {"a\tb\nc\rd", "a&#9;b&#10;c&#13;d"},
                 {"x\x01y\x1fz", "xyz"},
                 {"plain 'quote'", "plain 'quote'"}};
    for (const auto& c : cases) {
        FCabs cbs(600, 550, 720);
        cbs.AddCabinet(0, std::make_unique<FCabinet>(600, 550, 720, QString::fromUtf8(c.name)));
        EXPECT_TRUE(FXmlSave::BuildXml(cbs).contains(
            QStringLiteral("Name=\"%1\" >").arg(QString::fromUtf8(c.written))))
            << c.name;
    }
}

}  // namespace
