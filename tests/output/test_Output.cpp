// The shop-floor outputs read back: the label PDF's barcodes decoded by a real reader, one
// PDF page per layout, labels in the order the saw frees the pieces, and the diagram's cut
// lines drawn from the cut sequence.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <map>

#include "common/RecordingCanvas.h"
#include "optimizer/GrainMarks.h"
#include "optimizer/UnitD2Rect.h"
#include "output/OutputPdf.h"
#include "output/PartLabels.h"
#include "OutputTestSupport.h"

using namespace kelm::output;

namespace {

TD2REleArr Parts() {
    const struct {
        const char* name;
        double l, w;
        int count, rotation;
    } rows[] = {{"侧板", 720, 560, 6, 0}, {"底板", 568, 560, 3, 1}, {"门板", 716, 296, 5, 0},
                {"背板", 700, 400, 4, 1}, {"抽屉面", 450, 180, 9, 1}};
    TD2REleArr eles;
    for (const auto& r : rows) {
        TD2REle e;
        e.XH = static_cast<int32_t>(eles.size()) + 1;
        e.Name = QString::fromUtf8(r.name);
        e.Length = r.l;
        e.Width = r.w;
        e.Count = r.count;
        e.Rotation = r.rotation;
        eles.push_back(e);
    }
    return eles;
}

TD2RSchame Optimise(const TD2REleArr& eles, double kerf) {
    TD2RRaw raw;
    raw.XH = 1;
    raw.Name = QStringLiteral("白色颗粒板18");
    raw.Length = 2440;
    raw.Width = 1220;
    raw.Count = 99999999;
    raw.Price = 1;
    TD2RPrm prm;
    prm.OptTime = 2;
    prm.BladeWidth = kerf;
    prm.Edg = TEdge{5, 5, 5, 5};
    TD2Rect rect({raw}, prm, eles, 11, 1);
    rect.Run();
    return rect.BestSchame;
}

int TotalPieces(const TD2RSchame& s) {
    int n = 0;
    for (const TD2RGene& g : s) n += static_cast<int>(g.EleList.size()) * g.RawCount;
    return n;
}

TEST(LabelPdf, EveryLabelDecodesToItsOwnPiece) {
    const TD2REleArr eles = Parts();
    const TD2RSchame schame = Optimise(eles, 4);
    const auto pages = MakeLayoutPages(schame, 4, "A01", QString());
    const std::vector<Label> labels = CutListLabels(pages, eles, "A01");
    ASSERT_EQ(static_cast<int>(labels.size()), TotalPieces(schame));
    QStringList expected;
    for (const Label& l : labels) expected << l.Barcode;
    EXPECT_EQ(expected.removeDuplicates(), 0) << "two labels with one barcode";

    struct Case {
        const char* stock;
        BarcodeKind kind;
    } cases[] = {{"a4", BarcodeKind::Code128}, {"60x40", BarcodeKind::Code128}, {"80x50", BarcodeKind::QR}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stock);
        QTemporaryDir dir;
        const QString pdf = dir.filePath("labels.pdf");
        QString error;
        const LabelStock stock = *LabelStockByName(c.stock);
        ASSERT_TRUE(WriteLabelsPdf(pdf, labels, stock, c.kind, "labels", &error)) << error.toStdString();
        const int perPage = stock.PerPage();
        EXPECT_EQ(outputtest::PdfPages(pdf), (static_cast<int>(labels.size()) + perPage - 1) / perPage);
        const QStringList pngs = outputtest::PdfToPngs(pdf, dir.path(), 300);
        ASSERT_FALSE(pngs.isEmpty());
        // Page by page: each page holds exactly its own labels' payloads.
        for (int p = 0; p < pngs.size(); ++p) {
            QStringList want = expected.mid(p * perPage, perPage);
            QStringList got = outputtest::Decode(pngs[p]);
            want.sort();
            got.sort();
            EXPECT_EQ(got, want) << "page " << p + 1;
        }
    }
}

TEST(LayoutPdf, OnePagePerLayoutOnA4AndA3) {
    const TD2REleArr eles = Parts();
    const TD2RSchame schame = Optimise(eles, 4);
    ASSERT_GE(schame.size(), 2u);
    const auto pages = MakeLayoutPages(schame, 4, "A01", QStringLiteral("白色颗粒板18"));
    for (PaperSize paper : {PaperSize::A4, PaperSize::A3}) {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("layouts.pdf");
        QString error;
        ASSERT_TRUE(WriteLayoutPdf(pdf, pages, paper, "layouts", &error)) << error.toStdString();
        EXPECT_EQ(outputtest::PdfPages(pdf), static_cast<int>(schame.size()));
        const QString info = outputtest::Run("pdfinfo", {pdf});
        EXPECT_TRUE(info.contains(paper == PaperSize::A4 ? "842 x 595" : "1191 x 842")) << info.toStdString();
    }
}

TEST(LayoutPdf, UnwritablePathLeavesNoFileAndSaysWhy) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("missing-folder/layouts.pdf");
    QString error;
    EXPECT_FALSE(WriteLayoutPdf(pdf, MakeLayoutPages(Optimise(Parts(), 4), 4, "", ""), PaperSize::A4, "", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(pdf));
}

TRectEle Part(const char* name, double x, double y, double l, double w) {
    TRectEle e;
    e.XH = 1;
    e.Name = name;
    e.px = x;
    e.py = y;
    e.Length = l;
    e.Width = w;
    return e;
}

// Placed lower strip first, but the saw frees the upper strip's parts first.
TD2RGene TwoStrips() {
    TD2RGene g;
    g.RawLength = 1000;
    g.RawWidth = 500;
    g.RawCount = 2;
    g.EleList = {Part("low", 0, 204, 500, 296), Part("a", 0, 0, 300, 200), Part("b", 304, 0, 300, 200)};
    return g;
}

TEST(PartLabels, PiecesFollowTheCutSequenceSheetBySheet) {
    const auto pages = MakeLayoutPages({TwoStrips()}, 4, "", "");
    ASSERT_TRUE(pages[0].Plan.Guillotine);
    const std::vector<SawPiece> order = PiecesInSawOrder(pages);
    std::vector<std::pair<int, int>> got;
    for (const SawPiece& s : order) got.emplace_back(s.Sheet, s.Element);
    const std::vector<std::pair<int, int>> want = {{1, 1}, {1, 2}, {1, 0}, {2, 1}, {2, 2}, {2, 0}};
    EXPECT_EQ(got, want);
}

TEST(LayoutPage, ALayoutOnAnOffcutNamesTheOffcutInItsHeader) {
    for (const bool offcut : {false, true}) {
        TD2RGene g = TwoStrips();
        if (offcut) g.Offcut = "261210081530-7";
        const auto pages = MakeLayoutPages({g}, 4, "A-1", "白橡");
        kelm::RecordingCanvas canvas(QRect(0, 0, 2480, 3508));
        DrawLayoutPage(canvas, pages[0], QRect(0, 0, 2480, 3508), 300);
        bool named = false, sheet = false;
        for (const QString& t : canvas.Texts()) {
            named |= t.contains("余料编号：261210081530-7");
            sheet |= t.startsWith("原材尺寸：");
        }
        EXPECT_EQ(named, offcut);
        EXPECT_EQ(sheet, !offcut);
    }
}

TEST(LayoutDiagram, DrawsOneNumberedRedLinePerCut) {
    const auto pages = MakeLayoutPages({TwoStrips()}, 4, "", "");
    kelm::RecordingCanvas canvas(QRect(0, 0, 1200, 800));
    DrawLayoutDiagram(canvas, pages[0], QRect(0, 0, 1001, 501));
    int red = 0;
    for (const auto& call : canvas.CallsOf(kelm::CanvasCall::Kind::LineTo))
        if (call.penColor == kelm::Color(200, 0, 0)) ++red;
    EXPECT_EQ(red, static_cast<int>(pages[0].Plan.Cuts.size()));
    const std::vector<QString> texts = canvas.Texts();
    for (const TD2RCut& c : pages[0].Plan.Cuts)
        EXPECT_NE(std::find(texts.begin(), texts.end(), QString::number(c.Step)), texts.end());
    // Legend numbers: "low" is 1, "a" 2, "b" 3 (same name and size would share one).
    EXPECT_EQ(pages[0].PartNumbers, (std::vector<int>{1, 2, 3}));
}


// Parts from large to slim on one sheet drawn 1 pixel per mm: every text stays inside its
// own part and clear of the part's other texts, on a page (legend numbers) and in the
// viewer (names); only the part that may not turn carries grain marks.
TEST(LayoutDiagram, PartTextsStayInsideTheirPartsAndGrainIsMarked) {
    TD2RGene g;
    g.RawLength = 1000;
    g.RawWidth = 500;
    g.RawCount = 1;
    g.EleList = {Part("侧板", 0, 0, 600, 300), Part("层板", 604, 0, 120, 60), Part("压条", 604, 64, 390, 22),
                 Part("立柱", 728, 0, 30, 60), Part("背板条", 0, 304, 300, 40)};
    for (size_t i = 0; i < g.EleList.size(); ++i) g.EleList[i].XH = static_cast<int32_t>(i) + 1;
    TD2REle fixed;
    fixed.XH = 1;
    fixed.Length = 600;
    fixed.Width = 300;
    fixed.Rotation = 0;
    TD2REle free = fixed;
    free.XH = 2;
    free.Length = 120;
    free.Width = 60;
    free.Rotation = 1;
    const auto pages = MakeLayoutPages({g}, 4, "", "", TBin{0, 0}, kelm::FixedGrainTypes({fixed, free}));
    for (const bool names : {false, true}) {
        SCOPED_TRACE(names ? "names" : "numbers");
        kelm::RecordingCanvas canvas(QRect(0, 0, 1200, 800));
        canvas.SetMetricsFollowFontSize(true);
        const DiagramGeometry geo =
            DrawLayoutDiagram(canvas, pages[0], QRect(0, 0, 1001, 501), DiagramOptions{false, -1, 12, names});
        const auto texts = canvas.CallsOf(kelm::CanvasCall::Kind::TextOut);
        ASSERT_FALSE(texts.empty());
        for (size_t i = 0; i < texts.size(); ++i) {
            const QRect box = canvas.TextBox(texts[i]);
            int owner = -1;
            for (size_t p = 0; p < g.EleList.size(); ++p) {
                const TRectEle& e = g.EleList[p];
                if (geo.Map(TRectR{e.px, e.py, e.Length, e.Width}).contains(box)) owner = static_cast<int>(p);
            }
            EXPECT_GE(owner, 0) << texts[i].text.toStdString() << " leaves its part";
            for (size_t j = i + 1; j < texts.size(); ++j)
                EXPECT_FALSE(box.intersects(canvas.TextBox(texts[j])))
                    << texts[i].text.toStdString() << " covers " << texts[j].text.toStdString();
        }
        if (names) {
            const std::vector<QString> shown = canvas.Texts();
            EXPECT_NE(std::find(shown.begin(), shown.end(), QStringLiteral("侧板")), shown.end());
        }
        // Three grey lines, all inside the side panel.
        const QRect side = geo.Map(TRectR{0, 0, 600, 300});
        int grain = 0;
        for (const auto& line : canvas.CallsOf(kelm::CanvasCall::Kind::LineTo)) {
            if (line.penColor != kelm::Color(96, 96, 96)) continue;
            ++grain;
            for (const QPoint& pt : line.points) EXPECT_TRUE(side.contains(pt));
        }
        EXPECT_EQ(grain, 3);
    }
}

}  // namespace
