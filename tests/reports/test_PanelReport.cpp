// The panel list report read back with python3-xlrd: layout of the sheet, customers
// together, every value as text, the file format whatever the extension, and the cases
// where nothing or no file is written.
#include <map>

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

TEST_P(PanelReportTest, ThreePanelsFillTheBorderedBlockA1ToQ5) {
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
    EXPECT_EQ(MergedNames(s), QStringList{"A1:Q1"});
    EXPECT_EQ(TextAt(s, 0, 0), "[Kelm]报表");

    const QStringList headings{"条码",  "客户名称", "板件名称", "所属柜体", "柜体代号", "板件颜色",
                               "封边颜色", "长边1", "长边2",     "宽边1",     "宽边2",     "长度",
                               "宽度",  "厚度",     "数量",     "批次号",   "备注"};
    // The positions have no document, so no edge is known to be banded.
    const QStringList rows[] = {
        {"P1-W1-001", "张三", "侧板", "地柜", "A01", "白橡", "黑色", "", "", "", "", "720.5", "400",
         "18", "2", "B-07", ""},
        {"P1-W1-002", "张三", "背板", "地柜", "A01", "白橡", "黑色", "", "", "", "", "580", "400",
         "18", "1", "B-07", ""},
        {"P1-W2-001", "李四", "顶板", "吊柜", "A02", "白橡", "白色", "", "", "", "", "564", "400",
         "18", "1", "B-07", ""},
    };
    const int columns = int(headings.size());
    ASSERT_EQ(columns, 17);
    for (int c = 0; c < columns; ++c) {
        EXPECT_EQ(TextAt(s, 1, c), headings[c]) << "heading " << c;
        for (int r = 0; r < 3; ++r) {
            const QJsonObject cell = CellAt(s, r + 2, c);
            EXPECT_EQ(cell["value"].toString(), rows[r][c]) << "row " << r + 3 << " col " << c;
            // Quantities and sizes too are text; empty values are formatted blanks.
            EXPECT_EQ(cell["kind"].toString(), rows[r][c].isEmpty() ? "blank" : "text")
                << r + 3 << "/" << c;
        }
    }
    // Every cell of A1:Q5 bordered and centred, title row 16-point bold, nothing outside.
    int cells = 0;
    for (const QJsonValue v : s["cells"].toArray()) {
        const QJsonObject cell = v.toObject();
        const int row = cell["row"].toInt(), col = cell["col"].toInt();
        ASSERT_TRUE(row <= 4 && col < columns) << "cell outside the block at " << row << "/" << col;
        const QJsonObject f = cell["format"].toObject();
        EXPECT_EQ(f["borders"].toArray(), QJsonArray({1, 1, 1, 1})) << row << "/" << col;
        EXPECT_EQ(f["h"].toString(), "center") << row << "/" << col;
        EXPECT_EQ(f["size"].toDouble(), row == 0 ? 16.0 : 10.0) << row << "/" << col;
        EXPECT_EQ(f["bold"].toBool(), row == 0) << row << "/" << col;
        ++cells;
    }
    EXPECT_EQ(cells, 5 * columns);
}

TEST_P(PanelReportTest, ColumnsFitTheirLongestTextAndThePagePrintsLandscapeOneWide) {
    Exec("UPDATE FProWins SET FengB='暖白PVC 1.0mm 封边条' WHERE winID='W1'");
    for (int i = 0; i < 120; ++i) AddPanel(i % 2 ? "W1" : "W2", "抽屉1-右侧板加长", "720", "1");
    const QString path = Out("long.xls");
    ASSERT_TRUE(ExportPanelReport(path, "P1"));
    const QJsonObject s = SheetOf(Read(path));
    // Column width in 1/256 of a character: every text of a column fits, counting a
    // Chinese character as two.
    const QJsonObject widths = s["column_widths"].toObject();
    std::map<int, double> needed;
    for (const QJsonValue v : s["cells"].toArray()) {
        const QJsonObject cell = v.toObject();
        if (cell["row"].toInt() == 0) continue;  // the title spans the merged row
        double chars = 0;
        for (QChar ch : cell["value"].toString()) chars += ch.unicode() >= 0x2E80 ? 2 : 1;
        double& n = needed[cell["col"].toInt()];
        n = std::max(n, chars);
    }
    ASSERT_EQ(needed.size(), 17u);
    for (const auto& [col, chars] : needed)
        EXPECT_GE(widths[QString::number(col)].toInt() / 256.0, chars) << "column " << col;
    EXPECT_EQ(TextAt(s, 2, 6), "暖白PVC 1.0mm 封边条");

    // Landscape, fitted to one page across and as many down as needed, the headings
    // (row 2) repeated on top of every printed page.
    const QJsonObject setup = s["page_setup"].toObject();
    EXPECT_TRUE(setup["landscape"].toBool());
    EXPECT_TRUE(setup["fit_to_page"].toBool());
    EXPECT_EQ(setup["fit_width"].toInt(), 1);
    EXPECT_EQ(setup["fit_height"].toInt(), 0);
    EXPECT_EQ(s["print_titles"].toArray(), QJsonArray({1, 1, 0, 255}));
}

// A cabinet with banded side and top boards: side "侧板" banded top and bottom 1 mm and
// front 2 mm, top "顶板" banded left and right 1 mm and front 2 mm.
FCabs BandedCabinet() {
    FCabs cabs(600, 550, 720);
    auto cab = std::make_unique<FCabinet>(600, 550, 720, QStringLiteral("A03-1"));
    FCl side{"1", QStringLiteral("侧板"), 18};
    FCl top{"1", QStringLiteral("顶板"), 18};
    cab->AddCeBan(0, FShape::R, FEdge{}, side, "Left", FFengB{0, 0, 1, 1, 2, 0}, "0");
    cab->AddDingBan(0, FShape::R, FEdge{}, top, FFengB{1, 1, 0, 0, 2, 0}, "0");
    cabs.AddCabinet(0, std::move(cab));
    return cabs;
}

TEST_P(PanelReportTest, BandingPerEdgeAndPartIdentifiersThatStayWhenThePositionIsSavedAgain) {
    const FCabs cabs = BandedCabinet();
    QString winID;
    ASSERT_TRUE(FXmlSave::SaveToDB("P1", "A03", "1", "1", "张三", "暖白PVC", cabs, 0, &winID));
    const QString first = Out("first.xls");
    ASSERT_TRUE(ExportPanelReport(first, "P1"));
    // Saved again as the designer does after an edit: every panel row is written anew.
    ASSERT_TRUE(FXmlSave::EditSize("P1", winID, "A03", "1", "1", "张三", "暖白PVC", cabs));
    const QString second = Out("second.xls");
    ASSERT_TRUE(ExportPanelReport(second, "P1"));

    for (const QString& path : {first, second}) {
        SCOPED_TRACE(path.toStdString());
        const QJsonObject s = SheetOf(Read(path));
        ASSERT_EQ(TextAt(s, 2, 2), "侧板");
        ASSERT_EQ(TextAt(s, 3, 2), "顶板");
        const QStringList expected[] = {
            // 条码, 所属柜体, 柜体代号, 封边颜色, 长边1, 长边2, 宽边1, 宽边2
            {"P1-" + winID + "-001", "A03-1", "A03", "暖白PVC", "2", "", "1", "1"},
            {"P1-" + winID + "-002", "A03-1", "A03", "暖白PVC", "1", "1", "2", ""},
        };
        for (int r = 0; r < 2; ++r) {
            const QStringList got{TextAt(s, r + 2, 0), TextAt(s, r + 2, 3), TextAt(s, r + 2, 4),
                                  TextAt(s, r + 2, 6), TextAt(s, r + 2, 7), TextAt(s, r + 2, 8),
                                  TextAt(s, r + 2, 9), TextAt(s, r + 2, 10)};
            EXPECT_EQ(got, expected[r]) << "row " << r + 3;
        }
    }
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
