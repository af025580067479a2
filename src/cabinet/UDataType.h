#pragma once
// Value records of the cabinet model: regions, boards, door leaves, drawers, the
// material reference they carry, offsets and edge banding, the object log, dimension
// positions, drilling rules and the system settings. All lengths are millimetres.
// Every record is a plain value: copying one copies every field, texts included.

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// Outline of a horizontal board seen from above.
enum class FShape : std::uint8_t {
    R = 0,    // rectangle
    A4L = 1,  // left end rounded: quarter arc from the back-left to the front-right corner
    A4R = 2,  // right end rounded: quarter arc from the front-left to the back-right corner
};

// What a board is.
enum class FBCType : std::uint8_t {
    BeiBan = 0,      // back board
    CeBanLeft = 1,   // left side board
    CeBanRight = 2,  // right side board
    DingBan = 3,     // top board
    CengBan = 4,     // shelf
    GeBan = 5,       // vertical partition
    ShuBan = 6,      // upright board parallel to the front
    DiBan = 7,       // bottom board
    MenBan = 8,      // door panel (no board is ever given this type)
};

// Names used in cabinet documents ("R", "A4L", "A4R" and "BeiBan" ... "DiBan").
// FBCTypeName gives an empty text for MenBan, which documents do not name.
QString FShapeName(FShape shape);
QString FBCTypeName(FBCType type);
// Reverse lookups; std::nullopt for a text that is not one of the names above.
std::optional<FShape> FShapeFromName(const QString& name);
std::optional<FBCType> FBCTypeFromName(const QString& name);

// Material reference of a board, door leaf or drawer, plus the part name.
struct FCl {
    QString DbID;      // ylID of the raw material as text; "-1" when none was found
    QString Name;      // part name, becomes the panel-list part name
    double Thick = 0;  // board thickness, mm
    bool operator==(const FCl&) const = default;
};

// Placed box of an element: front-view rectangle (X1, Y1)-(X2, Y2) in cabinet
// coordinates and the depth Z of its front face, mm.
struct FPos {
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, Z = 0;
    bool operator==(const FPos&) const = default;
};

// Offsets (mm) by which an element is set in from the sides of its region:
// left, right, top, bottom, front (Q) and back (H).
struct FEdge {
    double L = 0, R = 0, T = 0, B = 0, Q = 0, H = 0;
    bool operator==(const FEdge&) const = default;
};

// Edge-banding thickness (mm) on the six edges of a board; Q front, H back.
struct FFengB {
    double L = 0, R = 0, T = 0, B = 0, Q = 0, H = 0;
    bool operator==(const FFengB&) const = default;
};

// One board. It occupies [X1, X2] x [Y1, Y2] x [Z, Z + D].
struct FBC {
    int regIndex = 0;  // region the board was placed in
    FShape Shape = FShape::R;
    FBCType BCType = FBCType::BeiBan;
    FPos Pos;
    FEdge Edge;    // offsets it was placed with
    FFengB FB;     // edge banding
    FCl Cl;        // material and part name
    double D = 0;  // extent in depth: thickness of back and upright boards, depth otherwise
    QString WL;    // grain: "0" none, "1" horizontal, "2" vertical
    int Flag = 0;  // 1 for carcass boards (back, sides, top, bottom), 0 for the others
    bool operator==(const FBC&) const = default;
};
using FBCS = std::vector<FBC>;

// One rectangular cell of the cabinet front with its depth range, mm.
struct FRegion {
    double Left = 0, Top = 0, Right = 0, Bottom = 0;
    double Z = 0;  // depth of the cell's front plane
    double D = 0;  // usable depth behind Z
    bool operator==(const FRegion&) const = default;
};
using FRegions = std::vector<FRegion>;

// One door leaf.
struct FMB {
    int regIndex = 0;
    FCl Cl;
    FEdge Edge;  // gaps to the region sides and front offset
    FPos Pos;
    int fm = 1;    // the region width is divided by this: 1 full width, 2 half
    QString LOrR;  // "1" left part of the region, otherwise the right part
    double D = 0;  // leaf thickness
    bool operator==(const FMB&) const = default;
};
using FMBS = std::vector<FMB>;

// One drawer: its face (Pos) and the parameters of its box, mm.
struct FChTi {
    int regIndex = 0;
    FCl ACl;  // face, box front, back and sides
    FCl BCl;  // box bottom
    QString Name;
    int W = 36;   // total overlap of the face beyond the region width, half on each side
    int H = 1;    // the face takes 1/H of the region height
    int D = 350;  // box depth
    int E = 20;   // left gap between face edge and box
    int F = 20;   // right gap between face edge and box
    int M = 80;   // box side height
    FPos Pos;
    bool operator==(const FChTi&) const = default;
};
using FChTiS = std::vector<FChTi>;

// Object log entry kinds.
enum FObjType : int { ObjBoard = 1, ObjDrawer = 2, ObjDoor = 3 };

// One entry of a cabinet's object log: which list (ObjType) and which element (index).
struct FRC {
    int index = 0;
    int ObjType = 0;
    bool operator==(const FRC&) const = default;
};
using FRCS = std::vector<FRC>;

// A position of a dimension line, mm.
struct FPoint {
    double Val = 0;
    bool operator==(const FPoint&) const = default;
};
using FBZL = std::vector<FPoint>;

// One drilling rule: panel sizes minV ... maxV (mm) and the hole positions kwStr.
struct FKW {
    double minV = 0;
    double maxV = 0;
    QString kwStr;
    bool operator==(const FKW&) const = default;
};
using FPKBZ = std::vector<FKW>;

// System settings, one record for the installation.
struct TSysSet {
    QString cmpName = QStringLiteral("Veldstrom");  // company name
    double Blade = 5;                               // saw kerf, mm
    int JQD = 0;    // size precision: 0 one decimal, 1 rounded, 2 truncated
    int OptT1 = 0;  // optimisation time class: 0 quick, 1 normal, 2 deep
    // Trim margins kept free on each side of every raw sheet, whole mm.
    int TrimTop = 0;
    int TrimBottom = 0;
    int TrimLeft = 0;
    int TrimRight = 0;
    // Smallest leftover kept as an offcut, mm.
    double MinOffcutLength = 300;
    double MinOffcutWidth = 100;
    // Time the deep search (深度计算) may spend on one material, seconds.
    int DeepSeconds = 10;
    bool operator==(const TSysSet&) const = default;
};

class FCabinet;
// The cabinets of a combination; the combination owns them.
using FCBSArr = std::vector<std::unique_ptr<FCabinet>>;

// Reads the settings from the first FSysSet row through the data module; the
// defaults of TSysSet when the table has no row.
TSysSet GetSysSet();

// Material reference for a raw material identifier (ylID): DbID and Thick from the
// FCl row, Name empty. DbID "-1" and thickness 18 when no such material exists or
// the identifier is not a whole number.
FCl GetCl(const QString& ylID);
