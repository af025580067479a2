#pragma once
// A table of narrow parts (from 30 mm across) laid out on one sheet, and the check that
// the recorded drawing of their diagram keeps every part text inside its part, never
// over another text, readable (6 points and more), and that every part can be found:
// by its name in the part, or by a number in the part explained in the legend.

#include <gtest/gtest.h>

#include <QStringList>

#include "common/RecordingCanvas.h"
#include "optimizer/PartTextPlacement.h"
#include "optimizer/UnitD2RectDisp.h"

namespace kelm::test {

// Drawer and cabinet parts from 30 mm across up, placed in rows and columns on a
// 2440 × 1220 sheet: strips lying along the sheet and strips standing across it.
inline TD2RGene NarrowPartLayout() {
    TD2RGene g;
    g.RawName = QStringLiteral("白颗粒板 18mm");
    g.RawLength = 2440;
    g.RawWidth = 1220;
    g.RawCount = 2;
    const QString names[] = {QStringLiteral("抽屉1-面板"), QStringLiteral("80抽屉1-右侧板"),
                             QStringLiteral("抽屉2-后板"), QStringLiteral("层板"),
                             QStringLiteral("背板条"), QStringLiteral("A01-1-左侧板加长名称")};
    const double across[] = {30, 35, 40, 45, 50, 60, 70, 80, 100, 120, 150};
    double y = 0;
    int n = 0;
    // Lying strips: three of each width side by side.
    for (double w : across) {
        double x = 0;
        for (double length : {400.0, 600.0, 900.0}) {
            TRectEle e;
            e.XH = ++n;
            e.Name = names[n % 6];
            e.px = x;
            e.py = y;
            e.Length = length;
            e.Width = w;
            g.EleList.push_back(e);
            g.EleArea += length * w;
            x += length;
        }
        y += w;
    }
    // Standing strips to the right of them.
    double x = 1900;
    for (double w : {30.0, 35.0, 40.0, 50.0, 60.0, 80.0, 100.0, 120.0}) {
        TRectEle e;
        e.XH = ++n;
        e.Name = names[n % 6];
        e.px = x;
        e.py = 0;
        e.Length = w;
        e.Width = 700;
        g.EleList.push_back(e);
        g.EleArea += 700 * w;
        x += w;
    }
    // Small squares from 30 mm.
    x = 0;
    for (double side : {30.0, 40.0, 60.0, 90.0, 120.0}) {
        TRectEle e;
        e.XH = ++n;
        e.Name = names[n % 6];
        e.px = x;
        e.py = 1000;
        e.Length = side;
        e.Width = side;
        g.EleList.push_back(e);
        g.EleArea += side * side;
        x += side;
    }
    return g;
}

// Draws the layout on canvas at the layout pictures' scale (width pixels wide) and checks
// the part texts. Returns the number of parts that carry a legend number.
inline int ExpectPartTextsInsideAndApart(RecordingCanvas& canvas, const TD2RGene& g, int width) {
    const double dv = g.RawLength / (width - 10);
    TD2Rslt rslt;
    rslt.EleCutArr.resize(1);
    canvas.SetClipRect(QRect(0, 0, width, 4000));
    int contentBottom = 0;
    const int unit = 3;
    const int bottom =
        TD2Result().DrawPBT(0, 1, 100, 100, dv, rslt, canvas, g, unit, 1, &contentBottom);
    const int top = bottom - int(g.RawWidth / dv);

    // The part outlines in drawing order (after the sheet outline).
    std::vector<QRect> parts;  // as PartTextArea
    std::vector<CanvasCall> rects = canvas.CallsOf(CanvasCall::Kind::Rectangle);
    for (size_t i = 1; i <= g.EleList.size() && i < rects.size(); ++i) {
        const CanvasCall& r = rects[i];
        parts.push_back(PartTextArea(r.points[0].x(), r.points[0].y(), r.points[1].x(),
                                     r.points[1].y()));
    }
    EXPECT_EQ(parts.size(), g.EleList.size());

    std::vector<std::pair<QRect, QString>> boxes;
    QString legend;
    for (const CanvasCall& call : canvas.CallsOf(CanvasCall::Kind::TextOut)) {
        const QRect box = canvas.TextBox(call);
        if (box.top() >= bottom) {  // below the sheet: the legend
            legend += call.text;
            continue;
        }
        if (box.top() < top) continue;  // title and cut sizes
        boxes.emplace_back(box, call.text);
        EXPECT_GE(call.fontSize, 6) << call.text.toStdString();
    }
    EXPECT_GE(contentBottom, bottom);

    // Every text inside exactly one part; no two texts overlap.
    std::vector<QStringList> inPart(parts.size());
    for (size_t i = 0; i < boxes.size(); ++i) {
        const auto& [box, text] = boxes[i];
        int owners = 0;
        for (size_t p = 0; p < parts.size(); ++p)
            if (parts[p].contains(box)) {
                ++owners;
                inPart[p] << text;
            }
        EXPECT_EQ(owners, 1) << text.toStdString() << " at " << box.x() << "," << box.y() << " "
                             << box.width() << "x" << box.height();
        for (size_t j = 0; j < i; ++j)
            EXPECT_FALSE(box.intersects(boxes[j].first))
                << text.toStdString() << " over " << boxes[j].second.toStdString();
    }
    // Every part is found by its name, or by a number that the legend explains.
    int numbered = 0;
    for (size_t p = 0; p < parts.size(); ++p) {
        const QString& name = g.EleList[p].Name;
        if (inPart[p].contains(name)) continue;
        if (inPart[p].size() == 1 && inPart[p].front().endsWith('#')) {
            ++numbered;
            // Numbers run 1#, 2#, … in drawing order.
            EXPECT_EQ(inPart[p].front(), PartLegendNumber(numbered));
            EXPECT_TRUE(legend.contains(inPart[p].front() + QStringLiteral(" ") + name))
                << inPart[p].front().toStdString();
            continue;
        }
        EXPECT_TRUE(inPart[p].isEmpty()) << "part " << p;
        EXPECT_TRUE(legend.contains(QStringLiteral("（未标出）") + name)) << "part " << p;
    }
    return numbered;
}

}  // namespace kelm::test
