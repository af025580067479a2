// Storing an order position: the FProWins row with the scrambled cabinet document and
// the FProCl panel list, and storing a combination in the cabinet library.
#include "documents/UXmlSaveDb.h"

#include <QDebug>
#include <QSqlQuery>
#include <QVariant>
#include <cmath>
#include <cstdlib>

#include "common/NumberFormat.h"
#include "data/UnitData.h"
#include "documents/UXmlSave.h"

namespace {

const QString kSaved = QStringLiteral("保存成功！");
const QString kChangedElsewhere = QStringLiteral(
    "该柜体在打开后已被其他用户修改，保存将覆盖对方的修改。\n是否继续保存？");
// Purpose of the transactions that add or replace positions (kelm::sql::SerialiseWriters).
const QString kPositions = QStringLiteral("positions");

const QString kInsertWin = QStringLiteral(
    "INSERT INTO FProWins(winID,proID,winPath,winCode,winCount,Width,Height,Depth,Maked,custID,"
    "custName,FengB) VALUES(:winID,:proID,:winPath,:winCode,:winCount,:Width,:Height,:Depth,"
    ":Maked,:custID,:custName,:FengB)");
const QString kUpdateWin = QStringLiteral(
    "UPDATE FProWins SET winPath=:winPath,winCode=:winCode,winCount=:winCount,custID=:custID,"
    "custName=:custName,FengB=:FengB WHERE winID=:winID");
const QString kDeletePanels = QStringLiteral("DELETE FROM FProCl WHERE winID=:winID");
const QString kInsertPanel = QStringLiteral(
    "INSERT INTO FProCl(proID,winID,gtName,clID,clName,length,width,thick,clCount,wl,flag,"
    "shape) Values(:proID,:winID,:gtName,:clID,:clName,:length,:width,:thick,:clCount,:wl,"
    ":flag,:shape)");
const QString kInsertLibraryEntry =
    QStringLiteral("INSERT INTO TkWins(TkPath,TkName,cateID) VALUES(:TkPath,:TkName,:cateID)");

// The value to 15 significant digits, so that the noise of subtracting edge banding
// (399.99999999999994) does not decide a rounding or a truncation.
double To15Digits(double value) {
    if (value == 0 || !std::isfinite(value)) return value;
    return QString::number(value, 'g', 15).toDouble();
}

// A rectangular part without hole pattern, banded all round: drawer parts and doors.
FPanelRow PlainPartRow(const FCabinet& cab, const FCl& cl, const QString& name, double length,
                       double width, int jqd) {
    FPanelRow row;
    row.gtName = cab.Name();
    row.clID = cl.DbID;
    row.clName = name;
    row.length = FormatPanelSize(length, jqd);
    row.width = FormatPanelSize(width, jqd);
    row.thick = kelm::FormatGeneral(cl.Thick);
    row.wl = QStringLiteral("1");
    row.flag = QStringLiteral("R");
    return row;
}

void AppendDrawerRows(FPanelRows& rows, const FCabinet& cab, const FChTi& ct, int jqd) {
    for (const FPartSize& part : DrawerPartSizes(ct))
        rows.push_back(PlainPartRow(cab, part.cl, part.name, part.length, part.width, jqd));
}

FPartSize DoorPartSize(const FMB& mb) {
    return FPartSize{mb.Cl.Name, mb.Cl, mb.Pos.X2 - mb.Pos.X1, mb.Pos.Y2 - mb.Pos.Y1};
}

FPanelRow DoorRow(const FCabinet& cab, const FMB& mb, int jqd) {
    const FPartSize part = DoorPartSize(mb);
    return PlainPartRow(cab, part.cl, part.name, part.length, part.width, jqd);
}

// Inserts the rows of one position through the shared command; false at the first
// statement that fails.
bool InsertPanelRows(const FPanelRows& rows, const QString& proID, const QString& winID,
                     const QString& winCount) {
    for (const FPanelRow& row : rows) {
        SetCommonSQL(kInsertPanel);
        SetCommonParam(QStringLiteral("proID"), proID);
        SetCommonParam(QStringLiteral("winID"), winID);
        SetCommonParam(QStringLiteral("gtName"), row.gtName);
        SetCommonParam(QStringLiteral("clID"), row.clID);
        SetCommonParam(QStringLiteral("clName"), row.clName);
        SetCommonParam(QStringLiteral("length"), row.length);
        SetCommonParam(QStringLiteral("width"), row.width);
        SetCommonParam(QStringLiteral("thick"), row.thick);
        SetCommonParam(QStringLiteral("clCount"), winCount);
        SetCommonParam(QStringLiteral("wl"), row.wl);
        SetCommonParam(QStringLiteral("flag"), row.flag);
        SetCommonParam(QStringLiteral("shape"), row.shape);
        if (!ExecCommon()) return false;
    }
    return true;
}

// Settings, drilling rules and every panel row with its hole pattern, built before
// anything is written so a damaged rule cannot leave a half-saved position.
bool PreparePanelRows(const FCabs& cabs, FPanelRows& rows) {
    const TSysSet set = GetSysSet();
    FPKBZ rules;
    if (!ReadDrillingRules(rules)) return false;
    try {
        rows = BuildPanelRows(cabs, set, FHoleRules(rules));
    } catch (const EHolePatternError& e) {
        qWarning().noquote() << "panel list not saved:" << e.what();
        return false;
    }
    return true;
}

// Whether any panel row of the position is left, read inside the running transaction.
// False when that cannot be read, which the caller treats as rows remaining.
bool NoPanelRowsLeft(const QString& winID) {
    QSqlQuery q(sysData()->Database());
    if (!q.prepare(QStringLiteral("SELECT COUNT(*) FROM FProCl WHERE winID=:winID"))) return false;
    q.bindValue(QStringLiteral(":winID"), winID);
    if (!q.exec() || !q.next()) return false;
    return q.value(0).toLongLong() == 0;
}

// Runs the writes in one transaction: commits when they all succeed, otherwise rolls
// everything back.
template <typename Writes>
bool InOneTransaction(Writes&& writes) {
    TsysData* data = sysData();
    if (!data->Transaction(kPositions)) return false;
    if (!writes()) {
        data->Rollback();
        return false;
    }
    if (!data->Commit()) {
        data->Rollback();
        return false;
    }
    return true;
}

bool WinIDTaken(const QString& winID) {
    QSqlQuery q(sysData()->Database());
    // When the look-up fails the identifier counts as taken; the insert then tells.
    if (!q.prepare(QStringLiteral("SELECT COUNT(*) FROM FProWins WHERE winID=:winID"))) return false;
    q.bindValue(QStringLiteral(":winID"), winID);
    if (!q.exec() || !q.next()) return false;
    return q.value(0).toLongLong() > 0;
}

// The version text of a stored position; with lock, the row stays locked until the
// running transaction ends. False when the row cannot be read or is not there.
bool ReadPositionVersion(const QString& winID, bool lock, QString& version) {
    TsysData* data = sysData();
    if (!data->Open()) return false;
    QSqlQuery q(data->Database());
    const QString sql =
        QStringLiteral(
            "SELECT winPath,winCode,winCount,custID,custName,FengB FROM FProWins "
            "WHERE winID=:winID") +
        (lock ? kelm::sql::LockRows(data->Engine()) : QString());
    if (!q.prepare(sql)) return false;
    q.bindValue(QStringLiteral(":winID"), winID);
    if (!q.exec() || !q.next()) return false;
    QStringList parts;
    for (const char* column : {"winPath", "winCode", "winCount", "custID", "custName", "FengB"})
        parts << FieldText(q, QString::fromLatin1(column));
    version = parts.join(QChar(0x1f));
    return true;
}

bool WritePosition(const QString& _proID, const QString& _winID, const QString& _winCode,
                   const QString& _winCount, const QString& _custID, const QString& _custName,
                   const QString& _fengB, const QString& document, const FPanelRows& rows);

}  // namespace

// ---- panel rows ----

QString FormatPanelSize(double _value, int _JQD) {
    const double v = To15Digits(_value);
    switch (_JQD) {
        case 1:
            return kelm::FormatPattern(v, QStringLiteral("0"));
        case 2: {
            const double whole = std::trunc(v);
            // Beyond the range of whole numbers a panel can have, the general form.
            if (!std::isfinite(whole) || std::fabs(whole) >= 1e15)
                return kelm::FormatGeneral(whole);
            return kelm::FormatInt(static_cast<long long>(whole));
        }
        default:
            return kelm::FormatPattern(v, QStringLiteral("0.0"));
    }
}

void BoardCutSize(const FBC& _bc, double& _length, double& _width) {
    const FPos& p = _bc.Pos;
    const FFengB& fb = _bc.FB;
    const double height = std::fabs(p.Y2 - p.Y1 - fb.T - fb.B);
    const double across = std::fabs(p.X2 - p.X1 - fb.L - fb.R);
    const double depth = _bc.D - fb.Q - fb.H;
    switch (_bc.BCType) {
        case FBCType::BeiBan:
        case FBCType::ShuBan:
            _length = height;
            _width = across;
            break;
        case FBCType::CeBanLeft:
        case FBCType::CeBanRight:
        case FBCType::GeBan:
            _length = height;
            _width = depth;
            break;
        case FBCType::DingBan:
        case FBCType::CengBan:
        case FBCType::DiBan:
            _length = depth;
            _width = across;
            break;
        case FBCType::MenBan:
            _length = 0;
            _width = 0;
            break;
    }
}

FPartSizes DrawerPartSizes(const FChTi& _ct) {
    const double fw = std::fabs(_ct.Pos.X2 - _ct.Pos.X1);
    const double fh = std::fabs(_ct.Pos.Y2 - _ct.Pos.Y1);
    const double tA = _ct.ACl.Thick;
    const double between = std::fabs(fw - _ct.E - _ct.F - 2 * tA);
    const double sideLength = _ct.D - tA;
    // The opening inside the box boards is (fw - E - F - 2 tA) by (D - 2 tA): the
    // bottom's own thickness has nothing to do with it (a bottom sized by it would be
    // longer than the box sides when the bottom is thinner than the box boards).
    const double bottomLength = fw - _ct.E - _ct.F - 2 * tA + 10;
    const double bottomWidth = _ct.D - 2 * tA + 10;
    return {
        {_ct.Name + kDrawerFaceSuffix, _ct.ACl, fh, fw},
        {_ct.Name + kDrawerFrontSuffix, _ct.ACl, double(_ct.M), between},
        {_ct.Name + kDrawerBackSuffix, _ct.ACl, double(_ct.M), between},
        {_ct.Name + kDrawerLeftSuffix, _ct.ACl, double(_ct.M), sideLength},
        {_ct.Name + kDrawerRightSuffix, _ct.ACl, double(_ct.M), sideLength},
        {_ct.Name + kDrawerBottomSuffix, _ct.BCl, bottomLength, bottomWidth},
    };
}

FPartSizes ObjectPartSizes(const FCabinet& _cab, const FRC& _obj) {
    if (_obj.index < 0) return {};
    const std::size_t i = std::size_t(_obj.index);
    switch (_obj.ObjType) {
        case ObjBoard:
            if (i < _cab.BCS().size()) {
                const FBC& bc = _cab.BCS()[i];
                FPartSize part{bc.Cl.Name, bc.Cl, 0, 0};
                BoardCutSize(bc, part.length, part.width);
                return {part};
            }
            break;
        case ObjDrawer:
            if (i < _cab.CTS().size()) return DrawerPartSizes(_cab.CTS()[i]);
            break;
        case ObjDoor:
            if (i < _cab.MBS().size()) return {DoorPartSize(_cab.MBS()[i])};
            break;
        default:
            break;
    }
    return {};
}

void AppendCabinetPanelRows(FPanelRows& _rows, const FCabinet& _cab, const TSysSet& _set,
                            const FHoleRules& _rules) {
    const int jqd = _set.JQD;
    for (const FBC& bc : _cab.BCS()) {
        double length = 0, width = 0;
        BoardCutSize(bc, length, width);
        FPanelRow row;
        row.gtName = _cab.Name();
        row.clID = bc.Cl.DbID;
        row.clName = bc.Cl.Name;
        row.length = FormatPanelSize(length, jqd);
        row.width = FormatPanelSize(width, jqd);
        row.thick = kelm::FormatGeneral(bc.Cl.Thick);
        row.wl = bc.WL;
        row.flag = FShapeName(bc.Shape);
        row.shape = BuildStoredHolePattern(_cab, bc, _rules, row.length, row.width, row.thick);
        _rows.push_back(std::move(row));
    }
    for (const FChTi& ct : _cab.CTS()) AppendDrawerRows(_rows, _cab, ct, jqd);
    for (const FMB& mb : _cab.MBS()) _rows.push_back(DoorRow(_cab, mb, jqd));
}

FPanelRows BuildPanelRows(const FCabs& _cabs, const TSysSet& _set, const FHoleRules& _rules) {
    FPanelRows rows;
    for (const auto& cab : _cabs.CBS())
        if (cab) AppendCabinetPanelRows(rows, *cab, _set, _rules);
    return rows;
}

std::vector<FPanelEdges> BuildPanelEdges(const FCabs& _cabs) {
    std::vector<FPanelEdges> edges;
    for (const auto& cab : _cabs.CBS()) {
        if (!cab) continue;
        for (const FBC& bc : cab->BCS()) {
            const FFengB& fb = bc.FB;
            FPanelEdges e;
            e.clName = bc.Cl.Name;
            switch (bc.BCType) {
                case FBCType::BeiBan:
                case FBCType::ShuBan:  // length is the height: left and right run along it
                    e = {bc.Cl.Name, fb.L, fb.R, fb.T, fb.B};
                    break;
                case FBCType::CeBanLeft:
                case FBCType::CeBanRight:
                case FBCType::GeBan:  // length is the height, width the depth
                    e = {bc.Cl.Name, fb.Q, fb.H, fb.T, fb.B};
                    break;
                case FBCType::DingBan:
                case FBCType::CengBan:
                case FBCType::DiBan:  // length is the depth, width runs across
                    e = {bc.Cl.Name, fb.L, fb.R, fb.Q, fb.H};
                    break;
                case FBCType::MenBan:
                    break;
            }
            edges.push_back(e);
        }
        for (const FChTi& ct : cab->CTS()) {
            for (const QString& suffix :
                 {kDrawerFaceSuffix, kDrawerFrontSuffix, kDrawerBackSuffix, kDrawerLeftSuffix,
                  kDrawerRightSuffix, kDrawerBottomSuffix})
                edges.push_back({ct.Name + suffix});
        }
        for (const FMB& mb : cab->MBS()) edges.push_back({mb.Cl.Name});
    }
    return edges;
}

// ---- storing ----

bool FXmlSave::SaveToDB(const QString& _proID, const QString& _winCode, const QString& _winCount,
                        const QString& _custID, const QString& _custName, const QString& _fengB,
                        const FCabs& _cabs, int _ID, QString* _winID) {
    const QString document = BuildStoredXml(_cabs);
    FPanelRows rows;
    if (!PreparePanelRows(_cabs, rows)) return false;
    const QString base = NewTimeID(QString::number(_ID));
    QString winID;
    const bool saved = InOneTransaction([&] {
        // Positions saved in the same second, here or on another seat, get the same
        // identifier from the clock; the later one takes the next free number instead
        // of failing.
        winID = base;
        for (int n = 1; WinIDTaken(winID); ++n) {
            if (n > 999) return false;
            winID = base + QString::number(n);
        }
        SetCommonSQL(kInsertWin);
        SetCommonParam(QStringLiteral("winID"), winID);
        SetCommonParam(QStringLiteral("proID"), _proID);
        SetCommonParam(QStringLiteral("winPath"), document);
        SetCommonParam(QStringLiteral("winCode"), _winCode);
        SetCommonParam(QStringLiteral("winCount"), _winCount);
        SetCommonParam(QStringLiteral("Width"), kelm::FormatGeneral(_cabs.W()));
        SetCommonParam(QStringLiteral("Height"), kelm::FormatGeneral(_cabs.H()));
        SetCommonParam(QStringLiteral("Depth"), kelm::FormatGeneral(_cabs.D()));
        SetCommonParam(QStringLiteral("Maked"), QStringLiteral("0"));
        SetCommonParam(QStringLiteral("custID"), _custID);
        SetCommonParam(QStringLiteral("custName"), _custName);
        SetCommonParam(QStringLiteral("FengB"), _fengB);
        if (!ExecCommon()) return false;
        return InsertPanelRows(rows, _proID, winID, _winCount);
    });
    if (saved && _winID) *_winID = winID;
    return saved;
}

bool FXmlSave::EditSize(const QString& _proID, const QString& _winID, const QString& _winCode,
                        const QString& _winCount, const QString& _custID, const QString& _custName,
                        const QString& _fengB, const FCabs& _cabs,
                        const QString* _openedVersion) {
    const QString document = BuildStoredXml(_cabs);
    FPanelRows rows;
    if (!PreparePanelRows(_cabs, rows)) return false;
    // The version the user agreed to replace: first the one opened; after being told of
    // another seat's change and choosing to go on, that change.
    QString agreed = _openedVersion ? *_openedVersion : QString();
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (_openedVersion) {
            // Asked outside the transaction, so no other seat waits for the answer.
            QString now;
            if (!ReadPositionVersion(_winID, false, now)) return false;
            if (now != agreed) {
                if (!AskConfirm(kChangedElsewhere)) return false;
                agreed = now;
            }
        }
        bool changedMeanwhile = false;
        const bool saved = InOneTransaction([&] {
            if (_openedVersion) {
                QString now;
                if (!ReadPositionVersion(_winID, true, now)) return false;
                if (now != agreed) {
                    changedMeanwhile = true;
                    return false;
                }
            }
            return WritePosition(_proID, _winID, _winCode, _winCount, _custID, _custName, _fengB,
                                 document, rows);
        });
        if (!changedMeanwhile) return saved;
    }
    return false;
}

QString FXmlSave::PositionVersion(const QString& _winID) {
    QString version;
    return ReadPositionVersion(_winID, false, version) ? version : QString();
}

namespace {

// The update of a stored position and its new panel rows, inside the caller's
// transaction.
bool WritePosition(const QString& _proID, const QString& _winID, const QString& _winCode,
                   const QString& _winCount, const QString& _custID, const QString& _custName,
                   const QString& _fengB, const QString& document, const FPanelRows& rows) {
    SetCommonSQL(kUpdateWin);
    SetCommonParam(QStringLiteral("winPath"), document);
    SetCommonParam(QStringLiteral("winCode"), _winCode);
    SetCommonParam(QStringLiteral("winCount"), _winCount);
    SetCommonParam(QStringLiteral("custID"), _custID);
    SetCommonParam(QStringLiteral("custName"), _custName);
    SetCommonParam(QStringLiteral("FengB"), _fengB);
    SetCommonParam(QStringLiteral("winID"), _winID);
    if (!ExecCommon()) return false;
    SetCommonSQL(kDeletePanels);
    SetCommonParam(QStringLiteral("winID"), _winID);
    // A position saved without panels has nothing to delete; that is no failure as
    // long as no old row is left behind.
    if (!ExecCommon() && !NoPanelRowsLeft(_winID)) return false;
    return InsertPanelRows(rows, _proID, _winID, _winCount);
}

}  // namespace

bool FXmlSave::SaveToTuKu(const QString& _tkID, const QString& _tkName, const FCabs& _cabinet) {
    SetCommonSQL(kInsertLibraryEntry);
    SetCommonParam(QStringLiteral("TkPath"), BuildStoredXml(_cabinet));
    SetCommonParam(QStringLiteral("TkName"), _tkName);
    SetCommonParam(QStringLiteral("cateID"), _tkID);
    if (!ExecCommon()) return false;
    ShowInfo(kSaved);
    return true;
}
