#include "common/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace kelm {

bool IsInstalledProgramFolder(const QString& folder) {
    if (folder.isEmpty()) return false;
    const QString path = QDir::cleanPath(QDir::fromNativeSeparators(folder));
    if (path == QLatin1String("/opt") || path.startsWith(QLatin1String("/opt/"))) return true;
    if (path == QLatin1String("/bin") || path == QLatin1String("/sbin")) return true;
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.size() < 2) return false;
    const QString& last = parts.last();
    if (last != QLatin1String("bin") && last != QLatin1String("sbin") &&
        last != QLatin1String("games"))
        return false;
    const QString& parent = parts[parts.size() - 2];
    if (parent == QLatin1String("usr")) return true;
    return parent == QLatin1String("local") && parts.size() >= 3 &&
           parts[parts.size() - 3] == QLatin1String("usr");
}

bool ProgramFolderTakesFiles(const QString& folder) {
    if (folder.isEmpty()) return false;
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isWritable()) return false;
    const QString canonical = info.canonicalFilePath();
    return !IsInstalledProgramFolder(folder) &&
           !(canonical.isEmpty() || IsInstalledProgramFolder(canonical));
}

}  // namespace kelm
