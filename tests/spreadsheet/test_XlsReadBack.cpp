// Workbooks written by XlsWorkbook and read back with python3-xlrd: sheet names, texts
// (Chinese included), numbers, merged blocks, fonts, alignment, borders, widths and
// heights as another program sees them.
#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "XlsReadBack.h"
#include "spreadsheet/XlsWorkbook.h"

using namespace kelm;
using kelm::test::CellAt;
using kelm::test::ReadBack;

namespace {

const QString kTitle = QStringLiteral("[Kelm]报表");

// A sheet laid out like the panel list: a bordered, centred block with a merged,
// large bold title, headings and rows of texts, plus numbers and a second sheet.
XlsWorkbook PanelListBook() {
    XlsWorkbook book;
    XlsSheet& s = book.AddSheet(QStringLiteral("[Kelm]软件报表"));
    s.SetBorders("A1:L5");
    s.Merge("A1:L1");
    s.SetText("A1", kTitle);
    s.SetHorizontalAlignment("A1:L5", XlsHAlign::Center);
    s.SetFont("A1:L1", 16, true);
    const QStringList headings = {"条码",     "客户名称", "板件名称", "所属柜体",
                                  "板件颜色", "封边颜色", "长度",     "宽度",
                                  "厚度",     "数量",     "批次号",   "备注"};
    for (int c = 0; c < headings.size(); ++c) s.SetText(1, c, headings[c]);
    for (int r = 2; r < 5; ++r) {
        s.SetText(r, 0, QString::number(100 + r));
        s.SetText(r, 1, QStringLiteral("张三"));
        s.SetText(r, 9, QStringLiteral("2"));
        s.SetText(r, 11, QString());
    }
    XlsSheet& t = book.AddSheet(QStringLiteral("开料图"));
    t.SetNumber("C8", 12);
    t.SetNumber("C9", -0.125);
    t.SetText("A3", QStringLiteral("成品面积："));
    t.SetHorizontalAlignment("A3", XlsHAlign::Right);
    t.SetVerticalAlignment("A3", XlsVAlign::Top);
    t.SetWrap("B3", true);
    t.SetVerticalAlignment("B3", XlsVAlign::Center);
    t.SetText("B3", QStringLiteral("25.0㎡"));
    t.SetFont("B3", 10, false);
    t.SetColumnWidth("A", 18);
    t.SetColumnWidth(3, 8);
    t.SetRowHeight(0, 225);
    t.SetRowHeight(5, 30.5);
    return book;
}

class XlsReadBackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QString error;
        result_ = ReadBack(PanelListBook(), &error, QStringLiteral("panel_list.xls"));
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        sheets_ = result_["sheets"].toArray();
        ASSERT_EQ(sheets_.size(), 2);
    }
    QJsonObject Sheet(int i) const { return sheets_[i].toObject(); }
    QJsonObject result_;
    QJsonArray sheets_;
};

TEST_F(XlsReadBackTest, SheetNamesAreKeptInOrder) {
    EXPECT_EQ(Sheet(0)["name"].toString(), QStringLiteral("(Kelm)软件报表"));
    EXPECT_EQ(Sheet(1)["name"].toString(), QStringLiteral("开料图"));
}

TEST_F(XlsReadBackTest, TextsComeBackAsTextCells) {
    const QJsonObject s = Sheet(0);
    EXPECT_EQ(CellAt(s, 0, 0)["value"].toString(), kTitle);
    EXPECT_EQ(CellAt(s, 1, 1)["value"].toString(), QStringLiteral("客户名称"));
    EXPECT_EQ(CellAt(s, 1, 11)["value"].toString(), QStringLiteral("备注"));
    for (int r = 2; r < 5; ++r) {
        EXPECT_EQ(CellAt(s, r, 0)["value"].toString(), QString::number(100 + r));
        EXPECT_EQ(CellAt(s, r, 1)["value"].toString(), QStringLiteral("张三"));
        EXPECT_EQ(CellAt(s, r, 9)["kind"].toString(), "text") << "quantity stays text";
        EXPECT_EQ(CellAt(s, r, 9)["value"].toString(), "2");
        EXPECT_EQ(CellAt(s, r, 11)["kind"].toString(), "blank") << "empty text, bordered";
    }
    EXPECT_EQ(CellAt(Sheet(1), 2, 0)["value"].toString(), QStringLiteral("成品面积："));
}

TEST_F(XlsReadBackTest, NumbersComeBackAsNumberCells) {
    const QJsonObject c8 = CellAt(Sheet(1), 7, 2);
    EXPECT_EQ(c8["kind"].toString(), "number");
    EXPECT_DOUBLE_EQ(c8["value"].toDouble(), 12);
    EXPECT_DOUBLE_EQ(CellAt(Sheet(1), 8, 2)["value"].toDouble(), -0.125);
}

TEST_F(XlsReadBackTest, MergedBlocksAreListed) {
    // xlrd gives (first row, last row + 1, first column, last column + 1).
    EXPECT_EQ(Sheet(0)["merged"].toArray(), QJsonArray({QJsonArray({0, 1, 0, 12})}));
    EXPECT_TRUE(Sheet(1)["merged"].toArray().isEmpty());
}

TEST_F(XlsReadBackTest, BordersCoverExactlyTheBlock) {
    const QJsonObject s = Sheet(0);
    int bordered = 0;
    for (const QJsonValue v : s["cells"].toArray()) {
        const QJsonObject c = v.toObject();
        const QJsonObject f = c["format"].toObject();
        const bool inside = c["row"].toInt() <= 4 && c["col"].toInt() <= 11;
        const QJsonArray expected = inside ? QJsonArray({1, 1, 1, 1}) : QJsonArray({0, 0, 0, 0});
        EXPECT_EQ(f["borders"].toArray(), expected)
            << "cell " << c["row"].toInt() << "," << c["col"].toInt();
        if (inside) {
            EXPECT_EQ(f["border_colours"].toArray(), QJsonArray({64, 64, 64, 64}))
                << "automatic colour";
            ++bordered;
        }
    }
    EXPECT_EQ(bordered, 60) << "every cell of A1:L5, merged and empty ones included";
    const QJsonObject plain = CellAt(Sheet(1), 7, 2)["format"].toObject();
    EXPECT_EQ(plain["borders"].toArray(), QJsonArray({0, 0, 0, 0}));
}

TEST_F(XlsReadBackTest, FontsAndAlignmentFollowTheirBlocks) {
    struct Case {
        int sheet, row, col;
        double size;
        bool bold;
        const char* h;
        const char* v;
        bool wrap;
    } cases[] = {
        {0, 0, 0, 16, true, "center", "bottom", false},    // title
        {0, 0, 11, 16, true, "center", "bottom", false},   // end of the merged title row
        {0, 1, 3, 10, false, "center", "bottom", false},   // heading
        {0, 4, 11, 10, false, "center", "bottom", false},  // last cell of the block
        {1, 2, 0, 10, false, "right", "top", false},
        {1, 2, 1, 10, false, "general", "center", true},
        {1, 7, 2, 10, false, "general", "bottom", false},
    };
    for (const Case& c : cases) {
        const QJsonObject f = CellAt(Sheet(c.sheet), c.row, c.col)["format"].toObject();
        SCOPED_TRACE(testing::Message()
                     << "sheet " << c.sheet << " cell " << c.row << "," << c.col);
        EXPECT_DOUBLE_EQ(f["size"].toDouble(), c.size);
        EXPECT_EQ(f["bold"].toBool(), c.bold);
        EXPECT_EQ(f["weight"].toInt(), c.bold ? 700 : 400);
        EXPECT_EQ(f["font"].toString(), "Arial");
        EXPECT_EQ(f["h"].toString(), c.h);
        EXPECT_EQ(f["v"].toString(), c.v);
        EXPECT_EQ(f["wrap"].toBool(), c.wrap);
    }
}

TEST_F(XlsReadBackTest, ColumnWidthsAndRowHeights) {
    const QJsonObject s = Sheet(1);
    // Widths are stored in 1/256 of a digit and include the cell padding: 18 characters
    // of 7 pixels plus 5 pixels is 131 pixels.
    const QJsonObject widths = s["column_widths"].toObject();
    EXPECT_EQ(widths["0"].toInt(), 131 * 256 / 7);
    EXPECT_EQ(widths["3"].toInt(), 61 * 256 / 7);
    EXPECT_FALSE(widths.contains("1")) << "columns not set keep the default";
    const QJsonObject heights = s["row_heights"].toObject();
    EXPECT_EQ(heights["0"].toArray(), QJsonArray({225 * 20, true}));
    EXPECT_EQ(heights["5"].toArray(), QJsonArray({610, true}));
    EXPECT_EQ(heights["7"].toArray(), QJsonArray({255, false})) << "default for 10-point text";
    // The title row of the first sheet grows with its 16-point font.
    const QJsonArray title = Sheet(0)["row_heights"].toObject()["0"].toArray();
    EXPECT_GT(title[0].toInt(), 255);
    EXPECT_FALSE(title[1].toBool());
    EXPECT_TRUE(Sheet(0)["column_widths"].toObject().isEmpty());
}

// Shared strings go on in CONTINUE records past 8224 bytes; strings of every length
// around the record boundary, mixed with a string longer than a whole record, must come
// back unchanged.
TEST(XlsSharedStrings, LongTablesSurviveTheRecordBoundaries) {
    XlsWorkbook book;
    XlsSheet& s = book.AddSheet(QStringLiteral("字符串"));
    QRandomGenerator random(7);
    QStringList expected;
    for (int i = 0; i < 3000; ++i) {
        QString text;
        const int length = i == 1500 ? 9000 : int(random.bounded(0, 40));
        for (int k = 0; k < length; ++k)
            text += k % 3 == 0 ? QChar(0x4E00 + int(random.bounded(0, 2000)))
                               : QChar('a' + int(random.bounded(0, 26)));
        text += QString::number(i);  // unique
        expected << text;
        s.SetText(i / 4, i % 4, text);
    }
    s.SetText(800, 0, expected[10]);  // a repeated text shares the entry
    QString error;
    const QJsonObject result = ReadBack(book, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    const QJsonObject sheet = result["sheets"].toArray()[0].toObject();
    int mismatches = 0;
    for (int i = 0; i < expected.size(); ++i)
        if (CellAt(sheet, i / 4, i % 4)["value"].toString() != expected[i]) ++mismatches;
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(CellAt(sheet, 800, 0)["value"].toString(), expected[10]);
}

TEST(XlsReadBackEdges, EmptyWorkbookAndEmptySheetStillOpen) {
    XlsWorkbook none;
    QString error;
    QJsonObject result = ReadBack(none, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_EQ(result["sheets"].toArray().size(), 1) << "a workbook needs one sheet";

    XlsWorkbook book;
    book.AddSheet(QStringLiteral("空"));
    book.AddSheet(QString()).SetText(0, 0, "x");
    result = ReadBack(book, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    const QJsonArray sheets = result["sheets"].toArray();
    ASSERT_EQ(sheets.size(), 2);
    EXPECT_TRUE(sheets[0].toObject()["cells"].toArray().isEmpty());
    EXPECT_EQ(sheets[1].toObject()["name"].toString(), "Sheet2");
}

TEST(XlsReadBackEdges, LastRowAndColumnOfTheSheet) {
    XlsWorkbook book;
    XlsSheet& s = book.AddSheet("edge");
    ASSERT_TRUE(s.SetText("IV65536", QStringLiteral("末")));
    ASSERT_TRUE(s.SetNumber(0, 0, 1));
    QString error;
    const QJsonObject result = ReadBack(book, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    const QJsonObject sheet = result["sheets"].toArray()[0].toObject();
    EXPECT_EQ(CellAt(sheet, 65535, 255)["value"].toString(), QStringLiteral("末"));
}

}  // namespace
