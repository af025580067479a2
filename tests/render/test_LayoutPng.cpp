// Diagram pictures of a scheme, written as PNG files and read back.
#include "common/RecordingCanvas.h"
#include "optimizer/PartTextCheck.h"
#include "render/LayoutPng.h"
#include "render/QPainterCanvas.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "optimizer/UnitD2RectDisp.h"

using namespace kelm;

namespace {

TRectEle Placed(int xh, const QString& name, double px, double py, double l, double w) {
    TRectEle e;
    e.XH = xh;
    e.Name = name;
    e.px = px;
    e.py = py;
    e.Length = l;
    e.Width = w;
    return e;
}

TD2RGene Sheet(int count) {
    TD2RGene g;
    g.RawName = QStringLiteral("白橡 18");
    g.RawLength = 2440;
    g.RawWidth = 1220;
    g.RawCount = count;
    g.EleList = {Placed(1, QStringLiteral("侧板"), 0, 0, 720, 560),
                 Placed(2, QStringLiteral("层板"), 725, 0, 564, 540)};
    g.RectArr = {TRectR{1294, 0, 1146, 1220}, TRectR{0, 565, 1289, 655}};
    g.EleArea = 720 * 560 + 564 * 540;
    return g;
}

TD2REleArr Parts() {
    TD2REleArr eles(2);
    eles[0] = TD2REle{1, QStringLiteral("侧板"), {}, 720, 560, 5, 0};
    eles[1] = TD2REle{2, QStringLiteral("层板"), {}, 564, 540, 5, 1};
    return eles;
}

int CountColor(const QImage& image, QRgb color) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == color) ++n;
    return n;
}

}  // namespace

TEST(LayoutPngTest, OnePictureOfReportSizePerLayout) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString dir = tmp.filePath(QStringLiteral("diagrams"));  // made on demand
    const TD2RSchame schame = {Sheet(2), Sheet(1)};
    QString error;
    ASSERT_TRUE(WriteLayoutPngs(schame, TD2RPrm(), Parts(), dir, &error)) << error.toStdString();

    EXPECT_EQ(QDir(dir).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("layout-1.png"), QStringLiteral("layout-2.png")}));
    QImage image(QDir(dir).filePath(QStringLiteral("layout-1.png")));
    ASSERT_FALSE(image.isNull());
    // 250 mm at 96 dpi = 944 px; dv = 2440 / 934; 1220 / dv = 466.99… → 466, + 100.
    EXPECT_EQ(image.size(), QSize(944, 566));
    EXPECT_GT(CountColor(image, qRgb(0, 128, 0)), 100);  // hatched leftovers
    EXPECT_GT(CountColor(image, qRgb(0, 0, 0)), 1000);   // outlines and texts
}

TEST(LayoutPngTest, LongCutSizeListMakesThePictureTaller) {
    TD2RGene g = Sheet(1);
    TD2REleArr eles;
    for (int i = 0; i < 60; ++i) {
        eles.push_back(TD2REle{i + 1, QStringLiteral("板%1").arg(i), {}, 100.0 + i, 50, 1, 0});
        g.EleList.push_back(Placed(i + 1, eles.back().Name, 10 * i, 0, 100.0 + i, 50));
    }
    TD2Rslt rslt;
    rslt.EleCutArr.resize(1);
    for (const TRectEle& e : g.EleList)
        rslt.EleCutArr[0].push_back(TEleCut{e.XH, e.Name, e.Length, e.Width, 1});
    const QImage image = DrawLayoutImage({g}, 0, rslt);
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.height(), 566);
    // The sheet's bottom edge is inside the picture: a black row of its full width.
    int blackRows = 0;
    for (int y = image.height() - 20; y < image.height() - 1; ++y)
        if (image.pixel(200, y) == qRgb(0, 0, 0) && image.pixel(400, y) == qRgb(0, 0, 0)) ++blackRows;
    EXPECT_GE(blackRows, 1);
    EXPECT_TRUE(DrawLayoutImage({g}, 1, rslt).isNull());
}

TEST(LayoutPngTest, NarrowPartTextsStayInsideTheirPartsMeasuredWithTheRealFont) {
    // The recorded drawing of the narrow-part table, measured with the font the
    // pictures are drawn in.
    QImage image = NewBitmap(10, 10);
    QPainterCanvas font(&image, 96);
    RecordingCanvas canvas;
    canvas.SetMeasure([&font](const QString& text, int points) {
        font.SetFontSize(points);
        return QSize(font.TextWidth(text), font.TextHeight(text));
    });
    kelm::test::ExpectPartTextsInsideAndApart(canvas, kelm::test::NarrowPartLayout(), 944);
}

TEST(LayoutPngTest, UnwritableFolderIsReported) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString file = tmp.filePath(QStringLiteral("plain-file"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    QString error;
    EXPECT_FALSE(WriteLayoutPngs({Sheet(1)}, TD2RPrm(), Parts(), file, &error));
    EXPECT_TRUE(error.contains(file));
}

TEST(LayoutPngTest, ExtremeSheetSizesGiveAPictureWithinTheLimit) {
    struct Case {
        const char* what;
        double length, width;
    };
    const Case cases[] = {
        {"long narrow sheet", 100, 200000},
        {"width of 1e308", 2440, 1e308},
        {"both 1e308", 1e308, 1e308},
    };
    for (const Case& c : cases) {
        TD2RGene g = Sheet(1);
        g.RawLength = c.length;
        g.RawWidth = c.width;
        g.EleList.push_back(Placed(1, QStringLiteral("远"), 1e308, 1e308, 1e308, 1e308));
        TD2Rslt rslt;
        TD2Result().GetResult({g}, TD2RPrm(), Parts(), rslt);
        const QImage image = DrawLayoutImage({g}, 0, rslt);
        ASSERT_FALSE(image.isNull()) << c.what;
        // A diagram keeps its usual width whatever the sheet.
        EXPECT_EQ(image.width(), static_cast<int>(96 * kLayoutImageWidthMm / 25.4)) << c.what;
        EXPECT_LE(image.height(), kMaxDiagramPixels) << c.what;
        EXPECT_GE(image.height(), 100) << c.what;
    }
    // The long sheet is drawn to the bottom of its picture: its outline's bottom edge
    // is a black row near the end.
    TD2RGene g = Sheet(1);
    g.RawLength = 100;
    g.RawWidth = 200000;
    g.EleList.clear();
    g.RectArr.clear();
    const QImage image = DrawLayoutImage({g}, 0, TD2Rslt());
    ASSERT_GT(image.height(), kMaxDiagramPixels / 2);
    int lastBlack = -1;
    for (int y = 0; y < image.height(); ++y)
        if (image.pixel(5, y) == qRgb(0, 0, 0)) lastBlack = y;
    EXPECT_GT(lastBlack, image.height() - 40);
}
