#include "cabinet/UCabinetCopy.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace {

template <typename List>
const auto& Element(const List& list, int index, const char* what) {
    if (index < 0 || static_cast<std::size_t>(index) >= list.size())
        throw std::runtime_error(std::string("cabinet object log names ") + what + " " +
                                 std::to_string(index) + ", which does not exist");
    return list[static_cast<std::size_t>(index)];
}

void ReplayBoard(FCabinet& cab, const FBC& bc, double sx, double sy) {
    switch (bc.BCType) {
        case FBCType::BeiBan:
            cab.AddBackBC(bc.regIndex, bc.Edge, bc.Cl, bc.FB, bc.WL);
            break;
        case FBCType::CeBanLeft:
            cab.AddCeBan(bc.regIndex, bc.Shape, bc.Edge, bc.Cl, QStringLiteral("Left"), bc.FB,
                         bc.WL);
            break;
        case FBCType::CeBanRight:
            cab.AddCeBan(bc.regIndex, bc.Shape, bc.Edge, bc.Cl, QStringLiteral("Right"), bc.FB,
                         bc.WL);
            break;
        case FBCType::DingBan:
            cab.AddDingBan(bc.regIndex, bc.Shape, bc.Edge, bc.Cl, bc.FB, bc.WL);
            break;
        case FBCType::DiBan:
            cab.AddDiBan(bc.regIndex, bc.Shape, bc.Edge, bc.Cl, bc.FB, bc.WL);
            break;
        case FBCType::CengBan:
            // The centre line is kept (and scaled), so a shelf nudged up or down stays put.
            cab.AddBc(bc.regIndex, bc.Shape, bc.Edge, bc.Cl, 0, (bc.Pos.Y1 + bc.Pos.Y2) / 2 * sy,
                      QStringLiteral("1"), bc.FB, bc.WL);
            break;
        case FBCType::GeBan:
            cab.AddBc(bc.regIndex, bc.Shape, bc.Edge, bc.Cl, (bc.Pos.X1 + bc.Pos.X2) / 2 * sx, 0,
                      QStringLiteral("2"), bc.FB, bc.WL);
            break;
        case FBCType::ShuBan:
            cab.AddShuBan(bc.regIndex, bc.Edge, bc.Cl, bc.FB, bc.WL);
            break;
        case FBCType::MenBan:
        default:
            throw std::runtime_error("cabinet holds a board of a kind that cannot be placed");
    }
}

}  // namespace

std::unique_ptr<FCabinet> FCabinetCopy::Replay(double _w, double _d, double _h, const FCabinet& _cb,
                                               std::size_t entries, double sx, double sy) {
    auto cab = std::make_unique<FCabinet>(_w, _d, _h, _cb.Name());
    const FRCS& log = _cb.OBJS();
    for (std::size_t i = 0; i < entries && i < log.size(); ++i) {
        const FRC& entry = log[i];
        switch (entry.ObjType) {
            case ObjBoard:
                ReplayBoard(*cab, Element(_cb.BCS(), entry.index, "board"), sx, sy);
                break;
            case ObjDrawer: {
                const FChTi& ct = Element(_cb.CTS(), entry.index, "drawer");
                cab->AddChouTi(ct.regIndex, ct.ACl, ct.BCl, ct.Name, ct.W, ct.H, ct.D, ct.E, ct.F,
                               ct.M);
                break;
            }
            case ObjDoor: {
                const FMB& mb = Element(_cb.MBS(), entry.index, "door leaf");
                cab->AddDKM(mb.regIndex, mb.Edge, mb.Cl, mb.fm, mb.LOrR);
                break;
            }
            default:
                throw std::runtime_error("cabinet object log holds an entry of unknown type " +
                                         std::to_string(entry.ObjType));
        }
    }
    return cab;
}

std::unique_ptr<FCabinet> FCabinetCopy::CopyCb(double _w, double _d, double _h,
                                               const FCabinet& _cb) {
    // Shelf and partition positions are scaled by new / old size, which needs a
    // source with a real width and height (an empty cabinet has neither).
    if (!(_cb.W() > 0 && std::isfinite(_cb.W())) || !(_cb.H() > 0 && std::isfinite(_cb.H())))
        throw std::invalid_argument("cannot resize a cabinet without width or height");
    return Replay(_w, _d, _h, _cb, _cb.OBJS().size(), _w / _cb.W(), _h / _cb.H());
}

std::unique_ptr<FCabinet> FCabinetCopy::DelBC(double _w, double _d, double _h,
                                              const FCabinet& _cb) {
    const std::size_t n = _cb.OBJS().size();
    return Replay(_w, _d, _h, _cb, n == 0 ? 0 : n - 1, 1, 1);
}
