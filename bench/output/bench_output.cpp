// bench_output [runs]: the order500 instance (500 pieces) optimised once with a fixed seed,
// then timed: the diagrams' PDF (pages with cut sequences), the labels' PDF on 100 × 60 roll
// labels and on A4 sheets (Code 128), and redraws of one layout the way the layout viewer
// paints it (fitted and zoomed four times) on a 32-bit window-sized picture.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

#include "optimizer/UnitD2Rect.h"
#include "output/OutputPdf.h"
#include "output/PartLabels.h"
#include "render/QPainterCanvas.h"
#include "tools/CutListCsv.h"

using namespace kelm::output;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

// CPU time of the whole process, ms: on a shared machine the wall time carries waiting.
double CpuMs() { return 1000.0 * std::clock() / CLOCKS_PER_SEC; }

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const TD2RRawArr raws = ReadSheetsCsv(KELM_BENCH_INSTANCES "/order500_sheets.csv");
    const TD2REleArr eles = ReadPartsCsv(KELM_BENCH_INSTANCES "/order500_parts.csv");
    TD2RPrm prm;
    prm.OptTime = 5;
    prm.BladeWidth = 4;
    prm.Edg = TEdge{5, 5, 5, 5};
    TD2Rect rect(raws, prm, eles, 1, 1);
    rect.Run();
    int pieces = 0;
    for (const TD2RGene& g : rect.BestSchame) pieces += static_cast<int>(g.EleList.size()) * g.RawCount;
    std::printf("order500: %zu layouts, %d pieces\n", rect.BestSchame.size(), pieces);

    QTemporaryDir dir;
    std::vector<double> diagrams, rolls, sheets, redrawFit, redrawZoom, cpuDiagrams, cpuRolls, cpuSheets;
    for (int r = 0; r < runs; ++r) {
        QString error;
        auto t = Clock::now();
        double c = CpuMs();
        const std::vector<LayoutPage> pages = MakeLayoutPages(rect.BestSchame, prm.BladeWidth, "order500", "", prm.Bin);
        if (!WriteLayoutPdf(dir.filePath("layouts.pdf"), pages, PaperSize::A4, "bench", &error)) return 1;
        diagrams.push_back(Ms(t));
        cpuDiagrams.push_back(CpuMs() - c);

        t = Clock::now();
        c = CpuMs();
        const std::vector<LayoutPage> p2 = MakeLayoutPages(rect.BestSchame, prm.BladeWidth, "order500", "", prm.Bin);
        const std::vector<Label> labels = CutListLabels(p2, eles, "order500");
        if (!WriteLabelsPdf(dir.filePath("roll.pdf"), labels, *LabelStockByName("100x60"), BarcodeKind::Code128,
                            "bench", &error))
            return 1;
        rolls.push_back(Ms(t));
        cpuRolls.push_back(CpuMs() - c);

        t = Clock::now();
        c = CpuMs();
        const std::vector<Label> l2 = CutListLabels(MakeLayoutPages(rect.BestSchame, prm.BladeWidth, "order500", "", prm.Bin),
                                                    eles, "order500");
        if (!WriteLabelsPdf(dir.filePath("a4.pdf"), l2, *LabelStockByName("a4"), BarcodeKind::Code128, "bench",
                            &error))
            return 1;
        sheets.push_back(Ms(t));
        cpuSheets.push_back(CpuMs() - c);
    }
    // What one PDF costs whatever its length (fonts, file): a single page.
    std::vector<double> onePage;
    for (int r = 0; r < runs; ++r) {
        const std::vector<LayoutPage> all = MakeLayoutPages(rect.BestSchame, prm.BladeWidth, "order500", "", prm.Bin);
        const double c = CpuMs();
        QString error;
        WriteLayoutPdf(dir.filePath("one.pdf"), {all.front()}, PaperSize::A4, "bench", &error);
        onePage.push_back(CpuMs() - c);
    }
    std::printf("diagrams PDF of one page:             median %.0f ms CPU\n", Median(onePage));

    // The viewer's redraw: the busiest layout, fitted and zoomed in.
    const std::vector<LayoutPage> pages = MakeLayoutPages(rect.BestSchame, prm.BladeWidth, "order500", "", prm.Bin);
    size_t busiest = 0;
    for (size_t i = 0; i < pages.size(); ++i)
        if (pages[i].Layout.EleList.size() > pages[busiest].Layout.EleList.size()) busiest = i;
    QImage image(1000, 700, QImage::Format_RGB32);
    for (int r = 0; r < 200; ++r) {
        for (int zoom : {1, 4}) {
            const auto t = Clock::now();
            QPainter painter(&image);
            painter.fillRect(image.rect(), Qt::white);
            kelm::QPainterCanvas canvas(painter, 96);
            DrawLayoutDiagram(canvas, pages[busiest], QRect(10 - 300 * (zoom - 1), 10 - 200 * (zoom - 1),
                                                            980 * zoom, 680 * zoom),
                              DiagramOptions{true, 3, 8});
            painter.end();
            (zoom == 1 ? redrawFit : redrawZoom).push_back(Ms(t));
        }
    }
    std::printf("diagrams PDF (%zu pages):             median %.0f ms wall, %.0f ms CPU over %d runs\n", pages.size(),
                Median(diagrams), Median(cpuDiagrams), runs);
    std::printf("labels PDF, 100x60 roll (%d labels): median %.0f ms wall, %.0f ms CPU\n", pieces, Median(rolls),
                Median(cpuRolls));
    std::printf("labels PDF, A4 3x8 (%d pages):        median %.0f ms wall, %.0f ms CPU\n", (pieces + 23) / 24,
                Median(sheets), Median(cpuSheets));
    std::printf("viewer redraw, %zu parts, fitted:      median %.2f ms (%.0f frames/s)\n",
                pages[busiest].Layout.EleList.size(), Median(redrawFit), 1000 / std::max(0.001, Median(redrawFit)));
    std::printf("viewer redraw, zoomed 4x:             median %.2f ms (%.0f frames/s)\n", Median(redrawZoom),
                1000 / std::max(0.001, Median(redrawZoom)));
    return 0;
}
