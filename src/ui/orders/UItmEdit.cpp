#include "ui/orders/UItmEdit.h"

#include <QLineEdit>

#include "data/UnitData.h"
#include "ui/UiChecks.h"

TfrmItmEdit::TfrmItmEdit(QWidget* parent) : TItmFormBase(parent) {
    setObjectName("frmItmEdit");
    setWindowTitle(QStringLiteral("修改类别"));
}

void TfrmItmEdit::btnOKClick() {
    if (CheckRequiredField(txtName, QStringLiteral("请输入类别名称！"))) return;
    SetCommonSQL(QStringLiteral("UPDATE ysdItem SET itmName=:itmName WHERE itmID=:itmID"));
    SetCommonParam("itmName", txtName->text().trimmed());
    SetCommonParam("itmID", itmID);
    if (!ExecCommon()) return;
    ShowInfo(QStringLiteral("修改成功！"));
    IsOk = true;
    accept();
}
