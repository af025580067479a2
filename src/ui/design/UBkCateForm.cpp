#include "ui/design/UBkCateForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "data/UnitData.h"
#include "ui/UiChecks.h"

TfrmBkCateForm::TfrmBkCateForm(QWidget* parent, const char* objectName, const QString& caption)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(caption);

    auto* label = new QLabel(QStringLiteral("名称："), this);
    txtMC = new QLineEdit(this);
    txtMC->setObjectName("txtMC");
    txtMC->setMinimumWidth(220);
    btnOK = new QPushButton(QStringLiteral("确定(&O)"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    btnClose = new QPushButton(QStringLiteral("关闭(&C)"), this);
    btnClose->setObjectName("btnClose");
    btnClose->setAutoDefault(false);

    auto* fieldRow = new QHBoxLayout;
    fieldRow->addWidget(label);
    fieldRow->addWidget(txtMC, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(btnOK);
    buttonRow->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fieldRow);
    layout->addStretch(1);
    layout->addLayout(buttonRow);
    resize(320, 120);

    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

QString TfrmBkCateForm::InsertCategory(const QString& sql, const QString& nameParam,
                                       const QString& parent, const QString& missing) {
    if (CheckRequiredField(txtMC, missing)) return QString();
    const QString name = txtMC->text().trimmed();
    SetCommonSQL(sql);
    SetCommonParam(nameParam, name);
    SetCommonParam(QStringLiteral("parID"), parent);
    if (!ExecCommon()) return QString();
    ShowInfo(QStringLiteral("新增类别成功！"));
    return name;
}
