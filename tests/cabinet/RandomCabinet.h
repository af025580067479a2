#pragma once
// Cabinets built by random sequences of valid placing operations, for tests that must
// hold for every design (replay, document round trip). Seeded, so runs repeat.
#include <random>

#include "cabinet/UCabinet.h"

inline FCabinet RandomCabinet(std::mt19937& rng, int steps, const QString& name) {
    auto real = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(rng);
    };
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    FCabinet cab(std::round(real(300, 2400)), real(250, 700), std::round(real(300, 2400)) / 3,
                 name);
    const QString grains[] = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")};
    const FShape shapes[] = {FShape::R, FShape::A4L, FShape::A4R};
    for (int step = 0; step < steps; ++step) {
        const int reg = pick(static_cast<int>(cab.Regions().size()));
        const FRegion r = cab.Regions()[static_cast<std::size_t>(reg)];
        const FEdge e{real(0, 3), real(0, 3), real(0, 3), real(0, 3), real(0, 20), real(0, 10)};
        FFengB fb;
        fb.L = pick(3) * 0.5;
        fb.R = real(0, 2);
        fb.Q = 1;
        FCl cl;
        cl.DbID = QString::number(pick(50));
        cl.Name = QStringLiteral("板%1").arg(step);
        cl.Thick = pick(2) ? 18 : real(3, 25);
        const QString& wl = grains[pick(3)];
        const FShape shape = shapes[pick(3)];
        switch (pick(9)) {
            case 0:
                cab.AddBackBC(reg, e, cl, fb, wl);
                break;
            case 1:
                cab.AddCeBan(reg, shape, e, cl, QStringLiteral("Left"), fb, wl);
                break;
            case 2:
                cab.AddCeBan(reg, shape, e, cl, QStringLiteral("Right"), fb, wl);
                break;
            case 3:
                cab.AddDingBan(reg, shape, e, cl, fb, wl);
                break;
            case 4:
                cab.AddDiBan(reg, shape, e, cl, fb, wl);
                break;
            case 5:
                cab.AddBc(reg, shape, e, cl, 0, real(r.Top, r.Bottom), QStringLiteral("1"), fb, wl);
                break;
            case 6:
                cab.AddBc(reg, shape, e, cl, real(r.Left, r.Right), 0, QStringLiteral("2"), fb, wl);
                break;
            case 7:
                cab.AddDKM(reg, e, cl, 1 + pick(2),
                           pick(2) ? QStringLiteral("1") : QStringLiteral("2"));
                break;
            default: {
                FCl b = cl;
                b.Thick = 5;
                cab.AddChouTi(reg, cl, b, QStringLiteral("抽屉%1").arg(cab.GetCTCount()),
                              30 + pick(10), 1 + pick(8), 300 + pick(100), 20, 21, 80);
                break;
            }
        }
    }
    return cab;
}
