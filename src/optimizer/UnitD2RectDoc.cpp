#include "optimizer/UnitD2RectDoc.h"

#include <QDomDocument>
#include <QDomElement>
#include <stdexcept>

#include "common/NumberFormat.h"
#include "common/XmlText.h"
#include "optimizer/UnitD2RectLimits.h"

namespace {

// ---- writing ----

class Writer {
  public:
    explicit Writer(QString& out) : p_out(out) {}
    Writer& Open(const char* name) {
        p_out += QLatin1Char('<');
        p_out += QLatin1String(name);
        return *this;
    }
    Writer& Text(const char* name, const QString& value) {
        return Raw(name, kelm::XmlAttributeText(value, true));
    }
    // Written only when set: documents without offcuts read as they always did.
    Writer& OptionalText(const char* name, const QString& value) {
        return value.isEmpty() ? *this : Text(name, value);
    }
    Writer& G(const char* name, double v) { return Raw(name, kelm::FormatGeneral(v)); }
    Writer& I(const char* name, long long v) { return Raw(name, kelm::FormatInt(v)); }
    Writer& F1(const char* name, double v) { return Raw(name, kelm::FormatPattern(v, "0.0")); }
    void EndStart() { p_out += QLatin1Char('>'); }
    void EndEmpty() { p_out += QLatin1String("/>"); }
    void EndEmptySpaced() { p_out += QLatin1String(" />"); }
    void Close(const char* name) {
        p_out += QLatin1String("</");
        p_out += QLatin1String(name);
        p_out += QLatin1Char('>');
    }
    void Plain(const char* name) {
        Open(name);
        EndStart();
    }

  private:
    Writer& Raw(const char* name, const QString& value) {
        p_out += QLatin1Char(' ');
        p_out += QLatin1String(name);
        p_out += QLatin1String("=\"");
        p_out += value;
        p_out += QLatin1Char('"');
        return *this;
    }
    QString& p_out;
};

// Stored code of a priority, first cut or lay style: 1, 2, 3 in declaration order.
template <typename Enum>
int Code(Enum value) {
    return static_cast<int>(value) + 1;
}

// ---- reading ----

[[noreturn]] void Fail(const QString& where, const QString& what) {
    throw std::runtime_error(
        (QStringLiteral("layout document: ") + where + QStringLiteral(": ") + what).toStdString());
}

// One element being read, with a readable name for messages ("FPB 2 / EL 5").
struct Node {
    QDomElement e;
    QString where;

    QString Text(const char* attr) const {
        const QString name = QLatin1String(attr);
        if (!e.hasAttribute(name)) Fail(where, QStringLiteral("attribute %1 is missing").arg(name));
        return e.attribute(name);
    }
    double Number(const char* attr) const {
        const QString t = Text(attr);
        double v = 0;
        if (!kelm::ParseNumber(t, v))
            Fail(where,
                 QStringLiteral("attribute %1 \"%2\" is not a number").arg(QLatin1String(attr), t));
        return v;
    }
    // A count of sheets or pieces: a whole number from min to the stock limit, so sums
    // over a scheme stay far from overflowing.
    int32_t Count(const char* attr, int32_t min) const {
        const int32_t v = Int(attr);
        if (v < min || v > kMaxStockCount)
            Fail(where, QStringLiteral("attribute %1 \"%2\" is not a count from %3 to %4")
                            .arg(QLatin1String(attr))
                            .arg(v)
                            .arg(min)
                            .arg(kMaxStockCount));
        return v;
    }
    int32_t Int(const char* attr) const {
        const QString t = Text(attr).trimmed();
        bool ok = false;
        const int v = t.toInt(&ok, 10);
        if (!ok)
            Fail(where, QStringLiteral("attribute %1 \"%2\" is not an integer")
                            .arg(QLatin1String(attr), t));
        return v;
    }
    // The index-th child element, by position.
    Node Child(int index, const char* expected) const {
        QDomElement c = e.firstChildElement();
        for (int i = 0; i < index && !c.isNull(); ++i) c = c.nextSiblingElement();
        if (c.isNull())
            Fail(where, QStringLiteral("child %1 (%2) is missing")
                            .arg(index + 1)
                            .arg(QLatin1String(expected)));
        return {c, where + QStringLiteral(" / ") + c.tagName()};
    }
    // Every child element in order, each named with its 1-based position.
    template <typename Fn>
    void EachChild(Fn fn) const {
        int i = 0;
        for (QDomElement c = e.firstChildElement(); !c.isNull(); c = c.nextSiblingElement())
            fn(Node{c, where + QStringLiteral(" / %1 %2").arg(c.tagName()).arg(++i)});
    }
};

template <typename Enum>
void ReadCode(const Node& root, const char* attr, Enum& target) {
    const QString code = root.Text(attr);
    if (code == QLatin1String("1"))
        target = static_cast<Enum>(0);
    else if (code == QLatin1String("2"))
        target = static_cast<Enum>(1);
    else if (code == QLatin1String("3"))
        target = static_cast<Enum>(2);
}

}  // namespace

QString LayoutDocumentText(const TD2RRawArr& raws, const TD2REleArr& eles, const TD2RPrm& prm,
                           const TD2RSchame& schame) {
    QString out;
    out.reserve(4096);
    out += QLatin1String("<?xml version=\"1.0\" encoding=\"gb2312\"?>");
    Writer w(out);
    w.Open("KELM")
        .G("BladeWidth", prm.BladeWidth)
        .I("Priority", Code(prm.Priority))
        .I("FirstCut", Code(prm.FirstCut))
        .I("LayStyle", Code(prm.LayStyle))
        .I("EdgL", prm.Edg.Left)
        .I("EdgR", prm.Edg.Right)
        .I("EdgT", prm.Edg.Top)
        .I("EdgB", prm.Edg.Bottom)
        .I("BinL", prm.Bin.Length)
        .I("BinW", prm.Bin.Width)
        .I("wucha", prm.wucha)
        .EndStart();

    w.Plain("RLST");
    for (const TD2RRaw& r : raws)
        w.Open("RW")
            .I("XH", r.XH)
            .Text("RN", r.Name)
            .Text("DM", r.Demo)
            .G("RL", r.Length)
            .G("RW", r.Width)
            .I("RC", r.Count)
            .G("PRC", r.Price)
            .I("PRI", r.Prio)
            .Text("DBID", r.DbID)
            .OptionalText("OFC", r.Offcut)
            .EndEmpty();
    w.Close("RLST");

    w.Plain("ELST");
    for (const TD2REle& e : eles)
        w.Open("ELE")
            .I("XH", e.XH)
            .Text("EN", e.Name)
            .Text("DM", e.Demo)
            .G("EL", e.Length)
            .G("EW", e.Width)
            .I("EC", e.Count)
            .I("XZ", e.Rotation)
            .EndEmpty();
    w.Close("ELST");

    w.Plain("FYS");
    for (const TD2RGene& g : schame) {
        w.Open("FPB")
            .I("RI", g.RawIndex)
            .Text("RN", g.RawName)
            .G("RL", g.RawLength)
            .G("RW", g.RawWidth)
            .I("RC", g.RawCount)
            .G("EA", g.EleArea)
            .G("MB", g.maxBin)
            .Text("DBID", g.RawDbID)
            .G("PRC", g.RawPrice)
            .OptionalText("OFC", g.Offcut)
            .EndStart();
        w.Plain("ELS");
        for (const TRectEle& el : g.EleList)
            w.Open("EL")
                .I("EI", el.eIndex)
                .I("XH", el.XH)
                .Text("EN", el.Name)
                .Text("DM", el.Demo)
                .G("PX", el.px)
                .G("PY", el.py)
                .G("EL", el.Length)
                .G("EW", el.Width)
                .EndEmpty();
        w.Close("ELS");
        w.Plain("RCTLST");
        for (const TRectR& r : g.RectArr)
            w.Open("RCT")
                .G("PX", r.px)
                .G("PY", r.py)
                .F1("RL", r.Length)
                .F1("RW", r.Width)
                .EndEmptySpaced();
        w.Close("RCTLST");
        w.Close("FPB");
    }
    w.Close("FYS");
    w.Close("KELM");
    return out;
}

void ReadLayoutDocument(const QString& text, TD2RRawArr& raws, TD2REleArr& eles, TD2RSchame& schame,
                        TD2RPrm& prm) {
    // The document is five elements deep; a text nested far deeper is damaged and is
    // refused before the parser spends time on it (the cabinet reader's limit).
    constexpr int kMaxDepth = 32;
    if (const qint64 line = kelm::LineNestedDeeperThan(text, kMaxDepth))
        Fail(QStringLiteral("line %1").arg(line),
             QStringLiteral("elements nested deeper than %1").arg(kMaxDepth));
    QDomDocument doc;
    QString error;
    int line = 0, column = 0;
    if (!doc.setContent(text, &error, &line, &column))
        Fail(QStringLiteral("line %1 column %2").arg(line).arg(column),
             QStringLiteral("does not parse (%1)").arg(error));
    const QDomElement rootElement = doc.documentElement();
    if (rootElement.tagName() != QLatin1String("KELM"))
        Fail(rootElement.tagName(), QStringLiteral("root element is not KELM"));
    const Node root{rootElement, QStringLiteral("KELM")};

    // Everything is read into copies first so a damaged document changes nothing.
    TD2RPrm p = prm;
    p.BladeWidth = root.Number("BladeWidth");
    ReadCode(root, "Priority", p.Priority);
    ReadCode(root, "FirstCut", p.FirstCut);
    ReadCode(root, "LayStyle", p.LayStyle);
    p.Edg.Left = root.Int("EdgL");
    p.Edg.Right = root.Int("EdgR");
    p.Edg.Top = root.Int("EdgT");
    p.Edg.Bottom = root.Int("EdgB");
    p.Bin.Length = root.Int("BinL");
    p.Bin.Width = root.Int("BinW");
    p.wucha = root.Int("wucha");

    TD2RRawArr newRaws;
    root.Child(0, "RLST").EachChild([&](const Node& n) {
        TD2RRaw r;
        r.XH = static_cast<int32_t>(newRaws.size()) + 1;
        r.Prio = n.Text("PRI") == QLatin1String("1") ? 1 : 0;
        r.Name = n.Text("RN");
        r.Demo = n.Text("DM");
        r.Length = n.Number("RL");
        r.Width = n.Number("RW");
        r.Count = n.Count("RC", 1);
        r.Price = n.Number("PRC");
        r.DbID = n.Text("DBID");
        r.Offcut = n.e.attribute(QStringLiteral("OFC"));
        newRaws.push_back(std::move(r));
    });

    TD2REleArr newEles;
    root.Child(1, "ELST").EachChild([&](const Node& n) {
        TD2REle e;
        e.XH = static_cast<int32_t>(newEles.size()) + 1;
        e.Name = n.Text("EN");
        e.Demo = n.Text("DM");
        e.Length = n.Number("EL");
        e.Width = n.Number("EW");
        // A part type may have no pieces (a panel row of quantity 0 in the order).
        e.Count = n.Count("EC", 0);
        e.Rotation = n.Int("XZ");
        newEles.push_back(std::move(e));
    });

    TD2RSchame newSchame;
    root.Child(2, "FYS").EachChild([&](const Node& n) {
        TD2RGene g;
        g.RawIndex = n.Int("RI");
        g.RawName = n.Text("RN");
        g.RawPrice = n.Number("PRC");
        g.RawDbID = n.Text("DBID");
        g.RawLength = n.Number("RL");
        g.RawWidth = n.Number("RW");
        g.RawCount = n.Count("RC", 1);
        g.EleArea = n.Number("EA");
        g.maxBin = n.Number("MB");
        g.Offcut = n.e.attribute(QStringLiteral("OFC"));
        n.Child(0, "ELS").EachChild([&](const Node& c) {
            TRectEle el;
            el.eIndex = c.Int("EI");
            el.XH = c.Int("XH");
            el.Name = c.Text("EN");
            el.Demo = c.Text("DM");
            el.px = c.Number("PX");
            el.py = c.Number("PY");
            el.Length = c.Number("EL");
            el.Width = c.Number("EW");
            g.EleList.push_back(std::move(el));
        });
        n.Child(1, "RCTLST").EachChild([&](const Node& c) {
            TRectR r;
            r.px = c.Number("PX");
            r.py = c.Number("PY");
            r.Length = c.Number("RL");
            r.Width = c.Number("RW");
            g.RectArr.push_back(r);
        });
        newSchame.push_back(std::move(g));
    });

    prm = p;
    raws.insert(raws.end(), std::make_move_iterator(newRaws.begin()),
                std::make_move_iterator(newRaws.end()));
    eles.insert(eles.end(), std::make_move_iterator(newEles.begin()),
                std::make_move_iterator(newEles.end()));
    schame = std::move(newSchame);
}
