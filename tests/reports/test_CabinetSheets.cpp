// The size sheet and the drawing sheet of a cabinet entry, read back with python3-xlrd:
// picture placement, row 1 height at the screen resolution, the size block, the panel
// list, "Temp.bmp" replaced between reports while each workbook keeps its picture.
#include <QImage>

#include "ReportTestSupport.h"

using namespace kelm::test;

namespace {

class CabinetSheetTest : public ReportTest {
  protected:
    void SetUp() override {
        ReportTest::SetUp();
        Exec("INSERT INTO FProject(proID,proCode,proName) VALUES('P1','B-07','一期')");
        Exec(
            "INSERT INTO FCl(ylName,length,width,houdu,color) "
            "VALUES('白橡18',2440,1220,18,'白橡')");
        Exec(
            "INSERT INTO FCl(ylName,length,width,houdu,color) "
            "VALUES('胡桃18',2440,1220,18,'胡桃')");
        AddCabinetEntry("W1", Carcass(600, 550, 720));
    }
    // Panel i of material clID: name "板<i>", length 300 + i.
    void AddPanels(int count) {
        for (int i = 1; i <= count; ++i)
            Exec(
                "INSERT INTO FProCl(proID,winID,gtName,clID,clName,length,width,thick,clCount) "
                "VALUES('P1','W1','A01-1',:cl,:name,:length,400,18,:count)",
                {"cl", i % 2 ? "2" : "1", "name", QString("板%1").arg(i), "length",
                 QString::number(300 + i), "count", QString::number(i % 3 + 1)});
    }
};

void ExpectSizeBlock(const QJsonObject& s, int firstRow) {
    const QStringList headings{"代号", "宽(W)", "深(D)", "高(H)", "数量"};
    const QStringList values{"A01", "600", "550", "720", "2"};
    for (int c = 0; c < 5; ++c) {
        for (int r = 0; r < 2; ++r) {
            const QJsonObject cell = CellAt(s, firstRow + r, c);
            EXPECT_EQ(cell["value"].toString(), (r == 0 ? headings : values)[c])
                << firstRow + r << "/" << c;
            EXPECT_EQ(cell["kind"].toString(), "text");
            const QJsonObject f = cell["format"].toObject();
            EXPECT_EQ(f["size"].toDouble(), 10.0);
            EXPECT_TRUE(f["bold"].toBool());
            EXPECT_EQ(f["h"].toString(), "center");
            EXPECT_EQ(f["borders"].toArray(), QJsonArray({1, 1, 1, 1}));
        }
    }
    const QJsonObject widths = s["column_widths"].toObject();
    EXPECT_EQ(widths.size(), 5);
    for (const char* col : {"0", "1", "2", "3", "4"})
        EXPECT_EQ(widths[col].toInt(), 61 * 256 / 7) << col;
}

// Anchor of the sheet's one picture: column, row, and offsets 0.
void ExpectOnePictureAt(const QJsonObject& s, int col, int row) {
    const QJsonArray pictures = PictureShapes(s);
    ASSERT_EQ(pictures.size(), 1);
    const QJsonArray anchor = pictures[0].toObject()["anchor"].toArray();
    EXPECT_EQ(anchor[0].toInt(), col);
    EXPECT_EQ(anchor[1].toInt(), 0);
    EXPECT_EQ(anchor[2].toInt(), row);
    EXPECT_EQ(anchor[3].toInt(), 0);
}

INSTANTIATE_TEST_SUITE_P(Engines, CabinetSheetTest, KelmEngines(), KelmEngineName);

TEST_P(CabinetSheetTest, SizeSheetWithNineteenPanelsInRowsSixToTwentyFour) {
    AddPanels(19);
    const QString path = Out("size.xls");
    ASSERT_TRUE(ExportSizeSheet(path, "W1"));
    EXPECT_EQ(prompt.infos, QStringList{"报表已经导出为文件：" + path});

    const QJsonObject book = Read(path);
    ASSERT_EQ(book["sheets"].toArray().size(), 1);
    const QJsonObject s = SheetOf(book);
    EXPECT_EQ(s["name"].toString(), "(Kelm)报表");
    EXPECT_TRUE(s["merged"].toArray().isEmpty());
    ExpectOnePictureAt(s, 0, 0);
    EXPECT_EQ(s["row_heights"].toObject()["0"].toArray()[0].toInt(), 225 * 20)
        << "225 points at 96 dpi";
    ExpectSizeBlock(s, 1);

    const QStringList headings{"序号", "材质", "颜色", "构件名称", "长", "宽", "数量"};
    for (int c = 0; c < 7; ++c) EXPECT_EQ(TextAt(s, 4, c), headings[c]);
    // Material 1 (even panels) before material 2 (odd panels), numbered 1 to 19.
    for (int i = 0; i < 19; ++i) {
        const int row = 5 + i;
        EXPECT_EQ(TextAt(s, row, 0), QString::number(i + 1));
        const bool first = i < 9;
        EXPECT_EQ(TextAt(s, row, 1), first ? "白橡18" : "胡桃18") << row;
        EXPECT_EQ(TextAt(s, row, 2), first ? "白橡" : "胡桃") << row;
        const int panel = TextAt(s, row, 3).mid(1).toInt();
        EXPECT_EQ(panel % 2, first ? 0 : 1) << row;
        EXPECT_EQ(TextAt(s, row, 4), QString::number(300 + panel)) << row;
        EXPECT_EQ(TextAt(s, row, 5), "400");
        EXPECT_EQ(TextAt(s, row, 6), QString::number(panel % 3 + 1));
    }
    // The list block A5:G24: 10-point, not bold, bordered, centred; nothing below it and
    // nothing in row 4.
    int listCells = 0;
    for (const QJsonValue v : s["cells"].toArray()) {
        const QJsonObject cell = v.toObject();
        const int row = cell["row"].toInt(), col = cell["col"].toInt();
        ASSERT_TRUE(row <= 23 && row != 3 && col <= 6) << "cell outside at " << row << "/" << col;
        if (row < 4) continue;
        const QJsonObject f = cell["format"].toObject();
        EXPECT_EQ(cell["kind"].toString(), "text");
        EXPECT_EQ(f["size"].toDouble(), 10.0);
        EXPECT_FALSE(f["bold"].toBool());
        EXPECT_EQ(f["h"].toString(), "center");
        EXPECT_EQ(f["borders"].toArray(), QJsonArray({1, 1, 1, 1}));
        ++listCells;
    }
    EXPECT_EQ(listCells, 20 * 7);

    // The picture is the 300 x 300 "Temp.bmp" left in the program's folder.
    const QImage temp = QImage(TempBmp()).convertToFormat(QImage::Format_RGB888);
    EXPECT_EQ(temp.size(), QSize(300, 300));
    EXPECT_EQ(StoredPicture(book, PictureShapes(s)[0].toObject()["pib"].toInt()), temp);
}

TEST_P(CabinetSheetTest, FirstRowFollowsTheScreenResolution) {
    const struct {
        int dpi;
        int points;
    } cases[] = {{96, 225}, {120, 180}, {144, 150}};
    for (const auto& c : cases) {
        SetReportDpi(c.dpi);
        const QString path = Out(QString("size%1.xls").arg(c.dpi));
        ASSERT_TRUE(ExportSizeSheet(path, "W1"));
        EXPECT_EQ(SheetOf(Read(path))["row_heights"].toObject()["0"].toArray()[0].toInt(),
                  c.points * 20)
            << c.dpi << " dpi";
    }
}

TEST_P(CabinetSheetTest, EntryWithoutPanelsKeepsTheHeadingsInABorderedA5ToG5) {
    ASSERT_TRUE(ExportSizeSheet(Out("size.xls"), "W1"));
    const QJsonObject s = SheetOf(Read(Out("size.xls")));
    ExpectOnePictureAt(s, 0, 0);
    int rowFive = 0;
    for (const QJsonValue v : s["cells"].toArray()) {
        const QJsonObject cell = v.toObject();
        ASSERT_LE(cell["row"].toInt(), 4);
        if (cell["row"].toInt() != 4) continue;
        EXPECT_EQ(cell["format"].toObject()["borders"].toArray(), QJsonArray({1, 1, 1, 1}));
        ++rowFive;
    }
    EXPECT_EQ(rowFive, 7);
}

TEST_P(CabinetSheetTest, DrawingSheetHasTheSizeBlockAndThePictureAtB3) {
    const QString path = Out("drawing.xls");
    ASSERT_TRUE(ExportDrawingSheet(path, "W1", kelm::Colors::Black));
    EXPECT_EQ(prompt.infos, QStringList{"报表已经导出为文件：" + path});
    const QJsonObject s = SheetOf(Read(path));
    EXPECT_EQ(s["name"].toString(), "(Kelm)报表");
    ExpectSizeBlock(s, 0);
    ExpectOnePictureAt(s, 1, 2);
    for (const QJsonValue v : s["cells"].toArray()) EXPECT_LE(v.toObject()["row"].toInt(), 1);
    for (const QJsonValue v : s["row_heights"].toObject())
        EXPECT_FALSE(v.toArray()[1].toBool()) << "row heights keep their defaults";
}

TEST_P(CabinetSheetTest, TwoSheetsInARowEachKeepTheirOwnPicture) {
    ASSERT_TRUE(ExportSizeSheet(Out("size.xls"), "W1"));
    const QImage filled = QImage(TempBmp()).convertToFormat(QImage::Format_RGB888);
    ASSERT_TRUE(ExportDrawingSheet(Out("drawing.xls"), "W1", kelm::Colors::Black));
    const QImage wire = QImage(TempBmp()).convertToFormat(QImage::Format_RGB888);
    ASSERT_NE(filled, wire) << "the second report replaced Temp.bmp";

    const QJsonObject first = Read(Out("size.xls"));
    const QJsonObject second = Read(Out("drawing.xls"));
    EXPECT_EQ(StoredPicture(first, PictureShapes(SheetOf(first))[0].toObject()["pib"].toInt()),
              filled);
    EXPECT_EQ(StoredPicture(second, PictureShapes(SheetOf(second))[0].toObject()["pib"].toInt()),
              wire);
}

TEST_P(CabinetSheetTest, UnknownEntryWritesNothing) {
    EXPECT_FALSE(ExportSizeSheet(Out("size.xls"), "W9"));
    EXPECT_FALSE(ExportDrawingSheet(Out("drawing.xls"), "W9", kelm::Colors::Black));
    EXPECT_FALSE(QFile::exists(Out("size.xls")));
    EXPECT_FALSE(QFile::exists(Out("drawing.xls")));
    EXPECT_TRUE(prompt.infos.isEmpty());
}

TEST_P(CabinetSheetTest, DamagedCabinetDocumentIsReportedAndWritesNoFile) {
    Exec("UPDATE FProWins SET winPath='garbage' WHERE winID='W1'");
    const QString path = Out("size.xls");
    EXPECT_FALSE(ExportSizeSheet(path, "W1"));
    EXPECT_FALSE(QFile::exists(path));
    ASSERT_EQ(prompt.infos.size(), 1);
    EXPECT_TRUE(prompt.infos[0].startsWith("报表未能保存为：" + path + "\n"))
        << prompt.infos[0].toStdString();
}

}  // namespace

// Bottom edge of the faces filled in the size sheet's colour.
int FilledBottom(const QImage& image) {
    for (int y = image.height() - 1; y >= 0; --y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == QColor(248, 240, 227)) return y;
    return -1;
}

// Left and right end of the lowest blue line: the width's dimension line under the front.
std::pair<int, int> WidthDimension(const QImage& image) {
    for (int y = image.height() - 1; y >= 0; --y) {
        int left = -1, right = -1;
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > 200 && c.red() < 80 && c.green() < 80) {
                if (left < 0) left = x;
                right = x;
            }
        }
        if (left >= 0 && right - left > 20) return {left, right};
    }
    return {-1, -1};
}

TEST_P(CabinetSheetTest, WholeCabinetWithDepthTopAndDimensionsFitsInsideTheMargin) {
    // Deep and flat cabinets too: their depth is drawn above the front's top edge and
    // the dimension lines with their texts below and to the right of it.
    const struct {
        double w, d, h;
    } cases[] = {{2400, 550, 2100}, {600, 550, 720}, {1200, 600, 1200},
                 {600, 900, 800},   {400, 1200, 400}, {2400, 600, 300}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.d << " x " << c.h);
        QString error;
        const QString path = MakeCabinetPicture(FXmlSave::BuildStoredXml(Carcass(c.w, c.d, c.h)),
                                                true, kelm::Color(248, 240, 227), 300, 300, &error);
        ASSERT_EQ(path, TempBmp()) << error.toStdString();
        const QImage image(path);
        EXPECT_EQ(image.size(), QSize(300, 300));
        // Nothing drawn within 8 pixels of the picture's edges.
        QRect drawn;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) != QColor(Qt::white))
                    drawn = drawn.united(QRect(x, y, 1, 1));
        ASSERT_FALSE(drawn.isNull());
        EXPECT_TRUE(QRect(8, 8, 284, 284).contains(drawn))
            << drawn.x() << "," << drawn.y() << " " << drawn.width() << "x" << drawn.height();
        // And as large as that allows.
        EXPECT_GE(std::max(drawn.width(), drawn.height()), 250);
        // The width's dimension line lies under the filled front.
        const auto [left, right] = WidthDimension(image);
        EXPECT_GT(left, 0);
        EXPECT_GT(FilledBottom(image), 0);
        EXPECT_LT(FilledBottom(image), image.height() - 10);
    }
}
