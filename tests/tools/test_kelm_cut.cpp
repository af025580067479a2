// kelm-cut run as a program: results on good input, one clear line and exit status 2
// on bad input.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "common/TextCodec.h"
#include "optimizer/UnitD2RectDoc.h"

namespace {

struct RunResult {
    int exitCode = -1;
    QString out, err;
};

class KelmCut : public ::testing::Test {
  protected:
    QTemporaryDir dir;

    QString Write(const QString& name, const QByteArray& content) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return f.fileName();
    }
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        Write("sheets.csv", "name,length,width,count,price,prio\n\"Board 18\",2440,1220,,,\n");
        Write("parts.csv",
              "name,length,width,count,rotation\n侧板,720,560,16,0\nbottom,568,560,8,1\n"
              "\"door, \"\"left\"\"\",716,296,12,0\ntoo big,3000,2000,2,1\n");
    }
    RunResult Exec(QStringList args) {
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start(KELM_CUT_PATH, args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return RunResult{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                         QString::fromUtf8(p.readAllStandardError())};
    }
};

TEST_F(KelmCut, PrintsOneJsonLineAndCountsOversizePartsAsUncut) {
    const RunResult r =
        Exec({"--sheets", "sheets.csv", "--parts", "parts.csv", "--seed", "5", "--generations", "4",
              "--threads", "2", "--kerf", "4", "--trim", "5,5,5,5"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());  // no progress bar when standard error is not a terminal
    ASSERT_TRUE(r.out.endsWith('\n'));
    EXPECT_EQ(r.out.count('\n'), 1);
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    for (const char* key : {"sheets", "layouts", "utilisation", "part_area", "raw_area", "price",
                            "uncut", "constructions", "seconds"})
        EXPECT_TRUE(o.contains(key)) << key;
    EXPECT_EQ(o["uncut"].toInt(), 2);
    EXPECT_EQ(o["constructions"].toInt(), 4 * 30);
    EXPECT_GE(o["sheets"].toInt(), 4);
    const double part = 720.0 * 560 * 16 + 568.0 * 560 * 8 + 716.0 * 296 * 12;
    EXPECT_DOUBLE_EQ(o["part_area"].toDouble(), part);
    EXPECT_DOUBLE_EQ(o["raw_area"].toDouble(), 2440.0 * 1220 * o["sheets"].toInt());
    EXPECT_NEAR(o["utilisation"].toDouble(), part / o["raw_area"].toDouble(), 1e-12);
    EXPECT_NEAR(o["price"].toDouble(), o["raw_area"].toDouble() / 1e6, 1e-9);
}

TEST_F(KelmCut, SameSeedSameResult) {
    auto result = [&](const char* threads) {
        const RunResult r =
            Exec({"--sheets", "sheets.csv", "--parts", "parts.csv", "--seed", "77", "--generations",
                  "3", "--threads", threads, "--style", "hstrip", "--priority", "cut"});
        QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
        o.remove("seconds");
        return o;
    };
    const QJsonObject one = result("1");
    EXPECT_FALSE(one.isEmpty());
    EXPECT_EQ(one, result("2"));
}

TEST_F(KelmCut, WritesTheLayoutDocumentInGbk) {
    const RunResult r = Exec({"--sheets", "sheets.csv", "--parts", "parts.csv", "--seed", "3",
                              "--generations", "2", "--xml", "layout.xml"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile f(dir.filePath("layout.xml"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.contains(kelm::EncodeGbk("侧板")));
    TD2RRawArr raws;
    TD2REleArr eles;
    TD2RSchame schame;
    TD2RPrm prm;
    ASSERT_NO_THROW(ReadLayoutDocument(kelm::DecodeGbk(bytes), raws, eles, schame, prm));
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(static_cast<int>(schame.size()), o["layouts"].toInt());
    ASSERT_EQ(eles.size(), 4u);
    EXPECT_EQ(eles[2].Name, "door, \"left\"");
}

TEST_F(KelmCut, PartNamedWithAPrivateUseCharacterIsWrittenAndReadBack) {
    // U+E81E is one of the characters the C library's GB18030 converter has no code for.
    const QString name = QString(QChar(0xE81E)) + QStringLiteral("门板");
    Write("pua.csv", "name,length,width,count\n" + name.toUtf8() + ",500,300,2\n");
    const RunResult r = Exec({"--sheets", "sheets.csv", "--parts", "pua.csv", "--seed", "1",
                              "--generations", "1", "--xml", "pua.xml"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile f(dir.filePath("pua.xml"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    TD2RRawArr raws;
    TD2REleArr eles;
    TD2RSchame schame;
    TD2RPrm prm;
    ASSERT_NO_THROW(ReadLayoutDocument(kelm::DecodeGbk(f.readAll()), raws, eles, schame, prm));
    ASSERT_EQ(eles.size(), 1u);
    EXPECT_EQ(eles[0].Name, name);
}

TEST_F(KelmCut, DiagramsOfAVeryLongSheetStayWithinThePictureLimit) {
    // 100 × 200 000 mm: at the report's scale the diagram would be two million pixels
    // tall; it is drawn smaller instead, and the workbook gets it too.
    Write("long.csv", "name,length,width,count\nstrip,100,200000,1\n");
    Write("p3.csv", "name,length,width,count,rotation\na,90,1000,3,0\n");
    const RunResult r = Exec({"--sheets", "long.csv", "--parts", "p3.csv", "--seed", "1",
                              "--generations", "1", "--png", "long", "--xls", "long.xls"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage image(dir.filePath("long/layout-1.png"));
    ASSERT_FALSE(image.isNull());
    EXPECT_LE(image.height(), 20000);
    EXPECT_GT(image.height(), 10000);
    EXPECT_GT(QFileInfo(dir.filePath("long.xls")).size(), 0);
}

TEST_F(KelmCut, LayoutDocumentSheetIndicesMatchItsSheetList) {
    // The smaller sheet is listed first; the optimizer sorts by area, and the document's
    // sheet list must be the one its layouts' indices refer to.
    Write("two.csv", "name,length,width,count\nsmall,1220,600,3\nlarge,2440,1220,\n");
    const RunResult r = Exec({"--sheets", "two.csv", "--parts", "parts.csv", "--seed", "9",
                              "--generations", "2", "--xml", "two.xml"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile f(dir.filePath("two.xml"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    TD2RRawArr raws;
    TD2REleArr eles;
    TD2RSchame schame;
    TD2RPrm prm;
    ASSERT_NO_THROW(ReadLayoutDocument(kelm::DecodeGbk(f.readAll()), raws, eles, schame, prm));
    ASSERT_EQ(raws.size(), 2u);
    ASSERT_FALSE(schame.empty());
    for (const TD2RGene& g : schame) {
        ASSERT_GE(g.RawIndex, 0);
        ASSERT_LT(g.RawIndex, 2);
        EXPECT_EQ(raws[g.RawIndex].Length, g.RawLength);
        EXPECT_EQ(raws[g.RawIndex].Name, g.RawName);
    }
}

TEST_F(KelmCut, WritesOneDiagramPicturePerLayout) {
    const RunResult r = Exec({"--sheets", "sheets.csv", "--parts", "parts.csv", "--seed", "5",
                              "--generations", "2", "--png", "pictures/run1"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const int layouts = QJsonDocument::fromJson(r.out.toUtf8()).object()["layouts"].toInt();
    ASSERT_GE(layouts, 1);
    const QDir out(dir.filePath("pictures/run1"));
    EXPECT_EQ(out.entryList({"*.png"}, QDir::Files).size(), layouts);
    for (int i = 1; i <= layouts; ++i) {
        const QImage image(out.filePath(QString("layout-%1.png").arg(i)));
        ASSERT_FALSE(image.isNull()) << i;
        EXPECT_EQ(image.width(), 944) << "250 mm at 96 dots per inch";
    }
}

TEST_F(KelmCut, PictureFolderThatCannotBeMadeIsRefusedBeforeTheSearch) {
    Write("plain-file", "x");
    const RunResult r = Exec({"--sheets", "sheets.csv", "--parts", "parts.csv", "--png",
                              "plain-file/inner"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("option --png")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
}

TEST_F(KelmCut, ReadsFlexibleCsv) {
    // Columns in another order, optional columns left out, a byte order mark, CRLF line
    // ends and a blank line at the end.
    Write("s2.csv", "\xEF\xBB\xBFwidth,name,length\r\n1220,a,2440\r\n\r\n");
    Write("p2.csv", "count,width,length,name\r\n3,300,400,x\r\n");
    const RunResult r = Exec({"--sheets", "s2.csv", "--parts", "p2.csv", "--generations", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(r.out.toUtf8()).object()["uncut"].toInt(), 0);
}

struct BadInput {
    const char* what;
    QStringList args;      // after the files' defaults are filled in
    const char* parts;     // content of bad.csv, used as --parts when set
    const char* expected;  // the message, after "kelm-cut: "
};

TEST_F(KelmCut, BadInputNamesWhereAndExitsWithTwo) {
    const BadInput cases[] = {
        {"unreadable file",
         {"--sheets", "missing.csv", "--parts", "parts.csv"},
         nullptr,
         "missing.csv: cannot read the file"},
        {"missing column", {}, "name,length,width\na,1,2\n", "bad.csv:1: missing column \"count\""},
        {"unknown column",
         {},
         "name,length,width,count,colour\n",
         "bad.csv:1:5: unknown column \"colour\""},
        {"not a number",
         {},
         "name,length,width,count\na,1,2,3\nb,abc,2,3\n",
         "bad.csv:3:2: length \"abc\" is not a number"},
        {"size of zero",
         {},
         "name,length,width,count\na,100,0,3\n",
         "bad.csv:2:3: width must be above zero"},
        {"negative size",
         {},
         "name,length,width,count\na,-5,10,3\n",
         "bad.csv:2:2: length must be above zero"},
        {"count of zero",
         {},
         "name,length,width,count\na,100,10,0\n",
         "bad.csv:2:4: count 0 must be above zero"},
        {"count not whole",
         {},
         "name,length,width,count\na,100,10,2.5\n",
         "bad.csv:2:4: count \"2.5\" is not a whole number"},
        {"rotation out of range",
         {},
         "name,length,width,count,rotation\na,100,10,1,2\n",
         "bad.csv:2:5: rotation 2 must lie between 0 and 1"},
        {"quote not closed",
         {},
         "name,length,width,count\n\"a,100,10,1\n",
         "bad.csv:2:1: a quoted field is not closed"},
        {"too many fields",
         {},
         "name,length,width,count\na,100,10,1,7\n",
         "bad.csv:2:5: more fields than the header has"},
        {"header only", {}, "name,length,width,count\n", "bad.csv:2: no rows after the header"},
        {"more pieces than one run takes",
         {},
         "name,length,width,count\na,10,10,60000\nb,20,10,40001\n",
         "bad.csv: 100001 pieces in all; one run takes at most 100000 pieces"},
        {"tolerance beyond a few millimetres",
         {"--tolerance", "1000"},
         nullptr,
         "option --tolerance: 1000 must lie between 0 and 5"},
        {"duplicate option",
         {"--kerf", "1", "--kerf", "2"},
         nullptr,
         "option --kerf is given twice"},
        {"unknown option", {"--speed", "9"}, nullptr, "unknown option --speed"},
        {"option not a number",
         {"--generations", "ten"},
         nullptr,
         "option --generations: \"ten\" is not a whole number"},
        {"negative kerf", {"--kerf", "-1"}, nullptr, "option --kerf: -1 is below 0"},
        {"bad trim",
         {"--trim", "1,2"},
         nullptr,
         "option --trim: expected 4 comma-separated numbers"},
        {"bad choice",
         {"--style", "diagonal"},
         nullptr,
         "option --style: \"diagonal\" is not one of"},
        {"missing value", {"--seed"}, nullptr, "option --seed needs a value"},
        {"value missing before the next option",
         {"--kerf", "--seed", "1"},
         nullptr,
         "option --kerf needs a value"},
        {"stray argument", {"extra"}, nullptr, "unexpected argument \"extra\""},
        {"unknown mode", {"--mode", "fast"}, nullptr, "option --mode: \"fast\" is not one of"},
        {"time limit without the deep mode",
         {"--time-limit", "5"},
         nullptr,
         "options --time-limit and --iterations need --mode deep"},
        {"no iterations", {"--mode", "deep", "--iterations", "0"}, nullptr,
         "option --iterations: 0 must lie between 1 and"},
        {"xml folder missing",
         {"--xml", "no/such/folder/x.xml"},
         nullptr,
         "option --xml: cannot write"},
    };
    for (const BadInput& c : cases) {
        QStringList args;
        if (c.parts) {
            Write("bad.csv", c.parts);
            args << "--parts"
                 << "bad.csv";
        }
        if (!c.args.contains("--sheets"))
            args << "--sheets"
                 << "sheets.csv";
        if (!c.args.contains("--parts") && !c.parts)
            args << "--parts"
                 << "parts.csv";
        if (!c.args.contains("--xml"))
            args << "--xml"
                 << "written.xml";
        args << c.args;  // last, so a missing value really is missing
        const RunResult r = Exec(args);
        EXPECT_EQ(r.exitCode, 2) << c.what;
        EXPECT_TRUE(r.out.isEmpty()) << c.what;
        EXPECT_TRUE(r.err.startsWith(QString("kelm-cut: ") + QString::fromUtf8(c.expected)))
            << c.what << ": " << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << c.what;
        EXPECT_FALSE(QFile::exists(dir.filePath("written.xml"))) << c.what;
    }
}

TEST_F(KelmCut, DeepModeReportsBoundAndModeAndFixedStepsReproduce) {
    auto run = [&](const QStringList& extra) {
        QStringList args{"--sheets", "sheets.csv", "--parts", "parts.csv", "--seed", "8",
                         "--generations", "2", "--kerf", "4", "--threads", "2"};
        const RunResult r = Exec(args + extra);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty());  // no progress line when standard error is not a terminal
        QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
        o.remove("seconds");
        return o;
    };
    const QJsonObject standard = run({});
    EXPECT_EQ(standard["mode"].toString(), "standard");
    // 16 × 724 × 564 + 8 × 572 × 564 + 12 × 720 × 300 with the kerf, over 2444 × 1224
    EXPECT_EQ(standard["lower_bound"].toInt(), 4);
    const QJsonObject deep = run({"--mode", "deep", "--iterations", "300"});
    EXPECT_EQ(deep["mode"].toString(), "deep");
    EXPECT_EQ(deep["lower_bound"].toInt(), 4);
    EXPECT_EQ(deep["uncut"].toInt(), 2);  // the oversize part stays uncut
    EXPECT_LE(deep["sheets"].toInt(), standard["sheets"].toInt());
    EXPECT_GE(deep["sheets"].toInt(), deep["lower_bound"].toInt());
    EXPECT_EQ(deep, run({"--mode", "deep", "--iterations", "300"}));
    const QJsonObject timed = run({"--mode", "deep", "--time-limit", "1"});
    EXPECT_LE(timed["sheets"].toInt(), standard["sheets"].toInt());
}


// The offcut loop outside the database: the leftovers of one run are the offcuts of the
// next, which lays its small parts on them before starting a new sheet.
class KelmCutOffcuts : public KelmCut {
  protected:
    QJsonObject Run(const QString& parts, const QStringList& extra) {
        const RunResult r = Exec(QStringList{"--sheets", "sheets.csv", "--parts", parts, "--seed",
                                             "3", "--generations", "6", "--threads", "1",
                                             "--kerf", "4"} +
                                 extra);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return QJsonObject(QJsonDocument::fromJson(r.out.toUtf8()).object());
    }
    QString Read(const QString& name) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        return QString::fromUtf8(f.readAll());
    }
};

TEST_F(KelmCutOffcuts, SecondOrderFillsTheFirstOrdersLeftoversAndUsesFewerNewSheets) {
    // Order 1 leaves a large part of its second sheet; order 2's small parts fit there.
    Write("order1.csv", "name,length,width,count\nside,720,560,6\nshelf,500,300,5\n");
    Write("order2.csv", "name,length,width,count\nsmall,400,250,6\nmid,600,300,2\n");
    const QJsonObject first = Run("order1.csv", {"--leftovers", "rack.csv"});
    EXPECT_FALSE(first.contains("new_sheets"));  // no offcuts offered: the line as before
    const QString rack = Read("rack.csv");
    ASSERT_TRUE(rack.startsWith("name,length,width,count\n")) << rack.toStdString();
    EXPECT_GT(rack.count('\n'), 1);
    EXPECT_TRUE(rack.contains("order1-")) << rack.toStdString();

    const QJsonObject without = Run("order2.csv", {});
    const QJsonObject with = Run("order2.csv", {"--offcuts", "rack.csv", "--leftovers", "rack2.csv"});
    EXPECT_EQ(with["uncut"].toInt(), 0);
    EXPECT_GE(with["offcuts_used"].toInt(), 1);
    EXPECT_LT(with["new_sheets"].toInt(), without["sheets"].toInt());
    EXPECT_EQ(with["sheets"].toInt(), with["new_sheets"].toInt() + with["offcuts_used"].toInt());
    // The offcuts used are gone from the rack, the new leftovers are on it.
    const QStringList before = rack.split('\n', Qt::SkipEmptyParts).mid(1);
    const QStringList after = Read("rack2.csv").split('\n', Qt::SkipEmptyParts).mid(1);
    int kept = 0;
    for (const QString& line : before) kept += after.contains(line);
    EXPECT_EQ(kept, before.size() - with["offcuts_used"].toInt());
    EXPECT_TRUE(after.join('\n').contains("order2-"));
}

TEST_F(KelmCutOffcuts, TheTwoFilesRoundTrip) {
    // Names with a comma and quotes, sizes with decimals, counts above one: read as
    // offcuts and written back unused (no part fits any), the list comes back as it was.
    const QByteArray rack =
        "name,length,width,count\n"
        "\"A, \"\"left\"\"\",1200.5,300,2\n余料-7,800,450.25,1\nB 3,310,105,4\n";
    Write("rack.csv", rack);
    Write("big.csv", "name,length,width,count\nbig,2000,1100,1\n");
    const QJsonObject o = Run("big.csv", {"--offcuts", "rack.csv", "--leftovers", "out.csv",
                                          "--min-offcut", "5000,5000"});
    EXPECT_EQ(o["offcuts_used"].toInt(), 0);
    EXPECT_EQ(o["new_sheets"].toInt(), 1);
    EXPECT_EQ(Read("out.csv").toUtf8(), rack);
    // A list with a header alone is an empty rack, and is written back as such.
    Write("empty.csv", "name,length,width,count\n");
    Run("big.csv", {"--offcuts", "empty.csv", "--leftovers", "out2.csv", "--min-offcut", "5000,5000"});
    EXPECT_EQ(Read("out2.csv"), "name,length,width,count\n");
    // The rack file may be read and rewritten in one run.
    Run("big.csv", {"--offcuts", "rack.csv", "--leftovers", "rack.csv", "--min-offcut", "5000,5000"});
    EXPECT_EQ(Read("rack.csv").toUtf8(), rack);
}

TEST_F(KelmCutOffcuts, LeftoversBelowTheMinimumAreNotWritten) {
    Write("one.csv", "name,length,width,count\np,2000,1100,1\n");
    // 2440 × 1220 less 2000 × 1100 and the kerf: strips 436 × 1220 and 2000 × 116, or
    // 2440 × 116 and 436 × 1100, by the direction of the first cut.
    Run("one.csv", {"--leftovers", "a.csv", "--min-offcut", "300,100"});
    Run("one.csv", {"--leftovers", "b.csv", "--min-offcut", "300,120"});
    Run("one.csv", {"--leftovers", "c.csv", "--min-offcut", "2500,100"});
    const QStringList a = Read("a.csv").split('\n', Qt::SkipEmptyParts);
    const QStringList b = Read("b.csv").split('\n', Qt::SkipEmptyParts);
    const QStringList c = Read("c.csv").split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(a.size(), 3) << a.join('|').toStdString();
    ASSERT_EQ(b.size(), 2) << b.join('|').toStdString();
    EXPECT_EQ(c.size(), 1) << c.join('|').toStdString();  // the header alone
    for (const QString& line : a.mid(1)) {
        const QStringList f = line.split(',');
        ASSERT_EQ(f.size(), 4);
        const double l = f[1].toDouble(), w = f[2].toDouble();
        EXPECT_TRUE(std::max(l, w) >= 300 && std::min(l, w) >= 100) << line.toStdString();
        EXPECT_EQ(f[3], "1");
    }
}

TEST_F(KelmCutOffcuts, BadOffcutRowsAreRefusedInChineseAndNothingIsWritten) {
    struct Case {
        const char* content;
        const char* says;
    } cases[] = {
        {"", "文件是空的"},
        {"name,length,width\na,300,100\n", "缺少列“count”"},
        {"name,length,width,count,colour\n", "未知的列“colour”"},
        {"name,length,width,count\na,abc,100,1\n", "rack.csv:2:2: 长度“abc”不是有效的数字"},
        {"name,length,width,count\na,300,-5,1\n", "宽度必须大于0"},
        {"name,length,width,count\na,300,100,1.5\n", "数量“1.5”必须是1到"},
        {"name,length,width,count\na,300,100,0\n", "数量“0”"},
        {"name,length,width,count\n,300,100,1\n", "余料名称是空的"},
        {"name,length,width,count\na,300,100,1\nb,400,100,1\na,500,100,1\n",
         "rack.csv:4:1: 余料名称“a”与第2行重复"},
        {"name,length,width,count\na,300,100,1,9\n", "字段比标题行多"},
        {"name,length,width,count\n\"a,300,100,1\n", "引号括起的字段没有结束"},
        {"name,length,width,count\na,300,\n", "宽度是空的"},
    };
    Write("p.csv", "name,length,width,count\np,300,200,1\n");
    for (const Case& c : cases) {
        Write("rack.csv", c.content);
        QFile::remove(dir.filePath("out.csv"));
        const RunResult r = Exec({"--sheets", "sheets.csv", "--parts", "p.csv", "--offcuts",
                                  "rack.csv", "--leftovers", "out.csv", "--xml", "out.xml"});
        EXPECT_EQ(r.exitCode, 2) << c.content;
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << r.err.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("out.csv")));
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("out.xml")));
    }
    const RunResult r = Exec({"--sheets", "sheets.csv", "--parts", "p.csv", "--min-offcut", "300,100"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("--min-offcut needs --leftovers")) << r.err.toStdString();
}

}  // namespace
