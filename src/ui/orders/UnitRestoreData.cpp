#include "ui/orders/UnitRestoreData.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "data/UnitData.h"
#include "ui/orders/UnitBackData.h"

namespace {
OpenFileHandler& Handler() {
    static OpenFileHandler handler;
    return handler;
}

QString RunOpenFileDialog(QWidget* parent, const QString& title, const QString& filter) {
    if (Handler()) return Handler()(parent, title, filter);
    // "描述|*.ext" becomes the toolkit's "描述 (*.ext)".
    const QStringList parts = filter.split(QLatin1Char('|'));
    const QString qtFilter = parts.size() >= 2
                                 ? parts[0] + QStringLiteral(" (") + parts[1] + QStringLiteral(")")
                                 : filter;
    return QFileDialog::getOpenFileName(parent, title, QString(), qtFilter);
}

void RemoveJournals(const QString& dbPath) {
    for (const char* suffix : {"-wal", "-shm", "-journal"})
        QFile::remove(dbPath + QLatin1String(suffix));
}

const QString kRefused = QStringLiteral("所选文件不是有效的Kelm数据文件，数据未还原！");
}  // namespace

void SetOpenFileHandler(OpenFileHandler handler) { Handler() = std::move(handler); }

TfrmRestoreData::TfrmRestoreData(QWidget* parent) : QDialog(parent) {
    setObjectName("frmRestoreData");
    setWindowTitle(QStringLiteral("数据还原"));

    auto* group = new QGroupBox(QStringLiteral("数据文件位置"), this);
    txtPath = new QLineEdit(group);
    txtPath->setObjectName("txtPath");
    btnBrowse = new QPushButton(QStringLiteral("浏览(&V)"), group);
    btnBrowse->setObjectName("btnBrowse");
    auto* pathRow = new QHBoxLayout(group);
    pathRow->addWidget(new QLabel(QStringLiteral("数据路径："), group));
    pathRow->addWidget(txtPath, 1);
    pathRow->addWidget(btnBrowse);

    prsBar = new QProgressBar(this);
    prsBar->setObjectName("prsBar");
    prsBar->setRange(0, 100);
    prsBar->setValue(0);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(new QLabel(QStringLiteral("还原进度："), this));
    progressRow->addWidget(prsBar, 1);

    btnRestore = new QPushButton(QStringLiteral("还原(&R)"), this);
    btnRestore->setObjectName("btnRestore");
    btnClose = new QPushButton(QStringLiteral("关闭(&C)"), this);
    btnClose->setObjectName("btnClose");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnRestore);
    buttons->addWidget(btnClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(progressRow);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(480, 190);

    connect(btnBrowse, &QPushButton::clicked, this, [this] { btnBrowseClick(); });
    connect(btnRestore, &QPushButton::clicked, this, [this] { btnRestoreClick(); });
    connect(btnClose, &QPushButton::clicked, this, [this] { btnCloseClick(); });
}

void TfrmRestoreData::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    sysData()->Close();
}

void TfrmRestoreData::btnBrowseClick() {
    const QString path = RunOpenFileDialog(this, windowTitle(), OpenDialogFilter);
    if (!path.isEmpty()) txtPath->setText(QDir::toNativeSeparators(path));
}

void TfrmRestoreData::btnRestoreClick() {
    if (p_busy) return;
    const QString path = QDir::fromNativeSeparators(txtPath->text().trimmed());
    if (path.isEmpty()) {
        ShowInfo(QStringLiteral("请选择数据文件!"));
        return;
    }
    p_busy = true;
    btnRestore->setEnabled(false);
    btnBrowse->setEnabled(false);
    btnClose->setEnabled(false);
    if (sysData()->IsServer()) {
        RestoreOnServer(path);
        return;
    }
    const QString dbPath = sysData()->DatabasePath();
    sysData()->Close();
    // The backup is copied next to the database file and checked there; the database
    // file is replaced only by a complete copy that is a Kelm database, in one rename,
    // so an interrupted or refused restore leaves the data as they were.
    bool foreign = false;
    const TCopyResult result = CopyWithProgress(
        path, dbPath, [this](int value) { prsBar->setValue(value); },
        [&](const QString& copy) {
            QString reason;
            if (!IsKelmDatabaseFile(copy, &reason)) {
                qWarning().noquote() << "restore from" << path << "refused:" << reason;
                foreign = true;
                return false;
            }
            // Whatever ran between the steps may have reopened the connection; it must
            // not stay on the old file. Journal files of the old data must not be
            // applied to the restored file.
            sysData()->Close();
            RemoveJournals(dbPath);
            return true;
        });
    Finish(result == TCopyResult::Copied, foreign);
}

void TfrmRestoreData::RestoreOnServer(const QString& path) {
    // The server's data are replaced by the backup's in one transaction, after the same
    // check a file restore makes; other seats see the old data or the new, never half.
    sysData()->Close();
    bool foreign = false;
    QString error;
    const bool done = RestoreServerDatabase(
        *sysData(), path,
        [this](int value) {
            prsBar->setValue(value);
            QCoreApplication::processEvents();
        },
        &foreign, &error);
    if (!done) qWarning().noquote() << "restore from" << path << "failed:" << error;
    Finish(done, foreign);
}

void TfrmRestoreData::Finish(bool restored, bool foreign) {
    // The data module reopens on whatever is there now: the restored data, or the old
    // data a failed restore left untouched.
    const bool reopened = sysData()->Open();
    prsBar->setValue(0);
    btnRestore->setEnabled(true);
    btnBrowse->setEnabled(true);
    btnClose->setEnabled(true);
    p_busy = false;
    if (restored && reopened)
        ShowInfo(QStringLiteral("数据还原成功!"));
    else if (foreign)
        ShowInfo(kRefused);
    else
        ShowInfo(QStringLiteral("数据还原失败，请检查路径是否存在？"));
}

void TfrmRestoreData::btnCloseClick() { reject(); }

void TfrmRestoreData::reject() {
    if (p_busy) return;
    QDialog::reject();
}
