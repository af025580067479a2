#pragma once
// FCabs: a combination of cabinets. An outer frame (width, depth, height in mm) is
// divided into rectangular regions by splits; each region may hold one cabinet. The
// combination owns its cabinets. It is the unit that is stored as a cabinet
// document, broken into panels and kept in the library.

#include <memory>

#include "cabinet/UCabinet.h"
#include "cabinet/UDataType.h"

// What FCabs::GetCabinet hands back: either a cabinet of the combination (which the
// combination keeps owning) or, when the region holds none, a fresh empty cabinet of
// size 0 that this handle owns until TakeOwned passes it on.
class CabinetHandle {
  public:
    explicit CabinetHandle(FCabinet* inCombination) : p_cab(inCombination) {}
    explicit CabinetHandle(std::unique_ptr<FCabinet> owned)
        : p_owned(std::move(owned)), p_cab(p_owned.get()) {}

    FCabinet* get() const { return p_cab; }
    FCabinet* operator->() const { return p_cab; }
    FCabinet& operator*() const { return *p_cab; }
    // False for the fresh empty cabinet.
    bool IsInCombination() const { return !p_owned && p_cab != nullptr; }
    // The fresh empty cabinet, now owned by the caller (nullptr for a combination's
    // cabinet, which stays with the combination).
    std::unique_ptr<FCabinet> TakeOwned() {
        if (!p_owned) return nullptr;
        p_cab = nullptr;
        return std::move(p_owned);
    }

  private:
    std::unique_ptr<FCabinet> p_owned;
    FCabinet* p_cab = nullptr;
};

class FCabs {
  public:
    // Create: frame size; one region covering the frame (Z 0, D the frame depth),
    // no cabinets, no selection.
    FCabs(double _w, double _d, double _h);
    FCabs(const FCabs&) = delete;
    FCabs& operator=(const FCabs&) = delete;
    FCabs(FCabs&&) = default;
    FCabs& operator=(FCabs&&) = default;
    ~FCabs();

    // --- properties -------------------------------------------------------------
    const FCBSArr& CBS() const { return p_CBS; }
    void SetCBS(FCBSArr value) { p_CBS = std::move(value); }
    double W() const { return p_W; }
    double D() const { return p_D; }
    double H() const { return p_H; }
    int SelIndex() const { return p_SelIndex; }  // selected region, -1 for none
    void SetSelIndex(int value) { p_SelIndex = value; }
    const FRegions& Regions() const { return p_Regs; }
    FRegions& Regions() { return p_Regs; }
    void SetRegions(const FRegions& value) { p_Regs = value; }

    // Divides region _regIndex in two: horizontally at frame height _Y when _HOrV is
    // "1" (the region keeps the upper part), otherwise vertically at frame x _X (it
    // keeps the left part); the other part is appended. No-op outside the list and
    // for a split coordinate that is not a finite number.
    void AddSplit(int _regIndex, double _X, double _Y, const QString& _HOrV);
    // Puts the cabinet into region _regIndex (sets its ParRegIndex) and takes
    // ownership of it. Returns the cabinet, now held by the combination.
    FCabinet* AddCabinet(int _regIndex, std::unique_ptr<FCabinet> _cab);
    // The first cabinet standing in region _regIndex, with _index set to its position
    // in CBS. When the region holds none: a new empty cabinet (size 0, no name) owned
    // by the handle, and _index is left as it was.
    CabinetHandle GetCabinet(int _regIndex, int& _index);
    // Frees every cabinet; the regions stay.
    void FreeObj();
    // SelIndex becomes the first region (ascending) strictly containing the point,
    // or -1. Points on a split line select nothing.
    void SelObject(double _X, double _Y);

    // Right - Left, Bottom - Top and D of a frame region; 0 outside the list.
    double GetRegWidth(int _index) const;
    double GetRegHight(int _index) const;
    double GetRegDepth(int _index) const;

    // --- drawing (UCabsDraw.cpp) ------------------------------------------------
    // Each cabinet at the top-left corner of its region, then the selected region's
    // red dashed outline.
    void Draw(kelm::Canvas& _canvas, double _dv, QPoint _pos, bool _3D, bool _hasBZ,
              kelm::Color _color, int _agl1, int _agl2) const;
    void DrawRegion(kelm::Canvas& _canvas, const FRegion& _reg, double _dv, QPoint _pos) const;
    void DrawLine(kelm::Canvas& _canvas, double _x1, double _y1, double _x2, double _y2) const;

  private:
    bool HasRegion(int _index) const;

    FCBSArr p_CBS;
    double p_W = 0;
    double p_D = 0;
    double p_H = 0;
    int p_SelIndex = -1;
    FRegions p_Regs;
};
