// The panel list report read back with python3-xlrd: layout of the sheet, customers
// together, every value as text, the file format whatever the extension, and the cases
// where nothing or no file is written.
#include "ReportTestSupport.h"

using namespace kelm::test;

namespace {

class PanelReportTest : public ReportTest {
  protected:
    void SetUp() override {
        ReportTest::SetUp();
        Exec("INSERT INTO FProject(proID,proCode,proName) VALUES('P1','B-07','一期')");
        Exec(
            "INSERT INTO FCl(ylName,length,width,houdu,color) "
            "VALUES('白橡18',2440,1220,18,'白橡')");
        // Customer 2's entry first, so the report has to bring customer 1 forward.
        Exec(
            "INSERT INTO FProWins(winID,proID,winCode,custID,custName,FengB) "
            "VALUES('W2','P1','A02','2','李四','白色')");
        Exec(
            "INSERT INTO FProWins(winID,proID,winCode,custID,custName,FengB) "
            "VALUES('W1','P1','A01','1','张三','黑色')");
    }
    void AddPanel(const QString& winID, const QString& name, const QString& length,
                  const QString& count) {
        Exec(
            "INSERT INTO FProCl(proID,winID,gtName,clID,clName,length,width,thick,clCount) "
            "VALUES('P1',:winID,:gt,'1',:name,:length,400,18,:count)",
            {"winID", winID, "gt", winID == "W1" ? "地柜" : "吊柜", "name", name, "length", length,
             "count", count});
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, PanelReportTest, KelmEngines(), KelmEngineName);

TEST_P(PanelReportTest, ThreePanelsFillTheBorderedBlockA1ToL5) {
    AddPanel("W2", "顶板", "564", "1");    // ID 1, customer 2
    AddPanel("W1", "侧板", "720.5", "2");  // ID 2, customer 1
    AddPanel("W1", "背板", "580", "1");    // ID 3, customer 1
    const QString path = Out("list.xls");
    ASSERT_TRUE(ExportPanelReport(path, "P1"));
    EXPECT_EQ(prompt.infos, QStringList{"报表已经保存为：" + path});

    const QJsonObject book = Read(path);
    ASSERT_EQ(book["sheets"].toArray().size(), 1);
    const QJsonObject s = SheetOf(book);
    EXPECT_EQ(s["name"].toString(), "(Kelm)软件报表");
    EXPECT_EQ(MergedNames(s), QStringList{"A1:L1"});
    EXPECT_EQ(TextAt(s, 0, 0), "[Kelm]报表");

    const QStringList headings{"条码", "客户名称", "板件名称", "所属柜体", "板件颜色", "封边颜色",
                               "长度", "宽度",     "厚度",     "数量",     "批次号",   "备注"};
    const QStringList rows[] = {
        {"2", "张三", "侧板", "地柜", "白橡", "黑色", "720.5", "400", "18", "2", "B-07", ""},
        {"3", "张三", "背板", "地柜", "白橡", "黑色", "580", "400", "18", "1", "B-07", ""},
        {"1", "李四", "顶板", "吊柜", "白橡", "白色", "564", "400", "18", "1", "B-07", ""},
    };
    for (int c = 0; c < 12; ++c) {
        EXPECT_EQ(TextAt(s, 1, c), headings[c]) << "heading " << c;
        for (int r = 0; r < 3; ++r) {
            const QJsonObject cell = CellAt(s, r + 2, c);
            EXPECT_EQ(cell["value"].toString(), rows[r][c]) << "row " << r + 3 << " col " << c;
            // Quantities and sizes too are text; the empty remark is a formatted blank.
            EXPECT_EQ(cell["kind"].toString(), c == 11 ? "blank" : "text") << r + 3 << "/" << c;
        }
    }
    // Every cell of A1:L5 bordered and centred, title row 16-point bold, nothing outside.
    int cells = 0;
    for (const QJsonValue v : s["cells"].toArray()) {
        const QJsonObject cell = v.toObject();
        const int row = cell["row"].toInt(), col = cell["col"].toInt();
        ASSERT_TRUE(row <= 4 && col <= 11) << "cell outside the block at " << row << "/" << col;
        const QJsonObject f = cell["format"].toObject();
        EXPECT_EQ(f["borders"].toArray(), QJsonArray({1, 1, 1, 1})) << row << "/" << col;
        EXPECT_EQ(f["h"].toString(), "center") << row << "/" << col;
        EXPECT_EQ(f["size"].toDouble(), row == 0 ? 16.0 : 10.0) << row << "/" << col;
        EXPECT_EQ(f["bold"].toBool(), row == 0) << row << "/" << col;
        ++cells;
    }
    EXPECT_EQ(cells, 60);
    EXPECT_TRUE(s["column_widths"].toObject().isEmpty()) << "column widths keep the defaults";
}

TEST_P(PanelReportTest, PathEndingInXlsxStillGetsTheBinaryFormat) {
    AddPanel("W1", "侧板", "720", "2");
    const QString path = Out("list.xlsx");
    ASSERT_TRUE(ExportPanelReport(path, "P1"));
    EXPECT_TRUE(IsBinaryWorkbook(path));
    EXPECT_EQ(TextAt(SheetOf(Read(path)), 2, 2), "侧板");
}

TEST_P(PanelReportTest, OrderWithoutPanelsWritesNothingAndSaysNothing) {
    AddPanel("W1", "侧板", "720", "2");
    const QString path = Out("none.xls");
    EXPECT_FALSE(ExportPanelReport(path, "P2"));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(prompt.infos.isEmpty());
}

}  // namespace
