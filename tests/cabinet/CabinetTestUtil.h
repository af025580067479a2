#pragma once
// Small helpers shared by the cabinet tests: material references, offsets and a
// field-by-field comparison of whole cabinets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "cabinet/UCabinet.h"

inline FCl MakeCl(double thick, const QString& name = QString(),
                  const QString& id = QStringLiteral("7")) {
    FCl cl;
    cl.DbID = id;
    cl.Name = name;
    cl.Thick = thick;
    return cl;
}

inline FEdge MakeEdge(double l, double r, double t, double b, double q, double h) {
    FEdge e;
    e.L = l;
    e.R = r;
    e.T = t;
    e.B = b;
    e.Q = q;
    e.H = h;
    return e;
}

inline std::string RegionText(const FRegion& r) {
    return "(" + std::to_string(r.Left) + ", " + std::to_string(r.Top) + ", " +
           std::to_string(r.Right) + ", " + std::to_string(r.Bottom) + ") Z " +
           std::to_string(r.Z) + " D " + std::to_string(r.D);
}

// Every field of two cabinets, lists included, compared exactly.
inline void ExpectSameCabinet(const FCabinet& a, const FCabinet& b) {
    EXPECT_EQ(a.W(), b.W());
    EXPECT_EQ(a.D(), b.D());
    EXPECT_EQ(a.H(), b.H());
    EXPECT_EQ(a.Name(), b.Name());
    EXPECT_EQ(a.ParRegIndex(), b.ParRegIndex());
    EXPECT_EQ(a.SelRegIndex(), b.SelRegIndex());
    EXPECT_EQ(a.SelBCIndex(), b.SelBCIndex());
    EXPECT_TRUE(a.Regions() == b.Regions());
    EXPECT_TRUE(a.BCS() == b.BCS());
    EXPECT_TRUE(a.MBS() == b.MBS());
    EXPECT_TRUE(a.CTS() == b.CTS());
    EXPECT_TRUE(a.OBJS() == b.OBJS());
}

// Equal to 15 significant digits (what the document's number form keeps).
inline bool Near15(double a, double b) {
    if (a == b) return true;
    return std::fabs(a - b) <= 1e-14 * std::max(std::fabs(a), std::fabs(b));
}

#define KELM_EXPECT_NEAR15(a, b, what) \
    EXPECT_TRUE(Near15((a), (b))) << (what) << ": " << (a) << " vs " << (b)

inline void ExpectNearPos(const FPos& a, const FPos& b, const std::string& what) {
    KELM_EXPECT_NEAR15(a.X1, b.X1, what + ".X1");
    KELM_EXPECT_NEAR15(a.Y1, b.Y1, what + ".Y1");
    KELM_EXPECT_NEAR15(a.X2, b.X2, what + ".X2");
    KELM_EXPECT_NEAR15(a.Y2, b.Y2, what + ".Y2");
    KELM_EXPECT_NEAR15(a.Z, b.Z, what + ".Z");
}

template <typename Six>
inline void ExpectNearSix(const Six& a, const Six& b, const std::string& what) {
    KELM_EXPECT_NEAR15(a.L, b.L, what + ".L");
    KELM_EXPECT_NEAR15(a.R, b.R, what + ".R");
    KELM_EXPECT_NEAR15(a.T, b.T, what + ".T");
    KELM_EXPECT_NEAR15(a.B, b.B, what + ".B");
    KELM_EXPECT_NEAR15(a.Q, b.Q, what + ".Q");
    KELM_EXPECT_NEAR15(a.H, b.H, what + ".H");
}

inline void ExpectNearCl(const FCl& a, const FCl& b, const std::string& what) {
    EXPECT_EQ(a.DbID, b.DbID) << what;
    EXPECT_EQ(a.Name, b.Name) << what;
    KELM_EXPECT_NEAR15(a.Thick, b.Thick, what + ".Thick");
}

// Every field of two cabinets; numbers equal to 15 significant digits, the rest exactly.
inline void ExpectNearCabinet(const FCabinet& a, const FCabinet& b) {
    KELM_EXPECT_NEAR15(a.W(), b.W(), "W");
    KELM_EXPECT_NEAR15(a.D(), b.D(), "D");
    KELM_EXPECT_NEAR15(a.H(), b.H(), "H");
    EXPECT_EQ(a.Name(), b.Name());
    EXPECT_EQ(a.ParRegIndex(), b.ParRegIndex());
    EXPECT_EQ(a.SelRegIndex(), b.SelRegIndex());
    EXPECT_EQ(a.SelBCIndex(), b.SelBCIndex());
    ASSERT_EQ(a.Regions().size(), b.Regions().size());
    for (std::size_t i = 0; i < a.Regions().size(); ++i) {
        const FRegion &x = a.Regions()[i], &y = b.Regions()[i];
        const std::string w = "region " + std::to_string(i);
        KELM_EXPECT_NEAR15(x.Left, y.Left, w + ".Left");
        KELM_EXPECT_NEAR15(x.Top, y.Top, w + ".Top");
        KELM_EXPECT_NEAR15(x.Right, y.Right, w + ".Right");
        KELM_EXPECT_NEAR15(x.Bottom, y.Bottom, w + ".Bottom");
        KELM_EXPECT_NEAR15(x.Z, y.Z, w + ".Z");
        KELM_EXPECT_NEAR15(x.D, y.D, w + ".D");
    }
    ASSERT_EQ(a.BCS().size(), b.BCS().size());
    for (std::size_t i = 0; i < a.BCS().size(); ++i) {
        const FBC &x = a.BCS()[i], &y = b.BCS()[i];
        const std::string w = "board " + std::to_string(i);
        EXPECT_EQ(x.regIndex, y.regIndex) << w;
        EXPECT_EQ(x.Shape, y.Shape) << w;
        EXPECT_EQ(x.BCType, y.BCType) << w;
        EXPECT_EQ(x.WL, y.WL) << w;
        EXPECT_EQ(x.Flag, y.Flag) << w;
        KELM_EXPECT_NEAR15(x.D, y.D, w + ".D");
        ExpectNearPos(x.Pos, y.Pos, w + ".Pos");
        ExpectNearSix(x.Edge, y.Edge, w + ".Edge");
        ExpectNearSix(x.FB, y.FB, w + ".FB");
        ExpectNearCl(x.Cl, y.Cl, w + ".Cl");
    }
    ASSERT_EQ(a.MBS().size(), b.MBS().size());
    for (std::size_t i = 0; i < a.MBS().size(); ++i) {
        const FMB &x = a.MBS()[i], &y = b.MBS()[i];
        const std::string w = "door " + std::to_string(i);
        EXPECT_EQ(x.regIndex, y.regIndex) << w;
        EXPECT_EQ(x.fm, y.fm) << w;
        EXPECT_EQ(x.LOrR, y.LOrR) << w;
        KELM_EXPECT_NEAR15(x.D, y.D, w + ".D");
        ExpectNearPos(x.Pos, y.Pos, w + ".Pos");
        ExpectNearSix(x.Edge, y.Edge, w + ".Edge");
        ExpectNearCl(x.Cl, y.Cl, w + ".Cl");
    }
    ASSERT_EQ(a.CTS().size(), b.CTS().size());
    for (std::size_t i = 0; i < a.CTS().size(); ++i) {
        const FChTi &x = a.CTS()[i], &y = b.CTS()[i];
        const std::string w = "drawer " + std::to_string(i);
        EXPECT_EQ(x.regIndex, y.regIndex) << w;
        EXPECT_EQ(x.Name, y.Name) << w;
        EXPECT_EQ(x.W, y.W) << w;
        EXPECT_EQ(x.H, y.H) << w;
        EXPECT_EQ(x.D, y.D) << w;
        EXPECT_EQ(x.E, y.E) << w;
        EXPECT_EQ(x.F, y.F) << w;
        EXPECT_EQ(x.M, y.M) << w;
        ExpectNearPos(x.Pos, y.Pos, w + ".Pos");
        ExpectNearCl(x.ACl, y.ACl, w + ".ACl");
        ExpectNearCl(x.BCl, y.BCl, w + ".BCl");
    }
    EXPECT_TRUE(a.OBJS() == b.OBJS());
}
