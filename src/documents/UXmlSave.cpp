#include "documents/UXmlSave.h"

#include "common/NumberFormat.h"
#include "common/XmlText.h"
#include "documents/UnitEncrypTo.h"

namespace {

QString Num(double value) { return kelm::FormatGeneral(value); }
QString Int(int value) { return QString::number(value); }

// Names keep their apostrophes as written, so stored documents stay byte-identical.
QString Text(const QString& value) { return kelm::XmlAttributeText(value, false); }

void AppendRegion(QString& out, const FRegion& r) {
    out += QLatin1String("<reg L=\"") + Num(r.Left) + QLatin1String("\" T=\"") + Num(r.Top) +
           QLatin1String("\" R=\"") + Num(r.Right) + QLatin1String("\" B=\"") + Num(r.Bottom) +
           QLatin1String("\" Z=\"") + Num(r.Z) + QLatin1String("\" D=\"") + Num(r.D) +
           QLatin1String("\" />");
}

void AppendRegions(QString& out, const FRegions& regions) {
    out += QLatin1String("<regs>");
    for (const FRegion& r : regions) AppendRegion(out, r);
    out += QLatin1String("</regs>");
}

void AppendPos(QString& out, const FPos& p) {
    out += QLatin1String("<pos X1=\"") + Num(p.X1) + QLatin1String("\" Y1=\"") + Num(p.Y1) +
           QLatin1String("\" X2=\"") + Num(p.X2) + QLatin1String("\" Y2=\"") + Num(p.Y2) +
           QLatin1String("\" Z=\"") + Num(p.Z) + QLatin1String("\" />");
}

// <Edge .../> and <FB .../> share the six-sided form.
template <typename Six>
void AppendSix(QString& out, const char* tag, const Six& s) {
    out += QLatin1Char('<') + QLatin1String(tag) + QLatin1String(" L=\"") + Num(s.L) +
           QLatin1String("\" R=\"") + Num(s.R) + QLatin1String("\" T=\"") + Num(s.T) +
           QLatin1String("\" B=\"") + Num(s.B) + QLatin1String("\" Q=\"") + Num(s.Q) +
           QLatin1String("\" H=\"") + Num(s.H) + QLatin1String("\" />");
}

void AppendCl(QString& out, const FCl& cl) {
    out += QLatin1String("<cl DbID=\"") + Text(cl.DbID) + QLatin1String("\" Name=\"") +
           Text(cl.Name) + QLatin1String("\" Thick=\"") + Num(cl.Thick) + QLatin1String("\" />");
}

void AppendBoard(QString& out, const FBC& bc) {
    out += QLatin1String("<bc regIndex=\"") + Int(bc.regIndex) + QLatin1String("\" D=\"") +
           Num(bc.D) + QLatin1String("\" ");
    const QString shape = FShapeName(bc.Shape);
    if (!shape.isEmpty()) out += QLatin1String("Shape=\"") + shape + QLatin1String("\" ");
    const QString type = FBCTypeName(bc.BCType);
    if (!type.isEmpty()) out += QLatin1String("BCType=\"") + type + QLatin1String("\" ");
    out += QLatin1String("Flag=\"") + Int(bc.Flag) + QLatin1String("\" WL=\"") + Text(bc.WL) +
           QLatin1String("\" >");
    AppendPos(out, bc.Pos);
    AppendSix(out, "Edge", bc.Edge);
    AppendSix(out, "FB", bc.FB);
    AppendCl(out, bc.Cl);
    out += QLatin1String("</bc>");
}

void AppendDrawer(QString& out, const FChTi& ct) {
    out += QLatin1String("<bc regIndex=\"") + Int(ct.regIndex) + QLatin1String("\" D=\"") +
           Int(ct.D) + QLatin1String("\"  Name=\"") + Text(ct.Name) + QLatin1String("\" W=\"") +
           Int(ct.W) + QLatin1String("\"  H=\"") + Int(ct.H) + QLatin1String("\"  E=\"") +
           Int(ct.E) + QLatin1String("\" F=\"") + Int(ct.F) + QLatin1String("\"  M=\"") +
           Int(ct.M) + QLatin1String("\" >");
    AppendPos(out, ct.Pos);
    AppendCl(out, ct.ACl);
    AppendCl(out, ct.BCl);
    out += QLatin1String("</bc>");
}

void AppendDoor(QString& out, const FMB& mb) {
    out += QLatin1String("<bc regIndex=\"") + Int(mb.regIndex) + QLatin1String("\" D=\"") +
           Num(mb.D) + QLatin1String("\" LOrR=\"") + Text(mb.LOrR) + QLatin1String("\" fm=\"") +
           Int(mb.fm) + QLatin1String("\" >");
    AppendPos(out, mb.Pos);
    AppendSix(out, "Edge", mb.Edge);
    AppendCl(out, mb.Cl);
    out += QLatin1String("</bc>");
}

}  // namespace

void FXmlSave::AppendCabinet(QString& out, const FCabinet& cab) {
    out += QLatin1String("<cabinet W=\"") + Num(cab.W()) + QLatin1String("\" D=\"") + Num(cab.D()) +
           QLatin1String("\" H=\"") + Num(cab.H()) + QLatin1String("\" Index=\"") +
           Int(cab.ParRegIndex()) + QLatin1String("\" Name=\"") + Text(cab.Name()) +
           QLatin1String("\" >");
    AppendRegions(out, cab.Regions());
    out += QLatin1String("<bcs>");
    for (const FBC& bc : cab.BCS()) AppendBoard(out, bc);
    out += QLatin1String("</bcs><cts>");
    for (const FChTi& ct : cab.CTS()) AppendDrawer(out, ct);
    out += QLatin1String("</cts><mbs>");
    for (const FMB& mb : cab.MBS()) AppendDoor(out, mb);
    out += QLatin1String("</mbs><objs>");
    for (const FRC& obj : cab.OBJS())
        out += QLatin1String("<obj index=\"") + Int(obj.index) + QLatin1String("\" objType=\"") +
               Int(obj.ObjType) + QLatin1String("\" />");
    out += QLatin1String("</objs></cabinet>");
}

QString FXmlSave::BuildXml(const FCabs& _cbs) {
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"gb2312\"?>");
    out += QLatin1String("<cbs W=\"") + Num(_cbs.W()) + QLatin1String("\" D=\"") + Num(_cbs.D()) +
           QLatin1String("\" H=\"") + Num(_cbs.H()) + QLatin1String("\" >");
    AppendRegions(out, _cbs.Regions());
    out += QLatin1String("<cabs>");
    for (const auto& cab : _cbs.CBS())
        if (cab) AppendCabinet(out, *cab);
    out += QLatin1String("</cabs></cbs>");
    return out;
}

QString FXmlSave::BuildStoredXml(const FCabs& _cbs) {
    return TEncrypXML::EncrypStr(BuildXml(_cbs), kCabinetDocumentKey);
}
