// kelm-cut --xls: the cutting layout report of the run's result, built like the
// program's, written into the named file itself.
#ifdef KELM_CUT_PATH

#include <QJsonDocument>
#include <QProcess>

#include "ReportTestSupport.h"
#include "common/NumberFormat.h"

using namespace kelm::test;

namespace {

class KelmCutXls : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        Write("sheets.csv", "name,length,width,count,price,prio\n白橡18,2440,1220,,80,\n");
        Write("parts.csv",
              "name,length,width,count,rotation\n侧板,720,560,12,1\n层板,564,500,10,1\n"
              "门板,715,395,8,0\n");
    }
    void Write(const QString& name, const QByteArray& content) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    // Exit code, standard output.
    std::pair<int, QString> Run(const QStringList& extra) {
        QProcess p;
        p.setWorkingDirectory(dir.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");  // kelm-cut picks its platform itself
        env.remove("DISPLAY");
        p.setProcessEnvironment(env);
        p.start(KELM_CUT_PATH, QStringList{"--sheets", "sheets.csv", "--parts", "parts.csv",
                                           "--seed", "5", "--generations", "3"} +
                                   extra);
        EXPECT_TRUE(p.waitForFinished(120000));
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput())};
    }
    QTemporaryDir dir;
};

TEST_F(KelmCutXls, WritesTheReportOfItsResultIntoTheFileItself) {
    const auto [code, out] = Run({"--xls", "layout report.xls"});
    ASSERT_EQ(code, 0) << out.toStdString();
    const QJsonObject json = QJsonDocument::fromJson(out.toUtf8()).object();
    ASSERT_FALSE(json.isEmpty()) << out.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("layout report_1.xls")));

    QString error;
    const QJsonObject book = ReadXlsFile(dir.filePath("layout report.xls"), &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    const QJsonObject s = SheetOf(book);
    EXPECT_EQ(s["name"].toString(), "(Kelm)报表");
    EXPECT_EQ(TextAt(s, 0, 0), "[Kelm]软件排版图");
    EXPECT_EQ(TextAt(s, 2, 1), kelm::FormatPattern(json["part_area"].toDouble() / 1e6, "0.0㎡"));
    EXPECT_EQ(TextAt(s, 2, 3), kelm::FormatPattern(json["raw_area"].toDouble() / 1e6, "0.0㎡"));
    EXPECT_EQ(TextAt(s, 3, 3), QString::number(json["sheets"].toInt()) + " 张");
    EXPECT_EQ(TextAt(s, 6, 0), "1# 白橡18 2440×1220");
    EXPECT_EQ(TextAt(s, 6, 1), "2440×1220");
    EXPECT_EQ(CellAt(s, 6, 2)["value"].toDouble(), json["sheets"].toInt());
    EXPECT_EQ(TextAt(s, 7, 0), "切割排版图");
    const QJsonArray pictures = PictureShapes(s);
    ASSERT_EQ(pictures.size(), json["layouts"].toInt()) << "every layout's diagram";
    // Each below the previous: a diagram spans the rows it needs (at most 409 points each).
    int previous = 7;
    for (int i = 0; i < pictures.size(); ++i) {
        const int row = pictures[i].toObject()["anchor"].toArray()[2].toInt();
        EXPECT_GT(row, previous) << "picture " << i + 1;
        previous = row;
    }
    EXPECT_EQ(pictures[0].toObject()["anchor"].toArray()[2].toInt(), 8);
}

TEST_F(KelmCutXls, UnwritableReportPathIsRefusedBeforeTheSearch) {
    const auto [code, out] = Run({"--xls", "no-such-folder/r.xls"});
    EXPECT_EQ(code, 2);
    EXPECT_TRUE(out.isEmpty());
}

}  // namespace

#endif  // KELM_CUT_PATH
