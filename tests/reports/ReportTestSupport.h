#pragma once
// Fixture for the report tests: a fresh database in a temp folder installed as the data
// module of the run, a prompt recorder, a program folder of its own for "Temp.bmp" and
// 96 dots per inch; helpers to fill the tables and to read a written report back with
// python3-xlrd.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <memory>

#include "data/PromptRecorder.h"
#include "data/UnitData.h"
#include "reports/UReports.h"
#include "spreadsheet/XlsReadBack.h"

namespace kelm::test {

class ReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        data = std::make_unique<TsysData>(dir.filePath("KelmDB.db"));
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
    }

    QString ProgramDir() const { return dir.filePath("program"); }
    QString TempBmp() const { return QDir(ProgramDir()).filePath("Temp.bmp"); }
    QString Out(const QString& name) const { return dir.filePath(name); }

    // Runs a statement with named parameters given as name, value, name, value ...
    void Exec(const QString& sql, const QStringList& params = {}) {
        data->SetCommonSQL(sql);
        for (int i = 0; i + 1 < params.size(); i += 2) data->SetCommonParam(params[i], params[i + 1]);
        ASSERT_TRUE(data->ExecCommon()) << sql.toStdString() << ": " << data->LastError().toStdString();
    }

    // The file read back; fails the test when the reader does not accept it.
    QJsonObject Read(const QString& path) {
        QString error;
        const QJsonObject book = ReadXlsFile(path, &error);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        return book;
    }

    QTemporaryDir dir;
    std::unique_ptr<TsysData> data;
    TPromptRecorder prompt;
};

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
    const QByteArray png = QByteArray::fromBase64(store[pib - 1].toObject()["png"].toString().toLatin1());
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
