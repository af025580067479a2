#include "ui/orders/UnitCateAdd.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "data/UnitData.h"
#include "ui/UiChecks.h"

TfrmCateAdd::TfrmCateAdd(QWidget* parent) : QDialog(parent) {
    setObjectName("frmCateAdd");
    setWindowTitle(QStringLiteral("新增类别"));
    auto* tabs = new QTabWidget(this);
    auto* page = new QWidget(tabs);
    tabs->addTab(page, QStringLiteral("类别名称"));
    txtCateName = new QLineEdit(page);
    txtCateName->setObjectName("txtCateName");
    auto* row = new QHBoxLayout(page);
    row->addWidget(txtCateName);

    btnOK = new QPushButton(QStringLiteral("确定(&O)"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    resize(320, 140);
}

void TfrmCateAdd::btnOKClick() {
    if (CheckRequiredField(txtCateName, QStringLiteral("请输入类别名称！"))) return;
    SetCommonSQL(QStringLiteral("INSERT INTO FClCls(cateName) VALUES(:cateName)"));
    SetCommonParam("cateName", txtCateName->text().trimmed());
    if (!ExecCommon()) return;
    isOk = true;
    accept();
}
