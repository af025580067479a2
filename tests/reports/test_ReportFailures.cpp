// Every report on a path it cannot write: a folder that does not exist, or a name that
// is a folder. The report says it could not be saved and why, never that it saved.
#include <QProcess>
#include <functional>

#include "ReportTestSupport.h"

using namespace kelm::test;

namespace {

class ReportFailureTest : public ReportTest {
  protected:
    void SetUp() override {
        ReportTest::SetUp();
        Exec("INSERT INTO FProject(proID,proCode,proName) VALUES('P1','B-07','一期')");
        Exec(
            "INSERT INTO FCl(ylName,length,width,houdu,color) "
            "VALUES('白橡18',2440,1220,18,'白橡')");
        AddCabinetEntry("W1", Carcass(600, 550, 720));
        Exec(
            "INSERT INTO FProCl(proID,winID,gtName,clID,clName,length,width,thick,clCount) "
            "VALUES('P1','W1','A01-1','1','侧板',720,550,18,2)");
        StoreLayout(TwoLayoutScheme(), TwoLayoutParts());
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, ReportFailureTest, KelmEngines(), KelmEngineName);

TEST_P(ReportFailureTest, UnwritablePathIsReportedAsFailureWithTheReason) {
    const struct {
        const char* report;
        std::function<bool(const QString&)> run;
        // The file the report writes for a chosen name.
        std::function<QString(const QString&)> target;
        const char* failureStart;  // what the message begins with, before the reason
    } reports[] = {
        {"panel list", [](const QString& p) { return ExportPanelReport(p, "P1"); },
         [](const QString& p) { return p; }, "报表未能保存为："},
        {"cutting layout", [](const QString& p) { return ExportCutReport(p, "P1"); },
         [](const QString& p) { return p; }, "保存Excel文件出现异常！\n"},
        {"size sheet", [](const QString& p) { return ExportSizeSheet(p, "W1"); },
         [](const QString& p) { return p; }, "报表未能保存为："},
        {"drawing sheet",
         [](const QString& p) { return ExportDrawingSheet(p, "W1", kelm::Colors::Black); },
         [](const QString& p) { return p; }, "报表未能保存为："},
    };
    for (const auto& r : reports) {
        // A folder that does not exist, and a target name taken by a folder.
        const QString missing = Out(QString("no-such-folder/%1.xls").arg(r.report));
        const QString chosenOverFolder = Out(QString("%1.xls").arg(r.report));
        ASSERT_TRUE(QDir().mkpath(r.target(chosenOverFolder)));
        for (const QString& chosen : {missing, chosenOverFolder}) {
            SCOPED_TRACE(testing::Message() << r.report << " into " << chosen.toStdString());
            prompt.infos.clear();
            EXPECT_FALSE(r.run(chosen));
            EXPECT_FALSE(QFileInfo(r.target(chosen)).isFile());
            ASSERT_EQ(prompt.infos.size(), 1);
            const QString message = prompt.infos[0];
            EXPECT_TRUE(message.startsWith(r.failureStart)) << message.toStdString();
            EXPECT_FALSE(message.contains("报表已经")) << message.toStdString();
            const QString reason = message.section('\n', 1);
            EXPECT_FALSE(reason.isEmpty()) << "says why: " << message.toStdString();
        }
    }
}

// 65 536 rows hold the panel list's title, headings and 65 534 panels, and the size
// sheet's 65 531 panels below row 5; a longer list is refused instead of cut short.
TEST_P(ReportFailureTest, ListLongerThanAWorksheetIsRefusedRatherThanCutShort) {
    // W1 already holds one panel; 65 534 more.
    Exec(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 65534) "
        "INSERT INTO FProCl(proID,winID,gtName,clID,clName,length,width,thick,clCount) "
        "SELECT 'P1','W1','A01-1','1','层板',564,400,18,1 FROM n");
    for (const auto& [name, run] :
         std::initializer_list<std::pair<const char*, std::function<bool(const QString&)>>>{
             {"panel list", [](const QString& p) { return ExportPanelReport(p, "P1"); }},
             {"size sheet", [](const QString& p) { return ExportSizeSheet(p, "W1"); }}}) {
        SCOPED_TRACE(name);
        prompt.infos.clear();
        const QString path = Out(QString("%1.xls").arg(name));
        EXPECT_FALSE(run(path));
        EXPECT_FALSE(QFile::exists(path));
        ASSERT_EQ(prompt.infos.size(), 1);
        EXPECT_TRUE(prompt.infos[0].startsWith("报表未能保存为：" + path + "\n"))
            << prompt.infos[0].toStdString();
        EXPECT_TRUE(prompt.infos[0].contains("65535")) << prompt.infos[0].toStdString();
    }
    // One panel fewer fills the panel list's sheet to its last row.
    Exec("DELETE FROM FProCl WHERE ID = (SELECT MAX(ID) FROM FProCl)");
    prompt.infos.clear();
    ASSERT_TRUE(ExportPanelReport(Out("full.xls"), "P1"));
    EXPECT_EQ(prompt.infos, QStringList{"报表已经保存为：" + Out("full.xls")});
    // Row count and last panel only: the full read-back of 786 000 cells is too large.
    QProcess xlrd;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PYTHONIOENCODING", "utf-8");
    xlrd.setProcessEnvironment(env);
    xlrd.start("/usr/bin/python3",
               {"-c",
                "import sys, xlrd\n"
                "s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
                "print(s.nrows, s.cell_value(s.nrows - 1, 2), s.cell_value(s.nrows - 1, 14))",
                Out("full.xls")});
    ASSERT_TRUE(xlrd.waitForFinished(120000));
    EXPECT_EQ(QString::fromUtf8(xlrd.readAllStandardOutput()).trimmed(), "65536 层板 1")
        << xlrd.readAllStandardError().toStdString();
}

}  // namespace
