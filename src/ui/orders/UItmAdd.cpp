#include "ui/orders/UItmAdd.h"

#include <QLineEdit>

#include "data/UnitData.h"
#include "ui/UiChecks.h"

TfrmItmAdd::TfrmItmAdd(QWidget* parent) : TItmFormBase(parent) {
    setObjectName("frmItmAdd");
    setWindowTitle(QStringLiteral("添加新类别"));
}

void TfrmItmAdd::btnOKClick() {
    if (CheckRequiredField(txtName, QStringLiteral("请输入名称！"))) return;
    SetCommonSQL(
        QStringLiteral("INSERT INTO ysdItem(itmName,cateName) VALUES(:itmName,:cateName)"));
    SetCommonParam("itmName", txtName->text().trimmed());
    SetCommonParam("cateName", cateName);
    if (!ExecCommon()) return;
    IsOk = true;
    ShowInfo(QStringLiteral("添加成功！"));
    accept();
}
