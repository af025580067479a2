// Drawing of one cabinet as a cabinet-projection sketch, its hit test and the positions
// of its dimension lines.
//
// Projection: a cabinet point (x, y, z) lands at
//   X = pos.X + x/dv − N((z/dv)·cos a1),  Y = pos.Y + y/dv − N((z/dv)·sin a2)
// where only the depth offsets are taken to whole pixels (nearest, halves to even) so
// that every element of one depth shares exactly the same offset. The remaining
// fractions are truncated for rectangles, polygons and arcs and rounded for lines.
#include "cabinet/UCabinet.h"
#include "cabinet/CabinetPixels.h"
#include "common/NumberFormat.h"

#include <QRect>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using kelm::Canvas;

// Nearest integer, halves to even (the FPU's default rounding).
double Nearest(double v) { return std::nearbyint(v); }

// Pixel for rectangles, polygons and arcs.
int T(double v) { return kelm::cabinet_pixels::TruncPixel(v); }
// Pixel for lines and texts.
int N(double v) { return kelm::cabinet_pixels::NearestPixel(v); }

// Dimension texts are drawn on an opaque background, so a text drawn over another one
// would hide part of it ("200.C" for "200.0" next to a short segment's text). Each text
// goes to its usual place, else to the alternative one beside it, else is left out, so
// every text shown is whole.
class DimensionTexts {
  public:
    explicit DimensionTexts(Canvas& canvas) : p_canvas(canvas) {}
    void Put(QPoint at, QPoint alternative, const QString& text) {
        const QSize size(p_canvas.TextWidth(text), p_canvas.TextHeight(text));
        for (const QPoint& p : {at, alternative}) {
            const QRect box(p, size);
            if (std::any_of(p_boxes.begin(), p_boxes.end(),
                            [&box](const QRect& b) { return b.intersects(box); }))
                continue;
            p_canvas.TextOut(p.x(), p.y(), text);
            p_boxes.push_back(box);
            return;
        }
    }

  private:
    Canvas& p_canvas;
    std::vector<QRect> p_boxes;
};

struct Projection {
    double dv;
    double cosA;
    double sinA2;
    QPoint pos;

    double DepthX(double z) const { return Nearest((z / dv) * cosA); }
    double DepthY(double z) const { return Nearest((z / dv) * sinA2); }
    double X(double x, double z) const { return pos.x() + x / dv - DepthX(z); }
    double Y(double y, double z) const { return pos.y() + y / dv - DepthY(z); }
};

// Projected front (f) and back (b) corners of a box; 1 upper left, 2 lower right.
struct Box {
    double fx1, fy1, fx2, fy2;
    double bx1, by1, bx2, by2;
};

Box Project(const Projection& p, const FPos& pos, double depth) {
    const double zb = pos.Z + depth;
    return {p.X(pos.X1, pos.Z), p.Y(pos.Y1, pos.Z), p.X(pos.X2, pos.Z), p.Y(pos.Y2, pos.Z),
            p.X(pos.X1, zb),    p.Y(pos.Y1, zb),    p.X(pos.X2, zb),    p.Y(pos.Y2, zb)};
}

QPoint Pt(double x, double y) { return QPoint(T(x), T(y)); }

std::vector<QPoint> LeftFace(const Box& b) {
    return {Pt(b.fx1, b.fy2), Pt(b.fx1, b.fy1), Pt(b.bx1, b.by1), Pt(b.bx1, b.by2)};
}
std::vector<QPoint> RightFace(const Box& b) {
    return {Pt(b.fx2, b.fy2), Pt(b.fx2, b.fy1), Pt(b.bx2, b.by1), Pt(b.bx2, b.by2)};
}
std::vector<QPoint> TopFace(const Box& b) {
    return {Pt(b.fx1, b.fy1), Pt(b.fx2, b.fy1), Pt(b.bx2, b.by1), Pt(b.bx1, b.by1)};
}
std::vector<QPoint> FrontFace(const Box& b) {
    return {Pt(b.fx1, b.fy1), Pt(b.fx2, b.fy1), Pt(b.fx2, b.fy2), Pt(b.fx1, b.fy2)};
}
std::vector<QPoint> BackFace(const Box& b) {
    return {Pt(b.bx1, b.by1), Pt(b.bx2, b.by1), Pt(b.bx2, b.by2), Pt(b.bx1, b.by2)};
}

// An unfilled closed outline.
void Outline(Canvas& canvas, std::vector<QPoint> points) {
    points.push_back(points.front());
    canvas.Polyline(points);
}

// Quarter arcs standing for the rounded front edge of A4L/A4R boards, at the top and
// the bottom level, after the outlines of the back rectangle and the straight end.
void DrawRounded(Canvas& canvas, FShape shape, const Box& b) {
    Outline(canvas, BackFace(b));
    if (shape == FShape::A4L) {
        Outline(canvas, RightFace(b));
        canvas.Arc(T(b.bx1), T(2 * b.by1 - b.fy1), T(2 * b.fx2 - b.bx1), T(b.fy1), T(b.bx1),
                   T(b.by1), T(b.fx2), T(b.fy1));
        canvas.Arc(T(b.bx1), T(2 * b.by2 - b.fy2), T(2 * b.fx2 - b.bx1), T(b.fy2), T(b.bx1),
                   T(b.by2), T(b.fx2), T(b.fy2));
    } else {
        Outline(canvas, LeftFace(b));
        canvas.Arc(T(2 * b.fx1 - b.bx2), T(2 * b.by1 - b.fy1), T(b.bx2), T(b.fy1), T(b.fx1),
                   T(b.fy1), T(b.bx2), T(b.by1));
        canvas.Arc(T(2 * b.fx1 - b.bx2), T(2 * b.by2 - b.fy2), T(b.bx2), T(b.fy2), T(b.fx1),
                   T(b.fy2), T(b.bx2), T(b.by2));
    }
}

// Pulls the receding corners of a shelf, bottom, partition or upright board in to the
// projected outline of its region, so they do not run over the carcass in front.
void ClipToRegion(Box& b, FBCType type, const FRegion& reg, const Projection& p) {
    const double rfL = p.X(reg.Left, reg.Z);
    const double rfT = p.Y(reg.Top, reg.Z);
    const double rfR = p.X(reg.Right, reg.Z);
    const double rbT = p.Y(reg.Top, reg.Z + reg.D);
    const double rbR = p.X(reg.Right, reg.Z + reg.D);
    switch (type) {
    case FBCType::CengBan:
    case FBCType::DiBan:
        if (b.fx1 == p.pos.x()) break;  // a board from the cabinet's own left edge
        b.fx1 = std::max(b.fx1, rfL);
        b.fx2 = std::max(b.fx2, rfL);
        b.bx1 = std::max(b.bx1, rfL);
        b.bx2 = std::max(b.bx2, rfL);
        b.fy1 = std::max(b.fy1, rfT);
        b.by1 = std::max(b.by1, rbT);
        break;
    case FBCType::GeBan:
        b.fx1 = std::max(b.fx1, rfL);
        b.fx2 = std::min(b.fx2, rfR);
        b.bx1 = std::max(b.bx1, rfL);
        b.bx2 = std::max(std::min(b.bx2, rbR), rfL);
        b.fy1 = std::max(b.fy1, rfT);
        b.by1 = std::max(b.by1, rfT);
        break;
    case FBCType::ShuBan:
        b.fx1 = std::max(b.fx1, rfL);
        b.bx1 = std::max(b.bx1, rfL);
        b.fy1 = std::max(b.fy1, rfT);
        b.by1 = std::max(b.by1, rfT);
        b.fy2 = std::max(b.fy2, rfT);
        b.by2 = std::max(b.by2, rfT);
        break;
    default: break;
    }
}

enum class Handle { DoorRight, DoorLeft, Drawer };

// What one pass of the drawing needs besides the element.
struct Painter {
    Canvas& canvas;
    Projection p;
    bool filled;
    kelm::Color color;
    const FRegions& regions;

    void BeginFill() const {
        if (!filled) return;
        canvas.SetBrushColor(color);
        canvas.SetBrushStyle(kelm::BrushStyle::Solid);
    }
    void EndFill() const {
        if (filled) canvas.SetBrushColor(kelm::Colors::White);
    }

    // A board (or a drawer box part drawn as the board kind it stands for).
    void Board(FBCType type, FShape shape, const FPos& pos, double depth, int regIndex) const {
        Box b = Project(p, pos, depth);
        if (!filled) {
            if (shape == FShape::R)
                WireBox(b);
            else
                DrawRounded(canvas, shape, b);
            return;
        }
        if (regIndex >= 0 && static_cast<size_t>(regIndex) < regions.size())
            ClipToRegion(b, type, regions[static_cast<size_t>(regIndex)], p);
        BeginFill();
        if (shape == FShape::R) {
            const bool sides = type == FBCType::CeBanLeft || type == FBCType::CeBanRight ||
                               type == FBCType::GeBan || type == FBCType::CengBan || pos.X1 == 0;
            if (sides) {
                canvas.Polygon(RightFace(b));
                canvas.Polygon(LeftFace(b));
            }
            canvas.Polygon(FrontFace(b));
            canvas.Polygon(TopFace(b));
        } else {
            DrawRounded(canvas, shape, b);
        }
        EndFill();
    }

    // A door leaf or drawer face with its handle.
    void FrontPanel(const FPos& pos, double depth, Handle handle) const {
        const Box b = Project(p, pos, depth);
        if (!filled) {
            canvas.SetBrushColor(kelm::Colors::Olive);
            canvas.SetBrushStyle(kelm::BrushStyle::FDiagonal);
            canvas.Rectangle(T(b.fx1), T(b.fy1), T(b.fx2), T(b.fy2));
            canvas.SetBrushColor(kelm::Colors::White);
            canvas.SetBrushStyle(kelm::BrushStyle::Solid);
            WireBox(b);
            return;
        }
        BeginFill();
        canvas.Rectangle(T(b.fx1), T(b.fy1), T(b.fx2), T(b.fy2));
        if (handle == Handle::Drawer) {
            const int left = T((b.fx2 - b.fx1 - 15) / 2 + b.fx1);
            const int top = T((b.fy2 - b.fy1 - 5) / 2 + b.fy1);
            canvas.Rectangle(left, top, left + 15, top + 5);
        } else {
            const int left = handle == Handle::DoorRight ? T(b.fx2 - 20) : T(b.fx1 + 15);
            const int top = T((b.fy2 - b.fy1 - 20) / 2 + b.fy1);
            canvas.Rectangle(left, top, left + 5, top + 20);
        }
        canvas.Polygon(LeftFace(b));
        canvas.Polygon(TopFace(b));
        EndFill();
    }

    // All twelve edges: front, back, left and right outlines.
    void WireBox(const Box& b) const {
        Outline(canvas, FrontFace(b));
        Outline(canvas, BackFace(b));
        Outline(canvas, LeftFace(b));
        Outline(canvas, RightFace(b));
    }
};

using kelm::cabinet_pixels::PixelLine;

// Appends v unless an equal value is already there.
void AddDistinct(FBZL& list, double v) {
    for (const FPoint& p : list)
        if (p.Val == v) return;
    list.push_back(FPoint{v});
}

// Ascending, by exchanging neighbours.
void SortAscending(FBZL& list) {
    for (size_t pass = 0; pass + 1 < list.size(); ++pass)
        for (size_t i = 0; i + 1 < list.size() - pass; ++i)
            if (list[i].Val > list[i + 1].Val) std::swap(list[i], list[i + 1]);
}

}  // namespace

FBZL FCabinet::GetHLines() const {
    FBZL list{FPoint{0}};
    for (const FBC& bc : p_BCS)
        if (bc.BCType == FBCType::CengBan || bc.BCType == FBCType::DiBan)
            AddDistinct(list, (bc.Pos.Y1 + bc.Pos.Y2) / 2);
    AddDistinct(list, p_H);
    SortAscending(list);
    return list;
}

FBZL FCabinet::GetWLines() const {
    FBZL list{FPoint{0}};
    for (const FBC& bc : p_BCS)
        if (bc.BCType == FBCType::GeBan) AddDistinct(list, (bc.Pos.X1 + bc.Pos.X2) / 2);
    AddDistinct(list, p_W);
    SortAscending(list);
    return list;
}

FBZL FCabinet::GetDLines() const {
    FBZL list{FPoint{0}};
    for (const FBC& bc : p_BCS)
        if (bc.BCType == FBCType::ShuBan) AddDistinct(list, bc.Pos.Z);
    AddDistinct(list, p_D);
    SortAscending(list);
    return list;
}

void FCabinet::SelObject(double _X, double _Y) {
    p_SelRegIndex = -1;
    p_SelBCIndex = -1;
    for (size_t i = 0; i < p_BCS.size(); ++i) {
        const FBC& bc = p_BCS[i];
        if (bc.BCType == FBCType::BeiBan) continue;
        if (bc.Pos.X1 < _X && _X < bc.Pos.X2 && bc.Pos.Y1 < _Y && _Y < bc.Pos.Y2) {
            p_SelBCIndex = static_cast<int>(i);
            return;
        }
    }
    for (size_t i = p_RegBC.size(); i-- > 0;) {
        const FRegion& r = p_RegBC[i];
        if (r.Left < _X && _X < r.Right && r.Top < _Y && _Y < r.Bottom) {
            p_SelRegIndex = static_cast<int>(i);
            return;
        }
    }
}

void FCabinet::Draw(kelm::Canvas& _canvas, double _dv, double _Angle, double _Angle2, QPoint _pos,
                    bool _3D, bool _showBZ, kelm::Color _color) const {
    // Without a positive scale nothing has a place on the surface.
    if (!(_dv > 0)) return;
    const Projection p{_dv, std::cos(_Angle * M_PI / 180.0), std::sin(_Angle2 * M_PI / 180.0), _pos};
    const Painter painter{_canvas, p, _3D, _color, p_RegBC};

    auto boards = [&](auto wanted) {
        for (size_t i = 0; i < p_BCS.size(); ++i) {
            const FBC& bc = p_BCS[i];
            if (!wanted(bc.BCType)) continue;
            _canvas.SetPenColor(static_cast<int>(i) == p_SelBCIndex ? kelm::Colors::Red
                                                                    : kelm::Colors::Black);
            painter.Board(bc.BCType, bc.Shape, bc.Pos, bc.D, bc.regIndex);
        }
    };
    boards([](FBCType t) { return t == FBCType::BeiBan; });
    boards([](FBCType t) { return t == FBCType::CeBanRight; });
    boards([](FBCType t) {
        return t == FBCType::CengBan || t == FBCType::GeBan || t == FBCType::ShuBan ||
               t == FBCType::DiBan || t == FBCType::MenBan;
    });
    boards([](FBCType t) { return t == FBCType::CeBanLeft; });
    boards([](FBCType t) { return t == FBCType::DingBan; });

    _canvas.SetPenColor(kelm::Colors::Black);
    for (const FChTi& ct : p_CTS) {
        const double tA = ct.ACl.Thick;
        const FPos& f = ct.Pos;
        const double yb = f.Y1 + ((f.Y2 - f.Y1) - ct.M) / 2;
        const double boxZ = f.Z + tA;
        painter.Board(FBCType::ShuBan, FShape::R,
                      FPos{f.X1 + ct.E + tA, yb, f.X2 - ct.F - tA, yb + ct.M, f.Z + ct.D - tA}, tA,
                      ct.regIndex);
        painter.Board(FBCType::GeBan, FShape::R, FPos{f.X2 - ct.F - tA, yb, f.X2 - ct.F, yb + ct.M, boxZ},
                      ct.D - tA, ct.regIndex);
        painter.Board(FBCType::GeBan, FShape::R, FPos{f.X1 + ct.E, yb, f.X1 + ct.E + tA, yb + ct.M, boxZ},
                      ct.D - tA, ct.regIndex);
        painter.FrontPanel(f, tA, Handle::Drawer);
    }
    for (const FMB& mb : p_MBS)
        painter.FrontPanel(mb.Pos, mb.D, mb.LOrR == QStringLiteral("1") ? Handle::DoorRight : Handle::DoorLeft);

    if (p_SelRegIndex >= 0 && static_cast<size_t>(p_SelRegIndex) < p_RegBC.size())
        kelm::cabinet_pixels::RegionOutline(_canvas, p_RegBC[static_cast<size_t>(p_SelRegIndex)],
                                            _dv, _pos);

    if (!_showBZ) return;
    _canvas.SetPenColor(kelm::Colors::Blue);
    DimensionTexts texts(_canvas);

    const FBZL w = GetWLines();
    const double wy = _pos.y() + p_H / _dv + 10;
    for (size_t i = 0; i + 1 < w.size(); ++i) {
        const double x1 = _pos.x() + w[i].Val / _dv, x2 = _pos.x() + w[i + 1].Val / _dv;
        PixelLine(_canvas, x1, wy, x2, wy);
        PixelLine(_canvas, x1, wy - 5, x1, wy + 5);
        PixelLine(_canvas, x2, wy - 5, x2, wy + 5);
        // Else below the ticks.
        texts.Put(QPoint(N((x1 + x2) / 2), N(wy - 5)), QPoint(N((x1 + x2) / 2), N(wy + 6)),
                  kelm::FormatPattern(w[i + 1].Val - w[i].Val, QStringLiteral("0.0")));
    }

    const FBZL h = GetHLines();
    const double hx = _pos.x() + p_W / _dv + 10;
    for (size_t i = 0; i + 1 < h.size(); ++i) {
        const double y1 = _pos.y() + h[i].Val / _dv, y2 = _pos.y() + h[i + 1].Val / _dv;
        PixelLine(_canvas, hx, y1, hx, y2);
        PixelLine(_canvas, hx - 5, y1, hx + 5, y1);
        PixelLine(_canvas, hx - 5, y2, hx + 5, y2);
        // Else further right, beside where a neighbour's text stands.
        const QString text = kelm::FormatPattern(h[i + 1].Val - h[i].Val, QStringLiteral("0.0"));
        texts.Put(QPoint(N(hx - 5), N((y1 + y2) / 2)),
                  QPoint(N(hx - 5) + _canvas.TextWidth(text) + 4, N((y1 + y2) / 2)), text);
    }

    const bool frontView = _Angle == 90 && _Angle2 == 0;
    if (!frontView) {
        const FBZL d = GetDLines();
        auto dx = [&](double v) { return _pos.x() + p_W / _dv - p.DepthX(v) + 10; };
        auto dy = [&](double v) { return _pos.y() - p.DepthY(v); };
        for (size_t i = 0; i + 1 < d.size(); ++i) {
            const double x1 = dx(d[i].Val), y1 = dy(d[i].Val);
            const double x2 = dx(d[i + 1].Val), y2 = dy(d[i + 1].Val);
            PixelLine(_canvas, x1, y1, x2, y2);
            PixelLine(_canvas, x1 - 5, y1, x1 + 5, y1);
            PixelLine(_canvas, x2 - 5, y2, x2 + 5, y2);
            // Else to the left of the line's middle.
            const QString text = kelm::FormatGeneral(d[i + 1].Val - d[i].Val);
            const QPoint at(N((x1 + x2) / 2), N((y1 + y2) / 2 - 5));
            texts.Put(at, at - QPoint(_canvas.TextWidth(text) + 4, 0), text);
        }
    }
    _canvas.SetPenColor(kelm::Colors::Black);
}
