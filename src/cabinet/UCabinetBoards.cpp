// Placing operations of FCabinet: each computes the element's box from the region,
// the offsets and the material thickness, appends the element, logs it, and appends
// the regions it leaves. They append in a fixed order so that replaying the object
// log against a fresh cabinet recreates identical region indexes.
#include <cmath>

#include "cabinet/UCabinet.h"

namespace {

// A number that is not finite (a dialog can let "nan" or "inf" through) would end
// up in the cabinet document, which could then no longer be read back, so such a
// placement is refused like one into a region that does not exist.
template <typename Six>
bool Finite(const Six& e) {
    return std::isfinite(e.L) && std::isfinite(e.R) && std::isfinite(e.T) && std::isfinite(e.B) &&
           std::isfinite(e.Q) && std::isfinite(e.H);
}

bool Placeable(const FEdge& e, const FCl& cl) { return Finite(e) && std::isfinite(cl.Thick); }
bool Placeable(const FEdge& e, const FCl& cl, const FFengB& fb) {
    return Placeable(e, cl) && Finite(fb);
}

}  // namespace

void FCabinet::AddBackBC(int _regIndex, const FEdge& _Edge, const FCl& _Cl, const FFengB& _FB,
                         const QString& _wl) {
    if (!HasRegion(_regIndex) || !Placeable(_Edge, _Cl, _FB)) return;
    FRegion& reg = p_RegBC[static_cast<std::size_t>(_regIndex)];
    const double t = _Cl.Thick;
    FBC bc = NewBoard(_regIndex, FBCType::BeiBan, FShape::R, _Edge, _Cl, _FB, _wl);
    bc.Pos = FPos{reg.Left + _Edge.L, reg.Top + _Edge.T, reg.Right - _Edge.R, reg.Bottom - _Edge.B,
                  reg.Z + reg.D - t - _Edge.H};
    bc.D = t;
    bc.Flag = 1;
    // Later boards placed in this region stop in front of the back board.
    reg.D = reg.D - t - _Edge.H;
    AppendBoard(bc);
}

void FCabinet::AddCeBan(int _regIndex, FShape /*_shape*/, const FEdge& _Edge, const FCl& _Cl,
                        const QString& _bcFlag, const FFengB& _FB, const QString& _wl) {
    if (!HasRegion(_regIndex) || !Placeable(_Edge, _Cl, _FB)) return;
    const FRegion reg = p_RegBC[static_cast<std::size_t>(_regIndex)];
    const double t = _Cl.Thick;
    const bool left = _bcFlag == QStringLiteral("Left");
    FBC bc = NewBoard(_regIndex, left ? FBCType::CeBanLeft : FBCType::CeBanRight, FShape::R, _Edge,
                      _Cl, _FB, _wl);
    if (left)
        bc.Pos =
            FPos{reg.Left + _Edge.L, reg.Top, reg.Left + _Edge.L + t, reg.Bottom, reg.Z + _Edge.Q};
    else
        bc.Pos = FPos{reg.Right - t - _Edge.R, reg.Top, reg.Right - _Edge.R, reg.Bottom,
                      reg.Z + _Edge.Q};
    bc.D = reg.D - _Edge.Q - _Edge.H;
    bc.Flag = 1;
    AppendBoard(bc);
    if (left)
        AppendRegion(reg.Left + _Edge.L + t, reg.Top, reg.Right, reg.Bottom, reg.Z + _Edge.Q,
                     reg.D - _Edge.Q);
    else
        AppendRegion(reg.Left, reg.Top, reg.Right - t - _Edge.R, reg.Bottom, reg.Z + _Edge.Q,
                     reg.D - _Edge.Q);
}

void FCabinet::AddDingBan(int _regIndex, FShape _shape, const FEdge& _Edge, const FCl& _Cl,
                          const FFengB& _FB, const QString& _wl) {
    if (!HasRegion(_regIndex) || !Placeable(_Edge, _Cl, _FB)) return;
    const FRegion reg = p_RegBC[static_cast<std::size_t>(_regIndex)];
    const double t = _Cl.Thick;
    FBC bc = NewBoard(_regIndex, FBCType::DingBan, _shape, _Edge, _Cl, _FB, _wl);
    bc.Pos = FPos{reg.Left + _Edge.L, reg.Top, reg.Right - _Edge.R, reg.Top + t, reg.Z + _Edge.Q};
    bc.D = reg.D - _Edge.Q - _Edge.H;
    bc.Flag = 1;
    AppendBoard(bc);
    // The top board takes its thickness from the top; E.T does not apply to it.
    AppendRegion(reg.Left, reg.Top + t, reg.Right, reg.Bottom, reg.Z, reg.D);
}

void FCabinet::AddDiBan(int _regIndex, FShape _shape, const FEdge& _Edge, const FCl& _Cl,
                        const FFengB& _FB, const QString& _wl) {
    if (!HasRegion(_regIndex) || !Placeable(_Edge, _Cl, _FB)) return;
    const FRegion reg = p_RegBC[static_cast<std::size_t>(_regIndex)];
    const double t = _Cl.Thick;
    FBC bc = NewBoard(_regIndex, FBCType::DiBan, _shape, _Edge, _Cl, _FB, _wl);
    bc.Pos = FPos{reg.Left + _Edge.L, reg.Bottom - _Edge.B - t, reg.Right - _Edge.R,
                  reg.Bottom - _Edge.B, reg.Z + _Edge.Q};
    bc.D = reg.D - _Edge.Q - _Edge.H;
    bc.Flag = 1;
    AppendBoard(bc);
    AppendRegion(reg.Left, reg.Top, reg.Right, reg.Bottom - _Edge.B - t, reg.Z, reg.D);
    // The plinth strip under the bottom board is a region of its own.
    AppendRegion(reg.Left, reg.Bottom - _Edge.B, reg.Right, reg.Bottom, reg.Z, reg.D);
}

void FCabinet::AddBc(int _regIndex, FShape _shape, const FEdge& _Edge, const FCl& _Cl, double _x,
                     double _y, const QString& _HOrV, const FFengB& _FB, const QString& _wl) {
    if (!HasRegion(_regIndex) || !Placeable(_Edge, _Cl, _FB)) return;
    if (!std::isfinite(_HOrV == QStringLiteral("1") ? _y : _x)) return;
    const FRegion reg = p_RegBC[static_cast<std::size_t>(_regIndex)];
    const double t = _Cl.Thick;
    const bool shelf = _HOrV == QStringLiteral("1");
    FBC bc = NewBoard(_regIndex, shelf ? FBCType::CengBan : FBCType::GeBan, _shape, _Edge, _Cl, _FB,
                      _wl);
    if (shelf)
        bc.Pos =
            FPos{reg.Left + _Edge.L, _y - t / 2, reg.Right - _Edge.R, _y + t / 2, reg.Z + _Edge.Q};
    else
        bc.Pos =
            FPos{_x - t / 2, reg.Top + _Edge.T, _x + t / 2, reg.Bottom - _Edge.B, reg.Z + _Edge.Q};
    bc.D = reg.D - _Edge.Q - _Edge.H;
    bc.Flag = 0;
    AppendBoard(bc);
    const double z = reg.Z + _Edge.Q;
    const double d = reg.D - _Edge.Q;
    if (shelf) {
        AppendRegion(reg.Left, reg.Top, reg.Right, _y - t / 2, z, d);
        AppendRegion(reg.Left, _y + t / 2, reg.Right, reg.Bottom, z, d);
    } else {
        AppendRegion(reg.Left, reg.Top, _x - t / 2, reg.Bottom, z, d);
        AppendRegion(_x + t / 2, reg.Top, reg.Right, reg.Bottom, z, d);
    }
}

void FCabinet::AddShuBan(int _regIndex, const FEdge& _Edge, const FCl& _Cl, const FFengB& _FB,
                         const QString& _wl) {
    if (!HasRegion(_regIndex) || !Placeable(_Edge, _Cl, _FB)) return;
    const FRegion reg = p_RegBC[static_cast<std::size_t>(_regIndex)];
    FBC bc = NewBoard(_regIndex, FBCType::ShuBan, FShape::R, _Edge, _Cl, _FB, _wl);
    bc.Pos = FPos{reg.Left + _Edge.L, reg.Top + _Edge.T, reg.Right - _Edge.R, reg.Bottom - _Edge.B,
                  reg.Z + _Edge.Q};
    bc.D = _Cl.Thick;
    bc.Flag = 0;
    AppendBoard(bc);
}

void FCabinet::AddDKM(int _regIndex, const FEdge& _Edge, const FCl& _Cl, int _fm,
                      const QString& _lOrR) {
    if (!HasRegion(_regIndex) || _fm < 1 || !Placeable(_Edge, _Cl)) return;
    const FRegion reg = p_RegBC[static_cast<std::size_t>(_regIndex)];
    const double w = (reg.Right - reg.Left) / _fm;
    FMB mb;
    mb.regIndex = _regIndex;
    mb.Cl = _Cl;
    mb.Edge = _Edge;
    mb.fm = _fm;
    mb.LOrR = _lOrR;
    mb.D = _Cl.Thick;
    // A full-width leaf covers the whole region whichever side it opens from; the
    // side stays recorded for the handle.
    const bool leftPart = _lOrR == QStringLiteral("1") || _fm == 1;
    if (leftPart) {
        mb.Pos.X1 = reg.Left + _Edge.L;
        mb.Pos.X2 = reg.Left + w - _Edge.R;
    } else {
        mb.Pos.X1 = reg.Left + w + _Edge.L;
        mb.Pos.X2 = reg.Right - _Edge.R;
    }
    mb.Pos.Y1 = reg.Top + _Edge.T;
    mb.Pos.Y2 = reg.Bottom - _Edge.B;
    mb.Pos.Z = reg.Z + _Edge.Q;
    p_MBS.push_back(mb);
    AddOBJ(static_cast<int>(p_MBS.size()) - 1, ObjDoor);
}

void FCabinet::AddChouTi(int _regIndex, const FCl& _ClA, const FCl& _ClB, const QString& _Name,
                         int W, int H, int D, int E, int F, int M) {
    if (!HasRegion(_regIndex) || H < 1) return;
    if (!std::isfinite(_ClA.Thick) || !std::isfinite(_ClB.Thick)) return;
    const FRegion reg = p_RegBC[static_cast<std::size_t>(_regIndex)];
    const double faceBottom = reg.Top + (reg.Bottom - reg.Top) / H;
    FChTi ct;
    ct.regIndex = _regIndex;
    ct.ACl = _ClA;
    ct.BCl = _ClB;
    ct.Name = _Name;
    ct.W = W;
    ct.H = H;
    ct.D = D;
    ct.E = E;
    ct.F = F;
    ct.M = M;
    // The face stands in front of the region's front plane.
    ct.Pos = FPos{reg.Left - W / 2.0, reg.Top, reg.Right + W / 2.0, faceBottom, reg.Z - _ClA.Thick};
    p_CTS.push_back(ct);
    AddOBJ(static_cast<int>(p_CTS.size()) - 1, ObjDrawer);
    // The next drawer goes into the space below this face.
    AppendRegion(reg.Left, faceBottom, reg.Right, reg.Bottom, reg.Z, reg.D);
}
