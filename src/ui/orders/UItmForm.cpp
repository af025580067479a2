#include "ui/orders/UItmForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TItmFormBase::TItmFormBase(QWidget* parent) : QDialog(parent) {
    txtName = new QLineEdit(this);
    txtName->setObjectName("txtName");
    btnOK = new QPushButton(QStringLiteral("确定(&O)"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("名称："), this));
    row->addWidget(txtName, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    resize(320, 110);
}
