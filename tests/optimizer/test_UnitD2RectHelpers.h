#pragma once
// Small builders for optimizer tests: sheet and part lists in one line each.

#include <initializer_list>

#include "optimizer/UnitD2Rect.h"

struct RawSpec {
    double length, width;
    int32_t count = 99999999;
    int32_t prio = 0;
    double price = 1.0;
};

struct EleSpec {
    double length, width;
    int32_t count;
    int32_t rotation = 1;
};

inline TD2RRawArr MakeRaws(std::initializer_list<RawSpec> specs) {
    TD2RRawArr raws;
    for (const RawSpec& s : specs) {
        TD2RRaw r;
        r.XH = static_cast<int32_t>(raws.size()) + 1;
        r.Name = QString("S%1").arg(r.XH);
        r.DbID = QString::number(r.XH);
        r.Price = s.price;
        r.Length = s.length;
        r.Width = s.width;
        r.Count = s.count;
        r.Prio = s.prio;
        raws.push_back(r);
    }
    return raws;
}

inline TD2REleArr MakeEles(std::initializer_list<EleSpec> specs) {
    TD2REleArr eles;
    for (const EleSpec& s : specs) {
        TD2REle e;
        e.XH = static_cast<int32_t>(eles.size()) + 1;
        e.Name = QString("P%1").arg(e.XH);
        e.Length = s.length;
        e.Width = s.width;
        e.Count = s.count;
        e.Rotation = s.rotation;
        eles.push_back(e);
    }
    return eles;
}

// A TD2Rect whose scratch memory is ready for direct calls of the construction steps
// (PickEle, LayRect, FillRaw) in the caller's part order.
struct ConstructionBench {
    TD2Rect rect;
    TD2RWork work;
    ConstructionBench(const TD2RRawArr& raws, const TD2RPrm& prm, const TD2REleArr& eles,
                      uint64_t seed)
        : rect(raws, prm, eles, seed, 1) {
        std::vector<int32_t> order(eles.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int32_t>(i);
        rect.PrepareWork(work, order);
        work.rnd.Seed(seed);
        StartTrial();
    }
    // Fresh trial state: every piece still to place, empty trial layout.
    void StartTrial() { TD2Rect::StartTrial(work); }
};
