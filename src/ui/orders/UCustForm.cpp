#include "ui/orders/UCustForm.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "data/UnitData.h"
#include "ui/UiChecks.h"

TCustFormBase::TCustFormBase(QWidget* parent) : QDialog(parent) {
    auto* grid = new QGridLayout;
    auto addRow = [&](int row, const QString& caption, QWidget* field, const char* name) {
        field->setObjectName(name);
        grid->addWidget(new QLabel(caption, this), row, 0, Qt::AlignRight | Qt::AlignTop);
        grid->addWidget(field, row, 1);
    };
    txtCustName = new QLineEdit(this);
    txtPhone = new QLineEdit(this);
    txtAddr = new QLineEdit(this);
    dtPurDate = new QDateEdit(QDate::currentDate(), this);
    dtPurDate->setCalendarPopup(true);
    dtPurDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    txtBZ = new QPlainTextEdit(this);
    txtBZ->setFixedHeight(80);
    addRow(0, QStringLiteral("客户名称："), txtCustName, "txtCustName");
    addRow(1, QStringLiteral("联系电话："), txtPhone, "txtPhone");
    addRow(2, QStringLiteral("地        址："), txtAddr, "txtAddr");
    addRow(3, QStringLiteral("订购日期："), dtPurDate, "dtPurDate");
    addRow(4, QStringLiteral("备        注："), txtBZ, "txtBZ");

    btnOK = new QPushButton(QStringLiteral("确定(&O)"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    btnCancel->setObjectName("btnCancel");
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &TCustFormBase::btnCancelClick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    resize(400, 290);
}

void TCustFormBase::btnCancelClick() { reject(); }

void TCustFormBase::StoreCustomer(const QString& sql) {
    if (CheckRequiredField(txtCustName, QStringLiteral("请输入客户名称！"))) return;
    SetCommonSQL(sql);
    SetCommonParam("custName", txtCustName->text().trimmed());
    SetCommonParam("phone", txtPhone->text().trimmed());
    SetCommonParam("address", txtAddr->text().trimmed());
    SetCommonParam("pursDate", dtPurDate->date().toString(QStringLiteral("yyyy-MM-dd")));
    SetCommonParam("bz", txtBZ->toPlainText().trimmed());
    if (!ExecCommon()) return;
    IsOk = true;
    accept();
}
