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
        error_ = QStringLiteral("未指定文件名");
        return false;
    }
    if (!info.absoluteDir().exists()) {
        error_ = QStringLiteral("文件夹“%1”不存在")
                     .arg(QDir::toNativeSeparators(info.absolutePath()));
        return false;
    }
    if (info.isDir()) {
        error_ = QStringLiteral("“%1”是一个文件夹").arg(QDir::toNativeSeparators(path_));
        return false;
    }
    if (!file_.open(QIODevice::WriteOnly)) {
        error_ = QStringLiteral("无法创建文件“%1”：%2")
                     .arg(QDir::toNativeSeparators(path_), file_.errorString());
        return false;
    }
    return true;
}

bool FileByteSink::Write(const QByteArray& bytes) {
    if (!error_.isEmpty()) return false;
    if (file_.write(bytes) != bytes.size()) {
        error_ = QStringLiteral("无法写入文件“%1”：%2")
                     .arg(QDir::toNativeSeparators(path_), file_.errorString());
        file_.cancelWriting();
        return false;
    }
    return true;
}

bool FileByteSink::Commit() {
    if (!error_.isEmpty()) return false;
    if (!file_.commit()) {
        error_ = QStringLiteral("无法保存文件“%1”：%2")
                     .arg(QDir::toNativeSeparators(path_), file_.errorString());
        return false;
    }
    return true;
}

}  // namespace kelm
