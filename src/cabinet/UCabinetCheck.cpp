#include "cabinet/UCabinetCheck.h"

#include <algorithm>

namespace {

// Region edges and board faces are sums of the same numbers taken in different
// orders; a millionth of a millimetre absorbs that noise and nothing a saw could cut.
constexpr double kTolerance = 1e-6;

struct Box {
    double x1, y1, z1, x2, y2, z2;
};

Box BoardBox(const FBC& bc) {
    return Box{bc.Pos.X1, bc.Pos.Y1, bc.Pos.Z, bc.Pos.X2, bc.Pos.Y2, bc.Pos.Z + bc.D};
}

Box RegionBox(const FRegion& reg) {
    return Box{reg.Left, reg.Top, reg.Z, reg.Right, reg.Bottom, reg.Z + reg.D};
}

bool HasSize(const Box& b) {
    return b.x2 - b.x1 > kTolerance && b.y2 - b.y1 > kTolerance && b.z2 - b.z1 > kTolerance;
}

bool Inside(const Box& inner, const Box& outer) {
    return inner.x1 >= outer.x1 - kTolerance && inner.x2 <= outer.x2 + kTolerance &&
           inner.y1 >= outer.y1 - kTolerance && inner.y2 <= outer.y2 + kTolerance &&
           inner.z1 >= outer.z1 - kTolerance && inner.z2 <= outer.z2 + kTolerance;
}

// Shared volume, not just a shared face.
bool SharesVolume(const Box& a, const Box& b) {
    return std::min(a.x2, b.x2) - std::max(a.x1, b.x1) > kTolerance &&
           std::min(a.y2, b.y2) - std::max(a.y1, b.y1) > kTolerance &&
           std::min(a.z2, b.z2) - std::max(a.z1, b.z1) > kTolerance;
}

double Area(const FRegion& reg) { return (reg.Right - reg.Left) * (reg.Bottom - reg.Top); }

void CheckBoard(const FCabinet& before, const FBC& bc, FPlaceCheck& check) {
    const Box box = BoardBox(bc);
    if (!HasSize(box)) {
        check.fault = FPlaceFault::NoSize;
        return;
    }
    // The region as it was: a back board shrinks its own region's depth afterwards.
    if (!Inside(box, RegionBox(before.GetRegion(bc.regIndex)))) {
        check.fault = FPlaceFault::OutsideRegion;
        return;
    }
    const FBCS& boards = before.BCS();
    for (std::size_t i = 0; i < boards.size(); ++i) {
        if (SharesVolume(box, BoardBox(boards[i]))) {
            check.fault = FPlaceFault::Overlap;
            check.clashWith = int(i);
            return;
        }
    }
}

void CheckDoor(const FCabinet& before, const FMB& mb, FPlaceCheck& check) {
    const FRegion reg = before.GetRegion(mb.regIndex);
    const FPos& p = mb.Pos;
    if (p.X2 - p.X1 <= kTolerance || p.Y2 - p.Y1 <= kTolerance || mb.D <= kTolerance) {
        check.fault = FPlaceFault::NoSize;
        return;
    }
    if (p.X1 < reg.Left - kTolerance || p.X2 > reg.Right + kTolerance ||
        p.Y1 < reg.Top - kTolerance || p.Y2 > reg.Bottom + kTolerance)
        check.fault = FPlaceFault::OutsideRegion;
}

void CheckDrawer(const FCabinet& before, const FChTi& ct, FPlaceCheck& check) {
    const FRegion reg = before.GetRegion(ct.regIndex);
    const double faceWidth = ct.Pos.X2 - ct.Pos.X1;
    const double boxWidth = faceWidth - ct.E - ct.F;
    const double tA = ct.ACl.Thick;
    if (ct.Pos.Y2 - ct.Pos.Y1 <= kTolerance || boxWidth - 2 * tA <= kTolerance ||
        ct.D - 2 * tA <= kTolerance || ct.M <= 0) {
        check.fault = FPlaceFault::NoSize;
        return;
    }
    if (boxWidth > reg.Right - reg.Left + kTolerance)
        check.fault = FPlaceFault::TooWide;
    else if (ct.D > reg.D + kTolerance)
        check.fault = FPlaceFault::TooDeep;
}

}  // namespace

FPlaceCheck CheckPlacement(const FCabinet& _before, const FCabinet& _after) {
    FPlaceCheck check;
    if (_after.OBJS().size() <= _before.OBJS().size()) return check;
    const FRC& placed = _after.OBJS().back();
    check.objType = placed.ObjType;
    check.index = placed.index;
    if (placed.index < 0) return check;
    const std::size_t i = std::size_t(placed.index);
    if (placed.ObjType == ObjBoard && i < _after.BCS().size()) {
        const FBC& bc = _after.BCS()[i];
        check.regIndex = bc.regIndex;
        CheckBoard(_before, bc, check);
    } else if (placed.ObjType == ObjDoor && i < _after.MBS().size()) {
        const FMB& mb = _after.MBS()[i];
        check.regIndex = mb.regIndex;
        CheckDoor(_before, mb, check);
    } else if (placed.ObjType == ObjDrawer && i < _after.CTS().size()) {
        const FChTi& ct = _after.CTS()[i];
        check.regIndex = ct.regIndex;
        CheckDrawer(_before, ct, check);
    }
    return check;
}

int NaturalNextRegion(const FCabinet& _before, const FCabinet& _after, int _placedIn) {
    if (_after.OBJS().size() <= _before.OBJS().size()) return _placedIn;
    const int first = int(_before.Regions().size());
    const int added = int(_after.Regions().size()) - first;
    if (added <= 0) return _placedIn;
    const FRC& placed = _after.OBJS().back();
    if (placed.ObjType == ObjBoard && placed.index >= 0 &&
        std::size_t(placed.index) < _after.BCS().size()) {
        switch (_after.BCS()[std::size_t(placed.index)].BCType) {
            case FBCType::CengBan:
            case FBCType::GeBan:
                if (added >= 2 && Area(_after.GetRegion(first + 1)) > Area(_after.GetRegion(first)))
                    return first + 1;
                return first;
            default:
                // Side and top boards leave one region; a bottom board leaves the space
                // above it first and the strip under it second.
                return first;
        }
    }
    // A drawer leaves the space under its face, where the next drawer goes.
    return first;
}
