#include "ui/orders/UProForm.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "data/UnitData.h"
#include "ui/UiChecks.h"

TProFormBase::TProFormBase(QWidget* parent) : QDialog(parent) {
    auto* grid = new QGridLayout;
    auto addRow = [&](int row, const QString& caption, QWidget* field) {
        grid->addWidget(new QLabel(caption, this), row, 0, Qt::AlignRight | Qt::AlignTop);
        grid->addWidget(field, row, 1);
    };
    txtProCode = new QLineEdit(this);
    txtProCode->setObjectName("txtProCode");
    txtProName = new QLineEdit(this);
    txtProName->setObjectName("txtProName");
    dt1 = new QDateEdit(this);
    dt1->setObjectName("dt1");
    dt2 = new QDateEdit(this);
    dt2->setObjectName("dt2");
    for (QDateEdit* dt : {dt1, dt2}) {
        dt->setCalendarPopup(true);
        dt->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    txtBZ = new QPlainTextEdit(this);
    txtBZ->setObjectName("txtBZ");
    txtBZ->setFixedHeight(90);
    addRow(0, QStringLiteral("生产批次："), txtProCode);
    addRow(1, QStringLiteral("批次名称："), txtProName);
    addRow(2, QStringLiteral("开工日期："), dt1);
    addRow(3, QStringLiteral("完工日期："), dt2);
    addRow(4, QStringLiteral("备         注："), txtBZ);

    btnOK = new QPushButton(QStringLiteral("确定"), this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    btnClose = new QPushButton(QStringLiteral("关闭"), this);
    btnClose->setObjectName("btnClose");
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnClose, &QPushButton::clicked, this, &TProFormBase::btnCloseClick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnClose);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    resize(400, 300);
}

void TProFormBase::btnCloseClick() { reject(); }

bool TProFormBase::RequiredFieldsGiven() {
    if (CheckRequiredField(txtProCode, QStringLiteral("请输入生产批次号！！"))) return false;
    if (CheckRequiredField(txtProName, QStringLiteral("请输入生产批次名称！！"))) return false;
    return true;
}

void TProFormBase::BindOrderFields() {
    SetCommonParam("proCode", txtProCode->text().trimmed());
    SetCommonParam("proName", txtProName->text().trimmed());
    SetCommonParam("begDt", dt1->date().toString(QStringLiteral("yyyy-MM-dd")));
    SetCommonParam("endDt", dt2->date().toString(QStringLiteral("yyyy-MM-dd")));
    SetCommonParam("bz", txtBZ->toPlainText().trimmed());
}
