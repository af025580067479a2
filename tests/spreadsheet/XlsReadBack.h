#pragma once
// Test helper: saves a workbook into a temporary folder and reads it back with
// python3-xlrd (tests/spreadsheet/read_xls.py), returning what the reader saw as JSON.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include "spreadsheet/XlsWorkbook.h"

namespace kelm::test {

inline QString SpreadsheetTestDir() { return QStringLiteral(KELM_TEST_DATA_DIR "/../spreadsheet"); }

// Runs a python script with arguments; returns its standard output, or an empty array
// with the reason in error when it failed.
inline QByteArray RunPython(const QStringList& arguments, QString* error) {
    QProcess process;
    process.start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        *error =
            QStringLiteral("python failed: ") + QString::fromUtf8(process.readAllStandardError());
        return {};
    }
    return process.readAllStandardOutput();
}

// Reads an .xls file with read_xls.py.
inline QJsonObject ReadXlsFile(const QString& path, QString* error) {
    const QByteArray out =
        RunPython({SpreadsheetTestDir() + QStringLiteral("/read_xls.py"), path}, error);
    if (out.isEmpty()) return {};
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(out, &parseError);
    if (!doc.isObject())
        *error = QStringLiteral("reader output is no JSON: ") + parseError.errorString();
    return doc.object();
}

// Saves the workbook and reads it back. When KELM_KEEP_XLS names a folder, the file is
// also copied there under keepName, to be looked at.
inline QJsonObject ReadBack(const XlsWorkbook& book, QString* error,
                            const QString& keepName = QStringLiteral("sample.xls")) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.xls"));
    if (!book.Save(path, error)) return {};
    const QString keep = qEnvironmentVariable("KELM_KEEP_XLS");
    if (!keep.isEmpty()) {
        QFile::remove(keep + '/' + keepName);
        QFile::copy(path, keep + '/' + keepName);
    }
    return ReadXlsFile(path, error);
}

// The cell entry at (row, col) of a sheet read back, or an empty object.
inline QJsonObject CellAt(const QJsonObject& sheet, int row, int col) {
    for (const QJsonValue v : sheet[QStringLiteral("cells")].toArray()) {
        const QJsonObject c = v.toObject();
        if (c[QStringLiteral("row")].toInt() == row && c[QStringLiteral("col")].toInt() == col)
            return c;
    }
    return {};
}

}  // namespace kelm::test
