// Times a full redraw of a cabinet of 60 elements (boards, door leaves, drawers) in the
// filled view with dimension lines onto a 558 × 481 picture, as the designer does on
// every mouse movement. Each redraw clears the picture, opens a canvas on it and draws.
//
// Usage: bench_render [repetitions] [picture.png]
#include "cabinet/UCabinet.h"
#include "render/QPainterCanvas.h"

#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <vector>

namespace {

// CPU time of the whole process (Qt may fill long spans of a 24-bit image on helper
// threads): what a redraw costs, whatever else the machine is doing.
double ProcessCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

struct Stats {
    double median, mean, p95, max;
};

Stats Summarise(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    double sum = 0;
    for (double x : v) sum += x;
    return {v[v.size() / 2], sum / v.size(), v[v.size() * 95 / 100], v.back()};
}

FCl Material(double thick) {
    FCl cl;
    cl.DbID = QStringLiteral("1");
    cl.Thick = thick;
    return cl;
}

FEdge Edge(double l, double r, double t, double b, double q, double h) {
    FEdge e;
    e.L = l;
    e.R = r;
    e.T = t;
    e.B = b;
    e.Q = q;
    e.H = h;
    return e;
}

int Elements(const FCabinet& cab) {
    return static_cast<int>(cab.BCS().size() + cab.MBS().size() + cab.CTS().size());
}

// A 2400 wide wardrobe wall: carcass, 5 columns, shelves, upright boards, doors and
// drawers; 60 elements in all.
FCabinet BuildCabinet() {
    const QString wl = QStringLiteral("0");
    FCabinet cab(2400, 600, 2100, QStringLiteral("bench"));
    cab.AddCeBan(0, FShape::R, FEdge(), Material(18), QStringLiteral("Left"), FFengB(), wl);
    cab.AddCeBan(1, FShape::R, FEdge(), Material(18), QStringLiteral("Right"), FFengB(), wl);
    cab.AddBackBC(2, Edge(0, 0, 0, 0, 0, 10), Material(5), FFengB(), wl);
    cab.AddDingBan(2, FShape::R, FEdge(), Material(18), FFengB(), wl);
    cab.AddDiBan(3, FShape::R, Edge(0, 0, 0, 80, 0, 0), Material(18), FFengB(), wl);
    // Columns: split the remaining region from the right, four partitions.
    int rest = 4;
    std::vector<int> columns;
    for (int i = 1; i <= 4; ++i) {
        const double x = 2400 - 18 - i * 472.8;
        cab.AddBc(rest, FShape::R, FEdge(), Material(18), x, 0, QStringLiteral("2"), FFengB(), wl);
        const int right = static_cast<int>(cab.Regions().size()) - 1;
        columns.push_back(right);
        rest = right - 1;
    }
    columns.push_back(rest);
    // Each column: shelves, each shelf splitting the lower part again.
    for (size_t c = 0; c < columns.size(); ++c) {
        int region = columns[c];
        const int shelves = c % 2 == 0 ? 7 : 6;
        for (int s = 1; s <= shelves; ++s) {
            const double y = 18 + s * 240.0;
            cab.AddBc(region, FShape::R, Edge(0, 0, 0, 0, 20, 0), Material(18), 0, y,
                      QStringLiteral("1"), FFengB(), wl);
            region = static_cast<int>(cab.Regions().size()) - 1;
        }
        columns[c] = region;
    }
    // Upright boards and drawers in two columns, doors on the others.
    cab.AddShuBan(columns[0], Edge(0, 0, 0, 0, 100, 0), Material(18), FFengB(), wl);
    cab.AddShuBan(columns[2], Edge(0, 0, 0, 0, 100, 0), Material(18), FFengB(), wl);
    int drawerRegion = columns[1];
    for (int d = 0; d < 3; ++d) {
        cab.AddChouTi(drawerRegion, Material(16), Material(5), QStringLiteral("抽屉"), 0, 3 - d, 450, 20, 20, 80);
        drawerRegion = static_cast<int>(cab.Regions().size()) - 1;
    }
    for (int door = 0; door < 3; ++door) {
        cab.AddDKM(columns[3], Edge(2, 1, 2, 2, 0, 0), Material(18), 2, QStringLiteral("1"));
        cab.AddDKM(columns[3], Edge(1, 2, 2, 2, 0, 0), Material(18), 2, QStringLiteral("2"));
    }
    while (Elements(cab) < 60)
        cab.AddDKM(columns[4], Edge(2, 2, 2, 2, 0, 0), Material(18), 1, QStringLiteral("1"));
    return cab;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 500;

    FCabinet cab = BuildCabinet();
    cab.SetSelBCIndex(10);
    cab.SetSelRegIndex(static_cast<int>(cab.Regions().size()) - 1);
    const double dv = 2400.0 / 400;  // fits the picture with room for dimension lines
    const QPoint pos(100, 60);
    const kelm::Color fill(248, 240, 227);

    std::printf("elements: %d (boards %zu, doors %zu, drawers %zu), regions %zu\n", Elements(cab),
                cab.BCS().size(), cab.MBS().size(), cab.CTS().size(), cab.Regions().size());
    std::printf("picture 558 x 481, filled view, dimension lines, %d redraws each\n", repetitions);

    QImage picture;
    // The 24-bit bitmap of reports and the 32-bit format of a window's back buffer.
    for (QImage::Format format : {QImage::Format_RGB888, QImage::Format_RGB32}) {
        picture = kelm::NewBitmap(558, 481).convertToFormat(format);
        std::vector<double> wall, cpu;
        for (int i = 0; i < repetitions + 20; ++i) {
            const auto start = std::chrono::steady_clock::now();
            const double cpuStart = ProcessCpuMs();
            picture.fill(Qt::white);
            {
                kelm::QPainterCanvas canvas(&picture);
                cab.Draw(canvas, dv, 80, 10, pos, true, true, fill);
            }
            const double cpuEnd = ProcessCpuMs();
            const auto end = std::chrono::steady_clock::now();
            if (i < 20) continue;  // warm-up: font cache, glyphs
            wall.push_back(std::chrono::duration<double, std::milli>(end - start).count());
            cpu.push_back(cpuEnd - cpuStart);
        }
        const Stats w = Summarise(wall), c = Summarise(cpu);
        std::printf("%s: wall median %.3f ms, mean %.3f, p95 %.3f, max %.3f | cpu median %.3f ms, mean %.3f, p95 %.3f, max %.3f\n",
                    format == QImage::Format_RGB888 ? "24-bit QImage" : "32-bit QImage", w.median,
                    w.mean, w.p95, w.max, c.median, c.mean, c.p95, c.max);
    }
    if (argc > 2) picture.save(QString::fromLocal8Bit(argv[2]));
    return 0;
}
