#pragma once
// Fixture for the report tests: a fresh database in a temp folder installed as the data
// module of the run, a prompt recorder, a program folder of its own for "Temp.bmp" and
// 96 dots per inch; helpers to fill the tables and to read a written report back with
// python3-xlrd.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <memory>

#include "EngineTestSupport.h"
#include "data/PromptRecorder.h"
#include "data/UnitData.h"
#include "documents/UXmlSave.h"
#include "documents/UnitFileOpt.h"
#include "optimizer/UnitD2RectTypes.h"
#include "reports/UReports.h"
#include "spreadsheet/XlsReadBack.h"

namespace kelm::test {

// Runs on the file and on a server (EngineTestSupport.h); the folder stays a temp folder.
class ReportTest : public ::testing::TestWithParam<TDbEngine> {
  protected:
    void SetUp() override {
        KELM_REQUIRE_ENGINE(GetParam());
        ASSERT_TRUE(dir.isValid());
        place = std::make_unique<TTestDatabase>(GetParam());
        ASSERT_FALSE(place->Spec().isEmpty()) << place->Problem().toStdString();
        data = std::make_unique<TsysData>(place->Spec());
        data->SetPrompt(&prompt);
        SetSysData(data.get());
        ASSERT_TRUE(QDir().mkpath(ProgramDir()));
        SetReportProgramDir(ProgramDir());
        SetReportDpi(96);
    }
    void TearDown() override {
        SetSysData(nullptr);
        SetReportProgramDir(QString());
        SetReportDpi(0);
        data.reset();
        place.reset();
    }

    QString ProgramDir() const { return dir.filePath("program"); }
    QString TempBmp() const { return QDir(ProgramDir()).filePath("Temp.bmp"); }
    QString Out(const QString& name) const { return dir.filePath(name); }

    // Runs a statement with named parameters given as name, value, name, value ...
    void Exec(const QString& sql, const QStringList& params = {}) {
        data->SetCommonSQL(sql);
        for (int i = 0; i + 1 < params.size(); i += 2)
            data->SetCommonParam(params[i], params[i + 1]);
        ASSERT_TRUE(data->ExecCommon())
            << sql.toStdString() << ": " << data->LastError().toStdString();
    }

    // The file read back; fails the test when the reader does not accept it. When
    // KELM_KEEP_XLS names a folder the file is also copied there, to be looked at.
    QJsonObject Read(const QString& path) {
        const QString keep = qEnvironmentVariable("KELM_KEEP_XLS");
        if (!keep.isEmpty()) {
            const QString name =
                QString::fromUtf8(testing::UnitTest::GetInstance()->current_test_info()->name()) +
                "-" + QFileInfo(path).fileName();
            QFile::remove(keep + '/' + name);
            QFile::copy(path, keep + '/' + name);
        }
        QString error;
        const QJsonObject book = ReadXlsFile(path, &error);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        return book;
    }

    // Stores layouts as the optimization dialog would for order proID.
    void StoreLayout(const TD2RSchame& schame, const TD2REleArr& eles,
                     const QString& proID = "P1", const QString& bcID = "1") {
        TD2RRawArr raws{{1, "", bcID, "", 80, 2440, 1220, 99999999, 0}};
        ASSERT_TRUE(TD2File(data.get()).SaveToFile(raws, eles, TD2RPrm(), schame, proID, bcID));
    }

    // A cabinet entry of order P1 holding the stored document of cabs.
    void AddCabinetEntry(const QString& winID, const FCabs& cabs, const QString& winCode = "A01",
                         const QString& winCount = "2") {
        Exec(
            "INSERT INTO "
            "FProWins(winID,proID,winPath,winCode,winCount,Width,Height,Depth,custName) "
            "VALUES(:winID,'P1',:winPath,:winCode,:winCount,:W,:H,:D,'张三')",
            {"winID", winID, "winPath", FXmlSave::BuildStoredXml(cabs), "winCode", winCode,
             "winCount", winCount, "W", QString::number(cabs.W()), "H", QString::number(cabs.H()),
             "D", QString::number(cabs.D())});
    }

    QTemporaryDir dir;
    std::unique_ptr<TTestDatabase> place;
    std::unique_ptr<TsysData> data;
    TPromptRecorder prompt;
};

// A combination of one carcass (two sides, top and bottom of 18 mm) filling the frame.
inline FCabs Carcass(double w, double d, double h) {
    FCabs cabs(w, d, h);
    auto cab = std::make_unique<FCabinet>(w, d, h, QStringLiteral("A01-1"));
    FCl cl;
    cl.DbID = "1";
    cl.Name = "白橡18";
    cl.Thick = 18;
    cab->AddCeBan(0, FShape::R, FEdge{}, cl, "Left", FFengB{}, "0");
    cab->AddCeBan(1, FShape::R, FEdge{}, cl, "Right", FFengB{}, "0");
    cab->AddDingBan(2, FShape::R, FEdge{}, cl, FFengB{}, "0");
    cab->AddDiBan(3, FShape::R, FEdge{}, cl, FFengB{}, "0");
    cabs.AddCabinet(0, std::move(cab));
    return cabs;
}

// The part list of TwoLayoutScheme.
inline TD2REleArr TwoLayoutParts() {
    return {{1, "侧板", "", 720, 560, 40, 1}, {2, "层板", "", 564, 400, 30, 1}};
}

// One raw sheet type, 2440 x 1220 without a name (as the optimization dialog leaves
// it), in two layouts cut 7 and 5 times: 12 sheets, 25 000 000 mm² of parts on
// 35 721 600 mm² of board.
inline TD2RSchame TwoLayoutScheme() {
    TD2RGene a;
    a.RawDbID = "1";
    a.RawLength = 2440;
    a.RawWidth = 1220;
    a.RawCount = 7;
    a.EleArea = 2000000;
    a.EleList = {{0, 1, "侧板", "", 0, 0, 720, 560},
                 {0, 1, "侧板", "", 720, 0, 720, 560},
                 {1, 2, "层板", "", 0, 560, 564, 400}};
    a.RectArr = {{1440, 0, 1000, 1220}, {0, 960, 1440, 260}};
    TD2RGene b = a;
    b.RawCount = 5;
    b.EleArea = 2200000;
    b.EleList = {{1, 2, "层板", "", 0, 0, 564, 400},
                 {1, 2, "层板", "", 564, 0, 564, 400},
                 {1, 2, "层板", "", 1128, 0, 564, 400}};
    b.RectArr = {{1692, 0, 748, 1220}, {0, 400, 1692, 820}};
    return {a, b};
}

inline QJsonObject SheetOf(const QJsonObject& book, int index = 0) {
    return book["sheets"].toArray()[index].toObject();
}

inline QString TextAt(const QJsonObject& sheet, int row, int col) {
    return CellAt(sheet, row, col)["value"].toString();
}

inline QJsonObject FormatAt(const QJsonObject& sheet, int row, int col) {
    return CellAt(sheet, row, col)["format"].toObject();
}

// Merged blocks as "A1:L1" texts, in file order.
inline QStringList MergedNames(const QJsonObject& sheet) {
    QStringList names;
    for (const QJsonValue v : sheet["merged"].toArray()) {
        const QJsonArray m = v.toArray();  // first row, row after, first col, col after
        names << XlsRangeName({m[0].toInt(), m[2].toInt(), m[1].toInt() - 1, m[3].toInt() - 1});
    }
    return names;
}

// The picture shapes of a sheet (the group shape of the drawing left out).
inline QJsonArray PictureShapes(const QJsonObject& sheet) {
    QJsonArray pictures;
    for (const QJsonValue v : sheet["drawing"].toObject()["shapes"].toArray())
        if (v.toObject().contains("pib") && !v.toObject()["pib"].isNull()) pictures << v;
    return pictures;
}

// The picture stored as number `pib` (1-based) of the workbook, decoded.
inline QImage StoredPicture(const QJsonObject& book, int pib) {
    const QJsonArray store = book["drawing_group"].toObject()["store"].toArray();
    if (pib < 1 || pib > store.size()) return QImage();
    const QByteArray png =
        QByteArray::fromBase64(store[pib - 1].toObject()["png"].toString().toLatin1());
    return QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB888);
}

// True when the file exists and starts with the compound file signature of the older
// binary workbook format.
inline bool IsBinaryWorkbook(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    return f.read(8) == QByteArray::fromHex("D0CF11E0A1B11AE1");
}

}  // namespace kelm::test
