#include "ui/orders/UnitDirectory.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

TfrmFile::TfrmFile(QWidget* parent) : QDialog(parent) {
    setObjectName("frmFile");
    setWindowTitle(QStringLiteral("备份文件位置"));

    cbDrive = new QComboBox(this);
    cbDrive->setObjectName("cbDrive");
    for (const QFileInfo& drive : QDir::drives())
        cbDrive->addItem(QDir::toNativeSeparators(drive.absoluteFilePath()),
                         drive.absoluteFilePath());

    p_model = new QFileSystemModel(this);
    p_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    p_model->setRootPath(QString());
    lstDir = new QTreeView(this);
    lstDir->setObjectName("lstDir");
    lstDir->setModel(p_model);
    lstDir->setHeaderHidden(true);
    for (int column = 1; column < p_model->columnCount(); ++column) lstDir->hideColumn(column);

    lbPath = new QLabel(this);
    lbPath->setObjectName("lbPath");
    // The label shows the whole path, wrapped when long, and that whole path is what
    // "选择(&S)" hands back.
    lbPath->setWordWrap(true);
    lbPath->setTextInteractionFlags(Qt::TextSelectableByMouse);

    btnSel = new QPushButton(QStringLiteral("选择(&S)"), this);
    btnSel->setObjectName("btnSel");
    btnSel->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnSel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cbDrive);
    layout->addWidget(lstDir, 1);
    layout->addWidget(lbPath);
    layout->addLayout(buttons);
    resize(380, 420);

    connect(cbDrive, &QComboBox::currentIndexChanged, this,
            [this](int index) { DriveChanged(index); });
    connect(lstDir->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    lbPath->setText(QDir::toNativeSeparators(p_model->filePath(current)));
            });
    connect(btnSel, &QPushButton::clicked, this, [this] { btnSelClick(); });

    SetFolder(QDir::homePath());
}

void TfrmFile::DriveChanged(int index) {
    if (index < 0) return;
    const QString drive = cbDrive->itemData(index).toString();
    lstDir->setRootIndex(p_model->index(drive));
    lbPath->setText(QDir::toNativeSeparators(drive));
}

void TfrmFile::SetFolder(const QString& folder) {
    const QString path = QDir(folder).absolutePath();
    for (int i = 0; i < cbDrive->count(); ++i) {
        if (path.startsWith(cbDrive->itemData(i).toString(), Qt::CaseInsensitive)) {
            const QSignalBlocker blocker(cbDrive);
            cbDrive->setCurrentIndex(i);
            lstDir->setRootIndex(p_model->index(cbDrive->itemData(i).toString()));
            break;
        }
    }
    const QModelIndex index = p_model->index(path);
    if (index.isValid()) {
        lstDir->setCurrentIndex(index);
        lstDir->scrollTo(index);
    }
    lbPath->setText(QDir::toNativeSeparators(path));
}

void TfrmFile::btnSelClick() {
    filePath = lbPath->text();
    accept();
}
