// The cutting layout report read back with python3-xlrd: file naming, summary cells and
// formats, the raw sheet list, one diagram per sheet layout each below the previous,
// "Temp.bmp", damaged layouts, and the same sheet written without a database.
#include <QImage>
#include <cmath>

#include "ReportTestSupport.h"

using namespace kelm::test;

namespace {

TEST(CutReportFileName, FileNameUpToItsFirstDotThenNumberAndXls) {
    const struct {
        const char* chosen;
        int number;
        const char* written;
    } cases[] = {
        {"D:\\My Reports\\cut.xls", 1, "D:\\My Reports\\cut_1.xls"},
        {"D:\\My Reports\\cut.old.xls", 1, "D:\\My Reports\\cut_1.xls"},
        {"/home/w/my.reports/cut.xls", 2, "/home/w/my.reports/cut_2.xls"},
        {"/home/w/cut", 1, "/home/w/cut_1.xls"},
        {"cut.xlsx", 1, "cut_1.xls"},
        {"/home/w/ report .xls", 1, "/home/w/ report _1.xls"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CutReportFileName(c.chosen, c.number), QString(c.written)) << c.chosen;
}

class CutReportTest : public ReportTest {};

// Summary, raw sheet list and band of a sheet holding TwoLayoutScheme.
void ExpectTwoLayoutSheet(const QJsonObject& s) {
    EXPECT_EQ(s["name"].toString(), "(Kelm)报表");
    EXPECT_EQ(MergedNames(s), QStringList({"A1:D1", "A2:D2", "A5:D5", "A8:D8"}));
    const struct {
        const char* cell;
        const char* text;
        const char* h;
        bool bold;
    } cells[] = {
        {"A1", "[Kelm]软件排版图", "center", true},
        {"A2", "报表汇总", "general", true},
        {"A3", "成品面积：", "right", false},
        {"B3", "25.0㎡", "general", false},
        {"C3", "原材面积：", "right", false},
        {"D3", "35.7㎡", "general", false},
        {"A4", "净出材率：", "right", false},
        {"B4", "70.0%", "general", false},
        {"C4", "原材用量：", "right", false},
        {"D4", "12 张", "general", false},
        {"A5", "原材列表", "general", true},
        {"A6", "原材名称", "center", false},
        {"B6", "原材尺寸", "center", false},
        {"C6", "切割张数", "center", false},
        {"A7", "1# ", "center", false},
        {"B7", "2440×1220", "center", false},
        {"A8", "切割排版图", "general", true},
    };
    for (const auto& c : cells) {
        const kelm::XlsRange at = *kelm::ParseXlsRange(c.cell);
        const QJsonObject cell = CellAt(s, at.firstRow, at.firstCol);
        EXPECT_EQ(cell["kind"].toString(), "text") << c.cell;
        EXPECT_EQ(cell["value"].toString(), QString(c.text)) << c.cell;
        const QJsonObject f = cell["format"].toObject();
        EXPECT_EQ(f["h"].toString(), QString(c.h)) << c.cell;
        EXPECT_EQ(f["bold"].toBool(), c.bold) << c.cell;
        EXPECT_EQ(f["size"].toDouble(), at.firstRow == 0 ? 16.0 : 10.0) << c.cell;
    }
    const QJsonObject count = CellAt(s, 6, 2);
    EXPECT_EQ(count["kind"].toString(), "number");
    EXPECT_EQ(count["value"].toDouble(), 12.0);
    // Borders exactly on A1:D7.
    for (const QJsonValue v : s["cells"].toArray()) {
        const QJsonObject cell = v.toObject();
        const int row = cell["row"].toInt(), col = cell["col"].toInt();
        const bool inside = row <= 6 && col <= 3;
        EXPECT_EQ(cell["format"].toObject()["borders"].toArray(),
                  inside ? QJsonArray({1, 1, 1, 1}) : QJsonArray({0, 0, 0, 0}))
            << row << "/" << col;
    }
    const QJsonObject widths = s["column_widths"].toObject();
    for (const char* col : {"0", "1", "2", "3"})
        EXPECT_EQ(widths[col].toInt(), 131 * 256 / 7) << col;
}

INSTANTIATE_TEST_SUITE_P(Engines, CutReportTest, KelmEngines(), KelmEngineName);

TEST_P(CutReportTest, SummaryListAndEveryLayoutsDiagramBelowThePrevious) {
    StoreLayout(TwoLayoutScheme(), TwoLayoutParts());
    const QString chosen = Out("cut.xls");
    const QString written = Out("cut_1.xls");
    ASSERT_TRUE(ExportCutReport(chosen, "P1"));
    EXPECT_EQ(prompt.infos, QStringList{"报表已经保存为：" + written}) << "names the file written";
    EXPECT_FALSE(QFile::exists(chosen));
    EXPECT_TRUE(QFile::exists(TempBmp()));

    const QJsonObject book = Read(written);
    ASSERT_EQ(book["sheets"].toArray().size(), 1);
    const QJsonObject s = SheetOf(book);
    ExpectTwoLayoutSheet(s);

    // One picture per layout: the first in row 9, the second in row 10, each row as
    // high as its picture (pixels / 96 dpi × 2.86 × 25.4 points).
    const QJsonArray pictures = PictureShapes(s);
    ASSERT_EQ(pictures.size(), 2);
    QImage images[2];
    for (int i = 0; i < 2; ++i) {
        const QJsonObject shape = pictures[i].toObject();
        const QJsonArray anchor = shape["anchor"].toArray();
        EXPECT_EQ(anchor[0].toInt(), 0) << "column A";
        EXPECT_EQ(anchor[2].toInt(), 8 + i) << "row";
        EXPECT_EQ(anchor[3].toInt(), 0) << "top of the row";
        images[i] = StoredPicture(book, shape["pib"].toInt());
        ASSERT_FALSE(images[i].isNull());
        EXPECT_EQ(images[i].width(), int(96 * 140 / 25.4)) << "140 mm wide";
        const double points = images[i].height() / 96.0 * 2.86 * 25.4;
        const int twips = s["row_heights"].toObject()[QString::number(8 + i)].toArray()[0].toInt();
        EXPECT_NEAR(twips, points * 20, 1.0) << "row " << 9 + i;
        EXPECT_GE(twips, images[i].height() * 15) << "the picture fits its row";
    }
    EXPECT_NE(images[0], images[1]) << "each layout has its own diagram";
}

TEST_P(CutReportTest, ChosenNameWithTwoDotsGivesBaseBeforeTheFirstDot) {
    StoreLayout(TwoLayoutScheme(), TwoLayoutParts());
    ASSERT_TRUE(ExportCutReport(Out("cut.old.xls"), "P1"));
    EXPECT_TRUE(QFile::exists(Out("cut_1.xls")));
    EXPECT_FALSE(QFile::exists(Out("cut.old_1.xls")));
    EXPECT_EQ(prompt.infos, QStringList{"报表已经保存为：" + Out("cut_1.xls")});
}

TEST_P(CutReportTest, SchemeWithoutLayoutsEndsWithTheDiagramBand) {
    StoreLayout({}, TwoLayoutParts());
    ASSERT_TRUE(ExportCutReport(Out("cut.xls"), "P1"));
    const QJsonObject s = SheetOf(Read(Out("cut_1.xls")));
    EXPECT_EQ(TextAt(s, 3, 3), "0 张");
    EXPECT_EQ(TextAt(s, 3, 1), "0.0%");
    EXPECT_EQ(TextAt(s, 6, 0), "切割排版图") << "no raw sheet rows";
    EXPECT_EQ(MergedNames(s).last(), "A7:D7");
    EXPECT_TRUE(PictureShapes(s).isEmpty());
}

TEST_P(CutReportTest, OrderWithoutStoredLayoutDoesNothing) {
    StoreLayout(TwoLayoutScheme(), TwoLayoutParts(), "P2");
    EXPECT_FALSE(ExportCutReport(Out("cut.xls"), "P1"));
    EXPECT_FALSE(QFile::exists(Out("cut_1.xls")));
    EXPECT_TRUE(prompt.infos.isEmpty());
}

TEST_P(CutReportTest, DamagedStoredLayoutIsReportedAndWritesNoFile) {
    Exec(
        "INSERT INTO FProBCCut(proID,bcID,uli,cutC,cutFA) VALUES('P1','1','50','1','not a "
        "layout')");
    EXPECT_FALSE(ExportCutReport(Out("cut.xls"), "P1"));
    EXPECT_FALSE(QFile::exists(Out("cut_1.xls")));
    ASSERT_EQ(prompt.infos.size(), 1);
    EXPECT_TRUE(prompt.infos[0].startsWith("保存Excel文件出现异常！\n"))
        << prompt.infos[0].toStdString();
    EXPECT_GT(prompt.infos[0].size(), QString("保存Excel文件出现异常！\n").size()) << "says why";
}

TEST_P(CutReportTest, TempBitmapGoesToTheTemporaryFolderWhenTheProgramFolderIsNotWritable) {
    const QByteArray oldTmp = qgetenv("TMPDIR");
    const QString tmp = Out("tmp");
    ASSERT_TRUE(QDir().mkpath(tmp));
    qputenv("TMPDIR", tmp.toUtf8());
    SetReportProgramDir(Out("no-such-program-folder"));
    EXPECT_EQ(TempBitmapPath(), QDir(tmp).filePath("Temp.bmp"));
    StoreLayout(TwoLayoutScheme(), TwoLayoutParts());
    const bool written = ExportCutReport(Out("cut.xls"), "P1");
    if (oldTmp.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", oldTmp);
    ASSERT_TRUE(written);
    EXPECT_TRUE(QFile::exists(QDir(tmp).filePath("Temp.bmp")));
    EXPECT_EQ(PictureShapes(SheetOf(Read(Out("cut_1.xls")))).size(), 2);
}

TEST_P(CutReportTest, WithoutDatabaseTheSameSheetGoesIntoThePathItself) {
    const QString path = Out("direct.xls");
    QString error;
    ASSERT_TRUE(WriteCutReport(path, TwoLayoutParts(), TD2RPrm(), TwoLayoutScheme(), 96, &error))
        << error.toStdString();
    EXPECT_TRUE(prompt.infos.isEmpty());
    EXPECT_FALSE(QFile::exists(Out("direct_1.xls")));
    const QJsonObject book = Read(path);
    ExpectTwoLayoutSheet(SheetOf(book));
    EXPECT_EQ(PictureShapes(SheetOf(book)).size(), 2);

    EXPECT_FALSE(WriteCutReport(Out("missing/direct.xls"), TwoLayoutParts(), TD2RPrm(),
                                TwoLayoutScheme(), 96, &error));
    EXPECT_TRUE(error.contains(QString::fromUtf8("不存在"))) << error.toStdString();
}

}  // namespace

namespace {

TEST_P(CutReportTest, DiagramTallerThanTheTallestRowSpansRowsAndTheNextStartsBelowIt) {
    // Sheets fed crosswise: 1220 long, 2440 wide, so each diagram is about 1140 pixels
    // high, more than one row of at most 409 points can hold.
    TD2RSchame schame = TwoLayoutScheme();
    for (TD2RGene& g : schame) {
        std::swap(g.RawLength, g.RawWidth);
        for (TRectEle& e : g.EleList) std::swap(e.px, e.py), std::swap(e.Length, e.Width);
        for (TRectR& r : g.RectArr) std::swap(r.px, r.py), std::swap(r.Length, r.Width);
    }
    QString error;
    ASSERT_TRUE(WriteCutReport(Out("tall.xls"), TwoLayoutParts(), TD2RPrm(), schame, 96, &error))
        << error.toStdString();
    const QJsonObject book = Read(Out("tall.xls"));
    const QJsonObject s = SheetOf(book);
    const QJsonArray pictures = PictureShapes(s);
    ASSERT_EQ(pictures.size(), 2);
    const QJsonObject heights = s["row_heights"].toObject();
    int row = 8;
    for (int i = 0; i < 2; ++i) {
        const QJsonObject shape = pictures[i].toObject();
        EXPECT_EQ(shape["anchor"].toArray()[2].toInt(), row) << "picture " << i + 1;
        const QImage image = StoredPicture(book, shape["pib"].toInt());
        const double points = image.height() / 96.0 * 2.86 * 25.4;
        ASSERT_GT(points, 409);
        double covered = 0;
        while (covered < points - 0.05) {
            const int twips = heights[QString::number(row)].toArray()[0].toInt();
            ASSERT_GT(twips, 0) << "row " << row;
            covered += twips / 20.0;
            ++row;
        }
        EXPECT_NEAR(covered, points, 0.1) << "rows together as high as the picture";
    }
}

}  // namespace
