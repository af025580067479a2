// Environment of the reports: screen resolution, the folder of "Temp.bmp", the
// wording of a failed save.
#include "reports/UReportsSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include "common/ProgramFolder.h"
#include "data/UnitData.h"
#include "render/QPainterCanvas.h"
#include "reports/UReports.h"
#include "spreadsheet/XlsWorkbook.h"

namespace {

int g_reportDpi = 0;
QString g_programDir;

const QString kTempBitmapName = QStringLiteral("Temp.bmp");

}  // namespace

int ReportDpi() { return g_reportDpi > 0 ? g_reportDpi : kelm::ScreenDpi(); }
void SetReportDpi(int dpi) { g_reportDpi = dpi > 0 ? dpi : 0; }

QString ReportProgramDir() {
    if (!g_programDir.isEmpty()) return g_programDir;
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}
void SetReportProgramDir(const QString& dir) { g_programDir = dir; }

QString TempBitmapPath() {
    const QString programDir = ReportProgramDir();
    const QFileInfo file(QDir(programDir).filePath(kTempBitmapName));
    // An installed program leaves its folder (/usr/bin) alone even when it may write there.
    const bool writable =
        kelm::ProgramFolderTakesFiles(programDir) && (!file.exists() || file.isWritable());
    return QDir(writable ? programDir : QDir::tempPath()).filePath(kTempBitmapName);
}

namespace kelm::reports {

QString SaveTempBitmap(const QImage& image, QString* error) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    // The program's folder first; when it refuses the file (read-only installation,
    // a Temp.bmp held by another program) the temporary folder takes it.
    QStringList candidates{TempBitmapPath(), QDir(QDir::tempPath()).filePath(kTempBitmapName)};
    candidates.removeDuplicates();
    for (const QString& path : candidates)
        if (rgb.save(path, "BMP")) return path;
    if (error)
        *error =
            QStringLiteral("无法写入文件“%1”").arg(QDir::toNativeSeparators(candidates.first()));
    return QString();
}

QString NotSavedText(const QString& path, const QString& reason) {
    return kReportNotSaved + path + QStringLiteral("\n") + reason;
}

bool SaveAndTell(const kelm::XlsWorkbook& book, const QString& path, const QString& savedText) {
    QString error;
    if (!book.Save(path, &error)) {
        ShowInfo(NotSavedText(path, error));
        return false;
    }
    ShowInfo(savedText + path);
    return true;
}

}  // namespace kelm::reports
