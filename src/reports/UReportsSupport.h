#pragma once
// Helpers shared by the report files: writing the "Temp.bmp" bitmap, saving a workbook
// and the wording of a failed save.

#include <QImage>
#include <QString>

namespace kelm {
class XlsWorkbook;
}

namespace kelm::reports {

// Writes image as a 24-bit "Temp.bmp" into the program's folder, or into the temporary
// folder when that fails. Returns the path written, or an empty text with the reason.
QString SaveTempBitmap(const QImage& image, QString* error);

// "报表未能保存为：<path>" and the reason on a second line.
QString NotSavedText(const QString& path, const QString& reason);

// Saves book as path and tells the user: savedText followed by the path, or the
// NotSavedText with the reason. True when the file was written.
bool SaveAndTell(const kelm::XlsWorkbook& book, const QString& path, const QString& savedText);

}  // namespace kelm::reports
