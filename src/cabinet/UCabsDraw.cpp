// Drawing of a combination: every cabinet at the top-left corner of the frame region
// it stands in, then the outline of the selected frame region.
#include "cabinet/UCabs.h"
#include "cabinet/CabinetPixels.h"

using kelm::cabinet_pixels::TruncPixel;

void FCabs::Draw(kelm::Canvas& _canvas, double _dv, QPoint _pos, bool _3D, bool _hasBZ,
                 kelm::Color _color, int _agl1, int _agl2) const {
    if (!(_dv > 0)) return;  // no scale, no picture
    for (const std::unique_ptr<FCabinet>& cab : p_CBS) {
        // A cabinet whose region is not in the frame (a damaged document) has no place.
        if (!cab || !HasRegion(cab->ParRegIndex())) continue;
        const FRegion& reg = p_Regs[static_cast<size_t>(cab->ParRegIndex())];
        const QPoint origin(TruncPixel(reg.Left / _dv + _pos.x()), TruncPixel(reg.Top / _dv + _pos.y()));
        cab->Draw(_canvas, _dv, _agl1, _agl2, origin, _3D, _hasBZ, _color);
    }
    if (HasRegion(p_SelIndex)) DrawRegion(_canvas, p_Regs[static_cast<size_t>(p_SelIndex)], _dv, _pos);
}

void FCabs::DrawRegion(kelm::Canvas& _canvas, const FRegion& _reg, double _dv, QPoint _pos) const {
    kelm::cabinet_pixels::RegionOutline(_canvas, _reg, _dv, _pos);
}

void FCabs::DrawLine(kelm::Canvas& _canvas, double _x1, double _y1, double _x2, double _y2) const {
    kelm::cabinet_pixels::PixelLine(_canvas, _x1, _y1, _x2, _y2);
}
