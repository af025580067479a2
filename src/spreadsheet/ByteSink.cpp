#include "spreadsheet/ByteSink.h"

#include <QDir>
#include <QFileInfo>

namespace kelm {

bool MemoryByteSink::Write(const QByteArray& bytes) {
    bytes_.append(bytes);
    return true;
}

FileByteSink::FileByteSink(const QString& path) : path_(path), file_(path) {}

bool FileByteSink::Open() {
    const QFileInfo info(path_);
    if (path_.isEmpty()) {
        error_ = QStringLiteral("no file name given");
        return false;
    }
    if (!info.absoluteDir().exists()) {
        error_ = QStringLiteral("the folder %1 does not exist")
                     .arg(QDir::toNativeSeparators(info.absolutePath()));
        return false;
    }
    if (info.isDir()) {
        error_ = QStringLiteral("%1 is a folder").arg(QDir::toNativeSeparators(path_));
        return false;
    }
    if (!file_.open(QIODevice::WriteOnly)) {
        error_ = QStringLiteral("cannot create %1: %2")
                     .arg(QDir::toNativeSeparators(path_), file_.errorString());
        return false;
    }
    return true;
}

bool FileByteSink::Write(const QByteArray& bytes) {
    if (!error_.isEmpty()) return false;
    if (file_.write(bytes) != bytes.size()) {
        error_ = QStringLiteral("cannot write %1: %2")
                     .arg(QDir::toNativeSeparators(path_), file_.errorString());
        file_.cancelWriting();
        return false;
    }
    return true;
}

bool FileByteSink::Commit() {
    if (!error_.isEmpty()) return false;
    if (!file_.commit()) {
        error_ = QStringLiteral("cannot save %1: %2")
                     .arg(QDir::toNativeSeparators(path_), file_.errorString());
        return false;
    }
    return true;
}

}  // namespace kelm
