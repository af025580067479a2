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

// Summary, raw sheet list and band of a sheet holding TwoLayoutScheme; material: the
// material's name the sheet is about, empty for a sheet written without a database.
void ExpectTwoLayoutSheet(const QJsonObject& s, const QString& material = QString()) {
    EXPECT_EQ(s["name"].toString(), material.isEmpty() ? QString("(Kelm)报表") : material);
    const QString summary = material.isEmpty() ? QString("报表汇总") : "报表汇总（" + material + "）";
    const QString listed = (material.isEmpty() ? QString() : material + " ") + "2440×1220";
    EXPECT_EQ(MergedNames(s), QStringList({"A1:D1", "A2:D2", "A5:D5", "A8:D8"}));
    const struct {
        const char* cell;
        const char* text;
        const char* h;
        bool bold;
    } cells[] = {
        {"A1", "[Kelm]软件排版图", "center", true},
        {"A2", "", "general", true},
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
        {"A7", "", "center", false},
        {"B7", "2440×1220", "center", false},
        {"A8", "切割排版图", "general", true},
    };
    for (const auto& c : cells) {
        const kelm::XlsRange at = *kelm::ParseXlsRange(c.cell);
        const QJsonObject cell = CellAt(s, at.firstRow, at.firstCol);
        EXPECT_EQ(cell["kind"].toString(), "text") << c.cell;
        const QString expected = QString(c.cell) == "A2"   ? summary
                                 : QString(c.cell) == "A7" ? "1# " + listed
                                                           : QString(c.text);
        EXPECT_EQ(cell["value"].toString(), expected) << c.cell;
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
    // 33 characters: four columns of 236 pixels hold a 944-pixel (250 mm) diagram.
    for (const char* col : {"0", "1", "2", "3"})
        EXPECT_EQ(widths[col].toInt(), 236 * 256 / 7) << col;
}

INSTANTIATE_TEST_SUITE_P(Engines, CutReportTest, KelmEngines(), KelmEngineName);

TEST_P(CutReportTest, SummaryListAndEveryLayoutsDiagramBelowThePrevious) {
    Exec("INSERT INTO FCl(ylID,ylName,length,width,houdu) VALUES(1,'白颗粒板',2440,1220,18)");
    StoreLayout(TwoLayoutScheme(), TwoLayoutParts());
    const QString chosen = Out("cut.xls");
    ASSERT_TRUE(ExportCutReport(chosen, "P1"));
    EXPECT_EQ(prompt.infos, QStringList{"报表已经保存为：" + chosen}) << "names the file written";
    EXPECT_FALSE(QFile::exists(Out("cut_1.xls")));
    EXPECT_TRUE(QFile::exists(TempBmp()));

    const QJsonObject book = Read(chosen);
    ASSERT_EQ(book["sheets"].toArray().size(), 1);
    const QJsonObject s = SheetOf(book);
    ExpectTwoLayoutSheet(s, "白颗粒板 18mm");

    // One picture per layout, each below the previous: a diagram of 250 mm is taller than
    // the tallest row (409 points), so it spans rows that together are as high as the
    // picture (pixels / 96 dpi × 2.86 × 25.4 points).
    const QJsonArray pictures = PictureShapes(s);
    ASSERT_EQ(pictures.size(), 2);
    const QJsonObject heights = s["row_heights"].toObject();
    QImage images[2];
    int row = 8;
    for (int i = 0; i < 2; ++i) {
        const QJsonObject shape = pictures[i].toObject();
        const QJsonArray anchor = shape["anchor"].toArray();
        EXPECT_EQ(anchor[0].toInt(), 0) << "column A";
        EXPECT_EQ(anchor[2].toInt(), row) << "row";
        EXPECT_EQ(anchor[3].toInt(), 0) << "top of the row";
        images[i] = StoredPicture(book, shape["pib"].toInt());
        ASSERT_FALSE(images[i].isNull());
        EXPECT_EQ(images[i].width(), int(96 * 250 / 25.4)) << "250 mm wide";
        const double points = images[i].height() / 96.0 * 2.86 * 25.4;
        double covered = 0;
        while (covered < points - 0.05) {
            const int twips = heights[QString::number(row)].toArray()[0].toInt();
            ASSERT_GT(twips, 0) << "row " << row;
            covered += twips / 20.0;
            ++row;
        }
        EXPECT_NEAR(covered, points, 0.1) << "rows together as high as picture " << i + 1;
    }
    EXPECT_NE(images[0], images[1]) << "each layout has its own diagram";
}

TEST_P(CutReportTest, ALayoutOnAnOffcutNamesItInTheSheetList) {
    Exec("INSERT INTO FCl(ylID,ylName,length,width,houdu) VALUES(1,'白颗粒板',2440,1220,18)");
    TD2RSchame s = TwoLayoutScheme();
    s[1].Offcut = "261210081530-2";
    StoreLayout(s, TwoLayoutParts());
    const QString chosen = Out("cut.xls");
    ASSERT_TRUE(ExportCutReport(chosen, "P1"));
    const QJsonObject sheet = SheetOf(Read(chosen));
    EXPECT_EQ(TextAt(sheet, 6, 0), "1# 白颗粒板 18mm 2440×1220");
    EXPECT_EQ(TextAt(sheet, 7, 0), "2# 白颗粒板 18mm（余料261210081530-2） 2440×1220");
}

TEST_P(CutReportTest, TheWorkbookIsWrittenUnderTheChosenNameItself) {
    StoreLayout(TwoLayoutScheme(), TwoLayoutParts());
    for (const char* name : {"cut.old.xls", "cut.xlsx", "cut"}) {
        SCOPED_TRACE(name);
        prompt.infos.clear();
        ASSERT_TRUE(ExportCutReport(Out(name), "P1"));
        EXPECT_TRUE(IsBinaryWorkbook(Out(name)));
        EXPECT_EQ(prompt.infos, QStringList{"报表已经保存为：" + Out(name)});
    }
    EXPECT_FALSE(QFile::exists(Out("cut_1.xls")));
}

TEST_P(CutReportTest, OneWorkbookForTwoMaterialsEachOnItsOwnSheetWithoutRepeats) {
    Exec("INSERT INTO FCl(ylID,ylName,length,width,houdu) VALUES(1,'白颗粒板',2440,1220,18)");
    Exec("INSERT INTO FCl(ylID,ylName,length,width,houdu) VALUES(2,'黑胡桃',2440,1220,5)");
    // The thin board's result is stored first; the report still lists material 1 first.
    TD2RSchame thin = TwoLayoutScheme();
    thin.resize(1);
    thin[0].RawCount = 3;
    TD2RRawArr raws{{1, "", "2", "", 80, 2440, 1220, 99999999, 0}};
    ASSERT_TRUE(TD2File(data.get()).SaveToFile(raws, TwoLayoutParts(), TD2RPrm(), thin, "P1", "2"));
    StoreLayout(TwoLayoutScheme(), TwoLayoutParts(), "P1", "1");

    const QString chosen = Out("both.xls");
    ASSERT_TRUE(ExportCutReport(chosen, "P1"));
    EXPECT_EQ(prompt.infos, QStringList{"报表已经保存为：" + chosen});
    EXPECT_FALSE(QFile::exists(Out("both_1.xls")));
    EXPECT_FALSE(QFile::exists(Out("both_2.xls")));

    const QJsonObject book = Read(chosen);
    ASSERT_EQ(book["sheets"].toArray().size(), 2) << "one sheet per material, none repeated";
    const QJsonObject first = SheetOf(book, 0);
    const QJsonObject second = SheetOf(book, 1);
    ExpectTwoLayoutSheet(first, "白颗粒板 18mm");
    EXPECT_EQ(PictureShapes(first).size(), 2) << "the two layouts of material 1";
    EXPECT_EQ(second["name"].toString(), "黑胡桃 5mm");
    EXPECT_EQ(TextAt(second, 1, 0), "报表汇总（黑胡桃 5mm）");
    EXPECT_EQ(TextAt(second, 6, 0), "1# 黑胡桃 5mm 2440×1220");
    EXPECT_EQ(CellAt(second, 6, 2)["value"].toDouble(), 3.0);
    EXPECT_EQ(TextAt(second, 3, 3), "3 张");
    EXPECT_EQ(TextAt(second, 7, 0), "切割排版图") << "one list row: no layout of material 1";
    EXPECT_EQ(PictureShapes(second).size(), 1) << "only its own layout";
    // Every row of either sheet names only its own material.
    for (const QJsonObject& s : {first, second}) {
        const QString other = s["name"].toString().startsWith("白") ? "黑胡桃" : "白颗粒板";
        for (const QJsonValue v : s["cells"].toArray())
            EXPECT_FALSE(v.toObject()["value"].toString().contains(other))
                << s["name"].toString().toStdString();
    }
}

TEST_P(CutReportTest, SchemeWithoutLayoutsEndsWithTheDiagramBand) {
    StoreLayout({}, TwoLayoutParts());
    ASSERT_TRUE(ExportCutReport(Out("cut.xls"), "P1"));
    const QJsonObject s = SheetOf(Read(Out("cut.xls")));
    EXPECT_EQ(TextAt(s, 3, 3), "0 张");
    EXPECT_EQ(TextAt(s, 3, 1), "0.0%");
    EXPECT_EQ(TextAt(s, 6, 0), "切割排版图") << "no raw sheet rows";
    EXPECT_EQ(MergedNames(s).last(), "A7:D7");
    EXPECT_TRUE(PictureShapes(s).isEmpty());
}

TEST_P(CutReportTest, OrderWithoutStoredLayoutDoesNothing) {
    StoreLayout(TwoLayoutScheme(), TwoLayoutParts(), "P2");
    EXPECT_FALSE(ExportCutReport(Out("cut.xls"), "P1"));
    EXPECT_FALSE(QFile::exists(Out("cut.xls")));
    EXPECT_TRUE(prompt.infos.isEmpty());
}

TEST_P(CutReportTest, DamagedStoredLayoutIsReportedAndWritesNoFile) {
    Exec(
        "INSERT INTO FProBCCut(proID,bcID,uli,cutC,cutFA) VALUES('P1','1','50','1','not a "
        "layout')");
    EXPECT_FALSE(ExportCutReport(Out("cut.xls"), "P1"));
    EXPECT_FALSE(QFile::exists(Out("cut.xls")));
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
    EXPECT_EQ(PictureShapes(SheetOf(Read(Out("cut.xls")))).size(), 2);
}

// Root may write into /usr/bin, yet an installed program leaves it alone.
TEST_P(CutReportTest, TempBitmapStaysOutOfAnInstalledProgramFolder) {
    const QString installed = Out("root/usr/bin");
    const QString own = Out("kelm");
    ASSERT_TRUE(QDir().mkpath(installed));
    ASSERT_TRUE(QDir().mkpath(own));
    SetReportProgramDir(installed);
    EXPECT_EQ(TempBitmapPath(), QDir(QDir::tempPath()).filePath("Temp.bmp"));
    SetReportProgramDir(own);
    EXPECT_EQ(TempBitmapPath(), QDir(own).filePath("Temp.bmp"));
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
