#pragma once
// Helpers shared by the report files: writing the "Temp.bmp" bitmap and the wording of
// a failed save.

#include <QImage>
#include <QString>

namespace kelm::reports {

// Writes image as a 24-bit "Temp.bmp" into the program's folder, or into the temporary
// folder when that fails. Returns the path written, or an empty text with the reason.
QString SaveTempBitmap(const QImage& image, QString* error);

// "报表未能保存为：<path>" and the reason on a second line.
QString NotSavedText(const QString& path, const QString& reason);

}  // namespace kelm::reports
