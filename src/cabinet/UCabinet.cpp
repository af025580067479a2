#include "cabinet/UCabinet.h"

FCabinet::FCabinet() : FCabinet(0, 0, 0, QString()) {}

FCabinet::FCabinet(double _w, double _d, double _h, const QString& _name)
    : p_W(_w), p_D(_d), p_H(_h), p_Name(_name) {
    p_RegBC.push_back(FRegion{0, 0, _w, _h, 0, _d});
}

bool FCabinet::HasRegion(int _index) const {
    return _index >= 0 && static_cast<std::size_t>(_index) < p_RegBC.size();
}

FRegion FCabinet::GetRegion(int _index) const {
    return HasRegion(_index) ? p_RegBC[static_cast<std::size_t>(_index)] : FRegion{};
}

double FCabinet::GetRegWidth(int _index) const {
    if (!HasRegion(_index)) return 0;
    const FRegion& r = p_RegBC[static_cast<std::size_t>(_index)];
    return r.Right - r.Left;
}

double FCabinet::GetRegHight(int _index) const {
    if (!HasRegion(_index)) return 0;
    const FRegion& r = p_RegBC[static_cast<std::size_t>(_index)];
    return r.Bottom - r.Top;
}

double FCabinet::GetRegDepth(int _index) const {
    if (!HasRegion(_index)) return 0;
    return p_RegBC[static_cast<std::size_t>(_index)].D;
}

void FCabinet::AddOBJ(int _index, int _objType) { p_OBJS.push_back(FRC{_index, _objType}); }

void FCabinet::AppendRegion(double left, double top, double right, double bottom, double z,
                            double d) {
    p_RegBC.push_back(FRegion{left, top, right, bottom, z, d});
}

void FCabinet::AppendBoard(const FBC& board) {
    p_BCS.push_back(board);
    AddOBJ(static_cast<int>(p_BCS.size()) - 1, ObjBoard);
}

FBC FCabinet::NewBoard(int regIndex, FBCType type, FShape shape, const FEdge& edge, const FCl& cl,
                       const FFengB& fb, const QString& wl) {
    FBC bc;
    bc.regIndex = regIndex;
    bc.BCType = type;
    bc.Shape = shape;
    bc.Edge = edge;
    bc.Cl = cl;
    bc.FB = fb;
    bc.WL = wl;
    return bc;
}

QString FCabinet::GetBCCount(FBCType _bcType) const {
    int count = 0;
    for (const FBC& bc : p_BCS)
        if (bc.BCType == _bcType) ++count;
    return count == 0 ? QString() : QString::number(count + 1);
}

QString FCabinet::GetCTCount() const { return QString::number(p_CTS.size() + 1); }

namespace {

bool IsOneOf(FBCType type, std::initializer_list<FBCType> types) {
    for (FBCType t : types)
        if (t == type) return true;
    return false;
}

}  // namespace

// The meeting tests compare coordinates exactly: boards that meet were placed from
// the same region bounds, so their shared faces carry identical values.
FBCS FCabinet::GetJoinBCS(const FBC& _bc) const {
    FBCS result;
    for (const FBC& bc : p_BCS) {
        if (!IsOneOf(bc.BCType,
                     {FBCType::DingBan, FBCType::CengBan, FBCType::ShuBan, FBCType::DiBan}))
            continue;
        if (bc.Pos.X2 == _bc.Pos.X1 || bc.Pos.X1 == _bc.Pos.X2) result.push_back(bc);
    }
    return result;
}

FBCS FCabinet::GetJoinBCS2(const FBC& _bc) const {
    FBCS result;
    for (const FBC& bc : p_BCS) {
        if (!IsOneOf(bc.BCType, {FBCType::CeBanLeft, FBCType::CeBanRight, FBCType::GeBan}))
            continue;
        if (bc.Pos.Y2 == _bc.Pos.Y1 || bc.Pos.Y1 == _bc.Pos.Y2) result.push_back(bc);
    }
    return result;
}

FBCS FCabinet::GetJoinBCS3(const FBC& _bc) const {
    FBCS result;
    for (const FBC& bc : p_BCS) {
        if (!IsOneOf(bc.BCType, {FBCType::CeBanLeft, FBCType::CeBanRight})) continue;
        if (bc.Pos.Y1 <= _bc.Pos.Y1 || bc.Pos.Y2 >= _bc.Pos.Y2) result.push_back(bc);
    }
    return result;
}
