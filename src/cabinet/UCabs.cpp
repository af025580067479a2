#include "cabinet/UCabs.h"

#include <cmath>

FCabs::FCabs(double _w, double _d, double _h) : p_W(_w), p_D(_d), p_H(_h) {
    p_Regs.push_back(FRegion{0, 0, _w, _h, 0, _d});
}

FCabs::~FCabs() = default;

bool FCabs::HasRegion(int _index) const {
    return _index >= 0 && static_cast<std::size_t>(_index) < p_Regs.size();
}

void FCabs::AddSplit(int _regIndex, double _X, double _Y, const QString& _HOrV) {
    if (!HasRegion(_regIndex)) return;
    const bool horizontal = _HOrV == QStringLiteral("1");
    // A split line that is not a number would go into the cabinet document, which
    // could then no longer be read back; such a split is refused.
    if (!std::isfinite(horizontal ? _Y : _X)) return;
    FRegion& reg = p_Regs[static_cast<std::size_t>(_regIndex)];
    FRegion other = reg;
    if (horizontal) {
        reg.Bottom = _Y;
        other.Top = _Y;
    } else {
        reg.Right = _X;
        other.Left = _X;
    }
    p_Regs.push_back(other);  // invalidates reg
}

FCabinet* FCabs::AddCabinet(int _regIndex, std::unique_ptr<FCabinet> _cab) {
    if (!_cab) return nullptr;
    _cab->SetParRegIndex(_regIndex);
    p_CBS.push_back(std::move(_cab));
    return p_CBS.back().get();
}

CabinetHandle FCabs::GetCabinet(int _regIndex, int& _index) {
    for (std::size_t i = 0; i < p_CBS.size(); ++i) {
        if (p_CBS[i]->ParRegIndex() == _regIndex) {
            _index = static_cast<int>(i);
            return CabinetHandle(p_CBS[i].get());
        }
    }
    return CabinetHandle(std::make_unique<FCabinet>());
}

void FCabs::FreeObj() { p_CBS.clear(); }

void FCabs::SelObject(double _X, double _Y) {
    p_SelIndex = -1;
    for (std::size_t i = 0; i < p_Regs.size(); ++i) {
        const FRegion& r = p_Regs[i];
        if (r.Left < _X && _X < r.Right && r.Top < _Y && _Y < r.Bottom) {
            p_SelIndex = static_cast<int>(i);
            return;
        }
    }
}

double FCabs::GetRegWidth(int _index) const {
    if (!HasRegion(_index)) return 0;
    const FRegion& r = p_Regs[static_cast<std::size_t>(_index)];
    return r.Right - r.Left;
}

double FCabs::GetRegHight(int _index) const {
    if (!HasRegion(_index)) return 0;
    const FRegion& r = p_Regs[static_cast<std::size_t>(_index)];
    return r.Bottom - r.Top;
}

double FCabs::GetRegDepth(int _index) const {
    if (!HasRegion(_index)) return 0;
    return p_Regs[static_cast<std::size_t>(_index)].D;
}
