#pragma once
// FCabinet: one parametric cabinet. Outer size in mm, a name, four append-only lists
// (regions, boards, door leaves, drawers) and an object log that records the order in
// which boards, drawers and door leaves were placed, so the cabinet can be rebuilt by
// replaying the log (see FCabinetCopy).
//
// Coordinates: X to the right from the left outer face, Y downwards from the top
// outer face, Z into the depth from the front face; all mm.
//
// Region 0 is always the whole carcass. Placing a carcass board, shelf, partition or
// drawer appends the smaller regions it leaves; only a back board changes an existing
// region (its depth). Every placing operation takes the region to place in; an index
// outside the region list makes it a no-op that logs nothing, and so does an offset,
// thickness, edge banding or position that is not a finite number.

#include <QString>

#include "cabinet/UDataType.h"
#include "common/Canvas.h"

class FCabinet {
  public:
    // An empty cabinet of size 0 with no name (one region of size 0).
    FCabinet();
    // Create: outer width, depth and height (mm) and name; one region covering the
    // whole front, no selection, empty lists.
    FCabinet(double _w, double _d, double _h, const QString& _name);

    // --- properties -------------------------------------------------------------
    int ParRegIndex() const { return p_ParRegIndex; }  // combination region it stands in
    void SetParRegIndex(int value) { p_ParRegIndex = value; }
    double W() const { return p_W; }
    double D() const { return p_D; }
    double H() const { return p_H; }
    const QString& Name() const { return p_Name; }
    void SetName(const QString& value) { p_Name = value; }

    // The lists themselves; the document reader installs whole lists.
    const FRegions& Regions() const { return p_RegBC; }
    FRegions& Regions() { return p_RegBC; }
    void SetRegions(const FRegions& value) { p_RegBC = value; }
    const FBCS& BCS() const { return p_BCS; }
    FBCS& BCS() { return p_BCS; }
    void SetBCS(const FBCS& value) { p_BCS = value; }
    const FMBS& MBS() const { return p_MBS; }
    FMBS& MBS() { return p_MBS; }
    void SetMBS(const FMBS& value) { p_MBS = value; }
    const FChTiS& CTS() const { return p_CTS; }
    FChTiS& CTS() { return p_CTS; }
    void SetCTS(const FChTiS& value) { p_CTS = value; }
    const FRCS& OBJS() const { return p_OBJS; }
    FRCS& OBJS() { return p_OBJS; }
    void SetOBJS(const FRCS& value) { p_OBJS = value; }

    int SelRegIndex() const { return p_SelRegIndex; }  // -1 for none
    void SetSelRegIndex(int value) { p_SelRegIndex = value; }
    int SelBCIndex() const { return p_SelBCIndex; }  // -1 for none
    void SetSelBCIndex(int value) { p_SelBCIndex = value; }

    // --- regions ----------------------------------------------------------------
    bool HasRegion(int _index) const;
    // A copy of region _index; a zero region when the index is outside the list.
    FRegion GetRegion(int _index) const;
    // Right - Left, Bottom - Top and D of a region; 0 outside the list (e.g. -1).
    double GetRegWidth(int _index) const;
    double GetRegHight(int _index) const;
    double GetRegDepth(int _index) const;

    // --- object log -------------------------------------------------------------
    void AddOBJ(int _index, int _objType);

    // --- placing operations (UCabinetBoards.cpp) --------------------------------
    // Back board at the back of the region, E.H in front of its rear plane; the
    // region's depth shrinks by thickness + E.H.
    void AddBackBC(int _regIndex, const FEdge& _Edge, const FCl& _Cl, const FFengB& _FB,
                   const QString& _wl);
    // Left side board when _bcFlag is "Left", right side board otherwise; full region
    // height, always rectangular (_shape is ignored).
    void AddCeBan(int _regIndex, FShape _shape, const FEdge& _Edge, const FCl& _Cl,
                  const QString& _bcFlag, const FFengB& _FB, const QString& _wl);
    void AddDingBan(int _regIndex, FShape _shape, const FEdge& _Edge, const FCl& _Cl,
                    const FFengB& _FB, const QString& _wl);
    void AddDiBan(int _regIndex, FShape _shape, const FEdge& _Edge, const FCl& _Cl,
                  const FFengB& _FB, const QString& _wl);
    // Shelf centred at cabinet height _y when _HOrV is "1", otherwise a partition
    // centred at cabinet x _x; the region is split in two along the board.
    void AddBc(int _regIndex, FShape _shape, const FEdge& _Edge, const FCl& _Cl, double _x,
               double _y, const QString& _HOrV, const FFengB& _FB, const QString& _wl);
    // Upright board parallel to the front, at the region's front plane + E.Q.
    void AddShuBan(int _regIndex, const FEdge& _Edge, const FCl& _Cl, const FFengB& _FB,
                   const QString& _wl);
    // Door leaf on the left ("1") or right part of a region divided into _fm leaves.
    // A full-width leaf (_fm 1) spans the region whichever side is given; _fm below
    // 1 places nothing.
    void AddDKM(int _regIndex, const FEdge& _Edge, const FCl& _Cl, int _fm, const QString& _lOrR);
    // Drawer whose face takes the top 1/H of the region and overlaps it by W/2 on
    // each side; the part of the region below the face is appended as a new region.
    // H below 1 places nothing.
    void AddChouTi(int _regIndex, const FCl& _ClA, const FCl& _ClB, const QString& _Name, int W,
                   int H, int D, int E, int F, int M);

    // --- naming counters and meeting boards -------------------------------------
    // "" when there is no board of the type, else the text of count + 1.
    QString GetBCCount(FBCType _bcType) const;
    // "1" when there are no drawers, else the text of the drawer count + 1.
    QString GetCTCount() const;
    // Top, shelf, upright and bottom boards ending exactly against the left or right
    // face of _bc (X2 == _bc.X1 or X1 == _bc.X2).
    FBCS GetJoinBCS(const FBC& _bc) const;
    // Side boards and partitions standing on or hanging from _bc
    // (Y2 == _bc.Y1 or Y1 == _bc.Y2).
    FBCS GetJoinBCS2(const FBC& _bc) const;
    // Side boards with Y1 <= _bc.Y1 or Y2 >= _bc.Y2.
    FBCS GetJoinBCS3(const FBC& _bc) const;

    // --- drawing, hit testing, dimension positions (UCabinetDraw.cpp) ----------
    // Cabinet projection: _dv mm per pixel, _pos the pixel of the front top-left
    // corner, depth drawn at _Angle/_Angle2 degrees; filled faces (_3D) or wire
    // frame; dimension lines when _showBZ; _color fills the faces.
    void Draw(kelm::Canvas& _canvas, double _dv, double _Angle, double _Angle2, QPoint _pos,
              bool _3D, bool _showBZ, kelm::Color _color) const;
    // Selects the board (first, back boards skipped) or else the newest region that
    // strictly contains the point (cabinet mm); sets SelBCIndex / SelRegIndex.
    void SelObject(double _X, double _Y);
    // Sorted, distinct positions of the height, width and depth dimension lines.
    FBZL GetHLines() const;
    FBZL GetWLines() const;
    FBZL GetDLines() const;

  private:
    void AppendRegion(double left, double top, double right, double bottom, double z, double d);
    void AppendBoard(const FBC& board);
    // Board record with the fields every placing operation sets from its arguments.
    static FBC NewBoard(int regIndex, FBCType type, FShape shape, const FEdge& edge, const FCl& cl,
                        const FFengB& fb, const QString& wl);

    int p_ParRegIndex = 0;
    double p_W = 0;
    double p_D = 0;
    double p_H = 0;
    QString p_Name;
    FRegions p_RegBC;
    FBCS p_BCS;
    FMBS p_MBS;
    FChTiS p_CTS;
    int p_SelRegIndex = -1;
    int p_SelBCIndex = -1;
    FRCS p_OBJS;
};
