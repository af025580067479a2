#include "ui/orders/UnitBackData.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QUuid>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

#include "data/UnitData.h"
#include "data/UnitDataBackup.h"
#include "ui/UiPlatform.h"
#include "ui/orders/UnitDirectory.h"

QString BackupTimeStamp(const QDateTime& moment) {
    const QDate d = moment.date();
    const QTime t = moment.time();
    return QString::number(d.year()) + QString::number(d.month()) + QString::number(d.day()) +
           QString::number(t.hour()) + QString::number(t.minute());
}

namespace {
bool ReplaceFile(const QString& from, const QString& to) {
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(from.toStdWString()),
                            std::filesystem::path(to.toStdWString()), error);
    return !error;
}
}  // namespace

TCopyResult CopyWithProgress(const QString& source, const QString& target,
                             const std::function<void(int)>& progress,
                             const std::function<bool(const QString&)>& accept) {
    // The source is opened before anything is written, so an unreadable source changes
    // nothing.
    QFile in(source);
    if (!QFileInfo(source).isFile() || !in.open(QIODevice::ReadOnly)) return TCopyResult::Failed;
    const QFileInfo targetInfo(target);
    if (!targetInfo.absoluteDir().exists() || targetInfo.isDir()) return TCopyResult::Failed;
    const QString temp = targetInfo.absoluteDir().filePath(
        QStringLiteral(".") + targetInfo.fileName() + QStringLiteral(".") +
        QUuid::createUuid().toString(QUuid::Id128).left(8) + QStringLiteral(".part"));
    QFile out(temp);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return TCopyResult::Failed;
    auto fail = [&](TCopyResult result) {
        out.close();
        QFile::remove(temp);
        if (progress) progress(0);
        return result;
    };

    const qint64 size = in.size();
    qint64 step = size / 100;
    if (step == 0) step = size;  // a file of less than 100 bytes goes in one step
    qint64 remaining = size;
    if (progress) progress(0);
    QByteArray buffer;
    while (remaining > 0) {
        QCoreApplication::processEvents();
        const qint64 count = qMin(step, remaining);
        if (progress) progress(int((size - remaining) * 100 / size));
        buffer = in.read(count);
        if (buffer.size() != count || out.write(buffer) != count) return fail(TCopyResult::Failed);
        remaining -= count;
    }
    in.close();
    if (!out.flush()) return fail(TCopyResult::Failed);
    out.close();
    if (out.error() != QFileDevice::NoError) return fail(TCopyResult::Failed);
    if (accept && !accept(temp)) return fail(TCopyResult::Refused);
    if (!ReplaceFile(temp, target)) return fail(TCopyResult::Failed);
    if (progress) progress(0);
    return TCopyResult::Copied;
}

TfrmBackData::TfrmBackData(QWidget* parent) : QDialog(parent) {
    setObjectName("frmBackData");
    setWindowTitle(QStringLiteral("数据备份"));

    auto* group = new QGroupBox(QStringLiteral("备份路径"), this);
    txtPath = new QLineEdit(group);
    txtPath->setObjectName("txtPath");
    btnBrowse = new QPushButton(QStringLiteral("浏览(&V)"), group);
    btnBrowse->setObjectName("btnBrowse");
    auto* pathRow = new QHBoxLayout(group);
    pathRow->addWidget(new QLabel(QStringLiteral("备份到："), group));
    pathRow->addWidget(txtPath, 1);
    pathRow->addWidget(btnBrowse);

    prsBar = new QProgressBar(this);
    prsBar->setObjectName("prsBar");
    prsBar->setRange(0, 100);
    prsBar->setValue(0);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(new QLabel(QStringLiteral("备份进度："), this));
    progressRow->addWidget(prsBar, 1);

    btnBack = new QPushButton(QStringLiteral("备份(&B)"), this);
    btnBack->setObjectName("btnBack");
    btnClose = new QPushButton(QStringLiteral("关闭(&C)"), this);
    btnClose->setObjectName("btnClose");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnBack);
    buttons->addWidget(btnClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(progressRow);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(480, 190);

    connect(btnBrowse, &QPushButton::clicked, this, [this] { btnBrowseClick(); });
    connect(btnBack, &QPushButton::clicked, this, [this] { btnBackClick(); });
    connect(btnClose, &QPushButton::clicked, this, [this] { btnCloseClick(); });

    // The backup goes next to the database file unless the user chooses another folder.
    const QString folder = QFileInfo(sysData()->DatabasePath()).absolutePath();
    txtPath->setText(QDir::toNativeSeparators(QDir(folder).filePath(
        BackupTimeStamp(QDateTime::currentDateTime()) + QStringLiteral(".bak"))));
}

void TfrmBackData::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    sysData()->Close();
}

void TfrmBackData::btnBrowseClick() {
    TfrmFile chooser(this);
    if (ShowModal(chooser) == QDialog::Accepted) {
        txtPath->setText(QDir::toNativeSeparators(
            QDir(QDir::fromNativeSeparators(chooser.filePath))
                .filePath(BackupTimeStamp(QDateTime::currentDateTime()) + QStringLiteral(".bak"))));
    } else {
        txtPath->clear();
    }
}

void TfrmBackData::btnBackClick() {
    if (p_busy) return;
    const QString path = QDir::fromNativeSeparators(txtPath->text().trimmed());
    if (path.isEmpty()) {
        ShowInfo(QStringLiteral("请选择备份位置!"));
        return;
    }
    p_busy = true;
    btnBack->setEnabled(false);
    btnBrowse->setEnabled(false);
    btnClose->setEnabled(false);
    // SQLite writes the copy of what is committed, including what another program
    // still holds in its log, and the copy is checked before it takes the name.
    QString error;
    const bool done = BackupDatabase(
        *sysData(), path,
        [this](int value) {
            prsBar->setValue(value);
            QCoreApplication::processEvents();
        },
        &error);
    if (!done) qWarning().noquote() << "backup to" << path << "failed:" << error;
    prsBar->setValue(0);
    btnBack->setEnabled(true);
    btnBrowse->setEnabled(true);
    btnClose->setEnabled(true);
    p_busy = false;
    if (done)
        ShowInfo(QStringLiteral("数据备份成功!"));
    else
        ShowInfo(QStringLiteral("备份失败，请检查备份路径是否存在？"));
}

void TfrmBackData::btnCloseClick() { reject(); }

void TfrmBackData::reject() {
    if (p_busy) return;
    QDialog::reject();
}
