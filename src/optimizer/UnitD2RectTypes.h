#pragma once
// Records and enumerations exchanged by every piece of the cutting optimizer: raw
// sheet types, part types, run parameters, placed parts, sheet layouts, schemes and
// result statistics. Lengths are millimetres, areas mm², prices per m² of raw sheet.
// On a sheet the origin is the top-left corner, X along Length, Y along Width (down).

#include <QString>
#include <cstdint>
#include <vector>

// Raw sheet type: one stock sheet size.
struct TD2RRaw {
    int32_t XH = 0;      // 1-based position in the list as built
    QString Name;        // sheet name
    QString DbID;        // raw material key (ylID)
    QString Demo;        // remark
    double Price = 0;    // per m²
    double Length = 0;   // X, mm
    double Width = 0;    // Y, mm
    int32_t Count = 0;   // sheets available; 99999999 stands for unlimited
    int32_t Prio = 0;    // 1 = use before all others
    // Identifier of the offcut this sheet is (a leftover of an earlier cut kept in
    // stock); empty for a new sheet. Offcuts are offered with Prio 1, so they are used
    // before new sheets are started.
    QString Offcut;
};
using TD2RRawArr = std::vector<TD2RRaw>;

// Part type: one distinct panel size with its required quantity.
struct TD2REle {
    int32_t XH = 0;        // position + 1 in the list handed to the optimizer
    QString Name;
    QString Demo;
    double Length = 0;     // unturned X extent, mm
    double Width = 0;      // unturned Y extent, mm
    int32_t Count = 0;     // pieces required
    int32_t Rotation = 0;  // 1 = may be laid turned by 90°
};
using TD2REleArr = std::vector<TD2REle>;

enum class TD2RPriority : uint8_t { Uti = 0, Cut = 1, Price = 2 };
enum class TD2RFirstCut : uint8_t { HV = 0, HD = 1, VD = 2 };
enum class TD2RLayStyle : uint8_t { regular = 0, HStrip = 1, VStrip = 2 };

// Trim margins kept free on each side of every sheet, mm.
struct TEdge {
    int32_t Top = 0;
    int32_t Bottom = 0;
    int32_t Left = 0;
    int32_t Right = 0;
};

// Smallest offcut that counts as a reusable leftover, mm.
struct TBin {
    int32_t Length = 0;
    int32_t Width = 0;
};

// Run parameters of one optimization.
struct TD2RPrm {
    int32_t OptTime = 30;       // generations
    double BladeWidth = 0;      // kerf, mm
    uint32_t Hd = 0;            // receiver of progress messages
    uint32_t Hd1 = 0;           // receiver of the completion message
    TD2RPriority Priority = TD2RPriority::Uti;
    TD2RFirstCut FirstCut = TD2RFirstCut::HV;
    TD2RLayStyle LayStyle = TD2RLayStyle::regular;
    int32_t WenLu = 0;          // unused grain switch
    TEdge Edg;                  // trim margins
    TBin Bin{100, 100};         // leftover threshold
    int32_t lingyin = 1;        // unused
    int32_t wucha = 0;          // size tolerance for rotatable parts, mm
};

// A rectangle on a sheet, mm.
struct TRectR {
    double px = 0;
    double py = 0;
    double Length = 0;
    double Width = 0;
};
using TRectArr = std::vector<TRectR>;

// One part placed on a sheet; Length/Width are the extents as placed (swapped when turned).
struct TRectEle {
    int32_t eIndex = 0;  // position in the optimizer's own part list at layout time
    int32_t XH = 0;
    QString Name;
    QString Demo;
    double px = 0;
    double py = 0;
    double Length = 0;
    double Width = 0;
};
using TD2REleLay = std::vector<TRectEle>;

// One sheet layout, cut RawCount times.
struct TD2RGene {
    int32_t RawIndex = 0;
    QString RawDbID;
    QString RawName;
    double RawPrice = 0;
    double RawLength = 0;
    double RawWidth = 0;
    int32_t RawCount = 0;
    TD2REleLay EleList;   // placed parts of one sheet, in placement order
    TRectArr RectArr;     // leftover rectangles of one sheet
    double EleArea = 0;   // part area on one sheet, mm²
    double maxBin = 0;    // area of the largest leftover, mm²
    QString Offcut;       // the offcut this layout is cut from; empty on new sheets
};
using TD2RSchame = std::vector<TD2RGene>;
using TD2RPop = std::vector<TD2RSchame>;

// Sheets used per size and name.
struct TUseRaw {
    QString rawName;
    QString rawSize;  // length "×" width
    int32_t Count = 0;
};
using TUseRawArr = std::vector<TUseRaw>;

// Pieces of a part type (on one layout, or left uncut).
struct TEleCut {
    int32_t XH = 0;
    QString Name;
    double length = 0;
    double width = 0;
    int32_t count = 0;
};
using TNoCutArr = std::vector<TEleCut>;
using TEleCutArr = std::vector<std::vector<TEleCut>>;

// A reusable leftover size.
struct TBinSize {
    QString rawDbID;
    QString rawName;
    double length = 0;
    double width = 0;
    int32_t count = 0;
};
using TBinSizeArr = std::vector<TBinSize>;

// A part type that may not turn (its grain is fixed): its unturned extents. The grain of
// such a part runs along its unturned Length, which lies along the sheet's length.
struct TEleGrain {
    int32_t XH = 0;
    double Length = 0;
    double Width = 0;
};
using TEleGrainArr = std::vector<TEleGrain>;

// Statistics of a scheme.
struct TD2Rslt {
    double eleTotalArea = 0;  // mm²
    double rawUseArea = 0;    // mm²
    double UltiRate = 0;      // ratio 0 … 1
    int32_t RawUseCount = 0;  // sheets
    double TotalPrice = 0;
    TUseRawArr UseRawArr;
    TEleCutArr EleCutArr;
    TNoCutArr NoCutArr;
    TBinSizeArr BinSizeArr;
    TEleGrainArr GrainArr;  // part types that may not turn, for the diagrams' grain marks
};
