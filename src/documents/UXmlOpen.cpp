#include "documents/UXmlOpen.h"

#include <QDomDocument>
#include <QDomElement>
#include <cmath>
#include <vector>

#include "common/NumberFormat.h"
#include "common/XmlText.h"
#include "documents/UXmlSave.h"
#include "documents/UnitEncrypTo.h"

namespace {

[[noreturn]] void Fail(const QString& where, const QString& what) {
    throw EXmlDocumentError(
        QStringLiteral("cabinet document: element %1: %2").arg(where, what).toStdString());
}

// An element together with its path in the document, for error messages.
struct Node {
    QDomElement el;
    QString path;

    Node At(const QDomElement& child, int i) const {
        return Node{child, path + QStringLiteral("/%1[%2]").arg(child.tagName()).arg(i)};
    }

    std::vector<Node> Children() const {
        std::vector<Node> out;
        int i = 0;
        for (QDomElement c = el.firstChildElement(); !c.isNull(); c = c.nextSiblingElement(), ++i)
            out.push_back(At(c, i));
        return out;
    }

    // Walks to the one child wanted instead of building every child's node.
    Node Child(int index, const char* expected) const {
        int i = 0;
        for (QDomElement c = el.firstChildElement(); !c.isNull(); c = c.nextSiblingElement(), ++i)
            if (i == index) return At(c, i);
        Fail(path,
             QStringLiteral("child %1 (%2) is missing").arg(index).arg(QLatin1String(expected)));
    }

    QString Text(const char* name) const {
        const QString attr = QString::fromLatin1(name);
        if (!el.hasAttribute(attr)) Fail(path, QStringLiteral("attribute %1 is missing").arg(attr));
        return el.attribute(attr);
    }

    double Real(const char* name) const {
        const QString text = Text(name);
        double value = 0;
        if (!kelm::ParseNumber(text, value) || !std::isfinite(value))
            Fail(path, QStringLiteral("attribute %1 is not a number: \"%2\"")
                           .arg(QString::fromLatin1(name), text.left(40)));
        return value;
    }

    int Integer(const char* name) const {
        const QString text = Text(name);
        bool ok = false;
        const int value = text.trimmed().toInt(&ok);
        if (!ok)
            Fail(path, QStringLiteral("attribute %1 is not a whole number: \"%2\"")
                           .arg(QString::fromLatin1(name), text.left(40)));
        return value;
    }
};

template <typename T, typename Reader>
std::vector<T> ReadList(const Node& list, Reader read) {
    std::vector<T> out;
    for (const Node& n : list.Children()) out.push_back(read(n));
    return out;
}

FRegion ReadRegion(const Node& n) {
    return FRegion{n.Real("L"), n.Real("T"), n.Real("R"), n.Real("B"), n.Real("Z"), n.Real("D")};
}

FRegions ReadRegions(const Node& list) { return ReadList<FRegion>(list, ReadRegion); }

FPos ReadPos(const Node& n) {
    return FPos{n.Real("X1"), n.Real("Y1"), n.Real("X2"), n.Real("Y2"), n.Real("Z")};
}

template <typename Six>
Six ReadSix(const Node& n) {
    Six s;
    s.L = n.Real("L");
    s.R = n.Real("R");
    s.T = n.Real("T");
    s.B = n.Real("B");
    s.Q = n.Real("Q");
    s.H = n.Real("H");
    return s;
}

FCl ReadCl(const Node& n) {
    FCl cl;
    cl.DbID = n.Text("DbID");
    cl.Name = n.Text("Name");
    cl.Thick = n.Real("Thick");
    return cl;
}

FBC ReadBoard(const Node& n) {
    FBC bc;
    bc.regIndex = n.Integer("regIndex");
    bc.D = n.Real("D");
    // Shape and kind are optional: an outline that is not named is a rectangle, a kind
    // that is not named (a door panel) reads as a back board.
    bc.Shape = FShapeFromName(n.el.attribute(QStringLiteral("Shape"))).value_or(FShape::R);
    bc.BCType = FBCTypeFromName(n.el.attribute(QStringLiteral("BCType"))).value_or(FBCType::BeiBan);
    bc.Flag = n.Integer("Flag");
    bc.WL = n.Text("WL");
    bc.Pos = ReadPos(n.Child(0, "pos"));
    bc.Edge = ReadSix<FEdge>(n.Child(1, "Edge"));
    bc.FB = ReadSix<FFengB>(n.Child(2, "FB"));
    bc.Cl = ReadCl(n.Child(3, "cl"));
    return bc;
}

FChTi ReadDrawer(const Node& n) {
    FChTi ct;
    ct.regIndex = n.Integer("regIndex");
    ct.W = n.Integer("W");
    ct.H = n.Integer("H");
    ct.D = n.Integer("D");
    ct.E = n.Integer("E");
    ct.F = n.Integer("F");
    ct.M = n.Integer("M");
    ct.Name = n.Text("Name");
    ct.Pos = ReadPos(n.Child(0, "pos"));
    ct.ACl = ReadCl(n.Child(1, "cl"));
    ct.BCl = ReadCl(n.Child(2, "cl"));
    return ct;
}

FMB ReadDoor(const Node& n) {
    FMB mb;
    mb.regIndex = n.Integer("regIndex");
    mb.fm = n.Integer("fm");
    mb.D = n.Real("D");
    mb.LOrR = n.Text("LOrR");
    mb.Pos = ReadPos(n.Child(0, "pos"));
    mb.Edge = ReadSix<FEdge>(n.Child(1, "Edge"));
    mb.Cl = ReadCl(n.Child(2, "cl"));
    return mb;
}

FRC ReadObj(const Node& n) { return FRC{n.Integer("index"), n.Integer("objType")}; }

// Every element must name a region the cabinet has, and every log entry an element
// of its list: the drawing, the panel list and the replay index the lists by them.
void CheckIndexes(const FCabinet& cab, const Node& n) {
    const int regions = static_cast<int>(cab.Regions().size());
    auto checkRegion = [&](int index, const QString& what) {
        if (index < 0 || index >= regions)
            Fail(n.path, QStringLiteral("%1 names region %2, which the cabinet does not have")
                             .arg(what)
                             .arg(index));
    };
    for (std::size_t i = 0; i < cab.BCS().size(); ++i)
        checkRegion(cab.BCS()[i].regIndex, QStringLiteral("board %1 regIndex").arg(i));
    for (std::size_t i = 0; i < cab.CTS().size(); ++i)
        checkRegion(cab.CTS()[i].regIndex, QStringLiteral("drawer %1 regIndex").arg(i));
    for (std::size_t i = 0; i < cab.MBS().size(); ++i)
        checkRegion(cab.MBS()[i].regIndex, QStringLiteral("door %1 regIndex").arg(i));
    for (std::size_t i = 0; i < cab.OBJS().size(); ++i) {
        const FRC& obj = cab.OBJS()[i];
        std::size_t count = 0;
        switch (obj.ObjType) {
            case ObjBoard:
                count = cab.BCS().size();
                break;
            case ObjDrawer:
                count = cab.CTS().size();
                break;
            case ObjDoor:
                count = cab.MBS().size();
                break;
            default:
                Fail(n.path,
                     QStringLiteral("obj %1 objType %2 is not 1, 2 or 3").arg(i).arg(obj.ObjType));
        }
        if (obj.index < 0 || static_cast<std::size_t>(obj.index) >= count)
            Fail(n.path, QStringLiteral("obj %1 index %2 names no element").arg(i).arg(obj.index));
    }
}

std::unique_ptr<FCabinet> ReadCabinet(const Node& n, int combinationRegions, int& index) {
    const double w = n.Real("W");
    const double d = n.Real("D");
    const double h = n.Real("H");
    index = n.Integer("Index");
    if (index < 0 || index >= combinationRegions)
        Fail(n.path,
             QStringLiteral("attribute Index %1 names no region of the combination").arg(index));
    auto cab = std::make_unique<FCabinet>(w, d, h, n.Text("Name"));
    cab->SetRegions(ReadRegions(n.Child(0, "regs")));
    cab->SetBCS(ReadList<FBC>(n.Child(1, "bcs"), ReadBoard));
    cab->SetCTS(ReadList<FChTi>(n.Child(2, "cts"), ReadDrawer));
    cab->SetMBS(ReadList<FMB>(n.Child(3, "mbs"), ReadDoor));
    cab->SetOBJS(ReadList<FRC>(n.Child(4, "objs"), ReadObj));
    CheckIndexes(*cab, n);
    return cab;
}

// The document is six elements deep; a text nested far deeper is damaged and is
// refused before the parser spends time on it.
void CheckNesting(const QString& text) {
    constexpr int kMaxDepth = 32;
    if (const qint64 line = kelm::LineNestedDeeperThan(text, kMaxDepth))
        throw EXmlDocumentError(
            QStringLiteral("cabinet document: elements nested deeper than %1 at line %2")
                .arg(kMaxDepth)
                .arg(line)
                .toStdString());
}

}  // namespace

std::unique_ptr<FCabs> FXmlOpen::ReadXml(const QString& _plain) {
    CheckNesting(_plain);
    QDomDocument doc;
    QString message;
    int line = 0, column = 0;
    if (!doc.setContent(_plain, &message, &line, &column))
        throw EXmlDocumentError(
            QStringLiteral("cabinet document is not well-formed XML: %1 at line %2, column %3")
                .arg(message)
                .arg(line)
                .arg(column)
                .toStdString());
    const QDomElement rootEl = doc.documentElement();
    if (rootEl.isNull()) throw EXmlDocumentError("cabinet document has no root element");
    const Node root{rootEl, rootEl.tagName()};

    auto cbs = std::make_unique<FCabs>(root.Real("W"), root.Real("D"), root.Real("H"));
    cbs->SetRegions(ReadRegions(root.Child(0, "regs")));
    const int regions = static_cast<int>(cbs->Regions().size());
    for (const Node& n : root.Child(1, "cabs").Children()) {
        int index = 0;
        std::unique_ptr<FCabinet> cab = ReadCabinet(n, regions, index);
        cbs->AddCabinet(index, std::move(cab));
    }
    return cbs;
}

std::unique_ptr<FCabs> FXmlOpen::OpenXml(const QString& _xml) {
    QString plain;
    try {
        plain = TEncrypXML::UncrypStr(_xml, kCabinetDocumentKey);
    } catch (const std::exception& e) {
        throw EXmlDocumentError(std::string("cabinet document does not unscramble: ") + e.what());
    }
    return ReadXml(plain);
}
