// Every report on a path it cannot write: a folder that does not exist, or a name that
// is a folder. The report says it could not be saved and why, never that it saved.
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

TEST_F(ReportFailureTest, UnwritablePathIsReportedAsFailureWithTheReason) {
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
         [](const QString& p) { return CutReportFileName(p, 1); }, "保存Excel文件出现异常！\n"},
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

}  // namespace
